// The main window and the analysis, in process, over the real Win32 API with
// a test registry, swaps and restarts recorded.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/main_window_win.h"
#include "ui/window_messages_win.h"
#include "flat/flat_speed_button_win.h"
#include "hive/figures.h"
#include "hive/hive_copy.h"
#include "scan/progress_dialog_win.h"
#include "settings/options.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/control_lookup.h"
#include "tests/wine/support/main_window_fixture.h"
#include "tests/wine/support/ui_test_support.h"
#include "ui/accel.h"
#include "ui/controls_win.h"
#include "ui/menu_win.h"

namespace vh {
namespace {

class AppWindowTest : public test::MainWindowFixture {
 protected:
  TfrmMain& Start() { return StartMainWindow(50); }
  TFlatSpeedButton& Button(const char* name) { return test::Control<TFlatSpeedButton>(*main_, name); }
  std::string Cell(int row, int column) { return main_->lvMain().Cell(row, column); }
};

TEST_F(AppWindowTest, CreationPlacesTheHelpGroupAsLaidOutAndEmptiesTheFigures) {
  TfrmMain& w = Start();
  EXPECT_EQ(w.FindComponent("bHomepage"), nullptr) << "no control is made only to be hidden";
  EXPECT_EQ(Button("bLanguage").Top(), 221);
  EXPECT_EQ(Button("bAbout").Top(), 252);
  EXPECT_EQ(Button("bExit").Top(), 283);
  EXPECT_EQ(Button("bLanguage").ColorBorder(), MakeColour(241, 239, 238));
  EXPECT_EQ(Button("bAbout").ColorBorder(), MakeColour(245, 246, 244));
  EXPECT_EQ(Button("bExit").ColorBorder(), MakeColour(241, 242, 240));
  EXPECT_EQ(w.Label("lTitle").Caption(), "Varnhold 1.5 Beta");
  EXPECT_EQ(w.Label("lCurrentRegistrySize").Caption(), "");
  EXPECT_FALSE(w.bDefragRegistry().Enabled());
  EXPECT_TRUE(w.lvMain().GridLines());
  EXPECT_TRUE(boxes_.texts.empty());
}

TEST_F(AppWindowTest, DraggingWorksOnTheBackgroundButNotOnControls) {
  TfrmMain& w = Start();
  EXPECT_TRUE(w.IsDragArea(300, 20));
  EXPECT_FALSE(w.IsDragArea(20, 15)) << "lTitle";
  EXPECT_FALSE(w.IsDragArea(20, 100)) << "bAnalyzeRegistry";
  EXPECT_FALSE(w.IsDragArea(520, 12)) << "bClose";
  EXPECT_TRUE(w.IsDragArea(20, 249)) << "between two buttons";
  RECT r;
  GetWindowRect(w.Handle(), &r);
  EXPECT_EQ(SendMessageA(w.Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 300, r.top + 20)), HTCAPTION);
  EXPECT_EQ(SendMessageA(w.Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 20, r.top + 100)), HTCLIENT);
}

