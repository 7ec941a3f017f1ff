// The preview graph's devices, its video chain and the connection of its video and sound
// paths. The capture format, the standards, the restarts and the grabbed frames are in
// CPreviewGraphFrames.cpp.
#include "graphs/CPreviewGraph.h"

#include "core/data/CAppSettings.h"
#include "graphs/CAudioRendererFilter.h"
#include "graphs/CAviDecompressorFilter.h"
#include "graphs/CDefaultVideoRendererFilter.h"
#include "graphs/CDeinterlacerFilter.h"
#include "graphs/CDeviceFilter.h"
#include "graphs/COverlayFilter.h"
#include "graphs/COverlayMixerFilter.h"
#include "graphs/CSnapshotGrabber.h"
#include "graphs/CVideoDeviceFilter.h"
#include "graphs/CVideoInvertFilter.h"
#include "graphs/CVideoMixingRendererFilter.h"
#include "graphs/CVideoRendererFilter.h"
#include "graphs/DeviceUtilities.h"
#include "graphs/FilterUtilities.h"

#include <mfc/afxwin.h>
#include <vendor/language/Language.h>
#include <win32/module.h>

#include <cstring>
#include <new>

namespace {

template <class T>
void DeleteHeld(T*& held) {
  delete held;
  held = nullptr;
}

// The image grabber's module in the program's own folder.
CString GrabberModulePath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  if (char* slash = std::strrchr(path, '\\'))
    slash[1] = '\0';
  else
    path[0] = '\0';
  return CString(path) + "Filter\\QXM_ImageGrabber.ax";
}

// The versions on which the sound comes from a sound card input: XP, Server 2003, Vista.
bool UsesSoundCardInput(int version) { return version == 2 || version == 3 || version == 11 || version == 10; }

}  // namespace

CPreviewGraph::CPreviewGraph() : m_frameHeight(0), m_frameWidth(0), m_pGrabber(nullptr) {}

CPreviewGraph::~CPreviewGraph() {
  // Closed here, while the preview's own DeleteFilters is still the one called: the graph
  // stops before its filters are taken out, and the grabber goes with the graph.
  Close();
}

BOOL CPreviewGraph::StopWork() { return m_pGraph && m_pVideoDevice ? Stop() : FALSE; }

void CPreviewGraph::DeleteFilters() {
  DeleteHeld(m_pGrabber);
  DeleteHeld(m_pVideoRenderer);
  CCaptureGraph::DeleteFilters();
}

// ---- Devices

BOOL CPreviewGraph::CreateDeviceFilters() {
  const char* name = g_pAppSettings ? g_pAppSettings->CaptureDeviceName : "";
  return OpenVideoDevice(name, 0) || OpenDefaultVideoDevice(0);
}

BOOL CPreviewGraph::PrepareDevice() {
  CAppSettings* settings = g_pAppSettings;
  // A stick that delivers its own sound needs no sound card input.
  if (m_pVideoDevice && m_pVideoDevice->HasAudioPin()) {
    if (settings) settings->AudioDeviceName[0] = '\0';
    return TRUE;
  }
  if (!settings || !UsesSoundCardInput(GetWindowsVersionCode())) return FALSE;
  const int matchFlag = IsVistaProductName() ? 0 : 1;
  return SelectAudioInput(settings->AudioDeviceName, matchFlag) || SelectDefaultAudioInput();
}

BOOL CPreviewGraph::SelectAudioLine() {
  CAppSettings* settings = g_pAppSettings;
  if (!settings) return FALSE;
  if (settings->AudioDeviceNames.GetSize() == 0) {
    AfxMessageBox(GetMessageInfo(15));
    return FALSE;
  }
  if (m_pAudioDevice) {
    FillCaptureLineNames(m_pAudioDevice);
    SelectLineByName(settings->CaptureAudioLine);
  }
  return TRUE;
}

// ---- The video chain

BOOL CPreviewGraph::BuildVideoChain() {
  DeleteHeld(m_pGrabber);
  if (!CCaptureGraph::BuildVideoChain()) return FALSE;
  m_pGrabber = new (std::nothrow) CSnapshotGrabber(Graph());
  return m_pGrabber && AddGrabber();
}

BOOL CPreviewGraph::AddGrabber() {
  if (m_pGrabber->AddToGraph()) return TRUE;
  RegisterFilterModule(GrabberModulePath());
  if (m_pGrabber->AddToGraph()) return TRUE;
  AfxMessageBox(GetMessageInfo(14));
  return FALSE;
}

BOOL CPreviewGraph::ReAddVideoChain() {
  const BOOL result = CCaptureGraph::ReAddVideoChain();
  return m_pGrabber ? m_pGrabber->AddToGraph() : result;
}

// ---- Connections

BOOL CPreviewGraph::Link(CFilterWrapper* from, CFilterWrapper* to, BOOL previous) {
  if (!from || !to) return previous;
  return ConnectPinsByIndex(to->GetFilter(), 0, from->GetFilter(), 0);
}

void CPreviewGraph::RemoveDownstreamOf(CFilterWrapper* wrapper) {
  IGraphBuilder* graph = Graph();
  if (graph && wrapper && wrapper->GetFilter()) RemoveDownstream(graph, wrapper->GetFilter());
}

