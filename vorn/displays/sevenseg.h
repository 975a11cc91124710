// TSevenSeg: a short text shown as a row of slanted seven-segment digits.
//
// Each character of Caption takes one cell; a "." or "," after it lights
// that cell's decimal point, and one standing alone takes a blank cell
// with its point lit. Cells show 0-9, "-", "+", ":", "°" and A-F (letters
// in either case); other characters leave their cell blank.
//
// Drawing works in three layers:
// - the six element shapes (built-in pictures SEGVERT, SEGHORZ, SEGDOT,
//   SEGPLUS, SEGCOLON, SEGDEG), recoloured to ColorText by a flood fill;
// - the master glyph, 312 x 432 pixels, composed from the elements of one
//   character (AND copies over white, then the white turned to the
//   background);
// - the glyph cache: the 21 glyphs "0123456789-+:°ABCDEF." scaled once by
//   area averaging to the cell size (control width minus the margins,
//   divided by NumDigits, minus InterDigDist; height minus the margins).
// The cache is rebuilt only when the size, margin, gap, digit count or a
// colour changes; a paint copies cached cells.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "vorn/foundation/basics.h"
#include "vorn/platform/controls/controls.h"

namespace vorn {

class TBitmap;

class TSevenSeg : public TGraphicControl {
 public:
  explicit TSevenSeg(TComponent* AOwner);
  ~TSevenSeg() override;

  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  [[nodiscard]] const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  [[nodiscard]] TColor ColorBackGnd() const { return FColorBakG; }
  void SetColorBackGnd(TColor Value);
  [[nodiscard]] TColor ColorText() const { return FColorTxt; }
  void SetColorText(TColor Value);
  [[nodiscard]] TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  [[nodiscard]] TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  [[nodiscard]] int InterDigDist() const { return FInterDigDist; }
  void SetInterDigDist(int Value);
  [[nodiscard]] int Margin() const { return FMargin; }
  void SetMargin(int Value);
  [[nodiscard]] int NumDigits() const { return FNumDigits; }
  void SetNumDigits(int Value);

  // One cell of the caption walk: the cache index of its glyph (-1 blank)
  // and whether its point is lit.
  struct TCell {
    int Glyph = -1;
    bool Point = false;
    bool operator==(const TCell&) const = default;
  };
  // The cells the caption fills, at most NumDigits of them.
  [[nodiscard]] std::vector<TCell> Cells() const;
  // Cell width and the glyph cache (for tests and benchmarks).
  [[nodiscard]] int CellWidth() const;
  [[nodiscard]] const TBitmap& GlyphCache() const { return *ImgCache; }
  [[nodiscard]] int CacheBuilds() const { return FCacheBuilds; }

  void Paint() override;

 private:
  void ColorizeSegments(TColor C);
  void CreateDigit(char32_t Ch, bool Dot);
  void CreateImageCache();
  void HandleResize();
  void Rebuild();

  TColor FColorBakG = 0x333333;
  TColor FColorTxt = 0x0000FF;
  std::unique_ptr<TBitmap> DigImg;
  int FNumDigits = 4;
  std::string FCaption = "8.8.8.8.";
  TFrameStyle FFrameStyle = fsLowered;
  int FMargin = 8;
  int FInterDigDist = 2;
  int FWidth = 0, FHeight = 0;
  std::unique_ptr<TBitmap> SegHorz, SegVert, SegDot, SegPlus, SegColon, SegDeg;
  std::unique_ptr<TBitmap> ImgCache;
  std::unique_ptr<TBitmap> FPaintBmp;  // kept between paints, resized with the control
  TColor FColBlackLine = clBlack;
  TColor FColGrayLine = clGray;
  TColor FColWhiteLine = clWhite;
  TColorScheme FColorScheme = csBWG;
  int FCacheBuilds = 0;
};

}  // namespace vorn
