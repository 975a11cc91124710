// Draws the on/off button pictures pixel by pixel. Every shape is decided
// here from the pixel centres (no canvas figure rules are involved), so a
// fresh run gives the same files on any machine; the letters come from a
// small built-in 3 x 5 pixel font for the same reason.
#include "apps/resgen/onoff.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <utility>

namespace vorn::resgen {
namespace {

constexpr TColor kKey = 0xEBBEEB;

TColor Rgb(int R, int G, int B) { return RGB(R, G, B); }

// a + (b - a) * t per channel, t clamped to 0..1.
TColor Mix(TColor A, TColor B, double T) {
  T = std::clamp(T, 0.0, 1.0);
  const auto ch = [&](int s) {
    const int a = (A >> s) & 0xFF;
    const int b = (B >> s) & 0xFF;
    return static_cast<TColor>(std::lround(a + (b - a) * T)) << s;
  };
  return ch(0) | ch(8) | ch(16);
}

struct TPt {
  double X, Y;
};

// One glyph of a picture: a W x H window of the bitmap at (X0, Y0).
class TGlyph {
 public:
  TGlyph(TBitmap& B, int X0, int Y0, int AWidth, int AHeight) : W(AWidth), H(AHeight), FB(B), FX0(X0), FY0(Y0) {}

  void Set(int X, int Y, TColor C) {
    if (X < 0 || Y < 0 || X >= W || Y >= H) return;
    FB.ScanLine(FY0 + Y)[FX0 + X] = ColorToPixel(C);
  }
  [[nodiscard]] TColor Get(int X, int Y) const { return PixelToColor(FB.ScanLine(FY0 + Y)[FX0 + X] & 0xFFFFFF); }

  // Paints Colour(x, y) on every pixel whose centre Inside(px, py) takes.
  template <typename In, typename Col>
  void Fill(In Inside, Col Colour) {
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        if (Inside(x + 0.5, y + 0.5)) Set(x, y, Colour(x + 0.5, y + 0.5));
      }
    }
  }
  template <typename In>
  void Fill(In Inside, TColor C) {
    Fill(Inside, [C](double, double) { return C; });
  }

  const int W, H;

 private:
  TBitmap& FB;
  int FX0, FY0;
};

// ---- shapes (tests on a pixel centre) ---------------------------------------------------

auto Disc(double Cx, double Cy, double R) {
  return [=](double X, double Y) { return (X - Cx) * (X - Cx) + (Y - Cy) * (Y - Cy) <= R * R; };
}

auto Ring(double Cx, double Cy, double R1, double R2) {
  return [=](double X, double Y) {
    const double d = std::hypot(X - Cx, Y - Cy);
    return d >= R1 && d <= R2;
  };
}

auto Box(double X1, double Y1, double X2, double Y2) {
  return [=](double X, double Y) { return X >= X1 && X <= X2 && Y >= Y1 && Y <= Y2; };
}

auto RoundBox(double X1, double Y1, double X2, double Y2, double R) {
  return [=](double X, double Y) {
    if (X < X1 || X > X2 || Y < Y1 || Y > Y2) return false;
    const double dx = std::max({X1 + R - X, 0.0, X - (X2 - R)});
    const double dy = std::max({Y1 + R - Y, 0.0, Y - (Y2 - R)});
    return dx * dx + dy * dy <= R * R;
  };
}

