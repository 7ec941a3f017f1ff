// Dialogs: windows of class "#32770" built from a dialog template of the program's
// resources (resources/, compiled in: see ResourceTable.h), with their controls as child
// windows of their classes. The dialog procedure sees every message first through
// DefDlgProcA; a modal dialog (DialogBoxParamA) disables its owner and runs its own loop,
// in which every other window of the thread keeps getting its messages and timers, until
// EndDialog, which may be called from any handler however deeply nested.
#pragma once

#include <win32/types.h>
#include <win32/user/message.h>
#include <win32/user/msgbox.h>

using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// The dialog class.
#define WC_DIALOG "#32770"

// Dialog styles.
#define DS_ABSALIGN 0x01
#define DS_SYSMODAL 0x02
#define DS_3DLOOK 0x04
#define DS_FIXEDSYS 0x08
#define DS_NOFAILCREATE 0x10
#define DS_LOCALEDIT 0x20
#define DS_SETFONT 0x40
#define DS_MODALFRAME 0x80
#define DS_NOIDLEMSG 0x100
#define DS_SETFOREGROUND 0x200
#define DS_CONTROL 0x400
#define DS_CENTER 0x800
#define DS_CENTERMOUSE 0x1000
#define DS_CONTEXTHELP 0x2000

// Dialog window data (Get/SetWindowLongPtrA).
#define DWLP_MSGRESULT 0
#define DWLP_DLGPROC 8
#define DWLP_USER 16

#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B

// WM_GETDLGCODE answers.
#define DLGC_WANTARROWS 0x0001
#define DLGC_WANTTAB 0x0002
#define DLGC_WANTALLKEYS 0x0004
#define DLGC_WANTMESSAGE 0x0004
#define DLGC_HASSETSEL 0x0008
#define DLGC_DEFPUSHBUTTON 0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON 0x0040
#define DLGC_WANTCHARS 0x0080
#define DLGC_STATIC 0x0100
#define DLGC_BUTTON 0x2000

HWND CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam);
#define CreateDialogA(hInstance, lpName, hWndParent, lpDialogFunc) \
  CreateDialogParamA(hInstance, lpName, hWndParent, lpDialogFunc, 0L)
// -1 when the dialog cannot be created.
INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam);
#define DialogBoxA(hInstance, lpTemplate, hWndParent, lpDialogFunc) \
  DialogBoxParamA(hInstance, lpTemplate, hWndParent, lpDialogFunc, 0L)
BOOL EndDialog(HWND hDlg, INT_PTR nResult);
LRESULT DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam);
// Keyboard handling of a dialog (Tab, Enter, Escape); dispatches the other messages for
// the dialog and its controls. FALSE when the message is not for the dialog.
BOOL IsDialogMessageA(HWND hDlg, LPMSG lpMsg);
BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString);
UINT GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax);
LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);
HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
// The check of a dialog's check box or radio button (BM_SETCHECK, BM_GETCHECK).
BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
// Checks nIDCheckButton and clears the other buttons of nIDFirstButton..nIDLastButton.
BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton);

#define CreateDialog CreateDialogA
#define CreateDialogParam CreateDialogParamA
#define DialogBox DialogBoxA
#define DialogBoxParam DialogBoxParamA
#define DefDlgProc DefDlgProcA
#define IsDialogMessage IsDialogMessageA
#define SetDlgItemText SetDlgItemTextA
#define GetDlgItemText GetDlgItemTextA
#define SendDlgItemMessage SendDlgItemMessageA
