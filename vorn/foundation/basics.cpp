#include "vorn/foundation/basics.h"

#include <algorithm>

namespace vorn {

bool CombineLogic(TLogicOp Op, bool Left, bool Right) {
  switch (Op) {
    case loAND: return Left && Right;
    case loOR: return Left || Right;
    case loXOR: return Left != Right;
    case loANDNOT: return Left && !Right;
    case loORNOT: return Left || !Right;
    case loNone: break;
  }
  return Left;
}

// ---- TPercentReporter --------------------------------------------------------

TPercentReporter::TPercentReporter(const TOnPercentDoneEvent& Handler, TObject* Sender,
                                   std::int64_t Total)
    : FHandler(Handler), FSender(Sender), FTotal(std::max<std::int64_t>(Total, 1)) {}

void TPercentReporter::Report(std::int64_t Done) {
  const int percent = static_cast<int>(std::min<std::int64_t>(Done * 100 / FTotal, 100));
  if (percent != FLast) {
    FLast = percent;
    FHandler(FSender, percent);
  }
  FNext = (static_cast<std::int64_t>(percent) + 1) * FTotal / 100;
  if (FNext <= Done) FNext = Done + 1;
}

void TPercentReporter::Finish() {
  if (FHandler && FLast != 100) {
    FLast = 100;
    FHandler(FSender, 100);
  }
}

// ---- language tables ------------------------------------------------------------

namespace {

constexpr std::array<const char*, 7> kDaysEnglish{"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
constexpr std::array<const char*, 13> kMonthsShortEnglish{
    "", "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 13> kMonthsLongEnglish{
    "",     "January", "February", "March",   "April",    "May",     "June",
    "July", "August",  "September", "October", "November", "December"};

}  // namespace

const std::array<std::array<const char*, 7>, LanguageCount> WeekDayShort{{
    kDaysEnglish,
    kDaysEnglish,
    {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"},
    {"Lu", "Ma", "Me", "Je", "Ve", "Sa", "Di"},
    {"Lu", "Ma", "Mi", "Ju", "Vi", "Sá", "Do"},
}};

const std::array<std::array<const char*, 13>, LanguageCount> MonthShort{{
    kMonthsShortEnglish,
    kMonthsShortEnglish,
    {"", "Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"},
    {"", "janv", "févr", "mars", "avr", "mai", "juin", "juil", "août", "sept", "oct", "nov",
     "déc"},
    {"", "ene", "feb", "mar", "abr", "may", "jun", "jul", "ago", "sep", "oct", "nov", "dic"},
}};

const std::array<std::array<const char*, 13>, LanguageCount> MonthLong{{
    kMonthsLongEnglish,
    kMonthsLongEnglish,
    {"", "Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September",
     "Oktober", "November", "Dezember"},
    {"", "janvier", "février", "mars", "avril", "mai", "juin", "juillet", "août", "septembre",
     "octobre", "novembre", "décembre"},
    {"", "enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre",
     "octubre", "noviembre", "diciembre"},
}};

// ---- predefined colours -------------------------------------------------------------

namespace {

// The colours in table order; their names are the platform's colour names.
constexpr std::array<TColor, NumPredefinedColors> kPredefinedColorValues{{
    clBlack,
    clMaroon,
    clGreen,
    clOlive,
    clNavy,
    clPurple,
    clTeal,
    clGray,
    clSilver,
    clRed,
    clLime,
    clYellow,
    clBlue,
    clFuchsia,
    clAqua,
    clWhite,
    clMoneyGreen,
    clSkyBlue,
    clCream,
    clMedGray,
    clScrollBar,
    clBackground,
    clActiveCaption,
    clInactiveCaption,
    clMenu,
    clWindow,
    clWindowFrame,
    clMenuText,
    clWindowText,
    clCaptionText,
    clActiveBorder,
    clInactiveBorder,
    clAppWorkSpace,
    clHighlight,
    clHighlightText,
    clBtnFace,
    clBtnShadow,
    clGrayText,
    clBtnText,
    clInactiveCaptionText,
    clBtnHighlight,
    cl3DDkShadow,
    cl3DLight,
    clInfoText,
    clInfoBk,
    clGradientActiveCaption,
    clGradientInactiveCaption,
}};

std::array<TPredefinedColor, NumPredefinedColors> MakePredefinedColors() {
  std::array<TPredefinedColor, NumPredefinedColors> table{};
  for (std::size_t i = 0; i < table.size(); ++i) {
    table[i] = {kPredefinedColorValues[i], ColorIdentName(kPredefinedColorValues[i])};
  }
  return table;
}

}  // namespace

const std::array<TPredefinedColor, NumPredefinedColors> PredefinedColors = MakePredefinedColors();

}  // namespace vorn
