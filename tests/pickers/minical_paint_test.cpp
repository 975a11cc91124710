// TMiniCal painting: the kept bitmap of a double-buffered calendar against
// a calendar that draws straight onto its form, pixel for pixel, through
// months, settings, sizes, today's date and the system colours; that the
// bitmap is reused while nothing changes; and that the calendar covers
// every pixel of its area.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "vorn/pickers/minical.h"
#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

// Counts the cells it draws.
class TCountingMiniCal : public TMiniCal {
 public:
  using TMiniCal::TMiniCal;
  int Cells = 0;

 protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override {
    ++Cells;
    TMiniCal::DrawCell(ACol, ARow, ARect, AState);
  }
};

class MiniCalPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 700, 260);
    kept = new TCountingMiniCal(form.get());
    kept->SetParent(form.get());
    kept->SetBounds(0, 0, 300, 180);
    plain = new TCountingMiniCal(form.get());
    plain->SetParent(form.get());
    plain->SetBounds(340, 0, 300, 180);
    plain->SetDoubleBuffered(false);
    form->Show();
    Both([](TMiniCal& c) { c.SetDate(EncodeDate(2024, 12, 10)); });
    host.Advance(0);
  }
  void TearDown() override {
    SetNowHook(nullptr);
    ResetSysColors();
    form.reset();
  }
  void Both(const std::function<void(TMiniCal&)>& Change) {
    Change(*kept);
    Change(*plain);
  }
  // Whether the two calendars show the same pixels, after the host's
  // repaint of what a change marked and after one more repaint of each.
  void ExpectSamePainting(const std::string& What) {
    host.Advance(0);
    ExpectSamePixels(What + " (repainted)");
    kept->Paint();
    plain->Paint();
    ExpectSamePixels(What + " (painted again)");
  }
  void ExpectSamePixels(const std::string& What) {
    ASSERT_EQ(kept->Width(), plain->Width());
    ASSERT_EQ(kept->Height(), plain->Height());
    const TBitmap& surface = form->SurfaceBitmap();
    const int dx = plain->Left() - kept->Left();
    int differing = 0;
    for (int y = kept->Top(); y < kept->Top() + kept->Height(); ++y) {
      const TPixel* row = surface.ScanLine(y);
      for (int x = kept->Left(); x < kept->Left() + kept->Width(); ++x) differing += row[x] != row[x + dx] ? 1 : 0;
    }
    EXPECT_EQ(differing, 0) << What;
  }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TCountingMiniCal* kept = nullptr;
  TCountingMiniCal* plain = nullptr;
};

TEST_F(MiniCalPaintTest, KeptPaintingMatchesDrawingStraightThroughMonthsAndSettings) {
  ExpectSamePainting("start");
  for (int i = 0; i < 30; ++i) {
    Both([](TMiniCal& c) { c.NextMonth(); });
    ExpectSamePainting("month " + std::to_string(i));
  }
  for (const TDateTime date : {EncodeDate(1, 1, 1), EncodeDate(2000, 2, 29), EncodeDate(2024, 5, 9),
                               EncodeDate(9999, 12, 31)}) {
    Both([date](TMiniCal& c) { c.SetDate(date); });
    ExpectSamePainting("date " + std::to_string(date));
  }
  Both([](TMiniCal& c) { c.SetDate(EncodeDate(2025, 4, 21)); });  // Easter Monday
  const std::vector<std::pair<std::string, std::function<void(TMiniCal&)>>> changes{
      {"selected colours", [](TMiniCal& c) { c.SetColorSelectedBg(0x203040); c.SetColorSelectedFg(0x00FF00); }},
      {"holiday colours", [](TMiniCal& c) { c.SetColorHolidayBg(0x40E0E0); c.SetColorHolidayFg(0x800000); }},
      {"other colours", [](TMiniCal& c) {
         c.SetColorActiveMonth(0x102030);
         c.SetColorInactiveMonth(0x808000);
         c.SetColorWeekNoBg(0x00C0C0);
         c.SetColorWeekNoFg(0x0000FF);
         c.SetColorDayIdBg(0xFFC0FF);
         c.SetColorDayIdFg(0x004000);
       }},
      {"day colours", [](TMiniCal& c) { c.SetDayColors(dwWed, 0x11AA22); c.SetDayColors(dwSun, clBtnFace); }},
      {"grid colour", [](TMiniCal& c) { c.SetColor(0x3366CC); }},
      {"first day", [](TMiniCal& c) { c.SetFirstDayOfWeek(dwSun); }},
      {"German", [](TMiniCal& c) { c.SetLanguage(lgGerman); }},
      {"Spanish", [](TMiniCal& c) { c.SetLanguage(lgSpanish); }},
      {"undefined language", [](TMiniCal& c) { c.SetLanguage(lgUndefined); }},
      {"long month", [](TMiniCal& c) { c.SetShowMonthShort(false); }},
      {"flat buttons", [](TMiniCal& c) { c.SetCtl3D(false); }},
      {"a holiday", [](TMiniCal& c) { c.AddHoliday(3, 4, 2025, "Moving day"); }},
      {"no movable holidays", [](TMiniCal& c) { c.SetShowMovableHolidays(false); }},
      {"no holiday list", [](TMiniCal& c) { c.ClearHolidayList(); }},
      {"no holidays", [](TMiniCal& c) { c.SetIndicateHolidays(false); }},
      {"bold font", [](TMiniCal& c) { c.Font()->SetStyle({fsBold}); }},
      {"larger font", [](TMiniCal& c) { c.Font()->SetSize(11); }},
      {"size", [](TMiniCal& c) { c.SetBounds(c.Left(), 10, 320, 200); }},
      {"small size", [](TMiniCal& c) { c.SetBounds(c.Left(), 0, 97, 61); }},
  };
  for (const auto& [what, change] : changes) {
    Both(change);
    ExpectSamePainting(what);
  }
}

