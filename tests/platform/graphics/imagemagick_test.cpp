// Pictures written by ImageMagick's convert in every BMP and PNG variant it
// offers, read by us and compared pixel by pixel with convert's own decoding
// of the same file (`convert FILE -depth 8 rgba:-`). Skipped when convert is
// not installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "vorn/platform/graphics/imagefile.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

// Runs a shell command and returns what it wrote; empty when it failed.
TBytes CommandOutput(const std::string& command) {
  TBytes out;
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.insert(out.end(), buffer, buffer + got);
  if (pclose(pipe) != 0) out.clear();
  return out;
}

bool ConvertAvailable() {
  const TBytes version = CommandOutput("convert -version");
  return std::string(version.begin(), version.end()).find("ImageMagick") != std::string::npos;
}

TBytes FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One file convert writes: FORMAT:name from a source picture with options,
// and how closely our reading must agree with convert's. Channels narrower
// than 8 bits (16-bit BMPs) are compared at their stored precision, since
// convert widens 4- and 1-bit channels by shifting instead of scaling.
struct TVariant {
  std::string Output;  // "BMP3:pal1.bmp"
  std::string Source;
  std::string Args;
  int Tolerance = 0;   // in 8-bit steps, for 16-bit sources
  int StoredBits = 8;  // bits per channel kept in the file

  [[nodiscard]] std::string File() const { return Output.substr(Output.find(':') + 1); }
};

class ConvertPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ConvertAvailable()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    FDir = fs::temp_directory_path() / ("vorn-convert-" + std::to_string(::getpid()));
    fs::create_directories(FDir);
    // Odd sizes, so that rows need padding; more than 256 colours, so that
    // the palette variants really quantize; alpha running 0..255 across.
    Run("-size 37x23 gradient:red-blue '(' -size 23x37 gradient:yellow-black -rotate 90 ')' "
        "-compose Multiply -composite -fill '#20E040' -draw 'rectangle 3,2 8,5' -alpha off -depth 8 src.png");
    Run("src.png -alpha set -channel A -fx 'i/(w-1)' +channel -depth 8 alpha.png");
    Run("-size 29x17 -depth 16 'gradient:#0123FF-#FEDC01' '(' +clone -flop ')' -compose Difference "
        "-composite deep.png");
    Run("deep.png -alpha set -channel A -fx 'j/(h-1)' +channel deepalpha.png");
  }
  void TearDown() override {
    std::error_code ignored;
    if (!FDir.empty()) fs::remove_all(FDir, ignored);
  }

  // convert ARGS inside the work folder.
  void Run(const std::string& args) {
    const std::string command = "cd '" + FDir.string() + "' && convert " + args;
    ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
  }

  // Writes every variant (one convert run per source picture), reads each
  // with our reader and compares with convert's decoding of all of them.
  void CompareAll(const std::vector<TVariant>& variants) {
    std::vector<std::string> sources;
    for (const TVariant& v : variants) {
      if (std::find(sources.begin(), sources.end(), v.Source) == sources.end()) sources.push_back(v.Source);
    }
    for (const std::string& source : sources) {
      std::string args = "-respect-parentheses " + source;
      for (const TVariant& v : variants) {
        if (v.Source == source) args += " '(' +clone +dither " + v.Args + " -write " + v.Output + " +delete ')'";
      }
      Run(args + " null:");
    }
    std::string files;
    for (const TVariant& v : variants) files += " '" + v.File() + "'";
    const TBytes theirs = CommandOutput("cd '" + FDir.string() + "' && convert" + files + " -depth 8 rgba:-");
    std::size_t at = 0;
    for (const TVariant& v : variants) {
      SCOPED_TRACE(v.Output + " from " + v.Source + " with '" + v.Args + "'");
      const TBytes file = FileBytes(FDir / v.File());
      TImageData ours;
      try {
        ours = ReadImage(file.data(), file.size());
      } catch (const EInvalidGraphic& e) {
        ADD_FAILURE() << "refused: " << e.what();
        return;
      }
      const std::size_t bytes = ours.Pixels.size() * 4;
      ASSERT_LE(at + bytes, theirs.size()) << "convert decoded fewer pixels";
      ExpectSamePixels(ours, theirs.data() + at, v);
      at += bytes;
    }
    EXPECT_EQ(at, theirs.size()) << "convert decoded more pixels";
  }

  static void ExpectSamePixels(const TImageData& ours, const std::uint8_t* theirs, const TVariant& v) {
    const int drop = 8 - v.StoredBits;
    int worst = 0;
    std::size_t worstAt = 0;
    for (std::size_t i = 0; i < ours.Pixels.size(); ++i) {
      const TPixel p = ours.Pixels[i];
      const int mine[4] = {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                           static_cast<int>(p & 0xFF), ours.Alpha.empty() ? 255 : ours.Alpha[i]};
      for (std::size_t c = 0; c < 4; ++c) {
        const int difference = std::abs((mine[c] >> drop) - (theirs[i * 4 + c] >> drop));
        if (difference > worst) {
          worst = difference;
          worstAt = i * 4 + c;
        }
      }
    }
    const auto width = static_cast<std::size_t>(ours.Width);
    EXPECT_LE(worst, v.Tolerance) << "worst at pixel (" << worstAt / 4 % width << ", " << worstAt / 4 / width
                                  << ") channel " << "RGBA"[worstAt % 4] << ": convert's "
                                  << int{theirs[worstAt]};
  }

  fs::path FDir;
};

