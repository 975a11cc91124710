// TRasterLab: a dot-matrix display. Text is drawn as a grid of square
// dots: lit dots in ColorDotOn, unlit cells in ColorDotOff, the gaps
// between cells in ColorLabBakG.
//
// Geometry: the pitch P = DotSize + DotSpacing. Dot (c, r) of a glyph
// drawn at origin (X, Y) covers DotSize x DotSize pixels at
// (X + (c - first) * P, Y + r * P), first being the glyph's first column
// (LeftMostBit when Proportional, else 0). After each glyph one empty dot
// column follows; in block mode rdbmOn that column is filled with the
// background so that each character stands in its own block. The text is
// drawn at (PosX + scroll shift X, PosY + scroll shift Y).
//
// Glyphs come from a TRDCharMatrix: the built-in 7 x 12 Latin-1 font, or
// one rasterised from any font by CreateBitFont. Text is UTF-8; characters
// outside 32..255 show as "?".
//
// Scrolling: a timer moves the text by ScrollIncrement pixels every
// ScrollInterval ms. Right and left move the X shift, down and up the Y
// shift; with ScrollLoop the text starts over once it has wholly left the
// display, entering again from the opposite edge, and OnScrollLoopRestart
// is raised.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "vorn/foundation/basics.h"
#include "vorn/platform/controls/controls.h"
#include "vorn/platform/runtime/timers.h"

namespace vorn {

class TBitmap;

struct TRDCharMatrix {
  std::int32_t FontWidth;
  std::int32_t FontHeight;
  std::uint8_t LeftMostBit[256];
  std::uint8_t RightMostBit[256];
  std::uint32_t BitData[256][32];
};
static_assert(sizeof(TRDCharMatrix) == 33288);

enum TRDScrollMode : std::uint8_t { rdsmOff, rdsmLeft, rdsmRight, rdsmDown, rdsmUp };
enum TRDBlockMode : std::uint8_t { rdbmOff, rdbmOn, rdbmRaster };

class EVORNRasterLabError : public EVORNError {
 public:
  using EVORNError::EVORNError;
};

// The built-in 7 x 12 font.
const TRDCharMatrix& BuiltInRasterFont();

class TRasterLab : public TGraphicControl {
 public:
  explicit TRasterLab(TComponent* AOwner);
  ~TRasterLab() override;

  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  // The glyph set of Font: the built-in font when Font is null or named
  // "default" (any case), else the font rasterised code by code.
  [[nodiscard]] static TRDCharMatrix CreateBitFont(const TFont* Font);
  [[nodiscard]] const TRDCharMatrix& CharMatrix() const { return FCMat; }
  // Copies a whole glyph set in; widths, heights and columns beyond the
  // 32 dots a row holds are cut to fit.
  void SetCharMatrix(const TRDCharMatrix& Value);

