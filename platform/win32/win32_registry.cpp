// Registry values on the real system: each operation opens its key, does its one thing and closes
// the key again.
#include "platform/win32/win32_platform.h"

#include <vector>

namespace folvane {

namespace {

HKEY rootKey(RegRoot root) {
  return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

OwnedKey openKey(RegRoot root, const std::string& subKey, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(rootKey(root), subKey.c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
  return OwnedKey(key);
}

}  // namespace

std::optional<std::string> Win32Platform::regReadValue(RegRoot root, const std::string& subKey,
                                                       const std::string& name, int bufferSize) {
  if (bufferSize < 0) return std::nullopt;
  OwnedKey key = openKey(root, subKey, KEY_QUERY_VALUE);
  if (!key) return std::nullopt;
  std::vector<BYTE> buffer(static_cast<size_t>(bufferSize) + 1, 0);
  DWORD size = static_cast<DWORD>(bufferSize);
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, buffer.data(), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return std::string(reinterpret_cast<const char*>(buffer.data()), size);
}

bool Win32Platform::regWriteString(RegRoot root, const std::string& subKey, const std::string& name,
                                   const std::string& data) {
  HKEY created = nullptr;
  if (RegCreateKeyExA(rootKey(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &created, nullptr) != ERROR_SUCCESS)
    return false;
  OwnedKey key(created);
  return RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool Win32Platform::regDeleteValue(RegRoot root, const std::string& subKey,
                                   const std::string& name) {
  OwnedKey key = openKey(root, subKey, KEY_SET_VALUE);
  return key && RegDeleteValueA(key.get(), name.c_str()) == ERROR_SUCCESS;
}

}  // namespace folvane
