// The capture graph's devices, its audio line-in and the video standards of the decoder
// and of the USB chip.
#include "graphs/CCaptureGraph.h"

#include "core/data/CAppSettings.h"
#include "core/data/DeviceControl.h"
#include "graphs/CCrossbarRouter.h"
#include "graphs/CDeviceFilter.h"
#include "graphs/CGraphBase.h"
#include "graphs/CVideoDeviceFilter.h"
#include "graphs/DeviceUtilities.h"
#include "graphs/FilterUtilities.h"
#include "graphs/ICaptureNotices.h"

#include <vendor/language/Language.h>
#include <vendor/qxmdll/QXUSBControl.h>
#include <win32/registry.h>
#include <win32/time.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

ICaptureNotices* g_pCaptureNotices = nullptr;

namespace {

constexpr char kDefaultDevice[] = "USB TV Device";
constexpr char kAudioGraphName[] = "Audio Volume Control";

// The names a line-in goes by; the last one is "线路输入" in code page 936.
constexpr const char* kLineInNames[] = {"Line In", "Line_In", "LineIn", "Line", "Line-In",
                                        "\xCF\xDF\xC2\xB7\xCA\xE4\xC8\xEB"};

struct StandardByName {
  const char* name;
  long decoder;
  WORD chip;
};

constexpr StandardByName kStandardsByName[] = {
    {"PAL_D", AnalogVideo_PAL_D, 0},       {"PAL_B", AnalogVideo_PAL_D, 0},
    {"PAL_H", AnalogVideo_PAL_D, 0},       {"PAL_I", AnalogVideo_PAL_D, 0},
    {"PAL_60", AnalogVideo_PAL_D, 0},      {"PAL_N_COMBO", AnalogVideo_PAL_D, 0},
    {"PAL_M", AnalogVideo_PAL_M, 0},       {"PAL_N", AnalogVideo_PAL_N, 0},
    {"NTSC_M", AnalogVideo_NTSC_M, 0},     {"NTSC_M_J", AnalogVideo_NTSC_M_J, 0},
    {"NTSC_433", AnalogVideo_NTSC_433, 0}, {"SECAM_B", AnalogVideo_SECAM_B, 0xFF},
    {"SECAM_D", AnalogVideo_SECAM_B, 0xFF}, {"SECAM_G", AnalogVideo_SECAM_B, 0xFF},
    {"SECAM_H", AnalogVideo_SECAM_B, 0xFF}, {"SECAM_K", AnalogVideo_SECAM_B, 0xFF},
    {"SECAM_K1", AnalogVideo_SECAM_B, 0xFF}, {"SECAM_L", AnalogVideo_SECAM_B, 0xFF},
    {"SECAM_L1", AnalogVideo_SECAM_B, 0xFF}, {"SECAM_MASK", AnalogVideo_SECAM_B, 0xFF},
};

// By number: 0..2 NTSC, 3..10 PAL, 11..18 SECAM.
constexpr StandardByName kStandardsByCode[] = {
    {"NTSC_M", AnalogVideo_NTSC_M, 0},   {"NTSC_M_J", AnalogVideo_NTSC_M_J, 0}, {"NTSC_433", AnalogVideo_NTSC_433, 0},
    {"PAL_B", AnalogVideo_PAL_D, 0},     {"PAL_D", AnalogVideo_PAL_D, 0},       {"PAL_I", AnalogVideo_PAL_D, 0},
    {"PAL_H", AnalogVideo_PAL_D, 0},     {"PAL_M", AnalogVideo_PAL_M, 0},       {"PAL_N", AnalogVideo_PAL_N, 0},
    {"PAL_60", AnalogVideo_PAL_D, 0},    {"PAL_N_COMBO", AnalogVideo_PAL_D, 0}, {"SECAM_B", AnalogVideo_SECAM_B, 0xFF},
    {"SECAM_D", AnalogVideo_SECAM_B, 0xFF}, {"SECAM_G", AnalogVideo_SECAM_B, 0xFF},
    {"SECAM_H", AnalogVideo_SECAM_B, 0xFF}, {"SECAM_K", AnalogVideo_SECAM_B, 0xFF},
    {"SECAM_K1", AnalogVideo_SECAM_B, 0xFF}, {"SECAM_L", AnalogVideo_SECAM_B, 0xFF},
    {"SECAM_L1", AnalogVideo_SECAM_B, 0xFF},
};
constexpr int kStandardCodes = static_cast<int>(std::size(kStandardsByCode));

void SetChipStandard(WORD value) {
  if (g_pDeviceControl) g_pDeviceControl->SetRegData(CCaptureGraph::kStandardRegister, value);
}

// Copies a name into a settings text field of `size` bytes, cut to fit.
void CopyName(char* field, std::size_t size, LPCSTR name) {
  std::strncpy(field, name, size - 1);
  field[size - 1] = '\0';
}

int StandardFamily(int code) { return code <= 2 ? 0 : code <= 10 ? 1 : 2; }

}  // namespace

