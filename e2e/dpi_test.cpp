// Every window of the program laid out at the density of the monitor it is on: with the whole
// desktop at 144 dots per inch (150 %), which Wine takes from the prefix as each program starts,
// and when a window is told it has moved to a monitor of 144 dots per inch, as Windows tells a
// window dragged onto another monitor (Wine never does, so the test sends the message, from
// another process).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "forms/forms.h"
#include "platform/pixel_layout.h"

namespace folvane::e2e {
namespace {

using namespace std::chrono_literals;

const std::string kDesktopKey = "Control Panel\\Desktop";
const std::string kDpiValue = "LogPixels";

// The window class of each kind of control the program makes a window for.
std::string classOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Frame:
    case ControlKind::Button:
    case ControlKind::CheckBox:
      return "Button";
    case ControlKind::Label:
      return "Static";
    case ControlKind::TextBox:
      return "Edit";
    case ControlKind::ListBox:
      return "ListBox";
    case ControlKind::UpDown:
      return "msctls_updown32";
    case ControlKind::Shape:
    case ControlKind::Image:
      return "FolvanePainted";
    case ControlKind::Line:
    case ControlKind::Timer:
      break;
  }
  return "";
}

// The layout's controls that are windows, in the order the program makes them, which is also
// their order among the window's children: the tab order first, then the others as listed.
std::vector<const ControlLayout*> controlWindows(const FormLayout& form) {
  std::vector<const ControlLayout*> controls;
  for (const ControlLayout& control : form.controls)
    if (!classOf(control.kind).empty()) controls.push_back(&control);
  std::stable_sort(controls.begin(), controls.end(),
                   [](const ControlLayout* a, const ControlLayout* b) {
                     if ((a->tabIndex < 0) != (b->tabIndex < 0)) return b->tabIndex < 0;
                     return a->tabIndex < b->tabIndex;
                   });
  return controls;
}

bool sameClass(const std::string& a, const std::string& b) {
  return _stricmp(a.c_str(), b.c_str()) == 0;
}

// Every control of `window` where `form` puts it at `dpi`, in its client area, which is the
// layout's at that density too. A label that sizes itself to its text keeps its top and the edge
// its alignment names, and is as tall as its font at that density at least, which shows that the
// font was made for it.
void expectLaidOut(Window window, const FormLayout& form, int dpi) {
  SCOPED_TRACE(form.name + " at " + std::to_string(dpi) + " dpi");
  const std::optional<Box> client = clientBox(window);
  ASSERT_TRUE(client) << "the window is gone";
  const PixelBox area = ClientBoxAt(form, dpi);
  EXPECT_EQ(client->right - client->left, area.width()) << "client area";
  EXPECT_EQ(client->bottom - client->top, area.height()) << "client area";

  const std::vector<const ControlLayout*> controls = controlWindows(form);
  const std::vector<Window> made = children(window);
  ASSERT_EQ(made.size(), controls.size()) << "the window's controls";
  for (size_t i = 0; i < made.size(); ++i) {
    const ControlLayout& control = *controls[i];
    SCOPED_TRACE(control.name);
    ASSERT_TRUE(sameClass(className(made[i]), classOf(control.kind))) << className(made[i]);
    const std::optional<Box> screen = windowBox(made[i]);
    ASSERT_TRUE(screen);
    const PixelBox box{screen->left - client->left, screen->top - client->top,
                       screen->right - client->left, screen->bottom - client->top};
    const PixelBox expected = ControlBoxAt(form, control, dpi);
    if (!control.autoSize) {
      EXPECT_EQ(box.left, expected.left);
      EXPECT_EQ(box.top, expected.top);
      EXPECT_EQ(box.right, expected.right);
      EXPECT_EQ(box.bottom, expected.bottom);
      continue;
    }
    EXPECT_EQ(box.top, expected.top);
    if (control.align == Align::Left) {
      EXPECT_EQ(box.left, expected.left);
    } else if (control.align == Align::Right) {
      EXPECT_EQ(box.right, expected.right);
    }
    EXPECT_GE(box.height(), PointsToPixels(control.fontPoints, dpi)) << "a font of another density";
  }
}

// A rectangle half as large again as `box`, moved a little, as the system suggests for a window
// dragged onto a monitor of 150 % from one of 100 %.
Box grownBy150Percent(const Box& box) {
  const int left = box.left + 20, top = box.top + 10;
  return Box{left, top, left + (box.right - box.left) * 3 / 2,
             top + (box.bottom - box.top) * 3 / 2};
}

bool sameCorner(const Box& a, const Box& b) {
  return a.left == b.left && a.top == b.top;
}

