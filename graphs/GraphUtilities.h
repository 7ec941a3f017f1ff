// Calls on a graph manager and its control interfaces that CGraphBase and CPlaybackGraph
// make alike: making the manager, holding its control interfaces, building from an ANSI
// file name, converting times between units and seconds and placing the video window in its owner.
#pragma once

#include <dshow/dshow.h>
#include <win32/user.h>

// A new graph manager into *graph; FALSE with *graph null when none can be made.
BOOL CreateGraphManager(IGraphBuilder** graph);

// The graph's control interfaces that both graph objects hold, as the objects' own fields.
struct GraphControlFields {
  IMediaControl*& control;
  IMediaEventEx*& events;
  IBasicVideo*& basicVideo;
  IBasicAudio*& basicAudio;
  IVideoWindow*& videoWindow;
  IMediaSeeking*& seeking;
};
// Asks the graph for each into its field (see QueryHeld) and sets seeking to media time;
// true when all were found.
bool QueryGraphControls(IGraphBuilder* graph, const GraphControlFields& fields);
// Lets go of each; the video window is detached from its owner first.
void ReleaseGraphControls(const GraphControlFields& fields);
// Builds the graph that plays the file, its name in the ANSI code page (at most MAX_PATH).
BOOL RenderFileAnsi(IGraphBuilder* graph, LPCSTR path);
// A time read through `read`, in seconds; FALSE (and *seconds untouched) without the
// interface or the out pointer, or when the read fails.
BOOL ReadSeconds(IMediaSeeking* seeking, HRESULT (STDMETHODCALLTYPE IMediaSeeking::*read)(LONGLONG*),
                 double* seconds);
// Seconds as 100-ns units, cut to whole units; a value a hair below a whole unit is that
// unit, so a time read back as seconds (the end, from the duration) lands on the unit it
// came from, not one short.
LONGLONG UnitsFromSeconds(double seconds);
// The video window hidden, made a child of the owner at the rectangle, with the owner
// draining its messages, and shown again when there is an owner.
void PlaceVideoWindowIn(IVideoWindow* window, HWND owner, long left, long top, long width, long height);
