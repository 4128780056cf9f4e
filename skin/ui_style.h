// Skin styles: the style enumeration, the built-in style table of
// 48 entries per style, the sizes of the built-in skin bitmaps, the rule that
// resolves a control's style to a table row or to a theme file, the initial
// style of a control placed on a form, and the cutting of a bitmap strip into
// frames as rectangle arithmetic.
//
// Portable: the Win32 side loads the named resources and does the copying;
// everything here is values and rectangles.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/color.h"
#include "ui/geometry.h"

namespace vh {

// One byte in the form layouts, written there by name.
enum class TsuiUIStyle : std::uint8_t {
  FromThemeFile = 0,
  MacOS = 1,
  WinXP = 2,
  DeepBlue = 3,
  Protein = 4,
  BlueGlass = 5,
};

// "FromThemeFile", "MacOS", ...; "" for a value outside the enumeration.
const char* UIStyleName(TsuiUIStyle style);
// The style written under that name in a layout (exact case), or none.
std::optional<TsuiUIStyle> UIStyleFromName(const std::string& name);
// "MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"; "" for FromThemeFile.
const char* UIStyleResourcePrefix(TsuiUIStyle style);

// The kind of an entry of the built-in table; the numbers are the table's.
enum class ThemeEntryKind : std::uint8_t { Integer = 0, Colour = 1, Bitmap = 2, Boolean = 3 };

constexpr int kBuiltinThemeEntryCount = 48;

// Built-in entries read by the controls of this subsystem.
constexpr int kEntryButton = 1;             // bitmap, 3 frames
constexpr int kEntryButtonTransparent = 2;  // boolean
constexpr int kEntryCheckBox = 3;           // bitmap, 4 frames
constexpr int kEntryProgressBar = 24;       // bitmap, the fill image
constexpr int kEntryBorderColour = 25;      // progress bar border, group box frame
constexpr int kEntryProgressBackground = 26;
constexpr int kEntryGroupCaptionColour = 27;

// Frame counts of the strips.
constexpr int kButtonFrames = 3;
constexpr int kCheckBoxFrames = 4;
constexpr int kThemeCheckBoxFrames = 6;

// The size an empty button skin counts as.
constexpr Size kEmptyButtonSkinSize{74, 21};

// One entry of the built-in table for one style. `value` is the integer,
// colour or boolean (0 or 1); `bitmap` is the full resource name of a bitmap
// entry ("WINXP_BUTTON", "MORE_SCROLLBUTTON") and "" for an empty name or an
// entry of another kind.
struct BuiltinThemeValue {
  ThemeEntryKind kind = ThemeEntryKind::Integer;
  std::int32_t value = -1;
  std::string bitmap;
};

// The entry's kind and the style's value. A style outside 1 to 5 (that is
// FromThemeFile), or an entry number outside 1 to 48, gives kind 0 (integer)
// and value -1.
BuiltinThemeValue BuiltinThemeEntry(TsuiUIStyle style, int number);
// The kind of an entry number, the same for every style; nullopt outside 1..48.
std::optional<ThemeEntryKind> BuiltinThemeEntryKind(int number);
// Wrong-kind answers: colour 0 (black), boolean false, integer -1, bitmap "".
Colour BuiltinThemeColor(TsuiUIStyle style, int number);
bool BuiltinThemeBool(TsuiUIStyle style, int number);
std::int32_t BuiltinThemeInt(TsuiUIStyle style, int number);
std::string BuiltinThemeBitmapName(TsuiUIStyle style, int number);

// Width x height of a built-in bitmap resource by its full name (exact case),
// nullopt for a name that the resource set does not hold (and for "").
std::optional<Size> BuiltinBitmapSize(const std::string& resourceName);
// Every bitmap resource name with its size, in a fixed order (for the
// artwork generator and its tests).
struct BuiltinBitmapResource {
  const char* name;
  Size size;
};
const std::vector<BuiltinBitmapResource>& BuiltinBitmapResources();

// ResolveUIStyle: either the theme file or an effective built-in style 1..5.
struct ResolvedUIStyle {
  bool useThemeFile = false;
  // The built-in style to use when !useThemeFile; FromThemeFile otherwise.
  TsuiUIStyle style = TsuiUIStyle::DeepBlue;
};
// `hasReadyFileTheme`: the control's FileTheme is set and its Ready is true.
// A style other than FromThemeFile is used unchanged; FromThemeFile uses the
// theme file when it is ready and DeepBlue otherwise.
ResolvedUIStyle ResolveUIStyle(bool hasReadyFileTheme, TsuiUIStyle style);

// What OwnerFormUIStyle needs to know of the owner: whether it is a form and,
// for each of its child controls in order, whether it is a TsuiForm and its
// UIStyle.
struct OwnerChild {
  bool isTsuiForm = false;
  TsuiUIStyle uiStyle = TsuiUIStyle::DeepBlue;
};
// The UIStyle of the first TsuiForm among the owner form's children; DeepBlue
// when the owner is not a form or holds none.
TsuiUIStyle OwnerFormUIStyle(bool ownerIsForm, const std::vector<OwnerChild>& children);

// LoadBuiltinThemeBitmap as a plan: the resource to load and the part of it
// that goes into the target. Frame count 0 takes the whole bitmap; otherwise
// frame `frameIndex` of `frameCount` (CutSkinFrame on the resource's size).
// nullopt when the entry is not a bitmap entry, its name is empty or the
// resource set does not hold it (nothing is loaded).
struct BuiltinBitmapLoad {
  std::string resource;
  Size resourceSize;
  Rect source;
};
std::optional<BuiltinBitmapLoad> BuiltinThemeBitmapLoad(TsuiUIStyle style, int number, int frameIndex,
                                                        int frameCount);

// True when the text, trimmed of leading and trailing spaces and control
// characters (every character up to ' '), is empty: the controls' rule for
// "no caption" and "no address".
bool IsBlankText(const std::string& text);

}  // namespace vh
