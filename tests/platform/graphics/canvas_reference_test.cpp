// TCanvas against pictures of the reference drawing interface: every case
// of tools/gdiref/cases.txt is drawn and compared with its picture in the
// golden sheet written by tools/gdiref/run.sh --golden. Cases where we keep
// a rule of our own are listed, with the reason, in known_differences.txt;
// every other case must match to the pixel.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tools/gdiref/case_runner.h"

namespace vorn {
namespace {

// Found from the source tree's image folder, so that the test runs from any
// working directory (__FILE__ may be relative to the build folder).
#ifdef VORN_RESOURCE_IMAGES_DIR
const std::filesystem::path kToolDir = std::filesystem::path(VORN_RESOURCE_IMAGES_DIR) / "../../../tools/gdiref";
#else
// __FILE__ is relative to the build folder, one above the tests' folder.
const std::filesystem::path kToolDir =
    std::filesystem::path(__FILE__).is_absolute()
        ? std::filesystem::path(__FILE__).parent_path() / "../../../tools/gdiref"
        : std::filesystem::path("..") / std::filesystem::path(__FILE__).parent_path() / "../../../tools/gdiref";
#endif

std::set<int> KnownDifferences() {
  std::set<int> ids;
  std::ifstream in(kToolDir / "golden/known_differences.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    ids.insert(std::stoi(line));
  }
  return ids;
}

TEST(CanvasReferenceTest, CasesMatchTheReferencePictures) {
  std::ifstream in(kToolDir / "cases.txt");
  ASSERT_TRUE(in) << "missing " << (kToolDir / "cases.txt");
  const auto cases = gdiref::ParseCases(in);
  ASSERT_GT(cases.size(), 300u);
  TBitmap sheet;
  sheet.LoadFromFile((kToolDir / "golden/reference.png").string());
  constexpr int kColumns = 16;
  ASSERT_EQ(sheet.Width(), kColumns * gdiref::kCaseWidth);
  const std::set<int> known = KnownDifferences();
  std::map<std::string, std::pair<int, int>> families;  // exact, all
  int exact = 0;
  TBitmap ours;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const gdiref::TCase& c = cases[i];
    ASSERT_EQ(c.Id, static_cast<int>(i));
    gdiref::DrawCase(c, ours);
    const int ox = (c.Id % kColumns) * gdiref::kCaseWidth, oy = (c.Id / kColumns) * gdiref::kCaseHeight;
    int differing = 0;
    for (int y = 0; y < gdiref::kCaseHeight; ++y) {
      for (int x = 0; x < gdiref::kCaseWidth; ++x) {
        if ((ours.ScanLine(y)[x] & 0xFFFFFFu) != (sheet.ScanLine(oy + y)[ox + x] & 0xFFFFFFu)) ++differing;
      }
    }
    auto& f = families[c.Family];
    ++f.second;
    if (differing == 0) {
      ++f.first;
      ++exact;
      EXPECT_FALSE(known.contains(c.Id)) << "case " << c.Id << " matches now: take it off the known differences";
    } else {
      EXPECT_TRUE(known.contains(c.Id)) << "case " << c.Id << " (" << c.Family << ") differs in " << differing
                                        << " pixels:" << c.Ops;
    }
  }
  std::ostringstream summary;
  for (const auto& [name, counts] : families) summary << name << ' ' << counts.first << '/' << counts.second << "  ";
  RecordProperty("families", summary.str());
  RecordProperty("exact", exact);
}

}  // namespace
}  // namespace vorn
