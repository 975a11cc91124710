// Fuzz target for loading text lines into a column: any text gives as many
// rows as it has lines (a last line without a line end counts), the table
// grows to hold them and nothing else changes. A first row beyond the row
// limit of a load is refused with the table as it was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "vorn/replist/rldata.h"
#include "fuzz/oracle.h"

namespace {

// Lines end with LF, CR LF or a lone CR.
VORN_FUZZ_ORACLE int CountLines(std::string_view Text) {
  int lines = 0;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    if (Text[i] == '\n' || Text[i] == '\r') ++lines;
  }
  const char last = Text.empty() ? '\n' : Text.back();
  return lines + (last != '\n' && last != '\r' ? 1 : 0);
}

// The text of a run: the input as it is, or, when the selector's bits 2 to
// 4 are all set, repeated four times, which makes lines longer than the
// longest line a load keeps (four cells) from a short input. Most runs
// load short texts, where every line costs the same as in a long one.
VORN_FUZZ_ORACLE std::string TextOfRun(std::uint8_t Selector, std::string_view Input) {
  const int copies = (Selector & 0x1C) == 0x1C ? 4 : 1;
  std::string text;
  text.reserve(Input.size() * copies);
  for (int i = 0; i < copies; ++i) text += Input;
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A few hundred bytes hold hundreds of lines: enough to make the table
  // grow several times.
  if (size < 2 || size > 320) return 0;
  const int column = data[0] % 4 - 1;  // -1 (outside) .. 2
  const bool farAway = (data[1] & 0x80) != 0;
  const int firstRow = farAway ? vorn::TRLData::LoadLinesRowLimit + 1 + (data[1] & 0x7F) * 16777215 : data[1] % 8 - 1;
  const std::string text = TextOfRun(data[0], std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2));

  vorn::TRLData table(nullptr);
  table.SetNrOfColumns(2);
  table.SetNrOfRows(3);
  table.SetColumnCheckMode(2, vorn::cmBox);
  table.SetElemChecked(2, 1, true);
  std::istringstream in{text};
  const bool stored = column >= 0 && column <= 2 && CountLines(text) > 0;
  if (farAway && stored) {
    try {
      table.LoadLinesFromStream(column, firstRow, in);
      std::abort();
    } catch (const vorn::EVORNRLDataError&) {
      if (table.NrOfRows() != 3 || !table.ElemChecked(2, 1)) std::abort();
      for (int r = 1; r <= 3; ++r)
        if (!table.Elem(column, r).empty()) std::abort();
    }
    return 0;
  }
  const int lines = table.LoadLinesFromStream(column, firstRow, in);
  if (lines != CountLines(text)) std::abort();
  const int expectRows = stored ? std::max(3, std::max(firstRow, 1) + lines - 1) : 3;
  if (table.NrOfRows() != expectRows) std::abort();
  if (!table.ElemChecked(2, 1)) std::abort();  // check columns keep their marks
  return 0;
}
