// The tests' waiting helpers: a window that comes late is still answered
// inside the modal loop that waits for it, and one that never comes fails
// the test naming it, with the modal window closed instead of left waiting.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "flat/flat_speed_button_win.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/control_lookup.h"
#include "tests/wine/support/ui_test_support.h"
#include "tests/wine/support/wait_win.h"
#include "ui/controls_win.h"
#include "ui/layout_win.h"
#include "ui/message_box_win.h"

namespace vh {
namespace {

// Short deadlines: these waits are meant to fail.
constexpr int kFailingDeadlineMs = 200;

const std::vector<ControlDef> kDialogLayout = {
    {"lFirst", MakeLabel, "", MakeRect(10, 10, 80, 16), "First"},
    {"bOK", MakeFlatSpeedButton, "", MakeRect(10, 40, 80, 25), "&OK", {.modalResult = mrOk}},
};

// Ends a modal loop that the helper under test failed to end, so that a
// fault fails the test by its expectations instead of hanging it.
class Backstop {
 public:
  explicit Backstop(std::function<void()> end) : timer_(SetTimer(nullptr, 0, 30000, Fire)) { End() = std::move(end); }
  ~Backstop() {
    KillTimer(nullptr, timer_);
    End() = nullptr;
  }

 private:
  static std::function<void()>& End() {
    static std::function<void()> end;
    return end;
  }
  static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (End()) End()();
  }
  UINT_PTR timer_;
};

class WaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateForm<TForm>(nullptr, test::TestFormDef("frmWaitOwner"));
    owner_->Show();
    dialog_ = CreateForm<TForm>(owner_.get(), test::TestFormDef("frmWaitDialog"));
    InstantiateLayout(*dialog_, kDialogLayout);
    for (const char* name : {"lFirst", "bOK"})
      test::Control<TControl>(*dialog_, name).OnClick = [this, name](TObject&) { clicks_.push_back(name); };
  }
  // The dialog's result; a fault that leaves it up ends with OK clicked.
  ModalResult ShowDialog() {
    Backstop backstop([this] { test::Control<TControl>(*dialog_, "bOK").Click(); });
    return dialog_->ShowModal();
  }
  HWND Thread(const char* caption, const char* className = "") {
    return test::FindShownWindow({caption, className, 0, GetCurrentThreadId(), false});
  }

  std::unique_ptr<TForm> owner_, dialog_;
  std::vector<std::string> clicks_;
};

TEST_F(WaitTest, AWindowShownLaterByThisThreadIsFoundWhileTheWaitPumpsMessages) {
  // Only a wait that runs the thread's messages lets the timer show it.
  test::AfterMs(50, [this] { dialog_->Show(); });
  EXPECT_EQ(test::WaitForWindow({"frmWaitDialog", "", GetCurrentProcessId(), 0, false}), dialog_->Handle());
  EXPECT_EQ(Thread("frmWaitDialog"), dialog_->Handle());
  EXPECT_EQ(Thread("frmWaitDialog", "Button"), nullptr) << "the class must match too";
}

TEST_F(WaitTest, AWindowThatNeverComesFailsNamingIt) {
  HWND found = dialog_->Handle();
  auto wait = [&found] { found = test::WaitForWindow({"Never Shown", "", 0, 0, false}, kFailingDeadlineMs); };
  EXPECT_NONFATAL_FAILURE(wait(), "a window captioned \"Never Shown\" never came");
  EXPECT_EQ(found, nullptr);
}

TEST_F(WaitTest, ControlsAreClickedInOrderFromInsideTheModalLoop) {
  auto answer = test::ClickWhenShown("frmWaitDialog", {"lFirst", "bOK"});
  EXPECT_EQ(ShowDialog(), mrOk);
  EXPECT_TRUE(answer.answered());
  EXPECT_EQ(clicks_, (std::vector<std::string>{"lFirst", "bOK"}));
}

TEST_F(WaitTest, ADialogThatNeverComesFailsTheTestAndTheModalFormIsClosed) {
  ModalResult result = mrNone;
  auto run = [&] {
    auto answer = test::ClickWhenShown("Never Shown", {"bOK"}, kFailingDeadlineMs);
    result = ShowDialog();
  };
  EXPECT_NONFATAL_FAILURE(run(), "\"Never Shown\" never came");
  EXPECT_EQ(result, mrCancel) << "closed as by its title bar";
  EXPECT_TRUE(clicks_.empty());
}

