// The tuner core of a device with a tuner filter: every operation goes to the filter's
// IAMTVTuner; the video frequency is set through the filter's kernel-streaming tuner
// properties.
#pragma once

#include "CTunerCore.h"

#include <com/ComPtr.h>
#include <dshow/axextend.h>

class CStandardTunerCore final : public CTunerCore {
 public:
  explicit CStandardTunerCore(IAMTVTuner* tuner) : m_tuner(tuner) {}

  HRESULT GetAvailableModes(long* modes) override { return m_tuner->GetAvailableModes(modes); }
  HRESULT get_Mode(long* mode) override;
  HRESULT put_Mode(long mode) override { return m_tuner->put_Mode(static_cast<AMTunerModeType>(mode)); }
  HRESULT get_AvailableTVFormats(long* formats) override { return m_tuner->get_AvailableTVFormats(formats); }
  HRESULT get_TVFormat(long* format) override { return m_tuner->get_TVFormat(format); }
  HRESULT put_TVFormat(long) override { return E_NOTIMPL; }
  HRESULT get_ConnectInput(long* input) override { return m_tuner->get_ConnectInput(input); }
  HRESULT put_ConnectInput(long input) override { return m_tuner->put_ConnectInput(input); }
  HRESULT get_InputType(long index, long* type) override;
  HRESULT put_InputType(long index, long type) override;
  HRESULT get_VideoFrequency(long* hz) override { return m_tuner->get_VideoFrequency(hz); }
  HRESULT put_VideoFrequency(long hz) override;
  HRESULT SignalPresent(long* strength) override { return m_tuner->SignalPresent(strength); }

  IAMTVTuner* DeviceTuner() override { return m_tuner.get(); }

 private:
  plat::ComPtr<IAMTVTuner> m_tuner;
};
