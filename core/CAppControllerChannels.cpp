// The live picture's channel operations driven by the TV windows: the channel preview
// wall, channel numbers typed digit by digit (ended by a timer on the TV window), and
// the return to live TV after a channel scan.
#include "core/CAppController.h"

#include "core/CRunState.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "graphs/CCaptureGraph.h"
#include "graphs/WindowsVersion.h"

#include <mfc/afxwin.h>
#include <win32/gdi/image.h>
#include <win32/user.h>

namespace {

constexpr char kTvWindowTitle[] = "Orvane Media_TVDlg";
constexpr UINT_PTR kDigitTimer = 200;
constexpr UINT_PTR kDigitTimerFull = 250;
constexpr UINT kDigitTimerMs = 2000;
constexpr int kDefaultPicture = 152;
constexpr char kChannelFile[] = "ZRQChannels.chl";

// The default wall picture is handed out once in the life of the program.
bool g_defaultPictureGiven = false;

HWND TvWindow() { return FindWindowA(nullptr, kTvWindowTitle); }

// The wall walks the list as channel up does: the next higher number whose record takes
// part in stepping, so gaps and skipped channels are passed; 0 after the last.
int NextWallChannel(int after, int list) {
  ChannelRecord next{};
  if (!g_pChannelList->NextChannel(after, list, &next)) return 0;
  const int number = static_cast<int>(next.ChannelNumber);
  return number > after ? number : 0;
}

}  // namespace

// ---- Channel wall

int CAppController::StartChannelWall(int& first) {
  if (!m_pCaptureGraph || GetRunState() != 2 || m_wallBusy || !g_pChannelList) return 0;
  const int list = GetActiveChannelListIndex();
  if (list < 0) return 0;
  StopScheduledRecording();
  m_pRunState->SetState(7);
  m_wallChannel = g_pChannelList->GetCurrentChannel(list);
  first = NextWallChannel(0, list);
  return first > 0;
}

void CAppController::WallShowChannel(HWND cell, int channel) {
  if (channel <= 0 || !m_pCaptureGraph || !g_pAppSettings || !g_pChannelList) return;
  SetVideoOwner(cell);
  const int list = GetActiveChannelListIndex();
  if (list < 0) return;
  SetAudioOn(0);
  g_pChannelList->TuneChannel(channel, list);
  SetAudioOn(1);
}

int CAppController::LoadChannelBitmap(HBITMAP& picture, int& channel) {
  if (m_wallBusy) return -1;
  if (!g_pChannelList) return -2;
  const int list = GetActiveChannelListIndex();
  if (list < 0) return -3;
  channel = g_pChannelList->GetCurrentChannel(list);
  if (!m_pCaptureGraph) return -8;
  m_wallBusy = 1;
  picture = m_pCaptureGraph->GetGrabbedFrameDib();
  if (!picture) {
    if (g_defaultPictureGiven) {
      m_wallBusy = 0;
      return -4;
    }
    picture = LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kDefaultPicture));
    if (!picture) {
      m_wallBusy = 0;
      return -5;
    }
    g_defaultPictureGiven = true;
  }
  m_wallBusy = 0;
  const int next = NextWallChannel(channel, list);
  if (!next) {
    channel += 1;
    return -6;
  }
  channel = next;
  return 0;
}

void CAppController::SetInputSource(int kind, int value) {
  if (!m_pCaptureGraph) return;
  int channel = 0;
  const int list = GetActiveChannelListIndex();
  if (kind == 1 && g_pChannelList) channel = g_pChannelList->GetCurrentChannel(list);
  if (kind == 2) channel = value;
  if (kind == 3 || kind == 4) channel = m_wallChannel;
  if (m_pRunState) m_pRunState->SetState(2);
  if (!m_hVideoWindow || !g_pAppSettings) return;
  m_pCaptureGraph->SetVideoWindow(m_hVideoWindow);
  const int lineStandard = g_pAppSettings->LineStandard;
  if (lineStandard == 3 || lineStandard == 4) {
    const int height = lineStandard == 3 ? 576 : 480;
    const int version = GetWindowsVersionCode();
    if (version == 2 || version == 11 || version == 10)
      m_pCaptureGraph->RebuildAtSize(720, height);
    else
      m_pCaptureGraph->SetSize(720, height);
  }
  if (!g_pChannelList) return;
  const int number = channel >= 1 ? channel : m_wallChannel;
  SetAudioOn(0);
  const int tuned = g_pChannelList->TuneChannelInRange(number, list, 1);
  SetAudioOn(1);
  // The wall's tunings write no text: the picture still carries the number of the channel
  // shown before the wall until the channel now tuned is written over it.
  if (tuned && g_pTunedChannelRecord) ShowChannelOsdText(number, list);
}

