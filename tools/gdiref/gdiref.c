/* Draws the comparison cases with the system's drawing interface into a
 * 32-bit top-down DIB section selected into a memory DC (no window, no
 * display) and writes every picture as raw 0x00RRGGBB words, one case after
 * the other, to the output file. Built with mingw-w64, run under Wine. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define W 64
#define H 48

static HDC dc;
static HPEN pen;
static HBRUSH brush;
static int brushStyle; /* as in the case file: 0 solid, 1 clear, 2.. hatches */
static COLORREF brushColor;

static COLORREF Rgb(unsigned v) { return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255); }

static void Select(void) {
  SelectObject(dc, pen);
  SelectObject(dc, brush);
  SetBkColor(dc, brushColor);
  SetBkMode(dc, brushStyle == 0 ? OPAQUE : TRANSPARENT);
}

static void SetPen(int style, int width, unsigned color, int mode) {
  HPEN old = pen;
  pen = CreatePen(style, width, Rgb(color));
  SelectObject(dc, pen);
  if (old) DeleteObject(old);
  SetROP2(dc, mode);
}

static void SetBrush(int style, unsigned color) {
  HBRUSH old = brush;
  static const int hatch[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
  brushStyle = style;
  brushColor = Rgb(color);
  if (style == 0) {
    brush = CreateSolidBrush(brushColor);
  } else if (style == 1) {
    brush = (HBRUSH)GetStockObject(NULL_BRUSH);
  } else {
    brush = CreateHatchBrush(hatch[style - 2], brushColor);
  }
  Select();
  if (old) DeleteObject(old);
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: gdiref cases.txt out.raw\n");
    return 2;
  }
  FILE* in = fopen(argv[1], "r");
  FILE* out = fopen(argv[2], "wb");
  if (!in || !out) {
    fprintf(stderr, "cannot open files\n");
    return 2;
  }
  BITMAPINFO bi;
  memset(&bi, 0, sizeof bi);
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = W;
  bi.bmiHeader.biHeight = -H;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = NULL;
  dc = CreateCompatibleDC(NULL);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
  SelectObject(dc, bmp);
  static char line[65536];
  int cases = 0;
  while (fgets(line, sizeof line, in)) {
    if (line[0] == '#' || line[0] == '\n') continue;
    char* body = strchr(line, '|');
    if (!body) continue;
    ++body;
    /* A fresh white canvas, default pen and brush, alternate filling. */
    for (int i = 0; i < W * H; ++i) ((unsigned*)bits)[i] = 0x00FFFFFFu;
    SetPen(PS_SOLID, 1, 0, R2_COPYPEN);
    SetBrush(0, 0xFFFFFF);
    SetPolyFillMode(dc, ALTERNATE);
    MoveToEx(dc, 0, 0, NULL);
    char* save = NULL;
    for (char* op = strtok_r(body, ";\n", &save); op; op = strtok_r(NULL, ";\n", &save)) {
      char name[8];
      int n = 0, v[128];
      int used = 0;
      if (sscanf(op, " %7s%n", name, &used) != 1) continue;
      char* p = op + used;
      while (n < 128) {
        int k = 0;
        /* Decimal numbers; colours as 0xRRGGBB. */
        if (sscanf(p, " %i%n", &v[n], &k) != 1) break;
        ++n;
        p += k;
      }
      if (!strcmp(name, "P")) SetPen(v[0], v[1], (unsigned)v[2], v[3]);
      else if (!strcmp(name, "B")) SetBrush(v[0], (unsigned)v[1]);
      else if (!strcmp(name, "F")) {
        RECT r = {v[0], v[1], v[2], v[3]};
        HBRUSH b = CreateSolidBrush(Rgb((unsigned)v[4]));
        FillRect(dc, &r, b);
        DeleteObject(b);
      } else if (!strcmp(name, "R")) Rectangle(dc, v[0], v[1], v[2], v[3]);
      else if (!strcmp(name, "E")) Ellipse(dc, v[0], v[1], v[2], v[3]);
      else if (!strcmp(name, "RR")) RoundRect(dc, v[0], v[1], v[2], v[3], v[4], v[5]);
      else if (!strcmp(name, "A")) Arc(dc, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
      else if (!strcmp(name, "PI")) Pie(dc, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
      else if (!strcmp(name, "C")) Chord(dc, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
      else if (!strcmp(name, "L")) {
        MoveToEx(dc, v[0], v[1], NULL);
        LineTo(dc, v[2], v[3]);
      } else if (!strcmp(name, "PL") || !strcmp(name, "PG")) {
        POINT pts[64];
        int count = v[0];
        for (int i = 0; i < count && i < 64; ++i) {
          pts[i].x = v[1 + 2 * i];
          pts[i].y = v[2 + 2 * i];
        }
        if (name[1] == 'L') Polyline(dc, pts, count);
        else Polygon(dc, pts, count);
      } else if (!strcmp(name, "FM")) SetPolyFillMode(dc, v[0]);
      else if (!strcmp(name, "FF")) {
        ExtFloodFill(dc, v[0], v[1], Rgb((unsigned)v[2]), v[3] ? FLOODFILLSURFACE : FLOODFILLBORDER);
      }
    }
    GdiFlush();
    const unsigned* px = (const unsigned*)bits;
    for (int i = 0; i < W * H; ++i) {
      unsigned value = px[i] & 0xFFFFFFu;
      fwrite(&value, 4, 1, out);
    }
    ++cases;
  }
  fclose(out);
  fprintf(stderr, "gdiref: %d cases\n", cases);
  return 0;
}
