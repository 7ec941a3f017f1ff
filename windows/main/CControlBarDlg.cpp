#include "windows/main/CControlBarDlg.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "windows/main/CSkinDialog.h"
#include "windows/main/WindowMessages.h"

#include <vendor/language/Language.h>

#include <new>

namespace {

constexpr int kSkinFailedText = 11;
constexpr int kSkinFailedCaption = 4;
constexpr LPARAM kMediaPaused = 10000;

}  // namespace

BEGIN_MESSAGE_MAP(CControlBarDlg, CShapeBarDlg)
  ON_MESSAGE(UM_BAR_STATE, OnBarStateMessage)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CControlBarDlg::CControlBarDlg(CWnd* pParent) : CShapeBarDlg(IDD, pParent) {}

CControlBarDlg* CControlBarDlg::CreateFor(CWnd* owner) {
  auto* bar = new (std::nothrow) CControlBarDlg(owner);
  if (!bar) return nullptr;
  if (!bar->Create(IDD, owner)) {
    delete bar;
    return nullptr;
  }
  bar->LoadBarSkin();
  bar->Invalidate();
  bar->SetVideoWindow(owner->GetSafeHwnd());
  return bar;
}

BOOL CControlBarDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  return TRUE;
}

BOOL CControlBarDlg::LoadBarSkin() {
  if (LoadSkin(CSkinDialog::GetAppFolder() + "skins\\elegance\\skin.ini")) return TRUE;
  // The library keeps one text at a time: the message is copied before the caption is read.
  const CString text = GetMessageInfo(kSkinFailedText);
  const CString caption = GetMessageInfo(kSkinFailedCaption);
  MessageBox(text, caption);
  PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  return FALSE;
}

void CControlBarDlg::OnPaint() { CShapeBarDlg::OnPaint(); }

LRESULT CControlBarDlg::OnBarStateMessage(WPARAM wParam, LPARAM lParam) {
  OnBarState(static_cast<int>(wParam), lParam);
  return 0;
}

void CControlBarDlg::OnBarState(int state, LPARAM detail) {
  switch (state) {
    case 0:
    case 1:
      EnableSliderByName("PROGRESS_POS", FALSE);
      EnableButtons(TRUE, {});
      break;
    case 2:
      EnableSliderByName("PROGRESS_POS", FALSE);
      EnableButtons(FALSE, {"BACK_MOVIE", "AHEAD_MOVIE", "PAUSE_MOVIE", "STOP_MOVIE", "PLAY_MOVIE"});
      break;
    case 3:
    case 12:
    case 14:
      EnableSliderByName("PROGRESS_POS", FALSE);
      EnableButtons(TRUE, {"STOP_MOVIE", "SUB_SND", "ADD_SND", "MUTE_SND"});
      break;
    case 4:
      EnableSliderByName("PROGRESS_POS", TRUE);
      if (detail == kMediaPaused)
        EnableButtons(TRUE, {"PLAY_MOVIE", "STOP_MOVIE", "SUB_SND", "ADD_SND"});
      else
        EnableButtons(TRUE, {"BACK_MOVIE", "AHEAD_MOVIE", "PAUSE_MOVIE", "STOP_MOVIE", "SUB_SND", "ADD_SND", "MUTE_SND"});
      break;
    case 5:
      EnableSliderByName("PROGRESS_POS", FALSE);
      EnableButtons(TRUE, {"PLAY_MOVIE", "SUB_SND", "ADD_SND", "MUTE_SND"});
      break;
    case 7:
      EnableSliderByName("PROGRESS_POS", FALSE);
      EnableButtons(TRUE, {"STOP_MOVIE", "SUB_SND", "ADD_SND"});
      break;
    case 9:
    case 10:
      EnableSliderByName("PROGRESS_POS", FALSE);
      EnableButtons(FALSE, {"BACK_MOVIE", "AHEAD_MOVIE", "PAUSE_MOVIE", "STOP_MOVIE", "PLAY_MOVIE", "NEXT_CHANNELS",
                            "PRE_CHANNELS", "JIETU_PIC", "RECORD_MOVIE"});
      break;
    case 11:
    case 13:
      EnableSliderByName("PROGRESS_POS", FALSE);
      EnableButtons(FALSE, {"BACK_MOVIE", "AHEAD_MOVIE", "PAUSE_MOVIE", "STOP_MOVIE", "PLAY_MOVIE", "NEXT_CHANNELS",
                            "PRE_CHANNELS"});
      break;
    default: break;
  }
}

void CControlBarDlg::OnProgressMoved(const CString& name, int position) {
  if (name == "PROGRESS_POS" && g_pAppController && g_pAppController->IsMediaFileOpen())
    g_pAppController->SeekMediaPercent(position);
}

void CControlBarDlg::OnProgressReleased(const CString& name, int position) {
  OnProgressMoved(name, position);
  if (!g_pDisplayMode || !g_pDisplayMode->Is115()) return;
  HWND player = ::FindWindowA(nullptr, "Orvane Media_AVDlg");
  if (player && ::GetFocus() != player) ::SetFocus(player);
}
