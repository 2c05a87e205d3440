#include "store/ini_file.h"

#include <algorithm>
#include <type_traits>
#include <utility>

#include "store/utf16.h"

namespace folvane {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

bool startsWith(std::string_view bytes, std::string_view mark) {
  return bytes.substr(0, mark.size()) == mark;
}

// A file's encoding by its byte-order mark, as the system tells it. Without one it is ANSI,
// unless it is valid UTF-8 holding more than ASCII: editors save UTF-8 without a mark by default
// now, and read as ANSI such a file's Japanese names would match no folder.
IniEncoding encodingOf(std::string_view bytes) {
  if (startsWith(bytes, kUtf8Mark)) return IniEncoding::Utf8;
  if (startsWith(bytes, kUtf16LeMark)) return IniEncoding::Utf16Le;
  if (startsWith(bytes, kUtf16BeMark)) return IniEncoding::Utf16Be;
  if (IsUtf8BeyondAscii(bytes)) return IniEncoding::Utf8Unmarked;
  return IniEncoding::Ansi;
}

bool startsWithMark(std::string_view text) {
  return startsWith(text, kUtf8Mark) || startsWith(text, kUtf16LeMark) ||
         startsWith(text, kUtf16BeMark);
}

std::u16string unitsOf(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
  }
  return units;
}

