// The project pane: the project's cuts previewed, paused, stopped and sought in, the
// project emptied, and saved through the recording options dialog.
#include "windows/media/CVideoSkinDlg.h"

#include "skin/CSkinButton.h"
#include "windows/setup/CRecordOptionsDlg.h"
#include "windows/setup/SaveOptionRecord.h"

#include <vendor/language/Language.h>

#include <cmath>

namespace {

constexpr int kNoClipText = 7;
constexpr int kSaveFailedText = 8;
constexpr int kSavedText = 9;
constexpr double kAtTheEnd = 0.0001;
constexpr LPCSTR kProjectButtons[] = {"RIGHTSTOP_BUTTON", "RIGHTPAUSE_BUTTON", "RIGHTPLAY_BUTTON"};

}  // namespace

void CVideoSkinDlg::EnableProjectPane(BOOL enable) {
  for (LPCSTR name : kProjectButtons)
    if (CSkinButton* button = FindSkinButton(name)) button->SetDisabled(!enable);
  m_projectSlider.Enable(enable);
}

// Previewing: all three buttons and the slider; stopped with cuts: only play; empty:
// nothing.
void CVideoSkinDlg::UpdateProjectButtons() {
  if (m_previewActive) {
    EnableProjectPane(TRUE);
    return;
  }
  const BOOL hasClip = m_lib.mpeg_Project_is_has_source();
  EnableProjectPane(FALSE);
  if (CSkinButton* play = FindSkinButton("RIGHTPLAY_BUTTON")) play->SetDisabled(!hasClip);
}

void CVideoSkinDlg::PlayProject() {
  if (!m_lib.mpeg_Project_is_has_source() || m_projectPlayState == kPlaying) return;
  if (!m_lib.mpeg_Project_Preview(m_projectVideo.GetSafeHwnd())) return;
  StartTimer(kProjectTimer, m_projectTimer);
  m_previewActive = TRUE;
  EnableProjectPane(TRUE);
  m_projectPlayState = kPlaying;
}

void CVideoSkinDlg::PauseProject() {
  if (!m_lib.mpeg_Project_is_has_source() || !m_previewActive || m_projectPlayState == kPaused) return;
  if (!m_lib.mpeg_Project_Pause()) return;
  StopTimer(kProjectTimer, m_projectTimer);
  m_projectPlayState = kPaused;
}

void CVideoSkinDlg::StopProject() {
  if (!m_lib.mpeg_Project_is_has_source() || !m_previewActive || m_projectPlayState == kStopped) return;
  if (!m_lib.mpeg_Project_MovetoFrame(0) || !m_lib.mpeg_Project_Stop()) return;
  StopTimer(kProjectTimer, m_projectTimer);
  m_projectSlider.SetPos(0);
  m_projectPlayState = kStopped;
}

// The stop button as the user presses it, whatever double-click came before.
void CVideoSkinDlg::PressProjectStop() {
  m_dblClickSeen = FALSE;
  OnSkinButton("RIGHTSTOP_BUTTON");
}

void CVideoSkinDlg::PollProject() {
  if (!m_previewActive) return;
  if (m_projectPlayState != kPlaying) {
    StopTimer(kProjectTimer, m_projectTimer);
    return;
  }
  double progress = 0;
  if (!m_lib.mpeg_Project_is_has_source() || !m_lib.mpeg_Project_get_preview_progress(&progress)) return;
  m_projectSlider.SetPos(static_cast<int>(progress * 100));
  if (std::fabs(progress - 1) < kAtTheEnd) StopTimer(kProjectTimer, m_projectTimer);
}

void CVideoSkinDlg::SeekProject(int percent) {
  if (!m_lib.mpeg_Project_is_has_source() || !m_lib.mpeg_Project_MovetoFrame(percent)) return;
  StopTimer(kProjectTimer, m_projectTimer);
  m_projectPlayState = kPaused;
}

// The dialog belongs to this window, which stays disabled while it runs. The compressors
// it put into the record are let go once the save has taken its own references.
void CVideoSkinDlg::SaveProject() {
  save_option_s* record = MakeSaveOption();
  if (!record) return;
  if (!m_lib.mpeg_Project_is_has_source()) {
    MessageBox(GetMessageInfo(kNoClipText));
    return;
  }
  if (m_previewActive) PressProjectStop();
  CRecordOptionsDlg options(this);
  if (options.DoModal() != IDOK) return;
  const int saved = m_lib.mpeg_Project_Save(g_pSaveOption);
  if (g_pSaveOption) ReleaseSaveCompressors(*g_pSaveOption);
  if (!saved) {
    MessageBox(GetMessageInfo(kSaveFailedText));
    return;
  }
  FitVideos();
  MessageBox(GetMessageInfo(kSavedText));
}

// A new project and a new clip player: the clip pane closes and the frames captured so
// far go with their files.
void CVideoSkinDlg::EmptyProject() {
  Start();
  m_projectVideo.Invalidate();
  if (m_projectList.GetSafeHwnd()) m_projectList.GetListView()->RemoveAllItems(TRUE);
}
