// Dialogs from the compiled test resources: creation, default procedure, keyboard, modal
// loops with other windows and timers still served, EndDialog from nested handlers.
#include "WindowTest.h"

#include <win32/user/UserSystem.h>

namespace test {
namespace {

class DialogTest : public UserTest {};

std::vector<UINT> g_dialogSaw;

INT_PTR CALLBACK recordingDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  g_dialogSaw.push_back(message);
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam) == IDOK ? 10 : 20);
    return TRUE;
  }
  return FALSE;
}

TEST_F(DialogTest, AModelessDialogIsBuiltFromItsTemplate) {
  g_dialogSaw.clear();
  HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, recordingDialog, 0);
  ASSERT_NE(dialog, nullptr);
  char name[16];
  GetClassNameA(dialog, name, sizeof name);
  EXPECT_STREQ(name, "#32770");
  EXPECT_EQ(FindWindowA("#32770", "Test Dialog"), dialog);
  EXPECT_EQ(FindWindowA(nullptr, "Test Dialog"), dialog);
  EXPECT_EQ(FindWindowA("#32770", "test dialog"), nullptr);
  EXPECT_TRUE(IsWindowVisible(dialog));
  // The template gives the client size; the frame comes around it.
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);
  HWND edit = GetDlgItem(dialog, 1000);
  ASSERT_NE(edit, nullptr);
  char text[16];
  GetDlgItemTextA(dialog, 1000, text, sizeof text);
  EXPECT_STREQ(text, "start");
  EXPECT_TRUE(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 1001)));
  // WM_INITDIALOG came with the first tab stop, which then got the focus.
  EXPECT_EQ(g_dialogSaw.front(), static_cast<UINT>(WM_INITDIALOG));
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 1));
  EXPECT_EQ(CreateDialogParamA(nullptr, MAKEINTRESOURCEA(999), nullptr, recordingDialog, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  DestroyWindow(dialog);
}

TEST_F(DialogTest, DialogProcedureResultsGoThroughMsgResult) {
  HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(102), nullptr,
                                   [](HWND dlg, UINT message, WPARAM, LPARAM) -> INT_PTR {
                                     if (message != WM_USER + 5) return FALSE;
                                     SetWindowLongPtrA(dlg, DWLP_MSGRESULT, 1234);
                                     return TRUE;
                                   },
                                   0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindowVisible(dialog));  // the template is not WS_VISIBLE
  EXPECT_EQ(SendMessageA(dialog, WM_USER + 5, 0, 0), 1234);
}

TEST_F(DialogTest, EnterEscapeAndTabWorkThroughIsDialogMessage) {
  g_dialogSaw.clear();
  HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, recordingDialog, 0);
  HWND ok = GetDlgItem(dialog, IDOK);
  HWND cancel = GetDlgItem(dialog, IDCANCEL);
  HWND edit = GetDlgItem(dialog, 1000);
  MSG tab{ok, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageA(dialog, &tab));
  EXPECT_EQ(GetFocus(), cancel);
  tab.hwnd = cancel;
  IsDialogMessageA(dialog, &tab);
  EXPECT_EQ(GetFocus(), edit);
  // Enter on a non-button control presses the default button.
  MSG enter{edit, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageA(dialog, &enter));
  const auto command = std::find(g_dialogSaw.begin(), g_dialogSaw.end(), static_cast<UINT>(WM_COMMAND));
  EXPECT_NE(command, g_dialogSaw.end());
  MSG outside{createRecorder("outside"), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  EXPECT_FALSE(IsDialogMessageA(dialog, &outside));
  DestroyWindow(dialog);
}

