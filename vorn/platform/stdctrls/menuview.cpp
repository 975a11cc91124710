#include "vorn/platform/stdctrls/menuview.h"

#include <algorithm>

#include "vorn/platform/graphics/drawtext.h"
#include "vorn/platform/runtime/host.h"

namespace vorn {

namespace {

TMenuTracker* gActiveTracker = nullptr;

constexpr int kFrame = 2;        // border around the rows
constexpr int kTextLeft = 26;    // caption start: room for the image
constexpr int kArrowRoom = 18;   // room for the submenu arrow

bool IsLive(const TMenuItem* Item) { return Item->Enabled() && !Item->IsLine(); }
bool HasSubmenu(const TMenuItem* Item) { return Item->Count() > 0; }

// A disabled item's image: its dark pixels in the shadow colour, over a
// light copy one pixel down and right, the rest left out.
void DrawDisabledImage(TCanvas& C, const TBitmap& Image, int X, int Y) {
  const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
  const TColor key = Image.Transparent() ? ColorToRGB(Image.TransparentColor()) : TColor{-1};  // -1: no pixel has it
  for (int pass = 0; pass < 2; ++pass) {
    const int d = pass == 0 ? 1 : 0;
    for (int y = 0; y < Image.Height(); ++y) {
      const TPixel* row = Image.ScanLine(y);
      for (int x = 0; x < Image.Width(); ++x) {
        const TColor c = PixelToColor(row[x] & 0xFFFFFF);
        if (c == key) continue;
        const int lum = (GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c)) / 10;
        if (lum < 128) C.SetPixels(X + x + d, Y + y + d, pass == 0 ? light : shadow);
      }
    }
  }
}

}  // namespace

// ---- one level ----------------------------------------------------------------------------

TMenuView::TMenuView(TMenuTracker& Tracker, TMenuItem& Parent, int Level)
    : TForm(nullptr), FTracker(Tracker), FParentItem(&Parent), FLevel(Level) {
  Font()->SetName("Tahoma");
  Font()->SetSize(9);
  SetBorderStyle(bsNone);
  TCanvas measure;
  measure.SetFont(Font());
  FRowHeight = std::max(ImageSize + 4, measure.TextHeight("Ag") + 8);
  int width = 120, height = 2 * kFrame;
  for (int i = 0; i < Parent.Count(); ++i) {
    TMenuItem* item = Parent.Items(i);
    if (!item->Visible()) continue;
    FItems.push_back(item);
    FreeNotification(item);
    width = std::max(width, kTextLeft + measure.TextWidth(item->Caption()) + kArrowRoom + 8);
    height += item->IsLine() ? SeparatorHeight : FRowHeight;
  }
  FreeNotification(&Parent);
  SetBounds(0, 0, width, std::max(height, 2 * kFrame + 1));
}

void TMenuView::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  const bool shown = std::find(FItems.begin(), FItems.end(), AComponent) != FItems.end();
  if (AComponent != FParentItem && !shown) return;
  // The level lets go of every item, not only the one deleted: the items
  // of a deleted menu go one by one.
  for (TMenuItem* other : FItems) {
    if (other != AComponent) RemoveFreeNotification(other);
  }
  if (FParentItem != nullptr && FParentItem != AComponent) RemoveFreeNotification(FParentItem);
  FItems.clear();
  FParentItem = nullptr;
  FHot = -1;
  Invalidate();
  FTracker.ItemGone(AComponent);
}

TMenuItem* TMenuView::Item(int Index) const {
  if (Index < 0 || Index >= ItemCount()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)];
}

TRect TMenuView::ItemRect(int Index) const {
  int top = kFrame;
  for (int i = 0; i < ItemCount(); ++i) {
    const int h = FItems[static_cast<std::size_t>(i)]->IsLine() ? SeparatorHeight : FRowHeight;
    if (i == Index) return {kFrame, top, Width() - kFrame, top + h};
    top += h;
  }
  return {0, 0, 0, 0};
}

int TMenuView::ItemAt(int X, int Y) const {
  for (int i = 0; i < ItemCount(); ++i) {
    if (ItemRect(i).Contains({X, Y})) return FItems[static_cast<std::size_t>(i)]->IsLine() ? -1 : i;
  }
  return -1;
}

void TMenuView::SetHot(int Index) {
  if (Index < -1 || Index >= ItemCount()) Index = -1;
  if (Index == FHot) return;
  FHot = Index;
  Invalidate();
}

