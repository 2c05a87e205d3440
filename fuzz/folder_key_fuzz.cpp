// The folder key on any window title, read as the sampler reads it from a window's ANSI title
// (lead bytes before "\" included), after the file manager's additions are taken off by the
// built-in forms and by a form as a system might keep it (any bytes). What is left is a part of
// the title, never empty, and with the built-in forms alone its start. The key must be the one a
// reading of that folder by ANSI characters gives, and a key taken as storable must go into the
// protected list and come back as the same row, found by the lock check's read under the same
// key.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "store/data_file_names.h"
#include "store/explorer_title.h"
#include "store/folder_key.h"
#include "store/ini_rewrite.h"
#include "store/protected_list.h"
#include "store/utf16.h"

namespace folvane {
namespace {

using Characters = std::vector<std::string>;

Characters CharactersOf(Platform& platform, const std::string& ansi) {
  Characters characters;
  for (std::size_t i = 0; i < ansi.size();) {
    const std::size_t width = platform.isLeadByte(static_cast<unsigned char>(ansi[i])) ? 2 : 1;
    characters.push_back(ansi.substr(i, width));
    i += width;
  }
  return characters;
}

std::vector<Characters> Split(const Characters& text, const std::string& separator) {
  std::vector<Characters> parts(1);
  for (const std::string& c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back().push_back(c);
    }
  }
  return parts;
}

std::string Joined(const Characters& characters) {
  std::string text;
  for (const std::string& c : characters) text += c;
  return text;
}

// The folder key read off the title's ANSI characters, where a "\" is a character of its own and
// never the second byte of another.
std::optional<std::string> KeyByAnsiCharacters(Platform& platform, const std::string& ansiTitle) {
  const Characters title = CharactersOf(platform, ansiTitle);
  if (title.empty()) return std::nullopt;

  std::vector<Characters> parts = Split(title, "\\");
  if (parts.back().empty()) {
    if (parts.front().empty()) return std::nullopt;
    parts = Split(parts.front(), " ");
    parts.front().push_back("\\");
  }
  if (parts.back().empty()) return std::nullopt;
  return Joined(parts.back());
}

// Window texts as the system hands them over: up to the first NUL.
std::string WindowText(FuzzedDataProvider& input, std::size_t length) {
  std::string text = input.ConsumeBytesAsString(length);
  return text.substr(0, text.find('\0'));
}

}  // namespace
}  // namespace folvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace folvane;
  MemoryPlatform& platform = MemoryPlatform::instance();
  platform.reset();
  FuzzedDataProvider input(data, size);

  const std::string systemForm = input.ConsumeRandomLengthString(48);
  const std::string title = platform.fromAnsi(WindowText(input, 255));

  static const ExplorerTitleForms builtIn;
  const std::string folder = builtIn.FolderTitle(title);
  FUZZ_CHECK(folder.empty() == title.empty());
  FUZZ_CHECK(title.compare(0, folder.size(), folder) == 0);
  const std::string withSystemForm = ExplorerTitleForms({systemForm}).FolderTitle(title);
  FUZZ_CHECK(withSystemForm.empty() == title.empty());
  FUZZ_CHECK(title.find(withSystemForm) != std::string::npos);

  const std::optional<std::string> key = FolderKeyOfTitle(folder);
  const std::optional<std::string> expected =
      KeyByAnsiCharacters(platform, platform.toAnsi(folder));
  FUZZ_CHECK(key.has_value() == expected.has_value());
  if (!key) return 0;
  FUZZ_CHECK(platform.toAnsi(*key) == *expected);
  if (!FolderKeyStorable(*key)) return 0;

  // Stored, the key is one row of the list, and the lock check finds its code under it.
  const std::string code = "116117118";
  const std::string file = DataFilePath(platform);
  // A key whose Shift-JIS bytes happen to be valid UTF-8 too cannot go into a list of ASCII alone:
  // the file would be read as UTF-8 next time, and the key as another one. The change is refused
  // and nothing is written.
  if (IsUtf8BeyondAscii(platform.toAnsi(*key))) {
    FUZZ_CHECK(AddProtectedFolder(platform, *key, code).result == AddResult::WriteFailed);
    FUZZ_CHECK(!platform.bytesOf(file).has_value());
    return 0;
  }
  FUZZ_CHECK(AddProtectedFolder(platform, *key, code).result == AddResult::Added);
  FUZZ_CHECK(ProtectedList::Read(platform, FileWait::NotAtAll).rows() ==
             std::vector<std::string>{*key});
  FUZZ_CHECK(IniRead(platform, kSectionPasswordSetData, *key, "", file) == code);
  FUZZ_CHECK(AddProtectedFolder(platform, *key, "117").result == AddResult::Replaced);
  FUZZ_CHECK(IniReadSectionEntries(platform, kSectionPasswordSetData, file) ==
             std::vector<std::string>{*key + "=117"});
  FUZZ_CHECK(RemoveProtectedFolder(platform, *key).result == RemoveResult::Removed);
  FUZZ_CHECK(ProtectedList::Read(platform, FileWait::NotAtAll).rows().empty());
  return 0;
}
