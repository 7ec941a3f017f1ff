// Types and allocators through the tee: a type must suit upstream and every branch, a
// branch connected with another type than the input's brings the input (and the other
// branches) over to it, and every branch is handed the upstream allocator read-only.
#include "FanoutTest.h"

namespace fanout {
namespace {

class FanoutMediaTypeTest : public FanoutTest {};

TEST_F(FanoutMediaTypeTest, TheInputRefusesATypeABranchRefuses) {
  const CMediaType typeA = videoType(kSubtypeA);
  const CMediaType typeB = videoType(kSubtypeB);
  auto* renderer = new TestRenderer({kSubtypeA});
  IBaseFilter* tee = buildTee(new TestSource({typeA}, 0), {renderer});
  ComPtr<IPin> input = pin(tee, L"Input");
  EXPECT_EQ(input->QueryAccept(&typeA), S_OK);
  EXPECT_EQ(input->QueryAccept(&typeB), S_FALSE);

  disconnect(input.get());
  auto* other = add(new TestSource({typeB}, 0), L"Other source");
  EXPECT_EQ(connect(other->output(), input.get(), &typeB), VFW_E_TYPE_NOT_ACCEPTED);
  EXPECT_FALSE(pinAt(tee, 0)->IsConnected());
}

TEST_F(FanoutMediaTypeTest, AnOutputTakesOnlyTypesUpstreamAndTheOtherBranchesTake) {
  const CMediaType typeA = videoType(kSubtypeA);
  const CMediaType typeB = videoType(kSubtypeB);
  const CMediaType unknown = videoType(MEDIASUBTYPE_RGB32);
  auto* onlyA = new TestRenderer({kSubtypeA});
  IBaseFilter* tee = buildTee(new TestSource({typeA, typeB}, 0), {onlyA});
  auto* any = add(new TestRenderer(), L"Any");
  ComPtr<IPin> second = pin(tee, L"Output2");

  EXPECT_EQ(connect(second.get(), any->input(), &unknown), VFW_E_TYPE_NOT_ACCEPTED);  // upstream refuses
  EXPECT_EQ(connect(second.get(), any->input(), &typeB), VFW_E_TYPE_NOT_ACCEPTED);    // the first branch refuses
  EXPECT_EQ(second->QueryAccept(&typeB), S_FALSE);
  EXPECT_EQ(second->QueryAccept(&typeA), S_OK);
  EXPECT_EQ(connect(second.get(), any->input(), &typeA), S_OK);
}

TEST_F(FanoutMediaTypeTest, AnOutputOffersUpstreamsTypes) {
  const CMediaType typeA = videoType(kSubtypeA);
  const CMediaType typeB = videoType(kSubtypeB);
  IBaseFilter* tee = addFanout();
  ComPtr<IPin> output = pin(tee, L"Output1");
  ComPtr<IEnumMediaTypes> types;
  EXPECT_EQ(output->EnumMediaTypes(types.put()), VFW_E_NOT_CONNECTED);

  auto* source = add(new TestSource({typeA, typeB}, 0), L"Source");
  ASSERT_EQ(connect(source->output(), pin(tee, L"Input").get()), S_OK);
  ASSERT_EQ(output->EnumMediaTypes(types.put()), S_OK);
  std::vector<CMediaType> offered;
  AM_MEDIA_TYPE* next = nullptr;
  while (types->Next(1, &next, nullptr) == S_OK) {
    offered.emplace_back(*next);
    DeleteMediaType(next);
  }
  EXPECT_EQ(offered, (std::vector<CMediaType>{typeA, typeB}));

  // With no type given, the branch connects with what upstream sends.
  auto* renderer = add(new TestRenderer(), L"Renderer");
  ASSERT_EQ(connect(output.get(), renderer->input()), S_OK);
  EXPECT_EQ(connectionType(renderer->input()), typeA);
}

TEST_F(FanoutMediaTypeTest, ABranchOfAnotherTypeBringsTheInputAndTheOtherBranchesOver) {
  const CMediaType small = videoType(kSubtypeA, 4, 2);
  const CMediaType large = videoType(kSubtypeA, 8, 2);
  auto* source = new TestSource({small, large}, 3);
  auto* first = new TestRenderer();
  IBaseFilter* tee = buildTee(source, {first});
  ASSERT_EQ(connectionType(first->input()), small);

  auto* second = add(new TestRenderer(), L"Second");
  ASSERT_EQ(connect(pin(tee, L"Output2").get(), second->input(), &large), S_OK);
  EXPECT_EQ(connectionType(source->output()), large);
  EXPECT_EQ(connectionType(pin(tee, L"Input").get()), large);
  EXPECT_EQ(connectionType(first->input()), large);
  EXPECT_EQ(connectionType(second->input()), large);
  EXPECT_EQ(pinNames(tee), (std::vector<std::wstring>{L"Input", L"Output1", L"Output2", L"Output3"}));

  // The reconnected branch hands on the allocator upstream settled on, and both
  // branches get the larger frames.
  EXPECT_EQ(first->allocator(), source->allocator());
  ASSERT_EQ(control()->Run(), S_OK);
  ASSERT_TRUE(first->waitForEndOfStream());
  ASSERT_TRUE(second->waitForEndOfStream());
  control()->Stop();
  EXPECT_EQ(first->frames(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(second->frames(), (std::vector<int>{0, 1, 2}));
  for (const TestRenderer::Received& received : second->samples())
    EXPECT_EQ(received.length, 8 * 2 * 4);
}

TEST_F(FanoutMediaTypeTest, EveryBranchIsHandedTheUpstreamAllocatorReadOnly) {
  auto* source = new TestSource({videoType(kSubtypeA)}, 0);
  std::vector<TestRenderer*> renderers = {new TestRenderer(), new TestRenderer()};
  IBaseFilter* tee = buildTee(source, renderers);
  ASSERT_NE(source->allocator(), nullptr);
  for (TestRenderer* renderer : renderers) {
    EXPECT_EQ(renderer->allocator(), source->allocator());
    EXPECT_TRUE(renderer->allocatorReadOnly());
  }
  ComPtr<IMemInputPin> input;
  ASSERT_EQ(pin(tee, L"Input")->QueryInterface(IID_IMemInputPin, input.putVoid()), S_OK);
  EXPECT_EQ(input->NotifyAllocator(nullptr, FALSE), E_POINTER);
}

TEST_F(FanoutMediaTypeTest, ABranchRefusingTheAllocatorDoesNotConnect) {
  IBaseFilter* tee = buildTee(new TestSource({videoType(kSubtypeA)}, 0), {});
  auto* refusing = add(new TestRenderer(), L"Refusing");
  refusing->refuseAllocator(VFW_E_BADALIGN);
  EXPECT_EQ(connect(pin(tee, L"Output1").get(), refusing->input()), VFW_E_BADALIGN);
  EXPECT_FALSE(pinAt(tee, 1)->IsConnected());
  EXPECT_EQ(pinNames(tee), (std::vector<std::wstring>{L"Input", L"Output1"}));
}

}  // namespace
}  // namespace fanout
