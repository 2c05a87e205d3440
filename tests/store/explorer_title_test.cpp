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
  const std::vector<std::string> german = {"%1!s! – Datei-Explorer",
                                           "%1!s! und %2!d! weitere Registerkarten"};
  const Case cases[] = {
      {"built in, English", {}, "Downloads and 2 more tabs - File Explorer", "Downloads"},
      {"built in, Japanese", {}, "経理 とその他 1 のタブ - エクスプローラー", "経理"},
      {"the system's forms, typed inserts", german, "Bilder – Datei-Explorer", "Bilder"},
      {"the tab phrase inside the app's name", german,
       "C:\\Bilder und 3 weitere Registerkarten – Datei-Explorer", "C:\\Bilder"},
      {"printf's inserts", {"%s (%d tabs) · Files"}, "Work (4 tabs) · Files", "Work"},
      {"a whole title's form at once",
       {"%1 and %2 more tabs - File Explorer"},
       "A - B and 12 more tabs - File Explorer",
       "A - B"},
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
