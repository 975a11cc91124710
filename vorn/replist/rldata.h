// TRLData: the table model behind the report list view.
//
// A grid of short strings with named columns, a format string and a check
// mode per column, sorting through the string table's row permutation,
// whole-column check-mark operations, a plain-text clipboard export and
// the report list document (XML) and HTML formats of rlxml.h.
//
// Cells live in Strings(): columns 1..NrOfColumns are the visible ones,
// column 0 is a hidden column without name, format or check mode that an
// application may use for one value per row; rows are 1..NrOfRows.
// Accessors treat anything outside those ranges as empty (reads) or ignore
// it (writes).
//
// Check columns (cmBox, cmRadio). A non-empty stored string starts with a
// check character, 'X' for checked and a blank for unchecked; the cell's
// value is the rest. Any first character other than a blank reads as
// checked. An empty stored string is an unchecked, empty cell. The check
// character is the first UTF-8 character of the stored string.
//
// Column formats: "[kind][width]rest". The kind bracket holds an optional
// '#' (read-only in the row editor) and a kind letter: s text, c text with
// proposals, l fixed list, d date/time, e/f/h/i numbers (free notation,
// floating point, hexadecimal, decimal). The width bracket gives the row
// editor's control width in pixels (200 when missing or not positive).
// rest is the default value or, for c and l, the items separated by '|'.
// See DefaultValue for the defaults a format gives ("rix", "$pwd$").
//
// Texts are UTF-8; names are cut to 50 bytes, formats to 80 and cells to
// 255, always at a character boundary.
//
// Notifications. The storage's change, progress and before-exchange
// notifications go where the current routing sends them. By default
// progress goes to this model's OnPercentDone and the before-exchange
// notification to OnBeforeSortExchange, both with the model as Sender, and
// changes go nowhere. A view that owns the model installs its own routing
// with RouteStorageNotifications; it stays in force when the storage is
// replaced (Assign, document reads). Operations over many cells switch the
// change notification off and raise it once at the end, after every piece
// of the model's state (sizes, check modes, sort state) is in place; so do
// the size setters, Clear, CopyRow, RemoveRow and checking a cell of a
// radio column.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/foundation/basics.h"
#include "vorn/foundation/stringarray.h"
#include "vorn/platform/runtime/components.h"

namespace vorn {

using TNameStrType = std::string;   // a column name, at most 50 bytes
using TColFmtString = std::string;  // a column format, at most 80 bytes

constexpr std::size_t RLNameLength = 50;
constexpr std::size_t RLFormatLength = 80;
constexpr std::size_t RLCellLength = TStringArray::MaxCellLength;

enum TCheckMode : std::uint8_t { cmNone, cmBox, cmRadio };

// Raised by the report list model: memory failures, failed file operations.
class EVORNRLDataError : public EVORNError {
 public:
  using EVORNError::EVORNError;
};

// Raised once per exported cell before its text goes into an HTML table;
// the handler may change Text.
using TBeforeHTMLExportEvent =
    std::function<void(TObject* Sender, std::string& Text, int Col, int Row)>;

// Where the storage's notifications go (see the file comment).
struct TStorageRouting {
  TNotifyEvent OnChange;
  TOnPercentDoneEvent OnPercentDone;
  TBeforeSortExchgEvent OnBeforeSortExchange;
};

// A complete table, built off to the side and then swapped into a model in
// one step (TRLData::ReplaceContents). The per-column vectors have
// NrOfColumns entries; Strings is sized NrOfColumns x max(NrOfRows, 1).
struct TRLContents {
  int NrOfColumns = 1;
  int NrOfRows = 0;
  std::vector<TNameStrType> ColName;
  std::vector<TColFmtString> ColumnFormat;
  std::vector<TCheckMode> ColButMode;
  std::string Comment;
  std::string CommonHeader;
  std::string DataID;
  std::unique_ptr<TStringArray> Strings;
};

// The default value a column of kind letter Kind ('c', 'l', 'd', 'e', 'f',
// 'h', 'i', 's') with the given rest of its format proposes for row Row,
// as TRLData::DefaultValue describes; "" for any other letter.
std::string ColumnKindDefault(char Kind, std::string_view Rest, int Row);

class TRLData : public TComponent {
 public:
  static constexpr const char* DefaultCommonHeader = "Vorn Report Listview";

  explicit TRLData(TComponent* AOwner);
  ~TRLData() override;

  // ---- size ------------------------------------------------------------------
  [[nodiscard]] int NrOfColumns() const { return FNrOfCols; }
  // Values below 1 become 1. New columns are named C-<n>, with an empty
  // format and cmNone. Raises EVORNRLDataError (size unchanged) when the
  // table cannot be resized.
  void SetNrOfColumns(int Value);
  [[nodiscard]] int NrOfRows() const { return FNrOfRows; }
  // Negative values become 0. Raises EVORNRLDataError (size unchanged) when
  // the table cannot be resized.
  void SetNrOfRows(int Value);

