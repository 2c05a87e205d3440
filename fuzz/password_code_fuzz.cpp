// The password code on any input: decoding any stored text never fails unsafely, and every
// password the dialog accepts (up to 42 single-byte characters of the ANSI code page) comes back
// whole from its code, as stored and read back, while no other password is taken as storable.
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/fuzz_support.h"
#include "store/password_code.h"

namespace folvane {
namespace {

// The dialog's rule, said in another way: every character a single byte, at most 42 of them, and
// the password the same once through the code page and back.
bool Storable(Platform& platform, const std::string& password) {
  if (password.empty()) return false;
  const std::string ansi = platform.toAnsi(password);
  if (ansi.size() > 42 || platform.fromAnsi(ansi) != password) return false;
  for (char c : ansi)
    if (platform.isLeadByte(static_cast<unsigned char>(c))) return false;
  return true;
}

void CheckPassword(Platform& platform, const std::string& password) {
  const bool storable = Storable(platform, password);
  FUZZ_CHECK(PasswordSurvivesCode(platform, password) == (storable || password.empty()));
  const std::optional<std::string> code = EncodePassword(platform, password);
  FUZZ_CHECK(code.has_value() == !password.empty());
  if (!storable) return;

  // Three digits per character, short enough to come back whole from the file.
  FUZZ_CHECK(code->size() == 3 * platform.toAnsi(password).size());
  FUZZ_CHECK(code->size() <= 127);
  FUZZ_CHECK(code->find_first_not_of("0123456789") == std::string::npos);
  FUZZ_CHECK(DecodePassword(platform, *code) == password);
}

}  // namespace
}  // namespace folvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace folvane;
  MemoryPlatform& platform = MemoryPlatform::instance();
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // Any text as a stored code: a password, or std::nullopt, and nothing worse. Only digits
  // decode.
  if (DecodePassword(platform, bytes))
    FUZZ_CHECK(bytes.find_first_not_of("0123456789") == std::string::npos);

  // The same bytes as a password typed in (UTF-8, as the dialog hands it over), and as the
  // characters of the ANSI code page they spell.
  CheckPassword(platform, bytes);
  CheckPassword(platform, platform.fromAnsi(bytes));
  return 0;
}
