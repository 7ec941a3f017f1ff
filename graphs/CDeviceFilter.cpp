#include "graphs/CDeviceFilter.h"

#include "graphs/DeviceUtilities.h"

#include <win32/codepage.h>

#include <cstddef>
#include <cstring>

CDeviceFilter::CDeviceFilter(IGraphBuilder* graph, LPCSTR deviceName, LPCSTR graphName) {
  SetGraph(graph);
  std::strncpy(m_szDeviceName, deviceName ? deviceName : "", sizeof m_szDeviceName - 1);
  m_szDeviceName[sizeof m_szDeviceName - 1] = '\0';
  m_wszName[0] = L'\0';
  if (graphName) MultiByteToWideChar(CP_ACP, 0, graphName, -1, m_wszName, 255);
  m_wszName[255] = L'\0';
}

CDeviceFilter::~CDeviceFilter() { RemoveFromGraph(); }

BOOL CDeviceFilter::Open(int index) {
  if (m_pFilter) return TRUE;
  if (!m_pGraph) return FALSE;
  if (!FindAudioCaptureDevice(m_szDeviceName, &m_pFilter, index) || FAILED(m_pGraph->AddFilter(m_pFilter, m_wszName))) {
    RemoveFromGraph();
    return FALSE;
  }
  FillPinList();
  if (IPin* capture = FindPin(FALSE, nullptr)) SetAudioFormat(capture);
  return TRUE;
}

void CDeviceFilter::FillPinList() {
  m_pins.clear();
  IEnumPins* pins = nullptr;
  if (FAILED(m_pFilter->EnumPins(&pins))) return;
  IPin* pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_INFO info{};
    if (SUCCEEDED(pin->QueryPinInfo(&info))) {
      if (info.dir == PINDIR_INPUT) {
        char name[128] = {};
        WideCharToMultiByte(CP_ACP, 0, info.achName, -1, name, sizeof name - 1, nullptr, nullptr);
        m_pins.push_back({name, pin});
      }
      if (info.pFilter) info.pFilter->Release();
    }
    pin->Release();
  }
  pins->Release();
}

LPCSTR CDeviceFilter::GetPinName(int index) const {
  if (index < 0 || index >= GetPinCount()) return "";
  return m_pins[index].name.c_str();
}

void CDeviceFilter::EnableLine(int index) {
  // The list's pins live only as long as the filter they came from.
  if (!m_pFilter || index < 0 || index >= GetPinCount()) return;
  IAMAudioInputMixer* mixer = nullptr;
  if (FAILED(m_pins[index].pin->QueryInterface(IID_IAMAudioInputMixer, reinterpret_cast<void**>(&mixer)))) return;
  mixer->put_Enable(TRUE);
  mixer->put_MixLevel(AMF_AUTOMATICGAIN);
  mixer->Release();
}

void CDeviceFilter::SetAudioFormat(IPin* capture) {
  IAMStreamConfig* config = nullptr;
  if (FAILED(capture->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config)))) return;
  AM_MEDIA_TYPE* type = nullptr;
  if (SUCCEEDED(config->GetFormat(&type)) && type) {
    // Only a wave format block has the fields set here (cbSize is not touched).
    if (type->formattype == FORMAT_WaveFormatEx && type->pbFormat &&
        type->cbFormat >= offsetof(WAVEFORMATEX, cbSize)) {
      auto* wave = reinterpret_cast<WAVEFORMATEX*>(type->pbFormat);
      wave->wFormatTag = WAVE_FORMAT_PCM;
      wave->nChannels = 2;
      wave->wBitsPerSample = 16;
      wave->nBlockAlign = 4;
      // A mono or 8-bit default would otherwise leave a byte rate that no longer fits.
      wave->nAvgBytesPerSec = wave->nSamplesPerSec * wave->nBlockAlign;
      config->SetFormat(type);
      IAMBufferNegotiation* buffers = nullptr;
      if (SUCCEEDED(capture->QueryInterface(IID_IAMBufferNegotiation, reinterpret_cast<void**>(&buffers)))) {
        const ALLOCATOR_PROPERTIES props = {6, static_cast<long>(wave->nAvgBytesPerSec * 80 / 1000), 4, -1};
        buffers->SuggestAllocatorProperties(&props);
        buffers->Release();
      }
    }
    DeleteMediaType(type);
  }
  config->Release();
}
