#include "vorn/replist/rldata.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <fstream>
#include <limits>
#include <new>
#include <optional>
#include <stdexcept>
#include <utility>

#include "vorn/foundation/strutils.h"
#include "vorn/platform/runtime/application.h"
#include "vorn/replist/rlxml.h"

namespace vorn {

namespace {

constexpr char kChecked = 'X';
constexpr char kUnchecked = ' ';
// The longest text a generated default value may have: a cell's limit.
constexpr int kMaxGenerated = static_cast<int>(RLCellLength);

bool IsContinuationByte(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length in bytes of the first character of S: a whole UTF-8 sequence when
// one starts there, one byte otherwise.
std::size_t FirstCharLength(std::string_view S) {
  if (S.empty()) return 0;
  const auto lead = static_cast<unsigned char>(S[0]);
  const std::size_t need = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
  if (need == 1 || lead >= 0xF8 || S.size() < need) return 1;
  for (std::size_t i = 1; i < need; ++i)
    if (!IsContinuationByte(static_cast<unsigned char>(S[i]))) return 1;
  return need;
}

std::string_view WithoutCheckChar(std::string_view Stored) { return Stored.substr(FirstCharLength(Stored)); }

std::string WithCheckChar(char Mark, std::string_view Value) {
  std::string out;
  out.reserve(Value.size() + 1);
  out += Mark;
  out += Value;
  return out;
}

bool StoredIsChecked(std::string_view Stored) { return !Stored.empty() && Stored[0] != kUnchecked; }

// The integer at the start of S: leading blanks, one sign, decimal digits
// up to the first non-digit; no digits give 0. Saturates at the int range.
int LeadingInteger(std::string_view S) {
  std::size_t i = 0;
  while (i < S.size() && S[i] == ' ') ++i;
  bool negative = false;
  if (i < S.size() && (S[i] == '+' || S[i] == '-')) negative = S[i++] == '-';
  std::int64_t value = 0;
  for (; i < S.size() && S[i] >= '0' && S[i] <= '9'; ++i)
    value = std::min<std::int64_t>(value * 10 + (S[i] - '0'), std::numeric_limits<int>::max());
  return static_cast<int>(negative ? -value : value);
}

std::string_view TailFrom(std::string_view S, std::size_t Pos) { return Pos < S.size() ? S.substr(Pos) : std::string_view{}; }

bool ContainsFolded(std::string_view Text, std::string_view LowerNeedle) {
  return FoldCase(Text).find(LowerNeedle) != std::string::npos;
}

// The lowest Digits digits of Value in base Base (upper-case letters),
// zero-padded to exactly Digits.
std::string LowDigits(std::uint64_t Value, int Base, int Digits) {
  std::string out(static_cast<std::size_t>(Digits), '0');
  for (auto it = out.rbegin(); it != out.rend() && Value != 0; ++it) {
    *it = "0123456789ABCDEF"[Value % static_cast<unsigned>(Base)];
    Value /= static_cast<unsigned>(Base);
  }
  return out;
}

// The row-number default of a number column ("rixN").
std::string RowNumberDefault(char Kind, std::string_view Rest, int Row) {
  int n = LeadingInteger(TailFrom(Rest, 3));
  switch (Kind) {
    case 'e':
    case 'f':
      return strff(Row, 1, n);
    case 'h':
      n = std::clamp(n, 1, 8);
      return LowDigits(static_cast<std::uint32_t>(Row), 16, n);
    default: {  // 'i'
      n = std::clamp(n, 1, kMaxGenerated - 1);
      const std::uint64_t magnitude =
          Row < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(Row)) : static_cast<std::uint64_t>(Row);
      return (Row < 0 ? "-" : "") + LowDigits(magnitude, 10, n);
    }
  }
}

}  // namespace

std::string DefaultColumnName(int ColNr) { return "C-" + std::to_string(ColNr); }

// ---- quiet storage ---------------------------------------------------------------
// Switches the storage's change notification off for an operation over many
// cells and raises it once at the end of the scope. An operation completes
// every piece of its state (sizes, check modes, sort state) inside the
// scope, so that the handler reads the finished table. Scopes do not nest:
// helpers that change many cells leave the scope to their callers.
//
// Left by an exception (a failed operation) the scope only switches the
// notification back on. The notification runs a handler of the
// application, which may throw: the destructor lets that exception pass.

class TRLData::TQuietStorage {
 public:
  explicit TQuietStorage(TRLData& Data) : FData(Data), FExceptions(std::uncaught_exceptions()) {
    FData.FStrings->SetOnChange(nullptr);
  }
  ~TQuietStorage() noexcept(false) {
    FData.FStrings->SetOnChange(FData.FRouting.OnChange);
    if (std::uncaught_exceptions() == FExceptions) FData.NotifyChange();
  }
  TQuietStorage(const TQuietStorage&) = delete;
  TQuietStorage& operator=(const TQuietStorage&) = delete;

