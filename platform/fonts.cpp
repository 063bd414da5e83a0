// Fonts by face name: fontconfig (with the project's configuration, compiled in) ranks the
// installed fonts for a name, FreeType renders them. Faces are opened once per file and shared by
// every size; a character the first-ranked font lacks comes from the next font that has it.
#include "platform/fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <map>
#include <mutex>
#include <stdexcept>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/codepage.h"

namespace plat {

namespace {

constexpr const char* kProjectFontConfig =
#include "kora-fonts.conf.inc"
    ;

struct Library {
  FT_Library freetype = nullptr;
  FcConfig* config = nullptr;
  std::map<std::pair<std::string, int>, FT_Face> faces;  // by file and face index

  Library() {
    if (FT_Init_FreeType(&freetype)) throw std::runtime_error("FreeType cannot start");
    config = FcInitLoadConfig();
    FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kProjectFontConfig),
                                   FcTrue);
    FcConfigBuildFonts(config);
  }

  FT_Face open(const std::string& file, int index) {
    auto key = std::make_pair(file, index);
    if (auto it = faces.find(key); it != faces.end()) return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(freetype, file.c_str(), index, &face)) face = nullptr;
    faces[key] = face;
    return face;
  }
};

Library& library() {
  static Library lib;
  return lib;
}

// One font file that fontconfig ranked for a name, opened when first needed.
struct Candidate {
  std::string file;
  int index = 0;
  FcCharSet* charset = nullptr;  // owned by the sorted set
  bool embolden = false;  // bold asked for but the file is not bold
};

class FontImpl : public Font {
 public:
  FontImpl(std::wstring face, int pixels, bool bold)
      : face_(std::move(face)), pixels_(std::max(pixels, 1)), bold_(bold) {
    Library& lib = library();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8(face_).c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixels_);
    FcConfigSubstitute(lib.config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    sorted_ = FcFontSort(lib.config, pattern, FcTrue, nullptr, &result);
    FcPatternDestroy(pattern);
    for (int i = 0; sorted_ && i < sorted_->nfont; ++i) {
      FcPattern* p = sorted_->fonts[i];
      FcChar8* file = nullptr;
      int index = 0, weight = FC_WEIGHT_REGULAR;
      FcCharSet* charset = nullptr;
      if (FcPatternGetString(p, FC_FILE, 0, &file) != FcResultMatch) continue;
      FcPatternGetInteger(p, FC_INDEX, 0, &index);
      FcPatternGetInteger(p, FC_WEIGHT, 0, &weight);
      FcPatternGetCharSet(p, FC_CHARSET, 0, &charset);
      candidates_.push_back({reinterpret_cast<const char*>(file), index, charset,
                             bold && weight < FC_WEIGHT_DEMIBOLD});
    }
    computeMetrics();  // with no font installed at all, text takes room but draws nothing
  }
  ~FontImpl() override {
    if (sorted_) FcFontSetDestroy(sorted_);
  }

  const std::wstring& face() const override { return face_; }
  std::string fileName() const override { return candidates_.empty() ? "" : candidates_.front().file; }
  int pixels() const override { return pixels_; }
  bool bold() const override { return bold_; }
  FontMetrics metrics() const override { return metrics_; }

  int textWidth(std::wstring_view text) const override {
    int width = 0;
    for (wchar_t c : text) width += glyph(c).advance;
    return width;
  }

  void draw(Bitmap& target, int x, int y, std::wstring_view text, Color color,
            const Rect& clip) const override {
    Rect area = clip.intersect({0, 0, target.width(), target.height()});
    int baseline = y + metrics_.ascent;
    for (wchar_t c : text) {
      const Glyph& g = glyph(c);
      for (int row = 0; row < g.height; ++row) {
        int py = baseline - g.top + row;
        if (py < area.top || py >= area.bottom) continue;
        for (int col = 0; col < g.width; ++col) {
          int px = x + g.left + col;
          if (px < area.left || px >= area.right) continue;
          int alpha = g.coverage[std::size_t(row) * g.width + col];
          if (alpha) target.set(px, py, blend(target.at(px, py), color, alpha));
        }
      }
      x += g.advance;
    }
  }

