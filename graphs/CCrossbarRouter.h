// The physical inputs (tuner, Composite, S-Video and the rest) that can reach a capture
// device's analogue video input through the chain of crossbars upstream of it, and the
// routing of one of them. Each entry of the routing list is one complete route: an array
// of one record per crossbar, from the one next to the device (depth 0) upstream.
// Crossbar indexes and filter pins are matched in the filter's pin order, inputs first.
#pragma once

#include <dshow/dshow.h>
#include <mfc/CPtrList.h>

// The display name of a physical connector type; "Unknown" for any other value.
LPCSTR ConnectorTypeName(long type);

class CCrossbarRouter {
 public:
  // One step of a route through one crossbar.
  struct Routing {
    Routing* pLeft;   // further upstream
    Routing* pRight;  // further downstream
    long VideoInputIndex;
    long VideoOutputIndex;
    long AudioInputIndex;   // -1 when none
    long AudioOutputIndex;  // -1 when none
    IAMCrossbar* pXbar;
    long InputPhysicalType;
    long OutputPhysicalType;
    long Depth;
  };

  // Builds the list from the device's analogue video input; the result comes back in *hr.
  CCrossbarRouter(IPin* startingInput, HRESULT* hr);
  ~CCrossbarRouter();
  CCrossbarRouter(const CCrossbarRouter&) = delete;
  CCrossbarRouter& operator=(const CCrossbarRouter&) = delete;

  HRESULT GetInputCount(long* count);
  HRESULT GetInputType(long index, long* type);
  HRESULT GetInputName(long index, char* name, long size);
  // Routes every crossbar of entry n; the last routing result.
  HRESULT SelectInput(long index);
  long GetSelectedInput() const { return m_currentRoutingIndex; }

 private:
  HRESULT BuildRoutingList(IPin* input, Routing* routing, long depth);
  HRESULT AppendRouteCopy(const Routing* current);
  HRESULT DestroyRoutingList();
  // The entry's first record, or null past the end.
  Routing* Entry(long index);
  static HRESULT GetCrossbarPin(IAMCrossbar* xbar, BOOL input, long index, IPin** pin);
  static HRESULT GetCrossbarIndex(IAMCrossbar* xbar, BOOL input, IPin* pin, long* index);

  IPin* m_pStartingPin;
  Routing m_routingRoot{};
  CPtrList* m_pRoutingList = nullptr;
  long m_currentRoutingIndex = 0;
};
