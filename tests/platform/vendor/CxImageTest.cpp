// The picture library as the thumbnail lists use it: pictures loaded by format code, their
// sizes, drawn stretched into a device context with their real pixels, and every file it
// cannot take refused without reading past its bytes.
#include <support/PictureFiles.h>
#include <support/TestMachine.h>

#include <machine/PathMap.h>

#include <vendor/cximage/CxImage.h>
#include <win32/gdi.h>

#include <cstdlib>
#include <string>

namespace {

class CxImageTest : public test::MachineTest {
 protected:
  // Writes the bytes into the program folder and returns the file's Windows path.
  std::string put(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    test::WriteBytes(testMachine.programFolder() / name, bytes);
    return machine().paths().toWindows(testMachine.programFolder() / name);
  }

  // A white 32-bit canvas to draw on.
  struct Canvas {
    Canvas(int w, int h) {
      dc = CreateCompatibleDC(nullptr);
      HDC screen = GetDC(nullptr);
      bitmap = CreateCompatibleBitmap(screen, w, h);
      ReleaseDC(nullptr, screen);
      old = SelectObject(dc, bitmap);
      PatBlt(dc, 0, 0, w, h, WHITENESS);
    }
    ~Canvas() {
      SelectObject(dc, old);
      DeleteObject(bitmap);
      DeleteDC(dc);
    }
    COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
  };

