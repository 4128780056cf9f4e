#include "app/main_window_win.h"

#include <windowsx.h>

#include <utility>

#include "about/about_box_win.h"
#include "app/drag_area.h"
#include "app/main_layout_win.h"
#include "app/run_log_win.h"
#include "ui/window_messages_win.h"
#include "app/single_instance_win.h"
#include "platform/string_table_win.h"
#include "app/version_code.h"
#include "flat/flat_speed_button_win.h"
#include "flat/speed_button_layout.h"
#include "hive/catalogue.h"
#include "hive/copy_check.h"
#include "hive/hive_copy.h"
#include "lang/language_menu.h"
#include "lang/messages.h"
#include "lang/translate_form_win.h"
#include "platform/error.h"
#include "platform/win32_platform_win.h"
#include "res/string_ids.h"
#include "settings/options.h"
#include "settings/options_dialog_win.h"
#include "skin/image_button_win.h"
#include "skin/url_label_win.h"
#include "ui/accel.h"
#include "ui/error_report_win.h"
#include "ui/controls_win.h"
#include "ui/menu_win.h"
#include "ui/message_box_win.h"
#include "ui/tab_order.h"

namespace vh {

const char kMainWindowClass[] = "Varnhold Made by Tolvane Software";

namespace {

FormDef MainForm() {
  FormDef frame;
  frame.name = "frmMain";
  frame.caption = "frmMain";
  frame.clientWidth = kMainClientWidth;
  frame.clientHeight = kMainClientHeight;
  frame.border = TBorderStyle::bsNone;
  frame.position = TPosition::poScreenCenter;
  frame.className = kMainWindowClass;
  return frame;
}

DragKind DragKindOf(TComponent& c) {
  if (dynamic_cast<TImage*>(&c)) return DragKind::Picture;
  if (dynamic_cast<TLabel*>(&c)) return DragKind::Label;  // the URL labels derive from TLabel
  if (dynamic_cast<TFlatSpeedButton*>(&c)) return DragKind::FlatButton;
  return DragKind::Other;
}

}  // namespace

TfrmMain::TfrmMain(Platform& platform) : TForm(nullptr, MainForm()), platform_(platform) {
  isMainForm = true;
  // The taskbar shows the application's title; the window's own caption
  // is never drawn on the borderless window.
  SetWindowTextA(Handle(), "Varnhold");
  // A borderless window still minimises to, and restores from, its
  // taskbar button.
  SetWindowLongA(Handle(), GWL_STYLE, GetWindowLongA(Handle(), GWL_STYLE) | WS_MINIMIZEBOX | WS_SYSMENU);
  InstantiateLayout(*this, MainWindowControls(), MainWindowMenus());
  controls_.emplace(*this);
  commands_.emplace(MainSession{platform_, Hives, options_, false, RunningOnWow64, *this});
  BindHandlers();
  controls_->homeLink.SetURL(LoadResString(IDS_HOME_URL));
  controls_->homeLink.SetShell(&platform_.shell);
  controls_->minimize.SetUIStyle(TsuiUIStyle::FromThemeFile);
  SetUpKeyboardAndAccessibility();
  SetAppErrorText([this](const AppError& e) { return ShownText(e); });
}

TfrmMain::~TfrmMain() { SetAppErrorText(nullptr); }

void TfrmMain::BindHandlers() {
  MainControls& c = *controls_;
  c.analyze.OnClick = Bind(this, &TfrmMain::AnalyzeClick);
  c.defrag.OnClick = Bind(this, &TfrmMain::DefragClick);
  c.options.OnClick = Bind(this, &TfrmMain::OptionsClick);
  c.language.OnClick = Bind(this, &TfrmMain::LanguageClick);
  c.help.OnClick = Bind(this, &TfrmMain::HelpClick);
  c.exit.OnClick = Bind(this, &TfrmMain::ExitClick);
  c.close.OnClick = Bind(this, &TfrmMain::CloseClick);
  c.minimize.OnClick = Bind(this, &TfrmMain::MinimizeClick);
  c.restartNow.OnClick = Bind(this, &TfrmMain::RestartNowClick);
  c.helpItem.OnClick = Bind(this, &TfrmMain::HelpItemClick);
  c.homepageItem.OnClick = Bind(this, &TfrmMain::HomepageItemClick);
  c.checkUpdateItem.OnClick = Bind(this, &TfrmMain::CheckUpdateItemClick);
  c.donateItem.OnClick = Bind(this, &TfrmMain::DonateItemClick);
  c.undoItem.OnClick = Bind(this, &TfrmMain::UndoItemClick);
  c.aboutItem.OnClick = Bind(this, &TfrmMain::AboutItemClick);
  // Every language item serves its language by its name.
  for (TMenuItem* item : c.languageMenu.Items())
    if (!item->IsSeparator()) item->OnClick = Bind(this, &TfrmMain::LanguageItemClick);
}

std::string TfrmMain::ShownText(const AppError& error) {
  return error.messageId ? Text(error.messageId, error.values) : std::string(error.what());
}

void TfrmMain::SetUpKeyboardAndAccessibility() {
  ExposeWindowlessControls();
  controls_->close.tabStop = true;
  controls_->close.accessibleName = "Close";
  controls_->homeLink.tabStop = true;
  controls_->minimize.accessibleName = "Minimize";
}

// The commands from top to bottom.
std::vector<TControl*> TfrmMain::ArrowGroup() {
  std::vector<TControl*> buttons, commands;
  std::vector<Rect> bounds;
  for (const MainControls::Command& command : controls_->commands) {
    buttons.push_back(&command.button);
    bounds.push_back(command.button.BoundsRect());
  }
  for (int i : ReadingOrder(bounds)) commands.push_back(buttons[std::size_t(i)]);
  return commands;
}

std::vector<TControl*> TfrmMain::TabOrder() {
  std::vector<TControl*> order{&controls_->hiveList};
  for (TControl* command : ArrowGroup()) order.push_back(command);
  for (TControl* control : {static_cast<TControl*>(&controls_->minimize), &controls_->close,
                            static_cast<TControl*>(&controls_->homeLink)})
    order.push_back(control);
  return order;
}

std::vector<AccessibleChild> TfrmMain::AccessibleChildren() {
  std::vector<AccessibleChild> children = TForm::AccessibleChildren();
  auto indexOf = [&children](const TComponent* c) {
    for (std::size_t i = 0; i < children.size(); ++i)
      if (children[i].control == c) return int(i);
    return -1;
  };
  for (const MainControls::Total& total : controls_->totals) {
    int label = indexOf(&total.caption);
    int figure = indexOf(&total.figure);
    if (label < 0 || figure < 0) continue;
    children[std::size_t(label)].element =
        JoinLabelAndFigure(children[std::size_t(label)].element, children[std::size_t(figure)].element);
    children.erase(children.begin() + figure);
  }
  return children;
}

TLabel& TfrmMain::Label(const char* name) {
  const MainControls& c = *controls_;
  std::vector<TLabel*> labels{&c.title, &c.restartPending, &c.hiveInfo};
  labels.insert(labels.end(), c.stepHint.begin(), c.stepHint.end());
  for (const MainControls::Total& total : c.totals) labels.insert(labels.end(), {&total.caption, &total.figure});
  for (TLabel* label : labels)
    if (label->Name() == name) return *label;
  throw AppError(std::string("the main window binds no label named ") + name);
}

void TfrmMain::FormCreate() {
  LoadSaveOptions(options_, platform_.profiles, OptionsFilePath(platform_.files), true);
  Hives.clear();
  ShowTotals(nullptr);
  controls_->title.SetCaption(controls_->title.Caption() + " " + LoadResString(IDS_VERSION_SUFFIX));
}

void TfrmMain::FormShow() {
  RunningOnWow64 = IsWow64(platform_.system);
  HiveCatalogue(platform_.registry, platform_.volumes, platform_.files,
                [this](const std::string& line) { RecordFailure(line); })
      .BuildHiveCatalogue(Hives);
  // A run killed while it checked a copy left that copy loaded.
  ReleaseStaleCheckKey(platform_.registry, platform_.privileges);
  controls_->hiveList.AddRows(Hives.HiveNames);
  controls_->hiveList.OnSelectItem = [this](int row) { ShowHiveInfo(row); };
  commands_->Restart().FindPendingNow();
  // The commands as they stand; the undo is offered once the journal is read.
  commands_->ShowState();
  PostMessageA(Handle(), WM_AFTERFIRSTPAINT, 0, 0);
  if (!IsSupportedVersionCode(GetWindowsVersionCode(platform_.system.GetVersion()))) {
    ShowMessageBox(Text(IDS_UNSUPPORTED_SYSTEM));
    return;
  }
  SetGridLines(options_.IsShowLine);
  TickLanguageMenu();
  TranslateOnShow(*this, platform_, options_.Lan);
  FitSpeedButtons();
}

// Neither the System log (slow to query when it is full) nor the journal
// changes what the window first shows: the undo item is in a menu, and the
// reorganisations in the info line of a row not yet selected.
void TfrmMain::ReadAfterFirstPaint() {
  UpdateWindow(Handle());
  reorganizations_ = ReadReorganizations(platform_, Hives);
  commands_->RefreshUndo();
}

void TfrmMain::TickLanguageMenu() {
  for (TMenuItem* item : controls_->languageMenu.Items())
    item->Checked = IsLanguageItemTicked(item->Name(), options_.Lan);
}

void TfrmMain::TickLanguageItem(const std::string& itemName) {
  for (TMenuItem* item : controls_->languageMenu.Items()) item->Checked = item->Name() == itemName;
}

void TfrmMain::ShowTotals(const AnalysisFigures* f) {
  if (!f) {
    for (const MainControls::Total& total : controls_->totals) total.figure.SetCaption("");
    return;
  }
  for (std::size_t i = 0; i < controls_->totals.size(); ++i)
    controls_->totals[i].figure.SetCaption(f->*TotalRows()[i].measured);
}

void TfrmMain::ShowRows(const AnalysisFigures& f) {
  const std::vector<HiveColumn>& columns = HiveListColumns();
  for (std::size_t i = 0; i < f.rows.size(); ++i) {
    for (std::size_t c = 0; c < columns.size(); ++c)
      if (columns[c].figure) controls_->hiveList.SetCell(int(i), int(c), f.rows[i].*columns[c].figure);
  }
}

void TfrmMain::ShowCommands(const EnabledCommands& on) {
  MainControls& c = *controls_;
  c.analyze.SetEnabled(on.analyze);
  c.defrag.SetEnabled(on.defrag);
  c.undoItem.Enabled = on.undo;
  // The step hint gives way to the warning and its command.
  for (TLabel* hint : c.stepHint) hint->SetVisible(!on.pendingWarning);
  c.restartPending.SetVisible(on.pendingWarning);
  c.restartNow.SetVisible(on.pendingWarning);
  c.restartNow.SetEnabled(on.restartNow);
}

void TfrmMain::WatchRestart(unsigned ms) {
  if (ms == 0) {
    KillTimer(Handle(), kRestartWatchTimer);
  } else {
    SetTimer(Handle(), kRestartWatchTimer, ms, nullptr);
  }
}

void TfrmMain::SetGridLines(bool on) { controls_->hiveList.SetGridLines(on); }

void TfrmMain::FitSpeedButtons() {
  // Every language gets one accelerator per command, unique in the window.
  std::vector<std::string> captions;
  std::vector<char> defaults;
  for (const MainControls::Command& command : controls_->commands) {
    captions.push_back(command.button.Caption());
    defaults.push_back(command.letter);
  }
  std::vector<std::string> marked = AssignAccelerators(captions, defaults);
  for (std::size_t i = 0; i < marked.size(); ++i) controls_->commands[i].button.SetCaption(marked[i]);

  std::vector<SpeedButtonFit> buttons;
  for (TComponent* c : Components())
    if (auto* b = dynamic_cast<TFlatSpeedButton*>(c))
      buttons.push_back({b->Caption(), [b](int width) { b->SetWidth(width); }});
  const ClientDC client(Handle());
  const HDC dc = client.dc();
  const SelectScope font(dc, FontHandle());
  vh::FitSpeedButtons(buttons, [dc](const std::string& caption) {
    const std::string text = StripAccelerator(caption);  // the mark takes no room
    return int(TextExtentUtf8(dc, text).cx);
  });
}

void TfrmMain::FormClose(TCloseAction&) {
  // A second close while the first one's message box is up closes nothing
  // twice and shows no second box.
  if (closing_) return;
  closing_ = true;
  // A pending swap renamed its copy already; while swaps wait, nothing
  // beside a hive is the program's to delete.
  if (!SwapsPending()) DeleteLeftoverCopies(platform_.files, Hives.HiveFiles);
  Hives.clear();
  SaveSettingsOnClose();
}

void TfrmMain::SaveSettingsOnClose() {
  // Closing never fails: a settings file that cannot be written is
  // reported once, and the window closes all the same.
  try {
    LoadSaveOptions(options_, platform_.profiles, OptionsFilePath(platform_.files), false);
  } catch (const AppError& e) {
    ShowMessageBox(ShownText(e), MB_OK | MB_ICONERROR);
  }
}

bool TfrmMain::IsDragArea(int x, int y) const {
  std::vector<DragCandidate> candidates;
  for (TComponent* c : Components()) {
    auto* control = dynamic_cast<TControl*>(c);
    if (!control) continue;
    const Rect& r = control->BoundsRect();
    candidates.push_back({c->Name(), DragKindOf(*c), control->Visible(), r.left, r.top, r.Width(), r.Height()});
  }
  return vh::IsDragArea(candidates, x, y);
}

LRESULT TfrmMain::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST: {
      LRESULT hit = TForm::WndProc(msg, wp, lp);
      if (hit != HTCLIENT) return hit;
      RECT w;
      GetWindowRect(Handle(), &w);
      return IsDragArea(GET_X_LPARAM(lp) - w.left, GET_Y_LPARAM(lp) - w.top) ? HTCAPTION : HTCLIENT;
    }
    case WM_WAKEINSTANCE:
      ShowWindow(Handle(), SW_SHOW);
      if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
      SetForegroundWindow(LastUsedWindow(Handle()));
      return 0;
    case WM_AFTERFIRSTPAINT:
      ReadAfterFirstPaint();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      commands_->Restart().EndSession(wp != 0, (lp & ENDSESSION_LOGOFF) != 0);
      return 0;
    case WM_TIMER:
      if (wp != kRestartWatchTimer) return TForm::WndProc(msg, wp, lp);
      commands_->Restart().OnTimer();
      return 0;
    default:
      return TForm::WndProc(msg, wp, lp);
  }
}

