// The size index against a plain vector of sizes: random sizes, hidden
// entries, moves and count changes must give the same positions and hits.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "vorn/platform/grids/gridaxis.h"

namespace vorn {
namespace {

struct TPlainAxis {
  std::vector<int> Sizes;
  int Line = 1;
  [[nodiscard]] long long Start(int I) const {
    long long s = 0;
    for (int k = 0; k < I; ++k) s += Sizes[static_cast<std::size_t>(k)] > 0 ? Sizes[static_cast<std::size_t>(k)] + Line : 0;
    return s;
  }
};

void ExpectSame(const TGridAxis& A, const TPlainAxis& P) {
  const int n = static_cast<int>(P.Sizes.size());
  ASSERT_EQ(A.Count(), n);
  for (int i = 0; i <= n; ++i) ASSERT_EQ(A.Start(i), P.Start(i)) << i;
  for (int i = 0; i < n; ++i) ASSERT_EQ(A.Size(i), P.Sizes[static_cast<std::size_t>(i)]) << i;
  for (long long px = 0; px <= P.Start(n) + 2; ++px) {
    int want = n;
    for (int i = 0; i < n; ++i) {
      if (P.Start(i) <= px && px < P.Start(i + 1)) want = i;
    }
    ASSERT_EQ(A.IndexAt(px), want) << px;
  }
  for (int i = 0; i < n; ++i) {
    int next = i;
    while (next < n && P.Sizes[static_cast<std::size_t>(next)] == 0) ++next;
    int prev = i;
    while (prev >= 0 && P.Sizes[static_cast<std::size_t>(prev)] == 0) --prev;
    ASSERT_EQ(A.NextShown(i), next) << i;
    ASSERT_EQ(A.PrevShown(i), prev) << i;
  }
}

TEST(GridAxis, AgreesWithAPlainListUnderRandomChanges) {
  std::mt19937 rng(7);
  for (int round = 0; round < 40; ++round) {
    TGridAxis a;
    TPlainAxis p;
    int n = 1 + static_cast<int>(rng() % 30);
    const int def = static_cast<int>(rng() % 3) == 0 ? 0 : 1 + static_cast<int>(rng() % 6);
    a.SetCount(n);
    a.SetDefaultSize(def);
    a.SetLineWidth(1);
    p.Sizes.assign(static_cast<std::size_t>(n), def);
    for (int step = 0; step < 40; ++step) {
      const int op = static_cast<int>(rng() % 10);
      const int i = static_cast<int>(rng() % static_cast<unsigned>(n));
      if (op < 7) {
        const int v = static_cast<int>(rng() % 3) == 0 ? 0 : static_cast<int>(rng() % 8);
        a.SetSize(i, v);
        p.Sizes[static_cast<std::size_t>(i)] = v;
      } else if (op < 9) {
        const int to = static_cast<int>(rng() % static_cast<unsigned>(n));
        a.Move(i, to);
        const int v = p.Sizes[static_cast<std::size_t>(i)];
        p.Sizes.erase(p.Sizes.begin() + i);
        p.Sizes.insert(p.Sizes.begin() + to, v);
      } else {
        const int m = 1 + static_cast<int>(rng() % 30);
        a.SetCount(m);
        p.Sizes.resize(static_cast<std::size_t>(m), def);
        n = m;
      }
      ExpectSame(a, p);
    }
  }
}

TEST(GridAxis, AppendingInOrderAndLineWidthChangesKeepTheIndex) {
  TGridAxis a;
  TPlainAxis p;
  a.SetCount(50);
  a.SetDefaultSize(10);
  a.SetLineWidth(1);
  p.Sizes.assign(50, 10);
  EXPECT_EQ(a.Start(50), 50 * 11);  // builds the index; the sizes below append past it
  for (int i = 3; i < 50; i += 4) {
    a.SetSize(i, i % 8 == 3 ? 0 : 20);
    p.Sizes[static_cast<std::size_t>(i)] = i % 8 == 3 ? 0 : 20;
  }
  ExpectSame(a, p);
  a.SetLineWidth(2);
  p.Line = 2;
  ExpectSame(a, p);
}

TEST(GridAxis, AMillionEntriesCostOnlyTheirExceptions) {
  TGridAxis a;
  a.SetCount(1'000'000);
  a.SetDefaultSize(18);
  a.SetLineWidth(1);
  for (int i = 0; i < 1'000'000; i += 100) a.SetSize(i, 0);
  EXPECT_LT(a.MemoryBytes(), 1'000'000u);
  EXPECT_EQ(a.Total(), 990'000LL * 19);
  EXPECT_EQ(a.NextShown(500'000), 500'001);
  EXPECT_EQ(a.IndexAt(19), 2);  // entry 0 is hidden
}

}  // namespace
}  // namespace vorn
