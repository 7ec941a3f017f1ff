// MFC: the data classes (afx.h) and the window classes: CCmdTarget and message maps,
// CWnd, CDialog, CFrameWnd, CWinThread/CWinApp and the Afx functions.
#pragma once

#include <mfc/afx.h>
#include <win32/user.h>

#include <mfc/wnd/AFX_THREAD_STATE.h>
#include <mfc/wnd/CCmdTarget.h>
#include <mfc/wnd/CDataExchange.h>
#include <mfc/wnd/CDialog.h>
#include <mfc/wnd/CFrameWnd.h>
#include <mfc/wnd/CComboBox.h>
#include <mfc/wnd/CEdit.h>
#include <mfc/wnd/CListBox.h>
#include <mfc/wnd/CListCtrl.h>
#include <mfc/wnd/CMenu.h>
#include <mfc/wnd/CStatic.h>
#include <mfc/wnd/CToolTipCtrl.h>
#include <mfc/wnd/CWinApp.h>
#include <mfc/wnd/CWinThread.h>
#include <mfc/wnd/CWnd.h>
#include <mfc/wnd/afxmsg.h>
#include <mfc/wnd/afxwinapi.h>
