// The component model every window of the program is built from.
//
//   TComponent      a name, an owner, and the owner's list in creation order;
//                   an owner deletes what it owns, newest first.
//   TControl        bounds on a parent, Visible, Enabled, caption, font,
//                   colour, hint, cursor, popup menu, the notifications.
//   TGraphicControl windowless: painted by its parent onto the parent's
//                   surface in z-order and fed mouse input by it.
//   TWinControl     owns an HWND; hosts windowless children (hover, capture,
//                   enter/leave, double clicks, cursors, popup menus).
//
// Forms and the concrete controls live in form_win.h and controls_win.h; the
// mouse routing among windowless children in input_routing.h; the window
// binding, dispatch and paint in window_binding_win.cpp.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/accessible_element.h"
#include "ui/caption_kind.h"
#include "ui/color.h"
#include "ui/error_report_win.h"
#include "ui/gdi_win.h"
#include "ui/geometry.h"
#include "ui/input_routing.h"

namespace vh {

class TComponent;
class TControl;
class TWinControl;
class TForm;
class TPopupMenu;

using TObject = TComponent;
using TMouseEvent = std::function<void(TObject& sender, TMouseButton button, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject& sender, int x, int y)>;
enum class TCursor { crDefault, crHandPoint };

using TNotifyEvent = std::function<void(TComponent& sender)>;

class TComponent {
 public:
  TComponent(TComponent* owner, std::string name);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  TComponent* Owner() const { return owner_; }
  // Owned components in creation order (nested controls included).
  const std::vector<TComponent*>& Components() const { return components_; }
  // The owned component of that name; null when there is none.
  TComponent* FindComponent(const std::string& name) const;
  // The owned component of that name and type. A form reaches its controls
  // by the names its layout gives them, so a missing or mistyped name is a
  // programming error: it throws std::logic_error naming the form and the
  // component, and never returns null.
  template <typename T>
  T* Find(const std::string& name) const {
    T* found = dynamic_cast<T*>(FindComponent(name));
    if (!found) ThrowMissing(name, FindComponent(name) != nullptr);
    return found;
  }
  virtual const char* ClassName() const { return "TComponent"; }
  [[noreturn]] void ThrowMissing(const std::string& name, bool wrongType) const;

 protected:
  // Deletes the owned components, newest first.
  void DestroyComponents();

 private:
  TComponent* owner_;
  std::string name_;
  std::vector<TComponent*> components_;
};

// Creates a component owned (and later deleted) by its owner.
template <typename T, typename... Args>
T& Make(Args&&... args) {
  return *new T(std::forward<Args>(args)...);
}

class TControl : public TComponent, public RoutedControl {
 public:
  TControl(TComponent* owner, TWinControl* parent, std::string name);
  ~TControl() override;
  const char* ClassName() const override { return "TControl"; }

  TWinControl* Parent() const { return parent_; }
  TForm* ParentForm() const;

  const Rect& BoundsRect() const { return bounds_; }
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  Rect ClientRect() const { return Rect{0, 0, Width(), Height()}; }
  virtual void SetBounds(int left, int top, int width, int height);
  void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
  void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
  Point ClientToScreen(Point p) const;
  Point ScreenToClient(Point p) const;

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);

  const FontDef& Font() const { return font_; }
  void SetFont(const FontDef& font);
  void SetParentFont(bool v);
  HFONT FontHandle();

  Colour Color() const { return color_; }
  void SetColor(Colour c);
  void SetParentColor(bool v);

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c) { cursor_ = c; }
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* m) { popupMenu_ = m; }

  virtual void Invalidate() = 0;
  // Invalidate and paint at once.
  virtual void Repaint() = 0;
  virtual bool IsWindowless() const { return false; }
  RouteInfo RouteState() const override;
  // Which caption a translation of the form gives this control.
  virtual CaptionKind TranslationKind() const { return CaptionKind::Other; }

  TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseLeave;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // Mouse input, in client coordinates. The base fires the events.
  virtual void MouseDown(TMouseButton button, int x, int y);
  virtual void MouseMove(int x, int y);
  virtual void MouseUp(TMouseButton button, int x, int y);
  virtual void Click();
  // A second press within the double-click time. The base treats it as a
  // press; controls with double clicks also fire OnDblClick.
  virtual void DblClickPress(int x, int y);

  // Notifications.
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void EnabledChanged() { Invalidate(); }
  virtual void FontChanged() { Invalidate(); }
  virtual void TextChanged() { Invalidate(); }
  virtual void ColorChanged() { Invalidate(); }
  virtual void ParentColorChanged();
  virtual void ParentFontChanged();
  virtual void SysColorChanged() { Invalidate(); }
  // The shown texts' script changed (SetTextCodePage): the fonts of this
  // control and all within it are made again.
  virtual void ScriptChanged();
  virtual void VisibleChanged();
  // A typed accelerator character; true when the control took it.
  virtual bool DialogChar(char) { return false; }
  // Enter or Escape typed in the form; true when the control took it.
  virtual bool DialogKey(int) { return false; }
  // The keyboard focus moved to another control of the form.
  virtual void FocusChanged(TWinControl*) {}
  // A flat speed button of the same parent went down (groups).
  virtual void GroupButtonDown(int, TControl&) {}
  // Enter on the control while it holds the keyboard focus, or Space let go
  // on it: the same as a click.
  virtual void KeyboardPress() { Click(); }
  // Space held down (true) or let go (false) on the control while it holds
  // the keyboard focus: a button shows itself pressed while it is held.
  // False when Space does not press the control at all.
  virtual bool KeyboardHold(bool) { return true; }
  // What a screen reader is told about the control; false: nothing. The
  // base describes a clickable control that has an accessibleName as a
  // push button of that name.
  virtual bool Describe(AccessibleElement& e) const;

  // A windowless control that the Tab key stops at (windowed ones use
  // WS_TABSTOP).
  bool tabStop = false;
  // The name a screen reader reads for a control without a caption.
  std::string accessibleName;

 protected:
  virtual void BoundsChanged(const Rect& old);
  void FireMouseDown(TMouseButton b, int x, int y);
  // Follows the parent's colour again and takes it now, without notifications.
  void AdoptParentColor();
  // Describes the control as a push button with that name.
  void DescribeButton(AccessibleElement& e, std::string name, bool focusable, bool pressed, bool hot) const;

 private:
  void AvailabilityChanged(bool nowAvailable);
  friend class TWinControl;
  TWinControl* parent_;
  Rect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  FontDef font_;
  bool parentFont_ = true;
  vh::FontHandle fontHandle_;
  Colour color_ = kColourBtnFace;
  bool parentColor_ = true;
  std::string hint_;
  bool showHint_ = false;
  TCursor cursor_ = TCursor::crDefault;
  TPopupMenu* popupMenu_ = nullptr;
};

