// Text between the program and the wide-character functions of Windows.
// The program keeps paths, registry names and every text a person reads in
// UTF-8; the profile (INI) functions take their values in the ANSI code
// page, as the files hold them; a language file names its own code page.
#pragma once

#include <cstddef>
#include <string>

namespace vh {

std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);
std::string WideToUtf8(const wchar_t* text, std::size_t length);

std::wstring AnsiToWide(const std::string& ansi);
std::string WideToAnsi(const wchar_t* text, std::size_t length);

// Bytes in the given Windows code page as UTF-16.
std::wstring CodePageToWide(const std::string& bytes, unsigned codePage);

}  // namespace vh
