// A dialog from a template of the program's resources (see win32/user/dialog.h).
//
// DoModal disables the owner, creates the dialog attached to this object, runs the
// window's modal loop (the program's messages, timers and other windows keep being
// served, and PreTranslateMessage lets the dialog handle its keys) until EndDialog, then
// destroys it and gives back the result. Create makes a modeless dialog. OnInitDialog,
// OnOK and OnCancel are the usual overridables; IDOK and IDCANCEL commands reach them.
#pragma once

#include <mfc/wnd/CDataExchange.h>
#include <mfc/wnd/CWnd.h>

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  CDialog();
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  virtual INT_PTR DoModal();
  void EndDialog(int nResult);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* pDX);

  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

 protected:
  LPCTSTR m_lpszTemplateName = nullptr;
  CWnd* m_pParentWnd = nullptr;

  DECLARE_MESSAGE_MAP()

 private:
  BOOL createDialog(LPCTSTR lpszTemplateName, HWND hWndParent);
  static INT_PTR CALLBACK dialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