class Density : public ::testing::Test {
 protected:
  Density() : saved_(readRegistryDword(kDesktopKey, kDpiValue)) {}
  // The density is the prefix's, shared by every later test: it goes back as it was.
  ~Density() override {
    if (saved_)
      writeRegistryDword(kDesktopKey, kDpiValue, *saved_);
    else
      deleteRegistryValue(kDesktopKey, kDpiValue);
  }

  // The program with the user password "abc", past its start; `splashAt` checks the splash
  // window's layout at that density as it shows.
  void start(std::optional<int> splashAt = std::nullopt) {
    sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
    program.emplace(sandbox.start());
    if (splashAt) {
      Window splash = 0;
      ASSERT_TRUE(waitUntil([&] {
        for (Window window : topLevelWindows(program->pid()))
          if (windowText(window).empty() && className(window) != "#32768") splash = window;
        return splash != 0;
      })) << "no splash window";
      expectLaidOut(splash, frmSplashLayout(), *splashAt);
    }
    main = program->mainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(waitUntil([&] { return topLevelWindows(program->pid()).empty(); }))
        << "the start-up did not end";
    postTrayMouse(main, 516);  // the right button shows the main window
    ASSERT_TRUE(waitUntil([&] { return isVisible(main); })) << "the main window did not show";
  }

  Window openSettings() {
    EXPECT_TRUE(chooseMenu(main, 'S', 'V'));
    return program->waitForWindow(kSettingsCaption);
  }

  std::optional<unsigned long> saved_;
  Sandbox sandbox;
  std::optional<Process> program;
  Window main = 0;
};

TEST_F(Density, EveryWindowIsLaidOutAtTheDesktopsDensity) {
  writeRegistryDword(kDesktopKey, kDpiValue, 144);
  ASSERT_NO_FATAL_FAILURE(start(144));
  expectLaidOut(main, frmScanLayout(), 144);

  Window settings = openSettings();
  ASSERT_TRUE(settings) << "no settings dialog";
  expectLaidOut(settings, frmSetLayout(), 144);
  ASSERT_TRUE(clickButton(settings, "キャンセル"));
  ASSERT_TRUE(waitForGone(settings));

  postTrayMouse(main, 513);  // the left button stops the watch, after the user password
  Window login = program->waitForWindow(kLoginCaption);
  ASSERT_TRUE(login) << "no password dialog";
  expectLaidOut(login, frmLoginLayout(), 144);
  cancelPassword(login);
}

// The message comes from another process here, as Wine never sends it. Its address of the
// suggested rectangle means nothing in the program, so the program goes by the density alone: the
// window keeps its corner and is laid out whole at the new density, client area included. A
// rectangle is written into the program at that address all the same, and is not taken.
TEST_F(Density, AWindowToldOfAnotherDensityFromOutsideIsLaidOutForItWhereItStands) {
  ASSERT_NO_FATAL_FAILURE(start());
  const std::optional<Box> before = windowBox(main);
  ASSERT_TRUE(before);

  ASSERT_TRUE(program->sendDpiChanged(main, 144, grownBy150Percent(*before)));
  std::optional<Box> after = windowBox(main);
  ASSERT_TRUE(after);
  EXPECT_TRUE(sameCorner(*after, *before)) << *after << " from " << *before;
  expectLaidOut(main, frmScanLayout(), 144);

  // Back on the first monitor, the window is as it was.
  ASSERT_TRUE(program->sendDpiChanged(main, 96, *before));
  EXPECT_EQ(windowBox(main), before);
  expectLaidOut(main, frmScanLayout(), 96);

  // A density no scale setting gives is not taken.
  for (int dpi : {0, 48, 481, 0xFFFF}) {
    SCOPED_TRACE(dpi);
    ASSERT_TRUE(program->sendDpiChanged(main, dpi, *before));
    EXPECT_EQ(windowBox(main), before);
  }
  expectLaidOut(main, frmScanLayout(), 96);

  Window settings = openSettings();
  ASSERT_TRUE(settings) << "no settings dialog";
  const std::optional<Box> dialog = windowBox(settings);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(program->sendDpiChanged(settings, 144, grownBy150Percent(*dialog)));
  after = windowBox(settings);
  ASSERT_TRUE(after);
  EXPECT_TRUE(sameCorner(*after, *dialog)) << *after << " from " << *dialog;
  expectLaidOut(settings, frmSetLayout(), 144);
  ASSERT_TRUE(clickButton(settings, "キャンセル"));
  EXPECT_TRUE(waitForGone(settings));
}

}  // namespace
}  // namespace folvane::e2e
