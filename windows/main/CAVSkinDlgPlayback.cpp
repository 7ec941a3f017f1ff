// The media player's playing: files from the list, play, pause, stop, ten-second skips,
// volume, the list's previous and next entries, and the commands of the bar, the keys and
// the remote that ask for them. Volume, mute and skips do nothing while no file is open.
#include "windows/main/CAVSkinDlg.h"

#include "core/CAppController.h"
#include "skin/CVideoStaticEx.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/WindowMessages.h"

namespace {

// The bar's states: no file, a file open (playing or paused), an entry ready to play.
constexpr int kBarNoFile = 1;
constexpr int kBarFileOpen = 4;
constexpr int kBarReady = 5;
constexpr LPARAM kBarPaused = 10000;
constexpr LPARAM kBarPlaying = 10001;
// A path shorter than "C:\x" names no file.
constexpr int kShortestPath = 4;

// Remote keys.
constexpr int kKeyMute = 12;
constexpr int kKeyPlayPause = 13;
constexpr int kKeyLouder = 16;
constexpr int kKeySofter = 17;
constexpr int kKeyClose = 20;
constexpr int kKeyPlay = 21;
constexpr int kKeyStop = 23;
constexpr int kKeyPrevious = 31;
constexpr int kKeyNext = 68;
constexpr int kKeyBack = 70;
constexpr int kKeyFullScreen = 74;

CAppController* Controller() { return g_pAppController; }

}  // namespace

// ---- The file

BOOL CAVSkinDlg::IsFileOpen() const { return Controller() && Controller()->IsMediaFileOpen(); }

// The controller's "open" file is one held paused.
BOOL CAVSkinDlg::IsFilePaused() const { return Controller() && Controller()->IsMediaOpen(); }

// The item is the list's own and valid only while its message is handled: its path is
// copied before the controller runs anything.
void CAVSkinDlg::PlayItem(const CMediaFileItem* item) {
  if (!item || !m_mediaList.GetSafeHwnd() || !Controller() || !m_videoArea) return;
  const CString path = item->GetVideoPath();
  if (path.GetLength() < kShortestPath) return;
  Controller()->PlayMediaFile(m_videoArea->GetSafeHwnd(), m_hWnd, path);
  if (!IsFileOpen()) {
    ForgetFile();
    return;
  }
  m_currentIndex = m_mediaList.GetFirstSelected();
  m_currentPath = path;
}

void CAVSkinDlg::PlaySelected() {
  CImageListView* view = m_mediaList.GetListView();
  const int selected = m_mediaList.GetFirstSelected();
  CMediaFileItem* item = view ? view->GetItem(selected) : nullptr;
  if (!item) return;
  item->SetThirdIndex(selected);
  m_currentIndex = selected;
  PlayItem(item);
}

void CAVSkinDlg::ForgetFile() {
  m_currentIndex = -1;
  m_currentPath.Empty();
  SetProgress(0);
}

BOOL CAVSkinDlg::IsSelectedPlaying() const {
  const CImageListView* view = m_mediaList.GetListView();
  const CMediaFileItem* item = view ? view->GetItem(m_mediaList.GetFirstSelected()) : nullptr;
  return item && IsFileOpen() && !m_currentPath.IsEmpty() && item->GetVideoPath().CompareNoCase(m_currentPath) == 0;
}

void CAVSkinDlg::Play() {
  if (!Controller()) return;
  if (!IsFileOpen()) {
    if (Controller()->IsMediaMode()) PlaySelected();
    return;
  }
  if (IsFilePaused() && m_videoArea && Controller()->RestartMediaTimer(m_videoArea->GetSafeHwnd()))
    PostBarState(kBarFileOpen, kBarPlaying);
}

void CAVSkinDlg::Pause() {
  if (IsFileOpen() && Controller()->MediaPause()) PostBarState(kBarFileOpen, kBarPaused);
}

void CAVSkinDlg::TogglePlay() {
  if (IsFilePaused()) {
    Play();
  } else if (IsFileOpen()) {
    Pause();
  } else if (!m_fullScreen) {
    PlaySelected();
  }
}

void CAVSkinDlg::PlayByEnter() {
  if (!m_videoArea || !Controller() || m_fullScreen) return;
  if (IsFilePaused()) Play();
  else if (!IsSelectedPlaying()) PlaySelected();
}

void CAVSkinDlg::Stop() {
  if (!Controller() || !m_controlBar || !IsFileOpen()) return;
  SetProgress(0);
  Controller()->StopMediaFile();
  ClearVideoArea();
  ForgetFile();
}

