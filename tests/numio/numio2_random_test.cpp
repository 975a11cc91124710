// Random key sequences and clipboard texts never crash a TNumIO2 nor leave
// it holding a text that fails its own validity test (other than the
// unfinished "", "-", "+" and a lone prefix of the dynamic format), in any
// input format; an exponent field holds a number as a whole or the start
// of one, never a number followed by other characters.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "vorn/numio/numio2.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

constexpr std::array<Word, 38> kKeys = {
    '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A', 'B', 'C', 'E', 'F', 'G', 'V', 'X',
    VK_NUMPAD0, VK_NUMPAD0 + 7, VK_ADD, VK_SUBTRACT, VK_DECIMAL, VK_OEM_PLUS, VK_OEM_MINUS,
    VK_OEM_COMMA, VK_OEM_PERIOD, VK_BACK, VK_DELETE, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN,
    VK_HOME, VK_END, VK_SPACE, VK_MULTIPLY, VK_RETURN};

constexpr std::array<const char*, 22> kClipPieces = {
    "0", "7", "12", "-", "+", ".", ",", "e", "E+", "E-3", "$", "%", "&", "ff", "101", " ",
    "\t", "\xC3\xA9", "\xFF", "1e4201", "99999999999", ""};

std::string RandomClipboardText(std::mt19937& Rng) {
  std::string Text;
  const int Pieces = static_cast<int>(Rng() % 4);
  for (int I = 0; I < Pieces; ++I) Text += kClipPieces[Rng() % kClipPieces.size()];
  return Text;
}

TShiftState RandomModifiers(std::mt19937& Rng) {
  switch (Rng() % 10) {
    case 0: return {ssShift};
    case 1: return {ssCtrl};
    case 2: return {ssShift, ssCtrl};
    default: return {};
  }
}

bool IsLonePrefix(const std::string& T) { return T == "$" || T == "%" || T == "&"; }

// The start of a decimal number with an optional exponent, filling the
// whole text (written apart from the field's automaton): blanks, a sign,
// digits with at most one separator (a digit or the separator at least),
// then "E", a sign and digits, each of them optional.
bool IsWholeExponentNumber(std::string_view T) {
  std::size_t I = 0;
  const auto Skip = [&](auto Accepts) {
    const std::size_t From = I;
    while (I < T.size() && Accepts(T[I])) ++I;
    return I - From;
  };
  const auto IsDigit = [](char C) { return C >= '0' && C <= '9'; };
  Skip([](char C) { return C == ' '; });
  if (I < T.size() && (T[I] == '+' || T[I] == '-')) ++I;
  std::size_t Mantissa = Skip(IsDigit);
  if (I < T.size() && (T[I] == '.' || T[I] == ',')) {
    ++I;
    Mantissa += 1 + Skip(IsDigit);
  }
  if (Mantissa == 0) return false;
  if (I < T.size() && (T[I] == 'E' || T[I] == 'e')) {
    ++I;
    if (I < T.size() && (T[I] == '+' || T[I] == '-')) ++I;
    Skip(IsDigit);
  }
  return I == T.size();
}

bool HoldsAcceptableText(const TNumIO2& Field) {
  const std::string& T = Field.Text();
  if (T.empty() || T == "-" || T == "+") return true;
  if (Field.InputFormat() == itDynamic && IsLonePrefix(T)) return true;
  for (const char C : T) {
    if (C < ' ' || C > '~') return false;
  }
  if (Field.InputFormat() == itExp && !IsWholeExponentNumber(T)) return false;
  return Field.CheckValidity(T);
}

bool PositionsInside(const TNumIO2& Field) {
  const int Len = static_cast<int>(Field.Text().size());
  return Field.CaretPos() >= 0 && Field.CaretPos() <= Len && Field.SelBegin() >= 0 &&
         Field.SelBegin() <= Field.SelEnd() && Field.SelEnd() <= Len;
}

class NumIO2RandomTest : public ::testing::TestWithParam<TInFormat> {};

TEST_P(NumIO2RandomTest, RandomKeysKeepTheBufferValid) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 240, 60);
  auto* field = new TNumIO2(&form);
  field->SetParent(&form);
  field->SetBounds(0, 0, 200, 28);
  field->SetButVisible(true);
  field->SetInputFormat(GetParam());
  field->SetDecPlaceSep(static_cast<TDecPSep>(GetParam() % 4));
  form.Show();
  field->SetFocus();
  THeadlessHost& host = HeadlessHost();
  std::mt19937 rng(20240611u + GetParam());
  int LonePrefixes = 0;  // steps that left a lone prefix
  int StartedFromEmpty = 0;  // keys that typed into an empty buffer

  for (int Step = 0; Step < 2500; ++Step) {
    const unsigned Kind = rng() % 40;
    const bool WasEmpty = field->Text().empty();
    if (Kind == 2) {
      field->SetText("");  // typing starts from an empty buffer now and then
    } else if (WasEmpty && Kind % 4 == 0) {
      host.PressKey(static_cast<Word>('4' + rng() % 3), {ssShift});  // "$", "%" or "&" first
    } else if (Kind == 0) {
      host.Drag(*field, static_cast<int>(rng() % 200), 10, static_cast<int>(rng() % 200), 10, 2);
    } else if (Kind == 1) {
      host.Click(*field, 35 + 80 + 3 + 9, rng() % 2 == 0 ? 5 : 20);  // a spin button
    } else {
      if (rng() % 8 == 0) Clipboard()->SetAsText(RandomClipboardText(rng));
      host.PressKey(kKeys[rng() % kKeys.size()], RandomModifiers(rng));
    }
    ASSERT_TRUE(HoldsAcceptableText(*field)) << "step " << Step << ": \"" << field->Text() << "\"";
    if (IsLonePrefix(field->Text())) ++LonePrefixes;
    if (WasEmpty && !field->Text().empty() && Kind > 2) ++StartedFromEmpty;
    ASSERT_TRUE(PositionsInside(*field)) << "step " << Step << " kind " << Kind << ": \"" << field->Text() << "\" caret "
                                         << field->CaretPos() << " selection " << field->SelBegin() << ".."
                                         << field->SelEnd();
  }
  if (GetParam() == itDynamic) {
    EXPECT_GT(LonePrefixes, 0);
  }
  if (GetParam() == itFixPoint) {
    EXPECT_GT(StartedFromEmpty, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, NumIO2RandomTest,
                         ::testing::Values(itExp, itFloat, itFixPoint, itInt, itHex, itOct, itBin, itDynamic));

}  // namespace
}  // namespace vorn
