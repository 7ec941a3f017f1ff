// Files dropped on a window from the shell. A window that accepts them (DragAcceptFiles,
// the WS_EX_ACCEPTFILES style) is posted WM_DROPFILES with an HDROP: a movable global
// block holding a DROPFILES header and the paths, each zero-terminated, with one more zero
// at the end. The receiver reads it with DragQueryFileA and frees it with DragFinish.
// MakeDropFiles builds such a block, as the shell does when the user lets go of files
// (the robot drops files through it).
#pragma once

#include <win32/types.h>

#include <string>
#include <vector>

struct DROPFILES {
  DWORD pFiles;  // offset of the file list from the start of the block
  POINT pt;
  BOOL fNC;
  BOOL fWide;
};

void DragAcceptFiles(HWND hWnd, BOOL fAccept);
// The number of files for index 0xFFFFFFFF; else the length of file iFile's path
// (copied into lpszFile, cut to cch - 1 characters, when a buffer is given); 0 for an
// index past the list or a block that is not a drop.
UINT DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch);
BOOL DragQueryPoint(HDROP hDrop, LPPOINT lppt);
void DragFinish(HDROP hDrop);

namespace plat {
// A drop of `paths` at a client point, in a new global block the receiver frees.
HDROP MakeDropFiles(const std::vector<std::string>& paths, POINT point);
}  // namespace plat

#define DragQueryFile DragQueryFileA