  // ---- texts -------------------------------------------------------------------
  [[nodiscard]] const std::string& CommonHeader() const { return FCommonHeader; }
  void SetCommonHeader(const std::string& Value);
  [[nodiscard]] const std::string& Comment() const { return FComment; }
  void SetComment(const std::string& Value) { FComment = Value; }
  [[nodiscard]] const std::string& DataID() const { return FDataID; }
  void SetDataID(const std::string& Value) { FDataID = Value; }

  // ---- cells ---------------------------------------------------------------------
  [[nodiscard]] std::string Elem(int ACol, int ARow) const;
  void SetElem(int ACol, int ARow, std::string_view Value);
  [[nodiscard]] bool ElemChecked(int ACol, int ARow) const;
  // Check columns only; in a cmRadio column checking a cell unchecks the
  // others.
  void SetElemChecked(int ACol, int ARow, bool Value);
  // The storage's number for the stored string: NaN for a cell that holds
  // no number, 0 outside the table.
  [[nodiscard]] double AsNumber(int ACol, int ARow) const;
  // The default value that the column format of ACol gives for row ARow:
  // c and l give the first item; d gives rest; e, f, h and i give the row
  // number when rest contains "rix" (any case) and rest otherwise; s gives
  // a generated password when rest contains "$pwd$" (any case) and rest
  // otherwise; any other kind character, '#' included, gives "". With
  // "rixN" (N read from rest's 4th character on) e and f give the row
  // number with N decimals, h exactly N upper-case hexadecimal digits (N at
  // most 8, 0 taken as 1) and i exactly N decimal digits (0 taken as 1,
  // with a minus sign in front of a negative number); higher digits are
  // dropped. "$pwdN" reads N from rest's 6th character on. Generated texts
  // are at most 255 bytes long.
  [[nodiscard]] std::string DefaultValue(int ACol, int ARow) const;

  // ---- columns ---------------------------------------------------------------------
  [[nodiscard]] TColFmtString ColumnFormat(int ColNr) const;
  void SetColumnFormat(int ColNr, std::string_view Value);
  [[nodiscard]] TCheckMode ColumnCheckMode(int ColNr) const;
  // Converts the stored strings of the column: from cmNone a non-empty cell
  // gets a leading blank (unchecked), to cmNone it loses its check
  // character, from cmBox to cmRadio every cell becomes unchecked.
  void SetColumnCheckMode(int ColNr, TCheckMode Value);
  [[nodiscard]] TNameStrType Header(int ColNr) const;
  void SetHeader(int ColNr, std::string_view Value);
  [[nodiscard]] bool IsCheckedColumn(int ColNr) const { return ColumnCheckMode(ColNr) == cmBox; }
  void SetIsCheckedColumn(int ColNr, bool Value) { SetColumnCheckMode(ColNr, Value ? cmBox : cmNone); }

  // ---- sorting -----------------------------------------------------------------------
  [[nodiscard]] int LastSortColumn() const { return FSortColumn; }
  [[nodiscard]] bool LastSortOrder() const { return FSortOrder; }
  // The secondary column of the last sort (-1: none). Writes outside
  // -1..NrOfColumns are ignored.
  [[nodiscard]] int SecondarySortColumn() const { return FSortColumnSec; }
  void SetSecondarySortColumn(int Value);
  // The sort direction a header click uses next; true after creation.
  [[nodiscard]] bool SortToggle() const { return FSortToggle; }
  void SetSortToggle(bool Value) { FSortToggle = Value; }
  // Sorts the rows by Col and, among equal cells, by ColSec (stored
  // strings, check characters included).
  void Sort(int Col, int ColSec, bool Ascending);
  // Shows the rows in their unsorted order again.
  void UnSort();
  // Forgets the last sort columns without touching the row order (for a
  // view whose rows no longer follow the sort).
  void MarkUnsorted();

  // ---- whole-table operations ----------------------------------------------------------
  // Copies another TRLData whole (cells of columns 0..NrOfColumns, row and
  // column attribute bytes, row order, sizes, sort state, texts, names,
  // formats, check modes, OnBeforeSortExchange); OnBeforeHTMLExport and
  // OnPercentDone stay. Other sources go to the inherited Assign.
  void Assign(const TPersistent* Source) override;
  // Empties every cell, names the columns C-<n>, clears formats and check
  // modes; the size stays.
  void Clear();
  // Writes S into every cell of columns 1..NrOfColumns; check columns keep
  // the cell's mark (an empty cell becomes unchecked).
  void Fill(std::string_view S);
  // The highest-numbered column whose name equals Head (PartialMatch false)
  // or contains it (true; an empty Head matches nothing), without regard to
  // case; -1 when none does.
  [[nodiscard]] int ColumnIndex(std::string_view Head, bool PartialMatch) const;
  // Copies the stored strings of columns 0..NrOfColumns and the row
  // attribute byte; both rows must lie in 1..NrOfRows.
  void CopyRow(int Source, int Target);
  // Removes a row after making the shown order the physical one. The last
  // row is emptied instead (cells and attribute byte) and NrOfRows becomes 0.
  void RemoveRow(int R);
  // Removes every row whose Elem is empty in all columns 0..NrOfColumns (a
  // check cell holding only its check character counts as empty).
  void RemoveEmptyRows();

