// Font files and faces: fontconfig lookups with our family substitutions,
// FreeType faces at a pixel size, and metrics from the faces' tables.
#include "vorn/platform/graphics/fontface.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <system_error>
#include <tuple>
#include <utility>
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

namespace vorn::text {
namespace {

// ---- FreeType-independent helpers -------------------------------------------

std::string NormalizedName(std::string_view name) {
  const auto first = name.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = name.find_last_not_of(" \t");
  std::string result(name.substr(first, last - first + 1));
  std::transform(result.begin(), result.end(), result.begin(), [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return result;
}

// value * em / units, rounded to nearest (halves away from zero).
int ScaleRound(std::int64_t value, int em, int units) {
  const std::int64_t n = value * em;
  const std::int64_t half = units / 2;
  return static_cast<int>(n >= 0 ? (n + half) / units : -((-n + half) / units));
}

// value * em / units, rounded up.
int ScaleCeil(std::int64_t value, int em, int units) {
  const std::int64_t n = value * em;
  return static_cast<int>(n >= 0 ? (n + units - 1) / units : -((-n) / units));
}

// ---- fontconfig ---------------------------------------------------------------

int IntProperty(FcPattern* pattern, const char* object, int fallback) {
  int value = fallback;
  FcPatternGetInteger(pattern, object, 0, &value);
  return value;
}

std::string StringProperty(FcPattern* pattern, const char* object) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || value == nullptr)
    return {};
  return reinterpret_cast<const char*>(value);
}

// One fontconfig configuration for the process, loaded on first use, with
// the answers it gave remembered (matching is far slower than a map lookup).
class TFontconfig {
 public:
  static TFontconfig& Get() {
    static TFontconfig instance;
    return instance;
  }

  TFaceLocation Match(std::string_view family, bool bold, bool italic) {
    std::lock_guard lock(Mutex);
    auto key = std::make_tuple(std::string(family), bold, italic);
    if (auto found = Answers.find(key); found != Answers.end()) return found->second;
    TFaceLocation location = Query(family, bold, italic);
    Answers.emplace(std::move(key), location);
    return location;
  }

  TFontconfig(const TFontconfig&) = delete;
  TFontconfig& operator=(const TFontconfig&) = delete;

 private:
  TFontconfig() : Config(FcInitLoadConfigAndFonts()) {}
  ~TFontconfig() {
    if (Config != nullptr) FcConfigDestroy(Config);
  }

