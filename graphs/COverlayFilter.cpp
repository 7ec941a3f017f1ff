#include "graphs/COverlayFilter.h"

namespace {
// {5B96FDFD-42CA-44D8-831C-E3F6503A88D6}
constexpr CLSID kClsid = {0x5B96FDFD, 0x42CA, 0x44D8, {0x83, 0x1C, 0xE3, 0xF6, 0x50, 0x3A, 0x88, 0xD6}};
}  // namespace

COverlayFilter::COverlayFilter(IGraphBuilder* graph) { SetGraph(graph); }

COverlayFilter::~COverlayFilter() { RemoveFromGraph(); }

BOOL COverlayFilter::AddToGraph() { return AddFilterByClsid(kClsid, L"QXM_OverlayFilter"); }
