// The fan-out tee's wrapper on the real engine with the Branchel module: created by class
// only once registered, re-added when held, and a new free output after each connection.
#include "GraphsTest.h"

#include "graphs/CFanoutTeeFilter.h"
#include "graphs/DeviceUtilities.h"

#include <gtest/gtest.h>

namespace test {

namespace {

using plat::ComPtr;

std::wstring PinName(IPin* pin) {
  PIN_INFO info{};
  if (!pin || FAILED(pin->QueryPinInfo(&info))) return {};
  if (info.pFilter) info.pFilter->Release();
  return info.achName;
}

class CFanoutTeeFilterTest : public GraphsTest {};

}  // namespace

TEST_F(CFanoutTeeFilterTest, AnUnregisteredTeeIsNotMadeAndLeavesTheGraphEmpty) {
  CFanoutTeeFilter tee(graph.get());
  EXPECT_FALSE(tee.AddToGraph());
  EXPECT_EQ(tee.GetFilter(), nullptr);
  EXPECT_TRUE(names().empty());
  EXPECT_EQ(tee.GetInputPin(), nullptr);
  EXPECT_EQ(tee.GetFreeOutputPin(), nullptr);
  EXPECT_FALSE(CFanoutTeeFilter(nullptr).AddToGraph());
}

TEST_F(CFanoutTeeFilterTest, EachConnectedOutputBringsTheNextFreeOne) {
  RegisterFilterModule("Filter\\Branchel.ax");
  buildCaptureChain();
  CFanoutTeeFilter fanout(graph.get());
  ASSERT_TRUE(fanout.AddToGraph());
  ComPtr<IBaseFilter> named;
  ASSERT_EQ(graph->FindFilterByName(L"Inf Tee", named.put()), S_OK);
  EXPECT_EQ(named.get(), fanout.GetFilter());
  EXPECT_EQ(PinName(fanout.GetInputPin()), L"Input");

  // The Smart Tee's capture branch moves over to the fan-out tee.
  ComPtr<IPin> capture = pin(tee.get(), L"Capture");
  ComPtr<IPin> peer;
  ASSERT_EQ(capture->ConnectedTo(peer.put()), S_OK);
  ASSERT_EQ(graph->Disconnect(peer.get()), S_OK);
  ASSERT_EQ(graph->Disconnect(capture.get()), S_OK);
  ASSERT_EQ(graph->Connect(capture.get(), fanout.GetInputPin()), S_OK);

  for (const wchar_t* expected : {L"Output1", L"Output2", L"Output3"}) {
    ComPtr<IPin> output = ComPtr<IPin>::adopt(fanout.GetFreeOutputPin());
    ASSERT_TRUE(output);
    EXPECT_EQ(PinName(output.get()), expected);
    ComPtr<IBaseFilter> sink = add(CLSID_NullRenderer, expected);
    ASSERT_EQ(graph->ConnectDirect(output.get(), pin(sink.get(), L"In").get(), nullptr), S_OK);
  }
  ComPtr<IPin> spare = ComPtr<IPin>::adopt(fanout.GetFreeOutputPin());
  EXPECT_EQ(PinName(spare.get()), L"Output4");
}

TEST_F(CFanoutTeeFilterTest, AHeldTeeTakenOutOfTheGraphIsAddedAgainNotMadeAnew) {
  RegisterFilterModule("Filter\\Branchel.ax");
  CFanoutTeeFilter fanout(graph.get());
  ASSERT_TRUE(fanout.AddToGraph());
  IBaseFilter* filter = fanout.GetFilter();
  ASSERT_EQ(graph->RemoveFilter(filter), S_OK);
  EXPECT_TRUE(names().empty());
  ASSERT_TRUE(fanout.AddToGraph());
  EXPECT_EQ(fanout.GetFilter(), filter);
  EXPECT_EQ(names(), std::vector<std::wstring>{L"Inf Tee"});
}

}  // namespace test
