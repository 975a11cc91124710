// The table editor's number display and drawing: texts as a case table
// (with strtod as the outside reference for full precision), cells and
// headings compared pixel by pixel with a reference rendering of the
// expected text, font, colours and position.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <random>
#include <string>

#include "vorn/ntabed/ntabed.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

TEST(NTabNumText, FixedPointRangesAndExponentialForm) {
  struct TCase {
    double Value;
    int Width, Decimals;
    const char* Text;
  };
  const TCase cases[] = {
      {12.5, 1, 3, "12.500"},
      {0, 1, 3, "0.000"},
      {-0.0, 1, 3, "0.000"},
      {123456.7, 1, 3, " 1.2E+05"},
      {0.0004, 1, 3, " 4.0E-04"},
      {-0.0004, 1, 3, "-4.0E-04"},
      {12.5, 8, 3, "  12.500"},
      {999999999, 1, 0, "999999999"},
      {1e9, 1, 0, " 1.0E+09"},
      {0.5, 1, 0, " 5.0E-01"},  // below the smallest magnitude that shows a digit
      {0.99999999, 1, 8, "0.99999999"},
      {1, 1, 8, " 1.0E+00"},
      {255, 1, 0, "255"},
      {5, 1, -1, " 5.0E+00"},
      {5, 1, 9, " 5.0E+00"},
      {5, 1, 10, " 5.0E+00"},
      {0, 1, -1, " 0.0E+00"},
      {-123.456, 4, 2, "-123.46"},
      {1.5e-7, 6, 3, " 1.50000E-07"},  // width 6: 12 characters after the exponent was cut
      {1e100, 1, 3, "**********"},
      {-1e-150, 1, 3, "**********"},
      {std::numeric_limits<double>::infinity(), 1, 3, "**********"},
      {std::nan(""), 1, 3, "-nan-"},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(NTabNumText(c.Value, c.Width, c.Decimals), c.Text) << c.Value << " " << c.Width << " " << c.Decimals;
  }
}

// printf as the outside reference for the digits of both forms.
TEST(NTabNumText, DigitsAgreeWithPrintf) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-40, 40);
  char want[80];
  for (int i = 0; i < 5000; ++i) {
    const double v = mantissa(rng) * std::pow(10.0, exponent(rng));
    const int width = 1 + i % 12;
    const int decimals = i % 9;
    const std::string text = NTabNumText(v, width, decimals);
    if (text.find('E') == std::string::npos) {
      std::snprintf(want, sizeof want, "%*.*f", width, decimals, v);
    } else {
      const int digits = std::max(1, width - 1);
      std::snprintf(want, sizeof want, "%.*E", digits, std::fabs(v));
      std::string w = std::string(v < 0 ? "-" : " ") + want;
      const std::size_t e = w.find('E');
      if (std::abs(std::atoi(w.c_str() + e + 1)) >= 100) continue;
      ASSERT_EQ(text, w) << v << " " << width;
      continue;
    }
    ASSERT_EQ(text, want) << v << " " << width << " " << decimals;
  }
}

TEST(NTabNumText, FullPrecisionReadsBackExactly) {
  const double values[] = {0.1, 1.0 / 3, -2.718281828459045, 6.02214076e23, 1.7976931348623157e99, 4.9e-99, 123456789.123456789};
  for (double v : values) {
    const std::string text = NTabNumText(v, 22, -1);
    EXPECT_EQ(text.size(), 28u) << text;  // width 22 + 6, the exponent cut to two digits
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), v) << text;
  }
}

// ---- pixels ---------------------------------------------------------------------------------------

constexpr int DataLeft = 80 + 1 + 32 + 1;  // row names, attributes, their lines
constexpr int ColStep = 64 + 1;
constexpr int RowStep = 24 + 1;

TRect DataCell(int C, int R) {
  const int x = DataLeft + (C - 1) * ColStep;
  const int y = RowStep + (R - 1) * RowStep;
  return {x, y, x + 64, y + 24};
}

class NTabEdPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 300);
    ed = new TNTabEd(form.get());
    ed->SetParent(form.get());
    ed->SetBounds(0, 0, 480, 280);
    form->Show();
  }

  // The expected look of a text drawn into an area: font of the editor in
  // the given colour and style on the given background, at (DX, DY).
  std::unique_ptr<TBitmap> Expected(const TRect& Area, const std::string& Text, TColor FontColor, TColor Background,
                                    bool Bold, int DX, int DY) const {
    auto bmp = std::make_unique<TBitmap>(Area.Width(), Area.Height());
    TCanvas& c = *bmp->Canvas();
    c.SetFont(ed->Font());
    c.Font()->SetColor(FontColor);
    TFontStyles styles;
    if (Bold) styles.Include(fsBold);
    c.Font()->SetStyle(styles);
    c.Brush()->SetColor(Background);
    c.TextRect({0, 0, Area.Width(), Area.Height()}, DX, DY, Text);
    return bmp;
  }

  // Number of pixels of Area that differ from the expected picture.
  int Differences(const TRect& Area, const TBitmap& Want) {
    auto shot = host.Snapshot(*ed);
    int differ = 0;
    for (int y = 0; y < Area.Height(); ++y) {
      for (int x = 0; x < Area.Width(); ++x) {
        if (ColorToRGB(shot->Canvas()->Pixels(Area.Left + x, Area.Top + y)) !=
            ColorToRGB(Want.Canvas()->Pixels(x, y))) {
          ++differ;
        }
      }
    }
    return differ;
  }

  int DataCellDifferences(int C, int R, const std::string& Text, TColor FontColor, TColor Background, bool Bold) {
    const TRect cell = DataCell(C, R);
    return Differences(cell, *Expected(cell, Text, FontColor, Background, Bold, 2, 1));
  }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TNTabEd* ed = nullptr;
};

TEST_F(NTabEdPaintTest, DataCellsShowValuesInTheColumnsFormat) {
  ed->SetElem(2, 2, 12.5);
  ed->SetElem(3, 2, 123456.7);
  ed->SetPrecision(2, 1);
  EXPECT_EQ(DataCellDifferences(2, 2, "12.5", ed->ColorNormal(), clWindow, false), 0);
  EXPECT_EQ(DataCellDifferences(3, 2, " 1.2E+05", ed->ColorNormal(), clWindow, false), 0);
  ed->SetNumWidth(6);
  EXPECT_EQ(DataCellDifferences(2, 2, "  12.5", ed->ColorNormal(), clWindow, false), 0);
  // The reference itself must show text, or the comparison proves nothing.
  EXPECT_GT(DataCellDifferences(2, 2, "", ed->ColorNormal(), clWindow, false), 10);
}

TEST_F(NTabEdPaintTest, InvalidEmptyAndCategoryCells) {
  ed->SetElem(2, 2, 7);
  ed->SetCellState(2, 2, dtsInvalid);
  ed->SetCellState(2, 3, dtsInvalid | dtsEmpty);
  EXPECT_EQ(DataCellDifferences(2, 2, "-nan-", ed->ColorNormal(), clWindow, false), 0);
  EXPECT_EQ(DataCellDifferences(2, 3, "", ed->ColorNormal(), clWindow, false), 0);
  ed->Data()->SetMScaleType(3, mstNominal);
  ed->Data()->SetNominalID(3, 2, "red");
  ed->SetElem(3, 2, 2.4);
  ed->SetElem(3, 3, 151);
  ed->SetElem(3, 4, 2.5);  // rounds half to even: 2
  EXPECT_EQ(DataCellDifferences(3, 2, "red", ed->ColorNormal(), clWindow, false), 0);
  EXPECT_EQ(DataCellDifferences(3, 3, "nominal:151", ed->ColorNormal(), clWindow, false), 0);
  EXPECT_EQ(DataCellDifferences(3, 4, "red", ed->ColorNormal(), clWindow, false), 0);
}

TEST_F(NTabEdPaintTest, MarkColoursAndSelection) {
  ed->SetElemMarkedA(2, 2, true);
  ed->SetElemMarkedB(3, 2, true);
  ed->SetElemMarkedA(2, 3, true);
  ed->SetElemMarkedB(2, 3, true);
  EXPECT_EQ(DataCellDifferences(2, 2, "0.000", ed->ColorMarkedA(), clWindow, true), 0);
  EXPECT_EQ(DataCellDifferences(3, 2, "0.000", ed->ColorMarkedB(), clWindow, true), 0);
  EXPECT_EQ(DataCellDifferences(2, 3, "0.000", ed->ColorMarkedBoth(), clWindow, true), 0);
  ed->SetBoldMarks(false);
  EXPECT_EQ(DataCellDifferences(2, 2, "0.000", ed->ColorMarkedA(), clWindow, false), 0);
  // Selected: range colours for unmarked cells, the background for all.
  ed->SetSelection({ed->ColOffset() + 2, 2, ed->ColOffset() + 3, 4});
  EXPECT_EQ(DataCellDifferences(3, 3, "0.000", ed->ColorRangeSelFG(), ed->ColorRangeSelBG(), false), 0);
  EXPECT_EQ(DataCellDifferences(2, 3, "0.000", ed->ColorMarkedBoth(), ed->ColorRangeSelBG(), false), 0);
}

