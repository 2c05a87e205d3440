// The watcher's start against the system: which command lines make the program a go-between or
// a watcher, and that neither takes handles it did not inherit.
#include "platform/win32/win32_held_watcher.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

namespace folvane {
namespace {

TEST(HeldWatcher, OnlyTheProgramsOwnCommandLinesStartAWatcher) {
  using Role = WatcherStart::Role;
  const struct {
    const wchar_t* commandLine;
    std::optional<Role> role;
  } cases[] = {
      {L"\"C:\\Folvane\\Folvane.exe\" /start-watcher 12 34", Role::StartWatcher},
      {L"\"C:\\Folvane\\Folvane.exe\" /watch-held 12 34", Role::Watch},
      {L"\"C:\\Folvane\\Folvane.exe\"", std::nullopt},
      {L"Folvane.exe /watch-held 12", std::nullopt},
      {L"Folvane.exe /watch-held 12 34 56", std::nullopt},
      {L"Folvane.exe /watch-held 0 34", std::nullopt},
      {L"Folvane.exe /watch-held 12 x", std::nullopt},
      {L"Folvane.exe other /watch-held 12 34", std::nullopt},
      {L"Folvane.exe /WATCH 12 34", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<WatcherStart> start = WatcherStartOf(c.commandLine);
    ASSERT_EQ(start.has_value(), c.role.has_value()) << testing::PrintToString(c.commandLine);
    if (!start) continue;
    EXPECT_EQ(start->role, *c.role);
    EXPECT_EQ(start->program, reinterpret_cast<HANDLE>(12));
    EXPECT_EQ(start->block, reinterpret_cast<HANDLE>(34));
  }
}

// A hand-typed command line names handles the process does not hold as a process and a shared
// block: the start ends at once, without waiting on anything or enabling anything.
TEST(HeldWatcher, AStartWithoutItsInheritedHandlesEndsAtOnce) {
  OwnedHandle owned(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(owned);
  HANDLE event = owned.get();
  for (const WatcherStart::Role role :
       {WatcherStart::Role::StartWatcher, WatcherStart::Role::Watch}) {
    EXPECT_EQ(RunWatcherStart({role, event, event}), 1);
    EXPECT_EQ(RunWatcherStart({role, reinterpret_cast<HANDLE>(0x7ff0), event}), 1);
  }
}

}  // namespace
}  // namespace folvane
