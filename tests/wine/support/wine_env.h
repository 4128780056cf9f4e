// Helpers for the tests that run under Wine against the real Win32 API.
#pragma once

#include <windows.h>

#include <string>

namespace vh::test {

// A fresh folder below the prefix's temp folder, removed with its files
// when the object goes.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& root = "");
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

void WriteFileBytes(const std::string& path, std::size_t size, char fill = 'x');
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

// Enables a privilege in the process token for the test's own set-up.
bool EnableTestPrivilege(const char* name);

}  // namespace vh::test
