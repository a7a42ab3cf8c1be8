// The timing rule both halves of the skin-load benchmark share.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace skin_load_bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// The best of Runs timings of Work: the run least disturbed by the machine.
template <typename F>
double Best(int Runs, F&& Work) {
  double best = 1e30;
  for (int i = 0; i < Runs; ++i) {
    const auto start = Clock::now();
    Work();
    best = std::min(best, Seconds(Clock::now() - start));
  }
  return best;
}

// The best timing of each of Works over Runs rounds, one of each per round,
// so that a machine growing busier mid-run slows every road alike.
inline std::vector<double> BestOfEach(int Runs, const std::vector<std::function<void()>>& Works) {
  std::vector<double> best(Works.size(), 1e30);
  for (int i = 0; i < Runs; ++i)
    for (size_t w = 0; w < Works.size(); ++w) best[w] = std::min(best[w], Best(1, Works[w]));
  return best;
}

}  // namespace skin_load_bench
