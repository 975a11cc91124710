// TOnOffBut: a two-state button drawn from glyph pictures. Each style has
// a built-in picture of 2 x 2 equal glyphs: on in the left column, off in
// the right, enabled in the top row, disabled in the bottom; pixels of the
// key colour $EBBEEB are background. oobsUser shows glyphs the program
// sets (a 20 x 20 cross and circle until then).
//
// The glyph sits at (LeftSpace + 1, TopSpace + 1), centred when AutoCenter
// is on; a text may stand on each of its four sides. Buttons of one parent
// with the same non-zero GroupIndex are exclusive: switching one on
// switches the others off, and unless AllowAllOff one of them stays on.
// The mouse switches with a left click on the glyph (oomaFocused) or
// anywhere (oomaPlain); in oobmSpeedBut mode the button is on only while
// the mouse button is held. A transparent button lets its parent show
// through everywhere but the glyph's own pixels, the texts and the frame.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "vorn/foundation/basics.h"
#include "vorn/platform/controls/controls.h"
#include "vorn/platform/graphics/bitmap.h"

namespace vorn {

enum TOnOffButStyle : std::uint8_t {
  oobsUser,
  oobsCheckbox,
  oobsRadioBut,
  oobsSlideTB,
  oobsSlideLR,
  oobsColSlideTB,
  oobsColSlideLR,
  oobsLedRedGreen,
  oobsArrowTopRgt,
  oobsArrowUpDown,
  oobsArrowLeftRight,
  oobsTrafficLPed,
  oobsBeveledLed,
  oobsSmileyYellow,
  oobsSmileyRedGrn,
  oobsBulb,
  oobsButLamp,
  oobsHDLeft,
  oobsHDRight,
  oobsUser1,
  oobsUser2,
  oobsUser3,
  oobsUser4,
  oobsUser5
};
constexpr int OnOffButStyleCount = 24;

enum TOOButMode : std::uint8_t { oobmNormalBut, oobmSpeedBut };
enum TOOButMouseAction : std::uint8_t { oomaNone, oomaFocused, oomaPlain };

// The colour of glyph pixels that show the background.
constexpr TColor OnOffKeyColor = 0xEBBEEB;

// The built-in picture of a style ("CHECKBOX", ...), null for oobsUser.
const char* OnOffButResourceName(TOnOffButStyle Style);

class TOnOffBut : public TGraphicControl {
 public:
  explicit TOnOffBut(TComponent* AOwner);
  ~TOnOffBut() override;

  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  // ---- state and behaviour -----------------------------------------------------------
  [[nodiscard]] bool OnOff() const { return FOnOff; }
  void SetOnOff(bool Value);
  [[nodiscard]] int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  [[nodiscard]] bool AllowAllOff() const { return FAllowAllOff; }
  void SetAllowAllOff(bool Value);
  [[nodiscard]] TOOButMode Mode() const { return FMode; }
  void SetMode(TOOButMode Value);
  [[nodiscard]] TOOButMouseAction MouseAction() const { return FMouseAction; }
  void SetMouseAction(TOOButMouseAction Value);
  void SetEnabled(bool Value) override;

  // ---- glyph -------------------------------------------------------------------------
  [[nodiscard]] TOnOffButStyle ButtonStyle() const { return FButStyle; }
  void SetButtonStyle(TOnOffButStyle Value);
  [[nodiscard]] int GlyphWidth() const { return FGlyphWidth; }
  [[nodiscard]] int GlyphHeight() const { return FGlyphHeight; }
  // The current glyph of a state (on/off, enabled/disabled).
  [[nodiscard]] const TBitmap* Glyph(bool On, bool Enabled) const;
  // The user glyphs from a picture of 2 x 2 equal glyphs (even width and
  // height, at least 2 x 2). A picture of another layout raises EVORNError
  // and keeps the old glyphs.
  void SetUserGlyph(const TBitmap* Img);
  // The same from a picture file; the error names the file.
  void LoadUserGlyph(const std::string& FileName);

  // ---- place -------------------------------------------------------------------------
  [[nodiscard]] bool AutoCenter() const { return FAutoCenter; }
  void SetAutoCenter(bool Value);
  [[nodiscard]] int LeftSpace() const { return FLeftSpace; }
  void SetLeftSpace(int Value);
  [[nodiscard]] int TopSpace() const { return FTopSpace; }
  void SetTopSpace(int Value);