double SegmentDistance(double X, double Y, TPt A, TPt B) {
  const double vx = B.X - A.X, vy = B.Y - A.Y;
  const double len2 = vx * vx + vy * vy;
  const double t = len2 > 0 ? std::clamp(((X - A.X) * vx + (Y - A.Y) * vy) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(X - (A.X + t * vx), Y - (A.Y + t * vy));
}

auto Stroke(std::vector<TPt> Points, double HalfWidth) {
  return [=](double X, double Y) {
    for (std::size_t i = 1; i < Points.size(); ++i) {
      if (SegmentDistance(X, Y, Points[i - 1], Points[i]) <= HalfWidth) return true;
    }
    return false;
  };
}

auto Poly(std::vector<TPt> Points) {
  return [=](double X, double Y) {
    bool inside = false;
    for (std::size_t i = 0, j = Points.size() - 1; i < Points.size(); j = i++) {
      const TPt a = Points[i], b = Points[j];
      if ((a.Y > Y) != (b.Y > Y) && X < (b.X - a.X) * (Y - a.Y) / (b.Y - a.Y) + a.X) inside = !inside;
    }
    return inside;
  };
}

// A lit sphere: Base in the middle, lighter toward a highlight up and to
// the left, darker toward the rim.
auto Sphere(double Cx, double Cy, double R, TColor Base) {
  return [=](double X, double Y) {
    const double d = std::hypot(X - Cx, Y - Cy) / R;
    const double h = std::hypot(X - (Cx - 0.35 * R), Y - (Cy - 0.4 * R)) / R;
    TColor c = Mix(Base, Mix(Base, 0x000000, 0.55), (d - 0.45) / 0.55);
    return Mix(0xFFFFFF, c, h / 0.45 * 0.8 + 0.2);
  };
}

// ---- the 3 x 5 pixel letters -------------------------------------------------------------------

const std::uint16_t* LetterRows(char C) {
  // Five rows of three bits each, top row first, leftmost pixel the high bit.
  static const std::uint16_t O[5] = {7, 5, 5, 5, 7}, N[5] = {6, 5, 5, 5, 5}, F[5] = {7, 4, 6, 4, 4},
                             U[5] = {5, 5, 5, 5, 7}, D1[5] = {2, 6, 2, 2, 7}, D2[5] = {7, 1, 7, 4, 7},
                             D3[5] = {7, 1, 3, 1, 7}, D4[5] = {5, 5, 7, 1, 1}, D5[5] = {7, 4, 7, 1, 7};
  switch (C) {
    case 'O': return O;
    case 'N': return N;
    case 'F': return F;
    case 'U': return U;
    case '1': return D1;
    case '2': return D2;
    case '3': return D3;
    case '4': return D4;
    default: return D5;
  }
}

int TextWidth(std::string_view Text, int Scale) { return static_cast<int>(Text.size()) * 4 * Scale - Scale; }

void Letters(TGlyph& G, int X, int Y, std::string_view Text, int Scale, TColor C) {
  for (char ch : Text) {
    const std::uint16_t* rows = LetterRows(ch);
    for (int r = 0; r < 5; ++r) {
      for (int b = 0; b < 3; ++b) {
        if (((rows[r] >> (2 - b)) & 1) == 0) continue;
        for (int sy = 0; sy < Scale; ++sy)
          for (int sx = 0; sx < Scale; ++sx) G.Set(X + b * Scale + sx, Y + r * Scale + sy, C);
      }
    }
    X += 4 * Scale;
  }
}

// ---- shared parts --------------------------------------------------------------------------------

// A sunken well of W x H at (X, Y): grey and dark at the top and left,
// white and light at the bottom and right.
void SunkenBox(TGlyph& G, int X, int Y, int W, int H, TColor Inside) {
  G.Fill(Box(X, Y, X + W, Y + H), Inside);
  for (int i = 0; i < W; ++i) {
    G.Set(X + i, Y, 0x808080);
    G.Set(X + i, Y + H - 1, 0xFFFFFF);
  }
  for (int i = 0; i < H; ++i) {
    G.Set(X, Y + i, 0x808080);
    G.Set(X + W - 1, Y + i, 0xFFFFFF);
  }
  for (int i = 1; i < W - 1; ++i) {
    G.Set(X + i, Y + 1, 0x404040);
    G.Set(X + i, Y + H - 2, 0xD4D0C8);
  }
  for (int i = 1; i < H - 1; ++i) {
    G.Set(X + 1, Y + i, 0x404040);
    G.Set(X + W - 2, Y + i, 0xD4D0C8);
  }
}

// A raised block with a one-pixel bevel and a vertical or horizontal sheen.
void RaisedBlock(TGlyph& G, int X, int Y, int W, int H, TColor Face) {
  G.Fill(Box(X, Y, X + W, Y + H), [&](double px, double py) {
    const double t = W >= H ? (py - Y) / H : (px - X) / W;
    return Mix(Mix(Face, 0xFFFFFF, 0.35), Mix(Face, 0x000000, 0.2), t);
  });
  for (int i = 0; i < W; ++i) {
    G.Set(X + i, Y, 0xFFFFFF);
    G.Set(X + i, Y + H - 1, 0x404040);
  }
  for (int i = 0; i < H; ++i) {
    G.Set(X, Y + i, 0xFFFFFF);
    G.Set(X + W - 1, Y + i, 0x404040);
  }
}

// The slide switch: a dark slot with a ridged knob over one half; the
// other half shows Field (a label or a coloured field).
void SlideSwitch(TGlyph& G, bool Vertical, bool KnobAtEnd, const std::function<void(TGlyph&, int, int, int, int)>& Field) {
  const int W = G.W, H = G.H;
  G.Fill(RoundBox(0, 0, W, H, 3), Rgb(60, 60, 66));
  G.Fill(RoundBox(1, 1, W - 1, H - 1, 2), [&](double, double py) { return Mix(Rgb(90, 90, 98), Rgb(40, 40, 46), py / H); });
  SunkenBox(G, 2, 2, W - 4, H - 4, Rgb(28, 28, 32));
  const int inner = Vertical ? (H - 8) / 2 : (W - 8) / 2;
  int kx, ky, kw, kh, fx, fy, fw, fh;
  if (Vertical) {
    kw = W - 8, kh = inner, kx = 4, ky = KnobAtEnd ? H - 4 - inner : 4;
    fw = W - 8, fh = inner, fx = 4, fy = KnobAtEnd ? 4 : H - 4 - inner;
  } else {
    kw = inner, kh = H - 8, ky = 4, kx = KnobAtEnd ? W - 4 - inner : 4;
    fw = inner, fh = H - 8, fy = 4, fx = KnobAtEnd ? 4 : W - 4 - inner;
  }
  Field(G, fx, fy, fw, fh);
  RaisedBlock(G, kx, ky, kw, kh, Rgb(200, 200, 196));
  // Grip ridges across the knob.
  for (int i = 2; i + 1 < (Vertical ? kh : kw) - 1; i += 3) {
    for (int j = 2; j < (Vertical ? kw : kh) - 2; ++j) {
      if (Vertical) {
        G.Set(kx + j, ky + i, 0x909090);
        G.Set(kx + j, ky + i + 1, 0xF4F4F4);
      } else {
        G.Set(kx + i, ky + j, 0x909090);
        G.Set(kx + i + 1, ky + j, 0xF4F4F4);
      }
    }
  }
}

void LabelField(TGlyph& G, int X, int Y, int W, int H, std::string_view Text, TColor Colour) {
  Letters(G, X + (W - TextWidth(Text, 1)) / 2, Y + (H - 5) / 2, Text, 1, Colour);
}

void ColourField(TGlyph& G, int X, int Y, int W, int H, TColor Colour) {
  G.Fill(Box(X + 1, Y + 1, X + W - 1, Y + H - 1), [&](double, double py) {
    return Mix(Mix(Colour, 0xFFFFFF, 0.3), Mix(Colour, 0x000000, 0.25), (py - Y) / H);
  });
}

// A blue disc with a white arrow pointing along angle Deg (0 = right,
// 90 = up).
void ArrowDisc(TGlyph& G, double Deg) {
  const double c = G.W / 2.0;
  G.Fill(Disc(c, c, c - 0.2), Rgb(10, 30, 90));
  G.Fill(Disc(c, c, c - 1.2), Sphere(c, c, c - 1.2, Rgb(40, 90, 210)));
  const double a = Deg * 3.14159265358979 / 180.0;
  const auto turn = [&](double along, double across) {
    return TPt{c + along * std::cos(a) + across * std::sin(a), c - along * std::sin(a) + across * std::cos(a)};
  };
  G.Fill(Poly({turn(8.5, 0), turn(1.5, -6.5), turn(1.5, -2.2), turn(-7.5, -2.2), turn(-7.5, 2.2), turn(1.5, 2.2),
               turn(1.5, 6.5)}),
         0xFFFFFF);
}

void Smiley(TGlyph& G, TColor Face, bool Smiling) {
  const double c = G.W / 2.0;
  G.Fill(Disc(c, c, c - 0.1), Mix(Face, 0x000000, 0.55));
  G.Fill(Disc(c, c, c - 1.1), Sphere(c, c, c - 1.1, Face));
  G.Fill(Disc(c - 3.2, c - 2.5, 1.3), Rgb(30, 20, 10));
  G.Fill(Disc(c + 3.2, c - 2.5, 1.3), Rgb(30, 20, 10));
  if (Smiling) {
    G.Fill([&](double x, double y) { return y > c + 0.5 && std::abs(std::hypot(x - c, y - (c - 1)) - 5.0) <= 0.75; },
           Rgb(30, 20, 10));
  } else {
    G.Fill([&](double x, double y) { return y < c + 5.0 && std::abs(std::hypot(x - c, y - (c + 8.5)) - 4.8) <= 0.75; },
           Rgb(30, 20, 10));
  }
}

// A pedestrian figure: head, body, arms and legs as strokes.
void Pedestrian(TGlyph& G, bool Walking, TColor C) {
  const double cx = G.W / 2.0;
  G.Fill(Disc(cx, 7.5, 2.4), C);
  if (Walking) {
    G.Fill(Stroke({{cx, 10.5}, {cx - 0.5, 18}}, 1.7), C);
    G.Fill(Stroke({{cx - 0.5, 17.5}, {cx - 4.5, 22.5}, {cx - 5.5, 26}}, 1.3), C);
    G.Fill(Stroke({{cx - 0.5, 17.5}, {cx + 3.5, 21.5}, {cx + 5.5, 25.5}}, 1.3), C);
    G.Fill(Stroke({{cx, 11.5}, {cx - 3.5, 15}, {cx - 5, 17.5}}, 1.1), C);
    G.Fill(Stroke({{cx, 11.5}, {cx + 3.5, 14.5}, {cx + 5, 13}}, 1.1), C);
  } else {
    G.Fill(Box(cx - 3, 10.5, cx + 3, 19), C);
    G.Fill(Stroke({{cx - 1.6, 18}, {cx - 1.6, 26}}, 1.4), C);
    G.Fill(Stroke({{cx + 1.6, 18}, {cx + 1.6, 26}}, 1.4), C);
    G.Fill(Stroke({{cx - 3.8, 11.5}, {cx - 4.4, 19}}, 1.2), C);
    G.Fill(Stroke({{cx + 3.8, 11.5}, {cx + 4.4, 19}}, 1.2), C);
  }
}

void Bulb(TGlyph& G, bool Lit) {
  const double cx = G.W / 2.0;
  const auto glass = [&](double x, double y) {
    return Disc(cx, 16, 14.5)(x, y) || Poly({{cx - 11, 24}, {cx + 11, 24}, {cx + 7.5, 34}, {cx - 7.5, 34}})(x, y);
  };
  if (Lit) {
    G.Fill(glass, [&](double x, double y) {
      const double d = std::hypot(x - cx, y - 17) / 16.0;
      return Mix(Rgb(255, 255, 230), Rgb(250, 200, 20), d * 1.1);
    });
  } else {
    G.Fill(glass, [&](double x, double y) {
      const double h = std::hypot(x - (cx - 5), y - 10) / 18.0;
      return Mix(Rgb(235, 242, 255), Rgb(150, 170, 205), h);
    });
  }
  // Outline of the glass.
  G.Fill([&](double x, double y) { return glass(x, y) && !(glass(x - 1, y) && glass(x + 1, y) && glass(x, y - 1)); },
         Lit ? Rgb(200, 140, 0) : Rgb(100, 115, 150));
  // Filament on two supports.
  const TColor wire = Lit ? Rgb(230, 90, 0) : Rgb(90, 90, 100);
  G.Fill(Stroke({{cx - 3, 33}, {cx - 3, 20}}, 0.5), Rgb(120, 120, 120));
  G.Fill(Stroke({{cx + 3, 33}, {cx + 3, 20}}, 0.5), Rgb(120, 120, 120));
  G.Fill(Stroke({{cx - 3, 20}, {cx - 1.5, 17}, {cx, 20}, {cx + 1.5, 17}, {cx + 3, 20}}, 0.6), wire);
  // Screw base with threads and the contact.
  G.Fill(Box(cx - 7.5, 34, cx + 7.5, 43), [&](double x, double y) {
    const bool thread = static_cast<int>(y) % 3 == 1;
    const TColor metal = Mix(Rgb(235, 235, 235), Rgb(110, 110, 115), std::abs(x - cx + 2) / 8.0);
    return thread ? Mix(metal, 0x000000, 0.35) : metal;
  });
  G.Fill(Poly({{cx - 5.5, 43}, {cx + 5.5, 43}, {cx + 2.5, 47.5}, {cx - 2.5, 47.5}}), Rgb(50, 50, 55));
  if (Lit) {
    // A few rays around the glass.
    for (int k = 0; k < 8; ++k) {
      const double a = k * 3.14159265358979 / 4 + 0.39;
      G.Fill(Stroke({{cx + 15.8 * std::cos(a), 16 - 15.8 * std::sin(a)}, {cx + 18.8 * std::cos(a), 16 - 18.8 * std::sin(a)}},
                    0.55),
             Rgb(255, 190, 0));
    }
  }
}

void LampButton(TGlyph& G, bool Lit) {
  const int W = G.W, H = G.H;
  G.Fill(RoundBox(0, 0, W, H, 3), Rgb(70, 70, 70));
  G.Fill(RoundBox(1, 1, W - 1, H - 1, 2), [&](double, double y) { return Mix(Rgb(236, 236, 232), Rgb(160, 160, 156), y / H); });
  G.Fill(RoundBox(3, 3, W - 3, H - 3, 2), [&](double, double y) { return Mix(Rgb(214, 214, 210), Rgb(190, 190, 186), y / H); });
  const double cx = W / 2.0, cy = H / 2.0;
  const auto lens = RoundBox(cx - 15, cy - 6, cx + 15, cy + 6, 5.5);
  G.Fill(RoundBox(cx - 16, cy - 7, cx + 16, cy + 7, 6.5), Rgb(90, 90, 90));
  const TColor base = Lit ? Rgb(255, 210, 0) : Rgb(150, 150, 145);
  G.Fill(lens, [&](double x, double y) {
    const double h = std::hypot((x - (cx - 6)) / 16.0, (y - (cy - 3)) / 7.0);
    return Mix(Lit ? Rgb(255, 255, 220) : Rgb(215, 215, 210), base, h * 1.3);
  });
}

void Drive(TGlyph& G, bool IntoDrive, bool Active) {
  const int bx = 27, by = 1, bw = 20, bh = 14;
  RaisedBlock(G, bx, by, bw, bh, Rgb(170, 172, 178));
  G.Fill(Box(bx + 3, by + 4, bx + bw - 3, by + 6), Rgb(40, 40, 44));  // the slot
  G.Fill(Disc(bx + bw - 5, by + bh - 4.5, 1.6), Active ? Rgb(40, 230, 40) : Rgb(40, 80, 40));
  const TColor arrow = Active ? (IntoDrive ? Rgb(220, 60, 30) : Rgb(30, 160, 40)) : Rgb(120, 120, 120);
  if (IntoDrive) {
    G.Fill(Poly({{2, 6}, {15, 6}, {15, 2.5}, {24.5, 8}, {15, 13.5}, {15, 10}, {2, 10}}), arrow);
  } else {
    G.Fill(Poly({{25, 6}, {12, 6}, {12, 2.5}, {2.5, 8}, {12, 13.5}, {12, 10}, {25, 10}}), arrow);
  }
}

void UserTile(TGlyph& G, char Digit, bool On) {
  const TColor face = On ? Rgb(170, 205, 250) : Rgb(250, 175, 170);
  G.Fill(RoundBox(0, 0, G.W, G.H, 3), Mix(face, 0x000000, 0.45));
  G.Fill(RoundBox(1, 1, G.W - 1, G.H - 1, 2), [&](double, double y) { return Mix(Mix(face, 0xFFFFFF, 0.4), face, y / G.H); });
  const char text[2] = {'U', Digit};
  const std::string_view label(text, 2);
  Letters(G, (G.W - TextWidth(label, 2)) / 2, (G.H - 10) / 2, label, 2, Mix(face, 0x000000, 0.7));
}

// ---- composing a picture ---------------------------------------------------------------------------

using TGlyphDraw = std::function<void(TGlyph&, bool On)>;

// The disabled look: every drawn pixel as a light grey of its brightness.
void Greyed(TGlyph& G) {
  for (int y = 0; y < G.H; ++y) {
    for (int x = 0; x < G.W; ++x) {
      const TColor c = G.Get(x, y);
      if (c == kKey) continue;
      const int lum = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
      const int g = 112 + lum * 120 / 255;
      G.Set(x, y, Rgb(g, g, g));
    }
  }
}

std::function<void(TBitmap&)> Compose(TGlyphDraw Draw) {
  return [Draw = std::move(Draw)](TBitmap& B) {
    const int GW = B.Width() / 2, GH = B.Height() / 2;
    for (int y = 0; y < B.Height(); ++y) std::fill(B.ScanLine(y), B.ScanLine(y) + B.Width(), ColorToPixel(kKey));
    for (int on = 0; on < 2; ++on) {
      for (int enabled = 0; enabled < 2; ++enabled) {
        TGlyph g(B, on ? 0 : GW, enabled ? 0 : GH, GW, GH);
        Draw(g, on != 0);
        if (!enabled) Greyed(g);
      }
    }
  };
}

}  // namespace

