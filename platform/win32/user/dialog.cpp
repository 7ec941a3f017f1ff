#include <win32/user/dialog.h>

#include <win32/error.h>
#include <win32/user/DialogManager.h>
#include <win32/user/ResourceTable.h>
#include <win32/user/controls.h>
#include <win32/user/usererror.h>
#include <win32/user/window.h>

#include <algorithm>
#include <cstring>

using plat::DialogManager;

namespace {

HWND createFromResource(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam) {
  const plat::res::Dialog* dialogTemplate = plat::ResourceTable::dialog(hInstance, lpTemplateName);
  if (!dialogTemplate) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return DialogManager::create(*dialogTemplate, hInstance, hWndParent, lpDialogFunc, dwInitParam);
}

}  // namespace

HWND CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam) {
  return createFromResource(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam);
}

INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam) {
  HWND owner = hWndParent ? GetAncestor(hWndParent, GA_ROOT) : nullptr;
  HWND dialog = createFromResource(hInstance, lpTemplateName, owner, lpDialogFunc, dwInitParam);
  if (!dialog) return -1;
  return DialogManager::runModal(dialog, owner);
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult) { return DialogManager::end(hDlg, nResult) ? TRUE : FALSE; }

LRESULT DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return DialogManager::defaultProc(hDlg, Msg, wParam, lParam);
}

BOOL IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
  return lpMsg && DialogManager::isDialogMessage(hDlg, *lpMsg) ? TRUE : FALSE;
}

BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
  HWND item = GetDlgItem(hDlg, nIDDlgItem);
  return item ? SetWindowTextA(item, lpString) : FALSE;
}

UINT GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax) {
  HWND item = GetDlgItem(hDlg, nIDDlgItem);
  if (!item) {
    if (lpString && cchMax > 0) lpString[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(GetWindowTextA(item, lpString, cchMax));
}

LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(hDlg, nIDDlgItem);
  return item ? SendMessageA(item, Msg, wParam, lParam) : 0;
}

HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
  return DialogManager::nextTabItem(hDlg, hCtl, bPrevious != FALSE);
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
  HWND item = GetDlgItem(hDlg, nIDButton);
  if (!item) return FALSE;
  SendMessageA(item, BM_SETCHECK, uCheck, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton) {
  HWND item = GetDlgItem(hDlg, nIDButton);
  return item ? static_cast<UINT>(SendMessageA(item, BM_GETCHECK, 0, 0)) : BST_UNCHECKED;
}

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
  BOOL found = FALSE;
  for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
    HWND item = GetDlgItem(hDlg, id);
    if (!item) continue;
    found = TRUE;
    SendMessageA(item, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return found;
}
