// Internal to the text engine: finding font files, opening FreeType faces
// and turning their tables into whole-pixel metrics. TFontInstance users
// never include this.
#pragma once

#include <ft2build.h>

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include FT_FREETYPE_H

namespace vorn::text {

// The FreeType library handle. Every open face keeps the library alive, so
// faces that outlive the engine's static caches are still closed safely.
class TFreeTypeLibrary {
 public:
  TFreeTypeLibrary();
  ~TFreeTypeLibrary();
  TFreeTypeLibrary(const TFreeTypeLibrary&) = delete;
  TFreeTypeLibrary& operator=(const TFreeTypeLibrary&) = delete;

  // Created on first use; null only when FreeType cannot start.
  static std::shared_ptr<TFreeTypeLibrary> Shared();

  [[nodiscard]] FT_Library Handle() const { return Library; }
  // Opening and closing faces touch the library's shared state.
  [[nodiscard]] std::mutex& Lock() { return Mutex; }

 private:
  FT_Library Library = nullptr;
  std::mutex Mutex;
};

// A font file and the family fontconfig knows it by.
struct TFaceLocation {
  std::string Path;  // empty: no font file at all
  int Index = 0;
  std::string Family;
  bool operator==(const TFaceLocation&) const = default;
};

// The installed family (or fontconfig alias) used for a requested name:
// well-known families we lack map to metric- or design-compatible faces,
// "default" and "" to the platform's sans-serif. Case-insensitive.
std::string SubstituteFamily(std::string_view requested);

// The file for a family and style. Asks fontconfig; when it finds nothing,
// any DejaVu Sans file on disk; Path stays empty only when neither exists.
TFaceLocation LocateFace(std::string_view family, bool bold, bool italic);

// The face that supplies characters the requested face lacks.
TFaceLocation LocateFallbackFace(bool bold, bool italic);

// An open FreeType face set to one pixel size, with the styles it has to
// fake because the file lacks them. Whether the file is bold or italic is
// read from the file itself: fontconfig reports the requested style for
// faces it would synthesize.
class TFace {
 public:
  // Null when the file cannot be opened as a font or set to the size.
  static std::unique_ptr<TFace> Open(const TFaceLocation& location, int em, bool bold, bool italic);
  ~TFace();
  TFace(const TFace&) = delete;
  TFace& operator=(const TFace&) = delete;

  [[nodiscard]] FT_Face Handle() const { return Face; }
  [[nodiscard]] int Em() const { return EmPixels; }
  // Extra width, in whole pixels, that synthesized bold adds to each glyph.
  [[nodiscard]] int EmboldenPixels() const { return Embolden; }
  [[nodiscard]] bool SynthesizeItalic() const { return Oblique; }
  [[nodiscard]] const TFaceLocation& Location() const { return Where; }

  // Changes the pixel size (clamped to kMinEm..kMaxEm); false on failure.
  bool SetEm(int em);

 private:
  TFace(std::shared_ptr<TFreeTypeLibrary> library, FT_Face face, TFaceLocation location);

  std::shared_ptr<TFreeTypeLibrary> Library;
  FT_Face Face = nullptr;
  TFaceLocation Where;
  int EmPixels = 0;
  int Embolden = 0;
  bool Oblique = false;
  bool WantBold = false;
};

// Largest and smallest em sizes we render; larger requests are clamped so a
// wild font height cannot ask for gigabytes of glyph bitmaps.
constexpr int kMinEm = 1;
constexpr int kMaxEm = 2048;
// The em height of a font of height 0 (an 8-point font at 96 pixels per inch).
constexpr int kDefaultEm = 11;

// The em size for a font height: negative = em pixels, positive = cell
// height, 0 = default. face may be null (then cell height ~ em * 1.2).
int EmForHeight(const TFace* face, int height);

// Whole-pixel measurements of a face at its pixel size.
struct TFaceMetrics {
  int Ascent = 0;
  int Descent = 0;
  int ExternalLeading = 0;
  int AveCharWidth = 0;  // 0 when the face does not record one
  int MaxCharWidth = 0;
  // Decorations: top row relative to the baseline (positive = below) and
  // thickness in rows, at least 1.
  int UnderlineTop = 0;
  int UnderlineThickness = 1;
  int StrikeOutTop = 0;
  int StrikeOutThickness = 1;
};

// Metrics for a face; face may be null (then derived from em alone).
TFaceMetrics MeasureFace(const TFace* face, int em);

}  // namespace vorn::text
