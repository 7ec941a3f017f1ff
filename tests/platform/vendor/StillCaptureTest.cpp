// The still capture filter writes the first picture it receives while running to the
// file name set, as a 24-bit bitmap that LoadImage reads back the right way up.
#include "FilterModuleTest.h"

#include <vendor/still_capture/QnStillCap.h>

#include <com/objbase.h>
#include <win32/file.h>
#include <win32/gdi.h>
#include <win32/handleapi.h>

namespace vendortest {
namespace {

constexpr LONG kWidth = 16;
constexpr LONG kHeight = 8;
// 54 header bytes and 8 rows of 16 pixels, 48 bytes each.
constexpr long kBitmapFileSize = 54 + 48 * 8;

class StillCaptureTest : public FilterModuleTest {
 protected:
  void SetUp() override {
    FilterModuleTest::SetUp();
    filter = addModuleFilter("QNStillCap.ax", CLSID_QnStillCapture, L"Quarnelix StillCapture");
    ASSERT_TRUE(filter);
    ASSERT_EQ(filter->QueryInterface(IID_IFileSinkFilter, sink.putVoid()), S_OK);
  }
  void TearDown() override {
    sink.reset();
    filter.reset();
    FilterModuleTest::TearDown();
  }

  static long fileSize(LPCSTR path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    const DWORD size = GetFileSize(file, nullptr);
    CloseHandle(file);
    return static_cast<long>(size);
  }
  // Runs the pictures into the filter until the bitmap is complete, then stops.
  void capture(const CMediaType& type, std::vector<std::vector<BYTE>> frames) {
    auto* source = add(new FrameSource(type, std::move(frames)), L"Source");
    ASSERT_EQ(graph->ConnectDirect(source->output(), firstPin(filter.get(), PINDIR_INPUT), nullptr), S_OK);
    ASSERT_EQ(sink->SetFileName(L"C:\\snap.bmp", nullptr), S_OK);
    ASSERT_TRUE(SUCCEEDED(control()->Run()));
    EXPECT_TRUE(test::holdsWhenSettled(machine().clock(), [] { return fileSize("C:\\snap.bmp") == kBitmapFileSize; }));
    control()->Stop();
  }
  // The bitmap file's pixel colours, as LoadImage reads them.
  static std::vector<COLORREF> loadedColours(const std::vector<POINT>& points) {
    std::vector<COLORREF> colours;
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, "C:\\snap.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    EXPECT_TRUE(bitmap);
    if (!bitmap) return colours;
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, kWidth);
    EXPECT_EQ(info.bmHeight, kHeight);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (const POINT& point : points) colours.push_back(GetPixel(dc, point.x, point.y));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return colours;
  }

  ComPtr<IBaseFilter> filter;
  ComPtr<IFileSinkFilter> sink;
};

TEST_F(StillCaptureTest, FileNameIsKeptAndNullRefused) {
  LPOLESTR name = nullptr;
  EXPECT_EQ(sink->SetFileName(nullptr, nullptr), E_POINTER);
  EXPECT_EQ(sink->GetCurFile(nullptr, nullptr), E_POINTER);
  EXPECT_EQ(sink->GetCurFile(&name, nullptr), E_FAIL);
  ASSERT_EQ(sink->SetFileName(L"C:\\thumb.bmp", nullptr), S_OK);
  ASSERT_EQ(sink->GetCurFile(&name, nullptr), S_OK);
  EXPECT_STREQ(name, L"C:\\thumb.bmp");
  CoTaskMemFree(name);
}

// RGB24 is stored bottom row first: the first picture's top half is blue, its bottom
// half green; the second picture, all red, must not be the one written.
TEST_F(StillCaptureTest, FirstRgbPictureIsWrittenTheRightWayUp) {
  const CMediaType type = videoType(MEDIASUBTYPE_RGB24, kWidth, kHeight);
  std::vector<BYTE> first(imageSize(type));
  for (size_t row = 0; row < kHeight; ++row)
    for (size_t x = 0; x < kWidth; ++x) first[row * 48 + x * 3 + (row < 4 ? 1 : 0)] = 200;  // memory row 0 is the bottom
  std::vector<BYTE> second(imageSize(type));
  for (size_t i = 2; i < second.size(); i += 3) second[i] = 200;
  capture(type, {first, second});
  EXPECT_EQ(loadedColours({{0, 0}, {15, 3}, {0, 4}, {15, 7}}),
            (std::vector<COLORREF>{RGB(0, 0, 200), RGB(0, 0, 200), RGB(0, 200, 0), RGB(0, 200, 0)}));
}

// YUY2 is stored top row first: red on top, blue below.
TEST_F(StillCaptureTest, Yuy2PictureIsConvertedToRgb) {
  const CMediaType type = videoType(MEDIASUBTYPE_YUY2, kWidth, kHeight);
  std::vector<BYTE> picture(imageSize(type));
  for (size_t row = 0; row < kHeight; ++row)
    for (size_t pair = 0; pair < kWidth / 2; ++pair) {
      BYTE* yuyv = &picture[row * 32 + pair * 4];
      const bool red = row < 4;
      yuyv[0] = yuyv[2] = red ? 81 : 41;   // luma
      yuyv[1] = red ? 90 : 240;            // U
      yuyv[3] = red ? 240 : 110;           // V
    }
  capture(type, {picture});
  const std::vector<COLORREF> colours = loadedColours({{0, 0}, {0, 7}});
  ASSERT_EQ(colours.size(), 2u);
  EXPECT_GT(GetRValue(colours[0]), 220);
  EXPECT_LT(GetBValue(colours[0]), 30);
  EXPECT_GT(GetBValue(colours[1]), 220);
  EXPECT_LT(GetRValue(colours[1]), 30);
}

}  // namespace
}  // namespace vendortest
