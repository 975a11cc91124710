// Reading numbers from clipboard text, the block size of such text, and
// the editor's Copy, Paste and Extract from Clipboard.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "vorn/ntabed/ntabed.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

double Scan(const std::string& Text, std::size_t* End = nullptr, bool* Ok = nullptr) {
  std::size_t pos = 0;
  bool ok = false;
  const double v = NTabScanNumber(Text, pos, ok);
  if (End != nullptr) *End = pos;
  if (Ok != nullptr) *Ok = ok;
  return v;
}

TEST(NTabClipScanner, NumbersAndWhereTheyEnd) {
  struct TCase {
    const char* Text;
    double Value;
    bool Ok;
    std::size_t End;
  };
  const TCase cases[] = {
      {"1e5 ", 100000, true, 3},
      {"1,5", 1.5, true, 3},
      {"-2.25E-2x", -0.0225, true, 8},
      {"+.5", 0.5, true, 3},
      {"7.", 7, true, 2},
      {".", 0, true, 1},
      {"  12", 12, true, 4},
      {"1-2", 1, true, 1},
      {"1.2.3", 0, false, 3},  // the second point fails the number
      {"- 1", 0, false, 1},
      {"1e", 1, true, 2},      // an exponent without digits counts as none
      {"1e+", 1, true, 3},
      {"1e99999", uc_MaxDouble, true, 7},
      {"-1e400", -uc_MaxDouble, true, 6},
      {"1e-99999", 0, true, 8},
      {"0.000001e-330", 0, true, 13},
      {"12345678901234567890123", 12345678901234567890123.0, true, 23},
      {"1E5E", 100000, true, 3},
  };
  for (const TCase& c : cases) {
    std::size_t end = 0;
    bool ok = false;
    EXPECT_EQ(Scan(c.Text, &end, &ok), c.Value) << c.Text;
    EXPECT_EQ(ok, c.Ok) << c.Text;
    EXPECT_EQ(end, c.End) << c.Text;
  }
}

std::vector<TNTabClipCell> Cells(const std::string& Text) {
  std::vector<TNTabClipCell> cells;
  NTabScanClipText(Text, [&cells](const TNTabClipCell& C) { cells.push_back(C); });
  return cells;
}

TEST(NTabClipScanner, LinesAndPositions) {
  for (const char* text : {"1\t2\r\n3\t4\r\n", "1 2\n3 4", "  x1;2\n\n", "1\t2\r\n3\t4"}) {
    const auto cells = Cells(text);
    ASSERT_GE(cells.size(), 2u) << text;
    EXPECT_EQ(cells[0].Col, 0);
    EXPECT_EQ(cells[0].Line, 0);
    EXPECT_EQ(cells[1].Col, 1);
    EXPECT_EQ(cells[1].Line, 0);
    if (cells.size() == 4) {
      EXPECT_EQ(cells[2].Col, 0);
      EXPECT_EQ(cells[2].Line, 1) << text;  // a line feed right after a number ends its line
      EXPECT_EQ(cells[3].Value, 4.0);
    }
  }
  const auto failed = Cells("1.2.3");
  ASSERT_EQ(failed.size(), 2u);
  EXPECT_EQ(failed[0].Value, 0.0);
  EXPECT_EQ(failed[1].Value, 3.0);
  EXPECT_EQ(failed[1].Col, 1);
  EXPECT_TRUE(Cells("").empty());
  EXPECT_TRUE(Cells("abc\n\n x").empty());
  const auto sign = Cells("x -\n");  // a sign alone is a failed number: 0
  ASSERT_EQ(sign.size(), 1u);
  EXPECT_EQ(sign[0].Value, 0.0);
}

TEST(NTabClipScanner, BlockSize) {
  struct TCase {
    const char* Text;
    bool Found;
    int Cols, Rows;
  };
  const TCase cases[] = {
      {"1 2 3\r\n4 5\r\n", true, 3, 2},
      {"1 2\r\n3 4 5", true, 3, 2},  // the last line counts without a line feed
      {"1\n\n2\n", true, 1, 3},
      {"", false, 1, 1},
      {"no numbers", false, 1, 1},
      {"\n\n7", true, 1, 1},  // leading empty lines are skipped
  };
  for (const TCase& c : cases) {
    int cols = -1, rows = -1;
    EXPECT_EQ(NTabClipMatrixSize(c.Text, cols, rows), c.Found) << c.Text;
    EXPECT_EQ(cols, c.Cols) << c.Text;
    EXPECT_EQ(rows, c.Rows) << c.Text;
  }
}

// Any bytes: no crash, and the block size agrees with the cells read.
TEST(NTabClipScanner, RandomTextsAgreeWithTheBlockSize) {
  std::mt19937 rng(11);
  const std::string alphabet = "0123456789+-.,eE \t\r\nx";
  for (int i = 0; i < 2000; ++i) {
    std::string text;
    const int len = static_cast<int>(rng() % 40);
    for (int k = 0; k < len; ++k) text += alphabet[rng() % alphabet.size()];
    int maxCol = -1, maxLine = -1;
    for (const TNTabClipCell& c : Cells(text)) {
      maxCol = std::max(maxCol, c.Col);
      maxLine = std::max(maxLine, c.Line);
      ASSERT_LE(std::fabs(c.Value), uc_MaxDouble);
    }
    int cols = 0, rows = 0;
    const bool found = NTabClipMatrixSize(text, cols, rows);
    ASSERT_EQ(found, maxCol >= 0) << text;
    if (found) {
      ASSERT_EQ(cols, maxCol + 1) << text;
      ASSERT_EQ(rows, maxLine + 1) << text;
    }
  }
}

