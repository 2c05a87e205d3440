// The rules of a profile file applied to its text: lines, sections and entries, names that match
// regardless of ASCII case, and the few edits a write makes, which leave every other line byte
// for byte. The text is a file's content after its byte-order mark, as code units: bytes of the
// ANSI code page (whose double-byte characters the lead-byte test tells apart), bytes of UTF-8,
// or UTF-16 units. Every rule is about ASCII characters, which mean the same in all three.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folvane {

// Whether a byte opens a double-byte character in the file's code page.
using LeadBytePredicate = std::function<bool(unsigned char)>;

// The characters trimmed around names and values: space, tab, vertical tab, form feed, and 0x1A,
// the old end-of-file mark some files still carry.
bool IsIniBlank(char32_t c);

// A value as reads return it: matching single or double quotes around the whole of it dropped.
template <typename View>
View Unquoted(View value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

template <typename Unit>
class IniText {
 public:
  using String = std::basic_string<Unit>;
  using View = std::basic_string_view<Unit>;

  // isLeadByte is asked about ANSI text only; without it no unit opens a double-byte character.
  IniText(String text, LeadBytePredicate isLeadByte);

  // The value of the first entry named key in the first section named section, trimmed, with
  // matching quotes around the whole of it dropped. std::nullopt when the section or key is
  // missing, or the key's line holds no "=". Like the system, a read finds a comment line
  // ";name=value" as the key ";name".
  std::optional<String> value(View section, View key) const;
  // Whether the first section named section has a line for key, with a value or without one.
  bool has(View section, View key) const;
  // The number of the line (from 0) where that line stands, or std::nullopt.
  std::optional<std::size_t> lineOf(View section, View key) const;
  // The section's entries in file order, as "key=value" (or the bare line of an entry without
  // "="); comments and blank lines are left out.
  std::vector<String> entries(View section) const;
  // The names of the same entries, in the same order: what a listing of the section shows.
  std::vector<String> entryNames(View section) const;
  // Calls visit(name, value) for the same entries in the same order, with the value a read of the
  // name gives where it is the first line of that name (trimmed, matching quotes dropped), or
  // nullptr for an entry without "=". The views last for the call only.
  void forEachEntry(View section,
                    const std::function<void(View name, const View* value)>& visit) const;
  // The name of every section header, in file order.
  std::vector<String> sectionNames() const;

  // Stores value under key (replacing the first such entry where it stands, or adding it at the
  // end of the section, creating the section at the end of the text); std::nullopt removes the
  // first such entry of any section of that name. Names are trimmed, and so are blanks before
  // the value. Returns whether the text changed.
  bool write(View section, View key, const std::optional<View>& value);

  const String& text() const { return text_; }

 private:
  // The section's entries, each as "key=value" or as its key alone.
  std::vector<String> listEntries(View section, bool withValues) const;
  enum class Kind { Blank, Comment, Section, Entry };
  struct Piece {  // a part of the text, by position
    std::size_t at = 0;
    std::size_t size = 0;
  };
  struct Line {
    std::size_t begin = 0;  // first unit of the line
    std::size_t end = 0;    // one past its last unit, before the line end
    std::size_t next = 0;   // first unit of the following line
    Kind kind = Kind::Blank;
    Piece name;                  // section or key name, trimmed
    std::optional<Piece> value;  // an entry's value, trimmed; none without "="
  };
  struct Span {  // the lines of one section: its header (if any) and what follows it
    std::size_t header = 0;
    std::size_t first = 0;
    std::size_t last = 0;  // one past its last line
  };

  void index();
  View view(Piece piece) const { return View(text_).substr(piece.at, piece.size); }
  bool opensPair(Unit unit) const;
  std::vector<Span> findSections(View name) const;   // every section of that name
  std::optional<Span> findSection(View name) const;  // the first of them
  std::optional<std::size_t> findKey(const Span& span, View key) const;
  bool sameName(View a, View b) const;
  void splice(std::size_t at, std::size_t length, const String& text);

  String text_;
  LeadBytePredicate isLeadByte_;
  std::vector<Line> lines_;
};

extern template class IniText<char>;
extern template class IniText<char16_t>;

}  // namespace folvane
