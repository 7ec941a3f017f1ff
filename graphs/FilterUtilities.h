// Taking filters out of a graph and finding filters and pin interfaces in it: the
// clearing operations the graphs use before they rebuild or reconnect part of a chain.
#pragma once

#include <dshow/dshow.h>

// Removes the first filter whose name (ANSI code page) equals `name` exactly. The removal's
// result; S_OK when no filter has the name or the graph lists no filters.
HRESULT RemoveFilterByName(IFilterGraph* graph, LPCSTR name);
// The first filter of the class, counted for the caller; FALSE with *filter null when none.
BOOL FindFilterByClsid(IFilterGraph* graph, REFCLSID clsid, IBaseFilter** filter);
// The interface from the first of the filter's pins that has it. E_POINTER for a null
// filter or out pointer, E_FAIL when the filter has no pins, else the last pin's answer.
HRESULT FindPinInterface(IBaseFilter* filter, REFIID iid, void** object);

// Every filter downstream of (upstream of) the filter is disconnected and removed, the
// farthest first; the filter itself stays.
void RemoveDownstream(IFilterGraph* graph, IBaseFilter* filter);
void RemoveUpstream(IFilterGraph* graph, IBaseFilter* filter);
// The same connections are broken, but every filter stays in the graph.
void DisconnectDownstream(IFilterGraph* graph, IBaseFilter* filter);
void DisconnectUpstream(IFilterGraph* graph, IBaseFilter* filter);
// Removes every filter the graph will let go.
void RemoveAllFilters(IFilterGraph* graph);
