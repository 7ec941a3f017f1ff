#include <dshow/filters/TvTuner.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/filters/AnalogPin.h>
#include <dshow/filters/StickMedium.h>
#include <dshow/ksmedia.h>
#include <dshow/vfwmsgs.h>
#include <machine/Machine.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>

#include <new>

namespace plat {

namespace {
constexpr long kAllStandards = 0x1FFFFF;
constexpr long kMinChannel = 1;
constexpr long kMaxChannel = 125;
// What the tuner chip can reach, as its mode capabilities report it.
constexpr ULONG kLowestCarrierHz = 44'000'000;
constexpr ULONG kHighestCarrierHz = 863'250'000;
}  // namespace

TvTuner::TvTuner(LPUNKNOWN outer, HRESULT* phr)
    : CBaseFilter("TV stick tuner", outer, &m_lock, CLSID_TvStickTuner, phr),
      m_stick(Machine::current().service<TvStickCapture>()),
      m_video(std::make_unique<AnalogPin>(this, &m_lock, L"Analog Video", PINDIR_OUTPUT, MEDIATYPE_AnalogVideo,
                                          kTunerVideoWire)),
      m_audio(std::make_unique<AnalogPin>(this, &m_lock, L"Analog Audio", PINDIR_OUTPUT, MEDIATYPE_AnalogAudio,
                                          kTunerAudioWire)),
      m_countryCode(Machine::current().ini().intValue("Windows", "RegionCountry", 1)) {}

TvTuner::~TvTuner() = default;

CUnknown* TvTuner::CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new (std::nothrow) TvTuner(outer, phr); }

