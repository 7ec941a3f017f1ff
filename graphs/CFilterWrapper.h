// A filter in one of the program's graphs, held by a small wrapper: the base owns one
// reference to the filter and one to the graph, creates a filter by class and adds it
// under a fixed name, finds its pins, and takes it out of the graph again.
//
// Every concrete wrapper follows one contract: its constructor takes the graph (one
// reference), its AddToGraph re-adds a filter it still holds, fails without a graph, else
// creates the filter and, when that fails, is left without a filter so a later call can
// try again. A wrapper must be deleted while its graph is alive: deleting it takes the
// filter out of the graph first.
#pragma once

#include <dshow/dshow.h>

class CFilterWrapper {
 public:
  CFilterWrapper();
  virtual ~CFilterWrapper();
  CFilterWrapper(const CFilterWrapper&) = delete;
  CFilterWrapper& operator=(const CFilterWrapper&) = delete;

  // Takes the filter out of the graph and lets it go; the graph stays held.
  virtual void RemoveFromGraph();
  // The base wrapper has no filter of its own to add.
  virtual BOOL AddToGraph();

  // Creates the filter and adds it to the graph under `name`; on success *filter holds
  // the creation reference for the caller.
  static HRESULT CreateAndAddFilter(IGraphBuilder* graph, REFCLSID clsid, LPCWSTR name, IBaseFilter** filter);

  // The first pin of the direction that is not connected, counted for the caller.
  HRESULT GetUnconnectedPin(PIN_DIRECTION direction, IPin** pin);
  IBaseFilter* GetFilter() const { return m_pFilter; }
  // The first input (or output) pin whose name contains `part` (case-sensitive; null:
  // any). The filter keeps the pin alive; the caller does not release it.
  IPin* FindPin(BOOL input, LPCSTR part);
  BOOL QueryFilterInterface(REFIID iid, void** object);

 protected:
  // Holds the graph given at construction instead of any held before.
  void SetGraph(IGraphBuilder* graph);
  // The contract's AddToGraph for a filter made by its class.
  BOOL AddFilterByClsid(REFCLSID clsid, LPCWSTR name);

  IBaseFilter* m_pFilter;
  IGraphBuilder* m_pGraph;
};

// Shows a printf-formatted text in an exclamation box, modal to the task.
int ShowErrorBox(HWND owner, LPCSTR format, ...);
