// The INI engine: one profile file held as its bytes. A file is in the ANSI code page, as the
// program writes it, or, when an editor saved it so, in UTF-8 or UTF-16 (little- or big-endian)
// behind a byte-order mark, or in UTF-8 without one (valid UTF-8 holding more than ASCII); it
// keeps its encoding through every write. Names and values are ANSI
// bytes on this side and are converted as the system's ANSI profile functions convert them.
// Reading and writing follow the rules of those functions; a write touches only the lines it has
// to, so comments, blank lines and the layout of every other line stay as they were.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "store/ini_text.h"

namespace folvane {

enum class IniEncoding {
  Ansi,
  Utf8,
  Utf8Unmarked,  // UTF-8 without a byte-order mark, told by its bytes
  Utf16Le,
  Utf16Be,
};

// The ANSI code page, as the engine needs it.
struct CodePage {
  LeadBytePredicate isLeadByte;
  std::function<std::string(std::string_view ansi)> toUtf8;
  std::function<std::string(std::string_view utf8)> fromUtf8;  // "?" for what it cannot hold
};

enum class IniWriteResult {
  Unchanged,  // the file already held what was asked
  Changed,
  Refused,  // the entry could not be read back as it was written: nothing changed
};

class IniFile {
 public:
  // An empty text stands for a missing file.
  IniFile(std::string bytes, CodePage codePage);

  IniEncoding encoding() const { return encoding_; }

  // The value of the first entry named key in the first section named section (names match
  // regardless of ASCII case; matching quotes around the value are dropped). std::nullopt when
  // the section or key is missing, or the key's line holds no "=". Like the system, a read finds
  // a comment line ";name=value" as the key ";name".
  std::optional<std::string> read(std::string_view section, std::string_view key) const;

  // Whether the section has a line for key, also one without "=" that read does not see.
  bool has(std::string_view section, std::string_view key) const;
  // The number of the line (from 0) that has tells of, or std::nullopt: which of two keys comes
  // first in the file.
  std::optional<std::size_t> lineOf(std::string_view section, std::string_view key) const;

  // What a read with a buffer of maxBytes + 1 bytes gives: the value, or else the default as the
  // system hands it back (trailing blanks and quotes dropped), cut to at most maxBytes bytes
  // without splitting a double-byte character.
  std::string readOr(std::string_view section, std::string_view key, std::string_view defaultValue,
                     std::size_t maxBytes) const;

  // The section's entries in file order, as "key=value" (or the bare line of an entry without
  // "="); comments and blank lines are left out. Empty when the section is missing.
  std::vector<std::string> entries(std::string_view section) const;
  // The keys of the same entries (the whole line of one without "="), in the same order.
  std::vector<std::string> entryNames(std::string_view section) const;

  // Calls visit(name, value) for the same entries in the same order, in the ANSI code page, with
  // the value read gives for the name where it is the first line of that name, cut as readOr
  // cuts it; nullptr for an entry without "=". One pass over the section, and no copy of an ANSI
  // file's text: the views last for the call only.
  void forEachEntry(
      std::string_view section, std::size_t maxBytes,
      const std::function<void(std::string_view name, const std::string_view* value)>& visit) const;

  // The name of every section header, in file order.
  std::vector<std::string> sectionNames() const;

  // Stores value under key (replacing the first such entry where it stands, or adding it at the
  // end of the section, creating the section at the end of the file); std::nullopt removes the
  // first such entry of any section of that name. A value or name holding a line break, a key
  // holding "=" or opening with "[", and a section name ending in half a double-byte character
  // are refused: the file would hold other lines, or another key, than the ones written. So is a
  // write that would leave an ANSI file looking like UTF-8: it would be read as another text.
  IniWriteResult write(std::string_view section, std::string_view key,
                       const std::optional<std::string>& value);

  // The file's bytes, in its own encoding.
  std::string bytes() const;

 private:
  std::vector<std::string> listEntries(std::string_view section, bool withValues) const;
  // Names and values between the ANSI code page and the file's text.
  template <typename Unit>
  std::basic_string<Unit> toText(std::string_view ansi) const;
  std::string toAnsi(std::string_view text) const;
  std::string toAnsi(std::u16string_view text) const;
  bool isUtf8() const {
    return encoding_ == IniEncoding::Utf8 || encoding_ == IniEncoding::Utf8Unmarked;
  }
  // How many of the first bytes make at most maxBytes, without splitting a double-byte character.
  std::size_t cutLength(std::string_view value, std::size_t maxBytes) const;
  bool storable(std::string_view section, std::string_view key, std::string_view value) const;

  CodePage codePage_;
  IniEncoding encoding_ = IniEncoding::Ansi;
  std::variant<IniText<char>, IniText<char16_t>> text_;
  std::string oddByte_;  // the last byte of a UTF-16 file of odd length, kept as it was
};

}  // namespace folvane
