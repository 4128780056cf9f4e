// The control gallery: places the layer's controls and the flat controls in
// every state on one form, for screenshots (scripts/gallery.sh). Not shipped.
//
//   gallery_win_tool.exe controls   every control and state
//   gallery_win_tool.exe main       the main window's layout over its
//                                   background picture, with a few hives
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_layout_win.h"
#include "flat/flat_speed_button_win.h"
#include "flat/shift_image_win.h"
#include "ui/controls_win.h"
#include "ui/form_win.h"
#include "ui/layout_win.h"
#include "ui/picture_win.h"

namespace vh {
namespace {

const Colour kSilver = MakeColour(192, 192, 192);

// A 4-cell glyph strip of 16 x 16 cells: a dark arrow on white in the first
// cell, then the same in red, green and blue; white is transparent.
Bitmap MakeGlyphStrip() {
  const Colour ink[4] = {MakeColour(0, 0, 0), MakeColour(200, 0, 0), MakeColour(0, 140, 0), MakeColour(0, 0, 200)};
  std::vector<std::uint32_t> px(64 * 16, 0xFFFFFF);
  for (int cell = 0; cell < 4; ++cell)
    for (int y = 3; y < 13; ++y)
      for (int x = 4; x < 4 + (y < 8 ? y - 2 : 14 - y); ++x) px[std::size_t(y * 64 + cell * 16 + x)] = std::uint32_t(ink[cell]);
  return Bitmap::FromPixels(64, 16, px);
}

Bitmap MakeOneGlyph() {
  std::vector<std::uint32_t> px(16 * 16, 0xFFFFFF);
  for (int i = 2; i < 14; ++i) {
    px[std::size_t(i * 16 + i)] = 0;
    px[std::size_t(i * 16 + 15 - i)] = 0;
    px[std::size_t(i * 16 + i + 1)] = 0;
  }
  return Bitmap::FromPixels(16, 16, px);
}

TLabel& Heading(TForm& form, const std::string& name, int x, int y, const std::string& text) {
  auto& l = Make<TLabel>(&form, &form, name);
  l.SetBounds(x, y, 0, 0);
  l.SetTransparent(true);
  FontDef f = l.Font();
  f.bold = true;
  l.SetFont(f);
  l.SetCaption(text);
  return l;
}

TFlatSpeedButton& Flat(TForm& form, const std::string& name, int x, int y, const std::string& text,
                       TTransparentMode mode) {
  auto& b = Make<TFlatSpeedButton>(&form, &form, name);
  b.SetBounds(x, y, 94, 25);
  b.SetCaption(text);
  b.SetTransparentMode(mode);
  b.SetColorFocused(kSilver);
  b.SetColorBorder(MakeColour(160, 150, 131));
  return b;
}

class TfrmGallery : public TForm {
 public:
  TfrmGallery() : TForm(nullptr, Frame()) { Build(); }
  TFlatSpeedButton* pressMe = nullptr;

 private:
  static FormDef Frame() {
    FormDef s;
    s.name = "frmGallery";
    s.caption = "Varnhold control gallery";
    s.clientWidth = 760;
    s.clientHeight = 560;
    s.border = TBorderStyle::bsDialog;
    s.position = TPosition::poScreenCenter;
    return s;
  }

