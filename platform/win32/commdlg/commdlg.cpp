#include <win32/commdlg/commdlg.h>

#include <win32/commdlg/FileDialog.h>

namespace {

thread_local DWORD t_lastError = 0;

BOOL RunFileDialog(LPOPENFILENAMEA ofn, bool save) {
  t_lastError = 0;
  if (!ofn || ofn->lStructSize != sizeof(OPENFILENAMEA)) {
    t_lastError = CDERR_STRUCTSIZE;
    return FALSE;
  }
  if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
    t_lastError = CDERR_INITIALIZATION;
    return FALSE;
  }
  plat::FileDialog dialog(*ofn, save);
  DWORD error = 0;
  const BOOL chosen = dialog.run(error);
  t_lastError = error;
  return chosen;
}

}  // namespace

BOOL GetOpenFileNameA(LPOPENFILENAMEA lpofn) { return RunFileDialog(lpofn, false); }

BOOL GetSaveFileNameA(LPOPENFILENAMEA lpofn) { return RunFileDialog(lpofn, true); }

DWORD CommDlgExtendedError() { return t_lastError; }
