#include <vendor/still_capture/CQnStillCaptureFilter.h>

#include <vendor/still_capture/CBitmapFileWriter.h>
#include <vendor/still_capture/QnStillCap.h>

#include <com/objbase.h>
#include <dshow/AnsiText.h>

#include <cstring>
#include <new>

CUnknown* WINAPI CQnStillCaptureFilter::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
  auto* filter = new (std::nothrow) CQnStillCaptureFilter(pUnk, phr);
  if (!filter && phr) *phr = E_OUTOFMEMORY;
  return filter;
}

CQnStillCaptureFilter::CQnStillCaptureFilter(LPUNKNOWN pUnk, HRESULT* phr)
    : CBaseFilter("Quarnelix StillCapture", pUnk, &m_lock, CLSID_QnStillCapture, phr),
      m_pin(std::make_unique<CQnStillCaptureInputPin>(this, &m_lock, phr)) {}

CQnStillCaptureFilter::~CQnStillCaptureFilter() = default;

STDMETHODIMP CQnStillCaptureFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IFileSinkFilter) return GetInterface(static_cast<IFileSinkFilter*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* CQnStillCaptureFilter::GetPin(int n) { return n == 0 ? m_pin.get() : nullptr; }

STDMETHODIMP CQnStillCaptureFilter::Stop() {
  const HRESULT hr = CBaseFilter::Stop();
  std::lock_guard guard(m_fileLock);
  m_written = false;
  m_paused.clear();
  return hr;
}

STDMETHODIMP CQnStillCaptureFilter::Run(REFERENCE_TIME tStart) {
  // Held across the state change, so a picture arriving the moment the filter runs cannot
  // be written before the one kept while paused.
  std::lock_guard guard(m_fileLock);
  const HRESULT hr = CBaseFilter::Run(tStart);
  if (SUCCEEDED(hr) && !m_paused.empty()) writeOnce(m_paused.data(), static_cast<long>(m_paused.size()), m_pausedType);
  m_paused.clear();
  return hr;
}

STDMETHODIMP CQnStillCaptureFilter::SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE*) {
  CheckPointer(pszFileName, E_POINTER);
  std::lock_guard guard(m_fileLock);
  m_fileName = pszFileName;
  m_written = false;
  return S_OK;
}

STDMETHODIMP CQnStillCaptureFilter::GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) {
  CheckPointer(ppszFileName, E_POINTER);
  *ppszFileName = nullptr;
  if (pmt) std::memset(pmt, 0, sizeof(*pmt));
  std::lock_guard guard(m_fileLock);
  if (m_fileName.empty()) return E_FAIL;
  const size_t bytes = (m_fileName.size() + 1) * sizeof(WCHAR);
  *ppszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*ppszFileName) return E_OUTOFMEMORY;
  std::memcpy(*ppszFileName, m_fileName.c_str(), bytes);
  return S_OK;
}

void CQnStillCaptureFilter::receive(IMediaSample* sample, const CMediaType& type) {
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data))) return;
  const long length = sample->GetActualDataLength();
  std::lock_guard guard(m_fileLock);
  if (m_State == State_Running) {
    writeOnce(data, length, type);
  } else if (m_paused.empty()) {
    m_paused.assign(data, data + length);
    m_pausedType = type;
  }
}

void CQnStillCaptureFilter::writeOnce(const BYTE* data, long length, const CMediaType& type) {
  if (m_written || m_fileName.empty()) return;
  const auto& format = *reinterpret_cast<const VIDEOINFOHEADER*>(type.Format());
  m_written = CBitmapFileWriter::write(plat::AnsiText::fromWide(m_fileName).c_str(), data, length, format,
                                       *type.Subtype() == MEDIASUBTYPE_YUY2);
}
