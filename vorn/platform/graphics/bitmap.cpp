#include "vorn/platform/graphics/bitmap.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "vorn/platform/runtime/files.h"
#include "vorn/resources/resources.h"

namespace vorn {

namespace {

constexpr TPixel kWhite = 0x00FFFFFF;

bool EndsWithNoCase(const std::string& s, std::string_view suffix) {
  if (s.size() < suffix.size()) return false;
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    const char c = s[s.size() - suffix.size() + i];
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    if (lower != suffix[i]) return false;
  }
  return true;
}

void CheckSize(int w, int h) {
  if (w < 0 || h < 0 || w > kMaxImageSide || h > kMaxImageSide ||
      static_cast<std::int64_t>(w) * h > kMaxImagePixels) {
    throw EInvalidGraphic("Bitmap size " + std::to_string(w) + " x " + std::to_string(h) +
                          " is beyond the picture limit");
  }
}

TPixelFormat FormatForBits(int bits) {
  switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf16bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfDevice;
  }
}

}  // namespace

// ---- TGraphic ------------------------------------------------------------------

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed();
}

void TGraphic::Changed() {
  if (FOnChange) FOnChange(this);
}

void TGraphic::LoadFromFile(const std::string& FileName) {
  std::ifstream in(FileName, std::ios::binary);
  if (!in) throw EInvalidGraphic("Cannot open picture file \"" + FileName + "\"");
  LoadFromStream(in);
}

void TGraphic::SaveToFile(const std::string& FileName) const {
  SaveFileAtomically(FileName, [&](std::ostream& out) { SaveToStreamFor(out, FileName); });
}

// ---- TBitmap -------------------------------------------------------------------

TBitmap::TBitmap() : FCanvas(std::make_unique<TCanvas>()) {
  FCanvas->SetOnChange([this](TObject*) { Changed(); });
}

TBitmap::TBitmap(int Width, int Height) : TBitmap() { SetSize(Width, Height); }

TBitmap::~TBitmap() = default;

void TBitmap::Bind() {
  if (FWidth > 0 && FHeight > 0) {
    FCanvas->Attach(Surface());
  } else {
    FCanvas->Detach();
  }
}

TSurface TBitmap::Surface() const {
  TSurface s;
  s.Bits = const_cast<TPixel*>(FPixels.data());
  s.Width = FWidth;
  s.Height = FHeight;
  s.Stride = FWidth;
  return s;
}

void TBitmap::SetSize(int Width, int Height) {
  if (Width == FWidth && Height == FHeight) return;
  CheckSize(Width, Height);
  std::vector<TPixel> grown(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height), kWhite);
  const int keepW = std::min(Width, FWidth), keepH = std::min(Height, FHeight);
  for (int y = 0; y < keepH; ++y) {
    std::copy_n(FPixels.data() + static_cast<std::size_t>(y) * FWidth, keepW,
                grown.data() + static_cast<std::size_t>(y) * Width);
  }
  FPixels = std::move(grown);
  FWidth = Width;
  FHeight = Height;
  FIndices.clear();
  FAlpha.clear();
  Bind();
  Changed();
}

TPixel* TBitmap::ScanLine(int Row) {
  if (Row < 0 || Row >= FHeight) throw EInvalidGraphic("Scan line index out of range");
  return FPixels.data() + static_cast<std::size_t>(Row) * FWidth;
}

const TPixel* TBitmap::ScanLine(int Row) const {
  if (Row < 0 || Row >= FHeight) throw EInvalidGraphic("Scan line index out of range");
  return FPixels.data() + static_cast<std::size_t>(Row) * FWidth;
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (FWidth <= 0 || FHeight <= 0) return clDefault;
  return PixelToColor(FPixels[static_cast<std::size_t>(FHeight - 1) * FWidth] & 0xFFFFFFu);
}

void TBitmap::SetTransparentColor(TColor Value) {
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed();
}

int TBitmap::PaletteIndex(int X, int Y) const {
  if (FIndices.empty() || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return -1;
  return FIndices[static_cast<std::size_t>(Y) * FWidth + X];
}

void TBitmap::Changed() {
  // Drawing makes the palette indices of a loaded picture stale.
  FIndices.clear();
  TGraphic::Changed();
}

void TBitmap::Assign(const TPersistent* Source) {
  if (const auto* b = dynamic_cast<const TBitmap*>(Source)) {
    if (b == this) return;
    FWidth = b->FWidth;
    FHeight = b->FHeight;
    FPixels = b->FPixels;
    FPalette = b->FPalette;
    FAlpha = b->FAlpha;
    FPixelFormat = b->FPixelFormat;
    FTransparentColor = b->FTransparentColor;
    FTransparentMode = b->FTransparentMode;
    SetTransparent(b->Transparent());
    Bind();
    TGraphic::Changed();
    FIndices = b->FIndices;
    return;
  }
  TGraphic::Assign(Source);
}

void TBitmap::DrawOn(TCanvas& Canvas, const TRect& Rect) const {
  if (FWidth <= 0 || FHeight <= 0) return;
  const TPixel key = ColorToDevice(TransparentColor());
  Canvas.StretchFromSurface(Rect, Surface(), {0, 0, FWidth, FHeight}, Transparent(), key);
}

void TBitmap::LoadFromStream(std::istream& Stream) {
  const std::vector<std::uint8_t> bytes = ReadAllBytes(Stream);
  LoadFromMemory(bytes.data(), bytes.size());
}

void TBitmap::LoadFromMemory(const std::uint8_t* Data, std::size_t Size) {
  FromImageData(ReadImage(Data, Size));
}

void TBitmap::FromImageData(TImageData&& Data) {
  CheckSize(Data.Width, Data.Height);
  const std::size_t count = static_cast<std::size_t>(Data.Width) * static_cast<std::size_t>(Data.Height);
  if (Data.Pixels.size() != count || (!Data.Indices.empty() && Data.Indices.size() != count) ||
      (!Data.Alpha.empty() && Data.Alpha.size() != count)) {
    throw EInvalidGraphic("Inconsistent picture data");
  }
  FWidth = Data.Width;
  FHeight = Data.Height;
  FPixels = std::move(Data.Pixels);
  FPalette = std::move(Data.Palette);
  FAlpha = std::move(Data.Alpha);
  FPixelFormat = FormatForBits(Data.SourceBits);
  Bind();
  TGraphic::Changed();
  FIndices = std::move(Data.Indices);
}

TImageData TBitmap::ToImageData() const {
  TImageData data;
  data.Width = FWidth;
  data.Height = FHeight;
  data.Pixels = FPixels;
  for (TPixel& p : data.Pixels) p &= 0xFFFFFFu;
  if (!FIndices.empty()) {
    data.Palette = FPalette;
    data.Indices = FIndices;
  }
  data.Alpha = FAlpha;
  return data;
}

void TBitmap::SaveToStream(std::ostream& Stream) const { WriteBmp(Stream, ToImageData()); }

void TBitmap::SaveToPngStream(std::ostream& Stream) const { WritePng(Stream, ToImageData()); }

void TBitmap::SaveToStreamFor(std::ostream& Stream, const std::string& FileName) const {
  if (EndsWithNoCase(FileName, ".png")) {
    SaveToPngStream(Stream);
  } else {
    SaveToStream(Stream);
  }
}

void TBitmap::LoadFromResourceName(const std::string& Name) {
  const TResourceImage* image = FindResourceImage(Name);
  if (image == nullptr) throw EInvalidGraphic("No built-in picture named \"" + Name + "\"");
  LoadFromMemory(image->Data, image->Size);
}

}  // namespace vorn
