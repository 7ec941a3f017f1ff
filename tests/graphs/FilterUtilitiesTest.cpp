// Clearing a real capture chain: tuner and crossbar upstream of the stick's capture
// filter, a Smart Tee and two null renderers downstream; filters by name and class, and
// interfaces found on pins.
#include "GraphsTest.h"

#include "graphs/FilterUtilities.h"

namespace {

using plat::ComPtr;
using Names = std::vector<std::wstring>;

class FilterUtilitiesTest : public test::GraphsTest {
 protected:
  void SetUp() override {
    GraphsTest::SetUp();
    buildCaptureChain();
    ASSERT_EQ(names().size(), 6u);
  }
  IPin* capturePin() { return keep(pin(device.get(), L"Capture")); }
  IPin* analogIn() { return keep(pin(device.get(), L"Analog Video In")); }
  IPin* teeOut(const wchar_t* name) { return keep(pin(tee.get(), name)); }
  bool hasFilter(const std::wstring& name) {
    for (const auto& n : names())
      if (n == name) return true;
    return false;
  }

 private:
  IPin* keep(ComPtr<IPin> p) {
    kept.push_back(p);
    return p.get();
  }
  std::vector<ComPtr<IPin>> kept;
};

TEST_F(FilterUtilitiesTest, RemovingDownstreamTakesEverythingAfterTheFilter) {
  RemoveDownstream(graph.get(), device.get());
  EXPECT_EQ(names().size(), 3u);
  EXPECT_TRUE(hasFilter(L"Video Capture"));
  EXPECT_FALSE(hasFilter(L"Smart Tee"));
  EXPECT_FALSE(hasFilter(L"Null 1"));
  EXPECT_FALSE(hasFilter(L"Null 2"));
  EXPECT_FALSE(connected(capturePin()));
  EXPECT_TRUE(connected(analogIn())) << "upstream stays";
  EXPECT_FALSE(connected(teeOut(L"Capture"))) << "the removed filters are left unconnected";
}

TEST_F(FilterUtilitiesTest, RemovingUpstreamTakesTheCrossbarAndTuner) {
  RemoveUpstream(graph.get(), device.get());
  EXPECT_EQ(names(), (Names{L"Video Capture", L"Smart Tee", L"Null 1", L"Null 2"}));
  EXPECT_FALSE(connected(analogIn()));
  EXPECT_TRUE(connected(capturePin()));
  EXPECT_TRUE(connected(teeOut(L"Preview")));
}

TEST_F(FilterUtilitiesTest, DisconnectingKeepsEveryFilterInTheGraph) {
  DisconnectDownstream(graph.get(), device.get());
  EXPECT_EQ(names().size(), 6u);
  EXPECT_FALSE(connected(capturePin()));
  EXPECT_FALSE(connected(teeOut(L"Capture")));
  EXPECT_FALSE(connected(teeOut(L"Preview")));
  EXPECT_TRUE(connected(analogIn()));

  DisconnectUpstream(graph.get(), device.get());
  EXPECT_EQ(names().size(), 6u);
  EXPECT_FALSE(connected(analogIn()));
  // The chain can be built again from the same filters.
  EXPECT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device.get(), nullptr, tee.get()), S_OK);
  EXPECT_EQ(names().size(), 6u);
}

TEST_F(FilterUtilitiesTest, ClearingOnNothingDoesNothing) {
  RemoveDownstream(nullptr, device.get());
  RemoveUpstream(graph.get(), nullptr);
  ComPtr<IBaseFilter> last;
  ASSERT_TRUE(FindFilterByClsid(graph.get(), CLSID_NullRenderer, last.put()));
  RemoveDownstream(graph.get(), last.get());  // a renderer has nothing downstream
  EXPECT_EQ(names().size(), 6u);
}

TEST_F(FilterUtilitiesTest, AFilterIsRemovedByItsExactName) {
  EXPECT_EQ(RemoveFilterByName(graph.get(), "smart tee"), S_OK);
  EXPECT_TRUE(hasFilter(L"Smart Tee")) << "names compare with case";
  EXPECT_EQ(RemoveFilterByName(graph.get(), "Smart"), S_OK);
  EXPECT_TRUE(hasFilter(L"Smart Tee"));
  EXPECT_EQ(RemoveFilterByName(graph.get(), "Smart Tee"), S_OK);
  EXPECT_FALSE(hasFilter(L"Smart Tee"));
  EXPECT_FALSE(connected(capturePin()));
  EXPECT_EQ(RemoveFilterByName(nullptr, "Null 1"), S_OK);
}

TEST_F(FilterUtilitiesTest, FiltersAreFoundByTheirClass) {
  ComPtr<IBaseFilter> found;
  ASSERT_TRUE(FindFilterByClsid(graph.get(), CLSID_SmartTee, found.put()));
  EXPECT_EQ(found.get(), tee.get());
  ASSERT_TRUE(FindFilterByClsid(graph.get(), CLSID_TvStickTuner, found.put()));
  EXPECT_FALSE(FindFilterByClsid(graph.get(), CLSID_AVIDec, found.put()));
  EXPECT_EQ(found.get(), nullptr);
  EXPECT_FALSE(FindFilterByClsid(graph.get(), CLSID_SmartTee, nullptr));
}

TEST_F(FilterUtilitiesTest, PinInterfacesComeFromTheFirstPinThatHasThem) {
  ComPtr<IAMStreamConfig> config;
  EXPECT_EQ(FindPinInterface(device.get(), IID_IAMStreamConfig, config.putVoid()), S_OK);
  EXPECT_NE(config.get(), nullptr);
  ComPtr<IAMTVTuner> tuner;
  EXPECT_EQ(FindPinInterface(device.get(), IID_IAMTVTuner, tuner.putVoid()), E_NOINTERFACE);
  EXPECT_EQ(tuner.get(), nullptr);
  EXPECT_EQ(FindPinInterface(nullptr, IID_IAMStreamConfig, config.putVoid()), E_POINTER);
  EXPECT_EQ(FindPinInterface(device.get(), IID_IAMStreamConfig, nullptr), E_POINTER);
}

TEST_F(FilterUtilitiesTest, RemovingAllFiltersEmptiesTheGraph) {
  RemoveAllFilters(graph.get());
  EXPECT_TRUE(names().empty());
  RemoveAllFilters(graph.get());
  RemoveAllFilters(nullptr);
  EXPECT_TRUE(names().empty());
}

}  // namespace
