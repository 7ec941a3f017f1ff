#include <dshow/filters/MediaSplitter.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/mediafiles.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace plat {

namespace {

const MediaSplitter::Kind kMpeg2Splitter = {
    &CLSID_MPEG2Splitter, "MPEG-2 Splitter",
    {MEDIASUBTYPE_MPEG1System, MEDIASUBTYPE_MPEG2_PROGRAM, MEDIASUBTYPE_MPEG1Video, MEDIASUBTYPE_MPEG1Audio}};
const MediaSplitter::Kind kDemultiplexer = {&CLSID_MPEG2Demultiplexer, "MPEG-2 Demultiplexer", {MEDIASUBTYPE_MPEG2_PROGRAM}};
const MediaSplitter::Kind kAviSplitter = {&CLSID_AviSplitter, "AVI Splitter", {MEDIASUBTYPE_Avi}};
const MediaSplitter::Kind kWaveParser = {&CLSID_WAVEParser, "Wave Parser", {MEDIASUBTYPE_WAVE}};

const AMOVIESETUP_MEDIATYPE kMpegIn[] = {{&MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG1System},
                                         {&MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_PROGRAM},
                                         {&MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG1Video},
                                         {&MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG1Audio}};
const AMOVIESETUP_MEDIATYPE kProgramIn[] = {{&MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_PROGRAM}};
const AMOVIESETUP_MEDIATYPE kAviIn[] = {{&MEDIATYPE_Stream, &MEDIASUBTYPE_Avi}};
const AMOVIESETUP_MEDIATYPE kWaveIn[] = {{&MEDIATYPE_Stream, &MEDIASUBTYPE_WAVE}};
const AMOVIESETUP_MEDIATYPE kAnyOut[] = {{&GUID_NULL, &GUID_NULL}};

const AMOVIESETUP_PIN kMpegPins[] = {{L"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 4, kMpegIn},
                                     {L"Output", FALSE, TRUE, FALSE, TRUE, &GUID_NULL, nullptr, 1, kAnyOut}};
const AMOVIESETUP_PIN kProgramPins[] = {{L"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kProgramIn},
                                        {L"Output", FALSE, TRUE, FALSE, TRUE, &GUID_NULL, nullptr, 1, kAnyOut}};
const AMOVIESETUP_PIN kAviPins[] = {{L"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kAviIn},
                                    {L"Output", FALSE, TRUE, FALSE, TRUE, &GUID_NULL, nullptr, 1, kAnyOut}};
const AMOVIESETUP_PIN kWavePins[] = {{L"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kWaveIn},
                                     {L"Output", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kAnyOut}};

// The pin's name: "Video" or "Audio", numbered from the second stream of a kind.
std::wstring pinName(bool video, int ordinal) {
  std::wstring name = video ? L"Video" : L"Audio";
  return ordinal > 1 ? name + L" " + std::to_wstring(ordinal) : name;
}

}  // namespace

// The demultiplexer ranks above the splitter for program streams, as it does on the
// platform; graphs that want the splitter put it in themselves.
const AMOVIESETUP_FILTER MediaSplitter::kMpeg2SplitterSetup = {&CLSID_MPEG2Splitter, L"MPEG-2 Splitter", MERIT_NORMAL, 2,
                                                               kMpegPins};
const AMOVIESETUP_FILTER MediaSplitter::kDemultiplexerSetup = {&CLSID_MPEG2Demultiplexer, L"MPEG-2 Demultiplexer",
                                                               MERIT_NORMAL + 1, 2, kProgramPins};
const AMOVIESETUP_FILTER MediaSplitter::kAviSplitterSetup = {&CLSID_AviSplitter, L"AVI Splitter", MERIT_NORMAL, 2, kAviPins};
const AMOVIESETUP_FILTER MediaSplitter::kWaveParserSetup = {&CLSID_WAVEParser, L"Wave Parser", MERIT_NORMAL, 2, kWavePins};

MediaSplitter::MediaSplitter(const Kind& kind, LPUNKNOWN outer, HRESULT* phr)
    : CBaseFilter(kind.name, outer, &m_lock, *kind.clsid, phr),
      m_kind(kind),
      m_input(std::make_unique<SplitterInputPin>(this, &m_lock)) {}

MediaSplitter::~MediaSplitter() { stopThread(); }

CUnknown* MediaSplitter::CreateMpeg2Splitter(LPUNKNOWN outer, HRESULT* phr) {
  return new (std::nothrow) MediaSplitter(kMpeg2Splitter, outer, phr);
}
CUnknown* MediaSplitter::CreateDemultiplexer(LPUNKNOWN outer, HRESULT* phr) {
  return new (std::nothrow) MediaSplitter(kDemultiplexer, outer, phr);
}
CUnknown* MediaSplitter::CreateAviSplitter(LPUNKNOWN outer, HRESULT* phr) {
  return new (std::nothrow) MediaSplitter(kAviSplitter, outer, phr);
}
CUnknown* MediaSplitter::CreateWaveParser(LPUNKNOWN outer, HRESULT* phr) {
  return new (std::nothrow) MediaSplitter(kWaveParser, outer, phr);
}

int MediaSplitter::GetPinCount() {
  CAutoLock lock(&m_lock);
  return 1 + static_cast<int>(m_outputs.size());
}

CBasePin* MediaSplitter::GetPin(int n) {
  CAutoLock lock(&m_lock);
  if (n == 0) return m_input.get();
  return n > 0 && n <= static_cast<int>(m_outputs.size()) ? m_outputs[n - 1].get() : nullptr;
}

bool MediaSplitter::reads(REFGUID subtype) const {
  return std::find(m_kind.subtypes.begin(), m_kind.subtypes.end(), subtype) != m_kind.subtypes.end();
}

HRESULT MediaSplitter::openStreams(IAsyncReader* reader) {
  CAutoLock lock(&m_lock);
  auto demuxer = std::make_unique<Demuxer>(reader);
  const HRESULT hr = demuxer->open();
  if (FAILED(hr)) return hr;
  int videos = 0, audios = 0;
  for (const Demuxer::Stream& stream : demuxer->streams()) {
    const std::wstring name = pinName(stream.video, stream.video ? ++videos : ++audios);
    m_outputs.push_back(std::make_unique<SplitterOutputPin>(this, &m_lock, name.c_str(), stream.type, stream.index));
  }
  m_demuxer = std::move(demuxer);
  m_start = 0;
  m_stop = -1;
  IncrementPinVersion();
  return S_OK;
}

void MediaSplitter::closeStreams() {
  CAutoLock lock(&m_lock);
  for (auto& pin : m_outputs) {
    if (IPin* peer = pin->GetConnected()) {
      peer->Disconnect();
      pin->Disconnect();
    }
    m_retired.push_back(std::move(pin));
  }
  m_outputs.clear();
  m_demuxer.reset();
  IncrementPinVersion();
}

REFERENCE_TIME MediaSplitter::duration() {
  CAutoLock lock(&m_lock);
  return m_demuxer ? m_demuxer->duration() : 0;
}

HRESULT MediaSplitter::positions(LONGLONG* current, LONGLONG* stop) {
  CAutoLock lock(&m_lock);
  if (current) *current = m_start;
  if (stop) *stop = m_stop < 0 && m_demuxer ? m_demuxer->duration() : std::max<LONGLONG>(m_stop, 0);
  return S_OK;
}

HRESULT MediaSplitter::setPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) {
  CAutoLock lock(&m_lock);
  if (!m_demuxer) return VFW_E_NOT_CONNECTED;
  const REFERENCE_TIME length = m_demuxer->duration();
  auto resolve = [](LONGLONG value, DWORD flags, LONGLONG now) {
    switch (flags & AM_SEEKING_PositioningBitsMask) {
      case AM_SEEKING_AbsolutePositioning: return value;
      case AM_SEEKING_RelativePositioning:
      case AM_SEEKING_IncrementalPositioning: return now + value;
      default: return now;
    }
  };
  const bool moveCurrent = current && (currentFlags & AM_SEEKING_PositioningBitsMask) != AM_SEEKING_NoPositioning;
  const bool moveStop = stop && (stopFlags & AM_SEEKING_PositioningBitsMask) != AM_SEEKING_NoPositioning;
  if (moveStop) m_stop = std::clamp<LONGLONG>(resolve(*stop, stopFlags, m_stop < 0 ? length : m_stop), 0, length);
  if (moveCurrent) {
    const bool active = m_thread.joinable();
    if (active) stopThread();
    m_start = std::clamp<LONGLONG>(resolve(*current, currentFlags, m_start), 0, length);
    if (active) {
      for (auto& pin : m_outputs) pin->flush();
      startThread();
    }
  }
  if (moveCurrent && (currentFlags & AM_SEEKING_ReturnTime)) *current = m_start;
  if (moveStop && (stopFlags & AM_SEEKING_ReturnTime)) *stop = m_stop;
  return S_OK;
}

HRESULT MediaSplitter::setRate(double rate) {
  if (rate <= 0.0) return E_INVALIDARG;
  CAutoLock lock(&m_lock);
  m_rate = rate;
  return S_OK;
}

double MediaSplitter::rate() {
  CAutoLock lock(&m_lock);
  return m_rate;
}

STDMETHODIMP MediaSplitter::Pause() {
  CAutoLock lock(&m_lock);
  const bool starting = m_State == State_Stopped;
  const HRESULT hr = CBaseFilter::Pause();
  if (SUCCEEDED(hr) && starting && m_demuxer) startThread();
  return hr;
}

STDMETHODIMP MediaSplitter::Stop() {
  CAutoLock lock(&m_lock);
  stopThread();
  return CBaseFilter::Stop();
}

void MediaSplitter::startThread() {
  m_stopThread = false;
  m_thread = std::thread([this, start = m_start, stop = m_stop, rate = m_rate] { run(start, stop, rate); });
}

void MediaSplitter::stopThread() {
  if (!m_thread.joinable()) return;
  m_stopThread = true;
  for (auto& pin : m_outputs) pin->releaseBuffers();
  m_thread.join();
}

SplitterOutputPin* MediaSplitter::pinFor(int stream) {
  for (auto& pin : m_outputs)
    if (pin->stream() == stream) return pin->IsConnected() ? pin.get() : nullptr;
  return nullptr;
}

// On the parser's thread. The pins and the demuxer stay while it runs: closing the file
// needs the input disconnected, which the graph allows only when stopped.
void MediaSplitter::run(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  const REFERENCE_TIME end = stop < 0 ? m_demuxer->duration() : stop;
  std::vector<SplitterOutputPin*> open;
  for (auto& pin : m_outputs)
    if (pin->IsConnected()) {
      pin->sendNewSegment(start, end, rate);
      open.push_back(pin.get());
    }
  m_demuxer->seek(start);
  Demuxer::Packet packet;
  bool first = true;
  while (!m_stopThread && !open.empty() && m_demuxer->read(packet)) {
    SplitterOutputPin* pin = pinFor(packet.stream);
    if (!pin || std::find(open.begin(), open.end(), pin) == open.end()) continue;
    // Sound from before the seek position is left out; pictures are not, as the
    // decoder needs the key frame and those after it.
    if (!pin->isVideo() && packet.timed && packet.stop <= start) continue;
    const bool past = stop >= 0 && packet.timed && packet.start >= stop;
    if (past || !deliver(*pin, packet, start, rate, first)) {
      if (m_stopThread) return;
      pin->sendEndOfStream();
      open.erase(std::find(open.begin(), open.end(), pin));
    }
    first = false;
  }
  if (m_stopThread) return;
  for (SplitterOutputPin* pin : open) pin->sendEndOfStream();
}

bool MediaSplitter::deliver(SplitterOutputPin& pin, const Demuxer::Packet& packet, REFERENCE_TIME start, double rate,
                            bool first) {
  IMediaSample* sample = nullptr;
  if (FAILED(pin.GetDeliveryBuffer(&sample, nullptr, nullptr, 0))) return false;
  if (packet.size > sample->GetSize()) {  // a packet larger than any buffer is dropped
    sample->Release();
    return true;
  }
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  std::memcpy(data, packet.data, static_cast<size_t>(packet.size));
  sample->SetActualDataLength(packet.size);
  if (packet.timed) {
    REFERENCE_TIME from = static_cast<REFERENCE_TIME>(static_cast<double>(packet.start - start) / rate);
    REFERENCE_TIME to = static_cast<REFERENCE_TIME>(static_cast<double>(packet.stop - start) / rate);
    sample->SetTime(&from, &to);
  }
  sample->SetSyncPoint(packet.key);
  sample->SetDiscontinuity(first);
  return SUCCEEDED(pin.send(sample));
}

}  // namespace plat
