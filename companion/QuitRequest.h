// An orderly end asked for from outside the program: the companion server's quit
// message, SIGINT or SIGTERM. Every running event loop is left (a modal box among them),
// and the program entry returns once control is back there, so that the orderly end
// runs: the client's Shutdown (the dictionary file is written), then the destructors
// (sockets are removed, the lock goes last).
#pragma once

void RequestQuit();
// Whether an end was asked for; the program entry checks it before its event loop, as
// a request made while no loop ran would be lost otherwise.
bool QuitRequested();
// From now on SIGINT and SIGTERM call RequestQuit on the main thread.
void QuitOnSignals();