TEST_F(MiniCalPaintTest, KeptPaintingFollowsTodayAndTheSystemColoursWithoutBeingInvalidated) {
  TDateTime now = EncodeDate(2024, 12, 10) + 0.75;
  SetNowHook([&now] { return now; });
  Both([](TMiniCal& c) { c.SetMarkToday(true); });
  ExpectSamePainting("today marked");
  now += 1;  // midnight passes: the ring moves to the 11th
  kept->Paint();
  plain->Paint();
  ExpectSamePixels("the next day");
  now = EncodeDate(2025, 1, 1) + 0.5;  // today leaves the shown month
  kept->Paint();
  plain->Paint();
  ExpectSamePixels("another month");
  SetSysColor(15, 0x4080FF);  // the button face
  kept->Paint();
  plain->Paint();
  ExpectSamePixels("button face");
}

TEST_F(MiniCalPaintTest, TheKeptBitmapIsReusedUntilSomethingShownChanges) {
  kept->Cells = 0;
  kept->Paint();
  kept->Invalidate();
  host.Advance(0);
  const int perPainting = kept->Cells;
  EXPECT_GT(perPainting, 60);  // 64 cells and the buttons drawn again over the lines
  kept->Cells = 0;
  for (int i = 0; i < 3; ++i) kept->Paint();
  EXPECT_EQ(kept->Cells, 0);
  kept->NextMonth();
  host.Advance(0);
  EXPECT_EQ(kept->Cells, perPainting);
  // Partly hidden, the calendar draws straight onto the form each time.
  kept->SetBounds(-20, 0, 300, 180);
  host.Advance(0);
  kept->Cells = 0;
  kept->Paint();
  kept->Paint();
  EXPECT_EQ(kept->Cells, 2 * perPainting);
}

TEST_F(MiniCalPaintTest, TheCalendarCoversEveryPixelOfItsArea) {
  constexpr TColor marker = 0x5A3C1E;
  // Also with grid lines other than the calendar's own one pixel: the
  // buttons that span cells take the lines between them.
  for (const int lines : {1, 0, 3}) {
    kept->SetGridLineWidth(lines);
    for (const bool buffered : {false, true}) {
      kept->SetDoubleBuffered(buffered);
      const TDateTime date = buffered ? EncodeDate(2024, 2, 10) : EncodeDate(2026, 8, 31);
      kept->SetDate(date);
      kept->SetCtl3D(buffered);
      TCanvas& c = *form->Canvas();
      c.Brush()->SetColor(marker);
      c.FillRect(form->ClientRect());
      kept->Paint();
      int left = 0;
      for (int y = 0; y < kept->Height(); ++y) {
        for (int x = 0; x < kept->Width(); ++x) left += c.Pixels(x, y) == marker ? 1 : 0;
      }
      EXPECT_EQ(left, 0) << lines << " " << buffered;
    }
  }
  // With 3-pixel lines the label and "#" still start at the first cell
  // they span: the white top and left of their frames lie there.
  host.Advance(0);
  TCanvas& c = *form->Canvas();
  for (const TGridCoord first : {TGridCoord{3, 0}, TGridCoord{0, 0}}) {
    const TRect r = kept->CellRect(first.X, first.Y);
    EXPECT_EQ(c.Pixels(r.Left, r.Top + 3), 0xFFFFFF) << first.X;
    EXPECT_EQ(c.Pixels(r.Left + 3, r.Top), 0xFFFFFF) << first.X;
  }
}

}  // namespace
}  // namespace vorn
