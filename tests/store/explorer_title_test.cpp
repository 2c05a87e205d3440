#include "store/explorer_title.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace folvane {
namespace {

// The folder left of a title by the built-in forms and by forms as a system keeps them. The
// program's own table of titles, with the Shell and the lock check, is in tests/watch.
TEST(ExplorerTitleFormsTest, TakesOffTheFormsTheSystemKeepsAndNothingThatIsNoSuchForm) {
  struct Case {
    const char* why;
    std::vector<std::string> systemForms;
    std::string title, folder;
  };
  const std::vector<std::string> french = {"%1!s! - Explorateur de fichiers",
                                           "%1!s! et %2!d! autres onglets"};
  const Case cases[] = {
      {"built in, English", {}, "Downloads and 2 more tabs - File Explorer", "Downloads"},
      {"built in, Japanese", {}, "経理 とその他 1 のタブ - エクスプローラー", "経理"},
      {"the system's forms, typed inserts", french, "Images - Explorateur de fichiers", "Images"},
      {"the tab phrase inside the app's name", french,
       "C:\\Images et 3 autres onglets - Explorateur de fichiers", "C:\\Images"},
      {"built in, German", {}, "Bilder \xE2\x80\x93 Datei-Explorer", "Bilder"},
      {"printf's inserts", {"%s · Fichiers", "%s avec %d onglets"}, "Work avec 4 onglets · Fichiers",
       "Work"},
      {"a tab phrase without the file manager's name: a folder's own name", {},
       "Notes and 2 more tabs", "Notes and 2 more tabs"},
      {"%% is a percent sign", {"%1 - 100%% Explorer"}, "Data - 100% Explorer", "Data"},
      {"each form once: a folder whose own name ends in the app's name",
       {},
       "Reports - File Explorer - File Explorer",
       "Reports - File Explorer"},
      {"the folder is never empty", {}, " - File Explorer", " - File Explorer"},
      {"a count is digits",
       {},
       "Downloads and two more tabs - File Explorer",
       "Downloads and two more tabs"},
      // Formats that are no title forms are passed over, so that they take nothing off.
      {"punctuation and a number: the name of a copy", {"%1 (%2)"}, "経理 (2)", "経理 (2)"},
      {"no folder insert", {"%2!d! more tabs"}, "3 more tabs", "3 more tabs"},
      {"two folder inserts", {"%1 - %2!s! Explorer"}, "a - b Explorer", "a - b Explorer"},
      {"an insert of another kind", {"%1 - %2!f! Explorer"}, "a - 1 Explorer", "a - 1 Explorer"},
      {"inserts side by side", {"%1%2 Explorer"}, "a1 Explorer", "a1 Explorer"},
      {"an end of message", {"%1 - Explorer%0"}, "a - Explorer", "a - Explorer"},
      {"a line break", {"%1%n - Explorer"}, "a - Explorer", "a - Explorer"},
      {"a lone percent sign", {"%1 - Explorer %"}, "a - Explorer %", "a - Explorer %"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExplorerTitleForms(c.systemForms).FolderTitle(c.title), c.folder) << c.why;
  }
}

}  // namespace
}  // namespace folvane
