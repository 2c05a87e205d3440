#include "watch/sampler.h"

#include <cstring>
#include <string>
#include <utility>

#include "dialogs/error_report.h"
#include "forms/captions.h"
#include "store/folder_key.h"
#include "watch/explorer_title.h"

namespace folvane {

namespace {

constexpr int kBufferSize = 128;
constexpr char kWatchStopped[] = "ウォッチ停止中";

// The part of a narrow buffer before its first NUL.
std::string trimmed(const char (&buffer)[kBufferSize]) {
  return std::string(buffer, strnlen(buffer, kBufferSize));
}

bool isOwnWindowTitle(const std::string& title) {
  return title == kMainCaption || title == kLoginCaption || title == kSettingsCaption;
}

// A message box of the program: a dialog-class window captioned with the program's title or
// with the password dialog's own caption. A folder window may well be titled "Folvane".
bool isOwnMessageBox(const std::string& className, const std::string& title) {
  return className == "#32770" && (title == kAppTitle || title == kMismatchCaption);
}

}  // namespace

Sampler::Sampler(Platform& platform, TextBox& text) : platform_(platform), text_(text) {}

std::optional<Sample> Sampler::Timer1_Timer() {
  std::optional<Sample> sampled;
  WithErrorReport(platform_, [&] {
    char classBuffer[kBufferSize] = {};
    char titleBuffer[kBufferSize] = {};
    Sample sample;
    sample.window = platform_.foregroundWindow();
    platform_.className(sample.window, classBuffer, kBufferSize);
    platform_.windowText(sample.window, titleBuffer, kBufferSize);
    sample.title = platform_.fromAnsi(trimmed(titleBuffer));

    // The program's own windows keep the last foreign window in the box, so bringing the main
    // window or a dialog forward never sets off the lock check.
    if (isOwnWindowTitle(sample.title)) {
      if (text_.text().empty()) text_.setText(sample.title);
      return;
    }
    sample.className = platform_.fromAnsi(trimmed(classBuffer));
    // The program's message boxes start no lock check of their own: one that did could report
    // a damaged data file again each time its own report came to the front.
    if (isOwnMessageBox(sample.className, sample.title)) return;
    if (IsFolderWindowClass(sample.className) || IsFolderTreeWindowClass(sample.className)) {
      sample.folder = FolderOfExplorerTitle(platform_.windowTitle(sample.window),
                                            platform_.explorerTitleFormat());
    }
    text_.setText(ActiveFormText(sample));
    shown_ = sample;
    sampled = std::move(sample);
  });
  return sampled;
}

void Sampler::ShowStopped() {
  shown_.reset();
  text_.setText(kWatchStopped);
}

}  // namespace folvane
