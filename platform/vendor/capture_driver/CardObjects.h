// The objects of the capture card driver: the device list, a card, its I2C bus and its
// GPIO lines, all over the machine's CaptureCard. Small, so they share one header.
#pragma once

#include <dshow/baseclasses/CUnknown.h>
#include <vendor/capture_driver/CardDriver.h>

namespace plat {

class CardDeviceList final : public CUnknown, public ICardDeviceList {
 public:
  CardDeviceList(LPUNKNOWN outer, HRESULT* phr) : CUnknown("Card device list", outer, phr) {}
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP GetDeviceCount(long* count) override;
  STDMETHODIMP GetDevice(long index, IUnknown** device) override;
};

class CardDevice final : public CUnknown, public ICardDevice {
 public:
  CardDevice() : CUnknown("Card device", nullptr) {}
  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP GetBus(IUnknown** bus) override;
  STDMETHODIMP GetGpio(IUnknown** gpio) override;
};

class CardBus final : public CUnknown, public ICardI2C {
 public:
  CardBus() : CUnknown("Card I2C bus", nullptr) {}
  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP SetDeviceAddress(BYTE address) override;
  STDMETHODIMP Write(const BYTE* data, long length) override;

 private:
  BYTE m_address = 0;
};

class CardGpio final : public CUnknown, public ICardGpio {
 public:
  CardGpio() : CUnknown("Card GPIO", nullptr) {}
  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP SetDirection(long line, long direction) override;
  STDMETHODIMP ReadLine(long line, long* value) override;
};

}  // namespace plat