TEST_F(ConvertPictures, EveryBmpVariantMatches) {
  std::vector<TVariant> variants;
  for (const std::string format : {"BMP2", "BMP3", "BMP"}) {
    const auto add = [&](const std::string& name, const std::string& source, const std::string& args) {
      variants.push_back({format + ":" + name + "-" + format + ".bmp", source, args});
    };
    add("pal1", "src.png", "-colors 2");
    add("pal4", "src.png", "-colors 16");
    add("pal8", "src.png", "-colors 256");
    add("grey", "src.png", "-colorspace Gray -type Grayscale");
    add("rle4", "src.png", "-colors 16 -compress RLE");
    add("rle8", "src.png", "-colors 256 -compress RLE");
    add("rle8odd", "src.png", "-crop 33x21+0+0 +repage -colors 200 -compress RLE");
    add("true", "src.png", "-type TrueColor");
    add("truealpha", "alpha.png", "");
  }
  variants.push_back({"BMP:true32.bmp", "src.png", "-type TrueColorAlpha"});
  variants.push_back({"BMP:alpha32.bmp", "alpha.png", "-type TrueColorAlpha"});
  variants.push_back({"BMP:clear32.bmp", "src.png", "-alpha set -channel A -evaluate set 0 +channel"});
  variants.push_back({"BMP:bmp4.bmp", "alpha.png", "-define bmp:format=bmp4"});
  variants.push_back({"BMP:bmp3.bmp", "alpha.png", "-define bmp:format=bmp3"});
  variants.push_back({"BMP:bmp2.bmp", "src.png", "-define bmp:format=bmp2"});
  variants.push_back({"BMP:rgb565.bmp", "src.png", "-define bmp:subtype=RGB565", 0, 5});
  variants.push_back({"BMP:rgb555.bmp", "src.png", "-define bmp:subtype=RGB555", 0, 5});
  variants.push_back({"BMP:argb4444.bmp", "alpha.png", "-define bmp:subtype=ARGB4444", 0, 4});
  variants.push_back({"BMP:argb1555.bmp", "alpha.png", "-define bmp:subtype=ARGB1555", 0, 1});
  variants.push_back({"BMP:deep.bmp", "deep.png", "", 1});
  CompareAll(variants);
}

TEST_F(ConvertPictures, EveryPngVariantMatches) {
  CompareAll({{"PNG24:rgb.png", "src.png", ""},
              {"PNG32:rgba.png", "alpha.png", ""},
              {"PNG8:pal.png", "src.png", ""},
              {"PNG8:pala.png", "alpha.png", ""},
              {"PNG:pal4.png", "src.png", "-colors 16"},
              {"PNG:pal1.png", "src.png", "-colors 2"},
              {"PNG:grey.png", "src.png", "-colorspace Gray -depth 8"},
              {"PNG:grey4.png", "src.png", "-colorspace Gray -depth 4"},
              {"PNG:grey1.png", "src.png", "-colorspace Gray -threshold 50% -depth 1"},
              {"PNG:greya.png", "alpha.png", "-colorspace Gray -depth 8"},
              {"PNG:ilace.png", "alpha.png", "-interlace PNG"},
              {"PNG8:ilacepal.png", "src.png", "-interlace PNG"},
              {"PNG:key.png", "src.png", "-transparent '#20E040'"},
              {"PNG48:rgb16.png", "deep.png", "", 1},
              {"PNG64:rgba16.png", "deepalpha.png", "", 1},
              {"PNG:grey16.png", "deep.png", "-colorspace Gray -depth 16", 1},
              {"PNG:greya16.png", "deepalpha.png", "-colorspace Gray -depth 16", 1},
              {"PNG48:ilace16.png", "deep.png", "-interlace PNG", 1}});
}

}  // namespace
}  // namespace vorn
