// COM for the calling thread. ole32, and the RPC runtime it brings, cost
// more than a megabyte of memory once loaded, and most runs never need COM:
// the library is looked up when a thread first asks for an apartment, not
// imported and loaded at start.
#pragma once

#include <objbase.h>

namespace vh {

// COM for as long as the scope lasts. A thread that already has COM keeps
// its own apartment (the call then fails with RPC_E_CHANGED_MODE, and
// nothing is released at the end).
class ComScope {
 public:
  explicit ComScope(DWORD model);
  ~ComScope();
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

// A single-threaded apartment for the rest of the calling thread's life,
// joined on first need: a window thread that hands an object to another
// process (a screen reader's) must have one. Kept until the thread ends, as
// the object handed out may be released at any time after.
void KeepApartmentForThisThread();

}  // namespace vh
