// The program's two data files beside the executable, and the names of their sections and keys.
#pragma once

#include <string>

#include "platform/platform.h"

namespace folvane {

inline constexpr char kDataFileName[] = "PassDat.ini";
inline constexpr char kSettingsFileName[] = "Folvane.ini";
inline constexpr char kSectionPasswordSetData[] = "PasswordSetData";
inline constexpr char kSectionPasswordNumber[] = "PasswordNumber";
inline constexpr char kKeyPassCount[] = "PassCount";
inline constexpr char kKeyPassData[] = "PassData";
inline constexpr char kSectionTimer[] = "Timer";
inline constexpr char kKeyInterval[] = "Interval";
inline constexpr char kSectionAutoStart[] = "AutoStart";
inline constexpr char kKeyValue[] = "Value";
inline constexpr int kDefaultInterval = 100;

// The program folder, "\" and the file name, built afresh at each call.
inline std::string DataFilePath(Platform& platform) {
  return platform.programFolder() + "\\" + kDataFileName;
}
inline std::string SettingsFilePath(Platform& platform) {
  return platform.programFolder() + "\\" + kSettingsFileName;
}

}  // namespace folvane
