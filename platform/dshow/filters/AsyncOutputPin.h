// The file source's output pin: the open file as a byte stream, read by the pin
// downstream through IAsyncReader (synchronous reads at any position, or requests
// queued with Request and completed, in order, by WaitForNext). Reads are serialised;
// a flush fails the requests still queued.
#pragma once

#include <dshow/asyncrdr.h>
#include <dshow/baseclasses/CBasePin.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>

namespace plat {

class AsyncOutputPin : public CBasePin, public IAsyncReader {
 public:
  AsyncOutputPin(CBaseFilter* filter, CCritSec* lock);
  ~AsyncOutputPin() override;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // Opens the file (closing one held); the subtype is the one given, or told from the bytes.
  HRESULT open(const std::filesystem::path& path, REFGUID subtype);
  GUID subtype() const { return m_subtype; }

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  HRESULT CheckConnect(IPin* pPin) override;

  // IAsyncReader (its flushes are also the pin's)
  STDMETHODIMP RequestAllocator(IMemAllocator* pPreferred, ALLOCATOR_PROPERTIES* pProps,
                                IMemAllocator** ppActual) override;
  STDMETHODIMP Request(IMediaSample* pSample, DWORD_PTR dwUser) override;
  STDMETHODIMP WaitForNext(DWORD dwTimeout, IMediaSample** ppSample, DWORD_PTR* pdwUser) override;
  STDMETHODIMP SyncReadAligned(IMediaSample* pSample) override;
  STDMETHODIMP SyncRead(LONGLONG llPosition, LONG lLength, BYTE* pBuffer) override;
  STDMETHODIMP Length(LONGLONG* pTotal, LONGLONG* pAvailable) override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  struct Pending {
    IMediaSample* sample;  // counted
    DWORD_PTR user;
  };

  // Reads into the sample the byte range its times name; S_FALSE when cut short by the end.
  HRESULT readInto(IMediaSample* sample);

  std::mutex m_fileLock;
  std::unique_ptr<std::FILE, FileCloser> m_file;
  LONGLONG m_length = 0;
  GUID m_subtype{};
  std::deque<Pending> m_pending;
  bool m_flushing = false;
};

}  // namespace plat
