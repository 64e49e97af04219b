// Test entry point shared by every test executable: widget tests need one
// QApplication for the whole run (CTest sets the offscreen platform). Listing
// the tests, as CTest's discovery does, needs no application. Options that
// are not GoogleTest's stay for the tests to read (TestSupport.h).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>
#include <memory>

#include "common/TestSupport.h"

int main(int argc, char** argv) {
  bool listing = false;
  for (int i = 1; i < argc; ++i) listing |= std::strcmp(argv[i], "--gtest_list_tests") == 0;
  std::unique_ptr<QApplication> app;
  if (!listing) app = std::make_unique<QApplication>(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  testsupport::SetCommandLine(argc, argv);
  return RUN_ALL_TESTS();
}
