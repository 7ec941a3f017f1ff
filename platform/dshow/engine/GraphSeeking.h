// Positions of the whole graph (IMediaSeeking, and IMediaPosition in seconds). Seeks
// and rates go to every renderer that can seek (which passes them upstream to the
// source); a running graph is paused around a seek and runs on from the new position.
// The current position is the start position plus the stream time, so it also moves
// for graphs that cannot seek (a live capture). Stopping keeps the position, and the next
// run goes on from it unless the application seeks elsewhere meanwhile.
#pragma once

#include <dshow/baseclasses/MediaTimeSeeking.h>
#include <dshow/baseclasses/SecondsPosition.h>
#include <dshow/engine/GraphPart.h>

#include <com/ComPtr.h>

#include <vector>

namespace plat {

class FilterGraph;

class GraphSeeking : public MediaTimeSeeking, public SecondsPosition<IMediaPosition> {
 public:
  explicit GraphSeeking(FilterGraph& graph);
  GraphSeeking(const GraphSeeking&) = delete;
  GraphSeeking& operator=(const GraphSeeking&) = delete;

  ORVANE_GRAPH_PART_IUNKNOWN
  ORVANE_NO_DISPATCH

  // IMediaSeeking; the time format can change only while the graph is stopped
  STDMETHODIMP GetCapabilities(DWORD* pCapabilities) override;
  STDMETHODIMP SetTimeFormat(const GUID* pFormat) override;
  STDMETHODIMP GetDuration(LONGLONG* pDuration) override;
  STDMETHODIMP GetStopPosition(LONGLONG* pStop) override;
  STDMETHODIMP GetCurrentPosition(LONGLONG* pCurrent) override;
  STDMETHODIMP SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) override;
  STDMETHODIMP SetRate(double dRate) override;
  STDMETHODIMP GetRate(double* pdRate) override;

  // The graph stops: the position stays where the stream got to.
  void graphStopping();
  // The graph leaves the stopped state: the sources go on from the position kept at the stop.
  void graphStarting();

 private:
  std::vector<ComPtr<IMediaSeeking>> seekers();
  IMediaSeeking& seekingInUnits() override { return *this; }

  FilterGraph& m_graph;
  IUnknown* m_owner;
  LONGLONG m_start = 0;      // position the stream time counts from
  LONGLONG m_stop = -1;      // -1: the duration
  double m_rate = 1.0;
  bool m_resume = false;     // stopped away from where the sources were last sent
};

}  // namespace plat
