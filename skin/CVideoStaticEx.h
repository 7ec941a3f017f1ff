// The video area of the TV and media player windows: a static control that hosts the
// live picture or the playing file. A double click switches it to full screen and back;
// every mouse move over it tells the parent (which shows its control bar). Without a
// picture in it, it is black.
#pragma once

#include "skin/CFullScreenStatic.h"

class CVideoStaticEx : public CFullScreenStatic {
 public:
  CVideoStaticEx() = default;

  // Covering the screen on top of its siblings, it takes the focus.
  void EnterFullScreen() override;

 protected:
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  // The erase is all it paints: black while no picture covers it.
  afx_msg void OnPaint();
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  // The controller's video follows the control's size.
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  // The frame's top edge stays where it is; the control goes on top of its siblings.
  void CoverScreen() override;
};
