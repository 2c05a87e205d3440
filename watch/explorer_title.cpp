#include "watch/explorer_title.h"

#include <cctype>
#include <string_view>
#include <vector>

namespace folvane {

namespace {

// The file manager's name as Windows 11 puts it after the folder.
constexpr std::string_view kKnownSuffixes[] = {
    " - File Explorer", " - エクスプローラー",
    " \xE2\x80\x93 Datei-Explorer",  // German, with an en dash
};

bool endsWith(std::string_view text, std::string_view end) {
  return !end.empty() && text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// What the system's format puts after the folder: "%s - File Explorer" gives " - File Explorer".
std::optional<std::string> suffixOf(const std::optional<std::string>& format) {
  if (!format) return std::nullopt;
  for (std::string_view placeholder : {"%1!s!", "%s", "%1", "{0}"}) {
    const std::size_t at = format->find(placeholder);
    if (at != std::string::npos) return format->substr(at + placeholder.size());
  }
  return std::nullopt;
}

// Takes `end` off `text` when text ends with it.
bool takeOff(std::string& text, std::string_view end) {
  if (!endsWith(text, end)) return false;
  text.resize(text.size() - end.size());
  return true;
}

// Takes off " <lead><digits><tail>" at the end of `text`, as " and 2 more tabs" or
// " とその他 2 のタブ" ends it.
bool takeOffCount(std::string& text, std::string_view lead,
                  const std::vector<std::string_view>& tails) {
  for (std::string_view tail : tails) {
    if (!endsWith(text, tail)) continue;
    std::size_t digitsEnd = text.size() - tail.size();
    std::size_t digitsStart = digitsEnd;
    while (digitsStart > 0 && std::isdigit(static_cast<unsigned char>(text[digitsStart - 1])))
      --digitsStart;
    if (digitsStart == digitsEnd) continue;
    if (digitsStart < lead.size() ||
        text.compare(digitsStart - lead.size(), lead.size(), lead) != 0)
      continue;
    text.resize(digitsStart - lead.size());
    return true;
  }
  return false;
}

}  // namespace

std::string FolderOfExplorerTitle(const std::string& title,
                                  const std::optional<std::string>& systemFormat) {
  std::string folder = title;
  bool named = false;
  if (const std::optional<std::string> suffix = suffixOf(systemFormat))
    named = takeOff(folder, *suffix);
  for (std::string_view suffix : kKnownSuffixes) {
    if (named) break;
    named = takeOff(folder, suffix);
  }
  if (!named) return title;
  takeOffCount(folder, " and ", {" more tabs", " more tab"}) ||
      takeOffCount(folder, " とその他 ", {" のタブ"});
  return folder;
}

}  // namespace folvane
