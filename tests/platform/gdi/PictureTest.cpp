#include "Canvas.h"

#include <support/TestMachine.h>
#include <win32/error.h>
#include <win32/gdi.h>
#include <win32/gdi/PictureFile.h>
#include <win32/gdi/PngCodec.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include <jpeglib.h>

namespace {

using plat::PictureFile;
using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A bitmap file: file header, a 40-byte (or larger) header, a table and the bits.
Bytes bmp(int width, int height, int bits, std::uint32_t compression, const Bytes& table, const Bytes& pixels,
          std::uint32_t headerSize = 40) {
  Bytes b(14 + headerSize);
  b[0] = 'B';
  b[1] = 'M';
  put32(b, 10, static_cast<std::uint32_t>(14 + headerSize + table.size()));
  put32(b, 14, headerSize);
  put32(b, 18, static_cast<std::uint32_t>(width));
  put32(b, 22, static_cast<std::uint32_t>(height));
  put16(b, 26, 1);
  put16(b, 28, static_cast<std::uint16_t>(bits));
  put32(b, 30, compression);
  if (bits <= 8) put32(b, 46, static_cast<std::uint32_t>(table.size() / 4));  // colours used
  b.insert(b.end(), table.begin(), table.end());
  b.insert(b.end(), pixels.begin(), pixels.end());
  put32(b, 2, static_cast<std::uint32_t>(b.size()));
  return b;
}

Bytes palette(std::initializer_list<COLORREF> colours) {
  Bytes t;
  for (COLORREF c : colours) t.insert(t.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
  return t;
}

plat::Pixel px(const PictureFile::Picture& p, int x, int y) { return p.pixels.pixel(x, y); }

TEST(PictureTest, BitmapFilesOfEveryDepthDecode) {
  // 24 bits, bottom-up: the first stored row is the bottom one.
  const Bytes rows24{0, 0, 255, 0, 255, 0, 0, 0,  // bottom: red, green, pad
                     255, 0, 0, 255, 255, 255, 0, 0};  // top: blue, white, pad
  auto p = PictureFile::decode(bmp(2, 2, 24, BI_RGB, {}, rows24));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->bitCount, 24);
  EXPECT_EQ(px(*p, 0, 0), 0x0000FFu);
  EXPECT_EQ(px(*p, 1, 0), 0xFFFFFFu);
  EXPECT_EQ(px(*p, 0, 1), 0xFF0000u);

  // 32 bits, top-down.
  const Bytes rows32{1, 2, 3, 0, 4, 5, 6, 0};
  p = PictureFile::decode(bmp(1, -2, 32, BI_RGB, {}, rows32));
  ASSERT_TRUE(p);
  EXPECT_EQ(px(*p, 0, 0), 0x030201u);
  EXPECT_EQ(px(*p, 0, 1), 0x060504u);

  // 8 and 4 bits through the colour table.
  p = PictureFile::decode(bmp(3, 1, 8, BI_RGB, palette({RGB(10, 0, 0), RGB(0, 20, 0), RGB(0, 0, 30)}), {2, 1, 0, 0}));
  ASSERT_TRUE(p);
  EXPECT_EQ(px(*p, 0, 0), 0x00001Eu);
  EXPECT_EQ(px(*p, 2, 0), 0x0A0000u);
  p = PictureFile::decode(bmp(3, 1, 4, BI_RGB, palette({RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)}), {0x21, 0x00, 0, 0}));
  ASSERT_TRUE(p);
  EXPECT_EQ(px(*p, 0, 0), 0x030303u);
  EXPECT_EQ(px(*p, 1, 0), 0x020202u);
  EXPECT_EQ(px(*p, 2, 0), 0x010101u);

  // 1 bit: black and white gives a monochrome picture, other colours a colour one.
  p = PictureFile::decode(bmp(3, 1, 1, BI_RGB, palette({RGB(0, 0, 0), RGB(255, 255, 255)}), {0xA0, 0, 0, 0}));
  ASSERT_TRUE(p);
  EXPECT_TRUE(p->pixels.isMono());
  EXPECT_EQ(px(*p, 0, 0), plat::kWhitePixel);
  EXPECT_EQ(px(*p, 1, 0), plat::kBlackPixel);
  p = PictureFile::decode(bmp(2, 1, 1, BI_RGB, palette({RGB(255, 0, 0), RGB(0, 0, 255)}), {0x40, 0, 0, 0}));
  ASSERT_TRUE(p);
  EXPECT_FALSE(p->pixels.isMono());
  EXPECT_EQ(px(*p, 1, 0), 0x0000FFu);

