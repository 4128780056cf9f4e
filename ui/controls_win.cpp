#include "ui/controls_win.h"

#include "platform/system_library_win.h"
#include "platform/text_win.h"
#include "ui/accel.h"

#include <commctrl.h>

namespace vh {
namespace {

UINT AlignmentFlags(TAlignment a) {
  switch (a) {
    case TAlignment::taRightJustify: return DT_RIGHT;
    case TAlignment::taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

const Colour kBtnHighlight = SystemColour(kIndexBtnHighlight);
const Colour kBtnShadow = SystemColour(kIndexBtnShadow);

// One step of a 3-D frame: top and left in one colour, bottom and right in
// the other, then the rectangle shrinks by one pixel.
void Frame3D(Canvas& canvas, Rect& r, Colour topLeft, Colour bottomRight) {
  canvas.Polyline({{r.left, r.bottom - 1}, {r.left, r.top}, {r.right - 1, r.top}}, topLeft);
  canvas.Polyline({{r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left - 1, r.bottom - 1}}, bottomRight);
  r = Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
}

void Bevel(Canvas& canvas, Rect& r, TBevelCut cut) {
  if (cut == TBevelCut::bvNone) return;
  if (cut == TBevelCut::bvRaised) Frame3D(canvas, r, kBtnHighlight, kBtnShadow);
  else Frame3D(canvas, r, kBtnShadow, kBtnHighlight);
}

}  // namespace

// ---- TLabel --------------------------------------------------------------

TLabel::TLabel(TComponent* owner, TWinControl* parent, std::string name)
    : TGraphicControl(owner, parent, std::move(name)) {
  captureMouse = true;
  doubleClicks = true;
}

bool TLabel::Describe(AccessibleElement& e) const {
  if (Caption().empty()) return false;
  e.role = AccessibleRole::StaticText;
  e.name = StripAccelerator(Caption());
  e.state = kAccReadOnly;
  e.bounds = BoundsRect();
  return true;
}

void TLabel::Paint(Canvas& canvas) {
  Rect r = ClientRect();
  if (!transparent_) canvas.FillRect(r, Color());
  UINT flags = DT_EXPANDTABS | AlignmentFlags(alignment_) | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
  if (Enabled()) {
    canvas.Text(Caption(), r, flags, Font().colour, FontHandle());
  } else {
    canvas.Text(Caption(), r.Offset(1, 1), flags, kBtnHighlight, FontHandle());
    canvas.Text(Caption(), r, flags, kBtnShadow, FontHandle());
  }
}

void TLabel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}

void TLabel::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}

void TLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustSize();
}

void TLabel::SetWordWrap(bool v) {
  wordWrap_ = v;
  AdjustSize();
  Invalidate();
}

void TLabel::TextChanged() {
  AdjustSize();
  Invalidate();
}

void TLabel::FontChanged() {
  AdjustSize();
  Invalidate();
}

// Sizes the label to its caption, keeping the left edge, or the right edge
// of a right-aligned label.
void TLabel::AdjustSize() {
  if (!autoSize_ || wordWrap_) return;
  Size s;
  {
    const ClientDC screen(nullptr);
    Canvas canvas(screen.dc());
    s = canvas.MeasureLine(Caption().empty() ? " " : Caption(), FontHandle());
  }
  int width = Caption().empty() ? Width() : AutoSizedLabelWidth(s.width);
  int left = alignment_ == TAlignment::taRightJustify ? Left() + Width() - width : Left();
  SetBounds(left, Top(), width, s.height);
}

// ---- TImage --------------------------------------------------------------

TImage::TImage(TComponent* owner, TWinControl* parent, std::string name)
    : TGraphicControl(owner, parent, std::move(name)) {}

void TImage::Paint(Canvas& canvas) {
  if (jpeg_.Empty()) {
    DrawBitmap(canvas, picture_);
  } else if (stretch_ || transparent_) {
    DrawBitmap(canvas, jpeg_.Decode());
  } else {
    jpeg_.Draw(canvas.Handle(), 0, 0);
  }
}

