// The raster device context: every primitive ends in plot(), which clips, so no drawing escapes
// the window's clip rectangle or the bitmap.
#include "platform/dc.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace plat {

DC::DC(Bitmap& target, Point origin, Rect clip)
    : target_(target), origin_(origin),
      clip_(clip.intersect({0, 0, target.width(), target.height()})),
      font_(Font::dialogDefault()) {}

Rect DC::intersectClip(const Rect& r) {
  Rect old = clip_;
  clip_ = clip_.intersect(r.offset(origin_.x, origin_.y));
  return old;
}

Pen DC::setPen(Pen pen) { return std::exchange(pen_, pen); }
Brush DC::setBrush(Brush brush) { return std::exchange(brush_, brush); }
Color DC::setTextColor(Color color) { return std::exchange(textColor_, color); }
FontHandle DC::setFont(FontHandle font) {
  return std::exchange(font_, font ? font : Font::dialogDefault());
}

void DC::plot(int x, int y, Color c) {
  int bx = x + origin_.x, by = y + origin_.y;
  if (clip_.contains({bx, by})) target_.set(bx, by, c);
}

void DC::setPixel(int x, int y, Color c) { plot(x, y, c); }

void DC::thickPoint(int x, int y) {
  if (pen_.style == PenStyle::None) return;
  if (pen_.style == PenStyle::Dot && (dotPhase_++ & 1)) return;
  int half = pen_.width / 2;
  for (int dy = -half; dy < pen_.width - half; ++dy)
    for (int dx = -half; dx < pen_.width - half; ++dx) plot(x + dx, y + dy, pen_.color);
}

// Bresenham's line, without its last point, as Windows draws LineTo.
void DC::lineTo(int x, int y) {
  int x0 = current_.x, y0 = current_.y;
  int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
  int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
  int err = dx + dy;
  while (x0 != x || y0 != y) {
    thickPoint(x0, y0);
    int e2 = 2 * err;
    if (e2 >= dy) err += dy, x0 += sx;
    if (e2 <= dx) err += dx, y0 += sy;
  }
  current_ = {x, y};
}

void DC::fillRect(const Rect& r, Color c) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) plot(x, y, c);
}

void DC::frameRect(const Rect& r, Color c) {
  if (r.empty()) return;
  fillRect({r.left, r.top, r.right, r.top + 1}, c);
  fillRect({r.left, r.bottom - 1, r.right, r.bottom}, c);
  fillRect({r.left, r.top, r.left + 1, r.bottom}, c);
  fillRect({r.right - 1, r.top, r.right, r.bottom}, c);
}

void DC::rectangle(const Rect& r) {
  if (!brush_.hollow) fillRect(r, brush_.color);
  if (pen_.style == PenStyle::None) return;
  moveTo(r.left, r.top);
  lineTo(r.right - 1, r.top);
  lineTo(r.right - 1, r.bottom - 1);
  lineTo(r.left, r.bottom - 1);
  lineTo(r.left, r.top);
}

void DC::ellipse(const Rect& r) {
  double cx = (r.left + r.right - 1) / 2.0, cy = (r.top + r.bottom - 1) / 2.0;
  double rx = std::max(r.width() / 2.0, 0.5), ry = std::max(r.height() / 2.0, 0.5);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      double d = std::pow((x - cx) / rx, 2) + std::pow((y - cy) / ry, 2);
      if (d > 1.0) continue;
      double inner = std::pow((x - cx) / std::max(rx - pen_.width, 0.5), 2) +
                     std::pow((y - cy) / std::max(ry - pen_.width, 0.5), 2);
      if (inner > 1.0 && pen_.style != PenStyle::None)
        plot(x, y, pen_.color);
      else if (!brush_.hollow)
        plot(x, y, brush_.color);
    }
}

void DC::roundRect(const Rect& r, int radius) {
  if (!brush_.hollow) {
    fillRect({r.left + radius, r.top, r.right - radius, r.bottom}, brush_.color);
    fillRect({r.left, r.top + radius, r.right, r.bottom - radius}, brush_.color);
  }
  Brush saved = brush_;
  Rect corners[] = {{r.left, r.top, r.left + 2 * radius, r.top + 2 * radius},
                    {r.right - 2 * radius, r.top, r.right, r.top + 2 * radius},
                    {r.left, r.bottom - 2 * radius, r.left + 2 * radius, r.bottom},
                    {r.right - 2 * radius, r.bottom - 2 * radius, r.right, r.bottom}};
  for (const Rect& c : corners) {
    Rect old = intersectClip(c);
    ellipse(c);
    clip_ = old;
  }
  brush_ = saved;
  if (pen_.style == PenStyle::None) return;
  line({r.left + radius, r.top}, {r.right - radius, r.top});
  line({r.left + radius, r.bottom - 1}, {r.right - radius, r.bottom - 1});
  line({r.left, r.top + radius}, {r.left, r.bottom - radius});
  line({r.right - 1, r.top + radius}, {r.right - 1, r.bottom - radius});
}