  // 16 bits with 5-6-5 masks after the header.
  Bytes masks(12);
  put32(masks, 0, 0xF800);
  put32(masks, 4, 0x07E0);
  put32(masks, 8, 0x001F);
  p = PictureFile::decode(bmp(2, 1, 16, BI_BITFIELDS, masks, {0x00, 0xF8, 0x1F, 0x00}));
  ASSERT_TRUE(p);
  EXPECT_EQ(px(*p, 0, 0), 0xFF0000u);
  EXPECT_EQ(px(*p, 1, 0), 0x0000FFu);
}

TEST(PictureTest, RunLengthEncodedAndCoreHeaderBitmapsDecode) {
  // RLE8: a run of three index-1 pixels, an absolute run of three (1, 0, 1; padded to a
  // word), end of line, a delta of one to the right, one pixel, end of bitmap.
  const Bytes rle8{3, 1, 0, 3, 1, 0, 1, 0, 0, 0, 0, 2, 1, 0, 1, 1, 0, 1};
  auto p = PictureFile::decode(bmp(6, 2, 8, BI_RLE8, palette({RGB(0, 0, 0), RGB(9, 9, 9)}), rle8));
  ASSERT_TRUE(p);
  EXPECT_EQ(px(*p, 0, 1), 0x090909u);
  EXPECT_EQ(px(*p, 2, 1), 0x090909u);
  EXPECT_EQ(px(*p, 3, 1), 0x090909u);
  EXPECT_EQ(px(*p, 4, 1), 0u);
  EXPECT_EQ(px(*p, 5, 1), 0x090909u);
  EXPECT_EQ(px(*p, 0, 0), 0u) << "skipped by the delta";
  EXPECT_EQ(px(*p, 1, 0), 0x090909u);
  // RLE4: four pixels alternating indexes 1 and 2.
  const Bytes rle4{4, 0x12, 0, 1};
  p = PictureFile::decode(bmp(4, 1, 4, BI_RLE4, palette({RGB(0, 0, 0), RGB(1, 0, 0), RGB(2, 0, 0)}), rle4));
  ASSERT_TRUE(p);
  EXPECT_EQ(px(*p, 0, 0), 0x010000u);
  EXPECT_EQ(px(*p, 1, 0), 0x020000u);
  EXPECT_EQ(p->bitCount, 4);

  // The 12-byte core header with three-byte table entries.
  Bytes core(14 + 12);
  core[0] = 'B';
  core[1] = 'M';
  put32(core, 10, 14 + 12 + 6);
  put32(core, 14, 12);
  put16(core, 18, 2);
  put16(core, 20, 1);
  put16(core, 22, 1);
  put16(core, 24, 1);
  core.insert(core.end(), {0, 0, 255, 255, 0, 0});  // red, blue
  core.insert(core.end(), {0x40, 0, 0, 0});
  p = PictureFile::decode(core);
  ASSERT_TRUE(p);
  EXPECT_EQ(px(*p, 0, 0), 0xFF0000u);
  EXPECT_EQ(px(*p, 1, 0), 0x0000FFu);
}

TEST(PictureTest, BrokenBitmapFilesFailCleanly) {
  const Bytes good = bmp(4, 4, 24, BI_RGB, {}, Bytes(48, 7));
  ASSERT_TRUE(PictureFile::decode(good));
  for (std::size_t cut : {std::size_t{10}, std::size_t{30}, good.size() - 1})
    EXPECT_FALSE(PictureFile::decode(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)))) << cut;
  Bytes wrongHeader = good;
  put32(wrongHeader, 14, 20);
  EXPECT_FALSE(PictureFile::decode(wrongHeader));
  Bytes huge = good;
  put32(huge, 18, 100000);
  EXPECT_FALSE(PictureFile::decode(huge));
  Bytes badOffset = good;
  put32(badOffset, 10, 0xFFFFFFF0u);
  EXPECT_FALSE(PictureFile::decode(badOffset));
  Bytes depth = good;
  put16(depth, 28, 7);
  EXPECT_FALSE(PictureFile::decode(depth));
  // RLE without its end mark is truncated.
  EXPECT_FALSE(PictureFile::decode(bmp(4, 1, 8, BI_RLE8, palette({0}), {4, 0})));
  EXPECT_FALSE(PictureFile::decode(Bytes{'B', 'M'}));
  EXPECT_FALSE(PictureFile::decode(Bytes{}));
  EXPECT_FALSE(PictureFile::decode(Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0}));
}

class PictureFileTest : public test::MachineTest {
 protected:
  std::filesystem::path write(const std::string& name, const Bytes& bytes) {
    const auto path = machine().paths().toLinux(std::string("C:\\") + name);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    return path;
  }
};

