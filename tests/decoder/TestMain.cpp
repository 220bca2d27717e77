// The test program's own entry: the QApplication must outlive every test and be destroyed before
// the process's static destructors run (a function-static one crashes at exit).
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
