// How fast the real program shuts a protected folder window, measured beside the floor: the least
// guard that does the same job (null_guard.cpp), timed by the same harness in the same run.
//
// Lock latency: the time from a protected folder window coming to the front until it is disabled,
// at the default sampling interval (or one given). Every trial, for either program, is the same:
// an unprotected folder window comes to the front and stays there for at least three sampling
// intervals, then the protected window comes forward at a moment chosen on a grid of the
// interval's length that started with the run: trial i comes at the i-th of `trials` evenly
// spaced points of the grid's period, in a shuffled order. A guard's timer ticks at a steady
// period from an unknown start, so the trials fall evenly over every phase of it, for either
// guard alike: the medians compare the guards' own cost, not the luck of a random draw. The
// moment the window is disabled is taken in its own thread, when its WM_ENABLE arrives, and that
// thread does nothing but wait for messages meanwhile, so the harness adds the same few
// microseconds to both programs.
// Folvane's challenge is then answered right; the null guard's window is enabled again by hand.
//
// Cover latency, in Folvane's trials: the time until a person sees the program's cover at the
// centre of the folder window (the first visible window in z order there belongs to the program
// and lies exactly over the folder window, and the screen no longer shows the folder's own
// colour). A thread of its own reads the screen, so that reading it never delays the WM_ENABLE.
//
// The same trials again with a list of 10,000 folders, the protected one last: what the length of
// the list adds to a lock, since Folvane reads the list at each decision. They come after the
// idle stretch, so that the idle figures are those of the usual short list.
//
// Idle cost: the processor time and resident memory of the resident program over a stretch of
// time in which an unprotected window stays in front, beside the null guard with its tray icon
// (and no list) in the same stretch, and the ratios of the two. Beside them idles the null guard
// built to ask the Shell about folder windows too, as Folvane does for Windows 11's folder
// windows: what that question alone costs, apart from the rest of Folvane.
//
// Window events: Windows tells a program that hooks them the moment a window comes to the front
// or changes its title, and Folvane reacts to them; Wine 8 raises neither event by itself. So the
// same trials run again with the driver's folder windows raising the events themselves
// (NotifyWinEvent), as Windows raises them for every window: for Folvane and for the null guard,
// which polls and hears none of them, at the interval of the run and again at 1000 ms (fewer
// trials there: each takes three intervals). And a second idle stretch, for all three programs,
// with a window behind the one in front retitling itself 20 times a second and saying so, as a
// media player showing the time does.
//
//   folvane_lock_latency [trials] [idle seconds] [interval ms]
//   (defaults: 100 trials, 60 s, and no interval in the settings file: the program's 100 ms)
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bench/wine/bench_support.h"
#include "e2e/driver.h"

namespace folvane::e2e {
namespace {

using namespace std::chrono_literals;

// Private is locked with "xyz".
const std::string kList =
    "[PasswordSetData]\r\nPrivate=139140141\r\n[PasswordNumber]\r\nPassCount=1\r\n";
constexpr int kLongList = 10000;

// A list of `entries` folders, all locked with "xyz", whose last entry is Private: the one a
// decision on Private looks up last.
std::string listOf(int entries) {
  std::string list = "[PasswordSetData]\r\n";
  for (int i = 1; i < entries; ++i)
    list += "Folder" + std::to_string(100000 + i) + "=139140141\r\n";
  return list + "Private=139140141\r\n[PasswordNumber]\r\nPassCount=" + std::to_string(entries) +
         "\r\n";
}
const std::string kProtected = "C:\\Data\\Private";
const std::string kUnprotected = "C:\\Data\\Public";

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

// The moment the folder window under test was last disabled, taken in its own thread as its
// WM_ENABLE arrives: the window procedure of the driver's folder window is wrapped by this one.
struct EnableWatch {
  HWND window = nullptr;
  WNDPROC original = nullptr;
  double disabledAt = -1;
};
EnableWatch enableWatch;

LRESULT CALLBACK watchedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENABLE && !wParam && enableWatch.disabledAt < 0)
    enableWatch.disabledAt = NowMs();
  return CallWindowProcW(enableWatch.original, window, message, wParam, lParam);
}

