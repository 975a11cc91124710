// Draws the comparison cases with TCanvas and writes the pictures as raw
// 0x00RRGGBB words, case after case, like the reference program does.
#include <cstdio>
#include <fstream>

#include "tools/gdiref/case_runner.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ours cases.txt out.raw\n");
    return 2;
  }
  std::ifstream in(argv[1]);
  std::ofstream out(argv[2], std::ios::binary);
  if (!in || !out) {
    std::fprintf(stderr, "cannot open files\n");
    return 2;
  }
  const auto cases = vorn::gdiref::ParseCases(in);
  vorn::TBitmap bmp;
  for (const auto& c : cases) {
    vorn::gdiref::DrawCase(c, bmp);
    for (int y = 0; y < bmp.Height(); ++y) {
      const vorn::TPixel* row = bmp.ScanLine(y);
      for (int x = 0; x < bmp.Width(); ++x) {
        const std::uint32_t v = row[x] & 0xFFFFFFu;
        out.write(reinterpret_cast<const char*>(&v), 4);
      }
    }
  }
  std::fprintf(stderr, "ours: %zu cases\n", cases.size());
  return 0;
}
