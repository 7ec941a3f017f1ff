#include "skin/CShapeToolTip.h"

BOOL CShapeToolTip::SetText(CWnd* pOwner, LPCTSTR lpszText, BOOL bActivate) {
  if (!lpszText || !*lpszText) return FALSE;
  Init(pOwner);
  if (m_ctrl.GetToolCount() == 0) {
    CRect rcClient;
    pOwner->GetClientRect(&rcClient);
    m_ctrl.AddTool(pOwner, lpszText, &rcClient, 1);
  }
  m_ctrl.UpdateTipText(lpszText, pOwner, 1);
  m_ctrl.Activate(bActivate);
  return TRUE;
}

void CShapeToolTip::Activate(BOOL bActivate) {
  if (m_ctrl.GetToolCount() == 0) return;
  m_ctrl.Activate(bActivate);
}

void CShapeToolTip::Relay(CWnd* pOwner, MSG* pMsg) {
  Init(pOwner);
  m_ctrl.RelayEvent(pMsg);
}

void CShapeToolTip::Init(CWnd* pOwner) {
  if (m_ctrl.m_hWnd) return;
  m_ctrl.Create(pOwner);
  m_ctrl.Activate(FALSE);
}
