// The image-effects library as the picture browser uses it: BMP files read and saved as
// packed DIBs, drawn, changed in place and smoothed with their real pixels, the filters
// checked against a plain per-pixel reference, and every layout it cannot take refused
// before a byte is touched.
#include <support/PictureFiles.h>
#include <support/TestMachine.h>

#include <com/globalmem.h>
#include <machine/PathMap.h>
#include <vendor/pictorin/Pictorin.h>
#include <win32/gdi.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

class PictorinTest : public test::MachineTest {
 protected:
  std::string put(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    test::WriteBytes(testMachine.programFolder() / name, bytes);
    return path(name);
  }
  std::string path(const std::string& name) { return machine().paths().toWindows(testMachine.programFolder() / name); }
  std::vector<std::uint8_t> read(const std::string& name) {
    std::ifstream in(testMachine.programFolder() / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

// Bottom-up 24-bit rows padded to 4 bytes, as a DIB holds them.
struct Pixels {
  Pixels(int w, int h) : width(w), height(h), stride((w * 3 + 3) & ~3), bytes(static_cast<std::size_t>(stride) * h) {}
  std::uint8_t* at(int x, int y) { return &bytes[static_cast<std::size_t>(y) * stride + x * 3]; }
  void fillRandom(unsigned seed) {
    std::mt19937 random(seed);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  }
  int width, height, stride;
  std::vector<std::uint8_t> bytes;
};

// The filters computed the slow, obvious way.
std::uint8_t referenceFilter(Pixels& p, int x, int y, int c, bool median) {
  std::array<int, 9> values{};
  int i = 0;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      values[i++] = p.at(std::clamp(x + dx, 0, p.width - 1), std::clamp(y + dy, 0, p.height - 1))[c];
  if (median) {
    std::sort(values.begin(), values.end());
    return static_cast<std::uint8_t>(values[4]);
  }
  constexpr int weights[9] = {1, 2, 1, 2, 4, 2, 1, 2, 1};
  int sum = 8;
  for (int k = 0; k < 9; ++k) sum += values[k] * weights[k];
  return static_cast<std::uint8_t>(sum >> 4);
}

TEST_F(PictorinTest, ReadsTwentyFourBitBitmapsBottomUpWithTheirImageSize) {
  const auto picture = test::TestPicture::ramps(13, 7, 3);
  for (const bool topDown : {false, true}) {
    HGLOBAL dib = DIBRead(put("a.bmp", test::BmpBytes(picture, topDown)).c_str());
    ASSERT_NE(dib, nullptr);
    auto* bytes = static_cast<BYTE*>(GlobalLock(dib));
    BITMAPINFOHEADER h;
    std::memcpy(&h, bytes, sizeof(h));
    EXPECT_EQ(h.biWidth, 13);
    EXPECT_EQ(h.biHeight, 7);
    EXPECT_EQ(h.biSizeImage, 40u * 7);
    BYTE* bits = GetDIBBits(bytes);
    EXPECT_EQ(bits, bytes + 40);
    // The last stored row is the picture's top row.
    EXPECT_EQ(0, std::memcmp(bits + 6 * 40, picture.at(0, 0), 13 * 3));
    EXPECT_EQ(0, std::memcmp(bits, picture.at(0, 6), 13 * 3));
    GlobalUnlock(dib);
    GlobalFree(dib);
  }
}

TEST_F(PictorinTest, RefusesWhatIsNotAWholeTwentyFourBitBitmap) {
  const auto picture = test::TestPicture::ramps(13, 7);
  auto whole = test::BmpBytes(picture);
  HGLOBAL dib = DIBRead(put("whole.bmp", whole).c_str());
  EXPECT_NE(dib, nullptr);
  GlobalFree(dib);
  auto cut = whole;
  cut.pop_back();
  EXPECT_EQ(DIBRead(put("cut.bmp", cut).c_str()), nullptr);
  EXPECT_EQ(DIBRead(put("palette.bmp", test::PaletteBmpBytes(picture)).c_str()), nullptr);
  auto packed = whole;
  packed[30] = BI_RLE8;
  EXPECT_EQ(DIBRead(put("rle.bmp", packed).c_str()), nullptr);
  auto wide = whole;
  wide[19] = 0x40, wide[20] = 0x00;  // 16384 + 13 pixels a row
  EXPECT_EQ(DIBRead(put("wide.bmp", wide).c_str()), nullptr);
  EXPECT_EQ(DIBRead(put("png.bmp", test::PngBytes(picture)).c_str()), nullptr);
  EXPECT_EQ(DIBRead(path("missing.bmp").c_str()), nullptr);
  EXPECT_EQ(DIBRead(nullptr), nullptr);
}

TEST_F(PictorinTest, SavesWhatItReadAndRefusesABlockTooSmallForItsHeader) {
  const auto bytes = test::BmpBytes(test::TestPicture::ramps(10, 4, 5));
  HGLOBAL dib = DIBRead(put("in.bmp", bytes).c_str());
  ASSERT_TRUE(DIBSave(dib, path("out.bmp").c_str()));
  const auto saved = read("out.bmp");
  ASSERT_EQ(saved.size(), bytes.size());
  EXPECT_EQ(0, std::memcmp(saved.data() + 54, bytes.data() + 54, bytes.size() - 54));
  HGLOBAL again = DIBRead(path("out.bmp").c_str());
  EXPECT_NE(again, nullptr);
  GlobalFree(again);

  // A header whose rows need more than the block holds.
  HGLOBAL small = GlobalAlloc(GMEM_MOVEABLE, 40 + 32 * 4 - 1);
  auto* head = static_cast<BYTE*>(GlobalLock(small));
  std::memcpy(head, GlobalLock(dib), 40);
  GlobalUnlock(dib);
  GlobalUnlock(small);
  EXPECT_FALSE(DIBSave(small, path("small.bmp").c_str()));
  EXPECT_FALSE(std::filesystem::exists(testMachine.programFolder() / "small.bmp"));
  GlobalFree(small);
  GlobalFree(dib);
}

TEST_F(PictorinTest, AdjustmentsChangeThePixelsInPlace) {
  Pixels p(3, 2);
  auto set = [&](int x, int y, int b, int g, int r) {
    p.at(x, y)[0] = static_cast<std::uint8_t>(b), p.at(x, y)[1] = static_cast<std::uint8_t>(g),
    p.at(x, y)[2] = static_cast<std::uint8_t>(r);
  };
  set(0, 0, 10, 100, 250);
  set(1, 0, 128, 128, 128);
  set(2, 0, 0, 0, 255);
  const auto before = p.bytes;
  EXPECT_TRUE(AdjustLightness(p.bytes.data(), 3, 2, 3, 3, p.stride, 0, 0));
  EXPECT_EQ(p.bytes, before);
  EXPECT_TRUE(AdjustLightness(p.bytes.data(), 3, 2, 3, 3, p.stride, 63, 0));
  EXPECT_EQ(p.at(0, 0)[0], 73);
  EXPECT_EQ(p.at(0, 0)[2], 255);
  p.bytes = before;
  EXPECT_TRUE(AdjustContrast(p.bytes.data(), 3, 2, 3, 3, p.stride, 64, 0));
  EXPECT_EQ(p.at(1, 0)[0], 128);
  EXPECT_EQ(p.at(0, 0)[1], 128 + (100 - 128) * 192 / 128);
  p.bytes = before;
  EXPECT_TRUE(AdjustSaturation(p.bytes.data(), 3, 2, 3, 3, p.stride, 127, 0));
  EXPECT_EQ(p.at(1, 0)[2], 128);  // grey stays grey
  EXPECT_LT(p.at(0, 0)[0], 10);   // the weakest channel falls, the strongest holds
  EXPECT_EQ(p.at(0, 0)[2], 255);
  p.bytes = before;
  EXPECT_TRUE(AdjustHue(p.bytes.data(), 3, 2, 3, 3, p.stride, 85, 0));
  EXPECT_NEAR(p.at(1, 0)[1], 128, 1);
  // Red turned a third of the way round comes out blue.
  EXPECT_GT(p.at(2, 0)[0], 200);
  EXPECT_LT(p.at(2, 0)[2], 40);
}

TEST_F(PictorinTest, AdjustmentsRefuseOtherLayoutsAndStrengthsAndTouchNothing) {
  Pixels p(4, 4);
  p.fillRandom(1);
  const auto before = p.bytes;
  for (auto* adjust : {&AdjustLightness, &AdjustHue, &AdjustContrast, &AdjustSaturation}) {
    EXPECT_FALSE(adjust(p.bytes.data(), 4, 4, 1, 1, p.stride, 50, 0));   // an 8-bit picture
    EXPECT_FALSE(adjust(p.bytes.data(), 4, 4, 4, 4, p.stride, 50, 0));   // 32-bit
    EXPECT_FALSE(adjust(p.bytes.data(), 4, 4, 3, 3, 11, 50, 0));         // a row is 12 bytes
    EXPECT_FALSE(adjust(p.bytes.data(), 0, 4, 3, 3, p.stride, 50, 0));
    EXPECT_FALSE(adjust(p.bytes.data(), 4, 4, 3, 3, p.stride, 128, 0));
    EXPECT_FALSE(adjust(p.bytes.data(), 4, 4, 3, 3, p.stride, -128, 0));
    EXPECT_FALSE(adjust(nullptr, 4, 4, 3, 3, p.stride, 5, 0));
    EXPECT_EQ(p.bytes, before);
    EXPECT_TRUE(adjust(p.bytes.data(), 4, 4, 3, 3, 12, -127, 0));
    p.bytes = before;
  }
}

// Every output byte of both filters against the reference; the padding after each row
// (4-byte rows, or `extra` bytes more) keeps what was there.
void expectPlainFilters(Pixels& src, const std::string& what) {
  Pixels fast(src.width, src.height);
  fast.stride = src.stride;
  fast.bytes.assign(src.bytes.size(), 0xA5);
  for (const bool median : {false, true}) {
    auto* filter = median ? &MedianSmooth : &GaussSmooth;
    ASSERT_TRUE(filter(src.bytes.data(), 3, 3, src.width, src.height, src.stride, fast.bytes.data()));
    int wrong = 0, padding = 0;
    for (int y = 0; y < src.height; ++y) {
      for (int x = 0; x < src.width; ++x)
        for (int c = 0; c < 3; ++c) wrong += fast.at(x, y)[c] != referenceFilter(src, x, y, c, median);
      for (int b = src.width * 3; b < src.stride; ++b) padding += fast.at(0, y)[b] != 0xA5;
    }
    EXPECT_EQ(wrong, 0) << what << (median ? " median" : " gauss");
    EXPECT_EQ(padding, 0) << what << (median ? " median" : " gauss");
  }
}

TEST_F(PictorinTest, SmoothingMatchesThePlainFiltersEdgesIncluded) {
  // Single pixels, rows and columns; odd and even sides around the widths the row loops
  // step by, and heights that end on a short block of rows.
  for (const auto& [w, h] : {std::pair{1, 1}, {1, 2}, {2, 1}, {1, 29}, {31, 1}, {2, 3}, {3, 2}, {5, 4}, {17, 9},
                             {64, 33}, {40, 16}, {75, 2}, {2, 75}, {613, 401}}) {
    Pixels src(w, h);
    src.fillRandom(static_cast<unsigned>(w * 100 + h));
    expectPlainFilters(src, std::to_string(w) + "x" + std::to_string(h));
  }
}

TEST_F(PictorinTest, SmoothingMatchesThePlainFiltersOnRandomPicturesAndStrides) {
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    const int w = 1 + static_cast<int>(random() % 150), h = 1 + static_cast<int>(random() % 40);
    Pixels src(w, h);
    src.stride += 4 * static_cast<int>(random() % 3);
    src.bytes.resize(static_cast<std::size_t>(src.stride) * h);
    src.fillRandom(static_cast<unsigned>(round));
    // Flat runs and the extremes too, where ties and the rounding's top end show.
    if (round % 3 == 1)
      for (auto& b : src.bytes) b = b < 128 ? 0 : 255;
    if (round % 3 == 2)
      for (auto& b : src.bytes) b &= 0xE0;
    expectPlainFilters(src, std::to_string(w) + "x" + std::to_string(h) + " stride " + std::to_string(src.stride));
  }
}

TEST_F(PictorinTest, MedianRemovesASpeckThatGaussSpreads) {
  Pixels src(5, 5), out(5, 5);
  src.at(2, 2)[1] = 255;
  MedianSmooth(src.bytes.data(), 3, 3, 5, 5, src.stride, out.bytes.data());
  EXPECT_EQ(out.at(2, 2)[1], 0);
  GaussSmooth(src.bytes.data(), 3, 3, 5, 5, src.stride, out.bytes.data());
  EXPECT_EQ(out.at(2, 2)[1], (255 * 4 + 8) / 16);
  EXPECT_EQ(out.at(1, 1)[1], (255 + 8) / 16);
  EXPECT_EQ(out.at(0, 0)[1], 0);
  EXPECT_FALSE(GaussSmooth(src.bytes.data(), 3, 3, 5, 5, src.stride, src.bytes.data()));
  EXPECT_FALSE(MedianSmooth(src.bytes.data(), 1, 1, 5, 5, src.stride, out.bytes.data()));
}

TEST_F(PictorinTest, HistogramCountsEachChannelAndDrawsTheChosenOnes) {
  Pixels p(4, 2);
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 2; ++y) p.at(x, y)[2] = static_cast<std::uint8_t>(x < 3 ? 200 : 10);
  std::vector<DWORD> counts(PICTORIN_CHANNELS * PICTORIN_BINS, 7);
  DWORD maxima[PICTORIN_CHANNELS] = {};
  ASSERT_TRUE(HistogramFromDIB(p.bytes.data(), 3, 3, 4, 2, p.stride, 15, counts.data(), maxima));
  EXPECT_EQ(counts[PICTORIN_CHANNEL_RED * 256 + 200], 6u);
  EXPECT_EQ(counts[PICTORIN_CHANNEL_RED * 256 + 10], 2u);
  EXPECT_EQ(counts[PICTORIN_CHANNEL_BLUE * 256 + 0], 8u);
  EXPECT_EQ(maxima[PICTORIN_CHANNEL_RED], 6u);
  ASSERT_TRUE(HistogramFromDIB(p.bytes.data(), 3, 3, 4, 2, p.stride, 1, counts.data(), maxima));
  EXPECT_EQ(counts[PICTORIN_CHANNEL_BLUE * 256 + 0], 0u);
  EXPECT_EQ(maxima[PICTORIN_CHANNEL_BLUE], 0u);
  EXPECT_FALSE(HistogramFromDIB(p.bytes.data(), 1, 3, 4, 2, p.stride, 15, counts.data(), maxima));

  HDC dc = CreateCompatibleDC(nullptr);
  HDC screen = GetDC(nullptr);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 300, 120);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, canvas);
  PatBlt(dc, 0, 0, 300, 120, BLACKNESS);
  ASSERT_TRUE(HistogramFromDIB(p.bytes.data(), 3, 3, 4, 2, p.stride, 15, counts.data(), maxima));
  const RECT area{10, 10, 10 + 256, 110};
  const COLORREF colours[3] = {0x0000FF, 0x00FF00, 0xFF0000};
  ASSERT_TRUE(DrawHistogram(dc, &area, 3, 7, counts.data(), maxima, colours, 0, 0, 0, 0, 0));
  // The red curve peaks at the top of the rectangle at value 200; nothing is drawn outside.
  EXPECT_EQ(GetPixel(dc, 10 + 200, 10), RGB(255, 0, 0));
  int outside = 0;
  for (int x = 0; x < 300; ++x) outside += GetPixel(dc, x, 5) != 0 || GetPixel(dc, x, 115) != 0;
  EXPECT_EQ(outside, 0);
  EXPECT_FALSE(DrawHistogram(dc, nullptr, 3, 7, counts.data(), maxima, colours, 0, 0, 0, 0, 0));
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
}

