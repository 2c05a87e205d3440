// The INI engine: one profile file held as its bytes in the ANSI code page. Reading and writing
// follow the rules of the system's private-profile functions; a write touches only the lines it
// has to, so comments, blank lines and the layout of every other line stay byte for byte.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folvane {

// Whether a byte opens a double-byte character in the file's code page.
using LeadBytePredicate = std::function<bool(unsigned char)>;

// A value as reads return it: matching single or double quotes around the whole of it dropped.
std::string_view Unquoted(std::string_view value);

class IniFile {
 public:
  // An empty text stands for a missing file.
  IniFile(std::string bytes, LeadBytePredicate isLeadByte);
  // The index of lines points into the bytes, so a file is neither copied nor moved.
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  // The value of the first entry named key in the first section named section (names match
  // regardless of ASCII case; matching quotes around the value are dropped). std::nullopt when
  // the section or key is missing, or the key's line holds no "=". Like the system, a read finds
  // a comment line ";name=value" as the key ";name".
  std::optional<std::string> read(std::string_view section, std::string_view key) const;

  // What a read with a buffer of maxBytes + 1 bytes gives: the value, or else the default as the
  // system hands it back (trailing blanks and quotes dropped), cut to at most maxBytes bytes
  // without splitting a double-byte character.
  std::string readOr(std::string_view section, std::string_view key, std::string_view defaultValue,
                     std::size_t maxBytes) const;

  // The section's entries in file order, as "key=value" (or the bare line of an entry without
  // "="); comments and blank lines are left out. Empty when the section is missing.
  std::vector<std::string> entries(std::string_view section) const;

  // Stores value under key (replacing the first such entry where it stands, or adding it at the
  // end of the section, creating the section at the end of the file); std::nullopt removes the
  // first such entry of any section of that name. Returns whether the bytes changed.
  bool write(std::string_view section, std::string_view key,
             const std::optional<std::string>& value);

  const std::string& bytes() const { return bytes_; }

 private:
  enum class Kind { Blank, Comment, Section, Entry };
  struct Line {
    std::size_t begin = 0;  // first byte of the line
    std::size_t end = 0;    // one past its last byte, before the line end
    std::size_t next = 0;   // first byte of the following line
    Kind kind = Kind::Blank;
    std::string_view name;                  // section or key name, trimmed
    std::optional<std::string_view> value;  // an entry's value, trimmed; none without "="
  };
  struct Span {  // the lines of one section: its header (if any) and what follows it
    std::size_t header = 0;
    std::size_t first = 0;
    std::size_t last = 0;  // one past its last line
  };

  void index();
  std::vector<Span> findSections(std::string_view name) const;   // every section of that name
  std::optional<Span> findSection(std::string_view name) const;  // the first of them
  std::optional<std::size_t> findKey(const Span& span, std::string_view key) const;
  bool sameName(std::string_view a, std::string_view b) const;
  void splice(std::size_t at, std::size_t length, const std::string& text);

  std::string bytes_;
  LeadBytePredicate isLeadByte_;
  std::size_t bomLength_ = 0;
  std::vector<Line> lines_;
};

}  // namespace folvane
