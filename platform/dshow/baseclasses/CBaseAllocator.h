// The allocator protocol shared by every allocator: properties set while decommitted,
// Commit makes the buffers, GetBuffer hands one out (waiting while all are in use),
// a released sample comes back to the free list, Decommit wakes every waiter with
// VFW_E_NOT_COMMITTED and frees the memory once the last outstanding sample is back.
// A callback set with SetNotify is told after each sample came back (outside the lock),
// so a source holding packets back for want of buffers hears that one is free.
//
// Each sample out holds a reference to its allocator, so an allocator lives as long as
// any of its samples. A derived class supplies Alloc (make m_lCount samples) and Free.
#pragma once

#include <dshow/baseclasses/CMediaSample.h>
#include <dshow/baseclasses/CUnknown.h>
#include <dshow/baseclasses/WakeSignal.h>

#include <mutex>
#include <vector>

class CBaseAllocator : public CUnknown, public IMemAllocatorCallbackTemp {
 public:
  CBaseAllocator(const char* pName, LPUNKNOWN pUnk, HRESULT* phr, BOOL bEvent = TRUE,
                 BOOL fEnableReleaseCallback = FALSE);
  ~CBaseAllocator() override;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) override;
  STDMETHODIMP GetProperties(ALLOCATOR_PROPERTIES* pProps) override;
  STDMETHODIMP Commit() override;
  STDMETHODIMP Decommit() override;
  STDMETHODIMP GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME* pStartTime, REFERENCE_TIME* pEndTime,
                         DWORD dwFlags) override;
  STDMETHODIMP ReleaseBuffer(IMediaSample* pBuffer) override;
  STDMETHODIMP SetNotify(IMemAllocatorNotifyCallbackTemp* pNotify) override;
  STDMETHODIMP GetFreeCount(LONG* plBuffersFree) override;

  // Samples currently handed out.
  long OutstandingCount();

 protected:
  // Makes the samples (m_lAllocated of them, all on the free list). Called under the lock.
  virtual HRESULT Alloc();
  // Deletes every sample and its memory; all samples are free. Called under the lock.
  virtual void Free() = 0;
  void AddFreeSample(CMediaSample* sample) { m_lFree.push_back(sample); }
  // Puts m_lCount samples made by make(i) on the free list; when one cannot be made, frees
  // the others again and gives E_OUTOFMEMORY.
  template <class Make>
  HRESULT AddFreeSamples(Make make) {
    for (long i = 0; i < m_lCount; ++i) {
      CMediaSample* sample = make(i);
      if (!sample) {
        Free();
        return E_OUTOFMEMORY;
      }
      AddFreeSample(sample);
      ++m_lAllocated;
    }
    return S_OK;
  }
  // Deletes the samples of the free list, which in Free holds them all.
  void DeleteFreeSamples();

  std::mutex m_lock;
  plat::WakeSignal m_freed;  // a sample came back or the allocator was decommitted
  std::vector<CMediaSample*> m_lFree;
  long m_lAllocated = 0;
  long m_lCount = 0;
  long m_lSize = 0;
  long m_lAlignment = 0;
  long m_lPrefix = 0;
  BOOL m_bChanged = FALSE;
  BOOL m_bCommitted = FALSE;
  BOOL m_bDecommitInProgress = FALSE;
  IMemAllocatorNotifyCallbackTemp* m_pNotify = nullptr;  // counted
};
