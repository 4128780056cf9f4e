// Which caption each control family offers to translation: every kind the
// program's windows use, read from live controls; and the main window in
// Chinese on a system whose code page is Western.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window_win.h"
#include "flat/flat_speed_button_win.h"
#include "settings/options_dialog_win.h"
#include "flat/shift_image_win.h"
#include "lang/translate_form_win.h"
#include "skin/button_win.h"
#include "skin/check_box_win.h"
#include "skin/group_box_win.h"
#include "skin/image_button_win.h"
#include "skin/panel_win.h"
#include "skin/progress_bar_win.h"
#include "skin/url_label_win.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/screenshot_win.h"
#include "tests/wine/support/ui_test_support.h"
#include "ui/controls_win.h"
#include "ui/menu_win.h"

namespace vh {
namespace {

using Slot = std::pair<std::string, CaptionKind>;

TEST(TranslationKinds, EachControlFamilyOffersItsOwnCaptionKind) {
  auto form = CreateForm<TForm>(nullptr, test::TestFormDef("frmKinds"));
  TForm* f = form.get();
  const Rect r = MakeRect(0, 0, 40, 20);
  Make<TLabel>(f, f, "Label1");
  Make<TsuiURLLabel>(f, f, "URL1");
  Make<TGroupBox>(f, f, "GroupBox1", r);
  Make<TPanel>(f, f, "Panel1", r);
  Make<TFlatSpeedButton>(f, f, "bFlat");
  Make<TsuiCheckBox>(f, f, "cbLine");
  Make<TsuiButton>(f, f, "bOK");
  Make<TsuiGroupBox>(f, f, "suiGroupBox1");
  Make<TsuiImageButton>(f, f, "bImage");
  Make<TsuiImagePanel>(f, f, "ImagePanel1");
  Make<TsuiProgressBar>(f, f, "Progress1");
  Make<TImage>(f, f, "Image1");
  Make<TDodShiftImage>(f, f, "bClose");
  Make<TMemo>(f, f, "Memo1", r);
  auto& list = Make<TListView>(f, f, "lvMain", MakeRect(0, 0, 100, 50));
  list.AddColumn(TListColumn{"Hive", 50, TAlignment::taLeftJustify});
  list.AddColumn(TListColumn{"Size", 50, TAlignment::taRightJustify});
  Make<TPopupMenu>(f, "pmMain");
  Make<TMenuItem>(f, "miAbout", "&About");

  std::vector<Slot> slots;
  for (const TranslationSlot& s : DescribeForTranslation(*form).slots) slots.emplace_back(s.name, s.kind);
  const std::vector<Slot> expected = {
      {"Label1", CaptionKind::TLabel},
      {"URL1", CaptionKind::TLabel},  // a URL label is a label
      {"GroupBox1", CaptionKind::TGroupBox},
      {"Panel1", CaptionKind::TPanel},
      {"bFlat", CaptionKind::TFlatSpeedButton},
      {"cbLine", CaptionKind::TsuiCheckBox},
      {"bOK", CaptionKind::TsuiButton},
      {"suiGroupBox1", CaptionKind::TsuiGroupBox},
      {"lvMain", CaptionKind::TListViewColumn},
      {"lvMain", CaptionKind::TListViewColumn},
      {"miAbout", CaptionKind::TMenuItem},
  };
  EXPECT_EQ(slots, expected) << "image buttons and panels, pictures, progress bars and memos keep their texts";
}

// One character drawn in a font, as pixels: a font without its glyph draws
// the same placeholder for every such character.
std::vector<COLORREF> Glyph(HFONT font, wchar_t c) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 24, 24);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT all{0, 0, 24, 24};
  FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
  TextOutW(dc, 2, 2, &c, 1);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

TEST(ChineseOnAWesternSystem, TheMainWindowShowsChineseWhateverTheSystemsCodePage) {
  ASSERT_NE(GetACP(), 936u) << "this prefix must have a Western code page";
  test::RecordedPlatform platform;
  const std::string options = platform.real().ExecutableFolder() + "options.ini";
  {
    auto main = CreateForm<TfrmMain>(platform.platform());
    main->Show();
    main->LanguageItemClick(*main->FindComponent("miChinese"));
    ASSERT_EQ(main->Options().Lan, "Chinese");
    auto& analyze = *main->Find<TFlatSpeedButton>("bAnalyzeRegistry");
    EXPECT_EQ(analyze.Caption(), "\u5206\u6790\u6CE8\u518C\u8868(&A)");  // 分析注册表(&A)
    wchar_t column[64] = {};
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT;
    col.pszText = column;
    col.cchTextMax = 64;
    SendMessageW(main->lvMain().Handle(), LVM_GETCOLUMNW, 0, LPARAM(&col));
    EXPECT_EQ(std::wstring(column), L"\u914D\u7F6E\u5355\u5143") << "the list's header";  // 配置单元
    // The fonts are of the Chinese script and have its glyphs.
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, analyze.FontHandle());
    EXPECT_EQ(GetTextCharset(screen), GB2312_CHARSET);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const std::vector<COLORREF> fen = Glyph(analyze.FontHandle(), L'\u5206'), xi = Glyph(analyze.FontHandle(), L'\u6790');
    EXPECT_NE(fen, xi) << "two characters drawn alike: the font has no Chinese glyphs";
    EXPECT_NE(fen, Glyph(analyze.FontHandle(), L'\uE000')) << "a character drawn as the placeholder";
    // A dialog's title as the title bar, the task bar and a screen reader
    // read it, not through the ANSI code page.
    auto options = CreateForm<TfrmOptions>(DialogInputs{main.get(), platform.platform(), "Chinese"}, main->Options());
    TranslateFormTo(*options, platform.platform(), "Chinese");
    wchar_t title[64] = {};
    GetWindowTextW(options->Handle(), title, 64);
    EXPECT_EQ(std::wstring(title), L"\u9009\u9879");  // 选项
    options.reset();
    UpdateWindow(main->Handle());
    test::PumpFor(200);
    EXPECT_TRUE(test::SaveScreenshot(main->Handle(), "main-window-chinese"));
  }
  SetTextCodePage(0);
  DeleteFileA(options.c_str());
}

}  // namespace
}  // namespace vh
