// The main window without a mouse: its accessible tree as a screen reader
// walks it (AccessibleObjectFromWindow), the default action of a command,
// a whole run driven by keys (SendInput) and the focus mark on screen.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <type_traits>
#include <map>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "ui/window_messages_win.h"
#include "app/single_instance_win.h"
#include "flat/flat_speed_button_win.h"
#include "hive/hive_copy.h"
#include "platform/text_win.h"
#include "scan/progress_dialog_win.h"
#include "settings/ask_delete_dialog_win.h"
#include "settings/options.h"
#include "settings/options_dialog_win.h"
#include "skin/check_box_win.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/main_window_fixture.h"
#include "tests/wine/support/program_win.h"
#include "tests/wine/support/ui_test_support.h"
#include "tests/wine/support/control_lookup.h"
#include "tests/wine/support/wait_win.h"
#include "ui/controls_win.h"
#include "ui/gdi_win.h"

namespace vh {
namespace {

using test::BuiltProgram;

struct Node {
  long id = 0;
  std::string name, description, action, shortcut;
  long role = 0;
  long state = 0;
  RECT location{};
  bool window = false;  // a child window's own object
};

// The text as the client received it, in UTF-8 as the program keeps its
// texts: a character the program sent otherwise than as its own UTF-16
// reads back as other characters.
std::string Narrow(BSTR text) {
  if (!text) return "";
  std::string out = WideToUtf8(text, SysStringLen(text));
  SysFreeString(text);
  return out;
}

VARIANT Child(long id) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// The client object of a window, as any MSAA client gets it.
IAccessible* ClientObject(HWND hwnd) {
  IAccessible* acc = nullptr;
  HRESULT hr = AccessibleObjectFromWindow(hwnd, DWORD(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&acc));
  return SUCCEEDED(hr) ? acc : nullptr;
}

std::vector<Node> Walk(IAccessible* acc) {
  std::vector<Node> nodes;
  long count = 0;
  acc->get_accChildCount(&count);
  for (long id = 1; id <= count; ++id) {
    Node n;
    n.id = id;
    IDispatch* object = nullptr;
    n.window = acc->get_accChild(Child(id), &object) == S_OK && object;
    if (object) object->Release();
    BSTR text = nullptr;
    if (acc->get_accName(Child(id), &text) == S_OK) n.name = Narrow(text);
    text = nullptr;
    if (acc->get_accDescription(Child(id), &text) == S_OK) n.description = Narrow(text);
    text = nullptr;
    if (acc->get_accDefaultAction(Child(id), &text) == S_OK) n.action = Narrow(text);
    text = nullptr;
    if (acc->get_accKeyboardShortcut(Child(id), &text) == S_OK) n.shortcut = Narrow(text);
    VARIANT v;
    VariantInit(&v);
    if (acc->get_accRole(Child(id), &v) == S_OK && v.vt == VT_I4) n.role = v.lVal;
    VariantClear(&v);
    if (acc->get_accState(Child(id), &v) == S_OK && v.vt == VT_I4) n.state = v.lVal;
    VariantClear(&v);
    long x = 0, y = 0, w = 0, h = 0;
    if (SUCCEEDED(acc->accLocation(&x, &y, &w, &h, Child(id)))) n.location = RECT{x, y, x + w, y + h};
    nodes.push_back(n);
  }
  return nodes;
}

// The node of that name; of that role too when one is given ("Help" is
// both a heading and a button).
const Node* Named(const std::vector<Node>& nodes, const std::string& name, long role = 0) {
  for (const Node& n : nodes)
    if (n.name == name && (role == 0 || n.role == role)) return &n;
  return nullptr;
}

RECT ScreenRect(const TControl& c) {
  Point p = c.ClientToScreen(Point{0, 0});
  return RECT{p.x, p.y, p.x + c.Width(), p.y + c.Height()};
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Keys as the keyboard sends them: the modifier held around the key.
void Key(WORD vk, WORD modifier = 0) {
  std::vector<INPUT> in;
  auto add = [&in](WORD k, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  };
  if (modifier) add(modifier, false);
  add(vk, false);
  add(vk, true);
  if (modifier) add(modifier, true);
  SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

// A dialog of this thread with that caption once it has the keyboard.
test::WindowQuery ActiveDialog(const char* caption) { return {caption, "", 0, GetCurrentThreadId(), true}; }

// One key going down, or coming up, alone.
void KeyEvent(WORD vk, bool up) {
  INPUT i{};
  i.type = INPUT_KEYBOARD;
  i.ki.wVk = vk;
  i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &i, sizeof(INPUT));
}

// Sends one key and runs messages until the focus has moved on.
void MoveFocusWith(WORD vk, WORD modifier = 0) {
  HWND before = GetFocus();
  Key(vk, modifier);
  test::WaitUntil([before] { return GetFocus() != before; });
}

// Records the progress dialog when its scan is about to start.
bool gProgressDialogSeen = false;
LRESULT CALLBACK SeeScanStart(int code, WPARAM wp, LPARAM lp) {
  auto* msg = reinterpret_cast<MSG*>(lp);
  if (code == HC_ACTION && msg->message == WM_SCANSTART &&
      dynamic_cast<TfrmGetNewHiveProgess*>(TWinControl::FromHandle(msg->hwnd)) && IsWindowVisible(msg->hwnd))
    gProgressDialogSeen = true;
  return CallNextHookEx(nullptr, code, wp, lp);
}

std::vector<LONG> gFocusEvents;
void CALLBACK OnFocusEvent(HWINEVENTHOOK, DWORD, HWND, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_CLIENT) gFocusEvents.push_back(child);
}

class KeyboardAccessTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    MainWindowFixture::SetUp();
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    CoUninitialize();
  }
  TfrmMain& Start() {
    StartMainWindow(0);
    SetForegroundWindow(main_->Handle());
    test::PumpFor(100);
    return *main_;
  }
  TControl& Control(const char* name) { return test::Control<TControl>(*main_, name); }
  std::string Focused() {
    TControl* c = main_->FocusedChild();
    if (c && GetFocus() == main_->Handle()) return c->Name();
    TWinControl* w = TWinControl::FromHandle(GetFocus());
    return w ? w->Name() : "";
  }
  // SendInput queues the key before it returns; a key that opens a dialog
  // is handled once that dialog has closed again.
  void Type(WORD vk, WORD modifier = 0) {
    Key(vk, modifier);
    EXPECT_TRUE(test::WaitForInputHandled()) << "key " << vk << " still queued";
  }
};

