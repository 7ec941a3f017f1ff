#include "graphs/CRecordGraph.h"

#include "core/data/CAppSettings.h"
#include "graphs/CAudioRendererFilter.h"
#include "graphs/CAviDecompressorFilter.h"
#include "graphs/CDefaultVideoRendererFilter.h"
#include "graphs/CDeinterlacerFilter.h"
#include "graphs/CDeviceFilter.h"
#include "graphs/CFanoutTeeFilter.h"
#include "graphs/CMpegRecorderFilter.h"
#include "graphs/COverlayFilter.h"
#include "graphs/COverlayMixerFilter.h"
#include "graphs/CVideoDeviceFilter.h"
#include "graphs/CVideoInvertFilter.h"
#include "graphs/CVideoMixingRendererFilter.h"
#include "graphs/CVideoRendererFilter.h"
#include "graphs/DeviceUtilities.h"
#include "graphs/FilterUtilities.h"
#include "graphs/WindowsVersion.h"

#include <mfc/afxwin.h>
#include <vendor/language/Language.h>

#include <cstdlib>

namespace {

// The record format the controller gives when nothing is recorded to a file.
constexpr int kNoRecordFormat = 8;
constexpr REFERENCE_TIME kFramePal = 400000;   // 25 frames a second
constexpr REFERENCE_TIME kFrameNtsc = 333667;  // 29.97 frames a second

template <class T>
void DeleteHeld(T*& held) {
  delete held;
  held = nullptr;
}

// The Windows versions on which the sound comes from a separate audio device.
bool RecordsFromAudioDevice(int versionCode) {
  return versionCode == 2 || versionCode == 3 || versionCode == 10 || versionCode == 11;
}

}  // namespace

CRecordGraph::CRecordGraph()
    : m_recordQuality(0), m_recordFormat(0), m_pRecorder(nullptr), m_pVideoTee(nullptr), m_pAudioTee(nullptr) {}

CRecordGraph::~CRecordGraph() {
  // The base destructor would reach only the base's DeleteFilters and leave the recorder
  // and the tees behind; closing here reaches this graph's own.
  Close();
}

bool CRecordGraph::RecordFormatIsOff() { return g_pAppSettings && g_pAppSettings->RecordFormat == kNoRecordFormat; }

// ---- Recording

int CRecordGraph::GetRecordCounter() {
  if (RecordFormatIsOff() || !m_pRecorder) return 0;
  return m_pRecorder->GetEncoderValue();
}

void CRecordGraph::SetRecordFile(const CString& folder, int format, int quality) {
  m_recordFolder = folder;
  m_recordFormat = format;
  m_recordQuality = quality;
}

double CRecordGraph::GetRecordSizeKB(int seconds) {
  if (RecordFormatIsOff() || !m_pRecorder) return 0.0;
  return m_pRecorder->GetSizeForSeconds(seconds);
}

BOOL CRecordGraph::GetRecordFileName(CString& name) {
  name = m_recordFileName;
  return !m_recordFileName.IsEmpty();
}

BOOL CRecordGraph::ShowOverlay(LONG_PTR contentA, LONG_PTR contentB, int x, int y, const LOGFONTA& font) {
  return m_pOverlay && m_pOverlay->ShowGreenText(contentA, contentB, x, y, font);
}

// ---- The capture format

BOOL CRecordGraph::SetCaptureFormat(int width, int height) {
  IAMStreamConfig* config = FindStreamConfig(&PIN_CATEGORY_CAPTURE);
  AM_MEDIA_TYPE* type = nullptr;
  if (!config || FAILED(config->GetFormat(&type)) || !type) return FALSE;
  if (type->majortype != MEDIATYPE_Video || type->cbFormat < sizeof(VIDEOINFOHEADER) || !type->pbFormat) {
    DeleteMediaType(type);
    return FALSE;
  }
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
  info->AvgTimePerFrame = DetectInputStandard() == 0 ? kFrameNtsc : kFramePal;
  info->bmiHeader.biWidth = width;
  info->bmiHeader.biHeight = height;
  const DWORD rowBytes = (static_cast<DWORD>(width) * info->bmiHeader.biBitCount + 31) / 32 * 4;
  info->bmiHeader.biSizeImage = rowBytes * static_cast<DWORD>(std::abs(height));
  type->bFixedSizeSamples = FALSE;
  type->subtype = MEDIASUBTYPE_YUY2;
  type->formattype = FORMAT_VideoInfo;
  // A device that refuses the format keeps its own; the build goes on with that.
  config->SetFormat(type);
  DeleteMediaType(type);
  return TRUE;
}

// ---- Devices

BOOL CRecordGraph::CreateDeviceFilters() {
  return g_pAppSettings && OpenVideoDevice(g_pAppSettings->CaptureDeviceName, 0);
}

