#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/main_state.h"
#include "app/version_code.h"

namespace vh {
namespace {

TEST(VersionCodeTest, MapsEachPlatformAndVersionToItsCode) {
  struct Row {
    OsVersion v;
    int code;
  } rows[] = {{{2, 3, 51}, 5},  {{2, 4, 0}, 6},  {{2, 5, 0}, 7},  {{2, 5, 1}, 9},   {{2, 5, 2}, 10},
              {{2, 6, 0}, 11},  {{2, 6, 1}, 12}, {{2, 6, 2}, 11}, {{2, 6, 3}, 11},  {{2, 10, 0}, 0},
              {{1, 4, 0}, 1},   {{1, 4, 10}, 3}, {{1, 4, 90}, 8}, {{1, 5, 0}, 0},   {{0, 0, 0}, 0}};
  for (const Row& r : rows)
    EXPECT_EQ(GetWindowsVersionCode(r.v), r.code) << r.v.platformId << " " << r.v.major << "." << r.v.minor;
}

TEST(VersionCodeTest, AcceptsFiveToSevenAndNineToTwelve) {
  std::string accepted;
  for (int code = 0; code <= 13; ++code)
    if (IsSupportedVersionCode(std::uint8_t(code))) accepted += std::to_string(code) + " ";
  EXPECT_EQ(accepted, "5 6 7 9 10 11 12 ");
}

TEST(CommandLineTest, SplitsOnBlanksAndControlCharactersAndJoinsQuotedStretches) {
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\V\\varnhold.exe\"  /Scan \"C:\\My Reports\\r.ini\""),
            (std::vector<std::string>{"C:\\Program Files\\V\\varnhold.exe", "/Scan", "C:\\My Reports\\r.ini"}));
  EXPECT_EQ(SplitCommandLine("a\tb\x01" "c  d\"e f\"g"), (std::vector<std::string>{"a", "b", "c", "de fg"}));
  EXPECT_EQ(SplitCommandLine("   "), std::vector<std::string>{});
  EXPECT_EQ(SplitCommandLine("x \"unterminated arg"), (std::vector<std::string>{"x", "unterminated arg"}));
}

TEST(CommandLineTest, OnlyWholeArgumentsIgnoringCaseSelectAMode) {
  auto mode = [](const std::string& line) { return ParseInvocation(SplitCommandLine(line)).mode; };
  EXPECT_EQ(mode("v.exe /silent"), RunMode::Silent);
  EXPECT_EQ(mode("v.exe /SILENT extra"), RunMode::Silent);
  EXPECT_EQ(mode("v.exe"), RunMode::Interactive);
  EXPECT_EQ(mode("v.exe x y"), RunMode::Interactive);
  EXPECT_EQ(mode("v.exe /undo"), RunMode::Undo);
  EXPECT_TRUE(IsUnattended(RunMode::Undo)) << "an undo for scripts never shows a window";
  Invocation scan = ParseInvocation(SplitCommandLine("v.exe /scan \"C:\\My Reports\\r.ini\" more"));
  EXPECT_EQ(scan.mode, RunMode::Scan);
  EXPECT_EQ(scan.reportPath, "C:\\My Reports\\r.ini");
  EXPECT_EQ(ParseInvocation(SplitCommandLine("v.exe /Scan")).reportPath, "");
}

