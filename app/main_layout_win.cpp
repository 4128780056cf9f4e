#include "app/main_layout_win.h"

#include "flat/flat_speed_button_win.h"
#include "flat/shift_image_win.h"
#include "skin/image_button_win.h"
#include "skin/skin_layout_win.h"
#include "skin/url_label_win.h"
#include "ui/controls_win.h"
#include "ui/form_win.h"
#include "ui/menu_win.h"

namespace vh {

namespace {

// The seven command buttons share everything but their border colour.
LayoutProps FlatButton(const char* hint, Colour border) {
  LayoutProps p;
  p.hint = hint;
  p.showHint = true;
  p.handCursor = true;
  p.transparentMode = TTransparentMode::tmNotFocused;
  p.colorFocused = MakeColour(192, 192, 192);  // clSilver
  p.colorBorder = border;
  return p;
}

// Labels size themselves to their captions, as designed; the figures keep
// their fixed, right-aligned width, ending short of the groove that splits
// the plate under the table, with room before them for the longest caption.
LayoutProps TransparentLabel(bool bold = false, int height = 0) {
  LayoutProps p;
  p.transparent = true;
  p.bold = bold;
  p.fontHeight = height;
  return p;
}

LayoutProps FigureLabel() {
  LayoutProps p = TransparentLabel();
  p.fixedSize = true;
  p.alignment = TAlignment::taRightJustify;
  return p;
}

// Three lines, broken where the text breaks them (word wrap lets the label
// draw more than one); a path has no blanks, so a longer one is cut at the
// right edge rather than wrapped.
LayoutProps HiveInfoLabel() {
  LayoutProps p = TransparentLabel();
  p.fixedSize = true;
  p.wordWrap = true;
  return p;
}

}  // namespace

const std::vector<ControlDef>& MainWindowControls() {
  static const std::vector<ControlDef> controls = [] {
    LayoutProps background;
    background.jpeg = "MAIN_BACKGROUND";
    background.popupMenu = "pmHelp";
    LayoutProps minimize;
    minimize.hint = "Minimize";
    minimize.showHint = true;
    minimize.handCursor = true;
    minimize.bitmap = "MINIMIZE";
    LayoutProps close;
    close.hint = "Close Varnhold";
    close.showHint = true;
    close.handCursor = true;
    close.autoSize = true;
    close.bitmap = "CLOSE_NORMAL";
    close.bitmap2 = "CLOSE_HOVER";
    // Blue until the pointer first leaves it, black after; drawn straight on
    // the tab's artwork.
    LayoutProps link;
    link.handCursor = true;
    link.transparent = true;
    link.fontColour = MakeColour(0, 0, 255);
    link.linkColour = MakeColour(0, 0, 0);
    link.hoverColour = MakeColour(255, 0, 0);
    LayoutProps line;
    line.color = SystemColour(kIndexActiveCaption);
    LayoutProps language = FlatButton("Help", MakeColour(241, 239, 238));
    language.showHint = false;
    LayoutProps defrag = FlatButton("Defrag your registry", MakeColour(224, 224, 222));
    defrag.disabled = true;
    LayoutProps pending = TransparentLabel(true);
    pending.fixedSize = true;
    pending.wordWrap = true;
    pending.hidden = true;
    pending.fontColour = MakeColour(192, 0, 0);
    LayoutProps restartNow = FlatButton("Restart Windows now", MakeColour(224, 224, 222));
    restartNow.hidden = true;
    LayoutProps list;
    for (const HiveColumn& column : HiveListColumns()) list.columns.push_back(column.column);
    list.gridLines = true;
    return std::vector<ControlDef>{
        {"Image1", MakeImage, "", MakeRect(0, 0, 556, 393), "", background},
        // First among the windows, so first in the tab order and focused at start.
        {"lvMain", MakeListView, "", MakeRect(119, 65, 423, 196), "", list},
        // The selected hive's full name, its file and what Windows did to it
        // by itself: the list cuts long names short.
        {"lHiveInfo", MakeLabel, "", MakeRect(121, 263, 419, 39), "", HiveInfoLabel()},
        {"lTitle", MakeLabel, "", MakeRect(17, 12, 197, 16), "Varnhold", TransparentLabel(true, -13)},
        {"bMinimize", MakeSuiImageButton, "", MakeRect(488, 9, 24, 24), "", minimize},
        {"bClose", MakeShiftImage, "", MakeRect(517, 9, 24, 24), "", close},
        {"suiURLLabel1", MakeSuiURLLabel, "", MakeRect(436, 38, 81, 13), "tolvane.com", link},
        {"lTitle1", MakeLabel, "", MakeRect(13, 67, 88, 13), "Main", TransparentLabel(true)},
        {"suiImagePanel1", MakeSuiImagePanel, "", MakeRect(11, 85, 100, 1), "", line},
        {"bAnalyzeRegistry", MakeFlatSpeedButton, "", MakeRect(13, 93, 94, 25), "&Analyze Registry",
         FlatButton("Analyze your registry", MakeColour(224, 224, 222))},
        {"bDefragRegistry", MakeFlatSpeedButton, "", MakeRect(13, 122, 91, 25), "&Defrag Registry", defrag},
        {"bOptions", MakeFlatSpeedButton, "", MakeRect(12, 151, 56, 25), "&Options",
         FlatButton("Settings", MakeColour(228, 228, 226))},
        {"lTitle3", MakeLabel, "", MakeRect(13, 193, 72, 13), "Help", TransparentLabel(true)},
        {"suiImagePanel2", MakeSuiImagePanel, "", MakeRect(11, 213, 100, 1), "", line},
        // The help group: the home page is the help menu's, not a button.
        {"bLanguage", MakeFlatSpeedButton, "", MakeRect(16, 221, 64, 25), "&Language", language},
        {"bAbout", MakeFlatSpeedButton, "", MakeRect(16, 252, 37, 25), "&Help",
         FlatButton("Help", MakeColour(245, 246, 244))},
        {"bExit", MakeFlatSpeedButton, "", MakeRect(16, 283, 35, 25), "E&xit",
         FlatButton("Exit", MakeColour(241, 242, 240))},
        {"lLastWashed", MakeLabel, "", MakeRect(116, 312, 109, 13), "Current Registry Size:", TransparentLabel()},
        {"Label4", MakeLabel, "", MakeRect(116, 330, 101, 13), "New Registry Size:", TransparentLabel()},
        {"Label5", MakeLabel, "", MakeRect(116, 348, 93, 13), "Size Reduction:", TransparentLabel()},
        {"lCompactPercent1", MakeLabel, "", MakeRect(117, 366, 92, 13), "Compact Percent:", TransparentLabel()},
        {"lCurrentRegistrySize", MakeLabel, "", MakeRect(244, 312, 80, 13), "1,232,757 KB", FigureLabel()},
        {"lNewRegistrySize", MakeLabel, "", MakeRect(244, 330, 80, 13), "30,651 KB", FigureLabel()},
        {"lSizeReduction", MakeLabel, "", MakeRect(244, 348, 80, 13), "300 KB", FigureLabel()},
        {"lCompactPercent", MakeLabel, "", MakeRect(244, 366, 80, 13), "15%", FigureLabel()},
        {"Label6", MakeLabel, "", MakeRect(342, 312, 47, 13), "Step Hint:", TransparentLabel()},
        {"Label2", MakeLabel, "", MakeRect(353, 330, 163, 13), "1. Analyze the Windows registry.", TransparentLabel()},
        {"Label1", MakeLabel, "", MakeRect(353, 348, 155, 13), "2. Review the analyzing result.", TransparentLabel()},
        {"Label3", MakeLabel, "", MakeRect(353, 366, 195, 13), "3. Defrag the registry and restart the pc.",
         TransparentLabel()},
        // In the step hint's place while swaps wait for the restart.
        {"lRestartPending", MakeLabel, "", MakeRect(342, 310, 200, 54),
         "Hives are swapped and wait for the restart. Every registry change until then is lost: restart now.",
         pending},
        {"bRestartNow", MakeFlatSpeedButton, "", MakeRect(340, 364, 90, 25), "&Restart Now", restartNow},
    };
  }();
  return controls;
}

const std::vector<HiveColumn>& HiveListColumns() {
  // Each column holds its title in every language, and together they fit
  // beside a vertical scroll bar.
  static const std::vector<HiveColumn> columns = {
      {{"Hive Name", 190, TAlignment::taLeftJustify}, nullptr},
      {{"Current Size", 76, TAlignment::taRightJustify}, &RowFigures::currentSize},
      {{"New Size", 72, TAlignment::taRightJustify}, &RowFigures::newSize},
      {{"Reduction", 66, TAlignment::taRightJustify}, &RowFigures::reduction},
  };
  return columns;
}

const std::vector<MenuDef>& MainWindowMenus() {
  static const std::vector<MenuDef> menus = {
      {"pmHelp",
       {{"pmiHelp", "&Help"}, {"N1", "-"}, {"Homepage1", "H&omepage"}, {"N2", "-"},
        {"pmiCheckUpdate", "&Check for Update"}, {"N3", "-"}, {"pmiDonate", "&Donate"}, {"N4", "-"},
        {"pmiUndo", "&Undo Last Defragmentation"}, {"N5", "-"}, {"About1", "&About..."}}},
      {"pmLanguage",
       {{"miChinese", "&Chinese"}, {"miDutch", "&Dutch"}, {"miEnglish", "&English"}, {"miFrench", "&French"},
        {"miGerman", "&German"}, {"miItalian", "&Italian"}, {"miSpanish", "&Spanish"}, {"N6", "-"},
        {"miOther", "Other"}}},
  };
  return menus;
}

namespace {

std::vector<MainControls::Total> TotalsOf(TForm& form) {
  std::vector<MainControls::Total> totals;
  for (const TotalRow& row : TotalRows()) totals.push_back({*form.Find<TLabel>(row.caption), *form.Find<TLabel>(row.figure)});
  return totals;
}

}  // namespace

MainControls::MainControls(TForm& form)
    : hiveList(*form.Find<TListView>("lvMain")),
      hiveInfo(*form.Find<TLabel>("lHiveInfo")),
      title(*form.Find<TLabel>("lTitle")),
      analyze(*form.Find<TFlatSpeedButton>("bAnalyzeRegistry")),
      defrag(*form.Find<TFlatSpeedButton>("bDefragRegistry")),
      options(*form.Find<TFlatSpeedButton>("bOptions")),
      language(*form.Find<TFlatSpeedButton>("bLanguage")),
      help(*form.Find<TFlatSpeedButton>("bAbout")),
      exit(*form.Find<TFlatSpeedButton>("bExit")),
      restartNow(*form.Find<TFlatSpeedButton>("bRestartNow")),
      minimize(*form.Find<TsuiImageButton>("bMinimize")),
      close(*form.Find<TControl>("bClose")),
      homeLink(*form.Find<TsuiURLLabel>("suiURLLabel1")),
      totals(TotalsOf(form)),
      stepHint{form.Find<TLabel>("Label6"), form.Find<TLabel>("Label2"), form.Find<TLabel>("Label1"),
               form.Find<TLabel>("Label3")},
      restartPending(*form.Find<TLabel>("lRestartPending")),
      helpMenu(*form.Find<TPopupMenu>("pmHelp")),
      languageMenu(*form.Find<TPopupMenu>("pmLanguage")),
      helpItem(*form.Find<TMenuItem>("pmiHelp")),
      homepageItem(*form.Find<TMenuItem>("Homepage1")),
      checkUpdateItem(*form.Find<TMenuItem>("pmiCheckUpdate")),
      donateItem(*form.Find<TMenuItem>("pmiDonate")),
      undoItem(*form.Find<TMenuItem>("pmiUndo")),
      aboutItem(*form.Find<TMenuItem>("About1")),
      commands{{{analyze, 'A'},
                {defrag, 'D'},
                {options, 'O'},
                {language, 'L'},
                {help, 'H'},
                {exit, 'X'},
                {restartNow, 'R'}}} {}

}  // namespace vh
