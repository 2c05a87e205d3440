// Run-time errors and the program's common error report. Only the sampler's tick and the lock
// check install the report; everywhere else malformed data is turned into plain results.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/platform.h"

namespace folvane {

// A run-time error with its number and its description as the report shows them.
class RunTimeError : public std::runtime_error {
 public:
  RunTimeError(int number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}
  int number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  int number_;
  std::string description_;
};

// The errors that malformed data files can raise.
RunTimeError InvalidCallError();   // 5: a value outside what the call accepts
RunTimeError OverflowError();      // 6: a number outside its range
RunTimeError TypeMismatchError();  // 13: a text that is not a number

// "エラー " + number + CR LF + description, warning icon, OK, the application title as caption.
void ShowErrorReport(Platform& platform, const RunTimeError& error);

// Runs body; a RunTimeError ends it with the error report instead of travelling further.
template <typename Body>
void WithErrorReport(Platform& platform, Body&& body) {
  try {
    body();
  } catch (const RunTimeError& error) {
    ShowErrorReport(platform, error);
  }
}

}  // namespace folvane
