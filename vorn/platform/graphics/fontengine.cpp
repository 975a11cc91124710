// Font instances: metrics, measuring and drawing UTF-8 text with cached
// glyphs, and the process-wide cache of instances per font spec.
#include "vorn/platform/graphics/fontengine.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <cmath>
#include <functional>
#include <mutex>
#include <numbers>
#include <unordered_map>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "vorn/platform/graphics/fontface.h"
#include "vorn/platform/graphics/glyphcache.h"
#include "vorn/platform/runtime/utf8.h"

namespace vorn {
namespace {

using text::TFace;
using text::TGlyph;
using text::TGlyphCache;

// ---- UTF-8 ------------------------------------------------------------------------


// ASCII without a function call; everything else through the full decoder.
inline char32_t NextChar(std::string_view text, std::size_t& pos) {
  const auto byte = static_cast<unsigned char>(text[pos]);
  if (byte < 0x80) {
    ++pos;
    return byte;
  }
  return NextCodePoint(text, pos);
}

// ---- pixels -----------------------------------------------------------------------

// dst + (src - dst) * a / 255 in every byte, rounded to nearest; two bytes
// at a time in 16-bit lanes (each lane stays below 65536).
inline TPixel Blend(TPixel dst, TPixel src, std::uint32_t a) {
  const std::uint32_t inverse = 255 - a;
  std::uint32_t rb = (dst & 0x00FF00FFu) * inverse + (src & 0x00FF00FFu) * a + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  std::uint32_t ag =
      ((dst >> 8) & 0x00FF00FFu) * inverse + ((src >> 8) & 0x00FF00FFu) * a + 0x00800080u;
  ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
  return rb | ag;
}

inline void PutCoverage(TPixel& pixel, TPixel color, std::uint32_t coverage) {
  if (coverage == 0) return;
  pixel = coverage >= 255 ? color : Blend(pixel, color, coverage);
}

// A glyph row over the pixels: four at a time in 16-bit lanes with Blend's
// rounding (coverage 0 keeps a pixel, 255 gives the colour exactly, as
// PutCoverage does), the rest one by one.
inline void BlendRow(TPixel* row, const std::uint8_t* coverage, std::size_t width, TPixel color) {
  std::size_t x = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i colour = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), zero);
  const __m128i full = _mm_set1_epi16(255);
  const __m128i half = _mm_set1_epi16(128);
  const __m128i solid = _mm_set1_epi32(static_cast<int>(color));
  for (; x + 4 <= width; x += 4) {
    std::uint32_t four = 0;
    std::memcpy(&four, coverage + x, 4);
    if (four == 0) continue;
    auto* at = reinterpret_cast<__m128i*>(row + x);
    if (four == 0xFFFFFFFFu) {
      _mm_storeu_si128(at, solid);
      continue;
    }
    __m128i a = _mm_cvtsi32_si128(static_cast<int>(four));
    a = _mm_unpacklo_epi8(a, a);
    a = _mm_unpacklo_epi16(a, a);
    const __m128i d = _mm_loadu_si128(at);
    const auto mix = [&](__m128i D, __m128i A) {
      __m128i t = _mm_add_epi16(_mm_mullo_epi16(D, _mm_sub_epi16(full, A)), _mm_mullo_epi16(colour, A));
      t = _mm_add_epi16(t, half);
      return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
    };
    const __m128i lo = mix(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(a, zero));
    const __m128i hi = mix(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(a, zero));
    _mm_storeu_si128(at, _mm_packus_epi16(lo, hi));
  }
#endif
  for (; x < width; ++x) row[x] = Blend(row[x], color, coverage[x]);
}

// A rectangle in 64-bit coordinates so far-off text cannot overflow.
struct TSpan {
  std::int64_t Left, Top, Right, Bottom;
};

TSpan ClipSpan(const TSpan& span, const TRect& clip) {
  return {std::max<std::int64_t>(span.Left, clip.Left), std::max<std::int64_t>(span.Top, clip.Top),
          std::min<std::int64_t>(span.Right, clip.Right),
          std::min<std::int64_t>(span.Bottom, clip.Bottom)};
}

