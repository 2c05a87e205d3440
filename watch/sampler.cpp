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

// The main window and the dialogs, among the program's own windows: the box shows them while it
// has shown nothing else yet.
bool isOwnFormTitle(const std::string& title) {
  return title == kMainCaption || title == kLoginCaption || title == kSettingsCaption;
}

}  // namespace

Sampler::Sampler(Platform& platform, TextBox& text)
    : platform_(platform), text_(text), dialogs_(platform) {}

std::optional<Sample> Sampler::Timer1_Timer() {
  std::optional<Sample> sampled;
  WithErrorReport(platform_, [&] {
    char classBuffer[kBufferSize] = {};
    const WindowId window = platform_.foregroundWindow();
    platform_.className(window, classBuffer, kBufferSize);
    // One read of the whole title: the key of a folder comes from all of it.
    const Sample& sample = sampleOf(window, trimmed(classBuffer), platform_.windowTitle(window));

    // The program's own windows, told by their process and not by their titles, which any
    // folder may have, keep the last foreign window in the box: bringing the main window or a
    // dialog forward never sets off the lock check, and a message box never starts a check of
    // its own, which could report a damaged data file again each time the report came forward.
    if (last_->own) {
      if (text_.text().empty() && isOwnFormTitle(sample.title)) text_.setText(sample.title);
      return;
    }
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
    // A file dialog goes from folder to folder under the same title: its folder is read again.
    if (!last_->own && IsDialogClass(last_->sample.className)) SampleDialog(last_->sample);
    return last_->sample;
  }
  // Whose window it is is asked only with a new sample: a window keeps its process.
  const bool own = platform_.isOwnWindow(window);
  Sample sample = windowSample(window, classAnsi, wholeTitle);
  if (!own && sample.isFolderWindow()) SampleFolder(sample, wholeTitle);
  if (!own && IsDialogClass(sample.className)) SampleDialog(sample);
  last_ = Read{window, classAnsi, wholeTitle, own, std::move(sample)};
  return last_->sample;
}

Sample Sampler::windowSample(WindowId window, const std::string& classAnsi,
                             const std::string& wholeTitle) {
  Sample sample;
  sample.window = window;
  // The box shows the title's first 127 bytes in the ANSI code page, as the program always has.
  const std::string ansiTitle = platform_.toAnsi(wholeTitle);
  sample.title = platform_.fromAnsi(std::string_view(ansiTitle).substr(
      0, WholeCharacterBytes(ansiTitle, kBufferSize - 1,
                             [this](unsigned char byte) { return platform_.isLeadByte(byte); })));
  sample.className = platform_.fromAnsi(classAnsi);
  return sample;
}

Sample Sampler::SampleAfresh(WindowId window) {
  char classBuffer[kBufferSize] = {};
  platform_.className(window, classBuffer, kBufferSize);
  const std::string wholeTitle = platform_.windowTitle(window);
  Sample sample = windowSample(window, trimmed(classBuffer), wholeTitle);
  if (sample.isFolderWindow()) {
    sample.wholeTitle = wholeTitle;
    sample.shell = platform_.folderShownBy(window);
    sample.folder = FolderTitleOf(sample.wholeTitle, sample.shell, titleForms());
  }
  if (IsDialogClass(sample.className)) SampleDialog(sample);
  return sample;
}

const ExplorerTitleForms& Sampler::titleForms() {
  if (!forms_) forms_.emplace(platform_.explorerTitleForms());
  return *forms_;
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
  if (sameFolder && !shellAgainDue()) {
    sample.shell = lastFolder_->shell;
  } else {
    // The Shell may take up to its whole wait to answer: what the title says goes first.
    if (beforeShell) {
      Sample byTitle = sample;
      byTitle.folder = FolderTitleOf(sample.wholeTitle, std::nullopt, titleForms());
      beforeShell(byTitle);
    }
    shellAsksAgain_ = sameFolder ? shellAsksAgain_ + 1 : 0;
    shellAskedAt_ = platform_.monotonicMilliseconds();
    sample.shell = platform_.folderShownBy(sample.window);
  }
  sample.folder = FolderTitleOf(sample.wholeTitle, sample.shell, titleForms());
  lastFolder_ = sample;
}

void Sampler::SampleDialog(Sample& sample) {
  const std::optional<std::string> folder = dialogs_.folderShownBy(sample.window);
  sample.fileDialog = folder.has_value();
  sample.folder = folder.value_or("");
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
