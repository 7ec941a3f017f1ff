// The fixture of the "Filter" folder module tests: a fresh machine with COM on the test's
// thread and a filter graph. Modules are registered as the program registers them
// (LoadLibraryA + DllRegisterServer) and their filters made by CLSID.
#pragma once

#include "FrameSink.h"
#include "FrameSource.h"

#include <com/ComPtr.h>
#include <support/Settling.h>
#include <support/TestMachine.h>

#include <gtest/gtest.h>


namespace vendortest {

using plat::ComPtr;

// A video type of the subtype (YUY2, RGB24 or RGB32) and size, VIDEOINFOHEADER.
CMediaType videoType(const GUID& subtype, LONG width, LONG height);
// Bytes one picture of the type takes.
size_t imageSize(const CMediaType& type);

class FilterModuleTest : public test::MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the module's export (DllRegisterServer, DllUnregisterServer) by name.
  static HRESULT callModule(const char* module, const char* exportName);
  // The filter made by CLSID (registering its module first) and added to the graph.
  ComPtr<IBaseFilter> addModuleFilter(const char* module, REFCLSID clsid, const wchar_t* name);
  // Adds a filter of the test's own; the graph holds it.
  template <class F>
  F* add(F* filter, const wchar_t* name) {
    ComPtr<IBaseFilter> held(filter);
    EXPECT_EQ(graph->AddFilter(held.get(), name), S_OK);
    return filter;
  }
  // A new source of the pictures of `type`, connected through `filter` into a new sink;
  // with `readOnly` the source's buffers are read-only to the filter, as behind a tee.
  FrameSink* connectThrough(IBaseFilter* filter, const CMediaType& type, std::vector<std::vector<BYTE>> frames,
                            bool readOnly = false);
  // Runs the graph until the sink saw the stream end, then stops it.
  void runToEnd(FrameSink* sink);
  // Pushes the pictures of `type` from a new source through `filter` into a new sink,
  // running the graph until the stream ended; returns what reached the sink.
  std::vector<std::vector<BYTE>> passThrough(IBaseFilter* filter, const CMediaType& type,
                                             std::vector<std::vector<BYTE>> frames, bool readOnly = false);
  static IPin* firstPin(IBaseFilter* filter, PIN_DIRECTION direction);
  ComPtr<IMediaControl> control();

  ComPtr<IGraphBuilder> graph;
};

}  // namespace vendortest