TEST_F(PictureFileTest, PngRoundTripsThroughAFile) {
  plat::Surface s(5, 3, plat::PixelFormat::Bgrx32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) s.setPixel(x, y, static_cast<plat::Pixel>(x * 50 << 16 | y * 100 << 8 | 77));
  const auto path = machine().root() / "shot.png";
  ASSERT_TRUE(plat::PngCodec::save(s, path));
  auto p = PictureFile::load(path);
  ASSERT_TRUE(p);
  ASSERT_EQ(p->pixels.width(), 5);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(px(*p, x, y), s.pixel(x, y));
  auto bytes = PictureFile::readFile(path);
  ASSERT_TRUE(bytes);
  bytes->resize(bytes->size() - 20);
  EXPECT_FALSE(PictureFile::decode(*bytes)) << "truncated PNG";
  EXPECT_FALSE(PictureFile::load(machine().root() / "missing.png"));
}

Bytes encodeJpeg(int width, int height, bool progressive) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < width; ++x) {
      const bool left = x < width / 2;
      row[3 * x] = left ? 230 : 20;
      row[3 * x + 1] = 40;
      row[3 * x + 2] = left ? 20 : 230;
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes bytes(out, out + size);
  std::free(out);
  return bytes;
}

TEST(PictureTest, JpegDecodesAndATruncatedOneFails) {
  for (bool progressive : {false, true}) {
    const Bytes jpeg = encodeJpeg(32, 16, progressive);
    auto p = PictureFile::decode(jpeg);
    ASSERT_TRUE(p) << progressive;
    EXPECT_EQ(p->pixels.width(), 32);
    EXPECT_EQ(p->pixels.height(), 16);
    const plat::Pixel left = px(*p, 4, 8);
    const plat::Pixel right = px(*p, 28, 8);
    EXPECT_NEAR(static_cast<int>(left >> 16), 230, 12);
    EXPECT_NEAR(static_cast<int>(left & 0xFF), 20, 12);
    EXPECT_NEAR(static_cast<int>(right & 0xFF), 230, 12);
    EXPECT_FALSE(PictureFile::decode(Bytes(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(jpeg.size() / 2))));
    Bytes garbled = jpeg;
    for (std::size_t i = 4; i < 40 && i < garbled.size(); ++i) garbled[i] = 0x55;
    EXPECT_FALSE(PictureFile::decode(garbled));
  }
}

TEST_F(PictureFileTest, LoadImageReadsBitmapFilesOnly) {
  const Bytes rows{0, 0, 255, 0, 255, 0, 0, 0};
  write("red.bmp", bmp(2, 1, 24, BI_RGB, {}, rows));
  HBITMAP ddb = static_cast<HBITMAP>(LoadImageA(nullptr, "C:\\RED.BMP", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(ddb, nullptr) << "found without regard to case";
  BITMAP bm{};
  GetObjectA(ddb, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 2);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(bm.bmBits, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, ddb);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 255, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(ddb);

  HBITMAP dib = static_cast<HBITMAP>(
      LoadImageA(nullptr, "C:\\red.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  ASSERT_NE(dib, nullptr);
  DIBSECTION ds{};
  ASSERT_EQ(GetObjectA(dib, sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmBitsPixel, 24);
  EXPECT_GT(ds.dsBmih.biHeight, 0);
  EXPECT_EQ(static_cast<const std::uint8_t*>(ds.dsBm.bmBits)[2], 255) << "red in the DIB's bits";
  DeleteObject(dib);

  EXPECT_EQ(LoadImageA(nullptr, "C:\\none.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  write("photo.bmp", encodeJpeg(8, 8, false));
  EXPECT_EQ(LoadImageA(nullptr, "C:\\photo.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  Bytes cut = bmp(2, 1, 24, BI_RGB, {}, rows);
  cut.resize(cut.size() - 3);
  write("cut.bmp", cut);
  EXPECT_EQ(LoadImageA(nullptr, "C:\\cut.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
}

}  // namespace

namespace {

class ResourceBitmapTest : public test::MachineTest {};

TEST_F(ResourceBitmapTest, LoadBitmapReadsTheProgramsBitmapResources) {
  HBITMAP bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(144));
  ASSERT_NE(bitmap, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 3, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 3, 1), RGB(255, 0, 255));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);

  HBITMAP byName = static_cast<HBITMAP>(LoadImageA(nullptr, "#144", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(byName, nullptr);
  DIBSECTION ds{};
  EXPECT_EQ(GetObjectA(byName, sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmWidth, 4);
  EXPECT_EQ(ds.dsBm.bmBitsPixel, 24);
  DeleteObject(byName);

  EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(999)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

}  // namespace
