// The common file dialogs (comdlg32): GetOpenFileNameA and GetSaveFileNameA.
//
// Each shows a real modal "#32770" dialog over the machine's folders, owned by the root of
// hwndOwner (disabled meanwhile): the folder shown (static 1088), a list of its entries
// (list box 1120: ".." goes up, sub-folders end in "\", then the files of the chosen type;
// above a drive's root the drives are listed), the file name (edit 1152), the file types
// of lpstrFilter (drop-down list 1136, starting at nFilterIndex), Open or Save (IDOK) and
// Cancel. A click on a file puts its name into the edit; a double click opens a folder or
// takes a file. The name typed is taken relative to the folder shown; a folder's name
// opens it. It starts in the folder of an initial name that has one, else in
// lpstrInitialDir, else in the current folder.
//
// Before it returns a name: lpstrDefExt (a leading "." is skipped) is added to a name
// without an extension (an open dialog first looks for the name as typed); with
// OFN_PATHMUSTEXIST or OFN_FILEMUSTEXIST its folder must exist, with OFN_FILEMUSTEXIST the
// file too (a message box says which is missing and the dialog stays); with
// OFN_OVERWRITEPROMPT a save dialog asks before it names an existing file (No, the
// default, keeps the dialog). OFN_HIDEREADONLY changes nothing: there is no read-only box.
//
// TRUE: lpstrFile holds the full path, nFileOffset and nFileExtension point at its name
// and extension, lpstrFileTitle (when given) the name, nFilterIndex the type shown.
// FALSE: cancelled (CommDlgExtendedError 0), or the path did not fit nMaxFile
// (FNERR_BUFFERTOOSMALL; the first two bytes of lpstrFile hold the size needed), or the
// record was wrong (CDERR_STRUCTSIZE, CDERR_INITIALIZATION without a file buffer).
//
// The robot answers them as it answers message boxes (platform/robot): an answer queued
// for the next dialog, or what its script or test does inside the dialog; with nobody to
// answer, the user cancels.
#pragma once

#include <win32/types.h>

struct OPENFILENAMEA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;  // pairs of description and patterns ("*.mpg;*.mpeg"), each ending in NUL, then NUL
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;  // from 1
  LPSTR lpstrFile;     // in: the initial name (may be empty); out: the full path
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
};
using LPOPENFILENAMEA = OPENFILENAMEA*;
using OPENFILENAME = OPENFILENAMEA;

#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000

#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define FNERR_BUFFERTOOSMALL 0x3003

BOOL GetOpenFileNameA(LPOPENFILENAMEA lpofn);
BOOL GetSaveFileNameA(LPOPENFILENAMEA lpofn);
// Why the calling thread's last file dialog returned FALSE; 0 after a cancel.
DWORD CommDlgExtendedError();

#define GetOpenFileName GetOpenFileNameA
#define GetSaveFileName GetSaveFileNameA
