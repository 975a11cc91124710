// The report list view's drawing: data cells (bands, selection, highlight,
// disabled rows, truncation, check marks, password masks), the common
// header, the column headers with their sort arrow, the empty-table
// message and the inter-row indicator.
#include <algorithm>
#include <cmath>

#include "vorn/foundation/strutils.h"
#include "vorn/replist/replistview.h"

namespace vorn {

namespace {

constexpr TColor EdgeWhite = static_cast<TColor>(0xFFFFFF);
constexpr TColor EdgeGrey = static_cast<TColor>(0x808080);
constexpr TColor EdgeBlack = static_cast<TColor>(0x000000);
constexpr TColor SysInactiveCaption = static_cast<TColor>(0xFF000003);
constexpr TColor SysButtonShadow = static_cast<TColor>(0xFF000010);

// Byte offsets of the UTF-8 characters of S, plus S.size() at the end.
std::vector<std::size_t> CharStarts(std::string_view S) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < S.size(); ++i) {
    if ((static_cast<unsigned char>(S[i]) & 0xC0) != 0x80) starts.push_back(i);
  }
  starts.push_back(S.size());
  return starts;
}

int CharCount(std::string_view S) { return static_cast<int>(CharStarts(S).size()) - 1; }

std::string Head(std::string_view S, int Chars) {
  const auto starts = CharStarts(S);
  const auto k = static_cast<std::size_t>(std::clamp(Chars, 0, static_cast<int>(starts.size()) - 1));
  return std::string(S.substr(0, starts[k]));
}

std::string Tail(std::string_view S, int Chars) {
  const auto starts = CharStarts(S);
  const int n = static_cast<int>(starts.size()) - 1;
  const auto k = static_cast<std::size_t>(n - std::clamp(Chars, 0, n));
  return std::string(S.substr(starts[k]));
}

std::string_view WithoutFirstChar(std::string_view S) {
  std::size_t i = S.empty() ? 0 : 1;
  while (i < S.size() && (static_cast<unsigned char>(S[i]) & 0xC0) == 0x80) ++i;
  return S.substr(i);
}

int RoundInt(double V) { return static_cast<int>(std::nearbyint(V)); }

void Line(TCanvas& C, TColor Color, std::initializer_list<TPoint> Points) {
  C.Pen()->SetColor(Color);
  const TPoint* p = Points.begin();
  C.MoveTo(p->X, p->Y);
  for (++p; p != Points.end(); ++p) C.LineTo(p->X, p->Y);
}

// X of a text of width W in [Left, Right) by alignment.
int AlignedX(TAlignment A, int Left, int Right, int W) {
  switch (A) {
    case taRightJustify: return Right - W;
    case taCenter: return (Left + Right) / 2 - W / 2;
    default: return Left;
  }
}

std::vector<std::string> SplitAt(std::string_view S, char Delimiter) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = S.find(Delimiter, start);
    parts.emplace_back(S.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

void TReportListView::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas& c = *Canvas();
  TRect b = ARect;
  if (!AState.Contains(gdFixed)) {
    if (!Options().Contains(goVertLine)) ++b.Right;
    if (!Options().Contains(goHorzLine)) ++b.Bottom;
  }
  TRect t{ARect.Left + 4, ARect.Top + 2, ARect.Right - 5, ARect.Bottom};
  c.SetFont(Font());
  c.Brush()->SetStyle(bsSolid);
  c.Pen()->SetWidth(1);
  c.Pen()->SetStyle(psSolid);
  if (ARow >= FixedRows()) {
    if (!DrawDataCell(c, ACol, ARow, b, t)) return;
  } else if (AState.Contains(gdFixed)) {
    if (FComHdVis && ARow == 0) {
      DrawCommonHeader(c, b, t, HeaderEnd());
    } else if (FColHdVis && ARow == ColumnHeaderGridRow()) {
      DrawColumnHeader(c, ACol, b, t, HeaderEnd());
    }
  }
  TCustomDrawGrid::DrawCell(ACol, ARow, t, AState);
}

