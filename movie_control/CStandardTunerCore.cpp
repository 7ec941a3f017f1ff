#include "CStandardTunerCore.h"

#include <dshow/ksmedia.h>

HRESULT CStandardTunerCore::get_Mode(long* mode) {
  if (!mode) return E_POINTER;
  AMTunerModeType value = AMTUNER_MODE_DEFAULT;
  const HRESULT hr = m_tuner->get_Mode(&value);
  *mode = value;
  return hr;
}

HRESULT CStandardTunerCore::get_InputType(long index, long* type) {
  if (!type) return E_POINTER;
  TunerInputType value = TunerInputCable;
  const HRESULT hr = m_tuner->get_InputType(index, &value);
  *type = value;
  return hr;
}

HRESULT CStandardTunerCore::put_InputType(long index, long type) {
  return m_tuner->put_InputType(index, type ? TunerInputAntenna : TunerInputCable);
}

HRESULT CStandardTunerCore::put_VideoFrequency(long hz) {
  plat::ComPtr<IKsPropertySet> properties;
  HRESULT hr = m_tuner.queryInterface(IID_IKsPropertySet, properties);
  if (FAILED(hr)) return hr;
  DWORD support = 0;
  KSPROPERTY_TUNER_MODE_CAPS_S caps{};
  caps.Mode = AMTUNER_MODE_TV;
  if (SUCCEEDED(properties->QuerySupported(PROPSETID_TUNER, KSPROPERTY_TUNER_MODE_CAPS, &support)) &&
      (support & KSPROPERTY_SUPPORT_GET)) {
    DWORD returned = 0;
    hr = properties->Get(PROPSETID_TUNER, KSPROPERTY_TUNER_MODE_CAPS, nullptr, 0, &caps, sizeof(caps), &returned);
    if (FAILED(hr)) return hr;
    if (hz < 0 || static_cast<ULONG>(hz) < caps.MinFrequency || static_cast<ULONG>(hz) > caps.MaxFrequency) return E_FAIL;
  }
  KSPROPERTY_TUNER_FREQUENCY_S frequency{};
  frequency.Frequency = static_cast<ULONG>(hz);
  frequency.TuningFlags = caps.Strategy == KS_TUNER_STRATEGY_DRIVER_TUNES ? KS_TUNER_TUNING_FINE : KS_TUNER_TUNING_EXACT;
  return properties->Set(PROPSETID_TUNER, KSPROPERTY_TUNER_FREQUENCY, nullptr, 0, &frequency, sizeof(frequency));
}
