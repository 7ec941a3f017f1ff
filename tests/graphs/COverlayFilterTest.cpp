// The overlay wrapper on the registered overlay module: the methods reach the filter's
// interface slot by slot with the wrapper's values (the filter records each call in the
// machine's events.log), an operation stops at the slot told to fail, and the text lands
// on the live video where it was placed.
#include "FilterFolderGraphTest.h"

#include "graphs/COverlayFilter.h"
#include "graphs/CSnapshotGrabber.h"

#include <machine/EventLog.h>
#include <win32/gdi.h>

#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;
using plat::ComPtr;

class COverlayFilterTest : public test::FilterFolderGraphTest {
 protected:
  static LOGFONTA font(LONG height) {
    LOGFONTA result{};
    result.lfHeight = height;
    result.lfWeight = FW_BOLD;
    std::strcpy(result.lfFaceName, "Arial");
    return result;
  }
  // The overlay calls recorded since the last look.
  Calls calls() {
    Calls texts;
    for (const auto& entry : plat::EventLog::events(machine()).read())
      if (entry.category == "QXM_OverlayFilter") texts.push_back(entry.text);
    Calls fresh(texts.begin() + static_cast<std::ptrdiff_t>(seen), texts.end());
    seen = texts.size();
    return fresh;
  }
  void failAt(int slot) { machine().ini().setValue("QXM_OverlayFilter", "FailSlot", std::to_string(slot)); }

  size_t seen = 0;
};

TEST_F(COverlayFilterTest, WithoutItsFilterNothingIsCalled) {
  COverlayFilter overlay(graph.get());
  EXPECT_FALSE(overlay.Hide());
  EXPECT_FALSE(overlay.ShowGreenText(0, 0, 0, 0, font(-16)));
  EXPECT_FALSE(overlay.ShowText("x", 1, 0, 0, font(-16), 0, 0, 1.0));
  EXPECT_FALSE(overlay.ShowPicture(0, 0, 0, 0, 255, 0, 0, 1.0));
  EXPECT_TRUE(calls().empty());
}

TEST_F(COverlayFilterTest, AddingCallsNothingAndAddingAgainSwitchesTheOverlayOff) {
  COverlayFilter overlay(graph.get());
  ASSERT_TRUE(overlay.AddToGraph());
  EXPECT_TRUE(calls().empty());
  ASSERT_EQ(graph->RemoveFilter(overlay.GetFilter()), S_OK);
  EXPECT_TRUE(names().empty());

  ASSERT_TRUE(overlay.AddToGraph());
  EXPECT_EQ(calls(), Calls{"4 SetMode(0)"});
  EXPECT_EQ(names(), std::vector<std::wstring>{L"QXM_OverlayFilter"});
}

TEST_F(COverlayFilterTest, AFilterStillInTheGraphIsSwitchedOffToo) {
  COverlayFilter overlay(graph.get());
  ASSERT_TRUE(overlay.AddToGraph());
  ASSERT_TRUE(overlay.AddToGraph());
  EXPECT_EQ(calls(), Calls{"4 SetMode(0)"});
  EXPECT_EQ(names(), std::vector<std::wstring>{L"QXM_OverlayFilter"});
}

TEST_F(COverlayFilterTest, TheGreenCaptionIsSentInItsOrder) {
  COverlayFilter overlay(graph.get());
  ASSERT_TRUE(overlay.AddToGraph());
  const char* text = "REC 00:01";
  ASSERT_TRUE(overlay.ShowGreenText(reinterpret_cast<LONG_PTR>(text), 9, 12, 34, font(-20)));
  EXPECT_EQ(calls(), (Calls{"4 SetMode(1)", "18 SetFont(Arial, -20, 700, 1)", "20 SetBlend(0, 0, -1, 1)",
                            "16 SetPosition(12, 34, 1)", "14 SetColors(0x00FF00, 0x000000, 1)",
                            "12 SetContent(\"REC 00:01\", 9, 1)"}));
  EXPECT_TRUE(overlay.Hide());
  EXPECT_EQ(calls(), Calls{"4 SetMode(0)"});
}

TEST_F(COverlayFilterTest, TextTakesTheCallersColoursAndBlend) {
  COverlayFilter overlay(graph.get());
  ASSERT_TRUE(overlay.AddToGraph());
  ASSERT_TRUE(overlay.ShowText("Channel 5 and more", 9, 100, 8, font(-16), 0x0000FF, 0x102030, 0.5));
  EXPECT_EQ(calls(), (Calls{"4 SetMode(1)", "18 SetFont(Arial, -16, 700, 1)", "20 SetBlend(0, 0, 0.5, 1)",
                            "16 SetPosition(100, 8, 1)", "14 SetColors(0x0000FF, 0x102030, 1)",
                            "12 SetContent(\"Channel 5\", 9, 1)"}));
}