BOOL CPreviewGraph::ConnectGraph() {
  ConnectAudio(FALSE);
  if (!m_pDeinterlacer) return FALSE;
  IGraphBuilder* graph = Graph();
  IPin* devicePin = FindStreamConfig(&PIN_CATEGORY_PREVIEW) ? FindPinByCategory(&PIN_CATEGORY_PREVIEW)
                                                            : FindPinByCategory(&PIN_CATEGORY_CAPTURE);
  IPin* deinterlacerPin = m_pDeinterlacer->FindPin(TRUE, nullptr);
  if (!graph || !devicePin || !deinterlacerPin) return FALSE;
  if (graph->ConnectDirect(devicePin, deinterlacerPin, nullptr) != S_OK) return FALSE;
  if (!Link(m_pDeinterlacer, m_pGrabber, TRUE)) return FALSE;
  if (!Link(m_pGrabber, m_pOverlay, TRUE)) {
    // An overlay that refuses the picture is left out; the picture still goes on.
    if (!m_pInvert || !Link(m_pGrabber, m_pInvert, TRUE)) return FALSE;
    return RenderFromInvert();
  }
  if (!Link(m_pOverlay, m_pInvert, TRUE)) return FALSE;
  return ConnectRenderer();
}

BOOL CPreviewGraph::ConnectRenderer() {
  if (m_pDefaultRenderer) {
    if (Link(m_pInvert, m_pDefaultRenderer, TRUE)) return TRUE;
    DeleteHeld(m_pDefaultRenderer);
    DeleteHeld(m_pMixingRenderer);
    return RenderFromInvert();
  }
  if (m_pOverlayMixer && Link(m_pInvert, m_pOverlayMixer, TRUE)) return ConnectThroughOverlayMixer();
  return ConnectWithoutOverlayMixer();
}

BOOL CPreviewGraph::ConnectThroughOverlayMixer() {
  DeleteHeld(m_pAviDecompressor);
  if (m_pVideoRenderer) {
    if (Link(m_pOverlayMixer, m_pVideoRenderer, TRUE)) {
      DeleteHeld(m_pMixingRenderer);
      return TRUE;
    }
    RemoveDownstreamOf(m_pInvert);
    DeleteHeld(m_pVideoRenderer);
    DeleteHeld(m_pOverlayMixer);
    return RenderFromInvert();
  }
  if (m_pMixingRenderer) {
    DeleteHeld(m_pOverlayMixer);
    RemoveDownstreamOf(m_pInvert);
    if (Link(m_pInvert, m_pMixingRenderer, TRUE)) return TRUE;
    RemoveDownstreamOf(m_pInvert);
    DeleteHeld(m_pMixingRenderer);
    return RenderFromInvert();
  }
  RemoveDownstreamOf(m_pOverlayMixer);
  IPin* output = m_pOverlayMixer->FindPin(FALSE, nullptr);
  return output && Graph()->Render(output) == S_OK;
}

BOOL CPreviewGraph::ConnectWithoutOverlayMixer() {
  DeleteHeld(m_pOverlayMixer);
  if (m_pAviDecompressor) {
    RemoveDownstreamOf(m_pInvert);
    if (Link(m_pInvert, m_pAviDecompressor, TRUE) && m_pVideoRenderer &&
        Link(m_pAviDecompressor, m_pVideoRenderer, TRUE)) {
      DeleteHeld(m_pMixingRenderer);
      return TRUE;
    }
    RemoveDownstreamOf(m_pInvert);
    DeleteHeld(m_pAviDecompressor);
    DeleteHeld(m_pVideoRenderer);
  } else {
    DeleteHeld(m_pVideoRenderer);
  }
  if (m_pMixingRenderer) {
    if (Link(m_pInvert, m_pMixingRenderer, TRUE)) return TRUE;
    RemoveDownstreamOf(m_pInvert);
  }
  DeleteHeld(m_pMixingRenderer);
  return RenderFromInvert();
}

BOOL CPreviewGraph::RenderFromInvert() {
  IGraphBuilder* graph = Graph();
  IPin* output = m_pInvert ? m_pInvert->FindPin(FALSE, nullptr) : nullptr;
  return graph && output && graph->Render(output) == S_OK;
}

BOOL CPreviewGraph::ConnectAudio(BOOL skipCheck) {
  IGraphBuilder* graph = Graph();
  if (!graph) return FALSE;
  if (IPin* audioOut = m_pVideoDevice ? m_pVideoDevice->GetAudioPin() : nullptr) {
    IPin* peer = nullptr;
    if (audioOut->ConnectedTo(&peer) == S_OK) {
      peer->Release();
      return TRUE;
    }
    if (!m_pAudioRenderer) return FALSE;
    IPin* rendererPin = m_pAudioRenderer->FindPin(TRUE, nullptr);
    const HRESULT hr = rendererPin ? graph->ConnectDirect(audioOut, rendererPin, nullptr) : graph->Render(audioOut);
    return hr == S_OK;
  }
  if (!m_pAudioDevice || !m_pAudioRenderer) return FALSE;
  if (!skipCheck) {
    // A device whose outputs are all connected already plays its sound.
    IPin* unconnected = nullptr;
    if (FAILED(m_pAudioDevice->GetUnconnectedPin(PINDIR_OUTPUT, &unconnected)) || !unconnected) return TRUE;
    unconnected->Release();
  }
  IPin* output = m_pAudioDevice->FindPin(FALSE, nullptr);
  IPin* input = m_pAudioRenderer->FindPin(TRUE, nullptr);
  if (!output) return FALSE;
  const HRESULT hr = input ? graph->ConnectDirect(output, input, nullptr) : graph->Render(output);
  return hr == S_OK;
}

BOOL CPreviewGraph::ReattachVideoWindow() {
  if (m_pOverlay) {
    m_pOverlay->Hide();
    AttachVideoWindow(m_hVideoWindow);
  }
  return FALSE;
}
