#include "tests/wine/support/wine_env.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace vh::test {

namespace {

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = folder + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder(const std::string& root) {
  std::string base = root;
  if (base.empty()) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    base = temp;
  }
  if (!base.empty() && base.back() == '\\') base.pop_back();
  static unsigned counter = 0;
  for (;;) {
    path_ = base + "\\vh-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
  }
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

void WriteFileBytes(const std::string& path, std::size_t size, char fill) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::string block(4096, fill);
  while (size > 0) {
    std::size_t n = size < block.size() ? size : block.size();
    out.write(block.data(), std::streamsize(n));
    size -= n;
  }
}

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

bool EnableTestPrivilege(const char* name) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES state{};
  state.PrivilegeCount = 1;
  state.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool ok = LookupPrivilegeValueA(nullptr, name, &state.Privileges[0].Luid) &&
            AdjustTokenPrivileges(token, FALSE, &state, 0, nullptr, nullptr);
  CloseHandle(token);
  return ok;
}

}  // namespace vh::test
