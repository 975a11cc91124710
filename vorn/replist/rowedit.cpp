#include "vorn/replist/rowedit.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "vorn/numio/numio.h"
#include "vorn/platform/controls/forms.h"
#include "vorn/platform/runtime/dateformat.h"
#include "vorn/platform/stdctrls/buttons.h"
#include "vorn/platform/stdctrls/combobox.h"
#include "vorn/platform/stdctrls/datetimepicker.h"
#include "vorn/platform/stdctrls/edit.h"
#include "vorn/platform/stdctrls/label.h"
#include "vorn/replist/replistview.h"

namespace vorn {
namespace {

constexpr const char* kPrefix = "runtime_rlre_";
constexpr int kRowPitch = 25;
constexpr int kButtonBand = 45;
constexpr TColor kReadOnlyColor = static_cast<TColor>(0xE0E0E0);
constexpr TColor kReadOnlyFontColor = static_cast<TColor>(0x808080);
// A list never drops down more lines than this, whatever its format asks.
constexpr int kMaxDropDownLines = 100;

// An integer filling the whole text (blanks around it allowed); 0 when the
// text is anything else. Saturates far above every sensible width.
int WholeInteger(std::string_view S) {
  std::size_t i = 0;
  while (i < S.size() && S[i] == ' ') ++i;
  bool negative = false;
  if (i < S.size() && (S[i] == '+' || S[i] == '-')) negative = S[i++] == '-';
  const std::size_t first = i;
  std::int64_t value = 0;
  for (; i < S.size() && S[i] >= '0' && S[i] <= '9'; ++i) value = std::min<std::int64_t>(value * 10 + (S[i] - '0'), 1 << 30);
  const std::size_t last = i;
  while (i < S.size() && S[i] == ' ') ++i;
  if (last == first || i != S.size()) return 0;
  return static_cast<int>(negative ? -value : value);
}

// The leading integer of S (blanks, a sign, digits); 0 without digits.
int LeadingCount(std::string_view S) {
  std::size_t i = 0;
  while (i < S.size() && S[i] == ' ') ++i;
  bool negative = false;
  if (i < S.size() && (S[i] == '+' || S[i] == '-')) negative = S[i++] == '-';
  std::int64_t value = 0;
  for (; i < S.size() && S[i] >= '0' && S[i] <= '9'; ++i) value = std::min<std::int64_t>(value * 10 + (S[i] - '0'), 1 << 30);
  return static_cast<int>(negative ? -value : value);
}

bool HasDateFields(std::string_view Format) {
  for (const TDateToken& token : SplitDateFormat(Format)) {
    switch (token.Field) {
      case dfYear4: case dfYear2: case dfMonthLong: case dfMonthShort: case dfMonth2: case dfMonth1:
      case dfWeekdayLong: case dfWeekdayShort: case dfDay2: case dfDay1:
        return true;
      default: break;
    }
  }
  return false;
}

TInFormat NumberFormatOf(char Kind) {
  switch (Kind) {
    case 'e': return itDynamic;
    case 'f': return itFloat;
    case 'h': return itHex;
    default: return itInt;
  }
}

// Thrown when a handler freed the view while the dialog was being built.
struct TViewGone {};

// One run of the row editor: what it created, so that exactly that is
// written back and freed again.
class TRowEditRun {
 public:
  TRowEditRun(TReportListView& View, int Row, TForm& Form, int X0, int Y0, int T0)
      : FView(View), FRow(Row), FForm(Form), FX0(X0), FY0(Y0), FT0(T0) {}

  // Creates the label and the input control of every column; returns the
  // widest control width and the label width.
  void BuildColumns();
  [[nodiscard]] int MaxWidth() const { return FMaxWidth; }
  [[nodiscard]] int LabelWidth() const { return FLabelWidth; }
  void WriteBack() const;
  // Frees the created controls, last to first.
  void FreeControls();