TEST_F(AppWindowTest, AnalysisFillsEveryRowAndTheTotalsFromTheFilesOnDisk) {
  test::TestRegistry registry;
  registry.AddHive("HiveA", 400000, 1500000);
  registry.AddHive("HiveB", 200000, 700000);
  registry.AddHive("HiveC", 50000, 300000);
  TfrmMain& w = Start();
  ASSERT_EQ(w.Hives.size(), 3u);

  w.AnalyzeClick(w);
  ASSERT_TRUE(w.bDefragRegistry().Enabled());
  Files& files = platform_.real();
  std::int64_t totalCur = 0, totalNew = 0;
  for (int i = 0; i < 3; ++i) {
    std::int64_t cur = QueryFileSize(files, registry.hives()[std::size_t(i)].file);
    std::int64_t copy = QueryFileSize(files, CopyPath(registry.hives()[std::size_t(i)].file));
    EXPECT_GT(copy, 0) << "a real copy was written";
    totalCur += cur;
    totalNew += copy;
    EXPECT_EQ(Cell(i, 0), registry.hives()[std::size_t(i)].name);
    EXPECT_EQ(Cell(i, 1), FormatSizeKB(cur));
    EXPECT_EQ(Cell(i, 2), FormatSizeKB(copy));
    EXPECT_EQ(Cell(i, 3), RowReduction(cur, copy));
  }
  EXPECT_EQ(w.Label("lCurrentRegistrySize").Caption(), FormatSizeKB(totalCur));
  EXPECT_EQ(w.Label("lNewRegistrySize").Caption(), FormatSizeKB(totalNew));
  EXPECT_EQ(w.Label("lSizeReduction").Caption(), FormatSizeKB(totalCur - totalNew));
  EXPECT_NE(w.Label("lCompactPercent").Caption().find('%'), std::string::npos);
  EXPECT_TRUE(boxes_.texts.empty()) << "a large gain draws no advice";

  // The selected row's full name and file under the list; Wine's System log
  // holds no reorganisation of a hive, so no third line.
  EXPECT_EQ(w.Label("lHiveInfo").Caption(), "");
  w.lvMain().SelectRow(1);
  EXPECT_EQ(w.Label("lHiveInfo").Caption(), registry.hives()[1].name + "\nFile: " + registry.hives()[1].file);
  ListView_SetItemState(w.lvMain().Handle(), 1, 0, LVIS_SELECTED);
  EXPECT_EQ(w.Label("lHiveInfo").Caption(), "");

  // A second run overwrites the figures.
  test::WriteFileBytes(registry.hives()[0].file, 3000000);
  w.AnalyzeClick(w);
  EXPECT_EQ(Cell(0, 1), FormatSizeKB(3000000));

  // Closing deletes the copies and writes the settings.
  w.ExitClick(w);
  for (const test::TestHive& h : registry.hives()) EXPECT_FALSE(files.Exists(CopyPath(h.file)));
  EXPECT_TRUE(files.Exists(options_));
}

TEST_F(AppWindowTest, SmallGainDrawsTheAdviceQuotingThePercentage) {
  test::TestRegistry registry;
  registry.AddHive("Tiny", 100000, 1);  // the copy ends up larger than its stand-in
  TfrmMain& w = Start();
  w.AnalyzeClick(w);
  EXPECT_EQ(w.Label("lCompactPercent").Caption(), "0%");
  EXPECT_EQ(w.Label("lSizeReduction").Caption(), "0 KB");
  EXPECT_TRUE(boxes_.texts.empty()) << "copies larger in total: no advice";
}

