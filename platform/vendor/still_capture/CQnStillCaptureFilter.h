// The still capture filter: one video input and IFileSinkFilter. The first picture that
// arrives while the filter runs is written to the file name set, as a 24-bit bitmap;
// later pictures are ignored until the name is set again or the filter is stopped.
// Sources deliver while the graph is still paused, so, as a renderer shows the picture
// it was paused on, the first picture received while paused is kept and written when
// the filter starts running.
#pragma once

#include <vendor/still_capture/CQnStillCaptureInputPin.h>

#include <dshow/baseclasses/streams.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CQnStillCaptureFilter : public CBaseFilter, public IFileSinkFilter {
 public:
  static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);
  ~CQnStillCaptureFilter() override;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Run(REFERENCE_TIME tStart) override;

  // IFileSinkFilter
  STDMETHODIMP SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) override;

  // From the input pin, on the streaming thread.
  void receive(IMediaSample* sample, const CMediaType& type);

 private:
  CQnStillCaptureFilter(LPUNKNOWN pUnk, HRESULT* phr);

  // Writes the picture unless one was written already; m_fileLock held.
  void writeOnce(const BYTE* data, long length, const CMediaType& type);

  CCritSec m_lock;
  std::unique_ptr<CQnStillCaptureInputPin> m_pin;
  std::mutex m_fileLock;
  std::wstring m_fileName;
  bool m_written = false;
  std::vector<BYTE> m_paused;  // the first picture received while paused
  CMediaType m_pausedType;
};
