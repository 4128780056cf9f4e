// The concrete controls of the layer:
//   TLabel     windowless text, aligned, transparent or filled, engraved when
//              disabled; AutoSize measures the caption.
//   TImage     windowless picture, AutoSize, Stretch, Transparent.
//   TListView  report-style list view: columns, grid lines, whole-row
//              select, read-only.
//   TMemo      read-only multi-line edit without border.
//   TGroupBox  a frame with an optional caption that holds controls.
//   TPanel     a container with outer and inner bevels.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/component_win.h"
#include "ui/picture_win.h"

namespace vh {

// Registers the common-control classes the program's windows use (list
// view, progress and tooltip bars, standard controls); once at start.
void RegisterCommonControlClasses();

// No window of the program takes typed text, so it needs no input method.
// Left on, an input method gives each window thread its own machinery
// (under Wine it starts COM, which loads ole32 and the RPC runtime: close to
// two megabytes). Called before the first window.
void DisableInputMethods();

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// The width an auto-sized label takes for a text whose advance is
// textWidth: a little more, for the ink some rasterisers draw past the
// advance (Wine's by up to two per cent), which the label would clip.
constexpr int AutoSizedLabelWidth(int textWidth) { return textWidth + 1 + textWidth / 50; }

class TLabel : public TGraphicControl {
 public:
  TLabel(TComponent* owner, TWinControl* parent, std::string name);
  const char* ClassName() const override { return "TLabel"; }
  CaptionKind TranslationKind() const override { return CaptionKind::TLabel; }
  void Paint(Canvas& canvas) override;
  // Static text named by its caption; nothing while the caption is empty.
  bool Describe(AccessibleElement& e) const override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);

 protected:
  void TextChanged() override;
  void FontChanged() override;

 private:
  void AdjustSize();
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool transparent_ = false;
  bool autoSize_ = true;
  bool wordWrap_ = false;
};

class TImage : public TGraphicControl {
 public:
  TImage(TComponent* owner, TWinControl* parent, std::string name);
  const char* ClassName() const override { return "TImage"; }
  void Paint(Canvas& canvas) override;

  const Bitmap& Picture() const { return picture_; }
  // Copies the picture; the caller keeps its own.
  void SetPicture(const Bitmap& picture);
  // Shows a JPEG picture in place of the bitmap, decoded as it is painted.
  void SetJpegPicture(const JpegPicture& picture);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);

 private:
  void AdjustSize();
  void DrawBitmap(Canvas& canvas, const Bitmap& picture) const;
  Bitmap picture_;
  JpegPicture jpeg_;
  bool autoSize_ = false;
  bool stretch_ = false;
  bool transparent_ = false;
};

struct TListColumn {
  std::string caption;
  int width = 50;
  TAlignment alignment = TAlignment::taLeftJustify;
};

class TListView : public TWinControl {
 public:
  TListView(TComponent* owner, TWinControl* parent, std::string name, const Rect& bounds);
  const char* ClassName() const override { return "TListView"; }

  int AddColumn(const TListColumn& column);
  int ColumnCount() const { return int(columns_.size()); }
  const TListColumn& Column(int i) const { return columns_.at(std::size_t(i)); }
  void SetColumnCaption(int i, const std::string& caption);

  // A row with its caption and empty cells for the other columns. Rows and
  // cells are UTF-8, as the hive names they show.
  int AddRow(const std::string& caption);
  // Rows added at once: the list lays itself out and updates its scroll bar
  // once, not once per row.
  void AddRows(const std::vector<std::string>& captions);
  int RowCount() const;
  void SetCell(int row, int column, const std::string& text);
  std::string Cell(int row, int column) const;
  void Clear();

  bool GridLines() const;
  void SetGridLines(bool on);
  bool RowSelect() const;

  // The selected row; -1 when none.
  int SelectedRow() const;
  void SelectRow(int row);
  // A row became selected, or the selection went (-1).
  std::function<void(int row)> OnSelectItem;

 protected:
  bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void SetExtendedFlag(DWORD flag, bool on);
  std::vector<TListColumn> columns_;
};

class TMemo : public TWinControl {
 public:
  TMemo(TComponent* owner, TWinControl* parent, std::string name, const Rect& bounds, bool readOnly = true);
  const char* ClassName() const override { return "TMemo"; }
  // The text as the window holds it (the scan worker may set it), UTF-8,
  // as the hive names it shows.
  std::string Text() const;
  void SetText(const std::string& text);

 protected:
  bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void ColorChanged() override;

 private:
  BrushHandle brush_;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised };

class TGroupBox : public TWinControl {
 public:
  TGroupBox(TComponent* owner, TWinControl* parent, std::string name, const Rect& bounds);
  const char* ClassName() const override { return "TGroupBox"; }
  CaptionKind TranslationKind() const override { return CaptionKind::TGroupBox; }

 protected:
  void PaintBackground(Canvas& canvas, const Rect& area) override;
};

class TPanel : public TWinControl {
 public:
  TPanel(TComponent* owner, TWinControl* parent, std::string name, const Rect& bounds);
  const char* ClassName() const override { return "TPanel"; }
  CaptionKind TranslationKind() const override { return CaptionKind::TPanel; }
  void SetBevelOuter(TBevelCut b);
  void SetBevelInner(TBevelCut b);

 protected:
  void PaintBackground(Canvas& canvas, const Rect& area) override;

 private:
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  TBevelCut bevelInner_ = TBevelCut::bvNone;
};

}  // namespace vh
