// Image files: PNG through libpng, and the Windows bitmap file (BMP) as Windows lays it out
// (bottom-up rows padded to four bytes; 1, 4, 8, 24 and 32 bits a pixel are read, 24 bits
// written). Writes go through a temporary file and a rename, so a failed write leaves an old file
// whole. Readers return an empty bitmap for a missing or damaged file; they never throw.
#pragma once

#include <filesystem>
#include <string>

#include "platform/graphics.h"

namespace plat {

bool writePng(const Bitmap& image, const std::filesystem::path& file);
Bitmap readPng(const std::filesystem::path& file);
std::string encodePng(const Bitmap& image);  // the bytes of a PNG file

bool writeBmp(const Bitmap& image, const std::filesystem::path& file);
Bitmap readBmp(const std::filesystem::path& file);

}  // namespace plat