TEST_F(DialogTest, CloseOfADialogTakesTheCancelPath) {
  static INT_PTR ended = 0;
  HWND owner = createRecorder("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  const INT_PTR result = DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), owner,
                                         [](HWND dlg, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
                                           if (message == WM_INITDIALOG) {
                                             PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
                                             return TRUE;
                                           }
                                           if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
                                             EndDialog(dlg, ++ended + 40);
                                             return TRUE;
                                           }
                                           return FALSE;
                                         },
                                         0);
  EXPECT_EQ(result, 41);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
  EXPECT_EQ(FindWindowA("#32770", "Test Dialog"), nullptr);
}

// The modal loop keeps every other window of the thread alive: a modeless window gets its
// posted messages and a timer keeps firing, and the dialog ends from a handler nested
// inside a send inside the timer's handler.
struct ModalScene {
  HWND modeless = nullptr;
  HWND dialog = nullptr;
  bool ownerDisabledInside = false;
  int ticks = 0;
  int modelessMessages = 0;
};
ModalScene g_scene;

LRESULT CALLBACK modelessProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 1) {
    ++g_scene.modelessMessages;
    return 0;
  }
  if (message == WM_TIMER) {
    ++g_scene.ticks;
    PostMessageA(hwnd, WM_USER + 1, 0, 0);
    // The third tick ends the dialog from deep inside a send.
    if (g_scene.ticks == 3) SendMessageA(g_scene.dialog, WM_USER + 9, 0, 0);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK endingDialog(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    g_scene.dialog = dialog;
    return TRUE;
  }
  if (message == WM_USER + 9) {
    EndDialog(dialog, 77);
    return TRUE;
  }
  return FALSE;
}

TEST_F(DialogTest, TheModalLoopServesOtherWindowsAndTimersUntilEndDialog) {
  g_scene = ModalScene{};
  registerClass("Modeless", modelessProc);
  HWND owner = createRecorder("launcher", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  g_scene.modeless = CreateWindowExA(0, "Modeless", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, owner, nullptr, nullptr,
                                     nullptr);
  SetTimer(g_scene.modeless, 1, 100, nullptr);
  // Time moves on while the dialog is up: a helper advances the manual clock whenever
  // the dialog's loop has nothing left to do.
  plat::Clock& clock = machine().clock();
  plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), [&clock] {
    clock.advance(100);
    return 0;
  });
  const INT_PTR result = DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), owner, endingDialog, 0);
  plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), nullptr);
  EXPECT_EQ(result, 77);
  EXPECT_EQ(g_scene.ticks, 3);
  EXPECT_EQ(g_scene.modelessMessages, 2);  // the third is still queued
  EXPECT_FALSE(IsWindow(g_scene.dialog));
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(DialogTest, TheOwnerIsDisabledWhileTheDialogRuns) {
  static HWND owner = nullptr;
  static bool disabledInside = false;
  owner = createRecorder("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), owner,
                  [](HWND dlg, UINT message, WPARAM, LPARAM) -> INT_PTR {
                    if (message == WM_INITDIALOG) PostMessageA(dlg, WM_USER, 0, 0);
                    if (message == WM_USER) {
                      disabledInside = !IsWindowEnabled(owner);
                      EndDialog(dlg, 1);
                    }
                    return message == WM_INITDIALOG;
                  },
                  0);
  EXPECT_TRUE(disabledInside);
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(DialogTest, QuitInsideAModalLoopEndsItAndIsPostedAgain) {
  const INT_PTR result = DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), nullptr,
                                         [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR {
                                           if (message == WM_INITDIALOG) PostQuitMessage(3);
                                           return message == WM_INITDIALOG;
                                         },
                                         0);
  EXPECT_EQ(result, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(DialogTest, AChildDialogLivesInItsParent) {
  HWND host = createRecorder("host", WS_POPUP | WS_VISIBLE, nullptr, 0, RECT{100, 100, 500, 400});
  HWND page = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(101), host, nullptr, 0);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(GetParent(page), host);
  RECT r;
  GetWindowRect(page, &r);
  EXPECT_EQ(r.left, 105);
  EXPECT_EQ(r.top, 106);
}

}  // namespace
}  // namespace test
