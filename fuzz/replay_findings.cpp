// Replays inputs that once broke a fuzz target, without libFuzzer: the native tests run every
// input kept in fuzz/findings/TARGET through that target, so that the fault it found stays
// mended. A broken check stops the run (FUZZ_CHECK aborts), and the test fails with its message.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s INPUT...\n", argv[0]);
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    std::ifstream file(argv[i], std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "%s: cannot be read\n", argv[i]);
      return 1;
    }
    const std::string input{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    std::printf("%s: every check holds\n", argv[i]);
  }
  return 0;
}
