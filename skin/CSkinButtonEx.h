// The latching button of the skinned windows: like CSkinButton, with five state images
// cut side by side from one strip (normal, hover, checked, checked with hover, disabled)
// and a checked state that a press sets (latch mode) or toggles. Its hover hint goes to
// its parent.
#pragma once

#include "skin/CStripButton.h"

class CSkinButtonEx : public CStripButton {
 public:
  CSkinButtonEx();
  ~CSkinButtonEx() override;

  // Without repainting.
  void SetChecked(BOOL bChecked) { m_bChecked = bChecked; }
  // A press sets the checked state (TRUE, the default) or toggles it (FALSE).
  void SetLatch(BOOL bLatch) { m_bLatch = bLatch; }
  BOOL IsDisabled() const { return m_bDisabled; }
  // TRUE clears the checked and hover flags, FALSE sets both; repaints.
  void SetReleased(BOOL bReleased);

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  int StateImage() override;
  // UM_HOVER_HINT(command id, 0) to the parent.
  void SendHoverHint() override;

 private:
  enum Image { kNormal, kHover, kChecked, kCheckedHover, kDisabled, kImageCount };

  BOOL m_bChecked;
  BOOL m_bLatch;
};
