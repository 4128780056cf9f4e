// A form's control by name, for tests: a missing one (or one of another
// kind) fails the test with the form's and the control's names, whether the
// form's own lookup answers null or throws.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

#include "ui/component_win.h"

namespace vh::test {

class MissingControl : public std::runtime_error {
 public:
  MissingControl(const TComponent& form, const std::string& name, const std::string& why)
      : std::runtime_error(form.Name() + " has no control \"" + name + "\" of the kind asked for" +
                           (why.empty() ? "" : ": " + why)) {}
};

template <typename T>
T& Control(const TComponent& form, const std::string& name) {
  T* found = nullptr;
  try {
    found = form.Find<T>(name);
  } catch (const std::exception& e) {
    throw MissingControl(form, name, e.what());
  }
  if (!found) throw MissingControl(form, name, "");
  return *found;
}

}  // namespace vh::test
