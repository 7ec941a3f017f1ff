#include "graphs/CAviDecompressorFilter.h"

namespace {
const wchar_t kName[] = L"AVI Decompressor";
}  // namespace

CAviDecompressorFilter::CAviDecompressorFilter(IGraphBuilder* graph) { SetGraph(graph); }

CAviDecompressorFilter::~CAviDecompressorFilter() { RemoveFromGraph(); }

BOOL CAviDecompressorFilter::AddToGraph() {
  if (m_pFilter && m_pGraph) {
    if (SUCCEEDED(m_pGraph->AddFilter(m_pFilter, kName))) return TRUE;
    RemoveFromGraph();
  }
  return AddFilterByClsid(CLSID_AVIDec, kName);
}
