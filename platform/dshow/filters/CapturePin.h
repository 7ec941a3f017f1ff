// A live output pin of a capture device whose format is chosen through IAMStreamConfig
// and whose category is read through IKsPropertySet. It holds the chosen format (offered
// first on connection) under a lock of its own, taken last with nothing taken under it;
// a derived pin checks and sets formats, and may offer more types after it.
#pragma once

#include <dshow/axextend.h>
#include <dshow/filters/LiveStream.h>
#include <dshow/vfwmsgs.h>

namespace plat {

class CapturePin : public LiveStream, public IAMStreamConfig, public IKsPropertySet {
 public:
  CapturePin(const char* pObjectName, CSource* filter, LPCWSTR name, const GUID& category, const CMediaType& format);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;

  // IAMStreamConfig
  STDMETHODIMP GetFormat(AM_MEDIA_TYPE** ppmt) override;
  // IKsPropertySet
  STDMETHODIMP Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data, DWORD size,
                   DWORD* returned) override;
  STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

 protected:
  // The types offered after the chosen format, from position 1 on; under the format lock.
  virtual HRESULT GetMoreMediaTypes(int, CMediaType*) { return VFW_S_NO_MORE_ITEMS; }
  // The connection's type, or the chosen format while unconnected.
  const CMediaType& currentFormat() { return IsConnected() ? m_mt : m_format; }

  CCritSec m_formatLock;  // over m_format
  CMediaType m_format;

 private:
  GUID m_category;
};

}  // namespace plat