TEST_F(NTabEdPaintTest, BeforeRenderCellChangesTextColoursAndStyle) {
  ed->SetOnBeforeRenderCell([](TObject*, int C, int R, std::string& Text, TColor& Font, TColor& Back, TFontStyles& Styles) {
    if (C != 1 || R != 4) return;
    Text = "x" + Text;
    Font = clRed;
    Back = clYellow;
    Styles.Include(fsBold);
  });
  EXPECT_EQ(DataCellDifferences(1, 4, "x0.000", clRed, clYellow, true), 0);
}

TEST_F(NTabEdPaintTest, CornerShowsTheCurrentCell) {
  const TRect inner{1, 1, 79, 23};  // inside the heading bevel
  auto corner = [this, &inner](const std::string& Text) {
    auto want = Expected({0, 0, 80, 24}, Text, ed->ColorNormal(), clWindow, false, 3, 2);
    auto part = std::make_unique<TBitmap>(inner.Width(), inner.Height());
    part->Canvas()->CopyRect({0, 0, inner.Width(), inner.Height()}, want->Canvas(), inner);
    return Differences(inner, *part);
  };
  EXPECT_EQ(corner("1:1"), 0);
  ed->SetFocus();
  host.PressKey(VK_DOWN);
  host.PressKey(VK_RIGHT);
  EXPECT_EQ(corner("2:2"), 0);
}

TEST_F(NTabEdPaintTest, HeadingsOfTheCurrentCellAreBold) {
  ed->SetColName(1, "Alpha");
  ed->SetColName(2, "Beta");
  ed->SetRowName(1, "first");
  ed->SetRowAttrib(1, 17);
  // Column name cells: shrunk by one pixel, two more off the right.
  auto colName = [](int C) {
    const TRect cell = DataCell(C, 1);
    return TRect{cell.Left + 1, 1, cell.Right - 3, 23};
  };
  EXPECT_EQ(Differences(colName(1), *Expected(colName(1), "Alpha", ed->ColorSelected(), clBtnFace, true, 2, 1)), 0);
  EXPECT_EQ(Differences(colName(2), *Expected(colName(2), "Beta", ed->ColorNormal(), clBtnFace, false, 2, 1)), 0);
  const TRect rowName{1, RowStep + 1, 77, RowStep + 23};
  EXPECT_EQ(Differences(rowName, *Expected(rowName, "first", ed->ColorSelected(), clBtnFace, true, 2, 0)), 0);
  const TRect rowAttrib{81 + 1, RowStep + 1, 81 + 32 - 3, RowStep + 23};
  EXPECT_EQ(Differences(rowAttrib, *Expected(rowAttrib, "17", ed->ColorSelected(), clBtnFace, true, 2, 1)), 0);
  const TRect attribHead{81 + 1, 1, 81 + 32 - 1, 23};
  EXPECT_EQ(Differences(attribHead, *Expected(attribHead, "Attrib", ed->ColorNormal(), clBtnFace, false, 2, 1)), 0);
  ed->SetBoldSelHeads(false);
  EXPECT_EQ(Differences(colName(1), *Expected(colName(1), "Alpha", ed->ColorSelected(), clBtnFace, false, 2, 1)), 0);
}

TEST_F(NTabEdPaintTest, AutomaticSizes) {
  EXPECT_GE(ed->AutoRowHeight(1, -100), 8);
  EXPECT_GE(ed->AutoColWidth(2, false, -100), 4);
  EXPECT_EQ(ed->AutoColWidth(7, true, 0), 8);  // no such column: nothing measured
  ed->SetAttribColVisible(true);
  ed->SetElem(1, 4, 123456789);  // the last row, below the attribute row
  ed->SetPrecision(1, 0);
  TCanvas& c = *ed->Canvas();
  c.SetFont(ed->Font());
  EXPECT_EQ(ed->AutoColWidth(1, false, 2), c.TextWidth("123456789") + 2 + 8);
  EXPECT_EQ(ed->ColWidths(1), c.TextWidth("123456789") + 10);
  const int h = ed->AutoRowHeight(4, 1);
  EXPECT_EQ(ed->RowHeights(4 + 1), h);
  ed->AutoRowHeight(-1, 0);
  EXPECT_EQ(ed->RowHeights(1), h - 1);
  ed->SetOptimizeRowHeight(true);
  host.Snapshot(*ed);
  EXPECT_EQ(ed->DefaultRowHeight(), h + 1);
}

}  // namespace
}  // namespace vorn