 private:
  struct Glyph {
    int advance = 0, left = 0, top = 0, width = 0, height = 0;
    std::vector<unsigned char> coverage;
  };

  static Color blend(Color under, Color over, int alpha) {
    auto mix = [alpha](int a, int b) { return (a * (255 - alpha) + b * alpha) / 255; };
    return rgb(mix(red(under), red(over)), mix(green(under), green(over)),
               mix(blue(under), blue(over)));
  }

  // The first ranked font that has the character; the first font when none has it.
  const Candidate* candidateFor(wchar_t c) const {
    for (const Candidate& candidate : candidates_)
      if (candidate.charset && FcCharSetHasChar(candidate.charset, FcChar32(c))) return &candidate;
    return candidates_.empty() ? nullptr : &candidates_.front();
  }

  FT_Face sized(const Candidate& candidate) const {
    FT_Face face = library().open(candidate.file, candidate.index);
    if (face) FT_Set_Pixel_Sizes(face, 0, pixels_);
    return face;
  }

  const Glyph& glyph(wchar_t c) const {
    if (auto it = glyphs_.find(c); it != glyphs_.end()) return it->second;
    Glyph& g = glyphs_[c];
    if (c == L'\t') c = L' ';
    const Candidate* candidate = candidateFor(c);
    g.advance = pixels_ / 2;  // the room a character takes when no font can draw it
    FT_Face face = candidate ? sized(*candidate) : nullptr;
    if (!face || FT_Load_Char(face, FT_ULong(c), FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT)) return g;
    if (candidate->embolden) FT_GlyphSlot_Embolden(face->glyph);
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL)) return g;
    const FT_Bitmap& bm = face->glyph->bitmap;
    g.advance = int((face->glyph->advance.x + 32) >> 6);
    g.left = face->glyph->bitmap_left;
    g.top = face->glyph->bitmap_top;
    g.width = int(bm.width);
    g.height = int(bm.rows);
    g.coverage.resize(std::size_t(g.width) * g.height);
    // Ming fonts carry hand-tuned one-bit strikes for the small sizes, as on Windows; grey
    // outlines otherwise.
    bool mono = bm.pixel_mode == FT_PIXEL_MODE_MONO;
    for (int row = 0; row < g.height; ++row)
      for (int col = 0; col < g.width; ++col) {
        const unsigned char* line = bm.buffer + row * bm.pitch;
        g.coverage[std::size_t(row) * g.width + col] =
            mono ? ((line[col / 8] >> (7 - col % 8)) & 1) * 255 : line[col];
      }
    return g;
  }

  void computeMetrics() {
    FT_Face face = candidates_.empty() ? nullptr : sized(candidates_.front());
    if (face) {
      metrics_.ascent = int((face->size->metrics.ascender + 63) >> 6);
      metrics_.descent = int((-face->size->metrics.descender + 63) >> 6);
    } else {
      metrics_.ascent = pixels_ * 4 / 5;
      metrics_.descent = pixels_ - metrics_.ascent;
    }
    metrics_.height = metrics_.ascent + metrics_.descent;
    // As Windows computes the dialog base unit: the letters' width over 26, rounded up, halved.
    std::wstring letters = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    metrics_.averageWidth = (textWidth(letters) / 26 + 1) / 2;
  }

  std::wstring face_;
  int pixels_;
  bool bold_;
  FcFontSet* sorted_ = nullptr;
  std::vector<Candidate> candidates_;
  FontMetrics metrics_;
  mutable std::unordered_map<wchar_t, Glyph> glyphs_;
};

}  // namespace

FontHandle Font::create(std::wstring_view face, int pixels, bool bold) {
  static std::map<std::tuple<std::wstring, int, bool>, FontHandle> cache;
  auto key = std::make_tuple(std::wstring(face), pixels, bold);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  FontHandle font = std::make_shared<FontImpl>(std::wstring(face), pixels, bold);
  cache[key] = font;
  return font;
}

FontHandle Font::fromPoints(std::wstring_view face, int points, bool bold) {
  return create(face, (points * 96 + 36) / 72, bold);
}

FontHandle Font::dialogDefault() { return fromPoints(L"新細明體", 9); }

}  // namespace plat
