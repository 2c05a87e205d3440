// The foreground sampler: at every tick of Timer1 it looks at the window in front, shows it in the
// main window's Text box, and hands the sample to whoever decides about it. The program's own
// windows and message boxes, told by their process, are left out.
//
// For a folder window it also takes the folder from the whole title and asks the Shell which folder
// the window shows, but only when it comes forward or its title changes (another folder, another
// tab): a tick where nothing changed asks nothing, and neither does a look at the program's own
// windows in between. Before it asks, it hands over the folder window's sample as its title alone
// gives it, so that a folder the title already names is shut without waiting for the Shell. For
// another program's Open or Save dialog it reads the folder the dialog shows at every tick, since
// the dialog changes folder under the same title.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/controls.h"
#include "platform/platform.h"
#include "store/explorer_title.h"
#include "watch/dialog_reader.h"
#include "watch/sample.h"

namespace folvane {

class Sampler {
 public:
  Sampler(Platform& platform, TextBox& text);
  // One tick: the sample of a window of another program, or std::nullopt for one of the
  // program's own windows (the box keeps what it showed). Errors are reported as every event's.
  std::optional<Sample> Timer1_Timer();
  // The sample the box shows now, if it shows one: adding a folder takes its folder from it.
  const std::optional<Sample>& shown() const { return shown_; }
  // The watch was stopped: the box says so and shows no sample any more.
  void ShowStopped();
  // A sample of the window as it is now, in front or not, with the Shell asked about a folder
  // window: for a window held a while, which may show another folder by the time it is decided
  // about. The box and the samples of the ticks are left as they were.
  Sample SampleAfresh(WindowId window);
  // A folder window's sample made from its title alone (no Shell answer in it), given just
  // before the Shell is asked about the window; the tick's sample, with the answer, follows.
  std::function<void(const Sample&)> beforeShell;

 private:
  // What the window in front gave at the last tick, and the sample made of it.
  struct Read {
    WindowId window;
    std::string classAnsi;
    std::string wholeTitle;  // UTF-8
    bool own;                // one of the program's own windows
    Sample sample;
  };
  const Sample& sampleOf(WindowId window, const std::string& classAnsi,
                         const std::string& wholeTitle);
  // A sample of what a window gave, without what only a folder window has.
  Sample windowSample(WindowId window, const std::string& classAnsi, const std::string& wholeTitle);
  // The whole title, the Shell's answer and the folder of a folder window.
  void SampleFolder(Sample& sample, const std::string& wholeTitle);
  const ExplorerTitleForms& titleForms();
  // The folder of a file dialog.
  void SampleDialog(Sample& sample);
  // Whether the folder window sampled last, which the Shell gave no answer for, is to be asked
  // about again now.
  bool shellAgainDue();

  Platform& platform_;
  TextBox& text_;
  std::optional<Sample> shown_;
  std::optional<Read> last_;
  std::optional<Sample> lastFolder_;         // the folder window sampled last
  std::int64_t shellAskedAt_ = 0;            // when the Shell was last asked about it
  int shellAsksAgain_ = 0;                   // times it was asked again for want of an answer
  std::optional<ExplorerTitleForms> forms_;  // read from the system at the first folder window
  DialogReader dialogs_;
};

}  // namespace folvane