void TMenuView::StepHot(int Step) {
  const int n = ItemCount();
  int i = FHot;
  for (int tries = 0; tries < n; ++tries) {
    i = i < 0 ? (Step > 0 ? 0 : n - 1) : (i + Step + n) % n;
    if (!FItems[static_cast<std::size_t>(i)]->IsLine()) {
      SetHot(i);
      return;
    }
  }
}

void TMenuView::MouseMove(TShiftState Shift, int X, int Y) {
  const int at = ItemAt(X, Y);
  if (at >= 0 && at != FHot) {
    SetHot(at);
    TMenuItem* item = Item(at);
    if (HasSubmenu(item) && item->Enabled()) {
      FTracker.OpenSubmenu(FLevel, at, false);
    } else {
      FTracker.CloseAbove(FLevel);
    }
  }
  TForm::MouseMove(Shift, X, Y);
}

void TMenuView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TForm::MouseUp(Button, Shift, X, Y);
  TMenuItem* item = Item(ItemAt(X, Y));
  if (item == nullptr || !IsLive(item)) return;
  if (HasSubmenu(item)) {
    FTracker.OpenSubmenu(FLevel, ItemAt(X, Y), false);
  } else {
    FTracker.Choose(item);
  }
}

void TMenuView::Paint() {
  TCanvas& c = *Canvas();
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(clMenu);
  c.Pen()->SetColor(clBtnShadow);
  c.Rectangle(0, 0, Width(), Height());
  c.SetFont(Font());
  for (int i = 0; i < ItemCount(); ++i) PaintItem(c, i);
}

void TMenuView::PaintItem(TCanvas& C, int Index) {
  TMenuItem* item = FItems[static_cast<std::size_t>(Index)];
  const TRect r = ItemRect(Index);
  if (item->IsLine()) {
    const int y = (r.Top + r.Bottom) / 2;
    C.Pen()->SetColor(clBtnShadow);
    C.MoveTo(r.Left + 2, y);
    C.LineTo(r.Right - 2, y);
    C.Pen()->SetColor(clBtnHighlight);
    C.MoveTo(r.Left + 2, y + 1);
    C.LineTo(r.Right - 2, y + 1);
    return;
  }
  const bool hot = Index == FHot;
  const bool enabled = item->Enabled();
  C.Brush()->SetStyle(bsSolid);
  C.Brush()->SetColor(hot ? clHighlight : clMenu);
  C.FillRect(r);
  const int imageX = r.Left + 4, imageY = r.Top + (r.Height() - ImageSize) / 2;
  const TBitmap* image = item->Bitmap();
  if (image != nullptr && !image->Empty()) {
    const int x = imageX + (ImageSize - std::min(ImageSize, image->Width())) / 2;
    const int y = r.Top + (r.Height() - std::min(r.Height(), image->Height())) / 2;
    if (enabled) {
      C.Draw(x, y, image);
    } else {
      DrawDisabledImage(C, *image, x, y);
    }
  } else if (item->Checked()) {
    // A tick in the image's place.
    C.Pen()->SetColor(enabled ? (hot ? clHighlightText : clMenuText) : clGrayText);
    for (int d = 0; d < 3; ++d) {
      C.MoveTo(imageX + 3, imageY + 7 + d);
      C.LineTo(imageX + 6, imageY + 10 + d);
      C.LineTo(imageX + 12, imageY + 4 + d);
    }
  }
  TRect text{r.Left + kTextLeft, r.Top, r.Right - kArrowRoom, r.Bottom};
  C.Brush()->SetStyle(bsClear);
  if (!enabled && !hot) {
    // Disabled: embossed, a light copy under the grey text.
    TRect shadow = text;
    shadow.Left += 1;
    shadow.Top += 1;
    shadow.Right += 1;
    shadow.Bottom += 1;
    C.Font()->SetColor(clBtnHighlight);
    DrawText(C, item->Caption(), shadow, DT_SINGLELINE | DT_VCENTER);
  }
  C.Font()->SetColor(!enabled ? clGrayText : hot ? clHighlightText : clMenuText);
  DrawText(C, item->Caption(), text, DT_SINGLELINE | DT_VCENTER);
  if (HasSubmenu(item)) {
    const int cx = r.Right - 10, cy = (r.Top + r.Bottom) / 2;
    const TColor arrow = !enabled ? clGrayText : hot ? clHighlightText : clMenuText;
    C.Pen()->SetColor(arrow);
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(arrow);
    const TPoint pts[3] = {{cx - 2, cy - 4}, {cx - 2, cy + 4}, {cx + 2, cy}};
    C.Polygon(pts);
  }
}

// ---- the chain of levels ----------------------------------------------------------------------

