#include <dshow/filters/FileWriter.h>

#include <com/objbase.h>
#include <dshow/AnsiText.h>
#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CBaseInputPin.h>
#include <dshow/evcode.h>
#include <machine/Machine.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace plat {

namespace {
const AMOVIESETUP_MEDIATYPE kTypes[] = {{&MEDIATYPE_Stream, &GUID_NULL}};
const AMOVIESETUP_PIN kPins[] = {{L"in", TRUE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kTypes}};
}  // namespace

const AMOVIESETUP_FILTER FileWriter::kSetup = {&CLSID_FileWriter, L"File writer", MERIT_DO_NOT_USE, 1, kPins};

// The input: samples through IMemInputPin, random access through IStream.
class FileWriter::InputPin : public CBaseInputPin, public IStream {
 public:
  explicit InputPin(FileWriter* writer) : CBaseInputPin("File writer input", writer, &writer->m_lock, nullptr, L"in"), m_writer(writer) {}

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IStream) return GetInterface(static_cast<IStream*>(this), ppv);
    if (riid == IID_ISequentialStream) return GetInterface(static_cast<ISequentialStream*>(this), ppv);
    return CBaseInputPin::NonDelegatingQueryInterface(riid, ppv);
  }

  HRESULT CheckMediaType(const CMediaType* pmt) override { return *pmt->Type() == MEDIATYPE_Stream ? S_OK : S_FALSE; }

  STDMETHODIMP Receive(IMediaSample* sample) override {
    HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    std::unique_lock guard(m_writer->m_fileLock);
    const ULONGLONG position = SUCCEEDED(sample->GetTime(&start, &stop)) ? static_cast<ULONGLONG>(start) : m_writer->m_position;
    guard.unlock();
    return m_writer->writeAt(position, data, static_cast<ULONG>(sample->GetActualDataLength()));
  }
  STDMETHODIMP EndOfStream() override {
    {
      std::lock_guard guard(m_writer->m_fileLock);
      if (m_writer->m_file) std::fflush(m_writer->m_file);
    }
    m_writer->m_endOfStream = true;
    if (m_writer->m_State == State_Running) m_writer->NotifyEvent(EC_COMPLETE, S_OK, 0);
    return S_OK;
  }

  // ISequentialStream / IStream
  STDMETHODIMP Read(void*, ULONG, ULONG*) override { return STG_E_INVALIDFUNCTION; }
  STDMETHODIMP Write(const void* pv, ULONG cb, ULONG* pcbWritten) override {
    CheckPointer(pv, E_POINTER);
    ULONGLONG position;
    {
      std::lock_guard guard(m_writer->m_fileLock);
      position = m_writer->m_position;
    }
    const HRESULT hr = m_writer->writeAt(position, static_cast<const BYTE*>(pv), cb);
    if (pcbWritten) *pcbWritten = SUCCEEDED(hr) ? cb : 0;
    return hr;
  }
  STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
    std::lock_guard guard(m_writer->m_fileLock);
    LONGLONG base = 0;
    if (origin == STREAM_SEEK_CUR) base = static_cast<LONGLONG>(m_writer->m_position);
    else if (origin == STREAM_SEEK_END) base = static_cast<LONGLONG>(m_writer->m_size);
    else if (origin != STREAM_SEEK_SET) return STG_E_INVALIDFUNCTION;
    if (base + move.QuadPart < 0) return STG_E_INVALIDFUNCTION;
    m_writer->m_position = static_cast<ULONGLONG>(base + move.QuadPart);
    if (newPosition) newPosition->QuadPart = m_writer->m_position;
    return S_OK;
  }
  STDMETHODIMP SetSize(ULARGE_INTEGER) override { return S_OK; }
  STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
  STDMETHODIMP Commit(DWORD) override {
    std::lock_guard guard(m_writer->m_fileLock);
    if (m_writer->m_file) std::fflush(m_writer->m_file);
    // Once the writer stopped, a commit is the multiplexer's last word: let the file go.
    if (m_writer->m_State == State_Stopped) m_writer->close();
    return S_OK;
  }
  STDMETHODIMP Revert() override { return E_NOTIMPL; }
  STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  STDMETHODIMP Stat(STATSTG* pstatstg, DWORD) override {
    CheckPointer(pstatstg, E_POINTER);
    std::lock_guard guard(m_writer->m_fileLock);
    *pstatstg = STATSTG{};
    pstatstg->type = STGTY_STREAM;
    pstatstg->cbSize.QuadPart = m_writer->m_size;
    return S_OK;
  }
  STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

 private:
  FileWriter* m_writer;
};

