// The handler std::terminate calls. The C++ runtime's default one writes the
// exception's demangled type to stderr, which a GUI program has nowhere to
// show, and links the runtime's whole demangler (some 45 KB) for it. This
// definition takes its place at link time; terminating still aborts.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler();
void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
