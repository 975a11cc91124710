#include "vorn/platform/stdctrls/textedit.h"

#include "vorn/platform/graphics/canvas.h"

namespace vorn {

TCanvas& MeasuringCanvas(const TFont* Font) {
  // Never freed: the font engine may be gone when statics are destroyed.
  static TCanvas* canvas = new TCanvas;
  canvas->SetFont(Font);
  return *canvas;
}

bool IsWordChar(char32_t C) {
  return (C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_' || C >= 0x80;
}

int WordStartBefore(int Pos, const TInWord& InWord) {
  while (Pos > 0 && !InWord(Pos - 1)) --Pos;
  while (Pos > 0 && InWord(Pos - 1)) --Pos;
  return Pos;
}

int WordEndAfter(int Pos, int Size, const TInWord& InWord) {
  while (Pos < Size && InWord(Pos)) ++Pos;
  while (Pos < Size && !InWord(Pos)) ++Pos;
  return Pos;
}

void WordAround(int Pos, int Size, const TInWord& InWord, int& Start, int& End) {
  Start = Pos;
  while (Start > 0 && InWord(Start - 1)) --Start;
  End = Pos;
  while (End < Size && InWord(End)) ++End;
}

bool FitToLimit(std::u32string& Insert, int Size, int SelLength, int MaxLength) {
  if (MaxLength <= 0 || Insert.empty()) return true;
  const int room = MaxLength - (Size - SelLength);
  if (room <= 0) return false;
  if (static_cast<int>(Insert.size()) > room) Insert.resize(static_cast<std::size_t>(room));
  return true;
}

void TTextUndo::Record(const std::u32string& Before, int Caret, bool Typed) {
  if (!Typed || !FTypingRun) {
    FText = Before;
    FCaret = Caret;
  }
  FTypingRun = Typed;
  FCanUndo = true;
}

}  // namespace vorn
