#include "vorn/platform/hosts/headless.h"

#include <algorithm>
#include <stdexcept>

#include "vorn/platform/graphics/fontengine.h"
#include "vorn/platform/runtime/timers.h"

namespace vorn {

namespace {

// The key that types an ASCII character on a common keyboard layout, and
// whether it needs Shift.
struct KeyStroke {
  Word Key = 0;
  bool Shift = false;
};

KeyStroke StrokeFor(char32_t c) {
  if (c >= 'a' && c <= 'z') return {static_cast<Word>(c - 'a' + 'A'), false};
  if (c >= 'A' && c <= 'Z') return {static_cast<Word>(c), true};
  if (c >= '0' && c <= '9') return {static_cast<Word>(c), false};
  switch (c) {
    case ' ': return {VK_SPACE, false};
    case '\t': return {VK_TAB, false};
    case '\n':
    case '\r': return {VK_RETURN, false};
    case '.': return {VK_OEM_PERIOD, false};
    case ',': return {VK_OEM_COMMA, false};
    case '-': return {VK_OEM_MINUS, false};
    case '+': return {VK_OEM_PLUS, true};
    case '=': return {VK_OEM_PLUS, false};
    case ';': return {VK_OEM_1, false};
    case ':': return {VK_OEM_1, true};
    case '/': return {VK_OEM_2, false};
    case '?': return {VK_OEM_2, true};
    case '_': return {VK_OEM_MINUS, true};
    case '!': return {'1', true};
    case '@': return {'2', true};
    case '#': return {'3', true};
    case '$': return {'4', true};
    case '%': return {'5', true};
    case '^': return {'6', true};
    case '&': return {'7', true};
    case '*': return {'8', true};
    case '(': return {'9', true};
    case ')': return {'0', true};
    default: return {0, false};
  }
}

}  // namespace

THeadlessHost::THeadlessHost() = default;
THeadlessHost::~THeadlessHost() = default;

void THeadlessHost::Advance(std::int64_t Ms) {
  if (Ms < 0) return;
  TCustomForm::FreeReleasedForms();
  timers::StepTo(FClock + Ms, [this](std::int64_t t) { FClock = t; });
  ProcessMessages();
}

void THeadlessHost::Activate(TCustomForm* Form) {
  if (Form == FActive) return;
  TCustomForm* old = FActive;
  FActive = Form;
  if (old != nullptr) old->SetWindowActive(false);
  if (Form != nullptr) Form->SetWindowActive(true);
}

TCustomForm* THeadlessHost::ActiveForm() const { return FActive; }

void THeadlessHost::FormShown(TCustomForm& Form) {
  if (std::find(FForms.begin(), FForms.end(), &Form) == FForms.end()) FForms.push_back(&Form);
  // A drop-down leaves the keyboard with the form that opened it.
  if (!Form.IsDropDown()) Activate(&Form);
}

void THeadlessHost::FormHidden(TCustomForm& Form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), &Form), FForms.end());
  if (FActive == &Form) {
    FActive = nullptr;
    auto next = std::find_if(FForms.rbegin(), FForms.rend(), [](TCustomForm* f) { return !f->IsDropDown(); });
    Activate(next == FForms.rend() ? nullptr : *next);
  }
}

void THeadlessHost::FormDestroyed(TCustomForm& Form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), &Form), FForms.end());
  if (FActive == &Form) FActive = nullptr;
}

int THeadlessHost::RunModal(TCustomForm& Form) {
  ProcessMessages();
  if (!FModalHandler) return mrCancel;
  const int result = FModalHandler(Form);
  ProcessMessages();
  return Form.ModalResult() != mrNone ? Form.ModalResult() : result;
}

void THeadlessHost::ShowPopup(TPopupMenu& Menu, int X, int Y) {
  ++FPopupCount;
  if (FPopupHandler) FPopupHandler(Menu, X, Y);
}

void THeadlessHost::PaintAll() {
  const std::vector<TCustomForm*> forms = FForms;
  for (TCustomForm* f : forms) {
    if (std::find(FForms.begin(), FForms.end(), f) != FForms.end()) f->PaintDirty();
  }
}

void THeadlessHost::ProcessMessages() {
  TCustomForm::FreeReleasedForms();
  timers::FireDue(FClock);
  TCustomForm::FreeReleasedForms();
  PaintAll();
}

void THeadlessHost::SetClipboardText(const std::string& Text) {
  FClipboard = Text;
  FHasClipboard = true;
}

void THeadlessHost::ClearClipboard() {
  FClipboard.clear();
  FHasClipboard = false;
}

// ---- input --------------------------------------------------------------------------------

void THeadlessHost::MouseDown(TCustomForm& Form, int X, int Y, TMouseButton Button) {
  if (!Form.IsDropDown()) Activate(&Form);
  Form.InputMouseMove(KeyboardShiftState(), X, Y);
  Form.InputMouseDown(Button, KeyboardShiftState(), X, Y, false);
  ProcessMessages();
}

void THeadlessHost::MouseUp(TCustomForm& Form, int X, int Y, TMouseButton Button) {
  Form.InputMouseUp(Button, KeyboardShiftState(), X, Y);
  ProcessMessages();
}

void THeadlessHost::MouseMove(TCustomForm& Form, int X, int Y) {
  Form.InputMouseMove(KeyboardShiftState(), X, Y);
  ProcessMessages();
}

void THeadlessHost::Click(TCustomForm& Form, int X, int Y, TMouseButton Button) {
  MouseDown(Form, X, Y, Button);
  MouseUp(Form, X, Y, Button);
}

void THeadlessHost::DoubleClick(TCustomForm& Form, int X, int Y) {
  Click(Form, X, Y);
  Form.InputMouseDown(mbLeft, KeyboardShiftState(), X, Y, true);
  ProcessMessages();
  MouseUp(Form, X, Y);
}

