// The live view: the preview graph built for the settings' input and shown in the video
// window, the switches between the tuner, Composite and S-Video, the external inputs'
// standard, the capture and audio capture devices, and the standard step of a tuning.
// Every failure to start a preview ends with no graph, run state 0 and the sound on.
#include "core/CAppController.h"

#include "core/CRunState.h"
#include "core/CVolumeMixer.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "core/data/TunerProgramming.h"
#include "graphs/CPlaybackGraph.h"
#include "graphs/CPreviewGraph.h"
#include "graphs/WindowsVersion.h"

#include <mfc/afxwin.h>
#include <vendor/language/Language.h>
#include <win32/user.h>

#include <cstring>
#include <new>

namespace {

constexpr int kTvState = 2;
constexpr int kCompositeState = 11;
constexpr int kSVideoState = 13;

// The run state of a preview of the settings' video input; 0 for an unknown input.
int RunStateForInput(int videoInput) {
  switch (videoInput) {
    case 1: case 2: return kTvState;
    case 3: return kCompositeState;
    case 4: return kSVideoState;
    default: return 0;
  }
}

// A text cut to fit a caller's buffer of `size` bytes, terminated.
void CopyBounded(LPSTR buffer, LPCSTR text, int size) {
  std::strncpy(buffer, text, size - 1);
  buffer[size - 1] = '\0';
}

// A name into a 40-byte name field of the settings.
void CopyName(LPSTR buffer, LPCSTR name) { CopyBounded(buffer, name, 40); }

// The Composite and S-Video standards by index.
constexpr int kNtsc358 = 0;
constexpr int kNtsc443 = 1;
constexpr int kPal = 2;
constexpr int kSecam = 3;

bool Between(int from, int to, int a, int b) { return (from == a && to == b) || (from == b && to == a); }

// The chosen standard keeps the sound on from NTSC(n3.58) to NTSC(n4.33) and between PAL
// and SECAM.
bool QuietWhenChosen(int from, int to) { return (from == kNtsc358 && to == kNtsc443) || Between(from, to, kPal, kSecam); }

// A step keeps it on between the two NTSC standards and between NTSC(n4.33) and PAL.
bool QuietWhenStepped(int from, int to) { return Between(from, to, kNtsc358, kNtsc443) || Between(from, to, kNtsc443, kPal); }

}  // namespace

int CAppController::StartPreview(HWND videoWindow) {
  if (!videoWindow || !IsWindow(videoWindow)) return 0;
  SetVideoWindow(videoWindow);
  if (!OpenPreview()) return 0;
  return SetGraphNotifyWindow(MainWindow());
}

BOOL CAppController::SetGraphNotifyWindow(HWND window) {
  if ((IsPreviewing() || IsRecording()) && m_pCaptureGraph) return m_pCaptureGraph->SetNotifyWindow(window);
  if (GetRunState() == 4 && m_pPlaybackGraph) return m_pPlaybackGraph->SetNotifyWindow(window);
  return FALSE;
}

int CAppController::OpenPreview() {
  if (!m_pRunState || !g_pAppSettings) return 0;
  if (!IsIdle() && !IsPreviewing() && !IsRecording()) return 0;
  if (int state = RunStateForInput(g_pAppSettings->VideoInput)) m_pRunState->SetState(state);
  DestroyCaptureGraph();
  if (g_pAppSettings->CaptureDeviceNames.GetSize() == 0) {
    AfxMessageBox(GetMessageInfo(16));
    m_pRunState->SetState(0);
    return 0;
  }
  OpenDeviceControl();
  m_pCaptureGraph = new (std::nothrow) CPreviewGraph;
  if (!m_pCaptureGraph) {
    m_pRunState->SetState(0);
    return 0;
  }
  // The line is switched on once, then kept silent until the picture is up.
  if (m_pVolumeMixer) {
    m_pVolumeMixer->LineOn();
    SetAudioOn(0);
  }
  if (!BuildPreview()) return 0;
  switch (GetRunState()) {
    case kTvState: TuneCurrentChannel(); break;
    case kCompositeState: ShowOsdText("Composite"); break;
    case kSVideoState: ShowOsdText("S-Video"); break;
    default: break;
  }
  if (m_pVolumeMixer) SetAudioOn(1);
  return 1;
}

// Hands the window to the new graph, builds it and applies the settings' input, line
// standard and picture values.
int CAppController::BuildPreview() {
  if (!IsWindow(m_hVideoWindow) || !m_pCaptureGraph || !g_pAppSettings) {
    FailPreview();
    return 0;
  }
  const CAppSettings& settings = *g_pAppSettings;
  if (!m_pCaptureGraph->SetWindowAndBuild(m_hVideoWindow)) {
    FailPreview();
    return 0;
  }
  if (settings.VideoInput >= 1 && settings.VideoInput <= 4) m_pRunState->SetSubState(15 + settings.VideoInput);
  m_pCaptureGraph->SetInputType(settings.LineStandard);
  if (!m_pCaptureGraph->ApplyTvSettings(GetInputKind(), settings.Sharpness, settings.Contrast, settings.Brightness,
                                        settings.Hue, settings.Saturation)) {
    AfxMessageBox(GetMessageInfo(16));
    FailPreview();
    return 0;
  }
  return 1;
}

