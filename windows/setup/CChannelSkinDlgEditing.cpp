// CChannelSkinDlg: the report list's edits written back into the channel lists and the
// tuner, the fine-tuning slider, and the ".chl" files opened and saved through the file
// dialogs. The report list has already changed its row's record when it reports an edit;
// the window stores it in the active list by number and tunes where the edit asks for it.
#include "windows/setup/CChannelSkinDlg.h"

#include "core/CAppController.h"
#include "core/VideoStandardNames.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "core/data/TunerProgramming.h"
#include "skin/CChannelListCtrl.h"
#include "skin/CSkinLabel.h"
#include "skin/CSkinSlider.h"
#include "windows/main/WindowMessages.h"

#include <mfc/afxdlgs.h>
#include <vendor/chanloret/Chanloret.h>

#include <algorithm>
#include <cmath>

namespace {

// The list the edits go to: 1 antenna or 2 cable while the tuner is the input, else none.
int ActiveList() {
  const int list = GetActiveChannelListIndex();
  return list == 1 || list == 2 ? list : 0;
}

// A frequency the tuner may be set to for the active plan: within its lowest and highest
// picture carrier, widened by the country's fine-tuning span. Anything else would program
// the tuner far outside its band.
bool IsPlanFrequency(float mhz) {
  if (!g_pAppSettings) return false;
  const FrequencyTable* table = getFrequencyTableFromCountryCode(g_pAppSettings->CountryCode);
  const int list = ActiveList();
  if (!table || !list) return false;
  const int first = list == 1 ? table->FirstChannel1 : table->FirstChannel2;
  const int last = list == 1 ? table->LastChannel1 : table->LastChannel2;
  const std::int32_t* hz = list == 1 ? table->Frequencies1 : table->Frequencies2;
  if (!hz || last < first) return false;
  // In whole kilohertz, so the plan's own carriers and its edges compare exactly.
  const auto [low, high] = std::minmax_element(hz, hz + (last - first + 1));
  const long long span = std::llround(std::max(0.0, GetFineTuneSpan(g_pAppSettings->CountryCode)) * 1000);
  const long long khz = std::llround(static_cast<double>(mhz) * 1000);
  return khz >= *low / 1000 - span && khz <= *high / 1000 + span;
}

// The extension of a file name (after the last '\') replaced by, or given, ".chl".
CString WithChannelFileExtension(const CString& path) {
  const int dot = path.ReverseFind('.');
  const int name = path.ReverseFind('\\');
  return (dot > name ? path.Left(dot) : path) + ".chl";
}

}  // namespace

void CChannelSkinDlg::TuneMuted(int number, int list) {
  if (!g_pChannelList) return;
  if (g_pAppController) g_pAppController->SetAudioOn(0);
  g_pChannelList->TuneChannel(number, list);
  if (g_pAppController) g_pAppController->SetAudioOn(1);
}

void CChannelSkinDlg::CommitListEdits() {
  if (!m_channelList) return;
  m_channelList->SendMessage(UM_LIST_COMMIT_EDIT, 0, 0);
  m_channelList->SendMessage(UM_INPLACE_KILLFOCUS, 0, 0);
}

// The rows are about to be filled anew, perhaps with another plan or country: a name or
// standard left open goes to the channel it was typed for, as a click elsewhere in the
// list would take it, and the list takes the focus from the hidden edit.
void CChannelSkinDlg::EndListEdits() {
  if (!m_channelList || !m_channelList->GetSafeHwnd()) return;
  const HWND edit = m_channelList->GetInPlaceEdit().GetSafeHwnd();
  m_channelList->SendMessage(CSkinListCtrl::UM_INPLACE_EDIT_ENTER, 0, reinterpret_cast<LPARAM>(edit));
  m_channelList->SendMessage(UM_INPLACE_KILLFOCUS, 0, 0);
}

// ---- Labels

void CChannelSkinDlg::ShowScanProgress(int percent) {
  if (percent < 0) return;
  CString text;
  text.Format("%d", percent);
  m_skinStatics.SetFirstText("Produce_Static", text);
}

void CChannelSkinDlg::ShowFineTuneValue(int value) {
  CString text;
  text.Format("%d", value);
  m_skinStatics.SetFirstText("Slider_Static", text);
}

// ---- The list's reports