void THeadlessHost::Drag(TCustomForm& Form, int X1, int Y1, int X2, int Y2, int Steps) {
  MouseDown(Form, X1, Y1);
  Steps = std::max(1, Steps);
  for (int i = 1; i <= Steps; ++i) {
    Form.InputMouseMove(KeyboardShiftState(), X1 + (X2 - X1) * i / Steps, Y1 + (Y2 - Y1) * i / Steps);
  }
  ProcessMessages();
  MouseUp(Form, X2, Y2);
}

void THeadlessHost::Wheel(TCustomForm& Form, int X, int Y, int Delta) {
  Form.InputMouseWheel(KeyboardShiftState(), Delta, X, Y);
  ProcessMessages();
}

namespace {
TCustomForm& FormOf(TControl& Control, TPoint& Origin) {
  TCustomForm* form = GetParentForm(&Control);
  if (form == nullptr) throw std::logic_error("the control is not on a form");
  Origin = Control.WindowOrigin();
  return *form;
}
}  // namespace

void THeadlessHost::Click(TControl& Control, int X, int Y, TMouseButton Button) {
  TPoint o;
  TCustomForm& f = FormOf(Control, o);
  Click(f, X + o.X, Y + o.Y, Button);
}

void THeadlessHost::DoubleClick(TControl& Control, int X, int Y) {
  TPoint o;
  TCustomForm& f = FormOf(Control, o);
  DoubleClick(f, X + o.X, Y + o.Y);
}

void THeadlessHost::Drag(TControl& Control, int X1, int Y1, int X2, int Y2, int Steps) {
  TPoint o;
  TCustomForm& f = FormOf(Control, o);
  Drag(f, X1 + o.X, Y1 + o.Y, X2 + o.X, Y2 + o.Y, Steps);
}

void THeadlessHost::Wheel(TControl& Control, int X, int Y, int Delta) {
  TPoint o;
  TCustomForm& f = FormOf(Control, o);
  Wheel(f, X + o.X, Y + o.Y, Delta);
}

void THeadlessHost::KeyDown(Word Key) {
  if (FActive != nullptr) {
    FActive->InputKeyDown(Key);
  } else {
    SetKeyDown(Key, true);
  }
  ProcessMessages();
}

void THeadlessHost::KeyUp(Word Key) {
  if (FActive != nullptr) {
    FActive->InputKeyUp(Key);
  } else {
    SetKeyDown(Key, false);
  }
  ProcessMessages();
}

void THeadlessHost::PressKey(Word Key, TShiftState Shift) {
  if (Shift.Contains(ssShift)) KeyDown(VK_SHIFT);
  if (Shift.Contains(ssCtrl)) KeyDown(VK_CONTROL);
  if (Shift.Contains(ssAlt)) KeyDown(VK_MENU);
  KeyDown(Key);
  const char32_t c = ControlCharOfKey(Key, Shift.Contains(ssCtrl), Shift.Contains(ssAlt));
  if (c != 0 && FActive != nullptr) {
    FActive->InputChar(c);
    ProcessMessages();
  }
  KeyUp(Key);
  if (Shift.Contains(ssAlt)) KeyUp(VK_MENU);
  if (Shift.Contains(ssCtrl)) KeyUp(VK_CONTROL);
  if (Shift.Contains(ssShift)) KeyUp(VK_SHIFT);
}

void THeadlessHost::Type(std::string_view Utf8) {
  std::size_t pos = 0;
  while (pos < Utf8.size()) {
    const char32_t c = NextCodePoint(Utf8, pos);
    const KeyStroke stroke = StrokeFor(c);
    const bool shift = stroke.Shift && GetKeyState(VK_SHIFT) >= 0;
    if (shift) KeyDown(VK_SHIFT);
    if (stroke.Key != 0) KeyDown(stroke.Key);
    if (FActive != nullptr) FActive->InputChar(c == '\n' ? U'\r' : c);
    if (stroke.Key != 0) KeyUp(stroke.Key);
    if (shift) KeyUp(VK_SHIFT);
  }
  ProcessMessages();
}

void THeadlessHost::TypeWithAltGr(Word Key, char32_t Char) {
  KeyDown(VK_CONTROL);
  KeyDown(VK_MENU);
  KeyDown(Key);
  if (FActive != nullptr) FActive->InputChar(Char);
  ProcessMessages();
  KeyUp(Key);
  KeyUp(VK_MENU);
  KeyUp(VK_CONTROL);
}

// ---- pictures --------------------------------------------------------------------------------

std::unique_ptr<TBitmap> THeadlessHost::Snapshot(TCustomForm& Form) {
  Form.PaintDirty();
  auto copy = std::make_unique<TBitmap>();
  copy->Assign(&Form.SurfaceBitmap());
  return copy;
}

std::unique_ptr<TBitmap> THeadlessHost::Snapshot(TControl& Control) {
  TCustomForm* form = GetParentForm(&Control);
  auto out = std::make_unique<TBitmap>();
  if (form == nullptr) return out;
  form->PaintDirty();
  const TPoint o = Control.WindowOrigin();
  out->SetSize(Control.Width(), Control.Height());
  out->Canvas()->CopyRect({0, 0, Control.Width(), Control.Height()}, form->SurfaceBitmap().Canvas(),
                         {o.X, o.Y, o.X + Control.Width(), o.Y + Control.Height()});
  return out;
}

THeadlessHost& HeadlessHost() {
  auto* host = dynamic_cast<THeadlessHost*>(&CurrentHost());
  if (host == nullptr) throw std::logic_error("the current host is not the headless host");
  return *host;
}

}  // namespace vorn
