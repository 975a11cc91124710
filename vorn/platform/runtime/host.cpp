#include "vorn/platform/runtime/host.h"

#include <memory>

#include "vorn/platform/hosts/headless.h"

namespace vorn {

namespace {

THost*& Installed() {
  static THost* host = nullptr;
  return host;
}

THost& BuiltIn() {
  static THeadlessHost host;
  return host;
}

}  // namespace

THost& CurrentHost() {
  THost* host = Installed();
  return host != nullptr ? *host : BuiltIn();
}

void SetHost(THost* Host) { Installed() = Host; }

}  // namespace vorn