TMenuTracker::TMenuTracker(TPopupMenu& Menu, int X, int Y) : FOuter(gActiveTracker) {
  gActiveTracker = this;
  auto root = std::make_unique<TMenuView>(*this, *Menu.Items(), 0);
  if (Menu.Alignment() == paRight) X -= root->Width();
  if (Menu.Alignment() == paCenter) X -= root->Width() / 2;
  // Kept on the screen: moved left or up where it would run off.
  const int sw = CurrentHost().ScreenWidth(), sh = CurrentHost().ScreenHeight();
  if (X + root->Width() > sw) X = std::max(0, sw - root->Width());
  if (Y + root->Height() > sh) Y = std::max(0, sh - root->Height());
  X = std::max(0, X);
  root->SetBounds(X, Y, root->Width(), root->Height());
  root->Show();
  FLevels.push_back(std::move(root));
}

TMenuTracker::~TMenuTracker() {
  FLevels.clear();
  gActiveTracker = FOuter;
}

TMenuTracker* TMenuTracker::Active() { return gActiveTracker; }

TMenuView* TMenuTracker::Level(int Index) const {
  if (Index < 0 || Index >= LevelCount()) return nullptr;
  return FLevels[static_cast<std::size_t>(Index)].get();
}

bool TMenuTracker::Owns(const TCustomForm* Form) const {
  return std::any_of(FLevels.begin(), FLevels.end(), [Form](const auto& v) { return v.get() == Form; });
}

void TMenuTracker::CloseAbove(int LevelIndex) {
  while (LevelCount() > LevelIndex + 1) FLevels.pop_back();
}

void TMenuTracker::OpenSubmenu(int LevelIndex, int Index, bool SelectFirst) {
  TMenuView* level = Level(LevelIndex);
  if (level == nullptr || FDone) return;
  TMenuItem* item = level->Item(Index);
  if (item == nullptr || !IsLive(item) || !HasSubmenu(item)) return;
  level->SetHot(Index);
  if (LevelCount() > LevelIndex + 1 && Level(LevelIndex + 1)->ParentItem() == item) {
    if (SelectFirst && Level(LevelIndex + 1)->Hot() < 0) Level(LevelIndex + 1)->StepHot(1);
    return;
  }
  CloseAbove(LevelIndex);
  auto sub = std::make_unique<TMenuView>(*this, *item, LevelIndex + 1);
  const TRect row = level->ItemRect(Index);
  int x = level->Left() + level->Width() - 3;
  if (x + sub->Width() > CurrentHost().ScreenWidth()) x = std::max(0, level->Left() - sub->Width() + 3);
  int y = level->Top() + row.Top - kFrame;
  if (y + sub->Height() > CurrentHost().ScreenHeight()) y = std::max(0, CurrentHost().ScreenHeight() - sub->Height());
  sub->SetBounds(x, y, sub->Width(), sub->Height());
  if (SelectFirst) sub->StepHot(1);
  sub->Show();
  FLevels.push_back(std::move(sub));
}

void TMenuTracker::KeyDown(Word Key) {
  if (FDone || FLevels.empty()) return;
  const int deepest = LevelCount() - 1;
  TMenuView* level = Level(deepest);
  TMenuItem* hot = level->Item(level->Hot());
  switch (Key) {
    case VK_DOWN: level->StepHot(1); break;
    case VK_UP: level->StepHot(-1); break;
    case VK_RIGHT:
      if (hot != nullptr && HasSubmenu(hot)) OpenSubmenu(deepest, level->Hot(), true);
      break;
    case VK_LEFT:
      if (deepest > 0) CloseAbove(deepest - 1);
      break;
    case VK_ESCAPE:
      if (deepest > 0) {
        CloseAbove(deepest - 1);
      } else {
        Cancel();
      }
      break;
    case VK_RETURN:
    case VK_SPACE:
      if (hot == nullptr || !IsLive(hot)) break;
      if (HasSubmenu(hot)) {
        OpenSubmenu(deepest, level->Hot(), true);
      } else {
        Choose(hot);
      }
      break;
    default: break;
  }
}

void TMenuTracker::ItemGone(const TComponent* Item) {
  if (FChosen == Item) FChosen = nullptr;
  if (!FDone) Cancel();
}

void TMenuTracker::Cancel() {
  FChosen = nullptr;
  Finish();
}

void TMenuTracker::Choose(TMenuItem* Item) {
  FChosen = Item;
  Finish();
}

// Hides every level; the forms go when the tracker does, since a level may
// be the one whose input handler is running now.
void TMenuTracker::Finish() {
  FDone = true;
  for (auto& level : FLevels) level->Hide();
}

}  // namespace vorn
