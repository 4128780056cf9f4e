// The component layer against the real window system: layouts, forms and
// their handlers, modal results, errors at the window boundary, the
// standard controls, menus, timers, pictures and GDI/USER hygiene.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "flat/flat_speed_button_win.h"
#include "flat/shift_image_win.h"
#include "platform/error.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/control_lookup.h"
#include "tests/wine/support/ui_test_support.h"
#include "ui/controls_win.h"
#include "ui/layout_win.h"
#include "ui/menu_win.h"
#include "ui/message_box_win.h"
#include "ui/picture_win.h"
#include "ui/timer_win.h"

namespace vh {
namespace {

const std::vector<MenuDef> kMenus = {
    {"pmHelp", {{"pmiHelp", "&Help"}, {"N1", "-"}, {"About1", "&About..."}}},
};

const std::vector<ControlDef> kLayout = {
    {"Image1", MakeImage, "", MakeRect(0, 0, 300, 200), "", {.popupMenu = "pmHelp"}},
    {"lTitle", MakeLabel, "", MakeRect(17, 12, 197, 16), "Varnhold", {.bold = true, .fontHeight = -13, .transparent = true}},
    {"bOK", MakeFlatSpeedButton, "", MakeRect(13, 93, 94, 25), "&OK",
     {.hint = "Confirm", .showHint = true, .handCursor = true, .transparentMode = TTransparentMode::tmNotFocused, .modalResult = mrOk}},
    {"bClose", MakeShiftImage, "", MakeRect(260, 9, 24, 24), "", {.handCursor = true, .autoSize = true}},
    {"GroupBox1", MakeGroupBox, "", MakeRect(8, 130, 280, 60), ""},
    {"Label1", MakeLabel, "GroupBox1", MakeRect(16, 16, 0, 0), "Checking: "},
    {"Memo1", MakeMemo, "GroupBox1", MakeRect(80, 16, 180, 32), "Registry Key"},
    {"lvMain", MakeListView, "", MakeRect(119, 40, 170, 80), "",
     {.columns = {{"Hive Name", 100, TAlignment::taLeftJustify}, {"Size", 60, TAlignment::taRightJustify}},
      .gridLines = true}},
    {"Panel2", MakePanel, "", MakeRect(8, 195, 280, 2), "", {.bevelOuter = TBevelCut::bvLowered}},
    {"Timer1", MakeTimer, "", Rect{}, "", {.interval = 50, .timerDisabled = true}},
};

// A window class of the program's kind: layout plus handlers named after
// control and event.
class TfrmSample : public TForm {
 public:
  explicit TfrmSample(TForm* owner = nullptr) : TForm(owner, test::TestFormDef("frmSample", 300, 200)) {
    InstantiateLayout(*this, kLayout, kMenus);
    Find<TControl>("bOK")->OnClick = Bind(this, &TfrmSample::bOKClick);
    Find<TTimer>("Timer1")->OnTimer = Bind(this, &TfrmSample::Timer1Timer);
  }
  std::vector<std::string> calls;
  int okClicks = 0, ticks = 0;

  void bOKClick(TObject&) { ++okClicks; }
  void Timer1Timer(TObject&) { ++ticks; }

