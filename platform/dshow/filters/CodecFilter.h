// The base of the platform's decoders: a transform filter that feeds each input sample
// to a libavcodec decoder and sends on every frame it gives back, as many or as few as
// that is (decoders hold frames back to reorder them). End of stream drains the frames
// still held; a flush drops them. Times go through the decoder with the frames; a frame
// without one follows the one before, and after a flush the new segment's start. Input
// samples go back upstream a few at a time (a quarter of the upstream buffers), at the
// latest at end of stream, a flush or a stop.
#pragma once

#include <dshow/baseclasses/CTransformFilter.h>

#include <cstddef>
#include <functional>
#include <vector>

struct AVBufferRef;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace plat {

class CodecFilter : public CTransformFilter {
 public:
  CodecFilter(const char* name, LPUNKNOWN outer, REFCLSID clsid);
  ~CodecFilter() override;

  HRESULT StartStreaming() override;
  HRESULT StopStreaming() override;
  HRESULT Receive(IMediaSample* pSample) override;
  HRESULT EndOfStream() override;
  HRESULT EndFlush() override;

 protected:
  // A decoder's output pin: seeking passes through to the parser.
  CTransformOutputPin* MakeOutputPin() override;
  // libavcodec's codec for the connected input type (an AVCodecID).
  virtual int codecFor(const CMediaType& input) = 0;
  // Sends one decoded frame on; its start in 100-ns units, null when it carries none.
  virtual HRESULT deliverFrame(const AVFrame& frame, const REFERENCE_TIME* start) = 0;
  // The input's media type as connected.
  const CMediaType& inputType();
  // Sends on an output buffer stamped `from`..`to` once `fill` has filled it: `fill` is
  // given the buffer and its size and answers the data's length, or a negative one to
  // leave the frame out.
  HRESULT deliverFilled(REFERENCE_TIME from, REFERENCE_TIME to, const std::function<long(BYTE*, long)>& fill);

  REFERENCE_TIME m_next = 0;  // where an untimed frame starts

 private:
  // Takes every frame the decoder has ready and sends it on.
  HRESULT drain();
  // Makes m_input a buffer of `size` bytes and the decoder's padding that only this
  // filter holds; false when out of memory.
  bool reserveInput(size_t size);
  // How many samples to hold after decoding them before giving them back upstream, 0
  // for none.
  long samplesToHoldBack();
  void holdBack(IMediaSample* sample);
  void giveBack();

  AVCodecContext* m_codec = nullptr;
  AVPacket* m_packet = nullptr;
  std::vector<IMediaSample*> m_held;  // decoded from, not yet given back
  long m_holdAtMost = 0;
  AVBufferRef* m_input = nullptr;  // the packets' bytes, kept from one sample to the next
  AVFrame* m_frame = nullptr;
};

}  // namespace plat
