// The program's own error: raised where an operation must not go on silently
// (a settings file that cannot be written, a theme file that cannot be read),
// and shown to the user by the error handler at the window boundary.
#pragma once

#include <stdexcept>
#include <string>

namespace vh {

class AppError : public std::runtime_error {
 public:
  explicit AppError(const std::string& message) : std::runtime_error(message) {}
};

// "Unable to write to %s" with the file's path.
AppError UnableToWrite(const std::string& path);

}  // namespace vh
