#include "FanoutTest.h"

#include <support/media/VideoType.h>
#include <win32/module.h>

namespace fanout {

CMediaType videoType(const GUID& subtype, LONG width, LONG height) { return test::VideoType(subtype, width, height, 32); }

void FanoutTest::SetUp() {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  ASSERT_EQ(callModule("DllRegisterServer"), S_OK);
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()), S_OK);
}

void FanoutTest::TearDown() {
  graph.reset();
  CoUninitialize();
}

HRESULT FanoutTest::callModule(const char* exportName) {
  HMODULE module = LoadLibraryA("Filter\\Branchel.ax");
  if (!module) return E_FAIL;
  auto entry = reinterpret_cast<HRESULT (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(module, exportName)));
  const HRESULT hr = entry ? entry() : E_FAIL;
  FreeLibrary(module);
  return hr;
}

ComPtr<IBaseFilter> FanoutTest::createFanout() {
  ComPtr<IBaseFilter> filter;
  EXPECT_EQ(CoCreateInstance(kClsidFanout, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()), S_OK);
  return filter;
}

IBaseFilter* FanoutTest::addFanout() {
  ComPtr<IBaseFilter> tee = createFanout();
  EXPECT_EQ(graph->AddFilter(tee.get(), L"Tee"), S_OK);
  return tee.get();
}

IBaseFilter* FanoutTest::buildTee(TestSource* source, const std::vector<TestRenderer*>& renderers) {
  add(source, L"Source");
  IBaseFilter* tee = addFanout();
  EXPECT_EQ(connect(source->output(), pin(tee, L"Input").get()), S_OK);
  for (size_t i = 0; i < renderers.size(); ++i) {
    const std::wstring number = std::to_wstring(i + 1);
    add(renderers[i], (L"Renderer" + number).c_str());
    EXPECT_EQ(connect(pin(tee, (L"Output" + number).c_str()).get(), renderers[i]->input()), S_OK);
  }
  return tee;
}

void FanoutTest::disconnect(IPin* pin) {
  ComPtr<IPin> peer;
  if (SUCCEEDED(pin->ConnectedTo(peer.put()))) graph->Disconnect(peer.get());
  graph->Disconnect(pin);
}

ComPtr<IMediaControl> FanoutTest::control() {
  ComPtr<IMediaControl> mediaControl;
  EXPECT_EQ(graph->QueryInterface(IID_IMediaControl, mediaControl.putVoid()), S_OK);
  return mediaControl;
}

ComPtr<IPin> FanoutTest::pin(IBaseFilter* filter, const wchar_t* name) {
  ComPtr<IPin> found;
  filter->FindPin(name, found.put());
  return found;
}

std::vector<std::wstring> FanoutTest::pinNames(IBaseFilter* filter) {
  std::vector<std::wstring> names;
  const int count = static_cast<CBaseFilter*>(filter)->GetPinCount();
  for (int n = 0; n < count; ++n) names.emplace_back(pinAt(filter, n)->Name());
  return names;
}

CMediaType FanoutTest::connectionType(IPin* pin) {
  AM_MEDIA_TYPE type{};
  pin->ConnectionMediaType(&type);
  CMediaType copy(type);
  FreeMediaType(type);
  return copy;
}

}  // namespace fanout
