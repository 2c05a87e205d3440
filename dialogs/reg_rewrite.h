// RegReWrite: one string value in the registry, named in UTF-8; every failure goes unnoticed.
#pragma once

#include <string>

#include "platform/platform.h"

namespace folvane {

inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The program's path as the autostart value holds it: quoted, so that a path with a space in it
// cannot be taken for a shorter one (C:\Program.exe for "C:\Program Files\…").
std::string CommandLineOf(const std::string& programPath);
// Whether an autostart value starts the program at programPath: quoted, as it is written now, or
// without quotes, as it used to be written, where the path holds no space. An unquoted path with a
// space is not taken for the program: it is written again, quoted.
bool StartsProgram(const std::string& value, const std::string& programPath);

void RegWrite(Platform& platform, const std::string& subKey, const std::string& valueName,
              const std::string& data, RegRoot root);
std::string RegRead(Platform& platform, const std::string& subKey, const std::string& valueName,
                    RegRoot root);
void RegDelete(Platform& platform, const std::string& subKey, const std::string& valueName,
               RegRoot root);

}  // namespace folvane
