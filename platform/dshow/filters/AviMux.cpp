#include <dshow/filters/AviMux.h>

#include <com/ComPtr.h>
#include <dshow/amaudio.h>
#include <dshow/amvideo.h>
#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CBaseInputPin.h>
#include <dshow/baseclasses/CBaseOutputPin.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace plat {

namespace {

const AMOVIESETUP_MEDIATYPE kInTypes[] = {{&MEDIATYPE_Video, &GUID_NULL}, {&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};
const AMOVIESETUP_MEDIATYPE kOutTypes[] = {{&MEDIATYPE_Stream, &MEDIASUBTYPE_Avi}};
const AMOVIESETUP_PIN kPins[] = {{L"Input 01", FALSE, FALSE, FALSE, TRUE, &GUID_NULL, nullptr, 2, kInTypes},
                                 {L"AVI Out", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kOutTypes}};

constexpr DWORD AVIF_HASINDEX = 0x10;
constexpr DWORD AVIF_ISINTERLEAVED = 0x100;
constexpr DWORD AVIIF_KEYFRAME = 0x10;
constexpr size_t kHeaderAlign = 512;

// Little-endian RIFF building.
class Bytes {
 public:
  void fourcc(const char* id) {
    for (int i = 0; i < 4; ++i) m_data.push_back(static_cast<BYTE>(id[i]));
  }
  void u32(DWORD v) {
    for (int i = 0; i < 4; ++i) m_data.push_back(static_cast<BYTE>(v >> (8 * i)));
  }
  void u16(WORD v) {
    m_data.push_back(static_cast<BYTE>(v));
    m_data.push_back(static_cast<BYTE>(v >> 8));
  }
  void raw(const std::vector<BYTE>& bytes) { m_data.insert(m_data.end(), bytes.begin(), bytes.end()); }
  void zeros(size_t n) { m_data.insert(m_data.end(), n, 0); }
  void pad() {
    if (m_data.size() % 2) m_data.push_back(0);
  }
  // Writes a chunk "id" whose body `fill` appends; its size is set afterwards.
  template <class Fill>
  void chunk(const char* id, Fill fill) {
    fourcc(id);
    const size_t sizeAt = m_data.size();
    u32(0);
    fill();
    const DWORD size = static_cast<DWORD>(m_data.size() - sizeAt - 4);
    std::memcpy(m_data.data() + sizeAt, &size, 4);
    pad();
  }
  template <class Fill>
  void list(const char* type, Fill fill) {
    chunk("LIST", [&] {
      fourcc(type);
      fill();
    });
  }
  size_t size() const { return m_data.size(); }
  std::vector<BYTE>& data() { return m_data; }

 private:
  std::vector<BYTE> m_data;
};

}  // namespace

const AMOVIESETUP_FILTER AviMux::kSetup = {&CLSID_AviDest, L"AVI Mux", MERIT_DO_NOT_USE, 2, kPins};

class AviMux::InputPin : public CBaseInputPin {
 public:
  InputPin(AviMux* mux, LPCWSTR name) : CBaseInputPin("AVI Mux input", mux, &mux->m_lock, nullptr, name), m_mux(mux) {}

  HRESULT CheckMediaType(const CMediaType* pmt) override {
    if (!pmt->Format()) return S_FALSE;
    if (*pmt->Type() == MEDIATYPE_Video)
      return *pmt->FormatType() == FORMAT_VideoInfo && pmt->FormatLength() >= sizeof(VIDEOINFOHEADER) ? S_OK : S_FALSE;
    if (*pmt->Type() == MEDIATYPE_Audio)
      // PCM or any compressed sound with whole blocks (the header gives its block size).
      return *pmt->FormatType() == FORMAT_WaveFormatEx && pmt->FormatLength() >= sizeof(WAVEFORMATEX) - sizeof(WORD) &&
                     reinterpret_cast<const WAVEFORMATEX*>(pmt->Format())->nBlockAlign > 0
                 ? S_OK
                 : S_FALSE;
    return S_FALSE;
  }
  HRESULT CompleteConnect(IPin* pReceivePin) override {
    const HRESULT hr = CBaseInputPin::CompleteConnect(pReceivePin);
    if (SUCCEEDED(hr)) m_mux->addInput();
    return hr;
  }
  STDMETHODIMP Receive(IMediaSample* sample) override {
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    return m_mux->writeChunk(this, sample);
  }
  STDMETHODIMP EndOfStream() override {
    m_mux->endOfStream(this);
    return S_OK;
  }

