// Theme files on the Win32 side, and how a style reaches a control:
//   TsuiFileTheme   the component a form places: ThemeFile, Password,
//                   Ready and the queries by key number, its bitmaps as GDI
//                   bitmaps; refreshes the form's controls after a load and
//                   tells them when it goes away.
//   ThemeLink       a control's reference to a TsuiFileTheme, cleared (and
//                   the control told) when the theme is destroyed.
//   SkinStyled      what a control with a style publishes: UIStyle and
//                   FileTheme. ApplyStyleToChildren and the theme's refresh
//                   reach controls through it.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin/ui_style.h"
#include "theme/theme_file.h"
#include "ui/component_win.h"
#include "ui/gdi_win.h"

namespace vh {

class TsuiFileTheme;

class ThemeLink {
 public:
  // `destroyed` runs when the linked theme is destroyed, after the link was
  // cleared.
  explicit ThemeLink(std::function<void()> destroyed) : destroyed_(std::move(destroyed)) {}
  ~ThemeLink();
  ThemeLink(const ThemeLink&) = delete;
  ThemeLink& operator=(const ThemeLink&) = delete;

  TsuiFileTheme* get() const { return theme_; }
  void Set(TsuiFileTheme* theme);
  // The theme is set and has read a theme file.
  bool Ready() const;

 private:
  friend class TsuiFileTheme;
  void ThemeDestroyed();
  TsuiFileTheme* theme_ = nullptr;
  std::function<void()> destroyed_;
};

class SkinStyled {
 public:
  virtual TsuiUIStyle UIStyle() const = 0;
  // Stores the style and runs the control's UIStyleChanged, then repaints.
  virtual void SetUIStyle(TsuiUIStyle style) = 0;
  virtual TsuiFileTheme* FileTheme() const = 0;
  // Stores the reference and sets UIStyle again to its current value.
  virtual void SetFileTheme(TsuiFileTheme* theme) = 0;
  // A skinned form frame (TsuiForm): its style is the one the owner form's
  // other skinned controls start with.
  virtual bool IsSkinForm() const { return false; }

 protected:
  ~SkinStyled() = default;
};

// Gives every direct child control of `container` that has both a file theme
// and a style first the theme, then the style, so the style can read it.
void ApplyStyleToChildren(TWinControl& container, TsuiUIStyle style, TsuiFileTheme* theme);

// The initial style of a control owned by `owner`: the UIStyle of the first
// child control of the owner form that is a skin form (IsSkinForm); DeepBlue when the
// owner is not a form or holds none.
TsuiUIStyle OwnerFormUIStyle(const TComponent* owner);

class TsuiFileTheme : public TComponent {
 public:
  TsuiFileTheme(TComponent* owner, std::string name);
  ~TsuiFileTheme() override;
  const char* ClassName() const override { return "TsuiFileTheme"; }

  const std::string& ThemeFile() const { return data_.ThemeFile(); }
  // Finds and loads the file (the path, else its name in the executable's,
  // the Windows and the system folder); nothing changes when it is not
  // found. After a successful load the form's controls using this theme
  // reload their style.
  void SetThemeFile(const std::string& path);
  const std::string& Password() const { return data_.Password(); }
  void SetPassword(const std::string& password);
  bool Ready() const { return data_.Ready(); }
  void SetReady(bool) {}

  // 0, an empty bitmap, 0 and false while no file is loaded.
  Colour GetThemeColor(int key) const { return data_.GetThemeColor(key); }
  const Bitmap& GetThemeBitmap(int key) const;
  // Frame `frameIndex` of `frameCount` into `target` when both are non-zero,
  // else the whole bitmap; an absent bitmap leaves the target empty.
  void GetThemeBitmap(int key, Bitmap& target, int frameIndex, int frameCount) const;
  std::int32_t GetThemeInt(int key) const { return data_.GetThemeInt(key); }
  bool GetThemeBool(int key) const { return data_.GetThemeBool(key); }

 private:
  friend class ThemeLink;
  void Loaded(bool found);
  void RefreshOwnerControls();

  std::unique_ptr<ThemeFileLocator> locator_;
  std::unique_ptr<TempFileService> temp_;
  TsuiFileThemeData data_;
  // Decoded on first use, dropped at each load.
  mutable std::map<int, Bitmap> bitmaps_;
  std::vector<ThemeLink*> links_;
};

// A GDI bitmap from the bytes of a Windows bitmap file; empty when the bytes
// are not one.
Bitmap DecodeBitmapFile(const std::vector<std::uint8_t>& file);

}  // namespace vh
