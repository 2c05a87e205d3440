// How fast the real program shuts a protected folder window, and what it costs while it waits.
//
// Lock latency: the time from a protected folder window coming to the front until the program
// has disabled it, at the default sampling interval (or one given). Each trial puts an unprotected
// folder window in front first (so that the protected one is new to the sampler), waits a random
// part of a few intervals (so that trials fall at every phase of the sampler's timer), brings the
// protected window forward and polls its enabled state; the challenge is then answered right.
//
// Cover latency, in the same trials: the time until a person sees the program's cover at the
// centre of the folder window: the first visible window in z order there belongs to the program
// and lies exactly over the folder window, and the screen no longer shows the folder's own colour
// there.
//
// Idle cost: the processor time and resident memory of the resident program over a stretch of
// time in which an unprotected window stays in front, so that the sampler ticks and finds nothing
// to do; beside it, in the same run, a null program that only reads the foreground window's class
// and title every 100 ms (null_program.cpp), and the ratios of the two.
//
//   folvane_lock_latency [trials] [idle seconds] [interval ms]
//   (defaults: 100 trials, 60 s, and no interval in the settings file: the program's 100 ms)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace folvane::e2e {
namespace {

using namespace std::chrono_literals;

// Private is locked with "xyz".
const std::string kList =
    "[PasswordSetData]\r\nPrivate=139140141\r\n[PasswordNumber]\r\nPassCount=1\r\n";
const std::string kProtected = "C:\\Data\\Private";
const std::string kUnprotected = "C:\\Data\\Public";

double nowMs() {
  static const double perMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return double(count.QuadPart) / perMs;
}

// The value below which `share` of the sorted samples lie (nearest rank).
double percentile(const std::vector<double>& sorted, double share) {
  std::size_t rank = std::size_t(share * double(sorted.size()) + 0.999999);
  return sorted[std::min(sorted.size(), std::max<std::size_t>(rank, 1)) - 1];
}

// The protected folder window's own colour, which the program never shows.
constexpr std::uint32_t kFolderColor = 0x00FF00FF;

// Whether a person sees a window of `program` lying exactly over `window` at its centre.
bool coveredAtCentre(Window window, ProcessId program) {
  std::optional<Box> box = windowBox(window);
  if (!box) return false;
  Point centre = centreAndCorners(*box).front();
  Window seen = windowSeenAt(centre);
  if (!seen || processOf(seen) != program || windowBox(seen) != box) return false;
  std::optional<std::uint32_t> color = colorAt(centre);
  return color && *color != kFolderColor;
}

struct Times {
  double disabled = -1;  // milliseconds after the request; negative: not seen in time
  double covered = -1;
};

// Brings `window` forward and waits until it is disabled and covered, handling the driver's
// messages (the program's EnableWindow waits for this thread to take its WM_ENABLE).
Times timeUntilShut(Window window, ProcessId program, double timeoutMs) {
  HWND hwnd = reinterpret_cast<HWND>(window);
  Times times;
  double start = nowMs();
  SetForegroundWindow(hwnd);
  SetActiveWindow(hwnd);
  for (;;) {
    if (times.disabled < 0 && !IsWindowEnabled(hwnd)) times.disabled = nowMs() - start;
    if (times.covered < 0 && coveredAtCentre(window, program)) times.covered = nowMs() - start;
    if (times.disabled >= 0 && times.covered >= 0) return times;
    if (nowMs() - start > timeoutMs) return times;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

// The mean period at which this Wine delivers a 100 ms window timer, the kind the program
// samples with; the lock latency can be no better than half of it on the median.
double timerPeriodMs(int ticks) {
  UINT_PTR timer = SetTimer(nullptr, 0, 100, nullptr);
  double first = 0, last = 0;
  int seen = 0;
  MSG message;
  while (seen <= ticks && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.wParam == timer) {
      last = nowMs();
      if (seen++ == 0) first = last;
    } else {
      DispatchMessageW(&message);
    }
  }
  KillTimer(nullptr, timer);
  return (last - first) / ticks;
}

std::string besideThisProgram(const std::string& fileName) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1) + fileName;
}

