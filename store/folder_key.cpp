#include "store/folder_key.h"

#include <vector>

namespace folvane {

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t at = text.find(separator, start);
    if (at == std::string::npos) break;
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace

std::optional<std::string> FolderKeyOfTitle(const std::string& title) {
  if (title.empty()) return std::nullopt;
  std::vector<std::string> parts = split(title, '\\');
  if (parts.back().empty()) {
    // A drive root (C:\) or a folder title ending in "\": the drive keeps its "\".
    // A network path (\\server\share\) has no first part and so no key.
    if (parts.front().empty()) return std::nullopt;
    parts = split(parts.front(), ' ');
    parts.front() += '\\';
  }
  // An empty key could not be stored as an entry of its own.
  if (parts.back().empty()) return std::nullopt;
  return parts.back();
}

std::vector<std::string> FolderKeysOf(const std::string& folderTitle,
                                      const std::optional<ShellFolder>& shell) {
  std::vector<std::string> keys;
  auto add = [&keys](const std::string& title) {
    const std::optional<std::string> key = FolderKeyOfTitle(title);
    if (!key) return;
    for (const std::string& known : keys)
      if (known == *key) return;
    keys.push_back(*key);
  };
  add(folderTitle);
  if (shell) {
    add(shell->displayName);
    add(shell->path);
  }
  return keys;
}

}  // namespace folvane
