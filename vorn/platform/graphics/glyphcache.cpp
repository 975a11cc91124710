// Glyph rendering through FreeType and the per-instance glyph cache.
#include "vorn/platform/graphics/glyphcache.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include FT_OUTLINE_H

namespace vorn::text {
namespace {

// The shear of a synthesized italic: about 12 degrees, x += 0.2126 * y.
constexpr FT_Matrix kObliqueShear = {0x10000, 0x0366A, 0, 0x10000};

FT_Matrix RotationMatrix(int tenths) {
  // Right angles are exact so rotated hinted outlines stay on the grid.
  switch (tenths) {
    case 0: return {0x10000, 0, 0, 0x10000};
    case 900: return {0, -0x10000, 0x10000, 0};
    case 1800: return {-0x10000, 0, 0, -0x10000};
    case 2700: return {0, 0x10000, -0x10000, 0};
    default: break;
  }
  const double angle = tenths * std::numbers::pi / 1800.0;
  const auto c = static_cast<FT_Fixed>(std::lround(std::cos(angle) * 65536.0));
  const auto s = static_cast<FT_Fixed>(std::lround(std::sin(angle) * 65536.0));
  // FreeType's y axis points up, so this turns text counter-clockwise on screen.
  return {c, -s, s, c};
}

// Outlines first so synthesized styles and rotation apply; bitmap-only
// faces still load, unstyled.
bool LoadGlyph(FT_Face face, unsigned index, FT_Int32 flags) {
  if (FT_Load_Glyph(face, index, flags | FT_LOAD_NO_BITMAP) == 0) return true;
  return FT_Load_Glyph(face, index, flags) == 0;
}

const unsigned char* BitmapRow(const FT_Bitmap& bitmap, unsigned y) {
  // A negative pitch stores the bottom row first.
  if (bitmap.pitch >= 0) return bitmap.buffer + static_cast<std::size_t>(y) * bitmap.pitch;
  const auto step = static_cast<std::size_t>(-bitmap.pitch);
  return bitmap.buffer + (bitmap.rows - 1 - y) * step;
}

std::uint8_t CoverageAt(const FT_Bitmap& bitmap, const unsigned char* row, unsigned x) {
  switch (bitmap.pixel_mode) {
    case FT_PIXEL_MODE_MONO: return ((row[x >> 3] >> (7 - (x & 7))) & 1) != 0 ? 255 : 0;
    case FT_PIXEL_MODE_GRAY:
      if (bitmap.num_grays == 256 || bitmap.num_grays < 2) return row[x];
      return static_cast<std::uint8_t>(row[x] * 255 / (bitmap.num_grays - 1));
    case FT_PIXEL_MODE_BGRA: return row[x * 4 + 3];
    default: return 0;
  }
}

bool SupportedPixelMode(unsigned char mode) {
  return mode == FT_PIXEL_MODE_MONO || mode == FT_PIXEL_MODE_GRAY || mode == FT_PIXEL_MODE_BGRA;
}

void CopyBitmap(const FT_GlyphSlot slot, TGlyph& glyph) {
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.buffer == nullptr || bitmap.width == 0 || bitmap.rows == 0 ||
      !SupportedPixelMode(bitmap.pixel_mode)) {
    return;
  }
  glyph.Left = slot->bitmap_left;
  glyph.Top = slot->bitmap_top;
  glyph.Width = static_cast<int>(bitmap.width);
  glyph.Height = static_cast<int>(bitmap.rows);
  glyph.Coverage.resize(static_cast<std::size_t>(bitmap.width) * bitmap.rows);
  auto out = glyph.Coverage.begin();
  for (unsigned y = 0; y < bitmap.rows; ++y) {
    const unsigned char* row = BitmapRow(bitmap, y);
    for (unsigned x = 0; x < bitmap.width; ++x) *out++ = CoverageAt(bitmap, row, x);
  }
}

}  // namespace

TGlyphCache::TGlyphCache(std::unique_ptr<TFace> primary, int em, const TGlyphStyle& style)
    : Primary(std::move(primary)), Em(em), Style(style) {}

const TGlyph& TGlyphCache::Insert(char32_t ch, TGlyph glyph) {
  const std::size_t size = glyph.Coverage.size() + sizeof(TGlyph);
  if (Glyphs.size() >= kMaxGlyphs || Bytes + size > kMaxBytes) Clear();
  auto stored = std::make_unique<TGlyph>(std::move(glyph));
  const TGlyph* result = stored.get();
  Glyphs.emplace(ch, std::move(stored));
  Bytes += size;
  if (ch < Ascii.size()) Ascii[ch] = result;
  return *result;
}

void TGlyphCache::Clear() {
  Glyphs.clear();
  Ascii.fill(nullptr);
  Bytes = 0;
}

TGlyph TGlyphCache::Rasterize(char32_t ch) {
  unsigned index = 0;
  TFace* face = FaceFor(ch, index);
  if (face != nullptr) return Render(*face, index);
  TGlyph blank;
  blank.Advance = std::max(1, Em / 2);
  return blank;
}

TFace* TGlyphCache::FaceFor(char32_t ch, unsigned& index) {
  if (Primary == nullptr) return nullptr;
  index = FT_Get_Char_Index(Primary->Handle(), ch);
  if (index != 0) return Primary.get();
  if (TFace* fallback = Fallback()) {
    index = FT_Get_Char_Index(fallback->Handle(), ch);
    if (index != 0) return fallback;
  }
  index = 0;  // the primary face's .notdef box
  return Primary.get();
}

TFace* TGlyphCache::Fallback() {
  if (!FallbackOpened) {
    FallbackOpened = true;
    const TFaceLocation location = LocateFallbackFace(Style.Bold, Style.Italic);
    const TFaceLocation& primary = Primary->Location();
    if (location.Path != primary.Path || location.Index != primary.Index) {
      FallbackFace = TFace::Open(location, Em, Style.Bold, Style.Italic);
    }
  }
  return FallbackFace.get();
}

TGlyph TGlyphCache::Render(TFace& face, unsigned index) const {
  FT_Face handle = face.Handle();
  TGlyph glyph;
  // Advances come from the default hinting in both modes so antialiased and
  // crisp text of one font measure alike.
  if (!LoadGlyph(handle, index, FT_LOAD_DEFAULT)) return glyph;
  glyph.Advance = static_cast<int>((handle->glyph->advance.x + 32) >> 6) + face.EmboldenPixels();
  if (!Style.Antialias && !LoadGlyph(handle, index, FT_LOAD_TARGET_MONO)) return glyph;

  FT_GlyphSlot slot = handle->glyph;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    // Bold grows stems to the right by whole pixels; vertical extent stays.
    if (face.EmboldenPixels() > 0)
      FT_Outline_EmboldenXY(&slot->outline, face.EmboldenPixels() * 64, 0);
    if (face.SynthesizeItalic()) FT_Outline_Transform(&slot->outline, &kObliqueShear);
    if (Style.Orientation != 0) {
      const FT_Matrix rotation = RotationMatrix(Style.Orientation);
      FT_Outline_Transform(&slot->outline, &rotation);
    }
    const FT_Render_Mode mode = Style.Antialias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO;
    if (FT_Render_Glyph(slot, mode) != 0) return glyph;
  }
  if (slot->format == FT_GLYPH_FORMAT_BITMAP) CopyBitmap(slot, glyph);
  // Bitmap-only faces may hand back grey levels; crisp text never blends.
  if (!Style.Antialias) {
    for (auto& value : glyph.Coverage) value = value >= 128 ? 255 : 0;
  }
  return glyph;
}

}  // namespace vorn::text