  // ---- texts and look ------------------------------------------------------------------
  [[nodiscard]] const std::string& LeftText() const { return FLeftText; }
  void SetLeftText(const std::string& Value);
  [[nodiscard]] const std::string& RightText() const { return FRightText; }
  void SetRightText(const std::string& Value);
  [[nodiscard]] const std::string& TopText() const { return FTopText; }
  void SetTopText(const std::string& Value);
  [[nodiscard]] const std::string& BottomText() const { return FBottomText; }
  void SetBottomText(const std::string& Value);
  [[nodiscard]] TAlignment LeftTextAlignment() const { return FLTAlignment; }
  void SetLeftTextAlignment(TAlignment Value);
  [[nodiscard]] TAlignment RightTextAlignment() const { return FRTAlignment; }
  void SetRightTextAlignment(TAlignment Value);
  [[nodiscard]] TAlignment TopTextAlignment() const { return FTTAlignment; }
  void SetTopTextAlignment(TAlignment Value);
  [[nodiscard]] TAlignment BottomTextAlignment() const { return FBTAlignment; }
  void SetBottomTextAlignment(TAlignment Value);
  [[nodiscard]] TColor ColorBackgnd() const { return FColorBakG; }
  void SetColorBackgnd(TColor Value);
  [[nodiscard]] TColor ColorText() const { return FColorTxt; }
  void SetColorText(TColor Value);
  [[nodiscard]] TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  [[nodiscard]] TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  [[nodiscard]] bool Transparent() const { return FTransParent; }
  void SetTransparent(bool Value);

  // ---- painting and input ------------------------------------------------------------------
  void Paint() override;
  // Draws the button and its transparency mask (white where the parent
  // shows through) into two bitmaps of the control's size.
  void PaintTo(TBitmap& Image, TBitmap& Mask) const;
  // Whether a point (client coordinates) switches the button.
  [[nodiscard]] bool SwitchesAt(int X, int Y) const;

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Does nothing: OnClick comes from MouseUp alone.
  void Click() override;
  void Resize() override;
  void WndProc(TMessage& Message) override;

 private:
  using TGlyphSet = std::array<std::array<std::unique_ptr<TBitmap>, 2>, 2>;  // [on][enabled]
  void LoadGlyphs();
  void AdjustAutoCenter();
  void UpdateExclusive();
  void CMButtonPressed(TMessage& Message);
  void Changed();  // paints at once
  void SetSideText(std::string& Field, const std::string& Value);
  void SetAlignment(TAlignment& Field, TAlignment Value);
  void SplitGlyphs(const TBitmap& Picture, TGlyphSet& Into, const std::string& Source) const;
  void PaintTexts(TCanvas& C, TCanvas& M) const;
  void PaintGlyph(TBitmap& Image, TBitmap& Mask) const;

  bool FOnOff = true;
  TGlyphSet FButImg;
  TGlyphSet FUserImg;
  std::unique_ptr<TBitmap> FMask;
  std::unique_ptr<TBitmap> FImage;  // the off-screen picture, kept between paints
  bool FAutoCenter = true;
  TOnOffButStyle FButStyle = oobsColSlideLR;
  int FGroupIndex = 0;
  TOOButMouseAction FMouseAction = oomaFocused;
  bool FAllowAllOff = true;
  TColor FColorBakG = clBtnFace;
  TColor FColorTxt = 0x000000;
  int FGlyphWidth = 0, FGlyphHeight = 0;
  int FLeftSpace = 35, FTopSpace = 18;
  std::string FLeftText, FTopText, FBottomText, FRightText;
  TOOButMode FMode = oobmNormalBut;
  TFrameStyle FFrameStyle = fsLowered;
  bool FTransParent = false;
  TAlignment FLTAlignment = taRightJustify, FTTAlignment = taCenter, FBTAlignment = taCenter,
             FRTAlignment = taLeftJustify;
  bool FEnabled = true;
  TColor FColBlackLine = 0x000000, FColGrayLine = 0x808080, FColWhiteLine = 0xFFFFFF;
  TColorScheme FColorScheme = csBWG;
};

}  // namespace vorn
