#include "graphs/COverlayFilter.h"

namespace {
constexpr WCHAR kName[] = L"QXM_OverlayFilter";
constexpr DWORD kGreen = 0x00FF00;
constexpr double kOpaque = -1.0;
}  // namespace

COverlayFilter::COverlayFilter(IGraphBuilder* graph) : m_pOverlay(nullptr) { SetGraph(graph); }

COverlayFilter::~COverlayFilter() { RemoveFromGraph(); }

void COverlayFilter::ReleaseOverlay() {
  if (m_pOverlay) m_pOverlay->Release();
  m_pOverlay = nullptr;
}

void COverlayFilter::RemoveFromGraph() {
  // The interface holds the filter too; let it go first so the filter leaves with the graph.
  ReleaseOverlay();
  CFilterWrapper::RemoveFromGraph();
}

BOOL COverlayFilter::AddToGraph() {
  if (m_pFilter) {
    // A filter still in the graph (S_FALSE) or renamed there is in the graph all the same.
    if (!m_pGraph || FAILED(m_pGraph->AddFilter(m_pFilter, kName))) return FALSE;
    Hide();
    return TRUE;
  }
  if (!m_pGraph) return FALSE;
  if (SUCCEEDED(CreateAndAddFilter(m_pGraph, CLSID_QxmOverlayFilter, kName, &m_pFilter)) &&
      m_pFilter->QueryInterface(IID_IQxmOverlay, reinterpret_cast<void**>(&m_pOverlay)) == S_OK)
    return TRUE;
  RemoveFromGraph();
  return FALSE;
}

BOOL COverlayFilter::Hide() { return m_pOverlay && m_pOverlay->SetMode(QXM_OVERLAY_OFF) == S_OK; }

BOOL COverlayFilter::SetTextLayer(LONG_PTR contentA, LONG_PTR contentB, int x, int y, const LOGFONTA& font,
                                  DWORD colorA, DWORD colorB, double blend) {
  return m_pOverlay->SetFont(font, QXM_LAYER_TEXT) == S_OK &&
         m_pOverlay->SetBlend(0, 0, blend, QXM_LAYER_TEXT) == S_OK &&
         m_pOverlay->SetPosition(x, y, QXM_LAYER_TEXT) == S_OK &&
         m_pOverlay->SetColors(colorA, colorB, QXM_LAYER_TEXT) == S_OK &&
         m_pOverlay->SetContent(contentA, contentB, QXM_LAYER_TEXT) == S_OK;
}

BOOL COverlayFilter::ShowGreenText(LONG_PTR contentA, LONG_PTR contentB, int x, int y, const LOGFONTA& font) {
  if (!m_pOverlay || m_pOverlay->SetMode(QXM_OVERLAY_TEXT) != S_OK) return FALSE;
  return SetTextLayer(contentA, contentB, x, y, font, kGreen, 0, kOpaque);
}

BOOL COverlayFilter::ShowText(LPCSTR text, int length, int x, int y, const LOGFONTA& font, DWORD colorA,
                              DWORD colorB, double blend) {
  if (!m_pOverlay || m_pOverlay->SetMode(QXM_OVERLAY_TEXT) != S_OK) return FALSE;
  // The filter's content method carries the text's address at pointer width.
  return SetTextLayer(reinterpret_cast<LONG_PTR>(text), length, x, y, font, colorA, colorB, blend);
}

BOOL COverlayFilter::ShowPicture(LONG_PTR picture, int x, int y, DWORD colorA, DWORD colorB, LONG_PTR contentA,
                                 LONG_PTR contentB, double blend) {
  return m_pOverlay && m_pOverlay->SetMode(QXM_OVERLAY_PICTURE) == S_OK &&
         m_pOverlay->SetBlend(0, 0, blend, QXM_LAYER_PICTURE) == S_OK &&
         m_pOverlay->SetPosition(x, y, QXM_LAYER_PICTURE) == S_OK &&
         m_pOverlay->SetColors(colorA, colorB, QXM_LAYER_PICTURE) == S_OK &&
         m_pOverlay->SetContent(contentA, contentB, QXM_LAYER_PICTURE) == S_OK &&
         m_pOverlay->SetPicture(picture) == S_OK;
}
