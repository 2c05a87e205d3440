// The two data files: their names, sections and keys, the password code, and what the program
// reads out of an active-form text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
std::string DataFilePath(Platform& platform);
std::string SettingsFilePath(Platform& platform);

// ---- Numbers ------------------------------------------------------------------------------------
// The ordinary string-to-number conversion to a 16-bit signed integer: blanks around the digits
// are allowed; anything else, or a value outside -32768..32767, is std::nullopt.
std::optional<std::int16_t> ToInt16(const std::string& text);

// ---- Password code -----------------------------------------------------------------------------
// Three decimal digits per character: its ANSI code as a signed 16-bit number plus 19, "000"
// format. The empty password has no code (std::nullopt), which IniWrite turns into a removal.
std::optional<std::string> EncodePassword(Platform& platform, const std::string& password);
// std::nullopt when the code is malformed (not groups of digits giving codes 0..255).
std::optional<std::string> DecodePassword(Platform& platform, const std::string& code);
// True when the password comes back unchanged from its stored code: at most 42 characters, all
// of them single-byte in the ANSI code page.
bool PasswordSurvivesCode(Platform& platform, const std::string& password);

// ---- Active-form text ("Class (Title)") -------------------------------------------------------
// The first "("-separated item without its last character.
std::string WindowClassOf(const std::string& activeFormText);
// A folder window of the file manager: the only kind of window the lock check challenges, as the
// program always has. The file manager's window with the folder tree beside the folder
// (ExploreWClass) is not challenged, but adding takes its folder from it as from a folder window
// (see IsFolderTreeWindowClass): both name the folder in their title, and the folder added is
// guarded wherever it next opens in a folder window.
inline bool IsFolderWindowClass(const std::string& windowClass) {
  return windowClass == "CabinetWClass";
}
inline bool IsFolderTreeWindowClass(const std::string& windowClass) {
  return windowClass == "ExploreWClass";
}
// A window without a title: the text after the last "(" is ")" alone.
bool NamesUntitledWindow(const std::string& activeFormText);
// The last "\"-separated part of the title (a drive root keeps its "\": C:\), or std::nullopt
// when the text ends in no title or the title gives no key (such as \\server\share\).
std::optional<std::string> FolderKeyOf(const std::string& activeFormText);

// ---- Reading the files -------------------------------------------------------------------------
// PassCount of PassDat.ini; std::nullopt when it is not a 16-bit number.
std::optional<std::int16_t> ReadPassCount(Platform& platform);
// The rows of the protected list: the key of entry i for i = 0 .. PassCount - 1, every entry
// whole; fewer rows when the section has fewer entries, none for a malformed PassCount.
std::vector<std::string> ProtectedListRows(Platform& platform);
// Interval of Folvane.ini; anything that would not sample (missing, not a number, 0 or
// negative) gives the default 100.
int ReadInterval(Platform& platform);
// Value of [AutoStart]: 1 only for "1", else 0.
int ReadAutoStartValue(Platform& platform);

}  // namespace folvane