FileWriter::FileWriter(LPUNKNOWN outer, HRESULT* phr)
    : CBaseFilter("File writer", outer, &m_lock, CLSID_FileWriter, phr), m_pin(std::make_unique<InputPin>(this)) {}

FileWriter::~FileWriter() {
  std::lock_guard guard(m_fileLock);
  close();
}

CUnknown* FileWriter::CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new (std::nothrow) FileWriter(outer, phr); }

STDMETHODIMP FileWriter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IFileSinkFilter) return GetInterface(static_cast<IFileSinkFilter*>(this), ppv);
  if (riid == IID_IAMFilterMiscFlags) return GetInterface(static_cast<IAMFilterMiscFlags*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* FileWriter::GetPin(int n) { return n == 0 ? m_pin.get() : nullptr; }

HRESULT FileWriter::open(bool truncate) {
  if (m_file) return S_OK;
  if (m_fileName.empty()) return E_UNEXPECTED;
  const auto path = Machine::current().paths().toLinux(AnsiText::fromWide(m_fileName));
  m_file = std::fopen(path.c_str(), truncate ? "w+b" : "r+b");
  if (!m_file && !truncate) m_file = std::fopen(path.c_str(), "w+b");
  return m_file ? S_OK : HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

void FileWriter::close() {
  if (!m_file) return;
  std::fclose(m_file);
  m_file = nullptr;
}

HRESULT FileWriter::writeAt(ULONGLONG position, const BYTE* data, ULONG size) {
  std::lock_guard guard(m_fileLock);
  HRESULT hr = open(false);
  if (FAILED(hr)) return hr;
  // Each write reaches the file at once, as the writer's unbuffered writes do on Windows.
  if (std::fseek(m_file, static_cast<long>(position), SEEK_SET) != 0 || std::fwrite(data, 1, size, m_file) != size ||
      std::fflush(m_file) != 0)
    return HRESULT_FROM_WIN32(ERROR_DISK_FULL);
  m_position = position + size;
  m_size = std::max(m_size, m_position);
  return S_OK;
}

STDMETHODIMP FileWriter::Pause() {
  if (m_State == State_Stopped) {
    // A new run writes a new file.
    std::lock_guard guard(m_fileLock);
    close();
    const HRESULT hr = open(true);
    if (FAILED(hr)) return hr;
    m_position = m_size = 0;
    m_endOfStream = false;
  }
  return CBaseFilter::Pause();
}

STDMETHODIMP FileWriter::Run(REFERENCE_TIME tStart) {
  const HRESULT hr = CBaseFilter::Run(tStart);
  if (SUCCEEDED(hr) && m_endOfStream) NotifyEvent(EC_COMPLETE, S_OK, 0);
  return hr;
}

STDMETHODIMP FileWriter::Stop() {
  const HRESULT hr = CBaseFilter::Stop();
  std::lock_guard guard(m_fileLock);
  close();
  return hr;
}

STDMETHODIMP FileWriter::SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE*) {
  CheckPointer(pszFileName, E_POINTER);
  CAutoLock lock(&m_lock);
  if (m_State != State_Stopped) return VFW_E_WRONG_STATE;
  std::lock_guard guard(m_fileLock);
  close();
  m_fileName = pszFileName;
  return S_OK;
}

STDMETHODIMP FileWriter::GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) {
  CheckPointer(ppszFileName, E_POINTER);
  *ppszFileName = nullptr;
  if (m_fileName.empty()) return E_FAIL;
  const size_t bytes = (m_fileName.size() + 1) * sizeof(WCHAR);
  *ppszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*ppszFileName) return E_OUTOFMEMORY;
  std::memcpy(*ppszFileName, m_fileName.c_str(), bytes);
  if (pmt) {
    *pmt = AM_MEDIA_TYPE{};
    pmt->majortype = MEDIATYPE_Stream;
  }
  return S_OK;
}

}  // namespace plat
