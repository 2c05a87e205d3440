// Another program often holds a file open for a moment: a virus scanner, a search indexer, a
// backup or sync tool, an editor. A file step that finds the file busy is tried again after a
// short pause that grows, for about a second in all; only then does it count as failed.
#pragma once

#include <functional>

namespace folvane {

enum class StepResult {
  Done,
  Busy,    // another program has the file open, or has it locked: worth another try
  Failed,  // no use trying again (no such folder, a full disk, ...)
};

// One budget of pauses, shared by the steps of one file operation, so that the operation as a
// whole gives up after about a second however many steps it has.
class BusyRetry {
 public:
  // The pauses grow from the first one, doubling up to the longest, and add up to the budget.
  static constexpr int kFirstPauseMs = 10;
  static constexpr int kLongestPauseMs = 50;
  static constexpr int kBudgetMs = 1000;

  // pause waits the given number of milliseconds (the real system sleeps; a test counts).
  explicit BusyRetry(std::function<void(int milliseconds)> pause);

  // Runs step until it is done or fails, pausing before each further try while it is busy and
  // the budget lasts. True when the step was done.
  bool run(const std::function<StepResult()>& step);

  int pausedMs() const { return pausedMs_; }

 private:
  std::function<void(int)> pause_;
  int nextPauseMs_ = kFirstPauseMs;
  int pausedMs_ = 0;
};

}  // namespace folvane
