// Texts that name the program and its windows. The sampler recognises the program's own windows
// by these exact captions, so they must never change.
#pragma once

namespace folvane {

inline constexpr char kAppTitle[] = "Folvane";  // message box captions, tray tip, product name
inline constexpr char kMainCaption[] = "Kelmora";
inline constexpr char kLoginCaption[] = "Kelmora-パスワード入力";
inline constexpr char kSettingsCaption[] = "Kelmora-設定";
// The password dialog's own message box, when the two entries differ.
inline constexpr char kMismatchCaption[] = "ﾛｸﾞｵﾝ";

// The splash and about window.
inline constexpr char kProductReading[] = "（フォルベーン）";
inline constexpr char kRightsNotice[] = "Copyright (C) 2026 Folvane";
inline constexpr char kSplashNotice[] =
    "注意：このソフトは、簡易的にフォルダを監視・保護する物です。"
    "万が一のことがあっても一切の責任を負いかねます。";

}  // namespace folvane
