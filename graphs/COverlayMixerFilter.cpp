#include "graphs/COverlayMixerFilter.h"

COverlayMixerFilter::COverlayMixerFilter(IGraphBuilder* graph) { SetGraph(graph); }

COverlayMixerFilter::~COverlayMixerFilter() { RemoveFromGraph(); }

BOOL COverlayMixerFilter::AddToGraph() {
  if (!AddFilterByClsid(CLSID_OverlayMixer, L"OverlayMixer")) return FALSE;
  if (IPin* input = FindPin(TRUE, nullptr)) {
    IMixerPinConfig* config = nullptr;
    if (SUCCEEDED(input->QueryInterface(IID_IMixerPinConfig, reinterpret_cast<void**>(&config)))) {
      config->SetAspectRatioMode(AM_ARMODE_STRETCHED);
      config->Release();
    }
  }
  return TRUE;
}