 private:
  TRLData& FData;
  int FExceptions;
};

// ---- lifecycle ---------------------------------------------------------------------

TRLData::TRLData(TComponent* AOwner) : TComponent(AOwner) {
  try {
    FColName.push_back(DefaultColumnName(1));
    FColumnFormat.emplace_back();
    FColButMode.push_back(cmNone);
    FStrings = std::make_unique<TStringArray>(1, 1, nullptr);
  } catch (const std::bad_alloc&) {
    throw EVORNRLDataError(ComponentMessage("failed to initialize (out of memory)"));
  }
  FStrings->SetAllocRowsBy(10);
  FRouting = OwnRouting();
  InstallRouting(*FStrings);
}

TRLData::~TRLData() = default;

std::string TRLData::ComponentMessage(const std::string& Reason) const {
  return "Component \"" + Name() + "\": " + Reason;
}

// ---- routing and progress ------------------------------------------------------------

TStorageRouting TRLData::OwnRouting() {
  TStorageRouting routing;
  routing.OnPercentDone = [this](TObject*, int Percent) { NotifyPercentDone(Percent); };
  routing.OnBeforeSortExchange = [this](TObject*, int Kind, int Pos1, int Pos2, int Low, int High) {
    RaiseEvent(FOnBefSortExc, this, Kind, Pos1, Pos2, Low, High);
  };
  return routing;
}

void TRLData::InstallRouting(TStringArray& Storage) {
  Storage.SetOnChange(FRouting.OnChange);
  Storage.SetOnPercentDone(FRouting.OnPercentDone);
  Storage.SetOnBeforeSortExchange(FRouting.OnBeforeSortExchange);
}

void TRLData::RouteStorageNotifications(TStorageRouting Routing) {
  FRouting = std::move(Routing);
  InstallRouting(*FStrings);
}

void TRLData::ResetStorageRouting() { RouteStorageNotifications(OwnRouting()); }

void TRLData::NotifyChange() {
  RaiseEvent(FRouting.OnChange, FStrings.get());
}

void TRLData::NotifyPercentDone(int Percent) const {
  // The event's Sender is not const; reporting progress changes nothing.
  RaiseEvent(FOnPercentDone, const_cast<TRLData*>(this), Percent);
}

void TRLData::SetFeedbkNumCells(std::int64_t Cells) {
  Cells = std::clamp<std::int64_t>(Cells, 1, std::numeric_limits<int>::max());
  FFeedbkNumCells = static_cast<int>(Cells);
  FFeedbkStep = FFeedbkNumCells / 100 + 1;
}

void TRLData::UpdateFeedback(std::int64_t Rows) { SetFeedbkNumCells(Rows * (FNrOfCols + 1)); }

// ---- size ------------------------------------------------------------------------------

void TRLData::SetNrOfColumns(int Value) {
  Value = std::max(Value, 1);
  if (Value == FNrOfCols) return;
  const int rows = std::max(FNrOfRows, 1);
  TQuietStorage quiet(*this);
  // The storage first: it refuses impossible sizes before allocating.
  try {
    FStrings->Resize(Value, rows);
  } catch (const EVORNError& e) {
    throw EVORNRLDataError(std::string("TRLData.NrOfColumns: ") + e.what());
  }
  std::vector<TNameStrType> names;
  std::vector<TColFmtString> formats;
  std::vector<TCheckMode> modes;
  try {
    names = FColName;
    formats = FColumnFormat;
    modes = FColButMode;
    names.resize(static_cast<std::size_t>(Value));
    formats.resize(static_cast<std::size_t>(Value));
    modes.resize(static_cast<std::size_t>(Value), cmNone);
    for (int c = FNrOfCols + 1; c <= Value; ++c) names[Index(c)] = DefaultColumnName(c);
  } catch (const std::exception&) {
    FStrings->Resize(FNrOfCols, rows);  // back to the columns that have names
    throw EVORNRLDataError(ComponentMessage("not enough memory on heap"));
  }
  FColName.swap(names);
  FColumnFormat.swap(formats);
  FColButMode.swap(modes);
  FNrOfCols = Value;
  UpdateFeedback(rows);
}

void TRLData::SetNrOfRows(int Value) {
  Value = std::max(Value, 0);
  if (Value == FNrOfRows) return;
  TQuietStorage quiet(*this);
  try {
    FStrings->Resize(FNrOfCols, Value);
  } catch (const EVORNError& e) {
    throw EVORNRLDataError(std::string("TRLData.NrOfRows: ") + e.what());
  }
  FNrOfRows = Value;
  UpdateFeedback(FNrOfRows);
}

void TRLData::SetCommonHeader(const std::string& Value) {
  if (Value != FCommonHeader) FCommonHeader = Value;
}

// ---- cells -------------------------------------------------------------------------------

std::string TRLData::Elem(int ACol, int ARow) const {
  if (!CellInside(ACol, ARow)) return {};
  const std::string_view stored = Stored(ACol, ARow);
  return std::string(IsCheckColumn(ACol) ? WithoutCheckChar(stored) : stored);
}

void TRLData::SetElem(int ACol, int ARow, std::string_view Value) {
  if (!CellInside(ACol, ARow)) return;
  if (!IsCheckColumn(ACol)) {
    FStrings->SetString(ACol, ARow, Value);
    return;
  }
  const std::string_view stored = Stored(ACol, ARow);
  std::string text(stored.empty() ? std::string_view(&kUnchecked, 1) : stored.substr(0, FirstCharLength(stored)));
  text += Utf8Prefix(Value, RLCellLength);
  FStrings->SetString(ACol, ARow, text);
}

bool TRLData::ElemChecked(int ACol, int ARow) const {
  return CellInside(ACol, ARow) && IsCheckColumn(ACol) && StoredIsChecked(Stored(ACol, ARow));
}

void TRLData::SetMark(int ACol, int ARow, bool Checked) {
  const std::string_view stored = Stored(ACol, ARow);
  FStrings->SetString(ACol, ARow, WithCheckChar(Checked ? kChecked : kUnchecked, WithoutCheckChar(stored)));
}

void TRLData::SetAllMarks(int ACol, bool Checked) {
  for (int r = 1; r <= FNrOfRows; ++r) SetMark(ACol, r, Checked);
}

void TRLData::SetElemChecked(int ACol, int ARow, bool Value) {
  if (!CellInside(ACol, ARow) || !IsCheckColumn(ACol)) return;
  TQuietStorage quiet(*this);  // a radio column is never seen without its new mark
  if (ColumnCheckMode(ACol) == cmRadio) SetAllMarks(ACol, false);
  SetMark(ACol, ARow, Value);
}

double TRLData::AsNumber(int ACol, int ARow) const {
  if (!CellInside(ACol, ARow)) return 0;
  return FStrings->GetAsNumber(ACol, ARow);
}

std::string ColumnKindDefault(char Kind, std::string_view Rest, int Row) {
  switch (Kind) {
    case 'c':
    case 'l':
      return std::string(Rest.substr(0, Rest.find('|')));
    case 'd':
      return std::string(Rest);
    case 'e':
    case 'f':
    case 'h':
    case 'i':
      return ContainsFolded(Rest, "rix") ? RowNumberDefault(Kind, Rest, Row) : std::string(Rest);
    case 's':
      if (!ContainsFolded(Rest, "$pwd$")) return std::string(Rest);
      return InventPassword(std::min(LeadingInteger(TailFrom(Rest, 5)), kMaxGenerated));
    default:
      return {};
  }
}

std::string TRLData::DefaultValue(int ACol, int ARow) const {
  const std::string format = ColumnFormat(ACol);
  const std::size_t close = format.find(']');
  if (close == std::string::npos) return ColumnKindDefault('s', format, ARow);  // the whole format is rest
  const std::string_view remainder = std::string_view(format).substr(close + 1);
  if (remainder.empty()) return {};
  const std::size_t widthClose = remainder.find(']');
  const std::string_view rest = widthClose == std::string_view::npos ? remainder : remainder.substr(widthClose + 1);
  const std::size_t open = format.find('[');
  const char kind = open != std::string::npos && open + 1 < close ? format[open + 1] : '\0';
  return ColumnKindDefault(kind, rest, ARow);
}

// ---- columns --------------------------------------------------------------------------------

TColFmtString TRLData::ColumnFormat(int ColNr) const { return ColInside(ColNr) ? FColumnFormat[Index(ColNr)] : ""; }

void TRLData::SetColumnFormat(int ColNr, std::string_view Value) {
  if (ColInside(ColNr)) FColumnFormat[Index(ColNr)] = CutToBytes(Value, RLFormatLength);
}

TNameStrType TRLData::Header(int ColNr) const { return ColInside(ColNr) ? FColName[Index(ColNr)] : ""; }

void TRLData::SetHeader(int ColNr, std::string_view Value) {
  if (ColInside(ColNr)) FColName[Index(ColNr)] = CutToBytes(Value, RLNameLength);
}

TCheckMode TRLData::ColumnCheckMode(int ColNr) const { return ColInside(ColNr) ? FColButMode[Index(ColNr)] : cmNone; }

void TRLData::StripCheckCharacters(int ACol) {
  for (int r = 1; r <= FNrOfRows; ++r) {
    const std::string_view stored = Stored(ACol, r);
    if (!stored.empty()) FStrings->SetString(ACol, r, std::string(WithoutCheckChar(stored)));
  }
}

void TRLData::AddUncheckedMarks(int ACol) {
  for (int r = 1; r <= FNrOfRows; ++r) {
    const std::string_view stored = Stored(ACol, r);
    if (!stored.empty()) FStrings->SetString(ACol, r, WithCheckChar(kUnchecked, stored));
  }
}

void TRLData::SetColumnCheckMode(int ColNr, TCheckMode Value) {
  if (!ColInside(ColNr) || Value > cmRadio) return;
  const TCheckMode old = FColButMode[Index(ColNr)];
  if (old == Value) return;
  TQuietStorage quiet(*this);
  if (old == cmNone)
    AddUncheckedMarks(ColNr);
  else if (Value == cmNone)
    StripCheckCharacters(ColNr);
  else if (Value == cmRadio)
    SetAllMarks(ColNr, false);
  FColButMode[Index(ColNr)] = Value;
}

// ---- sorting -----------------------------------------------------------------------------------

void TRLData::SetSecondarySortColumn(int Value) {
  if (Value >= -1 && Value <= FNrOfCols) FSortColumnSec = Value;
}

void TRLData::Sort(int Col, int ColSec, bool Ascending) {
  FSortColumn = Col;
  FSortColumnSec = ColSec;
  FSortOrder = Ascending;
  FStrings->Sort(Col, ColSec, Ascending);
}

void TRLData::UnSort() {
  MarkUnsorted();
  FStrings->UnSort();
}

void TRLData::MarkUnsorted() {
  FSortColumn = -1;
  FSortColumnSec = -1;
}

// ---- whole-table operations ----------------------------------------------------------------------

void TRLData::ReplaceContents(TRLContents&& Contents) {
  SwapInContents(std::move(Contents));
  NotifyChange();
}

void TRLData::SwapInContents(TRLContents&& Contents) {
  InstallRouting(*Contents.Strings);  // the only step that may fail
  FStrings.swap(Contents.Strings);
  FNrOfCols = Contents.NrOfColumns;
  FNrOfRows = Contents.NrOfRows;
  FColName.swap(Contents.ColName);
  FColumnFormat.swap(Contents.ColumnFormat);
  FColButMode.swap(Contents.ColButMode);
  FComment.swap(Contents.Comment);
  FCommonHeader.swap(Contents.CommonHeader);
  FDataID.swap(Contents.DataID);
  MarkUnsorted();
  UpdateFeedback(std::max(FNrOfRows, 1));
}

void TRLData::Assign(const TPersistent* Source) {
  const auto* source = dynamic_cast<const TRLData*>(Source);
  if (source == nullptr) {
    TComponent::Assign(Source);
    return;
  }
  if (source == this) return;
  TRLContents contents;
  try {
    contents.ColName = source->FColName;
    contents.ColumnFormat = source->FColumnFormat;
    contents.ColButMode = source->FColButMode;
    contents.Comment = source->FComment;
    contents.CommonHeader = source->FCommonHeader;
    contents.DataID = source->FDataID;
    contents.Strings = std::make_unique<TStringArray>(1, 1, nullptr);
  } catch (const std::bad_alloc&) {
    throw EVORNRLDataError(ComponentMessage("not enough memory on heap"));
  }
  // Cells, attribute bytes, row order and allocation step; raises
  // EVORNError with nothing changed when memory runs out.
  contents.Strings->Assign(source->FStrings.get());
  if (contents.Strings->NrOfRows() < 1) contents.Strings->Resize(source->FNrOfCols, 1);
  contents.NrOfColumns = source->FNrOfCols;
  contents.NrOfRows = source->FNrOfRows;
  TBeforeSortExchgEvent onExchange = source->FOnBefSortExc;
  SwapInContents(std::move(contents));
  FOnBefSortExc.swap(onExchange);
  FSortColumn = source->FSortColumn;
  FSortColumnSec = source->FSortColumnSec;
  FSortOrder = source->FSortOrder;
  FSortToggle = source->FSortToggle;
  NotifyChange();  // the copy is complete, sort state and handler included
}

void TRLData::Clear() {
  TQuietStorage quiet(*this);
  FStrings->Clear();
  for (int c = 1; c <= FNrOfCols; ++c) {
    FColName[Index(c)] = DefaultColumnName(c);
    FColumnFormat[Index(c)].clear();
    FColButMode[Index(c)] = cmNone;
  }
}

void TRLData::Fill(std::string_view S) {
  const std::string_view value = Utf8Prefix(S, RLCellLength);
  TQuietStorage quiet(*this);
  for (int c = 1; c <= FNrOfCols; ++c) {
    const bool check = IsCheckColumn(c);
    for (int r = 1; r <= FNrOfRows; ++r) {
      if (check)
        FStrings->SetString(c, r, WithCheckChar(StoredIsChecked(Stored(c, r)) ? kChecked : kUnchecked, value));
      else
        FStrings->SetString(c, r, value);
    }
  }
}

int TRLData::ColumnIndex(std::string_view Head, bool PartialMatch) const {
  const std::string head = FoldCase(Head);
  if (PartialMatch && head.empty()) return -1;
  for (int c = FNrOfCols; c >= 1; --c) {
    const std::string name = FoldCase(FColName[Index(c)]);
    if (PartialMatch ? name.find(head) != std::string::npos : name == head) return c;
  }
  return -1;
}

void TRLData::CopyRow(int Source, int Target) {
  if (Source < 1 || Source > FNrOfRows || Target < 1 || Target > FNrOfRows || Source == Target) return;
  TQuietStorage quiet(*this);
  for (int c = 0; c <= FNrOfCols; ++c) FStrings->SetString(c, Target, std::string(Stored(c, Source)));
  FStrings->SetRowAttrib(Target, FStrings->GetRowAttrib(Source));
}

void TRLData::EmptyPhysicalRow(int ARow) {
  for (int c = 0; c <= FNrOfCols; ++c) FStrings->SetString(c, ARow, "");
  FStrings->SetRowAttrib(ARow, 0);
}

void TRLData::RemoveRow(int R) {
  if (R < 1 || R > FNrOfRows) return;
  TQuietStorage quiet(*this);
  FStrings->CommitSorting();
  if (FNrOfRows == 1) {
    EmptyPhysicalRow(1);
    FNrOfRows = 0;
  } else {
    FStrings->RemoveRow(R);
    --FNrOfRows;
  }
  UpdateFeedback(FNrOfRows);
}

void TRLData::CompactRows(const std::vector<bool>& Keep) {
  // Rows are in physical order here; kept rows move up over removed ones.
  int target = 0;
  for (int r = 1; r <= FNrOfRows; ++r) {
    if (!Keep[static_cast<std::size_t>(r - 1)]) continue;
    if (++target == r) continue;
    for (int c = 0; c <= FNrOfCols; ++c) FStrings->SetString(c, target, std::string(Stored(c, r)));
    FStrings->SetRowAttrib(target, FStrings->GetRowAttrib(r));
  }
  if (target == 0) {
    EmptyPhysicalRow(1);
    FStrings->Resize(FNrOfCols, 1);
  } else {
    FStrings->Resize(FNrOfCols, target);
  }
  FNrOfRows = target;
  UpdateFeedback(FNrOfRows);
}

void TRLData::RemoveEmptyRows() {
  std::vector<bool> keep(static_cast<std::size_t>(FNrOfRows));
  bool any = false;
  for (int r = 1; r <= FNrOfRows; ++r) {
    bool empty = true;
    for (int c = 0; c <= FNrOfCols && empty; ++c) {
      const std::string_view stored = Stored(c, r);
      empty = (IsCheckColumn(c) ? WithoutCheckChar(stored) : stored).empty();
    }
    keep[static_cast<std::size_t>(r - 1)] = !empty;
    any = any || empty;
  }
  if (!any) return;
  TQuietStorage quiet(*this);
  FStrings->CommitSorting();
  CompactRows(keep);
}

// ---- check marks ------------------------------------------------------------------------------------

void TRLData::SetAllCheckmarksOfCol(int Column, bool Checked) {
  if (ColumnCheckMode(Column) != cmBox) return;
  TQuietStorage quiet(*this);
  SetAllMarks(Column, Checked);
}

void TRLData::InvertAllCheckmarksOfCol(int Column) {
  if (ColumnCheckMode(Column) != cmBox) return;
  TQuietStorage quiet(*this);
  for (int r = 1; r <= FNrOfRows; ++r) {
    const std::string_view stored = Stored(Column, r);
    const bool checkedByX = !stored.empty() && stored[0] == kChecked;
    SetMark(Column, r, !checkedByX);
  }
}

int TRLData::CountCheckedElemsInCol(int Column) const {
  if (!IsCheckColumn(Column) || Column > FNrOfCols) return 0;
  int count = 0;
  for (int r = 1; r <= FNrOfRows; ++r) count += StoredIsChecked(Stored(Column, r)) ? 1 : 0;
  return count;
}

int TRLData::CountCheckedElemsInRow(int Row) const {
  int count = 0;
  for (int c = 1; c <= FNrOfCols; ++c) count += ElemChecked(c, Row) ? 1 : 0;
  return count;
}

int TRLData::FirstCheckedElemInCol(int ColNr) const {
  if (!IsCheckColumn(ColNr) || ColNr > FNrOfCols) return 0;
  for (int r = 1; r <= FNrOfRows; ++r)
    if (StoredIsChecked(Stored(ColNr, r))) return r;
  return 0;
}

int TRLData::FirstCheckedElemInRow(int RowNr) const {
  if (RowNr < 1 || RowNr > FNrOfRows) return 0;
  for (int c = 1; c <= FNrOfCols; ++c)
    if (ElemChecked(c, RowNr)) return c;
  return 0;
}

// ---- clipboard -----------------------------------------------------------------------------------------

namespace {

struct TBlock {
  int Left, Top, Right, Bottom;
};

}  // namespace

std::string TRLData::ClipboardText(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                                   std::string_view Separator) const {
  const TBlock b{std::max(LeftCol, 0), std::max(TopRow, 1), std::min(RightCol, FNrOfCols),
                 std::min(BottomRow, FNrOfRows)};
  std::string out;
  const auto line = [&](auto&& Value) {
    for (int c = b.Left; c <= b.Right; ++c) {
      if (c > b.Left) out += Separator;
      out += Value(c);
    }
    out += '\n';
  };
  if (AddHeader) {
    line([&](int c) { return Header(c); });
    out += '\n';
  }
  for (int r = b.Top; r <= b.Bottom; ++r) line([&](int c) { return Elem(c, r); });
  return out;
}

std::string TRLData::PaddedText(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader) const {
  const TBlock b{std::max(LeftCol, 0), std::max(TopRow, 1), std::min(RightCol, FNrOfCols),
                 std::min(BottomRow, FNrOfRows)};
  std::string out;
  if (b.Left > b.Right) {
    if (AddHeader) out += "\n\n";
    for (int r = b.Top; r <= b.Bottom; ++r) out += '\n';
    return out;
  }
  std::vector<int> width(static_cast<std::size_t>(b.Right - b.Left + 1), 0);
  const auto widthOf = [&](int c) -> int& { return width[static_cast<std::size_t>(c - b.Left)]; };
  for (int c = b.Left; c <= b.Right; ++c) {
    if (AddHeader) widthOf(c) = static_cast<int>(Utf8Length(Header(c)));
    for (int r = b.Top; r <= b.Bottom; ++r)
      widthOf(c) = std::max(widthOf(c), static_cast<int>(Utf8Length(Stored(c, r))));
  }
  const auto line = [&](auto&& Value) {
    for (int c = b.Left; c <= b.Right; ++c) out += LeftString(Value(c), widthOf(c) + 1);
    out += '\n';
  };
  if (AddHeader) {
    line([&](int c) { return Header(c); });
    out += '\n';
  }
  for (int r = b.Top; r <= b.Bottom; ++r) line([&](int c) { return Elem(c, r); });
  return out;
}

void TRLData::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader, bool UseTabs) {
  Clipboard()->SetAsText(UseTabs ? ClipboardText(LeftCol, TopRow, RightCol, BottomRow, AddHeader, "\t")
                                 : PaddedText(LeftCol, TopRow, RightCol, BottomRow, AddHeader));
}

