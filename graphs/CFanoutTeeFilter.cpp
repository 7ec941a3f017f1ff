#include "graphs/CFanoutTeeFilter.h"

namespace {
// {B84585A5-237B-426B-8B07-3C6616AE7EC9}
constexpr CLSID kClsid = {0xB84585A5, 0x237B, 0x426B, {0x8B, 0x07, 0x3C, 0x66, 0x16, 0xAE, 0x7E, 0xC9}};
constexpr wchar_t kName[] = L"Inf Tee";
}  // namespace

CFanoutTeeFilter::CFanoutTeeFilter(IGraphBuilder* graph) { SetGraph(graph); }

CFanoutTeeFilter::~CFanoutTeeFilter() { RemoveFromGraph(); }

BOOL CFanoutTeeFilter::AddToGraph() {
  if (!m_pGraph) return FALSE;
  const HRESULT hr =
      m_pFilter ? m_pGraph->AddFilter(m_pFilter, kName) : CreateAndAddFilter(m_pGraph, kClsid, kName, &m_pFilter);
  if (SUCCEEDED(hr)) return TRUE;
  RemoveFromGraph();
  return FALSE;
}

IPin* CFanoutTeeFilter::GetInputPin() { return FindPin(TRUE, nullptr); }

IPin* CFanoutTeeFilter::GetFreeOutputPin() {
  IPin* pin = nullptr;
  return SUCCEEDED(GetUnconnectedPin(PINDIR_OUTPUT, &pin)) ? pin : nullptr;
}