Messages TfrmMain::CurrentMessages() { return commands_->Session().CurrentMessages(); }

std::string TfrmMain::Text(unsigned messageId, const std::vector<std::string>& values) {
  return commands_->Session().Text(messageId, values);
}

void TfrmMain::RecordFailure(const std::string& text) { AppendToRunLog(platform_.files, text); }

void TfrmMain::AnalyzeClick(TObject&) { RunAnalysis(); }
void TfrmMain::DefragClick(TObject&) { RunDefrag(); }
void TfrmMain::UndoItemClick(TObject&) { RunUndo(); }
void TfrmMain::RestartNowClick(TObject&) { commands_->Restart().TryAgain(); }

void TfrmMain::OptionsClick(TObject&) {
  std::optional<TOptionsSetting> edited = EditOptions(ForDialog(), options_);
  if (!edited) return;
  options_ = *edited;
  SetGridLines(options_.IsShowLine);
  LoadSaveOptions(options_, platform_.profiles, OptionsFilePath(platform_.files), false);
}

void TfrmMain::AboutItemClick(TObject&) {
  auto dialog = CreateForm<TfrmAbout>(ForDialog());
  dialog->ShowModal();
}

void TfrmMain::ExitClick(TObject&) { TForm::Close(); }
void TfrmMain::CloseClick(TObject&) { TForm::Close(); }
void TfrmMain::MinimizeClick(TObject&) { PostMessageA(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0); }

