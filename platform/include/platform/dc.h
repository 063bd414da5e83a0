// A raster device context over a bitmap, as a window paints through it: an origin (the window's
// place in the bitmap), a clip rectangle, a pen (solid or dotted, with a width), a brush (or
// none), a text colour and a font. Coordinates are the window's own; nothing is drawn outside the
// clip rectangle.
#pragma once

#include <string_view>
#include <vector>

#include "platform/fonts.h"
#include "platform/graphics.h"

namespace plat {

enum class PenStyle { Solid, Dot, None };
struct Pen {
  Color color = colors::text;
  int width = 1;
  PenStyle style = PenStyle::Solid;
};
struct Brush {
  Color color = colors::window;
  bool hollow = false;
};

// DrawText formats.
constexpr unsigned DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
                   DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20,
                   DT_END_ELLIPSIS = 0x8000;

// DrawEdge kinds.
enum class Edge { Raised, Sunken, Etched, Bump };

class DC {
 public:
  // Paints into `target` with the window's (0, 0) at `origin`, limited to `clip` (bitmap
  // coordinates).
  DC(Bitmap& target, Point origin, Rect clip);
  explicit DC(Bitmap& target) : DC(target, {0, 0}, {0, 0, target.width(), target.height()}) {}

  Bitmap& target() { return target_; }
  // The clip rectangle narrowed to a rectangle of the window's coordinates; returns the old one.
  Rect intersectClip(const Rect& r);
  void setClip(const Rect& bitmapClip) { clip_ = bitmapClip; }
  Rect clip() const { return clip_; }
  Point origin() const { return origin_; }

  Pen setPen(Pen pen);
  Brush setBrush(Brush brush);
  Color setTextColor(Color color);
  FontHandle setFont(FontHandle font);
  const FontHandle& font() const { return font_; }

  void setPixel(int x, int y, Color c);
  void moveTo(int x, int y) { current_ = {x, y}; }
  void lineTo(int x, int y);
  void line(Point a, Point b) {
    moveTo(a.x, a.y);
    lineTo(b.x, b.y);
  }
  void fillRect(const Rect& r, Color c);
  void frameRect(const Rect& r, Color c);
  void rectangle(const Rect& r);  // brush inside, pen outline
  void ellipse(const Rect& r);  // brush inside, pen outline
  void roundRect(const Rect& r, int radius);
  void drawEdge(const Rect& r, Edge edge);
  void invertRect(const Rect& r);
  void focusRect(const Rect& r);  // the dotted focus outline

  // Text: one line at a point (its top), or formatted in a rectangle.
  void textOut(int x, int y, std::wstring_view text);
  void drawText(const Rect& r, std::wstring_view text, unsigned format);
  Size textExtent(std::wstring_view text) const;
  // The lines a text breaks into at a width (on "\n", and at word or character boundaries).
  std::vector<std::wstring> wrap(std::wstring_view text, int width) const;

  // Copies a bitmap scaled to the rectangle (nearest pixel), or unscaled at a point.
  void stretchBlt(const Rect& dst, const Bitmap& src);
  void bitBlt(int x, int y, const Bitmap& src);

 private:
  void plot(int x, int y, Color c);  // window coordinates, clipped
  void thickPoint(int x, int y);

  Bitmap& target_;
  Point origin_;
  Rect clip_;
  Pen pen_;
  Brush brush_;
  Color textColor_ = colors::text;
  FontHandle font_;
  Point current_;
  int dotPhase_ = 0;
};

}  // namespace plat
