#include "ui/error_report_win.h"

#include <windows.h>

#include "platform/error.h"
#include "ui/message_box_win.h"

namespace vh {

namespace {

ExceptionSink& Sink() {
  static ExceptionSink sink;
  return sink;
}

AppErrorText& ErrorText() {
  static AppErrorText text;
  return text;
}

}  // namespace

void SetExceptionSink(ExceptionSink sink) { Sink() = std::move(sink); }

void SetAppErrorText(AppErrorText text) { ErrorText() = std::move(text); }

void ReportException() { ReportException(std::current_exception()); }

void ReportException(std::exception_ptr error) {
  std::string text = "Unexpected error", shown;
  if (error) try {
    std::rethrow_exception(error);
  } catch (const AppError& e) {
    text = e.what();
    if (ErrorText()) shown = ErrorText()(e);
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
  }
  if (Sink()) {
    Sink()(text);
  } else {
    ShowMessageBox(shown.empty() ? text : shown, MB_OK | MB_ICONERROR);
  }
}

}  // namespace vh
