#include "graphs/CVideoDeviceFilter.h"

#include "graphs/DeviceUtilities.h"

#include <win32/codepage.h>

#include <cstring>

CVideoDeviceFilter::CVideoDeviceFilter(IGraphBuilder* graph, LPCSTR deviceName, LPCSTR graphName)
    : m_pAudioPin(nullptr), m_bHasAudioPin(FALSE) {
  SetGraph(graph);
  std::strncpy(m_szDeviceName, deviceName ? deviceName : "", sizeof m_szDeviceName - 1);
  m_szDeviceName[sizeof m_szDeviceName - 1] = '\0';
  m_wszName[0] = L'\0';
  if (graphName) MultiByteToWideChar(CP_ACP, 0, graphName, -1, m_wszName, 255);
  m_wszName[255] = L'\0';
}

CVideoDeviceFilter::~CVideoDeviceFilter() {
  RemoveFromGraph();
  if (m_pAudioPin) m_pAudioPin->Release();
}

BOOL CVideoDeviceFilter::Open(int) {
  if (m_pFilter) return TRUE;
  if (!m_pGraph) return FALSE;
  if (!FindVideoCaptureDevice(m_szDeviceName, &m_pFilter) || FAILED(m_pGraph->AddFilter(m_pFilter, m_wszName))) {
    RemoveFromGraph();
    return FALSE;
  }
  // A pin kept from a device opened before belongs to a filter that is gone.
  if (m_pAudioPin) m_pAudioPin->Release();
  m_pAudioPin = FindPin(FALSE, "AudioOut");
  m_bHasAudioPin = m_pAudioPin ? TRUE : FALSE;
  // FindPin hands out no reference; the wrapper keeps one of its own.
  if (m_pAudioPin) m_pAudioPin->AddRef();
  return TRUE;
}
