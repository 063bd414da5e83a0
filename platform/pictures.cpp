// The pictures behind icon and bitmap numbers. The suite's resources describe each as a tile: a
// rounded square (an icon) or a banner (a bitmap) in one colour with a glyph in white, drawn here
// at load time, so every icon of the suite shares one look.
#include "platform/controls.h"
#include "platform/dc.h"
#include "platform/resources.h"

namespace plat {

namespace {

// The largest font of the face that fits the glyph inside the box.
FontHandle fittingFont(std::wstring_view glyph, int width, int height, bool bold) {
  int pixels = height;
  FontHandle font = Font::create(L"Arial", pixels, bold);
  while (pixels > 6) {
    font = Font::create(L"Arial", pixels, bold);
    if (font->textWidth(glyph) <= width && font->metrics().height <= height + pixels / 4) break;
    --pixels;
  }
  return font;
}

Bitmap drawTile(const PictureResource& p, bool icon) {
  Bitmap image(p.width, p.height, colors::face);
  DC dc(image);
  Color tile = p.color;
  Color edge = rgb(red(tile) * 3 / 4, green(tile) * 3 / 4, blue(tile) * 3 / 4);
  dc.setBrush({tile});
  dc.setPen({edge, 1});
  Rect all{0, 0, p.width, p.height};
  if (icon)
    dc.roundRect(all.inflate(-1, -1), std::max(2, p.width / 6));
  else
    dc.rectangle(all);
  if (!icon) {
    // A banner: a lighter band at the foot, the glyph (a title) across the middle.
    Color light = rgb((red(tile) + 255) / 2, (green(tile) + 255) / 2, (blue(tile) + 255) / 2);
    dc.fillRect({1, p.height * 3 / 4, p.width - 1, p.height - 1}, light);
  }
  int padding = icon ? std::max(3, p.width / 8) : p.width / 10;
  int boxH = icon ? p.height - 2 * padding : p.height / 3;
  FontHandle font = fittingFont(p.glyph, p.width - 2 * padding, boxH, true);
  dc.setFont(font);
  dc.setTextColor(colors::highlightText);
  Rect box = icon ? all : Rect{0, p.height / 6, p.width, p.height * 3 / 4};
  dc.drawText(box, p.glyph, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  return image;
}

}  // namespace

Bitmap loadIcon(int id) {
  const PictureResource* p = findIcon(id);
  return p ? drawTile(*p, true) : Bitmap();
}

Bitmap loadBitmap(int id) {
  const PictureResource* p = findBitmap(id);
  return p ? drawTile(*p, false) : Bitmap();
}

}  // namespace plat
