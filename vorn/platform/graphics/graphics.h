// Drawing tools: fonts, pens and brushes. A canvas owns one of each; a
// change to any of them raises its OnChange so that owners can react.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "vorn/platform/graphics/color.h"
#include "vorn/platform/graphics/fontengine.h"
#include "vorn/platform/runtime/classes.h"
#include "vorn/platform/runtime/sets.h"

namespace vorn {

constexpr int ScreenPixelsPerInch = 96;

class TGraphicsObject : public TPersistent {
 public:
  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }

 protected:
  void Changed();

 private:
  TNotifyEvent FOnChange;
};

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

enum TFontQuality : std::uint8_t {
  fqDefault,
  fqDraft,
  fqProof,
  fqNonAntialiased,
  fqAntialiased,
  fqClearType,
  fqClearTypeNatural
};

enum TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };

constexpr std::uint8_t ANSI_CHARSET = 0;
constexpr std::uint8_t DEFAULT_CHARSET = 1;

// A font description. Size is in points, Height in pixels (negative: the
// character height without internal leading; positive: the cell height);
// the two are tied at 96 pixels per inch. Orientation turns the text
// counter-clockwise in tenths of a degree.
class TFont : public TGraphicsObject {
 public:
  TFont();

  void Assign(const TPersistent* Source) override;

  [[nodiscard]] const std::string& Name() const { return FName; }
  void SetName(const std::string& Value);
  [[nodiscard]] int Size() const;
  void SetSize(int Value);
  [[nodiscard]] int Height() const { return FHeight; }
  void SetHeight(int Value);
  [[nodiscard]] TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  [[nodiscard]] TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  [[nodiscard]] int Orientation() const { return FOrientation; }
  void SetOrientation(int Value);
  [[nodiscard]] TFontQuality Quality() const { return FQuality; }
  void SetQuality(TFontQuality Value);
  [[nodiscard]] TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  [[nodiscard]] std::uint8_t Charset() const { return FCharset; }
  void SetCharset(std::uint8_t Value);
  [[nodiscard]] int PixelsPerInch() const { return ScreenPixelsPerInch; }

  // The engine's view of this font, made on first use after a change.
  [[nodiscard]] TFontSpec Spec() const;
  [[nodiscard]] const TFontInstance& Instance() const;

 private:
  void Update();

  std::string FName = "Tahoma";
  int FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  int FOrientation = 0;
  TFontQuality FQuality = fqDefault;
  TFontPitch FPitch = fpDefault;
  std::uint8_t FCharset = DEFAULT_CHARSET;
  mutable std::shared_ptr<const TFontInstance> FInstance;
};

enum TPenStyle : std::uint8_t {
  psSolid,
  psDash,
  psDot,
  psDashDot,
  psDashDotDot,
  psClear,
  psInsideFrame
};

// How a pen (and the inside of a filled figure) combines with the pixels
// already there; the binary raster operations.
enum TPenMode : std::uint8_t {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};

class TPen : public TGraphicsObject {
 public:
  void Assign(const TPersistent* Source) override;

  [[nodiscard]] TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  [[nodiscard]] int Width() const { return FWidth; }
  void SetWidth(int Value);
  [[nodiscard]] TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  [[nodiscard]] TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);

 private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

enum TBrushStyle : std::uint8_t {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

// Setting a colour makes a clear brush solid again.
class TBrush : public TGraphicsObject {
 public:
  void Assign(const TPersistent* Source) override;

  [[nodiscard]] TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  [[nodiscard]] TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

}  // namespace vorn
