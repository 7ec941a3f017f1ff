// The media player's screen: its buttons, full screen and back, the way back to the
// launcher or the TV window, closing the program, and files and folders added to the list.
#include "windows/main/CAVSkinDlg.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "skin/CFolderPicker.h"
#include "skin/CSkinButton.h"
#include "skin/CVideoStaticEx.h"
#include "skin/SkinBitmap.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/CMainSkinDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <mfc/afxdlgs.h>
#include <vendor/language/Language.h>
#include <win32/codepage.h>

namespace {

constexpr int kTVDisplayMode = 110;
constexpr int kLauncherDisplayMode = 105;

constexpr LPCSTR kVideoFilter = "MPEG File (*.mpg;*.mpeg)|*.mpg;*.mpeg|AVI File (*.avi)|*.avi|All Files (*.*)|*.*|";

// The folder picker's caption and prompt, in English or, for the UI language codes 2 and
// 3, in the simplified or traditional Chinese forms (written here in UTF-8 and shown in
// the machine's ANSI code page).
struct FolderTexts {
  const char* caption;
  const char* prompt;
};
constexpr FolderTexts kEnglishFolderTexts = {"Select Input File Path:", "File Path: "};
constexpr FolderTexts kSimplifiedFolderTexts = {"选择输入文件路径:", "文件路径: "};
constexpr FolderTexts kTraditionalFolderTexts = {"選擇輸入檔案路徑:", "檔案路徑: "};

CString ToAnsi(LPCSTR utf8) {
  WCHAR wide[128] = {};
  if (!::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 128)) return utf8;
  char ansi[256] = {};
  if (!::WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr)) return utf8;
  return ansi;
}

const FolderTexts& FolderTextsForLanguage() {
  switch (GetLanguage()) {
    case 2: return kSimplifiedFolderTexts;
    case 3: return kTraditionalFolderTexts;
    default: return kEnglishFolderTexts;
  }
}

CTVDlg* TVWindow() {
  auto* launcher = dynamic_cast<CMainSkinDlg*>(AfxGetMainWnd());
  return launcher ? launcher->GetTVDlg() : nullptr;
}

}  // namespace

// ---- Buttons

void CAVSkinDlg::OnSkinButton(const CString& name) {
  if (SwallowsButtonAction()) return;
  if (!IsButtonUsable(name)) return;
  if (name == "CLOSE_BUTTON") {
    CloseProgram();
  } else if (name == "MAX_BUTTON") {
    if (g_isMaximized) Restore();
    else Maximize();
  } else if (name == "MIN_BUTTON") {
    if (CWnd* main = AfxGetMainWnd()) main->ShowWindow(SW_MINIMIZE);
  } else if (name == "HELP_BUTTON") {
    ShowHelp(GetAppFolder());
  } else if (name == "MAIN_BUTTON") {
    ShowLauncher();
  } else if (name == "RETURN_BUTTON") {
    if (m_returnToLauncher) ShowLauncher();
    else ReturnToTv();
  } else if (name == "FULLSCREEN_BUTTON") {
    ToggleFullScreen();
  }
}

// The buttons stay until the window goes: the one pressed is still handling its click.
// The bar goes out of sight with the window.
void CAVSkinDlg::CloseProgram() {
  StopPlayback();
  for (int i = 0; i < GetSkinButtonCount(); ++i) GetSkinButton(i)->ShowWindow(SW_HIDE);
  ReleaseBitmap(m_background);
  if (m_videoArea) {
    m_videoArea->DestroyWindow();
    delete m_videoArea;
    m_videoArea = nullptr;
  }
  HideBar();
  EndDialog(IDCANCEL);
  if (CWnd* main = AfxGetMainWnd()) main->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

// ---- Leaving

void CAVSkinDlg::ReturnToTv() {
  if (m_leaving) return;
  CTVDlg* tv = TVWindow();
  if (!tv) {
    // Nothing to return to: the way back leads to the launcher.
    ShowLauncher();
    return;
  }
  m_leaving = TRUE;
  StoreSharedRect();
  tv->ShowWithVideo(TRUE);
  if (g_pAppController) g_pAppController->ReturnToTv(1, 1);
  tv->PostMessage(UM_ATTACH_VIDEO, 0, 0);
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kTVDisplayMode);
  tv->PostMessage(UM_REFRESH_LAYOUT, 0, 1);
}

void CAVSkinDlg::ShowLauncher() {
  if (m_leaving) return;
  m_leaving = TRUE;
  if (g_pAppController) {
    g_pAppController->StopAll();
    if (!g_pAppController->IsIdle()) g_pAppController->SetIdle();
  }
  ForgetFile();
  StoreSharedRect();
  CWnd* main = AfxGetMainWnd();
  if (main) main->ShowWindow(SW_SHOW);
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kLauncherDisplayMode);
  if (main) main->PostMessage(UM_REFRESH_LAYOUT, 0, 0);
}

// ---- Full screen

void CAVSkinDlg::ToggleFullScreen() {
  if (m_videoArea) m_videoArea->ToggleFullScreen();
}

void CAVSkinDlg::LeaveFullScreenByKey() {
  if (!m_fullScreen || !m_videoArea) return;
  m_videoArea->LeaveFullScreen();
  if (m_controlBar && !m_controlBar->IsShown()) m_controlBar->ShowBar();
}

LRESULT CAVSkinDlg::OnEnterFullScreen(WPARAM wParam, LPARAM) {
  if (wParam == 1) {
    if (m_controlBar) m_controlBar->PostMessage(UM_BAR_CONTROL, 1, g_isMaximized || m_fullScreen);
    return 0;
  }
  m_fullScreen = TRUE;
  ShowSkinButtons(FALSE);
  if (m_mediaList.GetSafeHwnd()) m_mediaList.ShowWindow(SW_HIDE);
  CoverScreenForFullScreen();
  // The pointer may hide with the bar.
  if (m_controlBar) m_controlBar->SetKeepCursor(FALSE);
  return 0;
}

LRESULT CAVSkinDlg::OnLeaveFullScreen(WPARAM, LPARAM) {
  ShowButtonsAfterFullScreen();
  if (m_mediaList.GetSafeHwnd()) m_mediaList.ShowWindow(SW_SHOW);
  if (!g_isMaximized) ReturnToSharedPlace();
  LayoutSkinButtons();
  RedockBarAfterFullScreen();
  return 0;
}

// ---- Adding to the list

void CAVSkinDlg::AddFile() {
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kVideoFilter, this);
  if (dialog.DoModal() != IDOK) return;
  m_mediaList.AddMediaFile(dialog.GetPathName(), TRUE, FALSE);
}

void CAVSkinDlg::SetFolder() {
  const FolderTexts& texts = FolderTextsForLanguage();
  CFolderPicker picker(ToAnsi(texts.caption), ToAnsi(texts.prompt), GetAppFolder(), this);
  if (picker.DoModal() != IDOK || picker.GetPath().IsEmpty()) return;
  m_mediaList.AddFolder(picker.GetPath(), TRUE, FALSE);
  m_mediaList.Redraw();
}

LRESULT CAVSkinDlg::OnListAddFile(WPARAM, LPARAM) {
  AddFile();
  return 0;
}

LRESULT CAVSkinDlg::OnListSetFolder(WPARAM, LPARAM) {
  SetFolder();
  return 0;
}
