// The text engine under TFont and TCanvas: finds faces through fontconfig,
// renders glyphs with FreeType at 96 pixels per inch, caches them, measures
// and draws UTF-8 text onto surfaces. Not used by components directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "vorn/platform/graphics/color.h"
#include "vorn/platform/graphics/surface.h"
#include "vorn/platform/graphics/types.h"

namespace vorn {

// What a font asks for. Height follows the drawing interface's convention:
// negative = the em (character) height in pixels, positive = the cell
// height (ascent + descent) in pixels, 0 = a default size.
struct TFontSpec {
  std::string Name = "default";
  int Height = -11;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  bool Antialias = true;
  // Counter-clockwise rotation in tenths of a degree.
  int Orientation = 0;

  bool operator==(const TFontSpec&) const = default;
};

// Metrics in whole pixels, as a text layout needs them.
struct TTextMetric {
  int Ascent = 0;           // baseline to top of the cell
  int Descent = 0;          // baseline to bottom of the cell
  int Height = 0;           // Ascent + Descent
  int InternalLeading = 0;  // Height minus the em height
  int ExternalLeading = 0;
  int AveCharWidth = 0;
  int MaxCharWidth = 0;
};

class TFontInstance {
 public:
  virtual ~TFontInstance() = default;

  // The family actually used (after substitution), for diagnostics.
  [[nodiscard]] virtual std::string FamilyName() const = 0;
  [[nodiscard]] virtual const TTextMetric& Metric() const = 0;

  // Unrotated extent: cx is the sum of the glyphs' whole-pixel advances,
  // cy is Metric().Height. Invalid UTF-8 bytes count as Latin-1 characters.
  [[nodiscard]] virtual TSize TextExtent(std::string_view utf8) const = 0;

  // The whole-pixel advance of one character: a string's TextExtent().cx is
  // the sum over its characters (no kerning), so caret positions add up.
  [[nodiscard]] virtual int CharAdvance(char32_t ch) const;

  // Draws the text with the top-left corner of its unrotated cell at (X, Y)
  // in surface coordinates, rotated counter-clockwise by the description's
  // Orientation about that corner. Only pixels inside Clip (already
  // intersected with the surface) change. Antialiased glyphs blend Color
  // over the destination by coverage; crisp glyphs set it. Underline and
  // strike-out lines are drawn with the text. The background is not touched.
  virtual void DrawText(const TSurface& surface, const TRect& clip, int X, int Y,
                        std::string_view utf8, TPixel color) const = 0;
};

// Decodes the character starting at text[pos] (pos < text.size()) and
// moves pos past it. Bytes that do not start a well-formed UTF-8 sequence
// (stray continuation bytes, overlong forms, surrogates, values beyond
// U+10FFFF, truncated sequences) come out one at a time as Latin-1
// characters, exactly as the text engine measures and draws them.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

// A shared, cached instance for the description. Never null: a family we lack
// maps to a close installed face, and "default" to the platform default.
std::shared_ptr<const TFontInstance> AcquireFont(const TFontSpec& spec);

}  // namespace vorn