void watchEnabling(Window window) {
  enableWatch.window = reinterpret_cast<HWND>(window);
  enableWatch.original = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      enableWatch.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watchedProcedure)));
}

// Reads the screen on a thread of its own: the first moment after `start` that Folvane's cover is
// seen over the window.
class CoverWatch {
 public:
  CoverWatch(Window window, ProcessId program) : window_(window), program_(program) {
    thread_ = std::thread([this] {
      while (!stop_) {
        const double start = start_;
        if (start > 0 && coveredAt_ < 0 && coveredAtCentre(window_, program_))
          coveredAt_ = NowMs() - start;
        Sleep(1);
      }
    });
  }
  ~CoverWatch() {
    stop_ = true;
    thread_.join();
  }
  void begin(double start) {
    coveredAt_ = -1;
    start_ = start;
  }
  void end() { start_ = 0; }
  double latency() const { return coveredAt_; }

 private:
  Window window_;
  ProcessId program_;
  std::atomic<bool> stop_{false};
  std::atomic<double> start_{0};
  std::atomic<double> coveredAt_{-1};
  std::thread thread_;
};

// A window of another program behind the one in front that retitles itself `perSecond` times a
// second and says so each time. Its own thread makes it and changes its title, so nothing it does
// waits for the harness's thread.
class Retitler {
 public:
  explicit Retitler(int perSecond) {
    thread_ = std::thread([this, perSecond] {
      HWND window = CreateWindowExW(0, L"Static", L"0:00", WS_OVERLAPPEDWINDOW, 60, 60, 400, 200,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
      ShowWindow(window, SW_SHOWNOACTIVATE);
      SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      const double period = 1000.0 / perSecond;
      double next = NowMs();
      while (!stop_) {
        next += period;
        const int title = ++retitles_;
        SetWindowTextW(window, std::to_wstring(title).c_str());
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_WINDOW, CHILDID_SELF);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        const double left = next - NowMs();
        if (left > 0) Sleep(DWORD(left));
      }
      DestroyWindow(window);
    });
  }
  ~Retitler() {
    stop_ = true;
    thread_.join();
  }
  int retitles() const { return retitles_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<int> retitles_{0};
  std::thread thread_;
};

// One guard's trials, the same for Folvane and the null guard: the latency of each, in order.
// `giveBack` ends a trial once the window has been disabled; it is not timed.
std::vector<double> timeTrials(int trials, int interval, FolderWindow& unprotected,
                               FolderWindow& folder, CoverWatch* cover,
                               std::vector<double>* coverLatencies,
                               const std::function<bool()>& giveBack) {
  std::vector<int> order(trials);
  for (int i = 0; i < trials; ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(20261210));
  const double grid = NowMs();
  std::vector<double> latencies;
  for (int trial = 0; trial < trials; ++trial) {
    unprotected.bringForward();
    // The first moment, three intervals from now, at this trial's point of the grid.
    const double offset = double(order[trial]) * interval / trials;
    const double earliest = NowMs() + 3.0 * interval;
    double at = grid + offset;
    at += std::ceil((earliest - at) / interval) * interval;
    pump(Duration(std::max(0, int(at - NowMs()) - 2)));
    while (NowMs() < at) {
    }

    enableWatch.disabledAt = -1;
    const double start = NowMs();
    if (cover) cover->begin(start);
    folder.bringForward();
    const bool shut = waitUntil([] { return enableWatch.disabledAt >= 0; }, 5s);
    if (cover) {
      waitUntil([&] { return cover->latency() >= 0; }, 5s);
      cover->end();
    }
    if (!shut) {
      std::fprintf(stderr, "trial %d: the protected window was not disabled\n", trial);
      return {};
    }
    latencies.push_back(enableWatch.disabledAt - start);
    if (cover) {
      if (cover->latency() < 0) {
        std::fprintf(stderr, "trial %d: the protected window was not covered\n", trial);
        return {};
      }
      coverLatencies->push_back(cover->latency());
    }
    if (!giveBack()) {
      std::fprintf(stderr, "trial %d: the window was not given back\n", trial);
      return {};
    }
  }
  return latencies;
}

struct Summary {
  double median, p95, mean, min, max;
};

Summary summarize(const std::vector<double>& samples) {
  std::vector<double> sorted = samples;
  std::sort(sorted.begin(), sorted.end());
  double mean = 0;
  for (double sample : samples) mean += sample / double(samples.size());
  return {Percentile(sorted, 0.5), Percentile(sorted, 0.95), mean, sorted.front(), sorted.back()};
}

void print(const char* what, const Summary& s) {
  std::printf("%s: median %.1f ms, p95 %.1f ms (mean %.1f, min %.1f, max %.1f)\n", what, s.median,
              s.p95, s.mean, s.min, s.max);
}

// The mean period at which this Wine delivers a 100 ms window timer, the kind both guards
// sample with; the lock latency can be no better than half of it on the median.
double timerPeriodMs(int ticks) {
  UINT_PTR timer = SetTimer(nullptr, 0, 100, nullptr);
  double first = 0, last = 0;
  int seen = 0;
  MSG message;
  while (seen <= ticks && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.wParam == timer) {
      last = NowMs();
      if (seen++ == 0) first = last;
    } else {
      DispatchMessageW(&message);
    }
  }
  KillTimer(nullptr, timer);
  return (last - first) / ticks;
}

