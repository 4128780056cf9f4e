// The skin gallery: one page per built-in style with every skinned control
// in every state (buttons normal, hot, pressed, disabled, focused, with
// glyphs and transparent over a picture; image buttons; progress bars from
// empty to over-full; check boxes in their four frames and focused; group
// boxes; image panels; link labels). Not shipped.
//
//   skin_gallery_win_tool.exe OUTDIR   renders each page to OUTDIR\skin-<style>.bmp and ends
//   skin_gallery_win_tool.exe          shows the pages until they are closed
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/button_win.h"
#include "skin/check_box_win.h"
#include "skin/group_box_win.h"
#include "skin/image_button_win.h"
#include "skin/panel_win.h"
#include "skin/progress_bar_win.h"
#include "skin/url_label_win.h"
#include "theme/bitmap_file.h"
#include "tests/support/theme_file_writer.h"
#include "ui/controls_win.h"
#include "ui/form_win.h"
#include "ui/picture_win.h"

namespace vh {
namespace {

constexpr int kPageWidth = 780;
constexpr int kPageHeight = 560;

// A 32 x 16 glyph of two images (enabled, disabled): a green tick on
// white; white is transparent.
Bitmap MakeTickGlyph() {
  std::vector<std::uint32_t> px(32 * 16, 0xFFFFFF);
  for (int image = 0; image < 2; ++image) {
    const std::uint32_t ink = image == 0 ? 0x00A000 : 0x909090;
    for (int i = 0; i < 12; ++i) {
      const int x = 2 + i, y = i < 4 ? 8 + i : 15 - (i - 3);
      for (int t = 0; t < 2; ++t)
        if (y - t >= 0) px[std::size_t((y - t) * 32 + image * 16 + x)] = ink;
    }
  }
  return Bitmap::FromPixels(32, 16, px);
}

// A one-image glyph: a red cross on white.
Bitmap MakeCrossGlyph() {
  std::vector<std::uint32_t> px(16 * 16, 0xFFFFFF);
  for (int i = 3; i < 13; ++i)
    for (int t = 0; t < 2; ++t) {
      px[std::size_t(i * 16 + i + t)] = 0x2020D0;
      px[std::size_t(i * 16 + 15 - i - t)] = 0x2020D0;
    }
  return Bitmap::FromPixels(16, 16, px);
}

// A checkered picture for the panels and the transparent buttons.
Bitmap MakeChecker(int size, Colour a, Colour b) {
  Bitmap out(size, size, a);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (((x / 8) + (y / 8)) % 2) out.SetPixel(x, y, b);
  return out;
}

class TfrmSkinPage : public TForm {
 public:
  explicit TfrmSkinPage(TsuiUIStyle style) : TForm(nullptr, Frame(style)), style_(style) { Build(); }

  TsuiButton* focusButton = nullptr;
  TsuiCheckBox* focusBox = nullptr;
  TsuiButton* downButton = nullptr;
  TsuiImageButton* downImage = nullptr;

