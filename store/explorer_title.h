// The folder a file manager's window names, as a Windows 10 title named it. Since the updates of
// autumn 2024, Windows 11's file manager adds its own name to a folder window's title, and the
// number of its other tabs: "経理 - エクスプローラー", "経理 とその他 1 のタブ - エクスプローラー",
// "Downloads and 2 more tabs - File Explorer", with the full path in place of the folder's name
// when the title bar is set to show it. Windows 10 titled the window with the folder alone, and
// the protected list holds folder keys taken from such titles; these are the titles the program
// takes its keys from, on either system.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace folvane {

// The forms of the additions: the built-in English, Japanese and German ones, and those the system
// keeps. A form with a number in it is a tab phrase; one without is the file manager's name.
class ExplorerTitleForms {
 public:
  // `systemForms` are format strings as the system keeps them ("%1!s! - File Explorer",
  // "%1!s! and %2!d! more tabs"): the folder is the string insert (%1 unless typed otherwise),
  // every other insert a number of tabs. A format that does not read as such a form (no folder
  // insert or more than one, an insert of another kind, nothing but the folder, punctuation and
  // digits around it) is passed over, so that no part of an ordinary folder name, such as the
  // "(2)" of a copy, is ever taken for an addition.
  explicit ExplorerTitleForms(const std::vector<std::string>& systemForms = {});

  // The title without the file manager's additions: the file manager's name in the form that takes
  // the most off the whole title, then, only where that was there, the tab phrase in the same way;
  // each once. A title in none of the forms comes back as it is, and the folder left is never
  // empty.
  std::string FolderTitle(std::string_view title) const;

 private:
  struct Piece {
    enum class Kind { Text, Folder, Count };
    Kind kind;
    std::string text;  // Text only
  };
  using Form = std::vector<Piece>;

  static std::optional<Form> parse(std::string_view format);
  static bool countsTabs(const Form& form);
  static std::optional<std::string_view> folderIn(const Form& form, std::string_view title);

  std::vector<Form> forms_;
};

// The folder as a Windows 10 title named the window, from its whole title and what the Shell said
// of it, if anything: the Shell's full path where the title shows the full path, else the Shell's
// display name; without the Shell, the title without the file manager's additions.
std::string FolderTitleOf(std::string_view wholeTitle, const std::optional<ShellFolder>& shell,
                          const ExplorerTitleForms& forms);

}  // namespace folvane