BOOL CRecordGraph::PrepareDevice() {
  if (HasAudio()) return TRUE;
  if (!RecordsFromAudioDevice(GetWindowsVersionCode())) return FALSE;
  if (!g_pAppSettings || g_pAppSettings->AudioDeviceNames.GetSize() == 0) return FALSE;
  return SelectAudioInput(g_pAppSettings->AudioDeviceName, 0);
}

BOOL CRecordGraph::SelectAudioLine() {
  if (g_pAppSettings && g_pAppSettings->CaptureAudioLineNames.GetSize() > 0 && m_pAudioDevice)
    SelectLineByName(g_pAppSettings->CaptureAudioLine);
  return TRUE;
}

// ---- Filters

BOOL CRecordGraph::BuildVideoChain() {
  const BOOL chain = CCaptureGraph::BuildVideoChain();
  DeleteHeld(m_pVideoTee);
  DeleteHeld(m_pAudioTee);
  if (!chain) return chain;
  m_pVideoTee = new CFanoutTeeFilter(Graph());
  if (!m_pVideoTee->AddToGraph()) {
    DeleteHeld(m_pVideoTee);
    return FALSE;
  }
  m_pAudioTee = new CFanoutTeeFilter(Graph());
  if (!m_pAudioTee->AddToGraph()) return FALSE;
  return AddRecorder();
}

BOOL CRecordGraph::AddRecorder() {
  DeleteHeld(m_pRecorder);
  m_pRecorder = new CMpegRecorderFilter(Graph());
  if (m_pRecorder->AddToGraph()) return TRUE;
  m_pRecorder->RemoveFromGraph();
  // Registered in process and so finished before the second try; a registration run as a
  // process of its own would still be going on when the recorder is asked for again.
  RegisterFilterModule("Filter\\qnmpeg2enc.ax");
  if (m_pRecorder->AddToGraph()) return TRUE;
  m_pRecorder->RemoveFromGraph();
  AfxMessageBox(GetMessageInfo(14));
  return FALSE;
}

void CRecordGraph::DeleteFilters() {
  DeleteHeld(m_pRecorder);
  DeleteHeld(m_pAudioTee);
  DeleteHeld(m_pVideoTee);
  CCaptureGraph::DeleteFilters();
}

// ---- Connections

BOOL CRecordGraph::ConnectGraph() {
  if (!m_pRecorder || !m_pVideoTee || !Graph()) return FALSE;
  if (!m_pRecorder->Configure(m_recordFolder, m_recordFormat, m_recordQuality, m_recordFileName)) return FALSE;
  IPin* capture = FindPinByCategory(&PIN_CATEGORY_CAPTURE);
  IPin* teeInput = m_pVideoTee->GetInputPin();
  if (!capture || !teeInput || FAILED(Graph()->Connect(capture, teeInput))) return FALSE;
  return ConnectVideoToRecorder() && ConnectAudio() && ConnectPicture();
}

HRESULT CRecordGraph::ConnectTeeOutput(CFanoutTeeFilter* tee, IPin* input) {
  IPin* output = tee->GetFreeOutputPin();
  if (!output || !input) {
    if (output) output->Release();
    return E_FAIL;
  }
  const HRESULT hr = Graph()->ConnectDirect(output, input, nullptr);
  output->Release();
  return hr;
}

BOOL CRecordGraph::ConnectVideoToRecorder() {
  return ConnectTeeOutput(m_pVideoTee, m_pRecorder->FindPin(TRUE, "InputVideo")) == S_OK;
}

BOOL CRecordGraph::ConnectAudio() {
  IPin* audioOut = HasAudio() && m_pVideoDevice ? m_pVideoDevice->GetAudioPin() : nullptr;
  if (audioOut && m_pAudioRenderer && m_pAudioTee) return ConnectDeviceAudio(audioOut);
  if (!m_pAudioDevice) return TRUE;
  if (!m_pAudioTee || !m_pRecorder) return FALSE;
  ConnectAudioDevice();
  return TRUE;
}

BOOL CRecordGraph::ConnectDeviceAudio(IPin* audioOut) {
  IPin* teeInput = m_pAudioTee->GetInputPin();
  if (!teeInput || Graph()->ConnectDirect(audioOut, teeInput, nullptr) != S_OK) return FALSE;
  if (ConnectTeeOutput(m_pAudioTee, m_pAudioRenderer->FindPin(TRUE, nullptr)) != S_OK) return FALSE;
  return ConnectTeeOutput(m_pAudioTee, m_pRecorder->FindPin(TRUE, "InputAudio")) == S_OK;
}

