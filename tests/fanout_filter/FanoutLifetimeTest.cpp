// References to the tee and its pins, released in any order: nothing is freed twice and
// nothing stays behind (the base classes count every live object of theirs). The
// sanitizer build catches a double free or a use after free here.
#include "FanoutTest.h"

#include <algorithm>
#include <array>

namespace fanout {
namespace {

class FanoutLifetimeTest : public FanoutTest {
 protected:
  // The live objects without the fixture's graph, which is then made anew.
  LONG objectsWithoutTheGraph() {
    graph.reset();
    const LONG count = CBaseObject::ObjectsActive();
    EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()), S_OK);
    return count;
  }
};

TEST_F(FanoutLifetimeTest, ReleasingTheOutsideReferencesInAnyOrderLeavesNothingBehind) {
  const LONG before = CBaseObject::ObjectsActive();
  std::array<int, 4> order = {0, 1, 2, 3};
  do {
    ComPtr<IBaseFilter> tee = createFanout();
    std::array<ComPtr<IUnknown>, 4> held;
    held[0] = ComPtr<IUnknown>(tee.get());
    ComPtr<IPin> output = pin(tee.get(), L"Output1");
    held[1] = ComPtr<IUnknown>(output.get());
    ComPtr<IMediaSeeking> seeking;
    ASSERT_EQ(output->QueryInterface(IID_IMediaSeeking, seeking.putVoid()), S_OK);
    held[2] = ComPtr<IUnknown>(seeking.get());
    ComPtr<IEnumPins> pins;
    ASSERT_EQ(tee->EnumPins(pins.put()), S_OK);
    held[3] = ComPtr<IUnknown>(pins.get());
    tee.reset();
    output.reset();
    seeking.reset();
    pins.reset();

    for (int index : order) {
      EXPECT_GT(CBaseObject::ObjectsActive(), before);
      held[static_cast<size_t>(index)].reset();
    }
    EXPECT_EQ(CBaseObject::ObjectsActive(), before);
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(FanoutLifetimeTest, TheTeeGoesWithItsSparePinsWhenTheLastPinIsReleased) {
  const LONG before = objectsWithoutTheGraph();
  {
    auto* source = new TestSource({videoType(kSubtypeA)}, 0);
    std::vector<TestRenderer*> renderers = {new TestRenderer(), new TestRenderer(), new TestRenderer()};
    ComPtr<IBaseFilter> tee(buildTee(source, renderers));
    std::vector<ComPtr<IPin>> outputs;
    for (const wchar_t* name : {L"Output1", L"Output2", L"Output3", L"Output4"}) outputs.push_back(pin(tee.get(), name));
    // Out of the graph, every connection broken: four free outputs, each held here.
    ASSERT_EQ(graph->RemoveFilter(tee.get()), S_OK);
    ASSERT_EQ(pinNames(tee.get()).size(), 5u);
    tee.reset();
    // The last one takes the filter, and with it the pins nobody holds any more.
    for (ComPtr<IPin>& output : outputs) output.reset();
    graph.reset();
  }
  EXPECT_EQ(CBaseObject::ObjectsActive(), before);
}

TEST_F(FanoutLifetimeTest, TheTeeGoesWithSeveralFreePinsNobodyHolds) {
  const LONG before = CBaseObject::ObjectsActive();
  {
    // Connected pin to pin, outside any graph; each peer lets go before its output is
    // disconnected, so no release ever finds two free pins: three stay in the list.
    const CMediaType type = videoType(kSubtypeA);
    ComPtr<IBaseFilter> source(new TestSource({type}, 0));
    ComPtr<IBaseFilter> first(new TestRenderer()), second(new TestRenderer());
    ComPtr<IBaseFilter> tee = createFanout();
    IPin* input = pinAt(tee.get(), 0);
    ASSERT_EQ(static_cast<TestSource*>(source.get())->output()->Connect(input, &type), S_OK);
    ASSERT_EQ(pinAt(tee.get(), 1)->Connect(static_cast<TestRenderer*>(first.get())->input(), &type), S_OK);
    ASSERT_EQ(pinAt(tee.get(), 2)->Connect(static_cast<TestRenderer*>(second.get())->input(), &type), S_OK);
    for (TestRenderer* renderer : {static_cast<TestRenderer*>(first.get()), static_cast<TestRenderer*>(second.get())})
      renderer->input()->Disconnect();
    pinAt(tee.get(), 1)->Disconnect();
    pinAt(tee.get(), 2)->Disconnect();
    static_cast<TestSource*>(source.get())->output()->Disconnect();
    input->Disconnect();
    ASSERT_EQ(pinNames(tee.get()), (std::vector<std::wstring>{L"Input", L"Output1", L"Output2", L"Output3"}));
  }
  EXPECT_EQ(CBaseObject::ObjectsActive(), before);
}

TEST_F(FanoutLifetimeTest, ARunningGraphLetsGoOfEverything) {
  const LONG before = objectsWithoutTheGraph();
  std::vector<TestRenderer*> renderers = {new TestRenderer(), new TestRenderer(), new TestRenderer()};
  renderers[2]->setBlocking(true);
  // Four buffers: the blocked branch soon holds them all and upstream waits for one.
  buildTee(new TestSource({videoType(kSubtypeA)}, 1000, 4), renderers);
  ASSERT_EQ(control()->Run(), S_OK);
  ASSERT_TRUE(renderers[0]->waitForSamples(4));
  ASSERT_TRUE(renderers[2]->waitUntilBlocked());
  // Released while running, a branch blocked and samples queued.
  graph.reset();
  EXPECT_EQ(CBaseObject::ObjectsActive(), before);
}

}  // namespace
}  // namespace fanout
