// The program's one clock on the system: milliseconds since the system started, which setting
// the date and time does not move, so that a wait of the guess limits is neither shortened nor
// lengthened by it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/win32/win32_platform.h"

namespace folvane {
namespace {

TEST(MonotonicClock, CountsTheTimeSinceTheSystemStartedNotTheDate) {
  Win32Platform platform;
  const std::int64_t first = platform.monotonicMilliseconds();
  // Milliseconds since a date (1601 or 1970) are far beyond any time a system has been up.
  constexpr std::int64_t kThirtyYearsMs = 30LL * 365 * 24 * 60 * 60 * 1000;
  EXPECT_GT(first, 0);
  EXPECT_LT(first, kThirtyYearsMs);

  std::int64_t last = first;
  for (int i = 0; i < 100000; ++i) {
    const std::int64_t now = platform.monotonicMilliseconds();
    ASSERT_GE(now, last) << "the clock went back";
    last = now;
  }
  Sleep(200);
  // The system's tick is 10 to 16 ms: the clock may lag the sleep by that much, never more.
  EXPECT_GE(platform.monotonicMilliseconds() - first, 200 - 16);
}

}  // namespace
}  // namespace folvane
