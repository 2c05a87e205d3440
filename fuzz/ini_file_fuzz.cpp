// The INI engine on any bytes as a file: reads, section listings and writes, held to what a
// profile file promises. A written value reads back; every other key keeps its value; no
// section is lost; the file keeps its encoding and reads the same once saved and loaded again.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "store/ini_file.h"
#include "store/ini_rewrite.h"

namespace folvane {
namespace {

// Enough of a large file to compare, without making every run slow.
constexpr std::size_t kSectionsCompared = 24;

std::string Trimmed(std::string text) {
  while (!text.empty() && IsIniBlank(static_cast<unsigned char>(text.back()))) text.pop_back();
  std::size_t start = 0;
  while (start < text.size() && IsIniBlank(static_cast<unsigned char>(text[start]))) ++start;
  return text.substr(start);
}

// A name or value as a file of this encoding holds it, seen again from the ANSI side.
std::string ThroughFile(IniEncoding encoding, const std::string& ansi) {
  if (encoding == IniEncoding::Ansi) return ansi;
  FakePlatform& platform = MemoryPlatform::instance();
  return platform.toAnsi(platform.fromAnsi(ansi));
}

// What a read of a written value gives: trimmed, and matching quotes around it dropped.
std::string ReadsBackAs(IniEncoding encoding, const std::string& value) {
  return std::string(Unquoted(std::string_view(Trimmed(ThroughFile(encoding, value)))));
}

// A name as the engine matches it, loosely: two names the engine takes as one always give the
// same text here (the other way round only spares a comparison).
std::string Folded(IniEncoding encoding, const std::string& name) {
  std::string folded = Trimmed(ThroughFile(encoding, name));
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

// The sections as reads see them: every name (the first section of a name is the one read), and
// the entries of each, enough of them to compare.
struct Snapshot {
  std::vector<std::string> sections;
  std::vector<std::pair<std::string, std::vector<std::string>>> entries;
};

Snapshot Take(const IniFile& ini) {
  Snapshot snapshot;
  snapshot.sections = ini.sectionNames();
  snapshot.entries.push_back({"", ini.entries("")});
  for (std::size_t i = 0; i < snapshot.sections.size() && i < kSectionsCompared; ++i)
    snapshot.entries.push_back({snapshot.sections[i], ini.entries(snapshot.sections[i])});
  return snapshot;
}

std::string KeyOf(const std::string& entry) {
  return entry.substr(0, entry.find('='));
}

// The entries of a section less those of one key (in every section when the key is std::nullopt).
std::vector<std::string> Without(IniEncoding encoding, std::vector<std::string> entries,
                                 const std::string& key) {
  const std::string folded = Folded(encoding, key);
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [&](const std::string& entry) {
                                 return Folded(encoding, KeyOf(entry)) == folded;
                               }),
                entries.end());
  return entries;
}

// A name for an operation: one the file has, so writes replace and remove, or a new one.
std::string PickName(FuzzedDataProvider& input, const std::vector<std::string>& known) {
  if (!known.empty() && input.ConsumeBool())
    return known[input.ConsumeIntegralInRange<std::size_t>(0, known.size() - 1)];
  return input.ConsumeRandomLengthString(24);
}

void CheckReads(const IniFile& ini, FuzzedDataProvider& input) {
  const std::vector<std::string> sections = ini.sectionNames();
  const std::string section = PickName(input, sections);
  std::vector<std::string> keys;
  for (const std::string& entry : ini.entries(section))
    keys.push_back(entry.substr(0, entry.find('=')));
  const std::string key = PickName(input, keys);
  const std::size_t maxBytes = input.ConsumeIntegralInRange<std::size_t>(0, 160);

  // A read cut to a buffer gives the start of the value, never a byte past it.
  std::optional<std::string> value = ini.read(section, key);
  std::string cut = ini.readOr(section, key, "\n", maxBytes);
  if (value) {
    FUZZ_CHECK(cut.size() <= maxBytes);
    FUZZ_CHECK(value->compare(0, cut.size(), cut) == 0);
    if (value->size() <= maxBytes) FUZZ_CHECK(cut == *value);
    FUZZ_CHECK(ini.has(section, key));
  }
}

void CheckWrite(IniFile& ini, const CodePage& codePage, FuzzedDataProvider& input) {
  const IniEncoding encoding = ini.encoding();
  const std::string before = ini.bytes();
  const Snapshot old = Take(ini);

  std::vector<std::string> keysOfSection;
  const std::string section = PickName(input, old.sections);
  for (const std::string& entry : ini.entries(section)) keysOfSection.push_back(KeyOf(entry));
  const std::string key = PickName(input, keysOfSection);
  std::optional<std::string> value;
  if (input.ConsumeIntegralInRange(0, 3) != 0) value = input.ConsumeRandomLengthString(40);

  const IniWriteResult result = ini.write(section, key, value);
  if (result != IniWriteResult::Changed) FUZZ_CHECK(ini.bytes() == before);
  if (result == IniWriteResult::Refused) {
    // A removal is refused only where it would leave an ANSI file looking like UTF-8.
    FUZZ_CHECK(value.has_value() || encoding == IniEncoding::Ansi);
    return;
  }

  // What was written is what a fresh load of the saved file reads.
  const IniFile saved(ini.bytes(), codePage);
  // An unmarked UTF-8 file left with ASCII alone is read as ANSI, which reads the same.
  FUZZ_CHECK(saved.encoding() == encoding ||
             (encoding == IniEncoding::Utf8Unmarked && saved.encoding() == IniEncoding::Ansi));
  if (encoding == IniEncoding::Utf8Unmarked && saved.encoding() == IniEncoding::Ansi) {
    for (const char c : ini.bytes()) FUZZ_CHECK(static_cast<unsigned char>(c) < 0x80);
  }
  FUZZ_CHECK(saved.bytes() == ini.bytes());
  if (value) {
    // Read as ANSI, the names are found as the UTF-8 file came to hold them: a byte that is no
    // character of the code page went in as "?" (the program's own names never hold one).
    const bool readAsAnsi =
        encoding == IniEncoding::Utf8Unmarked && saved.encoding() == IniEncoding::Ansi;
    const std::string savedSection = readAsAnsi ? ThroughFile(encoding, section) : section;
    const std::string savedKey = readAsAnsi ? ThroughFile(encoding, key) : key;
    FUZZ_CHECK(saved.read(savedSection, savedKey) == ReadsBackAs(encoding, *value));
    FUZZ_CHECK(saved.has(savedSection, savedKey));
  }

  // No section is lost or renamed; a write adds at most its own.
  const std::vector<std::string> sections = saved.sectionNames();
  FUZZ_CHECK(sections.size() == old.sections.size() ||
             (value && sections.size() == old.sections.size() + 1 &&
              Folded(encoding, sections.back()) == Folded(encoding, section)));
  FUZZ_CHECK(std::equal(old.sections.begin(), old.sections.end(), sections.begin()));

  // Every other entry stays as it was, in its place.
  for (const auto& [name, entries] : old.entries) {
    const std::vector<std::string> after = saved.entries(name);
    if (Folded(encoding, name) == Folded(encoding, section)) {
      FUZZ_CHECK(Without(encoding, after, key) == Without(encoding, entries, key));
    } else {
      FUZZ_CHECK(after == entries);
    }
  }
}

}  // namespace
}  // namespace folvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace folvane;
  FuzzedDataProvider input(data, size);
  const CodePage codePage = CodePageOf(MemoryPlatform::instance());
  const std::string file = input.ConsumeRandomLengthString(size);
  IniFile ini(file, codePage);
  // Loading and saving again changes no byte.
  FUZZ_CHECK(ini.bytes() == file);

  for (int step = 0; step < 4 && input.remaining_bytes() > 0; ++step) {
    if (input.ConsumeBool()) {
      CheckReads(ini, input);
    } else {
      CheckWrite(ini, codePage, input);
    }
  }
  return 0;
}
