#include "graphs/CMpegRecorderFilter.h"

namespace {
// {5083B9E8-713F-40AA-B5F3-2AD35D3D7498}
constexpr CLSID kClsid = {0x5083B9E8, 0x713F, 0x40AA, {0xB5, 0xF3, 0x2A, 0xD3, 0x5D, 0x3D, 0x74, 0x98}};
}  // namespace

CMpegRecorderFilter::CMpegRecorderFilter(IGraphBuilder* graph) { SetGraph(graph); }

CMpegRecorderFilter::~CMpegRecorderFilter() { RemoveFromGraph(); }

BOOL CMpegRecorderFilter::AddToGraph() { return AddFilterByClsid(kClsid, L"Quarnelix Mpeg 1/2 Recorder Filter"); }