  [[nodiscard]] TFaceLocation Query(std::string_view family, bool bold, bool italic) const {
    if (Config == nullptr) return {};
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return {};
    const std::string name(family);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(Config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(Config, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return {};
    TFaceLocation location;
    location.Path = StringProperty(match, FC_FILE);
    location.Index = IntProperty(match, FC_INDEX, 0);
    location.Family = StringProperty(match, FC_FAMILY);
    FcPatternDestroy(match);
    return location;
  }

  FcConfig* Config = nullptr;
  std::mutex Mutex;
  std::map<std::tuple<std::string, bool, bool>, TFaceLocation> Answers;
};

// ---- the last resort when fontconfig finds nothing ---------------------------

bool IsDejaVuSansFile(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  return name.starts_with("DejaVuSans") && name.ends_with(".ttf");
}

std::string SearchDejaVuUnder(const std::filesystem::path& root) {
  std::error_code error;
  std::filesystem::recursive_directory_iterator it(root, error), end;
  std::string anyDejaVu;
  for (; !error && it != end; it.increment(error)) {
    const auto& path = it->path();
    if (path.filename() == "DejaVuSans.ttf") return path.string();
    if (anyDejaVu.empty() && IsDejaVuSansFile(path)) anyDejaVu = path.string();
  }
  return anyDejaVu;
}

std::string FindDejaVuOnDisk() {
  static const std::string found = [] {
    constexpr std::array kRoots = {"/usr/share/fonts", "/usr/local/share/fonts",
                                   "/usr/X11R6/lib/X11/fonts"};
    for (const char* root : kRoots) {
      if (std::string path = SearchDejaVuUnder(root); !path.empty()) return path;
    }
    return std::string();
  }();
  return found;
}

// ---- metrics from the tables ------------------------------------------------

struct TVerticalUnits {
  std::int64_t Ascent = 0;
  std::int64_t Descent = 0;
  int UnitsPerEm = 0;
};

const TT_OS2* Os2Table(FT_Face face) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  return (os2 != nullptr && os2->version != 0xFFFF) ? os2 : nullptr;
}

const TT_HoriHeader* HheaTable(FT_Face face) {
  return static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
}

bool IsScalable(FT_Face face) { return FT_IS_SCALABLE(face) && face->units_per_EM > 0; }

// Bold by its style flags or a semibold-or-heavier weight class.
bool IsBoldFace(FT_Face face) {
  if ((face->style_flags & FT_STYLE_FLAG_BOLD) != 0) return true;
  const TT_OS2* os2 = Os2Table(face);
  return os2 != nullptr && os2->usWeightClass >= 600;
}

// The average width of lowercase text by the classic OS/2 weighting (letter
// frequencies per thousand, space included), in font units; 0 when a letter
// is missing. Version 3 and later tables average all glyphs instead, which
// for faces with large character sets says little about text width.
std::int64_t WeightedLowercaseWidth(FT_Face face) {
  static constexpr std::array<int, 26> kWeights = {64, 14, 27, 35, 100, 20, 14, 42, 63,
                                                   3,  6,  35, 20, 56,  56, 17, 4,  49,
                                                   56, 71, 31, 10, 18,  3,  18, 2};
  constexpr int kSpaceWeight = 166;
  const auto advance = [face](char32_t ch) -> std::int64_t {
    const FT_UInt index = FT_Get_Char_Index(face, ch);
    FT_Fixed units = 0;
    if (index == 0 || FT_Get_Advance(face, index, FT_LOAD_NO_SCALE, &units) != 0) return -1;
    return units;
  };
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < kWeights.size(); ++i) {
    const std::int64_t width = advance(static_cast<char32_t>('a' + i));
    if (width < 0) return 0;
    sum += width * kWeights[i];
  }
  const std::int64_t space = advance(U' ');
  if (space < 0) return 0;
  return (sum + space * kSpaceWeight) / 1000;
}

// The face's average character width in font units (0 if unknown).
std::int64_t AverageWidthUnits(FT_Face face) {
  const TT_OS2* os2 = Os2Table(face);
  if (os2 == nullptr) return 0;
  if (os2->version >= 3) {
    if (const std::int64_t weighted = WeightedLowercaseWidth(face); weighted > 0) return weighted;
  }
  return std::max<std::int64_t>(os2->xAvgCharWidth, 0);
}

// The cell's ascent and descent in font units: the OS/2 "win" values (what
// a classic desktop uses for the cell), else hhea, else FreeType's values.
TVerticalUnits VerticalUnits(FT_Face face, int em) {
  TVerticalUnits units;
  if (!IsScalable(face)) {
    units.Ascent = face->size->metrics.ascender;
    units.Descent = -face->size->metrics.descender;
    units.UnitsPerEm = em * 64;
  } else if (const TT_OS2* os2 = Os2Table(face);
             os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
    units = {os2->usWinAscent, os2->usWinDescent, face->units_per_EM};
  } else if (const TT_HoriHeader* hhea = HheaTable(face); hhea != nullptr) {
    units = {hhea->Ascender, -hhea->Descender, face->units_per_EM};
  } else {
    units = {face->ascender, -face->descender, face->units_per_EM};
  }
  units.Ascent = std::max<std::int64_t>(units.Ascent, 0);
  units.Descent = std::max<std::int64_t>(units.Descent, 0);
  if (units.UnitsPerEm <= 0) units.UnitsPerEm = std::max(em, 1) * 64;
  if (units.Ascent + units.Descent == 0) {
    units.Ascent = units.UnitsPerEm * 4 / 5;
    units.Descent = units.UnitsPerEm / 5;
  }
  return units;
}

// Design proportions used when there is no face at all.
TVerticalUnits NoFaceUnits() { return {905, 212, 1000}; }

int CellHeight(const TVerticalUnits& units, int em) {
  return ScaleCeil(units.Ascent, em, units.UnitsPerEm) +
         ScaleCeil(units.Descent, em, units.UnitsPerEm);
}

int ExternalLeading(FT_Face face, const TVerticalUnits& units, int em) {
  const TT_HoriHeader* hhea = IsScalable(face) ? HheaTable(face) : nullptr;
  if (hhea == nullptr) return 0;
  const std::int64_t gap = std::int64_t{hhea->Line_Gap} -
                           ((units.Ascent + units.Descent) - (hhea->Ascender - hhea->Descender));
  return std::max(0, ScaleRound(gap, em, units.UnitsPerEm));
}

// Places a decoration so it stays a sensible distance from the glyphs:
// underline below the baseline and inside the descent where it fits.
void PlaceUnderline(TFaceMetrics& m, int center, int thickness) {
  m.UnderlineThickness = std::max(1, thickness);
  int top = center - m.UnderlineThickness / 2;
  if (top + m.UnderlineThickness > m.Descent) top = m.Descent - m.UnderlineThickness;
  m.UnderlineTop = std::max(1, top);
}

void PlaceStrikeOut(TFaceMetrics& m, int heightAboveBaseline, int thickness) {
  m.StrikeOutThickness = std::max(1, thickness);
  const int top = -std::max(heightAboveBaseline, m.StrikeOutThickness);
  m.StrikeOutTop = std::max(top, -m.Ascent);
}

void MeasureDecorations(FT_Face face, TFaceMetrics& m, int em, int unitsPerEm) {
  const int defaultThickness = std::max(1, ScaleRound(1, em, 14));
  if (!IsScalable(face)) {
    PlaceUnderline(m, m.Descent / 2, defaultThickness);
    PlaceStrikeOut(m, ScaleRound(em, 3, 10), defaultThickness);
    return;
  }
  // FreeType reports the underline by the centre of its stroke.
  const int underlineThickness = face->underline_thickness > 0
                                     ? ScaleRound(face->underline_thickness, em, unitsPerEm)
                                     : defaultThickness;
  const int underlineCenter = face->underline_position != 0
                                  ? ScaleRound(-face->underline_position, em, unitsPerEm)
                                  : m.Descent / 2;
  PlaceUnderline(m, underlineCenter, underlineThickness);

  const TT_OS2* os2 = Os2Table(face);
  const bool hasStrike = os2 != nullptr && os2->yStrikeoutSize > 0 && os2->yStrikeoutPosition > 0;
  PlaceStrikeOut(
      m, hasStrike ? ScaleRound(os2->yStrikeoutPosition, em, unitsPerEm) : ScaleRound(em, 3, 10),
      hasStrike ? ScaleRound(os2->yStrikeoutSize, em, unitsPerEm) : underlineThickness);
}

}  // namespace

// ---- TFreeTypeLibrary ------------------------------------------------------------

TFreeTypeLibrary::TFreeTypeLibrary() {
  if (FT_Init_FreeType(&Library) != 0) Library = nullptr;
}

TFreeTypeLibrary::~TFreeTypeLibrary() {
  if (Library != nullptr) FT_Done_FreeType(Library);
}

std::shared_ptr<TFreeTypeLibrary> TFreeTypeLibrary::Shared() {
  static const std::shared_ptr<TFreeTypeLibrary> library = [] {
    auto created = std::make_shared<TFreeTypeLibrary>();
    return created->Handle() != nullptr ? created : nullptr;
  }();
  return library;
}

// ---- family lookup -------------------------------------------------------------------

std::string SubstituteFamily(std::string_view requested) {
  // Families programs ask for that are not installed here. Arial's family
  // shares its metrics with Liberation Sans, Times with Liberation Serif and
  // Courier with Liberation Mono, so layouts measured for them keep their
  // widths. The screen families with a large x-height map to DejaVu Sans,
  // which shares their open, wide design at small pixel sizes.
  static const std::map<std::string, std::string, std::less<>> kSubstitutes = {
      {"", "sans-serif"},
      {"default", "sans-serif"},
      {"system", "sans-serif"},
      {"arial", "Liberation Sans"},
      {"helvetica", "Liberation Sans"},
      {"ms sans serif", "Liberation Sans"},
      {"microsoft sans serif", "Liberation Sans"},
      {"ms shell dlg", "Liberation Sans"},
      {"tahoma", "DejaVu Sans"},
      {"verdana", "DejaVu Sans"},
      {"segoe ui", "DejaVu Sans"},
      {"ms shell dlg 2", "DejaVu Sans"},
      {"times new roman", "Liberation Serif"},
      {"times", "Liberation Serif"},
      {"ms serif", "Liberation Serif"},
      {"courier new", "Liberation Mono"},
      {"courier", "Liberation Mono"},
      {"consolas", "Liberation Mono"},
      {"lucida console", "Liberation Mono"},
  };
  const std::string key = NormalizedName(requested);
  if (auto found = kSubstitutes.find(key); found != kSubstitutes.end()) return found->second;
  return std::string(requested);
}

TFaceLocation LocateFace(std::string_view family, bool bold, bool italic) {
  TFaceLocation location = TFontconfig::Get().Match(SubstituteFamily(family), bold, italic);
  if (!location.Path.empty()) return location;
  location.Path = FindDejaVuOnDisk();
  location.Index = 0;
  location.Family = "DejaVu Sans";
  return location;
}

TFaceLocation LocateFallbackFace(bool bold, bool italic) {
  return LocateFace("DejaVu Sans", bold, italic);
}

// ---- TFace ----------------------------------------------------------------------

TFace::TFace(std::shared_ptr<TFreeTypeLibrary> library, FT_Face face, TFaceLocation location)
    : Library(std::move(library)), Face(face), Where(std::move(location)) {}

TFace::~TFace() {
  std::lock_guard lock(Library->Lock());
  FT_Done_Face(Face);
}

std::unique_ptr<TFace> TFace::Open(const TFaceLocation& location, int em, bool bold, bool italic) {
  auto library = TFreeTypeLibrary::Shared();
  if (library == nullptr || location.Path.empty()) return nullptr;
  FT_Face handle = nullptr;
  {
    std::lock_guard lock(library->Lock());
    if (FT_New_Face(library->Handle(), location.Path.c_str(), location.Index, &handle) != 0) {
      return nullptr;
    }
  }
  std::unique_ptr<TFace> face(new TFace(std::move(library), handle, location));
  face->WantBold = bold && !IsBoldFace(handle);
  face->Oblique = italic && (handle->style_flags & FT_STYLE_FLAG_ITALIC) == 0;
  if (!face->SetEm(em)) return nullptr;
  return face;
}

bool TFace::SetEm(int em) {
  EmPixels = std::clamp(em, kMinEm, kMaxEm);
  if (FT_Set_Pixel_Sizes(Face, 0, static_cast<FT_UInt>(EmPixels)) != 0) {
    if (Face->num_fixed_sizes <= 0 || FT_Select_Size(Face, 0) != 0) return false;
  }
  // Synthesized bold widens every stem by a whole pixel per 24 px of em
  // (at least one), so advances stay whole pixels.
  Embolden = WantBold ? std::max(1, (EmPixels + 12) / 24) : 0;
  return true;
}

// ---- sizes and metrics --------------------------------------------------------

int EmForHeight(const TFace* face, int height) {
  if (height == 0) return kDefaultEm;
  if (height < 0) return height < -kMaxEm ? kMaxEm : std::max(kMinEm, -height);
  const TVerticalUnits units =
      face != nullptr ? VerticalUnits(face->Handle(), face->Em()) : NoFaceUnits();
  // The largest em whose cell fits the requested height: the cell grows
  // monotonically with the em, so a binary search finds it.
  int low = kMinEm;
  int high = kMaxEm;
  while (low < high) {
    const int mid = low + (high - low + 1) / 2;
    if (CellHeight(units, mid) <= height) {
      low = mid;
    } else {
      high = mid - 1;
    }
  }
  return low;
}

TFaceMetrics MeasureFace(const TFace* face, int em) {
  TFaceMetrics m;
  if (face == nullptr) {
    const TVerticalUnits units = NoFaceUnits();
    m.Ascent = ScaleCeil(units.Ascent, em, units.UnitsPerEm);
    m.Descent = ScaleCeil(units.Descent, em, units.UnitsPerEm);
    m.AveCharWidth = std::max(1, em / 2);
    m.MaxCharWidth = em;
    PlaceUnderline(m, m.Descent / 2, 1);
    PlaceStrikeOut(m, ScaleRound(em, 3, 10), 1);
    return m;
  }
  FT_Face handle = face->Handle();
  const TVerticalUnits units = VerticalUnits(handle, em);
  m.Ascent = ScaleCeil(units.Ascent, em, units.UnitsPerEm);
  m.Descent = ScaleCeil(units.Descent, em, units.UnitsPerEm);
  m.ExternalLeading = ExternalLeading(handle, units, em);
  const int embolden = face->EmboldenPixels();
  if (const std::int64_t average = IsScalable(handle) ? AverageWidthUnits(handle) : 0;
      average > 0) {
    m.AveCharWidth = ScaleRound(average, em, units.UnitsPerEm) + embolden;
  }
  m.MaxCharWidth =
      (IsScalable(handle) ? ScaleCeil(handle->max_advance_width, em, units.UnitsPerEm)
                          : static_cast<int>((handle->size->metrics.max_advance + 63) / 64)) +
      embolden;
  MeasureDecorations(handle, m, em, units.UnitsPerEm);
  return m;
}

}  // namespace vorn::text
