// Draws the library's built-in pictures and writes them as PNG files into
// a folder (by default vorn/resources/images), from where the build
// compiles them into the library. Run it after changing a picture here:
//   vorn-resgen [folder]
#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "apps/resgen/boxes.h"
#include "apps/resgen/onoff.h"
#include "vorn/platform/graphics/bitmap.h"

using namespace vorn;

void WriteSevenSegPictures(const std::string& Folder);  // sevenseg.cpp

namespace {

struct Picture {
  const char* Name;
  int Width, Height;
  std::function<void(TCanvas&)> Draw;
};

// The library's emblem: a needle over a scale arc, used as window icon.
void DrawLogo(TCanvas& c) {
  c.Brush()->SetColor(RGB(32, 64, 112));
  c.Pen()->SetColor(RGB(16, 32, 64));
  c.RoundRect(0, 0, 16, 16, 6, 6);
  c.Pen()->SetColor(clWhite);
  c.Brush()->SetStyle(bsClear);
  c.Arc(2, 3, 14, 15, 14, 9, 2, 9);
  c.Pen()->SetColor(RGB(255, 160, 0));
  c.MoveTo(8, 9);
  c.LineTo(12, 4);
  c.Pen()->SetColor(clWhite);
  c.SetPixels(8, 9, clWhite);
}

const std::vector<Picture>& Pictures() {
  static const std::vector<Picture> list = {
      {"VORN_LOGO", 16, 16, DrawLogo},
  };
  return list;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "vorn/resources/images";
  try {
    for (const Picture& p : Pictures()) {
      TBitmap bmp(p.Width, p.Height);
      p.Draw(*bmp.Canvas());
      const std::string file = folder + "/" + p.Name + ".png";
      bmp.SaveToFile(file);
      std::printf("%s\n", file.c_str());
    }
    WriteSevenSegPictures(folder);
    for (const auto* list : {&resgen::OnOffPictures(), &resgen::MenuBoxPictures()}) {
      for (const resgen::TGeneratedPicture& p : *list) {
        TBitmap bmp(p.Width, p.Height);
        p.Draw(bmp);
        const std::string file = folder + "/" + p.Name + ".png";
        bmp.SaveToFile(file);
        std::printf("%s\n", file.c_str());
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vorn-resgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
