// themefile_tool: writes a theme file for tests and for trying
// themes out.
//
//   themefile_tool OUTPUT [options] [entries]
//
// Options:
//   --password TEXT     encrypt the member with the traditional ZIP encryption
//   --stored            deflate stored blocks instead of compressed data
//   --descriptor        write sizes and CRC after the data (flag bit 3)
//   --member NAME       member name (default SKINDATA.SK2)
//   --pk                keep "PK" as the first two bytes (a file the reader refuses)
//   --comment TEXT      add an archive comment (a file the reader refuses)
//   --data-only         write the plain data member instead of the archive
// Entries (in order; each NAME is a theme key such as SKIN2_BUTTON):
//   --int NAME=VALUE    integer (decimal, or $hex / 0xhex)
//   --colour NAME=VALUE colour $00BBGGRR, stored as an integer
//   --bool NAME=0|1     boolean byte
//   --text NAME=TEXT    text
//   --bitmap NAME=FILE  a Windows bitmap file's bytes
//   --solid NAME=WxH:COLOUR   a solid 24-bit bitmap made on the spot
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "theme/bitmap_file.h"
#include "tests/support/theme_file_writer.h"

namespace {

int Usage(const char* message) {
  std::fprintf(stderr, "themefile_tool: %s\n", message);
  std::fprintf(stderr,
               "usage: themefile_tool OUTPUT [--password P] [--stored] [--descriptor] [--member NAME] [--pk]\n"
               "       [--comment TEXT] [--data-only] [--int N=V] [--colour N=V] [--bool N=V] [--text N=T]\n"
               "       [--bitmap N=FILE] [--solid N=WxH:COLOUR]\n");
  return 2;
}

bool ParseNumber(const std::string& text, long long& value) {
  if (text.empty()) return false;
  std::string digits = text;
  int base = 10;
  bool negative = false;
  if (digits[0] == '-') {
    negative = true;
    digits.erase(0, 1);
  }
  if (!digits.empty() && digits[0] == '$') {
    base = 16;
    digits.erase(0, 1);
  } else if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits.erase(0, 2);
  }
  if (digits.empty()) return false;
  char* end = nullptr;
  value = std::strtoll(digits.c_str(), &end, base);
  if (*end != '\0') return false;
  if (negative) value = -value;
  return true;
}

bool SplitPair(const std::string& arg, std::string& name, std::string& value) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  name = arg.substr(0, eq);
  value = arg.substr(eq + 1);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage("no output file");
  const std::string output = argv[1];
  vh::ThemeDataBuilder builder;
  vh::ArchiveMember member;
  vh::ThemeArchiveOptions options;
  bool dataOnly = false;
  for (int i = 2; i < argc; ++i) {
    const std::string opt = argv[i];
    const auto next = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::string arg, name, value;
    if (opt == "--stored") {
      member.compression = vh::MemberCompression::Stored;
    } else if (opt == "--descriptor") {
      member.dataDescriptor = true;
    } else if (opt == "--pk") {
      options.skMark = false;
    } else if (opt == "--data-only") {
      dataOnly = true;
    } else if (opt == "--password") {
      if (!next(member.password)) return Usage("--password needs a value");
    } else if (opt == "--member") {
      if (!next(member.name)) return Usage("--member needs a value");
    } else if (opt == "--comment") {
      if (!next(options.comment)) return Usage("--comment needs a value");
    } else if (opt == "--int" || opt == "--colour" || opt == "--bool" || opt == "--text" || opt == "--bitmap" ||
               opt == "--solid") {
      if (!next(arg) || !SplitPair(arg, name, value)) return Usage("an entry needs NAME=VALUE");
      long long number = 0;
      if (opt == "--int" || opt == "--colour") {
        if (!ParseNumber(value, number)) return Usage("not a number");
        builder.AddInteger(name, static_cast<std::int32_t>(static_cast<std::uint32_t>(number)));
      } else if (opt == "--bool") {
        if (!ParseNumber(value, number) || number < 0 || number > 255) return Usage("a boolean is 0 to 255");
        builder.AddBoolean(name, static_cast<std::uint8_t>(number));
      } else if (opt == "--text") {
        builder.AddText(name, value);
      } else if (opt == "--bitmap") {
        std::ifstream in(value, std::ios::binary);
        if (!in) return Usage("cannot read the bitmap file");
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!vh::ParseBitmapFile(bytes)) std::fprintf(stderr, "themefile_tool: warning: %s is not a bitmap\n", value.c_str());
        builder.AddBitmap(name, std::move(bytes));
      } else {
        int w = 0, h = 0;
        char colour[32] = {0};
        if (std::sscanf(value.c_str(), "%dx%d:%31s", &w, &h, colour) != 3 || w < 1 || h < 1 ||
            !ParseNumber(colour, number)) {
          return Usage("--solid needs NAME=WxH:COLOUR");
        }
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h, static_cast<std::uint32_t>(number));
        builder.AddBitmap(name, vh::MakeBitmapFile(w, h, pixels));
      }
    } else {
      return Usage(("unknown option " + opt).c_str());
    }
  }
  member.data = builder.Build();
  const std::vector<std::uint8_t> bytes = dataOnly ? member.data : vh::WriteThemeArchive({member}, options);
  if (!vh::SaveBytes(output, bytes)) {
    std::fprintf(stderr, "themefile_tool: cannot write %s\n", output.c_str());
    return 1;
  }
  std::printf("%s: %zu bytes, %zu entries\n", output.c_str(), bytes.size(), builder.EntryCount());
  return 0;
}
