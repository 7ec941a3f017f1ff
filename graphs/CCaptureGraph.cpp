#include "graphs/CCaptureGraph.h"

#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "core/data/TunerProgramming.h"
#include "graphs/CAudioRendererFilter.h"
#include "graphs/CAviDecompressorFilter.h"
#include "graphs/CCrossbarRouter.h"
#include "graphs/CDefaultVideoRendererFilter.h"
#include "graphs/CDeinterlacerFilter.h"
#include "graphs/CDeviceFilter.h"
#include "graphs/CGraphBase.h"
#include "graphs/COverlayFilter.h"
#include "graphs/COverlayMixerFilter.h"
#include "graphs/CSmartTeeFilter.h"
#include "graphs/CVideoDeviceFilter.h"
#include "graphs/CVideoInvertFilter.h"
#include "graphs/CVideoMixingRendererFilter.h"
#include "graphs/CVideoRendererFilter.h"
#include "graphs/DeviceUtilities.h"
#include "graphs/FilterUtilities.h"

#include <mfc/afxwin.h>
#include <vendor/language/Language.h>
#include <win32/time.h>

#include <cstring>

namespace {

// The capture size of the build: always 720 wide, 576 or 480 lines by standard family.
constexpr int kFrameWidth = 720;
constexpr int kLines625 = 576;
constexpr int kLines525 = 480;
constexpr int kFamily625 = 3;
constexpr int kFamily525 = 4;

template <class T>
void DeleteHeld(T*& held) {
  delete held;
  held = nullptr;
}

// An added wrapper is kept; one that cannot be added is deleted.
template <class Wrapper>
bool AddOrDelete(Wrapper*& wrapper) {
  if (wrapper && wrapper->AddToGraph()) return true;
  DeleteHeld(wrapper);
  return false;
}

// The pin's category, GUID_NULL when it has none.
GUID PinCategory(IPin* pin) {
  GUID category = GUID_NULL;
  IKsPropertySet* properties = nullptr;
  if (SUCCEEDED(pin->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&properties)))) {
    DWORD returned = 0;
    if (FAILED(properties->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category, sizeof category,
                               &returned)))
      category = GUID_NULL;
    properties->Release();
  }
  return category;
}

}  // namespace

CCaptureGraph::CCaptureGraph()
    : m_pCaptureFilter(nullptr),
      m_pBuilder(nullptr),
      m_pDeinterlacer(nullptr),
      m_pInvert(nullptr),
      m_pVideoDevice(nullptr),
      m_pOverlayMixer(nullptr),
      m_pAviDecompressor(nullptr),
      m_pCrossbar(nullptr),
      m_pGraph(nullptr),
      m_pOverlay(nullptr),
      m_pVideoRenderer(nullptr),
      m_pDefaultRenderer(nullptr),
      m_pMixingRenderer(nullptr),
      m_pAudioRenderer(nullptr),
      m_pAudioDevice(nullptr),
      m_hVideoWindow(nullptr),
      m_pProcAmp(nullptr),
      m_lineStandard(0),
      m_standardName("PAL_D"),
      m_frameRate(25),
      m_crossbarInputCount(0),
      m_flag(1) {
  InitializeCriticalSection(&m_lock);
}

CCaptureGraph::~CCaptureGraph() {
  // The base's DeleteFilters runs here; a derived graph deletes its own filters first.
  Close();
  DeleteCriticalSection(&m_lock);
}

IGraphBuilder* CCaptureGraph::Graph() const { return m_pGraph ? m_pGraph->GetGraph() : nullptr; }

IBaseFilter* CCaptureGraph::VideoDeviceFilter() const {
  return m_pVideoDevice ? m_pVideoDevice->GetFilter() : nullptr;
}

// ---- Construction and teardown

BOOL CCaptureGraph::SetWindowAndBuild(HWND window) {
  EnterCriticalSection(&m_lock);
  BOOL result = FALSE;
  if (window) {
    m_hVideoWindow = window;
    DeleteHeld(m_pGraph);
    m_pGraph = new CGraphBase;
    result = m_pGraph->Create();
    if (!result) DeleteHeld(m_pGraph);
  }
  LeaveCriticalSection(&m_lock);
  return result;
}

