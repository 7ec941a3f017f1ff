#include "skin/CSkinButtonEx.h"

#include "skin/SkinMessages.h"

namespace {

// "宋体", the SimSun typeface, by its GB2312 name.
constexpr char kCaptionFace[] = "\xCB\xCE\xCC\xE5";

}  // namespace

BEGIN_MESSAGE_MAP(CSkinButtonEx, CStripButton)
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CSkinButtonEx::CSkinButtonEx() : CStripButton(kImageCount, kCaptionFace), m_bChecked(FALSE), m_bLatch(TRUE) {}

CSkinButtonEx::~CSkinButtonEx() { DestroyWindow(); }

void CSkinButtonEx::SetReleased(BOOL bReleased) {
  m_bChecked = !bReleased;
  m_bHover = !bReleased;
  Invalidate();
}

void CSkinButtonEx::OnLButtonDown(UINT, CPoint) {
  if (m_bDisabled) return;
  m_bChecked = m_bLatch ? TRUE : !m_bChecked;
  Invalidate();
}

int CSkinButtonEx::StateImage() {
  if (m_bDisabled) return kDisabled;
  if (m_bChecked) return m_bHover ? kCheckedHover : kChecked;
  return m_bHover ? kHover : kNormal;
}

void CSkinButtonEx::SendHoverHint() { GetParent()->SendMessage(UM_HOVER_HINT, static_cast<WPARAM>(m_nCommandId), 0); }
