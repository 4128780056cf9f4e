#include "ui/menu_win.h"

#include "platform/text_win.h"
#include "ui/form_win.h"

namespace vh {

TMenuItem::TMenuItem(TComponent* owner, std::string name, std::string caption)
    : TComponent(owner, std::move(name)), Caption(std::move(caption)) {}


TPopupMenu::TPopupMenu(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

TMenuItem& TPopupMenu::Add(std::string name, std::string caption) {
  TComponent* owner = Owner() ? Owner() : this;
  auto& item = Make<TMenuItem>(owner, std::move(name), std::move(caption));
  items_.push_back(&item);
  return item;
}

namespace {

// Owns the HMENU for one popup.
struct MenuHandle {
  HMENU h = CreatePopupMenu();
  ~MenuHandle() { DestroyMenu(h); }
};

}  // namespace

TMenuItem* TPopupMenu::Popup(int x, int y) {
  MenuHandle menu;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    TMenuItem* item = items_[i];
    if (!item->Visible) continue;
    if (item->IsSeparator()) {
      AppendMenuA(menu.h, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item->Checked ? MF_CHECKED : 0) | (item->Enabled ? 0 : MF_GRAYED);
    AppendMenuW(menu.h, flags, UINT_PTR(i + 1), Utf8ToWide(item->Caption).c_str());
  }
  HWND owner = ownerWindow;
  if (!owner) {
    if (auto* form = dynamic_cast<TForm*>(Owner())) owner = form->Handle();
  }
  if (!owner) owner = GetActiveWindow();
  SetForegroundWindow(owner);
  UINT chosen = UINT(TrackPopupMenu(menu.h, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0,
                                    owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  if (chosen == 0 || chosen > items_.size()) return nullptr;
  TMenuItem* item = items_[chosen - 1];
  if (item->OnClick) item->OnClick(*item);
  return item;
}

}  // namespace vh