 protected:
  void FormCreate() override { calls.push_back("FormCreate"); }
  void FormShow() override { calls.push_back("FormShow"); }
  void FormActivate() override { calls.push_back("FormActivate"); }
  void FormClose(TCloseAction&) override { calls.push_back("FormClose"); }
};

TEST(Layout, ComponentsInCreationOrderWithKindsAndParents) {
  auto form = CreateForm<TfrmSample>();
  std::vector<std::string> names;
  for (TComponent* c : form->Components()) names.push_back(c->Name());
  const std::vector<std::string> expected = {"pmHelp", "pmiHelp", "N1", "About1", "Image1", "lTitle", "bOK",
                                             "bClose", "GroupBox1", "Label1", "Memo1", "lvMain", "Panel2", "Timer1"};
  EXPECT_EQ(names, expected);
  EXPECT_NO_THROW(test::Control<TFlatSpeedButton>(*form, "bOK"));
  EXPECT_NO_THROW(test::Control<TImage>(*form, "bClose")) << "the hover image is a picture";
  EXPECT_THROW(test::Control<TLabel>(*form, "bOK"), test::MissingControl);
  TLabel& label1 = test::Control<TLabel>(*form, "Label1");
  EXPECT_EQ(label1.Parent(), &test::Control<TGroupBox>(*form, "GroupBox1"));
  EXPECT_GT(label1.Width(), 0) << "a label without a size takes its caption's";
  EXPECT_TRUE(test::Control<TLabel>(*form, "lTitle").Font().bold);
  EXPECT_EQ(test::Control<TLabel>(*form, "lTitle").Font().height, -13);
  EXPECT_EQ(test::Control<TImage>(*form, "Image1").PopupMenu(), &test::Control<TPopupMenu>(*form, "pmHelp"));
  EXPECT_EQ(test::Control<TFlatSpeedButton>(*form, "bOK").Cursor(), TCursor::crHandPoint);
  EXPECT_EQ(form->calls, std::vector<std::string>{"FormCreate"});
}

TEST(Layout, UnknownParentIsAnError) {
  auto form = CreateForm<TForm>(nullptr, test::TestFormDef("frmBad"));
  std::vector<ControlDef> bad = {{"Label1", MakeLabel, "Nowhere", MakeRect(0, 0, 10, 10), "x"}};
  EXPECT_THROW(InstantiateLayout(*form, bad), std::logic_error);
}

TEST(Form, ShowModalEndsWithTheClickedButtonsResult) {
  auto form = CreateForm<TfrmSample>();
  auto* ok = &test::Control<TFlatSpeedButton>(*form, "bOK");
  // The click arrives through the nested loop, as the user's would.
  PostMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 100));
  PostMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 100));
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(form->okClicks, 1);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  ASSERT_GE(form->calls.size(), 3u);
  EXPECT_EQ(form->calls[1], "FormShow");
  EXPECT_EQ(form->calls.back(), "FormClose");
  EXPECT_NE(ok, nullptr);
}

TEST(Form, ClosingByTheTitleBarGivesCancel) {
  auto form = CreateForm<TfrmSample>();
  PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST(Form, AcceleratorTypedInTheFormClicksTheButton) {
  auto form = CreateForm<TfrmSample>();
  PostMessageA(form->Handle(), WM_SYSCHAR, 'o', 0);
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(form->okClicks, 1);
}

TEST(Form, ModalFormDisablesItsOwnerWhileOpen) {
  auto owner = CreateForm<TfrmSample>();
  owner->Show();
  auto dialog = CreateForm<TfrmSample>(owner.get());
  bool ownerEnabled = true;
  test::Control<TTimer>(*dialog, "Timer1").OnTimer = [&](TObject&) {
    ownerEnabled = IsWindowEnabled(owner->Handle()) != FALSE;
    dialog->SetModalResult(mrNo);
  };
  test::Control<TTimer>(*dialog, "Timer1").SetEnabled(true);
  EXPECT_EQ(dialog->ShowModal(), mrNo);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
}

TEST(Form, ErrorsInHandlersReachTheUserWithTheProgramsCaption) {
  test::MessageBoxes boxes;
  auto form = CreateForm<TfrmSample>();
  // Through a window procedure...
  test::Control<TFlatSpeedButton>(*form, "bOK").OnClick = [](TObject&) {
    throw UnableToWrite("C:\\x\\options.ini");
  };
  test::Press(*form, 20, 100);
  test::Release(*form, 20, 100);
  // ...and through a timer.
  auto* timer = &test::Control<TTimer>(*form, "Timer1");
  timer->OnTimer = [&](TObject&) {
    timer->SetEnabled(false);
    throw UnableToWrite("D:\\options.ini");
  };
  timer->SetEnabled(true);
  test::PumpFor(200);
  ASSERT_EQ(boxes.texts.size(), 2u);
  EXPECT_EQ(boxes.texts[0], "Unable to write to C:\\x\\options.ini");
  EXPECT_EQ(boxes.texts[1], "Unable to write to D:\\options.ini");
  EXPECT_EQ(boxes.captions[0], "Varnhold");
}

TEST(Form, WithASinkSetErrorsGoThereAndNoBoxIsShown) {
  test::MessageBoxes boxes;
  std::vector<std::string> sunk;
  SetExceptionSink([&](const std::string& text) { sunk.push_back(text); });
  auto form = CreateForm<TfrmSample>();
  test::Control<TFlatSpeedButton>(*form, "bOK").OnClick = [](TObject&) {
    throw UnableToWrite("C:\\x\\options.ini");
  };
  test::Press(*form, 20, 100);
  test::Release(*form, 20, 100);
  SetExceptionSink(nullptr);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{});
  EXPECT_EQ(sunk, std::vector<std::string>{"Unable to write to C:\\x\\options.ini"});
}