TEST_F(PictorinTest, DisplayDrawsThePartOfThePictureAsked) {
  const auto picture = test::TestPicture::ramps(20, 10, 4);
  HGLOBAL dib = DIBRead(put("a.bmp", test::BmpBytes(picture)).c_str());
  HDC dc = CreateCompatibleDC(nullptr);
  HDC screen = GetDC(nullptr);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 40, 20);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, canvas);
  const RECT to{0, 0, 20, 10}, from{0, 0, 20, 10};
  ASSERT_TRUE(DIBDisplay(dc, &to, dib, &from, 0));
  const std::uint8_t* px = picture.at(19, 0);
  EXPECT_EQ(GetPixel(dc, 19, 0), RGB(px[2], px[1], px[0]));
  px = picture.at(3, 9);
  EXPECT_EQ(GetPixel(dc, 3, 9), RGB(px[2], px[1], px[0]));
  const RECT corner{30, 10, 31, 11}, one{5, 5, 6, 6};
  ASSERT_TRUE(DIBDisplay(dc, &corner, dib, &one, 0));
  px = picture.at(5, 5);
  EXPECT_EQ(GetPixel(dc, 30, 10), RGB(px[2], px[1], px[0]));
  EXPECT_FALSE(DIBDisplay(dc, &to, nullptr, &from, 0));
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
  GlobalFree(dib);
}

}  // namespace
