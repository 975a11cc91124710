// Bitmap files: round trips, all-or-nothing loads, safe saves, built-ins.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/runtime/files.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

fs::path TempDir() {
  fs::path dir = fs::temp_directory_path() / ("vorn-bitmap-test-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir;
}

void Paint(TBitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.Canvas()->SetPixels(x, y, RGB(x * 40, y * 50, (x * y) & 0xFF));
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if ((a.ScanLine(y)[x] & 0xFFFFFF) != (b.ScanLine(y)[x] & 0xFFFFFF)) return false;
  return true;
}

TEST(BitmapTest, BmpAndPngFilesRoundTripExactly) {
  const fs::path dir = TempDir();
  TBitmap pic(5, 3);
  Paint(pic);
  for (const char* name : {"pic.bmp", "pic.png", "PIC.PNG"}) {
    const std::string file = (dir / name).string();
    pic.SaveToFile(file);
    TBitmap back;
    back.LoadFromFile(file);
    EXPECT_TRUE(SamePixels(pic, back)) << name;
  }
  // The format comes from the content, not the name.
  std::ifstream png((dir / "pic.png").string(), std::ios::binary);
  char sig[4] = {};
  png.read(sig, 4);
  EXPECT_EQ(std::string(sig + 1, 3), "PNG");
  fs::copy_file(dir / "pic.png", dir / "renamed.bmp", fs::copy_options::overwrite_existing);
  TBitmap renamed;
  renamed.LoadFromFile((dir / "renamed.bmp").string());
  EXPECT_TRUE(SamePixels(pic, renamed));
  fs::remove_all(dir);
}

TEST(BitmapTest, AFailedLoadLeavesTheBitmapAsItWas) {
  TBitmap pic(4, 4);
  Paint(pic);
  TBitmap copy;
  copy.Assign(&pic);
  std::stringstream junk("BM this is not a bitmap");
  EXPECT_THROW(pic.LoadFromStream(junk), EInvalidGraphic);
  EXPECT_TRUE(SamePixels(pic, copy));
  EXPECT_THROW(pic.LoadFromFile("/nonexistent/file.bmp"), EInvalidGraphic);
  EXPECT_TRUE(SamePixels(pic, copy));
  EXPECT_EQ(pic.Canvas()->Pixels(1, 1), copy.Canvas()->Pixels(1, 1));
}

TEST(BitmapTest, AFailedSaveKeepsTheEarlierFile) {
  const fs::path dir = TempDir();
  const std::string file = (dir / "keep.txt").string();
  SaveFileAtomically(file, [](std::ostream& out) { out << "first"; });
  EXPECT_THROW(SaveFileAtomically(file, [](std::ostream& out) {
                 out << "half of a second version";
                 throw std::runtime_error("disk full");
               }),
               std::runtime_error);
  std::ifstream in(file);
  std::string content;
  std::getline(in, content);
  EXPECT_EQ(content, "first");
  // No temporary file is left behind.
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++files;
  EXPECT_EQ(files, 1);
  EXPECT_THROW(SaveFileAtomically((dir / "no/such/dir/x").string(), [](std::ostream&) {}), EFileError);
  fs::remove_all(dir);
}

TEST(BitmapTest, AbsurdSizesAreRefusedWithoutChange) {
  TBitmap pic(3, 3);
  EXPECT_THROW(pic.SetSize(100000, 100000), EInvalidGraphic);
  EXPECT_THROW(pic.SetSize(-1, 5), EInvalidGraphic);
  EXPECT_EQ(pic.Width(), 3);
  EXPECT_EQ(pic.Height(), 3);
}

TEST(BitmapTest, PaletteIndicesLastUntilTheBitmapIsDrawnOn) {
  TImageData data;
  data.Width = 2;
  data.Height = 1;
  data.Palette = {clRed, clBlue};
  data.Indices = {1, 0};
  data.Pixels = {ColorToPixel(clBlue), ColorToPixel(clRed)};
  data.SourceBits = 8;
  TBitmap pic;
  pic.FromImageData(std::move(data));
  EXPECT_EQ(pic.PaletteIndex(0, 0), 1);
  EXPECT_EQ(pic.PaletteIndex(1, 0), 0);
  EXPECT_EQ(pic.PixelFormat(), pf8bit);
  std::stringstream file;
  pic.SaveToStream(file);
  TBitmap back;
  back.LoadFromStream(file);
  EXPECT_EQ(back.PaletteIndex(0, 0), 1);
  EXPECT_EQ(back.Palette().size(), 2u);
  back.Canvas()->SetPixels(0, 0, clLime);
  EXPECT_FALSE(back.HasPaletteIndices());
}

TEST(BitmapTest, BuiltInPicturesLoadByName) {
  TBitmap logo;
  logo.LoadFromResourceName("VORN_LOGO");
  EXPECT_EQ(logo.Width(), 16);
  EXPECT_EQ(logo.Height(), 16);
  logo.LoadFromResourceName("vorn_logo");  // names ignore case
  EXPECT_THROW(logo.LoadFromResourceName("NO_SUCH_PICTURE"), EInvalidGraphic);
  EXPECT_EQ(logo.Width(), 16);
}

}  // namespace
}  // namespace vorn
