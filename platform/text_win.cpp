#include "platform/text_win.h"

#include <windows.h>

namespace vh {

namespace {

std::string Encode(const wchar_t* text, std::size_t length, UINT codePage) {
  if (length == 0) return {};
  int n = WideCharToMultiByte(codePage, 0, text, int(length), nullptr, 0, nullptr, nullptr);
  std::string narrow(std::size_t(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(codePage, 0, text, int(length), &narrow[0], n, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::wstring CodePageToWide(const std::string& bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  std::wstring wide(std::size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), &wide[0], n);
  return wide;
}

std::wstring Utf8ToWide(const std::string& utf8) { return CodePageToWide(utf8, CP_UTF8); }
std::string WideToUtf8(const wchar_t* text, std::size_t length) { return Encode(text, length, CP_UTF8); }
std::string WideToUtf8(const std::wstring& wide) { return WideToUtf8(wide.data(), wide.size()); }

std::wstring AnsiToWide(const std::string& ansi) { return CodePageToWide(ansi, CP_ACP); }
std::string WideToAnsi(const wchar_t* text, std::size_t length) { return Encode(text, length, CP_ACP); }

}  // namespace vh
