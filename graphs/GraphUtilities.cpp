#include "graphs/GraphUtilities.h"

#include "graphs/HeldInterfaces.h"

#include <win32/codepage.h>

namespace {
constexpr long kChildStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}  // namespace

BOOL CreateGraphManager(IGraphBuilder** graph) {
  if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                              reinterpret_cast<void**>(graph)))) {
    *graph = nullptr;
    return FALSE;
  }
  return TRUE;
}

bool QueryGraphControls(IGraphBuilder* graph, const GraphControlFields& fields) {
  bool ok = true;
  auto query = [&](REFIID iid, auto*& field) { ok = QueryHeld(graph, iid, field) && ok; };
  query(IID_IMediaControl, fields.control);
  query(IID_IMediaEventEx, fields.events);
  query(IID_IBasicVideo, fields.basicVideo);
  query(IID_IBasicAudio, fields.basicAudio);
  query(IID_IVideoWindow, fields.videoWindow);
  query(IID_IMediaSeeking, fields.seeking);
  if (fields.seeking) fields.seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
  return ok;
}

void ReleaseGraphControls(const GraphControlFields& fields) {
  ReleaseHeld(fields.seeking);
  ReleaseHeld(fields.control);
  ReleaseHeld(fields.events);
  ReleaseHeld(fields.basicVideo);
  ReleaseHeld(fields.basicAudio);
  ReleaseVideoWindow(fields.videoWindow);
}

BOOL RenderFileAnsi(IGraphBuilder* graph, LPCSTR path) {
  WCHAR wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
  wide[MAX_PATH - 1] = L'\0';
  return SUCCEEDED(graph->RenderFile(wide, nullptr));
}

BOOL ReadSeconds(IMediaSeeking* seeking, HRESULT (STDMETHODCALLTYPE IMediaSeeking::*read)(LONGLONG*),
                 double* seconds) {
  if (!seeking || !seconds) return FALSE;
  LONGLONG units = 0;
  if (FAILED((seeking->*read)(&units))) return FALSE;
  *seconds = static_cast<double>(units) * 1e-7;
  return TRUE;
}

LONGLONG UnitsFromSeconds(double seconds) { return static_cast<LONGLONG>(seconds * 1e7 + 1e-3); }

void PlaceVideoWindowIn(IVideoWindow* window, HWND owner, long left, long top, long width, long height) {
  const OAHWND handle = reinterpret_cast<OAHWND>(owner);
  window->put_Visible(OAFALSE);
  window->put_AutoShow(OATRUE);
  window->put_Owner(handle);
  window->put_Left(left);
  window->put_Top(top);
  window->put_Width(width);
  window->put_Height(height);
  window->put_WindowStyle(kChildStyle);
  window->put_MessageDrain(handle);
  window->put_Visible(owner ? OATRUE : OAFALSE);
}
