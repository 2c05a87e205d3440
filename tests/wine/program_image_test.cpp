// The built Folvane.exe as Windows loads it: the machine and subsystem in its header, the DLLs
// it imports (the system's own only: everything else is linked in), the architecture its
// manifest names (Windows refuses to start a program whose manifest names another one) and its
// version resource. The file is FOLVANE_EXE, set by the test run.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace folvane {
namespace {

// Under Wine the test run names a Unix path, which Wine's drive Z: holds.
std::string programPath() {
  const char* path = std::getenv("FOLVANE_EXE");
  if (!path) return "";
  return path[0] == '/' ? std::string("Z:") + path : path;
}

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

// The file's bytes with the few reads a test needs of its PE headers.
class Image {
 public:
  explicit Image(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(file), {});
  }
  bool loaded() const { return bytes_.size() > sizeof(IMAGE_DOS_HEADER); }

  template <typename T>
  T at(size_t offset) const {
    T value{};
    if (offset + sizeof(T) <= bytes_.size()) std::memcpy(&value, bytes_.data() + offset, sizeof(T));
    return value;
  }
  size_t ntHeaders() const { return size_t(at<IMAGE_DOS_HEADER>(0).e_lfanew); }
  IMAGE_FILE_HEADER fileHeader() const { return at<IMAGE_FILE_HEADER>(ntHeaders() + 4); }
  size_t optionalHeader() const { return ntHeaders() + 4 + sizeof(IMAGE_FILE_HEADER); }
  WORD magic() const { return at<WORD>(optionalHeader()); }
  WORD subsystem() const {
    return magic() == IMAGE_NT_OPTIONAL_HDR64_MAGIC
               ? at<IMAGE_OPTIONAL_HEADER64>(optionalHeader()).Subsystem
               : at<IMAGE_OPTIONAL_HEADER32>(optionalHeader()).Subsystem;
  }
  IMAGE_DATA_DIRECTORY directory(int index) const {
    return magic() == IMAGE_NT_OPTIONAL_HDR64_MAGIC
               ? at<IMAGE_OPTIONAL_HEADER64>(optionalHeader()).DataDirectory[index]
               : at<IMAGE_OPTIONAL_HEADER32>(optionalHeader()).DataDirectory[index];
  }
  // The file offset of a relative virtual address, through the section table.
  size_t offsetOf(DWORD rva) const {
    IMAGE_FILE_HEADER header = fileHeader();
    size_t sections = optionalHeader() + header.SizeOfOptionalHeader;
    for (int i = 0; i < header.NumberOfSections; ++i) {
      auto section = at<IMAGE_SECTION_HEADER>(sections + i * sizeof(IMAGE_SECTION_HEADER));
      DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
      if (rva >= section.VirtualAddress && rva < section.VirtualAddress + size) {
        return rva - section.VirtualAddress + section.PointerToRawData;
      }
    }
    return bytes_.size();
  }
  std::string stringAt(size_t offset) const {
    std::string text;
    while (offset < bytes_.size() && bytes_[offset]) text += bytes_[offset++];
    return text;
  }
  std::set<std::string> importedDlls() const {
    std::set<std::string> dlls;
    IMAGE_DATA_DIRECTORY imports = directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (imports.VirtualAddress == 0) return dlls;
    for (size_t entry = offsetOf(imports.VirtualAddress);;
         entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
      auto descriptor = at<IMAGE_IMPORT_DESCRIPTOR>(entry);
      if (descriptor.Name == 0) break;
      dlls.insert(lower(stringAt(offsetOf(descriptor.Name))));
    }
    return dlls;
  }

 private:
  std::string bytes_;
};

// The program's resources, read without running it.
class Resources {
 public:
  explicit Resources(const std::string& path)
      : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~Resources() {
    if (module_) FreeLibrary(module_);
  }
  bool loaded() const { return module_ != nullptr; }
  std::string bytes(LPCSTR type, LPCSTR name) const {
    HRSRC found = FindResourceA(module_, name, type);
    if (!found) return {};
    HGLOBAL data = LoadResource(module_, found);
    return std::string(static_cast<const char*>(LockResource(data)),
                       SizeofResource(module_, found));
  }

 private:
  HMODULE module_;
};