bool TReportListView::DrawDataCell(TCanvas& C, int ACol, int ARow, const TRect& B, TRect& T) {
  const int row = TableRowOf(ARow);
  const int col = TableColOf(ACol);
  const bool pwd = ColumnIsPwd(col);
  std::string text = pwd ? std::string("******") : std::string(FRLData->Strings()->StringView(col, row));
  if (pwd && ColumnCheckMode(col) != cmNone) {
    // The mask hides the value, not the check mark.
    const std::string_view stored = FRLData->Strings()->StringView(col, row);
    text = stored.empty() ? std::string() : Head(stored, 1) + "******";
  }

  TColor fontColor = FColorNormal;
  TColor brush = FRColorNormal;
  if (FRowColPattern > 0 && ((ARow - FixedRows()) / FRowColPattern) % 2 == 0) brush = FRColorShaded;
  TFontStyles styles;
  const std::uint8_t attrib = RowAttrib(row);
  const bool disabledRow = (attrib & RowDisabledBit) != 0;
  if (FEnabled) {
    if (disabledRow) {
      brush = FDisabledBkgdColor;
      fontColor = FDisabledTextColor;
    } else {
      const bool colSelected = (FRLData->Strings()->GetColAttrib(col) & ColSelectedBit) != 0;
      const bool rowSelected = (attrib & RowSelectedBit) != 0;
      if (colSelected && rowSelected) {
        brush = FSelBothColor;
        fontColor = FSelBothTextColor;
      } else if (colSelected) {
        brush = FSelColColor;
        fontColor = FSelColTextColor;
      } else if (rowSelected) {
        brush = FSelRowColor;
        fontColor = FSelRowTextColor;
      }
      if ((FHiLgtRow != 0 && row == FHiLgtRow) || (FHiLgtColumn != 0 && col == FHiLgtColumn)) {
        brush = FHiLgtColor;
        fontColor = FHiLgtTextColor;
        if (FHiLgtBold) styles.Include(fsBold);
      }
    }
  }
  if (ACol < FixedCols()) brush = FColHdColor;
  if (!FEnabled) fontColor = SysInactiveCaption;

  TColor pen = brush;
  TDestroyGuard guard(this);
  RaiseEvent(FOnBefRenderCell, this, col, row, pen, brush, fontColor, styles, text);
  if (guard.Gone()) return false;
  C.Font()->SetStyle(styles);
  C.Font()->SetColor(fontColor);
  C.Brush()->SetColor(brush);

  const TCheckMode mode = ColumnCheckMode(col);
  const bool italic = styles.Contains(fsItalic) || Font()->Style().Contains(fsItalic);
  // The width of the cell being drawn (the column order may differ from
  // the identity, so the table column's own width could be another one).
  const int cellWidth = TCustomGrid::ColWidths(ACol);
  const int tw = C.TextWidth(WithoutFirstChar(text));
  const int avail = cellWidth - (mode != cmNone ? 16 : 0) - 9;
  if (tw > avail && tw > 0) {
    const int k = std::max(1, RoundInt(static_cast<double>(CharCount(text)) * avail / tw - 4));
    text = ColumnAlignment(col) == taRightJustify ? Head(text, 1) + "..." + Tail(text, k) : Head(text, k) + "...";
  }

  C.Pen()->SetColor(brush);
  C.Pen()->SetWidth(1);
  C.Rectangle(B);
  C.Pen()->SetColor(pen);

  auto drawText = [&](const std::string& Shown) {
    const int w = C.TextWidth(Shown) + (italic ? 2 : 0);
    C.TextRect(T, AlignedX(ColumnAlignment(col), T.Left, T.Right, w), T.Top - 1, Shown);
  };
  if (mode == cmNone) {
    drawText(text);
  } else if (CharCount(text) > 1 || FShowEmptyCBx) {
    T.Left += 16;
    const bool checked = !text.empty() && text[0] != ' ';
    drawText(std::string(WithoutFirstChar(text)));
    DrawCheckMark(C, B, mode == cmRadio, checked, pen, fontColor, disabledRow);
  }

  if (ACol < FixedCols()) {
    Line(C, EdgeWhite, {{B.Left, B.Bottom - 1}, {B.Left, B.Top}, {B.Right - 1, B.Top}});
    Line(C, EdgeGrey, {{B.Left, B.Bottom - 1}, {B.Right - 1, B.Bottom - 1}});
  }
  return true;
}

