// Draws the library's built-in pictures and writes them as PNG files into
// a folder (by default vorn/resources/images), from where the build
// compiles them into the library. Run it after changing a picture here or
// a drawing rule of the canvas:
//   vorn-resgen [folder]
#include <cstdio>
#include <exception>
#include <string>

#include "apps/resgen/pictures.h"

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "vorn/resources/images";
  try {
    for (const vorn::resgen::TGeneratedPicture& p : vorn::resgen::AllPictures()) {
      vorn::TBitmap bmp(p.Width, p.Height);
      p.Draw(bmp);
      const std::string file = folder + "/" + p.Name + ".png";
      bmp.SaveToFile(file);
      std::printf("%s\n", file.c_str());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vorn-resgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
