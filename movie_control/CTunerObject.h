// The control's tuner: a core (standard or custom, see CTunerCore) under a channel layer
// that numbers channels through the country table, keeps the country and tuning space,
// and keeps per-channel frequency overrides in the registry:
//
//   HKLM\SOFTWARE\Microsoft\TV System Services\TVAutoTune\TS<tuning space>-<1 cable, 0 antenna>
//   value "<channel>" = REG_DWORD frequency in Hz
//
// With a device tuner the country and tuning space live in the device; otherwise here.
#pragma once

#include "CTunerCore.h"

#include <memory>
#include <string>

struct IBaseFilter;
struct ICaptureGraphBuilder2;

class CTunerObject {
 public:
  static constexpr long kDefaultCountry = 86;

  explicit CTunerObject(std::unique_ptr<CTunerCore> core) : m_core(std::move(core)) {}

  // The tuner of a capture filter: a standard one around the tuner filter upstream of it,
  // else a custom one for the card kind; set to TV, cable input, its country, and the
  // capture filter's decoder set to its standard. Null when it cannot be initialised.
  static std::unique_ptr<CTunerObject> Setup(ICaptureGraphBuilder2* builder, IBaseFilter* capture, int cardKind);

  CTunerCore& Core() { return *m_core; }

  HRESULT get_CountryCode(long* code);
  HRESULT put_CountryCode(long code);
  HRESULT get_TuningSpace(long* space);
  HRESULT put_TuningSpace(long space);
  // Sets the core's input type and makes sure the override key of that type exists.
  HRESULT put_InputType(long index, long type);

  HRESULT ChannelMinMax(long* minimum, long* maximum);
  HRESULT get_Channel(long* channel, long* videoSubChannel, long* audioSubChannel);
  HRESULT put_Channel(long channel, long videoSubChannel, long audioSubChannel);
  HRESULT AutoTune(long channel, long* foundSignal);
  HRESULT StoreAutoTune();

  HRESULT OverrideChannel(long channel, long frequency, long flags);
  // S_OK when an override was removed, S_FALSE when there was none.
  HRESULT UnoverrideChannel(long channel);
  // True with the frequency when the channel has an override.
  bool ReadOverride(long channel, long* frequency);

 private:
  HRESULT Initialise();
  long InputType();
  std::string OverrideKey();

  std::unique_ptr<CTunerCore> m_core;
  long m_countryCode = kDefaultCountry;
  long m_tuningSpace = kDefaultCountry;
  long m_channel = 1;
  long m_videoSubChannel = -1;
  long m_audioSubChannel = -1;
};
