// The translator's check of a dictionary: keys missing against the English dictionary or
// unknown to the program, escapes the reader cannot read, texts their controls would
// clip, and lesson texts that would need the memo to scroll.
#pragma once

#include <QStringList>

// One line per finding; none for a dictionary that is ready to ship. Needs a running
// QApplication: the window is built with the dictionary and measured.
QStringList CheckDictionary(const QString& File, const QString& EnglishFile);