void CAVSkinDlg::StopPlayback() {
  if (!IsFileOpen()) return;
  Controller()->StopMediaFile();
  ForgetFile();
}

void CAVSkinDlg::SkipBack() {
  if (IsFileOpen()) Controller()->MediaBackward();
}

void CAVSkinDlg::SkipForward() {
  if (IsFileOpen()) Controller()->MediaForward();
}

void CAVSkinDlg::VolumeStep(int down) {
  if (!IsFileOpen()) return;
  const int volume = Controller()->VolumeStep(down);
  if (m_controlBar) m_controlBar->SetVolumePos(volume);
}

// Muting keeps the stored volume, so the same command brings the sound back.
void CAVSkinDlg::ToggleMute() {
  if (IsFileOpen()) Controller()->ToggleMute();
}

// The area erases itself to black once no picture covers it; its painting only validates,
// so the erase is asked for at once.
void CAVSkinDlg::ClearVideoArea() {
  if (!m_videoArea) return;
  HDC dc = ::GetDC(m_videoArea->GetSafeHwnd());
  m_videoArea->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  ::ReleaseDC(m_videoArea->GetSafeHwnd(), dc);
}

void CAVSkinDlg::SetProgress(int percent) {
  if (m_controlBar) m_controlBar->SetSliderPosByName("PROGRESS_POS", percent);
}

void CAVSkinDlg::PostBarState(int state, LPARAM detail) {
  if (m_controlBar) m_controlBar->PostMessage(UM_BAR_STATE, static_cast<WPARAM>(state), detail);
}

// ---- The list's entries

// An empty list has no next or previous entry.
void CAVSkinDlg::Next() {
  const int count = m_mediaList.GetItemCount();
  if (count <= 0) return;
  const int selected = m_mediaList.GetFirstSelected();
  SelectAndReport(selected < 0 || selected >= count - 1 ? 0 : selected + 1);
}

void CAVSkinDlg::Previous() {
  const int count = m_mediaList.GetItemCount();
  if (count <= 0) return;
  const int selected = m_mediaList.GetFirstSelected();
  SelectAndReport(selected <= 0 ? count - 1 : selected - 1);
}

void CAVSkinDlg::SelectAndReport(int index) {
  CImageListView* view = m_mediaList.GetListView();
  if (::GetFocus() != view->GetSafeHwnd()) view->SetFocus();
  view->SelectItem(index, FALSE);
  if (Controller() && Controller()->IsMediaMode()) PostBarState(kBarReady, 0);
}

LRESULT CAVSkinDlg::OnOpenListItem(WPARAM, LPARAM lParam) {
  PlayItem(reinterpret_cast<const CMediaFileItem*>(lParam));
  return 0;
}

// The view asks before it deletes: the file is let go first, so it can be deleted, and
// the window forgets it. The playing entry is known by its file, whatever its index.
LRESULT CAVSkinDlg::OnListItemDeleted(WPARAM, LPARAM lParam) {
  const auto* item = reinterpret_cast<const CMediaFileItem*>(lParam);
  if (!item || !IsFileOpen() || item->GetVideoPath().CompareNoCase(m_currentPath) != 0) return 0;
  Controller()->StopMediaFile();
  ForgetFile();
  return 0;
}

LRESULT CAVSkinDlg::OnListCleared(WPARAM, LPARAM) {
  if (!IsFileOpen()) return 0;
  Controller()->StopMediaFile();
  ForgetFile();
  return 0;
}

// The list dispatches Enter itself, so the player never sees it among its own keys while
// the list has the focus (as after Down or Up): the list tells it here.
LRESULT CAVSkinDlg::OnListKeyDown(WPARAM, LPARAM lParam) {
  ClearGuards();
  const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(lParam);
  if (key && key->wVKey == VK_RETURN) PlayByEnter();
  return 0;
}

LRESULT CAVSkinDlg::OnListPlayState(WPARAM wParam, LPARAM lParam) {
  if (m_controlBar && Controller() && Controller()->IsMediaMode())
    m_controlBar->SendMessage(UM_BAR_STATE, static_cast<WPARAM>(wParam ? kBarReady : kBarNoFile), lParam);
  return 0;
}

// The window is repainted, the video area with it: the file's picture has gone from it.
LRESULT CAVSkinDlg::OnPlaybackEvent(WPARAM, LPARAM) {
  SetProgress(0);
  if (Controller()) Controller()->StopMediaFile();
  ForgetFile();
  Invalidate();
  ClearVideoArea();
  return 0;
}

