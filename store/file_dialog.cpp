#include "store/file_dialog.h"

#include <functional>
#include <initializer_list>

namespace folvane {

namespace {

constexpr char kDialogClass[] = "#32770";
constexpr char kFolderViewClass[] = "SHELLDLL_DefView";

// The first window inside `node` (not `node` itself), depth first in z order, that `wanted`
// takes.
const DialogNode* findInside(const DialogNode& node,
                             const std::function<bool(const DialogNode&)>& wanted) {
  for (const DialogNode& child : node.children) {
    if (wanted(child)) return &child;
    if (const DialogNode* found = findInside(child, wanted)) return found;
  }
  return nullptr;
}

// The window at the end of a chain of classes, each window the child of the one before, the
// first of them anywhere inside `node`; nullptr when no such chain is there.
const DialogNode* chainInside(const DialogNode& node, std::initializer_list<const char*> chain) {
  const DialogNode* end = nullptr;
  findInside(node, [&](const DialogNode& start) {
    if (start.className != *chain.begin()) return false;
    const DialogNode* at = &start;
    for (auto step = chain.begin() + 1; at && step != chain.end(); ++step) {
      const DialogNode* next = nullptr;
      for (const DialogNode& child : at->children) {
        if (child.className == *step) {
          next = &child;
          break;
        }
      }
      at = next;
    }
    end = at;
    return end != nullptr;
  });
  return end;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

bool isAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isAsciiLetterOrDigit(char c) {
  return isAsciiLetter(c) || (c >= '0' && c <= '9');
}

// Where a drive ("C:" alone or before a "\") or a network path ("\\") starts in the text, a
// drive letter standing after no other letter or digit, so that the "s:" of "Address:" is none.
std::string_view::size_type pathStart(std::string_view text) {
  for (std::string_view::size_type at = 0; at < text.size(); ++at) {
    if (text.substr(at, 2) == "\\\\") return at;
    const bool drive = isAsciiLetter(text[at]) && at + 1 < text.size() && text[at + 1] == ':' &&
                       (at + 2 == text.size() || text[at + 2] == '\\') &&
                       (at == 0 || !isAsciiLetterOrDigit(text[at - 1]));
    if (drive) return at;
  }
  return std::string_view::npos;
}

}  // namespace

std::optional<FileDialogParts> FileDialogPartsOf(const DialogNode& dialog) {
  if (dialog.className != kDialogClass) return std::nullopt;
  const bool showsFolder =
      findInside(dialog, [](const DialogNode& node) { return node.className == kFolderViewClass; });
  if (!showsFolder) return std::nullopt;

  if (const DialogNode* address =
          chainInside(dialog, {"WorkerW", "ReBarWindow32", "Address Band Root"})) {
    const DialogNode* breadcrumb =
        chainInside(*address, {"msctls_progress32", "Breadcrumb Parent", "ToolbarWindow32"});
    if (breadcrumb) {
      FileDialogParts parts;
      parts.kind = FileDialogParts::Kind::CommonItem;
      parts.breadcrumb = breadcrumb->window;
      if (const DialogNode* edit = chainInside(*address, {"ComboBoxEx32", "ComboBox", "Edit"}))
        parts.addressEdit = edit->window;
      return parts;
    }
  }
  const DialogNode* lookIn = findInside(dialog, [](const DialogNode& node) {
    return node.className == "ComboBox" && node.controlId == kLookInComboId;
  });
  if (!lookIn) return std::nullopt;
  FileDialogParts parts;
  parts.kind = FileDialogParts::Kind::Classic;
  parts.lookIn = lookIn->window;
  return parts;
}

std::string FolderOfAddress(std::string_view text) {
  const std::string_view::size_type path = pathStart(text);
  if (path != std::string_view::npos) return std::string(text.substr(path));
  // A colon, or the full-width one of East Asian texts.
  std::string_view::size_type colon = text.find(':');
  std::string_view::size_type after = colon + 1;
  const std::string_view::size_type wide = text.find("\xEF\xBC\x9A");
  if (wide != std::string_view::npos && (colon == std::string_view::npos || wide < colon)) {
    colon = wide;
    after = wide + 3;
  }
  if (colon == std::string_view::npos) return "";
  std::string_view folder = text.substr(after);
  while (!folder.empty() && isBlank(folder.front())) folder.remove_prefix(1);
  while (!folder.empty() && isBlank(folder.back())) folder.remove_suffix(1);
  return std::string(folder);
}

}  // namespace folvane
