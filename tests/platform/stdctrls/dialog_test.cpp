// Forms used as dialogs: modal results from buttons and Close, OnClose,
// the components a dialog is searched through, measuring on the form's
// canvas, right-aligned labels of fixed width and speed buttons as OK and
// Cancel.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/label.h"

namespace vorn {
namespace {

THeadlessHost& Host() { return HeadlessHost(); }

// A dialog with OK and Cancel speed buttons that set the modal result,
// counting OnClose.
struct TDialog {
  TForm form{nullptr};
  TSpeedButton* ok = new TSpeedButton(&form);
  TSpeedButton* cancel = new TSpeedButton(&form);
  int closes = 0;
  TDialog() {
    form.SetBorderStyle(bsDialog);
    form.SetCaption("Editing Row 3");
    form.SetBounds(40, 50, 300, 120);
    for (auto [button, caption, result] : {std::tuple{ok, "OK", mrOk}, std::tuple{cancel, "Cancel", mrCancel}}) {
      button->SetParent(&form);
      button->SetCaption(caption);
      TForm* f = &form;
      const int r = result;
      button->SetOnClick([f, r](TObject*) { f->SetModalResult(r); });
    }
    ok->SetBounds(60, 4, 81, 29);
    cancel->SetBounds(145, 4, 81, 29);
    form.SetOnClose([this](TObject*, TCloseAction&) { ++closes; });
  }
  ~TDialog() { Host().SetModalHandler(nullptr); }
};

TEST(DialogTest, ButtonsAndCloseEndShowModalWithOnCloseOnce) {
  TDialog d;
  EXPECT_EQ(d.form.BorderStyle(), bsDialog);
  Host().SetModalHandler([&](TCustomForm& f) {
    EXPECT_EQ(&f, &d.form);
    EXPECT_EQ(Host().ActiveForm(), &d.form);
    Host().Click(*d.ok, 40, 14);
    return mrNone;
  });
  EXPECT_EQ(d.form.ShowModal(), mrOk);
  EXPECT_EQ(d.closes, 1);
  EXPECT_FALSE(d.form.Showing());
  EXPECT_EQ(d.form.ModalResult(), mrOk);

  Host().SetModalHandler([&](TCustomForm&) {
    Host().Click(*d.cancel, 40, 14);
    return mrNone;
  });
  EXPECT_EQ(d.form.ShowModal(), mrCancel);
  EXPECT_EQ(d.closes, 2);

  // Close asks OnCloseQuery; a refusal or caNone keeps the dialog open.
  bool mayClose = false;
  d.form.SetOnCloseQuery([&](TObject*, bool& CanClose) { CanClose = mayClose; });
  Host().SetModalHandler([&](TCustomForm& f) {
    f.Close();
    EXPECT_EQ(f.ModalResult(), mrNone);
    mayClose = true;
    f.SetOnClose([](TObject*, TCloseAction& Action) { Action = caNone; });
    f.Close();
    EXPECT_EQ(f.ModalResult(), mrNone);
    f.SetOnClose(nullptr);
    f.Close();
    EXPECT_EQ(f.ModalResult(), mrCancel);
    return mrOk;  // the result Close set wins over the handler's
  });
  EXPECT_EQ(d.form.ShowModal(), mrCancel);
}

TEST(DialogTest, AnOnCloseThatDeletesTheDialogEndsShowModalSafely) {
  auto* form = new TForm(nullptr);
  form->SetOnClose([form](TObject*, TCloseAction&) { delete form; });
  Host().SetModalHandler([](TCustomForm& f) {
    f.SetModalResult(mrOk);
    return mrOk;
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  Host().SetModalHandler(nullptr);
  EXPECT_TRUE(Host().Forms().empty());
}

TEST(DialogTest, ControlsAreFoundByNameAndCountedAmongTheFormsComponents) {
  TDialog d;
  const int own = d.form.ComponentCount();
  for (int n = 1; n <= 3; ++n) {
    auto* edit = new TEdit(&d.form);
    edit->SetParent(&d.form);
    edit->SetName("runtime_rlre_Edit" + std::to_string(n));
    edit->SetTag(n);
  }
  EXPECT_EQ(d.form.ComponentCount(), own + 3);
  auto* second = dynamic_cast<TEdit*>(d.form.FindComponent("runtime_rlre_Edit2"));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Tag(), 2);
  // Freed last to first by scanning the components, as a dialog cleans up.
  for (int i = d.form.ComponentCount() - 1; i >= 0; --i) {
    TComponent* c = d.form.Components(i);
    if (c->Name().find("runtime_rlre_") != std::string::npos) delete c;
  }
  EXPECT_EQ(d.form.ComponentCount(), own);
  EXPECT_EQ(d.form.FindComponent("runtime_rlre_Edit2"), nullptr);
  EXPECT_EQ(d.form.ControlCount(), 2);
}

TEST(DialogTest, TheFormsCanvasMeasuresInTheFormsFontBeforeItIsShown) {
  TForm form(nullptr);
  TCanvas probe;
  probe.SetFont(form.Font());
  EXPECT_GT(form.Canvas()->TextWidth("Mail address"), 0);
  EXPECT_EQ(form.Canvas()->TextWidth("Mail address"), probe.TextWidth("Mail address"));
  form.Font()->SetSize(form.Font()->Size() * 2);
  probe.SetFont(form.Font());
  EXPECT_EQ(form.Canvas()->TextWidth("Mail address"), probe.TextWidth("Mail address"));
}

TEST(DialogTest, AFixedWidthLabelAlignsItsCaptionToTheRight) {
  TForm form(nullptr);
  form.SetColor(clWhite);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  label->SetBounds(8, 3, 10, 20);
  label->SetCaption("Age:");  // sized to the caption while AutoSize holds
  label->SetAutoSize(false);
  label->SetWidth(120);
  label->SetAlignment(taRightJustify);
  label->SetCaption("Mail:");
  EXPECT_EQ(label->Width(), 120);
  EXPECT_EQ(label->Left(), 8);
  form.Show();
  auto shot = Host().Snapshot(*label);
  int first = -1, last = -1;
  for (int x = 0; x < shot->Width(); ++x) {
    for (int y = 0; y < shot->Height(); ++y) {
      if (shot->Canvas()->Pixels(x, y) == label->Color()) continue;
      if (first < 0) first = x;
      last = x;
    }
  }
  TCanvas probe;
  probe.SetFont(label->Font());
  ASSERT_GE(first, 0);
  EXPECT_GE(last, 120 - 3);                                  // ends at the right edge
  EXPECT_NEAR(first, 120 - probe.TextWidth("Mail:"), 2);  // starts where its width says
}

TEST(DialogTest, SpeedButtonsShowTheirCaptionAndClickOnlyWhenEnabled) {
  TDialog d;
  d.form.Show();
  auto blank = std::make_unique<TSpeedButton>(&d.form);
  blank->SetParent(&d.form);
  blank->SetBounds(230, 4, 81, 29);
  auto withText = Host().Snapshot(*d.ok);
  auto without = Host().Snapshot(*blank);
  int differ = 0;
  for (int y = 0; y < 29; ++y) {
    for (int x = 0; x < 81; ++x) differ += withText->Canvas()->Pixels(x, y) != without->Canvas()->Pixels(x, y);
  }
  EXPECT_GT(differ, 10);  // the caption is drawn
  int clicks = 0;
  d.cancel->SetOnClick([&](TObject*) { ++clicks; });
  Host().Click(*d.cancel, 10, 10);
  d.cancel->SetEnabled(false);
  Host().Click(*d.cancel, 10, 10);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace vorn
