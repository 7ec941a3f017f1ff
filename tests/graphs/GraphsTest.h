// A fresh machine with COM up, a filter graph and a capture graph builder over it.
#pragma once

#include <support/TestMachine.h>

#include <com/ComPtr.h>
#include <dshow/dshow.h>

#include <string>
#include <vector>

namespace test {

class GraphsTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A platform filter created by its class and added under `name`.
  plat::ComPtr<IBaseFilter> add(REFCLSID clsid, const wchar_t* name);
  plat::ComPtr<IPin> pin(IBaseFilter* filter, const wchar_t* name);
  bool connected(IPin* pin);
  // The names of the graph's filters in its order.
  std::vector<std::wstring> names();
  // The stick's capture filter with its crossbar and tuner pulled in, its capture pin into
  // a Smart Tee whose two outputs each feed a null renderer.
  void buildCaptureChain();

  plat::ComPtr<IGraphBuilder> graph;
  plat::ComPtr<ICaptureGraphBuilder2> builder;
  plat::ComPtr<IBaseFilter> device;
  plat::ComPtr<IBaseFilter> tee;
};

}  // namespace test