// ---- Typed channel numbers

// A digit is taken with a live graph, for 0..9, on live TV or while typing.
int CAppController::DigitAllowed(int digit, int typingState) const {
  const int state = GetRunState();
  return m_pCaptureGraph && m_pRunState && digit >= 0 && digit <= 9 && (state == 2 || state == typingState);
}

// The digit joins the typed number while it stays a channel of the plan in use.
void CAppController::AppendDigit(int digit) {
  const int last = GetPlanLastChannel();
  const int number = m_typedNumber * 10 + digit;
  if (m_typedNumber >= 100 || (last != -1 && number > last)) return;
  m_typedNumber = number;
  CString text;
  text.Format("%d", m_typedNumber);
  ShowOsdText(text);
}

void CAppController::EnterDigit(int digit) {
  StopScheduledRecording();
  HWND tv = TvWindow();
  if (!tv || !DigitAllowed(digit, 9)) return;
  if (GetRunState() == 9) {
    AppendDigit(digit);
    return;
  }
  SetTimer(tv, kDigitTimer, kDigitTimerMs, nullptr);
  m_typedNumber = digit;
  CString text;
  text.Format("%d", digit);
  ShowOsdText(text);
  m_pRunState->SetState(9);
}

void CAppController::EnterDigitFull(int digit) {
  StopScheduledRecording();
  if (GetRunState() == 6) ScanRunning = 0;
  if (!DigitAllowed(digit, 10)) return;
  if (GetRunState() == 10) {
    AppendDigit(digit);
    return;
  }
  SetTimer(TvWindow(), kDigitTimerFull, kDigitTimerMs, nullptr);
  m_typedNumber = digit;
  CString text;
  text.Format("%d", digit);
  ShowOsdText(text);
  m_pRunState->SetState(10);
}

int CAppController::OnDigitTimer() { return FinishDigits(kDigitTimer); }

int CAppController::OnDigitTimerFull() { return FinishDigits(kDigitTimerFull); }

// The typed number is tuned on the tuner's list; the view is live TV again.
int CAppController::FinishDigits(UINT_PTR timer) {
  StopScheduledRecording();
  if (!g_pChannelList || !g_pAppSettings) return 0;
  const int list = GetActiveChannelListIndex();
  if (list == 1 || list == 2) TuneAndShow(m_typedNumber, list);
  m_typedNumber = 0;
  if (HWND tv = TvWindow()) KillTimer(tv, timer);
  if (m_pRunState) m_pRunState->SetState(2);
  return 1;
}

// The entry the channel-number text names: a number being typed is tuned at once; on live
// TV the text is the current channel, tuned again and named on the picture. On Composite
// or S-Video the text names the input already shown, so nothing changes.
void CAppController::TuneByName() {
  const int state = GetRunState();
  if (state == 9 || state == 10) {
    FinishDigits(state == 9 ? kDigitTimer : kDigitTimerFull);
    return;
  }
  if (state != 2) return;
  StopScheduledRecording();
  if (GetRunState() == 2) TuneCurrentListChannel();
}

// ---- End of a channel scan

void CAppController::FinishScan() {
  if (GetRunState() != 6 || !g_pChannelList || !g_pAppSettings) return;
  const int list = g_pAppSettings->VideoInput;
  if (list == 1 || list == 2) g_pChannelList->TuneNumber(g_pChannelList->GetFirstChannelNumber(list), list);
  m_pRunState->SetState(2);
  SetAudioOn(1);
  if (list == 1 || list == 2) {
    CString text;
    text.Format("%d", g_pChannelList->GetCurrentChannel(list));
    ShowOsdText(text);
  }
  g_pChannelList->SaveFile(GetModuleFolder() + kChannelFile);
}
