// Recorder tests: a fresh machine, COM on the test's thread, the recorder module
// registered as the program registers it, and a filter graph.
#pragma once

#include <support/TestMachine.h>

#include <com/ComPtr.h>
#include <com/objbase.h>
#include <dshow/dshow.h>
#include <vendor/mpeg_recorder/QnMpegEncoder.h>
#include <win32/module.h>

#include <gtest/gtest.h>

#include <vector>

namespace rectest {

using plat::ComPtr;

class RecorderTest : public test::MachineTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()), S_OK);
  }
  void TearDown() override {
    if (graph) as<IMediaControl>(graph.get(), IID_IMediaControl)->Stop();
    graph.reset();
    CoUninitialize();
  }

  static HRESULT callModule(const char* exportName) {
    HMODULE module = LoadLibraryA("Filter\\qnmpeg2enc.ax");
    if (!module) return E_FAIL;
    auto entry = reinterpret_cast<HRESULT (*)()>(GetProcAddress(module, exportName));
    const HRESULT hr = entry ? entry() : E_FAIL;
    FreeLibrary(module);
    return hr;
  }
  // A registered recorder, in the graph under its own name.
  ComPtr<IBaseFilter> addRecorder() {
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(callModule("DllRegisterServer"), S_OK);
    EXPECT_EQ(CoCreateInstance(CLSID_QnMpegRecorder, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()), S_OK);
    if (filter) {
      EXPECT_EQ(graph->AddFilter(filter.get(), L"Quarnelix Mpeg 1/2 Recorder Filter"), S_OK);
    }
    return filter;
  }

  template <class Itf>
  static ComPtr<Itf> as(IUnknown* object, REFIID iid) {
    ComPtr<Itf> itf;
    EXPECT_EQ(object->QueryInterface(iid, itf.putVoid()), S_OK);
    return itf;
  }
  static ComPtr<IPin> pin(IBaseFilter* filter, const wchar_t* name) {
    ComPtr<IPin> found;
    EXPECT_EQ(filter->FindPin(name, found.put()), S_OK) << name;
    return found;
  }
  static std::vector<QnMpegRecorderCall> calls(IBaseFilter* recorder) {
    auto probe = as<IQnMpegRecorderProbe>(recorder, IID_IQnMpegRecorderProbe);
    LONG count = 0;
    probe->GetCallCount(&count);
    std::vector<QnMpegRecorderCall> list(static_cast<size_t>(count));
    for (LONG i = 0; i < count; ++i) probe->GetCall(i, &list[static_cast<size_t>(i)]);
    return list;
  }

  ComPtr<IGraphBuilder> graph;
};

}  // namespace rectest
