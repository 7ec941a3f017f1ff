// Media files through file playback: any bytes under a media file's name either refuse to
// render or make a graph that pauses (each renderer prerolled with a first picture or
// sound), runs a little on the machine clock and stops, without fault or hang.
#include "FuzzMachine.h"

#include <com/ComPtr.h>
#include <com/objbase.h>
#include <dshow/dshow.h>

#include <string>

namespace {

template <class T>
plat::ComPtr<T> As(IUnknown* object, REFIID iid) {
  plat::ComPtr<T> result;
  object->QueryInterface(iid, result.putVoid());
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::FuzzMachine::get();
  CoInitialize(nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  const std::string path = machine.putMedia(data, size);
  const std::wstring widePath(path.begin(), path.end());

  plat::ComPtr<IGraphBuilder> graph;
  if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid())))
    fuzz::fail("the graph manager is there");
  if (FAILED(graph->RenderFile(widePath.c_str(), nullptr))) return 0;
  auto control = As<IMediaControl>(graph.get(), IID_IMediaControl);
  OAFilterState state = State_Stopped;
  if (SUCCEEDED(control->Pause())) control->GetState(200, &state);
  if (SUCCEEDED(control->Run())) {
    for (int step = 0; step < 5; ++step) machine.machine().clock().advance(40);
    control->GetState(200, &state);
  }
  control->Stop();
  return 0;
}
