// The platform's file parsers, one class under several CLSIDs: the MPEG-2 Splitter
// (MPEG-1 system and MPEG-2 program streams, MPEG video and audio files), the MPEG-2
// Demultiplexer (program streams), the AVI Splitter and the WAVE Parser. Each pulls its
// file through the source's IAsyncReader, demultiplexes it with libavformat and sends
// each elementary stream on an output pin of its own, timed from the seek position.
//
// One thread reads the file while the filter is active; it waits only for free buffers,
// never for a renderer (each pin queues its samples). A seek stops the thread, flushes
// every stream, moves the file and starts the thread again with a new segment.
//
// A file may carry one stream well ahead of another (sound written seconds before its
// pictures). A paused renderer holds its stream, so that stream's buffers run out before
// the other stream's first packets are read, and waiting for a buffer then would keep
// the other renderer from ever completing the pause. So while the filter is paused, or
// another stream has had nothing near a packet's time, a packet finding its pin's
// buffers all out is parked in memory, within a bound, and sent when buffers come back;
// past the bound the thread waits as before. (A stream that has had packets may still
// have shown nothing: its decoder can want more before its first output.) At the end of
// the file the thread sends what is parked as the pins' allocators say buffers came
// back, so a paused graph cues without the clock moving.
#pragma once

#include <dshow/baseclasses/CBaseFilter.h>
#include <dshow/baseclasses/setup.h>
#include <dshow/engine/ClockWait.h>
#include <dshow/filters/Demuxer.h>
#include <dshow/filters/SplitterInputPin.h>
#include <dshow/filters/SplitterOutputPin.h>

#include <atomic>
#include <list>
#include <memory>
#include <thread>
#include <vector>

namespace plat {

class MediaSplitter : public CBaseFilter {
 public:
  struct Kind {
    const CLSID* clsid;
    const char* name;
    std::vector<GUID> subtypes;  // the byte streams it reads
  };

  MediaSplitter(const Kind& kind, LPUNKNOWN outer, HRESULT* phr);
  ~MediaSplitter() override;

  static CUnknown* CreateMpeg2Splitter(LPUNKNOWN outer, HRESULT* phr);
  static CUnknown* CreateDemultiplexer(LPUNKNOWN outer, HRESULT* phr);
  static CUnknown* CreateAviSplitter(LPUNKNOWN outer, HRESULT* phr);
  static CUnknown* CreateWaveParser(LPUNKNOWN outer, HRESULT* phr);
  static const AMOVIESETUP_FILTER kMpeg2SplitterSetup;
  static const AMOVIESETUP_FILTER kDemultiplexerSetup;
  static const AMOVIESETUP_FILTER kAviSplitterSetup;
  static const AMOVIESETUP_FILTER kWaveParserSetup;

  int GetPinCount() override;
  CBasePin* GetPin(int n) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME tStart) override;

  // From the pins.
  bool reads(REFGUID subtype) const;
  HRESULT openStreams(IAsyncReader* reader);
  void closeStreams();
  REFERENCE_TIME duration();
  HRESULT positions(LONGLONG* current, LONGLONG* stop);
  HRESULT setPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags);
  HRESULT setRate(double rate);
  double rate();
  // A buffer of one of the pins came back to its allocator (any thread).
  void bufferReturned();

 private:
  void startThread();
  void stopThread();
  // A stream of the running segment and the packets parked for it.
  struct Lane {
    struct Parked {
      Demuxer::Packet packet;
      bool first;
    };
    SplitterOutputPin* pin;
    bool open = true;
    bool sentAny = false;
    REFERENCE_TIME sentUntil = 0;  // the start of the newest timed packet sent
    std::list<Parked> parked;  // a list, as it moves without throwing: a vector of lanes moves them
  };

  void run(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);
  // Sends one packet on its pin: S_OK when sent (or dropped as too large), VFW_E_TIMEOUT
  // when `flags` ask not to wait and no buffer is free, a failure when the stream can
  // take no more. Its bytes may go with the sample; only its times stay.
  HRESULT deliver(SplitterOutputPin& pin, Demuxer::Packet& packet, REFERENCE_TIME start, double rate, bool first,
                  DWORD flags);
  // Sends a lane's parked packets in order, waiting for buffers or only while some are
  // free; false when the thread is to stop.
  bool sendParked(Lane& lane, REFERENCE_TIME start, double rate, DWORD flags);
  // At the end of the file while paused: sends each stream's parked packets as its
  // buffers come back and ends it, waiting on none; returns when paused no longer.
  void drainWhilePaused(std::vector<Lane>& lanes, REFERENCE_TIME start, double rate);
  // Whether another open stream has had nothing near `packet`'s time.
  static bool othersStarved(const std::vector<Lane>& lanes, const Lane& lane, const Demuxer::Packet& packet);
  void park(Lane& lane, Demuxer::Packet&& packet, bool first);
  void endLane(Lane& lane);

  const Kind& m_kind;
  CCritSec m_lock;
  std::unique_ptr<SplitterInputPin> m_input;
  std::vector<std::unique_ptr<SplitterOutputPin>> m_outputs;
  std::vector<std::unique_ptr<SplitterOutputPin>> m_retired;  // pins of a closed file, which callers may still hold
  std::unique_ptr<Demuxer> m_demuxer;
  std::thread m_thread;
  std::atomic<bool> m_stopThread{false};
  std::atomic<bool> m_paused{false};  // renderers hold their streams: park rather than wait
  // The thread's drain while paused: the graph runs or stops, or a buffer came back.
  ClockWait m_resumed;
  std::atomic<bool> m_returned{true};  // cleared by the drain before it looks for buffers
  REFERENCE_TIME m_start = 0;
  REFERENCE_TIME m_stop = -1;  // -1: the end of the file
  double m_rate = 1.0;
  size_t m_parkedBytes = 0;  // the parser thread's own
};

}  // namespace plat
