// Capture tests: a graph, a capture graph builder over it, and the machine's devices.
#pragma once

#include "GraphTest.h"

#include <support/Settling.h>

#include <com/ocidl.h>
#include <com/oleauto.h>

#include <string>

namespace dstest {

class CaptureTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ASSERT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                               builder.putVoid()),
              S_OK);
    ASSERT_EQ(builder->SetFiltergraph(graph.get()), S_OK);
  }
  void TearDown() override {
    if (graph) graphAs<IMediaControl>(IID_IMediaControl)->Stop();
    builder.reset();
    GraphTest::TearDown();
  }

  // The monikers of a category, as the system device enumerator lists them.
  static std::vector<ComPtr<IMoniker>> devices(REFCLSID category) {
    std::vector<ComPtr<IMoniker>> found;
    ComPtr<ICreateDevEnum> enumerator;
    EXPECT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum, enumerator.putVoid()), S_OK);
    ComPtr<IEnumMoniker> walk;
    if (enumerator->CreateClassEnumerator(category, walk.put(), 0) != S_OK) return found;
    IMoniker* moniker = nullptr;
    while (walk->Next(1, &moniker, nullptr) == S_OK) found.push_back(ComPtr<IMoniker>::adopt(moniker));
    return found;
  }
  static std::wstring property(IMoniker* moniker, const wchar_t* name) {
    ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.putVoid()))) return {};
    VARIANT value;
    VariantInit(&value);
    if (FAILED(bag->Read(name, &value, nullptr))) return {};
    std::wstring text = value.bstrVal;
    VariantClear(&value);
    return text;
  }
  // The first device of a category, bound and added to the graph under `name`.
  ComPtr<IBaseFilter> addDevice(REFCLSID category, const wchar_t* name) {
    const auto monikers = devices(category);
    ComPtr<IBaseFilter> filter;
    if (monikers.empty()) return filter;
    EXPECT_EQ(monikers[0]->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.putVoid()), S_OK);
    EXPECT_EQ(graph->AddFilter(filter.get(), name), S_OK);
    return filter;
  }
  template <class Itf>
  ComPtr<Itf> as(IUnknown* object, REFIID iid) {
    ComPtr<Itf> itf;
    EXPECT_EQ(object->QueryInterface(iid, itf.putVoid()), S_OK);
    return itf;
  }
  ComPtr<IPin> pin(IBaseFilter* filter, const wchar_t* name) {
    ComPtr<IPin> found;
    EXPECT_EQ(filter->FindPin(name, found.put()), S_OK) << name;
    return found;
  }
  // Advances the machine clock one period at a time, `times` times, each time settling the
  // streaming threads and checking that `count()` has grown: one more frame or buffer came.
  template <class Count>
  bool step(Count count, int times, int periodMs = 40) {
    for (int i = 0; i < times; ++i) {
      const auto before = count();
      machine().clock().advance(static_cast<std::uint64_t>(periodMs));
      if (!test::holdsWhenSettled(machine().clock(), [&] { return count() > before; })) return false;
    }
    return true;
  }

  ComPtr<ICaptureGraphBuilder2> builder;
};

}  // namespace dstest
