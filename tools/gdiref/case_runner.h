// Draws one case of tools/gdiref/cases.txt with TCanvas on a 64x48 bitmap.
// Shared by the comparison tool and the golden-picture test, so both draw
// exactly the same thing. The format is described in gen_cases.py.
#pragma once

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "vorn/platform/graphics/bitmap.h"
#include "vorn/platform/graphics/canvas.h"

namespace vorn::gdiref {

constexpr int kCaseWidth = 64;
constexpr int kCaseHeight = 48;

struct TCase {
  int Id = -1;
  std::string Family;
  std::string Ops;
};

// The cases of a case file, comments and blank lines left out.
inline std::vector<TCase> ParseCases(std::istream& in) {
  std::vector<TCase> cases;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto bar = line.find('|');
    if (bar == std::string::npos) continue;
    std::istringstream head(line.substr(0, bar));
    TCase c;
    head >> c.Id >> c.Family;
    c.Ops = line.substr(bar + 1);
    cases.push_back(c);
  }
  return cases;
}

inline TColor CaseColor(long v) { return RGB(static_cast<int>((v >> 16) & 255), static_cast<int>((v >> 8) & 255), static_cast<int>(v & 255)); }

// The pen mode of a binary raster operation code 1..16.
inline TPenMode ModeOfCode(int code) {
  static constexpr std::array<TPenMode, 16> kModes = {pmBlack, pmNotMerge, pmMaskNotPen, pmNotCopy, pmMaskPenNot, pmNot,
                                                      pmXor,   pmNotMask,  pmMask,       pmNotXor,  pmNop,        pmMergeNotPen,
                                                      pmCopy,  pmMergePenNot, pmMerge,   pmWhite};
  return code >= 1 && code <= 16 ? kModes[static_cast<std::size_t>(code - 1)] : pmCopy;
}

// Draws the case on a fresh white bitmap of 64x48.
inline void DrawCase(const TCase& c, TBitmap& bmp) {
  bmp.SetSize(kCaseWidth, kCaseHeight);
  TCanvas* cv = bmp.Canvas();
  cv->Brush()->SetStyle(bsSolid);
  cv->Brush()->SetColor(clWhite);
  cv->FillRect(Rect(0, 0, kCaseWidth, kCaseHeight));
  cv->Pen()->SetStyle(psSolid);
  cv->Pen()->SetWidth(1);
  cv->Pen()->SetColor(clBlack);
  cv->Pen()->SetMode(pmCopy);
  cv->SetPolyFillMode(fmAlternate);
  cv->MoveTo(0, 0);
  std::istringstream ops(c.Ops);
  std::string op;
  while (std::getline(ops, op, ';')) {
    std::istringstream in(op);
    std::string name;
    in >> name;
    std::vector<long> v;
    std::string tok;
    while (in >> tok) v.push_back(std::stol(tok, nullptr, 0));
    auto at = [&v](std::size_t i) { return i < v.size() ? static_cast<int>(v[i]) : 0; };
    if (name == "P") {
      cv->Pen()->SetStyle(static_cast<TPenStyle>(at(0)));
      cv->Pen()->SetWidth(at(1));
      cv->Pen()->SetColor(CaseColor(at(2)));
      cv->Pen()->SetMode(ModeOfCode(at(3)));
    } else if (name == "B") {
      cv->Brush()->SetColor(CaseColor(at(1)));
      cv->Brush()->SetStyle(static_cast<TBrushStyle>(at(0)));
    } else if (name == "F") {
      const TColor keepColor = cv->Brush()->Color();
      const TBrushStyle keepStyle = cv->Brush()->Style();
      cv->Brush()->SetColor(CaseColor(at(4)));
      cv->Brush()->SetStyle(bsSolid);
      cv->FillRect(Rect(at(0), at(1), at(2), at(3)));
      cv->Brush()->SetColor(keepColor);
      cv->Brush()->SetStyle(keepStyle);
    } else if (name == "R") {
      cv->Rectangle(at(0), at(1), at(2), at(3));
    } else if (name == "E") {
      cv->Ellipse(at(0), at(1), at(2), at(3));
    } else if (name == "RR") {
      cv->RoundRect(at(0), at(1), at(2), at(3), at(4), at(5));
    } else if (name == "A") {
      cv->Arc(at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7));
    } else if (name == "PI") {
      cv->Pie(at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7));
    } else if (name == "C") {
      cv->Chord(at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7));
    } else if (name == "L") {
      cv->MoveTo(at(0), at(1));
      cv->LineTo(at(2), at(3));
    } else if (name == "PL" || name == "PG") {
      std::vector<TPoint> pts;
      for (int i = 0; i < at(0); ++i) pts.push_back({at(static_cast<std::size_t>(1 + 2 * i)), at(static_cast<std::size_t>(2 + 2 * i))});
      if (name == "PL") {
        cv->Polyline(pts);
      } else {
        cv->Polygon(pts);
      }
    } else if (name == "FM") {
      cv->SetPolyFillMode(at(0) == 2 ? fmWinding : fmAlternate);
    } else if (name == "FF") {
      cv->FloodFill(at(0), at(1), CaseColor(at(2)), at(3) ? fsSurface : fsBorder);
    }
  }
}

}  // namespace vorn::gdiref
