#include "platform/com_scope_win.h"

#include "platform/system_library_win.h"

namespace vh {

namespace {

struct ComFunctions {
  decltype(&::CoInitializeEx) initialize = nullptr;
  decltype(&::CoUninitialize) uninitialize = nullptr;
};

const ComFunctions& Com() {
  static const ComFunctions functions = [] {
    ComFunctions f;
    HMODULE ole32 = LoadSystemLibrary("ole32.dll");
    f.initialize = LibraryFunction<decltype(f.initialize)>(ole32, "CoInitializeEx");
    f.uninitialize = LibraryFunction<decltype(f.uninitialize)>(ole32, "CoUninitialize");
    return f;
  }();
  return functions;
}

HRESULT Initialize(DWORD model) {
  const ComFunctions& com = Com();
  return com.initialize && com.uninitialize ? com.initialize(nullptr, model) : E_FAIL;
}

}  // namespace

ComScope::ComScope(DWORD model) : result_(Initialize(model)) {}

ComScope::~ComScope() {
  if (SUCCEEDED(result_)) Com().uninitialize();
}

void KeepApartmentForThisThread() {
  static thread_local bool joined = false;
  if (joined) return;
  joined = true;
  Initialize(COINIT_APARTMENTTHREADED);
}

}  // namespace vh
