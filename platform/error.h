// The program's own error: raised where a Part calls for "an error" and shown
// to the user by the application's error handler at the window boundary.
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
