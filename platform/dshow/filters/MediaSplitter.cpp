#include <dshow/filters/MediaSplitter.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/mediafiles.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>
#include <machine/StreamActivity.h>

#include <algorithm>
#include <new>
#include <string>
#include <utility>

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

// How far a stream's time may run ahead of another stream that has had nothing near it
// before its packets are parked rather than waited for: more than the few hundred
// milliseconds by which well-made files interleave their streams.
constexpr REFERENCE_TIME kStarvedLead = 10000000;  // 1 s
// Memory parked packets may take, a minute or so of standard-definition MPEG.
constexpr size_t kMostParkedBytes = 16 * 1024 * 1024;

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

void MediaSplitter::bufferReturned() {
  // Only the first return after the drain's look wakes it; the rest cost a read.
  if (!m_returned.load(std::memory_order_relaxed) && !m_returned.exchange(true)) m_resumed.notify();
}

STDMETHODIMP MediaSplitter::Pause() {
  CAutoLock lock(&m_lock);
  const bool starting = m_State == State_Stopped;
  const HRESULT hr = CBaseFilter::Pause();
  if (SUCCEEDED(hr)) m_paused = true;
  if (SUCCEEDED(hr) && starting && m_demuxer) startThread();
  return hr;
}

STDMETHODIMP MediaSplitter::Run(REFERENCE_TIME tStart) {
  CAutoLock lock(&m_lock);
  const HRESULT hr = CBaseFilter::Run(tStart);
  if (SUCCEEDED(hr)) m_paused = false;
  m_resumed.notify();
  return hr;
}

STDMETHODIMP MediaSplitter::Stop() {
  CAutoLock lock(&m_lock);
  stopThread();
  m_paused = false;
  return CBaseFilter::Stop();
}

void MediaSplitter::startThread() {
  m_stopThread = false;
  m_thread = StreamActivity::instance().startThread(
      "file splitter", [this, start = m_start, stop = m_stop, rate = m_rate] { run(start, stop, rate); });
}

void MediaSplitter::stopThread() {
  if (!m_thread.joinable()) return;
  m_stopThread = true;
  m_resumed.notify();
  for (auto& pin : m_outputs) pin->releaseBuffers();
  m_thread.join();
}

// On the parser's thread. The pins and the demuxer stay while it runs: closing the file
// needs the input disconnected, which the graph allows only when stopped.
void MediaSplitter::run(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  const REFERENCE_TIME end = stop < 0 ? m_demuxer->duration() : stop;
  std::vector<Lane> lanes;
  for (auto& pin : m_outputs)
    if (pin->IsConnected()) {
      pin->sendNewSegment(start, end, rate);
      lanes.push_back(Lane{pin.get(), true, false, 0, {}});
    }
  m_parkedBytes = 0;
  m_demuxer->seek(start);
  Demuxer::Packet packet;
  bool first = true;
  auto anyOpen = [&] { return std::any_of(lanes.begin(), lanes.end(), [](const Lane& lane) { return lane.open; }); };
  while (!m_stopThread && anyOpen() && m_demuxer->read(packet)) {
    const auto lane = std::find_if(lanes.begin(), lanes.end(),
                                   [&](const Lane& each) { return each.pin->stream() == packet.stream; });
    if (lane == lanes.end() || !lane->open) continue;
    // Sound from before the seek position is left out; pictures are not, as the
    // decoder needs the key frame and those after it.
    if (!lane->pin->isVideo() && packet.timed && packet.stop <= start) continue;
    if (stop >= 0 && packet.timed && packet.start >= stop) {
      endLane(*lane);
      continue;
    }
    for (Lane& each : lanes)
      if (!sendParked(each, start, rate, AM_GBF_NOWAIT)) return;
    const bool fits = m_parkedBytes + static_cast<size_t>(packet.size) <= kMostParkedBytes;
    HRESULT hr = VFW_E_TIMEOUT;
    if (lane->parked.empty()) hr = deliver(*lane->pin, packet, start, rate, first, AM_GBF_NOWAIT);
    if (hr == VFW_E_TIMEOUT && fits && (!lane->parked.empty() || m_paused || othersStarved(lanes, *lane, packet))) {
      park(*lane, std::move(packet), first);
      first = false;
      continue;
    }
    if (hr == VFW_E_TIMEOUT) {
      if (!sendParked(*lane, start, rate, 0)) return;
      hr = lane->open ? deliver(*lane->pin, packet, start, rate, first, 0) : S_FALSE;
    }
    first = false;
    if (FAILED(hr)) {
      if (m_stopThread) return;
      endLane(*lane);
    } else if (hr == S_OK && packet.timed) {
      lane->sentAny = true;
      lane->sentUntil = packet.start;
    }
  }
  if (m_stopThread) return;
  // Streams with nothing parked end first, so one left waiting holds back no other's end.
  for (Lane& lane : lanes)
    if (lane.parked.empty()) endLane(lane);
  drainWhilePaused(lanes, start, rate);
  for (Lane& lane : lanes) {
    if (!sendParked(lane, start, rate, 0)) return;
    endLane(lane);
  }
}

