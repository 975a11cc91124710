// The table editor's cell editing (text in and out, pick lists of
// category columns), keys and mouse: when editing may start, selection
// reports, and where the popup menus and the heading and comment editors
// open.
#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "vorn/foundation/mathfuncs.h"
#include "vorn/foundation/strutils.h"
#include "vorn/ntabed/ntabed.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/menus.h"

namespace vorn {

namespace {

std::string_view TrimBlanks(std::string_view S) {
  while (!S.empty() && S.front() == ' ') S.remove_prefix(1);
  while (!S.empty() && S.back() == ' ') S.remove_suffix(1);
  return S;
}

// A decimal number with "." as point and nothing else around it; an
// optional leading plus sign. Values that do not fit a double or are not
// finite are refused.
bool ReadDecimal(std::string_view S, double& Value) {
  if (!S.empty() && S.front() == '+') S.remove_prefix(1);
  if (S.empty() || !(std::isdigit(static_cast<unsigned char>(S.front())) || S.front() == '.' || S.front() == '-')) {
    return false;
  }
  double v = 0;
  const auto [end, ec] = std::from_chars(S.data(), S.data() + S.size(), v, std::chars_format::general);
  if (ec != std::errc() || end != S.data() + S.size() || !std::isfinite(v)) return false;
  Value = v;
  return true;
}

}  // namespace

bool NTabReadTypedNumber(std::string_view Text, double& Value) {
  std::string text(Text);
  std::replace(text.begin(), text.end(), ',', '.');
  return ReadDecimal(TrimBlanks(text), Value);
}

// ---- cell editing --------------------------------------------------------------------------------

std::string TNTabEd::GetEditText(int ACol, int ARow) {
  std::string text = EditCellText(ACol - FColOffset, ARow - FRowOffset);
  if (FOnGetEditText) FOnGetEditText(this, ACol, ARow, text);
  return text;
}

// Edited text never raises: what cannot be read marks the cell invalid
// and keeps its value.
void TNTabEd::SetEditText(int ACol, int ARow, const std::string& Value) {
  const int c = ACol - FColOffset;
  const int r = ARow - FRowOffset;
  TDestroyGuard guard(this);
  if (c >= 1 && c <= NrOfColumns() && r >= 1 && r <= NrOfRows()) {
    const std::uint8_t before = FData->GetCellState(c, r);
    bool read = false;
    double v = 0;
    if (IsNominalColumn(c)) {
      const int n = FData->OrdinalOfNominalID(c, Utf8Prefix(Value, NominalIDLength), true);
      if (n > 0) {
        v = n;
        read = true;
      } else if (IsValidDecInt(Value)) {
        v = std::clamp(std::strtod(Value.c_str(), nullptr), -uc_MaxDouble, uc_MaxDouble);
        read = true;
      }
    } else {
      read = NTabReadTypedNumber(Value, v);
    }
    {
      TBulk bulk(*this);
      if (read) FData->SetElem(c, r, v);
      FData->SetCellState(c, r, read ? 0 : dtsInvalid);
    }
    Redraw();
    if (read) ChangedData();
    if (!guard.Gone() && FData->GetCellState(c, r) != before) ChangedCellStates();
  }
  if (guard.Gone()) return;
  TCustomGrid::SetEditText(ACol, ARow, Value);
  if (FOnSetEditText) FOnSetEditText(this, ACol, ARow, Value);
}

TEditStyle TNTabEd::GetEditStyle(int ACol, int) {
  return IsNominalColumn(ACol - FColOffset) ? esPickList : esSimple;
}

TInplaceEdit* TNTabEd::CreateEditor() {
  auto* editor = new TInplaceEditList(this);
  editor->SetDropDownRows(FDropdownCount);
  editor->SetOnGetPickListItems([this](int ACol, int, std::vector<std::string>& Items) { PickListItems(ACol, Items); });
  return editor;
}

void TNTabEd::PickListItems(int ACol, std::vector<std::string>& Items) const {
  const int c = ACol - FColOffset;
  Items.clear();
  for (int v = 1; v <= MaxNominalID; ++v) {
    std::string id = FData->GetNominalID(c, v);
    if (!id.empty()) Items.push_back(std::move(id));
  }
}

void TNTabEd::SetEditingOption(bool On) {
  TGridOptions options = Options();
  if (On) {
    options.Include(goEditing);
  } else {
    options.Exclude(goEditing);
  }
  SetOptions(options);
}

void TNTabEd::SyncEditingOption() { SetEditingOption(!FReadOnly); }

// ---- keys --------------------------------------------------------------------------------------

void TNTabEd::WMGetDlgCode(TMessage& Message) {
  TCustomGrid::WMGetDlgCode(Message);
  Message.Result |= DLGC_WANTTAB;
}

void TNTabEd::KeyPress(char32_t& Key) {
  const char32_t pressed = Key;
  TDestroyGuard guard(this);
  TCustomGrid::KeyPress(Key);
  if (guard.Gone()) return;
  // Enter (which the grid may have taken to open or close the cell
  // editor) moves the cursor on.
  if (FAutoAdvance && pressed == U'\r' && (Key == 0 || Key == U'\r')) {
    Word next = FAutoAdvDir == orDown ? VK_DOWN : VK_RIGHT;
    KeyDown(next, {});
    if (guard.Gone()) return;
  }
  // Escape drops the typed text and keeps typing from reopening the editor.
  if (pressed == 27 && InplaceEditor() != nullptr) {
    CancelEditor();
    if (!guard.Gone()) SetEditingOption(false);
  }
}

void TNTabEd::KeyDown(Word& Key, TShiftState Shift) {
  TDestroyGuard guard(this);
  TCustomGrid::KeyDown(Key, Shift);
  if (guard.Gone()) return;
  FOldSel = Selection();
  ChangedSelection();
  if (guard.Gone()) return;
  RedrawCorner();
  Invalidate();
}

// ---- mouse -------------------------------------------------------------------------------------

// After the grid scrolled by the wheel: the corner and the selection report.
bool TNTabEd::WheelScrolled(bool Result) {
  TDestroyGuard guard(this);
  RedrawCorner();
  FOldSel = Selection();
  ChangedSelection();
  if (!guard.Gone()) Invalidate();
  return Result;
}

bool TNTabEd::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  TDestroyGuard guard(this);
  const bool result = TCustomGrid::DoMouseWheelDown(Shift, MousePos);
  return guard.Gone() ? result : WheelScrolled(result);
}

