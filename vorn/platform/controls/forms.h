// Forms: top-level window controls. A shown form has a surface of its own
// size that the host puts on screen (or keeps in memory); every control
// on the form draws into it. The form dispatches the host's input to its
// controls: mouse to the control under the pointer (or the one holding the
// capture), keys to the focused control.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vorn/platform/controls/controls.h"
#include "vorn/platform/graphics/bitmap.h"

namespace vorn {

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrClose = 8;

enum TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };
enum TPosition : std::uint8_t { poDesigned, poDefault, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
enum TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // ---- showing ---------------------------------------------------------------------
  void Show();
  void Hide();
  void SetVisible(bool Value) override;
  // Closes: asks OnCloseQuery, then OnClose decides (hide by default;
  // caNone keeps the form). A modal form that may close ends its
  // ShowModal with mrCancel.
  void Close();
  // Shows the form until its ModalResult is set; returns it. OnClose runs
  // once as the form closes, also when a button set ModalResult.
  TModalResult ShowModal();
  [[nodiscard]] TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  [[nodiscard]] bool Modal() const { return FModal; }
  [[nodiscard]] TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  [[nodiscard]] TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value) { FBorderStyle = Value; }
  // A drop-down window (a list below a combo box): hosts show it without
  // giving it the keyboard.
  [[nodiscard]] virtual bool IsDropDown() const { return false; }
  [[nodiscard]] bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  // Hides the form and frees it once the current message is handled.
  void Release();
  // Hosts call this between messages to free released forms.
  static void FreeReleasedForms();

  // ---- focus ----------------------------------------------------------------------------
  // Moving the focus runs in three steps: the focus moves (kill and set
  // focus), the controls it leaves get OnExit (innermost first), the
  // controls it enters get OnEnter (outermost first). A control gets OnExit only after its
  // OnEnter. A focus change asked for inside OnExit replaces the pending
  // one; asking for the exiting control itself keeps the focus there.
  [[nodiscard]] TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  [[nodiscard]] bool Active() const { return FActive; }
  // Called by hosts when the window gains or loses the keyboard.
  void SetWindowActive(bool Value);

  // ---- surface and painting ----------------------------------------------------------
  [[nodiscard]] TBitmap& SurfaceBitmap() { return FSurface; }
  [[nodiscard]] const TBitmap& SurfaceBitmap() const { return FSurface; }
  [[nodiscard]] bool HasDirty() const { return !FDirty.empty(); }
  // Paints every marked part once; returns the surface area painted.
  TRect PaintDirty();
  // Bumped whenever pixels of the surface change; hosts present on change.
  [[nodiscard]] std::uint64_t SurfaceVersion() const { return FSurfaceVersion; }
  void SurfaceChanged() { ++FSurfaceVersion; }
  // Marks a surface rectangle, to be painted from window control Root.
  void MarkDirty(TWinControl* Root, const TRect& SurfaceRect);

  // ---- input from the host (surface coordinates) ----------------------------------
  void InputMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y, bool Double);
  void InputMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  void InputMouseMove(TShiftState Shift, int X, int Y);
  void InputMouseWheel(TShiftState Shift, int WheelDelta, int X, int Y);
  void InputMouseLeave();
  // Keys: the host reports every key, modifiers included; the shift state
  // handlers see comes from the keys held.
  void InputKeyDown(Word Key);
  void InputKeyUp(Word Key);
  void InputChar(char32_t Char);
  [[nodiscard]] TControl* CaptureControl() const { return FCapture; }
  [[nodiscard]] TControl* HoverControl() const { return FHover; }

  // ---- events ------------------------------------------------------------------------
  [[nodiscard]] const TNotifyEvent& OnShow() const { return FOnShow; }
  void SetOnShow(TNotifyEvent E) { FOnShow = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnHide() const { return FOnHide; }
  void SetOnHide(TNotifyEvent E) { FOnHide = std::move(E); }
  [[nodiscard]] const TCloseEvent& OnClose() const { return FOnClose; }
  void SetOnClose(TCloseEvent E) { FOnClose = std::move(E); }
  [[nodiscard]] const TCloseQueryEvent& OnCloseQuery() const { return FOnCloseQuery; }
  void SetOnCloseQuery(TCloseQueryEvent E) { FOnCloseQuery = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnActivate() const { return FOnActivate; }
  void SetOnActivate(TNotifyEvent E) { FOnActivate = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnDeactivate() const { return FOnDeactivate; }
  void SetOnDeactivate(TNotifyEvent E) { FOnDeactivate = std::move(E); }

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void WndProc(TMessage& Message) override;

 protected:
  virtual bool CloseQuery();
  void DoClose(TCloseAction& Action);
  void CMFontChanged(TMessage& Message) override;

 private:
  friend class TControl;
  friend class TWinControl;
  // A control leaves the form (destroyed, hidden, re-parented): forget it.
  void ControlGone(TControl* Control);
  // A control is hidden or disabled: when the focus is in it, the focus
  // moves on as Tab would (with OnExit).
  void FocusLeaves(TControl* Control);
  // Kill and set focus; false when a handler moved the focus elsewhere.
  bool MoveFocus(TWinControl* Control);
  void EnterChain(TWinControl* Control);
  // Alt+letter or a plain letter: the caption with that accelerator.
  bool OfferAccelerator(char32_t Char);
  void PopupFromKeyboard(TWinControl* Target);
  void PaintTree(TControl* Control, const TRect& Clip);
  TControl* TargetAt(TPoint P) const;
  void SetHover(TControl* Control);
  void DispatchKey(std::uint32_t Notification, std::uint32_t Message, Word Key);

  TBitmap FSurface;
  struct DirtyPart {
    TWinControl* Root;
    TRect Rect;
  };
  std::vector<DirtyPart> FDirty;
  std::uint64_t FSurfaceVersion = 0;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FEntered = nullptr;  // innermost control that got OnEnter and no OnExit yet
  TWinControl* FPendingFocus = nullptr;
  bool FExiting = false;
  bool FPendingGone = false;  // the pending focus target was destroyed
  TControl* FCapture = nullptr;
  TControl* FHover = nullptr;
  TShiftState FButtons;
  bool FSwallowRelease = false;  // a press that closed a drop-down: its release does nothing
  bool FActive = false;
  bool FModal = false;
  bool FCloseRaised = false;  // OnClose ran during the current ShowModal
  bool FKeyPreview = false;
  bool FShownOnHost = false;
  TModalResult FModalResult = mrNone;
  TPosition FPosition = poDesigned;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TNotifyEvent FOnShow, FOnHide, FOnActivate, FOnDeactivate;
  TCloseEvent FOnClose;
  TCloseQueryEvent FOnCloseQuery;
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

}  // namespace vorn