// A paused renderer gives no buffer back until the graph runs, and waiting for one would
// keep back another stream's last packets; so while paused this looks at every stream
// in turn, again when none moved and a buffer came back (or, from an allocator that does
// not tell, every few milliseconds of the machine clock).
void MediaSplitter::drainWhilePaused(std::vector<Lane>& lanes, REFERENCE_TIME start, double rate) {
  constexpr REFERENCE_TIME kLookAgain = 100'000;  // 10 ms
  auto anyOpen = [&] { return std::any_of(lanes.begin(), lanes.end(), [](const Lane& lane) { return lane.open; }); };
  while (m_paused && !m_stopThread && anyOpen()) {
    // Cleared before the look: a buffer coming back after it was missed sets it again.
    m_returned = false;
    bool moved = false;
    for (Lane& lane : lanes) {
      const size_t before = lane.parked.size();
      if (!sendParked(lane, start, rate, AM_GBF_NOWAIT)) return;
      moved = moved || lane.parked.size() != before;
      if (lane.parked.empty()) endLane(lane);
    }
    if (!moved)
      m_resumed.waitFor([&] { return !m_paused || m_stopThread || m_returned; }, ClockWait::now() + kLookAgain);
  }
}

bool MediaSplitter::othersStarved(const std::vector<Lane>& lanes, const Lane& lane, const Demuxer::Packet& packet) {
  if (!packet.timed) return false;
  return std::any_of(lanes.begin(), lanes.end(), [&](const Lane& other) {
    return &other != &lane && other.open && (!other.sentAny || other.sentUntil < packet.start - kStarvedLead);
  });
}

void MediaSplitter::park(Lane& lane, Demuxer::Packet&& packet, bool first) {
  m_parkedBytes += static_cast<size_t>(packet.size);
  lane.parked.push_back(Lane::Parked{std::move(packet), first});
}

bool MediaSplitter::sendParked(Lane& lane, REFERENCE_TIME start, double rate, DWORD flags) {
  while (lane.open && !lane.parked.empty()) {
    Lane::Parked& next = lane.parked.front();
    const HRESULT hr = deliver(*lane.pin, next.packet, start, rate, next.first, flags);
    if (hr == VFW_E_TIMEOUT) return true;
    if (FAILED(hr)) {
      if (m_stopThread) return false;
      endLane(lane);
      return true;
    }
    if (next.packet.timed) {
      lane.sentAny = true;
      lane.sentUntil = next.packet.start;
    }
    m_parkedBytes -= static_cast<size_t>(next.packet.size);
    lane.parked.pop_front();
  }
  return !m_stopThread;
}

void MediaSplitter::endLane(Lane& lane) {
  if (!lane.open) return;
  lane.open = false;
  for (const Lane::Parked& parked : lane.parked) m_parkedBytes -= static_cast<size_t>(parked.packet.size);
  lane.parked.clear();
  lane.pin->sendEndOfStream();
}

HRESULT MediaSplitter::deliver(SplitterOutputPin& pin, Demuxer::Packet& packet, REFERENCE_TIME start, double rate,
                               bool first, DWORD flags) {
  IMediaSample* sample = nullptr;
  if (const HRESULT hr = pin.GetDeliveryBuffer(&sample, nullptr, nullptr, flags); FAILED(hr)) return hr;
  if (packet.size > sample->GetSize()) {  // a packet larger than any buffer is dropped
    sample->Release();
    return S_OK;
  }
  pin.fill(sample, packet);
  if (packet.timed) {
    REFERENCE_TIME from = static_cast<REFERENCE_TIME>(static_cast<double>(packet.start - start) / rate);
    REFERENCE_TIME to = static_cast<REFERENCE_TIME>(static_cast<double>(packet.stop - start) / rate);
    sample->SetTime(&from, &to);
  }
  sample->SetSyncPoint(packet.key);
  sample->SetDiscontinuity(first);
  const HRESULT hr = pin.send(sample);
  return hr == VFW_E_TIMEOUT ? E_FAIL : hr;
}

}  // namespace plat