TEST(ProgramImage, IsAGuiProgramOfThisBuildsMachineThatNeedsOnlySystemDlls) {
  Image image(programPath());
  ASSERT_TRUE(image.loaded()) << "cannot read FOLVANE_EXE=" << programPath();
#ifdef _WIN64
  EXPECT_EQ(image.fileHeader().Machine, IMAGE_FILE_MACHINE_AMD64);
  EXPECT_EQ(image.magic(), IMAGE_NT_OPTIONAL_HDR64_MAGIC) << "not PE32+";
#else
  EXPECT_EQ(image.fileHeader().Machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(image.magic(), IMAGE_NT_OPTIONAL_HDR32_MAGIC);
#endif
  EXPECT_EQ(image.subsystem(), IMAGE_SUBSYSTEM_WINDOWS_GUI);
  EXPECT_TRUE(image.fileHeader().Characteristics & IMAGE_FILE_DEBUG_STRIPPED) << "not stripped";

  const std::set<std::string> system = {
      "advapi32.dll", "comctl32.dll", "gdi32.dll",   "kernel32.dll", "msvcrt.dll",
      "ole32.dll",    "oleaut32.dll", "shell32.dll", "user32.dll",   "wtsapi32.dll"};
  std::set<std::string> imported = image.importedDlls();
  EXPECT_TRUE(imported.count("user32.dll"));
  for (const std::string& dll : imported) {
    EXPECT_TRUE(system.count(dll)) << dll << " is not a DLL of the system";
  }
}

TEST(ProgramImage, ManifestNamesThisBuildsArchitecture) {
  Resources resources(programPath());
  ASSERT_TRUE(resources.loaded()) << "cannot load FOLVANE_EXE=" << programPath();
  std::string manifest = resources.bytes(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
  ASSERT_FALSE(manifest.empty()) << "no manifest";
  // The program's own identity is the first assemblyIdentity; the common controls' one follows.
  size_t own = manifest.find("<assemblyIdentity");
  size_t end = manifest.find("/>", own);
  ASSERT_NE(own, std::string::npos);
  std::string identity = manifest.substr(own, end - own);
#ifdef _WIN64
  EXPECT_NE(identity.find("processorArchitecture=\"amd64\""), std::string::npos) << identity;
#else
  EXPECT_NE(identity.find("processorArchitecture=\"x86\""), std::string::npos) << identity;
#endif
  EXPECT_NE(identity.find("name=\"Folvane\""), std::string::npos) << identity;
}

// An element of the manifest: its opening tag and its text.
struct Element {
  std::string tag, text;
};
std::optional<Element> firstElement(const std::string& xml, const std::string& name) {
  const size_t open = xml.find("<" + name + " ");  // "<dpiAware " is not "<dpiAwareness"
  if (open == std::string::npos) return std::nullopt;
  const size_t tagEnd = xml.find('>', open);
  const size_t close = xml.find("</" + name + ">", tagEnd);
  if (tagEnd == std::string::npos || close == std::string::npos) return std::nullopt;
  return Element{xml.substr(open, tagEnd + 1 - open), xml.substr(tagEnd + 1, close - tagEnd - 1)};
}

std::vector<std::string> commaSeparated(const std::string& text) {
  std::vector<std::string> items;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    std::string item = text.substr(start, comma == std::string::npos ? comma : comma - start);
    item.erase(0, item.find_first_not_of(" \t\r\n"));
    item.erase(item.find_last_not_of(" \t\r\n") + 1);
    items.push_back(item);
    if (comma == std::string::npos) return items;
    start = comma + 1;
  }
}

// Each monitor's density in the second way first, which Windows 10 (1703) and later take, then
// in the first way for Windows 10 (1607); the older element says the same to Windows 8.1
// ("/pm") and the system's density to earlier systems. An element outside its namespace is
// passed over by Windows.
TEST(ProgramImage, ManifestMakesTheProgramAwareOfEachMonitorsDensity) {
  Resources resources(programPath());
  ASSERT_TRUE(resources.loaded()) << "cannot load FOLVANE_EXE=" << programPath();
  const std::string manifest = resources.bytes(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));

  const std::optional<Element> awareness = firstElement(manifest, "dpiAwareness");
  ASSERT_TRUE(awareness) << manifest;
  EXPECT_NE(awareness->tag.find("xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\""),
            std::string::npos)
      << awareness->tag;
  EXPECT_EQ(commaSeparated(awareness->text),
            (std::vector<std::string>{"PerMonitorV2", "PerMonitor"}));

  const std::optional<Element> aware = firstElement(manifest, "dpiAware");
  ASSERT_TRUE(aware) << manifest;
  EXPECT_NE(aware->tag.find("xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\""),
            std::string::npos)
      << aware->tag;
  EXPECT_EQ(aware->text, "true/pm");
}

// The sizes of the images an icon resource holds (its group's directory).
std::set<int> iconSizes(const Resources& resources, int id) {
  const std::string group = resources.bytes(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(id));
  std::set<int> sizes;
  constexpr size_t kHeader = 6, kEntry = 14;
  if (group.size() < kHeader) return sizes;
  const int count = static_cast<unsigned char>(group[4]) | static_cast<unsigned char>(group[5])
                                                               << 8;
  for (int i = 0; i < count && kHeader + (i + 1) * kEntry <= group.size(); ++i) {
    const int width = static_cast<unsigned char>(group[kHeader + i * kEntry]);
    sizes.insert(width == 0 ? 256 : width);
  }
  return sizes;
}

// Both icons hold an image of each size the system asks for, small and large, at 100, 125, 150
// and 200 %: none is stretched from another size on any monitor.
TEST(ProgramImage, IconsHoldAnImageForEverySizeOfTheUsualScales) {
  Resources resources(programPath());
  ASSERT_TRUE(resources.loaded());
  for (int id : {1, 2}) {
    const std::set<int> sizes = iconSizes(resources, id);
    for (UINT dpi : {96u, 120u, 144u, 192u}) {
      for (int metric : {SM_CXSMICON, SM_CXICON}) {
        const int wanted = GetSystemMetricsForDpi(metric, dpi);
        EXPECT_TRUE(sizes.count(wanted))
            << "icon " << id << " has no image of " << wanted << " pixels for " << dpi << " dpi";
      }
    }
  }
}

TEST(ProgramImage, VersionResourceNamesAWindowsProgram) {
  Resources resources(programPath());
  ASSERT_TRUE(resources.loaded());
  std::string version = resources.bytes(MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1));
  ASSERT_FALSE(version.empty()) << "no version resource";
  // The fixed part follows the key "VS_VERSION_INFO" in UTF-16 and its padding.
  const DWORD signature = VS_FFI_SIGNATURE;
  size_t at = version.find(std::string(reinterpret_cast<const char*>(&signature), 4));
  ASSERT_NE(at, std::string::npos);
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, version.data() + at, sizeof fixed);
  EXPECT_EQ(fixed.dwFileOS, DWORD(VOS_NT_WINDOWS32));
  EXPECT_EQ(fixed.dwFileType, DWORD(VFT_APP));
  EXPECT_EQ(HIWORD(fixed.dwFileVersionMS), 1u);
}

}  // namespace
}  // namespace folvane
