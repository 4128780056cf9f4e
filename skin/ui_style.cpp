#include "skin/ui_style.h"

#include <cstring>

namespace vh {
namespace {

using K = ThemeEntryKind;

// One row of the built-in table: the entry's kind and, for the styles
// MacOS, WinXP, DeepBlue, Protein and BlueGlass, either the number or the
// bitmap's element name. A bitmap element starting with '=' is a full
// resource name, used without the style's prefix ("MORE_SCROLLBUTTON"); an
// empty element is an empty name.
struct TableRow {
  K kind;
  std::int32_t values[5];
  const char* elements[5];
};

#define VH_NUMS(kind, a, b, c, d, e) \
  TableRow { kind, {a, b, c, d, e}, {"", "", "", "", ""} }
#define VH_BMP(name) \
  TableRow { K::Bitmap, {0, 0, 0, 0, 0}, {name, name, name, name, name} }

const TableRow kTable[kBuiltinThemeEntryCount] = {
    /* 1 */ VH_BMP("BUTTON"),
    /* 2 */ VH_NUMS(K::Boolean, 1, 0, 0, 0, 1),
    /* 3 */ VH_BMP("CHECKBOX"),
    /* 4 */ VH_BMP("RADIOBUTTON"),
    /* 5 */ VH_BMP("TITLEBTN"),
    /* 6 */ VH_NUMS(K::Boolean, 0, 0, 0, 1, 1),
    /* 7 */ VH_NUMS(K::Integer, 3, 2, 0, 0, 4),
    /* 8 */ VH_NUMS(K::Integer, -2, -2, 0, 0, -3),
    /* 9 */ VH_NUMS(K::Integer, 4, 5, 2, 2, 6),
    /* 10 */ VH_BMP("TITLE_LEFT"),
    /* 11 */ VH_BMP("TITLE_CLIENT"),
    /* 12 */ VH_BMP("TITLE_RIGHT"),
    /* 13 */ VH_NUMS(K::Integer, 130, 150, 130, 130, 270),
    /* 14 */ VH_NUMS(K::Integer, 0, 13, 0, 0, 11),
    /* 15 */ VH_NUMS(K::Colour, 0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),
    /* 16 */ VH_NUMS(K::Colour, 0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000),
    /* 17 */ VH_NUMS(K::Integer, 1, 3, 1, 1, 1),
    /* 18 */ VH_NUMS(K::Colour, 0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E),
    /* 19 */ VH_NUMS(K::Colour, 0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E),
    /* 20 */ VH_NUMS(K::Colour, 0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF),
    /* 21 */ VH_NUMS(K::Colour, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7),
    /* 22 */ VH_NUMS(K::Colour, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000),
    /* 23 */ VH_NUMS(K::Colour, 0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6),
    /* 24 */ VH_BMP("PROGRESSBAR"),
    /* 25 */ VH_NUMS(K::Colour, 0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000),
    /* 26 */ VH_NUMS(K::Colour, 0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),
    /* 27 */ VH_NUMS(K::Colour, 0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000),
    /* 28 */ VH_BMP("TRACKBAR_BAR"),
    /* 29 */ VH_BMP("TRACKBAR_SLIDER"),
    /* 30 */ VH_BMP("TRACKBAR_SLIDER_V"),
    /* 31 */ VH_NUMS(K::Colour, 0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4),
    /* 32 */ VH_BMP("SCROLLBAR_BUTTON"),
    /* 33 */ VH_BMP("SCROLLBAR_TRACK"),
    /* 34 */ VH_BMP("CHECKLIST"),
    /* 35 */ VH_NUMS(K::Colour, 0x474747, 0xC66931, 0x474747, 0x474747, 0x474747),
    /* 36 */ VH_NUMS(K::Colour, 0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF),
    /* 37 */ VH_NUMS(K::Colour, 0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8),
    /* 38 */
    TableRow{K::Bitmap,
             {0, 0, 0, 0, 0},
             {"SCROLLBUTTON", "SCROLLBUTTON", "=MORE_SCROLLBUTTON", "=MORE_SCROLLBUTTON", "=MORE_SCROLLBUTTON"}},
    /* 39 */ VH_BMP("TAB"),
    /* 40 */ VH_BMP("TAB_LINE"),
    /* 41 */ VH_BMP("SIDECHENNEL_HANDLE"),
    /* 42 */ VH_BMP("SIDECHENNEL_BAR"),
    /* 43 */ VH_BMP(""),
    /* 44 */ VH_NUMS(K::Colour, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF),
    /* 45 */ VH_BMP(""),
    /* 46 */ VH_BMP(""),
    /* 47 */ VH_NUMS(K::Integer, 0, 0, 0, 0, 0),
    /* 48 */ VH_NUMS(K::Colour, 0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),
};

#undef VH_NUMS
#undef VH_BMP

bool IsBuiltinStyle(TsuiUIStyle style) {
  const int s = static_cast<int>(style);
  return s >= 1 && s <= 5;
}

// Resource sizes, one row per element and style; {0, 0} where the
// style has no such resource.
struct SizeRow {
  const char* element;
  Size sizes[5];
};

const SizeRow kSizes[] = {
    {"BUTTON", {{252, 23}, {54, 21}, {222, 21}, {222, 21}, {231, 27}}},
    {"CHECKBOX", {{60, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}},
    {"RADIOBUTTON", {{64, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}},
    {"PROGRESSBAR", {{13, 10}, {6, 10}, {1, 10}, {1, 10}, {1, 10}}},
    {"TITLEBTN", {{306, 17}, {378, 21}, {342, 19}, {342, 19}, {342, 19}}},
    {"TITLE_LEFT", {{48, 23}, {35, 29}, {97, 32}, {441, 23}, {162, 33}}},
    {"TITLE_CLIENT", {{49, 23}, {37, 29}, {98, 32}, {1, 23}, {179, 33}}},
    {"TITLE_RIGHT", {{48, 23}, {35, 29}, {97, 32}, {1, 23}, {101, 33}}},
    {"TRACKBAR_BAR", {{45, 5}, {45, 8}, {45, 4}, {45, 4}, {45, 4}}},
    {"TRACKBAR_SLIDER", {{11, 20}, {11, 21}, {11, 20}, {11, 20}, {11, 20}}},
    {"TRACKBAR_SLIDER_V", {{19, 11}, {22, 11}, {18, 11}, {18, 11}, {18, 11}}},
    {"SCROLLBAR_BUTTON", {{96, 22}, {96, 17}, {96, 16}, {96, 16}, {102, 16}}},
    {"SCROLLBAR_TRACK", {{33, 16}, {21, 16}, {21, 16}, {21, 16}, {21, 16}}},
    {"CHECKLIST", {{40, 11}, {44, 11}, {44, 11}, {44, 11}, {44, 11}}},
    {"SCROLLBUTTON", {{72, 18}, {72, 18}, {0, 0}, {0, 0}, {0, 0}}},
    {"TAB", {{36, 27}, {18, 18}, {12, 17}, {18, 17}, {18, 17}}},
    {"TAB_LINE", {{17, 7}, {8, 1}, {5, 5}, {10, 5}, {10, 5}}},
    {"SIDECHENNEL_HANDLE", {{7, 84}, {8, 86}, {8, 83}, {8, 83}, {8, 86}}},
    {"SIDECHENNEL_BAR", {{1, 21}, {1, 21}, {1, 20}, {1, 21}, {1, 21}}},
};

const char* const kPrefixes[5] = {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"};
const char* const kNames[6] = {"FromThemeFile", "MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"};

std::vector<BuiltinBitmapResource> MakeResourceList() {
  std::vector<BuiltinBitmapResource> list;
  // Names are kept alive in static storage: built once.
  static std::vector<std::string> names;
  names.reserve(5 * (sizeof(kSizes) / sizeof(kSizes[0])) + 7);
  for (const SizeRow& row : kSizes) {
    for (int s = 0; s < 5; ++s) {
      if (row.sizes[s].width == 0) continue;
      names.push_back(std::string(kPrefixes[s]) + "_" + row.element);
      list.push_back({nullptr, row.sizes[s]});
    }
  }
  names.push_back("MORE_SCROLLBUTTON");
  list.push_back({nullptr, {72, 17}});
  const BuiltinBitmapResource extras[] = {
      {"MACOS_COMBOBOX_BUTTON", {16, 17}}, {"WINXP_COMBOBOX_BUTTON", {16, 18}},
      {"MACOS_FORM_BACKGROUND", {8, 8}},   {"PROTEIN_FORM_BACKGROUND", {8, 8}},
      {"MACOS_MENU_BAR", {1, 22}},         {"MACOS_MENU_SELECT", {1, 21}},
  };
  for (const auto& e : extras) {
    names.push_back(e.name);
    list.push_back({nullptr, e.size});
  }
  for (std::size_t i = 0; i < list.size(); ++i) list[i].name = names[i].c_str();
  return list;
}

}  // namespace

const char* UIStyleName(TsuiUIStyle style) {
  const int s = static_cast<int>(style);
  return (s >= 0 && s <= 5) ? kNames[s] : "";
}

std::optional<TsuiUIStyle> UIStyleFromName(const std::string& name) {
  for (int s = 0; s <= 5; ++s) {
    if (name == kNames[s]) return static_cast<TsuiUIStyle>(s);
  }
  return std::nullopt;
}

const char* UIStyleResourcePrefix(TsuiUIStyle style) {
  return IsBuiltinStyle(style) ? kPrefixes[static_cast<int>(style) - 1] : "";
}

std::optional<ThemeEntryKind> BuiltinThemeEntryKind(int number) {
  if (number < 1 || number > kBuiltinThemeEntryCount) return std::nullopt;
  return kTable[number - 1].kind;
}

BuiltinThemeValue BuiltinThemeEntry(TsuiUIStyle style, int number) {
  BuiltinThemeValue out;  // kind 0, value -1
  if (!IsBuiltinStyle(style) || number < 1 || number > kBuiltinThemeEntryCount) return out;
  const TableRow& row = kTable[number - 1];
  const int s = static_cast<int>(style) - 1;
  out.kind = row.kind;
  out.value = row.values[s];
  if (row.kind == K::Bitmap) {
    const char* element = row.elements[s];
    if (element[0] == '=') {
      out.bitmap = element + 1;
    } else if (element[0] != '\0') {
      out.bitmap = std::string(kPrefixes[s]) + "_" + element;
    }
  }
  return out;
}

Colour BuiltinThemeColor(TsuiUIStyle style, int number) {
  const BuiltinThemeValue e = BuiltinThemeEntry(style, number);
  return e.kind == K::Colour ? e.value : 0;
}

bool BuiltinThemeBool(TsuiUIStyle style, int number) {
  const BuiltinThemeValue e = BuiltinThemeEntry(style, number);
  return e.kind == K::Boolean ? e.value != 0 : false;
}

std::int32_t BuiltinThemeInt(TsuiUIStyle style, int number) {
  const BuiltinThemeValue e = BuiltinThemeEntry(style, number);
  return e.kind == K::Integer ? e.value : -1;
}

std::string BuiltinThemeBitmapName(TsuiUIStyle style, int number) {
  BuiltinThemeValue e = BuiltinThemeEntry(style, number);
  return e.kind == K::Bitmap ? e.bitmap : std::string();
}

const std::vector<BuiltinBitmapResource>& BuiltinBitmapResources() {
  static const std::vector<BuiltinBitmapResource> list = MakeResourceList();
  return list;
}

std::optional<Size> BuiltinBitmapSize(const std::string& resourceName) {
  if (resourceName.empty()) return std::nullopt;
  for (const auto& r : BuiltinBitmapResources()) {
    if (resourceName == r.name) return r.size;
  }
  return std::nullopt;
}

ResolvedUIStyle ResolveUIStyle(bool hasReadyFileTheme, TsuiUIStyle style) {
  if (style != TsuiUIStyle::FromThemeFile) return ResolvedUIStyle{false, style};
  if (hasReadyFileTheme) return ResolvedUIStyle{true, TsuiUIStyle::FromThemeFile};
  return ResolvedUIStyle{false, TsuiUIStyle::DeepBlue};
}

TsuiUIStyle OwnerFormUIStyle(bool ownerIsForm, const std::vector<OwnerChild>& children) {
  if (!ownerIsForm) return TsuiUIStyle::DeepBlue;
  for (const OwnerChild& child : children) {
    if (child.isTsuiForm) return child.uiStyle;
  }
  return TsuiUIStyle::DeepBlue;
}

std::optional<BuiltinBitmapLoad> BuiltinThemeBitmapLoad(TsuiUIStyle style, int number, int frameIndex,
                                                        int frameCount) {
  const std::string name = BuiltinThemeBitmapName(style, number);
  const std::optional<Size> size = BuiltinBitmapSize(name);
  if (!size) return std::nullopt;
  BuiltinBitmapLoad load;
  load.resource = name;
  load.resourceSize = *size;
  load.source = frameCount == 0 ? Rect{0, 0, size->width, size->height} : CutSkinFrame(*size, frameCount, frameIndex);
  return load;
}

bool IsBlankText(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > ' ') return false;
  }
  return true;
}

}  // namespace vh
