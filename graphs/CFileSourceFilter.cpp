#include "graphs/CFileSourceFilter.h"

#include <vendor/async_source/QnAsyncSource.h>
#include <win32/codepage.h>

CFileSourceFilter::CFileSourceFilter(IGraphBuilder* graph) { SetGraph(graph); }

CFileSourceFilter::~CFileSourceFilter() { RemoveFromGraph(); }

// The source's interfaces are asked of the filter held at each call, so a filter taken
// out of the graph is never kept alive by them.
BOOL CFileSourceFilter::AddToGraph() { return AddFilterByClsid(CLSID_QnAsyncSource, L"File Source (Async)"); }

BOOL CFileSourceFilter::Load(LPCSTR path) {
  if (!path || !*path) return FALSE;
  IFileSourceFilter* source = nullptr;
  if (!QueryFilterInterface(IID_IFileSourceFilter, reinterpret_cast<void**>(&source))) return FALSE;
  WCHAR wide[512] = {};
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide, 511);
  AM_MEDIA_TYPE stream{};
  stream.majortype = MEDIATYPE_Stream;
  const HRESULT hr = source->Load(wide, &stream);
  source->Release();
  return SUCCEEDED(hr);
}

BOOL CFileSourceFilter::Prepare() {
  IQnSourceReady* prepare = nullptr;
  if (!QueryFilterInterface(IID_IQnSourceReady, reinterpret_cast<void**>(&prepare))) return TRUE;
  const HRESULT hr = prepare->Prepare(0, 0);
  prepare->Release();
  if (hr != S_FALSE) return TRUE;
  RemoveFromGraph();
  return AddToGraph();
}
