#include "graphs/CStillCaptureFilter.h"

#include <win32/codepage.h>

namespace {
// {D88828EC-18EB-40F7-B75D-EBC751D84B90}
constexpr CLSID kClsid = {0xD88828EC, 0x18EB, 0x40F7, {0xB7, 0x5D, 0xEB, 0xC7, 0x51, 0xD8, 0x4B, 0x90}};
}  // namespace

CStillCaptureFilter::CStillCaptureFilter(IGraphBuilder* graph) { SetGraph(graph); }

CStillCaptureFilter::~CStillCaptureFilter() { RemoveFromGraph(); }

BOOL CStillCaptureFilter::AddToGraph() { return AddFilterByClsid(kClsid, L"Quarnelix StillCapture"); }

BOOL CStillCaptureFilter::SetFileName(LPCSTR path) {
  if (!path) return FALSE;
  // Asked of the filter held now, so a filter taken out is never kept alive by it.
  IFileSinkFilter* sink = nullptr;
  if (!QueryFilterInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&sink))) return FALSE;
  WCHAR wide[512] = {};
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide, 511);
  const HRESULT hr = sink->SetFileName(wide, nullptr);
  sink->Release();
  return SUCCEEDED(hr);
}
