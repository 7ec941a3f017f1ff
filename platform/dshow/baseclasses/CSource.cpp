#include <dshow/baseclasses/CSource.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CSourceStream.h>

#include <algorithm>

CSource::CSource(const char* pName, LPUNKNOWN lpunk, CLSID clsid, HRESULT* phr)
    : CBaseFilter(pName, lpunk, &m_cStateLock, clsid, phr) {}

CSource::CSource(const char* pName, LPUNKNOWN lpunk, CLSID clsid) : CBaseFilter(pName, lpunk, &m_cStateLock, clsid) {}

CSource::~CSource() {
  // Each stream removes itself from the list as it goes.
  while (!m_paStreams.empty()) delete m_paStreams.back();
}

int CSource::GetPinCount() {
  CAutoLock lock(&m_cStateLock);
  return static_cast<int>(m_paStreams.size());
}

CBasePin* CSource::GetPin(int n) {
  CAutoLock lock(&m_cStateLock);
  if (n < 0 || n >= static_cast<int>(m_paStreams.size())) return nullptr;
  return m_paStreams[static_cast<size_t>(n)];
}

STDMETHODIMP CSource::FindPin(LPCWSTR Id, IPin** ppPin) { return CBaseFilter::FindPin(Id, ppPin); }

HRESULT CSource::AddPin(CSourceStream* pStream) {
  CAutoLock lock(&m_cStateLock);
  m_paStreams.push_back(pStream);
  IncrementPinVersion();
  return S_OK;
}

HRESULT CSource::RemovePin(CSourceStream* pStream) {
  CAutoLock lock(&m_cStateLock);
  auto it = std::find(m_paStreams.begin(), m_paStreams.end(), pStream);
  if (it == m_paStreams.end()) return S_FALSE;
  m_paStreams.erase(it);
  IncrementPinVersion();
  return S_OK;
}