void TReportListView::DrawCheckMark(TCanvas& C, const TRect& B, bool Radio, bool Checked, TColor PenColor,
                                    TColor FontColor, bool DisabledRow) {
  const int l = B.Left;
  const int u = B.Top;
  if (!FROCheckMarks) {
    C.Pen()->SetColor(!FEnabled ? SysInactiveCaption : DisabledRow ? PenColor : SysButtonShadow);
    if (Radio) {
      C.Ellipse(l + 4, u + 4, l + 15, u + 15);
    } else {
      C.Rectangle(l + 4, u + 4, l + 15, u + 15);
    }
  }
  if (!Checked) return;
  const TColor mark = FEnabled ? FontColor : SysInactiveCaption;
  if (Radio) {
    Line(C, mark, {{l + 8, u + 7}, {l + 11, u + 7}});
    for (int i = 0; i < 3; ++i) Line(C, mark, {{l + 7, u + 8 + i}, {l + 12, u + 8 + i}});
    Line(C, mark, {{l + 8, u + 11}, {l + 11, u + 11}});
    return;
  }
  for (int i = 0; i < 3; ++i) {
    Line(C, mark, {{l + 6, u + 8 + i}, {l + 9, u + 11 + i}});
    Line(C, mark, {{l + 8, u + 10 + i}, {l + 13, u + 5 + i}});
  }
}

// The right edge of the header area: the last shown column's right edge.
int TReportListView::HeaderEnd() const {
  int end = 0;
  for (int c = TCustomGrid::LeftCol(); c < ColCount(); ++c) {
    if (TCustomGrid::ColWidths(c) == 0) continue;
    const TRect r = CellRect(c, 0);
    if (r.IsEmpty()) break;
    end = r.Right;
  }
  return std::min(end, Width() - (VertScrollBarVisible() ? ScrollBarSize : 0));
}

void TReportListView::DrawCommonHeader(TCanvas& C, const TRect& B, const TRect& T, int XEnd) {
  C.Font()->SetColor(FComHdTxtColor);
  C.Brush()->SetColor(FComHdColor);
  const std::string& header = CommonHeader();
  const int h = C.TextHeight(header);
  const auto lines = SplitAt(header, '\n');
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int w = C.TextWidth(lines[i]);
    const int x = FHeaderAlignment == taLeftJustify ? 4 : FHeaderAlignment == taRightJustify ? XEnd - w - 5 : XEnd / 2 - w / 2;
    const int y = T.Top + static_cast<int>(i) * h;
    const TRect area = i == 0 ? TRect{0, B.Top, XEnd, B.Bottom}
                              : TRect{0, std::min(B.Bottom, y), XEnd, std::min(B.Bottom, y + h)};
    C.TextRect(area, x, y, lines[i]);
  }
  Line(C, EdgeWhite, {{0, B.Bottom - 1}, {0, B.Top}, {XEnd, B.Top}});
  Line(C, EdgeGrey, {{1, B.Bottom - 1}, {XEnd - 1, B.Bottom - 1}, {XEnd - 1, B.Top}});
  Line(C, EdgeBlack, {{XEnd, B.Bottom - 1}, {XEnd, B.Top - 1}});
}

