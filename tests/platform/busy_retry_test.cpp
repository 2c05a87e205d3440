#include "platform/busy_retry.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace folvane {
namespace {

// A step that finds the file busy `busy` times and then ends with `last`.
struct Step {
  int busy;
  StepResult last;
  int calls = 0;
  StepResult operator()() { return ++calls <= busy ? StepResult::Busy : last; }
};

int Sum(const std::vector<int>& pauses) {
  return std::accumulate(pauses.begin(), pauses.end(), 0);
}

TEST(BusyRetry, ABusyStepIsTriedAgainAfterGrowingPauses) {
  struct Case {
    const char* why;
    int busy;
    StepResult last;
    bool done;
    std::vector<int> pauses;
  } cases[] = {
      {"free at once", 0, StepResult::Done, true, {}},
      {"free after one try", 1, StepResult::Done, true, {10}},
      {"free after four tries", 4, StepResult::Done, true, {10, 20, 40, 50}},
      {"a failure is not tried again", 0, StepResult::Failed, false, {}},
      {"busy, then a failure", 2, StepResult::Failed, false, {10, 20}},
  };
  for (const Case& c : cases) {
    std::vector<int> pauses;
    BusyRetry retry([&](int ms) { pauses.push_back(ms); });
    Step step{c.busy, c.last};
    EXPECT_EQ(retry.run(std::ref(step)), c.done) << c.why;
    EXPECT_EQ(pauses, c.pauses) << c.why;
    EXPECT_EQ(step.calls, c.busy + 1) << c.why;
    EXPECT_EQ(retry.pausedMs(), Sum(c.pauses)) << c.why;
  }
}

TEST(BusyRetry, AFileThatStaysBusyIsGivenUpAfterASecond) {
  std::vector<int> pauses;
  BusyRetry retry([&](int ms) { pauses.push_back(ms); });
  Step step{1000000, StepResult::Done};
  EXPECT_FALSE(retry.run(std::ref(step)));
  EXPECT_EQ(Sum(pauses), 1000);
  EXPECT_EQ(step.calls, static_cast<int>(pauses.size()) + 1) << "one last try after the last pause";
  // Short pauses: a file free for a moment between two holds is found free.
  for (std::size_t i = 0; i < pauses.size(); ++i) {
    EXPECT_GT(pauses[i], 0);
    EXPECT_LE(pauses[i], 50);
    if (i > 0 && i + 1 < pauses.size()) {
      EXPECT_GE(pauses[i], pauses[i - 1]) << "only the last pause is cut short";
    }
  }
}

TEST(BusyRetry, TheStepsOfOneOperationShareTheSecond) {
  std::vector<int> pauses;
  BusyRetry retry([&](int ms) { pauses.push_back(ms); });
  Step write{3, StepResult::Done};
  Step swap{1000000, StepResult::Done};
  EXPECT_TRUE(retry.run(std::ref(write)));
  EXPECT_FALSE(retry.run(std::ref(swap)));
  EXPECT_EQ(Sum(pauses), 1000);
  // The second step goes on from the pause the first one reached.
  ASSERT_GE(pauses.size(), 4u);
  EXPECT_EQ(pauses[3], 50);

  // Once the second is spent, a busy step is not tried again.
  Step late{1, StepResult::Done};
  EXPECT_FALSE(retry.run(std::ref(late)));
  EXPECT_EQ(late.calls, 1);
}

}  // namespace
}  // namespace folvane