void CCaptureGraph::Close() {
  SetNotifyWindow(nullptr);
  Stop();
  ReleaseProcAmp();
  DeleteFilters();
  if (m_pCaptureFilter) {
    m_pCaptureFilter->Release();
    m_pCaptureFilter = nullptr;
  }
  if (m_pBuilder) {
    m_pBuilder->Release();
    m_pBuilder = nullptr;
  }
  DeleteHeld(m_pGraph);
}

void CCaptureGraph::ReleaseProcAmp() {
  if (m_pProcAmp) {
    m_pProcAmp->Release();
    m_pProcAmp = nullptr;
  }
}

// ---- Build and run

BOOL CCaptureGraph::ApplyTvSettings(int input, int sharpness, int contrast, int brightness, int hue, int saturation) {
  CAppSettings* settings = g_pAppSettings;
  if (!settings) return FALSE;
  int frameHeight = kLines525;
  int detected = 0;
  int localLineStandard = kFamily525;

  if (!CreateCaptureBuilder()) return FALSE;
  if (!BuildVideoChain()) return FALSE;
  SelectCrossbarInput(input);
  if (input == 0) {
    if (settings->LineStandard == kFamily625) frameHeight = kLines625;
    char standard[10] = {};
    if (g_pChannelList && GetCountryStandardName(settings->CountryCode, standard, sizeof standard) && standard[0] &&
        std::strstr(standard, "NTSC"))
      SetVideoStandard(standard);
    const BOOL formatSet = SetCaptureFormat(kFrameWidth, frameHeight);
    SetVideoProcAmp(sharpness, contrast, brightness, hue, saturation);
    if (!formatSet) return FALSE;
  } else {
    const int found = ApplyDetectedAvStandard();
    if (found == 2 || found == 3) detected = found;
    if (m_lineStandard == kFamily625 || m_lineStandard == kFamily525) {
      const bool lines525 = settings->AvInputStandard == 0 || settings->AvInputStandard == 1;
      frameHeight = lines525 ? kLines525 : kLines625;
      settings->LineStandard = localLineStandard = lines525 ? kFamily525 : kFamily625;
    }
    if (!SetCaptureFormat(kFrameWidth, frameHeight)) return FALSE;
  }
  if (!ConnectGraph()) return FALSE;
  if (!AttachVideoWindow(m_hVideoWindow)) return FALSE;
  const BOOL running = Run();
  if (input != 0) FollowRunningStandard(detected, localLineStandard, frameHeight);
  return running;
}

int CCaptureGraph::ApplyDetectedAvStandard() {
  Sleep(600);
  // Detected 0, 1, 2 are set as the external standards 0, 2, 3 (NTSC 3.58, PAL, SECAM).
  static constexpr int kAvStandardOfDetected[] = {0, 2, 3};
  const int detected = DetectInputStandard();
  if (detected < 0 || detected > 2) return -1;
  const int standard = kAvStandardOfDetected[detected];
  SetAvInputStandard(standard);
  g_pAppSettings->AvInputStandard = standard;
  return standard;
}

void CCaptureGraph::FollowRunningStandard(int detected, int localLineStandard, int frameHeight) {
  CAppSettings& settings = *g_pAppSettings;
  Sleep(100);
  switch (DetectInputStandard()) {
    case 0:
      // An NTSC signal has 480 lines, whatever the first look had seen.
      frameHeight = kLines525;
      settings.LineStandard = kFamily525;
      settings.AvInputStandard = 0;
      break;
    case 1:
      frameHeight = kLines625;
      settings.AvInputStandard = 2;
      settings.LineStandard = kFamily625;
      break;
    case 2:
      frameHeight = kLines625;
      settings.AvInputStandard = 3;
      settings.LineStandard = kFamily625;
      break;
    default:
      break;
  }
  if (settings.AvInputStandard == detected) return;
  SetAvInputStandard(settings.AvInputStandard);
  SetVideoProcAmp(settings.Sharpness, settings.Contrast, settings.Brightness, settings.Hue, settings.Saturation);
  if (localLineStandard != settings.LineStandard) SetSize(kFrameWidth, frameHeight);
}

BOOL CCaptureGraph::CreateCaptureBuilder() {
  if (!CreateDeviceFilters()) return FALSE;
  PrepareDevice();
  if (m_pBuilder) {
    m_pBuilder->Release();
    m_pBuilder = nullptr;
  }
  if (FAILED(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                              IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(&m_pBuilder)))) {
    m_pBuilder = nullptr;
    return FALSE;
  }
  m_pBuilder->SetFiltergraph(Graph());
  IBaseFilter* device = VideoDeviceFilter();
  if (!device) return TRUE;
  // Rendering the capture stream into a Smart Tee brings the crossbar and the tuner
  // upstream of the device into the graph; the tee is only the means.
  CSmartTeeFilter* tee = new CSmartTeeFilter(Graph());
  if (tee->AddToGraph())
    m_pBuilder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device, nullptr, tee->GetFilter());
  SetupCrossbar(device);
  RemoveDownstream(Graph(), device);
  delete tee;
  return TRUE;
}

