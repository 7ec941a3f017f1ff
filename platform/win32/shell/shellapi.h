// The shell's program start and notification area (tray).
//
// ShellExecuteA and WinExec start real processes: a program path "X.exe" names the
// executable X beside it (or, for the program folder, in the folder the built modules
// come from); the new program runs on the same machine and program folder, without the
// caller's robot script. Documents open through the machine's file associations, which
// are recorded in events.log and not launched; so are web addresses ("http://..."),
// which succeed as if a browser had opened them, and folders ("shell-explore"), which
// succeed as if the file manager had opened them.
//
// Shell_NotifyIconA keeps the icons of every process of the machine in run/tray/, one
// file per icon (owner window, id, callback message, icon, tip), where the robot of any
// process reads them and acts on them as the taskbar would.
#pragma once

#include <win32/types.h>

// ShellExecuteA: above 32 on success; SE_ERR_FNF/ERROR_FILE_NOT_FOUND (2) when the file
// does not exist, SE_ERR_NOASSOC (31) for a file type with no program.
HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory,
                        INT nShowCmd);
// Above 31 on success; ERROR_FILE_NOT_FOUND (2) when the program is missing.
UINT WinExec(LPCSTR lpCmdLine, UINT uCmdShow);

#define SE_ERR_NOASSOC 31

#define NIM_ADD 0x00000000
#define NIM_MODIFY 0x00000001
#define NIM_DELETE 0x00000002

#define NIF_MESSAGE 0x00000001
#define NIF_ICON 0x00000002
#define NIF_TIP 0x00000004

typedef struct _NOTIFYICONDATAA {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  CHAR szTip[64];
} NOTIFYICONDATAA, *PNOTIFYICONDATAA;

// NIM_ADD fails for an icon (window, id) already shown, NIM_MODIFY and NIM_DELETE for one
// not shown; every message fails while the machine's shell is down, and all but NIM_DELETE
// without a live window.
BOOL Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA lpData);

#define ShellExecute ShellExecuteA
#define Shell_NotifyIcon Shell_NotifyIconA
typedef NOTIFYICONDATAA NOTIFYICONDATA;
