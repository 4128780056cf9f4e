// A form's control by name, for tests: a reference, since a missing one (or
// one of another kind) throws an error naming the form and the control.
#pragma once

#include <stdexcept>
#include <string>

#include "ui/component_win.h"

namespace vh::test {

using MissingControl = std::logic_error;

template <typename T>
T& Control(const TComponent& form, const std::string& name) {
  return *form.Find<T>(name);
}

}  // namespace vh::test
