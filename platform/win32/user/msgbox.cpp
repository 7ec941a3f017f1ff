#include <win32/user/msgbox.h>

#include <win32/user/MessageBoxDialog.h>

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  return plat::MessageBoxDialog::show(hWnd, lpText, lpCaption, uType);
}