TEST_F(AppWindowTest, ALockedCopyRefusesTheAnalysis) {
  test::TestRegistry registry;
  const test::TestHive& hive = registry.AddHive("Held", 10000, 100000);
  test::WriteFileBytes(CopyPath(hive.file), 10);
  HANDLE held = CreateFileA(CopyPath(hive.file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  TfrmMain& w = Start();
  w.AnalyzeClick(w);
  ASSERT_EQ(boxes_.texts.size(), 1u);
  EXPECT_EQ(boxes_.texts[0], "Can not analyze the registry now! Please try again later.");
  EXPECT_EQ(QueryFileSize(platform_.real(), CopyPath(hive.file)), 10) << "no scan ran";
  EXPECT_FALSE(w.bDefragRegistry().Enabled());
  CloseHandle(held);
}

// Presses Stop on the progress dialog the moment its scan is about to start.
LRESULT CALLBACK StopAtScanStart(int code, WPARAM wp, LPARAM lp) {
  auto* msg = reinterpret_cast<MSG*>(lp);
  if (code == HC_ACTION && msg->message == WM_SCANSTART) {
    if (auto* form = dynamic_cast<TfrmGetNewHiveProgess*>(TWinControl::FromHandle(msg->hwnd))) form->bStopClick(*form);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(AppWindowTest, StopKeepsEarlierFiguresAndDisablesDefrag) {
  test::TestRegistry registry;
  registry.AddHive("First", 50000, 200000);
  registry.AddHive("Second", 50000, 200000);
  TfrmMain& w = Start();
  w.AnalyzeClick(w);
  ASSERT_TRUE(w.bDefragRegistry().Enabled());
  std::string figures = w.Label("lCurrentRegistrySize").Caption();

  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, StopAtScanStart, nullptr, GetCurrentThreadId());
  test::WriteFileBytes(registry.hives()[0].file, 900000);
  w.AnalyzeClick(w);
  UnhookWindowsHookEx(hook);
  EXPECT_FALSE(w.bDefragRegistry().Enabled());
  EXPECT_EQ(w.Label("lCurrentRegistrySize").Caption(), figures);
}

TEST_F(AppWindowTest, FrenchTranslatesCaptionsColumnsAndMenusAndWidensTheButtons) {
  TfrmMain& w = Start();
  w.LanguageItemClick(*w.FindComponent("miFrench"));
  EXPECT_EQ(w.Options().Lan, "French");
  std::string analyze = Button("bAnalyzeRegistry").Caption();
  EXPECT_EQ(analyze, "&Analyser") << "with its Alt+letter from the language file";
  EXPECT_NE(w.lvMain().Column(1).caption, "Current Size");
  EXPECT_NE(test::Control<TMenuItem>(w, "pmiHelp").Caption, "&Help");
  EXPECT_TRUE(test::Control<TMenuItem>(w, "miFrench").Checked);
  EXPECT_FALSE(test::Control<TMenuItem>(w, "miEnglish").Checked);
  HDC dc = GetDC(w.Handle());
  HGDIOBJ old = SelectObject(dc, w.FontHandle());
  SIZE size;
  const std::string shown = StripAccelerator(analyze);  // the "&" takes no room
  GetTextExtentPoint32A(dc, shown.c_str(), int(shown.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(w.Handle(), dc);
  EXPECT_EQ(Button("bAnalyzeRegistry").Width(), size.cx + 17);
}

TEST_F(AppWindowTest, AMissingLanguageFileIsReportedAndTheTranslationPageOpened) {
  TfrmMain& w = Start();
  w.LanguageItemClick(*w.FindComponent("miOther"));
  ASSERT_EQ(boxes_.texts.size(), 1u);
  std::string expected = platform_.real().ExecutableFolder() + "DLan_Other.ini can not be found.\r\n\r\nPlease visit ";
  EXPECT_EQ(boxes_.texts[0].substr(0, expected.size()), expected);
  ASSERT_FALSE(platform_.records().empty());
  EXPECT_EQ(platform_.records().back().rfind("ShellExecuteA\tOpen\thttps://", 0), 0u);
  EXPECT_EQ(w.Options().Lan, "English");
}

TEST_F(AppWindowTest, TheHelpMenuOffersTheUndoOnlyWhenThereIsOneAndItConfirmsNamingTheHives) {
  test::TestRegistry registry;
  const test::TestHive alpha = registry.AddHive("Alpha", 30000, 100000);
  std::string journal = platform_.real().ExecutableFolder() + "varnhold-journal.txt";
  DeleteFileA(journal.c_str());
  TfrmMain& w = Start();
  TMenuItem& undo = test::Control<TMenuItem>(w, "pmiUndo");
  EXPECT_EQ(undo.Caption, "&Undo Last Defragmentation");
  EXPECT_FALSE(undo.Enabled) << "no journal";

  // A defragmentation of an earlier version, that many days ago.
  auto ranDaysAgo = [&](int days) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t day = 24ull * 3600 * 10000000, hour = day / 24;
    const std::uint64_t stamp = ((std::uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime) - days * day - hour;
    test::WriteFileText(journal, "[Defragmentation]\r\nTime=then\r\nStamp=" + std::to_string(stamp) +
                                     "\r\nRestore Point=not asked\r\nHives=1\r\nHive=scheduled|8192|4096|" +
                                     alpha.file + "|" + alpha.name + "\r\n\r\n");
  };
  ranDaysAgo(0);
  main_.reset();
  TfrmMain& again = Start();
  EXPECT_FALSE(test::Control<TMenuItem>(again, "pmiUndo").Enabled) << "no backup";
  ASSERT_TRUE(test::SaveTestKey(alpha, alpha.file + ".bak"));
  // Past its 14 days it is still offered, so that choosing it says why
  // nothing is asked and nothing swapped back.
  ranDaysAgo(15);
  main_.reset();
  TfrmMain& late = Start();
  ASSERT_TRUE(test::Control<TMenuItem>(late, "pmiUndo").Enabled);
  late.UndoItemClick(test::Control<TMenuItem>(late, "pmiUndo"));
  ASSERT_EQ(boxes_.texts.size(), 1u);
  EXPECT_EQ(boxes_.texts[0], "There is no defragmentation to undo. An undo needs a defragmentation whose swaps took "
                             "effect at a restart, and the backups (.bak) it left beside the hive files.\n\nAn undo is "
                             "offered for 14 days after a defragmentation only: by then Windows has changed too much "
                             "that the backups do not hold.\n\n    the last defragmentation ran 15 days ago");
  EXPECT_TRUE(platform_.records().empty());
  boxes_.texts.clear();
  ranDaysAgo(0);
  // Shown, its messages not yet taken: the journal is read after the first
  // paint, and until then nothing is offered.
  main_ = CreateForm<TfrmMain>(platform_.platform());
  main_->Show();
  EXPECT_FALSE(test::Control<TMenuItem>(*main_, "pmiUndo").Enabled) << "offered before the journal was read";
  main_.reset();
  TfrmMain& ready = Start();
  EXPECT_TRUE(test::Control<TMenuItem>(ready, "pmiUndo").Enabled);

  boxes_.answer = IDNO;
  TObject& sender = test::Control<TMenuItem>(ready, "pmiUndo");
  ready.UndoItemClick(sender);
  ASSERT_EQ(boxes_.texts.size(), 1u);
  EXPECT_NE(boxes_.texts[0].find(alpha.name + "  (" + alpha.file + ")"), std::string::npos) << boxes_.texts[0];
  EXPECT_EQ(boxes_.texts[0].rfind("Undo the last defragmentation?", 0), 0u) << boxes_.texts[0];
  EXPECT_TRUE(platform_.records().empty()) << "a No swaps nothing back";
  for (int answer : {IDCANCEL, 0}) {  // closed, or a box that could not be shown
    boxes_.answer = answer;
    ready.UndoItemClick(sender);
    EXPECT_TRUE(platform_.records().empty()) << answer;
  }
  boxes_.texts.resize(1);

  boxes_.answer = IDYES;
  ready.UndoItemClick(sender);
  ASSERT_EQ(platform_.records().size(), 2u);
  EXPECT_EQ(platform_.records()[0].rfind("RegReplaceKeyA\tHKEY_USERS\t" + alpha.sid, 0), 0u);
  EXPECT_NE(platform_.records()[0].find(alpha.file + ".bak\t" + alpha.file + ".undo"), std::string::npos);
  EXPECT_EQ(platform_.records()[1], "ExitWindowsEx\t6\t2147614724");
  EXPECT_EQ(boxes_.texts.size(), 2u) << "nothing between the swaps back and the restart";
  EXPECT_NE(boxes_.texts[0].find("ran on then. Every registry change made since then is lost"), std::string::npos);
  EXPECT_FALSE(test::Control<TMenuItem>(ready, "pmiUndo").Enabled) << "the undo is scheduled: nothing left to undo";
  DeleteFileA(journal.c_str());
}

}  // namespace
}  // namespace vh
