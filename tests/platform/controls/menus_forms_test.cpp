// Menu item trees, form closing and release, key preview.
#include <gtest/gtest.h>

#include <memory>

#include "vorn/platform/graphics/drawtext.h"
#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/menus.h"

namespace vorn {
namespace {

TEST(MenuTest, ItemsFormATreeAndFreeWhatTheyOwn) {
  TPopupMenu menu(nullptr);
  auto* file = new TMenuItem(nullptr);
  file->SetCaption("File");
  menu.Items()->Add(file);  // without an owner the parent item takes it
  EXPECT_EQ(file->Owner(), menu.Items());
  auto* open = new TMenuItem(nullptr);
  open->SetCaption("Open");
  file->Add(open);
  auto* kept = new TMenuItem(&menu);
  kept->SetCaption("Kept");
  file->Insert(0, kept);
  EXPECT_EQ(file->Count(), 2);
  EXPECT_EQ(kept->MenuIndex(), 0);
  EXPECT_EQ(menu.Items()->Find("Open"), open);
  EXPECT_EQ(open->Parent(), file);
  file->Clear();  // frees "Open", releases "Kept" (owned by the menu)
  EXPECT_EQ(file->Count(), 0);
  EXPECT_EQ(kept->Parent(), nullptr);
  EXPECT_EQ(kept->Owner(), &menu);
  int clicks = 0;
  kept->SetOnClick([&](TObject*) { ++clicks; });
  kept->SetEnabled(false);
  kept->Click();
  EXPECT_EQ(clicks, 0);
  kept->SetEnabled(true);
  kept->Click();
  EXPECT_EQ(clicks, 1);
}

TEST(FormTest, CloseAsksAndHidesOrFreesLater) {
  auto& host = HeadlessHost();
  auto* form = new TForm(nullptr);
  bool allow = false;
  form->SetOnCloseQuery([&](TObject*, bool& can) { can = allow; });
  form->Show();
  form->Close();
  EXPECT_TRUE(form->Showing());
  allow = true;
  form->SetOnClose([](TObject*, TCloseAction& action) { action = caFree; });
  form->Close();
  EXPECT_FALSE(form->Showing());
  EXPECT_EQ(host.Forms().size(), 0u);
  host.ProcessMessages();  // the released form goes now; nothing may touch it later
  host.ProcessMessages();
}

TEST(FormTest, KeyPreviewLetsTheFormSeeKeysFirst) {
  auto& host = HeadlessHost();
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  form.SetKeyPreview(true);
  int seen = 0;
  form.SetOnKeyDown([&](TObject*, Word& key, TShiftState) {
    ++seen;
    if (key == VK_DELETE) key = 0;  // the form swallows Delete
  });
  form.Show();
  edit->SetFocus();
  host.Type("ab");
  host.PressKey(VK_HOME);
  host.PressKey(VK_DELETE);
  EXPECT_EQ(edit->Text(), "ab");
  EXPECT_GE(seen, 4);
}

TEST(DrawTextTest, EllipsisShortensTextThatDoesNotFit) {
  TBitmap bmp(200, 30);
  TCanvas& c = *bmp.Canvas();
  const int width = c.TextWidth("Hello...");
  TRect r = Rect(0, 0, width, 0);
  DrawText(c, "Hello wonderful world", r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
  EXPECT_LE(r.Width(), width);
  TRect fits = Rect(0, 0, 500, 0);
  DrawText(c, "Hello", fits, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
  EXPECT_EQ(fits.Width(), c.TextWidth("Hello"));
}

}  // namespace
}  // namespace vorn
