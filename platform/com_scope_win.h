// COM for the calling thread for as long as the scope lasts. A thread that
// already has COM keeps its own apartment (the call then fails with
// RPC_E_CHANGED_MODE, and nothing is released at the end).
#pragma once

#include <objbase.h>

namespace vh {

class ComScope {
 public:
  explicit ComScope(DWORD model) : result_(CoInitializeEx(nullptr, model)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

}  // namespace vh
