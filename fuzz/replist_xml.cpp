// Fuzz target for the report list document reader: any input is either
// refused with the table left exactly as it was, or read into a table that
// writes and reads back unchanged. (Streams, and their agreement with
// strings, are the replist_stream target's.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "vorn/replist/rlxml.h"

namespace {

std::string Snapshot(const vorn::TRLData& Data) {
  std::ostringstream out;
  Data.WriteToXMLStream(out, true, Data.DataID());
  return out.str();
}

void Prefill(vorn::TRLData& Data) {
  Data.SetNrOfColumns(2);
  Data.SetNrOfRows(2);
  Data.SetElem(1, 1, "before");
  Data.SetColumnCheckMode(2, vorn::cmBox);
  Data.SetElemChecked(2, 2, true);
  Data.SetComment("untouched");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Documents of a few kilobytes reach every path of the reader; longer
  // inputs only slow the search down.
  if (size > 4096) return 0;
  // The first byte picks the data set asked for.
  const std::string_view dataID = size > 0 && (data[0] & 1) ? "sales" : "";
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  static const std::string before = [] {
    vorn::TRLData prefilled(nullptr);
    Prefill(prefilled);
    return Snapshot(prefilled);
  }();
  vorn::TRLData table(nullptr);
  Prefill(table);
  const bool ok = table.ReadFromXMLString(text, dataID);
  const std::string after = Snapshot(table);
  if (!ok && after != before) std::abort();

  if (ok) {
    vorn::TRLData again(nullptr);
    if (!again.ReadFromXMLString(after, table.DataID()) || Snapshot(again) != after) std::abort();
  }
  return 0;
}