// ---- Commands

LRESULT CAVSkinDlg::OnBarCommand(WPARAM wParam, LPARAM) {
  const CString name = reinterpret_cast<LPCSTR>(wParam);
  if (name == "STOP_MOVIE") {
    Stop();
  } else if (name == "PLAY_MOVIE") {
    Play();
  } else if (name == "BACK_MOVIE") {
    SkipBack();
  } else if (name == "AHEAD_MOVIE") {
    SkipForward();
  } else if (name == "PAUSE_MOVIE") {
    Pause();
  } else if (name == "ADD_SND") {
    VolumeStep(0);
  } else if (name == "SUB_SND") {
    VolumeStep(1);
  } else if (name == "MUTE_SND") {
    // The bar's mute takes the volume to nothing; the keys' and the remote's toggle.
    if (IsFileOpen()) Controller()->SetVolume(0);
  }
  SetFocus();
  return 0;
}

LRESULT CAVSkinDlg::OnRemoteKey(WPARAM, LPARAM lParam) {
  switch (static_cast<int>(lParam)) {
    // Any process may send this message: the shut-down flag it could carry is not
    // honoured, key 20 only closes the program.
    case kKeyClose:
      ClearGuards();
      OnSkinButton("CLOSE_BUTTON");
      break;
    case kKeyFullScreen:
      ToggleFullScreen();
      if (m_controlBar && !m_fullScreen && !m_controlBar->IsShown()) m_controlBar->ShowBar();
      break;
    case kKeyMute: ToggleMute(); break;
    case kKeyLouder: VolumeStep(0); break;
    case kKeySofter: VolumeStep(1); break;
    case kKeyBack:
      if (m_fullScreen) break;
      ClearGuards();
      OnSkinButton("RETURN_BUTTON");
      break;
    case kKeyPlayPause: TogglePlay(); break;
    case kKeyStop: Stop(); break;
    case kKeyNext: Next(); break;
    case kKeyPlay: PlaySelected(); break;
    case kKeyPrevious: Previous(); break;
    default: break;
  }
  return 0;
}

BOOL CAVSkinDlg::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_SYSKEYDOWN) {
    if (pMsg->wParam == VK_F10) {
      VolumeStep(0);
      return TRUE;
    }
    if (pMsg->wParam == VK_RETURN) {
      const BOOL wasFullScreen = m_fullScreen;
      ToggleFullScreen();
      if (wasFullScreen && !m_fullScreen && m_controlBar && !m_controlBar->IsShown()) m_controlBar->ShowBar();
      return TRUE;
    }
  }
  if (pMsg->message != WM_KEYDOWN) return CDialog::PreTranslateMessage(pMsg);
  ClearGuards();
  const BOOL ctrl = ::GetKeyState(VK_CONTROL) < 0;
  const BOOL shift = ::GetKeyState(VK_SHIFT) < 0;
  switch (pMsg->wParam) {
    case VK_RETURN: PlayByEnter(); return TRUE;
    case VK_ESCAPE: LeaveFullScreenByKey(); return TRUE;
    case VK_F1: ShowHelp(GetAppFolder()); return TRUE;
    case VK_BACK:
      if (!m_fullScreen) OnSkinButton("RETURN_BUTTON");
      return TRUE;
    case VK_F8: ToggleMute(); return TRUE;
    case VK_F9: VolumeStep(1); return TRUE;
    case VK_UP: Previous(); return TRUE;
    case VK_DOWN: Next(); return TRUE;
    default: break;
  }
  if (!ctrl) {
    if (pMsg->wParam == 'H') {
      ShowHelp(GetAppFolder());
      return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
  }
  switch (pMsg->wParam) {
    case 'D':
      if (!shift) break;
      SkipBack();
      return TRUE;
    case 'F':
      if (shift) {
        SkipForward();
      } else if (IsFileOpen()) {
        Next();
        PlaySelected();
      }
      return TRUE;
    case 'B':
      if (shift) break;
      if (IsFileOpen()) {
        Previous();
        PlaySelected();
      }
      return TRUE;
    case 'P':
      if (shift) Play();
      else if (Controller() && Controller()->IsMediaRunning()) Pause();
      else if (IsFileOpen()) Play();
      else if (!m_fullScreen) PlaySelected();
      return TRUE;
    case 'S':
      if (shift) break;
      Stop();
      return TRUE;
    default: break;
  }
  return CDialog::PreTranslateMessage(pMsg);
}
