#include "graphs/FilterUtilities.h"

#include <com/ComPtr.h>
#include <win32/codepage.h>

#include <string>
#include <vector>

namespace {

using plat::ComPtr;

std::vector<ComPtr<IPin>> PinsOf(IBaseFilter* filter) {
  std::vector<ComPtr<IPin>> pins;
  ComPtr<IEnumPins> walk;
  if (FAILED(filter->EnumPins(walk.put())) || !walk) return pins;
  IPin* pin = nullptr;
  while (walk->Next(1, &pin, nullptr) == S_OK) pins.push_back(ComPtr<IPin>::adopt(pin));
  return pins;
}

PIN_DIRECTION DirectionOf(IPin* pin) {
  PIN_DIRECTION direction = PINDIR_INPUT;
  pin->QueryDirection(&direction);
  return direction;
}

ComPtr<IBaseFilter> OwnerOf(IPin* pin) {
  PIN_INFO info{};
  if (FAILED(pin->QueryPinInfo(&info))) return {};
  return ComPtr<IBaseFilter>::adopt(info.pFilter);
}

// Breaks every connection of the filter's pins of direction `near` (outputs: downstream),
// clearing the far filter's own connections first; removes the far filters when asked.
void Clear(IFilterGraph* graph, IBaseFilter* filter, PIN_DIRECTION near, bool remove) {
  if (!graph || !filter) return;
  for (const ComPtr<IPin>& pin : PinsOf(filter)) {
    if (DirectionOf(pin.get()) != near) continue;
    ComPtr<IPin> peer;
    if (pin->ConnectedTo(peer.put()) != S_OK || !peer) continue;  // also gone with an earlier far filter
    ComPtr<IBaseFilter> far = OwnerOf(peer.get());
    if (far) Clear(graph, far.get(), near, remove);
    graph->Disconnect(peer.get());
    graph->Disconnect(pin.get());
    if (remove && far) graph->RemoveFilter(far.get());
  }
}

std::string NarrowName(const WCHAR* name) {
  char buffer[256] = {};
  WideCharToMultiByte(CP_ACP, 0, name, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
  return buffer;
}

}  // namespace

HRESULT RemoveFilterByName(IFilterGraph* graph, LPCSTR name) {
  ComPtr<IEnumFilters> walk;
  if (!graph || !name || FAILED(graph->EnumFilters(walk.put())) || !walk) return 0;
  IBaseFilter* raw = nullptr;
  while (walk->Next(1, &raw, nullptr) == S_OK) {
    ComPtr<IBaseFilter> filter = ComPtr<IBaseFilter>::adopt(raw);
    FILTER_INFO info{};
    if (FAILED(filter->QueryFilterInfo(&info))) continue;
    if (info.pGraph) info.pGraph->Release();
    if (NarrowName(info.achName) == name) return graph->RemoveFilter(filter.get());
  }
  return S_OK;
}

BOOL FindFilterByClsid(IFilterGraph* graph, REFCLSID clsid, IBaseFilter** filter) {
  if (!filter) return FALSE;
  *filter = nullptr;
  ComPtr<IEnumFilters> walk;
  if (!graph || FAILED(graph->EnumFilters(walk.put())) || !walk) return FALSE;
  IBaseFilter* raw = nullptr;
  while (walk->Next(1, &raw, nullptr) == S_OK) {
    CLSID found{};
    if (SUCCEEDED(raw->GetClassID(&found)) && IsEqualCLSID(found, clsid)) {
      *filter = raw;
      return TRUE;
    }
    raw->Release();
  }
  return FALSE;
}

HRESULT FindPinInterface(IBaseFilter* filter, REFIID iid, void** object) {
  if (!filter || !object) return E_POINTER;
  *object = nullptr;
  const std::vector<ComPtr<IPin>> pins = PinsOf(filter);
  if (pins.empty()) return E_FAIL;
  HRESULT hr = E_FAIL;
  for (const ComPtr<IPin>& pin : pins) {
    hr = pin->QueryInterface(iid, object);
    if (SUCCEEDED(hr)) break;
  }
  return hr;
}

void RemoveDownstream(IFilterGraph* graph, IBaseFilter* filter) { Clear(graph, filter, PINDIR_OUTPUT, true); }

void RemoveUpstream(IFilterGraph* graph, IBaseFilter* filter) { Clear(graph, filter, PINDIR_INPUT, true); }

void DisconnectDownstream(IFilterGraph* graph, IBaseFilter* filter) { Clear(graph, filter, PINDIR_OUTPUT, false); }

void DisconnectUpstream(IFilterGraph* graph, IBaseFilter* filter) { Clear(graph, filter, PINDIR_INPUT, false); }

void RemoveAllFilters(IFilterGraph* graph) {
  ComPtr<IEnumFilters> walk;
  if (!graph || FAILED(graph->EnumFilters(walk.put())) || !walk) return;
  for (bool removed = true; removed;) {
    removed = false;
    walk->Reset();
    IBaseFilter* raw = nullptr;
    while (!removed && walk->Next(1, &raw, nullptr) == S_OK) {
      removed = SUCCEEDED(graph->RemoveFilter(raw));
      raw->Release();
    }
  }
}
