// Texts that name the program and its windows. The sampler recognises the program's own windows
// by these exact captions, so they must never change.
#pragma once

namespace folvane {

inline constexpr char kAppTitle[] = "Folvane";  // message box captions, tray tip, product name
inline constexpr char kMainCaption[] = "Kelmora";
inline constexpr char kLoginCaption[] = "Kelmora-パスワード入力";
inline constexpr char kSettingsCaption[] = "Kelmora-設定";

}  // namespace folvane
