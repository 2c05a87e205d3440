#include "store/file_dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "store/folder_key.h"

namespace folvane {
namespace {

// The folder in a breadcrumb toolbar's text, and the key it is listed under. The dialogs' trees
// are read in the running program, in tests/watch.
TEST(FolderOfAddressTest, TakesThePathAfterTheLocalisedWordForAddress) {
  struct Case {
    const char* why;
    std::string text, folder, key;
  } cases[] = {
      {"Japanese", "アドレス: C:\\共有\\経理", "C:\\共有\\経理", "経理"},
      {"English", "Address: D:\\dir1\\dir2", "D:\\dir1\\dir2", "dir2"},
      {"a drive root", "Address: C:\\", "C:\\", "C:\\"},
      {"a network path", "アドレス: \\\\server\\share\\経理", "\\\\server\\share\\経理", "経理"},
      {"a blank before the colon", "Adresse : E:\\Données", "E:\\Données", "Données"},
      {"no blank after the colon", "Address:F:\\x", "F:\\x", "x"},
      {"a colon inside the word: the path is where the drive is", "Ad:dr: G:\\y", "G:\\y", "y"},
      {"no path: what follows the colon", "Address: This PC", "This PC", "This PC"},
      {"no path, Japanese", "アドレス: ドキュメント", "ドキュメント", "ドキュメント"},
      {"no path after a full-width colon", "アドレス：ピクチャ", "ピクチャ", "ピクチャ"},
      {"a library path", "Address: Libraries\\Documents", "Libraries\\Documents", "Documents"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FolderOfAddress(c.text), c.folder) << c.why;
    EXPECT_EQ(FolderKeyOfTitle(FolderOfAddress(c.text)).value_or("(none)"), c.key) << c.why;
  }
  for (const char* nothing : {"", "Address", "Address:", "アドレス:   "})
    EXPECT_EQ(FolderOfAddress(nothing), "") << nothing;
}

}  // namespace
}  // namespace folvane