TEST_F(KeyboardAccessTest, AScreenReaderFindsEveryCommandLabelFigureAndImage) {
  TfrmMain& w = Start();
  w.Label("lCurrentRegistrySize").SetCaption("96,229 KB");
  IAccessible* acc = ClientObject(w.Handle());
  ASSERT_NE(acc, nullptr) << "the main window answers WM_GETOBJECT";
  std::vector<Node> nodes = Walk(acc);

  const Node* analyze = Named(nodes, "Analyze Registry");
  ASSERT_NE(analyze, nullptr) << "caption without its ampersand";
  EXPECT_EQ(analyze->role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(analyze->description, "Analyze your registry");
  EXPECT_EQ(analyze->action, "Press");
  EXPECT_EQ(analyze->shortcut, "Alt+A");
  EXPECT_TRUE(SameRect(analyze->location, ScreenRect(Control("bAnalyzeRegistry"))));
  EXPECT_EQ(analyze->state & STATE_SYSTEM_UNAVAILABLE, 0);
  EXPECT_NE(analyze->state & STATE_SYSTEM_FOCUSABLE, 0);

  const Node* defrag = Named(nodes, "Defrag Registry");
  ASSERT_NE(defrag, nullptr);
  EXPECT_NE(defrag->state & STATE_SYSTEM_UNAVAILABLE, 0) << "disabled until an analysis";
  for (const char* name : {"Options", "Language", "Help", "Exit"}) {
    const Node* n = Named(nodes, name, ROLE_SYSTEM_PUSHBUTTON);
    ASSERT_NE(n, nullptr) << name << " as a push button";
    EXPECT_FALSE(n->description.empty()) << name;
  }
  EXPECT_EQ(Named(nodes, "Homepage"), nullptr) << "hidden buttons are not listed";

  const Node* figure = Named(nodes, "Current Registry Size: 96,229 KB");
  ASSERT_NE(figure, nullptr) << "label and figure read together";
  EXPECT_EQ(figure->role, ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(figure->location.right, ScreenRect(Control("lCurrentRegistrySize")).right);
  EXPECT_EQ(Named(nodes, "96,229 KB"), nullptr) << "the figure is not read twice";
  const Node* empty = Named(nodes, "New Registry Size:");
  ASSERT_NE(empty, nullptr) << "an empty figure leaves its caption";

  const Node* close = Named(nodes, "Close");
  const Node* minimize = Named(nodes, "Minimize");
  ASSERT_NE(close, nullptr);
  ASSERT_NE(minimize, nullptr);
  EXPECT_EQ(close->role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(minimize->role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_TRUE(SameRect(close->location, ScreenRect(Control("bClose"))));
  EXPECT_TRUE(SameRect(minimize->location, ScreenRect(Control("bMinimize"))));

  const Node* link = Named(nodes, "tolvane.com");
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->role, ROLE_SYSTEM_LINK);

  bool listView = false;
  RECT list;
  GetWindowRect(w.lvMain().Handle(), &list);
  for (const Node& n : nodes) listView = listView || (n.window && SameRect(n.location, list));
  EXPECT_TRUE(listView) << "the list view is handed out as its own standard object";

  // A point on a button hits it; the window's own role comes from the system.
  VARIANT hit;
  VariantInit(&hit);
  ASSERT_EQ(acc->accHitTest(analyze->location.left + 5, analyze->location.top + 5, &hit), S_OK);
  EXPECT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(hit.lVal, analyze->id);
  VARIANT role;
  VariantInit(&role);
  ASSERT_EQ(acc->get_accRole(Child(CHILDID_SELF), &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_CLIENT);
  acc->Release();
}

// A screen reader reads the window in the language chosen, whatever the
// system's code page (Western here): an ideograph or an umlaut is one UTF-16
// unit, not the bytes of its UTF-8 taken for Western characters.
TEST_F(KeyboardAccessTest, AScreenReaderReadsTheNamesInTheLanguageChosen) {
  ASSERT_NE(GetACP(), 936u) << "this prefix must have a Western code page";
  struct Spoken {
    const char* menuItem;
    const wchar_t* name;
  };
  const Spoken spoken[] = {
      {"miChinese", L"\u5F53\u524D\u6CE8\u518C\u8868\u5927\u5C0F\uFF1A"},  // 当前注册表大小：
      {"miGerman", L"Aktuelle Gr\u00F6\u00DFe:"},
      {"miFrench", L"D\u00E9fragmenter"},
  };
  TfrmMain& w = Start();
  for (const Spoken& s : spoken) {
    w.LanguageItemClick(*w.FindComponent(s.menuItem));
    IAccessible* acc = ClientObject(w.Handle());
    ASSERT_NE(acc, nullptr) << s.menuItem;
    std::vector<Node> nodes = Walk(acc);
    acc->Release();
    std::string names;
    for (const Node& n : nodes) names += "[" + n.name + "]";
    EXPECT_NE(Named(nodes, WideToUtf8(s.name)), nullptr) << s.menuItem << ": " << names;
  }
  SetTextCodePage(0);
}

TEST_F(KeyboardAccessTest, FocusIsReportedInTheTreeAndByAFocusEvent) {
  TfrmMain& w = Start();
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocusEvent,
                                       GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  gFocusEvents.clear();
  EXPECT_EQ(Focused(), "lvMain") << "the list view comes first";
  Type(VK_TAB);
  ASSERT_EQ(Focused(), "bAnalyzeRegistry");
  IAccessible* acc = ClientObject(w.Handle());
  ASSERT_NE(acc, nullptr);
  std::vector<Node> nodes = Walk(acc);
  const Node* analyze = Named(nodes, "Analyze Registry");
  ASSERT_NE(analyze, nullptr);
  EXPECT_NE(analyze->state & STATE_SYSTEM_FOCUSED, 0);
  EXPECT_EQ(Named(nodes, "Options")->state & STATE_SYSTEM_FOCUSED, 0);
  VARIANT focus;
  VariantInit(&focus);
  ASSERT_EQ(acc->get_accFocus(&focus), S_OK);
  EXPECT_EQ(focus.vt, VT_I4);
  EXPECT_EQ(focus.lVal, analyze->id);
  Type(VK_TAB);  // Defrag is disabled: skipped
  EXPECT_EQ(Focused(), "bOptions");
  test::PumpFor(50);
  UnhookWinEvent(hook);
  long options = Named(nodes, "Options")->id;
  ASSERT_FALSE(gFocusEvents.empty()) << "no EVENT_OBJECT_FOCUS raised";
  EXPECT_EQ(gFocusEvents.back(), options);
  acc->Release();
}

TEST_F(KeyboardAccessTest, TabVisitsTheCommandsInOrderThenTheImagesAndShiftTabGoesBack) {
  Start();
  std::vector<std::string> seen;
  for (int i = 0; i < 9; ++i) {
    Type(VK_TAB);
    seen.push_back(Focused());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"bAnalyzeRegistry", "bOptions", "bLanguage", "bAbout", "bExit",
                                            "bMinimize", "bClose", "suiURLLabel1", "lvMain"}));
  Type(VK_TAB, VK_SHIFT);
  EXPECT_EQ(Focused(), "suiURLLabel1");
  Type(VK_TAB, VK_SHIFT);
  EXPECT_EQ(Focused(), "bClose");
  Type(VK_ESCAPE);
  EXPECT_TRUE(main_->Visible()) << "Esc does nothing in the main window";
  EXPECT_EQ(Focused(), "bClose");
}

TEST_F(KeyboardAccessTest, UpAndDownMoveAmongTheCommandsSpacePressesOnReleaseAndAClickTakesTheFocus) {
  TfrmMain& w = Start();
  Type(VK_TAB);
  ASSERT_EQ(Focused(), "bAnalyzeRegistry");
  std::vector<std::string> seen;
  for (int i = 0; i < 5; ++i) {
    Type(VK_DOWN);
    seen.push_back(Focused());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"bOptions", "bLanguage", "bAbout", "bExit", "bAnalyzeRegistry"}))
      << "the disabled Defrag is passed over, and Down wraps round";
  Type(VK_UP);
  EXPECT_EQ(Focused(), "bExit");
  for (int i = 0; i < 3; ++i) Type(VK_UP);
  ASSERT_EQ(Focused(), "bOptions");

  // Space held shows the pressed face; the command runs when it is let go.
  auto& options = test::Control<TFlatSpeedButton>(w, "bOptions");
  bool opened = false;
  auto esc = test::WhenShown(ActiveDialog("Options"), [&opened](HWND) {
    opened = true;
    Key(VK_ESCAPE);
  });
  KeyEvent(VK_SPACE, false);
  EXPECT_TRUE(test::WaitForInputHandled());
  EXPECT_EQ(options.GetFaceState(), FaceState::Pressed);
  EXPECT_FALSE(opened) << "pressed before Space was let go";
  KeyEvent(VK_SPACE, true);
  EXPECT_TRUE(test::WaitForInputHandled());
  EXPECT_TRUE(opened);
  EXPECT_EQ(options.GetFaceState(), FaceState::Up);

  // In the list, Up and Down are the list's own.
  w.FocusControl(w.lvMain());
  Type(VK_DOWN);
  EXPECT_EQ(Focused(), "lvMain");

  // A click moves the focus to the command clicked.
  auto again = test::WhenShown(ActiveDialog("Options"), [](HWND) { Key(VK_ESCAPE); });
  test::Press(w, options.Left() + 5, options.Top() + 5);
  test::Release(w, options.Left() + 5, options.Top() + 5);
  test::PumpFor(100);
  EXPECT_TRUE(again.answered());
  EXPECT_EQ(Focused(), "bOptions");
}

