// What the Windows benchmarks share: the clock their latencies are taken on, the percentile of a
// sorted set of samples, and the path of a program built beside the running one.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace folvane::e2e {

// Milliseconds on the performance counter, the finest clock the system keeps.
inline double NowMs() {
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
inline double Percentile(const std::vector<double>& sorted, double share) {
  std::size_t rank = std::size_t(share * double(sorted.size()) + 0.999999);
  return sorted[std::min(sorted.size(), std::max<std::size_t>(rank, 1)) - 1];
}

// A file in the folder of the running program.
inline std::string BesideThisProgram(const std::string& fileName) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1) + fileName;
}

}  // namespace folvane::e2e
