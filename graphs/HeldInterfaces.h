// Interface pointers that a graph object holds one counted reference to each.
#pragma once

#include <dshow/dshow.h>

// Lets go of a held interface; the field is null afterwards.
template <class Itf>
void ReleaseHeld(Itf*& held) {
  if (held) held->Release();
  held = nullptr;
}

// Asks `from` for an interface into a field, letting go of what the field held before, so
// asking again never leaks. True when the query succeeded.
template <class Itf>
bool QueryHeld(IUnknown* from, REFIID iid, Itf*& field) {
  ReleaseHeld(field);
  return SUCCEEDED(from->QueryInterface(iid, reinterpret_cast<void**>(&field)));
}

// A graph's video window let go of: hidden, detached from its owner and its message drain.
inline void ReleaseVideoWindow(IVideoWindow*& window) {
  if (!window) return;
  window->put_Visible(OAFALSE);
  window->put_MessageDrain(0);
  window->put_Owner(0);
  ReleaseHeld(window);
}
