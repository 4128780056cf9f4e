#include "theme/theme_file.h"

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "platform/error.h"

namespace vh {
namespace {

// A theme file larger than this is not read (an error, as any read error).
constexpr std::uint64_t kMaxThemeFileSize = 256u * 1024u * 1024u;

// The whole file, or nullopt when it cannot be opened or read, or is larger
// than `limit`.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path, std::uint64_t limit) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[16 * 1024];
  bool ok = true;
  for (;;) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
    if (n > 0) {
      if (bytes.size() + n > limit) {
        ok = false;
        break;
      }
      bytes.insert(bytes.end(), buffer, buffer + n);
    }
    if (n < sizeof buffer) {
      ok = std::ferror(f) == 0;
      break;
    }
  }
  std::fclose(f);
  if (!ok) return std::nullopt;
  return bytes;
}

// The temporary file of one load: deleted when the load ends, however it
// ends.
class TempFileGuard {
 public:
  explicit TempFileGuard(std::string path) : path_(std::move(path)) {}
  ~TempFileGuard() { Delete(); }
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  void Delete() {
    if (!path_.empty()) std::remove(path_.c_str());
    path_.clear();
  }

 private:
  std::string path_;
};

// Inflated output to the temporary file, flushed 32 KiB at a time.
class FileSink : public ByteSink {
 public:
  explicit FileSink(std::FILE* f) : file_(f) {}
  bool Write(const std::uint8_t* data, std::size_t size) override {
    return std::fwrite(data, 1, size, file_) == size;
  }

 private:
  std::FILE* file_;
};

[[noreturn]] void ThrowReadError() { throw AppError(kSkinReadError); }

// stat rather than std::filesystem: with a static C++ library the latter
// brings the whole stream and locale machinery in, 0.9 MB of the 2.3 MB the
// executable weighed.
bool IsRegularFile(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty()) return folder;
  const char last = folder.back();
  if (last != '\\' && last != '/') {
    const bool slashes = folder.find('/') != std::string::npos && folder.find('\\') == std::string::npos;
    folder += slashes ? '/' : '\\';
  }
  return folder;
}

}  // namespace

std::string FormatGuid(const std::uint8_t b[16]) {
  char text[40];
  std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3], b[2],
                b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
  return text;
}

// Where the system's own temporary folder lookup looks first (TMP and TEMP
// on Windows, TMPDIR elsewhere); never the current folder. The Windows
// program's themes use GetTempPath itself (file_theme_win.cpp).
std::string DefaultTempFiles::TempFolder() {
  for (const char* name : {"TMP", "TEMP", "TMPDIR"}) {
    const char* value = std::getenv(name);
    if (value && *value) return WithTrailingSeparator(value);
  }
  return "/tmp/";
}

std::string DefaultTempFiles::NewGuidText() {
  // The counter alone tells two calls of the same instant apart; each call
  // has its own generator, so nothing else is shared between threads.
  static std::atomic<unsigned> counter{0};
  std::random_device device;
  const auto now = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::seed_seq seed{device(), device(), static_cast<unsigned>(now), static_cast<unsigned>(now >> 32),
                     counter.fetch_add(1) + 1};
  std::mt19937 generator(seed);
  std::uint8_t bytes[16];
  for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(generator() & 0xFF);
  bytes[7] = static_cast<std::uint8_t>((bytes[7] & 0x0F) | 0x40);  // version 4 (Data3's high nibble)
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // variant
  return FormatGuid(bytes);
}

DefaultTempFiles& DefaultTempFileService() {
  static DefaultTempFiles service;
  return service;
}

Tsk2SkinFileReader::Tsk2SkinFileReader(const std::string& path, const std::string& password) {
  Read(path, password, DefaultTempFileService());
}

Tsk2SkinFileReader::Tsk2SkinFileReader(const std::string& path, const std::string& password, TempFileService& temp) {
  Read(path, password, temp);
}

