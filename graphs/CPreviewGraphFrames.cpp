// The preview graph's capture format, the standard of each input, the input switch, the
// restarts at a new size and the grabbed frames.
#include "graphs/CPreviewGraph.h"

#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "core/data/TunerProgramming.h"
#include "graphs/CDefaultVideoRendererFilter.h"
#include "graphs/COverlayFilter.h"
#include "graphs/CSnapshotGrabber.h"
#include "graphs/CVideoDeviceFilter.h"
#include "graphs/FilterUtilities.h"

#include <win32/gdi.h>
#include <win32/time.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr int kFrameWidth = 720;
constexpr int kLines625 = 576;
constexpr int kLines525 = 480;
constexpr int kFamily625 = 3;
constexpr int kFamily525 = 4;
// Frame intervals in 100 ns: 29.97 and 25 frames a second.
constexpr REFERENCE_TIME kNtscInterval = 333667;
constexpr REFERENCE_TIME kPalInterval = 400000;
// The "Composite" value of the settings' video input, and its NTSC 4.43 standard.
constexpr int kCompositeInput = 3;
constexpr int kNtsc443 = 1;

bool IsFamily(int lineStandard) { return lineStandard == kFamily625 || lineStandard == kFamily525; }
bool Is525LineStandard(int avStandard) { return avStandard == 0 || avStandard == 1; }
bool IsVista(int version) { return version == 11 || version == 10; }

// Bytes of one bottom-up 24-bit DIB row, padded to whole 32-bit words.
long DibStride(long width) { return (width * 24 + 31) / 32 * 4; }

}  // namespace

// ---- The capture format

BOOL CPreviewGraph::SetCaptureFormat(int width, int height) {
  IAMStreamConfig* config = FindStreamConfig(&PIN_CATEGORY_PREVIEW);
  if (!config) config = FindStreamConfig(&PIN_CATEGORY_CAPTURE);
  if (!config) return FALSE;
  const REFERENCE_TIME interval = DetectInputStandard() == 0 ? kNtscInterval : kPalInterval;
  AM_MEDIA_TYPE* type = nullptr;
  if (FAILED(config->GetFormat(&type)) || !type) return FALSE;
  if (type->majortype != MEDIATYPE_Video || type->cbFormat < sizeof(VIDEOINFOHEADER) || !type->pbFormat) {
    DeleteMediaType(type);
    return FALSE;
  }
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
  info->AvgTimePerFrame = interval;
  info->bmiHeader.biWidth = width;
  info->bmiHeader.biHeight = height;
  const long rowBytes = (width * info->bmiHeader.biBitCount + 31) / 8 / 4 * 4;
  info->bmiHeader.biSizeImage = static_cast<DWORD>(rowBytes * std::abs(height));
  type->subtype = MEDIASUBTYPE_YUY2;
  type->formattype = FORMAT_VideoInfo;
  type->bFixedSizeSamples = FALSE;
  type->cbFormat = sizeof(VIDEOINFOHEADER);
  // A format the device refuses leaves it with its own; the caller is not told.
  config->SetFormat(type);
  DeleteMediaType(type);
  return TRUE;
}

// ---- Standards

void CPreviewGraph::ApplyPictureFromSettings() {
  if (const CAppSettings* settings = g_pAppSettings)
    SetVideoProcAmp(settings->Sharpness, settings->Contrast, settings->Brightness, settings->Hue,
                    settings->Saturation);
}

BOOL CPreviewGraph::DetectStandard(int kind) {
  if (!m_pBuilder) return FALSE;
  HideOverlay();
  SelectCrossbarInput(kind);
  CAppSettings* settings = g_pAppSettings;
  if (!settings) return FALSE;
  const int remembered = settings->LineStandard;
  // A line standard outside both families keeps the size the picture has.
  int height = remembered == kFamily525 ? kLines525 : kLines625;
  if (kind == 0) {
    char standard[10] = {};
    if (g_pChannelList) GetCountryStandardName(settings->CountryCode, standard, sizeof standard);
    settings->LineStandard = GetCountryStandardCode(settings->CountryCode);
    if (standard[0] && std::strstr(standard, "NTSC")) SetVideoStandard(standard);
    if (settings->LineStandard == kFamily525) height = kLines525;
    if (settings->LineStandard == kFamily625) height = kLines625;
  } else {
    ApplyDetectedAvStandard();
    const int av = settings->AvInputStandard;
    if (IsFamily(settings->LineStandard) && Is525LineStandard(av)) {
      settings->LineStandard = kFamily525;
      height = kLines525;
    } else if (IsFamily(settings->LineStandard) && (av == 2 || av == 3)) {
      settings->LineStandard = kFamily625;
      height = kLines625;
    }
  }
  if (settings->LineStandard == remembered) {
    ApplyPictureFromSettings();
    return TRUE;
  }
  return SetSize(kFrameWidth, height);
}