TEST(CommandLineTest, UnknownAndMalformedSwitchesAreABadCommandLine) {
  for (const char* line : {"v.exe /Silent2", "v.exe -Silent", "v.exe -Scan x", "v.exe /Scan:x", "v.exe /Foo",
                           "v.exe /", "v.exe -", "v.exe /Scan /Silent", "v.exe /scan -r.ini",
                           "v.exe /Undo2", "v.exe -Undo"}) {
    Invocation bad = ParseInvocation(SplitCommandLine(line), "C:\\work");
    EXPECT_EQ(bad.mode, RunMode::BadCommandLine) << line;
    EXPECT_EQ(bad.reportPath, "") << line;
    EXPECT_NE(UsageLine(bad).find("\"" + bad.refused + "\""), std::string::npos);
    EXPECT_NE(UsageLine(bad).find("/Scan [report file]"), std::string::npos);
  }
  EXPECT_EQ(ParseInvocation(SplitCommandLine("v.exe /Scan:x")).refused, "/Scan:x");
  EXPECT_EQ(ParseInvocation(SplitCommandLine("v.exe /Scan /Foo")).refused, "/Foo");
  // Not a switch: the program opens its window as before.
  EXPECT_EQ(ParseInvocation(SplitCommandLine("v.exe report.ini")).mode, RunMode::Interactive);
  EXPECT_FALSE(IsUnattended(RunMode::BadCommandLine));
  EXPECT_TRUE(IsUnattended(RunMode::Scan));
}

TEST(CommandLineTest, AfterTheModeOnlyItsOwnSwitchesPassAndOtherWordsAreIgnored) {
  struct Case {
    const char* line;
    RunMode mode;
    const char* refused;
  };
  const RunMode bad = RunMode::BadCommandLine;
  for (const Case& c : std::vector<Case>{
           {"v.exe /Silent /Foo", bad, "/Foo"},
           {"v.exe /Silent -Scan", bad, "-Scan"},
           {"v.exe /Silent /Undo", bad, "/Undo"},
           {"v.exe /Silent extra /mingain:2.5 more", RunMode::Silent, ""},
           {"v.exe /Silent /MinGain:", bad, "/MinGain:"},
           {"v.exe /Silent /MinGain", bad, "/MinGain"},
           {"v.exe /Silent /MinGain:abc", bad, "/MinGain:abc"},
           {"v.exe /Silent /MinGain:2,5", bad, "/MinGain:2,5"},
           {"v.exe /Silent /MinGain:1.", bad, "/MinGain:1."},
           {"v.exe /Silent /MinGain:-1", bad, "/MinGain:-1"},
           {"v.exe /Silent /MinGain:100.01", bad, "/MinGain:100.01"},
           {"v.exe /Silent /MinGain:5 /MinGain:6", bad, "/MinGain:6"},
           {"v.exe /Silent -MinGain:5", bad, "-MinGain:5"},
           {"v.exe /Undo /Foo", bad, "/Foo"},
           {"v.exe /Undo /MinGain:5", bad, "/MinGain:5"},
           {"v.exe /Undo extra", RunMode::Undo, ""},
           {"v.exe /Scan r.ini /Silent", bad, "/Silent"},
           {"v.exe /Scan r.ini /MinGain:5", bad, "/MinGain:5"},
           {"v.exe /Scan r.ini more", RunMode::Scan, ""},
           // Any switch after a first word that is none: a script's mistake,
           // never a window.
           {"v.exe now /Silent", bad, "/Silent"},
           {"v.exe \"\" /Silent", bad, "/Silent"},
           {"v.exe \"\" /scan r.ini", bad, "/scan"},
           {"v.exe report.ini -Undo", bad, "-Undo"},
           {"v.exe x y /SCAN", bad, "/SCAN"},
           {"v.exe x /Silently", bad, "/Silently"},
           {"v.exe now /Foo", bad, "/Foo"},
           {"v.exe \"\" /Foo", bad, "/Foo"},
           {"v.exe now /Scan:x", bad, "/Scan:x"},
           {"v.exe now -Silentx", bad, "-Silentx"},
           {"v.exe now /MinGain:5", bad, "/MinGain:5"},
           {"v.exe now later", RunMode::Interactive, ""},
       }) {
    Invocation invocation = ParseInvocation(SplitCommandLine(c.line), "C:\\work");
    EXPECT_EQ(invocation.mode, c.mode) << c.line;
    EXPECT_EQ(invocation.refused, c.refused) << c.line;
    if (c.mode == bad) {
      EXPECT_FALSE(invocation.minGain) << c.line;
    }
  }
  EXPECT_NE(UsageLine(ParseInvocation(SplitCommandLine("v.exe /Silent /x"))).find("/Silent [/MinGain:<percent>]"),
            std::string::npos);
}

