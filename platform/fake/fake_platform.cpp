#include "platform/fake/fake_platform.h"

#include <iconv.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/busy_retry.h"
#include "platform/whole_characters.h"

namespace folvane {

namespace fs = std::filesystem;

namespace {

// One iconv descriptor per direction, opened once and kept: opening one costs far more than a
// conversion. The fake serves one thread at a time, like the program's own user interface.
iconv_t descriptor(const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  return cd;
}

// Converts with iconv; characters the target cannot hold become '?', like the system's
// best-fit-free conversion does.
std::string convert(std::string_view input, iconv_t cd, bool fromUtf8) {
  // ASCII is the same in both, and iconv's code page 932 costs hundreds of instructions a byte:
  // a list of ten thousand folders would measure iconv, not the program.
  if (std::all_of(input.begin(), input.end(), [](char c) { return (c & 0x80) == 0; }))
    return std::string(input);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh start, whatever came before
  std::string out;
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr - buffer);
    if (result == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      if (errno == EINVAL) break;  // an unfinished last character is dropped
      // EILSEQ: skip one character of input and put '?' in its place.
      size_t skip = 1;
      if (fromUtf8) {
        unsigned char lead = static_cast<unsigned char>(*in);
        skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        skip = std::min(skip, inLeft);
      }
      in += skip;
      inLeft -= skip;
      out += '?';
    }
  }
  return out;
}

// As the system copies a window's text: whole characters only, and a NUL after them.
void copyNarrow(const std::string& text, char* buffer, int maxCount, FakePlatform& platform) {
  if (maxCount <= 0) return;
  const size_t n =
      WholeCharacterBytes(text, static_cast<size_t>(maxCount - 1),
                          [&](unsigned char byte) { return platform.isLeadByte(byte); });
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

std::string nativePath(const std::string& path) {
  std::string result = path;
  for (char& c : result)
    if (c == '\\') c = '/';
  return result;
}

std::string fileNameOf(const std::string& path) {
  const std::string native = nativePath(path);
  return native.substr(native.find_last_of('/') + 1);
}

}  // namespace

FakePlatform::FakePlatform() {
  char pattern[] = "/tmp/folvane-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  if (!made) throw std::runtime_error("cannot make a temporary folder");
  folder_ = made;
}

