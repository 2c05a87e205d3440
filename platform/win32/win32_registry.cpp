// The registry on the real system: keys opened and created under a root, handed to the core as
// plain numbers, and their string values.
#include "platform/win32/win32_platform.h"

#include <vector>

namespace folvane {

namespace {

HKEY rootKey(RegRoot root) {
  return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

}  // namespace

RegKey Win32Platform::remember(HKEY key) {
  RegKey id = nextKey_++;
  if (nextKey_ == 0) nextKey_ = 1;
  keys_[id].reset(key);
  return id;
}

HKEY Win32Platform::handleOf(RegKey key) const {
  auto found = keys_.find(key);
  return found == keys_.end() ? nullptr : found->second.get();
}

RegKey Win32Platform::regCreateKey(RegRoot root, const std::string& subKey) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(rootKey(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return 0;
  return remember(key);
}

RegKey Win32Platform::regOpenKey(RegRoot root, const std::string& subKey, RegAccess access) {
  HKEY key = nullptr;
  REGSAM sam = access == RegAccess::QueryValue ? KEY_QUERY_VALUE : KEY_SET_VALUE;
  if (RegOpenKeyExA(rootKey(root), subKey.c_str(), 0, sam, &key) != ERROR_SUCCESS) return 0;
  return remember(key);
}

bool Win32Platform::regSetString(RegKey key, const std::string& name, const std::string& data) {
  HKEY handle = handleOf(key);
  if (!handle) return false;
  return RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

std::optional<std::string> Win32Platform::regQueryValue(RegKey key, const std::string& name,
                                                        int bufferSize) {
  HKEY handle = handleOf(key);
  if (!handle || bufferSize < 0) return std::nullopt;
  std::vector<BYTE> buffer(static_cast<size_t>(bufferSize) + 1, 0);
  DWORD size = static_cast<DWORD>(bufferSize);
  if (RegQueryValueExA(handle, name.c_str(), nullptr, nullptr, buffer.data(), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return std::string(reinterpret_cast<const char*>(buffer.data()), size);
}

bool Win32Platform::regDeleteValue(RegKey key, const std::string& name) {
  HKEY handle = handleOf(key);
  return handle && RegDeleteValueA(handle, name.c_str()) == ERROR_SUCCESS;
}

void Win32Platform::regCloseKey(RegKey key) {
  auto found = keys_.find(key);
  if (found == keys_.end()) return;
  keys_.erase(found);  // closes the key
}

}  // namespace folvane