BOOL CRecordGraph::ConnectAudioDevice() {
  IPin* source = m_pAudioDevice->FindPin(FALSE, nullptr);
  IPin* teeInput = m_pAudioTee->GetInputPin();
  if (!source || !teeInput || Graph()->ConnectDirect(source, teeInput, nullptr) != S_OK) return FALSE;
  bool heard = m_pAudioRenderer && ConnectTeeOutput(m_pAudioTee, m_pAudioRenderer->FindPin(TRUE, nullptr)) == S_OK;
  if (!heard) {
    IPin* output = m_pAudioTee->GetFreeOutputPin();
    heard = output && Graph()->Render(output) == S_OK;
    if (output) output->Release();
  }
  if (!heard) return FALSE;
  // The sound is heard either way; a recording without it still has its picture.
  ConnectTeeOutput(m_pAudioTee, m_pRecorder->FindPin(TRUE, "InputAudio"));
  return TRUE;
}

// ---- The picture path

BOOL CRecordGraph::Link(CFilterWrapper* from, CFilterWrapper* to) {
  if (!from || !to) return TRUE;
  return ConnectPinsByIndex(to->GetFilter(), 0, from->GetFilter(), 0);
}

BOOL CRecordGraph::RenderFrom(CFilterWrapper* from) {
  IPin* output = from ? from->FindPin(FALSE, nullptr) : nullptr;
  return output && Graph()->Render(output) == S_OK;
}

void CRecordGraph::RemoveAfterInvert() { RemoveDownstream(Graph(), m_pInvert->GetFilter()); }

BOOL CRecordGraph::ConnectPicture() {
  if (!m_pDeinterlacer || !m_pInvert) return FALSE;
  IPin* chainInput = m_pDeinterlacer->FindPin(TRUE, nullptr);
  IPin* output = m_pVideoTee->GetFreeOutputPin();
  const bool joined = output && chainInput && SUCCEEDED(Graph()->Connect(output, chainInput));
  if (output) output->Release();
  if (!joined) return FALSE;
  if (!Link(m_pDeinterlacer, m_pOverlay)) {
    // The picture goes on without the overlay.
    return Link(m_pDeinterlacer, m_pInvert) && RenderFrom(m_pInvert);
  }
  if (!Link(m_pOverlay, m_pInvert)) return FALSE;
  return ConnectRenderer();
}

BOOL CRecordGraph::ConnectRenderer() {
  if (m_pDefaultRenderer) {
    if (Link(m_pInvert, m_pDefaultRenderer)) return TRUE;
    DeleteHeld(m_pDefaultRenderer);
    DeleteHeld(m_pMixingRenderer);
    return RenderFrom(m_pInvert);
  }
  if (m_pOverlayMixer && Link(m_pInvert, m_pOverlayMixer)) return ConnectThroughOverlayMixer();
  DeleteHeld(m_pOverlayMixer);
  return ConnectWithoutOverlayMixer();
}

BOOL CRecordGraph::ConnectThroughOverlayMixer() {
  DeleteHeld(m_pAviDecompressor);
  if (m_pVideoRenderer) {
    if (Link(m_pOverlayMixer, m_pVideoRenderer)) {
      DeleteHeld(m_pMixingRenderer);
      return TRUE;
    }
    RemoveAfterInvert();
    DeleteHeld(m_pVideoRenderer);
    DeleteHeld(m_pOverlayMixer);
    return RenderFrom(m_pInvert);
  }
  if (m_pMixingRenderer) {
    DeleteHeld(m_pOverlayMixer);
    RemoveAfterInvert();
    if (Link(m_pInvert, m_pMixingRenderer)) return TRUE;
    RemoveAfterInvert();
    DeleteHeld(m_pMixingRenderer);
    return RenderFrom(m_pInvert);
  }
  RemoveDownstream(Graph(), m_pOverlayMixer->GetFilter());
  return RenderFrom(m_pOverlayMixer);
}

BOOL CRecordGraph::ConnectWithoutOverlayMixer() {
  if (m_pAviDecompressor) {
    RemoveAfterInvert();
    if (Link(m_pInvert, m_pAviDecompressor) && m_pVideoRenderer && Link(m_pAviDecompressor, m_pVideoRenderer)) {
      DeleteHeld(m_pMixingRenderer);
      return TRUE;
    }
    RemoveAfterInvert();
    DeleteHeld(m_pAviDecompressor);
    DeleteHeld(m_pVideoRenderer);
  } else {
    DeleteHeld(m_pVideoRenderer);
  }
  if (m_pMixingRenderer) {
    if (Link(m_pInvert, m_pMixingRenderer)) return TRUE;
    RemoveAfterInvert();
  }
  DeleteHeld(m_pMixingRenderer);
  return RenderFrom(m_pInvert);
}
