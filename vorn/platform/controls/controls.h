// Controls: components that have a place on a form, draw themselves and
// take input.
//
// - TControl: bounds, visibility, font, colour, mouse hooks and events.
// - TGraphicControl: draws on its parent's surface, takes no focus.
// - TWinControl: holds child controls, takes the focus and keys.
// - TCustomControl: a window control with a canvas and a Paint hook.
//
// Every control draws into the surface of its top-level form. Invalidate
// marks a part of that surface for repainting (the host repaints all
// marked parts once); Repaint paints at once. A control's Canvas is usable
// at any time: it draws at the control's place, clipped to its visible
// part, which is how components that repaint themselves directly work.
//
// Messages arrive through WndProc, which dispatches them to the virtual
// handlers below; Perform sends a message to a control directly.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vorn/platform/graphics/canvas.h"
#include "vorn/platform/runtime/application.h"
#include "vorn/platform/runtime/components.h"
#include "vorn/platform/runtime/messages.h"

namespace vorn {

class TWinControl;
class TCustomForm;
class TPopupMenu;

enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind : std::uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

enum TControlStyleItem : std::uint8_t {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground,
  csPannable,
  csAlignWithMargins,
  csGestures
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem : std::uint8_t {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking
};
using TControlState = TSet<TControlStateItem>;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // ---- place ---------------------------------------------------------------------
  [[nodiscard]] TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  [[nodiscard]] int Left() const { return FLeft; }
  [[nodiscard]] int Top() const { return FTop; }
  [[nodiscard]] int Width() const { return FWidth; }
  [[nodiscard]] int Height() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  [[nodiscard]] TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  [[nodiscard]] virtual int ClientWidth() const { return FWidth; }
  [[nodiscard]] virtual int ClientHeight() const { return FHeight; }
  void SetClientWidth(int Value) { SetWidth(Value + FWidth - ClientWidth()); }
  void SetClientHeight(int Value) { SetHeight(Value + FHeight - ClientHeight()); }
  [[nodiscard]] TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
  [[nodiscard]] TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  [[nodiscard]] TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value) { FAnchors = Value; }

  // Coordinates: client of this control <-> its top-level form's surface
  // <-> the screen.
  [[nodiscard]] TPoint WindowOrigin() const;
  [[nodiscard]] TPoint ClientOrigin() const;
  [[nodiscard]] TPoint ClientToScreen(TPoint P) const;
  [[nodiscard]] TPoint ScreenToClient(TPoint P) const;
  [[nodiscard]] TCustomForm* ParentForm() const;

