// libFuzzer target: arbitrary bytes as the data member "SKINDATA.SK2" of a
// theme file: the header, the record chain (loops, backward and
// self references, offsets and sizes beyond the data) and the bitmap check.
// Then the same bytes packed by the writer must come back unchanged from the
// archive layer.
#include <cstdint>
#include <cstdlib>

#include "theme/theme_archive.h"
#include "theme/theme_data.h"
#include "tests/support/theme_file_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vh::SkinDataLists lists;
  const vh::SkinDataParseResult r = vh::ParseSkinData(data, size, lists);
  if (r.ok) {
    std::size_t loaded = 0;
    for (const vh::ThemeBitmap& b : lists.Bitmaps()) loaded += b.file.size();
    if (loaded > size * vh::kMaxSkinRecords) std::abort();
    for (const std::string& line : lists.IntegerLines()) {
      const std::size_t eq = line.find('=');
      if (eq == std::string::npos) std::abort();
      (void)lists.Integer(line.substr(0, eq));
    }
  }
  const std::vector<std::uint8_t> plain(data, data + size);
  const std::vector<std::uint8_t> archive =
      vh::WriteThemeFile(plain, (size & 1) ? vh::MemberCompression::Stored : vh::MemberCompression::Deflated,
                         (size & 2) ? "pw" : "");
  vh::MemorySink sink;
  const vh::SkinExtractResult x = vh::ExtractSkinData(archive, "pw", sink);
  if (x.outcome != vh::SkinExtractOutcome::Success || sink.bytes != plain) std::abort();
  return 0;
}
