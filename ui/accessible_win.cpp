#include "ui/accessible_win.h"

#include <oleacc.h>

#include <string>

#include "platform/com_scope_win.h"
#include "platform/system_library_win.h"
#include "platform/text_win.h"

namespace vh {
namespace {

// oleacc, with the oleaut32 it brings, adds over half a megabyte to the
// process: both are looked up when a screen reader first asks for a
// window's object, not imported and loaded at start by every run.
struct AccessibilityLibraries {
  decltype(&::AccessibleObjectFromWindow) objectFromWindow = nullptr;
  decltype(&::CreateStdAccessibleObject) createStandardObject = nullptr;
  decltype(&::LresultFromObject) resultFromObject = nullptr;
  decltype(&::SysAllocStringLen) allocString = nullptr;
  decltype(&::VariantInit) variantInit = nullptr;
  bool Ready() const {
    return objectFromWindow && createStandardObject && resultFromObject && allocString && variantInit;
  }
};

// Loaded once and kept: the objects handed out run the libraries' code.
const AccessibilityLibraries& Libraries() {
  static const AccessibilityLibraries libraries = [] {
    AccessibilityLibraries l;
    HMODULE oleacc = LoadSystemLibrary("oleacc.dll");
    HMODULE oleaut = LoadSystemLibrary("oleaut32.dll");
    l.objectFromWindow = LibraryFunction<decltype(l.objectFromWindow)>(oleacc, "AccessibleObjectFromWindow");
    l.createStandardObject = LibraryFunction<decltype(l.createStandardObject)>(oleacc, "CreateStdAccessibleObject");
    l.resultFromObject = LibraryFunction<decltype(l.resultFromObject)>(oleacc, "LresultFromObject");
    l.allocString = LibraryFunction<decltype(l.allocString)>(oleaut, "SysAllocStringLen");
    l.variantInit = LibraryFunction<decltype(l.variantInit)>(oleaut, "VariantInit");
    return l;
  }();
  return libraries;
}

// The elements' texts are UTF-8, as the windows draw them; a screen reader
// takes UTF-16, whatever the system's ANSI code page.
BSTR ToBstr(const std::string& utf8) {
  if (utf8.empty()) return nullptr;
  const std::wstring wide = Utf8ToWide(utf8);
  return Libraries().allocString(wide.data(), UINT(wide.size()));
}

LONG RoleOf(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleRole::StaticText: return ROLE_SYSTEM_STATICTEXT;
    case AccessibleRole::Link: return ROLE_SYSTEM_LINK;
    case AccessibleRole::Graphic: return ROLE_SYSTEM_GRAPHIC;
  }
  return ROLE_SYSTEM_CLIENT;
}

LONG StateOf(unsigned state) {
  LONG s = 0;
  if (state & kAccUnavailable) s |= STATE_SYSTEM_UNAVAILABLE;
  if (state & kAccFocused) s |= STATE_SYSTEM_FOCUSED;
  if (state & kAccPressed) s |= STATE_SYSTEM_PRESSED;
  if (state & kAccHot) s |= STATE_SYSTEM_HOTTRACKED;
  if (state & kAccFocusable) s |= STATE_SYSTEM_FOCUSABLE;
  if (state & kAccLinked) s |= STATE_SYSTEM_LINKED;
  if (state & kAccReadOnly) s |= STATE_SYSTEM_READONLY;
  return s;
}

// The standard object of a child window, as the system hands it out.
IDispatch* WindowObject(HWND window) {
  IDispatch* object = nullptr;
  if (FAILED(Libraries().objectFromWindow(window, DWORD(OBJID_WINDOW), __uuidof(IDispatch),
                                        reinterpret_cast<void**>(&object))))
    return nullptr;
  return object;
}

class FormAccessible final : public IAccessible {
 public:
  FormAccessible(AccessibleLink link, HWND hwnd) : link_(std::move(link)), hwnd_(hwnd) {
    Libraries().createStandardObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard_));
  }
  ~FormAccessible() {
    if (standard_) standard_->Release();
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return ULONG(n);
  }

  // IDispatch: clients use the IAccessible methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (n) *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!Alive()) return E_FAIL;
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    if (!Alive()) return E_FAIL;
    *count = LONG(Children().size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
    if (!child) return E_POINTER;
    *child = nullptr;
    if (!Alive()) return E_FAIL;
    auto children = Children();
    int i = IndexOf(id, children);
    if (i < 0) return E_INVALIDARG;
    if (!children[std::size_t(i)].window) return S_FALSE;  // a simple element
    *child = WindowObject(children[std::size_t(i)].window);
    return *child ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
    return Text(id, name, &IAccessible::get_accName, [](const AccessibleElement& e) { return e.name; });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override {
    return Text(id, value, &IAccessible::get_accValue, [](const AccessibleElement&) { return std::string(); });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* text) override {
    return Text(id, text, &IAccessible::get_accDescription, [](const AccessibleElement& e) { return e.description; });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
    return Variant(id, role, &IAccessible::get_accRole, [](const AccessibleElement& e, VARIANT* v) {
      v->vt = VT_I4;
      v->lVal = RoleOf(e.role);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
    return Variant(id, state, &IAccessible::get_accState, [](const AccessibleElement& e, VARIANT* v) {
      v->vt = VT_I4;
      v->lVal = StateOf(e.state);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override {
    return Text(id, help, &IAccessible::get_accHelp, [](const AccessibleElement&) { return std::string(); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, LONG* topic) override {
    if (!Alive()) return E_FAIL;
    if (IsSelf(id)) return standard_->get_accHelpTopic(file, id, topic);
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* keys) override {
    return Text(id, keys, &IAccessible::get_accKeyboardShortcut,
                [](const AccessibleElement& e) { return e.keyboardShortcut; });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    Libraries().variantInit(focus);
    if (!Alive()) return E_FAIL;
    int i = Host()->FocusedAccessibleChild();
    if (i >= 0 && GetFocus() == hwnd_) {
      focus->vt = VT_I4;
      focus->lVal = i + 1;
      return S_OK;
    }
    auto children = Children();
    for (std::size_t k = 0; k < children.size(); ++k) {
      HWND w = children[k].window;
      if (w && (GetFocus() == w || IsChild(w, GetFocus()))) return AsVariant(children, int(k), focus);
    }
    return standard_->get_accFocus(focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    Libraries().variantInit(selection);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
    return Text(id, action, &IAccessible::get_accDefaultAction,
                [](const AccessibleElement& e) { return e.defaultAction; });
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT id) override {
    if (!Alive()) return E_FAIL;
    if (IsSelf(id)) return standard_->accSelect(flags, id);
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT id) override {
    if (!x || !y || !w || !h) return E_POINTER;
    if (!Alive()) return E_FAIL;
    if (IsSelf(id)) return standard_->accLocation(x, y, w, h, id);
    auto children = Children();
    int i = IndexOf(id, children);
    if (i < 0) return E_INVALIDARG;
    const Rect& r = children[std::size_t(i)].element.bounds;
    POINT origin{r.left, r.top};
    ClientToScreen(hwnd_, &origin);
    *x = origin.x;
    *y = origin.y;
    *w = r.Width();
    *h = r.Height();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    Libraries().variantInit(end);
    if (!Alive()) return E_FAIL;
    auto children = Children();
    const int n = int(children.size());
    int target = -1;
    if (IsSelf(start)) {
      if (direction == NAVDIR_FIRSTCHILD) target = 0;
      else if (direction == NAVDIR_LASTCHILD) target = n - 1;
      else return standard_->accNavigate(direction, start, end);
    } else {
      int i = IndexOf(start, children);
      if (i < 0) return E_INVALIDARG;
      if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT) target = i + 1;
      else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT) target = i - 1;
    }
    if (target < 0 || target >= n) return S_FALSE;
    return AsVariant(children, target, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    Libraries().variantInit(hit);
    if (!Alive()) return E_FAIL;
    POINT p{x, y};
    ScreenToClient(hwnd_, &p);
    RECT client;
    GetClientRect(hwnd_, &client);
    if (!PtInRect(&client, p)) return standard_->accHitTest(x, y, hit);
    auto children = Children();
    std::vector<AccessibleElement> elements;
    for (const AccessibleChild& c : children) elements.push_back(c.element);
    int i = ElementAt(elements, Point{p.x, p.y});
    if (i < 0) {
      hit->vt = VT_I4;
      hit->lVal = CHILDID_SELF;
      return S_OK;
    }
    return AsVariant(children, i, hit);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
    if (!Alive()) return E_FAIL;
    if (IsSelf(id)) return standard_->accDoDefaultAction(id);
    auto children = Children();
    int i = IndexOf(id, children);
    if (i < 0) return E_INVALIDARG;
    const AccessibleChild& c = children[std::size_t(i)];
    if (c.element.defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
    if (c.element.state & kAccUnavailable) return E_FAIL;
    // Posted: a press may open a modal dialog, which must not run inside
    // the caller's call.
    Host()->PostAccessiblePress(i);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  bool Alive() const { return *link_ != nullptr && standard_ != nullptr && IsWindow(hwnd_); }
  AccessibleHost* Host() const { return *link_; }
  std::vector<AccessibleChild> Children() const { return Host()->AccessibleChildren(); }
  static bool IsSelf(const VARIANT& id) { return id.vt == VT_I4 && id.lVal == CHILDID_SELF; }
  static int IndexOf(const VARIANT& id, const std::vector<AccessibleChild>& children) {
    if (id.vt != VT_I4 || id.lVal < 1 || id.lVal > LONG(children.size())) return -1;
    return int(id.lVal - 1);
  }
  static HRESULT AsVariant(const std::vector<AccessibleChild>& children, int i, VARIANT* out) {
    if (HWND w = children[std::size_t(i)].window) {
      if (IDispatch* object = WindowObject(w)) {
        out->vt = VT_DISPATCH;
        out->pdispVal = object;
        return S_OK;
      }
    }
    out->vt = VT_I4;
    out->lVal = i + 1;
    return S_OK;
  }

  // The standard object answers for the window itself, a windowed child's
  // own object for that child, and onElement for a windowless one.
  template <typename Out, typename OnElement>
  HRESULT Answer(VARIANT id, Out* out, HRESULT (STDMETHODCALLTYPE IAccessible::*getter)(VARIANT, Out*),
                 OnElement onElement) {
    if (!Alive()) return E_FAIL;
    if (IsSelf(id)) return (standard_->*getter)(id, out);
    auto children = Children();
    int i = IndexOf(id, children);
    if (i < 0) return E_INVALIDARG;
    const AccessibleChild& c = children[std::size_t(i)];
    if (c.window) return ForWindow(c.window, [&](IAccessible* a, VARIANT self) { return (a->*getter)(self, out); });
    return onElement(c.element);
  }

  using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
  template <typename Pick>
  HRESULT Text(VARIANT id, BSTR* out, TextGetter getter, Pick pick) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Answer(id, out, getter, [&](const AccessibleElement& element) -> HRESULT {
      std::string text = pick(element);
      if (text.empty()) return S_FALSE;
      *out = ToBstr(text);
      return *out ? S_OK : E_OUTOFMEMORY;
    });
  }

  using VariantGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, VARIANT*);
  template <typename Fill>
  HRESULT Variant(VARIANT id, VARIANT* out, VariantGetter getter, Fill fill) {
    if (!out) return E_POINTER;
    Libraries().variantInit(out);
    return Answer(id, out, getter, [&](const AccessibleElement& element) -> HRESULT {
      fill(element, out);
      return S_OK;
    });
  }

  // A question about a windowed child goes to its own standard object.
  template <typename Ask>
  static HRESULT ForWindow(HWND window, Ask ask) {
    IAccessible* a = nullptr;
    if (FAILED(Libraries().objectFromWindow(window, DWORD(OBJID_WINDOW), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&a))))
      return E_FAIL;
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    HRESULT hr = ask(a, self);
    a->Release();
    return hr;
  }

  LONG refs_ = 1;
  AccessibleLink link_;
  HWND hwnd_;
  IAccessible* standard_ = nullptr;
};

}  // namespace

LRESULT AnswerGetObject(const AccessibleLink& link, WPARAM wp, LPARAM lp) {
  if (LONG(lp) != OBJID_CLIENT || !link || !*link || !Libraries().Ready()) return 0;
  // The object is marshalled to the asking process through COM.
  KeepApartmentForThisThread();
  auto* object = new FormAccessible(link, (*link)->AccessibleWindow());
  LRESULT result = Libraries().resultFromObject(__uuidof(IAccessible), wp, object);
  object->Release();
  return result > 0 ? result : 0;
}

void NotifyAccessibleFocus(HWND hwnd, int index) {
  if (index >= 0) NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, LONG(index + 1));
}

}  // namespace vh
