// How many wrong answers a kind of password question forgives, and how long the user then waits
// before the next answer is taken. Forgiving: five wrong answers in a row cost nothing; from the
// sixth, each wrong answer starts a wait that doubles from 30 seconds up to 15 minutes. A right
// answer forgets them all. Kept in memory only, on the monotonic clock, so that changing the
// date and time neither shortens nor lengthens a wait.
#pragma once

#include <cstdint>
#include <string>

namespace folvane {

class GuessLimit {
 public:
  static constexpr int kFreeWrongAnswers = 5;
  static constexpr std::int64_t kFirstWaitMs = 30 * 1000;
  static constexpr std::int64_t kLongestWaitMs = 15 * 60 * 1000;

  // Milliseconds until an answer is taken again; 0 when one is taken now. `now` is the
  // monotonic clock's.
  std::int64_t waitLeft(std::int64_t now) const { return until_ > now ? until_ - now : 0; }
  void wrong(std::int64_t now);
  void right() { *this = GuessLimit(); }

 private:
  int wrongAnswers_ = 0;
  std::int64_t until_ = 0;
};

// What the program says while a wait lasts: that too many wrong passwords were entered, and how
// long until the next try, in whole minutes and seconds, rounded up.
std::string TooManyWrongAnswersText(std::int64_t waitLeftMs);

}  // namespace folvane
