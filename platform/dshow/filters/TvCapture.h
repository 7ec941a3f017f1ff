// The TV stick's capture filter, as its driver offers it: video outputs "Capture" and
// "Preview" (pin categories through IKsPropertySet, formats through IAMStreamConfig), an
// "AudioOut" pin when machine.ini says the stick has one, and the "Analog Video In"
// input that the crossbar's video output is wired to. The filter carries the picture
// controls (IAMVideoProcAmp: out-of-range values refused) and the video decoder
// (IAMAnalogVideoDecoder: the standard, the horizontal lock, which follows the signal).
// Its one property page shows the picture controls (ProcAmpPage).
//
// It is a live source: nothing is captured while paused (GetState answers
// VFW_S_CANT_CUE). Unplugging the stick stops the pictures and reports EC_DEVICE_LOST
// with 0, plugging it in again EC_DEVICE_LOST with 1.
#pragma once

#include <com/ocidl.h>
#include <dshow/axextend.h>
#include <dshow/filters/LiveSource.h>

#include <atomic>

namespace plat {

class AnalogPin;
class CaptureHardware;

class TvCapture : public LiveSource,
                  public IAMVideoProcAmp,
                  public IAMAnalogVideoDecoder,
                  public ISpecifyPropertyPages {
 public:
  TvCapture(LPUNKNOWN outer, HRESULT* phr);
  ~TvCapture() override;
  // The PCI capture card's capture filter: the same pins and controls on the card's
  // hardware, with no analogue input (the card's tuner sits behind its I2C bus).
  static CUnknown* CreateCardInstance(LPUNKNOWN outer, HRESULT* phr);
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override;
  CBasePin* GetPin(int n) override;

  // IAMVideoProcAmp
  STDMETHODIMP GetRange(long Property, long* pMin, long* pMax, long* pSteppingDelta, long* pDefault,
                        long* pCapsFlags) override;
  STDMETHODIMP Set(long Property, long lValue, long Flags) override;
  STDMETHODIMP Get(long Property, long* lValue, long* Flags) override;
  // IAMAnalogVideoDecoder
  STDMETHODIMP get_AvailableTVFormats(long* lAnalogVideoStandard) override;
  STDMETHODIMP put_TVFormat(long lAnalogVideoStandard) override;
  STDMETHODIMP get_TVFormat(long* plAnalogVideoStandard) override;
  STDMETHODIMP get_HorizontalLocked(long* plLocked) override;
  STDMETHODIMP put_VCRHorizontalLocking(long lVCRHorizontalLocking) override;
  STDMETHODIMP get_VCRHorizontalLocking(long* plVCRHorizontalLocking) override;
  STDMETHODIMP get_NumberOfLines(long* plNumberOfLines) override;
  STDMETHODIMP put_OutputEnable(long lOutputEnable) override;
  STDMETHODIMP get_OutputEnable(long* plOutputEnable) override;
  // ISpecifyPropertyPages
  STDMETHODIMP GetPages(CAUUID* pPages) override;

  // Whether the stick is there to capture from; reports a change as EC_DEVICE_LOST.
  bool checkDevice();

 private:
  TvCapture(LPUNKNOWN outer, HRESULT* phr, const char* name, REFCLSID clsid, CaptureHardware& hardware, bool analogIn);

  CaptureHardware& m_stick;
  AnalogPin* m_analogIn;
  std::atomic<bool> m_present;
  long m_vcrLocking = 0;
  long m_outputEnable = -1;  // OATRUE
};

}  // namespace plat
