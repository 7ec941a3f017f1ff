// Dialogs from templates, their default procedure, their keyboard handling and the modal
// loop shared by DialogBoxParamA and MessageBoxA.
#pragma once

#include <win32/user/ResourceTable.h>
#include <win32/user/dialog.h>

#include <functional>

namespace plat {

class DialogManager {
 public:
  // Creates the dialog and its controls, sends WM_INITDIALOG and shows it when the
  // template says WS_VISIBLE. nullptr when a control cannot be created.
  static HWND create(const res::Dialog& dialogTemplate, HINSTANCE instance, HWND parent, DLGPROC proc, LPARAM init);

  // Runs the modal loop of `dialog` until EndDialog, then destroys it. The owner is
  // disabled meanwhile. When the loop has nothing to do, `onIdle` may act (true: it did);
  // when neither it nor the thread's idle hook has anything to do, `fallback` may act.
  static INT_PTR runModal(HWND dialog, HWND owner, const std::function<bool()>& onIdle = {},
                          const std::function<bool()>& fallback = {});
  static bool end(HWND dialog, INT_PTR result);

  static LRESULT defaultProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static bool isDialogMessage(HWND dialog, MSG& msg);
  static HWND nextTabItem(HWND dialog, HWND control, bool previous);

 private:
  static bool hasEnded(HWND dialog, INT_PTR& result);
  static void restoreFocus(HWND dialog);
  static void saveFocus(HWND dialog);
  static void eraseBackground(HWND dialog, HDC hdc);
  static LRESULT defaultHandling(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static bool handleKey(HWND dialog, MSG& msg);
};

}  // namespace plat
