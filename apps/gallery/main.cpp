// The gallery program. With --png DIR (or without a display) it writes one
// picture per page and prints the file names; otherwise it opens a window.
//   vorn-gallery [--png DIR]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "apps/gallery/gallery.h"
#include "vorn/platform/hosts/headless.h"
#ifdef VORN_GALLERY_SDL
#include "vorn/platform/hosts/sdl/sdlhost.h"
#endif

using namespace vorn;

namespace {

int WritePictures(const std::string& dir) {
  std::filesystem::create_directories(dir);
  gallery::TGalleryForm form(nullptr);
  form.Show();
  auto& host = HeadlessHost();
  for (std::size_t i = 0; i < form.PageCount(); ++i) {
    form.ShowPage(i);
    host.ProcessMessages();
    char name[32];
    std::snprintf(name, sizeof name, "%02zu-", i + 1);
    const std::string file = dir + "/" + name + form.Page(i).Id + ".png";
    host.Snapshot(form)->SaveToFile(file);
    std::printf("%s\n", file.c_str());
  }
  return 0;
}

#ifdef VORN_GALLERY_SDL
int RunWindow() {
  TSDLHost host;
  SetHost(&host);
  int result = 0;
  {
    gallery::TGalleryForm form(nullptr);
    form.SetOnClose([](TObject*, TCloseAction&) { Application()->Terminate(); });
    form.Show();
    Application()->Run();
  }
  SetHost(nullptr);
  return result;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  std::string pngDir;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) {
      pngDir = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--png DIR]\n", argv[0]);
      return 2;
    }
  }
  try {
#ifdef VORN_GALLERY_SDL
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool hasDisplay = (display != nullptr && *display) || (wayland != nullptr && *wayland);
    if (pngDir.empty() && hasDisplay) return RunWindow();
#endif
    return WritePictures(pngDir.empty() ? "gallery-out" : pngDir);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vorn-gallery: %s\n", e.what());
    return 1;
  }
}
