// Every text of every window, in every shipped language, measured with the
// font its control draws it in. A control of fixed size must hold its text
// (DrawText clips the rest); a control that grows with its text must stay
// inside its parent and clear of its neighbours. The texts are the program's
// own: read from the language file in the code page it names and measured
// in the font the control makes for that script, whatever this prefix's own
// code page (a Western one).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "about/about_box_win.h"
#include "app/main_window_win.h"
#include "flat/flat_speed_button_win.h"
#include "flat/speed_button_layout.h"
#include "scan/progress_dialog_win.h"
#include "lang/language_menu.h"
#include "lang/messages.h"
#include "lang/translate_form_win.h"
#include "platform/string_table_win.h"
#include "platform/text_win.h"
#include "platform/win32_platform_win.h"
#include "res/string_ids.h"
#include "restore/restore_point_dialog_win.h"
#include "settings/ask_delete_dialog_win.h"
#include "settings/options_dialog_win.h"
#include "skin/check_box_layout.h"
#include "skin/check_box_win.h"
#include "skin/custom_button_win.h"
#include "tests/wine/support/app_fixture.h"
#include "ui/controls_win.h"

namespace vh {
namespace {

struct Language {
  const char* name;
  BYTE charset;  // the script of its texts: the fonts must have its glyphs
};
const Language kLanguages[] = {{"English", ANSI_CHARSET}, {"French", ANSI_CHARSET},   {"German", ANSI_CHARSET},
                               {"Spanish", ANSI_CHARSET}, {"Italian", ANSI_CHARSET}, {"Dutch", ANSI_CHARSET},
                               {"Chinese", GB2312_CHARSET}};

// A skinned push button draws its caption centred, clear of its frame.
constexpr int kButtonFrame = 4;
// The header control keeps three edges' width free on each side of a title.
const int kHeaderMargin = 3 * GetSystemMetrics(SM_CXEDGE);

// Texts the program sets while it runs, in place of the designed ones: a
// message in the window's language, or a figure.
struct RuntimeText {
  const char* control;
  unsigned message;  // 0: the text below
  std::string text;
};

struct Window {
  const char* name;
  std::function<std::unique_ptr<TForm>(TfrmMain& main, Platform& platform, const std::string& language)> open;
  std::vector<RuntimeText> runtime;
  // Shows what the window shows in another state, for a second check.
  std::function<void(TForm&)> otherState;
};

// While swaps wait for the restart, the warning and its button stand in
// the step hint's place.
void ShowRestartPending(TForm& main) {
  for (const char* hint : {"Label6", "Label2", "Label1", "Label3"}) main.Find<TControl>(hint)->SetVisible(false);
  for (const char* pending : {"lRestartPending", "bRestartNow"}) main.Find<TControl>(pending)->SetVisible(true);
}

template <typename F, typename... More>
std::unique_ptr<TForm> Dialog(TfrmMain& main, Platform& platform, const std::string& language, More... more) {
  return CreateForm<F>(DialogInputs{&main, platform, language}, more...);
}

const std::vector<Window>& Windows() {
  static const std::vector<Window> windows = {
      {"frmMain", nullptr,
       {{"lCurrentRegistrySize", 0, "1,232,757 KB"}, {"lNewRegistrySize", 0, "1,202,106 KB"},
        {"lSizeReduction", 0, "30,651 KB"}, {"lCompactPercent", 0, "100.0%"}},
       ShowRestartPending},
      {"frmOptions",
       [](TfrmMain& m, Platform& p, const std::string& l) { return Dialog<TfrmOptions>(m, p, l, m.Options()); },
       {}},
      {"frmAskDelete", [](TfrmMain& m, Platform& p, const std::string& l) { return Dialog<TfrmAskDelete>(m, p, l); },
       {}},
      {"frmSystemPoint",
       [](TfrmMain& m, Platform& p, const std::string& l) {
         return Dialog<TfrmSystemPoint>(m, p, l, RestorePointFor::Defragmentation);
       },
       {}},
      {"frmGetNewHiveProgess",
       [](TfrmMain& m, Platform& p, const std::string& l) {
         return Dialog<TfrmGetNewHiveProgess>(m, p, l, m.AnalysisJob());
       },
       {{"Label1", IDS_RECOPY_LABEL, ""}, {"Label1", IDS_RECHECK_LABEL, ""}, {"Label1", IDS_UNDO_CHECK_LABEL, ""}, {"Label1", IDS_STOP_PROCESS, ""}}},
      {"frmAbout", [](TfrmMain& m, Platform& p, const std::string& l) { return Dialog<TfrmAbout>(m, p, l); },
       {{"Label1", 0, LoadResString(IDS_PRODUCT_NAME)}}},
  };
  return windows;
}

// How wide one line of text is: the advance DrawText measures, and the ink
// it draws, which some rasterisers (Wine's among them) spread a few pixels
// past the advance.
struct Span {
  int advance = 0;
  int ink = 0;
  int Need() const { return std::max(advance, ink); }
};

// Text measured in the font its control draws it in, on a white bitmap
// that it is drawn on to find its ink.
class Measure {
 public:
  explicit Measure(const Language& language) : language_(language) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    SelectObject(dc_, bitmap_);
  }
  ~Measure() {
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  Measure(const Measure&) = delete;
  Measure& operator=(const Measure&) = delete;

  // One line as DrawText lays it out: an ampersand marks the next letter.
  Span Line(TControl& c, const std::string& text) {
    Select(c);
    std::wstring wide = Decode(text);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc_, wide.c_str(), int(wide.size()), &r, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    std::fill(bits_, bits_ + kWidth * kHeight, 0xFFFFFFu);
    RECT all{0, 0, kWidth, kHeight};
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(0, 0, 0));
    DrawTextW(dc_, wide.c_str(), int(wide.size()), &all, DT_EXPANDTABS | DT_SINGLELINE);
    GdiFlush();
    int ink = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = ink; x < kWidth; ++x)
        if ((bits_[y * kWidth + x] & 0xFFFFFFu) != 0xFFFFFFu) ink = x + 1;
    return Span{int(r.right - r.left), ink};
  }
  // Lines broken at the width, as a word-wrapping label draws them.
  Size Wrapped(TControl& c, const std::string& text, int width) {
    Select(c);
    std::wstring wide = Decode(text);
    RECT r{0, 0, width, 0};
    DrawTextW(dc_, wide.c_str(), int(wide.size()), &r, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    return Size{r.right - r.left, r.bottom - r.top};
  }
  // The text as written, ampersands included, as a check box sizes itself.
  int Extent(TControl& c, const std::string& text) {
    Select(c);
    std::wstring wide = Decode(text);
    SIZE s{};
    GetTextExtentPoint32W(dc_, wide.c_str(), int(wide.size()), &s);
    return int(s.cx);
  }
  // False when no font of the language's character set is installed, so
  // that every measurement would be of placeholder glyphs.
  bool FontFound(TControl& c) {
    Select(c);
    return GetTextCharset(dc_) == language_.charset;
  }

 private:
  static constexpr int kWidth = 800, kHeight = 40;

  static std::wstring Decode(const std::string& text) { return Utf8ToWide(text); }
  void Select(TControl& c) { SelectObject(dc_, c.FontHandle()); }

  const Language& language_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

// Where a control's text lies on its parent, and why it does not fit
// (empty when it does).
struct TextBox {
  Rect box;
  std::string clipped;
};

std::string Px(int need, int room) { return std::to_string(need) + " px in " + std::to_string(room); }

// The glyph of a check box: the width it gives itself beside no caption.
int CheckBoxGlyphWidth(TsuiCheckBox& box) {
  const std::string caption = box.Caption();
  const Rect bounds = box.BoundsRect();
  Bitmap scratch(1, 1);
  MemoryDC dc(scratch.Handle());
  box.SetCaption("");
  box.PaintBox(dc.get());
  const int glyph = box.Width() - CheckBoxAutoSize(Size{}, 0, 0).width;
  box.SetCaption(caption);
  box.SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
  return glyph;
}

std::optional<TextBox> TextBoxOf(TControl& c, Measure& measure) {
  const Rect& b = c.BoundsRect();
  const std::string& text = c.Caption();
  // A memo's or a progress bar's text is the program's, and wraps or is a
  // figure: those controls only take room.
  if (text.empty() || c.TranslationKind() == CaptionKind::Other) return std::nullopt;
  if (auto* label = dynamic_cast<TLabel*>(&c)) {
    if (label->WordWrap()) {
      Size s = measure.Wrapped(c, text, b.Width());
      return TextBox{b, s.height > b.Height() || s.width > b.Width() ? "wraps to " + Px(s.height, b.Height()) + " high"
                                                                     : ""};
    }
    const Span span = measure.Line(c, text);
    if (label->AutoSize()) {
      const int width = AutoSizedLabelWidth(span.advance);
      return TextBox{Rect{b.left, b.top, b.left + width, b.bottom}, span.ink > width ? Px(span.ink, width) : ""};
    }
    const int width = span.Need();
    if (width > b.Width()) return TextBox{b, Px(width, b.Width())};
    if (label->Alignment() == TAlignment::taRightJustify) return TextBox{Rect{b.right - width, b.top, b.right, b.bottom}, ""};
    return TextBox{Rect{b.left, b.top, b.left + width, b.bottom}, ""};
  }
  if (dynamic_cast<TFlatSpeedButton*>(&c)) {
    const Span span = measure.Line(c, text);
    const int width = FittedSpeedButtonWidth(span.advance);
    return TextBox{Rect{b.left, b.top, b.left + width, b.bottom}, span.Need() > width ? Px(span.Need(), width) : ""};
  }
  if (auto* box = dynamic_cast<TsuiCheckBox*>(&c)) {
    const int glyph = CheckBoxGlyphWidth(*box);
    const int width = box->AutoSize() ? CheckBoxAutoSize(Size{glyph, 0}, 0, measure.Extent(c, text)).width : b.Width();
    // The caption is drawn from four pixels right of the glyph.
    const int need = glyph + 4 + measure.Line(c, text).Need();
    return TextBox{Rect{b.left, b.top, b.left + width, b.bottom}, need > width ? Px(need, width) : ""};
  }
  if (dynamic_cast<TsuiCustomButton*>(&c)) {
    const int width = measure.Line(c, text).Need() + 2 * kButtonFrame;
    return TextBox{b, width > b.Width() ? Px(width, b.Width()) : ""};
  }
  return TextBox{b, "no rule measures a " + std::string(c.ClassName())};
}

// A picture as wide as its parent is the backdrop everything stands on.
bool IsBackdrop(const TControl& c) {
  return dynamic_cast<const TImage*>(&c) && c.Parent() && c.Width() >= c.Parent()->Width();
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// What does not fit, each finding once, counted by language.
class Findings {
 public:
  void Add(const std::string& language, const std::string& what) { lines_.insert(language + ": " + what); }
  std::string Report() const {
    std::map<std::string, int> perLanguage;
    for (const std::string& line : lines_) ++perLanguage[line.substr(0, line.find(':'))];
    std::string text;
    for (const auto& count : perLanguage) text += count.first + " " + std::to_string(count.second) + "; ";
    for (const std::string& line : lines_) text += "\n  " + line;
    return text;
  }
  bool empty() const { return lines_.empty(); }

 private:
  std::set<std::string> lines_;
};

// The columns of a list view hold their titles, and all of them fit
// beside a vertical scroll bar, so that no row needs a horizontal one.
void CheckColumns(TListView& list, Measure& measure, const std::string& where, const std::string& language,
                  Findings& findings) {
  RECT client;
  GetClientRect(list.Handle(), &client);
  int total = 0;
  for (int i = 0; i < list.ColumnCount(); ++i) {
    const TListColumn& column = list.Column(i);
    const int need = measure.Line(list, column.caption).Need() + 2 * kHeaderMargin;
    if (need > column.width)
      findings.Add(language, where + " column '" + column.caption + "': " + Px(need, column.width));
    total += column.width;
  }
  const int room = int(client.right - client.left) - GetSystemMetrics(SM_CXVSCROLL);
  if (total > room) findings.Add(language, where + " columns: " + Px(total, room));
}

void CheckWindow(TForm& form, const std::string& language, Measure& measure, Findings& findings) {
  std::map<const TWinControl*, std::vector<std::pair<TControl*, std::optional<TextBox>>>> byParent;
  form.ForEachControl([&](TControl& c) {
    if (!c.Visible() || IsBackdrop(c)) return;
    byParent[c.Parent()].push_back({&c, TextBoxOf(c, measure)});
    if (auto* list = dynamic_cast<TListView*>(&c)) CheckColumns(*list, measure, form.Name() + "." + c.Name(), language, findings);
  });
  for (const auto& [parent, children] : byParent) {
    const Rect room = parent->ClientRect();
    for (std::size_t i = 0; i < children.size(); ++i) {
      const auto& [control, text] = children[i];
      if (!text) continue;
      const std::string where = form.Name() + "." + control->Name() + " '" + control->Caption() + "'";
      if (!text->clipped.empty()) findings.Add(language, where + ": " + text->clipped);
      const Rect& box = text->box;
      if (box.left < room.left || box.top < room.top || box.right > room.right || box.bottom > room.bottom)
        findings.Add(language, where + " runs out of " + parent->Name() + " to x=" + std::to_string(box.right) +
                                   " (room " + std::to_string(room.right) + ")");
      for (std::size_t j = 0; j < children.size(); ++j) {
        if (j == i || (children[j].second && j < i)) continue;  // each pair of texts once
        const Rect other = children[j].second ? children[j].second->box : children[j].first->BoundsRect();
        if (Overlap(box, other)) findings.Add(language, where + " overlaps " + children[j].first->Name());
      }
    }
  }
}

// Checks the window as designed, then with each run-time text in turn, then
// in its other state.
void CheckWithRuntimeTexts(TForm& form, const Window& w, const Messages& messages, const std::string& language,
                           Measure& measure, Findings& findings) {
  CheckWindow(form, language, measure, findings);
  for (const RuntimeText& t : w.runtime) {
    auto* control = form.Find<TControl>(t.control);
    const std::string designed = control->Caption();
    control->SetCaption(t.message ? messages.Text(t.message) : t.text);
    CheckWindow(form, language, measure, findings);
    control->SetCaption(designed);
  }
  if (w.otherState) {
    w.otherState(form);
    CheckWindow(form, language, measure, findings);
  }
}

TEST(TextFitTest, EveryTextOfEveryWindowFitsInEveryShippedLanguage) {
  test::RecordedPlatform platform;
  Findings findings;
  for (const Language& language : kLanguages) {
    Measure measure(language);
    auto main = CreateForm<TfrmMain>(platform.platform());
    const Messages messages = LoadMessages(platform.platform(), language.name);
    for (const Window& w : Windows()) {
      std::unique_ptr<TForm> dialog = w.open ? w.open(*main, platform.platform(), language.name) : nullptr;
      TForm& form = dialog ? *dialog : *main;
      ASSERT_EQ(form.Name(), w.name);
      TranslateFormTo(form, platform.platform(), language.name);
      if (&form == main.get()) {
        main->FitSpeedButtons();
        ASSERT_TRUE(measure.FontFound(*main)) << "the windows found no font of the character set of "
                                              << language.name << " (fonts-wqy-microhei)";
      }
      CheckWithRuntimeTexts(form, w, messages, language.name, measure, findings);
    }
  }
  SetTextCodePage(0);
  EXPECT_TRUE(findings.empty()) << findings.Report();
}

}  // namespace
}  // namespace vh
