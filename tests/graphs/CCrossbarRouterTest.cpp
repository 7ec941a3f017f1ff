// Crossbar routing over the stick: every video input reaching the decoder is listed, and
// selecting one routes the video and its sound through each crossbar on the way.
#include "GraphsTest.h"

#include "graphs/CCrossbarRouter.h"
#include "graphs/DeviceUtilities.h"

#include <cstring>

namespace {

using plat::ComPtr;

class CrossbarRouterTest : public test::GraphsTest {
 protected:
  void TearDown() override {
    first.reset();
    second.reset();
    GraphsTest::TearDown();
  }

  void addDevice() {
    ASSERT_TRUE(FindVideoCaptureDevice("USB TV Device", device.put()));
    ASSERT_EQ(graph->AddFilter(device.get(), L"Video Capture"), S_OK);
  }
  IPin* analogIn() { return analog = pin(device.get(), L"Analog Video In"), analog.get(); }
  ComPtr<IAMCrossbar> crossbar(const wchar_t* name) {
    ComPtr<IBaseFilter> filter = add(CLSID_TvStickCrossbar, name);
    ComPtr<IAMCrossbar> xbar;
    filter->QueryInterface(IID_IAMCrossbar, xbar.putVoid());
    return xbar;
  }
  // Filter pin n of a crossbar: inputs first, then outputs.
  static ComPtr<IPin> pinAt(IAMCrossbar* xbar, int n) {
    ComPtr<IBaseFilter> filter;
    xbar->QueryInterface(IID_IBaseFilter, filter.putVoid());
    ComPtr<IEnumPins> walk;
    filter->EnumPins(walk.put());
    ComPtr<IPin> found;
    for (int i = 0; i <= n; ++i) {
      found.reset();
      walk->Next(1, found.put(), nullptr);
    }
    return found;
  }
  static long routedTo(IAMCrossbar* xbar, long output) {
    long input = -1;
    xbar->get_IsRoutedTo(output, &input);
    return input;
  }
  static std::vector<long> types(CCrossbarRouter& router) {
    long count = 0;
    router.GetInputCount(&count);
    std::vector<long> list;
    for (long i = 0; i < count; ++i) {
      long type = 0;
      EXPECT_EQ(router.GetInputType(i, &type), S_OK);
      list.push_back(type);
    }
    return list;
  }

