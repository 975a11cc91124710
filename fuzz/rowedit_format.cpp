// Fuzz target for the row editor's reading of a column format: any bytes
// give a kind without ']', a width in 1..MaxWidth and a rest that ends
// the format; the rest's list items join back to it, and the default a
// kind proposes for any row stays within a cell's length for generated
// texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "vorn/replist/rldata.h"
#include "vorn/replist/rowedit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 512) return 0;
  const int row = static_cast<int>(static_cast<std::int8_t>(data[0])) * 1000003;
  const std::string_view format(reinterpret_cast<const char*>(data) + 1, size - 1);
  const vorn::TRowEditFormat parsed = vorn::ParseRowEditFormat(format);
  if (parsed.Width < 1 || parsed.Width > vorn::TRowEditFormat::MaxWidth) std::abort();
  if (parsed.Kind.find(']') != std::string::npos) std::abort();
  if (parsed.Rest.size() > format.size() || format.substr(format.size() - parsed.Rest.size()) != parsed.Rest) std::abort();
  if (parsed.ReadOnly && format.find('#') == std::string_view::npos) std::abort();
  if (vorn::RowEditDropDownCount(parsed.Kind) < 0) std::abort();

  std::string joined;
  for (const std::string& item : vorn::RowEditItems(parsed.Rest)) joined += item + "|";
  std::string rest = parsed.Rest;
  if (rest.empty() || rest.back() != '|') rest += '|';
  if (joined != rest) std::abort();

  const char kind = parsed.Kind.empty() ? '\0' : parsed.Kind[0];
  const std::string proposed = vorn::ColumnKindDefault(kind, parsed.Rest, row);
  if (proposed.size() > parsed.Rest.size() && proposed.size() > vorn::RLCellLength) std::abort();
  return 0;
}
