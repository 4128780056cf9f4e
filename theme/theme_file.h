// Theme files, the reading side:
//   Tsk2SkinFileReader  reads one theme file through a temporary file and
//                       answers Bitmap/Integer/Boolean/Text by name;
//   TsuiFileThemeMgr    owns at most one reader and turns the controls' key
//                       numbers into names;
//   TsuiFileThemeData   the portable data side of the TsuiFileTheme
//                       component: ThemeFile with its search rule, Password,
//                       Ready and the queries. The Win32 component wraps it
//                       and does the form-wide refresh and GDI bitmaps.
// Temporary files and the search folders come through small interfaces so
// that the same code runs natively and on Windows.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "theme/theme_archive.h"
#include "theme/theme_data.h"
#include "theme/theme_keys.h"
#include "ui/color.h"
#include "ui/geometry.h"

namespace vh {

// The message of the reader's error.
constexpr const char* kSkinReadError = "Failed to read skin file!";

// Where a load's temporary file goes.
class TempFileService {
 public:
  virtual ~TempFileService() = default;
  // The temporary folder with a trailing separator.
  virtual std::string TempFolder() = 0;
  // A newly generated GUID in its braced text form,
  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
  virtual std::string NewGuidText() = 0;
};

// The temporary folder named by the environment (TMP, TEMP, TMPDIR, else
// /tmp) and a random version-4 GUID; used when no service is given.
class DefaultTempFiles : public TempFileService {
 public:
  std::string TempFolder() override;
  std::string NewGuidText() override;
};
DefaultTempFiles& DefaultTempFileService();

// The braced, upper-case text form of 16 GUID bytes in the platform's order
// (Data1..Data3 little-endian).
std::string FormatGuid(const std::uint8_t bytes[16]);

class Tsk2SkinFileReader {
 public:
  // Reads the theme file. Not ready (cannot decrypt,
  // size mismatch): Success() is false. Unreadable archive, missing member,
  // read error, bad data member: throws AppError(kSkinReadError). The
  // temporary file is gone when the constructor returns or throws.
  Tsk2SkinFileReader(const std::string& path, const std::string& password);
  Tsk2SkinFileReader(const std::string& path, const std::string& password, TempFileService& temp);

  bool Success() const { return success_; }
  const ThemeBitmap* Bitmap(const std::string& name) const { return lists_.Bitmap(name); }
  std::int32_t Integer(const std::string& name) const { return lists_.Integer(name); }
  bool Boolean(const std::string& name) const { return lists_.Boolean(name); }
  std::optional<std::string> Text(const std::string& name) const { return lists_.Text(name); }
  const SkinDataLists& Lists() const { return lists_; }

 private:
  void Read(const std::string& path, const std::string& password, TempFileService& temp);
  bool success_ = false;
  SkinDataLists lists_;
};

class TsuiFileThemeMgr {
 public:
  // `temp` (not owned, may be null for the default) is used by every load.
  explicit TsuiFileThemeMgr(TempFileService* temp = nullptr) : temp_(temp) {}

  // Discards the previous reader; false at once when the file does not
  // exist; otherwise constructs a reader and keeps it only when it reports
  // success. An error while reading is failure (not shown).
  bool Load(const std::string& path, const std::string& password);
  const Tsk2SkinFileReader* Reader() const { return reader_.get(); }

  // Colour key k: Integer(name k); bitmap key k: Bitmap(name 32 + k);
  // integer key k: Integer(name 66 + k); boolean key k: Boolean(name 75 + k).
  // Without a reader, or for a key outside its group: 0, none, 0, false.
  Colour GetColor(int key) const;
  const ThemeBitmap* GetBitmap(int key) const;
  std::int32_t GetInt(int key) const;
  bool GetBool(int key) const;

 private:
  TempFileService* temp_;
  std::unique_ptr<Tsk2SkinFileReader> reader_;
};

// The folders a theme file's name is looked for in when its path does not
// exist, and the existence check.
class ThemeFileLocator {
 public:
  virtual ~ThemeFileLocator() = default;
  virtual bool Exists(const std::string& path) = 0;  // a file, not a folder
  virtual std::string ExecutableFolder() = 0;
  virtual std::string WindowsFolder() = 0;
  virtual std::string SystemFolder() = 0;
};

// The path if it exists; otherwise its file name in the executable's folder,
// the Windows folder and the system folder, in that order (each folder with a
// trailing backslash added when missing); nullopt when none exists.
std::optional<std::string> FindThemeFile(const std::string& path, ThemeFileLocator& locator);

// A frame of a theme bitmap: the bitmap and the source rectangle to copy.
struct ThemeBitmapFrame {
  const ThemeBitmap* bitmap = nullptr;
  Rect source;
};

class TsuiFileThemeData {
 public:
  explicit TsuiFileThemeData(ThemeFileLocator& locator, TempFileService* temp = nullptr)
      : locator_(locator), manager_(temp) {}

  const std::string& ThemeFile() const { return themeFile_; }
  const std::string& Password() const { return password_; }
  bool Ready() const { return ready_; }
  // Setting Ready from outside has no effect.
  void SetReady(bool) {}

  // Setting ThemeFile: when the file is found, stores the found path, loads
  // it with the Password and sets Ready to the result, and returns true (the
  // component then refreshes its form's controls when Ready). When it is
  // not found nothing changes and the result is false.
  bool SetThemeFile(const std::string& path);
  // Stores the password and, when it is not empty, loads ThemeFile again.
  // Returns what SetThemeFile returned, or false when nothing was loaded.
  bool SetPassword(const std::string& password);

  Colour GetThemeColor(int key) const { return manager_.GetColor(key); }
  const ThemeBitmap* GetThemeBitmap(int key) const { return manager_.GetBitmap(key); }
  std::int32_t GetThemeInt(int key) const { return manager_.GetInt(key); }
  bool GetThemeBool(int key) const { return manager_.GetBool(key); }
  // The frame-cut form: frame `frameIndex` of `frameCount` (CutSkinFrame)
  // when both are non-zero, otherwise the whole bitmap.
  ThemeBitmapFrame GetThemeBitmapFrame(int key, int frameIndex, int frameCount) const;

  const TsuiFileThemeMgr& Manager() const { return manager_; }

 private:
  ThemeFileLocator& locator_;
  TsuiFileThemeMgr manager_;
  std::string themeFile_;
  std::string password_;
  bool ready_ = false;
};

}  // namespace vh
