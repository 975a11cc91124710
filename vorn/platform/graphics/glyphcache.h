// Internal to the text engine: rendered glyphs of one font instance, kept
// so repeated text costs a lookup and a blit instead of a FreeType render.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "vorn/platform/graphics/fontface.h"

namespace vorn::text {

// A rendered glyph: coverage 0..255 (crisp glyphs use only 0 and 255) and
// where it sits relative to the pen on the baseline.
struct TGlyph {
  int Advance = 0;  // whole pixels along the unrotated baseline
  int Left = 0;     // first bitmap column relative to the pen
  int Top = 0;      // first bitmap row above the baseline (up is positive)
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Coverage;  // Width * Height, top row first
};

// How glyphs are rendered; fixed for the cache's life.
struct TGlyphStyle {
  bool Antialias = true;
  int Orientation = 0;  // tenths of a degree counter-clockwise, 0..3599
  bool Bold = false;    // asked for; the faces synthesize what they lack
  bool Italic = false;
};

// Not thread-safe: the owning font instance serializes access.
class TGlyphCache {
 public:
  // primary may be null (no usable font): glyphs are then blank, em/2 wide.
  TGlyphCache(std::unique_ptr<TFace> primary, int em, const TGlyphStyle& style);

  // The glyph for a character, rendered on first use. From the primary
  // face, else the fallback face, else the primary's .notdef. The reference
  // stays valid until the next call.
  const TGlyph& Glyph(char32_t ch) {
    if (ch < Ascii.size()) {
      if (const TGlyph* glyph = Ascii[ch]) return *glyph;
    } else if (auto found = Glyphs.find(ch); found != Glyphs.end()) {
      return *found->second;
    }
    return Insert(ch, Rasterize(ch));
  }

  [[nodiscard]] const TFace* PrimaryFace() const { return Primary.get(); }
  [[nodiscard]] std::size_t Count() const { return Glyphs.size(); }

  // Bounds: beyond either the cache is emptied and refilled.
  static constexpr std::size_t kMaxGlyphs = 4096;
  static constexpr std::size_t kMaxBytes = std::size_t{4} << 20;

 private:
  const TGlyph& Insert(char32_t ch, TGlyph glyph);
  [[nodiscard]] TGlyph Rasterize(char32_t ch);
  TFace* FaceFor(char32_t ch, unsigned& index);
  TFace* Fallback();
  [[nodiscard]] TGlyph Render(TFace& face, unsigned index) const;
  void Clear();

  std::unique_ptr<TFace> Primary;
  std::unique_ptr<TFace> FallbackFace;
  bool FallbackOpened = false;
  int Em = 0;
  TGlyphStyle Style;

  std::array<const TGlyph*, 128> Ascii{};
  std::unordered_map<char32_t, std::unique_ptr<TGlyph>> Glyphs;
  std::size_t Bytes = 0;
};

}  // namespace vorn::text
