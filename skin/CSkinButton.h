// The push button of every skinned window: an owner-drawn button that paints one of four
// state images (normal, hover, pressed, disabled) cut side by side from one skin strip.
// The window creates it from a button entry, finds it by its skin name and takes its
// click as WM_COMMAND(command id, 0) on release inside it. Hover follows the pointer by
// capturing the mouse while the pointer is over the button; entering it sends a hover
// hint to the window in front.
#pragma once

#include "skin/CStripButton.h"

class CSkinButton : public CStripButton {
 public:
  CSkinButton();
  ~CSkinButton() override;

  // The flags, without repainting.
  void SetPressed(BOOL bPressed) { m_bPressed = bPressed; }
  BOOL GetPressed() const { return m_bPressed; }
  void SetNoHover(BOOL bNoHover) { m_bNoHover = bNoHover; }
  BOOL GetNoHover() const { return m_bNoHover; }
  BOOL IsEnabled() const { return !m_bDisabled; }
  // Takes a copy of cursor 106 of "winhlp32.exe" in the Windows folder as the button's
  // cursor; without that file (or cursor) the button keeps the class cursor.
  void LoadHandCursor();

 protected:
  void PreSubclassWindow() override;

  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  DECLARE_MESSAGE_MAP()

  // Normal, hover, pressed (with hover) or disabled; the caption is white, blue on hover.
  int StateImage() override;
  BOOL CaptionInState() const override { return !m_bDisabled; }
  // UM_HOVER_HINT(command id, 0) to the window of the current display mode, found by its
  // title; nothing without a display-mode object or such a window.
  void SendHoverHint() override;

 private:
  enum Image { kNormal, kHover, kPressed, kDisabled, kImageCount };

  BOOL m_bPressed;
  BOOL m_bNoHover;
};
