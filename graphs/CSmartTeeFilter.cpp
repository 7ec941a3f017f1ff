#include "graphs/CSmartTeeFilter.h"

CSmartTeeFilter::CSmartTeeFilter(IGraphBuilder* graph) { SetGraph(graph); }

CSmartTeeFilter::~CSmartTeeFilter() { RemoveFromGraph(); }

BOOL CSmartTeeFilter::AddToGraph() { return AddFilterByClsid(CLSID_SmartTee, L"Smart Tee"); }
