// Where the capture graph shows its notices to the user (no capture device listed): the
// launcher's taskbar notifier, which implements this, so the graphs reach it without
// anything of the skin engine. The launcher sets the pointer while its notifier exists;
// without one the notices go nowhere.
#pragma once

#include <win32/types.h>

class ICaptureNotices {
 public:
  virtual ~ICaptureNotices() = default;
  // Slides the text out for `toShow` ms, keeps it `toStay` ms and slides it back in `toHide`.
  virtual void Show(LPCTSTR text, DWORD toShow, DWORD toStay, DWORD toHide, int increment) = 0;
};

extern ICaptureNotices* g_pCaptureNotices;
