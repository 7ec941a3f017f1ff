// An input of the recorder: "InputVideo" takes uncompressed pictures (YUY2 or RGB24 with
// a VIDEOINFOHEADER), "InputAudio" 16-bit PCM at a rate the MP2 encoder supports. Each
// sample received while the filter streams goes to the filter's file.
#pragma once

#include <dshow/baseclasses/CBaseInputPin.h>

#include <atomic>

class CQnMpegRecorder;

class CQnRecorderInputPin : public CBaseInputPin {
 public:
  enum Kind { Video, Audio };

  CQnRecorderInputPin(CQnMpegRecorder* filter, CCritSec* lock, Kind kind);

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  STDMETHODIMP Receive(IMediaSample* pSample) override;
  STDMETHODIMP EndOfStream() override;
  HRESULT Active() override;

  Kind kind() const { return m_kind; }
  bool ended() const { return m_ended; }

 private:
  HRESULT CheckVideoType(const CMediaType* pmt) const;
  HRESULT CheckAudioType(const CMediaType* pmt) const;

  CQnMpegRecorder* m_recorder;
  Kind m_kind;
  std::atomic<bool> m_ended{false};
};
