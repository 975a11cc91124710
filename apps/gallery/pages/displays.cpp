// Gallery pages of the labels and displays: numeric labels in every
// format, seven-segment displays, rotated labels and gradient fills.
#include <string>

#include "vorn/platform/runtime/utf8.h"

#include "apps/gallery/gallery.h"
#include "vorn/displays/gradfl.h"
#include "vorn/displays/numlab.h"
#include "vorn/displays/rasterlab.h"
#include "vorn/displays/rotlab.h"
#include "vorn/displays/sevenseg.h"

namespace vorn::gallery {
namespace {

struct TNumSample {
  const char* Left;
  TDisplay Display;
  double Value;
  int Precision;
  const char* Right;
};

void BuildNumLabs(TWinControl& parent) {
  TComponent* owner = parent.Owner();
  const TNumSample samples[] = {
      {"FixP", dtFixP, 3.14159, 2, "V"},          {"Float", dtFloat, 0.000001234, 4, ""},
      {"Exp", dtExp, -6.02214e23, 3, "mol"},      {"Int", dtInt, 2.5, 0, "pcs"},
      {"Hex", dtHex, 48879, 4, ""},               {"Bin", dtBin, 37, 8, ""},
      {"Oct", dtOct, 511, 0, ""},                 {"Zero", dtZeroInt, 42, 6, ""},
      {"Date", dtDateTime, 45000.5, 0, ""},       {"State", dtState, 0, 0, ""},
      {"Deg", dtDeg, 47.256, 2, "N"},             {"DegMin", dtDegMin, 47.256, 1, "N"},
      {"DMS", dtDegMinSec, 8.5497, 0, "E"},       {"Eng", dtEEng, 47000, 3, "Hz"},
      {"R", dtEEngNoDP, 4700, 2, "Ohm"},          {"Over", dtFixP, 1e12, 2, ""},
  };
  int i = 0;
  for (const TNumSample& s : samples) {
    auto* lab = new TNumLab(owner);
    lab->SetParent(&parent);
    lab->SetBounds((i % 2) * 215, (i / 2) * 32, 205, 28);
    lab->SetLeftSpace(52);
    lab->SetLabelWidth(110);
    lab->SetLeftText(s.Left);
    lab->SetRightText(s.Right);
    lab->SetDisplayType(s.Display);
    lab->SetPrecision(s.Precision);
    lab->SetValue(s.Value);
    if (i == 1) lab->SetForcePlusSign(true);
    if (i == 3) lab->SetEnabled(false);
    if (i == 5) lab->SetColorLabBakG(clWhite);
    if (i == 15) lab->SetAlignment(taRightJustify);
    ++i;
  }
}

void BuildSevenSegs(TWinControl& parent) {
  TComponent* owner = parent.Owner();
  struct TSample {
    const char* Caption;
    int Digits, W, H;
    TColor Back, Text;
  };
  const TSample samples[] = {
      {"8.8.8.8.", 4, 216, 76, 0x333333, 0x0000FF},     {"12:34", 5, 216, 76, 0x000000, 0x00FF00},
      {"-1.5", 4, 216, 76, 0x202020, 0x00C0FF},         {"25.4\xC2\xB0" "C", 6, 300, 76, 0x000000, 0x00FFFF},
      {"dEAd.bEEF", 8, 420, 60, 0x101010, 0xFFFFFF},    {"+3.1", 4, 120, 44, 0x333333, 0x0000FF},
  };
  int y = 0;
  for (const TSample& s : samples) {
    auto* seg = new TSevenSeg(owner);
    seg->SetParent(&parent);
    seg->SetBounds(0, y, s.W, s.H);
    seg->SetNumDigits(s.Digits);
    seg->SetColorBackGnd(s.Back);
    seg->SetColorText(s.Text);
    seg->SetCaption(s.Caption);
    y += s.H + 6;
  }
}

// The scrolling ticker, then the whole built-in font: codes 32..255 in
// rows of 32, fixed pitch, dot size 2.
void BuildRasterLabs(TWinControl& parent) {
  TComponent* owner = parent.Owner();
  auto* ticker = new TRasterLab(owner);
  ticker->SetParent(&parent);
  ticker->SetBounds(0, 0, 400, 68);
  ticker->SetText("Scrolling text: Gr\xC3\xBC\xC3\x9F Gott! 25\xC2\xB0" "C \xC2\xBD \xE2\x82\xAC");
  ticker->SetScrollInterval(40);
  ticker->SetScrollIncrement(2);
  ticker->SetScrollMode(rdsmLeft);
  for (int line = 0; line < 7; ++line) {
    std::string text;
    for (int code = 32 + line * 32; code < 64 + line * 32; ++code) AppendUtf8(text, static_cast<char32_t>(code));
    auto* row = new TRasterLab(owner);
    row->SetParent(&parent);
    row->SetBounds(0, 76 + line * 40, 768, 40);
    row->SetFrameStyle(fsNone);
    row->SetDotSize(2);
    row->SetDotSpacing(1);
    row->SetProportional(false);
    row->SetColorDotOn(clYellow);
    row->SetCharBlockMode(line % 2 ? rdbmRaster : rdbmOn);
    row->SetText(text);
  }
}

void BuildRotLabs(TWinControl& parent) {
  TComponent* owner = parent.Owner();
  const int angles[] = {0, 30, 90, 180, 270, 315};
  int i = 0;
  for (int angle : angles) {
    auto* lab = new TRotLab(owner);
    lab->SetParent(&parent);
    lab->SetBounds((i % 3) * 150, (i / 3) * 150, 140, 140);
    lab->SetTransparent(false);
    lab->SetColor(i % 2 ? clWhite : 0xF0E0D0);
    lab->SetAlignment(static_cast<TAlignment>(i % 3));
    lab->SetTextAngle(angle);
    lab->SetCaption(std::to_string(angle) + "\xC2\xB0 rotated");
    if (i == 4) lab->SetEnabled(false);
    ++i;
  }
}

void BuildGradFills(TWinControl& parent) {
  TComponent* owner = parent.Owner();
  const TGradType types[] = {gtHoriz, gtVert, gtMidBandHoriz, gtMidBandVert};
  const TGridMode grids[] = {gmNone, gmVert, gmHoriz, gmBoth};
  for (int i = 0; i < 4; ++i) {
    auto* fill = new TGradFill(owner);
    fill->SetParent(&parent);
    fill->SetBounds(i * 130, 0, 121, 121);
    fill->SetFillType(types[i]);
    fill->SetGridMode(grids[i]);
    fill->SetFrameStyle(static_cast<TFrameStyle>(i + 1));
    fill->SetNrColors(i == 3 ? 7 : 16);
  }
  auto* flipped = new TGradFill(owner);
  flipped->SetParent(&parent);
  flipped->SetBounds(0, 130, 510, 60);
  flipped->SetColorFirst(clNavy);
  flipped->SetColorLast(clWhite);
  flipped->SetFillType(gtVert);
  flipped->SetNrColors(255);
  flipped->SetColorFlipped(true);
}

VORN_GALLERY_PAGE(TPage{60, "numlab", "Numeric labels",
                        "TNumLab: a value in a framed box with texts beside it, in each of the fifteen "
                        "display formats; a value too wide for its box shows the overflow indicator.",
                        BuildNumLabs});
VORN_GALLERY_PAGE(TPage{61, "sevenseg", "Seven-segment displays",
                        "TSevenSeg: slanted seven-segment cells; a point after a character lights that "
                        "cell's decimal point. Glyphs are scaled once per size and colour.",
                        BuildSevenSegs});
VORN_GALLERY_PAGE(TPage{62, "rasterlab", "Dot-matrix displays",
                        "TRasterLab: a scrolling text in square dots, and the built-in 7 x 12 font with all "
                        "224 codes 32..255 (Latin-1); characters beyond show as \"?\".",
                        BuildRasterLabs});
VORN_GALLERY_PAGE(TPage{63, "rotlab", "Rotated labels",
                        "TRotLab: captions turned about an anchor at the centre, anchored at their start, "
                        "end or middle; the fifth is disabled.",
                        BuildRotLabs});
VORN_GALLERY_PAGE(TPage{64, "gradfill", "Gradient fills",
                        "TGradFill: stepped gradients in horizontal and vertical bands, rising to the last "
                        "colour in the middle, with grid lines along the band borders and frames.",
                        BuildGradFills});

}  // namespace
}  // namespace vorn::gallery
