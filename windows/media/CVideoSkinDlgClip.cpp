// The clip pane: source files added to the clip list, one of them played through the clip
// player, its cut marks set on the clip slider, and each marked cut put into the project.
#include "windows/media/CVideoSkinDlg.h"

#include <mfc/afxdlgs.h>

#include <cmath>
#include <cstring>

namespace {

constexpr char kSourceFilter[] = "MPEG File (*.mpg;*.mpeg)|*.mpg;*.mpeg|AVI File (*.avi)|*.avi|All Files (*.*)|*.*|";
// The file name buffer of a clip record: 255 characters and the terminator.
constexpr int kClipNameBuffer = 256;
constexpr double kAtTheEnd = 0.0001;

}  // namespace

// The open-file dialog belongs to this window, which stays disabled while it runs.
void CVideoSkinDlg::AddSourceFile() {
  if (m_projectList.GetSafeHwnd()) m_projectList.EnableHoverTips(FALSE);
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kSourceFilter, this);
  if (dialog.DoModal() == IDOK && m_clipList.GetSafeHwnd()) m_clipList.AddMediaFile(dialog.GetPathName(), TRUE, FALSE);
  FitVideos();
}

void CVideoSkinDlg::OpenClip(const CMediaFileItem* item) {
  if (!item) return;
  const CString path = item->GetVideoPath();
  if (path.IsEmpty() || !m_lib.mpeg_open(path, m_clipVideo.GetSafeHwnd())) return;
  m_clipOpen = TRUE;
  m_clipPath = path;
  m_cutStartPercent = kUnset;
  m_cutEndPercent = kUnset;
  m_cutStartSet = FALSE;
  StopTimer(kClipTimer, m_clipTimer);
  m_clipSlider.SetPos(0);
  m_clipSlider.SetSelStartAtPos();
  m_clipSlider.SetSelEndAtPos();
  if (m_lib.mpeg_Preview(nullptr)) StartTimer(kClipTimer, m_clipTimer);
}

void CVideoSkinDlg::PlayClip() {
  if (m_clipOpen && m_lib.mpeg_Preview(nullptr)) StartTimer(kClipTimer, m_clipTimer);
}

void CVideoSkinDlg::PauseClip() {
  if (m_clipOpen && m_lib.mpeg_Pause()) StopTimer(kClipTimer, m_clipTimer);
}

void CVideoSkinDlg::StopClip() {
  if (m_clipOpen && m_lib.mpeg_MoveToStart() && m_lib.mpeg_Stop()) StopTimer(kClipTimer, m_clipTimer);
  m_clipSlider.SetPos(0);
}

void CVideoSkinDlg::PollClip() {
  double progress = 0;
  if (!m_clipOpen || !m_lib.mpeg_get_current_progress(&progress)) return;
  m_clipSlider.SetPos(static_cast<int>(progress * 100));
  if (std::fabs(progress - 1) < kAtTheEnd) StopTimer(kClipTimer, m_clipTimer);
}

void CVideoSkinDlg::SeekClip(int percent) {
  mp_pos_t position = 0;
  if (m_clipOpen && m_lib.mpeg_percent_to_mp_pos_t(percent, &position) && m_lib.mpeg_MoveToFrame(position))
    StopTimer(kClipTimer, m_clipTimer);
}

// The frame at the cut start goes into the clip player's capture list, under a name of its
// own; the project list shows it once the cut is in the project.
void CVideoSkinDlg::MarkCutStart() {
  if (!m_clipOpen) return;
  m_clipSlider.SetSelStartAtPos();
  m_cutStartPercent = m_clipSlider.GetPos();
  m_lib.mpeg_set_cut_start(m_cutStartPercent);
  m_lib.mpeg_capture_and_add_to_mp_list(nullptr);
  m_cutStartSet = TRUE;
}

void CVideoSkinDlg::MarkCutEnd() {
  if (!m_clipOpen || !m_cutStartSet) return;
  m_clipSlider.SetSelEndAtPos();
  m_cutEndPercent = m_clipSlider.GetPos();
  m_lib.mpeg_set_cut_end(m_cutEndPercent);
}

// The track's end moves on only once the project took the cut, so a refused cut leaves
// no gap in the film; a clip whose name does not fit the record is not put in at all.
void CVideoSkinDlg::AddCutToProject() {
  if (m_cutStartPercent == kUnset || m_cutEndPercent == kUnset || !m_clipOpen ||
      m_cutEndPercent <= m_cutStartPercent)
    return;
  if (m_previewActive) PressProjectStop();
  mp_pos_t start = 0;
  mp_pos_t end = 0;
  if (!m_lib.mpeg_percent_to_mp_pos_t(m_cutStartPercent, &start) ||
      !m_lib.mpeg_percent_to_mp_pos_t(m_cutEndPercent, &end))
    return;
  if (m_clipPath.GetLength() >= kClipNameBuffer) return;
  char fileName[kClipNameBuffer] = {};
  std::memcpy(fileName, static_cast<LPCSTR>(m_clipPath), static_cast<size_t>(m_clipPath.GetLength()));

  std::int64_t& trackEnd = m_trackMode == kVideoTrackMode ? m_videoEnd : m_audioEnd;
  mpeg_src_s source{};
  source.timeline_start = trackEnd;
  source.timeline_stop = trackEnd + (end - start);
  source.media_start = start;
  source.media_stop = end;
  source.video_track = m_trackMode == kVideoTrackMode;
  source.no_audio_track = m_trackMode == kNoTrackMode;
  source.file_name = fileName;
  if (!m_lib.mpeg_Project_Addsrc(&source)) return;
  trackEnd += end - start;

  m_previewActive = FALSE;
  UpdateProjectButtons();
  if (m_trackMode != kVideoTrackMode) return;
  mpeg_persist_bitmap_s capture{};
  if (!m_lib.mpeg_get_capture_info(start, -1, &capture) || !m_projectList.GetSafeHwnd()) return;
  capture.path[sizeof(capture.path) - 1] = '\0';
  m_projectList.AddMediaFile(capture.path, FALSE, FALSE);
}
