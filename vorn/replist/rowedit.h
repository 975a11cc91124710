// The row editor of the report list view: TReportListView::EditRowEntries
// builds a modal form from the column names and formats, one right-aligned
// label and one input control per column, and writes every control's text
// back into the row on OK.
//
// How a column format reads for the dialog ("[kind][width]rest"):
//
//   ""                    kind "s", width 200, rest ""
//   "[s][150]"            kind "s", width 150
//   "[i][60]rix3"         kind "i", width 60, rest "rix3"
//   "[#l][120]low|mid"    kind "l", read-only, width 120, rest "low|mid"
//   "[c:3]a|b|c|d"        kind "c:3", width 200 (no width bracket), rest "a|b|c|d"
//   "[ddd.MM.yyyy]"       kind "ddd.MM.yyyy": a date picker with format "dd.MM.yyyy"
//
// The controls are created with the names runtime_rlre_Label<N>,
// runtime_rlre_Edit<N> (kind s), runtime_rlre_CBox<N> (c, l),
// runtime_rlre_DtPick<N> (d) and runtime_rlre_NumIO<N> (e, f, h, i), N
// being the table column, and carry N in Tag. Kinds starting with any
// other letter get the label alone.
//
// The call is all or nothing: a cell or default text that holds a date the
// picker's format reads but that does not exist raises EConvertError
// naming the column and the text, before the dialog shows; then, as after
// Cancel, no cell changes. In every case the controls the dialog created
// are freed, and so is a form the view created; an application's own
// controls on a container form are never touched.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// A column format as the row editor reads it.
struct TRowEditFormat {
  std::string Kind = "s";  // the text of the kind bracket without a leading '#'
  bool ReadOnly = false;   // the kind bracket started with '#'
  int Width = 200;         // control width in pixels, 1..MaxWidth
  std::string Rest;        // default value, or the items of a list separated by '|'

  static constexpr int DefaultWidth = 200;
  // Wider requests are cut to this, so that a hostile format cannot ask
  // for a form of gigantic size.
  static constexpr int MaxWidth = 2000;
};

// Reads a format: the kind is the text inside the first [...] ("s" when
// there is none), a leading '#' in it marks the field read-only; the width
// is the integer inside the next [...] (200 when it is missing, not an
// integer or below 1); the rest is what follows. Never fails.
TRowEditFormat ParseRowEditFormat(std::string_view Format);

// The number of lines a list kind asks for ("c:5" gives 5); 0 when the
// kind has no ':' or no positive integer after it.
int RowEditDropDownCount(std::string_view Kind);

// The items of a list: Rest split at '|', a trailing '|' added when
// missing, empty items kept ("a||b" gives "a", "", "b").
std::vector<std::string> RowEditItems(std::string_view Rest);

}  // namespace vorn
