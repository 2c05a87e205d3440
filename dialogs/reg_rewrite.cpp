#include "dialogs/reg_rewrite.h"

namespace folvane {

namespace {

// Room for the longest path the program can run from (MAX_PATH double-byte characters), so an
// autostart value always reads back whole and the settings dialog can tell that it is there.
constexpr int kReadBufferBytes = 1024;

}  // namespace

void RegWrite(Platform& platform, const std::string& subKey, const std::string& valueName,
              const std::string& data, RegRoot root) {
  RegKey key = platform.regCreateKey(root, platform.toAnsi(subKey));
  if (key == 0) return;
  platform.regSetString(key, platform.toAnsi(valueName), platform.toAnsi(data));
  platform.regCloseKey(key);
}

std::string RegRead(Platform& platform, const std::string& subKey, const std::string& valueName,
                    RegRoot root) {
  RegKey key = platform.regOpenKey(root, platform.toAnsi(subKey), RegAccess::QueryValue);
  if (key == 0) return "";
  std::optional<std::string> data =
      platform.regQueryValue(key, platform.toAnsi(valueName), kReadBufferBytes);
  platform.regCloseKey(key);
  if (!data) return "";
  return platform.fromAnsi(data->substr(0, data->find('\0')));
}

void RegDelete(Platform& platform, const std::string& subKey, const std::string& valueName,
               RegRoot root) {
  RegKey key = platform.regOpenKey(root, platform.toAnsi(subKey), RegAccess::SetValue);
  if (key == 0) return;
  platform.regDeleteValue(key, platform.toAnsi(valueName));
  platform.regCloseKey(key);
}

}  // namespace folvane