void BlitGlyph(const TSurface& surface, const TRect& clip, std::int64_t left, std::int64_t top,
               const TGlyph& glyph, TPixel color) {
  if (glyph.Width == 0) return;
  const TSpan span = ClipSpan({left, top, left + glyph.Width, top + glyph.Height}, clip);
  if (span.Left >= span.Right || span.Top >= span.Bottom) return;
  const auto width = static_cast<std::size_t>(span.Right - span.Left);
  for (auto y = span.Top; y < span.Bottom; ++y) {
    const std::uint8_t* coverage =
        glyph.Coverage.data() + (y - top) * glyph.Width + (span.Left - left);
    TPixel* row = surface.Row(static_cast<int>(y)) + span.Left;
    BlendRow(row, coverage, width, color);
  }
}

void FillSpan(const TSurface& surface, const TRect& clip, const TSpan& area, TPixel color) {
  const TSpan span = ClipSpan(area, clip);
  for (auto y = span.Top; y < span.Bottom; ++y) {
    TPixel* row = surface.Row(static_cast<int>(y));
    std::fill(row + span.Left, row + span.Right, color);
  }
}

// ---- rotation -------------------------------------------------------------------

// Screen coordinates (y down) turned counter-clockwise as seen on screen.
struct TRotation {
  double Cos = 1.0;
  double Sin = 0.0;

  explicit TRotation(int tenths) {
    // Right angles exactly, so turned bars keep whole-pixel edges.
    constexpr double kQuarterTurns[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    if (tenths % 900 == 0) {
      Cos = kQuarterTurns[(tenths / 900) % 4][0];
      Sin = kQuarterTurns[(tenths / 900) % 4][1];
      return;
    }
    const double angle = tenths * std::numbers::pi / 1800.0;
    Cos = std::cos(angle);
    Sin = std::sin(angle);
  }
  // Where the unrotated offset (u, v) from the reference point lands.
  [[nodiscard]] double X(double u, double v) const { return u * Cos + v * Sin; }
  [[nodiscard]] double Y(double u, double v) const { return -u * Sin + v * Cos; }
  // The inverse: the unrotated offset of a screen offset.
  [[nodiscard]] double U(double x, double y) const { return x * Cos - y * Sin; }
  [[nodiscard]] double V(double x, double y) const { return x * Sin + y * Cos; }
};

// A bar of the unrotated cell (u0..u1 along the baseline, v0..v1 down from
// the top), turned about (originX, originY). Pixels are sampled at their
// centres; antialiased bars take 4 x 4 samples for their edges.
struct TRotatedBar {
  double U0, V0, U1, V1;

