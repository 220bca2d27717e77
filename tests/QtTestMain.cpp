// The entry of every test program that needs Qt: the QApplication must outlive every test and be
// destroyed before the process's static destructors run (a function-static one crashes at exit).
// Run by hand, the tests use the offscreen platform unless a display is chosen.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
