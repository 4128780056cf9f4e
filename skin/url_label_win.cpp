#include "skin/url_label_win.h"

#include "platform/win32_platform_win.h"
#include "skin/panel_layout.h"

namespace vh {

namespace {

// The user's default handler for the address; its failure is silent.
class ShellOpen : public Shell {
 public:
  void Open(const std::string& target) override { OpenWithShell(target); }
};

Shell& DefaultShell() {
  static ShellOpen shell;
  return shell;
}

}  // namespace

TsuiURLLabel::TsuiURLLabel(TComponent* owner, TWinControl* parent, std::string name)
    : TLabel(owner, parent, std::move(name)),
      hoverColour_(kLinkFontHoverColour),
      linkColour_(kLinkFontLinkColour),
      shell_(&DefaultShell()) {
  FontDef font = Font();
  font.underline = true;
  font.colour = kClBlue;
  SetFont(font);
  SetCursor(TCursor::crHandPoint);
  SetCaption("Tolvane Software");
  url_ = "https://www.tolvane.com/";
}

void TsuiURLLabel::SetURL(const std::string& url) {
  if (url != url_) url_ = url;
}

void TsuiURLLabel::SetFontLinkColor(Colour c) {
  linkColour_ = c;
  SetFontColour(c);
}

void TsuiURLLabel::SetShell(Shell* shell) { shell_ = shell ? shell : &DefaultShell(); }

void TsuiURLLabel::SetFontColour(Colour c) {
  FontDef font = Font();
  if (font.colour == c) return;
  font.colour = c;
  SetFont(font);
}

void TsuiURLLabel::MouseEnter() { SetFontColour(hoverColour_); }

void TsuiURLLabel::MouseLeave() { SetFontColour(linkColour_); }

void TsuiURLLabel::Click() {
  if (LinkLabelOpensURL(url_)) shell_->Open(url_);
  TLabel::Click();
}

bool TsuiURLLabel::Describe(AccessibleElement& e) const {
  if (!TLabel::Describe(e)) return false;
  e.role = AccessibleRole::Link;
  e.description = url_;
  e.defaultAction = "Jump";
  e.state = kAccLinked | (Enabled() ? 0u : kAccUnavailable) | (tabStop ? kAccFocusable : 0u);
  return true;
}

}  // namespace vh