  [[nodiscard]] bool Contains(double u, double v) const {
    return u >= U0 && u < U1 && v >= V0 && v < V1;
  }
};

TSpan RotatedBounds(const TRotatedBar& bar, const TRotation& rotation, int originX, int originY) {
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  for (const double u : {bar.U0, bar.U1}) {
    for (const double v : {bar.V0, bar.V1}) {
      minX = std::min(minX, rotation.X(u, v));
      maxX = std::max(maxX, rotation.X(u, v));
      minY = std::min(minY, rotation.Y(u, v));
      maxY = std::max(maxY, rotation.Y(u, v));
    }
  }
  return {originX + static_cast<std::int64_t>(std::floor(minX)),
          originY + static_cast<std::int64_t>(std::floor(minY)),
          originX + static_cast<std::int64_t>(std::ceil(maxX)) + 1,
          originY + static_cast<std::int64_t>(std::ceil(maxY)) + 1};
}

std::uint32_t BarCoverage(const TRotatedBar& bar, const TRotation& rotation, double x, double y,
                          bool antialias) {
  if (!antialias)
    return bar.Contains(rotation.U(x + 0.5, y + 0.5), rotation.V(x + 0.5, y + 0.5)) ? 255 : 0;
  constexpr int kSamples = 4;
  int hits = 0;
  for (int sy = 0; sy < kSamples; ++sy) {
    for (int sx = 0; sx < kSamples; ++sx) {
      const double px = x + (sx + 0.5) / kSamples;
      const double py = y + (sy + 0.5) / kSamples;
      hits += bar.Contains(rotation.U(px, py), rotation.V(px, py)) ? 1 : 0;
    }
  }
  return static_cast<std::uint32_t>(hits * 255 / (kSamples * kSamples));
}

void FillRotatedBar(const TSurface& surface, const TRect& clip, const TRotatedBar& bar,
                    const TRotation& rotation, int originX, int originY, TPixel color,
                    bool antialias) {
  const TSpan span = ClipSpan(RotatedBounds(bar, rotation, originX, originY), clip);
  for (auto y = span.Top; y < span.Bottom; ++y) {
    TPixel* row = surface.Row(static_cast<int>(y));
    for (auto x = span.Left; x < span.Right; ++x) {
      const auto coverage = BarCoverage(bar, rotation, static_cast<double>(x - originX),
                                        static_cast<double>(y - originY), antialias);
      PutCoverage(row[x], color, coverage);
    }
  }
}

// ---- the font instance -------------------------------------------------------------

int NormalizedOrientation(int tenths) { return ((tenths % 3600) + 3600) % 3600; }

// The face for a spec at its final em size; null only when no font file
// can be opened at all.
std::unique_ptr<TFace> OpenFaceFor(const TFontSpec& spec, text::TFaceLocation& location) {
  location = text::LocateFace(spec.Name, spec.Bold, spec.Italic);
  auto face = TFace::Open(location, text::kDefaultEm, spec.Bold, spec.Italic);
  if (face == nullptr) {
    location = text::LocateFallbackFace(spec.Bold, spec.Italic);
    face = TFace::Open(location, text::kDefaultEm, spec.Bold, spec.Italic);
  }
  if (face != nullptr && !face->SetEm(text::EmForHeight(face.get(), spec.Height))) face.reset();
  return face;
}

class TFreeTypeFont final : public TFontInstance {
 public:
  explicit TFreeTypeFont(const TFontSpec& spec);

  [[nodiscard]] std::string FamilyName() const override { return Family; }
  [[nodiscard]] const TTextMetric& Metric() const override { return Metrics; }
  [[nodiscard]] TSize TextExtent(std::string_view utf8) const override;
  [[nodiscard]] int CharAdvance(char32_t ch) const override;
  void DrawText(const TSurface& surface, const TRect& clip, int X, int Y, std::string_view utf8,
                TPixel color) const override;

 private:
  void DrawUnrotated(const TSurface& surface, const TRect& clip, int X, int Y,
                     std::string_view utf8, TPixel color) const;
  void DrawRotated(const TSurface& surface, const TRect& clip, int X, int Y, std::string_view utf8,
                   TPixel color) const;
  void DrawDecorations(const TSurface& surface, const TRect& clip, int X, int Y, std::int64_t width,
                       TPixel color) const;

  TFontSpec Spec;
  std::string Family;
  TTextMetric Metrics;
  text::TFaceMetrics Layout;
  int Orientation = 0;
  TRotation Rotation{0};

