#include "vorn/platform/runtime/classes.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>

namespace vorn {

std::string TObject::ClassName() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  std::string name = status == 0 && demangled ? demangled.get() : mangled;
  const auto colon = name.rfind("::");
  return colon == std::string::npos ? name : name.substr(colon + 2);
}

void TPersistent::Assign(const TPersistent* Source) {
  if (Source != nullptr) {
    Source->AssignTo(this);
    return;
  }
  throw EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* Dest) const {
  const std::string source = ClassName();
  throw EConvertError("Cannot assign a " + source + " to a " +
                      (Dest ? Dest->ClassName() : std::string("nil")));
}

}  // namespace vorn