TEST_F(KeyboardAccessTest, TheLinkIsTheLastTabStopAndOpensOnEnter) {
  Start();
  Type(VK_TAB, VK_SHIFT);
  ASSERT_EQ(Focused(), "suiURLLabel1");
  std::size_t before = platform_.records().size();
  Type(VK_SPACE);
  EXPECT_EQ(platform_.records().size(), before) << "Space opened the link";
  Type(VK_RETURN);
  ASSERT_GT(platform_.records().size(), before);
  EXPECT_EQ(platform_.records().back().rfind("ShellExecuteA\tOpen\thttps://", 0), 0u) << platform_.records().back();
}

TEST_F(KeyboardAccessTest, TheFocusMovesOnWhenItsCommandIsDisabledAndComesBackAfterADialog) {
  TfrmMain& w = Start();
  w.bDefragRegistry().SetEnabled(true);
  w.FocusControl(w.bDefragRegistry());
  ASSERT_EQ(Focused(), "bDefragRegistry");
  w.bDefragRegistry().SetEnabled(false);
  EXPECT_EQ(Focused(), "bOptions") << "the next command takes the focus";
  // A dialog takes the focus away; closing it gives it back to the command.
  auto esc = test::WhenShown(ActiveDialog("Options"), [](HWND) { Key(VK_ESCAPE); });
  Type(VK_RETURN);
  test::PumpFor(100);
  EXPECT_EQ(Focused(), "bOptions");
}

