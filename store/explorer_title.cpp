#include "store/explorer_title.h"

#include <cctype>

namespace folvane {

namespace {

// The additions as Windows 11 writes them in English, Japanese and German, in the system's own
// format syntax, for a system whose own forms cannot be read.
const char* const kBuiltInForms[] = {
    "%1 - File Explorer",
    "%1 and %2 more tab",
    "%1 and %2 more tabs",
    "%1 - エクスプローラー",
    "%1 とその他 %2 のタブ",
    "%1 \xE2\x80\x93 Datei-Explorer",  // with an en dash
};

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Whether a piece of text holds a word: a letter, or any character beyond ASCII.
bool holdsWord(const std::string& text) {
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 || std::isalpha(byte)) return true;
  }
  return false;
}

// The digits that end `text`, as many as there are.
std::size_t trailingDigits(std::string_view text) {
  std::size_t count = 0;
  while (count < text.size() && isDigit(text[text.size() - 1 - count])) ++count;
  return count;
}

std::size_t leadingDigits(std::string_view text) {
  std::size_t count = 0;
  while (count < text.size() && isDigit(text[count])) ++count;
  return count;
}

}  // namespace

ExplorerTitleForms::ExplorerTitleForms(const std::vector<std::string>& systemForms) {
  for (const std::string& format : systemForms) {
    if (std::optional<Form> form = parse(format)) forms_.push_back(std::move(*form));
  }
  for (const char* format : kBuiltInForms) forms_.push_back(*parse(format));
}

// FormatMessage's syntax: %1 to %99, each with an optional !printf type!, and the escapes %%,
// %., %! and "% "; printf's %s and %d are taken as well.
std::optional<ExplorerTitleForms::Form> ExplorerTitleForms::parse(std::string_view format) {
  Form form;
  auto addText = [&form](std::string_view text) {
    if (text.empty()) return;
    if (form.empty() || form.back().kind != Piece::Kind::Text)
      form.push_back({Piece::Kind::Text, ""});
    form.back().text += text;
  };
  int folders = 0;
  auto addInsert = [&](bool folder) {
    // Two inserts side by side could not be told apart in a title.
    if (!form.empty() && form.back().kind != Piece::Kind::Text) return false;
    form.push_back({folder ? Piece::Kind::Folder : Piece::Kind::Count, ""});
    folders += folder ? 1 : 0;
    return true;
  };

  std::size_t at = 0;
  while (at < format.size()) {
    const std::size_t percent = format.find('%', at);
    if (percent == std::string_view::npos) {
      addText(format.substr(at));
      break;
    }
    addText(format.substr(at, percent - at));
    if (percent + 1 >= format.size()) return std::nullopt;
    const char next = format[percent + 1];
    at = percent + 2;
    if (next == '%' || next == '.' || next == '!' || next == ' ') {
      addText(std::string_view(&format[percent + 1], 1));
    } else if (next >= '1' && next <= '9') {
      int number = next - '0';
      if (at < format.size() && isDigit(format[at])) number = number * 10 + (format[at++] - '0');
      bool folder = number == 1;
      if (at < format.size() && format[at] == '!') {
        const std::size_t close = format.find('!', at + 1);
        if (close == std::string_view::npos) return std::nullopt;
        const std::string_view type = format.substr(at + 1, close - at - 1);
        at = close + 1;
        if (type.find_first_of("sS") != std::string_view::npos) {
          folder = true;
        } else if (type.find_first_of("diuxX") != std::string_view::npos) {
          folder = false;
        } else {
          return std::nullopt;
        }
      }
      if (!addInsert(folder)) return std::nullopt;
    } else {
      // printf's inserts: %s, %ls, %ws for the folder, %d, %u, %i for a number.
      std::size_t type = percent + 1;
      if (format[type] == 'l' || format[type] == 'w') ++type;
      if (type >= format.size()) return std::nullopt;
      const char letter = format[type];
      at = type + 1;
      if (letter == 's' || letter == 'S') {
        if (!addInsert(true)) return std::nullopt;
      } else if (letter == 'd' || letter == 'u' || letter == 'i') {
        if (!addInsert(false)) return std::nullopt;
      } else {
        return std::nullopt;  // %0, %n, %r, %t and the like have no place in a title
      }
    }
  }
  if (folders != 1) return std::nullopt;
  bool words = false;
  for (const Piece& piece : form) words = words || holdsWord(piece.text);
  if (!words) return std::nullopt;
  return form;
}

// The folder's part of a title in this form: what lies between the pieces before the folder,
// matched from the title's start, and those after it, matched from its end.
std::optional<std::string_view> ExplorerTitleForms::folderIn(const Form& form,
                                                             std::string_view title) {
  std::size_t folder = 0;
  while (form[folder].kind != Piece::Kind::Folder) ++folder;
  std::string_view rest = title;
  for (std::size_t i = 0; i < folder; ++i) {
    const Piece& piece = form[i];
    if (piece.kind == Piece::Kind::Text) {
      if (rest.substr(0, piece.text.size()) != piece.text) return std::nullopt;
      rest.remove_prefix(piece.text.size());
    } else {
      const std::size_t digits = leadingDigits(rest);
      if (digits == 0) return std::nullopt;
      rest.remove_prefix(digits);
    }
  }
  for (std::size_t i = form.size(); i-- > folder + 1;) {
    const Piece& piece = form[i];
    if (piece.kind == Piece::Kind::Text) {
      if (rest.size() < piece.text.size() ||
          rest.substr(rest.size() - piece.text.size()) != piece.text)
        return std::nullopt;
      rest.remove_suffix(piece.text.size());
    } else {
      const std::size_t digits = trailingDigits(rest);
      if (digits == 0) return std::nullopt;
      rest.remove_suffix(digits);
    }
  }
  if (rest.empty()) return std::nullopt;
  return rest;
}

bool ExplorerTitleForms::countsTabs(const Form& form) {
  for (const Piece& piece : form)
    if (piece.kind == Piece::Kind::Count) return true;
  return false;
}

std::string ExplorerTitleForms::FolderTitle(std::string_view title) const {
  // First the file manager's name, then, only behind it, the tab phrase: a folder that Windows 10
  // titles "Notes and 2 more tabs" keeps its name.
  for (const bool tabPhrase : {false, true}) {
    std::optional<std::string_view> shortest;
    for (const Form& form : forms_) {
      if (countsTabs(form) != tabPhrase) continue;
      const std::optional<std::string_view> folder = folderIn(form, title);
      if (folder && (!shortest || folder->size() < shortest->size())) shortest = folder;
    }
    if (!shortest) break;
    title = *shortest;
  }
  return std::string(title);
}

std::string FolderTitleOf(std::string_view wholeTitle, const std::optional<ShellFolder>& shell,
                          const ExplorerTitleForms& forms) {
  std::string folder = forms.FolderTitle(wholeTitle);
  if (!shell) return folder;
  // With "Display the full path in the title bar" the title shows the path, as Windows 10 did.
  if (!shell->path.empty() && (folder == shell->path || wholeTitle == shell->path))
    return shell->path;
  if (shell->displayName.empty()) return folder;
  return shell->displayName;
}

}  // namespace folvane
