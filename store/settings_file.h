// What the program reads of Folvane.ini: the user password, the watch interval and the autostart
// check box.
#pragma once

#include <string>

#include "platform/platform.h"

namespace folvane {

// The user password as Folvane.ini holds it. A settings file that is there but cannot be read
// is not a file without a password: the program must not ask for a new one then.
struct StoredUserPassword {
  FileRead::Status file = FileRead::Status::Missing;
  // The decoded password; empty when the file is missing or unreadable, holds none, or holds a
  // code that does not decode (no answer could match it, so it counts as none).
  std::string password;
};
StoredUserPassword ReadStoredUserPassword(Platform& platform, FileWait wait);

// The range of the watch interval, in milliseconds, that the settings dialog accepts.
inline constexpr int kMinInterval = 10;
inline constexpr int kMaxInterval = 1000;

// Interval of Folvane.ini; anything that would not sample (missing, not a number, 0 or
// negative, an unreadable file) gives the default 100, and a number outside the settings dialog's
// range is held to it: an interval written by hand could otherwise leave a protected folder
// window open for seconds before it is seen.
int ReadInterval(Platform& platform);
// Value of [AutoStart]: 1 only for "1", else 0.
int ReadAutoStartValue(Platform& platform);

}  // namespace folvane
