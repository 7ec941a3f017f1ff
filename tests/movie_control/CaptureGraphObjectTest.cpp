#include "KinovarTest.h"

#include <movie_control/CCaptureGraphObject.h>

#include <machine/TestPicture.h>
#include <machine/VideoSurfaces.h>
#include <support/FrameStepping.h>
#include <win32/user.h>

namespace {

class CaptureGraphObjectTest : public test::KinovarTest {
 protected:
  void SetUp() override {
    KinovarTest::SetUp();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "KinovarGraphTestHost";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, "KinovarGraphTestHost", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                             nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    graph.ReleaseGraph();
    DestroyWindow(window);
    KinovarTest::TearDown();
  }
  std::shared_ptr<plat::VideoSurface> surface() {
    const auto owned = machine().service<plat::VideoSurfaces>().ownedBy(window);
    return owned.empty() ? nullptr : owned.back();
  }
  // The colour in the middle of the left edge of the shown picture (the station's background).
  std::uint32_t backgroundPixel() {
    const auto frame = surface()->frame();
    return frame.pixels[static_cast<std::size_t>(frame.height / 2) * frame.width + 2];
  }

  HWND window = nullptr;
  CCaptureGraphObject graph;
};

bool near(std::uint32_t pixel, plat::Rgb colour) {
  const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  return std::abs(r - colour.r) < 8 && std::abs(g - colour.g) < 8 && std::abs(b - colour.b) < 8;
}

}  // namespace

TEST_F(CaptureGraphObjectTest, TheCardIsFoundByItsPathAndItsPreviewShowsTheTunedStation) {
  ASSERT_EQ(graph.BuildCaptureGraph(window, window, 0x8001), S_OK);
  EXPECT_EQ(graph.FriendlyName(), "Talvik Sorrel PCI TV Card");
  EXPECT_NE(graph.DevicePath().find("ven_1131&dev_7130"), std::string::npos);
  ASSERT_NE(graph.Tuner(), nullptr);
  EXPECT_EQ(graph.Tuner()->Core().DeviceTuner(), nullptr);

  ASSERT_EQ(graph.Tuner()->put_Channel(2, -1, -1), S_OK);
  ASSERT_EQ(graph.ShowVideoWindow(true), S_OK);
  ASSERT_EQ(graph.Run(), S_OK);
  ASSERT_TRUE(test::ShowFrames(machine(), surface(), 2));
  EXPECT_TRUE(near(backgroundPixel(), plat::TestPicture::stationColour(2)));
  ASSERT_EQ(graph.Tuner()->put_Channel(3, -1, -1), S_OK);
  ASSERT_TRUE(test::ShowFrames(machine(), surface(), 2));
  EXPECT_TRUE(near(backgroundPixel(), plat::TestPicture::stationColour(3)));
  EXPECT_EQ(graph.Stop(), S_OK);
}

TEST_F(CaptureGraphObjectTest, ANameHoldingTheMatchTextIsEnoughAndTheKindComesFromThePath) {
  machine().ini().setValue("CaptureCard", "FriendlyName", "Card VEN_1131&DEV_7130 of the lab");
  machine().ini().setValue("CaptureCard", "DevicePath", "\\\\?\\pci#plain");
  ASSERT_EQ(graph.BuildCaptureGraph(window, window, 0x8001), S_OK);
  EXPECT_EQ(graph.DevicePath().find("VEN_1131"), std::string::npos);
  EXPECT_EQ(CCaptureGraphObject::CardKind(graph.DevicePath()), 0);
  EXPECT_EQ(CCaptureGraphObject::CardKind("\\\\?\\PCI#VEN_1797&DEV_6800#x"), 2);
  EXPECT_EQ(CCaptureGraphObject::CardKind("talvik tv sorrel wdm video capture"), 1);
}

TEST(CaptureGraphObjectWithoutCardTest, TheBuildFailsWhenNoDeviceMatches) {
  test::TestMachine machine;
  CoInitialize(nullptr);
  CCaptureGraphObject graph;
  EXPECT_EQ(graph.BuildCaptureGraph(nullptr, nullptr, 0x8001), E_FAIL);  // only the TV stick is there
  long width = 0;
  EXPECT_EQ(graph.GetFrameSize(&width, nullptr), E_UNEXPECTED);
  graph.ReleaseGraph();
  EXPECT_EQ(graph.Run(), E_UNEXPECTED);
  EXPECT_EQ(graph.ShowVideoWindow(true), E_UNEXPECTED);
  CoUninitialize();
}

TEST_F(CaptureGraphObjectTest, FrameSizesFollowTheStreamCapabilities) {
  ASSERT_EQ(graph.BuildCaptureGraph(window, window, 0x8001), S_OK);
  long width = 0, height = 0;
  ASSERT_EQ(graph.GetFrameSize(&width, &height), S_OK);
  ASSERT_EQ(graph.SetFrameSize(700, 5000), S_OK);  // rounded up to 16, the height kept to the maximum
  ASSERT_EQ(graph.GetFrameSize(&width, &height), S_OK);
  EXPECT_EQ(width, 704);
  EXPECT_EQ(height, 576);
  ASSERT_EQ(graph.SetFrameSize(10, 10), S_OK);
  ASSERT_EQ(graph.GetFrameSize(&width, nullptr), S_OK);
  EXPECT_EQ(width, 160);
  ASSERT_EQ(graph.SetFrameSize(719, 288), S_OK);  // rounding past the largest width stays within it
  ASSERT_EQ(graph.GetFrameSize(&width, &height), S_OK);
  EXPECT_EQ(width, 720);
  EXPECT_EQ(height, 288);
}

TEST_F(CaptureGraphObjectTest, PictureValuesReachTheCardAndOutOfRangeOnesAreRefused) {
  ASSERT_EQ(graph.BuildCaptureGraph(window, window, 0x8001), S_OK);
  long minimum = 0, maximum = 0, def = 0;
  ASSERT_EQ(graph.GetVideoRange(0, &minimum, &maximum, nullptr, &def, nullptr), S_OK);
  EXPECT_EQ(maximum, card().procAmpRange(0).max);
  ASSERT_EQ(graph.SetVideoProperty(0, maximum, 2), S_OK);
  EXPECT_EQ(card().procAmp(0), maximum);
  long value = 0;
  ASSERT_EQ(graph.GetVideoProperty(0, &value, nullptr), S_OK);
  EXPECT_EQ(value, maximum);
  EXPECT_TRUE(FAILED(graph.SetVideoProperty(0, maximum + 1, 2)));
  EXPECT_TRUE(FAILED(graph.SetVideoProperty(9, 0, 2)));
  long standards = 0;
  ASSERT_EQ(graph.GetAvailableStandards(&standards), S_OK);
  ASSERT_EQ(graph.SetStandard(0x100), S_OK);
  EXPECT_EQ(card().decoderStandard(), 0x100);
}
