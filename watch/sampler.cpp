#include "watch/sampler.h"

#include <cstring>
#include <string>

#include "dialogs/error_report.h"
#include "forms/captions.h"

namespace folvane {

namespace {

constexpr int kBufferSize = 128;

// The part of a narrow buffer before its first NUL.
std::string Trimmed(const char (&buffer)[kBufferSize]) {
  return std::string(buffer, strnlen(buffer, kBufferSize));
}

bool IsOwnWindowTitle(const std::string& title) {
  return title == kMainCaption || title == kLoginCaption || title == kSettingsCaption;
}

}  // namespace

Sampler::Sampler(Platform& platform, TextBox& text) : platform_(platform), text_(text) {}

void Sampler::Timer1_Timer() {
  WithErrorReport(platform_, [&] {
    char classBuffer[kBufferSize] = {};
    char titleBuffer[kBufferSize] = {};
    const WindowId window = platform_.foregroundWindow();
    platform_.className(window, classBuffer, kBufferSize);
    platform_.windowText(window, titleBuffer, kBufferSize);
    const std::string title = platform_.fromAnsi(Trimmed(titleBuffer));

    // The program's own windows keep the last foreign window in the box, so bringing the main
    // window or a dialog forward never sets off the lock check.
    if (IsOwnWindowTitle(title)) {
      if (text_.text().empty()) text_.setText(title);
      return;
    }
    const std::string className = platform_.fromAnsi(Trimmed(classBuffer));
    text_.setText(className + " (" + title + ")");
  });
}

}  // namespace folvane