// A scan is stopped first: the tuner must not be set from two threads.
LRESULT CChannelSkinDlg::OnChannelActivate(WPARAM wParam, LPARAM) {
  if (!m_channelList) return 0;
  if (g_pAppController && CAppController::IsScanning()) g_pAppController->StopScan();
  // Posted: the rows may have been replaced since, so the row is looked at again.
  const ChannelRecord* record = m_channelList->GetItemRecord(static_cast<int>(wParam));
  if (record && g_pChannelList && g_pAppController) g_pAppController->TuneChannelFromDialog(record);
  return 0;
}

LRESULT CChannelSkinDlg::OnChannelEdited(WPARAM, LPARAM lParam) {
  auto* record = reinterpret_cast<ChannelRecord*>(lParam);
  const int list = ActiveList();
  if (!record || !g_pChannelList || !list) return 0;
  if (g_pAppController && CAppController::IsScanning()) g_pAppController->StopScan();
  if (!IsPlanFrequency(record->Frequency)) {
    // Refused: the row shows the stored frequency again.
    ChannelRecord stored{};
    if (m_channelList && g_pChannelList->GetChannel(record->ChannelNumber, list, &stored))
      m_channelList->SetRowValue(m_channelList->FindRecordItem(record), stored.Frequency);
    return 0;
  }
  if (g_pTunedChannelRecord) CopyChannelRecord(record, g_pTunedChannelRecord);
  g_pChannelList->UpdateChannel(record->ChannelNumber, list, record);
  TuneMuted(record->ChannelNumber, list);
  ResetFineTune();
  return 0;
}

LRESULT CChannelSkinDlg::OnChannelUpdated(WPARAM, LPARAM lParam) {
  const auto* record = reinterpret_cast<const ChannelRecord*>(lParam);
  const int list = ActiveList();
  if (record && g_pChannelList && list) g_pChannelList->UpdateChannel(record->ChannelNumber, list, record);
  return 0;
}

// A skipped channel is passed over by channel up and down and not tuned by the list.
LRESULT CChannelSkinDlg::OnChannelFieldEdited(WPARAM wParam, LPARAM lParam) {
  auto* record = reinterpret_cast<ChannelRecord*>(lParam);
  if (!record) return 0;
  record->SkipFlag = static_cast<std::uint32_t>(wParam);
  const int list = ActiveList();
  if (g_pChannelList && list) g_pChannelList->UpdateChannel(record->ChannelNumber, list, record);
  return 0;
}

// Only the standard column offers choices, and only to the list's own editor.
LRESULT CChannelSkinDlg::OnGetComboItems(WPARAM wParam, LPARAM lParam) {
  auto* items = reinterpret_cast<CStringList*>(lParam);
  if (!items) return 0;
  items->RemoveAll();
  HWND focus = ::GetFocus();
  if (!focus || !m_channelList || wParam != 1) return 0;
  CRect focusRect;
  CRect listRect;
  ::GetWindowRect(focus, &focusRect);
  m_channelList->GetWindowRect(&listRect);
  if (!listRect.PtInRect(focusRect.TopLeft())) return 0;
  for (LPCSTR name : VideoStandardNames::Tuner) items->AddTail(name);
  return 0;
}

LRESULT CChannelSkinDlg::OnComboItemChosen(WPARAM, LPARAM lParam) {
  const auto* notice = reinterpret_cast<const NMLVDISPINFOA*>(lParam);
  if (!notice || !m_channelList) return 0;
  const ChannelRecord* record = m_channelList->GetItemRecord(notice->item.iItem);
  if (g_pChannelList && record && g_pAppController) g_pAppController->TuneChannelFromDialog(record);
  return 0;
}

// The slider starts at 0 for the row in front of the user.
LRESULT CChannelSkinDlg::OnChannelRowChanged(WPARAM, LPARAM) {
  ResetFineTune();
  if (m_channelList) m_channelList->Invalidate();
  return 0;
}

// ---- Fine-tuning

void CChannelSkinDlg::ResetFineTune() {
  m_fineTuneApplied = 0;
  if (m_fineTuneSlider) {
    m_fineTuneSlider->SetPos(0);
    m_fineTuneSlider->SetLastPos(0);
  }
  ShowFineTuneValue(0);
}

LRESULT CChannelSkinDlg::OnSliderTrack(WPARAM wParam, LPARAM lParam) {
  if (wParam == kFineTuneSliderId) ShowFineTuneValue(static_cast<int>(lParam));
  else if (wParam == kProgressSliderId) ShowScanProgress(static_cast<int>(lParam));
  return 0;
}

