// Every event the README lists has its text in the message table of the
// built varnhold.exe, which is what Event Viewer formats it from.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "res/event_ids.h"
#include "tests/wine/support/program_win.h"
#include "tests/wine/support/wine_env.h"

namespace vh {
namespace {

// The IDs in the first column of the README's event table.
std::set<DWORD> ReadmeEventIds() {
  std::set<DWORD> ids;
  const std::regex row("^\\| ([0-9]+) \\| (Information|Error|Information or error) \\|");
  for (const std::string& line : test::Lines(test::ReadFileText(test::SourceFile("README.md")))) {
    std::smatch match;
    if (std::regex_search(line, match, row)) ids.insert(DWORD(std::stoul(match[1])));
  }
  return ids;
}

// FormatMessageW from the module's message table, with the insertions given.
std::wstring Formatted(HMODULE module, DWORD id, const std::vector<std::wstring>& strings) {
  std::vector<DWORD_PTR> arguments;
  for (const std::wstring& s : strings) arguments.push_back(reinterpret_cast<DWORD_PTR>(s.c_str()));
  wchar_t* text = nullptr;
  DWORD flags = FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY;
  DWORD n = FormatMessageW(flags, module, id, 0, reinterpret_cast<wchar_t*>(&text), 0,
                           reinterpret_cast<va_list*>(arguments.data()));
  std::wstring result(text ? text : L"", n);
  LocalFree(text);
  return result;
}

TEST(EventMessagesTest, EveryEventTheReadmeListsFormatsFromTheProgramsMessageTable) {
  std::set<DWORD> listed = ReadmeEventIds();
  EXPECT_EQ(listed, std::set<DWORD>(std::begin(kEveryEventId), std::end(kEveryEventId)))
      << "the README's event table and the program's event IDs differ";
  HMODULE program = LoadLibraryExA(test::BuiltProgram("varnhold.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr) << GetLastError();
  // More insertions than any event takes: each one is told by its number.
  std::vector<std::wstring> strings;
  for (int i = 1; i <= 9; ++i) strings.push_back(L"<insert " + std::to_wstring(i) + L">");
  for (DWORD id : listed) {
    std::wstring text = Formatted(program, id, strings);
    ASSERT_FALSE(text.empty()) << "event " << id << " has no text (error " << GetLastError() << ")";
    EXPECT_NE(text.find(L"Varnhold"), std::wstring::npos) << "event " << id;
    EXPECT_NE(text.find(L"<insert 1>"), std::wstring::npos) << "event " << id;
    EXPECT_EQ(text.find(L"%"), std::wstring::npos) << "event " << id << ": an insertion left unformatted";
  }
  FreeLibrary(program);
}

}  // namespace
}  // namespace vh
