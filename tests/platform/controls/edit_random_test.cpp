// Random typing, keys and mouse on edits whose handlers delete them, change
// their limits and texts, keep the focus in OnExit and hide each other.
// Caret and selection always stay inside the text, the focus is always on
// a control that can have it, and (under the sanitizers) no freed edit is
// touched.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string>

#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/runtime/utf8.h"
#include "vorn/platform/stdctrls/edit.h"

namespace vorn {
namespace {

constexpr std::array<Word, 16> kKeys = {VK_LEFT, VK_RIGHT, VK_HOME,   VK_END, VK_BACK, VK_DELETE,
                                        VK_TAB,  VK_RETURN, VK_ESCAPE, 'A',    'C',     'V',
                                        'X',     'Z',      VK_INSERT, VK_APPS};

constexpr std::array<const char*, 8> kTexts = {"a", "word", " ", "\xC4\x85", "\xE2\x82\xAC", "ab cd", "x_y", "9"};

TShiftState RandomModifiers(std::mt19937& Rng) {
  switch (Rng() % 10) {
    case 0: return {ssShift};
    case 1: return {ssCtrl};
    case 2: return {ssShift, ssCtrl};
    case 3: return {ssCtrl, ssAlt};
    default: return {};
  }
}

TEST(EditRandomTest, HandlersThatDeleteHideAndRefocusKeepEveryEditConsistent) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 200);
  THeadlessHost& host = HeadlessHost();
  std::mt19937 rng(777u);
  std::array<TEdit*, 3> edits{};
  int made = 0;
  int changes = 0;

  auto make = [&](std::size_t Slot) {
    ++made;
    auto* e = new TEdit(&form);
    e->SetParent(&form);
    e->SetBounds(10, 10 + static_cast<int>(Slot) * 40, 200, 24);
    e->SetMaxLength(static_cast<int>(rng() % 12));
    if (rng() % 4 == 0) e->SetPasswordChar('*');
    e->SetOnChange([&, Slot](TObject*) {
      ++changes;
      const unsigned mood = rng() % 30;
      if (mood == 0) {
        delete edits[Slot];
        edits[Slot] = nullptr;
      } else if (mood == 1) {
        edits[Slot]->SetMaxLength(static_cast<int>(rng() % 4));
      } else if (mood == 2) {
        edits[(Slot + 1) % edits.size()] != nullptr ? edits[(Slot + 1) % edits.size()]->Hide() : void();
      }
    });
    e->SetOnKeyDown([&, Slot](TObject*, Word& Key, TShiftState) {
      if (Key == VK_ESCAPE && rng() % 3 == 0) {
        delete edits[Slot];
        edits[Slot] = nullptr;
      }
    });
    e->SetOnKeyPress([&, Slot](TObject*, char32_t& Key) {
      if (Key == 'q') {
        delete edits[Slot];
        edits[Slot] = nullptr;
      }
    });
    e->SetOnExit([&, Slot](TObject*) {
      const unsigned mood = rng() % 6;
      if (mood == 0 && edits[Slot]->Text().empty()) edits[Slot]->SetFocus();
      if (mood == 1) {
        delete edits[Slot];
        edits[Slot] = nullptr;
      }
    });
    edits[Slot] = e;
  };
  form.Show();
  for (std::size_t i = 0; i < edits.size(); ++i) make(i);
  edits[0]->SetFocus();

  for (int step = 0; step < 2000; ++step) {
    for (std::size_t i = 0; i < edits.size(); ++i) {
      if (edits[i] == nullptr) make(i);
    }
    const std::size_t slot = rng() % edits.size();
    const unsigned kind = rng() % 30;
    if (kind < 3) {
      host.Click(form, 10 + static_cast<int>(rng() % 200), 10 + static_cast<int>(slot) * 40 + 5);
    } else if (kind == 3) {
      host.DoubleClick(form, 10 + static_cast<int>(rng() % 200), 10 + static_cast<int>(slot) * 40 + 5);
    } else if (kind == 4) {
      host.Drag(form, 10 + static_cast<int>(rng() % 200), 15, 10 + static_cast<int>(rng() % 200), 15, 2);
    } else if (kind == 5) {
      // Hidden and disabled edits come back soon, so that typing goes on.
      if (edits[slot] != nullptr) edits[slot]->SetVisible(!edits[slot]->Visible() || rng() % 3 != 0);
    } else if (kind == 6) {
      if (edits[slot] != nullptr) edits[slot]->SetEnabled(!edits[slot]->Enabled() || rng() % 3 != 0);
    } else if (kind == 7) {
      host.TypeWithAltGr('A', U'\u0105');
    } else if (kind == 8) {
      Clipboard()->SetAsText(kTexts[rng() % kTexts.size()]);
    } else if (kind < 16) {
      host.Type(rng() % 10 == 0 ? "q" : kTexts[rng() % kTexts.size()]);
    } else {
      host.PressKey(kKeys[rng() % kKeys.size()], RandomModifiers(rng));
    }
    for (TEdit* e : edits) {
      if (e == nullptr) continue;
      const int length = static_cast<int>(Utf8Length(e->Text()));
      ASSERT_TRUE(e->SelStart() >= 0 && e->SelLength() >= 0 && e->SelStart() + e->SelLength() <= length)
          << "step " << step << ": \"" << e->Text() << "\" " << e->SelStart() << "+" << e->SelLength();
    }
    ASSERT_TRUE(form.ActiveControl() == nullptr || form.ActiveControl()->CanFocus()) << "step " << step;
  }
  EXPECT_GT(made, 3);  // the deleting handlers did run
  EXPECT_GT(changes, 300);
}

}  // namespace
}  // namespace vorn
