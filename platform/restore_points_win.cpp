// The restore points System Restore keeps, read from its WMI provider: the
// SystemRestore class of root\default ("SystemRestore class", XP and later).
// ole32 and oleaut32 are looked up at run time, as for every other use of
// COM here.
#include <windows.h>

#include <objbase.h>
#include <wbemcli.h>

#include "platform/cim_datetime.h"
#include "platform/com_scope_win.h"
#include "platform/system_library_win.h"
#include "platform/text_win.h"
#include "platform/win32_platform_win.h"

namespace vh {

namespace {

const CLSID kWbemLocator = {0x4590f811, 0x1d3a, 0x11d0, {0x89, 0x1f, 0x00, 0xaa, 0x00, 0x4b, 0x2e, 0x24}};

struct WmiFunctions {
  decltype(&::CoCreateInstance) createInstance = nullptr;
  decltype(&::CoSetProxyBlanket) setProxyBlanket = nullptr;
  decltype(&::SysAllocString) allocString = nullptr;
  decltype(&::SysFreeString) freeString = nullptr;
  decltype(&::VariantClear) variantClear = nullptr;
  bool Complete() const { return createInstance && setProxyBlanket && allocString && freeString && variantClear; }
};

const WmiFunctions& Wmi() {
  static const WmiFunctions functions = [] {
    WmiFunctions f;
    HMODULE ole32 = LoadSystemLibrary("ole32.dll");
    HMODULE oleaut = LoadSystemLibrary("oleaut32.dll");
    f.createInstance = LibraryFunction<decltype(f.createInstance)>(ole32, "CoCreateInstance");
    f.setProxyBlanket = LibraryFunction<decltype(f.setProxyBlanket)>(ole32, "CoSetProxyBlanket");
    f.allocString = LibraryFunction<decltype(f.allocString)>(oleaut, "SysAllocString");
    f.freeString = LibraryFunction<decltype(f.freeString)>(oleaut, "SysFreeString");
    f.variantClear = LibraryFunction<decltype(f.variantClear)>(oleaut, "VariantClear");
    return f;
  }();
  return functions;
}

// A COM pointer released at the end of its scope.
template <typename T>
class Held {
 public:
  ~Held() {
    if (p_) p_->Release();
  }
  T** out() { return &p_; }
  T* operator->() const { return p_; }
  T* get() const { return p_; }

 private:
  T* p_ = nullptr;
};

// A BSTR freed at the end of its scope.
class Text {
 public:
  explicit Text(const wchar_t* text) : b_(Wmi().allocString(text)) {}
  ~Text() { Wmi().freeString(b_); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  BSTR get() const { return b_; }

 private:
  BSTR b_;
};

// The provider asks the caller's identity: without CoInitializeSecurity,
// the proxy's own level must say that it may be impersonated.
void AllowImpersonation(IUnknown* proxy) {
  Wmi().setProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                        RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

std::optional<ListedRestorePoint> PointOf(IWbemClassObject* object) {
  const WmiFunctions& wmi = Wmi();
  ListedRestorePoint point;
  VARIANT value{};  // VT_EMPTY, as VariantInit leaves it
  if (FAILED(object->Get(L"SequenceNumber", 0, &value, nullptr, nullptr))) return std::nullopt;
  // A uint32 property arrives as VT_I4.
  const bool numbered = value.vt == VT_I4 || value.vt == VT_UI4;
  if (numbered) point.sequenceNumber = std::int64_t(std::uint32_t(value.lVal));
  wmi.variantClear(&value);
  if (!numbered) return std::nullopt;
  if (SUCCEEDED(object->Get(L"CreationTime", 0, &value, nullptr, nullptr)) && value.vt == VT_BSTR && value.bstrVal)
    point.created = CimDateTimeToFileTime(WideToUtf8(value.bstrVal)).value_or(0);
  wmi.variantClear(&value);
  return point;
}

}  // namespace

std::optional<std::vector<ListedRestorePoint>> Win32Platform::ListRestorePoints() {
  const WmiFunctions& wmi = Wmi();
  if (!wmi.Complete()) return std::nullopt;
  ComScope com(COINIT_MULTITHREADED);
  Held<IWbemLocator> locator;
  if (FAILED(wmi.createInstance(kWbemLocator, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWbemLocator),
                                reinterpret_cast<void**>(locator.out()))))
    return std::nullopt;
  Held<IWbemServices> services;
  Text space(L"root\\default");
  if (FAILED(locator->ConnectServer(space.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.out())))
    return std::nullopt;
  AllowImpersonation(services.get());
  Held<IEnumWbemClassObject> found;
  Text language(L"WQL"), query(L"SELECT SequenceNumber, CreationTime FROM SystemRestore");
  if (FAILED(services->ExecQuery(language.get(), query.get(), WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                 nullptr, found.out())))
    return std::nullopt;
  AllowImpersonation(found.get());
  std::vector<ListedRestorePoint> points;
  for (;;) {
    Held<IWbemClassObject> object;
    ULONG returned = 0;
    HRESULT next = found->Next(WBEM_INFINITE, 1, object.out(), &returned);
    if (next == WBEM_S_FALSE || returned == 0) break;
    if (FAILED(next)) return std::nullopt;
    if (std::optional<ListedRestorePoint> point = PointOf(object.get())) points.push_back(*point);
  }
  return points;
}

}  // namespace vh
