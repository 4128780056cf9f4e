// The main window's controls and menus as data, in creation order, and the
// typed members the window binds them to.
#pragma once

#include <array>
#include <vector>

#include "app/totals.h"
#include "hive/figures.h"
#include "ui/controls_win.h"
#include "ui/layout_win.h"

namespace vh {

class TControl;
class TForm;
class TListView;
class TLabel;
class TFlatSpeedButton;
class TMenuItem;
class TPopupMenu;
class TsuiImageButton;
class TsuiURLLabel;

constexpr int kMainClientWidth = 556;
constexpr int kMainClientHeight = 392;

const std::vector<ControlDef>& MainWindowControls();
const std::vector<MenuDef>& MainWindowMenus();

// A column of the hive list: its title, width and alignment, and the
// figure of a hive's row it shows; none for the first, the hive's name,
// which the list is filled with. A column's title is translated by its
// place (lvMain_Column<N>).
struct HiveColumn {
  TListColumn column;
  const std::string RowFigures::*figure;
};
const std::vector<HiveColumn>& HiveListColumns();

// The main window's controls, bound by name once, beside the layout that
// names them: a name missing from the layout fails when the window is made,
// not when a command runs. Nothing else refers to a control by its name.
struct MainControls {
  explicit MainControls(TForm& form);

  // A total's caption and its figure, read together by screen readers.
  struct Total {
    TLabel& caption;
    TLabel& figure;
  };
  // A command button and the accelerator it falls back to when its caption
  // has none of its own (or one another button took).
  struct Command {
    TFlatSpeedButton& button;
    char letter;
  };

  TListView& hiveList;
  // Under the list: the selected hive's full name, file and Windows' own
  // reorganisation.
  TLabel& hiveInfo;
  TLabel& title;
  TFlatSpeedButton& analyze;
  TFlatSpeedButton& defrag;
  TFlatSpeedButton& options;
  TFlatSpeedButton& language;
  TFlatSpeedButton& help;
  TFlatSpeedButton& exit;
  TFlatSpeedButton& restartNow;
  TsuiImageButton& minimize;
  TControl& close;
  TsuiURLLabel& homeLink;
  // One a row of TotalRows, in its order.
  std::vector<Total> totals;
  // The step hint, which the restart warning replaces.
  std::array<TLabel*, 4> stepHint;
  TLabel& restartPending;
  TPopupMenu& helpMenu;
  TPopupMenu& languageMenu;
  // The help menu's items, top to bottom, without the separators.
  TMenuItem& helpItem;
  TMenuItem& homepageItem;
  TMenuItem& checkUpdateItem;
  TMenuItem& donateItem;
  TMenuItem& undoItem;
  TMenuItem& aboutItem;
  // Top to bottom as laid out; the reading order is computed.
  std::array<Command, 7> commands;
};

}  // namespace vh
