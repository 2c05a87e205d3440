#include "store/settings_file.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "store/data_file_names.h"
#include "store/ini_rewrite.h"
#include "store/numbers.h"
#include "store/password_code.h"

namespace folvane {

StoredUserPassword ReadStoredUserPassword(Platform& platform, FileWait wait) {
  const IniSnapshot settings = ReadIniFile(platform, SettingsFilePath(platform), wait);
  StoredUserPassword stored{settings.status, {}};
  const std::string code =
      IniValueOf(platform, settings.file, kSectionPasswordSetData, kKeyPassData, "");
  if (!code.empty()) stored.password = DecodePassword(platform, code).value_or("");
  return stored;
}

int ReadInterval(Platform& platform) {
  std::optional<std::int16_t> interval =
      ToInt16(IniRead(platform, kSectionTimer, kKeyInterval, std::to_string(kDefaultInterval),
                      SettingsFilePath(platform)));
  // A value that would not sample at all falls back to the default.
  if (!interval || *interval <= 0) return kDefaultInterval;
  return std::clamp<int>(*interval, kMinInterval, kMaxInterval);
}

int ReadAutoStartValue(Platform& platform) {
  std::optional<std::int16_t> value =
      ToInt16(IniRead(platform, kSectionAutoStart, kKeyValue, "0", SettingsFilePath(platform)));
  // Anything but 1 (also a malformed value) leaves the box cleared.
  return value && *value == 1 ? 1 : 0;
}

}  // namespace folvane
