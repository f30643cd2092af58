// The shared main of the test executables: a QApplication on the offscreen platform.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "toolkit/Toolkit.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // A runtime folder of this process's own: single-instance markers of test programs run
  // side by side do not meet (programs these tests start inherit it).
  QTemporaryDir Runtime;
  qputenv("XDG_RUNTIME_DIR", Runtime.path().toLocal8Bit());
  QApplication App(argc, argv);
  InitToolkit();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
