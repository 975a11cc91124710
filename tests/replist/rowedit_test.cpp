// The row editor of the report list view, driven through the headless
// host's modal handler: the form it builds, OK, Cancel, Enter, container
// forms and the all-or-nothing handling of dates that do not exist.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "vorn/numio/numio.h"
#include "vorn/platform/hosts/headless.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/combobox.h"
#include "vorn/platform/stdctrls/datetimepicker.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/label.h"
#include "vorn/replist/replistview.h"
#include "vorn/replist/rowedit.h"

namespace vorn {
namespace {

TEST(RowEditFormatTest, KindReadOnlyWidthAndRest) {
  struct Case {
    const char* Format;
    const char* Kind;
    bool ReadOnly;
    int Width;
    const char* Rest;
  };
  const Case cases[] = {
      {"", "s", false, 200, ""},
      {"[s][150]", "s", false, 150, ""},
      {"[i][60]rix3", "i", false, 60, "rix3"},
      {"[#l][120]low|mid|high", "l", true, 120, "low|mid|high"},
      {"[c:3]a|b|c|d", "c:3", false, 200, "a|b|c|d"},
      {"[ddd.MM.yyyy]", "ddd.MM.yyyy", false, 200, ""},
      {"plain default", "s", false, 200, "plain default"},
      {"[s][0]x", "s", false, 200, "x"},
      {"[s][-40]x", "s", false, 200, "x"},
      {"[s][12px]x", "s", false, 200, "x"},  // not an integer
      {"[s][99999999999]x", "s", false, TRowEditFormat::MaxWidth, "x"},
      {"[s]x]y", "s", false, 200, "y"},  // the width bracket without '['
      {"[#]", "", true, 200, ""},
      {"]a[b", "s", false, 200, "a[b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Format);
    const TRowEditFormat f = ParseRowEditFormat(c.Format);
    EXPECT_EQ(f.Kind, c.Kind);
    EXPECT_EQ(f.ReadOnly, c.ReadOnly);
    EXPECT_EQ(f.Width, c.Width);
    EXPECT_EQ(f.Rest, c.Rest);
  }
  EXPECT_EQ(RowEditDropDownCount("c:3"), 3);
  EXPECT_EQ(RowEditDropDownCount("c"), 0);
  EXPECT_EQ(RowEditDropDownCount("l:-2"), 0);
  EXPECT_EQ(RowEditItems("a|b|c|d"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(RowEditItems("a||b|"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(RowEditItems(""), (std::vector<std::string>{""}));
}

class RowEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 440, 300);
    view = new TReportListView(form.get());
    view->SetParent(form.get());
    view->SetBounds(10, 10, 400, 250);
    view->SetNrOfColumns(3);
    view->SetNrOfRows(8);
    view->SetHeader(1, "Name");
    view->SetHeader(2, "Mail");
    view->SetHeader(3, "Age");
    view->SetColumnFormat(1, "");
    view->SetColumnFormat(2, "[s][150]");
    view->SetColumnFormat(3, "[i][60]rix3");
    form->Show();
  }
  void TearDown() override { host.SetModalHandler(nullptr); }

  template <typename T>
  static T* Find(TCustomForm& Form, const std::string& Name) {
    return dynamic_cast<T*>(Form.FindComponent(Name));
  }
  static int RuntimeControls(const TComponent& Owner) {
    int n = 0;
    for (int i = 0; i < Owner.ComponentCount(); ++i) n += Owner.Components(i)->Name().rfind("runtime_rlre_", 0) == 0;
    return n;
  }
  std::vector<std::string> Row(int R) const {
    std::vector<std::string> cells;
    for (int c = 1; c <= view->NrOfColumns(); ++c) cells.push_back(view->Elem(c, R));
    return cells;
  }

  THeadlessHost& host = HeadlessHost();
  std::unique_ptr<TForm> form;
  TReportListView* view = nullptr;
};

TEST_F(RowEditTest, NewFormHasLabelsFieldsSizesAndRowNumberDefault) {
  int labelWidth = 0;
  host.SetModalHandler([&](TCustomForm& f) {
    EXPECT_EQ(f.Caption(), "Editing Row 7");
    EXPECT_EQ(f.BorderStyle(), bsDialog);
    EXPECT_EQ(f.Left(), 30);
    EXPECT_EQ(f.Top(), 40);
    auto* name = Find<TLabel>(f, "runtime_rlre_Label1");
    auto* age = Find<TLabel>(f, "runtime_rlre_Label3");
    EXPECT_NE(name, nullptr);
    EXPECT_NE(age, nullptr);
    if (name == nullptr || age == nullptr) return mrCancel;
    EXPECT_EQ(name->Caption(), "Name:");
    EXPECT_EQ(Find<TLabel>(f, "runtime_rlre_Label2")->Caption(), "Mail:");
    EXPECT_EQ(age->Caption(), "Age:");
    EXPECT_FALSE(age->AutoSize());
    EXPECT_EQ(age->Alignment(), taRightJustify);
    labelWidth = age->Width();
    f.Canvas()->SetFont(f.Font());
    EXPECT_EQ(labelWidth, std::max({f.Canvas()->TextWidth("Name"), f.Canvas()->TextWidth("Mail"),
                                    f.Canvas()->TextWidth("Age")}) + 8);
    EXPECT_EQ(age->Left(), 8);
    EXPECT_EQ(age->Top(), 45 + 2 * 25 + 3);
    auto* e1 = Find<TEdit>(f, "runtime_rlre_Edit1");
    auto* e2 = Find<TEdit>(f, "runtime_rlre_Edit2");
    auto* n3 = Find<TNumIO>(f, "runtime_rlre_NumIO3");
    EXPECT_TRUE(e1 != nullptr && e2 != nullptr && n3 != nullptr);
    if (e1 == nullptr || e2 == nullptr || n3 == nullptr) return mrCancel;
    EXPECT_EQ(e1->Width(), 200);
    EXPECT_EQ(e2->Width(), 150);
    EXPECT_EQ(n3->Width(), 60);
    EXPECT_EQ(n3->Left(), labelWidth + 12);
    EXPECT_EQ(n3->Top(), 45 + 50);
    EXPECT_EQ(n3->Tag(), 3);
    EXPECT_EQ(n3->InputFormat(), itInt);
    EXPECT_EQ(n3->Text(), "007");
    EXPECT_EQ(f.Width(), 200 + labelWidth + 28);
    EXPECT_EQ(f.Height(), 3 * 25 + 45 + 38);
    // Cancel right, OK left of it, both 81 x 29 at the top.
    std::vector<TSpeedButton*> buttons;
    for (int i = 0; i < f.ComponentCount(); ++i) {
      if (auto* b = dynamic_cast<TSpeedButton*>(f.Components(i))) buttons.push_back(b);
    }
    EXPECT_EQ(buttons.size(), 2U);
    for (TSpeedButton* b : buttons) {
      EXPECT_EQ(b->Top(), 4);
      EXPECT_EQ(b->Width(), 81);
      EXPECT_EQ(b->Height(), 29);
      EXPECT_EQ(b->Left(), b->Caption() == "OK" ? 200 + labelWidth - 154 : 200 + labelWidth - 69);
    }
    return mrCancel;
  });
  const int owned = view->ComponentCount();
  EXPECT_EQ(view->EditRowEntries(7, 30, 40), mrCancel);
  EXPECT_GT(labelWidth, 0);
  EXPECT_EQ(Row(7), (std::vector<std::string>{"", "", ""}));  // Cancel changes nothing
  EXPECT_EQ(view->ComponentCount(), owned);                  // the created form is freed
  EXPECT_EQ(view->ContainerForm(), nullptr);
}

TEST_F(RowEditTest, OkButtonWritesEveryFieldBackIncludingShownDefaults) {
  view->SetElem(2, 3, "old@example.org");
  host.SetModalHandler([&](TCustomForm& f) {
    auto* e1 = Find<TEdit>(f, "runtime_rlre_Edit1");
    e1->SetFocus();
    host.Type("Bob");
    for (int i = 0; i < f.ComponentCount(); ++i) {
      auto* b = dynamic_cast<TSpeedButton*>(f.Components(i));
      if (b != nullptr && b->Caption() == "Save") host.Click(*b, 10, 10);
    }
    return mrNone;
  });
  EXPECT_EQ(view->EditRowEntries(3, 0, 0, "Edit the row", "Save", "Drop"), mrOk);
  EXPECT_EQ(Row(3), (std::vector<std::string>{"Bob", "old@example.org", "003"}));
}

TEST_F(RowEditTest, EnterInAnEditableFieldClosesWithOkAndCancelChangesNothing) {
  host.SetModalHandler([&](TCustomForm& f) {
    Find<TNumIO>(f, "runtime_rlre_NumIO3")->SetFocus();
    host.PressKey(VK_END);
    host.Type("5\r");
    return mrNone;
  });
  EXPECT_EQ(view->EditRowEntries(2, 0, 0), mrOk);
  EXPECT_EQ(view->Elem(3, 2), "0025");
  host.SetModalHandler([&](TCustomForm& f) {
    Find<TEdit>(f, "runtime_rlre_Edit1")->SetFocus();
    host.Type("Eve");
    for (int i = 0; i < f.ComponentCount(); ++i) {
      auto* b = dynamic_cast<TSpeedButton*>(f.Components(i));
      if (b != nullptr && b->Caption() == "Cancel") host.Click(*b, 10, 10);
    }
    return mrNone;
  });
  EXPECT_EQ(view->EditRowEntries(2, 0, 0), mrCancel);
  EXPECT_EQ(Row(2), (std::vector<std::string>{"", "", "0025"}));
}

TEST_F(RowEditTest, ReadOnlyFieldIsDisabledGreyAndItsDefaultIsStored) {
  view->SetColumnFormat(3, "[#i][60]rix3");
  host.SetModalHandler([&](TCustomForm& f) {
    auto* n3 = Find<TNumIO>(f, "runtime_rlre_NumIO3");
    EXPECT_FALSE(n3->Enabled());
    EXPECT_EQ(n3->Color(), static_cast<TColor>(0xE0E0E0));
    EXPECT_EQ(n3->Font()->Color(), static_cast<TColor>(0x808080));
    EXPECT_FALSE(n3->OnKeyPress());  // no Enter handler on a read-only field
    EXPECT_TRUE(Find<TEdit>(f, "runtime_rlre_Edit1")->OnKeyPress());
    return mrOk;
  });
  EXPECT_EQ(view->EditRowEntries(5, 0, 0), mrOk);
  EXPECT_EQ(view->Elem(3, 5), "005");
}

TEST_F(RowEditTest, ListsGetTheirItemsStyleLinesAndValue) {
  view->SetColumnFormat(1, "[#l][120]low|mid|high");
  view->SetColumnFormat(2, "[c:3]a|b|c|d");
  view->SetColumnFormat(3, "[l]x||y");
  view->SetElem(1, 2, "mid");
  view->SetElem(2, 2, "free text");
  view->SetElem(3, 2, "not an item");
  host.SetModalHandler([&](TCustomForm& f) {
    auto* fixed = Find<TComboBox>(f, "runtime_rlre_CBox1");
    auto* proposals = Find<TComboBox>(f, "runtime_rlre_CBox2");
    auto* none = Find<TComboBox>(f, "runtime_rlre_CBox3");
    EXPECT_TRUE(fixed != nullptr && proposals != nullptr && none != nullptr);
    if (fixed == nullptr || proposals == nullptr || none == nullptr) return mrCancel;
    EXPECT_EQ(fixed->Style(), csDropDownList);
    EXPECT_FALSE(fixed->Enabled());
    EXPECT_EQ(fixed->Width(), 120);
    EXPECT_EQ(fixed->Items()->Count(), 3);
    EXPECT_EQ(fixed->ItemIndex(), 1);
    EXPECT_EQ(fixed->Text(), "mid");
    EXPECT_EQ(proposals->Style(), csDropDown);
    EXPECT_EQ(proposals->DropDownCount(), 3);
    EXPECT_EQ(proposals->Items()->Count(), 4);
    EXPECT_EQ(proposals->Text(), "free text");
    EXPECT_EQ(none->Items()->Count(), 3);  // the empty item between the bars counts
    EXPECT_EQ(none->ItemIndex(), -1);
    // Choosing in the open list of the editable box, then Enter in it.
    proposals->SetFocus();
    host.PressKey(VK_DOWN, {ssAlt});
    EXPECT_TRUE(proposals->DroppedDown());
    host.PressKey(VK_DOWN);
    host.Type("\r");  // takes the item; the dialog stays
    EXPECT_FALSE(proposals->DroppedDown());
    EXPECT_EQ(f.ModalResult(), mrNone);
    host.Type("\r");
    return mrNone;
  });
  EXPECT_EQ(view->EditRowEntries(2, 0, 0), mrOk);
  EXPECT_EQ(view->Elem(1, 2), "mid");
  EXPECT_NE(view->Elem(2, 2), "free text");
  EXPECT_EQ(view->Elem(3, 2), "");  // no item chosen
}

TEST_F(RowEditTest, PasswordDefaultOnlyForAnEmptyCell) {
  view->SetColumnFormat(1, "[s]$pwd$10");
  view->SetElem(1, 2, "keep me");
  std::string proposed, shown;
  host.SetModalHandler([&](TCustomForm& f) {
    (proposed.empty() ? proposed : shown) = Find<TEdit>(f, "runtime_rlre_Edit1")->Text();
    return mrCancel;
  });
  view->EditRowEntries(1, 0, 0);
  view->EditRowEntries(2, 0, 0);
  EXPECT_EQ(proposed.size(), 10U);
  EXPECT_EQ(shown, "keep me");
}

TEST_F(RowEditTest, RequestedFormatHoldsForThisDialogOnly) {
  view->SetOnRequestEditFormat([](TObject*, int Col, int Row, std::string& Format) {
    if (Col == 2 && Row == 4) Format = "[#f][80]1.5";
  });
  host.SetModalHandler([&](TCustomForm& f) {
    auto* n2 = Find<TNumIO>(f, "runtime_rlre_NumIO2");
    EXPECT_NE(n2, nullptr);
    EXPECT_EQ(Find<TEdit>(f, "runtime_rlre_Edit2"), nullptr);
    if (n2 != nullptr) {
      EXPECT_EQ(n2->Width(), 80);
    }
    return mrOk;
  });
  EXPECT_EQ(view->EditRowEntries(4, 0, 0), mrOk);
  EXPECT_EQ(view->Elem(2, 4), "1.5");
  EXPECT_EQ(view->ColumnFormat(2), "[s][150]");
}

TEST_F(RowEditTest, DatePickerOpensOnTheCellAndWritesInTheSameFormat) {
  view->SetColumnFormat(2, "[ddd.MM.yyyy]");
  view->SetColumnFormat(3, "[dhh:mm tt][90]09:15 PM");
  view->SetElem(2, 1, "24.12.2016");
  host.SetModalHandler([&](TCustomForm& f) {
    auto* date = Find<TDateTimePicker>(f, "runtime_rlre_DtPick2");
    auto* time = Find<TDateTimePicker>(f, "runtime_rlre_DtPick3");
    EXPECT_TRUE(date != nullptr && time != nullptr);
    if (date == nullptr || time == nullptr) return mrCancel;
    EXPECT_EQ(date->Format(), "dd.MM.yyyy");
    EXPECT_EQ(date->DateTime(), EncodeDate(2016, 12, 24));
    EXPECT_EQ(time->Kind(), dtkTime);  // no date fields: no calendar
    EXPECT_EQ(time->Text(), "09:15 PM");
    date->SetFocus();
    host.PressKey(VK_UP);  // the day
    host.Type("\r");
    return mrNone;
  });
  EXPECT_EQ(view->EditRowEntries(1, 0, 0), mrOk);
  EXPECT_EQ(view->Elem(2, 1), "25.12.2016");
  EXPECT_EQ(view->Elem(3, 1), "09:15 PM");
}

TEST_F(RowEditTest, DateThatDoesNotExistRaisesAndNothingIsHalfDone) {
  view->SetColumnFormat(2, "[ddd.MM.yyyy]");
  view->SetElem(1, 6, "Ann");
  view->SetElem(2, 6, "31.04.2016");
  bool shown = false;
  host.SetModalHandler([&](TCustomForm&) {
    shown = true;
    return mrOk;
  });
  const int owned = view->ComponentCount();
  try {
    view->EditRowEntries(6, 0, 0);
    ADD_FAILURE() << "no conversion error";
  } catch (const EConvertError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("Mail"), std::string::npos) << message;
    EXPECT_NE(message.find("31.04.2016"), std::string::npos) << message;
  }
  EXPECT_FALSE(shown);
  EXPECT_EQ(Row(6), (std::vector<std::string>{"Ann", "31.04.2016", ""}));
  EXPECT_EQ(view->ComponentCount(), owned);
  EXPECT_EQ(view->ContainerForm(), nullptr);

  // On a container form: the runtime controls go, the form's own stay.
  TForm container(nullptr);
  auto* own = new TEdit(&container);
  own->SetName("own");
  own->SetParent(&container);
  EXPECT_THROW(view->EditRowEntries(6, &container, 0, 0), EConvertError);
  EXPECT_EQ(RuntimeControls(container), 0);
  EXPECT_EQ(container.ComponentCount(), 1);
  EXPECT_EQ(container.FindComponent("own"), own);
}

TEST_F(RowEditTest, ContainerFormGrowsKeepsItsControlsAndLosesOnlyTheDialogs) {
  TForm container(nullptr);
  container.SetCaption("Mine");
  container.SetBounds(0, 0, 100, 500);
  auto* own = new TEdit(&container);
  own->SetName("own");
  own->SetParent(&container);
  auto* ownLabel = new TLabel(&container);
  ownLabel->SetParent(&container);
  int width = 0;
  host.SetModalHandler([&](TCustomForm& f) {
    EXPECT_EQ(&f, &container);
    EXPECT_EQ(f.Caption(), "");
    width = f.Width();
    EXPECT_EQ(f.Height(), 500);  // nothing shrinks
    auto* label = Find<TLabel>(f, "runtime_rlre_Label1");
    auto* edit = Find<TEdit>(f, "runtime_rlre_Edit1");
    EXPECT_TRUE(label != nullptr && edit != nullptr);
    if (label == nullptr || edit == nullptr) return mrCancel;
    EXPECT_EQ(label->Left(), 20 + 8);
    EXPECT_EQ(edit->Top(), 30);
    EXPECT_EQ(width, edit->Left() + 200 + 16);  // room for the widest field
    for (int i = 0; i < f.ComponentCount(); ++i) EXPECT_EQ(dynamic_cast<TSpeedButton*>(f.Components(i)), nullptr);
    edit->SetFocus();
    host.Type("Zoe");
    return mrOk;
  });
  EXPECT_EQ(view->EditRowEntries(8, &container, 20, 30), mrOk);
  EXPECT_GT(width, 100);
  EXPECT_EQ(view->Elem(1, 8), "Zoe");
  EXPECT_EQ(view->ContainerForm(), &container);
  EXPECT_EQ(RuntimeControls(container), 0);
  EXPECT_EQ(container.ComponentCount(), 2);
  EXPECT_EQ(container.ControlCount(), 2);
}

TEST_F(RowEditTest, AnyCellTextOpensAndLongTextIsStoredCut) {
  const std::string invalid = "a\xff\xfe\xc3";
  view->SetElem(1, 1, invalid);
  view->SetElem(3, 1, "not a number");
  view->SetColumnFormat(2, "[dyyyy-MM-dd]");
  view->SetElem(2, 1, "garbage");  // does not read: the picker shows day 0
  host.SetModalHandler([&](TCustomForm& f) {
    auto* e1 = Find<TEdit>(f, "runtime_rlre_Edit1");
    e1->SetText(std::string(300, 'x'));
    return mrOk;
  });
  EXPECT_EQ(view->EditRowEntries(1, 0, 0), mrOk);
  EXPECT_EQ(view->Elem(1, 1), std::string(255, 'x'));
  EXPECT_EQ(view->Elem(2, 1), "1899-12-30");
}

TEST_F(RowEditTest, DialogPictureShowsLabelsRightAlignedBesideTheirFields) {
  view->SetColumnFormat(2, "[#ddd.MM.yyyy][110]");
  view->SetElem(1, 1, "Ann");
  view->SetElem(2, 1, "24.12.2016");
  host.SetModalHandler([&](TCustomForm& f) {
    auto shot = host.Snapshot(f);
    std::filesystem::create_directories(VORN_TEST_OUTPUT_DIR);
    shot->SaveToFile(std::string(VORN_TEST_OUTPUT_DIR) + "/rowedit_dialog.png");
    // The label's text ends near its right edge, a few pixels before the field.
    auto* label = Find<TLabel>(f, "runtime_rlre_Label3");
    const TRect r = label->BoundsRect();
    int rightmostInk = -1;
    for (int y = r.Top; y < r.Bottom; ++y) {
      for (int x = r.Left; x < r.Right; ++x) {
        if (ColorToRGB(shot->Canvas()->Pixels(x, y)) != ColorToRGB(f.Color())) rightmostInk = std::max(rightmostInk, x);
      }
    }
    EXPECT_GE(rightmostInk, r.Right - 4);
    EXPECT_LT(rightmostInk, r.Right);
    return mrCancel;
  });
  view->EditRowEntries(1, 0, 0);
}

TEST_F(RowEditTest, FreeingTheViewFromTheFormatHandlerEndsTheDialog) {
  view->SetOnRequestEditFormat([this](TObject*, int, int, std::string&) {
    delete view;
    view = nullptr;
  });
  host.SetModalHandler([](TCustomForm&) { return mrOk; });
  TForm container(nullptr);
  EXPECT_EQ(view->EditRowEntries(1, &container, 0, 0), mrCancel);
  EXPECT_EQ(view, nullptr);
  EXPECT_EQ(RuntimeControls(container), 0);
}

}  // namespace
}  // namespace vorn
