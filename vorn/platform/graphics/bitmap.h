// Pictures: the TGraphic base and TBitmap, a picture held as 32-bit pixels
// with a canvas to draw on it.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "vorn/platform/graphics/canvas.h"
#include "vorn/platform/graphics/imagefile.h"
#include "vorn/platform/graphics/surface.h"

namespace vorn {

class TGraphic : public TPersistent {
 public:
  [[nodiscard]] virtual int Width() const = 0;
  [[nodiscard]] virtual int Height() const = 0;
  [[nodiscard]] bool Empty() const { return Width() <= 0 || Height() <= 0; }
  [[nodiscard]] bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);

  // Draws the picture into Rect of the canvas, stretched to fit.
  virtual void DrawOn(TCanvas& Canvas, const TRect& Rect) const = 0;

  virtual void LoadFromStream(std::istream& Stream) = 0;
  virtual void SaveToStream(std::ostream& Stream) const = 0;
  // Writes the picture in the format a file of that name should hold;
  // the picture's own format unless a class knows better.
  virtual void SaveToStreamFor(std::ostream& Stream, const std::string& /*FileName*/) const {
    SaveToStream(Stream);
  }
  void LoadFromFile(const std::string& FileName);
  // Writes the picture's own format, or PNG when the name ends in ".png".
  // The file is replaced only when the whole picture was written.
  void SaveToFile(const std::string& FileName) const;

  [[nodiscard]] const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Handler) { FOnChange = std::move(Handler); }

 protected:
  virtual void Changed();

 private:
  bool FTransparent = false;
  TNotifyEvent FOnChange;
};

enum TPixelFormat : std::uint8_t {
  pfDevice,
  pf1bit,
  pf4bit,
  pf8bit,
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit,
  pfCustom
};

enum TTransparentMode : std::uint8_t { tmAuto, tmFixed };

// A bitmap keeps its pixels as 0x00RRGGBB, top row first, whatever format
// it was read from. A bitmap read from a palette file also keeps the
// palette and the index of every pixel until it is drawn on or resized.
// New or grown areas are white.
class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(int Width, int Height);
  ~TBitmap() override;

  void Assign(const TPersistent* Source) override;

  [[nodiscard]] int Width() const override { return FWidth; }
  [[nodiscard]] int Height() const override { return FHeight; }
  void SetWidth(int Value) { SetSize(Value, FHeight); }
  void SetHeight(int Value) { SetSize(FWidth, Value); }
  // Keeps the pixels that still fit. Raises EInvalidGraphic for sizes
  // beyond the picture limit and leaves the bitmap as it was.
  void SetSize(int Width, int Height);

  [[nodiscard]] TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat Value) { FPixelFormat = Value; }
  [[nodiscard]] bool Monochrome() const { return FPixelFormat == pf1bit; }

  [[nodiscard]] TCanvas* Canvas() const { return FCanvas.get(); }
  [[nodiscard]] TPixel* ScanLine(int Row);
  [[nodiscard]] const TPixel* ScanLine(int Row) const;
  [[nodiscard]] TSurface Surface() const;

  // The colour left out when the bitmap is drawn transparently: with
  // tmAuto the colour of the bottom-left pixel, with tmFixed the one set.
  [[nodiscard]] TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);
  [[nodiscard]] TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value) { FTransparentMode = Value; }

  // Palette data of a picture read from a palette file (else empty).
  [[nodiscard]] const std::vector<TColor>& Palette() const { return FPalette; }
  [[nodiscard]] bool HasPaletteIndices() const { return !FIndices.empty(); }
  // The palette index of a pixel, or -1 when unknown.
  [[nodiscard]] int PaletteIndex(int X, int Y) const;
  // Per-pixel alpha read from the file, or empty.
  [[nodiscard]] const std::vector<std::uint8_t>& Alpha() const { return FAlpha; }

  void DrawOn(TCanvas& Canvas, const TRect& Rect) const override;

  // Reads BMP, PNG or JPEG, told apart by the data's signature. On any
  // error raises EInvalidGraphic and the bitmap stays as it was.
  void LoadFromStream(std::istream& Stream) override;
  void LoadFromMemory(const std::uint8_t* Data, std::size_t Size);
  // Writes BMP.
  void SaveToStream(std::ostream& Stream) const override;
  // PNG for names ending in ".png", else BMP.
  void SaveToStreamFor(std::ostream& Stream, const std::string& FileName) const override;
  void SaveToPngStream(std::ostream& Stream) const;
  // A picture compiled into the library; raises EInvalidGraphic for an
  // unknown name.
  void LoadFromResourceName(const std::string& Name);

  // The pixels as image data (for the file writers).
  [[nodiscard]] TImageData ToImageData() const;
  void FromImageData(TImageData&& Data);

 protected:
  void Changed() override;

 private:
  void Bind();

  int FWidth = 0;
  int FHeight = 0;
  std::vector<TPixel> FPixels;
  std::vector<TColor> FPalette;
  std::vector<std::uint8_t> FIndices;
  std::vector<std::uint8_t> FAlpha;
  TPixelFormat FPixelFormat = pfDevice;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
  std::unique_ptr<TCanvas> FCanvas;
};

}  // namespace vorn