void CAppController::FailPreview() {
  delete m_pCaptureGraph;
  m_pCaptureGraph = nullptr;
  m_pRunState->SetState(0);
  SetAudioOn(1);
}

int CAppController::CaptureGraphRun() {
  if (!m_pRunState) return 0;
  if ((IsIdle() || IsPreviewing()) && m_pCaptureGraph) m_pCaptureGraph->Run();
  return 1;
}

int CAppController::CaptureGraphStop() {
  if (!m_pRunState) return 0;
  if ((IsIdle() || IsPreviewing()) && m_pCaptureGraph) m_pCaptureGraph->Stop();
  return 1;
}

// The active list's current channel, tuned and named on the picture.
void CAppController::TuneCurrentListChannel() {
  const int list = GetActiveChannelListIndex();
  if (!g_pChannelList || list < 0) return;
  TuneAndShow(g_pChannelList->GetCurrentChannel(list), list);
}

void CAppController::TuneAndShow(int number, int list) {
  SetAudioOn(0);
  g_pChannelList->TuneNumber(number, list, 1);
  SetAudioOn(1);
  if (g_pTunedChannelRecord) ShowChannelOsdText(number, list);
}

void CAppController::SelectTuner() {
  if (!IsPreviewing()) return;
  StopScheduledRecording();
  if (!g_pAppSettings || !m_pCaptureGraph) return;
  CAppSettings& settings = *g_pAppSettings;
  if (settings.VideoInput == 1 || settings.VideoInput == 2) return;
  if (settings.TunerSource == 2) {
    m_pRunState->SetSubState(17);
    settings.VideoInput = 2;
  } else if (settings.TunerSource == 1) {
    m_pRunState->SetSubState(16);
    settings.VideoInput = 1;
  }
  m_pRunState->SetState(kTvState);
  SetAudioOn(0);
  m_pCaptureGraph->DetectStandard(0);
  TuneCurrentChannel();
  SetAudioOn(1);
}

void CAppController::SelectComposite() { SwitchExternal(18, kCompositeState, 3, 1, "Composite"); }

void CAppController::SelectSVideo() { SwitchExternal(19, kSVideoState, 4, 2, "S-Video"); }

void CAppController::SwitchExternal(int subState, int runState, int videoInput, int kind, LPCSTR text) {
  if (!IsPreviewing()) return;
  StopScheduledRecording();
  if (!g_pAppSettings || !m_pCaptureGraph) return;
  if (g_pAppSettings->VideoInput == videoInput) return;
  m_pRunState->SetSubState(subState);
  g_pAppSettings->VideoInput = videoInput;
  m_pRunState->SetState(runState);
  SetAudioOn(0);
  m_pCaptureGraph->DetectStandard(kind);
  ShowOsdText(text);
  SetAudioOn(1);
}

void CAppController::SwitchToSubState(int subState, int channel, int tune) {
  if (subState == 16 || subState == 17) {
    const int list = subState - 15;
    if (m_pRunState) m_pRunState->SetState(kTvState);
    if (!m_pCaptureGraph) return;
    if (g_pAppSettings) g_pAppSettings->TunerSource = g_pAppSettings->VideoInput = list;
    m_pCaptureGraph->DetectStandard(0);
    if (tune && g_pChannelList && channel > 0) TuneAndShow(channel, list);
    return;
  }
  if (subState != 18 && subState != 19) return;
  const bool composite = subState == 18;
  if (m_pRunState) m_pRunState->SetState(composite ? kCompositeState : kSVideoState);
  if (g_pAppSettings) g_pAppSettings->VideoInput = composite ? 3 : 4;
  if (!m_pCaptureGraph) return;
  m_pCaptureGraph->DetectStandard(composite ? 1 : 2);
  ShowOsdText(composite ? "Composite" : "S-Video");
}

void CAppController::SelectInput(int next, CString& text) {
  if (!IsPreviewing()) return;
  StopScheduledRecording();
  if (!g_pAppSettings) return;
  const int input = g_pAppSettings->VideoInput;
  if (input == 1 || input == 2) {
    SelectComposite();
    text = "Composite";
  } else if (input == 3 || next) {
    SelectTuner();
    text = "TV";
  }
}

void CAppController::ChangeCrossbarInput(int index, bool (*quiet)(int from, int to)) {
  const int old = g_pAppSettings->AvInputStandard;
  m_avStandardIndex = index;
  g_pAppSettings->AvInputStandard = index;
  if (index == old || !m_pCaptureGraph) return;
  const bool mute = !quiet(old, index);
  if (mute) SetAudioOn(0);
  m_pCaptureGraph->ApplyStandardFromSettings(0);
  if (mute) SetAudioOn(1);
}

