// TsuiURLLabel: an underlined link label. It turns FontHoverColor under the
// pointer and FontLinkColor after it leaves, and a click opens URL in the
// user's browser (when URL is not blank), then fires OnClick.
//
//   auto& link = Make<TsuiURLLabel>(&form, &form, "lHomePage");
//   link.SetBounds(20, 120, 0, 0);
//   link.SetCaption("www.tolvane.com");
//   link.SetURL("https://www.tolvane.com/varnhold/");
#pragma once

#include <string>

#include "platform/platform.h"
#include "ui/controls_win.h"

namespace vh {

class TsuiURLLabel : public TLabel {
 public:
  TsuiURLLabel(TComponent* owner, TWinControl* parent, std::string name);
  const char* ClassName() const override { return "TsuiURLLabel"; }

  const std::string& URL() const { return url_; }
  void SetURL(const std::string& url);
  void SetFontHoverColor(Colour c) { hoverColour_ = c; }
  void SetFontLinkColor(Colour c);

  // Opens the address (ShellExecute "open", SW_SHOW by default); tests set
  // their own. Not owned; null restores the default.
  void SetShell(Shell* shell);

  void MouseEnter() override;
  void MouseLeave() override;
  void Click() override;
  // A link opens on Enter, not on Space.
  bool KeyboardHold(bool) override { return false; }
  bool Describe(AccessibleElement& e) const override;

 private:
  void SetFontColour(Colour c);

  std::string url_;
  Colour hoverColour_;
  Colour linkColour_;
  Shell* shell_;
};

}  // namespace vh