  // Glyph rendering mutates the cache; one instance may be shared widely.
  mutable std::mutex Mutex;
  mutable std::unique_ptr<TGlyphCache> Glyphs;
};

TFreeTypeFont::TFreeTypeFont(const TFontSpec& spec)
    : Spec(spec), Orientation(NormalizedOrientation(spec.Orientation)), Rotation(Orientation) {
  text::TFaceLocation location;
  auto face = OpenFaceFor(spec, location);
  const int em = face != nullptr ? face->Em() : text::EmForHeight(nullptr, spec.Height);
  Family = face != nullptr ? location.Family : std::string();
  Layout = text::MeasureFace(face.get(), em);
  Glyphs = std::make_unique<TGlyphCache>(
      std::move(face), em, text::TGlyphStyle{spec.Antialias, Orientation, spec.Bold, spec.Italic});

  Metrics.Ascent = Layout.Ascent;
  Metrics.Descent = Layout.Descent;
  Metrics.Height = Layout.Ascent + Layout.Descent;
  Metrics.InternalLeading = Metrics.Height - em;
  Metrics.ExternalLeading = Layout.ExternalLeading;
  Metrics.AveCharWidth = Layout.AveCharWidth > 0 ? Layout.AveCharWidth : Glyphs->Glyph('x').Advance;
  Metrics.MaxCharWidth = std::max(Layout.MaxCharWidth, Metrics.AveCharWidth);
}

TSize TFreeTypeFont::TextExtent(std::string_view utf8) const {
  std::lock_guard lock(Mutex);
  std::int64_t width = 0;
  for (std::size_t pos = 0; pos < utf8.size();) width += Glyphs->Glyph(NextChar(utf8, pos)).Advance;
  return {static_cast<int>(std::min<std::int64_t>(width, INT_MAX)), Metrics.Height};
}

int TFreeTypeFont::CharAdvance(char32_t ch) const {
  std::lock_guard lock(Mutex);
  return Glyphs->Glyph(ch).Advance;
}

void TFreeTypeFont::DrawText(const TSurface& surface, const TRect& clip, int X, int Y,
                             std::string_view utf8, TPixel color) const {
  if (!surface.Valid() || utf8.empty()) return;
  const TRect area = IntersectRect(clip, surface.BoundsRect());
  if (area.IsEmpty()) return;
  std::lock_guard lock(Mutex);
  if (Orientation == 0) {
    DrawUnrotated(surface, area, X, Y, utf8, color);
  } else {
    DrawRotated(surface, area, X, Y, utf8, color);
  }
}

void TFreeTypeFont::DrawUnrotated(const TSurface& surface, const TRect& clip, int X, int Y,
                                  std::string_view utf8, TPixel color) const {
  const std::int64_t baseline = std::int64_t{Y} + Metrics.Ascent;
  // Ink never reaches further left of its pen position than this, so once
  // the pen is this far past the clip nothing more can show.
  const std::int64_t reach = std::int64_t{Metrics.MaxCharWidth} + Metrics.Height;
  std::int64_t pen = X;
  for (std::size_t pos = 0; pos < utf8.size() && pen <= clip.Right + reach;) {
    const TGlyph& glyph = Glyphs->Glyph(NextChar(utf8, pos));
    BlitGlyph(surface, clip, pen + glyph.Left, baseline - glyph.Top, glyph, color);
    pen += glyph.Advance;
  }
  DrawDecorations(surface, clip, X, Y, pen - X, color);
}

void TFreeTypeFont::DrawRotated(const TSurface& surface, const TRect& clip, int X, int Y,
                                std::string_view utf8, TPixel color) const {
  const double ascent = Metrics.Ascent;
  std::int64_t pen = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const TGlyph& glyph = Glyphs->Glyph(NextChar(utf8, pos));
    const auto penX = static_cast<double>(pen);
    const std::int64_t originX = X + std::llround(Rotation.X(penX, ascent));
    const std::int64_t originY = Y + std::llround(Rotation.Y(penX, ascent));
    BlitGlyph(surface, clip, originX + glyph.Left, originY - glyph.Top, glyph, color);
    pen += glyph.Advance;
  }
  DrawDecorations(surface, clip, X, Y, pen, color);
}

