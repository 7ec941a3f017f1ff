#include <mfc/wnd/CDialog.h>

#include <mfc/wnd/CWinApp.h>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

// The dialog procedure behind every CDialog: the message map has seen the message
// already; only WM_INITDIALOG is left for the object.
INT_PTR CALLBACK CDialog::dialogProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
  return dialog ? dialog->OnInitDialog() : TRUE;
}

BOOL CDialog::createDialog(LPCTSTR lpszTemplateName, HWND hWndParent) {
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), lpszTemplateName, hWndParent, dialogProc, 0);
  AfxUnhookWindowCreate();
  return hWnd != nullptr;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd); }

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
  m_lpszTemplateName = lpszTemplateName;
  if (pParentWnd) m_pParentWnd = pParentWnd;
  CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  return createDialog(lpszTemplateName, parent ? parent->m_hWnd : nullptr);
}

INT_PTR CDialog::DoModal() {
  HWND owner = nullptr;
  CWnd::GetSafeOwner(m_pParentWnd, &owner);
  const bool enableOwner = owner && ::IsWindowEnabled(owner);
  if (enableOwner) ::EnableWindow(owner, FALSE);
  m_nModalResult = -1;
  m_continueModal = true;
  if (createDialog(m_lpszTemplateName, owner)) {
    if (m_continueModal) RunModalLoop();
    if (m_hWnd) SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  if (enableOwner) ::EnableWindow(owner, TRUE);
  if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
  DestroyWindow();
  return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
  if (m_continueModal) EndModalLoop(nResult);
  else m_nModalResult = nResult;
  ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange exchange(this, bSaveAndValidate);
  DoDataExchange(&exchange);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  // The dialog manager handles its keys (Tab, Enter, Escape) and mouse input.
  const bool input = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                     (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
  if (!input || !::IsWindow(m_hWnd)) return FALSE;
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
  return ::IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  // Commands no window handles go to the application.
  if (nCode != CN_COMMAND) return FALSE;
  CWinApp* app = AfxGetApp();
  return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
