#include "skin/file_theme_win.h"

#include <algorithm>
#include <cstring>

#include "skin/skin_paint_win.h"
#include "theme/bitmap_file.h"
#include "ui/form_win.h"

namespace vh {

// ---- ThemeLink -----------------------------------------------------------

ThemeLink::~ThemeLink() { Set(nullptr); }

void ThemeLink::Set(TsuiFileTheme* theme) {
  if (theme == theme_) return;
  if (theme_) {
    auto& links = theme_->links_;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  theme_ = theme;
  if (theme_) theme_->links_.push_back(this);
}

bool ThemeLink::Ready() const { return theme_ != nullptr && theme_->Ready(); }

void ThemeLink::ThemeDestroyed() {
  theme_ = nullptr;
  if (destroyed_) destroyed_();
}

// ---- styles --------------------------------------------------------------

void ApplyStyleToChildren(TWinControl& container, TsuiUIStyle style, TsuiFileTheme* theme) {
  const std::vector<TControl*> children = container.Controls();
  for (TControl* child : children) {
    auto* styled = dynamic_cast<SkinStyled*>(child);
    if (!styled) continue;
    styled->SetFileTheme(theme);
    styled->SetUIStyle(style);
  }
}

TsuiUIStyle OwnerFormUIStyle(const TComponent* owner) {
  const auto* form = dynamic_cast<const TForm*>(owner);
  std::vector<OwnerChild> children;
  if (form) {
    for (const TControl* c : form->Controls()) {
      const auto* styled = dynamic_cast<const SkinStyled*>(c);
      const bool isTsuiForm = styled && styled->IsSkinForm();
      children.push_back(OwnerChild{isTsuiForm, isTsuiForm ? styled->UIStyle() : TsuiUIStyle::DeepBlue});
    }
  }
  return vh::OwnerFormUIStyle(form != nullptr, children);
}

// ---- bitmaps -------------------------------------------------------------

Bitmap DecodeBitmapFile(const std::vector<std::uint8_t>& file) {
  const std::optional<BitmapFileInfo> info = ParseBitmapFile(file);
  if (!info) return Bitmap();
  // Run-length data end where the header's image size says: that size must
  // lie inside the bytes, or the decoder could read past them.
  if (info->compression == BI_RLE8 || info->compression == BI_RLE4) {
    std::uint32_t sizeImage = 0;
    std::memcpy(&sizeImage, file.data() + 14 + 20, sizeof(sizeImage));
    if (sizeImage == 0 || info->pixelOffset + std::uint64_t(sizeImage) > file.size()) return Bitmap();
  }
  const std::uint8_t* header = file.data() + 14;  // after the "BM" file header
  const std::uint8_t* bits = file.data() + info->pixelOffset;
  const ClientDC screen(nullptr);
  HBITMAP h = CreateDIBitmap(screen.dc(), reinterpret_cast<const BITMAPINFOHEADER*>(header), CBM_INIT, bits,
                             reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
  return Bitmap::Adopt(h);
}

// ---- TsuiFileTheme -------------------------------------------------------

namespace {

std::string Folder(UINT (*get)(char*, UINT)) {
  char buffer[MAX_PATH + 1] = {};
  const UINT n = get(buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

UINT WindowsFolder(char* b, UINT n) { return GetWindowsDirectoryA(b, n); }
UINT SystemFolder(char* b, UINT n) { return GetSystemDirectoryA(b, n); }
UINT ExeFolder(char* b, UINT n) {
  const DWORD len = GetModuleFileNameA(nullptr, b, n);
  if (len == 0 || len >= n) return 0;
  std::string path(b, len);
  const std::size_t cut = path.find_last_of('\\');
  return cut == std::string::npos ? 0 : UINT(cut);
}

class Win32ThemeLocator : public ThemeFileLocator {
 public:
  bool Exists(const std::string& path) override {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }
  std::string ExecutableFolder() override { return Folder(ExeFolder); }
  std::string WindowsFolder() override { return Folder(vh::WindowsFolder); }
  std::string SystemFolder() override { return Folder(vh::SystemFolder); }
};

// The reader's temporary file goes to the system's temporary folder, never
// to the current folder, which may be the program's own under Program Files.
class Win32TempFiles : public TempFileService {
 public:
  // The ANSI form, as the reader opens its files with the C runtime.
  std::string TempFolder() override {
    char buffer[MAX_PATH + 1] = {};
    DWORD n = GetTempPathA(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH) return Folder(vh::WindowsFolder) + "\\Temp\\";
    std::string folder(buffer, n);
    return folder.back() == '\\' ? folder : folder + "\\";
  }
  std::string NewGuidText() override { return DefaultTempFileService().NewGuidText(); }
};

}  // namespace

TsuiFileTheme::TsuiFileTheme(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)),
      locator_(std::make_unique<Win32ThemeLocator>()),
      temp_(std::make_unique<Win32TempFiles>()),
      data_(*locator_, temp_.get()) {}

TsuiFileTheme::~TsuiFileTheme() {
  // Each control switches to DeepBlue; a control may drop other links while
  // it does, so the list is taken first.
  const std::vector<ThemeLink*> links = std::move(links_);
  links_.clear();
  for (ThemeLink* link : links) link->ThemeDestroyed();
}

void TsuiFileTheme::SetThemeFile(const std::string& path) { Loaded(data_.SetThemeFile(path)); }

void TsuiFileTheme::SetPassword(const std::string& password) { Loaded(data_.SetPassword(password)); }

void TsuiFileTheme::Loaded(bool found) {
  if (!found) return;
  bitmaps_.clear();
  if (Ready()) RefreshOwnerControls();
}

// Each of the owner form's skinned controls that uses this theme sets it
// again, so that it reloads its style from the new file.
void TsuiFileTheme::RefreshOwnerControls() {
  auto* form = dynamic_cast<TForm*>(Owner());
  if (!form) return;
  const std::vector<TComponent*> components = form->Components();
  for (TComponent* c : components) {
    auto* styled = dynamic_cast<SkinStyled*>(c);
    if (!styled || styled->FileTheme() != this) continue;
    styled->SetFileTheme(nullptr);
    styled->SetFileTheme(this);
  }
}

const Bitmap& TsuiFileTheme::GetThemeBitmap(int key) const {
  static const Bitmap kNone;
  auto found = bitmaps_.find(key);
  if (found != bitmaps_.end()) return found->second;
  const ThemeBitmap* stored = data_.GetThemeBitmap(key);
  if (!stored) return kNone;
  return bitmaps_.emplace(key, DecodeBitmapFile(stored->file)).first->second;
}

void TsuiFileTheme::GetThemeBitmap(int key, Bitmap& target, int frameIndex, int frameCount) const {
  const Bitmap& whole = GetThemeBitmap(key);
  if (frameIndex != 0 && frameCount != 0) {
    CutSkinFrame(whole, target, frameCount, frameIndex);
  } else {
    target = whole.Clone();
  }
}

}  // namespace vh