void TImage::DrawBitmap(Canvas& canvas, const Bitmap& picture) const {
  if (picture.Empty()) return;
  if (stretch_) {
    canvas.StretchDraw(picture, ClientRect(), Rect{0, 0, picture.Width(), picture.Height()});
  } else if (transparent_) {
    canvas.DrawMasked(picture, 0, 0, picture.Pixel(0, picture.Height() - 1));
  } else {
    canvas.Draw(picture, 0, 0);
  }
}

void TImage::SetPicture(const Bitmap& picture) {
  picture_ = picture.Clone();
  jpeg_ = JpegPicture();
  AdjustSize();
  Invalidate();
}

void TImage::SetJpegPicture(const JpegPicture& picture) {
  jpeg_ = picture;
  picture_ = Bitmap();
  AdjustSize();
  Invalidate();
}

void TImage::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustSize();
}

void TImage::SetStretch(bool v) {
  stretch_ = v;
  Invalidate();
}

void TImage::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}

void TImage::AdjustSize() {
  if (!autoSize_) return;
  if (!jpeg_.Empty()) {
    SetBounds(Left(), Top(), jpeg_.Width(), jpeg_.Height());
  } else if (!picture_.Empty()) {
    SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
  }
}

void RegisterCommonControlClasses() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

// XP has the function, but looking it up keeps the import table as it was.
void DisableInputMethods() {
  using DisableImeFn = BOOL(WINAPI*)(DWORD thread);
  auto disable = LibraryFunction<DisableImeFn>(LoadSystemLibrary("imm32.dll"), "ImmDisableIME");
  if (disable) disable(DWORD(-1));  // every thread of the process
}

// ---- TListView -----------------------------------------------------------

TListView::TListView(TComponent* owner, TWinControl* parent, std::string name, const Rect& bounds)
    : TWinControl(owner, parent, std::move(name)) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  CreateHandle(WC_LISTVIEWA, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS, 0, "",
               parent->Handle(), bounds);
  SetExtendedFlag(LVS_EX_FULLROWSELECT, true);
}

int TListView::AddColumn(const TListColumn& column) {
  const std::wstring caption = Utf8ToWide(column.caption);
  LVCOLUMNW col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  col.fmt = column.alignment == TAlignment::taRightJustify ? LVCFMT_RIGHT
            : column.alignment == TAlignment::taCenter      ? LVCFMT_CENTER
                                                            : LVCFMT_LEFT;
  col.cx = column.width;
  col.pszText = const_cast<wchar_t*>(caption.c_str());
  col.iSubItem = int(columns_.size());
  SendMessageW(Handle(), LVM_INSERTCOLUMNW, columns_.size(), LPARAM(&col));
  columns_.push_back(column);
  return int(columns_.size()) - 1;
}

void TListView::SetColumnCaption(int i, const std::string& caption) {
  columns_.at(std::size_t(i)).caption = caption;
  const std::wstring wide = Utf8ToWide(caption);
  LVCOLUMNW col{};
  col.mask = LVCF_TEXT;
  col.pszText = const_cast<wchar_t*>(wide.c_str());
  SendMessageW(Handle(), LVM_SETCOLUMNW, WPARAM(i), LPARAM(&col));
}

int TListView::AddRow(const std::string& caption) {
  std::wstring text = Utf8ToWide(caption);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = RowCount();
  item.pszText = &text[0];
  return int(SendMessageW(Handle(), LVM_INSERTITEMW, 0, LPARAM(&item)));
}

void TListView::AddRows(const std::vector<std::string>& captions) {
  SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
  for (const std::string& caption : captions) AddRow(caption);
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  Invalidate();
}

int TListView::RowCount() const { return int(SendMessageA(Handle(), LVM_GETITEMCOUNT, 0, 0)); }

void TListView::SetCell(int row, int column, const std::string& text) {
  std::wstring wide = Utf8ToWide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = &wide[0];
  SendMessageW(Handle(), LVM_SETITEMTEXTW, WPARAM(row), LPARAM(&item));
}

std::string TListView::Cell(int row, int column) const {
  wchar_t buffer[1024] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = int(sizeof buffer / sizeof buffer[0]);
  SendMessageW(Handle(), LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&item));
  return WideToUtf8(buffer);
}

void TListView::Clear() { SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0); }