TEST_F(KeyboardAccessTest, TheDefaultActionOfAnalyzeBringsUpTheProgressDialog) {
  test::TestRegistry registry;
  registry.AddHive("First", 50000, 200000);
  TfrmMain& w = Start();
  IAccessible* acc = ClientObject(w.Handle());
  ASSERT_NE(acc, nullptr);
  const Node* analyze = Named(Walk(acc), "Analyze Registry");
  ASSERT_NE(analyze, nullptr);
  gProgressDialogSeen = false;
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, SeeScanStart, nullptr, GetCurrentThreadId());
  EXPECT_EQ(acc->accDoDefaultAction(Child(analyze->id)), S_OK);
  test::PumpFor(200);
  UnhookWindowsHookEx(hook);
  EXPECT_TRUE(gProgressDialogSeen);
  EXPECT_NE(w.Label("lCurrentRegistrySize").Caption(), "") << "the analysis ran to its end";
  const Node* defrag = Named(Walk(acc), "Defrag Registry");
  ASSERT_NE(defrag, nullptr);
  EXPECT_EQ(defrag->state & STATE_SYSTEM_UNAVAILABLE, 0);
  acc->Release();
}

// What the Options dialog saw while the keys worked it.
struct OptionsVisit {
  std::string focused;
  bool checkedBefore = false;
};

