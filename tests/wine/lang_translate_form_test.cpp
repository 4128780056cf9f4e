// Which caption each control family offers to translation: every kind the
// program's windows use, read from live controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "flat/flat_speed_button_win.h"
#include "flat/shift_image_win.h"
#include "lang/translate_form_win.h"
#include "skin/button_win.h"
#include "skin/check_box_win.h"
#include "skin/group_box_win.h"
#include "skin/image_button_win.h"
#include "skin/panel_win.h"
#include "skin/progress_bar_win.h"
#include "skin/url_label_win.h"
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

}  // namespace
}  // namespace vh
