// The fan-out tests' fixture: a fresh machine with COM on the test's thread, the Branchel
// module registered as the program registers it (LoadLibraryA + DllRegisterServer), and a
// filter graph. The tee is made by CLSID through CoCreateInstance, as the record graph
// makes it, and driven through its COM interfaces and the graph.
#pragma once

#include "TestRenderer.h"
#include "TestSource.h"

#include <com/ComPtr.h>
#include <support/Settling.h>
#include <support/TestMachine.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fanout {

using plat::ComPtr;

// {B84585A5-237B-426B-8B07-3C6616AE7EC9}
inline constexpr CLSID kClsidFanout = {0xB84585A5, 0x237B, 0x426B, {0x8B, 0x07, 0x3C, 0x66, 0x16, 0xAE, 0x7E, 0xC9}};

// Subtypes no platform filter makes or takes: "TSTA", "TSTB".
inline constexpr GUID kSubtypeA = {0x41545354, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline constexpr GUID kSubtypeB = {0x42545354, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// A video type of the subtype and size (VIDEOINFOHEADER, 32 bits, 25 frames a second).
CMediaType videoType(const GUID& subtype, LONG width = 4, LONG height = 2);

class FanoutTest : public test::MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Calls one of the module's exports by name.
  static HRESULT callModule(const char* exportName);
  ComPtr<IBaseFilter> createFanout();
  // Adds a filter under `name`; the graph holds it.
  template <class F>
  F* add(F* filter, const wchar_t* name) {
    ComPtr<IBaseFilter> held(filter);
    EXPECT_TRUE(SUCCEEDED(graph->AddFilter(held.get(), name)));
    return filter;
  }
  // The tee made by CLSID and added to the graph as "Tee".
  IBaseFilter* addFanout();
  HRESULT connect(IPin* out, IPin* in, const AM_MEDIA_TYPE* type = nullptr) { return graph->ConnectDirect(out, in, type); }
  // Source into a new tee whose outputs feed the renderers, one each, in order; all in
  // the graph. Returns the tee.
  IBaseFilter* buildTee(TestSource* source, const std::vector<TestRenderer*>& renderers);
  // Breaks the connection at both ends, as the graph's callers do.
  void disconnect(IPin* pin);
  ComPtr<IMediaControl> control();

  static ComPtr<IPin> pin(IBaseFilter* filter, const wchar_t* name);
  // The names in the filter's own order, read without taking references (a reference
  // let go may take a spare pin away).
  static std::vector<std::wstring> pinNames(IBaseFilter* filter);
  static CMediaType connectionType(IPin* pin);
  // The filter's own view of its pins by position (no reference).
  static CBasePin* pinAt(IBaseFilter* filter, int n) { return static_cast<CBaseFilter*>(filter)->GetPin(n); }

  ComPtr<IGraphBuilder> graph;
};

}  // namespace fanout
