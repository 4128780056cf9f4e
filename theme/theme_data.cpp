#include "theme/theme_data.h"

#include <algorithm>
#include <unordered_set>

#include "platform/text.h"

namespace vh {
namespace {

std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

bool Inside(std::uint64_t offset, std::uint64_t length, std::size_t size) {
  return offset <= size && length <= size - offset;
}

// The value part of the first line whose name part (up to the first '=')
// equals `name` without regard to case.
std::optional<std::string> ValueOf(const std::vector<std::string>& lines, const std::string& name) {
  for (const std::string& line : lines) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (EqualsIgnoreCase(line.substr(0, eq), name)) return line.substr(eq + 1);
  }
  return std::nullopt;
}

SkinDataParseResult Failed(const char* reason) { return SkinDataParseResult{false, reason}; }

}  // namespace

std::optional<std::int32_t> ParseListInteger(const std::string& text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  }
  if (i >= text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFll) return std::nullopt;
  }
  if (base == 10) {
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
  }
  // Hexadecimal wraps to 32 bits, as the platform's conversion does.
  const std::uint32_t bits = static_cast<std::uint32_t>(negative ? -value : value);
  return static_cast<std::int32_t>(bits);
}

const ThemeBitmap* SkinDataLists::Bitmap(const std::string& name) const {
  for (const ThemeBitmap& b : bitmaps_) {
    if (EqualsIgnoreCase(b.name, name)) return &b;
  }
  return nullptr;
}

std::int32_t SkinDataLists::Integer(const std::string& name) const {
  const std::optional<std::string> v = ValueOf(integers_, name);
  if (!v) return -1;
  return ParseListInteger(*v).value_or(-1);
}

bool SkinDataLists::Boolean(const std::string& name) const {
  const std::optional<std::string> v = ValueOf(booleans_, name);
  if (!v) return false;
  const std::optional<std::int32_t> n = ParseListInteger(*v);
  return n && *n != 0;
}

std::optional<std::string> SkinDataLists::Text(const std::string& name) const { return ValueOf(texts_, name); }

void SkinDataLists::AddIntegerLine(const std::string& name, std::int32_t value) {
  integers_.push_back(name + "=" + std::to_string(value));
}

void SkinDataLists::AddBooleanLine(const std::string& name, std::uint8_t value) {
  booleans_.push_back(name + "=" + std::to_string(static_cast<int>(value)));
}

void SkinDataLists::AddTextLine(const std::string& name, const std::string& text) {
  texts_.push_back(name + "=" + text);
}

void SkinDataLists::Clear() {
  bitmaps_.clear();
  integers_.clear();
  booleans_.clear();
  texts_.clear();
}

SkinDataParseResult ParseSkinData(const std::uint8_t* data, std::size_t size, SkinDataLists& out) {
  if (data == nullptr || size < kSkinDataHeaderStart) return Failed("shorter than the header's start");
  const std::uint32_t headerLength = U32(data + kSkinDataHeaderLengthAt);
  if (headerLength < kSkinDataFirstRecordAt + 4) return Failed("header too short to hold the first offset");
  if (!Inside(0, headerLength, size)) return Failed("header past the end");
  std::uint32_t recordAt = U32(data + kSkinDataFirstRecordAt);

  std::unordered_set<std::uint32_t> seen;
  std::uint64_t loaded = 0;
  for (;;) {
    if (!Inside(recordAt, kSkinRecordSize, size)) return Failed("record past the end");
    if (!seen.insert(recordAt).second) return Failed("the record chain comes back to a record");
    if (seen.size() > kMaxSkinRecords) return Failed("too many records");
    const std::uint8_t* r = data + recordAt;
    const std::uint32_t next = U32(r + kSkinRecordNameSize + 9);
    if (next == 0) break;  // the last record is not loaded

    const std::uint8_t* nameEnd = std::find(r, r + kSkinRecordNameSize, std::uint8_t{0});
    const std::string name(reinterpret_cast<const char*>(r), static_cast<std::size_t>(nameEnd - r));
    const std::uint8_t kind = r[kSkinRecordNameSize];
    const std::uint32_t dataOffset = U32(r + kSkinRecordNameSize + 1);
    const std::uint32_t dataSize = U32(r + kSkinRecordNameSize + 5);
    switch (static_cast<SkinEntryKind>(kind)) {
      case SkinEntryKind::Bitmap: {
        if (!Inside(dataOffset, dataSize, size)) return Failed("bitmap data past the end");
        loaded += dataSize;
        if (loaded > kMaxSkinLoadedBytes) return Failed("more data loaded than the limit");
        const std::optional<BitmapFileInfo> info = ParseBitmapFile(data + dataOffset, dataSize);
        if (!info) return Failed("bitmap data are not a bitmap");
        ThemeBitmap bitmap;
        bitmap.name = name;
        bitmap.file.assign(data + dataOffset, data + dataOffset + dataSize);
        bitmap.info = *info;
        out.AddBitmap(std::move(bitmap));
        break;
      }
      case SkinEntryKind::Integer: {
        if (!Inside(dataOffset, 4, size)) return Failed("integer past the end");
        out.AddIntegerLine(name, static_cast<std::int32_t>(U32(data + dataOffset)));
        break;
      }
      case SkinEntryKind::Boolean: {
        if (!Inside(dataOffset, 1, size)) return Failed("boolean past the end");
        out.AddBooleanLine(name, data[dataOffset]);
        break;
      }
      case SkinEntryKind::Text: {
        if (!Inside(dataOffset, dataSize, size)) return Failed("text past the end");
        loaded += dataSize;
        if (loaded > kMaxSkinLoadedBytes) return Failed("more data loaded than the limit");
        out.AddTextLine(name, std::string(reinterpret_cast<const char*>(data + dataOffset), dataSize));
        break;
      }
      default:
        break;  // an unknown kind loads nothing
    }
    recordAt = next;
  }
  return SkinDataParseResult{true, ""};
}

}  // namespace vh
