// The real program's command line and the files it names: a relative report
// path, switches it refuses, a language name that reaches outside its folder,
// and a report with the scan's section more than once.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app/unattended.h"
#include "tests/wine/support/program_run_fixture.h"
#include "tests/wine/support/wait_win.h"

namespace vh {
namespace {

// The fixture and helpers the program-run tests share.
using namespace test;

TEST_F(ProgramRunTest, ARelativeReportPathLandsInTheCurrentFolder) {
  registry_.AddHive("Alpha", 60000, 200000);
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string misplaced = std::string(windows) + "\\vh-rel-report.ini";
  DeleteFileA(misplaced.c_str());

  RunOutcome outcome = Run("/Scan vh-rel-report.ini", {}, 30000);

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  EXPECT_EQ(ReportSection(test::ReadFileText(home_.File("vh-rel-report.ini"))).size(), 6u);
  EXPECT_FALSE(files_.Exists(misplaced));
  DeleteFileA(misplaced.c_str());
}

TEST_F(ProgramRunTest, AnUnknownOrMalformedSwitchIsLoggedWithTheUsageAndOpensNoWindow) {
  registry_.AddHive("Alpha", 60000, 200000);
  // Each line with the argument it refuses.
  const std::vector<std::pair<std::string, std::string>> lines{
      {"/Scan /Silent", "/Silent"}, {"/Scan /Foo", "/Foo"},         {"-Scan x", "-Scan"},
      {"/Scan:x", "/Scan:x"},       {"/Foo", "/Foo"},               {"-Silent", "-Silent"},
      {"/Silent /Undo", "/Undo"},   {"/Undo /Foo", "/Foo"},         {"/Silent /MinGain:abc", "/MinGain:abc"},
      {"/Scan r.ini -x", "-x"},     {"now /Silent", "/Silent"},     {"\"\" /Silent", "/Silent"},
      {"x /scan r.ini", "/scan"},   {"now /Foo", "/Foo"},           {"\"\" /Foo", "/Foo"},
      {"now /Scan:x", "/Scan:x"},   {"now -Silentx", "-Silentx"},   {"now /MinGain:5", "/MinGain:5"}};
  for (const auto& line : lines) {
    RunOutcome outcome = Run(line.first, {}, 15000);
    EXPECT_EQ(outcome.exitCode, DWORD(kExitBadCommandLine)) << line.first;
    EXPECT_EQ(Joined(outcome.visibleWindows), "") << line.first;
    EXPECT_EQ(outcome.mostPixelsChanged, 0u) << line.first;
  }
  std::vector<std::string> log = Lines(Log());
  ASSERT_EQ(log.size(), lines.size()) << Log();
  for (std::size_t i = 0; i < log.size(); ++i) {
    EXPECT_NE(log[i].find("\"" + lines[i].second + "\""), std::string::npos) << log[i];
    EXPECT_NE(log[i].find("Usage: varnhold.exe [/Silent [/MinGain:<percent>] | /Scan [report file] | /Undo]"),
              std::string::npos)
        << log[i];
  }
  for (const char* name : {"C:\\Silent", "C:\\Foo", "C:\\x"}) EXPECT_FALSE(files_.Exists(name)) << name;
  // No window, so no settings saved and no copy made.
  EXPECT_EQ(Joined(FilesIn(home_.path())), Joined({"varnhold.log", kProgram}));
  EXPECT_EQ(Joined(Records()), "");
}

TEST_F(ProgramRunTest, ALanguageNameWithPathCharactersLoadsNoFileFromElsewhere) {
  ASSERT_TRUE(CreateDirectoryA(home_.File("evil").c_str(), nullptr));
  test::WriteFileText(home_.File("evil\\French.ini"), "[frmMain]\r\nfrmMain=EVIL\r\nlTitle=EVIL\r\n");
  test::WriteFileText(home_.File("options.ini"), "[Options]\r\nLan=..\\evil\\French\r\n");
  ProgramProcess program(exe_, "", home_.path());
  ASSERT_TRUE(program.started());
  HWND main = nullptr;
  ASSERT_TRUE(test::WaitUntil([&] { return (main = VisibleMainWindow()) != nullptr; }, kStartDeadlineMs));
  EXPECT_TRUE(program.Idle());
  EXPECT_EQ(CaptionOf(main), "Varnhold");
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitForEnd(program, {}, nullptr, 20000).ended);
  EXPECT_NE(test::ReadFileText(home_.File("options.ini")).find("Lan=English"), std::string::npos);
}

// The path, as Wine's Z: drive reaches it through the Unix file system;
// empty outside Wine.
std::string ThroughWinesRoot(const std::string& path) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return "";
  char* name = unixName(Widen(path).c_str());
  if (!name) return "";
  std::string z = std::string("Z:") + name;
  HeapFree(GetProcessHeap(), 0, name);
  for (char& c : z)
    if (c == '/') c = '\\';
  return z;
}

