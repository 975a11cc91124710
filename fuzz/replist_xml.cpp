// Fuzz target for the report list document reader: any input is either
// refused with the table left exactly as it was, or read into a table that
// writes and reads back unchanged. (Streams, and their agreement with
// strings, are the replist_stream target's.)
//
// Most inputs are refused, so the table is kept from one run to the next
// and only made anew after a successful read; a refusal is checked on
// every property a document sets, the storage object included (readers
// build aside and swap, so an unchanged pointer means nothing was swapped).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "vorn/replist/rlxml.h"
#include "fuzz/oracle.h"

namespace {

std::string Snapshot(const vorn::TRLData& Data) {
  std::ostringstream out;
  Data.WriteToXMLStream(out, true, Data.DataID());
  return out.str();
}

std::unique_ptr<vorn::TRLData> Prefilled() {
  auto data = std::make_unique<vorn::TRLData>(nullptr);
  data->SetNrOfColumns(2);
  data->SetNrOfRows(2);
  data->SetElem(1, 1, "before");
  data->SetColumnCheckMode(2, vorn::cmBox);
  data->SetElemChecked(2, 2, true);
  data->SetComment("untouched");
  return data;
}

VORN_FUZZ_ORACLE bool StillPrefilled(const vorn::TRLData& Data, const vorn::TStringArray* Storage) {
  return Data.Strings() == Storage && Data.NrOfColumns() == 2 && Data.NrOfRows() == 2 &&
         Data.Comment() == "untouched" && Data.DataID().empty() &&
         Data.CommonHeader() == vorn::TRLData::DefaultCommonHeader && Data.Header(1) == "C-1" &&
         Data.Header(2) == "C-2" && Data.ColumnFormat(1).empty() && Data.ColumnCheckMode(1) == vorn::cmNone &&
         Data.ColumnCheckMode(2) == vorn::cmBox && Data.Elem(1, 1) == "before" && Data.ElemChecked(2, 2) &&
         !Data.ElemChecked(2, 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Documents of two kilobytes reach every path of the reader (its size
  // limits lie far beyond any input); longer ones only slow the search.
  if (size > 2048) return 0;
  // The first byte picks the data set asked for.
  const std::string_view dataID = size > 0 && (data[0] & 1) ? "sales" : "";
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  static std::unique_ptr<vorn::TRLData> table = Prefilled();
  const vorn::TStringArray* storage = table->Strings();
  if (!table->ReadFromXMLString(text, dataID)) {
    if (!StillPrefilled(*table, storage)) std::abort();
    return 0;
  }
  const std::string after = Snapshot(*table);
  vorn::TRLData again(nullptr);
  if (!again.ReadFromXMLString(after, table->DataID()) || Snapshot(again) != after) std::abort();
  table = Prefilled();
  return 0;
}