void TRLData::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                              std::string_view Separator) {
  Clipboard()->SetAsText(ClipboardText(LeftCol, TopRow, RightCol, BottomRow, AddHeader, Separator));
}

// ---- documents and exports --------------------------------------------------------------------------------

bool TRLData::ReadFromXMLString(std::string_view InString, std::string_view DataID) {
  return ReadRepListDocument(InString, DataID, *this);
}

bool TRLData::ReadFromXMLStream(std::istream& InStream, std::string_view DataID) {
  return ReadRepListDocument(InStream, DataID, *this);
}

bool TRLData::ReadFromOpenXMLFile(std::istream& InFile, std::string_view DataID) {
  return ReadRepListDocument(InFile, DataID, *this);
}

bool TRLData::LoadFromXMLFile(const std::string& FileName, std::string_view DataID) {
  std::ifstream in(FileName, std::ios::binary);
  return in && ReadRepListDocument(in, DataID, *this);
}

void TRLData::WriteToXMLStream(std::ostream& OutStream, bool CreateHeader, std::string_view DataID) const {
  WriteRepListDocument(OutStream, *this, CreateHeader, DataID);
}

void TRLData::WriteToOpenXMLFile(std::ostream& OutFile, bool CreateHeader, std::string_view DataID) const {
  WriteRepListDocument(OutFile, *this, CreateHeader, DataID);
}

