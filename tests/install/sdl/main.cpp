// Starts and stops the window host through the installed package; run with
// SDL's dummy video driver, so no display is needed.
#include <cstdio>

#include "vorn/platform/hosts/sdl/sdlhost.h"

int main() {
  vorn::TSDLHost host;
  std::printf("sdl consumer ok, screen %d x %d\n", host.ScreenWidth(), host.ScreenHeight());
  return 0;
}