 private:
  AviMux* m_mux;
};

class AviMux::OutputPin : public CBaseOutputPin {
 public:
  explicit OutputPin(AviMux* mux) : CBaseOutputPin("AVI Mux output", mux, &mux->m_lock, nullptr, L"AVI Out") {}

  HRESULT CheckMediaType(const CMediaType* pmt) override {
    return *pmt->Type() == MEDIATYPE_Stream && *pmt->Subtype() == MEDIASUBTYPE_Avi ? S_OK : S_FALSE;
  }
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override {
    if (iPosition < 0) return E_INVALIDARG;
    if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
    pMediaType->InitMediaType();
    pMediaType->SetType(&MEDIATYPE_Stream);
    pMediaType->SetSubtype(&MEDIASUBTYPE_Avi);
    pMediaType->SetFormatType(&FORMAT_None);
    return S_OK;
  }
  HRESULT CheckConnect(IPin* pPin) override {
    const HRESULT hr = CBaseOutputPin::CheckConnect(pPin);
    if (FAILED(hr)) return hr;
    // The file is written through the writer's IStream.
    return SUCCEEDED(pPin->QueryInterface(IID_IStream, m_stream.putVoid())) ? S_OK : VFW_E_NO_TRANSPORT;
  }
  HRESULT BreakConnect() override {
    m_stream.reset();
    return CBaseOutputPin::BreakConnect();
  }
  HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps) override {
    ALLOCATOR_PROPERTIES wanted = *pProps;
    wanted.cBuffers = 1;
    wanted.cbBuffer = 1;
    ALLOCATOR_PROPERTIES actual{};
    return pAlloc->SetProperties(&wanted, &actual);
  }
  IStream* stream() const { return m_stream.get(); }

 private:
  ComPtr<IStream> m_stream;
};

AviMux::AviMux(LPUNKNOWN outer, HRESULT* phr)
    : CBaseFilter("AVI Mux", outer, &m_lock, CLSID_AviDest, phr), m_output(std::make_unique<OutputPin>(this)) {
  addInput();
}

AviMux::~AviMux() = default;

CUnknown* AviMux::CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new (std::nothrow) AviMux(outer, phr); }

int AviMux::GetPinCount() {
  CAutoLock lock(&m_lock);
  return static_cast<int>(m_inputs.size()) + 1;
}

CBasePin* AviMux::GetPin(int n) {
  CAutoLock lock(&m_lock);
  if (n == 0) return m_output.get();
  if (n < 1 || n > static_cast<int>(m_inputs.size())) return nullptr;
  return m_inputs[static_cast<size_t>(n - 1)].get();
}

void AviMux::addInput() {
  CAutoLock lock(&m_lock);
  if (std::any_of(m_inputs.begin(), m_inputs.end(), [](const auto& pin) { return !pin->IsConnected(); })) return;
  wchar_t name[16];
  std::swprintf(name, 16, L"Input %02zu", m_inputs.size() + 1);
  m_inputs.push_back(std::make_unique<InputPin>(this, name));
  IncrementPinVersion();
}

STDMETHODIMP AviMux::Pause() {
  CAutoLock lock(&m_lock);
  if (m_State == State_Stopped) {
    const HRESULT hr = start();
    if (FAILED(hr)) return hr;
  }
  return CBaseFilter::Pause();
}

STDMETHODIMP AviMux::Stop() {
  const HRESULT hr = CBaseFilter::Stop();
  finish();
  return hr;
}

