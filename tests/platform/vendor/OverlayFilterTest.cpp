// The overlay filter draws its text or picture layer over the video, answers its
// interface at the fixed vtable places, records every call in events.log and fails at
// the slot machine.ini names.
#include "FilterModuleTest.h"

#include <vendor/overlay_filter/QxmOverlay.h>

#include <machine/EventLog.h>
#include <win32/gdi.h>

#include <cstring>

namespace vendortest {
namespace {

class OverlayFilterTest : public FilterModuleTest {
 protected:
  void SetUp() override {
    FilterModuleTest::SetUp();
    filter = addModuleFilter("QXM_OverlayFilter.ax", CLSID_QxmOverlayFilter, L"QXM_OverlayFilter");
    ASSERT_TRUE(filter);
    ASSERT_EQ(filter->QueryInterface(IID_IQxmOverlay, overlay.putVoid()), S_OK);
  }
  void TearDown() override {
    overlay.reset();
    filter.reset();
    FilterModuleTest::TearDown();
  }

  static LOGFONTA font(LONG height) {
    LOGFONTA result{};
    result.lfHeight = height;
    result.lfWeight = FW_NORMAL;
    std::strcpy(result.lfFaceName, "Arial");
    return result;
  }
  // Shows `text` in `ink` at (x, y) with black as the key colour.
  void showText(const char* text, COLORREF ink, int x, int y) {
    ASSERT_EQ(overlay->SetMode(QXM_OVERLAY_TEXT), S_OK);
    ASSERT_EQ(overlay->SetFont(font(-16), QXM_LAYER_TEXT), S_OK);
    ASSERT_EQ(overlay->SetBlend(0, 0, -1.0, QXM_LAYER_TEXT), S_OK);
    ASSERT_EQ(overlay->SetPosition(x, y, QXM_LAYER_TEXT), S_OK);
    ASSERT_EQ(overlay->SetColors(ink, 0, QXM_LAYER_TEXT), S_OK);
    ASSERT_EQ(overlay->SetContent(reinterpret_cast<LONG_PTR>(text), static_cast<LONG_PTR>(std::strlen(text)),
                                  QXM_LAYER_TEXT),
              S_OK);
  }
  std::vector<std::string> calls() {
    std::vector<std::string> texts;
    for (const auto& entry : plat::EventLog::events(machine()).read())
      if (entry.category == "QXM_OverlayFilter") texts.push_back(entry.text);
    return texts;
  }
  // Calls the interface method at `slot` (counted from 1 with IUnknown's three) through
  // the vtable, so the places are checked, not the names.
  template <class... Args>
  HRESULT callSlot(int slot, Args... args) {
    using Method = HRESULT (*)(IQxmOverlay*, Args...);
    void** vtable = *reinterpret_cast<void***>(overlay.get());
    return reinterpret_cast<Method>(vtable[slot - 1])(overlay.get(), args...);
  }

  ComPtr<IBaseFilter> filter;
  ComPtr<IQxmOverlay> overlay;
};

// RGB32 with a positive height: bottom row first.
const BYTE* rgb32At(const std::vector<BYTE>& frame, int width, int height, int x, int y) {
  return &frame[(static_cast<size_t>(height - 1 - y) * width + x) * 4];
}

TEST_F(OverlayFilterTest, TextLayerDrawsTheTextInItsColourAtItsPosition) {
  showText("HI", RGB(0, 255, 0), 8, 4);
  const CMediaType type = videoType(MEDIASUBTYPE_RGB32, 64, 32);
  const auto frames = passThrough(filter.get(), type, {std::vector<BYTE>(imageSize(type), 0)});
  ASSERT_EQ(frames.size(), 1u);
  int green = 0;
  int full = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) {
      const BYTE* pixel = rgb32At(frames[0], 64, 32, x, y);
      EXPECT_EQ(pixel[0], 0) << x << "," << y;  // blue
      EXPECT_EQ(pixel[2], 0) << x << "," << y;  // red
      if (pixel[1] == 0) continue;
      ++green;
      full += pixel[1] == 255;
      EXPECT_GE(x, 8);
      EXPECT_GE(y, 4);
    }
  EXPECT_GT(green, 20);
  EXPECT_GT(full, 5);
}

TEST_F(OverlayFilterTest, TextLayerDrawsOnYuy2PicturesToo) {
  showText("HI", RGB(255, 255, 255), 10, 6);
  const CMediaType type = videoType(MEDIASUBTYPE_YUY2, 64, 32);
  std::vector<BYTE> black(imageSize(type));
  for (size_t i = 0; i < black.size(); ++i) black[i] = i % 2 ? 128 : 16;
  const auto frames = passThrough(filter.get(), type, {black});
  ASSERT_EQ(frames.size(), 1u);
  int bright = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) {
      const BYTE luma = frames[0][(static_cast<size_t>(y) * 64 + x) * 2];
      if (luma == 16) continue;
      EXPECT_GE(x, 10);
      EXPECT_GE(y, 6);
      bright += luma >= 230;
    }
  EXPECT_GT(bright, 5);
}