  ComPtr<IPin> analog;
  ComPtr<IAMCrossbar> first;
  ComPtr<IAMCrossbar> second;
};

TEST_F(CrossbarRouterTest, ADeviceWithoutCrossbarListsNothing) {
  addDevice();
  HRESULT hr = S_OK;
  CCrossbarRouter router(analogIn(), &hr);
  EXPECT_EQ(hr, E_FAIL);
  long count = -1;
  ASSERT_EQ(router.GetInputCount(&count), S_OK);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(router.SelectInput(0), E_FAIL);
  EXPECT_EQ(router.GetInputCount(nullptr), E_POINTER);

  HRESULT nullPin = S_OK;
  CCrossbarRouter empty(nullptr, &nullPin);
  EXPECT_EQ(nullPin, E_POINTER);
}

TEST_F(CrossbarRouterTest, TheStickRoutesTunerCompositeAndSVideoToTheDecoder) {
  buildCaptureChain();
  HRESULT hr = E_FAIL;
  CCrossbarRouter router(analogIn(), &hr);
  ASSERT_EQ(hr, S_OK);
  // The unconnected Composite and S-Video sockets are inputs too; sound inputs are not.
  EXPECT_EQ(types(router), (std::vector<long>{PhysConn_Video_Tuner, PhysConn_Video_Composite, PhysConn_Video_SVideo}));
  char name[32];
  ASSERT_EQ(router.GetInputName(2, name, sizeof name), S_OK);
  EXPECT_STREQ(name, "Video SVideo");
  ASSERT_EQ(router.GetInputName(1, name, 8), S_OK);
  EXPECT_STREQ(name, "Video C") << "cut to the buffer, terminated";

  ComPtr<IAMCrossbar> xbar;
  ASSERT_EQ(builder->FindInterface(&LOOK_UPSTREAM_ONLY, nullptr, device.get(), IID_IAMCrossbar, xbar.putVoid()), S_OK);
  ASSERT_EQ(router.SelectInput(1), S_OK);
  EXPECT_EQ(router.GetSelectedInput(), 1);
  EXPECT_EQ(routedTo(xbar.get(), 0), 1) << "Composite video";
  EXPECT_EQ(routedTo(xbar.get(), 1), 4) << "with the line-in sound";
  ASSERT_EQ(router.SelectInput(2), S_OK);
  EXPECT_EQ(routedTo(xbar.get(), 0), 2);
  EXPECT_EQ(routedTo(xbar.get(), 1), 4);
  ASSERT_EQ(router.SelectInput(0), S_OK);
  EXPECT_EQ(routedTo(xbar.get(), 0), 0);
  EXPECT_EQ(routedTo(xbar.get(), 1), 3) << "tuner sound";
}

TEST_F(CrossbarRouterTest, AnIndexEqualToTheCountIsRefusedAndRoutesNothing) {
  buildCaptureChain();
  HRESULT hr = E_FAIL;
  CCrossbarRouter router(analogIn(), &hr);
  ComPtr<IAMCrossbar> xbar;
  ASSERT_EQ(builder->FindInterface(&LOOK_UPSTREAM_ONLY, nullptr, device.get(), IID_IAMCrossbar, xbar.putVoid()), S_OK);
  ASSERT_EQ(router.SelectInput(1), S_OK);
  long type = 0;
  EXPECT_EQ(router.GetInputType(3, &type), E_FAIL);
  char name[32] = "untouched";
  EXPECT_EQ(router.GetInputName(3, name, sizeof name), E_FAIL);
  EXPECT_EQ(router.SelectInput(3), E_FAIL);
  EXPECT_EQ(router.SelectInput(-1), E_FAIL);
  EXPECT_EQ(router.GetSelectedInput(), 1);
  EXPECT_EQ(routedTo(xbar.get(), 0), 1);
}

TEST_F(CrossbarRouterTest, TwoCrossbarsInARowAreBothRouted) {
  addDevice();
  first = crossbar(L"Near Crossbar");
  second = crossbar(L"Far Crossbar");
  // far decoder out -> near tuner in; near decoder out -> device.
  ASSERT_EQ(graph->ConnectDirect(pinAt(second.get(), 5).get(), pinAt(first.get(), 0).get(), nullptr), S_OK);
  ASSERT_EQ(graph->ConnectDirect(pinAt(first.get(), 5).get(), analogIn(), nullptr), S_OK);

  HRESULT hr = E_FAIL;
  CCrossbarRouter router(analog.get(), &hr);
  ASSERT_EQ(hr, S_OK);
  EXPECT_EQ(types(router), (std::vector<long>{PhysConn_Video_Tuner, PhysConn_Video_Composite, PhysConn_Video_SVideo,
                                              PhysConn_Video_Composite, PhysConn_Video_SVideo}));

  ASSERT_EQ(first->Route(0, 2), S_OK);
  ASSERT_EQ(router.SelectInput(1), S_OK) << "the far crossbar's Composite through the near one's tuner input";
  EXPECT_EQ(routedTo(second.get(), 0), 1);
  EXPECT_EQ(routedTo(second.get(), 1), 4);
  EXPECT_EQ(routedTo(first.get(), 0), 0);
  EXPECT_EQ(routedTo(first.get(), 1), 3);

  ASSERT_EQ(router.SelectInput(4), S_OK);
  EXPECT_EQ(routedTo(first.get(), 0), 2);
  EXPECT_EQ(routedTo(second.get(), 0), 1) << "a one-crossbar route leaves the far one alone";
}

TEST_F(CrossbarRouterTest, TheRouterHoldsItsCrossbarsUntilItGoes) {
  buildCaptureChain();
  ComPtr<IAMCrossbar> xbar;
  ASSERT_EQ(builder->FindInterface(&LOOK_UPSTREAM_ONLY, nullptr, device.get(), IID_IAMCrossbar, xbar.putVoid()), S_OK);
  xbar->AddRef();
  const ULONG before = xbar->Release();
  {
    HRESULT hr = E_FAIL;
    CCrossbarRouter router(analogIn(), &hr);
    xbar->AddRef();
    EXPECT_EQ(xbar->Release(), before + 3) << "one reference per route";
  }
  xbar->AddRef();
  EXPECT_EQ(xbar->Release(), before);
}

TEST(ConnectorTypeNameTest, NamesEveryKnownTypeAndUnknownForTheRest) {
  EXPECT_STREQ(ConnectorTypeName(PhysConn_Video_Tuner), "Video Tuner");
  EXPECT_STREQ(ConnectorTypeName(PhysConn_Video_VideoEncoder), "Video Encoder");
  EXPECT_STREQ(ConnectorTypeName(PhysConn_Audio_Tuner), "Audio Tuner");
  EXPECT_STREQ(ConnectorTypeName(PhysConn_Audio_AudioDecoder), "Audio Decoder");
  EXPECT_STREQ(ConnectorTypeName(0), "Unknown");
  EXPECT_STREQ(ConnectorTypeName(14), "Unknown");
  EXPECT_STREQ(ConnectorTypeName(4106), "Unknown");
}

}  // namespace