HRESULT AviMux::start() {
  if (!m_output->stream()) return VFW_E_NOT_CONNECTED;
  std::lock_guard guard(m_writeLock);
  m_streams.clear();
  m_index.clear();
  int number = 0;
  for (const auto& pin : m_inputs) {
    if (!pin->IsConnected()) continue;
    const CMediaType& type = pin->CurrentMediaType();
    Stream stream{pin.get(), *type.Type() == MEDIATYPE_Video, {}, {}};
    stream.chunkId = std::string(number < 10 ? "0" : "") + std::to_string(number) + (stream.video ? "db" : "wb");
    ++number;
    // The stream format: the bitmap header of a video, the wave format of a sound.
    const BYTE* block = stream.video ? reinterpret_cast<const BYTE*>(&reinterpret_cast<const VIDEOINFOHEADER*>(type.Format())->bmiHeader)
                                     : type.Format();
    const size_t length = stream.video ? sizeof(BITMAPINFOHEADER) : sizeof(WAVEFORMATEX);
    stream.format.assign(block, block + std::min<size_t>(length, stream.video ? length : type.FormatLength()));
    stream.format.resize(length, 0);
    m_streams.push_back(std::move(stream));
  }
  if (m_streams.empty()) return VFW_E_NOT_CONNECTED;
  const std::vector<BYTE> bytes = header();
  m_position = bytes.size();
  m_moviType = m_position - 4;
  m_writing = true;
  m_finished = false;
  return writeAt(0, bytes);
}

HRESULT AviMux::writeAt(ULONGLONG position, const std::vector<BYTE>& bytes) {
  IStream* stream = m_output->stream();
  if (!stream) return VFW_E_NOT_CONNECTED;
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(position);
  HRESULT hr = stream->Seek(to, STREAM_SEEK_SET, nullptr);
  if (SUCCEEDED(hr)) hr = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
  return hr;
}

HRESULT AviMux::writeChunk(InputPin* pin, IMediaSample* sample) {
  std::lock_guard guard(m_writeLock);
  if (!m_writing) return S_FALSE;
  auto stream = std::find_if(m_streams.begin(), m_streams.end(), [&](const Stream& s) { return s.pin == pin; });
  if (stream == m_streams.end()) return S_FALSE;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  const DWORD size = static_cast<DWORD>(sample->GetActualDataLength());
  Bytes chunk;
  chunk.fourcc(stream->chunkId.c_str());
  chunk.u32(size);
  chunk.data().insert(chunk.data().end(), data, data + size);
  chunk.pad();
  const HRESULT hr = writeAt(m_position, chunk.data());
  if (FAILED(hr)) return hr;
  // Index offsets count from the 'movi' list's type.
  m_index.push_back({stream->chunkId, (!stream->video || sample->IsSyncPoint() == S_OK) ? AVIIF_KEYFRAME : 0,
                     static_cast<DWORD>(m_position - m_moviType), size});
  m_position += chunk.size();
  ++stream->chunks;
  stream->bytes += size;
  stream->largest = std::max(stream->largest, size);
  return S_OK;
}

void AviMux::endOfStream(InputPin* pin) {
  bool all = false;
  {
    std::lock_guard guard(m_writeLock);
    for (Stream& stream : m_streams)
      if (stream.pin == pin) stream.ended = true;
    all = !m_streams.empty() && std::all_of(m_streams.begin(), m_streams.end(), [](const Stream& s) { return s.ended; });
  }
  if (!all) return;
  finish();
  m_output->DeliverEndOfStream();
}

HRESULT AviMux::finish() {
  std::lock_guard guard(m_writeLock);
  if (!m_writing || m_finished) return S_OK;
  m_writing = false;
  m_finished = true;
  Bytes index;
  index.chunk("idx1", [&] {
    for (const IndexEntry& entry : m_index) {
      index.fourcc(entry.id.c_str());
      index.u32(entry.flags);
      index.u32(entry.offset);
      index.u32(entry.size);
    }
  });
  HRESULT hr = writeAt(m_position, index.data());
  m_position += index.size();
  if (SUCCEEDED(hr)) hr = writeAt(0, header());
  if (IStream* stream = m_output->stream()) stream->Commit(0);
  return hr;
}

