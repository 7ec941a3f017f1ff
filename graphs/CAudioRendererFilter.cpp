#include "graphs/CAudioRendererFilter.h"

CAudioRendererFilter::CAudioRendererFilter(IGraphBuilder* graph) { SetGraph(graph); }

CAudioRendererFilter::~CAudioRendererFilter() { RemoveFromGraph(); }

BOOL CAudioRendererFilter::AddToGraph() { return AddFilterByClsid(CLSID_DSoundRender, L"Audio Renderers"); }