void CCaptureGraph::SetupCrossbar(IBaseFilter* device) {
  DeleteHeld(m_pCrossbar);
  m_crossbarInputCount = 0;
  IEnumPins* pins = nullptr;
  if (!device || FAILED(device->EnumPins(&pins))) return;
  IPin* pin = nullptr;
  while (!m_pCrossbar && pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION direction = PINDIR_OUTPUT;
    pin->QueryDirection(&direction);
    if (direction == PINDIR_INPUT && PinCategory(pin) == PIN_CATEGORY_ANALOGVIDEOIN) {
      HRESULT hr = S_OK;
      m_pCrossbar = new CCrossbarRouter(pin, &hr);
      m_pCrossbar->GetInputCount(&m_crossbarInputCount);
    }
    pin->Release();
  }
  pins->Release();
}

// ---- The video chain

void CCaptureGraph::DeleteChainWrappers() {
  DeleteHeld(m_pDeinterlacer);
  DeleteHeld(m_pInvert);
  DeleteHeld(m_pAudioRenderer);
  DeleteHeld(m_pOverlay);
  DeleteHeld(m_pDefaultRenderer);
  DeleteHeld(m_pVideoRenderer);
  DeleteHeld(m_pOverlayMixer);
  DeleteHeld(m_pAviDecompressor);
  DeleteHeld(m_pMixingRenderer);
}

BOOL CCaptureGraph::AddFilterModule(CFilterWrapper* wrapper, LPCSTR module) {
  if (wrapper->AddToGraph()) return TRUE;
  // Found in the program folder first, as the installer puts it there.
  RegisterFilterModule(module);
  if (wrapper->AddToGraph()) return TRUE;
  AfxMessageBox(GetMessageInfo(14));
  return FALSE;
}

BOOL CCaptureGraph::BuildVideoChain() {
  DeleteChainWrappers();
  m_pDeinterlacer = new CDeinterlacerFilter(Graph());
  if (!AddFilterModule(m_pDeinterlacer, "Filter\\qndeinterlacer.ax")) return FALSE;
  m_pInvert = new CVideoInvertFilter(Graph());
  if (!AddFilterModule(m_pInvert, "Filter\\qn_invert.ax")) return FALSE;
  if (m_pAudioDevice || HasAudio()) {
    m_pAudioRenderer = new CAudioRendererFilter(Graph());
    AddOrDelete(m_pAudioRenderer);
  }
  m_pOverlay = new COverlayFilter(Graph());
  if (!AddFilterModule(m_pOverlay, "Filter\\QXM_OverlayFilter.ax")) return FALSE;

  const int version = GetWindowsVersionCode();
  if ((version == 2 || version == 11 || version == 10) && CreateDefaultRenderer()) return TRUE;
  m_pVideoRenderer = new CVideoRendererFilter(Graph());
  if (!AddOrDelete(m_pVideoRenderer)) return FALSE;
  m_pOverlayMixer = new COverlayMixerFilter(Graph());
  AddOrDelete(m_pOverlayMixer);
  if (version != 11 && version != 10) {
    m_pAviDecompressor = new CAviDecompressorFilter(Graph());
    AddOrDelete(m_pAviDecompressor);
  }
  m_pMixingRenderer = new CVideoMixingRendererFilter(Graph());
  AddOrDelete(m_pMixingRenderer);
  return TRUE;
}

BOOL CCaptureGraph::CreateDefaultRenderer() {
  if (!m_pDefaultRenderer) m_pDefaultRenderer = new CDefaultVideoRendererFilter(Graph());
  return AddOrDelete(m_pDefaultRenderer);
}

