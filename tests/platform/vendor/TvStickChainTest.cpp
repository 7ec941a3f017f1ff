// The modules on live video: the simulated TV stick's capture pin through the image
// grabber and the invert filter into a sink.
#include "FilterModuleTest.h"

#include <support/CaptureDevice.h>

#include <vendor/image_grabber/QxmImageGrabber.h>
#include <vendor/video_invert/QnInvert.h>

#include <machine/Machine.h>

#include <algorithm>

namespace vendortest {
namespace {

class TvStickChainTest : public FilterModuleTest {
 protected:
  // The machine's first video capture device, added to the graph.
  ComPtr<IBaseFilter> addStick() { return test::AddFirstVideoCapture(graph.get()); }
  ComPtr<IPin> pin(IBaseFilter* filter, const wchar_t* name) {
    ComPtr<IPin> found;
    EXPECT_EQ(filter->FindPin(name, found.put()), S_OK);
    return found;
  }
  // Advances the machine clock a frame period at a time, settling after each, while each
  // brings one more frame, `count` times.
  bool stepFrames(FrameSink* sink, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      const size_t before = sink->frames().size();
      machine().clock().advance(40);
      if (!test::holdsWhenSettled(machine().clock(), [&] { return sink->frames().size() > before; })) return false;
    }
    return true;
  }
};

TEST_F(TvStickChainTest, LivePicturesAreGrabbedAndShownAsTheyCame) {
  ComPtr<IBaseFilter> stick = addStick();
  ASSERT_TRUE(stick);
  ComPtr<IBaseFilter> grabberFilter = addModuleFilter("QXM_ImageGrabber.ax", CLSID_QxmImageGrabber, L"Grabber");
  ComPtr<IBaseFilter> invert = addModuleFilter("qn_invert.ax", CLSID_QnVideoInvert, L"Invert");
  ASSERT_TRUE(grabberFilter && invert);
  auto* sink = add(new FrameSink(), L"Sink");
  ASSERT_EQ(graph->ConnectDirect(pin(stick.get(), L"Capture").get(), firstPin(grabberFilter.get(), PINDIR_INPUT),
                                 nullptr),
            S_OK);
  ASSERT_EQ(graph->ConnectDirect(firstPin(grabberFilter.get(), PINDIR_OUTPUT), firstPin(invert.get(), PINDIR_INPUT),
                                 nullptr),
            S_OK);
  ASSERT_EQ(graph->ConnectDirect(firstPin(invert.get(), PINDIR_OUTPUT), sink->input(), nullptr), S_OK);

  ASSERT_TRUE(SUCCEEDED(control()->Run()));
  ASSERT_TRUE(stepFrames(sink, 3));
  ComPtr<IQxmImageGrabber> grabber;
  ASSERT_EQ(grabberFilter->QueryInterface(IID_IQxmImageGrabber, grabber.putVoid()), S_OK);
  long size = 0;
  ASSERT_EQ(grabber->GetFrameBufferSize(&size), S_OK);
  std::vector<BYTE> grabbed(static_cast<size_t>(size));
  ASSERT_EQ(grabber->CopyFrame(grabbed.data(), size), S_OK);
  const std::vector<BYTE> shown = sink->frames().back();
  control()->Stop();

  ASSERT_EQ(shown.size(), grabbed.size());
  EXPECT_NE(std::count(grabbed.begin(), grabbed.end(), grabbed[0]), static_cast<long>(grabbed.size()));
  size_t mismatches = 0;
  for (size_t i = 0; i < grabbed.size(); ++i) mismatches += shown[i] != grabbed[i];
  EXPECT_EQ(mismatches, 0u);
}

}  // namespace
}  // namespace vendortest