void TFreeTypeFont::DrawDecorations(const TSurface& surface, const TRect& clip, int X, int Y,
                                    std::int64_t width, TPixel color) const {
  if (width <= 0) return;
  struct TBar {
    bool Wanted;
    int Top;  // first row below the baseline (negative: above)
    int Thickness;
  };
  const std::array<TBar, 2> bars = {
      TBar{Spec.Underline, Layout.UnderlineTop, Layout.UnderlineThickness},
      TBar{Spec.StrikeOut, Layout.StrikeOutTop, Layout.StrikeOutThickness}};
  for (const auto& [wanted, top, thickness] : bars) {
    if (!wanted) continue;
    const int barTop = Metrics.Ascent + top;  // rows down from the cell top
    if (Orientation == 0) {
      const std::int64_t y = std::int64_t{Y} + barTop;
      FillSpan(surface, clip, {X, y, X + width, y + thickness}, color);
    } else {
      const TRotatedBar bar{0.0, static_cast<double>(barTop), static_cast<double>(width),
                            static_cast<double>(barTop + thickness)};
      FillRotatedBar(surface, clip, bar, Rotation, X, Y, color, Spec.Antialias);
    }
  }
}

// ---- the instance cache ----------------------------------------------------------

struct TSpecHash {
  std::size_t operator()(const TFontSpec& spec) const {
    std::size_t hash = std::hash<std::string>{}(spec.Name);
    const auto mix = [&hash](std::size_t value) {
      hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
    };
    mix(std::hash<int>{}(spec.Height));
    mix(std::hash<int>{}(spec.Orientation));
    mix((spec.Bold ? 1u : 0u) | (spec.Italic ? 2u : 0u) | (spec.Underline ? 4u : 0u) |
        (spec.StrikeOut ? 8u : 0u) | (spec.Antialias ? 16u : 0u));
    return hash;
  }
};

// Instances per font description. Unreferenced ones are dropped, least recently asked
// for first, once the cache grows past kHighWater.
class TFontCache {
 public:
  std::shared_ptr<const TFontInstance> Acquire(const TFontSpec& spec) {
    std::lock_guard lock(Mutex);
    ++Clock;
    if (auto found = Fonts.find(spec); found != Fonts.end()) {
      found->second.LastUse = Clock;
      return found->second.Font;
    }
    auto font = std::make_shared<const TFreeTypeFont>(spec);
    Fonts.emplace(spec, TEntry{font, Clock});
    if (Fonts.size() > kHighWater) Trim();
    return font;
  }

 private:
  static constexpr std::size_t kHighWater = 64;
  static constexpr std::size_t kLowWater = 48;

  struct TEntry {
    std::shared_ptr<const TFreeTypeFont> Font;
    std::uint64_t LastUse = 0;
  };
  using TMap = std::unordered_map<TFontSpec, TEntry, TSpecHash>;

  void Trim() {
    std::vector<TMap::iterator> unused;
    for (auto it = Fonts.begin(); it != Fonts.end(); ++it) {
      if (it->second.Font.use_count() == 1) unused.push_back(it);
    }
    std::sort(unused.begin(), unused.end(),
              [](auto a, auto b) { return a->second.LastUse < b->second.LastUse; });
    for (auto it : unused) {
      if (Fonts.size() <= kLowWater) break;
      Fonts.erase(it);
    }
  }

  std::mutex Mutex;
  TMap Fonts;
  std::uint64_t Clock = 0;
};

}  // namespace

int TFontInstance::CharAdvance(char32_t ch) const {
  std::string one;
  AppendUtf8(one, ch);
  return TextExtent(one).cx;
}

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  const auto asLatin1 = [&pos, lead] {
    ++pos;
    return static_cast<char32_t>(lead);
  };
  int length = 0;
  char32_t ch = 0;
  char32_t smallest = 0;
  if (lead < 0x80) return asLatin1();
  if ((lead & 0xE0) == 0xC0) {
    length = 2, ch = lead & 0x1Fu, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, ch = lead & 0x0Fu, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, ch = lead & 0x07u, smallest = 0x10000;
  } else {
    return asLatin1();
  }
  if (text.size() - pos < static_cast<std::size_t>(length)) return asLatin1();
  for (int i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return asLatin1();
    ch = (ch << 6) | (next & 0x3Fu);
  }
  if (ch < smallest || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return asLatin1();
  pos += length;
  return ch;
}

std::shared_ptr<const TFontInstance> AcquireFont(const TFontSpec& spec) {
  static TFontCache cache;
  return cache.Acquire(spec);
}

}  // namespace vorn
