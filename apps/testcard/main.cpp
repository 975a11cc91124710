// Draws a test card of the canvas (lines, figures, pen modes, text at
// several angles, a picture stretched both ways) and writes it as PNG.
//   vorn-testcard [output.png]
#include <cmath>
#include <cstdio>
#include <exception>
#include <sstream>
#include <string>

#include "vorn/platform/graphics/bitmap.h"

using namespace vorn;

namespace {

void Caption(TCanvas& c, int x, int y, const std::string& text) {
  c.Font()->SetName("Arial");
  c.Font()->SetSize(8);
  c.Font()->SetColor(clGray);
  c.Font()->SetOrientation(0);
  c.Brush()->SetStyle(bsClear);
  c.TextOut(x, y, text);
}

void LineFan(TCanvas& c, int cx, int cy) {
  c.Pen()->SetColor(clNavy);
  for (int k = 0; k < 24; ++k) {
    const double a = k * 3.14159265358979 / 12;
    c.MoveTo(cx, cy);
    c.LineTo(cx + static_cast<int>(std::lround(60 * std::cos(a))), cy - static_cast<int>(std::lround(60 * std::sin(a))));
  }
  Caption(c, cx - 60, cy + 66, "thin lines");
}

void WideLines(TCanvas& c, int x, int y) {
  for (int w = 1; w <= 6; ++w) {
    c.Pen()->SetWidth(w);
    c.Pen()->SetColor(RGB(40 * w, 80, 160));
    c.MoveTo(x, y + 12 * w);
    c.LineTo(x + 110, y + 12 * w + 20);
  }
  c.Pen()->SetWidth(1);
  Caption(c, x, y + 100, "pen widths 1..6");
}

void Figures(TCanvas& c, int x, int y) {
  c.Pen()->SetColor(clBlack);
  c.Brush()->SetColor(clYellow);
  c.Rectangle(x, y, x + 60, y + 40);
  c.Brush()->SetColor(clAqua);
  c.Ellipse(x + 70, y, x + 150, y + 40);
  c.Brush()->SetColor(clFuchsia);
  c.Pie(x + 160, y, x + 220, y + 60, x + 220, y + 30, x + 190, y);
  c.Brush()->SetColor(clLime);
  c.Chord(x + 230, y, x + 290, y + 60, x + 260, y, x + 260, y + 60);
  c.Pen()->SetColor(clRed);
  c.Arc(x + 300, y, x + 360, y + 60, x + 360, y + 60, x + 300, y + 60);
  c.Pen()->SetColor(clBlack);
  c.Brush()->SetColor(clSilver);
  c.RoundRect(x, y + 50, x + 60, y + 90, 16, 16);
  const TPoint star[] = {{x + 110, y + 45}, {x + 126, y + 95}, {x + 82, y + 63}, {x + 138, y + 63}, {x + 94, y + 95}};
  c.Brush()->SetColor(clRed);
  c.Polygon(star);
  Caption(c, x, y + 100, "Rectangle  Ellipse  Pie  Chord  Arc  RoundRect  Polygon");
}

void PenModes(TCanvas& c, int x, int y) {
  c.Brush()->SetColor(clTeal);
  c.FillRect(Rect(x, y, x + 150, y + 60));
  c.Pen()->SetMode(pmNot);
  c.Brush()->SetColor(clYellow);
  c.Ellipse(x + 10, y + 10, x + 70, y + 50);
  c.Pen()->SetMode(pmXor);
  c.Pen()->SetColor(clWhite);
  c.Pen()->SetWidth(5);
  c.MoveTo(x + 80, y + 10);
  c.LineTo(x + 140, y + 50);
  c.Pen()->SetWidth(1);
  c.Pen()->SetMode(pmCopy);
  c.Pen()->SetColor(clBlack);
  c.Pen()->SetStyle(psDash);
  c.Brush()->SetStyle(bsClear);
  c.Rectangle(x + 2, y + 2, x + 148, y + 58);
  c.Pen()->SetStyle(psSolid);
  c.DrawFocusRect(Rect(x + 5, y + 5, x + 145, y + 55));
  Caption(c, x, y + 66, "pmNot, pmXor, dashes, focus");
}

void Texts(TCanvas& c, int cx, int cy) {
  c.Font()->SetName("Arial");
  c.Font()->SetSize(11);
  c.Font()->SetColor(clBlack);
  c.Brush()->SetStyle(bsClear);
  for (int a = 0; a < 360; a += 45) {
    c.Font()->SetOrientation(a * 10);
    c.TextOut(cx, cy, "  angle " + std::to_string(a));
  }
  c.Font()->SetOrientation(0);
  c.Pen()->SetColor(clRed);
  c.Ellipse(cx - 2, cy - 2, cx + 3, cy + 3);
}

void Fonts(TCanvas& c, int x, int y) {
  const char* names[] = {"Arial", "Times New Roman", "Courier New", "Tahoma", "default"};
  int row = y;
  for (const char* name : names) {
    c.Font()->SetName(name);
    c.Font()->SetSize(10);
    c.Font()->SetColor(clBlack);
    c.Font()->SetStyle({});
    c.Brush()->SetColor(clWhite);
    c.TextOut(x, row, std::string(name) + ": 0123456789 ÄÖÜ äöü");
    row += c.TextHeight("Xg") + 2;
  }
  c.Font()->SetName("Arial");
  c.Font()->SetStyle({fsBold});
  c.TextOut(x, row, "Bold");
  c.Font()->SetStyle({fsItalic});
  c.TextOut(x + 50, row, "Italic");
  c.Font()->SetStyle({fsUnderline, fsStrikeOut});
  c.TextOut(x + 110, row, "Under+Strike");
  c.Font()->SetStyle({});
  c.Font()->SetQuality(fqNonAntialiased);
  c.TextOut(x + 220, row, "crisp");
  c.Font()->SetQuality(fqDefault);
  c.Brush()->SetColor(clYellow);
  c.TextRect(Rect(x + 270, row, x + 330, row + 14), x + 272, row, "TextRect clips this");
}

void Pictures(TCanvas& c, int x, int y) {
  // A small picture written as BMP and read back, then drawn three ways.
  TBitmap pic(8, 8);
  for (int py = 0; py < 8; ++py)
    for (int px = 0; px < 8; ++px) pic.Canvas()->SetPixels(px, py, ((px + py) & 1) ? clNavy : RGB(px * 32, py * 32, 200));
  std::stringstream file;
  pic.SaveToStream(file);
  TBitmap loaded;
  loaded.LoadFromStream(file);
  c.Draw(x, y, &loaded);
  c.StretchDraw(Rect(x + 20, y, x + 84, y + 64), &loaded);
  c.SetStretchBltMode(HALFTONE);
  c.StretchDraw(Rect(x + 94, y, x + 158, y + 64), &loaded);
  c.StretchDraw(Rect(x + 168, y, x + 172, y + 64), &loaded);
  c.SetStretchBltMode(COLORONCOLOR);
  Caption(c, x, y + 68, "Draw, StretchDraw nearest / halftone");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string out = argc > 1 ? argv[1] : "testcard.png";
  try {
    TBitmap card(720, 540);
    TCanvas& c = *card.Canvas();
    LineFan(c, 80, 80);
    WideLines(c, 170, 20);
    Figures(c, 310, 20);
    PenModes(c, 20, 170);
    Texts(c, 300, 260);
    Fonts(c, 20, 380);
    Pictures(c, 480, 170);
    card.SaveToFile(out);
    std::printf("%s\n", out.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vorn-testcard: %s\n", e.what());
    return 1;
  }
  return 0;
}
