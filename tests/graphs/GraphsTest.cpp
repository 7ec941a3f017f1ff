#include "GraphsTest.h"

#include "graphs/DeviceUtilities.h"

#include <support/FilterNames.h>

namespace test {

using plat::ComPtr;

void GraphsTest::SetUp() {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()), S_OK);
  ASSERT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                             builder.putVoid()),
            S_OK);
  ASSERT_EQ(builder->SetFiltergraph(graph.get()), S_OK);
}

void GraphsTest::TearDown() {
  device.reset();
  tee.reset();
  builder.reset();
  graph.reset();
  CoUninitialize();
}

ComPtr<IBaseFilter> GraphsTest::add(REFCLSID clsid, const wchar_t* name) {
  ComPtr<IBaseFilter> filter;
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()), S_OK);
  if (filter) {
    EXPECT_EQ(graph->AddFilter(filter.get(), name), S_OK);
  }
  return filter;
}

ComPtr<IPin> GraphsTest::pin(IBaseFilter* filter, const wchar_t* name) {
  ComPtr<IPin> found;
  EXPECT_EQ(filter->FindPin(name, found.put()), S_OK);
  return found;
}

bool GraphsTest::connected(IPin* pin) {
  ComPtr<IPin> peer;
  return pin->ConnectedTo(peer.put()) == S_OK;
}

std::vector<std::wstring> GraphsTest::names() { return FilterNames(graph.get()); }

void GraphsTest::buildCaptureChain() {
  ASSERT_TRUE(FindVideoCaptureDevice("USB TV Device", device.put()));
  ASSERT_EQ(graph->AddFilter(device.get(), L"Video Capture"), S_OK);
  tee = add(CLSID_SmartTee, L"Smart Tee");
  ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device.get(), nullptr, tee.get()), S_OK);
  ComPtr<IBaseFilter> first = add(CLSID_NullRenderer, L"Null 1");
  ComPtr<IBaseFilter> second = add(CLSID_NullRenderer, L"Null 2");
  ASSERT_EQ(graph->Connect(pin(tee.get(), L"Capture").get(), pin(first.get(), L"In").get()), S_OK);
  ASSERT_EQ(graph->Connect(pin(tee.get(), L"Preview").get(), pin(second.get(), L"In").get()), S_OK);
}

}  // namespace test
