#include "store/ini_file.h"

#include <utility>

namespace folvane {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr char kLineEnd[] = "\r\n";

// Blanks around names and values; 0x1A is the old end-of-file mark some files still carry.
bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view trimmedLeft(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

char asciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool hasLineEnd(const std::string& bytes) {
  return !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r');
}

}  // namespace

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

IniFile::IniFile(std::string bytes, LeadBytePredicate isLeadByte)
    : bytes_(std::move(bytes)), isLeadByte_(std::move(isLeadByte)) {
  index();
}

void IniFile::index() {
  lines_.clear();
  bomLength_ = bytes_.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  const char* data = bytes_.data();
  std::size_t pos = bomLength_;
  while (pos < bytes_.size()) {
    Line line;
    line.begin = pos;
    std::size_t end = bytes_.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = bytes_.size();
    line.end = end;
    line.next = end;
    if (line.next < bytes_.size()) {
      bool crlf = bytes_[line.next] == '\r' && line.next + 1 < bytes_.size() &&
                  bytes_[line.next + 1] == '\n';
      line.next += crlf ? 2 : 1;
    }
    pos = line.next;

    std::string_view text = trimmed(std::string_view(data + line.begin, line.end - line.begin));
    if (text.empty()) {
      line.kind = Kind::Blank;
      lines_.push_back(line);
      continue;
    }
    if (text.front() == '[') {
      // The header's name runs to the last "]" of the line; a "]" that is the second byte of
      // a double-byte character does not count.
      std::size_t close = kNone;
      for (std::size_t i = 1; i < text.size(); ++i) {
        if (isLeadByte_(static_cast<unsigned char>(text[i]))) {
          ++i;
        } else if (text[i] == ']') {
          close = i;
        }
      }
      if (close != kNone) {
        line.kind = Kind::Section;
        line.name = trimmed(text.substr(1, close - 1));
        lines_.push_back(line);
        continue;
      }
      // A "[" line without its "]" is an ordinary entry, as the system reads it.
    }
    // A comment is read like an entry (the system finds ";name" as a key) but is never listed.
    line.kind = text.front() == ';' ? Kind::Comment : Kind::Entry;
    std::size_t equals = text.find('=');  // "=" is never the second byte of a character
    if (equals == std::string_view::npos) {
      line.name = text;
    } else {
      line.name = trimmed(text.substr(0, equals));
      line.value = trimmedLeft(text.substr(equals + 1));
    }
    lines_.push_back(line);
  }
}

bool IniFile::sameName(std::string_view a, std::string_view b) const {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (isLeadByte_(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      // Both bytes of a double-byte character compare exactly.
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (asciiLower(a[i]) != asciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

std::vector<IniFile::Span> IniFile::findSections(std::string_view name) const {
  // Lines before the first header form a section without a name.
  std::vector<Span> found;
  Span current{kNone, 0, 0};
  bool matches = name.empty();
  for (std::size_t i = 0; i <= lines_.size(); ++i) {
    if (i < lines_.size() && lines_[i].kind != Kind::Section) continue;
    if (matches) {
      current.last = i;
      found.push_back(current);
    }
    if (i == lines_.size()) break;
    current = Span{i, i + 1, 0};
    matches = sameName(lines_[i].name, name);
  }
  return found;
}

std::optional<IniFile::Span> IniFile::findSection(std::string_view name) const {
  std::vector<Span> found = findSections(name);
  if (found.empty()) return std::nullopt;
  return found.front();
}

std::optional<std::size_t> IniFile::findKey(const Span& span, std::string_view key) const {
  for (std::size_t i = span.first; i < span.last; ++i) {
    const Line& line = lines_[i];
    if ((line.kind == Kind::Entry || line.kind == Kind::Comment) && sameName(line.name, key)) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<std::string> IniFile::read(std::string_view section, std::string_view key) const {
  std::optional<Span> span = findSection(trimmed(section));
  if (!span) return std::nullopt;
  std::optional<std::size_t> found = findKey(*span, trimmed(key));
  if (!found || !lines_[*found].value) return std::nullopt;
  return std::string(Unquoted(*lines_[*found].value));
}

std::string IniFile::readOr(std::string_view section, std::string_view key,
                            std::string_view defaultValue, std::size_t maxBytes) const {
  std::optional<std::string> value = read(section, key);
  if (!value) {
    // The first character of the default stays even when it is a blank.
    while (defaultValue.size() > 1 && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
    value = std::string(Unquoted(defaultValue));
  }
  std::size_t end = 0;
  while (end < value->size()) {
    std::size_t width = isLeadByte_(static_cast<unsigned char>((*value)[end])) ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  value->resize(end);
  return *value;
}

std::vector<std::string> IniFile::entries(std::string_view section) const {
  std::vector<std::string> result;
  std::optional<Span> span = findSection(trimmed(section));
  if (!span) return result;
  for (std::size_t i = span->first; i < span->last; ++i) {
    const Line& line = lines_[i];
    if (line.kind != Kind::Entry) continue;
    std::string entry(line.name);
    if (line.value) {
      entry += '=';
      entry += *line.value;
    }
    result.push_back(std::move(entry));
  }
  return result;
}

void IniFile::splice(std::size_t at, std::size_t length, const std::string& text) {
  bytes_.replace(at, length, text);
  index();
}

bool IniFile::write(std::string_view sectionName, std::string_view keyName,
                    const std::optional<std::string>& value) {
  std::string_view section = trimmed(sectionName);
  std::string_view key = trimmed(keyName);
  std::optional<Span> span = findSection(section);
  std::optional<std::size_t> found;
  if (span) found = findKey(*span, key);

  if (!value) {
    // Reads see only the first section of a name, but a removal, like the system's, takes the
    // first entry of that name from any of them.
    for (const Span& candidate : findSections(section)) {
      if (std::optional<std::size_t> entry = findKey(candidate, key)) {
        const Line& line = lines_[*entry];
        splice(line.begin, line.next - line.begin, "");
        return true;
      }
    }
    return false;
  }

  std::string_view newValue = trimmedLeft(*value);
  if (found) {
    const Line& line = lines_[*found];
    if (line.value) {
      if (*line.value == newValue) return false;
      std::size_t at = static_cast<std::size_t>(line.value->data() - bytes_.data());
      splice(at, line.value->size(), std::string(newValue));
    } else {
      std::size_t at =
          static_cast<std::size_t>(line.name.data() - bytes_.data()) + line.name.size();
      splice(at, 0, "=" + std::string(newValue));
    }
    return true;
  }

  std::string entry = std::string(key) + "=" + std::string(newValue) + kLineEnd;
  if (!span) {
    std::string text;
    if (bytes_.size() > bomLength_ && !hasLineEnd(bytes_)) text = kLineEnd;
    text += "[" + std::string(section) + "]" + kLineEnd + entry;
    splice(bytes_.size(), 0, text);
    return true;
  }

  // After the section's last entry (so blank lines and comments that lead into the next
  // section stay with it), or right after its header when it has none.
  std::size_t after = kNone;
  for (std::size_t i = span->first; i < span->last; ++i) {
    if (lines_[i].kind == Kind::Entry) after = i;
  }
  if (after == kNone) after = span->header;
  if (after == kNone) {
    splice(bomLength_, 0, entry);
    return true;
  }
  const Line& line = lines_[after];
  if (line.next == line.end) entry = kLineEnd + entry;  // the file's last line had no line end
  splice(line.next, 0, entry);
  return true;
}

}  // namespace folvane
