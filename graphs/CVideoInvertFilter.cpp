#include "graphs/CVideoInvertFilter.h"

namespace {
// {DC3B1C46-3437-4848-9480-A4DFA28FA7A4}
constexpr CLSID kClsid = {0xDC3B1C46, 0x3437, 0x4848, {0x94, 0x80, 0xA4, 0xDF, 0xA2, 0x8F, 0xA7, 0xA4}};
}  // namespace

CVideoInvertFilter::CVideoInvertFilter(IGraphBuilder* graph) { SetGraph(graph); }

CVideoInvertFilter::~CVideoInvertFilter() { RemoveFromGraph(); }

BOOL CVideoInvertFilter::AddToGraph() { return AddFilterByClsid(kClsid, L"Quarnelix Video Invert Filter"); }
