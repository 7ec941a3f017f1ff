#include "CCaptureGraphObject.h"

#include <com/objbase.h>
#include <dshow/errors.h>
#include <win32/codepage.h>
#include <win32/user.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kTextLimit = 260;
constexpr int kCapsSize = 128;
constexpr long kVideoWindowStyle = 0x44000000;  // WS_CHILD | WS_CLIPSIBLINGS

struct CardEntry {
  int kind;
  const char* text;
};
constexpr CardEntry kCards[] = {{1, "VEN_1131&DEV_7130"},
                                {1, "Talvik TV Sorrel WDM Video Capture"},
                                {2, "VEN_1797&DEV_6800"},
                                {2, "Talvik TV Capture"}};

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

// A wide text as ANSI, at most 260 bytes.
std::string narrow(const wchar_t* text) {
  char buffer[kTextLimit] = {};
  if (text) WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
  return buffer;
}

// Frees an AM_MEDIA_TYPE the pin handed out.
struct MediaTypeGuard {
  AM_MEDIA_TYPE* type = nullptr;
  ~MediaTypeGuard() {
    if (type) DeleteMediaType(type);
  }
};

void showProcError(HRESULT hr) {
  char text[256];
  if (AMGetErrorTextA(hr, text, sizeof text) == 0) std::snprintf(text, sizeof text, "Unknown Error: 0x%2x", static_cast<unsigned>(hr));
  MessageBoxA(nullptr, text, "Proc", MB_OK);
}

}  // namespace

int CCaptureGraphObject::CardKind(const std::string& devicePath) {
  const std::string path = upper(devicePath);
  for (const CardEntry& entry : kCards)
    if (path.find(upper(entry.text)) != std::string::npos) return entry.kind;
  return 0;
}

HRESULT CCaptureGraphObject::BuildCaptureGraph(HWND videoOwner, HWND notifyWindow, UINT notifyMessage) {
  HRESULT hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                                m_builder.putVoid());
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, m_graph.putVoid());
  if (SUCCEEDED(hr)) hr = m_builder->SetFiltergraph(m_graph.get());
  if (FAILED(hr)) return hr;

  if (FAILED(hr = FindCaptureDevice())) return hr;
  if (FAILED(hr = m_graph->AddFilter(m_capture.get(), L"Video Capture"))) return hr;
  if (m_builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Interleaved, m_capture.get(), nullptr, nullptr) != S_OK) {
    hr = m_builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, m_capture.get(), nullptr, nullptr);
    if (FAILED(hr)) return hr;
  }
  m_built = true;
  m_tuner = CTunerObject::Setup(m_builder.get(), m_capture.get(), CardKind(m_devicePath));

  plat::ComPtr<IVideoWindow> window;
  if (FAILED(hr = GraphInterface(IID_IVideoWindow, window))) return hr;
  RECT client{};
  GetClientRect(videoOwner, &client);
  if (FAILED(hr = window->put_Owner(reinterpret_cast<OAHWND>(videoOwner)))) return hr;
  if (FAILED(hr = window->put_WindowStyle(kVideoWindowStyle))) return hr;
  if (FAILED(hr = window->SetWindowPosition(0, 0, client.right, client.bottom))) return hr;

  plat::ComPtr<IMediaEventEx> events;
  if (FAILED(hr = GraphInterface(IID_IMediaEventEx, events))) return hr;
  return events->SetNotifyWindow(reinterpret_cast<OAHWND>(notifyWindow), static_cast<long>(notifyMessage), 0);
}

HRESULT CCaptureGraphObject::FindCaptureDevice() {
  plat::ComPtr<ICreateDevEnum> devices;
  HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, devices.putVoid());
  if (FAILED(hr)) return hr;
  plat::ComPtr<IEnumMoniker> monikers;
  if (devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers.put(), 0) != S_OK) return E_FAIL;
  plat::ComPtr<IMoniker> moniker;
  while (monikers->Next(1, moniker.put(), nullptr) == S_OK) {
    std::string friendlyName;
    plat::ComPtr<IPropertyBag> bag;
    if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.putVoid()))) {
      VARIANT name{};
      name.vt = VT_BSTR;
      if (SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr))) friendlyName = narrow(name.bstrVal);
      VariantClear(&name);
    }
    LPOLESTR display = nullptr;
    std::string devicePath;
    if (SUCCEEDED(moniker->GetDisplayName(nullptr, nullptr, &display))) devicePath = narrow(display);
    CoTaskMemFree(display);
    if (upper(friendlyName).find(kMatchText) == std::string::npos && upper(devicePath).find(kMatchText) == std::string::npos)
      continue;
    if (FAILED(hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, m_capture.putVoid()))) return hr;
    m_devicePath = devicePath;
    m_friendlyName = friendlyName;
    return S_OK;
  }
  return E_FAIL;
}

