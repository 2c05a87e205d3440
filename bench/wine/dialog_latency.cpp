// How fast the real program shuts another program's file dialog that goes into a protected folder,
// and what a file dialog in front costs it while nothing happens.
//
// Lock latency: the time from the dialog's change of folder (its address band's breadcrumb
// retitled, as Windows 10 and 11 do it) until the dialog is disabled, on the stand-in for the
// common item dialog, at the default sampling interval. As in lock_latency.cpp, every trial lets
// the dialog show an unprotected folder for at least three sampling intervals and then moves it
// into the protected one at the next of `trials` evenly spaced points of the sampling period, in a
// shuffled order, and the disable is taken in the dialog's own thread as its WM_ENABLE arrives.
// The challenge is then answered right.
//
// Idle cost: the processor time of the resident program over three stretches of the same length,
// with an unprotected folder window in front, with the stand-in dialog in front showing an
// unprotected folder, and with the system's own Open dialog (the classic one, under Wine) in front
// in an unprotected folder; beside the null guard in the same stretches.
//
//   folvane_dialog_latency [trials] [idle seconds]   (defaults: 100 trials, 30 s)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "bench/wine/bench_support.h"
#include "e2e/driver.h"
#include "e2e/file_dialogs.h"

namespace folvane::e2e {
namespace {

using namespace std::chrono_literals;

// 経理 is locked with "xyz".
std::string protectedList() {
  return "[PasswordSetData]\r\n" + toAnsi("経理") +
         "=139140141\r\n[PasswordNumber]\r\nPassCount=1\r\n";
}
const std::string kUnprotected = "C:\\共有\\公開";
const std::string kProtected = "C:\\共有\\経理";
constexpr int kInterval = 100;

// The moment the dialog was last disabled, taken in its own thread as its WM_ENABLE arrives.
WNDPROC originalProcedure = nullptr;
double disabledAt = -1;

LRESULT CALLBACK watchedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENABLE && !wParam && disabledAt < 0) disabledAt = NowMs();
  return CallWindowProcW(originalProcedure, window, message, wParam, lParam);
}

int run(int trials, int idleSeconds) {
  Sandbox sandbox;
  sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
  sandbox.writeFile("PassDat.ini", protectedList());
  Process program = sandbox.start();
  const Window main = program.mainWindow();
  if (!main || !waitUntil([&] { return topLevelWindows(program.pid()).empty(); })) {
    std::fprintf(stderr, "the program did not become resident\n");
    return 1;
  }

  StandInItemDialog dialog(kUnprotected);
  const HWND dialogWindow = reinterpret_cast<HWND>(dialog.id());
  originalProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(dialogWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watchedProcedure)));

  std::vector<int> order(trials);
  for (int i = 0; i < trials; ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(20261211));
  const double grid = NowMs();
  std::vector<double> latencies;
  for (int trial = 0; trial < trials; ++trial) {
    dialog.goTo(kUnprotected);
    dialog.bringForward();
    const double offset = double(order[trial]) * kInterval / trials;
    const double earliest = NowMs() + 3.0 * kInterval;
    double at = grid + offset;
    at += std::ceil((earliest - at) / kInterval) * kInterval;
    pump(Duration(std::max(0, int(at - NowMs()) - 2)));
    while (NowMs() < at) {
    }
    disabledAt = -1;
    const double start = NowMs();
    dialog.goTo(kProtected);
    if (!waitUntil([] { return disabledAt >= 0; }, 5s)) {
      std::fprintf(stderr, "trial %d: the dialog was not disabled\n", trial);
      return 1;
    }
    latencies.push_back(disabledAt - start);
    const Window login = program.waitForWindow(kLoginCaption);
    if (!login) {
      std::fprintf(stderr, "trial %d: no challenge\n", trial);
      return 1;
    }
    enterPassword(login, "xyz");
    if (!waitForGone(login) || !waitUntil([&] {
          return isEnabled(dialog.id()) && foregroundWindow() == dialog.id() && !isVisible(main);
        })) {
      std::fprintf(stderr, "trial %d: the dialog was not given back\n", trial);
      return 1;
    }
  }
  std::sort(latencies.begin(), latencies.end());
  double mean = 0;
  for (double latency : latencies) mean += latency / double(latencies.size());
  std::printf(
      "%d trials: from the dialog's change of folder to its disable: median %.1f ms, p95 %.1f ms "
      "(mean %.1f, min %.1f, max %.1f)\n",
      trials, Percentile(latencies, 0.5), Percentile(latencies, 0.95), mean, latencies.front(),
      latencies.back());

  if (idleSeconds <= 0) return 0;
  dialog.goTo(kUnprotected);
  Process floor = startProgram(BesideThisProgram("folvane_null_guard.exe"));
  pump(1s);
  // One stretch with `front` in front: Folvane's and the null guard's processor time in it.
  const auto stretch = [&](const char* what, const std::function<void()>& front) {
    front();
    pump(1s);
    const auto cpuStart = program.cpuTime();
    const auto floorStart = floor.cpuTime();
    pump(std::chrono::seconds(idleSeconds));
    const double cpuMs = double((program.cpuTime() - cpuStart).count()) / 1000.0;
    const double floorMs = double((floor.cpuTime() - floorStart).count()) / 1000.0;
    std::printf("idle %d s with %s in front: %.0f ms; the null guard %.0f ms\n", idleSeconds, what,
                cpuMs, floorMs);
    return cpuMs;
  };
  FolderWindow folder(kUnprotected);
  const double plain = stretch("an unprotected folder window", [&] { folder.bringForward(); });
  const double standIn =
      stretch("the common item dialog in an unprotected folder", [&] { dialog.bringForward(); });
  RealFolder open("公開");
  OpenDialog system(open.path());
  const double classic =
      stretch("the system's Open dialog in an unprotected folder", [&] { system.bringForward(); });
  std::printf(
      "idle with a file dialog in front, to a folder window: %.2fx (common item), "
      "%.2fx (the system's)\n",
      standIn / plain, classic / plain);
  std::printf("resident memory at the end: %.1f MB\n",
              double(program.residentBytes()) / (1024.0 * 1024.0));
  if (!program.running()) {
    std::fprintf(stderr, "the program ended while idle\n");
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace folvane::e2e

int main(int argc, char** argv) {
  const int trials = argc > 1 ? std::atoi(argv[1]) : 100;
  const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 30;
  if (trials < 1) {
    std::fprintf(stderr, "usage: folvane_dialog_latency [trials] [idle seconds]\n");
    return 2;
  }
  try {
    return folvane::e2e::run(trials, idleSeconds);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
