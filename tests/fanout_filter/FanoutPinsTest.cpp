// The tee's pins: numbering, one spare output always, spares going away as their last
// holder lets go while another free one remains, and the limit on outputs.
#include "FanoutTest.h"

namespace fanout {
namespace {

using Names = std::vector<std::wstring>;

class FanoutPinsTest : public FanoutTest {
 protected:
  // Walks the pins as the graph does, taking and letting go of a reference to each.
  static int walkPins(IBaseFilter* filter) {
    ComPtr<IEnumPins> pins;
    filter->EnumPins(pins.put());
    int count = 0;
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
      pin->Release();
      ++count;
    }
    return count;
  }
};

TEST_F(FanoutPinsTest, AFreshTeeHasItsInputAndOneOutput) {
  ComPtr<IBaseFilter> tee = createFanout();
  EXPECT_EQ(static_cast<CBaseFilter*>(tee.get())->GetPinCount(), 2);
  EXPECT_EQ(pinAt(tee.get(), -1), nullptr);
  EXPECT_EQ(pinAt(tee.get(), 0)->Name(), std::wstring(L"Input"));
  EXPECT_EQ(pinAt(tee.get(), 1)->Name(), std::wstring(L"Output1"));
  EXPECT_EQ(pinAt(tee.get(), 2), nullptr);

  PIN_DIRECTION dir = PINDIR_INPUT;
  pinAt(tee.get(), 1)->QueryDirection(&dir);
  EXPECT_EQ(dir, PINDIR_OUTPUT);
  ComPtr<IPin> missing;
  EXPECT_EQ(tee->FindPin(L"Output2", missing.put()), VFW_E_NOT_FOUND);
}

TEST_F(FanoutPinsTest, EachConnectedOutputBringsANewSpare) {
  auto* source = new TestSource({videoType(kSubtypeA)}, 0);
  IBaseFilter* tee = buildTee(source, {});
  EXPECT_EQ(pinNames(tee), (Names{L"Input", L"Output1"}));  // the input's connection adds no pin
  ComPtr<IEnumPins> before;
  tee->EnumPins(before.put());

  auto* first = add(new TestRenderer(), L"First");
  ASSERT_EQ(connect(pin(tee, L"Output1").get(), first->input()), S_OK);
  EXPECT_EQ(pinNames(tee), (Names{L"Input", L"Output1", L"Output2"}));
  // The graph sees the pin set changed.
  IPin* stale = nullptr;
  EXPECT_EQ(before->Next(1, &stale, nullptr), VFW_E_ENUM_OUT_OF_SYNC);

  auto* second = add(new TestRenderer(), L"Second");
  ASSERT_EQ(connect(pin(tee, L"Output2").get(), second->input()), S_OK);
  EXPECT_EQ(pinNames(tee), (Names{L"Input", L"Output1", L"Output2", L"Output3"}));
  EXPECT_EQ(pinAt(tee, 3)->Name(), std::wstring(L"Output3"));
  EXPECT_FALSE(pinAt(tee, 3)->IsConnected());
}

TEST_F(FanoutPinsTest, AnOutputCannotConnectBeforeTheInput) {
  IBaseFilter* tee = addFanout();
  auto* renderer = add(new TestRenderer(), L"Renderer");
  const CMediaType type = videoType(kSubtypeA);
  EXPECT_EQ(connect(pin(tee, L"Output1").get(), renderer->input(), &type), VFW_E_NOT_CONNECTED);
  EXPECT_EQ(pinNames(tee), (Names{L"Input", L"Output1"}));
  EXPECT_FALSE(pinAt(tee, 1)->IsConnected());
}

TEST_F(FanoutPinsTest, PinsComeAndGoWithConnections) {
  auto* source = new TestSource({videoType(kSubtypeA)}, 0);
  std::vector<TestRenderer*> renderers = {new TestRenderer(), new TestRenderer(), new TestRenderer()};
  IBaseFilter* tee = buildTee(source, renderers);
  ASSERT_EQ(pinNames(tee), (Names{L"Input", L"Output1", L"Output2", L"Output3", L"Output4"}));

  // A disconnected output whose last holder lets go leaves while another pin is free.
  disconnect(pin(tee, L"Output2").get());
  EXPECT_EQ(pinNames(tee), (Names{L"Input", L"Output1", L"Output3", L"Output4"}));
  disconnect(pin(tee, L"Output3").get());
  EXPECT_EQ(pinNames(tee), (Names{L"Input", L"Output1", L"Output4"}));

  // The only free pin stays, however often it is let go; numbers are never reused.
  ComPtr<IPin> spare = pin(tee, L"Output4");
  spare.reset();
  EXPECT_EQ(pinNames(tee), (Names{L"Input", L"Output1", L"Output4"}));
  ASSERT_EQ(connect(pin(tee, L"Output4").get(), renderers[1]->input()), S_OK);
  EXPECT_EQ(pinNames(tee), (Names{L"Input", L"Output1", L"Output4", L"Output5"}));

  // A free pin someone holds stays; a spare let go by anyone, even by a walk over the
  // pins, goes while another is free.
  ComPtr<IPin> held = pin(tee, L"Output4");
  disconnect(held.get());
  EXPECT_EQ(pinNames(tee), (Names{L"Input", L"Output1", L"Output4", L"Output5"}));
  walkPins(tee);
  EXPECT_EQ(pinNames(tee), (Names{L"Input", L"Output1", L"Output4"}));
  held.reset();
  EXPECT_EQ(pinNames(tee), (Names{L"Input", L"Output1", L"Output4"}));
  EXPECT_EQ(walkPins(tee), 3);
}

TEST_F(FanoutPinsTest, AConnectedOutputStaysWhenItsPeerLetsGoFirst) {
  auto* source = new TestSource({videoType(kSubtypeA)}, 0);
  std::vector<TestRenderer*> renderers = {new TestRenderer(), new TestRenderer()};
  IBaseFilter* tee = buildTee(source, renderers);
  // Two free outputs besides Output1: Output2 (held here) and the spare Output3.
  ComPtr<IPin> held = pin(tee, L"Output2");
  disconnect(held.get());

  // The peer lets go of Output1 before Output1 is disconnected, and nobody else holds
  // it: the pin must stay, as the graph goes on to disconnect it.
  graph->Disconnect(renderers[0]->input());
  CBasePin* first = pinAt(tee, 1);
  ASSERT_EQ(first->Name(), std::wstring(L"Output1"));
  EXPECT_TRUE(first->IsConnected());
  EXPECT_EQ(graph->Disconnect(first), S_OK);
  EXPECT_EQ(pinNames(tee), (Names{L"Input", L"Output1", L"Output2", L"Output3"}));
}

TEST_F(FanoutPinsTest, NoMoreThanAThousandOutputs) {
  const CMediaType type = videoType(kSubtypeA);
  auto* source = new TestSource({type}, 0);
  IBaseFilter* tee = buildTee(source, {});
  std::vector<ComPtr<IBaseFilter>> renderers;
  for (int n = 1; n <= 1000; ++n) {
    auto* renderer = new TestRenderer();
    renderers.emplace_back(renderer);
    ASSERT_EQ(pinAt(tee, n)->Connect(renderer->input(), &type), S_OK) << n;
  }
  CBaseFilter* filter = static_cast<CBaseFilter*>(tee);
  EXPECT_EQ(filter->GetPinCount(), 1001);
  EXPECT_EQ(pinAt(tee, 1000)->Name(), std::wstring(L"Output1000"));
  EXPECT_TRUE(pinAt(tee, 1000)->IsConnected());
  EXPECT_EQ(pinAt(tee, 1001), nullptr);
}

}  // namespace
}  // namespace fanout
