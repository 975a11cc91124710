// The table editor's two popup menus and what they do: the data popup
// (marking, clearing, the clipboard, read-only, selecting, empty states)
// over data cells and the heading popup (editing a name or attribute,
// stepping the decimal places, selecting, inserting and deleting columns
// and rows) over the name and attribute cells; and the two small editors
// that open over the grid: the heading editor for names and attributes and
// the comment editor for the table's comment.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "vorn/foundation/strutils.h"
#include "vorn/ntabed/ntabed.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/memo.h"
#include "vorn/platform/stdctrls/menus.h"

namespace vorn {

namespace {

using TCommand = void (TNTabEd::*)(TObject*);

constexpr int DataItemCount = 12;
constexpr int HeadingItemCount = 5;
constexpr int SubItemCount = 4;
constexpr int ItemPaste = 8;
constexpr int ItemReadOnly = 9;

constexpr TColor CommentBrush = static_cast<TColor>(0x808000);
constexpr TColor CommentFont = static_cast<TColor>(0xFFFFFF);
constexpr int CommentHeight = 80;
constexpr int HeadingEditWidth = 120;
const std::string NewHeadingName = "(...)";

// Scopes of the marking commands, in the order of their sub-items.
enum TMarkScope : int { msRange, msColumn, msRow, msAll };

constexpr std::array<const char*, DataItemCount> DataCaptions = {
    "Mark as type A", "Mark as type B", "Unmark type A", "Unmark type B",          "Unmark All",  "Clear",
    "Copy",           "Paste",          "Data Read-Only", "Extract from Clipboard", "Select All", "Toggle Empty State"};
constexpr std::array<const char*, SubItemCount> SubCaptions = {"Range", "Column", "Row", "All"};
constexpr std::array<const char*, SubItemCount> SubNames = {"M1It", "M2It", "U1It", "U2It"};
constexpr std::array<const char*, HeadingItemCount> HeadingCaptions = {"Edit Heading", "Change Precision", "Select..",
                                                                       "Insert..", "Delete.."};

constexpr std::array<std::array<TCommand, SubItemCount>, 4> MarkCommands = {{
    {&TNTabEd::PopupMenuClickMarkARange, &TNTabEd::PopupMenuClickMarkAColumn, &TNTabEd::PopupMenuClickMarkARow,
     &TNTabEd::PopupMenuClickMarkAAll},
    {&TNTabEd::PopupMenuClickMarkBRange, &TNTabEd::PopupMenuClickMarkBColumn, &TNTabEd::PopupMenuClickMarkBRow,
     &TNTabEd::PopupMenuClickMarkBAll},
    {&TNTabEd::PopupMenuClickUnMarkARange, &TNTabEd::PopupMenuClickUnMarkAColumn, &TNTabEd::PopupMenuClickUnMarkARow,
     &TNTabEd::PopupMenuClickUnMarkAAll},
    {&TNTabEd::PopupMenuClickUnMarkBRange, &TNTabEd::PopupMenuClickUnMarkBColumn, &TNTabEd::PopupMenuClickUnMarkBRow,
     &TNTabEd::PopupMenuClickUnMarkBAll},
}};

// Commands of data items 5..12.
constexpr std::array<TCommand, DataItemCount - 4> DataCommands = {
    &TNTabEd::PopupMenuClickUnMarkAll, &TNTabEd::PopupMenuClickClear,   &TNTabEd::PopupMenuClickCopy,
    &TNTabEd::PopupMenuClickPaste,     &TNTabEd::PopupMenuClickEdit,    &TNTabEd::PopupMenuClickExtClip,
    &TNTabEd::PopupMenuClickSelAll,    &TNTabEd::PopupMenuClickEmptyCells};

bool MaskBit(int Mask, int Item) { return ((static_cast<unsigned>(Mask) >> (Item - 1)) & 1U) != 0; }

TMenuItem* NewItem(TMenuItem* Parent, const std::string& Name, const std::string& Caption) {
  auto* item = new TMenuItem(nullptr);
  Parent->Add(item);
  item->SetName(Name);
  item->SetCaption(Caption);
  return item;
}

TNotifyEvent Bind(TNTabEd* Editor, TCommand Command) {
  return [Editor, Command](TObject* Sender) { (Editor->*Command)(Sender); };
}

std::string CaptionText(std::string_view Value) { return CutToBytes(Value, DTNameLength); }

// The heading and comment editors close on Enter and Escape themselves:
// those keys must reach them, not the form's default or cancel button.
template <typename TEditor>
class TWantsAllKeys : public TEditor {
 public:
  using TEditor::TEditor;