void TRLData::SaveAsXMLFile(const std::string& FileName, std::string_view DataID) const {
  SaveRepListDocument(FileName, *this, DataID);
}

void TRLData::ExportHTMLTable(const std::string& FileName, int LoC, int LoR, int HiC, int HiR,
                              const std::vector<int>& ColumnSelection, int Border, int CellSpacing,
                              int CellPadding, bool IncludeHeader, const std::string& HeadClass,
                              const std::string& CellClass, const std::string& TableClass) const {
  THTMLTableOptions options;
  options.LoC = LoC;
  options.LoR = LoR;
  options.HiC = HiC;
  options.HiR = HiR;
  options.ColumnSelection = ColumnSelection;
  options.Border = Border;
  options.CellSpacing = CellSpacing;
  options.CellPadding = CellPadding;
  options.IncludeHeader = IncludeHeader;
  options.HeadClass = HeadClass;
  options.CellClass = CellClass;
  options.TableClass = TableClass;
  SaveHTMLTable(FileName, *this, options);
}

int TRLData::LoadLinesFromFile(int Column, int FirstRow, const std::string& FileName) {
  std::ifstream in(FileName, std::ios::binary);
  if (!in) throw EVORNRLDataError("Cannot open file \"" + FileName + "\"");
  try {
    return LoadLinesFromStream(Column, FirstRow, in);
  } catch (const std::ios_base::failure&) {
    throw EVORNRLDataError("Cannot read file \"" + FileName + "\"");
  } catch (const EVORNRLDataError& e) {
    throw EVORNRLDataError(std::string(e.what()) + " (file \"" + FileName + "\")");
  }
}