// ---- the editor's clipboard commands -----------------------------------------------------------------

class NTabEdClipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 300);
    ed = new TNTabEd(form.get());
    ed->SetParent(form.get());
    ed->SetBounds(0, 0, 480, 280);
    form->Show();
    ed->SetOnPaste([this](TObject*) { ++pastes; });
    ed->SetOnChange([this](TObject*) { ++changes; });
    ed->SetOnCellStateChanged([this](TObject*) { ++stateChanges; });
  }
  // Selects a block in table numbering.
  void Select(int C1, int R1, int C2, int R2) {
    ed->SetSelection({C1 + ed->ColOffset(), R1 + ed->RowOffset(), C2 + ed->ColOffset(), R2 + ed->RowOffset()});
  }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TNTabEd* ed = nullptr;
  int pastes = 0, changes = 0, stateChanges = 0;
};

TEST_F(NTabEdClipTest, CopyWritesTheBlockAsText) {
  ed->SetElem(1, 1, 1);
  ed->SetElem(2, 1, 2);
  ed->SetElem(1, 2, 3);
  ed->SetIsEmpty(2, 2, true);
  ed->SetClipboardUseFullPrec(false);
  Select(1, 1, 2, 2);
  EXPECT_FALSE(ed->DataCopyAvailable());
  ed->PopupMenuClickCopy(nullptr);
  EXPECT_EQ(Clipboard()->AsText(), " 1.000\t2.000\r\n 3.000\t####\r\n");
  EXPECT_TRUE(ed->DataCopyAvailable());
  ed->SetPrecision(1, -1);
  ed->PopupMenuClickCopy(nullptr);
  EXPECT_EQ(Clipboard()->AsText(), "  1.0E+00\t2.000\r\n  3.0E+00\t####\r\n");
}

TEST_F(NTabEdClipTest, CopyPasteBetweenTwoEditorsAtFullPrecision) {
  ed->SetElem(2, 3, 1.0 / 3);
  ed->SetElem(3, 3, -6.02214076e23);
  ed->SetElemMarkedA(3, 3, true);
  Select(2, 3, 3, 3);
  ed->PopupMenuClickCopy(nullptr);
  auto* other = new TNTabEd(form.get());
  other->SetSelection({2, 1, 2, 1});
  other->PopupMenuClickExtClip(nullptr);
  EXPECT_EQ(other->Elem(1, 1), 1.0 / 3);
  EXPECT_EQ(other->Elem(2, 1), -6.02214076e23);
  EXPECT_FALSE(other->ElemMarkedA(2, 1));  // text carries values only
  // Paste within the editor carries values and states.
  Select(1, 1, 1, 1);
  changes = stateChanges = 0;
  ed->PopupMenuClickPaste(nullptr);
  EXPECT_EQ(ed->Elem(1, 1), 1.0 / 3);
  EXPECT_TRUE(ed->ElemMarkedA(2, 1));
  EXPECT_EQ(ed->Selection(), (TGridRect{2, 1, 3, 1}));
  EXPECT_EQ(pastes, 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(stateChanges, 1);
  // Near the edge, what falls outside the table is dropped.
  Select(3, 4, 3, 4);
  ed->PopupMenuClickPaste(nullptr);
  EXPECT_EQ(ed->Elem(3, 4), 1.0 / 3);
  EXPECT_EQ(ed->NrOfColumns(), 3);
}

TEST_F(NTabEdClipTest, ExtractWritesNumbersFromTheCurrentCell) {
  ed->SetIsEmpty(2, 2, true);
  ed->SetElemMarkedB(2, 2, true);
  ed->SetCellState(3, 3, dtsInvalid);
  host.SetClipboardText("1\t2\r\n3\t4\r\n");
  Select(2, 2, 2, 2);
  ed->PopupMenuClickExtClip(nullptr);
  EXPECT_EQ(ed->Elem(2, 2), 1.0);
  EXPECT_EQ(ed->Elem(3, 2), 2.0);
  EXPECT_EQ(ed->Elem(2, 3), 3.0);
  EXPECT_EQ(ed->Elem(3, 3), 4.0);
  EXPECT_EQ(ed->CellState(2, 2), dtsMarkB);  // a number now, the mark kept
  EXPECT_TRUE(ed->IsNumber(3, 3));
  EXPECT_EQ(ed->Selection(), (TGridRect{3, 2, 4, 3}));
  EXPECT_EQ(pastes, 1);
  // At the table's edge only what fits is stored; the selection stays inside.
  host.SetClipboardText("5 6 7\n8 9 10\n");
  Select(3, 4, 3, 4);
  ed->PopupMenuClickExtClip(nullptr);
  EXPECT_EQ(ed->Elem(3, 4), 5.0);
  EXPECT_EQ(ed->Selection(), (TGridRect{4, 4, 4, 4}));
  EXPECT_EQ(ed->Elem(3, 3), 4.0);
}

TEST_F(NTabEdClipTest, NothingHappensWithoutClipboardText) {
  host.ClearClipboard();
  int cols = 0, rows = 0;
  EXPECT_FALSE(ed->GetClipMatrixSize(cols, rows));
  EXPECT_EQ(cols, 1);
  EXPECT_EQ(rows, 1);
  ed->PopupMenuClickExtClip(nullptr);
  ed->PopupMenuClickPaste(nullptr);  // nothing copied yet
  EXPECT_EQ(pastes, 0);
  host.SetClipboardText("1 2 3\r\n4 5\r\n");
  EXPECT_TRUE(ed->GetClipMatrixSize(cols, rows));
  EXPECT_EQ(cols, 3);
  EXPECT_EQ(rows, 2);
}

}  // namespace
}  // namespace vorn