bool TListView::GridLines() const {
  return (SendMessageA(Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES) != 0;
}
void TListView::SetGridLines(bool on) { SetExtendedFlag(LVS_EX_GRIDLINES, on); }
bool TListView::RowSelect() const {
  return (SendMessageA(Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT) != 0;
}
int TListView::SelectedRow() const {
  return int(SendMessageA(Handle(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

void TListView::SelectRow(int row) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(Handle(), LVM_SETITEMSTATE, WPARAM(row), LPARAM(&item));
  SendMessageA(Handle(), LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
}

bool TListView::Reflected(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_NOTIFY || reinterpret_cast<NMHDR*>(lp)->code != LVN_ITEMCHANGED) return false;
  const NMLISTVIEW& change = *reinterpret_cast<NMLISTVIEW*>(lp);
  const bool selection = (change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED);
  if (selection && OnSelectItem) OnSelectItem(SelectedRow());
  result = 0;
  return true;
}

void TListView::SetExtendedFlag(DWORD flag, bool on) {
  SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, flag, on ? flag : 0);
}

// ---- TMemo ---------------------------------------------------------------

TMemo::TMemo(TComponent* owner, TWinControl* parent, std::string name, const Rect& bounds, bool readOnly)
    : TWinControl(owner, parent, std::move(name)) {
  DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | (readOnly ? ES_READONLY : 0);
  CreateUnicodeHandle(WC_EDITW, style, parent->Handle(), bounds);
}

std::string TMemo::Text() const {
  int n = GetWindowTextLengthW(Handle());
  std::wstring text(std::size_t(n) + 1, L'\0');
  GetWindowTextW(Handle(), &text[0], n + 1);
  text.resize(std::size_t(n));
  return WideToUtf8(text);
}

// Straight to the window: the scan worker sets the text from its thread.
void TMemo::SetText(const std::string& text) { SetWindowTextW(Handle(), Utf8ToWide(text).c_str()); }

bool TMemo::Reflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLOREDIT) return false;
  if (!brush_) brush_.Reset(CreateSolidBrush(ResolveColour(Color())));
  HDC dc = HDC(wp);
  SetBkColor(dc, ResolveColour(Color()));
  SetTextColor(dc, ResolveColour(Font().colour));
  result = LRESULT(brush_.get());
  return true;
}

void TMemo::ColorChanged() {
  brush_.Reset();
  TWinControl::ColorChanged();
}

// ---- TGroupBox -----------------------------------------------------------

TGroupBox::TGroupBox(TComponent* owner, TWinControl* parent, std::string name, const Rect& bounds)
    : TWinControl(owner, parent, std::move(name)) {
  CreateHandle(nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, "", parent->Handle(), bounds);
}

void TGroupBox::PaintBackground(Canvas& canvas, const Rect& area) {
  TWinControl::PaintBackground(canvas, area);
  Size text = canvas.MeasureLine(Caption().empty() ? "0" : Caption(), FontHandle());
  Rect frame{0, text.height / 2 - 1, Width(), Height()};
  canvas.FrameRect(frame.Offset(1, 1), kBtnHighlight);
  canvas.FrameRect(Rect{frame.left, frame.top, frame.right - 1, frame.bottom - 1}, kBtnShadow);
  if (Caption().empty()) return;
  Rect caption{8, 0, 8 + text.width + 2, text.height};
  canvas.FillRect(caption, Color());
  canvas.Text(Caption(), caption.Offset(1, 0), DT_SINGLELINE | DT_LEFT, Font().colour, FontHandle());
}

// ---- TPanel --------------------------------------------------------------

TPanel::TPanel(TComponent* owner, TWinControl* parent, std::string name, const Rect& bounds)
    : TWinControl(owner, parent, std::move(name)) {
  CreateHandle(nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, "", parent->Handle(), bounds);
}

void TPanel::SetBevelOuter(TBevelCut b) {
  bevelOuter_ = b;
  Invalidate();
}

void TPanel::SetBevelInner(TBevelCut b) {
  bevelInner_ = b;
  Invalidate();
}

void TPanel::PaintBackground(Canvas& canvas, const Rect& area) {
  TWinControl::PaintBackground(canvas, area);
  Rect r = ClientRect();
  Bevel(canvas, r, bevelOuter_);
  Bevel(canvas, r, bevelInner_);
  if (!Caption().empty())
    canvas.Text(Caption(), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER, Font().colour, FontHandle());
}

}  // namespace vh
