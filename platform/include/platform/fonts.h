// Fonts found by face name through fontconfig and drawn with FreeType. The project's own
// fontconfig configuration maps the faces the suite names ("細明體", "新細明體", Arial, the dialog
// font "MS Shell Dlg") to installed fonts; a character the chosen font lacks is taken from the
// next font fontconfig ranks for the name, so Chinese text inside a Latin face still shows.
// Metrics are the real ones of the fonts drawn.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/graphics.h"

namespace plat {

struct FontMetrics {
  int ascent = 0, descent = 0, height = 0;  // pixels; height = ascent + descent
  int averageWidth = 0;  // the dialog-unit base: average width of the Latin letters
};

class Font {
 public:
  // A face by name with an em height in pixels (a LOGFONT height of -pixels). Never fails: an
  // unknown name gets fontconfig's best match.
  static std::shared_ptr<const Font> create(std::wstring_view face, int pixels, bool bold = false);
  // Points at the screen's 96 dots per inch, as dialog resources give them.
  static std::shared_ptr<const Font> fromPoints(std::wstring_view face, int points,
                                                bool bold = false);
  // The font dialogs and controls use when nothing else is set.
  static std::shared_ptr<const Font> dialogDefault();

  virtual ~Font() = default;
  virtual const std::wstring& face() const = 0;  // as asked for
  virtual std::string fileName() const = 0;  // the font file the face resolved to
  virtual int pixels() const = 0;
  virtual bool bold() const = 0;
  virtual FontMetrics metrics() const = 0;
  // Advance width of a text on one line.
  virtual int textWidth(std::wstring_view text) const = 0;
  // Draws one line with its top-left corner at (x, y), blending into the bitmap inside `clip`.
  virtual void draw(Bitmap& target, int x, int y, std::wstring_view text, Color color,
                    const Rect& clip) const = 0;
};

using FontHandle = std::shared_ptr<const Font>;

}  // namespace plat