double megabytes(std::size_t bytes) {
  return double(bytes) / (1024.0 * 1024.0);
}

// Starts Folvane in the sandbox, with `interval` in its settings when it is not 0, and waits until
// it is resident. A new window comes to the front by itself, so the protected one may be
// challenged at start: that challenge is answered.
std::optional<Process> startFolvane(const Sandbox& sandbox, int interval, Window& main) {
  std::string settings = kSettingsWithAbc;
  if (interval > 0) settings += "[Timer]\r\nInterval=" + std::to_string(interval) + "\r\n";
  sandbox.writeFile("Folvane.ini", settings);
  sandbox.writeFile("PassDat.ini", kList);
  Process program = sandbox.start();
  main = program.mainWindow();
  if (!main || !waitUntil([&] { return topLevelWindows(program.pid()).empty(); })) {
    std::fprintf(stderr, "the program did not become resident\n");
    return std::nullopt;
  }
  return program;
}

// Answers a challenge that came without a trial (the protected window in front at a start).
void answerAnyChallenge(const Process& program, Window main) {
  if (Window login = program.waitForWindow(kLoginCaption, 1500ms)) {
    enterPassword(login, "xyz");
    waitForGone(login);
    waitUntil([&] { return !isVisible(main); });
  }
}

// Folvane's trials with the cover watched; false when one failed.
bool timeFolvane(int trials, int sampling, const Process& program, Window main,
                 FolderWindow& unprotected, FolderWindow& folder, std::vector<double>& latencies,
                 std::vector<double>& coverLatencies) {
  const auto answerChallenge = [&] {
    Window login = program.waitForWindow(kLoginCaption);
    if (!login) return false;
    enterPassword(login, "xyz");
    // The challenge is over once the window is back in front and the main window hidden.
    return waitForGone(login) && waitUntil([&] {
             return isEnabled(folder.id()) && foregroundWindow() == folder.id() && !isVisible(main);
           });
  };
  CoverWatch cover(folder.id(), program.pid());
  latencies =
      timeTrials(trials, sampling, unprotected, folder, &cover, &coverLatencies, answerChallenge);
  return !latencies.empty();
}

// The null guard's trials, alone, from a start with the unprotected window in front.
std::vector<double> timeNullGuard(int trials, int sampling, const std::string& nullGuard,
                                  const Sandbox& sandbox, FolderWindow& unprotected,
                                  FolderWindow& folder) {
  unprotected.bringForward();
  Process floor = startProgram(
      nullGuard, "\"" + sandbox.path("NullGuard.ini") + "\" " + std::to_string(sampling));
  pump(500ms);
  return timeTrials(trials, sampling, unprotected, folder, nullptr, nullptr, [&] {
    unprotected.bringForward();
    pump(Duration(3 * sampling));
    EnableWindow(reinterpret_cast<HWND>(folder.id()), TRUE);
    return isEnabled(folder.id());
  });
}