  void Build() {
    const char* modes[3] = {"tmAlways", "tmNotFocused", "tmNone"};
    const char* states[5] = {"rest", "hovered", "pressed", "latched", "disabled"};
    Heading(*this, "lFlat", 10, 8, "Flat speed buttons: rows by TransparentMode, columns by state");
    for (int s = 0; s < 5; ++s) Heading(*this, std::string("lState") + states[s], 120 + s * 104, 30, states[s]);
    for (int m = 0; m < 3; ++m) {
      Heading(*this, std::string("lMode") + modes[m], 10, 56 + m * 34, modes[m]);
      for (int s = 0; s < 5; ++s) {
        auto& b = Flat(*this, std::string("b") + modes[m] + states[s], 120 + s * 104, 50 + m * 34, "&Analyze",
                       static_cast<TTransparentMode>(m));
        b.SetColor(MakeColour(235, 234, 225));
        if (s == 3) {
          b.SetGroupIndex(m + 1);
          b.SetDown(true);
        }
        if (s == 4) b.SetEnabled(false);
        if (s == 1) b.HoverEnter();
        if (s == 2 && m == 1) pressMe = &b;
      }
    }
    Heading(*this, "lGlyph", 10, 160, "Glyphs: 4 cells, Layout left/right/top/bottom; 1 cell disabled");
    const TButtonLayout layouts[4] = {TButtonLayout::blGlyphLeft, TButtonLayout::blGlyphRight,
                                      TButtonLayout::blGlyphTop, TButtonLayout::blGlyphBottom};
    Bitmap strip = MakeGlyphStrip();
    for (int i = 0; i < 4; ++i) {
      auto& b = Flat(*this, "bGlyph" + std::to_string(i), 10 + i * 104, 180, "Glyph", TTransparentMode::tmNone);
      b.SetBounds(10 + i * 104, 180, 94, i < 2 ? 30 : 44);
      b.SetGlyph(strip);
      b.SetLayout(layouts[i]);
    }
    auto& dis = Flat(*this, "bGlyphDisabled", 426, 180, "Off", TTransparentMode::tmNone);
    dis.SetBounds(426, 180, 94, 30);
    dis.SetGlyph(MakeOneGlyph());
    dis.SetLayout(TButtonLayout::blGlyphLeft);
    dis.SetEnabled(false);
    auto& latchedGlyph = Flat(*this, "bGlyphLatched", 530, 180, "Down", TTransparentMode::tmNone);
    latchedGlyph.SetBounds(530, 180, 94, 30);
    latchedGlyph.SetGlyph(strip);
    latchedGlyph.SetLayout(TButtonLayout::blGlyphLeft);
    latchedGlyph.SetGroupIndex(9);
    latchedGlyph.SetDown(true);

    Heading(*this, "lHover", 640, 160, "Hover image");
    Bitmap rest = LoadBitmapResource("CLOSE_NORMAL"), hover = LoadBitmapResource("CLOSE_HOVER");
    for (int i = 0; i < 2; ++i) {
      auto& img = Make<TDodShiftImage>(this, this, "bClose" + std::to_string(i));
      img.SetBounds(650 + i * 40, 185, 24, 24);
      img.SetAutoSize(true);
      img.SetPicture(i == 0 ? rest : hover);
      img.SetNoFocusedPicture(rest);
      img.SetFocusedPicture(hover);
    }

    Heading(*this, "lLabels", 10, 240, "Labels");
    const char* align[3] = {"left", "right", "center"};
    for (int i = 0; i < 3; ++i) {
      auto& l = Make<TLabel>(this, this, std::string("lAlign") + align[i]);
      l.SetBounds(10, 262 + i * 18, 150, 15);
      l.SetAutoSize(false);
      l.SetColor(MakeColour(255, 255, 230));
      l.SetAlignment(static_cast<TAlignment>(i));
      l.SetCaption(std::string("Aligned ") + align[i]);
    }
    auto& disabled = Make<TLabel>(this, this, "lDisabled");
    disabled.SetBounds(10, 318, 0, 0);
    disabled.SetCaption("Disabled label (engraved)");
    disabled.SetEnabled(false);
    auto& link = Make<TLabel>(this, this, "lbEAddress");
    link.SetBounds(10, 338, 0, 0);
    FontDef f = link.Font();
    f.underline = true;
    f.colour = MakeColour(0, 0, 255);
    link.SetFont(f);
    link.SetCursor(TCursor::crHandPoint);
    link.SetCaption("www.tolvane-software.com");

    auto& group = Make<TGroupBox>(this, this, "GroupBox1", MakeRect(180, 240, 250, 110));
    group.SetCaption("Group box");
    auto& inGroup = Make<TLabel>(this, &group, "Label2");
    inGroup.SetBounds(12, 24, 0, 0);
    inGroup.SetCaption("Checking: ");
    auto& memo = Make<TMemo>(this, &group, "Memo1", MakeRect(72, 24, 170, 36));
    memo.SetText("\\REGISTRY\\MACHINE\\SOFTWARE");
    auto& plain = Make<TGroupBox>(this, &group, "GroupBox2", MakeRect(12, 66, 226, 36));
    (void)plain;

    auto& raised = Make<TPanel>(this, this, "Panel1", MakeRect(450, 240, 140, 40));
    raised.SetCaption("Raised panel");
    auto& lowered = Make<TPanel>(this, this, "Panel2", MakeRect(600, 240, 140, 40));
    lowered.SetBevelOuter(TBevelCut::bvLowered);
    lowered.SetCaption("Lowered panel");
    auto& line = Make<TPanel>(this, this, "Panel3", MakeRect(450, 300, 290, 2));
    line.SetBevelOuter(TBevelCut::bvLowered);

    auto& lv = Make<TListView>(this, this, "lvMain", MakeRect(10, 370, 423, 170));
    lv.AddColumn({"Hive Name", 205, TAlignment::taLeftJustify});
    lv.AddColumn({"Current Size", 72, TAlignment::taRightJustify});
    lv.AddColumn({"New Size", 70, TAlignment::taRightJustify});
    lv.AddColumn({"Reduction", 65, TAlignment::taRightJustify});
    lv.SetGridLines(true);
    const char* hives[] = {"\\REGISTRY\\MACHINE\\SYSTEM", "\\REGISTRY\\MACHINE\\SOFTWARE", "\\REGISTRY\\USER\\.DEFAULT"};
    for (const char* h : hives) {
      int row = lv.AddRow(h);
      lv.SetCell(row, 1, "12,288 KB");
      lv.SetCell(row, 2, "10,240 KB");
      lv.SetCell(row, 3, "2,048 KB");
    }
    auto& tmNone = Flat(*this, "bUseAdv", 450, 320, "UseAdvColors", TTransparentMode::tmNone);
    tmNone.SetUseAdvColors(true);
    tmNone.HoverEnter();
  }
};

// The main window's own layout and menus (app/main_layout_win.h) with a
// few hives in the table, without the window's behaviour.
class TfrmMainMock : public TForm {
 public:
  TfrmMainMock() : TForm(nullptr, Frame()) {
    InstantiateLayout(*this, MainWindowControls(), MainWindowMenus());
    auto* lv = Find<TListView>("lvMain");
    for (const char* h : {"\\REGISTRY\\MACHINE\\SYSTEM", "\\REGISTRY\\MACHINE\\SOFTWARE", "\\REGISTRY\\USER\\S-1-5-18"})
      lv->AddRow(h);
    Find<TFlatSpeedButton>("bOptions")->HoverEnter();
  }

