// One buffer of an allocator, handed downstream as IMediaSample: a pointer into the
// allocator's memory, the valid length, stream and media times and the flags (sync
// point, preroll, discontinuity, type change). When its last reference goes it returns
// to its allocator instead of being deleted.
#pragma once

#include <dshow/baseclasses/CMediaType.h>

#include <atomic>

class CBaseAllocator;

class CMediaSample : public IMediaSample {
 public:
  CMediaSample(const char* pName, CBaseAllocator* pAllocator, HRESULT* phr, LPBYTE pBuffer = nullptr, LONG length = 0);
  virtual ~CMediaSample();
  CMediaSample(const CMediaSample&) = delete;
  CMediaSample& operator=(const CMediaSample&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  HRESULT SetPointer(BYTE* ptr, LONG cBytes);

  STDMETHODIMP GetPointer(BYTE** ppBuffer) override;
  STDMETHODIMP_(long) GetSize() override;
  STDMETHODIMP GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
  STDMETHODIMP SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
  STDMETHODIMP IsSyncPoint() override;
  STDMETHODIMP SetSyncPoint(BOOL bIsSyncPoint) override;
  STDMETHODIMP IsPreroll() override;
  STDMETHODIMP SetPreroll(BOOL bIsPreroll) override;
  STDMETHODIMP_(long) GetActualDataLength() override;
  STDMETHODIMP SetActualDataLength(long length) override;
  STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** ppMediaType) override;
  STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* pMediaType) override;
  STDMETHODIMP IsDiscontinuity() override;
  STDMETHODIMP SetDiscontinuity(BOOL bDiscontinuity) override;
  STDMETHODIMP GetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) override;
  STDMETHODIMP SetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) override;

 protected:
  friend class CBaseAllocator;

  enum : DWORD {
    Sample_SyncPoint = 0x01,
    Sample_Preroll = 0x02,
    Sample_Discontinuity = 0x04,
    Sample_TypeChanged = 0x08,
    Sample_TimeValid = 0x10,
    Sample_MediaTimeValid = 0x20,
    Sample_StopValid = 0x100,
  };

  // Back to a fresh state as the allocator hands the buffer out again.
  void ResetForReuse();

  DWORD m_dwFlags = 0;
  LPBYTE m_pBuffer;
  LONG m_lActual = 0;
  LONG m_cbBuffer;
  CBaseAllocator* m_pAllocator;
  REFERENCE_TIME m_Start = 0;
  REFERENCE_TIME m_End = 0;
  LONGLONG m_MediaStart = 0;
  LONGLONG m_MediaEnd = 0;
  AM_MEDIA_TYPE* m_pMediaType = nullptr;
  std::atomic<LONG> m_cRef{0};
};
