// Test entry point shared by every test executable: widget tests need one
// QApplication for the whole run (CTest sets the offscreen platform); tests
// that link no Qt Widgets get a QGuiApplication, which fonts and painting
// need. Listing the tests, as CTest's discovery does, needs no application.
// Options that are not GoogleTest's stay for the tests to read (TestSupport.h).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/TestSupport.h"

#ifdef TABWRIGHT_TESTS_WITHOUT_WIDGETS
#include <QGuiApplication>
using TTestApplication = QGuiApplication;
#else
#include <QApplication>
using TTestApplication = QApplication;
#endif

int main(int argc, char** argv) {
  bool listing = false;
  for (int i = 1; i < argc; ++i) listing |= std::strcmp(argv[i], "--gtest_list_tests") == 0;
  std::unique_ptr<TTestApplication> app;
  if (!listing) app = std::make_unique<TTestApplication>(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  testsupport::SetCommandLine(argc, argv);
  return RUN_ALL_TESTS();
}
