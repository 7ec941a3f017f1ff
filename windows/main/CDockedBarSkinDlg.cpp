#include "windows/main/CDockedBarSkinDlg.h"

#include "windows/main/CControlBarDlg.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

BEGIN_MESSAGE_MAP(CDockedBarSkinDlg, CSkinDialog)
  ON_WM_SIZE()
END_MESSAGE_MAP()

CDockedBarSkinDlg::CDockedBarSkinDlg(UINT nIDTemplate, CWnd* pParent, LPCSTR buttonSection,
                                     LPCSTR restoredButtonSection)
    : CSkinDialog(nIDTemplate, pParent, buttonSection, restoredButtonSection) {}

CDockedBarSkinDlg::~CDockedBarSkinDlg() { DestroyBar(); }

void CDockedBarSkinDlg::DestroyBar() { DestroyAndDelete(m_controlBar); }

void CDockedBarSkinDlg::StartBarDocking() {
  GetWindowRect(&g_barDockRect);
  if (m_controlBar) m_controlBar->PostMessage(UM_BAR_CONTROL, 0, 0);
}

void CDockedBarSkinDlg::PlaceBar() {
  if (m_controlBar) m_controlBar->PlaceAtBottomOf(m_hWnd);
}

void CDockedBarSkinDlg::HideBar() {
  if (m_controlBar) m_controlBar->HideNow();
}

void CDockedBarSkinDlg::WakeBar(BOOL dockNow) {
  const BOOL hides = g_isMaximized || m_fullScreen;
  if (!m_controlBar || (!hides && m_controlBar->IsShown())) return;
  m_controlBar->SetDockToVideo(TRUE);
  m_controlBar->DockToVideo(dockNow);
  m_controlBar->PostMessage(UM_BAR_CONTROL, 1, hides);
}

void CDockedBarSkinDlg::CoverScreenForFullScreen() {
  if (!g_isMaximized) {
    StoreSharedRect();
    MaximizeToWorkArea(FALSE);
    g_isMaximized = 0;
  }
  if (!m_controlBar) return;
  CRect client;
  GetClientRect(&client);
  m_controlBar->SetDockRect(client.left, client.top, client.right, client.bottom);
}

void CDockedBarSkinDlg::ShowButtonsAfterFullScreen() {
  m_swallowAfterFullScreen = TRUE;
  m_fullScreen = FALSE;
  ShowSkinButtons(TRUE);
}

void CDockedBarSkinDlg::RedockBarAfterFullScreen() {
  if (m_controlBar) m_controlBar->ShowDockedAlong(BarDockRect());
  StartBarDocking();
  PlaceBar();
  Invalidate();
}

// Maximised, the window's rectangle is its client area on the screen.
CRect CDockedBarSkinDlg::BarDockRect() const {
  CRect dock;
  if (g_isMaximized) GetWindowRect(&dock);
  else dock = g_sharedWindowRect;
  return dock;
}

void CDockedBarSkinDlg::OnSize(UINT nType, int cx, int cy) {
  m_sizedFlag = TRUE;
  if (m_controlBar && g_isMaximized) m_controlBar->SetDockToVideo(TRUE);
  PlaceBar();
  CSkinDialog::OnSize(nType, cx, cy);
}
