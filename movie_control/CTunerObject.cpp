#include "CTunerObject.h"

#include "CCountryTable.h"
#include "CCustomTunerCore.h"
#include "CStandardTunerCore.h"

#include <com/ComPtr.h>
#include <dshow/axextend.h>
#include <dshow/strmif.h>
#include <dshow/uuids.h>
#include <win32/registry.h>

#include <cstdio>

namespace {

constexpr long kModeTv = 1;
constexpr long kInputCable = 0;
constexpr long kPalD = 0x20;

// Closes a registry key when it goes.
class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() {
    if (m_key) RegCloseKey(m_key);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY* put() { return &m_key; }
  HKEY get() const { return m_key; }

 private:
  HKEY m_key = nullptr;
};

std::string valueName(long channel) {
  char name[16];
  std::snprintf(name, sizeof name, "%01ld", channel);
  return name;
}

}  // namespace

std::unique_ptr<CTunerObject> CTunerObject::Setup(ICaptureGraphBuilder2* builder, IBaseFilter* capture, int cardKind) {
  plat::ComPtr<IAMTVTuner> deviceTuner;
  std::unique_ptr<CTunerCore> core;
  if (builder && SUCCEEDED(builder->FindInterface(&LOOK_UPSTREAM_ONLY, nullptr, capture, IID_IAMTVTuner,
                                                  deviceTuner.putVoid())))
    core = std::make_unique<CStandardTunerCore>(deviceTuner.get());
  else
    core = std::make_unique<CCustomTunerCore>(cardKind, builder, capture);
  auto tuner = std::make_unique<CTunerObject>(std::move(core));
  if (FAILED(tuner->Initialise())) return nullptr;

  CTunerCore& c = tuner->Core();
  c.put_Mode(kModeTv);
  long input = 0, type = kInputCable;
  if (SUCCEEDED(c.get_ConnectInput(&input)) && SUCCEEDED(c.get_InputType(input, &type)) && type != kInputCable)
    tuner->put_InputType(input, kInputCable);
  long country = kDefaultCountry;
  if (SUCCEEDED(tuner->get_CountryCode(&country))) {
    tuner->put_CountryCode(country);
    tuner->put_TuningSpace(country);
  }
  tuner->StoreAutoTune();

  // A tuner that has not been given a standard answers 0 ("None"); the decoder gets PAL_D then.
  long format = 0;
  if (FAILED(c.get_TVFormat(&format)) || format == 0) format = kPalD;
  plat::ComPtr<IAMAnalogVideoDecoder> decoder;
  if (capture && SUCCEEDED(capture->QueryInterface(IID_IAMAnalogVideoDecoder, decoder.putVoid())))
    decoder->put_TVFormat(format);
  return tuner;
}

HRESULT CTunerObject::Initialise() {
  IAMTVTuner* device = m_core->DeviceTuner();
  if (!device) return S_OK;
  HRESULT hr = device->put_CountryCode(kDefaultCountry);
  if (SUCCEEDED(hr)) hr = device->put_TuningSpace(kDefaultCountry);
  if (SUCCEEDED(hr)) hr = device->put_Channel(1, -1, -1);
  return hr;
}

HRESULT CTunerObject::get_CountryCode(long* code) {
  if (!code) return E_POINTER;
  if (IAMTVTuner* device = m_core->DeviceTuner()) return device->get_CountryCode(code);
  *code = m_countryCode;
  return S_OK;
}

HRESULT CTunerObject::put_CountryCode(long code) {
  if (IAMTVTuner* device = m_core->DeviceTuner()) return device->put_CountryCode(code);
  m_countryCode = code;
  return S_OK;
}

HRESULT CTunerObject::get_TuningSpace(long* space) {
  if (!space) return E_POINTER;
  if (IAMTVTuner* device = m_core->DeviceTuner()) return device->get_TuningSpace(space);
  *space = m_tuningSpace;
  return S_OK;
}

HRESULT CTunerObject::put_TuningSpace(long space) {
  if (IAMTVTuner* device = m_core->DeviceTuner()) return device->put_TuningSpace(space);
  m_tuningSpace = space;
  return S_OK;
}

HRESULT CTunerObject::put_InputType(long index, long type) {
  const HRESULT hr = m_core->put_InputType(index, type);
  if (FAILED(hr)) return hr;
  RegistryKey key;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, OverrideKey().c_str(), 0, nullptr, 0, KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE,
                  nullptr, key.put(), nullptr);
  return hr;
}

