#include "watch/sampler.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "dialogs/error_report.h"
#include "forms/captions.h"
#include "platform/whole_characters.h"
#include "store/explorer_title.h"
#include "store/folder_key.h"

namespace folvane {

namespace {

constexpr int kBufferSize = 128;
constexpr char kWatchStopped[] = "ウォッチ停止中";
// A folder window the Shell gave no answer for is asked about again this many times, this long
// apart.
constexpr int kShellAsksAgain = 3;
constexpr std::int64_t kShellAgainAfterMs = 1000;

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
    const WindowId window = platform_.foregroundWindow();
    platform_.className(window, classBuffer, kBufferSize);
    // One read of the whole title: the key of a folder comes from all of it.
    const Sample& sample = sampleOf(window, trimmed(classBuffer), platform_.windowTitle(window));

    // The program's own windows keep the last foreign window in the box, so bringing the main
    // window or a dialog forward never sets off the lock check.
    if (isOwnWindowTitle(sample.title)) {
      if (text_.text().empty()) text_.setText(sample.title);
      return;
    }
    // The program's message boxes start no lock check of their own: one that did could report
    // a damaged data file again each time its own report came to the front.
    if (isOwnMessageBox(sample.className, sample.title)) return;
    if (!sample.isFolderWindow())
      lastFolder_.reset();  // a folder window coming back is asked afresh
    text_.setText(ActiveFormText(sample));
    shown_ = sample;
    sampled = sample;
  });
  return sampled;
}

// The window in front mostly stays the same from one tick to the next: what is made of its class
// and title is kept, and made again only when one of them has changed.
const Sample& Sampler::sampleOf(WindowId window, const std::string& classAnsi,
                                const std::string& wholeTitle) {
  if (last_ && last_->window == window && last_->classAnsi == classAnsi &&
      last_->wholeTitle == wholeTitle && !(last_->sample.isFolderWindow() && shellAgainDue())) {
    return last_->sample;
  }
  Sample sample;
  sample.window = window;
  // The box shows the title's first 127 bytes in the ANSI code page, as the program always has.
  const std::string ansiTitle = platform_.toAnsi(wholeTitle);
  sample.title = platform_.fromAnsi(std::string_view(ansiTitle).substr(
      0, WholeCharacterBytes(ansiTitle, kBufferSize - 1,
                             [this](unsigned char byte) { return platform_.isLeadByte(byte); })));
  sample.className = platform_.fromAnsi(classAnsi);
  if (sample.isFolderWindow()) SampleFolder(sample, wholeTitle);
  last_ = Read{window, classAnsi, wholeTitle, std::move(sample)};
  return last_->sample;
}

void Sampler::SampleFolder(Sample& sample, const std::string& wholeTitle) {
  // The key comes from the whole title: a full path under a long parent folder loses the folder
  // itself to the 128-byte cut of the title the box shows. The Shell is asked again only when the
  // folder window or its title changed, not after a look at the program's own windows; or, a few
  // times a second apart, when it gave no answer (busy, or the window not yet in its list), so
  // that a folder listed under a name only the Shell gives is not let through for good.
  sample.wholeTitle = wholeTitle;
  const bool sameFolder = lastFolder_ && lastFolder_->window == sample.window &&
                          lastFolder_->className == sample.className &&
                          lastFolder_->wholeTitle == sample.wholeTitle;
  if (!forms_) forms_.emplace(platform_.explorerTitleForms());
  if (sameFolder && !shellAgainDue()) {
    sample.shell = lastFolder_->shell;
  } else {
    // The Shell may take up to its whole wait to answer: what the title says goes first.
    if (beforeShell && !isOwnWindowTitle(sample.title)) {
      Sample byTitle = sample;
      byTitle.folder = FolderTitleOf(sample.wholeTitle, std::nullopt, *forms_);
      beforeShell(byTitle);
    }
    shellAsksAgain_ = sameFolder ? shellAsksAgain_ + 1 : 0;
    shellAskedAt_ = platform_.monotonicMilliseconds();
    sample.shell = platform_.folderShownBy(sample.window);
  }
  sample.folder = FolderTitleOf(sample.wholeTitle, sample.shell, *forms_);
  lastFolder_ = sample;
}

bool Sampler::shellAgainDue() {
  return lastFolder_ && !lastFolder_->shell && shellAsksAgain_ < kShellAsksAgain &&
         platform_.monotonicMilliseconds() - shellAskedAt_ >= kShellAgainAfterMs;
}

void Sampler::ShowStopped() {
  shown_.reset();
  text_.setText(kWatchStopped);
}

}  // namespace folvane