  // ---- check marks -------------------------------------------------------------------
  // Both act on cmBox columns only.
  void SetAllCheckmarksOfCol(int Column, bool Checked);
  void InvertAllCheckmarksOfCol(int Column);
  [[nodiscard]] int CountCheckedElemsInCol(int Column) const;
  [[nodiscard]] int CountCheckedElemsInRow(int Row) const;
  // First checked row of a check column, 0 when none.
  [[nodiscard]] int FirstCheckedElemInCol(int ColNr) const;
  // First checked column of a row, 0 when none.
  [[nodiscard]] int FirstCheckedElemInRow(int RowNr) const;

  // ---- clipboard ------------------------------------------------------------------------
  // The Elem values of a cell block as text, one line per row ended by a
  // line feed; with AddHeader the column names and an empty line first.
  // UseTabs separates values by tabs; otherwise every value is padded with
  // blanks to one more than the widest stored string (or name) of its
  // column. The block is clipped to columns 0..NrOfColumns and rows
  // 1..NrOfRows.
  void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader, bool UseTabs);
  void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                       std::string_view Separator);
  // The texts the two CopyToClipBoard forms put on the clipboard.
  [[nodiscard]] std::string ClipboardText(int LeftCol, int TopRow, int RightCol, int BottomRow,
                                          bool AddHeader, std::string_view Separator) const;
  [[nodiscard]] std::string PaddedText(int LeftCol, int TopRow, int RightCol, int BottomRow,
                                       bool AddHeader) const;

  // ---- documents and exports (formats in rlxml.h) --------------------------------------------
  // Each reader replaces the whole table by one report list document and
  // returns true, or returns false and leaves the table as it was: for a
  // malformed document, one whose sizes do not match its contents, or one
  // for another data set (a non-empty DataID that differs from the
  // document's identifier, its parsed id attribute, without regard to case
  // or to blanks around either). A stream is read from its position up to
  // the end element of one document; what follows is not looked at. A
  // stream whose document is not well-formed is left failed.
  bool ReadFromXMLString(std::string_view InString, std::string_view DataID);
  bool ReadFromXMLStream(std::istream& InStream, std::string_view DataID);
  bool ReadFromOpenXMLFile(std::istream& InFile, std::string_view DataID);
  // False also when the file cannot be opened or read (a folder, say).
  bool LoadFromXMLFile(const std::string& FileName, std::string_view DataID);
  // Write the table as a report list document for DataID (none when
  // empty), with the XML declaration in front when CreateHeader is set.
  // Raise EVORNRLDataError when the stream fails.
  void WriteToXMLStream(std::ostream& OutStream, bool CreateHeader, std::string_view DataID) const;
  void WriteToOpenXMLFile(std::ostream& OutFile, bool CreateHeader, std::string_view DataID) const;
  // Writes through a temporary file (see SaveFileAtomically: the file
  // keeps its mode, a symbolic link saves to its target), so that a failure
  // leaves an earlier file untouched; raises EVORNRLDataError naming the
  // file, also for a read-only file.
  void SaveAsXMLFile(const std::string& FileName, std::string_view DataID) const;
  // A complete HTML document with the cells of columns LoC..HiC and rows
  // LoR..HiR as a table. A non-empty ColumnSelection lists the columns to
  // export, in that order (columns outside LoC..HiC are left out). Raises
  // EVORNRLDataError naming the file when it cannot be written.
  void ExportHTMLTable(const std::string& FileName, int LoC, int LoR, int HiC, int HiR,
                       const std::vector<int>& ColumnSelection, int Border, int CellSpacing,
                       int CellPadding, bool IncludeHeader, const std::string& HeadClass,
                       const std::string& CellClass, const std::string& TableClass) const;
  // Puts the lines of a text file into column Column (0..NrOfColumns), one
  // per row from FirstRow (at least 1) on, adding rows when needed; check
  // columns keep their check characters. Returns the number of lines.
  // Raises EVORNRLDataError naming the file when it cannot be read, holds
  // too many lines or does not fit in memory, or when a line would go to a
  // row beyond max(NrOfRows, LoadLinesRowLimit); the table is then as before.
  int LoadLinesFromFile(int Column, int FirstRow, const std::string& FileName);
  // The same for the lines of a stream, read up to its end.
  int LoadLinesFromStream(int Column, int FirstRow, std::istream& In);
  // The most rows a load of lines grows a table to (16,777,216).
  static constexpr int LoadLinesRowLimit = 1 << 24;

  // ---- events ----------------------------------------------------------------------------
  [[nodiscard]] const TBeforeSortExchgEvent& OnBeforeSortExchange() const { return FOnBefSortExc; }
  void SetOnBeforeSortExchange(TBeforeSortExchgEvent Handler) { FOnBefSortExc = std::move(Handler); }
  [[nodiscard]] const TBeforeHTMLExportEvent& OnBeforeHTMLExport() const { return FOnBefHTMLExport; }
  void SetOnBeforeHTMLExport(TBeforeHTMLExportEvent Handler) { FOnBefHTMLExport = std::move(Handler); }
  [[nodiscard]] const TOnPercentDoneEvent& OnPercentDone() const { return FOnPercentDone; }
  void SetOnPercentDone(TOnPercentDoneEvent Handler) { FOnPercentDone = std::move(Handler); }

  // ---- storage, routing, progress ---------------------------------------------------------
  // The cell storage; replaced by Assign and by document reads.
  [[nodiscard]] TStringArray* Strings() const { return FStrings.get(); }
  // Sends the storage's notifications to Routing from now on (also for
  // later storages); ResetStorageRouting returns to the model's own.
  void RouteStorageNotifications(TStorageRouting Routing);
  void ResetStorageRouting();
  // Replaces the whole table by Contents (which must be complete, see
  // TRLContents) in one step: when it raises, nothing has changed. The
  // table counts as unsorted afterwards; the change notification fires.
  void ReplaceContents(TRLContents&& Contents);

  // Cells a whole-table operation walks through (at least 1) and the cells
  // between two progress notifications.
  [[nodiscard]] int FeedbkNumCells() const { return FFeedbkNumCells; }
  [[nodiscard]] int FeedbkStep() const { return FFeedbkStep; }
  void SetFeedbkNumCells(std::int64_t Cells);
  // Reports progress of a whole-table operation to OnPercentDone.
  void NotifyPercentDone(int Percent) const;

 private:
  class TQuietStorage;

  [[nodiscard]] bool ColInside(int ColNr) const { return ColNr >= 1 && ColNr <= FNrOfCols; }
  [[nodiscard]] bool CellInside(int ACol, int ARow) const {
    return ACol >= 0 && ACol <= FNrOfCols && ARow >= 1 && ARow <= FNrOfRows;
  }
  [[nodiscard]] bool IsCheckColumn(int ACol) const { return ACol >= 1 && ColumnCheckMode(ACol) != cmNone; }
  [[nodiscard]] std::string_view Stored(int ACol, int ARow) const { return FStrings->StringView(ACol, ARow); }
  [[nodiscard]] std::size_t Index(int ColNr) const { return static_cast<std::size_t>(ColNr - 1); }
  [[nodiscard]] std::string ComponentMessage(const std::string& Reason) const;

  void InstallRouting(TStringArray& Storage);
  // ReplaceContents without the change notification.
  void SwapInContents(TRLContents&& Contents);
  // Raises the change notification of the current routing.
  void NotifyChange();
  TStorageRouting OwnRouting();
  void SetMark(int ACol, int ARow, bool Checked);
  void SetAllMarks(int ACol, bool Checked);
  void StripCheckCharacters(int ACol);
  void AddUncheckedMarks(int ACol);
  void EmptyPhysicalRow(int ARow);
  void CompactRows(const std::vector<bool>& Keep);
  void UpdateFeedback(std::int64_t Rows);
  void RestoreLines(int Column, int FirstRow, int OldRows, const std::vector<std::string>& Replaced) noexcept;

  std::string FComment;
  std::vector<TNameStrType> FColName;
  std::vector<TColFmtString> FColumnFormat;
  std::string FCommonHeader = DefaultCommonHeader;
  std::vector<TCheckMode> FColButMode;
  int FNrOfCols = 1;
  int FNrOfRows = 0;
  int FSortColumn = -1;
  int FSortColumnSec = -1;
  bool FSortOrder = true;
  TBeforeSortExchgEvent FOnBefSortExc;
  std::string FDataID;
  bool FSortToggle = true;
  TBeforeHTMLExportEvent FOnBefHTMLExport;
  int FFeedbkNumCells = 1;
  int FFeedbkStep = 1;
  TOnPercentDoneEvent FOnPercentDone;
  std::unique_ptr<TStringArray> FStrings;
  TStorageRouting FRouting;
};

// The default name of column n: C-<n>.
std::string DefaultColumnName(int ColNr);

}  // namespace vorn