TEST_F(COverlayFilterTest, APictureIsSentOnItsLayerAndLast) {
  COverlayFilter overlay(graph.get());
  ASSERT_TRUE(overlay.AddToGraph());
  const DWORD pixels[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  HBITMAP picture = CreateBitmap(2, 2, 1, 32, pixels);
  ASSERT_NE(picture, nullptr);
  const auto handle = reinterpret_cast<LONG_PTR>(picture);
  ASSERT_TRUE(overlay.ShowPicture(handle, 30, 40, 0, 255, 64, 48, 0.75));
  EXPECT_EQ(calls(), (Calls{"4 SetMode(5)", "20 SetBlend(0, 0, 0.75, 5)", "16 SetPosition(30, 40, 5)",
                            "14 SetColors(0x000000, 0x0000FF, 5)", "12 SetContent(64, 48, 5)",
                            "8 SetPicture(" + std::to_string(handle) + ")"}));
  DeleteObject(picture);
}

// A refused font (slot 18) stops the text before position, colours and content.
TEST_F(COverlayFilterTest, EachOperationStopsAtTheFirstSlotThatFails) {
  COverlayFilter overlay(graph.get());
  ASSERT_TRUE(overlay.AddToGraph());
  const Calls textOrder = {"4 SetMode(1)", "18 SetFont(Arial, -16, 700, 1)", "20 SetBlend(0, 0, 1, 1)",
                           "16 SetPosition(1, 2, 1)", "14 SetColors(0x00FFFF, 0x000000, 1)",
                           "12 SetContent(\"ab\", 2, 1)"};
  const int textSlots[] = {4, 18, 20, 16, 14, 12};
  for (size_t failing = 0; failing < textOrder.size(); ++failing) {
    SCOPED_TRACE(textOrder[failing]);
    failAt(textSlots[failing]);
    EXPECT_FALSE(overlay.ShowText("ab", 2, 1, 2, font(-16), 0x00FFFF, 0, 1.0));
    Calls expected(textOrder.begin(), textOrder.begin() + static_cast<std::ptrdiff_t>(failing) + 1);
    expected.back() += " failed";
    EXPECT_EQ(calls(), expected);
  }

  const int pictureSlots[] = {4, 20, 16, 14, 12, 8};
  for (size_t failing = 0; failing < std::size(pictureSlots); ++failing) {
    failAt(pictureSlots[failing]);
    EXPECT_FALSE(overlay.ShowPicture(0, 0, 0, 0, 255, 0, 0, 1.0));
    const Calls made = calls();
    ASSERT_EQ(made.size(), failing + 1);
    EXPECT_EQ(made.back().rfind(std::to_string(pictureSlots[failing]) + " ", 0), 0u) << made.back();
  }

  failAt(4);
  EXPECT_FALSE(overlay.Hide());
  EXPECT_FALSE(overlay.ShowGreenText(0, 0, 0, 0, font(-16)));
  EXPECT_EQ(calls(), (Calls{"4 SetMode(0) failed", "4 SetMode(1) failed"}));
}

// The stick's live picture through the overlay into the image grabber.
TEST_F(COverlayFilterTest, TheGreenTextIsDrawnOnTheLiveVideoWhereItWasPlaced) {
  addStick();
  setCaptureFormat(MEDIASUBTYPE_YUY2, 720, 576);
  COverlayFilter overlay(graph.get());
  CSnapshotGrabber grabber(graph.get());
  ASSERT_TRUE(overlay.AddToGraph());
  ASSERT_TRUE(grabber.AddToGraph());
  ComPtr<IBaseFilter> sink = add(CLSID_NullRenderer, L"Null");
  chain(pin(device.get(), L"Capture").get(), {overlay.GetFilter(), grabber.GetFilter(), sink.get()});

  const char* text = "RECORDING";
  ASSERT_TRUE(overlay.ShowGreenText(reinterpret_cast<LONG_PTR>(text), 9, 200, 300, font(-40)));
  ASSERT_TRUE(SUCCEEDED(control()->Run()));
  long width = 0;
  long height = 0;
  std::unique_ptr<BYTE[]> frame;
  ASSERT_NO_FATAL_FAILURE(settle());
  frame = grabber.GrabFrame(&width, &height);
  ASSERT_NE(frame, nullptr);
  control()->Stop();
  ASSERT_EQ(width, 720);
  ASSERT_EQ(height, 576);

  // Rows of the grabbed picture run bottom to top.
  auto green = [&](int x, int y) {
    const BYTE* bgr = &frame[(static_cast<size_t>(height - 1 - y) * width + x) * 3];
    return bgr[1] > 180 && bgr[0] < 90 && bgr[2] < 90;
  };
  auto countGreen = [&](int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) count += green(x, y);
    return count;
  };
  EXPECT_GT(countGreen(200, 300, 520, 345), 300) << "the text";
  EXPECT_EQ(countGreen(0, 0, 720, 295), 0) << "above it";
  EXPECT_EQ(countGreen(0, 350, 720, 576), 0) << "below it";
  EXPECT_EQ(countGreen(0, 295, 195, 350), 0) << "left of it";
}

}  // namespace