BOOL CCaptureGraph::ReAddVideoChain() {
  for (CFilterWrapper* wrapper : {static_cast<CFilterWrapper*>(m_pDeinterlacer), static_cast<CFilterWrapper*>(m_pInvert),
                                  static_cast<CFilterWrapper*>(m_pOverlay)})
    if (!wrapper || !wrapper->AddToGraph()) return FALSE;
  if (m_pDefaultRenderer && AddOrDelete(m_pDefaultRenderer)) return TRUE;
  if (m_pOverlayMixer) AddOrDelete(m_pOverlayMixer);
  if (!m_pDefaultRenderer) {
    DeleteHeld(m_pVideoRenderer);
    m_pVideoRenderer = new CVideoRendererFilter(Graph());
    if (!AddOrDelete(m_pVideoRenderer)) return FALSE;
  }
  if (m_pAviDecompressor) AddOrDelete(m_pAviDecompressor);
  if (m_pMixingRenderer) AddOrDelete(m_pMixingRenderer);
  return TRUE;
}

void CCaptureGraph::DeleteFilters() {
  DeleteHeld(m_pCrossbar);
  m_crossbarInputCount = 0;
  DeleteHeld(m_pDeinterlacer);
  DeleteHeld(m_pInvert);
  DeleteHeld(m_pOverlayMixer);
  DeleteHeld(m_pVideoRenderer);
  DeleteHeld(m_pOverlay);
  DeleteHeld(m_pVideoDevice);
  DeleteHeld(m_pAudioDevice);
  DeleteHeld(m_pAviDecompressor);
  DeleteHeld(m_pAudioRenderer);
  DeleteHeld(m_pDefaultRenderer);
  DeleteHeld(m_pMixingRenderer);
  if (IGraphBuilder* graph = Graph()) RemoveAllFilters(graph);
}

BOOL CCaptureGraph::SelectCrossbarInput(int kind) {
  if (!m_pCrossbar || m_crossbarInputCount == 0) return FALSE;
  const long wanted = kind == 0 ? PhysConn_Video_Tuner : kind == 1 ? PhysConn_Video_Composite
                                                       : kind == 2 ? PhysConn_Video_SVideo
                                                                   : -1;
  long entry = 0;
  for (; entry < m_crossbarInputCount; ++entry) {
    long type = 0;
    if (SUCCEEDED(m_pCrossbar->GetInputType(entry, &type)) && type == wanted) break;
  }
  // The crossbar settles between routings; the route is asked for three times.
  Sleep(100);
  for (int round = 0; round < 3; ++round) m_pCrossbar->SelectInput(entry);
  return TRUE;
}

// ---- Run control

BOOL CCaptureGraph::Run() {
  EnterCriticalSection(&m_lock);
  const BOOL result = m_pGraph && m_pGraph->Run();
  LeaveCriticalSection(&m_lock);
  return result;
}

BOOL CCaptureGraph::Stop() {
  EnterCriticalSection(&m_lock);
  const BOOL result = m_pGraph != nullptr;
  if (m_pGraph) {
    m_pGraph->Pause();
    Sleep(80);
    m_pGraph->Stop();
  }
  LeaveCriticalSection(&m_lock);
  return result;
}

BOOL CCaptureGraph::PauseGraph() {
  EnterCriticalSection(&m_lock);
  const BOOL result = m_pGraph != nullptr;
  if (m_pGraph) m_pGraph->Pause();
  LeaveCriticalSection(&m_lock);
  return result;
}

// ---- The video window

BOOL CCaptureGraph::AttachVideoWindow(HWND window) {
  EnterCriticalSection(&m_lock);
  const BOOL result = window && m_pGraph && m_pGraph->SetOwnerWindow(window);
  LeaveCriticalSection(&m_lock);
  return result;
}

BOOL CCaptureGraph::PlaceVideo(long left, long top, long width, long height) {
  EnterCriticalSection(&m_lock);
  const BOOL result = m_pGraph && m_pGraph->PlaceVideoWindow(m_hVideoWindow, left, top, width, height);
  LeaveCriticalSection(&m_lock);
  return result;
}

BOOL CCaptureGraph::SetVideoPosition(long left, long top, long width, long height) {
  EnterCriticalSection(&m_lock);
  const BOOL result = m_pGraph && m_pGraph->MoveAndShow(left, top, width, height);
  LeaveCriticalSection(&m_lock);
  return result;
}

BOOL CCaptureGraph::ResizeVideo() {
  EnterCriticalSection(&m_lock);
  const BOOL result = m_pGraph && m_pGraph->ResizeToOwner();
  LeaveCriticalSection(&m_lock);
  return result;
}

