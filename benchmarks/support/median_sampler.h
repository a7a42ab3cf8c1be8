// The timing rule of the benchmarks that compare looks or roads in one run:
// each takes its turn in every round, so a machine growing busier slows
// them alike, and the median of the batch times is the figure.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

struct Plan {
  int Rounds, Batches, Calls;  // Batches of Calls calls per look and round
  // Calls before a sample's batches, that fill what a first call builds.
  int WarmUp = Calls / 4 + 1;
};

// The plan a benchmark's command line asks for: "--quick" takes the short one.
inline Plan PlanFromArgs(int argc, char** argv, const Plan& Full, const Plan& Quick) {
  return argc > 1 && std::strcmp(argv[1], "--quick") == 0 ? Quick : Full;
}

// Batch times per call, gathered over the rounds; the median is the figure.
struct Samples {
  std::vector<double> Times;
  double Median() {
    if (Times.empty()) return 0;
    std::nth_element(Times.begin(), Times.begin() + Times.size() / 2, Times.end());
    return Times[Times.size() / 2];
  }
};

// Times Work in batches after the plan's warm-up calls.
inline void Sample(const Plan& P, Samples& Into, const std::function<void()>& Work) {
  for (int i = 0; i < P.WarmUp; ++i) Work();
  for (int b = 0; b < P.Batches; ++b) {
    const auto start = Clock::now();
    for (int i = 0; i < P.Calls; ++i) Work();
    Into.Times.push_back(std::chrono::duration<double>(Clock::now() - start).count() / P.Calls);
  }
}

}  // namespace bench
