// An AVI the platform's own AVI Mux wrote from the TV stick plays back through
// RenderFile: the AVI Splitter's uncompressed pictures reach the video renderer.
#include "CaptureTest.h"

#include <support/Settling.h>

#include <machine/TestPicture.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>

#include <cstdlib>
#include <filesystem>

using plat::ComPtr;

namespace {

class AviMuxPlaybackTest : public dstest::CaptureTest {
 protected:
  // Ten pictures of 160 x 120 of the tuned channel, 25 a second; returns the channel.
  int captureTenPictures() {
    ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
    ComPtr<IAMStreamConfig> config = as<IAMStreamConfig>(pin(device.get(), L"Capture").get(), IID_IAMStreamConfig);
    AM_MEDIA_TYPE* type = nullptr;
    EXPECT_EQ(config->GetFormat(&type), S_OK);
    auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
    info->bmiHeader.biWidth = 160;
    info->bmiHeader.biHeight = 120;
    info->bmiHeader.biSizeImage = 160 * 120 * 2;
    info->AvgTimePerFrame = 400000;
    EXPECT_EQ(config->SetFormat(type), S_OK);
    DeleteMediaType(type);
    ComPtr<IBaseFilter> mux;
    ComPtr<IFileSinkFilter> sink;
    EXPECT_EQ(builder->SetOutputFileName(&MEDIASUBTYPE_Avi, L"C:\\capture.avi", mux.put(), sink.put()), S_OK);
    EXPECT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device.get(), nullptr, mux.get()), S_OK);
    auto& stick = machine().service<plat::TvStickCapture>();
    stick.tuneCarrier(stick.control().broadcast().stations()[2].carrierHz);
    const auto file = machine().paths().driveFolder('C') / "capture.avi";
    ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
    EXPECT_EQ(control->Run(), S_OK);
    for (int frame = 1; frame <= 10; ++frame) {
      if (frame > 1) machine().clock().advance(40);
      EXPECT_TRUE(test::holdsWhenSettled(machine().clock(), [&] {
        std::error_code ec;
        return std::filesystem::file_size(file, ec) >= 512u + static_cast<unsigned>(frame) * (8u + 160u * 120u * 2u);
      }));
    }
    EXPECT_EQ(control->Stop(), S_OK);
    return stick.scene().number;
  }
};

TEST_F(AviMuxPlaybackTest, AnAviTheMuxWroteRendersToTheVideoRendererAndEnds) {
  const int channel = captureTenPictures();
  builder.reset();
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()), S_OK);
  ASSERT_EQ(graph->RenderFile(L"C:\\capture.avi", nullptr), S_OK);
  const auto all = names();
  EXPECT_NE(std::find(all.begin(), all.end(), L"AVI Splitter"), all.end());

  ComPtr<IMediaSeeking> seeking = graphAs<IMediaSeeking>(IID_IMediaSeeking);
  LONGLONG duration = 0;
  ASSERT_EQ(seeking->GetDuration(&duration), S_OK);
  EXPECT_EQ(duration, 4'000'000);  // ten pictures of 40 ms

  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  ASSERT_TRUE(test::advanceUntil(machine().clock(), [&] { return completed(); }, 100));

  ComPtr<IBasicVideo> video = graphAs<IBasicVideo>(IID_IBasicVideo);
  long size = 0;
  ASSERT_EQ(video->GetCurrentImage(&size, nullptr), S_OK);
  std::vector<long> image(static_cast<size_t>(size + 3) / 4);
  ASSERT_EQ(video->GetCurrentImage(&size, image.data()), S_OK);
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
  ASSERT_EQ(header->biWidth, 160);
  const int bytesPerPixel = header->biBitCount / 8;
  const int stride = (160 * bytesPerPixel + 3) / 4 * 4;
  // The pixel at x 150 of the picture's last row: bottom-up, that is the first row stored.
  const auto* at = reinterpret_cast<const BYTE*>(header + 1) + 150 * bytesPerPixel;
  if (header->biHeight < 0) at += 119 * stride;
  const plat::Rgb wanted = plat::TestPicture::stationColour(channel);
  EXPECT_NEAR(at[2], wanted.r, 8);
  EXPECT_NEAR(at[1], wanted.g, 8);
  EXPECT_NEAR(at[0], wanted.b, 8);
  control->Stop();
}

}  // namespace