  // Puts the pressed and hot states in place once the page is shown.
  void Arrange() {
    for (TControl* c : hot_) c->MouseEnter();
    for (TWinControl* w : std::initializer_list<TWinControl*>{downButton, downImage}) {
      SendMessageA(w->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
      ReleaseCapture();
    }
    focusButton->SetFocus();
  }

 private:
  static FormDef Frame(TsuiUIStyle style) {
    FormDef s;
    s.name = std::string("frm") + UIStyleName(style);
    s.caption = std::string("Varnhold skin gallery: ") + UIStyleName(style);
    s.clientWidth = kPageWidth;
    s.clientHeight = kPageHeight;
    s.position = TPosition::poDesigned;
    s.left = 10;
    s.top = 10;
    return s;
  }

  TLabel& Label(TWinControl& parent, int x, int y, const std::string& text, bool bold = false) {
    auto& l = Make<TLabel>(this, &parent, "l" + std::to_string(count_++));
    l.SetTransparent(true);
    if (bold) {
      FontDef f = l.Font();
      f.bold = true;
      l.SetFont(f);
    }
    l.SetBounds(x, y, 0, 0);
    l.SetCaption(text);
    return l;
  }

  TsuiButton& Button(TWinControl& parent, const Rect& r, const std::string& caption) {
    auto& b = Make<TsuiButton>(this, &parent, "b" + std::to_string(count_++));
    b.SetUIStyle(style_);
    b.SetBounds(r.left, r.top, r.Width(), r.Height());
    b.SetCaption(caption);
    return b;
  }

  void Build() {
    const char* states[] = {"normal", "hot", "pressed", "disabled", "focused", "default"};
    Label(*this, 10, 8, std::string("Style ") + UIStyleName(style_), true);
    Label(*this, 10, 28, "TsuiButton 80 x 27:");
    for (int i = 0; i < 6; ++i) {
      Label(*this, 130 + i * 92, 28, states[i]);
      auto& b = Button(*this, MakeRect(130 + i * 92, 44, 80, 27), i == 5 ? "&OK" : "&Cancel");
      if (i == 1) hot_.push_back(&b);
      if (i == 2) downButton = &b;
      if (i == 3) b.SetEnabled(false);
      if (i == 4) focusButton = &b;
      if (i == 5) b.SetDefault(true);
    }
    Label(*this, 10, 82, "Glyph layouts, sizes:");
    const TButtonLayout layouts[] = {TButtonLayout::blGlyphLeft, TButtonLayout::blGlyphRight,
                                     TButtonLayout::blGlyphTop, TButtonLayout::blGlyphBottom};
    const char* names[] = {"Left", "Right", "Top", "Bottom"};
    const Bitmap tick = MakeTickGlyph();
    for (int i = 0; i < 4; ++i) {
      auto& b = Button(*this, MakeRect(130 + i * 92, 80, 86, i < 2 ? 30 : 48), names[i]);
      b.SetGlyph(tick);
      b.SetLayout(layouts[i]);
    }
    auto& off = Button(*this, MakeRect(498, 80, 86, 30), "Off");
    off.SetGlyph(tick);
    off.SetEnabled(false);
    auto& cross = Button(*this, MakeRect(498, 114, 86, 30), "Stop");
    cross.SetGlyph(MakeCrossGlyph());
    cross.SetEnabled(false);
    Button(*this, MakeRect(600, 80, 160, 64), "Tall &and wide\nin two lines");

    Label(*this, 10, 140, "Over a picture (Transparent):");
    auto& backdrop = Make<TsuiImagePanel>(this, this, "pBackdrop");
    backdrop.SetBounds(10, 158, 300, 44);
    backdrop.SetPicture(MakeChecker(16, MakeColour(60, 120, 190), MakeColour(230, 200, 90)));
    backdrop.SetDrawStyle(TsuiDrawStyle::suiTile);
    for (int i = 0; i < 2; ++i) {
      auto& b = Button(backdrop, MakeRect(10 + i * 140, 8, 120, 27), i == 0 ? "&Yes" : "&No");
      b.SetTransparent(true);
    }

    Label(*this, 330, 150, "TsuiImageButton: normal, hot, pressed, disabled");
    const char* pics[] = {"MINIMIZE_NORMAL", "MINIMIZE_HOVER", "MINIMIZE_DOWN"};
    for (int i = 0; i < 4; ++i) {
      auto& img = Make<TsuiImageButton>(this, this, "ib" + std::to_string(i));
      img.SetBounds(340 + i * 40, 170, 24, 24);
      img.SetAutoSize(true);
      img.SetPicNormal(LoadBitmapResource(pics[0]));
      img.SetPicMouseOn(LoadBitmapResource(pics[1]));
      img.SetPicMouseDown(LoadBitmapResource(pics[2]));
      if (i == 1) hot_.push_back(&img);
      if (i == 2) downImage = &img;
      if (i == 3) img.SetEnabled(false);
    }

    Label(*this, 10, 214, "TsuiProgressBar 345 x 18, Max 1000:");
    const int positions[] = {0, 50, 500, 999, 1000, 1200};
    for (int i = 0; i < 6; ++i) {
      auto& bar = Make<TsuiProgressBar>(this, this, "pb" + std::to_string(i));
      bar.SetUIStyle(style_);
      bar.SetBounds(10 + (i % 2) * 360, 232 + (i / 2) * 24, 345, 18);
      bar.SetMax(1000);
      bar.SetPosition(positions[i]);
    }
    auto& smart = Make<TsuiProgressBar>(this, this, "pbSmart");
    smart.SetUIStyle(style_);
    smart.SetBounds(10, 306, 150, 12);
    smart.SetPosition(0);
    smart.SetSmartShowCaption(true);
    auto& plain = Make<TsuiProgressBar>(this, this, "pbPlain");
    plain.SetUIStyle(style_);
    plain.SetBounds(170, 306, 150, 12);
    plain.SetShowCaption(false);
    plain.SetPosition(30);
    auto& vertical = Make<TsuiProgressBar>(this, this, "pbVertical");
    vertical.SetUIStyle(style_);
    vertical.SetOrientation(TsuiProgressBarOrientation::suiVertical);
    vertical.SetBounds(740, 214, 18, 100);
    vertical.SetPosition(65);
    Label(*this, 330, 304, "smart caption at Min; no caption; vertical at right");

    Label(*this, 10, 330, "TsuiCheckBox: checked, unchecked, disabled checked, disabled unchecked, focused");
    const char* boxes[] = {"&Checked", "&Unchecked", "Disabled on", "Disabled off", "&Focused"};
    for (int i = 0; i < 5; ++i) {
      auto& box = Make<TsuiCheckBox>(this, this, "cb" + std::to_string(i));
      box.SetUIStyle(style_);
      box.SetBounds(10 + i * 150, 348, 93, 17);
      box.SetCaption(boxes[i]);
      box.SetChecked(i == 0 || i == 2 || i == 4);
      if (i == 2 || i == 3) box.SetEnabled(false);
      if (i == 4) focusBox = &box;
    }

    auto& group = Make<TsuiGroupBox>(this, this, "gbRestore");
    group.SetBounds(10, 378, 300, 96);
    group.SetCaption("Restore point");
    group.SetUIStyle(style_);
    auto& inner = Make<TsuiCheckBox>(this, &group, "cbInner");
    inner.SetBounds(12, 24, 93, 17);
    inner.SetCaption("Create a restore point first");
    inner.SetChecked(true);
    auto& innerBar = Make<TsuiProgressBar>(this, &group, "pbInner");
    innerBar.SetBounds(12, 50, 180, 12);
    innerBar.SetPosition(40);
    auto& innerButton = Make<TsuiButton>(this, &group, "bInner");
    innerButton.SetBounds(206, 58, 80, 27);
    innerButton.SetCaption("&Go");
    group.SetUIStyle(style_);  // reaches the children

    auto& empty = Make<TsuiGroupBox>(this, this, "gbEmpty");
    empty.SetUIStyle(style_);
    empty.SetBounds(320, 378, 140, 96);
    auto& disabled = Make<TsuiGroupBox>(this, this, "gbDisabled");
    disabled.SetUIStyle(style_);
    disabled.SetBounds(470, 378, 140, 96);
    disabled.SetCaption("Disabled");
    disabled.SetEnabled(false);
    Label(empty, 10, 40, "empty caption");

    Label(*this, 620, 380, "TsuiImagePanel lines:");
    for (int i = 0; i < 2; ++i) {
      auto& line = Make<TsuiImagePanel>(this, this, "line" + std::to_string(i));
      line.SetBounds(620, 402 + i * 8, 100, 1);
      line.SetColor(SystemColour(kIndexActiveCaption));
    }
    auto& stretched = Make<TsuiImagePanel>(this, this, "pStretch");
    stretched.SetBounds(620, 420, 140, 50);
    stretched.SetPicture(MakeChecker(16, MakeColour(200, 60, 60), MakeColour(250, 250, 250)));
    stretched.SetDrawStyle(TsuiDrawStyle::suiStretch);
    stretched.SetCaption("stretched");

    Label(*this, 10, 490, "TsuiURLLabel:");
    auto& link = Make<TsuiURLLabel>(this, this, "lLink");
    link.SetBounds(110, 490, 0, 0);
    link.SetCaption("www.tolvane.com");
    auto& hover = Make<TsuiURLLabel>(this, this, "lHover");
    hover.SetBounds(240, 490, 0, 0);
    hover.SetCaption("under the pointer");
    hot_.push_back(&hover);
  }

  TsuiUIStyle style_;
  std::vector<TControl*> hot_;
  int count_ = 0;
};

// Paints a windowed control and, below it, its windowed children into `dc`
// at the control's place (x, y) in page coordinates.
void Render(TWinControl& control, HDC dc, int x, int y) {
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, x, y, nullptr);
  IntersectClipRect(dc, 0, 0, control.Width(), control.Height());
  Canvas canvas(dc);
  control.PaintClient(canvas, control.ClientRect());
  RestoreDC(dc, saved);
  for (TControl* child : control.Controls()) {
    auto* w = dynamic_cast<TWinControl*>(child);
    if (w && w->Visible()) Render(*w, dc, x + w->Left(), y + w->Top());
  }
}

bool SavePage(TfrmSkinPage& page, const std::string& path) {
  Bitmap shot(kPageWidth, kPageHeight);
  {
    MemoryDC dc(shot.Handle());
    Render(page, dc.get(), 0, 0);
    // The focused check box, in a second pass: one focus per window.
    page.focusBox->SetFocus();
    Render(*page.focusBox, dc.get(), page.focusBox->Left(), page.focusBox->Top());
  }
  std::vector<std::uint32_t> px(std::size_t(kPageWidth) * kPageHeight);
  for (int y = 0; y < kPageHeight; ++y)
    for (int x = 0; x < kPageWidth; ++x) px[std::size_t(y * kPageWidth + x)] = std::uint32_t(shot.Pixel(x, y));
  return SaveBytes(path, MakeBitmapFile(kPageWidth, kPageHeight, px));
}

}  // namespace
}  // namespace vh

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmd, int) {
  using namespace vh;
  const std::string out = cmd ? cmd : "";
  const TsuiUIStyle styles[] = {TsuiUIStyle::MacOS, TsuiUIStyle::WinXP, TsuiUIStyle::DeepBlue, TsuiUIStyle::Protein,
                                TsuiUIStyle::BlueGlass};
  std::vector<std::unique_ptr<TfrmSkinPage>> pages;
  int failures = 0;
  for (TsuiUIStyle style : styles) {
    auto page = CreateForm<TfrmSkinPage>(style);
    page->Show();
    ProcessMessages();
    page->Arrange();
    ProcessMessages();
    if (!out.empty()) {
      const std::string path = out + "\\skin-" + UIStyleName(style) + ".bmp";
      if (!SavePage(*page, path)) ++failures;
      page->Hide();
    }
    pages.push_back(std::move(page));
  }
  if (!out.empty()) return failures;
  pages.front()->isMainForm = true;
  return RunMessageLoop();
}
