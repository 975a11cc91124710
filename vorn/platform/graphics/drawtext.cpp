#include "vorn/platform/graphics/drawtext.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vorn {

namespace {

struct Line {
  std::string Text;
  int Underline = -1;  // byte offset of the shortcut character, or -1
};

// Removes "&" markers; remembers where the shortcut character is.
Line StripPrefix(std::string_view s, bool keep) {
  Line line;
  if (keep) {
    line.Text = s;
    return line;
  }
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&' && i + 1 < s.size()) {
      ++i;
      if (s[i] != '&' && line.Underline < 0) line.Underline = static_cast<int>(line.Text.size());
    }
    line.Text += s[i];
  }
  return line;
}

std::string ExpandTabs(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '\t') {
      out.append(8 - out.size() % 8, ' ');
    } else {
      out += c;
    }
  }
  return out;
}

// Splits a paragraph into lines no wider than width, breaking at blanks;
// a word wider than the line stands alone.
void WrapParagraph(TCanvas& c, const std::string& para, int width, std::vector<std::string>& out) {
  std::size_t start = 0;
  while (start <= para.size()) {
    std::size_t end = para.size();
    if (c.TextWidth(para.substr(start)) > width) {
      std::size_t lastBreak = std::string::npos;
      for (std::size_t i = start; i < para.size(); ++i) {
        if (para[i] != ' ') continue;
        if (c.TextWidth(para.substr(start, i - start)) > width) break;
        lastBreak = i;
      }
      if (lastBreak == std::string::npos) {
        const std::size_t blank = para.find(' ', start);
        end = blank == std::string::npos ? para.size() : blank;
      } else {
        end = lastBreak;
      }
    }
    out.push_back(para.substr(start, end - start));
    if (end >= para.size()) break;
    start = end;
    while (start < para.size() && para[start] == ' ') ++start;
    if (start >= para.size()) break;
  }
}

std::string WithEllipsis(TCanvas& c, const std::string& s, int width) {
  if (c.TextWidth(s) <= width) return s;
  std::string cut = s;
  while (!cut.empty()) {
    // Drop one whole UTF-8 character.
    std::size_t n = cut.size() - 1;
    while (n > 0 && (static_cast<unsigned char>(cut[n]) & 0xC0) == 0x80) --n;
    cut.resize(n);
    if (c.TextWidth(cut + "...") <= width) break;
  }
  return cut + "...";
}

}  // namespace

int DrawText(TCanvas& Canvas, std::string_view Text, TRect& Rect, unsigned Flags) {
  const std::string source = (Flags & DT_EXPANDTABS) ? ExpandTabs(Text) : std::string(Text);
  const int width = Rect.Width();
  std::vector<std::string> raw;
  if (Flags & DT_SINGLELINE) {
    std::string one = source;
    std::replace(one.begin(), one.end(), '\n', ' ');
    one.erase(std::remove(one.begin(), one.end(), '\r'), one.end());
    raw.push_back(one);
  } else {
    std::size_t start = 0;
    while (true) {
      const std::size_t nl = source.find('\n', start);
      std::string para = source.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
      if (!para.empty() && para.back() == '\r') para.pop_back();
      if (Flags & DT_WORDBREAK) {
        WrapParagraph(Canvas, para, width, raw);
      } else {
        raw.push_back(para);
      }
      if (nl == std::string::npos) break;
      start = nl + 1;
    }
  }
  std::vector<Line> lines;
  for (const std::string& r : raw) {
    Line l = StripPrefix(r, (Flags & DT_NOPREFIX) != 0);
    if (Flags & DT_END_ELLIPSIS) {
      const std::string cut = WithEllipsis(Canvas, l.Text, width);
      if (cut != l.Text) l.Underline = -1;
      l.Text = cut;
    }
    lines.push_back(std::move(l));
  }
  const int lineHeight = Canvas.TextHeight("Ag");
  const int total = lineHeight * static_cast<int>(lines.size());
  if (Flags & DT_CALCRECT) {
    int widest = 0;
    for (const Line& l : lines) widest = std::max(widest, Canvas.TextWidth(l.Text));
    Rect.Right = Rect.Left + widest;
    Rect.Bottom = Rect.Top + total;
    return total;
  }
  int y = Rect.Top;
  if (Flags & DT_SINGLELINE) {
    if (Flags & DT_VCENTER) y = Rect.Top + (Rect.Height() - lineHeight) / 2;
    if (Flags & DT_BOTTOM) y = Rect.Bottom - lineHeight;
  }
  const TRect savedClip = Canvas.ClipRect();
  if (!(Flags & DT_NOCLIP)) Canvas.SetClipRect(IntersectRect(Rect, savedClip));
  const TBrushStyle savedBrush = Canvas.Brush()->Style();
  Canvas.Brush()->SetStyle(bsClear);
  for (const Line& l : lines) {
    const int w = Canvas.TextWidth(l.Text);
    int x = Rect.Left;
    if (Flags & DT_CENTER) x = Rect.Left + (width - w) / 2;
    if (Flags & DT_RIGHT) x = Rect.Right - w;
    Canvas.TextOut(x, y, l.Text);
    if (l.Underline >= 0) {
      const std::size_t at = static_cast<std::size_t>(l.Underline);
      std::size_t next = at + 1;
      while (next < l.Text.size() && (static_cast<unsigned char>(l.Text[next]) & 0xC0) == 0x80) ++next;
      const int ux = x + Canvas.TextWidth(std::string_view(l.Text).substr(0, at));
      const int uw = Canvas.TextWidth(std::string_view(l.Text).substr(at, next - at));
      const TColor savedPen = Canvas.Pen()->Color();
      Canvas.Pen()->SetColor(Canvas.Font()->Color());
      const int uy = y + Canvas.Font()->Instance().Metric().Ascent + 1;
      Canvas.MoveTo(ux, uy);
      Canvas.LineTo(ux + uw, uy);
      Canvas.Pen()->SetColor(savedPen);
    }
    y += lineHeight;
  }
  Canvas.Brush()->SetStyle(savedBrush);
  Canvas.SetClipRect(savedClip);
  return total;
}

}  // namespace vorn
