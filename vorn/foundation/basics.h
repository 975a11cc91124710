// Shared types of the base services: the small enumerations every component
// uses, numeric constants, the library's exception base, the common events,
// the language tables of the calendar and the predefined colour table.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "vorn/platform/graphics/color.h"
#include "vorn/platform/runtime/classes.h"

namespace vorn {

// ---- enumerations -------------------------------------------------------------

// Frames drawn around a control (see DrawFrame): none, one line, a sunken
// and a raised bevel, and two double-line styles (a ridge and a groove).
enum TFrameStyle : std::uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };

// Line colours of self-drawn frames: fixed grey and white, or the system's
// shadow and highlight colours.
enum TColorScheme : std::uint8_t { csBWG, csSystem };

// Which decimal separator a numeric text accepts: the locale's, a point, a
// comma, or either.
enum TDecPSep : std::uint8_t { dsLocale, dsPoint, dsComma, dsBoth };

// Direction in which the cursor advances after an entry.
enum TOrientation : std::uint8_t { orDown, orRight };

// Growth direction of a bar.
enum TDirection : std::uint8_t { diUp, diDown, diLeft, diRight };

// How a background picture fills its area.
enum TBkgFill : std::uint8_t { bfSimple, bfStretch, bfTile };

// Languages of the date tables. lgUndefined reads the English entries.
enum TLanguage : std::uint8_t { lgUndefined, lgEnglish, lgGerman, lgFrench, lgSpanish };
constexpr int LanguageCount = 5;

// How a filter combines two verdicts; see CombineLogic.
enum TLogicOp : std::uint8_t { loNone, loAND, loOR, loXOR, loANDNOT, loORNOT };

// Left op Right: loNone gives Left alone, loANDNOT is Left and not Right,
// loORNOT is Left or not Right.
bool CombineLogic(TLogicOp Op, bool Left, bool Right);

// ---- constants -----------------------------------------------------------------

constexpr double uc_MaxDouble = std::numeric_limits<double>::max();
// Real is the double type here, so its largest value is that of double.
constexpr double uc_MaxReal = std::numeric_limits<double>::max();
constexpr long double uc_ln10 = 2.302585092994045684017991454684364208L;

// ---- exceptions and events -------------------------------------------------------

// The base of every exception the library raises for failures a caller can
// cause; each unit derives its own class from it.
class EVORNError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Runs Action and turns a failed allocation into EVORNError naming What,
// for operations that must leave their object as it was when memory runs
// out.
template <typename F>
void WithMemory(const std::string& What, F&& Action) {
  try {
    Action();
  } catch (const std::bad_alloc&) {
    throw EVORNError(What + ": not enough memory");
  } catch (const std::length_error&) {
    throw EVORNError(What + ": size too large");
  }
}

using TOnPercentDoneEvent = std::function<void(TObject* Sender, int Percent)>;

// Raised by the containers before they exchange two rows (Kind 0) or two
// columns (Kind 1) while sorting. Pos1 and Pos2 are the exchanged positions
// (1-based); Low and High give the span of the other dimension that moves
// with them (columns for a row exchange, rows for a column exchange).
using TBeforeSortExchgEvent =
    std::function<void(TObject* Sender, int Kind, int Pos1, int Pos2, int Low, int High)>;

using TDoubleArray = std::vector<double>;

// Calls a percent-done handler about every hundredth of a long operation.
// Without a handler it costs one test per step.
class TPercentReporter {
 public:
  TPercentReporter(const TOnPercentDoneEvent& Handler, TObject* Sender, std::int64_t Total);
  void Step(std::int64_t Done) {
    if (FHandler && Done >= FNext) Report(Done);
  }
  // Reports 100 percent once.
  void Finish();

 private:
  void Report(std::int64_t Done);

  TOnPercentDoneEvent FHandler;  // a copy: a handler may replace the event
  TObject* FSender;
  std::int64_t FTotal;
  std::int64_t FNext = 0;
  int FLast = -1;
};

// ---- language tables ---------------------------------------------------------------

// Day names of two or three characters, indexed [language][0..6], 0 = Monday.
extern const std::array<std::array<const char*, 7>, LanguageCount> WeekDayShort;
// Month names of at most four characters, indexed [language][1..12]; entry 0
// of every row is empty.
extern const std::array<std::array<const char*, 13>, LanguageCount> MonthShort;
// Month names of at most ten characters, indexed [language][1..12].
extern const std::array<std::array<const char*, 13>, LanguageCount> MonthLong;

// ---- predefined colours --------------------------------------------------------------

struct TPredefinedColor {
  TColor Color;
  const char* Name;
};

constexpr int NumPredefinedColors = 47;
// The 16 basic VGA colours, four further colours (money green, sky blue,
// cream, medium grey), then 27 system colours.
extern const std::array<TPredefinedColor, NumPredefinedColors> PredefinedColors;

}  // namespace vorn
