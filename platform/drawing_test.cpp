// The drawing layer: faces resolved through the project's font configuration, text that really
// lands in the bitmap, and image files that read back what was written.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/dc.h"
#include "platform/fonts.h"
#include "platform/image_files.h"

namespace {

// The number of pixels in a rectangle that differ from a colour.
int inkIn(const plat::Bitmap& b, plat::Rect r, plat::Color background = plat::colors::window) {
  int ink = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) ink += b.at(x, y) != background;
  return ink;
}

struct FaceCase {
  const wchar_t* face;
  const char* fileFragment;
};

class FaceMapping : public ::testing::TestWithParam<FaceCase> {};

TEST_P(FaceMapping, SuiteFacesResolveToTheInstalledFonts) {
  auto font = plat::Font::create(GetParam().face, 16);
  EXPECT_NE(font->fileName().find(GetParam().fileFragment), std::string::npos) << font->fileName();
}

INSTANTIATE_TEST_SUITE_P(Faces, FaceMapping,
                         ::testing::Values(FaceCase{L"細明體", "uming"}, FaceCase{L"新細明體", "uming"},
                                           FaceCase{L"MingLiU", "uming"}, FaceCase{L"PMingLiU", "uming"},
                                           FaceCase{L"MS Shell Dlg", "uming"},
                                           FaceCase{L"Arial", "LiberationSans"}));

TEST(Fonts, ArialWidthsAreTheMetricCompatibleOnes) {
  // Liberation Sans shares Arial's advance widths: "W" is 0.944 em, "i" 0.222 em.
  auto font = plat::Font::create(L"Arial", 100);
  EXPECT_EQ(font->textWidth(L"W"), 94);
  EXPECT_EQ(font->textWidth(L"i"), 22);
}

TEST(Fonts, ChineseInALatinFaceFallsBackToAFontThatHasIt) {
  auto font = plat::Font::create(L"Arial", 16);
  plat::Bitmap image(80, 24);
  plat::DC dc(image);
  dc.setFont(font);
  dc.textOut(0, 0, L"計算");
  EXPECT_GT(inkIn(image, {0, 0, 40, 24}), 30);
  EXPECT_GT(font->textWidth(L"計算"), 24);
}

TEST(Drawing, TextIsClippedToTheRectangle) {
  plat::Bitmap image(100, 30);
  plat::DC dc(image);
  dc.drawText({0, 0, 30, 30}, L"最小值:12345678", plat::DT_SINGLELINE);
  EXPECT_GT(inkIn(image, {0, 0, 30, 30}), 0);
  EXPECT_EQ(inkIn(image, {30, 0, 100, 30}), 0);
}

TEST(Drawing, LinesRectanglesAndInversion) {
  plat::Bitmap image(20, 20);
  plat::DC dc(image);
  dc.setPen({plat::rgb(255, 0, 0), 1});
  dc.line({0, 5}, {10, 5});
  EXPECT_EQ(image.at(0, 5), plat::rgb(255, 0, 0));
  EXPECT_EQ(image.at(9, 5), plat::rgb(255, 0, 0));
  EXPECT_EQ(image.at(10, 5), plat::colors::window);  // LineTo leaves out its last point
  dc.fillRect({12, 12, 15, 15}, plat::rgb(0, 0, 255));
  dc.invertRect({12, 12, 13, 13});
  EXPECT_EQ(image.at(12, 12), plat::rgb(255, 255, 0));
}

TEST(ImageFiles, PngAndBmpReadBackWhatWasWritten) {
  plat::Bitmap image(7, 3, plat::rgb(10, 20, 30));
  image.set(6, 2, plat::rgb(200, 100, 50));
  auto dir = std::filesystem::temp_directory_path() / ("kc-img-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  ASSERT_TRUE(plat::writePng(image, dir / "a.png"));
  ASSERT_TRUE(plat::writeBmp(image, dir / "a.bmp"));
  for (const plat::Bitmap& back : {plat::readPng(dir / "a.png"), plat::readBmp(dir / "a.bmp")}) {
    ASSERT_EQ(back.width(), 7);
    ASSERT_EQ(back.height(), 3);
    EXPECT_EQ(back.at(0, 0), plat::rgb(10, 20, 30));
    EXPECT_EQ(back.at(6, 2), plat::rgb(200, 100, 50));
  }
  EXPECT_TRUE(plat::readBmp(dir / "missing.bmp").empty());
  std::filesystem::remove_all(dir);
}

}  // namespace
