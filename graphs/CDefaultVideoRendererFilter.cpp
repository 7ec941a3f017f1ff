#include "graphs/CDefaultVideoRendererFilter.h"

CDefaultVideoRendererFilter::CDefaultVideoRendererFilter(IGraphBuilder* graph) { SetGraph(graph); }

CDefaultVideoRendererFilter::~CDefaultVideoRendererFilter() { RemoveFromGraph(); }

BOOL CDefaultVideoRendererFilter::AddToGraph() {
  if (!m_pGraph) return FALSE;
  // Two blanks in the name it is created under, one when it comes back.
  const HRESULT hr = m_pFilter
                         ? m_pGraph->AddFilter(m_pFilter, L"Video Renderer")
                         : CreateAndAddFilter(m_pGraph, CLSID_VideoRendererDefault, L"Video  Renderer", &m_pFilter);
  if (FAILED(hr)) {
    RemoveFromGraph();
    return FALSE;
  }
  Configure();
  return TRUE;
}

void CDefaultVideoRendererFilter::Configure() {
  IVMRFilterConfig* config = nullptr;
  if (QueryFilterInterface(IID_IVMRFilterConfig, reinterpret_cast<void**>(&config))) {
    config->SetRenderingMode(VMRMode_Windowed);
    config->SetRenderingPrefs(0);
    config->Release();
  }
  IVMRAspectRatioControl* aspect = nullptr;
  if (QueryFilterInterface(IID_IVMRAspectRatioControl, reinterpret_cast<void**>(&aspect))) {
    aspect->SetAspectRatioMode(VMR_ARMODE_NONE);
    aspect->Release();
  }
}