TEST_F(OverlayFilterTest, PictureLayerIsStretchedBlendedAndKeyedOut) {
  // 4 x 4 blue, the bottom-right pixel red (the key colour).
  std::vector<BYTE> bits(4 * 4 * 4, 0);
  for (size_t i = 0; i < 16; ++i) bits[i * 4] = 255;
  bits[15 * 4] = 0;
  bits[15 * 4 + 2] = 255;
  HBITMAP picture = CreateBitmap(4, 4, 1, 32, bits.data());
  ASSERT_TRUE(picture);
  ASSERT_EQ(overlay->SetMode(QXM_OVERLAY_PICTURE), S_OK);
  ASSERT_EQ(overlay->SetBlend(0, 0, 0.5, QXM_LAYER_PICTURE), S_OK);
  ASSERT_EQ(overlay->SetPosition(2, 3, QXM_LAYER_PICTURE), S_OK);
  ASSERT_EQ(overlay->SetColors(0, RGB(255, 0, 0), QXM_LAYER_PICTURE), S_OK);
  ASSERT_EQ(overlay->SetContent(8, 8, QXM_LAYER_PICTURE), S_OK);
  ASSERT_EQ(overlay->SetPicture(reinterpret_cast<LONG_PTR>(picture)), S_OK);
  DeleteObject(picture);  // the filter keeps a copy

  const CMediaType type = videoType(MEDIASUBTYPE_RGB32, 16, 16);
  const auto frames = passThrough(filter.get(), type, {std::vector<BYTE>(imageSize(type), 255)});
  ASSERT_EQ(frames.size(), 1u);
  auto colour = [&](int x, int y) {
    const BYTE* pixel = rgb32At(frames[0], 16, 16, x, y);
    return RGB(pixel[2], pixel[1], pixel[0]);
  };
  const COLORREF halfBlue = RGB(128, 128, 255);
  const COLORREF white = RGB(255, 255, 255);
  EXPECT_EQ(colour(2, 3), halfBlue);
  EXPECT_EQ(colour(9, 8), halfBlue);
  EXPECT_EQ(colour(8, 9), white);  // the red pixel, stretched to 2 x 2, is keyed out
  EXPECT_EQ(colour(9, 10), white);
  EXPECT_EQ(colour(1, 3), white);
  EXPECT_EQ(colour(10, 3), white);
  EXPECT_EQ(colour(2, 11), white);
}

TEST_F(OverlayFilterTest, ModeOffLeavesPicturesUntouched) {
  showText("HI", RGB(0, 255, 0), 0, 0);
  ASSERT_EQ(overlay->SetMode(QXM_OVERLAY_OFF), S_OK);
  const CMediaType type = videoType(MEDIASUBTYPE_RGB32, 32, 16);
  const std::vector<BYTE> black(imageSize(type), 0);
  const auto frames = passThrough(filter.get(), type, {black});
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0], black);
}

TEST_F(OverlayFilterTest, EveryCallIsRecordedWithItsSlotAndArguments) {
  const char* text = "REC";
  EXPECT_EQ(callSlot(4, 1), S_OK);
  EXPECT_EQ(callSlot(5), E_NOTIMPL);
  EXPECT_EQ(callSlot(8, LONG_PTR{0}), S_OK);
  EXPECT_EQ(callSlot(12, reinterpret_cast<LONG_PTR>(text), LONG_PTR{3}, 1), S_OK);
  EXPECT_EQ(callSlot(12, LONG_PTR{320}, LONG_PTR{240}, 5), S_OK);
  EXPECT_EQ(callSlot(14, DWORD{0x00FF00}, DWORD{0}, 1), S_OK);
  EXPECT_EQ(callSlot(16, 10, 20, 1), S_OK);
  EXPECT_EQ(callSlot(18, font(-16), 1), S_OK);
  EXPECT_EQ(callSlot(19), E_NOTIMPL);
  EXPECT_EQ(callSlot(20, 0, 0, -1.0, 1), S_OK);
  EXPECT_EQ(calls(), (std::vector<std::string>{
                         "4 SetMode(1)",
                         "5 Reserved5()",
                         "8 SetPicture(0)",
                         "12 SetContent(\"REC\", 3, 1)",
                         "12 SetContent(320, 240, 5)",
                         "14 SetColors(0x00FF00, 0x000000, 1)",
                         "16 SetPosition(10, 20, 1)",
                         "18 SetFont(Arial, -16, 400, 1)",
                         "19 Reserved19()",
                         "20 SetBlend(0, 0, -1, 1)",
                     }));
}

TEST_F(OverlayFilterTest, TheSlotNamedInMachineIniFails) {
  machine().ini().setValue("QXM_OverlayFilter", "FailSlot", "18");
  EXPECT_EQ(overlay->SetFont(font(-16), QXM_LAYER_TEXT), E_FAIL);
  EXPECT_EQ(overlay->SetPosition(1, 2, QXM_LAYER_TEXT), S_OK);
  EXPECT_EQ(calls(), (std::vector<std::string>{"18 SetFont(Arial, -16, 400, 1) failed", "16 SetPosition(1, 2, 1)"}));
}

TEST_F(OverlayFilterTest, BadArgumentsAreRefused) {
  EXPECT_EQ(overlay->SetMode(2), E_INVALIDARG);
  EXPECT_EQ(overlay->SetContent(0, 3, QXM_LAYER_TEXT), E_POINTER);
  EXPECT_EQ(overlay->SetContent(reinterpret_cast<LONG_PTR>("A"), -1, QXM_LAYER_TEXT), E_INVALIDARG);
  EXPECT_EQ(overlay->SetContent(-1, 8, QXM_LAYER_PICTURE), E_INVALIDARG);
  EXPECT_EQ(overlay->SetContent(reinterpret_cast<LONG_PTR>("A"), 1, 2), E_INVALIDARG);
  EXPECT_EQ(overlay->SetColors(0, 0, 3), E_INVALIDARG);
  EXPECT_EQ(overlay->SetPosition(0, 0, 0), E_INVALIDARG);
  EXPECT_EQ(overlay->SetFont(font(-16), 4), E_INVALIDARG);
  EXPECT_EQ(overlay->SetBlend(0, 0, 1.0, 6), E_INVALIDARG);
  EXPECT_EQ(overlay->SetPicture(12345), E_INVALIDARG);  // no bitmap
}

}  // namespace
}  // namespace vendortest
