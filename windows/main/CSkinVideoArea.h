// The small live-picture area of a skinned window (the settings hub and its pages, the
// record plan list, the schedule editor, the channel window) or the picture area of the
// picture browser: a video area at a design rectangle of the 1024 x 768 space, kept in the
// control for later layouts, that never goes full screen. The window owns it through this
// holder, which destroys the control's window and deletes it when it goes.
#pragma once

#include <win32/types.h>

#include <memory>

class CVideoStatic;
class CWnd;

class CSkinVideoArea {
 public:
  CSkinVideoArea();
  ~CSkinVideoArea();
  CSkinVideoArea(const CSkinVideoArea&) = delete;
  CSkinVideoArea& operator=(const CSkinVideoArea&) = delete;

  // A visible video area child of `parent` with control id 0; an area made before is kept.
  // FALSE, and no area, when it cannot be made.
  BOOL Create(CWnd& parent, const RECT& design);
  // At its design rectangle scaled to its parent's client area; nothing without an area.
  void Place();
  // The live picture goes into the area: a running preview is handed over, an idle
  // controller starts one; nothing in other run states, without a controller or an area.
  void ShowLivePicture();
  // The live picture's owner and window become the area (a window coming back to the front).
  void AttachLivePicture();
  // Destroys the area's window and deletes it; nothing when there is none.
  void Destroy();

  CVideoStatic* Get() const { return m_area.get(); }
  CVideoStatic* operator->() const { return m_area.get(); }
  explicit operator bool() const { return m_area != nullptr; }

 private:
  std::unique_ptr<CVideoStatic> m_area;
};
