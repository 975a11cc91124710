// Reading and writing numeric texts: ScanReal against strtod on the same
// typical numbers, the validity tests and the formatters.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "vorn/numio/numformat.h"

namespace {

// Numbers as a user types them into a numeric field: a few digits, a
// fraction, sometimes a sign or an exponent.
const std::vector<std::string>& TypicalNumbers() {
  static const std::vector<std::string> Numbers = [] {
    std::mt19937 Rng(7);
    std::uniform_real_distribution<double> Mantissa(-1000, 1000);
    std::uniform_int_distribution<int> Exponent(-30, 30), Places(0, 6), Kind(0, 3);
    std::vector<std::string> Result;
    for (int I = 0; I < 1024; ++I) {
      const double X = Mantissa(Rng);
      Result.push_back(Kind(Rng) == 0 ? vorn::FormatReal(12, -2, X * std::pow(10.0, Exponent(Rng)))
                                      : vorn::FormatReal(1, Places(Rng), X));
    }
    return Result;
  }();
  return Numbers;
}

void BM_Strtod(benchmark::State& state) {
  const auto& Numbers = TypicalNumbers();
  std::size_t I = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::strtod(Numbers[I++ & 1023].c_str(), nullptr));
  }
}
BENCHMARK(BM_Strtod);

void BM_ScanReal(benchmark::State& state) {
  const auto& Numbers = TypicalNumbers();
  std::size_t I = 0;
  for (auto _ : state) {
    int Pos = 1;
    benchmark::DoNotOptimize(vorn::ScanReal(Numbers[I++ & 1023], true, 3, Pos));
    benchmark::DoNotOptimize(Pos);
  }
}
BENCHMARK(BM_ScanReal);

void BM_CheckRealText(benchmark::State& state) {
  const auto& Numbers = TypicalNumbers();
  std::size_t I = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(vorn::CheckRealText(Numbers[I++ & 1023], true, 3));
  }
}
BENCHMARK(BM_CheckRealText);

// Values of every magnitude a field shows.
const std::vector<double>& TypicalValues() {
  static const std::vector<double> Values = [] {
    std::mt19937 Rng(11);
    std::uniform_real_distribution<double> Mantissa(-1000, 1000);
    std::uniform_int_distribution<int> Exponent(-30, 30);
    std::vector<double> Result;
    for (int I = 0; I < 1024; ++I) Result.push_back(Mantissa(Rng) * std::pow(10.0, Exponent(Rng) / 3));
    return Result;
  }();
  return Values;
}

void BM_FormatRealScientific(benchmark::State& state) {
  const auto& Values = TypicalValues();
  std::size_t I = 0;
  for (auto _ : state) benchmark::DoNotOptimize(vorn::FormatReal(12, -2, Values[I++ & 1023]));
}
BENCHMARK(BM_FormatRealScientific);

void BM_FormatRealFixed(benchmark::State& state) {
  const auto& Values = TypicalValues();
  std::size_t I = 0;
  for (auto _ : state) benchmark::DoNotOptimize(vorn::FormatReal(1, 2, Values[I++ & 1023]));
}
BENCHMARK(BM_FormatRealFixed);

// The C library's formatting of the same values, with the same digits.
void BM_Snprintf(benchmark::State& state, const char* Format) {
  const auto& Values = TypicalValues();
  std::size_t I = 0;
  char Buffer[400];
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::snprintf(Buffer, sizeof Buffer, Format, Values[I++ & 1023]));
    benchmark::DoNotOptimize(std::string(Buffer));
  }
}
BENCHMARK_CAPTURE(BM_Snprintf, Scientific, "%12.5E");
BENCHMARK_CAPTURE(BM_Snprintf, Fixed, "%.2f");

}  // namespace

#include "bench/support/ratio.h"
VORN_RATIO("ScanReal / strtod", "BM_ScanReal", "BM_Strtod", 1.0);
VORN_RATIO("FormatReal scientific / snprintf", "BM_FormatRealScientific", "BM_Snprintf/Scientific", 1.0);
VORN_RATIO("FormatReal fixed / snprintf", "BM_FormatRealFixed", "BM_Snprintf/Fixed", 1.0);
