#include "graphs/CFileSourceFilter.h"

#include <win32/codepage.h>

namespace {

// {527E1AD6-58AE-4382-AFAA-230EAAE87A46}
constexpr CLSID kClsid = {0x527E1AD6, 0x58AE, 0x4382, {0xAF, 0xAA, 0x23, 0x0E, 0xAA, 0xE8, 0x7A, 0x46}};

// The source's second interface, as far as the program calls it: its first method
// readies the file and answers S_FALSE when the source must be made anew.
// {1D6BD214-BC73-4245-A39B-73447C771F9F}
constexpr IID kIidSourcePrepare = {0x1D6BD214, 0xBC73, 0x4245, {0xA3, 0x9B, 0x73, 0x44, 0x7C, 0x77, 0x1F, 0x9F}};
struct ISourcePrepare : public IUnknown {
  STDMETHOD(Prepare)(DWORD first, DWORD second) = 0;

 protected:
  ~ISourcePrepare() = default;
};

}  // namespace

CFileSourceFilter::CFileSourceFilter(IGraphBuilder* graph) { SetGraph(graph); }

CFileSourceFilter::~CFileSourceFilter() { RemoveFromGraph(); }

// The source's interfaces are asked of the filter held at each call, so a filter taken
// out of the graph is never kept alive by them.
BOOL CFileSourceFilter::AddToGraph() { return AddFilterByClsid(kClsid, L"File Source (Async)"); }

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
  ISourcePrepare* prepare = nullptr;
  if (!QueryFilterInterface(kIidSourcePrepare, reinterpret_cast<void**>(&prepare))) return TRUE;
  const HRESULT hr = prepare->Prepare(0, 0);
  prepare->Release();
  if (hr != S_FALSE) return TRUE;
  RemoveFromGraph();
  return AddToGraph();
}