 private:
  template <typename T>
  T* Create(const char* What, int Column) {
    auto* control = new T(&FForm);
    FCreated.push_back(control);
    control->SetName(std::string(kPrefix) + What + std::to_string(Column));
    control->SetParent(&FForm);
    return control;
  }
  void BuildColumn(int Column);
  TControl* CreateInput(int Column, const TRowEditFormat& Format, const std::string& Cell);
  TControl* CreateList(int Column, const TRowEditFormat& Format, const std::string& Cell);
  TControl* CreatePicker(int Column, const TRowEditFormat& Format, const std::string& Cell);

  TReportListView& FView;
  int FRow;
  TForm& FForm;
  int FX0, FY0, FT0;
  int FMaxWidth = 0;
  int FLabelWidth = 0;
  std::vector<TControl*> FCreated;  // labels and inputs, in creation order
  struct TInput {
    TControl* Control;
    int Column;
    std::string DateFormat;  // pickers: the format the text is written in
  };
  std::vector<TInput> FInputs;
};

void TRowEditRun::BuildColumns() {
  TCanvas& canvas = *FForm.Canvas();
  canvas.SetFont(FForm.Font());
  int widest = 0;
  for (int n = 1; n <= FView.NrOfColumns(); ++n) widest = std::max(widest, canvas.TextWidth(FView.Header(n)));
  FLabelWidth = widest + 8;
  for (int n = 1; n <= FView.NrOfColumns(); ++n) BuildColumn(n);
}

void TRowEditRun::BuildColumn(int Column) {
  const int top = FT0 + (Column - 1) * kRowPitch + FY0;
  std::string format = FView.ColumnFormat(Column);
  TDestroyGuard guard(&FView);
  RaiseEvent(FView.OnRequestEditFormat(), &FView, Column, FRow, format);
  if (guard.Gone()) throw TViewGone{};
  const TRowEditFormat parsed = ParseRowEditFormat(format);
  FMaxWidth = std::max(FMaxWidth, parsed.Width);

  auto* label = Create<TLabel>("Label", Column);
  label->SetAutoSize(false);
  label->SetAlignment(taRightJustify);
  label->SetBounds(FX0 + 8, top + 3, FLabelWidth, 17);
  label->SetCaption(FView.Header(Column) + ":");

  TControl* input = CreateInput(Column, parsed, FView.Elem(Column, FRow));
  if (input == nullptr) return;
  input->SetTag(Column);
  input->SetBounds(FX0 + FLabelWidth + 12, top, parsed.Width, input->Height());
  if (parsed.ReadOnly) {
    input->SetEnabled(false);
    input->SetColor(kReadOnlyColor);
    input->Font()->SetColor(kReadOnlyFontColor);
  } else if (auto* editable = dynamic_cast<TWinControl*>(input)) {
    TForm* form = &FForm;
    editable->SetOnKeyPress([form](TObject*, char32_t& Key) {
      if (Key == U'\r') form->SetModalResult(mrOk);
    });
  }
}

TControl* TRowEditRun::CreateInput(int Column, const TRowEditFormat& Format, const std::string& Cell) {
  const char kind = Format.Kind.empty() ? '\0' : Format.Kind[0];
  switch (kind) {
    case 'c':
    case 'l': return CreateList(Column, Format, Cell);
    case 'd': return CreatePicker(Column, Format, Cell);
    case 'e':
    case 'f':
    case 'h':
    case 'i': {
      auto* field = Create<TNumIO>("NumIO", Column);
      field->SetRangeLow(-1.7e308);
      field->SetRangeHigh(1.7e308);
      field->SetInputFormat(NumberFormatOf(kind));
      field->SetText(Cell.empty() ? ColumnKindDefault(kind, Format.Rest, FRow) : Cell);
      FInputs.push_back({field, Column, {}});
      return field;
    }
    case 's': {
      auto* edit = Create<TEdit>("Edit", Column);
      edit->SetText(Cell.empty() ? ColumnKindDefault('s', Format.Rest, FRow) : Cell);
      FInputs.push_back({edit, Column, {}});
      return edit;
    }
    default: return nullptr;
  }
}

TControl* TRowEditRun::CreateList(int Column, const TRowEditFormat& Format, const std::string& Cell) {
  auto* box = Create<TComboBox>("CBox", Column);
  const bool fixed = Format.Kind[0] == 'l';
  box->SetStyle(fixed ? csDropDownList : csDropDown);
  TStrings& items = *box->Items();
  items.BeginUpdate();
  for (const std::string& item : RowEditItems(Format.Rest)) items.Add(item);
  items.EndUpdate();
  if (const int lines = RowEditDropDownCount(Format.Kind); lines > 0) box->SetDropDownCount(std::min(lines, kMaxDropDownLines));
  if (fixed) {
    box->SetItemIndex(items.IndexOf(Cell));
  } else {
    box->SetText(Cell);
  }
  FInputs.push_back({box, Column, {}});
  return box;
}

TControl* TRowEditRun::CreatePicker(int Column, const TRowEditFormat& Format, const std::string& Cell) {
  std::string format = Format.Kind.substr(1);
  if (format.empty()) format = TDateTimePicker::DefaultDateFormat;
  auto* picker = Create<TDateTimePicker>("DtPick", Column);
  picker->SetKind(HasDateFields(format) ? dtkDate : dtkTime);
  picker->SetFormat(format);
  const std::string& source = !Cell.empty() ? Cell : Format.Rest;
  if (!source.empty()) {
    try {
      picker->SetDateTime(PickerTextToDateTime(format, source));
    } catch (const EConvertError& e) {
      throw EConvertError("Row editor, column " + std::to_string(Column) + " (\"" + FView.Header(Column) +
                          "\"): '" + source + "' is not a valid date or time for the format '" + format + "'");
    }
  }
  FInputs.push_back({picker, Column, format});
  return picker;
}

void TRowEditRun::WriteBack() const {
  for (const TInput& input : FInputs) {
    const std::string text = input.DateFormat.empty()
                                 ? input.Control->Text()
                                 : FormatPickerDateTime(input.DateFormat,
                                                        static_cast<TDateTimePicker*>(input.Control)->DateTime());
    FView.SetElem(static_cast<int>(input.Control->Tag()), FRow, text);
  }
}

void TRowEditRun::FreeControls() {
  FInputs.clear();
  while (!FCreated.empty()) {
    TControl* control = FCreated.back();
    FCreated.pop_back();
    delete control;
  }
}

}  // namespace

// ---- the format ------------------------------------------------------------------------------

TRowEditFormat ParseRowEditFormat(std::string_view Format) {
  TRowEditFormat result;
  const std::size_t close = Format.find(']');
  const std::size_t open = Format.find('[');
  std::string_view rest = Format;
  if (close != std::string_view::npos) {
    if (open < close) result.Kind = std::string(Format.substr(open + 1, close - open - 1));
    rest = Format.substr(close + 1);
  }
  if (!result.Kind.empty() && result.Kind[0] == '#') {
    result.ReadOnly = true;
    result.Kind.erase(0, 1);
  }
  const std::size_t widthClose = rest.find(']');
  if (widthClose != std::string_view::npos) {
    const std::size_t widthOpen = rest.find('[');
    result.Width = widthOpen < widthClose ? WholeInteger(rest.substr(widthOpen + 1, widthClose - widthOpen - 1)) : 0;
    rest = rest.substr(widthClose + 1);
  }
  if (result.Width < 1) result.Width = TRowEditFormat::DefaultWidth;
  result.Width = std::min(result.Width, TRowEditFormat::MaxWidth);
  result.Rest = std::string(rest);
  return result;
}

int RowEditDropDownCount(std::string_view Kind) {
  const std::size_t colon = Kind.find(':');
  if (colon == std::string_view::npos) return 0;
  return std::max(0, LeadingCount(Kind.substr(colon + 1)));
}

std::vector<std::string> RowEditItems(std::string_view Rest) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start < Rest.size()) {
    const std::size_t bar = Rest.find('|', start);
    if (bar == std::string_view::npos) {
      items.emplace_back(Rest.substr(start));
      break;
    }
    items.emplace_back(Rest.substr(start, bar - start));
    start = bar + 1;
  }
  if (Rest.empty()) items.emplace_back();
  return items;
}

