#include "CMpegEncoder.h"

#include <win32/codepage.h>

namespace {

// {5083B9E8-713F-40AA-B5F3-2AD35D3D7498}
DEFINE_GUID(CLSID_MpegEncoderFilter, 0x5083B9E8, 0x713F, 0x40AA, 0xB5, 0xF3, 0x2A, 0xD3, 0x5D, 0x3D, 0x74, 0x98);
// {C291943E-8A3F-468E-AADD-66FE34C5EB8A}
DEFINE_GUID(IID_EncoderVideoSettings, 0xC291943E, 0x8A3F, 0x468E, 0xAA, 0xDD, 0x66, 0xFE, 0x34, 0xC5, 0xEB, 0x8A);
// {A07A54EA-29F5-4A54-9BA9-C0F501959C33}
DEFINE_GUID(IID_EncoderSecondSettings, 0xA07A54EA, 0x29F5, 0x4A54, 0x9B, 0xA9, 0xC0, 0xF5, 0x01, 0x95, 0x9C, 0x33);
// {EED418E0-FBF0-40E4-9AE4-773388B82A89}
DEFINE_GUID(IID_EncoderStreamSettings, 0xEED418E0, 0xFBF0, 0x40E4, 0x9A, 0xE4, 0x77, 0x33, 0x88, 0xB8, 0x2A, 0x89);

using OneValue = HRESULT(STDMETHODCALLTYPE*)(IUnknown* self, LONG value);
using TwoValues = HRESULT(STDMETHODCALLTYPE*)(IUnknown* self, LONG first, LONG second);

// The method at `slot` of the interface's table (IUnknown's three are slots 0 to 2).
template <class Method>
Method Slot(IUnknown* itf, int slot) {
  return reinterpret_cast<Method>((*reinterpret_cast<void***>(itf))[slot]);
}

HRESULT Call(IUnknown* itf, int slot, LONG value) { return Slot<OneValue>(itf, slot)(itf, value); }

HRESULT Call(IUnknown* itf, int slot, LONG first, LONG second) { return Slot<TwoValues>(itf, slot)(itf, first, second); }

template <class T>
void Release(T*& itf) {
  if (itf) itf->Release();
  itf = nullptr;
}

IPin* FindPin(IBaseFilter* filter, const wchar_t* name) {
  IPin* pin = nullptr;
  return SUCCEEDED(filter->FindPin(name, &pin)) ? pin : nullptr;
}

}  // namespace

CMpegEncoder::CMpegEncoder() {
  if (FAILED(CoCreateInstance(CLSID_MpegEncoderFilter, NULL, CLSCTX_INPROC, IID_IBaseFilter,
                              reinterpret_cast<void**>(&m_filter))))
    return;
  if (FAILED(m_filter->QueryInterface(IID_EncoderVideoSettings, reinterpret_cast<void**>(&m_videoSettings)))) return;
  if (FAILED(m_filter->QueryInterface(IID_EncoderSecondSettings, reinterpret_cast<void**>(&m_secondSettings)))) return;
  if (FAILED(m_filter->QueryInterface(IID_EncoderStreamSettings, reinterpret_cast<void**>(&m_streamSettings)))) return;
  m_filter->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&m_sink));
}

CMpegEncoder::~CMpegEncoder() {
  Release(m_sink);
  Release(m_streamSettings);
  Release(m_secondSettings);
  Release(m_videoSettings);
  Release(m_filter);
}

BOOL CMpegEncoder::SetOutputFile(const char* name) {
  if (!m_sink || !name) return FALSE;
  WCHAR wide[MAX_PATH + 8] = {};
  if (MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH + 8) == 0) return FALSE;
  return SUCCEEDED(m_sink->SetFileName(wide, NULL));
}

BOOL CMpegEncoder::ApplyPreset(int type, int kind) {
  m_settings = EncoderSettings{};
  if (!m_videoSettings) return FALSE;
  m_settings = EncoderSettings::Preset(type, kind);
  return TRUE;
}

BOOL CMpegEncoder::ApplySettings() {
  if (!m_videoSettings) return FALSE;
  IUnknown* video = m_videoSettings;
  if (FAILED(Call(video, 3, m_settings.formatCode)) || FAILED(Call(video, 5, m_settings.bitRateKbit * 1000)) ||
      FAILED(Call(video, 8, m_settings.frameRateCode)) || FAILED(Call(video, 12, m_settings.reserved)))
    return FALSE;
  // The VCD, SVCD and DVD formats have a size of their own.
  switch (m_settings.formatCode) {
    case 3: case 4: case 7: case 8: case 9: case 10: Call(video, 54, 0, 0); break;
    default: Call(video, 54, m_settings.width, m_settings.height); break;
  }
  Call(video, 10, m_settings.streamParameter);
  Call(video, 13, m_settings.flag);
  Call(video, 19, !m_settings.flag);
  if (!m_streamSettings) return FALSE;
  Call(m_streamSettings, 3, 1);
  Call(m_streamSettings, 13, m_settings.streamValue1);
  Call(m_streamSettings, 11, m_settings.streamValue2);
  return TRUE;
}

BOOL CMpegEncoder::ConnectToGraph(IGraphBuilder* graph, IPin* videoPin, IPin* audioPin) {
  if (!m_filter || !graph || (!videoPin && !audioPin)) return FALSE;
  if (FAILED(graph->AddFilter(m_filter, L"qnmpeg12 encoder"))) return FALSE;
  IPin* inputVideo = FindPin(m_filter, L"InputVideo");
  IPin* inputAudio = FindPin(m_filter, L"InputAudio");
  BOOL connected = inputVideo && inputAudio;
  if (connected && videoPin) connected = SUCCEEDED(graph->Connect(videoPin, inputVideo));
  if (connected && audioPin) connected = SUCCEEDED(graph->Connect(audioPin, inputAudio));
  Release(inputVideo);
  Release(inputAudio);
  return connected;
}
