#include "graphs/CFilterWrapper.h"

#include <win32/codepage.h>
#include <win32/user/msgbox.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

CFilterWrapper::CFilterWrapper() : m_pFilter(nullptr), m_pGraph(nullptr) {}

CFilterWrapper::~CFilterWrapper() {
  RemoveFromGraph();
  if (m_pGraph) m_pGraph->Release();
  if (m_pFilter) m_pFilter->Release();
}

void CFilterWrapper::SetGraph(IGraphBuilder* graph) {
  if (graph) graph->AddRef();
  if (m_pGraph) m_pGraph->Release();
  m_pGraph = graph;
}

void CFilterWrapper::RemoveFromGraph() {
  if (!m_pFilter) return;
  if (m_pGraph) m_pGraph->RemoveFilter(m_pFilter);
  m_pFilter->Release();
  m_pFilter = nullptr;
}

BOOL CFilterWrapper::AddToGraph() { return FALSE; }

BOOL CFilterWrapper::AddFilterByClsid(REFCLSID clsid, LPCWSTR name) {
  if (m_pFilter) {
    if (m_pGraph) m_pGraph->AddFilter(m_pFilter, name);
    return TRUE;
  }
  if (!m_pGraph) return FALSE;
  if (SUCCEEDED(CreateAndAddFilter(m_pGraph, clsid, name, &m_pFilter))) return TRUE;
  RemoveFromGraph();
  return FALSE;
}

HRESULT CFilterWrapper::CreateAndAddFilter(IGraphBuilder* graph, REFCLSID clsid, LPCWSTR name, IBaseFilter** filter) {
  if (!graph || !filter) return E_POINTER;
  *filter = nullptr;
  IBaseFilter* created = nullptr;
  HRESULT hr =
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, reinterpret_cast<void**>(&created));
  if (FAILED(hr)) return hr;
  hr = graph->AddFilter(created, name);
  if (SUCCEEDED(hr))
    *filter = created;
  else
    created->Release();
  return hr;
}

HRESULT CFilterWrapper::GetUnconnectedPin(PIN_DIRECTION direction, IPin** pin) {
  if (!pin) return E_POINTER;
  *pin = nullptr;
  if (!m_pFilter) return E_FAIL;
  IEnumPins* pins = nullptr;
  HRESULT hr = m_pFilter->EnumPins(&pins);
  if (FAILED(hr)) return hr;
  IPin* candidate = nullptr;
  while (pins->Next(1, &candidate, nullptr) == S_OK) {
    PIN_DIRECTION its = PINDIR_INPUT;
    candidate->QueryDirection(&its);
    if (its == direction) {
      IPin* peer = nullptr;
      if (FAILED(candidate->ConnectedTo(&peer))) {
        *pin = candidate;
        break;
      }
      peer->Release();
    }
    candidate->Release();
  }
  pins->Release();
  return *pin ? S_OK : E_FAIL;
}

IPin* CFilterWrapper::FindPin(BOOL input, LPCSTR part) {
  if (!m_pFilter) return nullptr;
  IEnumPins* pins = nullptr;
  if (FAILED(m_pFilter->EnumPins(&pins))) return nullptr;
  pins->Reset();
  const PIN_DIRECTION wanted = input ? PINDIR_INPUT : PINDIR_OUTPUT;
  IPin* found = nullptr;
  IPin* pin = nullptr;
  while (!found && pins->Next(1, &pin, nullptr) == S_OK && pin) {
    PIN_INFO info{};
    if (SUCCEEDED(pin->QueryPinInfo(&info))) {
      if (info.dir == wanted) {
        // Room for a multibyte name twice the length of the wide one, always terminated.
        char name[256] = {};
        WideCharToMultiByte(CP_ACP, 0, info.achName, -1, name, sizeof name - 1, nullptr, nullptr);
        if (!part || std::strstr(name, part)) found = pin;
      }
      if (info.pFilter) info.pFilter->Release();
    }
    // The filter keeps its pins alive, so the walk's reference is not handed on.
    pin->Release();
    pin = nullptr;
  }
  pins->Release();
  return found;
}

BOOL CFilterWrapper::QueryFilterInterface(REFIID iid, void** object) {
  if (!m_pFilter) return FALSE;
  return SUCCEEDED(m_pFilter->QueryInterface(iid, object));
}

int ShowErrorBox(HWND owner, LPCSTR format, ...) {
  static char text[2048];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  return MessageBoxA(owner, text, nullptr, MB_ICONEXCLAMATION | MB_TASKMODAL);
}
