#include <dshow/filters/TvCrossbar.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/filters/AnalogPin.h>
#include <dshow/filters/StickMedium.h>
#include <machine/Machine.h>
#include <machine/TvStickCapture.h>

#include <new>

namespace plat {

namespace {

struct PinSpec {
  const wchar_t* name;
  PhysicalConnectorType type;
  long related;
  REGPINMEDIUM medium;
};

const PinSpec kInputSpecs[TvCrossbar::kInputs] = {
    {L"0: Video Tuner In", PhysConn_Video_Tuner, 3, kTunerVideoWire},
    {L"1: Video Composite In", PhysConn_Video_Composite, 4, kSocket},
    {L"2: Video SVideo In", PhysConn_Video_SVideo, 4, kSocket},
    {L"3: Audio Tuner In", PhysConn_Audio_Tuner, 0, kTunerAudioWire},
    {L"4: Audio Line In", PhysConn_Audio_Line, 1, kSocket},
};
const PinSpec kOutputSpecs[TvCrossbar::kOutputs] = {
    {L"0: Video Decoder Out", PhysConn_Video_VideoDecoder, 1, kDecoderVideoWire},
    {L"1: Audio Decoder Out", PhysConn_Audio_AudioDecoder, 0, kDecoderAudioWire},
};

bool isAudio(long type) { return type >= PhysConn_Audio_Tuner; }

}  // namespace

TvCrossbar::TvCrossbar(LPUNKNOWN outer, HRESULT* phr)
    : CBaseFilter("TV stick crossbar", outer, &m_lock, CLSID_TvStickCrossbar, phr),
      m_stick(Machine::current().service<TvStickCapture>()) {
  for (long i = 0; i < kInputs; ++i) {
    const PinSpec& spec = kInputSpecs[i];
    m_pins[static_cast<size_t>(i)] = std::make_unique<AnalogPin>(
        this, &m_lock, spec.name, PINDIR_INPUT, isAudio(spec.type) ? MEDIATYPE_AnalogAudio : MEDIATYPE_AnalogVideo, spec.medium);
  }
  for (long i = 0; i < kOutputs; ++i) {
    const PinSpec& spec = kOutputSpecs[i];
    m_pins[static_cast<size_t>(kInputs + i)] = std::make_unique<AnalogPin>(
        this, &m_lock, spec.name, PINDIR_OUTPUT, isAudio(spec.type) ? MEDIATYPE_AnalogAudio : MEDIATYPE_AnalogVideo, spec.medium);
  }
  // The hardware keeps its routing between filter objects.
  m_routes[0] = static_cast<long>(m_stick.input());
}

TvCrossbar::~TvCrossbar() = default;

CUnknown* TvCrossbar::CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new (std::nothrow) TvCrossbar(outer, phr); }

STDMETHODIMP TvCrossbar::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IAMCrossbar) return GetInterface(static_cast<IAMCrossbar*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* TvCrossbar::GetPin(int n) {
  if (n < 0 || n >= kInputs + kOutputs) return nullptr;
  return m_pins[static_cast<size_t>(n)].get();
}

STDMETHODIMP TvCrossbar::get_PinCounts(long* OutputPinCount, long* InputPinCount) {
  CheckPointer(OutputPinCount, E_POINTER);
  CheckPointer(InputPinCount, E_POINTER);
  *OutputPinCount = kOutputs;
  *InputPinCount = kInputs;
  return S_OK;
}

STDMETHODIMP TvCrossbar::CanRoute(long OutputPinIndex, long InputPinIndex) {
  if (OutputPinIndex < 0 || OutputPinIndex >= kOutputs || InputPinIndex < 0 || InputPinIndex >= kInputs)
    return E_INVALIDARG;
  // Video to video, sound to sound.
  return isAudio(kOutputSpecs[OutputPinIndex].type) == isAudio(kInputSpecs[InputPinIndex].type) ? S_OK : S_FALSE;
}

STDMETHODIMP TvCrossbar::Route(long OutputPinIndex, long InputPinIndex) {
  const HRESULT hr = CanRoute(OutputPinIndex, InputPinIndex);
  if (hr != S_OK) return FAILED(hr) ? hr : E_FAIL;
  CAutoLock lock(&m_lock);
  m_routes[static_cast<size_t>(OutputPinIndex)] = InputPinIndex;
  if (OutputPinIndex == 0) {
    static const TvStickCapture::Input kInputs[] = {TvStickCapture::Input::Tuner, TvStickCapture::Input::Composite,
                                                     TvStickCapture::Input::SVideo};
    m_stick.setInput(kInputs[InputPinIndex]);
  }
  return S_OK;
}

STDMETHODIMP TvCrossbar::get_IsRoutedTo(long OutputPinIndex, long* InputPinIndex) {
  CheckPointer(InputPinIndex, E_POINTER);
  if (OutputPinIndex < 0 || OutputPinIndex >= kOutputs) return E_INVALIDARG;
  CAutoLock lock(&m_lock);
  *InputPinIndex = m_routes[static_cast<size_t>(OutputPinIndex)];
  return S_OK;
}

STDMETHODIMP TvCrossbar::get_CrossbarPinInfo(BOOL IsInputPin, long PinIndex, long* PinIndexRelated, long* PhysicalType) {
  CheckPointer(PinIndexRelated, E_POINTER);
  CheckPointer(PhysicalType, E_POINTER);
  const long count = IsInputPin ? kInputs : kOutputs;
  if (PinIndex < 0 || PinIndex >= count) return E_INVALIDARG;
  const PinSpec& spec = IsInputPin ? kInputSpecs[PinIndex] : kOutputSpecs[PinIndex];
  *PinIndexRelated = spec.related;
  *PhysicalType = spec.type;
  return S_OK;
}

}  // namespace plat