void CCaptureGraphObject::ReleaseGraph() {
  m_tuner.reset();
  if (m_built) {
    Stop();
    plat::ComPtr<IVideoWindow> window;
    if (SUCCEEDED(GraphInterface(IID_IVideoWindow, window))) {
      window->put_Visible(OAFALSE);
      window->put_Owner(0);
    }
    m_built = false;
  }
  // The capture filter goes too, so the device is free for others.
  m_capture.reset();
  m_builder.reset();
  m_graph.reset();
}

template <class T>
HRESULT CCaptureGraphObject::GraphInterface(REFIID iid, plat::ComPtr<T>& out) {
  if (!m_graph) return E_UNEXPECTED;
  return m_graph.queryInterface(iid, out);
}

HRESULT CCaptureGraphObject::Run() {
  plat::ComPtr<IMediaControl> control;
  const HRESULT hr = GraphInterface(IID_IMediaControl, control);
  return FAILED(hr) ? hr : control->Run();
}

HRESULT CCaptureGraphObject::Pause() {
  plat::ComPtr<IMediaControl> control;
  const HRESULT hr = GraphInterface(IID_IMediaControl, control);
  return FAILED(hr) ? hr : control->Pause();
}

HRESULT CCaptureGraphObject::Stop() {
  plat::ComPtr<IMediaControl> control;
  const HRESULT hr = GraphInterface(IID_IMediaControl, control);
  return FAILED(hr) ? hr : control->Stop();
}

OAFilterState CCaptureGraphObject::State() {
  plat::ComPtr<IMediaControl> control;
  OAFilterState state = State_Stopped;
  if (SUCCEEDED(GraphInterface(IID_IMediaControl, control))) control->GetState(0, &state);
  return state;
}

HRESULT CCaptureGraphObject::ShowVideoWindow(bool visible) {
  plat::ComPtr<IVideoWindow> window;
  const HRESULT hr = GraphInterface(IID_IVideoWindow, window);
  return FAILED(hr) ? hr : window->put_Visible(visible ? OATRUE : OAFALSE);
}

HRESULT CCaptureGraphObject::SetVideoWindowPosition(long left, long top, long width, long height) {
  plat::ComPtr<IVideoWindow> window;
  const HRESULT hr = GraphInterface(IID_IVideoWindow, window);
  return FAILED(hr) ? hr : window->SetWindowPosition(left, top, width, height);
}

HRESULT CCaptureGraphObject::get_FullScreenMode(long* mode) {
  plat::ComPtr<IVideoWindow> window;
  const HRESULT hr = GraphInterface(IID_IVideoWindow, window);
  return FAILED(hr) ? hr : window->get_FullScreenMode(mode);
}

HRESULT CCaptureGraphObject::put_FullScreenMode(long mode) {
  plat::ComPtr<IVideoWindow> window;
  const HRESULT hr = GraphInterface(IID_IVideoWindow, window);
  return FAILED(hr) ? hr : window->put_FullScreenMode(mode);
}

HRESULT CCaptureGraphObject::StreamConfig(plat::ComPtr<IAMStreamConfig>& config) {
  if (!m_builder || !m_capture) return E_UNEXPECTED;
  return m_builder->FindInterface(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, m_capture.get(), IID_IAMStreamConfig,
                                  config.putVoid());
}

HRESULT CCaptureGraphObject::CurrentFormat(plat::ComPtr<IAMStreamConfig>& config, AM_MEDIA_TYPE** format) {
  const HRESULT hr = StreamConfig(config);
  return FAILED(hr) ? hr : config->GetFormat(format);
}

HRESULT CCaptureGraphObject::SetFrameSize(long width, long height) {
  plat::ComPtr<IAMStreamConfig> config;
  MediaTypeGuard current;
  HRESULT hr = CurrentFormat(config, &current.type);
  if (FAILED(hr)) return hr;
  if (current.type->formattype == FORMAT_VideoInfo && (!current.type->pbFormat || current.type->cbFormat < sizeof(VIDEOINFOHEADER)))
    return E_FAIL;
  int count = 0, size = 0;
  if (FAILED(hr = config->GetNumberOfCapabilities(&count, &size))) return hr;
  if (size != kCapsSize) return E_FAIL;
  for (int i = 0; i < count; ++i) {
    MediaTypeGuard type;
    VIDEO_STREAM_CONFIG_CAPS caps{};
    if (config->GetStreamCaps(i, &type.type, reinterpret_cast<BYTE*>(&caps)) != S_OK) continue;
    if (type.type->majortype != current.type->majortype || type.type->subtype != current.type->subtype ||
        type.type->formattype != FORMAT_VideoInfo || type.type->cbFormat < current.type->cbFormat ||
        type.type->cbFormat < sizeof(VIDEOINFOHEADER))
      continue;
    // Round up to the granularity (none: any width), then keep within the sizes offered.
    long w = width;
    if (caps.OutputGranularityX > 0) w = (w + caps.OutputGranularityX - 1) / caps.OutputGranularityX * caps.OutputGranularityX;
    w = std::clamp<long>(w, caps.MinOutputSize.cx, caps.MaxOutputSize.cx);
    const long h = std::clamp<long>(height, caps.MinOutputSize.cy, caps.MaxOutputSize.cy);
    auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.type->pbFormat);
    info->bmiHeader.biWidth = w;
    info->bmiHeader.biHeight = h;
    info->bmiHeader.biSizeImage =
        static_cast<DWORD>((w * info->bmiHeader.biBitCount + 31) / 32 * 4 * std::labs(h));
    return config->SetFormat(type.type);
  }
  // No capability fits: nothing was set.
  return E_FAIL;
}

