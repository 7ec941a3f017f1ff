// Still pictures of the running preview: the grabbed frame's size, the RGB copy, the
// device-independent bitmap the channel wall takes, and the snapshot files.
#include "CPreviewGraphTest.h"

#include "core/CAppSettings.h"

#include <win32/gdi.h>

#include <filesystem>
#include <memory>

namespace test {
namespace {

class CPreviewGraphFramesTest : public PreviewGraphTest {
 protected:
  // The station's background: the grabber sits before the invert filter, so its pictures
  // are the device's own colours.
  static bool IsStation(const BYTE* bgr, int station) {
    const plat::Rgb wanted = plat::TestPicture::stationColour(station);
    return std::abs(bgr[2] - wanted.r) <= 16 && std::abs(bgr[1] - wanted.g) <= 16 && std::abs(bgr[0] - wanted.b) <= 16;
  }
};

TEST_F(CPreviewGraphFramesTest, TheGrabbedFrameHasTheCaptureSize) {
  makeGraph();
  EXPECT_FALSE(graph->GetGrabbedFrameSize()) << "no grabber before the build";
  ASSERT_TRUE(build(0));
  ASSERT_TRUE(waitForGrabbedFrame());
  ASSERT_TRUE(graph->GetGrabbedFrameSize());
  EXPECT_EQ(graph->GetFrameWidth(), 720);
  EXPECT_EQ(graph->GetFrameHeight(), 480);

  ASSERT_TRUE(graph->SetSize(720, 576));
  ASSERT_TRUE(graph->GetGrabbedFrameSize());
  EXPECT_EQ(graph->GetFrameHeight(), 576);
}

TEST_F(CPreviewGraphFramesTest, ASnapshotIsTheStationsPictureBottomRowFirst) {
  ASSERT_TRUE(build(0));
  ASSERT_TRUE(waitForGrabbedFrame());
  const std::unique_ptr<BYTE[]> rgb(graph->TakeSnapshot());
  ASSERT_TRUE(rgb);
  // The bottom rows are the background; the top rows hold the white channel number.
  int station_rows = 0;
  for (int x = 0; x < 720; ++x) station_rows += IsStation(rgb.get() + x * 3, station) ? 1 : 0;
  EXPECT_GT(station_rows, 540);
  const BYTE* numberPixel = rgb.get() + (479 - 480 / 20 - 4) * 720 * 3 + (720 / 20 + 4) * 3;
  EXPECT_FALSE(IsStation(numberPixel, station));
}

TEST_F(CPreviewGraphFramesTest, TheDibOfA720x576FrameHas2160ByteRowsOfTheGrabbedPicture) {
  g_pAppSettings->LineStandard = 3;
  ASSERT_TRUE(build(0));
  ASSERT_TRUE(waitForGrabbedFrame());
  // The clock stands still: the copy and the section show the same picture.
  const std::unique_ptr<BYTE[]> rgb(graph->TakeSnapshot());
  ASSERT_TRUE(rgb);
  HBITMAP dib = graph->GetGrabbedFrameDib();
  ASSERT_NE(dib, nullptr);
  DIBSECTION section{};
  ASSERT_EQ(GetObjectA(dib, sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBm.bmWidth, 720);
  EXPECT_EQ(section.dsBm.bmHeight, 576);
  EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
  EXPECT_EQ(section.dsBm.bmWidthBytes, 2160);
  EXPECT_EQ(section.dsBmih.biSizeImage, 2160u * 576);
  EXPECT_EQ(section.dsBmih.biCompression, static_cast<DWORD>(BI_RGB));
  ASSERT_NE(section.dsBm.bmBits, nullptr);
  EXPECT_EQ(std::memcmp(section.dsBm.bmBits, rgb.get(), 2160u * 576), 0);
  DeleteObject(dib);
}

TEST_F(CPreviewGraphFramesTest, WithoutAFrameThereIsNoDib) {
  makeGraph();
  EXPECT_EQ(graph->GetGrabbedFrameDib(), nullptr);
  EXPECT_EQ(graph->TakeSnapshot(), nullptr);
  EXPECT_FALSE(graph->SaveSnapshot("C:\\", 0));
  // Built but stopped before any picture passed the grabber.
  ASSERT_TRUE(build(0));
  graph->Stop();
  EXPECT_EQ(graph->GetGrabbedFrameDib(), nullptr);
}

TEST_F(CPreviewGraphFramesTest, SnapshotsAreNumberedFilesInTheFolder) {
  const std::filesystem::path folder = machine().paths().driveFolder('C') / "Pictures";
  std::filesystem::create_directories(folder);
  ASSERT_TRUE(build(0));
  ASSERT_TRUE(waitForGrabbedFrame());
  EXPECT_TRUE(graph->SaveSnapshot("C:\\Pictures\\", 0));
  EXPECT_TRUE(graph->SaveSnapshot("C:\\Pictures\\", 0));
  EXPECT_EQ(std::filesystem::file_size(folder / "cap00.bmp"), 54u + 720 * 480 * 3);
  EXPECT_TRUE(std::filesystem::exists(folder / "cap01.bmp"));
}

}  // namespace
}  // namespace test
