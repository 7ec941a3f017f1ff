// What lies under a slider's thumb, kept while the thumb is drawn over a see-through
// channel (or none) and put back before the thumb is drawn elsewhere.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

class CThumbBackground {
 public:
  CThumbBackground() = default;
  ~CThumbBackground() { Delete(); }
  CThumbBackground(const CThumbBackground&) = delete;
  CThumbBackground& operator=(const CThumbBackground&) = delete;

  // Copies the cx x cy pixels at (x, y), replacing what was kept.
  void Save(CDC* pDC, int x, int y, int cx, int cy);
  // Puts the kept pixels back where they came from, once.
  void Restore(CDC* pDC, int cx, int cy);
  // Drops the kept pixels; a later restore draws nothing.
  void Delete();

 private:
  int m_nX = -1;
  int m_nY = -1;
  HBITMAP m_hBitmap = nullptr;
};