// ---- the dialog --------------------------------------------------------------------------------

int TReportListView::EditRowEntries(int Row, int PosLeft, int PosTop) {
  return RunRowEditor(Row, nullptr, PosLeft, PosTop, "Editing Row " + std::to_string(Row), "OK", "Cancel");
}

int TReportListView::EditRowEntries(int Row, int PosLeft, int PosTop, const std::string& FormCaption,
                                    const std::string& ButOKCaption, const std::string& ButCancelCaption) {
  return RunRowEditor(Row, nullptr, PosLeft, PosTop, FormCaption, ButOKCaption, ButCancelCaption);
}

int TReportListView::EditRowEntries(int Row, TForm* ContainerForm, int PosLeft, int PosTop) {
  if (ContainerForm == nullptr) return mrCancel;
  return RunRowEditor(Row, ContainerForm, PosLeft, PosTop, "", "", "");
}

int TReportListView::RunRowEditor(int Row, TForm* Container, int PosLeft, int PosTop, const std::string& FormCaption,
                                  const std::string& ButOKCaption, const std::string& ButCancelCaption) {
  const bool ownForm = Container == nullptr;
  TForm* form = ownForm ? new TForm(this) : Container;
  if (ownForm) form->SetBounds(PosLeft, PosTop, form->Width(), form->Height());
  FContainerForm = form;
  const int x0 = ownForm ? 0 : PosLeft;
  const int y0 = ownForm ? 0 : PosTop;
  const int t0 = ownForm ? kButtonBand : 0;
  TDestroyGuard viewGuard(this);
  TDestroyGuard formGuard(form);
  TRowEditRun run(*this, Row, *form, x0, y0, t0);
  // Undoes the run: its controls and a created form go, whatever happened.
  const auto cleanUp = [&] {
    if (!formGuard.Gone()) run.FreeControls();
    if (viewGuard.Gone()) return;
    if (ownForm) {
      if (!formGuard.Gone()) delete form;
      FContainerForm = nullptr;
      FSBERCancel = nullptr;
    }
  };
  int result = mrCancel;
  try {
    run.BuildColumns();
    const int wmax = run.MaxWidth();
    const int labelWidth = run.LabelWidth();
    const int rows = NrOfColumns() * kRowPitch;
    if (ownForm) {
      form->SetBounds(PosLeft, PosTop, wmax + labelWidth + 28, rows + t0 + 38);
      form->SetBorderStyle(bsDialog);
      auto* cancel = new TSpeedButton(form);
      cancel->SetParent(form);
      cancel->SetBounds(wmax + labelWidth - 69, 4, 81, 29);
      cancel->SetCaption(ButCancelCaption);
      cancel->SetOnClick([form](TObject*) { form->SetModalResult(mrCancel); });
      FSBERCancel = cancel;
      auto* ok = new TSpeedButton(form);
      ok->SetParent(form);
      ok->SetBounds(wmax + labelWidth - 154, 4, 81, 29);
      ok->SetCaption(ButOKCaption);
      ok->SetOnClick([form](TObject*) { form->SetModalResult(mrOk); });
    } else {
      // The container grows to hold the controls where they were placed.
      form->SetBounds(form->Left(), form->Top(), std::max(form->Width(), x0 + wmax + labelWidth + 28),
                      std::max(form->Height(), y0 + rows + 38));
    }
    form->SetCaption(FormCaption);
    result = form->ShowModal();
    if (viewGuard.Gone()) {
      cleanUp();
      return mrCancel;
    }
    if (result == mrOk && !formGuard.Gone()) {
      const bool suppressed = SuppressPaint();
      SetSuppressPaint(true);
      run.WriteBack();
      SetSuppressPaint(suppressed);  // repaints when painting was on
    }
  } catch (const TViewGone&) {
    cleanUp();
    return mrCancel;
  } catch (...) {
    cleanUp();
    throw;
  }
  cleanUp();
  return result;
}

}  // namespace vorn
