// The shell's folder browser. SHBrowseForFolderA shows a real modal "#32770" dialog owned
// by hwndOwner: the title text (static 14146), the folder list (a list box, id 14145, in
// the place of the folder tree: ".." goes up, a double click or Enter opens a folder, the
// top level lists the machine's drives), the status text (static 14147, with
// BIF_STATUSTEXT), OK and Cancel. The callback hears BFFM_INITIALIZED and BFFM_SELCHANGED
// and may send BFFM_SETSELECTIONA, BFFM_ENABLEOK and BFFM_SETSTATUSTEXTA back; OK with the
// button enabled returns the selected folder's item list (free it with the shell
// allocator), Cancel returns NULL. The robot drives it as a user would (platform/robot).
#pragma once

#include <com/objidl.h>
#include <win32/types.h>
#include <win32/user/message.h>

// An item list: here one block naming a file-system path.
struct ITEMIDLIST;
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

using BFFCALLBACK = int (*)(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

struct BROWSEINFOA {
  HWND hwndOwner;
  LPCITEMIDLIST pidlRoot;
  LPSTR pszDisplayName;
  LPCSTR lpszTitle;
  UINT ulFlags;
  BFFCALLBACK lpfn;
  LPARAM lParam;
  int iImage;
};
using LPBROWSEINFOA = BROWSEINFOA*;
using BROWSEINFO = BROWSEINFOA;

#define BIF_RETURNONLYFSDIRS 0x0001
#define BIF_STATUSTEXT 0x0004

#define BFFM_INITIALIZED 1
#define BFFM_SELCHANGED 2
#define BFFM_SETSTATUSTEXTA (WM_USER + 100)
#define BFFM_ENABLEOK (WM_USER + 101)
#define BFFM_SETSELECTIONA (WM_USER + 102)
#define BFFM_SETSTATUSTEXT BFFM_SETSTATUSTEXTA
#define BFFM_SETSELECTION BFFM_SETSELECTIONA

// The controls of the browser dialog.
#define IDC_BROWSE_TREE 14145
#define IDC_BROWSE_TITLE 14146
#define IDC_BROWSE_STATUS 14147

LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA lpbi);
// FALSE (and an empty path) for an item that is no file-system folder.
BOOL SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath);
HRESULT SHGetMalloc(IMalloc** ppMalloc);

#define SHBrowseForFolder SHBrowseForFolderA
#define SHGetPathFromIDList SHGetPathFromIDListA