void CCaptureGraph::Notify(int messageId) {
  if (g_pCaptureNotices) g_pCaptureNotices->Show(GetMessageInfo(messageId), 500, 3000, 500, 1);
}

// ---- Devices

BOOL CCaptureGraph::OpenVideoDevice(LPCSTR deviceName, int index) {
  if (!deviceName || !*deviceName) return FALSE;
  delete m_pVideoDevice;
  m_pVideoDevice = new CVideoDeviceFilter(Graph(), deviceName, "Video Capture");
  const BOOL opened = m_pVideoDevice->Open(index);
  if (m_pCaptureFilter) {
    m_pCaptureFilter->Release();
    m_pCaptureFilter = nullptr;
  }
  if (IBaseFilter* filter = m_pVideoDevice->GetFilter()) {
    m_pCaptureFilter = filter;
    m_pCaptureFilter->AddRef();
  } else {
    delete m_pVideoDevice;
    m_pVideoDevice = nullptr;
  }
  return opened;
}

BOOL CCaptureGraph::OpenDefaultVideoDevice(int index) {
  CAppSettings* settings = g_pAppSettings;
  if (!settings) return FALSE;
  m_text.Empty();
  const CStringArray& names = settings->CaptureDeviceNames;
  if (names.GetSize() == 0) {
    Notify(14);
    return FALSE;
  }
  int chosen = 0;
  for (int i = static_cast<int>(names.GetSize()) - 1; i >= 0; --i) {
    if (std::strcmp(names.GetAt(i), kDefaultDevice) == 0) {
      chosen = i;
      break;
    }
  }
  m_text = names.GetAt(chosen);
  CopyName(settings->CaptureDeviceName, sizeof(SettingsRecord::CaptureDeviceName) + 1, m_text);
  if (m_text.IsEmpty()) {
    Notify(16);
    return FALSE;
  }
  return OpenVideoDevice(m_text, index);
}

// ---- The audio input

BOOL CCaptureGraph::SelectAudioInput(LPCSTR deviceName, int matchFlag) {
  if (!deviceName || !*deviceName) return FALSE;
  if (m_pAudioDevice) {
    IGraphBuilder* graph = Graph();
    if (graph && m_pAudioDevice->GetFilter()) {
      DisconnectDownstream(graph, m_pAudioDevice->GetFilter());
      RemoveFilterByName(graph, kAudioGraphName);
    }
    delete m_pAudioDevice;
    m_pAudioDevice = nullptr;
  }
  m_pAudioDevice = new CDeviceFilter(Graph(), deviceName, kAudioGraphName);
  if (!m_pAudioDevice->Open(matchFlag)) {
    delete m_pAudioDevice;
    m_pAudioDevice = nullptr;
    return FALSE;
  }
  FillCaptureLineNames(m_pAudioDevice);
  if (g_pAppSettings) SelectLineByName(g_pAppSettings->CaptureAudioLine);
  return TRUE;
}

BOOL CCaptureGraph::SelectDefaultAudioInput() {
  CAppSettings* settings = g_pAppSettings;
  if (!settings || settings->AudioDeviceNames.GetSize() == 0) return FALSE;
  const CStringArray& names = settings->AudioDeviceNames;
  const int last = static_cast<int>(names.GetSize()) - 1;
  const BOOL vista = IsVistaProductName();
  auto take = [&](int i, int matchFlag) {
    if (!SelectAudioInput(names.GetAt(i), matchFlag)) return false;
    CopyName(settings->AudioDeviceName, sizeof(SettingsRecord::AudioDeviceName) + 1, names.GetAt(i));
    return true;
  };
  // On Vista the stick's sound is looked for under a name the settings would hold; they
  // hold none, so only the fallback below applies there.
  if (!vista) {
    for (int i = last; i >= 0; --i)
      if (MatchDeviceName(names.GetAt(i), kDefaultDevice) && take(i, 1)) return TRUE;
  }
  return take(last, vista ? 0 : 1) ? TRUE : FALSE;
}

BOOL CCaptureGraph::FillCaptureLineNames(CDeviceFilter* audioDevice) {
  if (!audioDevice || !g_pAppSettings) return FALSE;
  CStringArray& lines = g_pAppSettings->CaptureAudioLineNames;
  lines.RemoveAll();
  for (int i = 0; i < audioDevice->GetPinCount(); ++i) lines.Add(audioDevice->GetPinName(i));
  return TRUE;
}

void CCaptureGraph::SelectLineByName(LPCSTR lineName) {
  if (!m_pAudioDevice || m_pAudioDevice->GetPinCount() == 0) return;
  for (int i = m_pAudioDevice->GetPinCount() - 1; i >= 0; --i) {
    if (lineName && std::strcmp(m_pAudioDevice->GetPinName(i), lineName) == 0) {
      SetAudioLine(i);
      return;
    }
  }
  SelectLineIn();
}