int run(int trials, int idleSeconds, int interval) {
  Sandbox sandbox;
  std::string settings = kSettingsWithAbc;
  if (interval > 0) settings += "[Timer]\r\nInterval=" + std::to_string(interval) + "\r\n";
  sandbox.writeFile("Folvane.ini", settings);
  sandbox.writeFile("PassDat.ini", kList);
  Process program = sandbox.start();
  Window main = program.mainWindow();
  if (!main || !waitUntil([&] { return topLevelWindows(program.pid()).empty(); })) {
    std::fprintf(stderr, "the program did not become resident\n");
    return 1;
  }
  Window activeForm = children(main, "Edit").at(0);

  // A new window comes to the front by itself, so the protected one is challenged once here.
  FolderWindow unprotected(kUnprotected);
  FolderWindow folder(kProtected);
  // Clear of the main window and the centred dialog, which come up over the cover.
  const Box screen = screenBox();
  folder.place({screen.right - 500, 40, screen.right - 20, 360});
  folder.fill(kFolderColor);
  if (Window login = program.waitForWindow(kLoginCaption)) {
    enterPassword(login, "xyz");
    waitForGone(login);
    waitUntil([&] { return !isVisible(main); });
  }
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> phase(0, 299);
  std::vector<double> latencies, coverLatencies, coverLags;
  for (int trial = 0; trial < trials; ++trial) {
    unprotected.bringForward();
    if (!waitUntil([&] { return windowText(activeForm) == "CabinetWClass (" + kUnprotected + ")"; },
                   5s)) {
      std::fprintf(stderr, "trial %d: the sampler did not see the unprotected window\n", trial);
      return 1;
    }
    pump(Duration(phase(random)));

    Times times = timeUntilShut(folder.id(), program.pid(), 5000);
    Window login = program.waitForWindow(kLoginCaption);
    if (times.disabled < 0 || !login) {
      std::fprintf(stderr, "trial %d: the protected window was not challenged\n", trial);
      return 1;
    }
    if (times.covered < 0) {
      std::fprintf(stderr, "trial %d: the protected window was not covered\n", trial);
      return 1;
    }
    latencies.push_back(times.disabled);
    coverLatencies.push_back(times.covered);
    coverLags.push_back(times.covered - times.disabled);
    enterPassword(login, "xyz");
    // The challenge is over once the window is back in front and the main window hidden.
    if (!waitForGone(login) || !waitUntil([&] {
          return isEnabled(folder.id()) && foregroundWindow() == folder.id() && !isVisible(main);
        })) {
      std::fprintf(stderr, "trial %d: the right answer did not give the window back\n", trial);
      return 1;
    }
  }

  std::printf("a 100 ms window timer ticks every %.1f ms on this system\n", timerPeriodMs(30));
  auto report = [&](const char* what, const std::vector<double>& samples) {
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    double mean = 0;
    for (double sample : samples) mean += sample / double(samples.size());
    std::printf(
        "%s at the %s interval (%d ms), %d trials: median %.1f ms, "
        "p95 %.1f ms (mean %.1f, min %.1f, max %.1f)\n",
        what, interval > 0 ? "set" : "default", interval > 0 ? interval : 100, trials,
        percentile(sorted, 0.5), percentile(sorted, 0.95), mean, sorted.front(), sorted.back());
  };
  report("lock latency", latencies);
  report("cover latency", coverLatencies);
  report("cover minus lock latency", coverLags);

  if (idleSeconds > 0) {
    unprotected.bringForward();
    waitUntil([&] { return windowText(activeForm) == "CabinetWClass (" + kUnprotected + ")"; });
    Process null = startProgram(besideThisProgram("folvane_null_program.exe"));
    pump(1s);
    double wallStart = nowMs();
    auto cpuStart = program.cpuTime();
    auto nullCpuStart = null.cpuTime();
    pump(std::chrono::seconds(idleSeconds));
    double wall = nowMs() - wallStart;
    double cpuMs = double((program.cpuTime() - cpuStart).count()) / 1000.0;
    double nullCpuMs = double((null.cpuTime() - nullCpuStart).count()) / 1000.0;
    double residentMb = double(program.residentBytes()) / (1024.0 * 1024.0);
    double nullResidentMb = double(null.residentBytes()) / (1024.0 * 1024.0);
    std::printf("idle over %.1f s: %.0f ms CPU, %.2f %% of one core; the null program %.0f ms\n",
                wall / 1000.0, cpuMs, 100.0 * cpuMs / wall, nullCpuMs);
    std::printf("idle processor time: %.2fx the null program's\n", cpuMs / nullCpuMs);
    std::printf("resident memory: %.1f MB, the null program %.1f MB: %.2fx\n", residentMb,
                nullResidentMb, residentMb / nullResidentMb);
    if (!program.running() || !null.running()) {
      std::fprintf(stderr, "a program ended while idle\n");
      return 1;
    }
  }
  return 0;
}

}  // namespace
}  // namespace folvane::e2e

int main(int argc, char** argv) {
  int trials = argc > 1 ? std::atoi(argv[1]) : 100;
  int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 60;
  int interval = argc > 3 ? std::atoi(argv[3]) : 0;
  if (trials < 1) {
    std::fprintf(stderr, "usage: folvane_lock_latency [trials] [idle seconds] [interval ms]\n");
    return 2;
  }
  try {
    return folvane::e2e::run(trials, idleSeconds, interval);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