void TfrmMain::OpenAddress(unsigned stringId) { platform_.shell.Open(LoadResString(stringId)); }
void TfrmMain::HomepageItemClick(TObject&) { OpenAddress(IDS_HOME_URL); }
void TfrmMain::HelpItemClick(TObject&) { OpenAddress(IDS_HELP_URL); }
void TfrmMain::CheckUpdateItemClick(TObject&) { OpenAddress(IDS_UPDATE_URL); }
void TfrmMain::DonateItemClick(TObject&) { OpenAddress(IDS_DONATE_URL); }

// A click opens the menu at the pointer; a key, or a screen reader's
// "Press", while the pointer is elsewhere opens it below the button.
void TfrmMain::PopupAtButton(TPopupMenu& popup, TObject& sender) {
  POINT at;
  GetCursorPos(&at);
  if (auto* button = dynamic_cast<TControl*>(&sender); button && button != this) {
    Point local = button->ScreenToClient(Point{at.x, at.y});
    if (!Contains(button->ClientRect(), local)) {
      Point below = button->ClientToScreen(Point{0, button->Height()});
      at = POINT{below.x, below.y};
    }
  }
  popup.ownerWindow = Handle();
  popup.Popup(at.x, at.y);
}

void TfrmMain::HelpClick(TObject& sender) {
  commands_->RefreshUndo();
  PopupAtButton(controls_->helpMenu, sender);
}
void TfrmMain::LanguageClick(TObject& sender) { PopupAtButton(controls_->languageMenu, sender); }

namespace {

// What the language menu needs of the main window.
class MenuHost final : public LanguageMenuHost {
 public:
  MenuHost(TfrmMain& form, Platform& platform) : form_(form), platform_(platform) {}
  void TickOnly(const std::string& item) override { form_.TickLanguageItem(item); }
  void TranslateMainWindow(const std::string& language) override { TranslateFormTo(form_, platform_, language); }
  void FitSpeedButtons() override { form_.FitSpeedButtons(); }
  void ShowMessage(const std::string& text) override { ShowMessageBox(text); }

 private:
  TfrmMain& form_;
  Platform& platform_;
};

}  // namespace

void TfrmMain::LanguageItemClick(TObject& sender) {
  MenuHost host(*this, platform_);
  LanguageMenuServices services{platform_.files, platform_.profiles, platform_.shell,
                                LoadResString(IDS_TRANSLATION_URL)};
  vh::miEnglishClick(sender.Name(), options_.Lan, services, host);
}

}  // namespace vh
