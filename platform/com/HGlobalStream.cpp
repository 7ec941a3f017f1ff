#include <com/HGlobalStream.h>
#include <com/globalmem.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace plat {

HGlobalStream::Contents::~Contents() {
  if (deleteOnRelease) GlobalFree(global);
}

HGlobalStream::HGlobalStream(std::shared_ptr<Contents> contents, ULONGLONG position)
    : m_contents(std::move(contents)), m_position(position) {}

IStream* HGlobalStream::create(HGLOBAL global, bool deleteOnRelease) {
  auto contents = std::make_shared<Contents>();
  contents->global = global;
  contents->deleteOnRelease = deleteOnRelease;
  return new HGlobalStream(std::move(contents), 0);
}

HGLOBAL HGlobalStream::globalOf(IStream* stream) {
  auto* mine = dynamic_cast<HGlobalStream*>(stream);
  if (!mine) return nullptr;
  std::lock_guard guard(mine->m_contents->lock);
  return mine->m_contents->global;
}

STDMETHODIMP HGlobalStream::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
    *ppv = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) HGlobalStream::AddRef() { return m_refs.addRef(); }

STDMETHODIMP_(ULONG) HGlobalStream::Release() {
  ULONG left = m_refs.release();
  if (left == 0) delete this;
  return left;
}

bool HGlobalStream::resize(ULONGLONG size) {
  // A fixed block gets a new handle when it moves; the stream follows it.
  HGLOBAL resized = GlobalReAlloc(m_contents->global, static_cast<SIZE_T>(size), GMEM_MOVEABLE | GMEM_ZEROINIT);
  if (resized) m_contents->global = resized;
  return resized != nullptr;
}

STDMETHODIMP HGlobalStream::Read(void* pv, ULONG cb, ULONG* pcbRead) {
  if (!pv) return STG_E_INVALIDPOINTER;
  std::lock_guard guard(m_contents->lock);
  ULONGLONG size = GlobalSize(m_contents->global);
  ULONG count = m_position >= size ? 0 : static_cast<ULONG>(std::min<ULONGLONG>(cb, size - m_position));
  if (count > 0) {
    auto* bytes = static_cast<const std::byte*>(GlobalLock(m_contents->global));
    std::memcpy(pv, bytes + m_position, count);
    GlobalUnlock(m_contents->global);
    m_position += count;
  }
  if (pcbRead) *pcbRead = count;
  return S_OK;
}

STDMETHODIMP HGlobalStream::Write(const void* pv, ULONG cb, ULONG* pcbWritten) {
  if (pcbWritten) *pcbWritten = 0;
  if (!pv) return STG_E_INVALIDPOINTER;
  if (cb == 0) return S_OK;
  std::lock_guard guard(m_contents->lock);
  ULONGLONG end = m_position + cb;
  if (end > GlobalSize(m_contents->global) && !resize(end)) return STG_E_MEDIUMFULL;
  auto* bytes = static_cast<std::byte*>(GlobalLock(m_contents->global));
  std::memcpy(bytes + m_position, pv, cb);
  GlobalUnlock(m_contents->global);
  m_position = end;
  if (pcbWritten) *pcbWritten = cb;
  return S_OK;
}

STDMETHODIMP HGlobalStream::Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) {
  std::lock_guard guard(m_contents->lock);
  LONGLONG base = 0;
  switch (dwOrigin) {
    case STREAM_SEEK_SET: base = 0; break;
    case STREAM_SEEK_CUR: base = static_cast<LONGLONG>(m_position); break;
    case STREAM_SEEK_END: base = static_cast<LONGLONG>(GlobalSize(m_contents->global)); break;
    default: return STG_E_INVALIDFUNCTION;
  }
  LONGLONG target = base + dlibMove.QuadPart;
  if (target < 0) return STG_E_INVALIDFUNCTION;  // before the start; past the end is allowed
  m_position = static_cast<ULONGLONG>(target);
  if (plibNewPosition) plibNewPosition->QuadPart = m_position;
  return S_OK;
}

STDMETHODIMP HGlobalStream::SetSize(ULARGE_INTEGER libNewSize) {
  std::lock_guard guard(m_contents->lock);
  return resize(libNewSize.QuadPart) ? S_OK : STG_E_MEDIUMFULL;
}

STDMETHODIMP HGlobalStream::CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                   ULARGE_INTEGER* pcbWritten) {
  if (!pstm) return STG_E_INVALIDPOINTER;
  std::vector<std::byte> chunk;
  {
    // Taken out under the lock, written outside it: the target may be a clone of this stream.
    std::lock_guard guard(m_contents->lock);
    ULONGLONG size = GlobalSize(m_contents->global);
    ULONGLONG count = m_position >= size ? 0 : std::min<ULONGLONG>(cb.QuadPart, size - m_position);
    chunk.resize(static_cast<std::size_t>(count));
    if (count > 0) {
      auto* bytes = static_cast<const std::byte*>(GlobalLock(m_contents->global));
      std::memcpy(chunk.data(), bytes + m_position, chunk.size());
      GlobalUnlock(m_contents->global);
      m_position += count;
    }
  }
  ULONG written = 0;
  HRESULT hr = chunk.empty() ? S_OK : pstm->Write(chunk.data(), static_cast<ULONG>(chunk.size()), &written);
  if (pcbRead) pcbRead->QuadPart = chunk.size();
  if (pcbWritten) pcbWritten->QuadPart = written;
  return hr;
}

STDMETHODIMP HGlobalStream::Commit(DWORD) { return S_OK; }

STDMETHODIMP HGlobalStream::Revert() { return S_OK; }

STDMETHODIMP HGlobalStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }

STDMETHODIMP HGlobalStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }

STDMETHODIMP HGlobalStream::Stat(STATSTG* pstatstg, DWORD) {
  if (!pstatstg) return STG_E_INVALIDPOINTER;
  std::lock_guard guard(m_contents->lock);
  *pstatstg = STATSTG{};
  pstatstg->type = STGTY_STREAM;  // unnamed, so pwcsName stays null whatever the flag
  pstatstg->cbSize.QuadPart = GlobalSize(m_contents->global);
  pstatstg->grfMode = STGM_READWRITE;
  return S_OK;
}

STDMETHODIMP HGlobalStream::Clone(IStream** ppstm) {
  if (!ppstm) return STG_E_INVALIDPOINTER;
  std::lock_guard guard(m_contents->lock);
  *ppstm = new HGlobalStream(m_contents, m_position);
  return S_OK;
}

}  // namespace plat
