// A source filter: the container of its output pins (CSourceStream), each of which
// pushes samples from a thread of its own. Pins add themselves when constructed and
// are deleted with the filter.
#pragma once

#include <dshow/baseclasses/CBaseFilter.h>

#include <vector>

class CSourceStream;

class CSource : public CBaseFilter {
 public:
  CSource(const char* pName, LPUNKNOWN lpunk, CLSID clsid, HRESULT* phr);
  CSource(const char* pName, LPUNKNOWN lpunk, CLSID clsid);
  ~CSource() override;

  int GetPinCount() override;
  CBasePin* GetPin(int n) override;
  STDMETHODIMP FindPin(LPCWSTR Id, IPin** ppPin) override;

  CCritSec* pStateLock() { return &m_cStateLock; }
  HRESULT AddPin(CSourceStream* pStream);
  HRESULT RemovePin(CSourceStream* pStream);

 protected:
  std::vector<CSourceStream*> m_paStreams;
  CCritSec m_cStateLock;
};
