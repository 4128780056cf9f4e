#include "ui/error_report_win.h"

#include <windows.h>

#include "ui/message_box_win.h"

namespace vh {

namespace {

ExceptionSink& Sink() {
  static ExceptionSink sink;
  return sink;
}

}  // namespace

void SetExceptionSink(ExceptionSink sink) { Sink() = std::move(sink); }

void ReportException() { ReportException(std::current_exception()); }

void ReportException(std::exception_ptr error) {
  std::string text = "Unexpected error";
  if (error) try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
  }
  if (Sink()) {
    Sink()(text);
  } else {
    ShowMessageBox(text, MB_OK | MB_ICONERROR);
  }
}

}  // namespace vh
