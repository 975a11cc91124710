// Fuzz target for the recognition of report list documents on a stream:
// any input gives an answer; a line that names a data set is recognised
// for the empty identifier too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "vorn/replist/rlxml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first bytes up to a NUL are the identifier asked for.
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string dataID = nul == std::string::npos ? std::string() : input.substr(0, nul);
  const std::string text = nul == std::string::npos ? input : input.substr(nul + 1);

  std::istringstream in(text);
  const bool named = vorn::CheckIfValidReplist(in, dataID);
  std::istringstream again(text);
  const bool any = vorn::CheckIfValidReplist(again, "");
  if (named && !any) std::abort();
  return 0;
}