TEST_F(KeyboardAccessTest, AKeyboardOnlyRunAnalysesSetsAnOptionUsesTheHelpMenuAndExits) {
  test::TestRegistry registry;
  const test::TestHive& hive = registry.AddHive("First", 50000, 200000);
  TfrmMain& w = Start();

  // Tab to "Analyze Registry" and press Enter: the analysis runs.
  Type(VK_TAB);
  ASSERT_EQ(Focused(), "bAnalyzeRegistry");
  Type(VK_RETURN);
  test::PumpFor(200);
  EXPECT_NE(w.Label("lCurrentRegistrySize").Caption(), "");
  EXPECT_TRUE(w.bDefragRegistry().Enabled());
  EXPECT_GT(QueryFileSize(platform_.real(), CopyPath(hive.file)), 0) << "a copy was written";

  // Alt+O opens Options; Space flips the focused box, Enter saves.
  OptionsVisit visit;
  auto options = test::WhenShown(ActiveDialog("Options"), [&visit](HWND) {
    TWinControl* focused = TWinControl::FromHandle(GetFocus());
    visit.focused = focused ? focused->Name() : "";
    auto* box = dynamic_cast<TsuiCheckBox*>(focused);
    if (box) visit.checkedBefore = box->Checked();
    Key(VK_SPACE);
    if (box) test::WaitUntil([box, &visit] { return box->Checked() != visit.checkedBefore; });
    Key(VK_RETURN);
  });
  Type('O', VK_MENU);
  test::PumpFor(100);
  ASSERT_FALSE(visit.focused.empty()) << "the Options dialog did not open";
  const TOptionsSetting& settings = w.Options();
  bool after = visit.focused == "cbCreateRestore" ? settings.RestorePoint
               : visit.focused == "cbAskBeforeDefrag" ? settings.IsAskBeforeDefrag
                                                       : settings.IsShowLine;
  EXPECT_NE(after, visit.checkedBefore) << visit.focused << " was not flipped";
  EXPECT_NE(GetFileAttributesA(options_.c_str()), INVALID_FILE_ATTRIBUTES) << "saved on OK";

  // Alt+H opens the Help menu below its button; Down moves in it, Esc
  // closes it without choosing.
  bool menuShown = false;
  auto down = test::WhenShown({"", "#32768", 0, GetCurrentThreadId(), false}, [&menuShown](HWND) {
    menuShown = true;
    // The menu's loop takes the keys in the order they were queued.
    Key(VK_DOWN);
    Key(VK_ESCAPE);
  });
  std::size_t recorded = platform_.records().size();
  Type('H', VK_MENU);
  test::PumpFor(100);
  EXPECT_TRUE(menuShown) << "the Help menu did not open";
  HWND menu = FindWindowA("#32768", nullptr);
  EXPECT_FALSE(menu && IsWindowVisible(menu)) << "Esc closed the menu";
  EXPECT_EQ(platform_.records().size(), recorded) << "nothing was chosen";
  EXPECT_TRUE(w.Visible());

  // Alt+X exits, with the clean-up of the close image: copies deleted.
  Type('X', VK_MENU);
  test::PumpFor(100);
  EXPECT_FALSE(w.Visible());
  EXPECT_EQ(QueryFileSize(platform_.real(), CopyPath(hive.file)), 0) << "the leftover copy was deleted";
  EXPECT_TRUE(boxes_.texts.empty());
}

TEST_F(KeyboardAccessTest, AltF4ClosesWithTheSameCleanUpAsTheCloseImage) {
  test::TestRegistry registry;
  const test::TestHive& hive = registry.AddHive("First", 50000, 200000);
  TfrmMain& w = Start();
  w.AnalyzeClick(w);
  ASSERT_GT(QueryFileSize(platform_.real(), CopyPath(hive.file)), 0);
  Type(VK_F4, VK_MENU);
  test::PumpFor(100);
  EXPECT_FALSE(w.Visible());
  EXPECT_EQ(QueryFileSize(platform_.real(), CopyPath(hive.file)), 0);
  EXPECT_NE(GetFileAttributesA(options_.c_str()), INVALID_FILE_ATTRIBUTES) << "settings saved";
}

