// Wall-clock timing: the best of several runs, the usual guard against a
// busy machine inflating one measurement.
#pragma once

#include <algorithm>
#include <chrono>
#include <limits>

namespace bench {

template <typename Work>
double BestSeconds(int runs, Work&& work) {
  double best = std::numeric_limits<double>::infinity();
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

inline double MegabytesPerSecond(std::size_t bytes, double seconds) {
  return static_cast<double>(bytes) / 1e6 / seconds;
}

}  // namespace bench