BOOL CCaptureGraph::ShowVideo(BOOL fullScreen) {
  return m_pGraph && m_hVideoWindow && m_pGraph->SetFullScreen(fullScreen, m_hVideoWindow);
}

BOOL CCaptureGraph::ParkVideo() { return m_pGraph && m_pGraph->ParkVideoWindow(); }

BOOL CCaptureGraph::NotifyOwnerMessage(HWND window, long message, LONG_PTR wParam, LONG_PTR lParam) {
  return m_pGraph && m_pGraph->NotifyOwnerMessage(window, message, wParam, lParam);
}

BOOL CCaptureGraph::SetNotifyWindow(HWND window) { return m_pGraph && m_pGraph->SetNotifyWindow(window); }

IMediaEventEx* CCaptureGraph::GetEventInterface() const { return m_pGraph ? m_pGraph->GetEventInterface() : nullptr; }

// ---- The picture controls

void CCaptureGraph::SetVideoProcAmp(int sharpness, int contrast, int brightness, int hue, int saturation) {
  if (!m_pCaptureFilter) return;
  // The interface asked for at every call is let go before it is asked for again.
  ReleaseProcAmp();
  if (FAILED(m_pCaptureFilter->QueryInterface(IID_IAMVideoProcAmp, reinterpret_cast<void**>(&m_pProcAmp)))) {
    m_pProcAmp = nullptr;
    return;
  }
  SetProcAmpProperty(contrast, VideoProcAmp_Contrast, 100);
  SetProcAmpProperty(hue, VideoProcAmp_Hue, 100);
  SetProcAmpProperty(sharpness, VideoProcAmp_Sharpness, 100);
  SetProcAmpProperty(brightness, VideoProcAmp_Brightness, 100);
  SetProcAmpProperty(saturation, VideoProcAmp_Saturation, 100);
}

void CCaptureGraph::SetProcAmpProperty(int value, long property, int scale) {
  EnterCriticalSection(&m_lock);
  long maximum = 0, minimum = 0, defaultValue = 0;
  if (m_pProcAmp && GetProcAmpRange(&maximum, &minimum, &defaultValue, property)) {
    // The value is a share of the whole range from its minimum, so 0 and 100 reach both
    // ends of any range; 50 is the device's own middle.
    const long mapped =
        value == 50 ? defaultValue : minimum + static_cast<long>(static_cast<double>(maximum - minimum) * 0.01 * value);
    m_pProcAmp->Set(property, mapped, VideoProcAmp_Flags_Manual);
  }
  LeaveCriticalSection(&m_lock);
}

BOOL CCaptureGraph::GetProcAmpRange(long* maximum, long* minimum, long* defaultValue, long property) {
  EnterCriticalSection(&m_lock);
  long low = 0, high = 0, step = 0, middle = 0, flags = 0;
  const BOOL result = m_pProcAmp && SUCCEEDED(m_pProcAmp->GetRange(property, &low, &high, &step, &middle, &flags));
  if (result) {
    *maximum = high;
    *minimum = low;
    *defaultValue = middle;
  }
  LeaveCriticalSection(&m_lock);
  return result;
}

HRESULT CCaptureGraph::GetProcAmpValue(long* value, long property) {
  if (!m_pProcAmp) return E_FAIL;
  long flags = 0;
  return m_pProcAmp->Get(property, value, &flags);
}

// ---- The capture format

IAMStreamConfig* CCaptureGraph::FindStreamConfig(const GUID* category) {
  if (!m_pBuilder || !m_pCaptureFilter) return nullptr;
  IAMStreamConfig* config = nullptr;
  for (const GUID* type : {&MEDIATYPE_Interleaved, &MEDIATYPE_Video}) {
    if (SUCCEEDED(m_pBuilder->FindInterface(category, type, m_pCaptureFilter, IID_IAMStreamConfig,
                                            reinterpret_cast<void**>(&config))) &&
        config) {
      config->Release();
      return config;
    }
  }
  return nullptr;
}

void CCaptureGraph::SetFrameRate(const GUID* category) {
  EnterCriticalSection(&m_lock);
  bool set = false;
  AM_MEDIA_TYPE* type = nullptr;
  if (IAMStreamConfig* config = FindStreamConfig(category); config && SUCCEEDED(config->GetFormat(&type)) && type) {
    set = true;
    if (type->formattype == FORMAT_VideoInfo && type->pbFormat && type->cbFormat >= sizeof(VIDEOINFOHEADER) &&
        m_frameRate > 0) {
      reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat)->AvgTimePerFrame =
          static_cast<REFERENCE_TIME>(10'000'000 / m_frameRate);
      set = SUCCEEDED(config->SetFormat(type));
    }
    DeleteMediaType(type);
  }
  LeaveCriticalSection(&m_lock);
  if (!set) AfxMessageBox("Cannot set frame rate for capture");
}