 protected:
  void WMGetDlgCode(TMessage& Message) override {
    TEditor::WMGetDlgCode(Message);
    Message.Result |= DLGC_WANTALLKEYS;
  }
};

}  // namespace

// ---- building ------------------------------------------------------------------------------------

void TNTabEd::CreatePopupMenus() {
  FPopupD = new TPopupMenu(this);
  FPopupD->SetName("PopupDTAction");
  FPopupD->SetAlignment(paLeft);
  for (int k = 1; k <= DataItemCount; ++k) {
    TMenuItem* item = NewItem(FPopupD->Items(), "DIt" + std::to_string(k), DataCaptions[static_cast<std::size_t>(k - 1)]);
    if (k <= 4) {
      const auto& commands = MarkCommands[static_cast<std::size_t>(k - 1)];
      for (int i = 1; i <= SubItemCount; ++i) {
        const auto ix = static_cast<std::size_t>(i - 1);
        TMenuItem* sub = NewItem(item, SubNames[static_cast<std::size_t>(k - 1)] + std::to_string(i), SubCaptions[ix]);
        sub->SetOnClick(Bind(this, commands[ix]));
      }
    } else {
      item->SetOnClick(Bind(this, DataCommands[static_cast<std::size_t>(k - 5)]));
    }
  }
  DataItem(ItemPaste)->SetEnabled(false);
  DataItem(ItemReadOnly)->Bitmap()->LoadFromResourceName("EMPTYBOX");
  FPopupD->SetOnPopup([this](TObject*) { DataPopupOpening(); });

  FPopupH = new TPopupMenu(this);
  FPopupH->SetName("PopupHTAction");
  FPopupH->SetAlignment(paLeft);
  for (int k = 1; k <= HeadingItemCount; ++k) {
    NewItem(FPopupH->Items(), "HIt" + std::to_string(k), HeadingCaptions[static_cast<std::size_t>(k - 1)]);
  }
  HeadingItem(1)->SetOnClick(Bind(this, &TNTabEd::PopupMenuClickChangeID));
  HeadingItem(2)->SetOnClick(Bind(this, &TNTabEd::PopupMenuClickPrecision));
}

void TNTabEd::CreateHeadingEditors() {
  FNameEd = new TWantsAllKeys<TEdit>(this);
  FNameEd->SetVisible(false);
  FNameEd->SetParent(this);
  FNameEd->SetOnKeyPress([this](TObject*, char32_t& Key) { NameEdKeyPress(Key); });

  FCommentMM = new TWantsAllKeys<TMemo>(this);
  FCommentMM->SetVisible(false);
  FCommentMM->SetParent(this);
  FCommentMM->SetColor(CommentBrush);
  FCommentMM->Font()->SetColor(CommentFont);
  FCommentMM->SetOnKeyPress([this](TObject*, char32_t& Key) { CommentKeyPress(Key); });
}

TMenuItem* TNTabEd::DataItem(int ix) const {
  return FPopupD != nullptr ? FPopupD->Items()->Items(ix - 1) : nullptr;
}

TMenuItem* TNTabEd::HeadingItem(int ix) const {
  return FPopupH != nullptr ? FPopupH->Items()->Items(ix - 1) : nullptr;
}

TMenuItem* TNTabEd::SubItem(int Item, int ix) const {
  TMenuItem* item = DataItem(Item);
  return item != nullptr ? item->Items(ix - 1) : nullptr;
}

// ---- masks and captions -------------------------------------------------------------------------

void TNTabEd::SetPopupDMask(int Value) {
  FPopupDMask = Value;
  for (int k = 1; k <= DataItemCount; ++k) {
    if (TMenuItem* item = DataItem(k)) item->SetEnabled(MaskBit(Value, k));
  }
  ChangedSetup();
}

void TNTabEd::SetPopupHMask(int Value) {
  FPopupHMask = Value;
  for (int k = 1; k <= HeadingItemCount; ++k) {
    if (TMenuItem* item = HeadingItem(k)) item->SetEnabled(MaskBit(Value, k));
  }
  ChangedSetup();
}

TDTNameStr TNTabEd::PopupDCaptions(int ix) const {
  const TMenuItem* item = ix >= 1 && ix <= DataItemCount ? DataItem(ix) : nullptr;
  return item != nullptr ? item->Caption() : TDTNameStr();
}

void TNTabEd::SetPopupDCaptions(int ix, std::string_view Value) {
  if (TMenuItem* item = ix >= 1 && ix <= DataItemCount ? DataItem(ix) : nullptr) item->SetCaption(CaptionText(Value));
}

TDTNameStr TNTabEd::PopupHCaptions(int ix) const {
  const TMenuItem* item = ix >= 1 && ix <= HeadingItemCount ? HeadingItem(ix) : nullptr;
  return item != nullptr ? item->Caption() : TDTNameStr();
}

void TNTabEd::SetPopupHCaptions(int ix, std::string_view Value) {
  if (TMenuItem* item = ix >= 1 && ix <= HeadingItemCount ? HeadingItem(ix) : nullptr) {
    item->SetCaption(CaptionText(Value));
  }
}

// The "Mark" submenus hang under data items 1 and 2, the "Unmark" ones
// under 3 and 4.
TDTNameStr TNTabEd::PopupMCaptions(int ix) const {
  const TMenuItem* item = ix >= 1 && ix <= SubItemCount ? SubItem(1, ix) : nullptr;
  return item != nullptr ? item->Caption() : TDTNameStr();
}

void TNTabEd::SetPopupMCaptions(int ix, std::string_view Value) {
  if (ix < 1 || ix > SubItemCount) return;
  for (int k : {1, 2}) {
    if (TMenuItem* item = SubItem(k, ix)) item->SetCaption(CaptionText(Value));
  }
}

TDTNameStr TNTabEd::PopupUCaptions(int ix) const {
  const TMenuItem* item = ix >= 1 && ix <= SubItemCount ? SubItem(3, ix) : nullptr;
  return item != nullptr ? item->Caption() : TDTNameStr();
}

void TNTabEd::SetPopupUCaptions(int ix, std::string_view Value) {
  if (ix < 1 || ix > SubItemCount) return;
  for (int k : {3, 4}) {
    if (TMenuItem* item = SubItem(k, ix)) item->SetCaption(CaptionText(Value));
  }
}

// ---- opening the menus ------------------------------------------------------------------------------

// "Paste" is offered once a block was copied, unless the data are
// read-only or the mask withholds it.
void TNTabEd::DataPopupOpening() {
  if (FDataCopyAvail && MaskBit(FPopupDMask, ItemPaste)) DataItem(ItemPaste)->SetEnabled(!FReadOnly);
}

void TNTabEd::OpenDataPopup(int X, int Y) {
  if (FPopupD == nullptr) return;
  TDestroyGuard guard(this);
  DataItem(ItemReadOnly)->Bitmap()->LoadFromResourceName(FReadOnly ? "CHECKEDBOX" : "EMPTYBOX");
  RaiseEvent(FOnBeforePopup, this, FPopupD);
  if (guard.Gone() || FPopupD == nullptr) return;
  const TPoint p = ClientToScreen({X + 10, Y - 20});
  FPopupD->Popup(p.X, p.Y);
}

// Items 3..5 act on a column or a row, whichever heading was clicked.
void TNTabEd::PrepareHeadingPopup() {
  const bool column = PopupOverColumn();
  if (MaskBit(FPopupHMask, 2)) HeadingItem(2)->SetEnabled(column);
  HeadingItem(3)->SetEnabled(MaskBit(FPopupHMask, 3));
  HeadingItem(4)->SetEnabled(MaskBit(FPopupHMask, 4) && !FReadOnly);
  HeadingItem(5)->SetEnabled(MaskBit(FPopupHMask, 5) && !FReadOnly);
  HeadingItem(3)->SetCaption(column ? "Select Column" : "Select Row");
  HeadingItem(4)->SetCaption(column ? "Insert Column" : "Insert Row");
  HeadingItem(5)->SetCaption(column ? "Delete Column" : "Delete Row");
  HeadingItem(3)->SetOnClick(Bind(this, column ? &TNTabEd::PopupMenuClickSelectCol : &TNTabEd::PopupMenuClickSelectRow));
  HeadingItem(4)->SetOnClick(Bind(this, column ? &TNTabEd::PopupMenuClickInsertCol : &TNTabEd::PopupMenuClickInsertRow));
  HeadingItem(5)->SetOnClick(Bind(this, column ? &TNTabEd::PopupMenuClickDeleteCol : &TNTabEd::PopupMenuClickDeleteRow));
}

// An inverting frame around the popup cell: drawn once to show which
// heading the menu works on, and once more to take it away.
void TNTabEd::OutlinePopupCell() {
  const TRect cell = CellRect(FPopupCell.X, FPopupCell.Y);
  TCanvas& c = *Canvas();
  c.Pen()->SetMode(pmNot);
  c.Brush()->SetStyle(bsClear);
  c.Rectangle(cell.Left, cell.Top, cell.Right + 1, cell.Bottom + 1);
  c.Pen()->SetMode(pmCopy);
  c.Brush()->SetStyle(bsSolid);
}

void TNTabEd::OpenHeadingPopup() {
  if (FPopupH == nullptr) return;
  PrepareHeadingPopup();
  TDestroyGuard guard(this);
  OutlinePopupCell();
  RaiseEvent(FOnBeforePopup, this, FPopupH);
  if (guard.Gone() || FPopupH == nullptr) return;
  const TRect cell = CellRect(FPopupCell.X, FPopupCell.Y);
  const TPoint p = ClientToScreen({cell.Left + 20, cell.Top + 20});
  FPopupH->Popup(p.X, p.Y);
  if (!guard.Gone()) OutlinePopupCell();
}

// ---- data commands --------------------------------------------------------------------------------

// The selection in table numbering, cut to the table (empty, Left > Right,
// when it lies outside).
TGridRect TNTabEd::TableSelection() const {
  const TGridRect sel = Selection();
  return {std::max(sel.Left - FColOffset, 1), std::max(sel.Top - FRowOffset, 1),
          std::min(sel.Right - FColOffset, NrOfColumns()), std::min(sel.Bottom - FRowOffset, NrOfRows())};
}

void TNTabEd::ChangeMarks(std::uint8_t Bit, bool Set, int Scope) {
  TGridRect block = TableSelection();
  if (Scope == msColumn || Scope == msAll) {
    block.Top = 1;
    block.Bottom = NrOfRows();
  }
  if (Scope == msRow || Scope == msAll) {
    block.Left = 1;
    block.Right = NrOfColumns();
  }
  {
    TBulk bulk(*this);
    for (int r = block.Top; r <= block.Bottom; ++r) {
      for (int c = block.Left; c <= block.Right; ++c) {
        const std::uint8_t s = FData->GetCellState(c, r);
        const auto now = static_cast<std::uint8_t>(Set ? s | Bit : s & ~Bit);
        if (now != s) FData->SetCellState(c, r, now);
      }
    }
  }
  Redraw();
  ChangedCellStates();
}

void TNTabEd::PopupMenuClickMarkARange(TObject*) { ChangeMarks(dtsMarkA, true, msRange); }
void TNTabEd::PopupMenuClickMarkAColumn(TObject*) { ChangeMarks(dtsMarkA, true, msColumn); }
void TNTabEd::PopupMenuClickMarkARow(TObject*) { ChangeMarks(dtsMarkA, true, msRow); }
void TNTabEd::PopupMenuClickMarkAAll(TObject*) { ChangeMarks(dtsMarkA, true, msAll); }
void TNTabEd::PopupMenuClickMarkBRange(TObject*) { ChangeMarks(dtsMarkB, true, msRange); }
void TNTabEd::PopupMenuClickMarkBColumn(TObject*) { ChangeMarks(dtsMarkB, true, msColumn); }
void TNTabEd::PopupMenuClickMarkBRow(TObject*) { ChangeMarks(dtsMarkB, true, msRow); }
void TNTabEd::PopupMenuClickMarkBAll(TObject*) { ChangeMarks(dtsMarkB, true, msAll); }
void TNTabEd::PopupMenuClickUnMarkARange(TObject*) { ChangeMarks(dtsMarkA, false, msRange); }
void TNTabEd::PopupMenuClickUnMarkAColumn(TObject*) { ChangeMarks(dtsMarkA, false, msColumn); }
void TNTabEd::PopupMenuClickUnMarkARow(TObject*) { ChangeMarks(dtsMarkA, false, msRow); }
void TNTabEd::PopupMenuClickUnMarkAAll(TObject*) { ChangeMarks(dtsMarkA, false, msAll); }
void TNTabEd::PopupMenuClickUnMarkBRange(TObject*) { ChangeMarks(dtsMarkB, false, msRange); }
void TNTabEd::PopupMenuClickUnMarkBColumn(TObject*) { ChangeMarks(dtsMarkB, false, msColumn); }
void TNTabEd::PopupMenuClickUnMarkBRow(TObject*) { ChangeMarks(dtsMarkB, false, msRow); }
void TNTabEd::PopupMenuClickUnMarkBAll(TObject*) { ChangeMarks(dtsMarkB, false, msAll); }

void TNTabEd::PopupMenuClickUnMarkAll(TObject*) {
  {
    TBulk bulk(*this);
    FData->UnmarkAllCells();
  }
  Redraw();
  ChangedCellStates();
}

// Every selected cell becomes the number 0, without marks.
void TNTabEd::PopupMenuClickClear(TObject*) {
  const TGridRect block = TableSelection();
  {
    TBulk bulk(*this);
    for (int r = block.Top; r <= block.Bottom; ++r) {
      for (int c = block.Left; c <= block.Right; ++c) {
        FData->SetElem(c, r, 0);
        FData->SetCellState(c, r, 0);
      }
    }
  }
  TDestroyGuard guard(this);
  Redraw();
  RaiseEvent(FOnPaste, this);
  if (guard.Gone()) return;
  ChangedData();
  if (!guard.Gone()) ChangedCellStates();
}

void TNTabEd::PopupMenuClickEdit(TObject*) {
  TDestroyGuard guard(this);
  SetDataReadOnly(!FReadOnly);
  if (!guard.Gone()) ChangedSetup();
}

void TNTabEd::SelectGridBlock(int Left, int Top, int Right, int Bottom) {
  TDestroyGuard guard(this);
  SetSelection({Left, Top, Right, Bottom});
  if (guard.Gone()) return;
  // Reported here, not again by the tracking of the mouse-up that follows.
  FOldSel = Selection();
  Redraw();
  ChangedSelection();
}

void TNTabEd::PopupMenuClickSelAll(TObject*) {
  SelectGridBlock(FColOffset + 1, FRowOffset + 1, NrOfColumns() + FColOffset, NrOfRows() + FRowOffset);
}

void TNTabEd::PopupMenuClickEmptyCells(TObject*) {
  const TGridRect block = TableSelection();
  {
    TBulk bulk(*this);
    for (int r = block.Top; r <= block.Bottom; ++r) {
      for (int c = block.Left; c <= block.Right; ++c) {
        FData->SetCellState(c, r, static_cast<std::uint8_t>(FData->GetCellState(c, r) ^ dtsEmpty));
      }
    }
  }
  Redraw();
  ChangedCellStates();
}

// ---- heading commands -------------------------------------------------------------------------------

void TNTabEd::PopupMenuClickChangeID(TObject*) { OpenHeadingEditor(); }

void TNTabEd::StepPrecision() {
  const int c = FPopupCell.X - FColOffset;
  int p = Precision(c) - 1;
  if (p < -1) p = 10;
  FDecP[static_cast<std::size_t>(c - 1)] = static_cast<std::int8_t>(p);
  Redraw();
}

// Steps the decimal places of the popup column down (10, 9, .., 0, -1,
// 10, ..) and opens the menu again, so that the user can go on stepping.
void TNTabEd::PopupMenuClickPrecision(TObject*) {
  const int c = FPopupCell.X - FColOffset;
  if (!PopupOverColumn() || c > NrOfColumns() || c > static_cast<int>(FDecP.size())) return;
  StepPrecision();
  TDestroyGuard guard(this);
  if (FPopupH != nullptr) {
    // The new figures show while the menu is open again.
    Update();
    if (guard.Gone()) return;
    OutlinePopupCell();
    const TRect cell = CellRect(FPopupCell.X, FPopupCell.Y);
    const TPoint p = ClientToScreen({cell.Left + 20, cell.Top + 20});
    FPopupH->Popup(p.X, p.Y);
    if (guard.Gone()) return;
    OutlinePopupCell();
  }
  ChangedLayout();
}

void TNTabEd::PopupMenuClickSelectCol(TObject*) {
  if (!PopupOverColumn()) return;
  SelectGridBlock(FPopupCell.X, FRowOffset + 1, FPopupCell.X, NrOfRows() + FRowOffset);
}

void TNTabEd::PopupMenuClickSelectRow(TObject*) {
  if (FPopupCell.Y <= FRowOffset) return;
  SelectGridBlock(FColOffset + 1, FPopupCell.Y, NrOfColumns() + FColOffset, FPopupCell.Y);
}

// The new column or row comes before the popup cell's and is named
// "(...)"; inserting reports the change of setup once.
void TNTabEd::PopupMenuClickInsertCol(TObject*) {
  const int c = FPopupCell.X - FColOffset;
  if (!PopupOverColumn() || c > NrOfColumns()) return;
  TDestroyGuard guard(this);
  InsertColumn(c);
  if (guard.Gone()) return;
  {
    TBulk bulk(*this);
    FData->SetColName(c, NewHeadingName);
  }
  Redraw();
}

void TNTabEd::PopupMenuClickInsertRow(TObject*) {
  const int r = FPopupCell.Y - FRowOffset;
  if (r < 1 || r > NrOfRows()) return;
  TDestroyGuard guard(this);
  InsertRow(r);
  if (guard.Gone()) return;
  {
    TBulk bulk(*this);
    FData->SetRowName(r, NewHeadingName);
  }
  Redraw();
}

// Removing reports the change of setup itself: no second report here.
void TNTabEd::PopupMenuClickDeleteCol(TObject*) {
  if (PopupOverColumn()) RemoveColumn(FPopupCell.X - FColOffset);
}

void TNTabEd::PopupMenuClickDeleteRow(TObject*) {
  if (FPopupCell.Y > FRowOffset) RemoveRow(FPopupCell.Y - FRowOffset);
}

// ---- the heading editor -------------------------------------------------------------------------------

// Opens over a name or attribute cell of a data column or row, with the
// current text; never over the corner block or a data cell.
void TNTabEd::OpenHeadingEditor() {
  if (FNameEd == nullptr || FNameEdActive) return;
  const TGridCoord cell = FPopupCell;
  const int c = cell.X - FColOffset;
  const int r = cell.Y - FRowOffset;
  std::string text;
  if (c >= 1 && cell.Y <= FRowOffset && c <= NrOfColumns()) {
    text = cell.Y == 0 ? ColName(c) : std::to_string(ColAttrib(c));
  } else if (r >= 1 && cell.X <= FColOffset && r <= NrOfRows()) {
    text = cell.X == 0 ? RowName(r) : std::to_string(RowAttrib(r));
  } else {
    return;
  }
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  const TRect rect = CellRect(cell.X, cell.Y);
  FNameEd->SetBounds(rect.Left + 30, rect.Top + 5, HeadingEditWidth, FNameEd->Height());
  FNameEd->SetText(text);
  FNameEd->SelectAll();
  FNameEdActive = true;
  FNameEd->Show();
  if (FNameEd->CanFocus()) FNameEd->SetFocus();
}

// Names are stored cut to 50 bytes; attributes only when the text is a
// number, which is brought into 0..255 and rounded.
void TNTabEd::CloseHeadingEditor(bool Store) {
  if (!FNameEdActive) return;
  FNameEdActive = false;
  TDestroyGuard guard(this);
  const std::string text = FNameEd->Text();
  FNameEd->Hide();
  if (guard.Gone()) return;
  if (CanFocus()) SetFocus();
  if (guard.Gone()) return;
  Invalidate();
  if (!Store) return;
  const TGridCoord cell = FPopupCell;
  const bool column = cell.X > FColOffset;
  const int ix = column ? cell.X - FColOffset : cell.Y - FRowOffset;
  const bool name = column ? cell.Y == 0 : cell.X == 0;
  if (name) {
    const std::string cut = CutToBytes(text, DTNameLength);
    if (column) {
      SetColName(ix, cut);
    } else {
      SetRowName(ix, cut);
    }
    return;
  }
  double v = 0;
  if (!NTabReadTypedNumber(text, v)) return;
  const auto attrib = static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
  if (column) {
    SetColAttrib(ix, attrib);
  } else {
    SetRowAttrib(ix, attrib);
  }
  if (!guard.Gone()) ChangedHeading();
}

void TNTabEd::NameEdKeyPress(char32_t& Key) {
  if (Key != U'\r' && Key != 27) return;
  const bool store = Key == U'\r';
  Key = 0;
  CloseHeadingEditor(store);
}

// ---- the comment editor -------------------------------------------------------------------------------

void TNTabEd::OpenCommentEditor() {
  if (FCommentMM == nullptr || FCommentMMActive) return;
  TDestroyGuard guard(this);
  HideEditor();
  if (guard.Gone()) return;
  const int left = TCustomGrid::ColWidths(0);
  FCommentMM->SetBounds(left, 0, std::max(0, Width() - left - 20), CommentHeight);
  FCommentMM->SetText(Comment());
  FCommentMM->SetSelStart(static_cast<int>(FCommentMM->Text().size()));  // typing goes on at the end
  FCommentMM->SetColor(CommentBrush);
  FCommentMM->Font()->SetColor(CommentFont);
  FCommentMMActive = true;
  InvalidateCell(0, 0);
  FCommentMM->Show();
  if (FCommentMM->CanFocus()) FCommentMM->SetFocus();
}

void TNTabEd::CloseCommentEditor(bool Store) {
  if (!FCommentMMActive) return;
  FCommentMMActive = false;
  TDestroyGuard guard(this);
  const std::string text = FCommentMM->Text();
  FCommentMM->Hide();
  if (guard.Gone()) return;
  if (CanFocus()) SetFocus();
  if (guard.Gone()) return;
  if (Store) {
    {
      TBulk bulk(*this);
      FData->SetFComment(text);
    }
    ChangedData();
    if (guard.Gone()) return;
  }
  RedrawCorner();
}

void TNTabEd::CommentKeyPress(char32_t& Key) {
  if (Key != U'\r' && Key != 27) return;
  const bool store = Key == U'\r';
  Key = 0;
  CloseCommentEditor(store);
}

}  // namespace vorn