// The idle stretch: Folvane beside the null guard and the null guard that asks the Shell, with
// the unprotected folder window in front; false when a program ended meanwhile.
bool idle(const Process& program, const std::string& nullGuard, int idleSeconds,
          FolderWindow& unprotected, const char* what) {
  unprotected.bringForward();
  // With no list they guard nothing; the one that asks the Shell asks it about the folder
  // window in front, as Folvane did in its trials.
  Process idleFloor = startProgram(nullGuard);
  Process shellFloor = startProgram(BesideThisProgram("folvane_null_shell_guard.exe"));
  pump(1s);
  double wallStart = NowMs();
  auto cpuStart = program.cpuTime();
  auto floorCpuStart = idleFloor.cpuTime();
  auto shellFloorCpuStart = shellFloor.cpuTime();
  pump(std::chrono::seconds(idleSeconds));
  double wall = NowMs() - wallStart;
  double cpuMs = double((program.cpuTime() - cpuStart).count()) / 1000.0;
  double floorCpuMs = double((idleFloor.cpuTime() - floorCpuStart).count()) / 1000.0;
  double shellFloorCpuMs = double((shellFloor.cpuTime() - shellFloorCpuStart).count()) / 1000.0;
  double residentMb = megabytes(program.residentBytes());
  double floorResidentMb = megabytes(idleFloor.residentBytes());
  double shellFloorResidentMb = megabytes(shellFloor.residentBytes());
  std::printf("%s\n", what);
  std::printf("idle over %.1f s: %.0f ms CPU, %.2f %% of one core; the null guard %.0f ms\n",
              wall / 1000.0, cpuMs, 100.0 * cpuMs / wall, floorCpuMs);
  std::printf("idle processor time: %.2fx the null guard's\n", cpuMs / floorCpuMs);
  std::printf("resident memory: %.1f MB, the null guard %.1f MB: %.2fx\n", residentMb,
              floorResidentMb, residentMb / floorResidentMb);
  std::printf(
      "beside the null guard that asks the Shell: processor time %.0f ms (%.2fx), "
      "resident memory %.1f MB (%.2fx)\n",
      shellFloorCpuMs, cpuMs / shellFloorCpuMs, shellFloorResidentMb,
      residentMb / shellFloorResidentMb);
  if (!program.running() || !idleFloor.running() || !shellFloor.running()) {
    std::fprintf(stderr, "a program ended while idle\n");
    return false;
  }
  return true;
}

void printLocks(const char* what, int trials, int sampling, const std::vector<double>& own,
                const std::vector<double>& floor, const std::vector<double>& cover) {
  std::printf("%s: %d trials at %d ms\n", what, trials, sampling);
  const Summary mine = summarize(own), least = summarize(floor);
  print("lock latency, Folvane", mine);
  print("lock latency, the null guard", least);
  std::printf("lock latency, Folvane to the null guard: median %.2fx, p95 %.2fx\n",
              mine.median / least.median, mine.p95 / least.p95);
  print("cover latency, Folvane", summarize(cover));
  std::vector<double> coverLags;
  for (std::size_t i = 0; i < own.size(); ++i) coverLags.push_back(cover[i] - own[i]);
  print("cover minus lock latency, Folvane", summarize(coverLags));
}