 private:
  static FormDef Frame() {
    FormDef s;
    s.name = "frmMain";
    s.caption = "frmMain";
    s.clientWidth = kMainClientWidth;
    s.clientHeight = kMainClientHeight;
    s.border = TBorderStyle::bsNone;
    s.position = TPosition::poScreenCenter;
    return s;
  }
};

}  // namespace
}  // namespace vh

// With "shot" on the command line the gallery closes itself after a few
// seconds, so that the screenshot script needs to kill nothing.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmd, int) {
  using namespace vh;
  const std::string args = cmd ? cmd : "";
  std::unique_ptr<TForm> form;
  TFlatSpeedButton* press = nullptr;
  if (args.find("main") != std::string::npos) {
    form = CreateForm<TfrmMainMock>();
  } else {
    auto gallery = CreateForm<TfrmGallery>();
    press = gallery->pressMe;
    form = std::move(gallery);
  }
  form->isMainForm = true;
  form->Show();
  // Held down by a press that is never released, with the cursor over it,
  // so the shot shows the pressed face.
  if (press) {
    Point at = press->ClientToScreen(Point{20, 12});
    SetCursorPos(at.x, at.y);
    SendMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(press->Left() + 20, press->Top() + 12));
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press->Left() + 20, press->Top() + 12));
  }
  TTimer quit(nullptr, "QuitTimer");
  quit.SetInterval(8000);
  quit.OnTimer = [](TObject&) { PostQuitMessage(0); };
  quit.SetEnabled(args.find("shot") != std::string::npos);
  return RunMessageLoop();
}