void Tsk2SkinFileReader::Read(const std::string& path, const std::string& password, TempFileService& temp) {
  const std::optional<std::vector<std::uint8_t>> archive = ReadWholeFile(path, kMaxThemeFileSize);
  if (!archive) ThrowReadError();

  // The archive's data member goes through a temporary file of its own.
  const std::string tempPath = temp.TempFolder() + temp.NewGuidText();
  TempFileGuard guard(tempPath);
  std::FILE* f = std::fopen(tempPath.c_str(), "wb");
  if (f == nullptr) ThrowReadError();
  FileSink sink(f);
  const SkinExtractResult extracted = ExtractSkinData(*archive, password, sink);
  const bool closed = std::fclose(f) == 0;
  if (extracted.outcome == SkinExtractOutcome::NotReady) return;  // quietly, success false
  if (extracted.outcome == SkinExtractOutcome::Error || !closed) ThrowReadError();

  // Read back with a size limit: the archive's own size fields are not trusted.
  const std::optional<std::vector<std::uint8_t>> data = ReadWholeFile(tempPath, kMaxSkinDataSize);
  if (!data) ThrowReadError();
  if (!ParseSkinData(*data, lists_).ok) {
    lists_.Clear();
    ThrowReadError();
  }
  guard.Delete();
  success_ = true;
}

bool TsuiFileThemeMgr::Load(const std::string& path, const std::string& password) {
  reader_.reset();
  if (!IsRegularFile(path)) return false;
  try {
    auto reader = temp_ != nullptr ? std::make_unique<Tsk2SkinFileReader>(path, password, *temp_)
                                   : std::make_unique<Tsk2SkinFileReader>(path, password);
    if (!reader->Success()) return false;
    reader_ = std::move(reader);
    return true;
  } catch (const std::exception&) {
    // An error while reading is a failure; the message is not shown.
    return false;
  }
}

Colour TsuiFileThemeMgr::GetColor(int key) const {
  const char* name = ThemeKeyName(ThemeKeyGroup::Colour, key);
  if (!reader_ || name[0] == '\0') return 0;
  return reader_->Integer(name);
}

const ThemeBitmap* TsuiFileThemeMgr::GetBitmap(int key) const {
  const char* name = ThemeKeyName(ThemeKeyGroup::Bitmap, key);
  if (!reader_ || name[0] == '\0') return nullptr;
  return reader_->Bitmap(name);
}

std::int32_t TsuiFileThemeMgr::GetInt(int key) const {
  const char* name = ThemeKeyName(ThemeKeyGroup::Integer, key);
  if (!reader_ || name[0] == '\0') return 0;
  return reader_->Integer(name);
}

bool TsuiFileThemeMgr::GetBool(int key) const {
  const char* name = ThemeKeyName(ThemeKeyGroup::Boolean, key);
  if (!reader_ || name[0] == '\0') return false;
  return reader_->Boolean(name);
}

std::optional<std::string> FindThemeFile(const std::string& path, ThemeFileLocator& locator) {
  if (!path.empty() && locator.Exists(path)) return path;
  const std::size_t cut = path.find_last_of("\\/:");
  const std::string fileName = cut == std::string::npos ? path : path.substr(cut + 1);
  if (fileName.empty()) return std::nullopt;
  const std::string folders[] = {locator.ExecutableFolder(), locator.WindowsFolder(), locator.SystemFolder()};
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    const std::string candidate = WithTrailingSeparator(folder) + fileName;
    if (locator.Exists(candidate)) return candidate;
  }
  return std::nullopt;
}

bool TsuiFileThemeData::SetThemeFile(const std::string& path) {
  const std::optional<std::string> found = FindThemeFile(path, locator_);
  if (!found) return false;
  themeFile_ = *found;
  ready_ = manager_.Load(themeFile_, password_);
  return true;
}

bool TsuiFileThemeData::SetPassword(const std::string& password) {
  password_ = password;
  if (password_.empty()) return false;
  return SetThemeFile(themeFile_);
}

ThemeBitmapFrame TsuiFileThemeData::GetThemeBitmapFrame(int key, int frameIndex, int frameCount) const {
  ThemeBitmapFrame out;
  out.bitmap = manager_.GetBitmap(key);
  if (out.bitmap == nullptr) return out;
  const Size size = out.bitmap->info.size();
  if (frameIndex != 0 && frameCount != 0) {
    out.source = CutSkinFrame(size, frameCount, frameIndex);
  } else {
    out.source = Rect{0, 0, size.width, size.height};
  }
  return out;
}

}  // namespace vh