// The screen under the window, as a screenshot takes it.
std::vector<COLORREF> Grab(const RECT& r) {
  HDC screen = GetDC(nullptr);
  std::vector<COLORREF> pixels;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) pixels.push_back(GetPixel(screen, x, y));
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The user's "underline keyboard shortcuts" setting for one test, put back
// afterwards (not written to the profile).
class KeyboardCues {
 public:
  explicit KeyboardCues(bool always) {
    SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &old_, 0);
    SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(INT_PTR(always)), 0);
  }
  ~KeyboardCues() { SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(INT_PTR(old_)), 0); }

 private:
  BOOL old_ = FALSE;
};

TEST_F(KeyboardAccessTest, TheFocusedButtonShowsADottedRectangleOnScreenOnlyOnceTheKeyboardIsUsed) {
  KeyboardCues hidden(false);
  TfrmMain& w = Start();
  TControl& options = Control("bOptions");
  RECT r = ScreenRect(options);
  std::vector<COLORREF> plain = Grab(r);
  // Focus given without a key: the mark stays hidden, as Windows does.
  w.FocusControl(options);
  test::PumpFor(100);
  EXPECT_FALSE(w.FocusCuesShown());
  EXPECT_FALSE(w.AcceleratorCuesShown());
  EXPECT_EQ(Grab(r), plain) << "a focus mark before any key";
  Type(VK_TAB);   // to Language: the keyboard is in use now
  Type(VK_TAB, VK_SHIFT);
  ASSERT_EQ(Focused(), "bOptions");
  UpdateWindow(w.Handle());
  test::PumpFor(100);
  std::vector<COLORREF> focused = Grab(r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  // The mark's top edge runs 3 pixels inside the button; count the dots
  // there that differ from the plain button, and none in its middle row.
  int changedOnEdge = 0, changedInside = 0;
  for (int x = 3; x < width - 3; ++x) {
    if (focused[std::size_t(3 * width + x)] != plain[std::size_t(3 * width + x)]) ++changedOnEdge;
  }
  for (int y = 5; y < height - 5; ++y)
    for (int x = 5; x < width - 5; ++x)
      if (focused[std::size_t(y * width + x)] != plain[std::size_t(y * width + x)]) ++changedInside;
  EXPECT_GE(changedOnEdge, (width - 6) / 3) << "no dotted line along the top of the mark";
  EXPECT_EQ(changedInside, 0) << "the caption itself changed";
  EXPECT_FALSE(w.AcceleratorCuesShown()) << "underlines wait for Alt";
}

// The minimise button's pictures show no focus of their own: reached by Tab
// it shows the dotted mark, where Enter would minimise the window.
TEST_F(KeyboardAccessTest, TheMinimiseButtonShowsTheFocusMarkWhenTabReachesIt) {
  KeyboardCues hidden(false);
  TfrmMain& w = Start();
  TControl& minimise = Control("bMinimize");
  const RECT r = ScreenRect(minimise);
  std::vector<COLORREF> plain = Grab(r);
  for (int i = 0; i < 6 && Focused() != "bMinimize"; ++i) Type(VK_TAB);
  ASSERT_EQ(Focused(), "bMinimize");
  UpdateWindow(w.Handle());
  test::PumpFor(100);
  std::vector<COLORREF> focused = Grab(r);
  const int width = r.right - r.left;
  // The mark runs 2 pixels inside the button (its focus margin).
  int changedOnEdge = 0;
  for (int x = 2; x < width - 2; ++x)
    if (focused[std::size_t(2 * width + x)] != plain[std::size_t(2 * width + x)]) ++changedOnEdge;
  EXPECT_GE(changedOnEdge, (width - 4) / 3) << "no dotted line along the top of the mark";
  Type(VK_TAB);
  UpdateWindow(w.Handle());
  test::PumpFor(100);
  EXPECT_EQ(Grab(r), plain) << "the mark stays when the focus has moved on";
}

TEST_F(KeyboardAccessTest, AltUnderlinesTheCommandLettersAndTheSystemSettingShowsThemAlways) {
  {
    KeyboardCues hidden(false);
    TfrmMain& w = Start();
    RECT r = ScreenRect(Control("bExit"));
    std::vector<COLORREF> plain = Grab(r);
    Type(VK_MENU);
    UpdateWindow(w.Handle());
    test::PumpFor(100);
    EXPECT_TRUE(w.AcceleratorCuesShown());
    EXPECT_NE(Grab(r), plain) << "no underline drawn under the x of Exit";
    main_.reset();
  }
  KeyboardCues always(true);
  TfrmMain& w = Start();
  EXPECT_TRUE(w.AcceleratorCuesShown());
  EXPECT_TRUE(w.FocusCuesShown());
}


// The keys a dialog answers, sent while its modal loop runs.
struct DialogRun {
  std::vector<std::string> focusOrder;  // the focus after each Tab
  ModalResult result = mrNone;
  TOptionsSetting settings;  // what the Options dialog returned
};

template <typename Dialog, typename... More>
DialogRun RunDialogWithKeys(TfrmMain& main, int tabs, std::function<void()> keys, More&&... more) {
  DialogRun run;
  auto dialog = CreateForm<Dialog>(main.ForDialog(), std::forward<More>(more)...);
  HWND handle = dialog->Handle();
  auto withTheKeyboard = [handle] { return IsWindowVisible(handle) && GetActiveWindow() == handle ? handle : nullptr; };
  auto answer = test::WhenFound(dialog->Name() + " with the keyboard", withTheKeyboard, [&run, tabs, keys](HWND) {
    TWinControl* first = TWinControl::FromHandle(GetFocus());
    run.focusOrder.push_back(first ? first->Name() : "");
    for (int i = 0; i < tabs; ++i) {
      MoveFocusWith(VK_TAB);
      TWinControl* w = TWinControl::FromHandle(GetFocus());
      run.focusOrder.push_back(w ? w->Name() : "");
    }
    keys();
  });
  run.result = dialog->ShowModal();
  if constexpr (std::is_same_v<Dialog, TfrmOptions>) run.settings = dialog->Settings();
  return run;
}

TEST_F(KeyboardAccessTest, OptionsDialogTabsByPositionTicksByAltLetterAndCancelsWithEsc) {
  TfrmMain& w = Start();
  TOptionsSetting given = w.Options();
  given.IsShowLine = true;
  bool showLinesSeen = true;
  DialogRun run = RunDialogWithKeys<TfrmOptions>(w, 5, [&showLinesSeen] {
    Key('G', VK_MENU);  // "Show &Grid Lines..."
    auto untickedShowLines = [] {
      auto* box = dynamic_cast<TsuiCheckBox*>(TWinControl::FromHandle(GetFocus()));
      return box && box->Name() == "cbShowLines" && !box->Checked();
    };
    showLinesSeen = !test::WaitUntil(untickedShowLines);
    Key(VK_ESCAPE);
  }, given);
  EXPECT_EQ(run.result, mrCancel);
  EXPECT_FALSE(showLinesSeen) << "Alt+G did not untick Show Grid Lines";
  EXPECT_TRUE(run.settings.IsShowLine) << "Esc keeps the settings";
  // Top to bottom, left to right, wrapping round: the restore box sits at
  // the top of the group, unless the system offers no restore points.
  std::vector<std::string> expected =
      run.focusOrder.front() == "cbCreateRestore"
          ? std::vector<std::string>{"cbCreateRestore", "cbAskBeforeDefrag", "cbShowLines", "bOK", "bCancel",
                                     "cbCreateRestore"}
          : std::vector<std::string>{"cbAskBeforeDefrag", "cbShowLines", "bOK", "bCancel", "cbAskBeforeDefrag",
                                     "cbShowLines"};
  EXPECT_EQ(run.focusOrder, expected);

  run = RunDialogWithKeys<TfrmOptions>(w, 0, [] { Key(VK_RETURN); }, given);
  EXPECT_EQ(run.result, mrOk) << "Enter presses OK";
  EXPECT_TRUE(run.settings.IsShowLine) << "OK returns the ticks as they stand";
}

TEST_F(KeyboardAccessTest, ConfirmationAnswersYesOnEnterAndNoOnEsc) {
  TfrmMain& w = Start();
  DialogRun run = RunDialogWithKeys<TfrmAskDelete>(w, 2, [] { Key(VK_ESCAPE); });
  EXPECT_EQ(run.result, mrNo);
  EXPECT_EQ(run.focusOrder, (std::vector<std::string>{"bOK", "bCancel", "cbAsk"})) << "Yes, No, then the tick box";
  run = RunDialogWithKeys<TfrmAskDelete>(w, 0, [] { Key(VK_RETURN); });
  EXPECT_EQ(run.result, mrYes);
  run = RunDialogWithKeys<TfrmAskDelete>(w, 0, [] { Key('N', VK_MENU); });
  EXPECT_EQ(run.result, mrNo);
}

// A second start while the confirmation is open and another window has the
// keyboard: the dialog comes forward with the focus where the user left it,
// and its keys work, not the disabled main window behind it.
TEST_F(KeyboardAccessTest, ASecondStartBringsTheOpenDialogForwardWithItsFocusAndItsKeys) {
  TfrmMain& w = Start();
  InstanceLock instance;  // this process is the running Varnhold
  ASSERT_TRUE(instance.Held());
  test::ScratchFolder home;
  auto dialog = CreateForm<TfrmAskDelete>(w.ForDialog());
  const HWND handle = dialog->Handle();
  std::string focusedAfterWake;
  bool cameForward = false, escReachedIt = false;
  auto withTheKeyboard = [handle] { return IsWindowVisible(handle) && GetActiveWindow() == handle ? handle : nullptr; };
  auto wake = test::WhenFound("the confirmation with the keyboard", withTheKeyboard, [&](HWND) {
    MoveFocusWith(VK_TAB);  // from Yes to No
    HWND elsewhere = CreateWindowExA(0, "STATIC", "Elsewhere", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 200, 100,
                                     nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(elsewhere);
    test::WaitUntil([elsewhere] { return GetForegroundWindow() == elsewhere; });
    test::ProgramProcess second(BuiltProgram(), "", home.path());
    EXPECT_TRUE(second.started()) << BuiltProgram();
    EXPECT_TRUE(test::WaitUntil([&second] { return second.Ended(); }, 20000)) << "the second start did not end";
    cameForward = test::WaitUntil([handle] { return GetForegroundWindow() == handle; });
    TWinControl* focused = TWinControl::FromHandle(GetFocus());
    focusedAfterWake = focused ? focused->Name() : "";
    DestroyWindow(elsewhere);
    Key(VK_ESCAPE);
    escReachedIt = test::WaitUntil([&dialog] { return dialog->ModalResult() != mrNone; }, 3000);
    if (!escReachedIt) dialog->SetModalResult(mrCancel);  // the test itself must not be trapped
  });
  ModalResult result = dialog->ShowModal();
  EXPECT_TRUE(cameForward) << "the foreground window is " << test::CaptionOf(GetForegroundWindow());
  EXPECT_EQ(focusedAfterWake, "bCancel");
  EXPECT_TRUE(escReachedIt) << "Esc did not reach the dialog";
  EXPECT_EQ(result, mrNo);
  EXPECT_TRUE(IsWindowEnabled(w.Handle()));
}

// The same tree read from another process, as a screen reader reads it: the
// object crosses the process boundary through COM's marshalling.
TEST(CrossProcessAccessibilityTest, AnotherProcessReadsTheCommandsAndPressesOne) {
  test::ScratchFolder home;
  const std::string exe = home.File("varnhold_recorded.exe");
  ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), exe.c_str(), FALSE)) << BuiltProgram();
  SetEnvironmentVariableA("VARNHOLD_RECORD", home.File("records.txt").c_str());
  test::ProgramProcess program(exe, "", home.path());
  ASSERT_TRUE(program.started());
  HWND window = test::WaitForWindow({"", test::kMainClass, program.id(), 0, false}, 15000);
  ASSERT_NE(window, nullptr) << "the program showed no window";
  EXPECT_TRUE(program.Idle()) << "the program never went idle";

  CoInitialize(nullptr);
  IAccessible* acc = ClientObject(window);
  EXPECT_NE(acc, nullptr) << "no object came across the process boundary";
  if (acc) {
    std::vector<Node> nodes = Walk(acc);
    const Node* analyze = Named(nodes, "Analyze Registry", ROLE_SYSTEM_PUSHBUTTON);
    ASSERT_NE(analyze, nullptr);
    EXPECT_EQ(analyze->description, "Analyze your registry");
    EXPECT_EQ(analyze->action, "Press");
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(analyze->location.left, r.left + 13);
    EXPECT_EQ(analyze->location.top, r.top + 93);
    const Node* defrag = Named(nodes, "Defrag Registry", ROLE_SYSTEM_PUSHBUTTON);
    ASSERT_NE(defrag, nullptr);
    EXPECT_NE(defrag->state & STATE_SYSTEM_UNAVAILABLE, 0);
    EXPECT_NE(Named(nodes, "Close", ROLE_SYSTEM_PUSHBUTTON), nullptr);
    EXPECT_NE(Named(nodes, "Minimize", ROLE_SYSTEM_PUSHBUTTON), nullptr);
    EXPECT_NE(Named(nodes, "tolvane.com", ROLE_SYSTEM_LINK), nullptr);
    EXPECT_NE(Named(nodes, "Current Registry Size:", ROLE_SYSTEM_STATICTEXT), nullptr);
    // "Press" on Exit ends the program as a click would.
    const Node* exit = Named(nodes, "Exit", ROLE_SYSTEM_PUSHBUTTON);
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(acc->accDoDefaultAction(Child(exit->id)), S_OK);
    acc->Release();
  }
  if (!program.EndsWithin(10000)) {
    ADD_FAILURE() << "the program did not end on Exit's default action";
    PostMessageA(window, WM_CLOSE, 0, 0);
    program.EndsWithin(10000);  // one still running then is killed as program goes
  }
  CoUninitialize();
}

}  // namespace
}  // namespace vh
