#include "platform/busy_retry.h"

#include <algorithm>
#include <utility>

namespace folvane {

BusyRetry::BusyRetry(std::function<void(int)> pause) : pause_(std::move(pause)) {}

bool BusyRetry::run(const std::function<StepResult()>& step) {
  for (;;) {
    const StepResult result = step();
    if (result != StepResult::Busy) return result == StepResult::Done;
    const int left = kBudgetMs - pausedMs_;
    if (left <= 0) return false;
    const int pause = std::min(nextPauseMs_, left);
    pause_(pause);
    pausedMs_ += pause;
    nextPauseMs_ = std::min(nextPauseMs_ * 2, kLongestPauseMs);
  }
}

}  // namespace folvane