const std::vector<TGeneratedPicture>& OnOffPictures() {
  static const std::vector<TGeneratedPicture> list = {
      {"CHECKBOX", 32, 32, Compose([](TGlyph& g, bool on) {
         SunkenBox(g, 0, 0, 16, 16, 0xFFFFFF);
         if (on) g.Fill(Stroke({{3.8, 7.8}, {6.6, 10.8}, {12, 4.6}}, 1.05), 0x000000);
       })},
      {"RADIOBUT", 28, 28, Compose([](TGlyph& g, bool on) {
         g.Fill(Ring(7, 7, 5.4, 7.0), [](double x, double y) { return x + y < 14 ? 0x808080 : 0xFFFFFF; });
         g.Fill(Ring(7, 7, 4.4, 5.4), [](double x, double y) { return x + y < 14 ? 0x404040 : 0xD4D0C8; });
         g.Fill(Disc(7, 7, 4.4), 0xFFFFFF);
         if (on) g.Fill(Disc(7, 7, 2.1), 0x000000);
       })},
      {"SLIDETOPBOT", 36, 60, Compose([](TGlyph& g, bool on) {
         SlideSwitch(g, true, on, [on](TGlyph& f, int x, int y, int w, int h) {
           LabelField(f, x, y, w, h, on ? "ON" : "OFF", on ? Rgb(120, 255, 120) : Rgb(255, 120, 100));
         });
       })},
      {"SLIDELFTRGT", 60, 36, Compose([](TGlyph& g, bool on) {
         SlideSwitch(g, false, on, [on](TGlyph& f, int x, int y, int w, int h) {
           LabelField(f, x, y, w, h, on ? "ON" : "OFF", on ? Rgb(120, 255, 120) : Rgb(255, 120, 100));
         });
       })},
      {"COLSLIDETB", 36, 60, Compose([](TGlyph& g, bool on) {
         SlideSwitch(g, true, on, [on](TGlyph& f, int x, int y, int w, int h) {
           ColourField(f, x, y, w, h, on ? Rgb(30, 190, 40) : Rgb(220, 30, 30));
         });
       })},
      {"COLSLIDELR", 60, 36, Compose([](TGlyph& g, bool on) {
         SlideSwitch(g, false, on, [on](TGlyph& f, int x, int y, int w, int h) {
           ColourField(f, x, y, w, h, on ? Rgb(30, 190, 40) : Rgb(220, 30, 30));
         });
       })},
      {"LEDREDGREEN", 28, 28, Compose([](TGlyph& g, bool on) {
         g.Fill(Disc(7, 7, 6.9), Rgb(60, 60, 60));
         g.Fill(Disc(7, 7, 5.9), [](double x, double y) { return Mix(Rgb(40, 40, 40), Rgb(200, 200, 200), (x + y) / 14.0); });
         g.Fill(Disc(7, 7, 4.9), Sphere(7, 7, 4.9, on ? Rgb(30, 220, 30) : Rgb(230, 25, 20)));
       })},
      {"ARROWTR", 50, 50, Compose([](TGlyph& g, bool on) { ArrowDisc(g, on ? 90 : 0); })},
      {"ARROWUD", 50, 50, Compose([](TGlyph& g, bool on) { ArrowDisc(g, on ? 90 : 270); })},
      {"ARROWLR", 50, 50, Compose([](TGlyph& g, bool on) { ArrowDisc(g, on ? 180 : 0); })},
      {"TRAFFICLGT", 62, 62, Compose([](TGlyph& g, bool on) {
         g.Fill(RoundBox(0, 0, 31, 31, 4), Rgb(70, 70, 70));
         g.Fill(RoundBox(1.5, 1.5, 29.5, 29.5, 3), Rgb(12, 12, 12));
         Pedestrian(g, on, on ? Rgb(60, 255, 90) : Rgb(255, 40, 30));
       })},
      {"BEVELEDLED", 34, 34, Compose([](TGlyph& g, bool on) {
         const TColor base = on ? Rgb(30, 210, 40) : Rgb(225, 30, 25);
         g.Fill(Box(0, 0, 17, 17), [](double x, double y) { return x + y < 17 ? Rgb(250, 250, 250) : Rgb(70, 70, 70); });
         g.Fill(Box(2, 2, 15, 15), [](double x, double y) { return x + y < 17 ? Rgb(90, 90, 90) : Rgb(220, 220, 220); });
         g.Fill(Box(3, 3, 14, 14), [base](double x, double y) {
           const double h = std::hypot(x - 6.5, y - 6.5) / 9.0;
           return Mix(Mix(base, 0xFFFFFF, 0.65), Mix(base, 0x000000, 0.3), h);
         });
       })},
      {"SMILEYS", 36, 36, Compose([](TGlyph& g, bool on) { Smiley(g, Rgb(255, 215, 0), on); })},
      {"SMILEYRG", 36, 36, Compose([](TGlyph& g, bool on) { Smiley(g, on ? Rgb(40, 200, 40) : Rgb(230, 40, 30), on); })},
      {"BULB", 78, 98, Compose([](TGlyph& g, bool on) { Bulb(g, on); })},
      {"BUTLAMP", 98, 48, Compose([](TGlyph& g, bool on) { LampButton(g, on); })},
      {"HDLEFT", 96, 32, Compose([](TGlyph& g, bool on) { Drive(g, true, on); })},
      {"HDRIGHT", 96, 32, Compose([](TGlyph& g, bool on) { Drive(g, false, on); })},
      {"USER1", 48, 48, Compose([](TGlyph& g, bool on) { UserTile(g, '1', on); })},
      {"USER2", 48, 48, Compose([](TGlyph& g, bool on) { UserTile(g, '2', on); })},
      {"USER3", 48, 48, Compose([](TGlyph& g, bool on) { UserTile(g, '3', on); })},
      {"USER4", 48, 48, Compose([](TGlyph& g, bool on) { UserTile(g, '4', on); })},
      {"USER5", 48, 48, Compose([](TGlyph& g, bool on) { UserTile(g, '5', on); })},
  };
  return list;
}

}  // namespace vorn::resgen
