// TNumIO: the simple numeric input field. A single-line edit control whose
// text is checked after every change against an input format and a value
// range: a change that makes the text unacceptable is undone and the last
// accepted text comes back; a fixed-point field always shows its number of
// decimal places. Every text the field writes itself (a value, a
// reformatted number) becomes the last accepted text.
//
// Typing into a fixed-point field: digits stand in the order typed and the
// caret stays behind the last one; the separator key moves the caret into
// the decimals, where digits overwrite the ones after the caret; Backspace
// or Delete on the separator leaves the text and puts the caret in front
// of it; a typed "-" stays while the number is still zero ('-0.00').
#pragma once

#include <string>

#include "vorn/numio/numformat.h"
#include "vorn/platform/stdctrls/edit.h"

namespace vorn {

class TNumIO : public TCustomEdit {
 public:
  explicit TNumIO(TComponent* AOwner);

  void Assign(const TPersistent* Source) override;

  [[nodiscard]] bool Beep() const { return FBeep; }
  void SetBeep(bool Value) { FBeep = Value; }
  [[nodiscard]] TDecPSep DecPlaceSep() const { return FDecPSep; }
  void SetDecPlaceSep(TDecPSep Value);
  // Clamped to 1..8; the text is not checked again.
  [[nodiscard]] int FixPointDecPlaces() const { return FFixPDecPl; }
  void SetFixPointDecPlaces(int Value);
  [[nodiscard]] TInFormat InputFormat() const { return FInFormat; }
  void SetInputFormat(TInFormat Value);
  [[nodiscard]] double RangeLow() const { return FMinimum; }
  void SetRangeLow(double Value);
  [[nodiscard]] double RangeHigh() const { return FMaximum; }
  void SetRangeHigh(double Value);

  // The number the text shows; 0 when the text does not convert. Writing
  // puts the value's text in the field's format (NaN as 0, infinities as
  // plus or minus uc_MaxDouble): itExp and itDynamic with six significant
  // digits and three-digit exponents in full, itInt clamped to 32 bits.
  [[nodiscard]] double Value() const { return GetLabValue(); }
  void SetValue(double X) { SetLabValue(X); }
  [[nodiscard]] double GetLabValue() const;
  void SetLabValue(double X);

  // The conversion of the field's format (true when the whole text reads).
  [[nodiscard]] bool ConvertNumString(std::string_view Text, double& Value) const;

 protected:
  void Change() override;
  void AssignTo(TPersistent* Dest) const override;

 private:
  [[nodiscard]] TNumFieldFormat Format() const;
  // The component's own write: the change it causes is not checked, and
  // S becomes the last accepted text.
  void SetEditText(const std::string& S);
  // SetEditText, then the caret to Caret.
  void WriteText(const std::string& S, int Caret);
  // Whether Text converts, fits 32 bits in itInt, and lies in the range
  // (or is zero); Value gets what it reads.
  [[nodiscard]] bool Acceptable(std::string_view Text, double& Value) const;
  // Brings the last accepted text back after the edit that made Edited.
  void Refuse(const std::string& Edited, int Caret);
  void ChangeFixPoint(const std::string& Edited, int Caret);
  void KeepDecimalPlaces(std::string& Typed, int Caret) const;
  // After a change of format, separator or range: accept the text afresh.
  void Recheck();
  // The separator a fixed-point text of this field carries.
  [[nodiscard]] char FixPointSeparator() const;
  // A formatted number ("." separator) as this field writes it.
  [[nodiscard]] std::string WithOwnSeparator(std::string Text) const;

  TInFormat FInFormat = itDynamic;
  int FFixPDecPl = 2;
  std::string FOldText;
  bool FInternalChg = false;
  bool FBeep = false;
  double FMinimum = 0;
  double FMaximum = 0;
  TDecPSep FDecPSep = dsLocale;
};

}  // namespace vorn
