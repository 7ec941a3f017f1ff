// The text and picture overlay of the Filter folder ("Filter\QXM_OverlayFilter.ax") in
// the capture graph's video chain. The filter belongs to its maker; this wrapper fixes
// which methods of its private interface are called, in which order and with which
// values. Every operation stops at the first method that does not answer S_OK, leaving
// the steps before it applied.
#pragma once

#include "graphs/CFilterWrapper.h"

#include <vendor/overlay_filter/QxmOverlay.h>

class COverlayFilter : public CFilterWrapper {
 public:
  explicit COverlayFilter(IGraphBuilder* graph);
  ~COverlayFilter() override;

  // A held filter is added again and switched off; otherwise the filter is made, added
  // and asked for its interface, and a failure of either leaves the wrapper empty.
  BOOL AddToGraph() override;
  void RemoveFromGraph() override;

  BOOL Hide();
  // The recording caption: green text on the text layer, drawn opaque.
  BOOL ShowGreenText(LONG_PTR contentA, LONG_PTR contentB, int x, int y, const LOGFONTA& font);
  BOOL ShowText(LPCSTR text, int length, int x, int y, const LOGFONTA& font, DWORD colorA, DWORD colorB,
                double blend);
  BOOL ShowPicture(LONG_PTR picture, int x, int y, DWORD colorA, DWORD colorB, LONG_PTR contentA,
                   LONG_PTR contentB, double blend);

 private:
  // The text layer's steps after the mode: font, blend, position, colours, content.
  BOOL SetTextLayer(LONG_PTR contentA, LONG_PTR contentB, int x, int y, const LOGFONTA& font, DWORD colorA,
                    DWORD colorB, double blend);
  void ReleaseOverlay();

  IQxmOverlay* m_pOverlay;
};