void CCaptureGraph::SelectLineIn() {
  if (!m_pAudioDevice || m_pAudioDevice->GetPinCount() == 0) return;
  int chosen = 0;
  for (int i = m_pAudioDevice->GetPinCount() - 1; i >= 0; --i) {
    const LPCSTR name = m_pAudioDevice->GetPinName(i);
    if (std::any_of(std::begin(kLineInNames), std::end(kLineInNames),
                    [name](const char* lineIn) { return std::strcmp(name, lineIn) == 0; })) {
      chosen = i;
      break;
    }
  }
  if (g_pAppSettings)
    CopyName(g_pAppSettings->CaptureAudioLine, sizeof(SettingsRecord::CaptureAudioLine) + 1,
             m_pAudioDevice->GetPinName(chosen));
  SetAudioLine(chosen);
}

BOOL IsVistaProductName() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return FALSE;
  char product[40] = {};
  DWORD size = sizeof product;
  const bool read =
      RegQueryValueExA(key, "ProductName", nullptr, nullptr, reinterpret_cast<BYTE*>(product), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (!read) return FALSE;
  product[sizeof product - 1] = '\0';
  for (char& c : product) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return std::strstr(product, "VISTA") != nullptr;
}

// ---- Video standards

IAMAnalogVideoDecoder* CCaptureGraph::GetAnalogVideoDecoder() {
  IAMAnalogVideoDecoder* decoder = nullptr;
  if (!m_pCaptureFilter ||
      FAILED(m_pCaptureFilter->QueryInterface(IID_IAMAnalogVideoDecoder, reinterpret_cast<void**>(&decoder))))
    return nullptr;
  return decoder;
}

void CCaptureGraph::SetVideoStandard(LPCSTR name) {
  if (!name) return;
  const StandardByName* standard = nullptr;
  for (const StandardByName& entry : kStandardsByName)
    if (std::strcmp(entry.name, name) == 0) standard = &entry;
  if (!standard) return;
  SetChipStandard(standard->chip);
  IAMAnalogVideoDecoder* decoder = GetAnalogVideoDecoder();
  if (!decoder) return;
  decoder->put_TVFormat(standard->decoder);
  Sleep(30);
  long now = 0;
  decoder->get_TVFormat(&now);
  if (now != standard->decoder) {
    decoder->put_TVFormat(standard->decoder);
    Sleep(30);
  }
  decoder->Release();
}

void CCaptureGraph::SetAvInputStandard(int code) {
  const long decoderStandard = code == 1   ? AnalogVideo_NTSC_433
                               : code == 2 ? AnalogVideo_PAL_D
                               : code == 3 ? AnalogVideo_SECAM_B
                                           : AnalogVideo_NTSC_M;
  SetChipStandard(code == 3 ? 0xFF : 0);
  if (IAMAnalogVideoDecoder* decoder = GetAnalogVideoDecoder()) {
    decoder->put_TVFormat(decoderStandard);
    Sleep(80);
    decoder->Release();
  }
}

BOOL CCaptureGraph::SetVideoStandardByCode(int code, CString& name) {
  if (code < 0 || code >= kStandardCodes) return FALSE;
  const StandardByName& standard = kStandardsByCode[code];
  name = standard.name;
  SetChipStandard(standard.chip);
  if (IAMAnalogVideoDecoder* decoder = GetAnalogVideoDecoder()) {
    decoder->put_TVFormat(standard.decoder);
    decoder->Release();
  }
  Sleep(100);
  return TRUE;
}

BOOL CCaptureGraph::IsSameStandardFamily(int first, int second) {
  if (first < 0 || first >= kStandardCodes || second < 0 || second >= kStandardCodes) return FALSE;
  return StandardFamily(first) == StandardFamily(second);
}

void CCaptureGraph::SelectCrossbarInputByType(long physicalType) {
  if (!m_pCrossbar) return;
  for (long entry = 0; entry < m_crossbarInputCount; ++entry) {
    long type = 0;
    if (SUCCEEDED(m_pCrossbar->GetInputType(entry, &type)) && type == physicalType) {
      for (int round = 0; round < 3; ++round) m_pCrossbar->SelectInput(entry);
      return;
    }
  }
}

int CCaptureGraph::DetectInputStandard() {
  IAMAnalogVideoDecoder* decoder = GetAnalogVideoDecoder();
  if (!decoder) return 3;
  long format = 0;
  decoder->get_TVFormat(&format);
  decoder->Release();
  if (format & AnalogVideo_NTSC_Mask) return 0;
  if (format & (AnalogVideo_PAL_B | AnalogVideo_PAL_D | AnalogVideo_PAL_H)) return 1;
  if (format & (AnalogVideo_PAL_I | AnalogVideo_PAL_M | AnalogVideo_PAL_N | AnalogVideo_PAL_60 |
                AnalogVideo_PAL_N_COMBO))
    return 1;
  if (format & AnalogVideo_SECAM_Mask) return 2;
  return 3;
}