TEST(Form, TimerTicksWhileEnabled) {
  auto form = CreateForm<TfrmSample>();
  auto* timer = &test::Control<TTimer>(*form, "Timer1");
  test::PumpFor(150);
  EXPECT_EQ(form->ticks, 0);
  timer->SetEnabled(true);
  test::PumpFor(300);
  EXPECT_GE(form->ticks, 2);
  timer->SetEnabled(false);
  int seen = form->ticks;
  test::PumpFor(150);
  EXPECT_EQ(form->ticks, seen);
}

TEST(Form, MessageBoxesUseTheProgramsCaption) {
  test::MessageBoxes boxes;
  ShowMessageBox("The software does not support the current Windows system!");
  ASSERT_EQ(boxes.captions.size(), 1u);
  EXPECT_EQ(boxes.captions[0], "Varnhold");
}

TEST(Controls, ListViewColumnsRowsAndStyles) {
  auto form = CreateForm<TfrmSample>();
  auto* lv = &test::Control<TListView>(*form, "lvMain");
  ASSERT_EQ(lv->ColumnCount(), 2);
  EXPECT_EQ(lv->Column(1).alignment, TAlignment::taRightJustify);
  EXPECT_TRUE(lv->GridLines());
  EXPECT_TRUE(lv->RowSelect());
  lv->SetGridLines(false);
  EXPECT_FALSE(lv->GridLines());
  int row = lv->AddRow("\\REGISTRY\\MACHINE\\SYSTEM");
  lv->SetCell(row, 1, "1,024 KB");
  EXPECT_EQ(lv->RowCount(), 1);
  EXPECT_EQ(lv->Cell(0, 0), "\\REGISTRY\\MACHINE\\SYSTEM");
  EXPECT_EQ(lv->Cell(0, 1), "1,024 KB");
  // Rows added at once follow those there, in order.
  lv->AddRows({"\\REGISTRY\\MACHINE\\SOFTWARE", "\\REGISTRY\\USER\\S-1-5-21-0-0-0-1000"});
  ASSERT_EQ(lv->RowCount(), 3);
  EXPECT_EQ(lv->Cell(2, 0), "\\REGISTRY\\USER\\S-1-5-21-0-0-0-1000");
  lv->SetColumnCaption(0, "Nom");
  EXPECT_EQ(lv->Column(0).caption, "Nom");
  EXPECT_EQ(GetWindowLongA(lv->Handle(), GWL_STYLE) & LVS_EDITLABELS, 0) << "read-only";
}

TEST(Controls, MemoIsReadOnlyAndShowsTheWindowsText) {
  auto form = CreateForm<TfrmSample>();
  auto* memo = &test::Control<TMemo>(*form, "Memo1");
  EXPECT_EQ(memo->Text(), "Registry Key");
  memo->SetText("Finish");
  EXPECT_EQ(memo->Text(), "Finish");
  EXPECT_TRUE(GetWindowLongA(memo->Handle(), GWL_STYLE) & ES_READONLY);
}

TEST(Controls, PopupMenuItemsInOrderWithSeparators) {
  auto form = CreateForm<TfrmSample>();
  auto* menu = &test::Control<TPopupMenu>(*form, "pmHelp");
  ASSERT_EQ(menu->Items().size(), 3u);
  EXPECT_TRUE(menu->Items()[1]->IsSeparator());
  EXPECT_EQ(menu->Items()[2]->Caption, "&About...");
  EXPECT_EQ(&test::Control<TMenuItem>(*form, "About1"), menu->Items()[2]);
}

