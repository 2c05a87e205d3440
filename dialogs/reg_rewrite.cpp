#include "dialogs/reg_rewrite.h"

namespace folvane {

namespace {

// Room for the longest path the program can run from (MAX_PATH double-byte characters), so an
// autostart value always reads back whole and the settings dialog can tell that it is there.
constexpr int kReadBufferBytes = 1024;

}  // namespace

std::string CommandLineOf(const std::string& programPath) {
  return "\"" + programPath + "\"";
}

bool StartsProgram(const std::string& value, const std::string& programPath) {
  return value == CommandLineOf(programPath) ||
         (value == programPath && programPath.find(' ') == std::string::npos);
}

void RegWrite(Platform& platform, const std::string& subKey, const std::string& valueName,
              const std::string& data, RegRoot root) {
  platform.regWriteString(root, platform.toAnsi(subKey), platform.toAnsi(valueName),
                          platform.toAnsi(data));
}

std::string RegRead(Platform& platform, const std::string& subKey, const std::string& valueName,
                    RegRoot root) {
  std::optional<std::string> data = platform.regReadValue(
      root, platform.toAnsi(subKey), platform.toAnsi(valueName), kReadBufferBytes);
  if (!data) return "";
  return platform.fromAnsi(data->substr(0, data->find('\0')));
}

void RegDelete(Platform& platform, const std::string& subKey, const std::string& valueName,
               RegRoot root) {
  platform.regDeleteValue(root, platform.toAnsi(subKey), platform.toAnsi(valueName));
}

}  // namespace folvane