int run(int trials, int idleSeconds, int interval) {
  constexpr int kSlowInterval = 1000;
  const int slowTrials = std::max(10, trials / 4);
  Sandbox sandbox;
  const int sampling = interval > 0 ? interval : 100;
  // The null guard's own list: Folvane's trials make PassDat.ini longer than it reads.
  sandbox.writeFile("NullGuard.ini", kList);
  Window main = 0;
  std::optional<Process> program = startFolvane(sandbox, interval, main);
  if (!program) return 1;

  FolderWindow unprotected(kUnprotected);
  FolderWindow folder(kProtected);
  // Clear of the main window and the centred dialog, which come up over the cover.
  const Box screen = screenBox();
  folder.place({screen.right - 500, 40, screen.right - 20, 360});
  folder.fill(kFolderColor);
  answerAnyChallenge(*program, main);
  watchEnabling(folder.id());
  const auto raiseEvents = [&](bool raise) {
    unprotected.raiseEvents(raise);
    folder.raiseEvents(raise);
  };

  std::vector<double> latencies, coverLatencies, eventLatencies, eventCoverLatencies;
  if (!timeFolvane(trials, sampling, *program, main, unprotected, folder, latencies,
                   coverLatencies))
    return 1;
  raiseEvents(true);
  if (!timeFolvane(trials, sampling, *program, main, unprotected, folder, eventLatencies,
                   eventCoverLatencies))
    return 1;
  raiseEvents(false);

  const std::string nullGuard = BesideThisProgram("folvane_null_guard.exe");
  if (idleSeconds > 0) {
    if (!idle(*program, nullGuard, idleSeconds, unprotected, "== idle")) return 1;
    Retitler retitler(20);
    const int before = retitler.retitles();
    if (!idle(*program, nullGuard, idleSeconds, unprotected,
              "== idle, with a window behind retitling itself 20 times a second"))
      return 1;
    std::printf("(%d retitles meanwhile)\n", retitler.retitles() - before);
  }

  sandbox.writeFile("PassDat.ini", listOf(kLongList));
  std::vector<double> longListLatencies =
      timeTrials(trials, sampling, unprotected, folder, nullptr, nullptr, [&] {
        Window login = program->waitForWindow(kLoginCaption);
        if (!login) return false;
        enterPassword(login, "xyz");
        return waitForGone(login) && waitUntil([&] {
                 return isEnabled(folder.id()) && foregroundWindow() == folder.id() &&
                        !isVisible(main);
               });
      });
  if (longListLatencies.empty()) return 1;

  // The same trials against the null guard, alone, which starts with the unprotected window in
  // front as Folvane did: without events and with them (which it does not hear).
  unprotected.bringForward();
  program->kill();
  std::vector<double> floorLatencies =
      timeNullGuard(trials, sampling, nullGuard, sandbox, unprotected, folder);
  if (floorLatencies.empty()) return 1;
  raiseEvents(true);
  std::vector<double> floorEventLatencies =
      timeNullGuard(trials, sampling, nullGuard, sandbox, unprotected, folder);
  if (floorEventLatencies.empty()) return 1;

  // Events at an interval of a second, for both guards.
  std::vector<double> slowLatencies, slowCoverLatencies, slowFloorLatencies;
  if (sampling != kSlowInterval) {
    raiseEvents(false);
    unprotected.bringForward();
    std::optional<Process> slow = startFolvane(sandbox, kSlowInterval, main);
    if (!slow) return 1;
    program.reset();
    program.emplace(std::move(*slow));
    answerAnyChallenge(*program, main);
    raiseEvents(true);
    if (!timeFolvane(slowTrials, kSlowInterval, *program, main, unprotected, folder, slowLatencies,
                     slowCoverLatencies))
      return 1;
    unprotected.bringForward();
    program->kill();
    slowFloorLatencies =
        timeNullGuard(slowTrials, kSlowInterval, nullGuard, sandbox, unprotected, folder);
    if (slowFloorLatencies.empty()) return 1;
  }

  std::printf("a 100 ms window timer ticks every %.1f ms on this system\n", timerPeriodMs(30));
  std::printf("%d trials at the %s interval (%d ms)\n", trials, interval > 0 ? "set" : "default",
              sampling);
  printLocks("== the folder windows raising no event", trials, sampling, latencies, floorLatencies,
             coverLatencies);
  const Summary own = summarize(latencies);
  const Summary longList = summarize(longListLatencies);
  std::printf(
      "lock latency, Folvane with %d folders listed (the protected one last): "
      "median %.1f ms, p95 %.1f ms (mean %.1f, min %.1f, max %.1f)\n",
      kLongList, longList.median, longList.p95, longList.mean, longList.min, longList.max);
  std::printf("lock latency, %d folders listed to 1: median %.2fx, p95 %.2fx\n", kLongList,
              longList.median / own.median, longList.p95 / own.p95);
  printLocks("== the folder windows raising the events", trials, sampling, eventLatencies,
             floorEventLatencies, eventCoverLatencies);
  if (!slowLatencies.empty()) {
    printLocks("== the folder windows raising the events, the interval at 1000 ms", slowTrials,
               kSlowInterval, slowLatencies, slowFloorLatencies, slowCoverLatencies);
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
