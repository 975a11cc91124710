// Editing pieces shared by the single-line edit and the memo. Texts are
// held as code points, so positions count characters.
//
// TTextUndo keeps one step back: the text and caret before the last
// change. Characters typed in a row are one change; a caret move, a
// deletion or a paste ends the run.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vorn {

class TCanvas;
class TFont;

// A canvas bound to no surface, set to Font, for measuring text. Controls
// measure with it while painting: fetching a control's own canvas binds it
// afresh, which would widen a clip the paint has narrowed.
TCanvas& MeasuringCanvas(const TFont* Font);

// Letters, digits, the underscore and every non-ASCII character.
[[nodiscard]] bool IsWordChar(char32_t C);

// Word jumps: back to the start of the word before Pos, forward past the
// word at Pos and the gap after it. InWord tells word characters apart;
// it gets positions 0..size-1 only.
using TInWord = std::function<bool(int Pos)>;
[[nodiscard]] int WordStartBefore(int Pos, const TInWord& InWord);
[[nodiscard]] int WordEndAfter(int Pos, int Size, const TInWord& InWord);
// The run of word characters around Pos, for double clicks.
void WordAround(int Pos, int Size, const TInWord& InWord, int& Start, int& End);

// What of Insert fits when it replaces SelLength of Size characters under
// a limit of MaxLength (0: none). The limit holds back what is added; a
// text already too long (assigned by the program) can still lose
// characters. Returns false when nothing may be inserted.
[[nodiscard]] bool FitToLimit(std::u32string& Insert, int Size, int SelLength, int MaxLength);

class TTextUndo {
 public:
  // Called before a change: keeps Before unless a typing run goes on.
  void Record(const std::u32string& Before, int Caret, bool Typed);
  void EndRun() { FTypingRun = false; }
  void Reset() {
    FCanUndo = false;
    FTypingRun = false;
  }
  [[nodiscard]] bool CanUndo() const { return FCanUndo; }
  [[nodiscard]] const std::u32string& Text() const { return FText; }
  [[nodiscard]] int Caret() const { return FCaret; }

 private:
  bool FCanUndo = false;
  bool FTypingRun = false;
  std::u32string FText;
  int FCaret = 0;
};

}  // namespace vorn