BOOL CPreviewGraph::ApplyStandardFromSettings(int) {
  CAppSettings* settings = g_pAppSettings;
  if (!settings) return FALSE;
  SetAvInputStandard(settings->AvInputStandard);
  if (Is525LineStandard(settings->AvInputStandard)) {
    if (settings->LineStandard == kFamily625) settings->LineStandard = kFamily525;
    return SetSize(kFrameWidth, kLines525);
  }
  if (settings->LineStandard == kFamily525) settings->LineStandard = kFamily625;
  return SetSize(kFrameWidth, kLines625);
}

BOOL CPreviewGraph::ChangeInput(int kind, int width, int height) {
  if (!m_pBuilder || !m_pVideoDevice) return FALSE;
  if (m_pOverlay) m_pOverlay->Hide();
  SelectCrossbarInput(kind);
  if (IsVista(GetWindowsVersionCode()))
    RebuildAtSize(width, height);
  else
    Run();
  return TRUE;
}

// ---- Sizes and restarts

BOOL CPreviewGraph::SetSize(int width, int height) {
  // NTSC 4.43 on Composite has 525 lines whatever size is asked for.
  const CAppSettings* settings = g_pAppSettings;
  if (settings && settings->VideoInput == kCompositeInput && settings->AvInputStandard == kNtsc443 &&
      height == kLines625)
    height = kLines525;
  return Reconnect(width, height, false);
}

BOOL CPreviewGraph::RebuildAtSize(int width, int height) { return Reconnect(width, height, true); }

BOOL CPreviewGraph::Reconnect(int width, int height, bool refreshDefaultRenderer) {
  Stop();
  if (IGraphBuilder* graph = Graph(); graph && VideoDeviceFilter()) DisconnectDownstream(graph, VideoDeviceFilter());
  if (refreshDefaultRenderer && m_pDefaultRenderer) {
    m_pDefaultRenderer->RemoveFromGraph();
    m_pDefaultRenderer->AddToGraph();
  }
  const BOOL formatSet = SetCaptureFormat(width, height);
  ApplyPictureFromSettings();
  if (!formatSet || !ConnectGraph()) return FALSE;
  AttachVideoWindow(m_hVideoWindow);
  return Run();
}

BOOL CPreviewGraph::RestartAtSize() {
  Stop();
  IGraphBuilder* graph = Graph();
  IBaseFilter* device = VideoDeviceFilter();
  if (graph && device) RemoveDownstream(graph, device);
  if (!SetCaptureFormat(320, 240)) return FALSE;
  CreateDefaultRenderer();
  IBaseFilter* renderer = m_pDefaultRenderer ? m_pDefaultRenderer->GetFilter() : nullptr;
  if (!m_pBuilder || !renderer ||
      m_pBuilder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, device, nullptr, renderer) != S_OK)
    return FALSE;
  AttachVideoWindow(m_hVideoWindow);
  Run();
  return TRUE;
}

// ---- Grabbed frames

BYTE* CPreviewGraph::TakeSnapshot() { return m_pGrabber ? m_pGrabber->GrabFrame().release() : nullptr; }

BOOL CPreviewGraph::GetGrabbedFrameSize() {
  long width = 0;
  long height = 0;
  if (!m_pGrabber || !m_pGrabber->GetFrameWidth(&width) || !m_pGrabber->GetFrameHeight(&height)) return FALSE;
  m_frameWidth = static_cast<int>(width);
  m_frameHeight = static_cast<int>(height);
  return TRUE;
}

HBITMAP CPreviewGraph::GetGrabbedFrameDib() {
  if (!m_pGrabber || !GetGrabbedFrameSize()) return nullptr;
  long width = 0;
  long height = 0;
  const std::unique_ptr<BYTE[]> rgb = m_pGrabber->GrabFrame(&width, &height);
  // A picture of another size than the one asked for cannot fill the section.
  if (!rgb || width != m_frameWidth || height != m_frameHeight) return nullptr;
  const long stride = DibStride(width);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(stride * height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  // The grabbed rows are 3 x width bytes without padding; the section's are word aligned.
  const long rowBytes = width * 3;
  for (long row = 0; row < height; ++row)
    std::memcpy(static_cast<BYTE*>(bits) + row * stride, rgb.get() + row * rowBytes, static_cast<size_t>(rowBytes));
  return bitmap;
}

BOOL CPreviewGraph::SaveSnapshot(LPCSTR folder, int extra) {
  return m_pGrabber && m_pGrabber->SaveSnapshot(folder, extra);
}