TEST_F(WaitTest, AYesNoBoxLeftUpIsAnsweredNo) {
  // A real box, not the program's hooked one: WM_CLOSE would leave it up
  // on Windows and end it with an answer it does not offer under Wine.
  ModalResult result = mrNone;
  auto run = [&] {
    auto answer = test::WhenShown({"Never Shown", "", 0, 0, false}, [](HWND) {}, kFailingDeadlineMs);
    Backstop backstop([this] {
      HWND box = Thread("Wait test", "#32770");
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), LPARAM(GetDlgItem(box, IDYES)));
    });
    result = ModalResult(MessageBoxA(owner_->Handle(), "Go on?", "Wait test", MB_YESNO));
  };
  EXPECT_NONFATAL_FAILURE(run(), "\"Never Shown\" never came");
  EXPECT_EQ(result, IDNO);
}

TEST_F(WaitTest, AMissingControlFailsNamingFormAndControlAndTheDialogStillEnds) {
  ModalResult result = mrNone;
  auto run = [&] {
    auto answer = test::ClickWhenShown("frmWaitDialog", {"lFirst", "bNoSuch", "bOK"});
    result = ShowDialog();
  };
  EXPECT_NONFATAL_FAILURE(run(), "frmWaitDialog has no \"bNoSuch\"");
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(clicks_, std::vector<std::string>{"lFirst"}) << "nothing after the missing control";
}

TEST_F(WaitTest, AnAnswerNeverNeededFailsOnceWhenItGoesOutOfScope) {
  auto run = [] {
    { auto answer = test::ClickWhenShown("Never Shown", {"bOK"}, kFailingDeadlineMs); }
    // Nothing to wait for: a poll left running would fail a second time here.
    test::PumpFor(2 * kFailingDeadlineMs);
  };
  EXPECT_NONFATAL_FAILURE(run(), "\"Never Shown\" never came");
}

TEST(ControlLookup, AMissingOrOtherKindOfControlIsAnErrorNamingFormAndControl) {
  auto form = CreateForm<TForm>(nullptr, test::TestFormDef("frmLookup"));
  InstantiateLayout(*form, kDialogLayout);
  EXPECT_EQ(test::Control<TLabel>(*form, "lFirst").Caption(), "First");
  for (const char* name : {"bNoSuch", "bOK"}) {
    try {
      test::Control<TLabel>(*form, name);
      ADD_FAILURE() << name << " was found as a label";
    } catch (const test::MissingControl& e) {
      const std::string what = e.what();
      EXPECT_EQ(what.rfind("frmLookup has ", 0), 0u) << what;
      EXPECT_NE(what.find("\"" + std::string(name) + "\""), std::string::npos) << what;
    }
  }
}

TEST(MessageBoxes, KeepTextAndCaptionAndAnswerAsTold) {
  test::MessageBoxes boxes;
  boxes.answer = IDNO;
  EXPECT_FALSE(AskYesNo("Go on?"));
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Go on?"});
  EXPECT_EQ(boxes.captions, std::vector<std::string>{"Varnhold"});
}

// Only the button that goes on answers true; 0 is a box that could not be
// shown.
TEST(MessageBoxes, QuestionsGoOnOnlyForTheirOwnButton) {
  struct Row {
    int pressed;
    bool yesNo, okCancel;
  };
  const Row rows[] = {{IDYES, true, true}, {IDOK, false, true},      {IDNO, false, false},
                      {IDCANCEL, false, false}, {0, false, false}};
  test::MessageBoxes boxes;
  std::vector<UINT> flags;
  SetMessageBoxHook([&](const std::string&, const std::string&, UINT f) {
    flags.push_back(f);
    return boxes.answer;
  });
  for (const Row& row : rows) {
    boxes.answer = row.pressed;
    EXPECT_EQ(AskYesNo("Go on?"), row.yesNo) << row.pressed;
    EXPECT_EQ(AskOkCancel("Go on?"), row.okCancel) << row.pressed;
  }
  // The answer that goes on is never the default one.
  EXPECT_EQ(flags[0], UINT(MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2));
  EXPECT_EQ(flags[1], UINT(MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2));
}

}  // namespace
}  // namespace vh