STDMETHODIMP TvTuner::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IAMTVTuner) return GetInterface(static_cast<IAMTVTuner*>(this), ppv);
  if (riid == IID_IAMTuner) return GetInterface(static_cast<IAMTuner*>(this), ppv);
  if (riid == IID_IKsPropertySet) return GetInterface(static_cast<IKsPropertySet*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* TvTuner::GetPin(int n) {
  if (n == 0) return m_video.get();
  if (n == 1) return m_audio.get();
  return nullptr;
}

std::int64_t TvTuner::carrierOf(long channel) const {
  if (const auto station = m_stick.control().broadcast().stationNumbered(static_cast<int>(channel)))
    return station->carrierHz;
  // The North American picture carriers: channel 1 is the cable one below channel 5's band,
  // 2-4 and 5-6 are the two low VHF bands, 7-13 high VHF, and UHF from 14 upwards.
  const std::int64_t n = channel;
  if (n == 1) return 73'250'000;
  if (n <= 4) return 55'250'000 + (n - 2) * 6'000'000;
  if (n <= 6) return 77'250'000 + (n - 5) * 6'000'000;
  if (n <= 13) return 175'250'000 + (n - 7) * 6'000'000;
  return 471'250'000 + (n - 14) * 6'000'000;
}

STDMETHODIMP TvTuner::put_Channel(long lChannel, long, long) {
  if (lChannel < kMinChannel || lChannel > kMaxChannel) return E_INVALIDARG;
  CAutoLock lock(&m_lock);
  if (!m_stick.tuneCarrier(carrierOf(lChannel))) return E_FAIL;
  m_channel = lChannel;
  return S_OK;
}

STDMETHODIMP TvTuner::get_Channel(long* plChannel, long* plVideoSubChannel, long* plAudioSubChannel) {
  CheckPointer(plChannel, E_POINTER);
  CAutoLock lock(&m_lock);
  *plChannel = m_channel;
  if (plVideoSubChannel) *plVideoSubChannel = AMTUNER_SUBCHAN_DEFAULT;
  if (plAudioSubChannel) *plAudioSubChannel = AMTUNER_SUBCHAN_DEFAULT;
  return S_OK;
}

STDMETHODIMP TvTuner::ChannelMinMax(long* lChannelMin, long* lChannelMax) {
  CheckPointer(lChannelMin, E_POINTER);
  CheckPointer(lChannelMax, E_POINTER);
  *lChannelMin = kMinChannel;
  *lChannelMax = kMaxChannel;
  return S_OK;
}

STDMETHODIMP TvTuner::put_CountryCode(long lCountryCode) {
  CAutoLock lock(&m_lock);
  m_countryCode = lCountryCode;
  return S_OK;
}

STDMETHODIMP TvTuner::get_CountryCode(long* plCountryCode) {
  CheckPointer(plCountryCode, E_POINTER);
  *plCountryCode = m_countryCode;
  return S_OK;
}

STDMETHODIMP TvTuner::put_TuningSpace(long lTuningSpace) {
  m_tuningSpace = lTuningSpace;
  return S_OK;
}

STDMETHODIMP TvTuner::get_TuningSpace(long* plTuningSpace) {
  CheckPointer(plTuningSpace, E_POINTER);
  *plTuningSpace = m_tuningSpace;
  return S_OK;
}

STDMETHODIMP TvTuner::Logon(HANDLE) { return S_OK; }

STDMETHODIMP TvTuner::Logout() { return S_OK; }

STDMETHODIMP TvTuner::SignalPresent(long* plSignalStrength) {
  CheckPointer(plSignalStrength, E_POINTER);
  *plSignalStrength = m_stick.control().hasSignal() ? AMTUNER_SIGNALPRESENT : AMTUNER_NOSIGNAL;
  return S_OK;
}

STDMETHODIMP TvTuner::put_Mode(AMTunerModeType lMode) { return lMode == AMTUNER_MODE_TV ? S_OK : E_INVALIDARG; }

STDMETHODIMP TvTuner::get_Mode(AMTunerModeType* plMode) {
  CheckPointer(plMode, E_POINTER);
  *plMode = AMTUNER_MODE_TV;
  return S_OK;
}

STDMETHODIMP TvTuner::GetAvailableModes(long* plModes) {
  CheckPointer(plModes, E_POINTER);
  *plModes = AMTUNER_MODE_TV;
  return S_OK;
}

STDMETHODIMP TvTuner::RegisterNotificationCallBack(IAMTunerNotification*, long) { return E_NOTIMPL; }

STDMETHODIMP TvTuner::UnRegisterNotificationCallBack(IAMTunerNotification*) { return E_NOTIMPL; }

STDMETHODIMP TvTuner::get_AvailableTVFormats(long* lAnalogVideoStandard) {
  CheckPointer(lAnalogVideoStandard, E_POINTER);
  *lAnalogVideoStandard = kAllStandards;
  return S_OK;
}

STDMETHODIMP TvTuner::get_TVFormat(long* plAnalogVideoStandard) {
  CheckPointer(plAnalogVideoStandard, E_POINTER);
  const auto station = m_stick.control().tunedStation();
  *plAnalogVideoStandard = station ? TvStickCapture::standardBit(station->scene.standard) : m_stick.decoderStandard();
  return S_OK;
}

STDMETHODIMP TvTuner::AutoTune(long lChannel, long* plFoundSignal) {
  CheckPointer(plFoundSignal, E_POINTER);
  const HRESULT hr = put_Channel(lChannel, AMTUNER_SUBCHAN_DEFAULT, AMTUNER_SUBCHAN_DEFAULT);
  if (FAILED(hr)) return hr;
  *plFoundSignal = m_stick.control().hasSignal() ? 1 : 0;
  return S_OK;
}

STDMETHODIMP TvTuner::StoreAutoTune() { return S_OK; }

// ---- IKsPropertySet: the tuner's mode capabilities and its frequency

STDMETHODIMP TvTuner::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
  CheckPointer(support, E_POINTER);
  if (set != PROPSETID_TUNER) return E_PROP_SET_UNSUPPORTED;
  if (id == KSPROPERTY_TUNER_MODE_CAPS) *support = KSPROPERTY_SUPPORT_GET;
  else if (id == KSPROPERTY_TUNER_FREQUENCY) *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
  else return E_PROP_ID_UNSUPPORTED;
  return S_OK;
}

