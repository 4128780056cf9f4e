// A fixture for in-process tests of the main window: a fresh options.ini
// and settings record for each test, the program's platform with swaps and
// restarts recorded, message boxes answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "settings/options.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/ui_test_support.h"

namespace vh::test {

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    options_ = platform_.real().ExecutableFolder() + "options.ini";
    DeleteFileA(options_.c_str());
  }
  void TearDown() override {
    main_.reset();
    DeleteFileA(options_.c_str());
    // Closing the main window ends the program's message loop; the next
    // test starts with a fresh one.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  // Creates and shows the main window, then lets it settle for pumpMs.
  TfrmMain& StartMainWindow(int pumpMs) {
    main_ = CreateForm<TfrmMain>(platform_.platform());
    main_->Show();
    PumpFor(pumpMs);
    return *main_;
  }

  RecordedPlatform platform_;
  MessageBoxes boxes_;
  std::unique_ptr<TfrmMain> main_;
  std::string options_;
};

}  // namespace vh::test
