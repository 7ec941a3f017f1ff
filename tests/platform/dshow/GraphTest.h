// A fresh machine with COM initialised on the test's thread and a new filter graph.
#pragma once

#include "TestFilters.h"

#include <support/FilterNames.h>
#include <support/TestMachine.h>

#include <gtest/gtest.h>

namespace dstest {

class GraphTest : public test::MachineTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()),
              S_OK);
    StateLog::take();
  }
  void TearDown() override {
    graph.reset();
    CoUninitialize();
  }

  // Adds a filter made with new under `name`; the graph holds it.
  template <class F>
  F* add(F* filter, const wchar_t* name) {
    ComPtr<IBaseFilter> held(filter);
    EXPECT_TRUE(SUCCEEDED(graph->AddFilter(held.get(), name)));
    return filter;
  }
  template <class Itf>
  ComPtr<Itf> graphAs(REFIID iid) {
    ComPtr<Itf> itf;
    EXPECT_EQ(graph->QueryInterface(iid, itf.putVoid()), S_OK);
    return itf;
  }
  // Whether the graph has reported EC_COMPLETE, asked without waiting.
  bool completed() {
    long code = 0;
    return graphAs<IMediaEventEx>(IID_IMediaEventEx)->WaitForCompletion(0, &code) == S_OK && code == EC_COMPLETE;
  }
  std::vector<std::wstring> names() { return test::FilterNames(graph.get()); }

  ComPtr<IGraphBuilder> graph;
};

}  // namespace dstest