// The lines go into the cells as they are read, the table growing by half
// its size at a time, so that memory follows the table and not a copy of
// the file. On any failure the row count and the cells already replaced
// are restored.
//
// A load grows the table to at most LoadLinesRowLimit rows (a larger table
// keeps its size): a first row far beyond the end would otherwise ask for
// billions of empty rows before the first line is stored. The limit is
// checked before the table grows, so a refusal allocates nothing.
int TRLData::LoadLinesFromStream(int Column, int FirstRow, std::istream& In) {
  constexpr std::int64_t kMaxRows = std::numeric_limits<int>::max() - 1;
  const bool store = Column >= 0 && Column <= FNrOfCols;
  FirstRow = std::max(FirstRow, 1);
  const int oldRows = FNrOfRows;
  const std::int64_t rowLimit = std::max(oldRows, LoadLinesRowLimit);
  std::vector<std::string> replaced;  // earlier contents of the rows before oldRows
  std::int64_t lines = 0;
  std::optional<TQuietStorage> quiet;
  if (store) quiet.emplace(*this);
  try {
    bool atEnd = In.peek() == std::istream::traits_type::eof();
    while (!atEnd) {
      const std::string line = ReadLnStream(In, atEnd, 4 * RLCellLength);
      const std::int64_t row = std::int64_t{FirstRow} + lines;
      if (++lines > kMaxRows) throw EVORNRLDataError("TRLData.LoadLinesFromFile: too many lines");
      if (!store) continue;
      if (row > rowLimit)
        throw EVORNRLDataError("TRLData.LoadLinesFromFile: line " + std::to_string(lines) + " would go to row " +
                               std::to_string(row) + ", beyond the last row a load may fill (" +
                               std::to_string(rowLimit) + ")");
      if (row > FNrOfRows) SetNrOfRows(static_cast<int>(std::min(rowLimit, std::max(row, std::int64_t{FNrOfRows} * 3 / 2))));
      if (row <= oldRows) replaced.push_back(FStrings->GetString(Column, static_cast<int>(row)));
      SetElem(Column, static_cast<int>(row), line);
    }
    if (In.bad()) throw EVORNRLDataError("TRLData.LoadLinesFromFile: the text cannot be read");
    // Trims what the last growth added beyond the last line.
    if (store && lines > 0) SetNrOfRows(static_cast<int>(std::max<std::int64_t>(oldRows, std::int64_t{FirstRow} + lines - 1)));
  } catch (const std::bad_alloc&) {
    RestoreLines(Column, FirstRow, oldRows, replaced);
    throw EVORNRLDataError("TRLData.LoadLinesFromFile: not enough memory for the lines");
  } catch (...) {
    RestoreLines(Column, FirstRow, oldRows, replaced);
    throw;
  }
  return static_cast<int>(lines);
}

void TRLData::RestoreLines(int Column, int FirstRow, int OldRows, const std::vector<std::string>& Replaced) noexcept {
  try {
    SetNrOfRows(OldRows);
    for (std::size_t i = 0; i < Replaced.size(); ++i) FStrings->SetString(Column, FirstRow + static_cast<int>(i), Replaced[i]);
  } catch (...) {
    // Shrinking and writing back strings that fitted before do not fail in
    // practice; should they, the table keeps what could be restored.
  }
}

}  // namespace vorn