STDMETHODIMP TvTuner::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) {
  CheckPointer(data, E_POINTER);
  if (set != PROPSETID_TUNER) return E_PROP_SET_UNSUPPORTED;
  if (id == KSPROPERTY_TUNER_MODE_CAPS) {
    if (size < sizeof(KSPROPERTY_TUNER_MODE_CAPS_S)) return E_INVALIDARG;
    auto* caps = static_cast<KSPROPERTY_TUNER_MODE_CAPS_S*>(data);
    caps->Mode = AMTUNER_MODE_TV;
    caps->StandardsSupported = kAllStandards;
    caps->MinFrequency = kLowestCarrierHz;
    caps->MaxFrequency = kHighestCarrierHz;
    caps->TuningGranularity = 62'500;
    caps->NumberOfInputs = 1;
    caps->SettlingTime = 100;
    caps->Strategy = KS_TUNER_STRATEGY_PLL;
    if (returned) *returned = sizeof(KSPROPERTY_TUNER_MODE_CAPS_S);
    return S_OK;
  }
  if (id == KSPROPERTY_TUNER_FREQUENCY) {
    if (size < sizeof(KSPROPERTY_TUNER_FREQUENCY_S)) return E_INVALIDARG;
    auto* frequency = static_cast<KSPROPERTY_TUNER_FREQUENCY_S*>(data);
    frequency->Frequency = static_cast<ULONG>(m_stick.tunedCarrier());
    if (returned) *returned = sizeof(KSPROPERTY_TUNER_FREQUENCY_S);
    return S_OK;
  }
  return E_PROP_ID_UNSUPPORTED;
}

STDMETHODIMP TvTuner::Set(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size) {
  CheckPointer(data, E_POINTER);
  if (set != PROPSETID_TUNER) return E_PROP_SET_UNSUPPORTED;
  if (id != KSPROPERTY_TUNER_FREQUENCY) return E_PROP_ID_UNSUPPORTED;
  if (size < sizeof(KSPROPERTY_TUNER_FREQUENCY_S)) return E_INVALIDARG;
  const auto* frequency = static_cast<const KSPROPERTY_TUNER_FREQUENCY_S*>(data);
  if (frequency->Frequency < kLowestCarrierHz || frequency->Frequency > kHighestCarrierHz) return E_INVALIDARG;
  CAutoLock lock(&m_lock);
  return m_stick.tuneCarrier(frequency->Frequency) ? S_OK : E_FAIL;
}

STDMETHODIMP TvTuner::get_NumInputConnections(long* plNumInputConnections) {
  CheckPointer(plNumInputConnections, E_POINTER);
  *plNumInputConnections = 1;
  return S_OK;
}

STDMETHODIMP TvTuner::put_InputType(long lIndex, TunerInputType InputType) {
  if (lIndex != 0) return E_INVALIDARG;
  m_inputType = InputType;
  return S_OK;
}

STDMETHODIMP TvTuner::get_InputType(long lIndex, TunerInputType* pInputType) {
  CheckPointer(pInputType, E_POINTER);
  if (lIndex != 0) return E_INVALIDARG;
  *pInputType = m_inputType;
  return S_OK;
}

STDMETHODIMP TvTuner::put_ConnectInput(long lIndex) { return lIndex == 0 ? S_OK : E_INVALIDARG; }

STDMETHODIMP TvTuner::get_ConnectInput(long* plIndex) {
  CheckPointer(plIndex, E_POINTER);
  *plIndex = 0;
  return S_OK;
}

STDMETHODIMP TvTuner::get_VideoFrequency(long* lFreq) {
  CheckPointer(lFreq, E_POINTER);
  *lFreq = static_cast<long>(m_stick.tunedCarrier());
  return S_OK;
}

STDMETHODIMP TvTuner::get_AudioFrequency(long* lFreq) {
  CheckPointer(lFreq, E_POINTER);
  const std::int64_t carrier = m_stick.tunedCarrier();
  const auto station = m_stick.control().tunedStation();
  const bool narrow = station && Broadcast::intermediateHz(station->scene.standard) == 45'750'000;
  *lFreq = carrier ? static_cast<long>(carrier + (narrow ? 4'500'000 : 5'500'000)) : 0;
  return S_OK;
}

}  // namespace plat