BOOL CCaptureGraph::GetCaptureSize(long* width, long* height, const GUID* category) {
  IAMStreamConfig* config = FindStreamConfig(category);
  AM_MEDIA_TYPE* type = nullptr;
  if (!config || FAILED(config->GetFormat(&type)) || !type) return FALSE;
  const BOOL result =
      type->majortype == MEDIATYPE_Video && type->cbFormat >= sizeof(VIDEOINFOHEADER) && type->pbFormat != nullptr;
  if (result) {
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
    *width = info->bmiHeader.biWidth;
    *height = info->bmiHeader.biHeight;
  }
  DeleteMediaType(type);
  return result;
}

IPin* CCaptureGraph::FindPinByCategory(const GUID* category) {
  IBaseFilter* device = VideoDeviceFilter();
  IPin* pin = nullptr;
  if (!m_pBuilder || !device || FAILED(m_pBuilder->FindPin(device, PINDIR_OUTPUT, category, nullptr, FALSE, 0, &pin)) ||
      !pin)
    return nullptr;
  pin->Release();
  return pin;
}

BOOL CCaptureGraph::ConnectPinsByIndex(IBaseFilter* destination, int destinationPin, IBaseFilter* source,
                                       int sourcePin) {
  IGraphBuilder* graph = Graph();
  if (!m_pBuilder || !graph || !destination || !source) return FALSE;
  IPin* input = nullptr;
  if (FAILED(m_pBuilder->FindPin(destination, PINDIR_INPUT, nullptr, nullptr, FALSE, destinationPin, &input)))
    return FALSE;
  IPin* output = nullptr;
  if (FAILED(m_pBuilder->FindPin(source, PINDIR_OUTPUT, nullptr, nullptr, FALSE, sourcePin, &output))) {
    input->Release();
    return FALSE;
  }
  const BOOL result = graph->Connect(output, input) == S_OK;
  output->Release();
  input->Release();
  return result;
}

// ---- Other

BOOL CCaptureGraph::ShowDevicePropertyPage() { return ShowFilterPropertyPages(VideoDeviceFilter()); }

BOOL CCaptureGraph::IsSignalLocked() {
  if (!m_pBuilder || !m_pCaptureFilter) return FALSE;
  IAMAnalogVideoDecoder* decoder = nullptr;
  for (const GUID* type : {&MEDIATYPE_Interleaved, &MEDIATYPE_Video}) {
    if (SUCCEEDED(m_pBuilder->FindInterface(&PIN_CATEGORY_CAPTURE, type, m_pCaptureFilter, IID_IAMAnalogVideoDecoder,
                                            reinterpret_cast<void**>(&decoder))) &&
        decoder)
      break;
    decoder = nullptr;
  }
  if (!decoder) return FALSE;
  long locked = 0;
  const BOOL result = SUCCEEDED(decoder->get_HorizontalLocked(&locked)) && locked;
  decoder->Release();
  return result;
}

BOOL CCaptureGraph::HasAudio() const { return m_pVideoDevice && m_pVideoDevice->HasAudioPin(); }

void CCaptureGraph::SetAudioLine(int index) {
  if (m_pAudioDevice && m_pAudioDevice->GetFilter()) m_pAudioDevice->EnableLine(index);
}

BOOL CCaptureGraph::HideOverlay() { return m_pOverlay && m_pOverlay->Hide(); }

BOOL CCaptureGraph::SetOverlayBitmap(LONG_PTR picture, int x, int y, LONG_PTR contentA, LONG_PTR contentB,
                                     double blend) {
  return m_pOverlay && m_pOverlay->ShowPicture(picture, x, y, 0, 255, contentA, contentB, blend);
}

BOOL CCaptureGraph::SetOverlayText(LPCSTR text, int x, int y, const LOGFONTA& font, DWORD colorA, DWORD colorB,
                                   double blend) {
  if (!m_pOverlay || !text) return FALSE;
  return m_pOverlay->ShowText(text, static_cast<int>(std::strlen(text)), x, y, font, colorA, colorB, blend);
}
