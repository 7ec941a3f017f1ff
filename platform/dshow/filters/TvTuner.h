// The TV stick's tuner filter (IAMTVTuner): channels by number in the country's
// broadcast band, as the stations of machine.ini carry them; a channel with no station
// tunes to an empty frequency (snow). Tuning goes through the stick's I2C tuner, so the
// control side and the picture see it. Outputs "Analog Video" and "Analog Audio" are
// wired to the crossbar's tuner inputs. Its kernel-streaming tuner properties
// (IKsPropertySet on PROPSETID_TUNER) give the TV mode's capabilities and take a
// frequency to tune to directly.
#pragma once

#include <dshow/axextend.h>
#include <dshow/baseclasses/CBaseFilter.h>

#include <memory>

namespace plat {

class AnalogPin;
class TvStickCapture;

class TvTuner : public CBaseFilter, public IAMTVTuner, public IKsPropertySet {
 public:
  TvTuner(LPUNKNOWN outer, HRESULT* phr);
  ~TvTuner() override;
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return 2; }
  CBasePin* GetPin(int n) override;

  // IAMTuner
  STDMETHODIMP put_Channel(long lChannel, long lVideoSubChannel, long lAudioSubChannel) override;
  STDMETHODIMP get_Channel(long* plChannel, long* plVideoSubChannel, long* plAudioSubChannel) override;
  STDMETHODIMP ChannelMinMax(long* lChannelMin, long* lChannelMax) override;
  STDMETHODIMP put_CountryCode(long lCountryCode) override;
  STDMETHODIMP get_CountryCode(long* plCountryCode) override;
  STDMETHODIMP put_TuningSpace(long lTuningSpace) override;
  STDMETHODIMP get_TuningSpace(long* plTuningSpace) override;
  STDMETHODIMP Logon(HANDLE hCurrentUser) override;
  STDMETHODIMP Logout() override;
  STDMETHODIMP SignalPresent(long* plSignalStrength) override;
  STDMETHODIMP put_Mode(AMTunerModeType lMode) override;
  STDMETHODIMP get_Mode(AMTunerModeType* plMode) override;
  STDMETHODIMP GetAvailableModes(long* plModes) override;
  STDMETHODIMP RegisterNotificationCallBack(IAMTunerNotification* pNotify, long lEvents) override;
  STDMETHODIMP UnRegisterNotificationCallBack(IAMTunerNotification* pNotify) override;
  // IAMTVTuner
  STDMETHODIMP get_AvailableTVFormats(long* lAnalogVideoStandard) override;
  STDMETHODIMP get_TVFormat(long* plAnalogVideoStandard) override;
  STDMETHODIMP AutoTune(long lChannel, long* plFoundSignal) override;
  STDMETHODIMP StoreAutoTune() override;
  // IKsPropertySet
  STDMETHODIMP Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data, DWORD size) override;
  STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data, DWORD size,
                   DWORD* returned) override;
  STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;
  STDMETHODIMP get_NumInputConnections(long* plNumInputConnections) override;
  STDMETHODIMP put_InputType(long lIndex, TunerInputType InputType) override;
  STDMETHODIMP get_InputType(long lIndex, TunerInputType* pInputType) override;
  STDMETHODIMP put_ConnectInput(long lIndex) override;
  STDMETHODIMP get_ConnectInput(long* plIndex) override;
  STDMETHODIMP get_VideoFrequency(long* lFreq) override;
  STDMETHODIMP get_AudioFrequency(long* lFreq) override;

  // The carrier of a channel: a station's own, else the band's plan (6 MHz channels).
  std::int64_t carrierOf(long channel) const;

 private:
  CCritSec m_lock;
  TvStickCapture& m_stick;
  std::unique_ptr<AnalogPin> m_video;
  std::unique_ptr<AnalogPin> m_audio;
  long m_channel = 0;
  long m_countryCode;
  long m_tuningSpace = 0;
  TunerInputType m_inputType = TunerInputAntenna;
};

}  // namespace plat