TEST(Controls, EnterAndLeaveFollowTheMouseAcrossWindowlessControls) {
  auto form = CreateForm<TfrmSample>();
  std::vector<std::string> seen;
  for (const char* name : {"lTitle", "bOK", "Image1"}) {
    auto* c = &test::Control<TControl>(*form, name);
    c->OnMouseEnter = [&seen, name](TObject&) { seen.push_back(std::string("+") + name); };
    c->OnMouseLeave = [&seen, name](TObject&) { seen.push_back(std::string("-") + name); };
  }
  test::Move(*form, 20, 14);
  test::Move(*form, 20, 100);
  test::Move(*form, 5, 80);
  const std::vector<std::string> expected = {"+lTitle", "-lTitle", "+bOK", "-bOK", "+Image1"};
  EXPECT_EQ(seen, expected);
}

std::vector<unsigned char> EncodeJpeg(int width, int height, int r, int g, int b) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = JDIMENSION(width);
  c.image_height = JDIMENSION(height);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 100, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> row(std::size_t(width) * 3);
  for (int x = 0; x < width; ++x) {
    row[std::size_t(x) * 3] = (unsigned char)r;
    row[std::size_t(x) * 3 + 1] = (unsigned char)g;
    row[std::size_t(x) * 3 + 2] = (unsigned char)b;
  }
  while (c.next_scanline < c.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<unsigned char> bytes(out, out + size);
  free(out);
  return bytes;
}

TEST(Pictures, JpegDecodesToABitmapAndBadBytesGiveNone) {
  std::vector<unsigned char> jpeg = EncodeJpeg(56, 39, 200, 100, 50);
  Bitmap b = DecodeJpeg(jpeg.data(), jpeg.size());
  ASSERT_FALSE(b.Empty());
  EXPECT_EQ(b.GetSize(), (Size{56, 39}));
  Colour c = b.Pixel(20, 20);
  EXPECT_NEAR(RedOf(c), 200, 3);
  EXPECT_NEAR(GreenOf(c), 100, 3);
  EXPECT_NEAR(BlueOf(c), 50, 3);
  std::vector<unsigned char> truncated(jpeg.begin(), jpeg.begin() + 40);
  EXPECT_TRUE(DecodeJpeg(truncated.data(), truncated.size()).Empty());
  const unsigned char junk[] = "not a picture at all";
  EXPECT_TRUE(DecodeJpeg(junk, sizeof(junk)).Empty());
  EXPECT_TRUE(LoadJpegResource("NO_SUCH_PICTURE").Empty());
  EXPECT_TRUE(LoadBitmapResource("NO_SUCH_BITMAP").Empty());
}

// Drawn straight from the JPEG, the rows the clip reaches (across band
// boundaries) match the decoded bitmap at the drawing's offset, and nothing
// outside the clip is touched.
TEST(Pictures, AJpegDrawnThroughAClipMatchesItsDecodedBitmap) {
  const JpegPicture picture = JpegResource("MAIN_BACKGROUND");
  ASSERT_FALSE(picture.Empty());
  const Bitmap whole = picture.Decode();
  ASSERT_EQ(whole.GetSize(), (Size{picture.Width(), picture.Height()}));
  const Colour untouched = MakeColour(255, 0, 255);
  const int dx = 3, dy = 5, clipTop = 100, clipBottom = 141;
  Bitmap target(picture.Width() + dx, picture.Height() + dy, untouched);
  {
    MemoryDC dc(target.Handle());
    IntersectClipRect(dc.get(), 0, clipTop, target.Width(), clipBottom);
    picture.Draw(dc.get(), dx, dy);
  }
  for (int y = 0; y < target.Height(); ++y)
    for (int x = 0; x < target.Width(); x += 5) {
      const bool drawn = y >= clipTop && y < clipBottom && x >= dx;
      ASSERT_EQ(target.Pixel(x, y), drawn ? whole.Pixel(x - dx, y - dy) : untouched) << x << "," << y;
    }
}