  // ---- look ------------------------------------------------------------------------
  [[nodiscard]] bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent visible up to a shown form.
  [[nodiscard]] bool Showing() const;
  [[nodiscard]] bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  // Enabled, and every parent enabled too: what mouse, Tab and keys obey.
  [[nodiscard]] bool EnabledWithParents() const;
  [[nodiscard]] TFont* Font() const { return FFont.get(); }
  void SetFont(const TFont* Value) { FFont->Assign(Value); }
  [[nodiscard]] bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  [[nodiscard]] TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  [[nodiscard]] bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  [[nodiscard]] const std::string& Caption() const { return FText; }
  void SetCaption(const std::string& Value) { SetText(Value); }
  [[nodiscard]] const std::string& Text() const { return FText; }
  virtual void SetText(const std::string& Value);
  [[nodiscard]] const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  [[nodiscard]] bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value) { FShowHint = Value; }
  [[nodiscard]] TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  [[nodiscard]] TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  [[nodiscard]] TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  [[nodiscard]] TControlState ControlState() const { return FControlState; }

  // ---- painting ----------------------------------------------------------------------
  // Marks the control's area for repainting.
  virtual void Invalidate();
  // Paints what is marked on this control's form now.
  void Update();
  // Invalidate and Update.
  virtual void Repaint();
  void Refresh() { Repaint(); }

  // ---- messages ------------------------------------------------------------------------
  LRESULT Perform(std::uint32_t Msg, WPARAM WParam, LPARAM LParam);
  virtual void WndProc(TMessage& Message);
  // Sends a message to every control of this one's parent (or to this
  // one's own controls for a window control).
  void BringToFront();
  void SendToBack();

  // ---- hooks the input dispatch calls ----------------------------------------------------
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void Click();
  virtual void DblClick();
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Resize();
  // Where a popup menu opened from the keyboard (Menu key, Shift+F10)
  // appears, in client coordinates: the caret or the current item.
  [[nodiscard]] virtual TPoint KeyboardPopupPoint() const;
  // The control's own drawing; called with Canvas() bound and clipped.
  virtual void Paint() {}
  // Whether a point (client coordinates) belongs to the control.
  [[nodiscard]] virtual bool HitTest(int X, int Y) const;

  // ---- events --------------------------------------------------------------------------------
  [[nodiscard]] const TNotifyEvent& OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent E) { FOnClick = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnDblClick() const { return FOnDblClick; }
  void SetOnDblClick(TNotifyEvent E) { FOnDblClick = std::move(E); }
  [[nodiscard]] const TMouseEvent& OnMouseDown() const { return FOnMouseDown; }
  void SetOnMouseDown(TMouseEvent E) { FOnMouseDown = std::move(E); }
  [[nodiscard]] const TMouseMoveEvent& OnMouseMove() const { return FOnMouseMove; }
  void SetOnMouseMove(TMouseMoveEvent E) { FOnMouseMove = std::move(E); }
  [[nodiscard]] const TMouseEvent& OnMouseUp() const { return FOnMouseUp; }
  void SetOnMouseUp(TMouseEvent E) { FOnMouseUp = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnMouseEnter() const { return FOnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent E) { FOnMouseEnter = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnMouseLeave() const { return FOnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent E) { FOnMouseLeave = std::move(E); }
  [[nodiscard]] const TMouseWheelEvent& OnMouseWheel() const { return FOnMouseWheel; }
  void SetOnMouseWheel(TMouseWheelEvent E) { FOnMouseWheel = std::move(E); }
  [[nodiscard]] const TMouseWheelUpDownEvent& OnMouseWheelDown() const { return FOnMouseWheelDown; }
  void SetOnMouseWheelDown(TMouseWheelUpDownEvent E) { FOnMouseWheelDown = std::move(E); }
  [[nodiscard]] const TMouseWheelUpDownEvent& OnMouseWheelUp() const { return FOnMouseWheelUp; }
  void SetOnMouseWheelUp(TMouseWheelUpDownEvent E) { FOnMouseWheelUp = std::move(E); }
  [[nodiscard]] const TContextPopupEvent& OnContextPopup() const { return FOnContextPopup; }
  void SetOnContextPopup(TContextPopupEvent E) { FOnContextPopup = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnResize() const { return FOnResize; }
  void SetOnResize(TNotifyEvent E) { FOnResize = std::move(E); }

  // The canvas bound to the control's place on its form's surface.
  [[nodiscard]] virtual TCanvas* Canvas() const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Handlers the default WndProc dispatches to.
  virtual void MouseMessage(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);
  // The parts of the message loop the base classes share.
  void DefaultHandler(TMessage& Message);

  // Binds the canvas to the control's place; while the control paints,
  // only the part being repainted.
  void BindCanvas(TCanvas& ACanvas) const;
  // The control's visible part on its form's surface (empty when hidden).
  [[nodiscard]] TRect VisibleSurfaceRect() const;
  // Marks a rectangle of this control (client coordinates) for repainting.
  void InvalidateRect(const TRect& R);

  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;
  std::unique_ptr<TCanvas> FCanvas;

 private:
  friend class TWinControl;
  friend class TCustomForm;
  friend class TDestroyGuard;
  friend TCustomForm* GetParentForm(const TControl* Control);
  void FontChanged();
  void DispatchMouseDown(TMouseButton Button, TShiftState Shift, TPoint P, bool Double);
  void DispatchMouseUp(TMouseButton Button, TShiftState Shift, TPoint P);

  TWinControl* FParent = nullptr;
  // Set while the control is a whole form (from the start of the form's
  // constructor body to the end of its destructor body), so that finding
  // a control's form needs no type lookup on every drawing operation.
  bool FIsForm = false;
  bool FInPaint = false;
  TRect FPaintClip;  // surface coordinates, while painting
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  bool FVisible = true;
  bool FEnabled = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FUpdatingFont = false;
  TColor FColor = clWindow;
  bool FParentColor = false;
  std::string FText;
  std::string FHint;
  bool FShowHint = false;
  TCursor FCursor = crDefault;
  TPopupMenu* FPopupMenu = nullptr;
  // Wheel movement not yet amounting to a whole notch (WHEEL_DELTA).
  int FWheelRest = 0;
  bool FWheelTaken = false;
  // Expires with the control; TDestroyGuard watches it.
  std::shared_ptr<int> FLifeToken = std::make_shared<int>(0);

  TNotifyEvent FOnClick, FOnDblClick, FOnMouseEnter, FOnMouseLeave, FOnResize;
  TMouseEvent FOnMouseDown, FOnMouseUp;
  TMouseMoveEvent FOnMouseMove;
  TMouseWheelEvent FOnMouseWheel;
  TMouseWheelUpDownEvent FOnMouseWheelDown, FOnMouseWheelUp;
  TContextPopupEvent FOnContextPopup;
};

// Notices that a control was destroyed. Handlers (OnKeyDown, OnExit,
// OnSetEditText, ...) may delete the control that calls them, so code that
// touches the control after a handler takes a guard first:
//
//   TDestroyGuard guard(this);
//   RaiseEvent(FOnKeyDown, this, Key, Shift);
//   if (guard.Gone()) return;
//
// Unlike an address check it cannot be fooled by a new control created at
// the freed address. A control counts as gone from the moment its
// destruction starts.
class TDestroyGuard {
 public:
  explicit TDestroyGuard(const TControl* Control)
      : FControl(Control), FToken(Control != nullptr ? Control->FLifeToken : nullptr) {}
  [[nodiscard]] bool Gone() const {
    return FControl == nullptr || FToken.expired() || FControl->ComponentState().Contains(csDestroying);
  }

 private:
  const TControl* FControl;
  std::weak_ptr<int> FToken;
};

// Sets a flag for a scope and restores it at the end, also when a handler
// throws out of the scope, unless a handler deleted the control meanwhile.
class TFlagScope {
 public:
  TFlagScope(const TControl* Control, bool& Flag, bool Value) : FGuard(Control), FFlag(Flag), FOld(Flag) {
    Flag = Value;
  }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;
  ~TFlagScope() {
    if (!FGuard.Gone()) FFlag = FOld;
  }

 private:
  TDestroyGuard FGuard;
  bool& FFlag;
  bool FOld;
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // ---- children ---------------------------------------------------------------------
  [[nodiscard]] int ControlCount() const { return static_cast<int>(FControls.size()); }
  [[nodiscard]] TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // The visible, enabled child at a client point (deepest first), or null.
  [[nodiscard]] TControl* ControlAtPos(TPoint P, bool AllowDisabled, bool AllWindows = true) const;
  // Sends a message to every child control.
  void Broadcast(TMessage& Message);
  // Lays out aligned children again.
  void Realign();

  // ---- focus ----------------------------------------------------------------------------
  [[nodiscard]] bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value) { FTabStop = Value; }
  [[nodiscard]] int TabOrder() const;
  void SetTabOrder(int Value);
  [[nodiscard]] virtual bool CanFocus() const;
  [[nodiscard]] bool Focused() const;
  virtual void SetFocus();
  // The next control in tab order after CurControl among this control's
  // descendants, wrapping around; null when there is none.
  [[nodiscard]] TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward,
                                             bool CheckTabStop, bool CheckParent) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  // A window control "has a handle" once it sits on a form that is shown.
  [[nodiscard]] bool HandleAllocated() const { return FHandleCreated; }
  void HandleNeeded();

  // ---- hooks ---------------------------------------------------------------------------------
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);
  virtual void DoEnter();
  virtual void DoExit();
  // Called once when the control first gets a place on a shown form.
  virtual void CreateWnd();

  void WndProc(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Invalidate() override;

  [[nodiscard]] const TKeyEvent& OnKeyDown() const { return FOnKeyDown; }
  void SetOnKeyDown(TKeyEvent E) { FOnKeyDown = std::move(E); }
  [[nodiscard]] const TKeyEvent& OnKeyUp() const { return FOnKeyUp; }
  void SetOnKeyUp(TKeyEvent E) { FOnKeyUp = std::move(E); }
  [[nodiscard]] const TKeyPressEvent& OnKeyPress() const { return FOnKeyPress; }
  void SetOnKeyPress(TKeyPressEvent E) { FOnKeyPress = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnEnter() const { return FOnEnter; }
  void SetOnEnter(TNotifyEvent E) { FOnEnter = std::move(E); }
  [[nodiscard]] const TNotifyEvent& OnExit() const { return FOnExit; }
  void SetOnExit(TNotifyEvent E) { FOnExit = std::move(E); }

 protected:
  // Message handlers of window controls.
  virtual void CNKeyDown(TMessage& Message);
  virtual void CNKeyUp(TMessage& Message);
  virtual void CNChar(TMessage& Message);
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMKeyUp(TMessage& Message);
  virtual void WMChar(TMessage& Message);
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  virtual void WMGetDlgCode(TMessage& Message);
  virtual void WMNextDlgCtl(TMessage& Message);
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  // Paints the background with Color; controls that cover their whole
  // area (csOpaque) skip it.
  virtual void PaintBackground(TCanvas& ACanvas);
  virtual void AlignControls(TControl* AControl, TRect& Rect);

 private:
  friend class TControl;
  friend class TCustomForm;
  void CreateHandles();

  std::vector<TControl*> FControls;  // z-order: last on top
  std::vector<TWinControl*> FTabList;
  bool FTabStop = false;
  bool FHandleCreated = false;
  TKeyEvent FOnKeyDown, FOnKeyUp;
  TKeyPressEvent FOnKeyPress;
  TNotifyEvent FOnEnter, FOnExit;
};

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
};

// The number of lines (rows, items) one wheel notch scrolls; 3 unless a
// program changes it.
int WheelScrollLines();
void SetWheelScrollLines(int Value);
// Whether Key is the accelerator of a caption: the character after a
// single '&' ("&Save" has S), compared without regard to case.
bool IsAccel(char32_t Key, const std::string& Caption);

// Finds the form a control sits on (through its parents), or null.
TCustomForm* GetParentForm(const TControl* Control);
// True while the control exists (it was created and not yet destroyed):
// input dispatch checks this after handlers that may delete controls.
bool IsLiveControl(const TControl* Control);
// Shows a popup menu for a control at a screen point (the menu unit
// provides it).
void ShowPopupMenu(TPopupMenu* Menu, TControl* PopupComponent, int X, int Y);

}  // namespace vorn
