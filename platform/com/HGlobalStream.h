// A stream over a global memory block (CreateStreamOnHGlobal). The block is the
// stream's contents: writing past the end grows it, SetSize resizes it, and
// GetHGlobalFromStream hands it back. Clones share the block and keep their own seek
// position; the block is freed with the last of them when the creator asked for that.
#pragma once

#include <com/RefCount.h>
#include <com/objidl.h>

#include <memory>
#include <mutex>

namespace plat {

class HGlobalStream final : public IStream {
 public:
  // A new stream holding one reference, for the caller.
  static IStream* create(HGLOBAL global, bool deleteOnRelease);
  // The block behind a stream of this kind; null for any other stream.
  static HGLOBAL globalOf(IStream* stream);

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP Read(void* pv, ULONG cb, ULONG* pcbRead) override;
  STDMETHODIMP Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;
  STDMETHODIMP Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) override;
  STDMETHODIMP SetSize(ULARGE_INTEGER libNewSize) override;
  STDMETHODIMP CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) override;
  STDMETHODIMP Commit(DWORD grfCommitFlags) override;
  STDMETHODIMP Revert() override;
  STDMETHODIMP LockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) override;
  STDMETHODIMP UnlockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) override;
  STDMETHODIMP Stat(STATSTG* pstatstg, DWORD grfStatFlag) override;
  STDMETHODIMP Clone(IStream** ppstm) override;

 private:
  // What clones share: the block and the lock over its contents.
  struct Contents {
    HGLOBAL global;
    bool deleteOnRelease;
    std::mutex lock;
    ~Contents();
  };

  HGlobalStream(std::shared_ptr<Contents> contents, ULONGLONG position);
  ~HGlobalStream() = default;
  // Under the contents lock.
  bool resize(ULONGLONG size);

  RefCount m_refs;
  std::shared_ptr<Contents> m_contents;
  ULONGLONG m_position;  // guarded by m_contents->lock
};

}  // namespace plat
