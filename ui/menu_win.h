// Popup menus with named items: check marks, separators ("-") and "&"
// accelerators. The items are components of the form, so that translation
// finds them by name; the Win32 menu is built at each popup and freed after.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/component_win.h"

namespace vh {

class TMenuItem : public TComponent {
 public:
  TMenuItem(TComponent* owner, std::string name, std::string caption);
  const char* ClassName() const override { return "TMenuItem"; }

  std::string Caption;
  bool Checked = false;
  bool Enabled = true;
  bool Visible = true;
  TNotifyEvent OnClick;
  bool IsSeparator() const { return Caption == "-"; }
};

class TPopupMenu : public TComponent {
 public:
  TPopupMenu(TComponent* owner, std::string name);
  const char* ClassName() const override { return "TPopupMenu"; }

  // Adds an item owned by the menu's owner (the form), in order.
  TMenuItem& Add(std::string name, std::string caption);
  const std::vector<TMenuItem*>& Items() const { return items_; }
  // Shows the menu with its top-left corner at a screen point, waits for
  // the choice and runs the chosen item's OnClick. Returns that item.
  TMenuItem* Popup(int x, int y);
  // The window that owns the menu while it is shown (the form's).
  HWND ownerWindow = nullptr;

 private:
  std::vector<TMenuItem*> items_;
};

}  // namespace vh
