// Ratios between benchmarks of one run: each program names the pairs it
// cares about, and the shared main prints them after the usual table.
#pragma once

#include <string>

namespace vorn::bench {

// Registers "name: measured / baseline" (real time per iteration) to be
// printed at the end; Target, when positive, is printed beside it.
bool AddRatio(const std::string& Name, const std::string& Measured, const std::string& Baseline,
              double Target = 0, bool TargetIsMaximum = true);

}  // namespace vorn::bench

#define VORN_BENCH_CONCAT2(a, b) a##b
#define VORN_BENCH_CONCAT(a, b) VORN_BENCH_CONCAT2(a, b)
#define VORN_RATIO(...) \
  static const bool VORN_BENCH_CONCAT(vorn_ratio_, __LINE__) = ::vorn::bench::AddRatio(__VA_ARGS__)
