// The report of an exception caught at a window, timer or thread boundary,
// where it must not cross into Win32.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace vh {

// Reports the exception being handled: to the user in a message box, or to
// the sink when one is set.
void ReportException();
void ReportException(std::exception_ptr error);

// Where ReportException sends the exception's text instead of a message box
// (a run without a user, which nobody could answer); empty: the box again.
using ExceptionSink = std::function<void(const std::string& text)>;
void SetExceptionSink(ExceptionSink sink);

// What the box says for one of the program's errors (its message in the
// user's language); empty: its English text.
class AppError;
using AppErrorText = std::function<std::string(const AppError& error)>;
void SetAppErrorText(AppErrorText text);

}  // namespace vh