TEST_F(ProgramRunTest, TheProgramsOwnFilesAreRefusedAsTheReportAndKeptAsTheyWere) {
  registry_.AddHive("Alpha", 60000, 200000);
  const std::string journal = "[Defragmentation]\r\nTime=12/1/2026 9:00:00 AM\r\n";
  const std::string language = "[Language]\r\nCodePage=1252\r\n";
  test::WriteFileText(home_.File("varnhold-journal.txt"), journal);
  test::WriteFileText(home_.File("options.ini"), "[Options]\r\nLan=English\r\n");
  test::WriteFileText(home_.File("DLan_German.ini"), language);
  // The same files by other names: the journal's 8.3 name, and hard links
  // in another folder to the journal and to a language file.
  char shortName[MAX_PATH] = {};
  ASSERT_NE(GetShortPathNameA(home_.File("varnhold-journal.txt").c_str(), shortName, MAX_PATH), 0u);
  ASSERT_EQ(std::string(shortName).find("varnhold-journal"), std::string::npos) << shortName;
  const std::string journalLink = registry_.folder().File("journal-link.ini");
  const std::string languageLink = registry_.folder().File("language-link.ini");
  ASSERT_TRUE(CreateHardLinkA(journalLink.c_str(), home_.File("varnhold-journal.txt").c_str(), nullptr));
  ASSERT_TRUE(CreateHardLinkA(languageLink.c_str(), home_.File("DLan_German.ini").c_str(), nullptr));
  // Relative ones are taken in the current folder, the program's here.
  std::vector<std::string> reports{"\"" + home_.File("varnhold-journal.txt") + "\"", "options.ini",
                                   "\"" + home_.File(".\\DLan_French.ini") + "\"", kProgram,
                                   "\"" + std::string(shortName) + "\"", "\"" + journalLink + "\"",
                                   "\"" + languageLink + "\""};
  const std::string z = ThroughWinesRoot(home_.File("varnhold-journal.txt"));
  if (!z.empty()) reports.push_back("\"" + z + "\"");
  for (const std::string& report : reports) {
    RunOutcome outcome = Run("/Scan " + report, {}, 30000);
    EXPECT_EQ(outcome.exitCode, DWORD(kExitReportNotWritten)) << report;
    EXPECT_EQ(Joined(outcome.visibleWindows), "") << report;
  }
  EXPECT_EQ(test::ReadFileText(home_.File("varnhold-journal.txt")), journal);
  EXPECT_EQ(test::ReadFileText(home_.File("DLan_German.ini")), language);
  EXPECT_EQ(test::ReadFileText(home_.File("options.ini")).find("Scan"), std::string::npos);
  EXPECT_FALSE(files_.Exists(home_.File("DLan_French.ini")));
  std::vector<std::string> log = Lines(Log());
  ASSERT_EQ(log.size(), reports.size()) << Log();
  EXPECT_NE(log[0].find("varnhold-journal.txt is one of Varnhold's own files; nothing was written."), std::string::npos)
      << log[0];
}

TEST_F(ProgramRunTest, EveryScanResultSectionOfTheReportIsReplaced) {
  registry_.AddHive("Alpha", 60000, 200000);
  const std::string report = registry_.folder().File("r.ini");
  test::WriteFileText(report, "[Scan Result]\r\nOld Key=stale\r\n[Mid]\r\nm=1\r\n"
                              "[Scan Result]\r\nStale Two=x\r\nTime=never\r\n");

  RunOutcome outcome = Run("/Scan \"" + report + "\"", {}, 30000);

  EXPECT_EQ(outcome.exitCode, DWORD(kExitDone));
  std::string text = test::ReadFileText(report);
  EXPECT_EQ(Count(text, "[Scan Result]"), 1u) << text;
  EXPECT_EQ(text.find("Stale Two"), std::string::npos) << text;
  EXPECT_EQ(text.find("Old Key"), std::string::npos) << text;
  EXPECT_EQ(text.find("never"), std::string::npos) << text;
  EXPECT_NE(text.find("[Mid]\r\nm=1"), std::string::npos) << text;
  EXPECT_EQ(ReportSection(text).size(), 6u) << text;
}

}  // namespace
}  // namespace vh
