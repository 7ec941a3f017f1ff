#include "graphs/CVideoMixingRendererFilter.h"

CVideoMixingRendererFilter::CVideoMixingRendererFilter(IGraphBuilder* graph) { SetGraph(graph); }

CVideoMixingRendererFilter::~CVideoMixingRendererFilter() { RemoveFromGraph(); }

BOOL CVideoMixingRendererFilter::AddToGraph() {
  if (!AddFilterByClsid(CLSID_VideoMixingRenderer9, L"Video Mixer Renderer")) return FALSE;
  IVMRFilterConfig9* config = nullptr;
  if (QueryFilterInterface(IID_IVMRFilterConfig9, reinterpret_cast<void**>(&config))) {
    config->SetRenderingMode(VMR9Mode_Windowed);
    config->SetRenderingPrefs(0);
    config->SetNumberOfStreams(1);
    config->Release();
  }
  return TRUE;
}

BOOL CVideoMixingRendererFilter::ReAdd() {
  if (m_pFilter && m_pGraph) RemoveFromGraph();
  return AddToGraph();
}
