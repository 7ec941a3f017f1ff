// The tuner operations that depend on the hardware: modes, TV formats, inputs, video
// frequency and the signal. A standard core forwards them to the device's tuner filter,
// a custom core answers from its own record and programs the tuner chip itself.
#pragma once

#include <win32/types.h>

struct IAMTVTuner;

class CTunerCore {
 public:
  virtual ~CTunerCore() = default;

  virtual HRESULT GetAvailableModes(long* modes) = 0;
  virtual HRESULT get_Mode(long* mode) = 0;
  virtual HRESULT put_Mode(long mode) = 0;
  virtual HRESULT get_AvailableTVFormats(long* formats) = 0;
  virtual HRESULT get_TVFormat(long* format) = 0;
  virtual HRESULT put_TVFormat(long format) = 0;
  virtual HRESULT get_ConnectInput(long* input) = 0;
  virtual HRESULT put_ConnectInput(long input) = 0;
  virtual HRESULT get_InputType(long index, long* type) = 0;
  virtual HRESULT put_InputType(long index, long type) = 0;
  virtual HRESULT get_VideoFrequency(long* hz) = 0;
  virtual HRESULT put_VideoFrequency(long hz) = 0;
  virtual HRESULT SignalPresent(long* strength) = 0;

  // The device's tuner filter the core forwards to; null for a custom core.
  virtual IAMTVTuner* DeviceTuner() { return nullptr; }
};
