#include <dshow/filters/AsyncOutputPin.h>

#include <dshow/baseclasses/CMemAllocator.h>
#include <dshow/filters/FileStreamType.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>

#include <vector>

namespace plat {

namespace {
constexpr LONGLONG kUnitsPerByte = 10'000'000;
}

AsyncOutputPin::AsyncOutputPin(CBaseFilter* filter, CCritSec* lock)
    : CBasePin("Async output pin", filter, lock, nullptr, L"Output", PINDIR_OUTPUT) {}

AsyncOutputPin::~AsyncOutputPin() { BeginFlush(); }

STDMETHODIMP AsyncOutputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IAsyncReader) return GetInterface(static_cast<IAsyncReader*>(this), ppv);
  return CBasePin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT AsyncOutputPin::open(const std::filesystem::path& path, REFGUID subtype) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  std::vector<std::uint8_t> head(FileStreamType::kHeadSize);
  head.resize(std::fread(head.data(), 1, head.size(), file.get()));
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return E_FAIL;
  std::lock_guard lock(m_fileLock);
  m_length = std::ftell(file.get());
  m_file = std::move(file);
  m_subtype = subtype != GUID_NULL ? subtype : FileStreamType::of(head.data(), head.size());
  return S_OK;
}

HRESULT AsyncOutputPin::CheckMediaType(const CMediaType* pmt) {
  if (*pmt->Type() != MEDIATYPE_Stream) return S_FALSE;
  return *pmt->Subtype() == GUID_NULL || *pmt->Subtype() == m_subtype ? S_OK : S_FALSE;
}

HRESULT AsyncOutputPin::GetMediaType(int iPosition, CMediaType* pMediaType) {
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  pMediaType->InitMediaType();
  pMediaType->SetType(&MEDIATYPE_Stream);
  pMediaType->SetSubtype(&m_subtype);
  pMediaType->SetSampleSize(1);
  return S_OK;
}

HRESULT AsyncOutputPin::CheckConnect(IPin* pPin) {
  if (!m_file) return VFW_E_NOT_CONNECTED;  // nothing loaded yet
  return CBasePin::CheckConnect(pPin);
}

STDMETHODIMP AsyncOutputPin::RequestAllocator(IMemAllocator* pPreferred, ALLOCATOR_PROPERTIES* pProps,
                                              IMemAllocator** ppActual) {
  CheckPointer(pProps, E_POINTER);
  CheckPointer(ppActual, E_POINTER);
  *ppActual = nullptr;
  IMemAllocator* allocator = pPreferred;
  if (allocator) {
    allocator->AddRef();
  } else {
    const HRESULT hr = CreateMemoryAllocator(&allocator);
    if (FAILED(hr)) return hr;
  }
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = allocator->SetProperties(pProps, &actual);
  if (FAILED(hr)) {
    allocator->Release();
    return hr;
  }
  *ppActual = allocator;
  return S_OK;
}

STDMETHODIMP AsyncOutputPin::Request(IMediaSample* pSample, DWORD_PTR dwUser) {
  CheckPointer(pSample, E_POINTER);
  REFERENCE_TIME start = 0, stop = 0;
  if (FAILED(pSample->GetTime(&start, &stop))) return VFW_E_SAMPLE_TIME_NOT_SET;
  std::lock_guard lock(m_fileLock);
  if (m_flushing) return VFW_E_WRONG_STATE;
  if (start < 0 || start / kUnitsPerByte >= m_length) return HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);
  pSample->AddRef();
  m_pending.push_back({pSample, dwUser});
  return S_OK;
}

STDMETHODIMP AsyncOutputPin::WaitForNext(DWORD, IMediaSample** ppSample, DWORD_PTR* pdwUser) {
  CheckPointer(ppSample, E_POINTER);
  CheckPointer(pdwUser, E_POINTER);
  *ppSample = nullptr;
  *pdwUser = 0;
  Pending next{};
  {
    std::lock_guard lock(m_fileLock);
    if (m_pending.empty()) return m_flushing ? VFW_E_WRONG_STATE : VFW_E_TIMEOUT;
    next = m_pending.front();
    m_pending.pop_front();
  }
  *ppSample = next.sample;  // the request's reference goes to the caller
  *pdwUser = next.user;
  return readInto(next.sample);
}

STDMETHODIMP AsyncOutputPin::SyncReadAligned(IMediaSample* pSample) {
  CheckPointer(pSample, E_POINTER);
  return readInto(pSample);
}

HRESULT AsyncOutputPin::readInto(IMediaSample* sample) {
  REFERENCE_TIME start = 0, stop = 0;
  if (FAILED(sample->GetTime(&start, &stop))) return VFW_E_SAMPLE_TIME_NOT_SET;
  const LONGLONG position = start / kUnitsPerByte;
  const LONGLONG wanted = std::min<LONGLONG>((stop - start) / kUnitsPerByte, sample->GetSize());
  BYTE* buffer = nullptr;
  sample->GetPointer(&buffer);
  std::lock_guard lock(m_fileLock);
  if (!m_file || position < 0 || wanted < 0) return E_INVALIDARG;
  const LONGLONG length = std::max<LONGLONG>(0, std::min(wanted, m_length - position));
  if (std::fseek(m_file.get(), static_cast<long>(position), SEEK_SET) != 0) return E_FAIL;
  const auto read = static_cast<LONGLONG>(std::fread(buffer, 1, static_cast<size_t>(length), m_file.get()));
  sample->SetActualDataLength(static_cast<long>(read));
  return read == wanted ? S_OK : S_FALSE;
}

STDMETHODIMP AsyncOutputPin::SyncRead(LONGLONG llPosition, LONG lLength, BYTE* pBuffer) {
  CheckPointer(pBuffer, E_POINTER);
  std::lock_guard lock(m_fileLock);
  if (!m_file) return VFW_E_NOT_CONNECTED;
  if (llPosition < 0 || lLength < 0) return E_INVALIDARG;
  if (std::fseek(m_file.get(), static_cast<long>(llPosition), SEEK_SET) != 0) return E_FAIL;
  const size_t read = std::fread(pBuffer, 1, static_cast<size_t>(lLength), m_file.get());
  return read == static_cast<size_t>(lLength) ? S_OK : S_FALSE;
}

STDMETHODIMP AsyncOutputPin::Length(LONGLONG* pTotal, LONGLONG* pAvailable) {
  CheckPointer(pTotal, E_POINTER);
  CheckPointer(pAvailable, E_POINTER);
  std::lock_guard lock(m_fileLock);
  *pTotal = *pAvailable = m_length;
  return m_file ? S_OK : VFW_E_NOT_CONNECTED;
}

STDMETHODIMP AsyncOutputPin::BeginFlush() {
  std::lock_guard lock(m_fileLock);
  m_flushing = true;
  for (const Pending& pending : m_pending) pending.sample->Release();
  m_pending.clear();
  return S_OK;
}

STDMETHODIMP AsyncOutputPin::EndFlush() {
  std::lock_guard lock(m_fileLock);
  m_flushing = false;
  return S_OK;
}

}  // namespace plat