TEST(Hygiene, AHundredFormsLeaveNoGdiOrUserObjectBehind) {
  {
    auto warm = CreateForm<TfrmSample>();
    warm->Show();
    test::PumpFor(50);
  }
  test::PumpFor(50);
  DWORD gdi = test::GdiObjects(), user = test::UserObjects();
  for (int i = 0; i < 100; ++i) {
    auto form = CreateForm<TfrmSample>();
    test::Control<TListView>(*form, "lvMain").AddRow("row");
    if (i % 25 == 0) {
      form->Show();
      test::PumpFor(5);
    }
    test::PaintClientToBitmap(*form);
  }
  test::PumpFor(50);
  EXPECT_EQ(test::GdiObjects(), gdi);
  EXPECT_EQ(test::UserObjects(), user);
}

}  // namespace
}  // namespace vh

namespace vh {
namespace {

// Records the notifications a windowless control receives.
class TProbe : public TLabel {
 public:
  using TLabel::TLabel;
  std::vector<std::string> seen;
  TWinControl* focused = nullptr;
  void FocusChanged(TWinControl* f) override {
    focused = f;
    seen.push_back("focus");
  }
  void SysColorChanged() override { seen.push_back("syscolor"); }
  void FontChanged() override {
    seen.push_back("font");
    TLabel::FontChanged();
  }
  void ParentColorChanged() override {
    seen.push_back("parentcolor");
    TLabel::ParentColorChanged();
  }
  void TextChanged() override {
    seen.push_back("text");
    TLabel::TextChanged();
  }
  void EnabledChanged() override { seen.push_back("enabled"); }
};

TEST(Notifications, ReachTheControlsOfTheForm) {
  auto form = CreateForm<TfrmSample>();
  auto& probe = Make<TProbe>(form.get(), &test::Control<TWinControl>(*form, "GroupBox1"), "Probe");
  form->Show();
  test::PumpFor(20);
  auto* lv = &test::Control<TListView>(*form, "lvMain");
  EXPECT_EQ(GetFocus(), lv->Handle()) << "the first control in the tab order takes the focus";
  SetFocus(form->Handle());
  probe.seen.clear();
  lv->SetFocus();
  EXPECT_EQ(probe.focused, lv);
  EXPECT_EQ(form->ActiveControl(), lv);
  probe.SetCaption("new");
  probe.SetEnabled(false);
  FontDef f = form->Font();
  f.height = -15;
  form->SetFont(f);
  EXPECT_EQ(probe.Font().height, -15) << "parent font followed through the group box";
  form->SetColor(MakeColour(1, 2, 3));
  EXPECT_EQ(probe.Color(), MakeColour(1, 2, 3));
  SendMessageA(form->Handle(), WM_SYSCOLORCHANGE, 0, 0);
  const std::vector<std::string> expected = {"focus", "text", "enabled", "font", "parentcolor", "syscolor"};
  EXPECT_EQ(probe.seen, expected);
}

TEST(Controls, TextExtentCountsAmpersandsAsWritten) {
  auto form = CreateForm<TfrmSample>();
  HDC dc = GetDC(nullptr);
  Canvas canvas(dc);
  Size plain = canvas.TextExtent("Help", form->FontHandle());
  Size marked = canvas.TextExtent("&Help", form->FontHandle());
  Size drawn = canvas.MeasureLine("&Help", form->FontHandle());
  ReleaseDC(nullptr, dc);
  EXPECT_GT(marked.width, plain.width);
  EXPECT_EQ(drawn.width, plain.width);
}

}  // namespace
}  // namespace vh

namespace vh {
namespace {

std::string ThrownBy(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::logic_error& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

TEST(Wiring, AMissingOrMistypedNameIsAnErrorThatNamesIt) {
  auto form = CreateForm<TfrmSample>();
  EXPECT_EQ(form->Find<TControl>("bOK")->Name(), "bOK");
  EXPECT_NE(ThrownBy([&] { form->Find<TControl>("bOk"); }).find("\"bOk\""), std::string::npos);
  EXPECT_NE(ThrownBy([&] { form->Find<TListView>("bOK"); }).find("another kind"), std::string::npos);
  const std::string noControl = ThrownBy([&] { form->Find<TTimer>("Timer2"); });
  EXPECT_NE(noControl.find("\"Timer2\""), std::string::npos) << noControl;
}

}  // namespace
}  // namespace vh