TEST(CommandLineTest, AMinimumGainKeepsItsDigitsFromZeroToAHundred) {
  for (const auto& ok : {std::pair<const char*, const char*>{"0", "0%"}, {"2.5", "2.5%"}, {"2.50", "2.5%"},
                         {"007", "7%"}, {"0.25", "0.25%"}, {"100", "100%"}, {"100.00", "100%"}}) {
    std::optional<MinGain> minimum = ParseMinGain(ok.first);
    ASSERT_TRUE(minimum) << ok.first;
    EXPECT_EQ(minimum->Text(), ok.second);
  }
  for (const char* malformed : {"", ".5", "1e2", "101", "1000", " 5", "5%"})
    EXPECT_FALSE(ParseMinGain(malformed)) << malformed;
}

TEST(CommandLineTest, ARelativeReportPathIsTakenInTheCurrentFolder) {
  auto report = [](const std::string& line, const std::string& folder) {
    return ParseInvocation(SplitCommandLine(line), folder).reportPath;
  };
  EXPECT_EQ(report("v.exe /Scan rel.ini", "C:\\work"), "C:\\work\\rel.ini");
  EXPECT_EQ(report("v.exe /Scan sub\\rel.ini", "C:\\work\\"), "C:\\work\\sub\\rel.ini");
  EXPECT_EQ(report("v.exe /Scan ..\\rel.ini", "C:\\work"), "C:\\work\\..\\rel.ini");
  EXPECT_EQ(report("v.exe /Scan \"D:\\My Reports\\r.ini\"", "C:\\work"), "D:\\My Reports\\r.ini");
  EXPECT_EQ(report("v.exe /Scan \\\\srv\\share\\r.ini", "C:\\work"), "\\\\srv\\share\\r.ini");
  EXPECT_EQ(AbsolutePath("\\r.ini", "C:\\work"), "C:\\r.ini");
  EXPECT_EQ(AbsolutePath("\\r.ini", "\\\\srv\\share\\work"), "\\\\srv\\share\\r.ini");
  EXPECT_EQ(AbsolutePath("c:r.ini", "C:\\work"), "C:\\work\\r.ini");
  EXPECT_EQ(AbsolutePath("D:r.ini", "C:\\work"), "D:\\r.ini");
  EXPECT_EQ(AbsolutePath("r.ini", "\\\\srv\\share"), "\\\\srv\\share\\r.ini");
  EXPECT_EQ(AbsolutePath("r.ini", ""), "r.ini");
}

}  // namespace
// Each state's commands, with and without a defragmentation to undo.
TEST(MainStateTest, EachStateEnablesItsCommands) {
  struct Row {
    MainState state;
    bool undoOffered;
    EnabledCommands expected;  // analyze, defrag, undo, pending warning, Restart Now
  };
  const Row rows[] = {
      {MainState::Ready, false, {true, false, false, false, false}},
      {MainState::Ready, true, {true, false, true, false, false}},
      {MainState::Analysed, false, {true, true, false, false, false}},
      {MainState::Analysed, true, {true, true, true, false, false}},
      {MainState::SwapsPending, true, {false, false, false, true, true}},
      {MainState::RestartAwaited, true, {false, false, false, true, false}},
  };
  for (const Row& row : rows) {
    const EnabledCommands on = CommandsIn(row.state, row.undoOffered);
    EXPECT_TRUE(on == row.expected) << int(row.state) << " undo offered " << row.undoOffered << ": analyze "
                                    << on.analyze << " defrag " << on.defrag << " undo " << on.undo << " warning "
                                    << on.pendingWarning << " restart now " << on.restartNow;
  }
}

}  // namespace vh
