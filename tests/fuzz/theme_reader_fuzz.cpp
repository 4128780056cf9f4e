// libFuzzer target: arbitrary bytes as a theme file. The archive
// layer (SK mark, end record, central directory, local header, decryption,
// inflate) runs in memory with two passwords; what it extracts goes through
// the data member parser. A quarter of the inputs also go through the full
// Tsk2SkinFileReader with its temporary file, which must be gone afterwards.
//
// Must never crash, hang, leak or read out of bounds; the outcome itself is
// free.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "platform/error.h"
#include "theme/theme_archive.h"
#include "theme/theme_data.h"
#include "theme/theme_file.h"
#include "tests/support/theme_file_writer.h"

namespace {

class FuzzTempFiles : public vh::TempFileService {
 public:
  std::string folder;
  std::string TempFolder() override { return folder; }
  std::string NewGuidText() override { return "{00000000-0000-4000-8000-000000000000}"; }
};

void ParseExtracted(const std::vector<std::uint8_t>& data) {
  vh::SkinDataLists lists;
  if (vh::ParseSkinData(data, lists).ok) {
    for (const vh::ThemeBitmap& b : lists.Bitmaps()) {
      if (b.info.width <= 0 || b.info.height <= 0) std::abort();
    }
    (void)lists.Integer("SKIN2_CONTROLCOLOR");
    (void)lists.Boolean("SKIN2_BUTTONTRANS");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const char* password : {"", "secret"}) {
    vh::MemorySink sink;
    const vh::SkinExtractResult r = vh::ExtractSkinData(data, size, password, sink);
    if (sink.bytes.size() > vh::kMaxSkinDataSize) std::abort();
    if (r.outcome == vh::SkinExtractOutcome::Success) ParseExtracted(sink.bytes);
  }
  // The data member parser on the raw bytes as well.
  {
    vh::SkinDataLists lists;
    (void)vh::ParseSkinData(data, size, lists);
  }
  if (size > 0 && (data[size - 1] & 3) == 0) {
    static FuzzTempFiles temp;
    static std::string themePath;
    if (temp.folder.empty()) {
      const auto root = std::filesystem::temp_directory_path() / ("vh_theme_fuzz_" + std::to_string(::getpid()));
      std::filesystem::create_directories(root / "tmp");
      temp.folder = (root / "tmp").string() + "/";
      themePath = (root / "theme.skn").string();
      static std::filesystem::path toRemove;
      toRemove = root;
      std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(toRemove, ec);
      });
    }
    vh::SaveBytes(themePath, std::vector<std::uint8_t>(data, data + size));
    try {
      vh::Tsk2SkinFileReader reader(themePath, "secret", temp);
      (void)reader.Success();
    } catch (const vh::AppError&) {
    }
    if (!std::filesystem::is_empty(temp.folder)) std::abort();  // the temporary file outlived the load
  }
  return 0;
}