void DC::drawEdge(const Rect& r, Edge edge) {
  Color outerLight = colors::light, outerDark = colors::darkShadow;
  Color innerLight = colors::window, innerDark = colors::shadow;
  if (edge == Edge::Sunken) std::swap(outerLight, innerDark), std::swap(outerDark, innerLight);
  if (edge == Edge::Etched) outerLight = colors::shadow, outerDark = colors::window,
                            innerLight = colors::window, innerDark = colors::shadow;
  auto frame = [this](const Rect& q, Color topLeft, Color bottomRight) {
    fillRect({q.left, q.top, q.right, q.top + 1}, topLeft);
    fillRect({q.left, q.top, q.left + 1, q.bottom}, topLeft);
    fillRect({q.left, q.bottom - 1, q.right, q.bottom}, bottomRight);
    fillRect({q.right - 1, q.top, q.right, q.bottom}, bottomRight);
  };
  frame(r, outerLight, outerDark);
  frame(r.inflate(-1, -1), innerLight, innerDark);
}

void DC::invertRect(const Rect& r) {
  Rect area = r.offset(origin_.x, origin_.y).intersect(clip_);
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) target_.set(x, y, target_.at(x, y) ^ 0xFFFFFF);
}

void DC::focusRect(const Rect& r) {
  Pen old = setPen({colors::text, 1, PenStyle::Dot});
  Brush oldBrush = setBrush({0, true});
  rectangle(r);
  setPen(old);
  setBrush(oldBrush);
}

void DC::textOut(int x, int y, std::wstring_view text) {
  font_->draw(target_, x + origin_.x, y + origin_.y, text, textColor_, clip_);
}

Size DC::textExtent(std::wstring_view text) const {
  return {font_->textWidth(text), font_->metrics().height};
}

std::vector<std::wstring> DC::wrap(std::wstring_view text, int width) const {
  std::vector<std::wstring> lines;
  std::wstring line;
  std::size_t lastBreak = std::wstring::npos;  // in `line`, after a space
  for (wchar_t c : text) {
    if (c == L'\r') continue;
    if (c == L'\n') {
      lines.push_back(std::exchange(line, L""));
      lastBreak = std::wstring::npos;
      continue;
    }
    line += c;
    if (c == L' ') lastBreak = line.size();
    if (font_->textWidth(line) > width && line.size() > 1) {
      // Latin words break at their last space; Chinese text breaks between any two characters.
      std::size_t cut = (lastBreak != std::wstring::npos && c < 0x2E80) ? lastBreak : line.size() - 1;
      lines.push_back(line.substr(0, cut));
      line.erase(0, cut);
      lastBreak = std::wstring::npos;
    }
  }
  lines.push_back(line);
  return lines;
}

void DC::drawText(const Rect& r, std::wstring_view text, unsigned format) {
  int lineHeight = font_->metrics().height;
  std::vector<std::wstring> lines;
  if (format & DT_SINGLELINE) {
    std::wstring one;
    for (wchar_t c : text)
      if (c != L'\r' && c != L'\n') one += c;
    lines.push_back(one);
  } else if (format & DT_WORDBREAK) {
    lines = wrap(text, r.width());
  } else {
    lines = wrap(text, 1 << 30);
  }
  int total = lineHeight * int(lines.size());
  int y = r.top;
  if (format & DT_VCENTER) y = r.top + (r.height() - total) / 2;
  if (format & DT_BOTTOM) y = r.bottom - total;
  Rect old = intersectClip(r);
  for (std::wstring& line : lines) {
    if ((format & DT_END_ELLIPSIS) && font_->textWidth(line) > r.width()) {
      while (!line.empty() && font_->textWidth(line + L"...") > r.width()) line.pop_back();
      line += L"...";
    }
    int w = font_->textWidth(line);
    int x = r.left;
    if (format & DT_CENTER) x = r.left + (r.width() - w) / 2;
    if (format & DT_RIGHT) x = r.right - w;
    textOut(x, y, line);
    y += lineHeight;
  }
  clip_ = old;
}

void DC::stretchBlt(const Rect& dst, const Bitmap& src) {
  if (src.empty() || dst.empty()) return;
  for (int y = dst.top; y < dst.bottom; ++y)
    for (int x = dst.left; x < dst.right; ++x)
      plot(x, y, src.at((x - dst.left) * src.width() / dst.width(),
                        (y - dst.top) * src.height() / dst.height()));
}

void DC::bitBlt(int x, int y, const Bitmap& src) {
  for (int row = 0; row < src.height(); ++row)
    for (int col = 0; col < src.width(); ++col) plot(x + col, y + row, src.at(col, row));
}

}  // namespace plat