void TReportListView::DrawColumnHeader(TCanvas& C, int ACol, const TRect& B, const TRect& T, int XEnd) {
  const int col = TableColOf(ACol);
  C.Brush()->SetColor(FColHdColor);
  C.Font()->SetColor(FColHdTxtColor);
  const std::string name = Header(col);
  const int h = C.TextHeight(name);
  const bool sorted = col == LastSortColumn();
  const bool italic = Font()->Style().Contains(fsItalic);
  const int cellWidth = TCustomGrid::ColWidths(ACol);
  const int avail = cellWidth - (sorted ? 13 : 0) - 9;
  const TAlignment align = ColumnAlignment(col);
  const auto lines = SplitAt(name, '\n');
  int arrow = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    int w = C.TextWidth(line) + (italic ? 2 : 0);
    if (w > avail && w > 0) {
      line = Head(line, std::max(1, RoundInt(static_cast<double>(CharCount(line)) * avail / w - 3))) + "...";
      w = C.TextWidth(line) + (italic ? 2 : 0);
    }
    const int x = AlignedX(align, T.Left, T.Right, w);
    const int y = T.Top + static_cast<int>(i) * h;
    const TRect area = i == 0 ? B : TRect{B.Left, std::min(B.Bottom, y), B.Right, std::min(B.Bottom, y + h)};
    C.TextRect(area, x, y, line);
    if (i == 0) {
      arrow = align == taLeftJustify    ? w + 10
              : align == taRightJustify ? T.Right - T.Left - w - 11
                                        : (T.Right - T.Left) / 2 + w / 2 + 10;
    }
  }
  if (sorted) {
    arrow = std::min(arrow, cellWidth - 11);
    const int x = T.Left + arrow;
    const int y = T.Top + h / 2;
    if (LastSortOrder()) {
      Line(C, EdgeGrey, {{x - 4, y + 3}, {x, y - 3}});
      Line(C, EdgeWhite, {{x, y - 3}, {x + 4, y + 3}, {x - 4, y + 3}});
    } else {
      Line(C, EdgeWhite, {{x + 4, y - 3}, {x, y + 3}});
      Line(C, EdgeGrey, {{x, y + 3}, {x - 4, y - 3}, {x + 4, y - 3}});
    }
  }
  Line(C, EdgeWhite, {{B.Left, B.Bottom - 1}, {B.Left, B.Top}, {XEnd, B.Top}});
  Line(C, EdgeGrey, {{B.Left + 1, B.Bottom - 1}, {XEnd - 1, B.Bottom - 1}, {XEnd - 1, B.Top}});
}

void TReportListView::Paint() {
  if (FSuppressPaint) return;
  TDestroyGuard guard(this);
  TCustomDrawGrid::Paint();
  if (guard.Gone()) return;  // an OnDrawCell or OnBeforeRenderCell deleted the view
  TCanvas& c = *Canvas();
  if (FComHdVis) RepaintCommonHeader(c);
  if (NrOfRows() == 0) PaintEmptyMessage(c);
  PaintInterRowIndicator(c);
}

// The common header spans the columns; drawn once more after the grid's
// lines so that no column divider crosses it.
void TReportListView::RepaintCommonHeader(TCanvas& C) {
  const int xEnd = HeaderEnd();
  if (xEnd <= 0 || RowHeights(0) <= 0) return;
  const TRect b{0, 0, xEnd, RowHeights(0)};
  const TRect t{b.Left + 4, b.Top + 2, b.Right - 5, b.Bottom};
  C.SetFont(Font());
  C.Brush()->SetStyle(bsSolid);
  C.Pen()->SetWidth(1);
  DrawCommonHeader(C, b, t, xEnd);
}

void TReportListView::PaintEmptyMessage(TCanvas& C) {
  int y = 0;
  for (int r = 0; r < FixedRows(); ++r) y += RowHeights(r) + 1;
  C.Pen()->SetWidth(1);
  C.Pen()->SetColor(Color());
  C.Brush()->SetStyle(bsSolid);
  C.Brush()->SetColor(Color());
  C.Rectangle(0, y, Width(), Height());
  if (FEmptyMsg.empty()) return;
  C.SetFont(Font());
  C.Font()->SetColor(FColorEmptyMsg);
  const int h = C.TextHeight(FEmptyMsg);
  const auto lines = SplitAt(FEmptyMsg, '|');
  const int y0 = y - h * static_cast<int>(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    C.TextOut((Width() - C.TextWidth(lines[i])) / 2, y0 + (Height() - y0 - h) / 2 + h * static_cast<int>(i) - 2,
              lines[i]);
  }
}

// The line lies on the upper edge of data row P: the header heights plus
// one row height and line per shown row above P from the top row on.
void TReportListView::PaintInterRowIndicator(TCanvas& C) {
  const int p = FInterRowIndi;
  const int top = TopRow();
  if (p == 0 || p < top || p > NrOfRows() + 1) return;
  int y = 0;
  for (int r = 0; r < FixedRows(); ++r) y += RowHeights(r);
  for (int r = top; r < p && y <= Height(); ++r) {
    if (!RowFiltered(r)) y += DefaultRowHeight() + 1;
  }
  C.Pen()->SetColor(FInterRowColor);
  C.Pen()->SetWidth(FInterRowWidth);
  C.MoveTo(0, y);
  C.LineTo(Width(), y);
  C.Pen()->SetWidth(1);
}

}  // namespace vorn
