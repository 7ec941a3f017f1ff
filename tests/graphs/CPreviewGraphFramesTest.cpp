// Still pictures of the running preview: the grabbed frame's size, the RGB copy, the
// device-independent bitmap the channel wall takes, and the snapshot files.
#include "CPreviewGraphTest.h"

#include "core/data/CAppSettings.h"

#include <dshow/baseclasses/CTransInPlaceFilter.h>
#include <dshow/engine/PlatformClasses.h>
#include <machine/TvStickControl.h>
#include <vendor/image_grabber/QxmImageGrabber.h>
#include <win32/gdi.h>

#include <cstring>
#include <filesystem>
#include <memory>

namespace test {
namespace {

// An image grabber holding a 6 x 4 picture whose rows (18 bytes in RGB) need padding
// in a bitmap: packed pixels of luma 16 + 10 x column + 40 x row, grey chroma.
class NarrowFrameGrabber : public CTransInPlaceFilter, public IQxmImageGrabber {
 public:
  static constexpr long kWidth = 6;
  static constexpr long kHeight = 4;
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new NarrowFrameGrabber(outer, phr); }

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IQxmImageGrabber) return GetInterface(static_cast<IQxmImageGrabber*>(this), ppv);
    return CTransInPlaceFilter::NonDelegatingQueryInterface(riid, ppv);
  }
  HRESULT CheckInputType(const CMediaType*) override { return S_OK; }
  HRESULT Transform(IMediaSample*) override { return S_OK; }

  STDMETHODIMP GetFrameBufferSize(long* size) override {
    *size = kWidth * kHeight * 2;
    return S_OK;
  }
  STDMETHODIMP CopyFrame(BYTE* buffer, long size) override {
    if (size < kWidth * kHeight * 2) return E_INVALIDARG;
    for (long y = 0; y < kHeight; ++y)
      for (long x = 0; x < kWidth; ++x) {
        buffer[(y * kWidth + x) * 2] = static_cast<BYTE>(16 + 10 * x + 40 * y);
        buffer[(y * kWidth + x) * 2 + 1] = 128;
      }
    return S_OK;
  }
  STDMETHODIMP GetFrameWidth(long* width) override {
    *width = kWidth;
    return S_OK;
  }
  STDMETHODIMP GetFrameHeight(long* height) override {
    *height = kHeight;
    return S_OK;
  }

 private:
  NarrowFrameGrabber(LPUNKNOWN outer, HRESULT* phr)
      : CTransInPlaceFilter("Narrow frame grabber", outer, CLSID_QxmImageGrabber, phr) {}
};

class CPreviewGraphFramesTest : public PreviewGraphTest {
 protected:
  // The station's background, in the device's own colours.
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
  // The clock stands still and the streaming threads have settled: no picture is on its
  // way, so the copy and the section show the same one.
  const std::unique_ptr<BYTE[]> rgb(graph->TakeSnapshot());
  ASSERT_TRUE(rgb);
  HBITMAP dib = graph->GetGrabbedFrameDib();
  ASSERT_NE(dib, nullptr);
  const std::unique_ptr<BYTE[]> after(graph->TakeSnapshot());
  ASSERT_TRUE(after);
  ASSERT_EQ(std::memcmp(rgb.get(), after.get(), 2160u * 576), 0) << "a picture came while the clock stood still";
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

TEST_F(CPreviewGraphFramesTest, ANarrowFramesRowsArePaddedInTheDib) {
  const plat::CreateInstanceFn real = plat::BuiltinClasses::find(CLSID_QxmImageGrabber);
  plat::BuiltinClasses::add(CLSID_QxmImageGrabber, plat::PlatformClasses::create<&NarrowFrameGrabber::CreateInstance>);
  const BOOL built = build(0);
  std::unique_ptr<BYTE[]> rgb(built ? graph->TakeSnapshot() : nullptr);
  HBITMAP dib = built ? graph->GetGrabbedFrameDib() : nullptr;
  graph.reset();
  plat::BuiltinClasses::add(CLSID_QxmImageGrabber, real);
  ASSERT_TRUE(rgb);
  ASSERT_NE(dib, nullptr);

  DIBSECTION section{};
  ASSERT_EQ(GetObjectA(dib, sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBm.bmWidth, 6);
  EXPECT_EQ(section.dsBm.bmHeight, 4);
  EXPECT_EQ(section.dsBm.bmWidthBytes, 20);
  EXPECT_EQ(section.dsBmih.biSizeImage, 80u);
  const auto* bits = static_cast<const BYTE*>(section.dsBm.bmBits);
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(std::memcmp(bits + row * 20, rgb.get() + row * 18, 18), 0) << "row " << row;
    // Bottom row first: the grey rises from the bottom row (luma 136) to the top (16).
    EXPECT_NEAR(bits[row * 20], 1.1644 * (16 + 40 * (3 - row) - 16), 1.0) << "row " << row;
  }
  DeleteObject(dib);
}

TEST_F(CPreviewGraphFramesTest, WithoutAFrameThereIsNoDib) {
  makeGraph();
  EXPECT_EQ(graph->GetGrabbedFrameDib(), nullptr);
  EXPECT_EQ(graph->TakeSnapshot(), nullptr);
  EXPECT_FALSE(graph->SaveSnapshot("C:\\", 0));
  // Built and run, but no picture passed the grabber: the stick was pulled out before the
  // graph ran (a live source captures its first picture at once).
  ASSERT_TRUE(graph->CreateCaptureBuilder());
  ASSERT_TRUE(graph->BuildVideoChain());
  ASSERT_TRUE(graph->SetCaptureFormat(720, 480));
  ASSERT_TRUE(graph->ConnectGraph());
  machine().service<plat::TvStickControl>().setPlugged(false);
  ASSERT_TRUE(graph->Run());
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