std::vector<BYTE> AviMux::header() const {
  const Stream* video = nullptr;
  for (const Stream& stream : m_streams)
    if (stream.video && !video) video = &stream;
  const auto* bitmap = video ? reinterpret_cast<const BITMAPINFOHEADER*>(video->format.data()) : nullptr;
  const VIDEOINFOHEADER* videoInfo =
      video ? reinterpret_cast<const VIDEOINFOHEADER*>(video->pin->CurrentMediaType().Format()) : nullptr;
  DWORD largest = 0;
  for (const Stream& stream : m_streams) largest = std::max(largest, stream.largest);

  Bytes hdrl;
  hdrl.list("hdrl", [&] {
    hdrl.chunk("avih", [&] {
      hdrl.u32(videoInfo ? static_cast<DWORD>(videoInfo->AvgTimePerFrame / 10) : 0);  // microseconds per frame
      hdrl.u32(0);                                                                    // max bytes per second
      hdrl.u32(0);                                                                    // padding granularity
      hdrl.u32(AVIF_HASINDEX | AVIF_ISINTERLEAVED);
      hdrl.u32(video ? video->chunks : 0);  // total frames
      hdrl.u32(0);                          // initial frames
      hdrl.u32(static_cast<DWORD>(m_streams.size()));
      hdrl.u32(largest + 8);
      hdrl.u32(bitmap ? static_cast<DWORD>(bitmap->biWidth) : 0);
      hdrl.u32(bitmap ? static_cast<DWORD>(bitmap->biHeight < 0 ? -bitmap->biHeight : bitmap->biHeight) : 0);
      hdrl.zeros(16);
    });
    for (const Stream& stream : m_streams) {
      hdrl.list("strl", [&] {
        hdrl.chunk("strh", [&] {
          if (stream.video) {
            const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(stream.pin->CurrentMediaType().Format());
            const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(stream.format.data());
            hdrl.fourcc("vids");
            hdrl.u32(header->biCompression);  // handler: the picture's FOURCC, 0 for RGB
            hdrl.u32(0);
            hdrl.u16(0);
            hdrl.u16(0);
            hdrl.u32(0);
            hdrl.u32(static_cast<DWORD>(info->AvgTimePerFrame > 0 ? info->AvgTimePerFrame : 400000));  // scale
            hdrl.u32(10'000'000);                                                                       // rate
            hdrl.u32(0);
            hdrl.u32(stream.chunks);  // length in frames
            hdrl.u32(stream.largest);
            hdrl.u32(0xFFFFFFFF);
            hdrl.u32(0);
            hdrl.u16(0);
            hdrl.u16(0);
            hdrl.u16(static_cast<WORD>(header->biWidth));
            hdrl.u16(static_cast<WORD>(header->biHeight < 0 ? -header->biHeight : header->biHeight));
          } else {
            const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(stream.format.data());
            hdrl.fourcc("auds");
            hdrl.u32(0);
            hdrl.u32(0);
            hdrl.u16(0);
            hdrl.u16(0);
            hdrl.u32(0);
            hdrl.u32(wave->nBlockAlign);      // scale
            hdrl.u32(wave->nAvgBytesPerSec);  // rate
            hdrl.u32(0);
            hdrl.u32(static_cast<DWORD>(wave->nBlockAlign ? stream.bytes / wave->nBlockAlign : 0));  // length in blocks
            hdrl.u32(stream.largest);
            hdrl.u32(0xFFFFFFFF);
            hdrl.u32(wave->nBlockAlign);
            hdrl.zeros(8);
          }
        });
        hdrl.chunk("strf", [&] { hdrl.raw(stream.format); });
      });
    }
  });

  // RIFF header, the header list, a JUNK chunk up to an aligned 'movi' list.
  Bytes out;
  const ULONGLONG end = m_finished ? m_position : 0;
  out.fourcc("RIFF");
  out.u32(end ? static_cast<DWORD>(end - 8) : 0);
  out.fourcc("AVI ");
  out.raw(hdrl.data());
  const size_t moviAt = (out.size() + 8 + 12 + kHeaderAlign - 1) / kHeaderAlign * kHeaderAlign - 12;
  out.fourcc("JUNK");
  out.u32(static_cast<DWORD>(moviAt - out.size() - 4));
  out.zeros(moviAt - out.size());
  out.fourcc("LIST");
  // The 'movi' list holds every chunk up to the index.
  ULONGLONG indexAt = m_position;
  if (m_finished) {
    indexAt = m_position - (8 + 16 * m_index.size());
  }
  out.u32(m_finished ? static_cast<DWORD>(indexAt - moviAt - 8) : 4);
  out.fourcc("movi");
  return out.data();
}

}  // namespace plat
