// Random typing, deleting, selecting and pasting never leave a TNumIO with
// a text it would refuse: the text converts in the field's format, lies in
// the range (or is zero), an integer fits 32 bits, and a fixed-point text
// carries exactly its decimal places. The caret stays inside the text.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>

#include "vorn/numio/numio.h"
#include "vorn/platform/hosts/headless.h"

namespace vorn {
namespace {

constexpr std::array<const char*, 16> kTyped = {"0", "1", "5", "9", ".", ",", "-", "+",
                                                 "e", "x", " ", "$", "12", "99", "0.5", "-3"};
constexpr std::array<Word, 8> kKeys = {VK_BACK, VK_DELETE, VK_LEFT, VK_RIGHT,
                                       VK_HOME, VK_END,    VK_BACK, VK_DELETE};

bool HoldsAcceptedText(const TNumIO& Field) {
  const std::string T = Field.Text();
  if (T.empty()) return true;  // nothing accepted yet
  double V = 0;
  if (!Field.ConvertNumString(T, V)) return false;
  if (!(V == 0 || (Field.RangeLow() <= V && V <= Field.RangeHigh()))) return false;
  if (Field.InputFormat() == itInt && !DecIntInRange(T)) return false;
  if (Field.InputFormat() == itFixPoint) {
    const auto Sep = T.find('.');
    if (Sep == std::string::npos || T.find('.', Sep + 1) != std::string::npos) return false;
    if (static_cast<int>(T.size() - Sep - 1) != Field.FixPointDecPlaces()) return false;
  }
  return true;
}

class NumIORandomTest : public ::testing::TestWithParam<TInFormat> {};

TEST_P(NumIORandomTest, RandomEditsKeepAnAcceptedText) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 240, 60);
  auto* field = new TNumIO(&form);
  field->SetParent(&form);
  field->SetBounds(0, 0, 200, 24);
  field->SetDecPlaceSep(dsPoint);
  field->SetRangeLow(-1000);
  field->SetRangeHigh(1000);
  field->SetInputFormat(GetParam());
  form.Show();
  field->SetFocus();
  THeadlessHost& host = HeadlessHost();
  std::mt19937 rng(20261209u + GetParam());

  for (int Step = 0; Step < 3000; ++Step) {
    const unsigned Kind = rng() % 20;
    if (Kind == 0) {
      field->SelectAll();
    } else if (Kind == 1) {
      host.PressKey(VK_LEFT, {ssShift});
    } else if (Kind == 2) {
      Clipboard()->SetAsText(kTyped[rng() % kTyped.size()]);
      host.PressKey('V', {ssCtrl});
    } else if (Kind == 3) {
      field->SetValue(static_cast<double>(static_cast<int>(rng() % 4001)) / 2 - 1000);
    } else if (Kind < 10) {
      host.PressKey(kKeys[rng() % kKeys.size()]);
    } else {
      host.Type(kTyped[rng() % kTyped.size()]);
    }
    ASSERT_TRUE(HoldsAcceptedText(*field)) << "step " << Step << " kind " << Kind << ": \"" << field->Text() << "\"";
    const int Length = static_cast<int>(field->Text().size());
    ASSERT_TRUE(field->SelStart() >= 0 && field->SelStart() + field->SelLength() <= Length) << "step " << Step;
  }
}

INSTANTIATE_TEST_SUITE_P(DecimalFormats, NumIORandomTest,
                         ::testing::Values(itExp, itFloat, itFixPoint, itInt, itHex, itDynamic));

}  // namespace
}  // namespace vorn