HRESULT CCaptureGraphObject::GetFrameSize(long* width, long* height) {
  plat::ComPtr<IAMStreamConfig> config;
  MediaTypeGuard current;
  const HRESULT hr = CurrentFormat(config, &current.type);
  if (FAILED(hr)) return hr;
  if (current.type->majortype != MEDIATYPE_Video || current.type->formattype != FORMAT_VideoInfo ||
      current.type->cbFormat < sizeof(VIDEOINFOHEADER) || !current.type->pbFormat)
    return E_FAIL;
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(current.type->pbFormat);
  if (width) *width = info->bmiHeader.biWidth;
  if (height) *height = info->bmiHeader.biHeight;
  return S_OK;
}

HRESULT CCaptureGraphObject::ProcAmp(plat::ComPtr<IAMVideoProcAmp>& procAmp) {
  if (!m_capture) return E_UNEXPECTED;
  const HRESULT hr = m_capture.queryInterface(IID_IAMVideoProcAmp, procAmp);
  if (FAILED(hr)) showProcError(hr);
  return hr;
}

HRESULT CCaptureGraphObject::GetVideoRange(long property, long* minimum, long* maximum, long* steppingDelta,
                                           long* defaultValue, long* capsFlags) {
  plat::ComPtr<IAMVideoProcAmp> procAmp;
  HRESULT hr = ProcAmp(procAmp);
  if (FAILED(hr)) return hr;
  long values[5] = {};
  hr = procAmp->GetRange(property, &values[0], &values[1], &values[2], &values[3], &values[4]);
  long* outs[5] = {minimum, maximum, steppingDelta, defaultValue, capsFlags};
  if (SUCCEEDED(hr))
    for (int i = 0; i < 5; ++i)
      if (outs[i]) *outs[i] = values[i];
  return hr;
}

HRESULT CCaptureGraphObject::GetVideoProperty(long property, long* value, long* flags) {
  plat::ComPtr<IAMVideoProcAmp> procAmp;
  HRESULT hr = ProcAmp(procAmp);
  if (FAILED(hr)) return hr;
  long v = 0, f = 0;
  hr = procAmp->Get(property, &v, &f);
  if (SUCCEEDED(hr)) {
    if (value) *value = v;
    if (flags) *flags = f;
  }
  return hr;
}

HRESULT CCaptureGraphObject::SetVideoProperty(long property, long value, long flags) {
  plat::ComPtr<IAMVideoProcAmp> procAmp;
  const HRESULT hr = ProcAmp(procAmp);
  return FAILED(hr) ? hr : procAmp->Set(property, value, flags);
}

HRESULT CCaptureGraphObject::GetAvailableStandards(long* standards) {
  plat::ComPtr<IAMAnalogVideoDecoder> decoder;
  if (!m_capture || FAILED(m_capture.queryInterface(IID_IAMAnalogVideoDecoder, decoder))) return E_NOINTERFACE;
  return decoder->get_AvailableTVFormats(standards);
}

HRESULT CCaptureGraphObject::SetStandard(long standard) {
  plat::ComPtr<IAMAnalogVideoDecoder> decoder;
  if (!m_capture || FAILED(m_capture.queryInterface(IID_IAMAnalogVideoDecoder, decoder))) return E_NOINTERFACE;
  return decoder->put_TVFormat(standard);
}

HRESULT CCaptureGraphObject::GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2) {
  plat::ComPtr<IMediaEventEx> events;
  const HRESULT hr = GraphInterface(IID_IMediaEventEx, events);
  return FAILED(hr) ? hr : events->GetEvent(code, param1, param2, 0);
}

HRESULT CCaptureGraphObject::FreeEventParams(long code, LONG_PTR param1, LONG_PTR param2) {
  plat::ComPtr<IMediaEventEx> events;
  const HRESULT hr = GraphInterface(IID_IMediaEventEx, events);
  return FAILED(hr) ? hr : events->FreeEventParams(code, param1, param2);
}
