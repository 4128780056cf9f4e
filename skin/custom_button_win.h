// TsuiCustomButton: the base of the skinned push buttons. A window of its
// own that paints into a buffer of its size: background (colour or the
// parent's), the skin of the state, the focus mark and the caption. It keeps
// Hot and Down through ButtonStateMachine, repeats OnMouseContinuouslyDown
// while held, answers Enter (Default) and Escape (Cancel), clicks on its
// accelerator (without Alt when a skinned button has the focus) and hands
// ModalResult to its form on every click.
#pragma once

#include <memory>
#include <string>

#include "skin/button_state.h"
#include "skin/file_theme_win.h"
#include "skin/ui_style.h"
#include "skin/focus_control_win.h"
#include "ui/component_win.h"
#include "ui/modal_result.h"
#include "ui/timer_win.h"
#include "ui/window_messages_win.h"

namespace vh {

class TsuiCustomButton : public TSkinFocusControl {
 public:
  TsuiCustomButton(TComponent* owner, TWinControl* parent, std::string name);
  ~TsuiCustomButton() override;
  const char* ClassName() const override { return "TsuiCustomButton"; }

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  vh::ModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(vh::ModalResult v) { modalResult_ = v; }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  bool Default() const { return default_; }
  void SetDefault(bool v);
  void SetMouseContinuouslyDownInterval(int ms) { repeatInterval_ = ms; }

  bool Hot() const { return state_.Hot(); }
  bool Down() const { return state_.Down(); }
  bool ActiveDefault() const { return activeDefault_; }
  bool SkinTransparent() const { return skinTransparent_; }
  TTimer* RepeatTimer() const { return repeatTimer_.get(); }

  virtual TsuiUIStyle UIStyle() const { return uiStyle_; }
  virtual void SetUIStyle(TsuiUIStyle style);

  TNotifyEvent OnMouseExit, OnMouseContinuouslyDown;

  // The whole face into `dc` at (0, 0), through a buffer of the button's size.
  void PaintButton(HDC dc);

  void MouseDown(TMouseButton button, int x, int y) override;
  void MouseMove(int x, int y) override;
  void Click() override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool DialogChar(char c) override;
  bool DialogKey(int vk) override;
  void FocusChanged(TWinControl* focused) override;

 protected:
  virtual void AutoSizeChanged();
  virtual void CaptionChanged() {}
  virtual void TransparentChanged();
  virtual void UIStyleChanged() {}
  virtual void DrawSkin(HDC dc, const Bitmap& skin);
  virtual void DrawCaption(HDC dc, const std::string& text);
  virtual void DrawFocus(HDC dc);
  virtual void LoadNormalSkin(Bitmap& skin);
  virtual void LoadMouseOnSkin(Bitmap& skin);
  virtual void LoadMouseDownSkin(Bitmap& skin);
  virtual void LoadDisabledSkin(Bitmap& skin);

  void TextChanged() override;
  void PaintBackground(Canvas& canvas, const Rect& area) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

  // Frame k of 3 of the button skin, from the theme file or the built-in
  // style as ResolveUIStyle decides.
  void LoadSkinFrame(Bitmap& skin, int frame);
  ResolvedUIStyle Resolved() const { return ResolveUIStyle(theme_.Ready(), uiStyle_); }
  ThemeLink& Theme() { return theme_; }
  const ThemeLink& Theme() const { return theme_; }
  TsuiUIStyle StoredUIStyle() const { return uiStyle_; }
  Size ClientSize() const { return Size{Width(), Height()}; }

  bool boldCaption_ = false;  // one-shot: the next caption is drawn bold

 private:
  ButtonContext Context() const;
  void Apply(const ButtonEffects& e);
  void CreateRepeatTimer();
  void DestroyRepeatTimer();
  void LoadStateSkin(Bitmap& skin);

  ButtonStateMachine state_;
  ThemeLink theme_;
  TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
  bool autoSize_ = false;
  bool transparent_ = false;
  bool skinTransparent_ = false;
  vh::ModalResult modalResult_ = mrNone;
  bool cancel_ = false;
  bool default_ = false;
  bool activeDefault_ = false;
  static constexpr int kFocusedRectMargin = 2;
  int repeatInterval_ = 100;
  std::unique_ptr<TTimer> repeatTimer_;
  // A stopped timer kept until the next press: it may be stopped from its
  // own tick.
  std::unique_ptr<TTimer> retiredTimer_;
};

}  // namespace vh