  static bool near(COLORREF got, const std::uint8_t* bgr, int tolerance) {
    return std::abs(GetRValue(got) - bgr[2]) <= tolerance && std::abs(GetGValue(got) - bgr[1]) <= tolerance &&
           std::abs(GetBValue(got) - bgr[0]) <= tolerance;
  }
};

TEST_F(CxImageTest, BitmapsOfEveryKeptDepthDrawTheirOwnPixels) {
  const auto picture = test::TestPicture::ramps(37, 23, 1);
  for (const bool topDown : {false, true}) {
    CxImage image(put("a.bmp", test::BmpBytes(picture, topDown)).c_str(), CXIMAGE_FORMAT_BMP);
    ASSERT_TRUE(image.IsValid()) << image.GetLastError();
    EXPECT_EQ(image.GetWidth(), 37u);
    EXPECT_EQ(image.GetHeight(), 23u);
    Canvas canvas(37, 23);
    EXPECT_EQ(image.Stretch(canvas.dc, 0, 0, 37, 23), 1);
    for (const auto& [x, y] : {std::pair{0, 0}, {36, 0}, {0, 22}, {36, 22}, {18, 11}})
      EXPECT_TRUE(near(canvas.at(x, y), picture.at(x, y), 0)) << x << "," << y << (topDown ? " top-down" : "");
  }
  const auto few = test::TestPicture::solid(9, 5, 10, 200, 30);
  CxImage palette(put("p.bmp", test::PaletteBmpBytes(few)).c_str(), CXIMAGE_FORMAT_BMP);
  ASSERT_TRUE(palette.IsValid()) << palette.GetLastError();
  Canvas canvas(9, 5);
  palette.Stretch(canvas.dc, 0, 0, 9, 5);
  EXPECT_EQ(canvas.at(4, 2), RGB(30, 200, 10));
}

TEST_F(CxImageTest, PngDecodesExactlyAndJpegCloselyAtEveryScale) {
  const auto picture = test::TestPicture::ramps(64, 48, 2);
  CxImage png(put("a.png", test::PngBytes(picture)).c_str(), CXIMAGE_FORMAT_PNG);
  ASSERT_TRUE(png.IsValid()) << png.GetLastError();
  Canvas exact(64, 48);
  png.Stretch(exact.dc, 0, 0, 64, 48);
  EXPECT_TRUE(near(exact.at(63, 47), picture.at(63, 47), 0));
  EXPECT_TRUE(near(exact.at(10, 30), picture.at(10, 30), 0));

  const auto photo = test::TestPicture::solid(640, 480, 40, 120, 220);
  CxImage jpeg(put("a.jpg", test::JpegBytes(photo)).c_str(), CXIMAGE_FORMAT_JPG);
  ASSERT_TRUE(jpeg.IsValid()) << jpeg.GetLastError();
  // The full size, though a thumbnail's scale is all that is decoded yet.
  EXPECT_EQ(jpeg.GetWidth(), 640u);
  EXPECT_EQ(jpeg.GetHeight(), 480u);
  Canvas small(60, 60);
  EXPECT_EQ(jpeg.Stretch(small.dc, 0, 0, 60, 60), 1);
  EXPECT_TRUE(near(small.at(30, 30), photo.at(0, 0), 3));
  Canvas large(640, 480);
  EXPECT_EQ(jpeg.Stretch(large.dc, 0, 0, 640, 480), 1);
  EXPECT_TRUE(near(large.at(639, 479), photo.at(0, 0), 3));
  EXPECT_TRUE(near(large.at(320, 240), photo.at(0, 0), 3));
}

TEST_F(CxImageTest, StretchingAveragesAndPlacesThePicture) {
  // Left half black, right half white, shrunk to one pixel a half: grey only where the
  // halves meet, and nothing outside the destination is touched.
  auto picture = test::TestPicture::solid(40, 20, 0, 0, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 20; x < 40; ++x) std::fill_n(picture.at(x, y), 3, 255);
  CxImage image(put("half.bmp", test::BmpBytes(picture)).c_str(), CXIMAGE_FORMAT_BMP);
  Canvas canvas(30, 30);
  PatBlt(canvas.dc, 0, 0, 30, 30, BLACKNESS);
  image.Stretch(canvas.dc, 5, 5, 4, 2);
  EXPECT_EQ(canvas.at(5, 5), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(8, 6), RGB(255, 255, 255));
  EXPECT_EQ(canvas.at(9, 6), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(7, 7), RGB(0, 0, 0));
}

TEST_F(CxImageTest, RefusesTruncatedDamagedAndForeignFiles) {
  const auto picture = test::TestPicture::ramps(32, 16);
  auto bmp = test::BmpBytes(picture);
  EXPECT_TRUE(CxImage(put("whole.bmp", bmp).c_str(), CXIMAGE_FORMAT_BMP).IsValid());
  bmp.pop_back();
  CxImage shortBmp(put("short.bmp", bmp).c_str(), CXIMAGE_FORMAT_BMP);
  EXPECT_FALSE(shortBmp.IsValid());
  EXPECT_STREQ(shortBmp.GetLastError(), "truncated pixels");
  EXPECT_EQ(shortBmp.GetWidth(), 0u);

  auto jpeg = test::JpegBytes(test::TestPicture::ramps(320, 240));
  jpeg.resize(jpeg.size() / 2);
  CxImage halfJpeg(put("half.jpg", jpeg).c_str(), CXIMAGE_FORMAT_JPG);
  EXPECT_FALSE(halfJpeg.IsValid());
  Canvas canvas(4, 4);
  EXPECT_EQ(halfJpeg.Stretch(canvas.dc, 0, 0, 4, 4), 0);

  auto png = test::PngBytes(picture);
  png.resize(png.size() - 20);
  EXPECT_FALSE(CxImage(put("short.png", png).c_str(), CXIMAGE_FORMAT_PNG).IsValid());

  // A picture read as another format, a format the library has no decoder for, no file.
  EXPECT_FALSE(CxImage(put("png.jpg", test::PngBytes(picture)).c_str(), CXIMAGE_FORMAT_JPG).IsValid());
  EXPECT_FALSE(CxImage(put("a.gif", test::BmpBytes(picture)).c_str(), CXIMAGE_FORMAT_GIF).IsValid());
  CxImage missing("Z:/no/such/file.bmp", CXIMAGE_FORMAT_BMP);
  EXPECT_STREQ(missing.GetLastError(), "file not found");
  EXPECT_FALSE(CxImage(put("empty.png", {}).c_str(), CXIMAGE_FORMAT_PNG).IsValid());
}

TEST_F(CxImageTest, PictureSizesAreCappedOnBothSidesOfTheLimits) {
  // A header alone: the size is judged before the missing pixels are.
  auto headerOnly = [&](int width, int height) {
    auto bytes = test::BmpBytes(test::TestPicture::solid(1, 1, 0, 0, 0));
    for (int i = 0; i < 4; ++i) {
      bytes[18 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(width) >> (8 * i));
      bytes[22 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(height) >> (8 * i));
    }
    return std::string(CxImage(put("big.bmp", bytes).c_str(), CXIMAGE_FORMAT_BMP).GetLastError());
  };
  EXPECT_EQ(headerOnly(16384, 1), "truncated pixels");
  EXPECT_EQ(headerOnly(16385, 1), "picture size out of range");
  EXPECT_EQ(headerOnly(1, -16384), "truncated pixels");
  EXPECT_EQ(headerOnly(1, -16385), "picture size out of range");
  EXPECT_EQ(headerOnly(16384, 2929), "truncated pixels");
  EXPECT_EQ(headerOnly(16384, 2930), "picture size out of range");
  EXPECT_EQ(headerOnly(0, 5), "picture size out of range");

  CxImage wide(put("wide.jpg", test::JpegBytes(test::TestPicture::solid(16384, 8, 1, 2, 3))).c_str(),
               CXIMAGE_FORMAT_JPG);
  EXPECT_TRUE(wide.IsValid()) << wide.GetLastError();
  CxImage wider(put("wider.jpg", test::JpegBytes(test::TestPicture::solid(16385, 8, 1, 2, 3))).c_str(),
                CXIMAGE_FORMAT_JPG);
  EXPECT_STREQ(wider.GetLastError(), "picture size out of range");
}

}  // namespace
