// Random keys, typing, clicks, drags and wheel turns on memos that switch
// wrapping, scroll bars and size on the way and whose handlers delete
// them. Caret and selection stay inside the text, the caret's row stays in
// the box, and (under the sanitizers) no freed memo is touched.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/runtime/utf8.h"
#include "vorn/platform/stdctrls/memo.h"

namespace vorn {
namespace {

constexpr std::array<Word, 17> kKeys = {VK_LEFT, VK_RIGHT, VK_UP,     VK_DOWN,  VK_HOME, VK_END,
                                        VK_PRIOR, VK_NEXT, VK_BACK,   VK_DELETE, VK_RETURN, VK_TAB,
                                        'A',     'C',      'V',       'X',       'Z'};
constexpr std::array<const char*, 8> kTexts = {"a", "word ", " ", "\xC4\x85", "\xE2\x82\xAC", "ab cd ef gh ", "\t", "x\ny"};

TEST(MemoRandomTest, CaretSelectionAndScrollingStayConsistent) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  THeadlessHost& host = HeadlessHost();
  std::mt19937 rng(4242u);
  TMemo* memo = nullptr;
  int made = 0;
  auto make = [&] {
    ++made;
    memo = new TMemo(&form);
    memo->SetParent(&form);
    memo->SetBounds(10, 10, 120 + static_cast<int>(rng() % 150), 40 + static_cast<int>(rng() % 120));
    memo->SetMaxLength(rng() % 3 == 0 ? static_cast<int>(rng() % 200) : 0);
    memo->SetOnChange([&](TObject*) {
      if (rng() % 150 == 0) {
        delete memo;
        memo = nullptr;
      }
    });
    memo->SetOnKeyPress([&](TObject*, char32_t& Key) {
      if (Key == 'q') {
        delete memo;
        memo = nullptr;
      }
    });
    memo->SetFocus();
  };
  form.Show();
  make();
  for (int step = 0; step < 4000; ++step) {
    if (memo == nullptr) make();
    const unsigned what = rng() % 20;
    if (what < 8) {
      TShiftState shift;
      if (rng() % 3 == 0) shift.Include(ssShift);
      if (rng() % 4 == 0) shift.Include(ssCtrl);
      host.PressKey(kKeys[rng() % kKeys.size()], shift);
    } else if (what < 13) {
      host.Type(kTexts[rng() % kTexts.size()]);
    } else if (what < 15) {
      const int x = static_cast<int>(rng() % 300), y = static_cast<int>(rng() % 200);
      host.Click(form, x, y);
    } else if (what == 15) {
      host.Drag(form, static_cast<int>(rng() % 300), static_cast<int>(rng() % 200),
                static_cast<int>(rng() % 300), static_cast<int>(rng() % 200));
    } else if (what == 16) {
      host.Wheel(form, 40, 40, rng() % 2 == 0 ? WHEEL_DELTA : -WHEEL_DELTA);
    } else if (what == 17) {
      memo->SetWordWrap(!memo->WordWrap());
    } else if (what == 18) {
      memo->SetScrollBars(static_cast<TScrollStyle>(rng() % 4));
    } else {
      memo->SetBounds(10, 10, 60 + static_cast<int>(rng() % 200), 30 + static_cast<int>(rng() % 150));
    }
    if (memo == nullptr) continue;
    const int size = static_cast<int>(Utf8Length(memo->Text()));
    ASSERT_GE(memo->SelStart(), 0);
    ASSERT_GE(memo->SelLength(), 0);
    ASSERT_LE(memo->SelStart() + memo->SelLength(), size);
    // Only typing and pasting fill these memos, so the limit holds.
    if (memo->MaxLength() > 0) {
      ASSERT_LE(size, memo->MaxLength()) << step;
    }
    ASSERT_GE(memo->TopRow(), 0);
    ASSERT_LE(memo->TopRow(), std::max(0, memo->RowCount() - 1));
    ASSERT_EQ(memo->Lines().Text(), memo->Text());
  }
  EXPECT_GT(made, 1);
}

}  // namespace
}  // namespace vorn