std::string bytesOf(std::u16string_view units, bool bigEndian) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t unit : units) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && IsIniBlank(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && IsIniBlank(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

bool holdsLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

IniFile::IniFile(std::string bytes, CodePage codePage)
    : codePage_(std::move(codePage)),
      encoding_(encodingOf(bytes)),
      text_(std::in_place_type<IniText<char>>, std::string(), LeadBytePredicate()) {
  switch (encoding_) {
    case IniEncoding::Ansi:
      text_.emplace<IniText<char>>(std::move(bytes), codePage_.isLeadByte);
      break;
    case IniEncoding::Utf8:
      // No lead bytes to tell apart: every byte of a UTF-8 sequence is 0x80 or above, so none
      // is ever taken for "[", "]" or "=".
      text_.emplace<IniText<char>>(bytes.substr(kUtf8Mark.size()), LeadBytePredicate());
      break;
    case IniEncoding::Utf8Unmarked:
      text_.emplace<IniText<char>>(std::move(bytes), LeadBytePredicate());
      break;
    case IniEncoding::Utf16Le:
    case IniEncoding::Utf16Be: {
      std::string_view units = std::string_view(bytes).substr(kUtf16LeMark.size());
      if (units.size() % 2 != 0) {
        oddByte_ = units.substr(units.size() - 1);
        units.remove_suffix(1);
      }
      text_.emplace<IniText<char16_t>>(unitsOf(units, encoding_ == IniEncoding::Utf16Be),
                                       LeadBytePredicate());
      break;
    }
  }
}

template <>
std::string IniFile::toText<char>(std::string_view ansi) const {
  if (isUtf8()) return codePage_.toUtf8(ansi);
  return std::string(ansi);
}

template <>
std::u16string IniFile::toText<char16_t>(std::string_view ansi) const {
  return Utf8ToUtf16(codePage_.toUtf8(ansi));
}

std::string IniFile::toAnsi(std::string_view text) const {
  if (isUtf8()) return codePage_.fromUtf8(text);
  return std::string(text);
}

std::string IniFile::toAnsi(std::u16string_view text) const {
  return codePage_.fromUtf8(Utf16ToUtf8(text));
}

std::optional<std::string> IniFile::read(std::string_view section, std::string_view key) const {
  return std::visit(
      [&](const auto& text) -> std::optional<std::string> {
        using Unit = typename std::decay_t<decltype(text)>::String::value_type;
        auto value = text.value(toText<Unit>(section), toText<Unit>(key));
        if (!value) return std::nullopt;
        return toAnsi(*value);
      },
      text_);
}

bool IniFile::has(std::string_view section, std::string_view key) const {
  return lineOf(section, key).has_value();
}

std::optional<std::size_t> IniFile::lineOf(std::string_view section, std::string_view key) const {
  return std::visit(
      [&](const auto& text) {
        using Unit = typename std::decay_t<decltype(text)>::String::value_type;
        return text.lineOf(toText<Unit>(section), toText<Unit>(key));
      },
      text_);
}

std::string IniFile::readOr(std::string_view section, std::string_view key,
                            std::string_view defaultValue, std::size_t maxBytes) const {
  std::optional<std::string> value = read(section, key);
  if (!value) {
    // The first character of the default stays even when it is a blank.
    while (defaultValue.size() > 1 && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
    value = std::string(Unquoted(defaultValue));
  }
  value->resize(cutLength(*value, maxBytes));
  return *value;
}

std::size_t IniFile::cutLength(std::string_view value, std::size_t maxBytes) const {
  if (value.size() <= maxBytes) return value.size();  // nothing to cut, whatever its characters
  std::size_t end = 0;
  while (end < value.size()) {
    // A lead byte at the very end has no second byte: it is one byte wide.
    std::size_t width = codePage_.isLeadByte(static_cast<unsigned char>(value[end])) ? 2 : 1;
    width = std::min(width, value.size() - end);
    if (end + width > maxBytes) break;
    end += width;
  }
  return end;
}

void IniFile::forEachEntry(
    std::string_view section, std::size_t maxBytes,
    const std::function<void(std::string_view name, const std::string_view* value)>& visit) const {
  std::visit(
      [&](const auto& text) {
        using Unit = typename std::decay_t<decltype(text)>::String::value_type;
        using View = std::basic_string_view<Unit>;
        text.forEachEntry(toText<Unit>(section), [&](View name, const View* value) {
          if constexpr (std::is_same_v<Unit, char>) {
            if (encoding_ == IniEncoding::Ansi) {
              std::string_view cut;
              if (value) cut = value->substr(0, cutLength(*value, maxBytes));
              visit(name, value ? &cut : nullptr);
              return;
            }
          }
          const std::string ansiName = toAnsi(name);
          std::string ansiValue;
          if (value) {
            ansiValue = toAnsi(*value);
            ansiValue.resize(cutLength(ansiValue, maxBytes));
          }
          const std::string_view valueView = ansiValue;
          visit(ansiName, value ? &valueView : nullptr);
        });
      },
      text_);
}

std::vector<std::string> IniFile::entries(std::string_view section) const {
  return listEntries(section, true);
}

std::vector<std::string> IniFile::entryNames(std::string_view section) const {
  return listEntries(section, false);
}

std::vector<std::string> IniFile::listEntries(std::string_view section, bool withValues) const {
  return std::visit(
      [&](const auto& text) {
        using Unit = typename std::decay_t<decltype(text)>::String::value_type;
        const std::basic_string<Unit> name = toText<Unit>(section);
        std::vector<std::string> result;
        for (const auto& entry : withValues ? text.entries(name) : text.entryNames(name))
          result.push_back(toAnsi(entry));
        return result;
      },
      text_);
}

std::vector<std::string> IniFile::sectionNames() const {
  return std::visit(
      [&](const auto& text) {
        std::vector<std::string> result;
        for (const auto& name : text.sectionNames()) result.push_back(toAnsi(name));
        return result;
      },
      text_);
}

bool IniFile::storable(std::string_view section, std::string_view key,
                       std::string_view value) const {
  // A line break would add lines, and with them entries and sections of their own.
  if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value)) return false;
  // Names are written trimmed. The first "=" of a line ends its key; a line that opens with "["
  // and holds a "]" further on is a section header.
  key = trimmed(key);
  if (key.find('=') != std::string_view::npos || (!key.empty() && key.front() == '[')) return false;
  // A section name that ends in the first byte of a double-byte character would take the "]" of
  // its header as the second byte.
  section = trimmed(section);
  for (std::size_t i = 0; i < section.size(); ++i) {
    if (codePage_.isLeadByte(static_cast<unsigned char>(section[i])) && ++i == section.size())
      return false;
  }
  return true;
}

IniWriteResult IniFile::write(std::string_view section, std::string_view key,
                              const std::optional<std::string>& value) {
  if (value && !storable(section, key, *value)) return IniWriteResult::Refused;
  std::string ansiBefore;
  if (encoding_ == IniEncoding::Ansi) ansiBefore = std::get<IniText<char>>(text_).text();
  const bool changed = std::visit(
      [&](auto& text) {
        using Unit = typename std::decay_t<decltype(text)>::String::value_type;
        std::optional<std::basic_string<Unit>> newValue;
        if (value) newValue = toText<Unit>(*value);
        std::optional<std::basic_string_view<Unit>> newView;
        if (newValue) newView = *newValue;
        return text.write(toText<Unit>(section), toText<Unit>(key), newView);
      },
      text_);
  if (!changed) return IniWriteResult::Unchanged;

  // A file without a mark whose first bytes came to look like a byte-order mark (a key that opens
  // with them written first, the line before them removed) would be read as another encoding,
  // and its first line as another key: it opens with an empty line instead.
  if (encoding_ == IniEncoding::Ansi || encoding_ == IniEncoding::Utf8Unmarked) {
    const std::string& text = std::get<IniText<char>>(text_).text();
    const LeadBytePredicate isLeadByte =
        encoding_ == IniEncoding::Ansi ? codePage_.isLeadByte : LeadBytePredicate();
    if (startsWithMark(text)) text_.emplace<IniText<char>>("\r\n" + text, isLeadByte);
  }
  // An ANSI file that came to be valid UTF-8 throughout (its only other characters removed, or
  // double-byte characters that happen to be UTF-8 written into a file of ASCII) would be read
  // as UTF-8 next time, and its names would match other folders: it is left as it was. An
  // unmarked UTF-8 file left with ASCII alone reads the same either way.
  if (encoding_ == IniEncoding::Ansi && IsUtf8BeyondAscii(std::get<IniText<char>>(text_).text())) {
    text_.emplace<IniText<char>>(std::move(ansiBefore), codePage_.isLeadByte);
    return IniWriteResult::Refused;
  }
  return IniWriteResult::Changed;
}

std::string IniFile::bytes() const {
  switch (encoding_) {
    case IniEncoding::Ansi:
      return std::get<IniText<char>>(text_).text();
    case IniEncoding::Utf8:
      return std::string(kUtf8Mark) + std::get<IniText<char>>(text_).text();
    case IniEncoding::Utf8Unmarked:
      return std::get<IniText<char>>(text_).text();
    case IniEncoding::Utf16Le:
      return std::string(kUtf16LeMark) + bytesOf(std::get<IniText<char16_t>>(text_).text(), false) +
             oddByte_;
    case IniEncoding::Utf16Be:
      return std::string(kUtf16BeMark) + bytesOf(std::get<IniText<char16_t>>(text_).text(), true) +
             oddByte_;
  }
  return {};
}

}  // namespace folvane
