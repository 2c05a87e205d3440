#include "dialogs/guess_limit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace folvane {
namespace {

// Five wrong answers are free; from the sixth, each one starts a wait that doubles from 30 s
// and stops growing at 15 minutes. A right answer forgets them.
TEST(GuessLimitTest, TheScheduleOfWaits) {
  const std::vector<std::int64_t> waitAfter = {
      0, 0, 0, 0, 0, 30'000, 60'000, 120'000, 240'000, 480'000, 900'000, 900'000, 900'000};
  GuessLimit limit;
  std::int64_t now = 1'000'000;
  for (std::size_t i = 0; i < waitAfter.size(); ++i) {
    limit.wrong(now);
    EXPECT_EQ(limit.waitLeft(now), waitAfter[i]) << "after wrong answer " << i + 1;
    EXPECT_EQ(limit.waitLeft(now + waitAfter[i]), 0) << "over once the wait has passed";
    now += waitAfter[i];
  }
  limit.right();
  for (int i = 0; i < 5; ++i) limit.wrong(now);
  EXPECT_EQ(limit.waitLeft(now), 0) << "a right answer starts the count afresh";
  limit.wrong(now);
  EXPECT_EQ(limit.waitLeft(now), 30'000);
}

TEST(GuessLimitTest, TheMessageSaysHowLongInMinutesAndSeconds) {
  const struct {
    std::int64_t left;
    const char* said;
  } cases[] = {{30'000, "30秒"}, {29'001, "30秒"},    {1, "1秒"},
               {60'000, "1分"},  {90'500, "1分31秒"}, {900'000, "15分"}};
  for (const auto& c : cases) {
    EXPECT_EQ(TooManyWrongAnswersText(c.left),
              std::string("パスワードを続けて間違えたため、しばらく入力できません。あと") + c.said +
                  "たってから、もう一度入力して下さい。")
        << c.left;
  }
}

}  // namespace
}  // namespace folvane
