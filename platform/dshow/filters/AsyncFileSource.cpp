#include <dshow/filters/AsyncFileSource.h>

#include <com/objbase.h>
#include <dshow/AnsiText.h>
#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/mediafiles.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>
#include <machine/Machine.h>

#include <cwchar>
#include <new>

namespace plat {

AsyncFileSource::AsyncFileSource(const char* name, LPUNKNOWN outer, REFCLSID clsid, HRESULT* phr)
    : CBaseFilter(name, outer, &m_lock, clsid, phr), m_pin(std::make_unique<AsyncOutputPin>(this, &m_lock)) {}

AsyncFileSource::~AsyncFileSource() = default;

CUnknown* AsyncFileSource::CreateInstance(LPUNKNOWN outer, HRESULT* phr) {
  return new (std::nothrow) AsyncFileSource("File source", outer, CLSID_AsyncReader, phr);
}

STDMETHODIMP AsyncFileSource::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IFileSourceFilter) return GetInterface(static_cast<IFileSourceFilter*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* AsyncFileSource::GetPin(int n) { return n == 0 ? m_pin.get() : nullptr; }

STDMETHODIMP AsyncFileSource::Load(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) {
  CheckPointer(pszFileName, E_POINTER);
  CAutoLock lock(&m_lock);
  if (m_pin->IsConnected()) return VFW_E_ALREADY_CONNECTED;
  const std::wstring name(pszFileName);
  const auto path = Machine::current().paths().toLinux(AnsiText::fromWide(name));
  const HRESULT hr = m_pin->open(path, pmt && pmt->majortype == MEDIATYPE_Stream ? pmt->subtype : GUID_NULL);
  if (FAILED(hr)) return hr;
  m_fileName = name;
  return S_OK;
}

STDMETHODIMP AsyncFileSource::GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) {
  CheckPointer(ppszFileName, E_POINTER);
  CAutoLock lock(&m_lock);
  *ppszFileName = nullptr;
  if (m_fileName.empty()) return S_OK;
  const size_t bytes = (m_fileName.size() + 1) * sizeof(WCHAR);
  *ppszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*ppszFileName) return E_OUTOFMEMORY;
  std::wmemcpy(*ppszFileName, m_fileName.c_str(), m_fileName.size() + 1);
  if (pmt) {
    CMediaType type;
    m_pin->GetMediaType(0, &type);
    return CopyMediaType(pmt, &type);
  }
  return S_OK;
}

bool AsyncFileSource::recognised() {
  CAutoLock lock(&m_lock);
  return m_pin->subtype() != GUID_NULL;
}

}  // namespace plat
