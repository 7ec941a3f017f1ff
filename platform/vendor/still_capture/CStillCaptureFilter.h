// The still capture filter: one video input and IFileSinkFilter. The first picture that
// arrives while the filter runs is written to the file name set, as a 24-bit bitmap;
// later pictures are ignored until the name is set again or the filter is stopped.
#pragma once

#include <vendor/still_capture/CStillCaptureInputPin.h>

#include <dshow/baseclasses/streams.h>

#include <memory>
#include <mutex>
#include <string>

class CStillCaptureFilter : public CBaseFilter, public IFileSinkFilter {
 public:
  static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);
  ~CStillCaptureFilter() override;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;
  STDMETHODIMP Stop() override;

  // IFileSinkFilter
  STDMETHODIMP SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) override;

  // From the input pin, on the streaming thread.
  void receive(IMediaSample* sample, const CMediaType& type);

 private:
  CStillCaptureFilter(LPUNKNOWN pUnk, HRESULT* phr);

  CCritSec m_lock;
  std::unique_ptr<CStillCaptureInputPin> m_pin;
  std::mutex m_fileLock;
  std::wstring m_fileName;
  bool m_written = false;
};
