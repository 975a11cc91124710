#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include "bench/support/ratio.h"

namespace vorn::bench {

namespace {

struct Ratio {
  std::string Name, Measured, Baseline;
  double Target;
  bool Maximum;
};

std::vector<Ratio>& Ratios() {
  static std::vector<Ratio> ratios;
  return ratios;
}

// Passes everything to the console and remembers each benchmark's time:
// with repetitions the median of them (a shared machine's load comes and
// goes between runs), otherwise the one run's.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      // A benchmark repeated by its own setting has its repetitions in
      // its name; ratios name it without them.
      benchmark::BenchmarkName plain = r.run_name;
      plain.repetitions.clear();
      const std::string name = plain.str();
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
        medians_.insert(name);
        times_[name] = r.GetAdjustedRealTime();
      } else if (r.run_type == Run::RT_Iteration && r.iterations > 0 && !medians_.contains(name)) {
        times_[name] = r.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  [[nodiscard]] const std::map<std::string, double>& Times() const { return times_; }

 private:
  std::map<std::string, double> times_;
  std::set<std::string> medians_;
};

}  // namespace

bool AddRatio(const std::string& Name, const std::string& Measured, const std::string& Baseline,
              double Target, bool TargetIsMaximum) {
  Ratios().push_back({Name, Measured, Baseline, Target, TargetIsMaximum});
  return true;
}

}  // namespace vorn::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  vorn::bench::RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto& times = reporter.Times();
  for (const auto& r : vorn::bench::Ratios()) {
    const auto m = times.find(r.Measured), b = times.find(r.Baseline);
    if (m == times.end() || b == times.end() || b->second <= 0) continue;
    const double ratio = m->second / b->second;
    if (r.Target > 0) {
      const bool ok = r.Maximum ? ratio <= r.Target : ratio >= r.Target;
      std::printf("ratio %-48s %8.3f  (target %s %.2f: %s)\n", r.Name.c_str(), ratio,
                  r.Maximum ? "<=" : ">=", r.Target, ok ? "met" : "MISSED");
    } else {
      std::printf("ratio %-48s %8.3f\n", r.Name.c_str(), ratio);
    }
  }
  return 0;
}