  [[nodiscard]] bool AutoCenter() const { return FAutoCenter; }
  void SetAutoCenter(bool Value);
  [[nodiscard]] bool AutoHeight() const { return FAutoHeight; }
  void SetAutoHeight(bool Value);
  [[nodiscard]] TRDBlockMode CharBlockMode() const { return FCharBlockMode; }
  void SetCharBlockMode(TRDBlockMode Value);
  [[nodiscard]] TColor ColorLabBakG() const { return FColorLabBakG; }
  void SetColorLabBakG(TColor Value);
  [[nodiscard]] TColor ColorDotOn() const { return FColorDotOn; }
  void SetColorDotOn(TColor Value);
  [[nodiscard]] TColor ColorDotOff() const { return FColorDotOff; }
  void SetColorDotOff(TColor Value);
  [[nodiscard]] TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  [[nodiscard]] int DotSize() const { return FDotSize; }
  void SetDotSize(int Value);
  [[nodiscard]] int DotSpacing() const { return FDotSpacing; }
  void SetDotSpacing(int Value);
  [[nodiscard]] TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  [[nodiscard]] int PosX() const { return FXPos; }
  void SetPosX(int Value);
  [[nodiscard]] int PosY() const { return FYPos; }
  void SetPosY(int Value);
  [[nodiscard]] bool Proportional() const { return FProportional; }
  void SetProportional(bool Value);
  [[nodiscard]] TRDScrollMode ScrollMode() const { return FScrollMode; }
  void SetScrollMode(TRDScrollMode Value);
  [[nodiscard]] int ScrollInterval() const { return FScrollIv; }
  void SetScrollInterval(int Value);
  [[nodiscard]] int ScrollIncrement() const { return FScrollInc; }
  void SetScrollIncrement(int Value);
  [[nodiscard]] bool ScrollLoop() const { return FScrollLoop; }
  void SetScrollLoop(bool Value);
  [[nodiscard]] const std::string& Text() const { return FLabText; }
  void SetText(const std::string& Value) override;
  [[nodiscard]] const TNotifyEvent& OnScrollTimer() const { return FOnScrollTimer; }
  void SetOnScrollTimer(TNotifyEvent Handler);
  [[nodiscard]] const TNotifyEvent& OnScrollLoopRestart() const { return FOnScrLoopRestart; }
  void SetOnScrollLoopRestart(TNotifyEvent Handler) { FOnScrLoopRestart = std::move(Handler); }

  [[nodiscard]] int ScrollPosX() const { return FScrollPosX; }
  [[nodiscard]] int ScrollPosY() const { return FScrollPosY; }
  // Pixel length of the text at the last paint.
  [[nodiscard]] int TextBitLength() const { return FTextBitLength; }
  // Pixel length of the text by the glyph widths, without painting.
  [[nodiscard]] int TextLength() const;
  // The glyph code a character shows as.
  [[nodiscard]] static int GlyphCode(char32_t Ch);

  void Paint() override;

 protected:
  // One scroll step, then OnScrollTimer.
  virtual void DoTimer();
  virtual void DoScrLoopRestart();
  void CMFontChanged(TMessage& Message) override;

 private:
  [[nodiscard]] int Pitch() const { return FDotSize + FDotSpacing; }
  [[nodiscard]] int BorderWidth() const;
  [[nodiscard]] int GlyphFirst(int Code) const;
  [[nodiscard]] int GlyphColumns(int Code) const;
  [[nodiscard]] int GlyphAdvance(int Code) const;
  void ApplyAutoHeight();
  void ApplyAutoCenter();
  void Changed() { Repaint(); }
  void UpdateTimer();
  void TimerWndProc(TMessage& Message);
  void PaintGrid(TCanvas& C, int W, int H) const;
  void PaintText(TCanvas& C, int X, int Y, int W, int H);
  void PaintGlyph(TCanvas& C, int Code, int X, int Y) const;
  void PaintFrame(TCanvas& C, int W, int H) const;

  TRDCharMatrix FCMat{};
  TFrameStyle FFrameStyle = fsLowered;
  TRDScrollMode FScrollMode = rdsmOff;
  int FScrollPosX = 0, FScrollPosY = 0;
  bool FScrollLoop = true;
  HWND FScrTimerHandle = 0;
  bool FScrTimerEnabled = false;
  bool FAutoCenter = false;
  int FTextBitLength = 0;
  TNotifyEvent FOnScrollTimer;
  int FScrollIv = 100;
  int FScrollInc = 1;
  std::string FLabText = "Text";
  TColor FColorLabBakG = 0x000000;
  TColor FColorDotOn = 0x00FF00;
  TColor FColorDotOff = 0x404040;
  TColor FColBlackLine = clBlack;
  TColor FColGrayLine = clGray;
  TColor FColWhiteLine = clWhite;
  bool FAutoHeight = false;
  TRDBlockMode FCharBlockMode = rdbmOn;
  TColorScheme FColorScheme = csBWG;
  TNotifyEvent FOnScrLoopRestart;
  bool FProportional = true;
  int FDotSize = 3, FDotSpacing = 1;
  int FXPos = 1, FYPos = 1;
  std::unique_ptr<TBitmap> FPaintBmp;
};

}  // namespace vorn