void CAppController::SetCrossbarInput(int index) {
  const int state = GetRunState();
  if (state != kCompositeState && state != kSVideoState) return;
  StopScheduledRecording();
  if (!g_pAppSettings || index < 0 || index >= g_pAppSettings->AvStandardNames.GetSize()) return;
  ChangeCrossbarInput(index, QuietWhenChosen);
}

void CAppController::StepCrossbarInput(int previous, CString& name) {
  const int state = GetRunState();
  if (state != kCompositeState && state != kSVideoState) return;
  StopScheduledRecording();
  if (!g_pAppSettings) return;
  const CStringArray& names = g_pAppSettings->AvStandardNames;
  const int count = names.GetSize();
  if (count == 0) return;
  int current = g_pAppSettings->AvInputStandard;
  if (current < 0 || current >= count) current = 0;
  const int index = (current + (previous ? count - 1 : 1)) % count;
  name = names.GetAt(index);
  ChangeCrossbarInput(index, QuietWhenStepped);
}

int CAppController::StepCaptureDevice(int previous, CString& name) {
  if ((!IsPreviewing() && !IsIdle()) || !g_pAppSettings) return 0;
  const CStringArray& devices = g_pAppSettings->CaptureDeviceNames;
  const int count = devices.GetSize();
  if (count < 2) return 0;
  StopScheduledRecording();
  int current = -1;
  for (int i = 0; i < count; ++i) {
    if (devices.GetAt(i) == g_pAppSettings->CaptureDeviceName) current = i;
  }
  const int next = current < 0 ? 0 : (current + (previous ? count - 1 : 1)) % count;
  CopyName(g_pAppSettings->CaptureDeviceName, devices.GetAt(next));
  const int opened = OpenPreview();
  name = g_pAppSettings->CaptureDeviceName;
  return opened;
}

int CAppController::GetInputKind() const {
  if (!g_pAppSettings) return 0;
  switch (g_pAppSettings->VideoInput) {
    case 3: return 1;
    case 4: return 2;
    default: return 0;
  }
}

CString CAppController::GetInputSourceName() const {
  if (!g_pAppSettings || !m_pCaptureGraph) return CString();
  switch (g_pAppSettings->VideoInput) {
    case 1: case 2: return "TV";
    case 3: return "Composite";
    case 4: return "S-Video";
    default: return CString();
  }
}

void CAppController::ApplyDeviceSelection(int previous, LPSTR name, LPSTR line, LPSTR) {
  CAppSettings* settings = g_pAppSettings;
  if (!settings || settings->AudioDeviceNames.GetSize() < 2 || !m_pCaptureGraph || !IsPreviewing()) return;
  const CStringArray& devices = settings->AudioDeviceNames;
  const int count = devices.GetSize();
  int current = -1;
  for (int i = count - 1; i >= 0 && current < 0; --i) {
    if (devices.GetAt(i) == settings->AudioDeviceName) current = i;
  }
  if (current < 0) return;
  CopyName(settings->AudioDeviceName, devices.GetAt((current + (previous ? count - 1 : 1)) % count));

  const BOOL ownSound = m_pCaptureGraph->HasAudio();
  if (!ownSound) {
    const int versionCode = GetWindowsVersionCode();
    const int versionFlag = versionCode == 2 || versionCode == 3;
    m_pCaptureGraph->Stop();
    m_pCaptureGraph->SelectAudioInput(settings->AudioDeviceName, versionFlag);
    const BOOL connected = m_pCaptureGraph->ConnectAudio(1);
    m_pCaptureGraph->Run();
    if (connected && m_pRunState->IsTunerSubState() && g_pChannelList) {
      const int list = settings->TunerSource == 2 ? 2 : settings->TunerSource == 1 ? 1 : 0;
      if (list) TuneAndShow(g_pChannelList->GetCurrentChannel(list), list);
    }
    FillMixerLineNames();
    CString lineIn;
    const int found = FindMixerSourceName(0x1002, lineIn, 1, settings->AudioDeviceName);
    std::memset(settings->AudioLineName, 0, sizeof settings->AudioLineName);
    for (int i = 0; found && i < settings->AudioLineNames.GetSize(); ++i) {
      if (settings->AudioLineNames.GetAt(i) == lineIn) {
        CopyName(settings->AudioLineName, lineIn);
        break;
      }
    }
  }
  if (name) CopyBounded(name, settings->AudioDeviceName, kDeviceNameBufferSize);
  if (line) CopyBounded(line, ownSound ? "" : settings->CaptureAudioLine, kLineBufferSize);
}

void CAppController::ApplyChannelStandard(CString standardName) {
  if (!m_pCaptureGraph || !m_pRunState || !g_pChannelList || !g_pAppSettings || !CurrentCountryUsesIf38()) return;
  const CAppSettings& settings = *g_pAppSettings;
  m_pCaptureGraph->SetVideoStandard(standardName);
  m_pCaptureGraph->SetVideoProcAmp(settings.Sharpness, settings.Contrast, settings.Brightness, settings.Hue,
                                   settings.Saturation);
}
