#include <vendor/capture_driver/CardObjects.h>

#include <machine/CaptureCard.h>
#include <machine/Machine.h>

#include <new>

namespace plat {

namespace {

CaptureCard& card() { return Machine::current().service<CaptureCard>(); }

// Hands out a new object's IUnknown with one reference.
template <class T>
HRESULT giveNew(IUnknown** out) {
  if (!out) return E_POINTER;
  T* object = new (std::nothrow) T();
  if (!object) return E_OUTOFMEMORY;
  return object->NonDelegatingQueryInterface(IID_IUnknown, reinterpret_cast<void**>(out));
}

}  // namespace

CUnknown* CardDeviceList::CreateInstance(LPUNKNOWN outer, HRESULT* phr) {
  return new (std::nothrow) CardDeviceList(outer, phr);
}

STDMETHODIMP CardDeviceList::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_ICardDeviceList) return GetInterface(static_cast<ICardDeviceList*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CardDeviceList::GetDeviceCount(long* count) {
  if (!count) return E_POINTER;
  *count = card().present() ? 1 : 0;
  return S_OK;
}

STDMETHODIMP CardDeviceList::GetDevice(long index, IUnknown** device) {
  if (!device) return E_POINTER;
  *device = nullptr;
  if (index != 0 || !card().present()) return E_INVALIDARG;
  return giveNew<CardDevice>(device);
}

STDMETHODIMP CardDevice::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_ICardDevice) return GetInterface(static_cast<ICardDevice*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CardDevice::GetBus(IUnknown** bus) { return giveNew<CardBus>(bus); }

STDMETHODIMP CardDevice::GetGpio(IUnknown** gpio) { return giveNew<CardGpio>(gpio); }

STDMETHODIMP CardBus::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_ICardI2C) return GetInterface(static_cast<ICardI2C*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CardBus::SetDeviceAddress(BYTE address) {
  m_address = address;
  return S_OK;
}

STDMETHODIMP CardBus::Write(const BYTE* data, long length) {
  if (!data || length <= 0) return E_INVALIDARG;
  card().writeI2C(m_address, data, static_cast<std::size_t>(length));
  return S_OK;
}

STDMETHODIMP CardGpio::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_ICardGpio) return GetInterface(static_cast<ICardGpio*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CardGpio::SetDirection(long line, long direction) {
  if (line < 0 || line >= CaptureCard::kGpioLines) return E_INVALIDARG;
  card().setLineDirection(static_cast<int>(line), static_cast<int>(direction));
  return S_OK;
}

STDMETHODIMP CardGpio::ReadLine(long line, long* value) {
  if (!value) return E_POINTER;
  int bit = 0;
  if (!card().readLine(static_cast<int>(line), &bit)) return E_INVALIDARG;
  *value = bit;
  return S_OK;
}

}  // namespace plat
