#include "graphs/CVideoRendererFilter.h"

CVideoRendererFilter::CVideoRendererFilter(IGraphBuilder* graph) { SetGraph(graph); }

CVideoRendererFilter::~CVideoRendererFilter() { RemoveFromGraph(); }

BOOL CVideoRendererFilter::AddToGraph() { return AddFilterByClsid(CLSID_VideoRenderer, L"Video Renderer"); }