LRESULT CChannelSkinDlg::OnSliderSet(WPARAM wParam, LPARAM lParam) {
  if (wParam == kProgressSliderId) ShowScanProgress(std::clamp(static_cast<int>(lParam), 0, 100));
  else if (wParam == kFineTuneSliderId) ReleaseFineTune(static_cast<int>(lParam));
  return 0;
}

// The selected row's channel, or without a selection the channel on screen when the list
// holds it, moved by the slider and tuned there.
BOOL CChannelSkinDlg::ReleaseFineTune(int pos) {
  if (g_pAppController) g_pAppController->StopScan();
  const int list = ActiveList();
  if (!g_pCurrentChannelRecord || !g_pChannelList || !m_channelList || !list) {
    ResetFineTune();
    return FALSE;
  }
  ChannelRecord* target = m_channelList->GetItemRecord();
  if (!target && g_pChannelList->HasChannel(g_pCurrentChannelRecord->ChannelNumber, list))
    target = g_pCurrentChannelRecord;
  if (target) {
    if (!ApplyFineTune(*target, pos)) return FALSE;
    g_pChannelList->UpdateChannel(target->ChannelNumber, list, target);
    TuneMuted(target->ChannelNumber, list);
    m_channelList->SetRowValue(m_channelList->FindRecordItem(target), target->Frequency);
  }
  ShowFineTuneValue(pos);
  return TRUE;
}

// The whole travel covers the span either side of the frequency at the last reset, in
// steps of span / 16; each release adds only what it moved since the one applied before.
BOOL CChannelSkinDlg::ApplyFineTune(ChannelRecord& record, int pos) {
  const int max = m_fineTuneSlider ? m_fineTuneSlider->GetMax() : kFineTuneSteps;
  const int min = m_fineTuneSlider ? m_fineTuneSlider->GetMin() : -kFineTuneSteps;
  if (pos < min || pos > max) {
    ResetFineTune();
    return FALSE;
  }
  CommitListEdits();
  const float span = g_pAppSettings ? static_cast<float>(GetFineTuneSpan(g_pAppSettings->CountryCode)) : 0.0f;
  if (!g_pChannelList || span <= 0.0f) {
    ResetFineTune();
    return FALSE;
  }
  if (pos == m_fineTuneApplied) return TRUE;
  record.Frequency += static_cast<float>(pos - m_fineTuneApplied) * span * 2.0f / static_cast<float>(max - min);
  m_fineTuneApplied = pos;
  return TRUE;
}

// ---- Channel list files

CString CChannelSkinDlg::ProgramFolder() {
  return g_pAppSettings && !g_pAppSettings->ProgramFolder.IsEmpty() ? g_pAppSettings->ProgramFolder : GetAppFolder();
}

// A short or foreign file is refused by the channel list, which then keeps its lists; the
// rows and the tuner are left as they are, without a word.
void CChannelSkinDlg::LoadChannelFile() {
  // Owned by this window, which is disabled meanwhile; remote keys wait for it too.
  CFileDialog dialog(TRUE, ".chl", nullptr, 0, "CHL Files (*.chl)|*.chl|*.CHL |*.CHL| All Files (*.*)|*.*||", this);
  const CString folder = ProgramFolder();
  dialog.m_ofn.lpstrInitialDir = folder;
  m_inFileDialog = TRUE;
  const INT_PTR answer = dialog.DoModal();
  m_inFileDialog = FALSE;
  if (answer != IDOK || dialog.GetFileExt().CompareNoCase("chl") != 0) return;
  EndListEdits();
  if (!g_pChannelList || !g_pChannelList->LoadFile(dialog.GetPathName()) || !FillChannelList()) return;
  const int list = GetActiveChannelListIndex();
  const int current = g_pChannelList->GetCurrentChannel(list);
  if (current >= 0) TuneMuted(current, list);
  ResetFineTune();
}

// Both plans are written; a failed write leaves the file that was there.
BOOL CChannelSkinDlg::SaveChannelFile() {
  CFileDialog dialog(FALSE, nullptr, "ZRQChannels.chl", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     "CHL Files (*.chl)|*.CHL| All Files (*.*)|*.*||", this);
  const CString folder = ProgramFolder();
  dialog.m_ofn.lpstrInitialDir = folder;
  m_inFileDialog = TRUE;
  const INT_PTR answer = dialog.DoModal();
  m_inFileDialog = FALSE;
  if (answer != IDOK || !g_pChannelList) return FALSE;
  return g_pChannelList->SaveFile(WithChannelFileExtension(dialog.GetPathName()));
}
