// PNG files through libpng (in memory, so the file is written atomically) and BMP files by the
// Windows layout.
#include "platform/image_files.h"

#include <png.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/files.h"

namespace plat {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}

std::string readAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string();
}

std::uint32_t le(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | std::uint8_t(b[at + i]);
  return v;
}

void putLe(std::string& b, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b += char((v >> (8 * i)) & 255);
}

}  // namespace

std::string encodePng(const Bitmap& image) {
  std::string bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return bytes;
  png_infop info = png_create_info_struct(png);
  std::vector<png_byte> row(std::size_t(image.width()) * 3);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return {};
  }
  png_set_write_fn(png, &bytes, appendBytes, nullptr);
  png_set_IHDR(png, info, image.width(), image.height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 6);
  png_write_info(png, info);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      Color c = image.at(x, y);
      row[x * 3] = png_byte(red(c));
      row[x * 3 + 1] = png_byte(green(c));
      row[x * 3 + 2] = png_byte(blue(c));
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

bool writePng(const Bitmap& image, const std::filesystem::path& file) {
  if (image.empty()) return false;
  std::string bytes = encodePng(image);
  return !bytes.empty() && writeFileAtomically(file, bytes);
}

Bitmap readPng(const std::filesystem::path& file) {
  std::string bytes = readAll(file);
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> buffer(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) return {};
  Bitmap out(int(image.width), int(image.height));
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) {
      const png_byte* p = &buffer[(std::size_t(y) * image.width + x) * 3];
      out.set(x, y, rgb(p[0], p[1], p[2]));
    }
  return out;
}

bool writeBmp(const Bitmap& image, const std::filesystem::path& file) {
  int stride = (image.width() * 3 + 3) & ~3;
  std::uint32_t dataSize = std::uint32_t(stride) * image.height();
  std::string b = "BM";
  putLe(b, 54 + dataSize, 4);
  putLe(b, 0, 4);
  putLe(b, 54, 4);
  putLe(b, 40, 4);  // BITMAPINFOHEADER
  putLe(b, image.width(), 4);
  putLe(b, image.height(), 4);
  putLe(b, 1, 2);
  putLe(b, 24, 2);
  putLe(b, 0, 4);  // BI_RGB
  putLe(b, dataSize, 4);
  putLe(b, 3780, 4);  // 96 dots per inch
  putLe(b, 3780, 4);
  putLe(b, 0, 4);
  putLe(b, 0, 4);
  for (int y = image.height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.width(); ++x) {
      Color c = image.at(x, y);
      b += char(blue(c));
      b += char(green(c));
      b += char(red(c));
    }
    b.append(stride - image.width() * 3, '\0');
  }
  return writeFileAtomically(file, b);
}

Bitmap readBmp(const std::filesystem::path& file) {
  std::string b = readAll(file);
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return {};
  std::uint32_t offset = le(b, 10, 4), headerSize = le(b, 14, 4);
  if (headerSize < 40) return {};
  int width = int(le(b, 18, 4));
  int height = int(std::int32_t(le(b, 22, 4)));
  int bits = int(le(b, 28, 2));
  std::uint32_t compression = le(b, 30, 4);
  bool topDown = height < 0;
  height = std::abs(height);
  if (width <= 0 || height == 0 || width > 20000 || height > 20000) return {};
  if (compression != 0 && !(compression == 3 && bits == 32)) return {};
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return {};
  std::uint32_t colors = le(b, 46, 4);
  if (bits <= 8 && colors == 0) colors = 1u << bits;
  std::size_t paletteAt = 14 + headerSize;
  if (bits <= 8 && paletteAt + colors * 4 > b.size()) return {};
  std::size_t stride = ((std::size_t(width) * bits + 31) / 32) * 4;
  if (offset + stride * height > b.size()) return {};
  Bitmap out(width, height);
  for (int row = 0; row < height; ++row) {
    std::size_t at = offset + stride * row;
    int y = topDown ? row : height - 1 - row;
    for (int x = 0; x < width; ++x) {
      if (bits >= 24) {
        std::size_t p = at + std::size_t(x) * (bits / 8);
        out.set(x, y, rgb(std::uint8_t(b[p + 2]), std::uint8_t(b[p + 1]), std::uint8_t(b[p])));
      } else {
        std::size_t bitAt = std::size_t(x) * bits;
        int byte = std::uint8_t(b[at + bitAt / 8]);
        int index = (byte >> (8 - bits - bitAt % 8)) & ((1 << bits) - 1);
        if (std::uint32_t(index) >= colors) index = 0;
        std::size_t p = paletteAt + std::size_t(index) * 4;
        out.set(x, y, rgb(std::uint8_t(b[p + 2]), std::uint8_t(b[p + 1]), std::uint8_t(b[p])));
      }
    }
  }
  return out;
}

}  // namespace plat
