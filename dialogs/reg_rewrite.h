// RegReWrite: one string value in the registry, named in UTF-8; every failure goes unnoticed.
#pragma once

#include <string>

#include "platform/platform.h"

namespace folvane {

inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void RegWrite(Platform& platform, const std::string& subKey, const std::string& valueName,
              const std::string& data, RegRoot root);
std::string RegRead(Platform& platform, const std::string& subKey, const std::string& valueName,
                    RegRoot root);
void RegDelete(Platform& platform, const std::string& subKey, const std::string& valueName,
               RegRoot root);

}  // namespace folvane