long CTunerObject::InputType() {
  long input = 0, type = kInputCable;
  if (FAILED(m_core->get_ConnectInput(&input)) || FAILED(m_core->get_InputType(input, &type))) return kInputCable;
  return type;
}

std::string CTunerObject::OverrideKey() {
  long space = 0;
  get_TuningSpace(&space);
  char key[128];
  std::snprintf(key, sizeof key, "SOFTWARE\\Microsoft\\TV System Services\\TVAutoTune\\TS%01ld-%01d", space,
                InputType() == kInputCable ? 1 : 0);
  return key;
}

HRESULT CTunerObject::ChannelMinMax(long* minimum, long* maximum) {
  if (!minimum || !maximum) return E_POINTER;
  long country = 0;
  const HRESULT hr = get_CountryCode(&country);
  if (FAILED(hr)) return hr;
  const auto record = CCountryTable::CountryRecord(country);
  if (!record) return E_NOTIMPL;
  const bool antenna = InputType() != kInputCable;
  *minimum = antenna ? record->firstBroadcastChannel : record->firstCableChannel;
  *maximum = antenna ? record->lastBroadcastChannel : record->lastCableChannel;
  return S_OK;
}

HRESULT CTunerObject::get_Channel(long* channel, long* videoSubChannel, long* audioSubChannel) {
  if (!channel || !videoSubChannel || !audioSubChannel) return E_POINTER;
  *channel = m_channel;
  *videoSubChannel = m_videoSubChannel;
  *audioSubChannel = m_audioSubChannel;
  return S_OK;
}

HRESULT CTunerObject::put_Channel(long channel, long videoSubChannel, long audioSubChannel) {
  m_channel = channel;
  m_videoSubChannel = videoSubChannel;
  m_audioSubChannel = audioSubChannel;
  long overrideHz = 0;
  const bool overridden = ReadOverride(channel, &overrideHz);
  if (IAMTVTuner* device = m_core->DeviceTuner()) {
    const HRESULT hr = device->put_Channel(channel, videoSubChannel, audioSubChannel);
    if (FAILED(hr) || !overridden) return hr;
    return m_core->put_VideoFrequency(overrideHz);
  }
  if (overridden) return m_core->put_VideoFrequency(overrideHz);

  long country = 0;
  if (FAILED(get_CountryCode(&country))) return E_NOTIMPL;
  const auto record = CCountryTable::CountryRecord(country);
  if (!record) return E_NOTIMPL;
  const bool antenna = InputType() != kInputCable;
  const long first = antenna ? record->firstBroadcastChannel : record->firstCableChannel;
  const auto table = antenna ? record->broadcastFrequencies : record->cableFrequencies;
  // Both bounds: a channel below the first would read before the table.
  if (channel < first || channel - first >= static_cast<long>(table.size())) return E_INVALIDARG;
  return m_core->put_VideoFrequency(table[static_cast<std::size_t>(channel - first)]);
}

HRESULT CTunerObject::AutoTune(long channel, long* foundSignal) {
  if (!foundSignal) return E_POINTER;
  if (IAMTVTuner* device = m_core->DeviceTuner()) return device->AutoTune(channel, foundSignal);
  *foundSignal = 0;
  return S_OK;
}

HRESULT CTunerObject::StoreAutoTune() {
  if (IAMTVTuner* device = m_core->DeviceTuner()) return device->StoreAutoTune();
  return S_OK;
}

HRESULT CTunerObject::OverrideChannel(long channel, long frequency, long) {
  RegistryKey key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, OverrideKey().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                      nullptr) != ERROR_SUCCESS)
    return E_FAIL;
  const DWORD value = static_cast<DWORD>(frequency);
  if (RegSetValueExA(key.get(), valueName(channel).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                     sizeof value) != ERROR_SUCCESS)
    return E_FAIL;
  return S_OK;
}

HRESULT CTunerObject::UnoverrideChannel(long channel) {
  RegistryKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, OverrideKey().c_str(), 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
    return S_FALSE;
  return RegDeleteValueA(key.get(), valueName(channel).c_str()) == ERROR_SUCCESS ? S_OK : S_FALSE;
}

bool CTunerObject::ReadOverride(long channel, long* frequency) {
  RegistryKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, OverrideKey().c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
  DWORD value = 0, type = 0, size = sizeof value;
  if (RegQueryValueExA(key.get(), valueName(channel).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return false;
  if (frequency) *frequency = static_cast<long>(value);
  return true;
}