class TGraphicControl : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TGraphicControl"; }
  bool IsWindowless() const override { return true; }
  // Paints with the canvas origin at the control's top-left corner and the
  // clip set to its bounds.
  virtual void Paint(Canvas& canvas) = 0;
  void Invalidate() override;
  void Repaint() override;
};

class TWinControl : public TControl {
 public:
  TWinControl(TComponent* owner, TWinControl* parent, std::string name);
  ~TWinControl() override;
  const char* ClassName() const override { return "TWinControl"; }

  HWND Handle() const { return hwnd_; }
  static TWinControl* FromHandle(HWND hwnd);

  // Child controls in z-order (creation order), windowless and windowed.
  const std::vector<TControl*>& Controls() const { return controls_; }
  // The topmost visible windowless child at a client point; disabled ones
  // only when allowDisabled.
  TControl* ControlAtPos(Point p, bool allowDisabled) const;
  // The control at a screen point: a windowless child there, or the
  // windowed control itself; disabled controls included.
  static TControl* FindControlAt(Point screen);

  void Invalidate() override;
  void Repaint() override;
  void SetFocus();
  bool Focused() const;

  // Paints background and windowless children onto a canvas whose origin
  // is this control's client origin (WM_PAINT, WM_PRINTCLIENT, the tests).
  void PaintClient(Canvas& canvas, const Rect& area);
  void InvalidateChild(const Rect& r);
  void UpdateNow();

  // Broadcasts to every control below this one, depth first.
  void ForEachControl(const std::function<void(TControl&)>& f);
  bool AnyControl(const std::function<bool(TControl&)>& f);

 protected:
  // Creates the window: a standard control (className) subclassed to reach
  // this object, or when className is null a window of our own class
  // (ownClass, registered on first use; a shared default when null).
  void CreateHandle(const char* className, DWORD style, DWORD exStyle, const std::string& text, HWND parent,
                    const Rect& bounds, const char* ownClass = nullptr);
  // The same for a standard control created as a Unicode window: one that
  // shows names outside the ANSI code page (an edit control created through
  // the ANSI function keeps its text in that code page).
  void CreateUnicodeHandle(const wchar_t* className, DWORD style, HWND parent, const Rect& bounds);
  // Every message of the window; call the base for what is not handled.
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
  // What a window of our own class paints under its windowless children,
  // on the double buffer (fills with Color()); self-drawn windowed controls
  // override it. A transparent one may first call its parent's PaintClient
  // with the canvas moved by (-Left(), -Top()).
  virtual void PaintBackground(Canvas& canvas, const Rect& area);
  virtual bool OwnsPainting() const { return subclassed_ == false; }
  // What is drawn over the windowless children (the form's focus mark).
  virtual void PaintOverlay(Canvas&, const Rect&) {}
  void TextChanged() override;
  void FontChanged() override;
 public:
  void ScriptChanged() override;

 protected:
  void EnabledChanged() override;
  void ColorChanged() override;
  void BoundsChanged(const Rect& old) override;
  void VisibleChanged() override;
  // WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR* that the parent received for
  // this control; true with a result when handled.
  virtual bool Reflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

 private:
  friend class TControl;
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  void BindStandardControl(HWND h);
  void PaintWindow();
  bool HandleMouse(UINT msg, WPARAM wp, LPARAM lp);
  void TrackEnterLeave(Point client);
  // Carries out a routing decision: the capture first, then the calls; a call
  // whose target an earlier one destroyed is skipped, and the rest are
  // dropped when one destroyed this window.
  void Carry(const Routing& routing);
  void ChildAvailabilityChanged(TControl& c);
  bool HandleSetCursor();
  bool HandleContextMenu(LPARAM lp);
  void OnChildDestroyed(TControl& c);

  HWND hwnd_ = nullptr;
  bool subclassed_ = false;
  bool trackingLeave_ = false;
  // A paint that throws is reported once; it would fail again on every repaint.
  bool paintFailureShown_ = false;
  std::vector<TControl*> controls_;
  InputRouter router_{*this};
  // Cleared when this object is destroyed, for code that runs handlers which may destroy it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vh