FakePlatform::~FakePlatform() {
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

WindowId FakePlatform::addWindow(const std::string& classNameUtf8, const std::string& titleUtf8) {
  WindowId id = nextWindow_++;
  FakeWindow& created = windows_[id];
  created.className = toAnsi(classNameUtf8);
  created.title = toAnsi(titleUtf8);
  created.wideTitle = titleUtf8;
  return id;
}

WindowId FakePlatform::addOwnWindow(const std::string& classNameUtf8,
                                    const std::string& titleUtf8) {
  const WindowId id = addWindow(classNameUtf8, titleUtf8);
  windows_[id].own = true;
  return id;
}

WindowId FakePlatform::addChild(WindowId parent, const std::string& classNameUtf8,
                                const std::string& titleUtf8, int controlId) {
  const WindowId id = addWindow(classNameUtf8, titleUtf8);
  windowState(id).parent = parent;
  windowState(id).controlId = controlId;
  return id;
}

void FakePlatform::destroyWindow(WindowId window) {
  auto found = windows_.find(window);
  if (found != windows_.end()) found->second.exists = false;
  if (foreground_ == window) foreground_ = 0;
  for (auto& [id, state] : windows_)
    if (state.parent == window && state.exists) destroyWindow(id);
}

void FakePlatform::setTitle(WindowId window, const std::string& titleUtf8) {
  windowState(window).title = toAnsi(titleUtf8);
  windowState(window).wideTitle = titleUtf8;
}

FakePlatform::FakeWindow& FakePlatform::windowState(WindowId window) {
  auto found = windows_.find(window);
  if (found == windows_.end()) throw std::logic_error("no such fake window");
  return found->second;
}

void FakePlatform::className(WindowId window, char* buffer, int maxCount) {
  auto found = windows_.find(window);
  if (found != windows_.end() && found->second.exists)
    copyNarrow(found->second.className, buffer, maxCount, *this);
}

void FakePlatform::windowText(WindowId window, char* buffer, int maxCount) {
  auto found = windows_.find(window);
  if (found != windows_.end() && found->second.exists)
    copyNarrow(found->second.title, buffer, maxCount, *this);
}

std::string FakePlatform::windowTitle(WindowId window) {
  auto found = windows_.find(window);
  if (found == windows_.end() || !found->second.exists) return "";
  return found->second.wideTitle.value_or(fromAnsi(found->second.title));
}

bool FakePlatform::windowExists(WindowId window) {
  auto found = windows_.find(window);
  return found != windows_.end() && found->second.exists;
}

void FakePlatform::enableWindow(WindowId window, bool enable) {
  auto found = windows_.find(window);
  if (found != windows_.end() && found->second.exists) found->second.enabled = enable;
}

bool FakePlatform::isWindowEnabled(WindowId window) {
  auto found = windows_.find(window);
  return found != windows_.end() && found->second.exists && found->second.enabled;
}

void FakePlatform::postClose(WindowId window) {
  auto found = windows_.find(window);
  if (found == windows_.end() || !found->second.exists) return;
  ++found->second.closeRequests;
  if (windowsCloseOnRequest) destroyWindow(window);
}

void FakePlatform::setForegroundWindow(WindowId window) {
  setForegroundCalls.push_back(window);
  if (windowExists(window)) foreground_ = window;
}

void FakePlatform::setActiveWindow(WindowId window) {
  setActiveCalls.push_back(window);
}

std::optional<ShellFolder> FakePlatform::folderShownBy(WindowId window) {
  ++shellQuestions;
  if (onShellQuestion) onShellQuestion(window);
  if (shellTooLate || !windowExists(window)) return std::nullopt;
  auto found = shellFolders.find(window);
  if (found == shellFolders.end()) return std::nullopt;
  return found->second;
}

bool FakePlatform::leaveFolder(WindowId window, WindowId tab) {
  leaveRequests.emplace_back(window, tab);
  if (onLeaveFolder) return onLeaveFolder(window, tab);
  auto found = shellFolders.find(window);
  return windowExists(window) && found != shellFolders.end() && found->second.tab == tab;
}

std::vector<ChildWindow> FakePlatform::childWindows(WindowId parent) {
  ++childReads;
  std::vector<ChildWindow> children;
  if (!windowExists(parent)) return children;
  for (const auto& [id, state] : windows_) {
    if (state.parent == parent && state.exists)
      children.push_back({id, fromAnsi(state.className), state.controlId});
  }
  return children;
}

WindowId FakePlatform::rootWindowOf(WindowId window) {
  if (!windowExists(window)) return 0;
  while (windows_.at(window).parent != 0) window = windows_.at(window).parent;
  return window;
}

bool FakePlatform::isOwnWindow(WindowId window) {
  return windowExists(window) && windows_.at(rootWindowOf(window)).own;
}

WindowId FakePlatform::focusedWindowOf(WindowId window) {
  if (!windowExists(window) || !windowExists(focused)) return 0;
  return rootWindowOf(focused) == rootWindowOf(window) ? focused : 0;
}

std::optional<std::string> FakePlatform::controlText(WindowId control) {
  if (!windowExists(control) || windows_.at(control).hung) return std::nullopt;
  const FakeWindow& state = windows_.at(control);
  return state.content ? *state.content : windowTitle(control);
}

std::optional<std::string> FakePlatform::comboBoxItem(WindowId comboBox) {
  if (!windowExists(comboBox) || windows_.at(comboBox).hung) return std::nullopt;
  return windows_.at(comboBox).comboItem;
}

void FakePlatform::postCancel(WindowId dialog) {
  auto found = windows_.find(dialog);
  if (found == windows_.end() || !found->second.exists) return;
  ++found->second.cancelRequests;
  if (windowsCloseOnRequest) destroyWindow(dialog);
}

void FakePlatform::cover(WindowId window, const std::string& text) {
  if (!windowExists(window)) return;
  if (onCover) onCover(window);
  covers[window] = text;
}

void FakePlatform::followCover(WindowId window) {
  if (covers.count(window) != 0 && windowExists(window)) ++coverFollows;
}

void FakePlatform::uncover(WindowId window) {
  covers.erase(window);
}

bool FakePlatform::watchWindowEvents(WindowId owner, bool on) {
  if (on && windowEventsRefused) return false;
  windowEventsOwner = on ? owner : 0;
  return true;
}

void FakePlatform::raiseWindowEvent(WindowId window, long object, long child) {
  if (windowEventsOwner == 0 ||
      !ConcernsWindowInFront(object, child, window, rootWindowOf(window), foreground_))
    return;
  if (isOwnWindow(window)) return;  // the system skips the program's own process
  ++windowEventsDelivered;
  if (deliverWindowEvent) deliverWindowEvent(windowEventsOwner);
}

bool FakePlatform::trayAdd(WindowId, const std::string& tipAnsi) {
  ++trayAddCalls;
  if (trayRefuses) return false;
  trayIconPresent = true;
  trayTip = tipAnsi;
  return true;
}

bool FakePlatform::trayDelete(WindowId) {
  ++trayDeleteCalls;
  if (trayDeleteAlwaysFails) return false;
  if (trayDeleteFailures > 0) {
    --trayDeleteFailures;
    return false;
  }
  trayIconPresent = false;
  return true;
}

bool FakePlatform::isHeld(const std::string& path) const {
  for (const std::string& held : heldFiles)
    if (nativePath(held) == nativePath(path)) return true;
  return false;
}

FileRead FakePlatform::readFile(const std::string& path, FileWait wait) {
  ++readsOf[fileNameOf(path)];
  if (readsFail) return {FileRead::Status::Unreadable, {}};
  if (isHeld(path)) {
    if (wait == FileWait::AboutASecond) {
      BusyRetry retry([this](int milliseconds) { pauses.push_back(milliseconds); });
      retry.run([] { return StepResult::Busy; });
    }
    return {FileRead::Status::Unreadable, {}};
  }
  const std::string native = nativePath(path);
  std::error_code error;
  const fs::file_status status = fs::status(native, error);
  if (!fs::exists(status)) return {FileRead::Status::Missing, {}};
  std::ifstream in(native, std::ios::binary);
  if (!fs::is_regular_file(status) || !in) return {FileRead::Status::Unreadable, {}};
  std::ostringstream content;
  content << in.rdbuf();
  return {FileRead::Status::Read, content.str()};
}

bool FakePlatform::replaceFile(const std::string& path, const std::string& bytes) {
  ++replaceFileCalls;
  ++replacesOf[fileNameOf(path)];
  if (writesFail || failingWrites.count(replaceFileCalls)) return false;
  std::string target = nativePath(path);
  // Someone made the file read-only to keep it as it is: refused at once, as waiting would not
  // change that.
  std::error_code missing;
  const fs::perms perms = fs::status(target, missing).permissions();
  if (!missing && (perms & fs::perms::owner_write) == fs::perms::none) return false;
  BusyRetry retry([this](int milliseconds) { pauses.push_back(milliseconds); });
  const bool free = retry.run([this, &path] {
    if (isHeld(path)) return StepResult::Busy;
    if (busyAttempts == 0) return StepResult::Done;
    --busyAttempts;
    return StepResult::Busy;
  });
  if (!free) return false;
  std::string temporary = target + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  std::error_code error;
  fs::rename(temporary, target, error);
  return !error;
}

std::string FakePlatform::rootName(RegRoot root) {
  return root == RegRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::optional<std::string> FakePlatform::regReadValue(RegRoot root, const std::string& subKey,
                                                      const std::string& name, int bufferSize) {
  if (registryFails) return std::nullopt;
  auto key = registry.find(rootName(root) + "\\" + subKey);
  if (key == registry.end()) return std::nullopt;
  auto value = key->second.find(name);
  if (value == key->second.end()) return std::nullopt;
  // The system hands a string back with a terminating NUL, which needs room as well.
  std::string data = value->second;
  if (!data.empty() && data.back() != '\0') data += '\0';
  if (static_cast<int>(data.size()) > bufferSize) return std::nullopt;  // ERROR_MORE_DATA
  return data;
}

bool FakePlatform::regWriteString(RegRoot root, const std::string& subKey, const std::string& name,
                                  const std::string& data) {
  if (registryFails) return false;
  registry[rootName(root) + "\\" + subKey][name] = data;
  return true;
}

bool FakePlatform::regDeleteValue(RegRoot root, const std::string& subKey,
                                  const std::string& name) {
  if (registryFails) return false;
  auto key = registry.find(rootName(root) + "\\" + subKey);
  return key != registry.end() && key->second.erase(name) > 0;
}

std::string FakePlatform::toAnsi(std::string_view utf8) {
  static const iconv_t toCp932 = descriptor("UTF-8", "CP932");
  return convert(utf8, toCp932, true);
}

std::string FakePlatform::fromAnsi(std::string_view ansi) {
  static const iconv_t fromCp932 = descriptor("CP932", "UTF-8");
  return convert(ansi, fromCp932, false);
}

bool FakePlatform::isLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

MsgAnswer FakePlatform::messageBox(const MessageBoxRequest& request) {
  messages.push_back(request);
  if (onMessageBox) return onMessageBox(request);
  return request.buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}

void FakePlatform::openHelp(WindowId owner) {
  ++helpRequests;
  lastHelpOwner = owner;
}

void FakePlatform::exitNow() {
  exited = true;
  throw ProgramExit();
}

}  // namespace folvane
