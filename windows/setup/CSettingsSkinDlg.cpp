#include "windows/setup/CSettingsSkinDlg.h"

#include "skin/SkinBitmap.h"

namespace {

constexpr SIZE kMinimumSize{800, 600};

}  // namespace

BEGIN_MESSAGE_MAP(CSettingsSkinDlg, CSkinDialog)
  ON_WM_DESTROY()
  ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

CSettingsSkinDlg::CSettingsSkinDlg(UINT nIDTemplate, CWnd* pParent)
    : CSkinDialog(nIDTemplate, pParent, "Setting-Buttons", "Setting-ButtonsMin") {}

CSettingsSkinDlg::~CSettingsSkinDlg() { CSettingsSkinDlg::Teardown(); }

// ---- Picture

BOOL CSettingsSkinDlg::CreateVideoArea(const RECT& design) {
  return m_videoArea.Create(*this, design);
}

void CSettingsSkinDlg::TakeOverPicture() {
  m_videoArea.ShowLivePicture();
}

void CSettingsSkinDlg::LayoutHostedControl() {
  m_videoArea.Place();
}

// ---- Buttons and leaving

BOOL CSettingsSkinDlg::OnSharedButton(const CString& name) {
  if (name == "CLOSE_BUTTON") CloseProgram();
  else if (name == "MAIN_BUTTON") GoToLauncher();
  else return HandleFrameButton(name);
  return TRUE;
}

void CSettingsSkinDlg::CloseProgram() {
  Teardown();
  EndDialog(IDOK);
  if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CSettingsSkinDlg::Teardown() {
  m_videoArea.Destroy();
  ReleaseBitmap(m_background);
}

void CSettingsSkinDlg::OnDestroy() {
  Teardown();
  CSkinDialog::OnDestroy();
}

// ---- Messages and keys

void CSettingsSkinDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  CSkinDialog::OnGetMinMaxInfo(lpMMI);
  lpMMI->ptMinTrackSize = {kMinimumSize.cx, kMinimumSize.cy};
}

LRESULT CSettingsSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return PageWindowProc(message, wParam, lParam);
}

// Backspace goes back from whichever control has the focus.
BOOL CSettingsSkinDlg::PreTranslateMessage(MSG* pMsg) { return PreTranslateWindowKeys(pMsg); }
