#include "dialogs/guess_limit.h"

#include <algorithm>

namespace folvane {

void GuessLimit::wrong(std::int64_t now) {
  ++wrongAnswers_;
  const int paid = wrongAnswers_ - kFreeWrongAnswers;
  if (paid <= 0) return;
  std::int64_t wait = kFirstWaitMs;
  for (int doubling = 1; doubling < paid && wait < kLongestWaitMs; ++doubling) wait *= 2;
  until_ = now + std::min(wait, kLongestWaitMs);
}

std::string TooManyWrongAnswersText(std::int64_t waitLeftMs) {
  const std::int64_t seconds = (waitLeftMs + 999) / 1000;
  std::string left;
  if (seconds >= 60) left = std::to_string(seconds / 60) + "分";
  if (seconds % 60 != 0 || seconds < 60) left += std::to_string(seconds % 60) + "秒";
  return "パスワードを続けて間違えたため、しばらく入力できません。あと" + left +
         "たってから、もう一度入力して下さい。";
}

}  // namespace folvane
