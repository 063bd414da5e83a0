// The raster side of the platform: points, rectangles, colours and 32-bit bitmaps, the common
// currency of drawing, windows and image files. A Bitmap owns its pixels, 0xRRGGBB each, row by
// row from the top.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace plat {

struct Point {
  int x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int cx = 0, cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  Rect inflate(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
  Rect intersect(const Rect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

using Color = std::uint32_t;  // 0xRRGGBB
constexpr Color rgb(int r, int g, int b) {
  return (Color(r & 255) << 16) | (Color(g & 255) << 8) | Color(b & 255);
}
constexpr int red(Color c) { return (c >> 16) & 255; }
constexpr int green(Color c) { return (c >> 8) & 255; }
constexpr int blue(Color c) { return c & 255; }

// The system colours the controls are drawn in.
namespace colors {
constexpr Color face = rgb(240, 240, 240), window = rgb(255, 255, 255), text = rgb(0, 0, 0),
                grayText = rgb(109, 109, 109), highlight = rgb(0, 120, 215),
                highlightText = rgb(255, 255, 255), shadow = rgb(160, 160, 160),
                darkShadow = rgb(105, 105, 105), light = rgb(227, 227, 227),
                border = rgb(122, 122, 122), infoBack = rgb(255, 255, 225), grid = rgb(220, 220, 220);
}

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, Color fill = colors::window)
      : width_(std::max(width, 0)), height_(std::max(height, 0)),
        pixels_(std::size_t(width_) * height_, fill) {}
  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return pixels_.empty(); }
  Color at(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }
  void set(int x, int y, Color c) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[std::size_t(y) * width_ + x] = c;
  }
  const std::vector<Color>& pixels() const { return pixels_; }
  std::vector<Color>& pixels() { return pixels_; }

 private:
  int width_ = 0, height_ = 0;
  std::vector<Color> pixels_;
};

}  // namespace plat
