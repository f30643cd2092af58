// The shared main of the test executables: a QApplication on the offscreen platform.
#include <QApplication>
#include <gtest/gtest.h>

#include "toolkit/Toolkit.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication App(argc, argv);
  InitToolkit();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
