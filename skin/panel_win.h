// TsuiCustomPanel: a container that paints itself through a buffer: the
// parent's background when Transparent, a picture (unscaled, stretched or
// tiled) or the plain Color, and its window text as a centred line.
// TsuiImagePanel publishes it; the main window's separator lines are two of
// them, 100 x 1, in the active-caption colour.
//
//   auto& line = Make<TsuiImagePanel>(&form, &form, "ImagePanel1");
//   line.SetBounds(119, 58, 100, 1);
//   line.SetColor(SystemColour(kIndexActiveCaption));
#pragma once

#include "skin/panel_layout.h"
#include "ui/component_win.h"
#include "ui/controls_win.h"

namespace vh {

class TsuiCustomPanel : public TWinControl {
 public:
  TsuiCustomPanel(TComponent* owner, TWinControl* parent, std::string name);
  const char* ClassName() const override { return "TsuiCustomPanel"; }

  const Bitmap& Picture() const { return picture_; }
  // Copied; resizes when AutoSize and repaints.
  void SetPicture(const Bitmap& picture);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  void SetDrawStyle(TsuiDrawStyle s);
  void SetAlignment(TAlignment a);
  // The panel's place in its parent when it is aligned (AutoSize keeps the
  // aligned side).

  // The whole panel into `dc` at (0, 0), through a buffer of its size.
  void PaintPanel(HDC dc);

 protected:
  // Background, picture and caption into the buffer.
  void PaintPanelFace(HDC dc);
  // The text the panel centres: its window text.
  virtual std::string PanelText() const { return Caption(); }
  void PaintBackground(Canvas& canvas, const Rect& area) override;
  void BoundsChanged(const Rect& old) override;
  void FontChanged() override;

 private:
  void AdjustSize();

  Bitmap picture_;
  bool transparent_ = false;
  bool autoSize_ = false;
  TsuiDrawStyle drawStyle_ = TsuiDrawStyle::suiNormal;
  TAlignment alignment_ = TAlignment::taCenter;
  static constexpr TAlign kAlign = TAlign::alNone;
};

class TsuiImagePanel : public TsuiCustomPanel {
 public:
  TsuiImagePanel(TComponent* owner, TWinControl* parent, std::string name);
  const char* ClassName() const override { return "TsuiImagePanel"; }
};

}  // namespace vh
