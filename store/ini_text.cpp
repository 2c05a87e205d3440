#include "store/ini_text.h"

#include <type_traits>
#include <utility>

namespace folvane {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// An ASCII text in the units of any of the file's encodings.
template <typename Unit>
std::basic_string<Unit> ascii(std::string_view text) {
  return std::basic_string<Unit>(text.begin(), text.end());
}

template <typename Unit>
bool isBlank(Unit unit) {
  return IsIniBlank(static_cast<std::make_unsigned_t<Unit>>(unit));
}

template <typename View>
View trimmed(View text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

template <typename View>
View trimmedLeft(View text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

template <typename Unit>
Unit asciiLower(Unit c) {
  return c >= 'A' && c <= 'Z' ? static_cast<Unit>(c - 'A' + 'a') : c;
}

template <typename String>
bool hasLineEnd(const String& text) {
  return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

}  // namespace

bool IsIniBlank(char32_t c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == 0x1A;
}

template <typename Unit>
IniText<Unit>::IniText(String text, LeadBytePredicate isLeadByte)
    : text_(std::move(text)), isLeadByte_(std::move(isLeadByte)) {
  index();
}

template <typename Unit>
bool IniText<Unit>::opensPair(Unit unit) const {
  if constexpr (sizeof(Unit) == 1) {
    return isLeadByte_ && isLeadByte_(static_cast<unsigned char>(unit));
  } else {
    return false;
  }
}

template <typename Unit>
void IniText<Unit>::index() {
  lines_.clear();
  const View all(text_);
  std::size_t pos = 0;
  while (pos < text_.size()) {
    Line line;
    line.begin = pos;
    std::size_t end = pos;
    while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
    line.end = end;
    line.next = end;
    if (line.next < text_.size()) {
      bool crlf =
          text_[line.next] == '\r' && line.next + 1 < text_.size() && text_[line.next + 1] == '\n';
      line.next += crlf ? 2 : 1;
    }
    pos = line.next;

    const View text = trimmed(all.substr(line.begin, line.end - line.begin));
    const std::size_t at = static_cast<std::size_t>(text.data() - all.data());
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
        if (opensPair(text[i])) {
          ++i;
        } else if (text[i] == ']') {
          close = i;
        }
      }
      if (close != kNone) {
        const View name = trimmed(text.substr(1, close - 1));
        line.kind = Kind::Section;
        line.name = Piece{static_cast<std::size_t>(name.data() - all.data()), name.size()};
        lines_.push_back(line);
        continue;
      }
      // A "[" line without its "]" is an ordinary entry, as the system reads it.
    }
    // A comment is read like an entry (the system finds ";name" as a key) but is never listed.
    line.kind = text.front() == ';' ? Kind::Comment : Kind::Entry;
    const std::size_t equals = text.find('=');  // "=" is never the second byte of a character
    if (equals == View::npos) {
      line.name = Piece{at, text.size()};
    } else {
      const View name = trimmed(text.substr(0, equals));
      const View value = trimmedLeft(text.substr(equals + 1));
      line.name = Piece{static_cast<std::size_t>(name.data() - all.data()), name.size()};
      line.value = Piece{static_cast<std::size_t>(value.data() - all.data()), value.size()};
    }
    lines_.push_back(line);
  }
}

template <typename Unit>
bool IniText<Unit>::sameName(View a, View b) const {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (opensPair(a[i]) && i + 1 < a.size()) {
      // Both bytes of a double-byte character compare exactly.
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (asciiLower(a[i]) != asciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

template <typename Unit>
std::vector<typename IniText<Unit>::Span> IniText<Unit>::findSections(View name) const {
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
    matches = sameName(view(lines_[i].name), name);
  }
  return found;
}

template <typename Unit>
std::optional<typename IniText<Unit>::Span> IniText<Unit>::findSection(View name) const {
  std::vector<Span> found = findSections(name);
  if (found.empty()) return std::nullopt;
  return found.front();
}

template <typename Unit>
std::optional<std::size_t> IniText<Unit>::findKey(const Span& span, View key) const {
  for (std::size_t i = span.first; i < span.last; ++i) {
    const Line& line = lines_[i];
    if ((line.kind == Kind::Entry || line.kind == Kind::Comment) && sameName(view(line.name), key))
      return i;
  }
  return std::nullopt;
}

template <typename Unit>
std::optional<typename IniText<Unit>::String> IniText<Unit>::value(View section, View key) const {
  std::optional<Span> span = findSection(trimmed(section));
  if (!span) return std::nullopt;
  std::optional<std::size_t> found = findKey(*span, trimmed(key));
  if (!found || !lines_[*found].value) return std::nullopt;
  return String(Unquoted(view(*lines_[*found].value)));
}

template <typename Unit>
bool IniText<Unit>::has(View section, View key) const {
  return lineOf(section, key).has_value();
}

template <typename Unit>
std::optional<std::size_t> IniText<Unit>::lineOf(View section, View key) const {
  std::optional<Span> span = findSection(trimmed(section));
  if (!span) return std::nullopt;
  return findKey(*span, trimmed(key));
}

template <typename Unit>
std::vector<typename IniText<Unit>::String> IniText<Unit>::entries(View section) const {
  return listEntries(section, true);
}

template <typename Unit>
std::vector<typename IniText<Unit>::String> IniText<Unit>::entryNames(View section) const {
  return listEntries(section, false);
}

template <typename Unit>
std::vector<typename IniText<Unit>::String> IniText<Unit>::listEntries(View section,
                                                                       bool withValues) const {
  std::vector<String> result;
  std::optional<Span> span = findSection(trimmed(section));
  if (!span) return result;
  for (std::size_t i = span->first; i < span->last; ++i) {
    const Line& line = lines_[i];
    if (line.kind != Kind::Entry) continue;
    String entry(view(line.name));
    if (withValues && line.value) {
      entry += '=';
      entry += view(*line.value);
    }
    result.push_back(std::move(entry));
  }
  return result;
}

template <typename Unit>
void IniText<Unit>::forEachEntry(
    View section, const std::function<void(View name, const View* value)>& visit) const {
  std::optional<Span> span = findSection(trimmed(section));
  if (!span) return;
  for (std::size_t i = span->first; i < span->last; ++i) {
    const Line& line = lines_[i];
    if (line.kind != Kind::Entry) continue;
    if (line.value) {
      const View value = Unquoted(view(*line.value));
      visit(view(line.name), &value);
    } else {
      visit(view(line.name), nullptr);
    }
  }
}

template <typename Unit>
std::vector<typename IniText<Unit>::String> IniText<Unit>::sectionNames() const {
  std::vector<String> names;
  for (const Line& line : lines_) {
    if (line.kind == Kind::Section) names.emplace_back(view(line.name));
  }
  return names;
}

template <typename Unit>
void IniText<Unit>::splice(std::size_t at, std::size_t length, const String& text) {
  text_.replace(at, length, text);
  index();
}

template <typename Unit>
bool IniText<Unit>::write(View sectionName, View keyName, const std::optional<View>& value) {
  const String lineEnd = ascii<Unit>("\r\n");
  const View section = trimmed(sectionName);
  const View key = trimmed(keyName);
  std::optional<Span> span = findSection(section);
  std::optional<std::size_t> found;
  if (span) found = findKey(*span, key);

  if (!value) {
    // Reads see only the first section of a name, but a removal, like the system's, takes the
    // first entry of that name from any of them.
    for (const Span& candidate : findSections(section)) {
      if (std::optional<std::size_t> entry = findKey(candidate, key)) {
        const Line& line = lines_[*entry];
        splice(line.begin, line.next - line.begin, String());
        return true;
      }
    }
    return false;
  }

  const View newValue = trimmedLeft(*value);
  if (found) {
    const Line& line = lines_[*found];
    if (line.value) {
      if (view(*line.value) == newValue) return false;
      splice(line.value->at, line.value->size, String(newValue));
    } else {
      splice(line.name.at + line.name.size, 0, ascii<Unit>("=") + String(newValue));
    }
    return true;
  }

  String entry = String(key) + ascii<Unit>("=") + String(newValue) + lineEnd;
  if (!span) {
    String text;
    if (!text_.empty() && !hasLineEnd(text_)) text = lineEnd;
    text += ascii<Unit>("[") + String(section) + ascii<Unit>("]") + lineEnd + entry;
    splice(text_.size(), 0, text);
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
    splice(0, 0, entry);
    return true;
  }
  const Line& line = lines_[after];
  if (line.next == line.end) entry = lineEnd + entry;  // the text's last line had no line end
  splice(line.next, 0, entry);
  return true;
}

template class IniText<char>;
template class IniText<char16_t>;

}  // namespace folvane