bool TNTabEd::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  TDestroyGuard guard(this);
  const bool result = TCustomGrid::DoMouseWheelUp(Shift, MousePos);
  return guard.Gone() ? result : WheelScrolled(result);
}

void TNTabEd::MouseMove(TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TCustomGrid::MouseMove(Shift, X, Y);
  if (!guard.Gone()) TrackSelection();
}

void TNTabEd::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  TCustomGrid::MouseUp(Button, Shift, X, Y);
  if (guard.Gone()) return;
  SyncEditingOption();
  // A click without a move changes the selection too.
  if (!guard.Gone()) TrackSelection();
}

void TNTabEd::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDestroyGuard guard(this);
  if (FCommentMMActive) {
    TCustomGrid::MouseDown(Button, Shift, X, Y);
    if (guard.Gone()) return;
    FPopupCell = MouseCoord(X, Y);
    if (FPopupCell == TGridCoord{0, 0}) CloseCommentEditor(false);
    return;
  }
  if (FNameEdActive) return;
  const TGridCoord previous = MouseCoord(FPrevClick.X, FPrevClick.Y);
  FPopupCell = MouseCoord(X, Y);
  if (!(previous == FPopupCell)) SetEditingOption(false);
  if (guard.Gone()) return;
  TCustomGrid::MouseDown(Button, Shift, X, Y);
  if (guard.Gone()) return;
  Invalidate();
  if (X <= 0 || X >= GridWidth() || Y <= 0 || Y >= GridHeight()) return;
  FPrevClick = {X, Y};
  const TGridCoord cell = FPopupCell;
  if (cell.X < 0 || cell.Y < 0) return;
  const bool builtInPopup = Button == mbRight && PopupMenu() == nullptr && !FBlockIntPopup;
  if (cell.X > FColOffset && cell.Y > FRowOffset) {
    if (previous == cell && !FReadOnly) SetEditingOption(true);
    if (guard.Gone()) return;
    if (builtInPopup) {
      OpenDataPopup(X, Y);
    } else if (Button == mbLeft) {
      RedrawCorner();
    }
    return;
  }
  if (cell.X == 0 && cell.Y == 0 && Button == mbRight && !FBlockIntPopup && FCommEdAllowed) OpenCommentEditor();
  if (guard.Gone()) return;
  if ((cell.X > FColOffset || cell.Y > FRowOffset) && builtInPopup) OpenHeadingPopup();
}

void TNTabEd::TopLeftChanged() {
  TDestroyGuard guard(this);
  TCustomGrid::TopLeftChanged();
  if (guard.Gone()) return;
  TrackSelection();
  if (!guard.Gone()) RaiseEvent(FOnTopLeftChanged, this);
}

void TNTabEd::TrackSelection() {
  const TGridRect sel = Selection();
  if (sel == FOldSel) return;
  FOldSel = sel;
  ChangedSelection();
}

// The corner shows the current cell; it follows the cursor at once.
void TNTabEd::RedrawCorner() { InvalidateCell(0, 0); }

}  // namespace vorn
