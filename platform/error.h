// The program's own error: raised where an operation must not go on silently
// (a settings file that cannot be written, a theme file that cannot be read),
// and shown to the user by the error handler at the window boundary.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace vh {

// what() is English, for the run log; an error that is one of the
// program's messages also names it, so that the user reads it in the
// current language.
class AppError : public std::runtime_error {
 public:
  explicit AppError(const std::string& message) : std::runtime_error(message) {}
  AppError(unsigned messageId, std::vector<std::string> values, const std::string& english)
      : std::runtime_error(english), messageId(messageId), values(std::move(values)) {}
  unsigned messageId = 0;  // 0: no message, what() is all there is
  std::vector<std::string> values;
};

// The message IDS_UNABLE_TO_WRITE, "Unable to write to %1", with the file's path.
AppError UnableToWrite(const std::string& path);

}  // namespace vh
