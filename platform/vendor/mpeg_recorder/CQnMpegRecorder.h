// The MPEG-1/2 recorder filter: a sink with a picture input ("InputVideo") and a sound
// input ("InputAudio") that encodes what it receives while the graph runs into the MPEG
// program stream file named through IFileSinkFilter. The encoder settings come through
// the private interfaces of QnMpegEncoder.h, taken while stopped and used from the next
// start; the file is created when the graph leaves Stop and finished when it stops. A
// start without a file name fails (E_UNEXPECTED) and creates nothing.
//
// Every call on the settings interfaces is recorded with its table position and
// arguments, readable through IQnMpegRecorderProbe, which can also make the filter
// refuse chosen frame rate codes.
#pragma once

#include "CQnRecorderInputPin.h"
#include "EncoderSettings.h"
#include "MpegFileWriter.h"
#include "QnMpegEncoder.h"

#include <dshow/baseclasses/CBaseFilter.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class CQnMpegRecorder : public CBaseFilter,
                        public IFileSinkFilter,
                        public IAMFilterMiscFlags,
                        public IQnMpegVideoSettings,
                        public IQnMpegMultiplexSettings,
                        public IQnMpegEncoderInfo,
                        public IQnMpegEncoderControl,
                        public IQnMpegRecorderProbe {
 public:
  static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);
  ~CQnMpegRecorder() override;

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return 2; }
  CBasePin* GetPin(int n) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;

  // IFileSinkFilter
  STDMETHODIMP SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) override;
  // IAMFilterMiscFlags
  STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

  // IQnMpegVideoSettings
  STDMETHODIMP SetStreamType(LONG type) override;
  STDMETHODIMP SetVideoBitRate(LONG bitsPerSecond) override;
  STDMETHODIMP SetFrameRateCode(LONG code) override;
  STDMETHODIMP SetVideoBufferSize(LONG size) override;
  STDMETHODIMP SetSwitch13(LONG value) override { return Record(kVideo, 13, {value}, WhenStopped(S_OK)); }
  STDMETHODIMP SetSwitch14(LONG value) override { return Record(kVideo, 14, {value}, WhenStopped(S_OK)); }
  STDMETHODIMP GetEncodedFrames(LONG* frames) override;
  STDMETHODIMP SetSwitch20(LONG value) override { return Record(kVideo, 20, {value}, WhenStopped(S_OK)); }
  STDMETHODIMP SetAudioBitRate(LONG kbitPerSecond) override;
  STDMETHODIMP SetSwitch46(LONG value) override { return Record(kVideo, 46, {value}, WhenStopped(S_OK)); }
  STDMETHODIMP SetPictureSize(LONG width, LONG height) override;

  // IQnMpegMultiplexSettings
  STDMETHODIMP SetMux4(LONG value) override { return Record(kMux, 4, {value}, WhenStopped(S_OK)); }
  STDMETHODIMP SetMux6(LONG value) override { return Record(kMux, 6, {value}, WhenStopped(S_OK)); }
  STDMETHODIMP SetMux8(LONG value) override { return Record(kMux, 8, {value}, WhenStopped(S_OK)); }
  STDMETHODIMP SetMux10(LONG value) override { return Record(kMux, 10, {value}, WhenStopped(S_OK)); }
  STDMETHODIMP SetMux12(LONG value) override { return Record(kMux, 12, {value}, WhenStopped(S_OK)); }
  STDMETHODIMP SetMux14(LONG value) override { return Record(kMux, 14, {value}, WhenStopped(S_OK)); }
  STDMETHODIMP SetPacketValues(LONG a, LONG b, LONG c, LONG d) override { return Record(kMux, 16, {a, b, c, d}, WhenStopped(S_OK)); }

  // IQnMpegRecorderProbe
  STDMETHODIMP GetCallCount(LONG* count) override;
  STDMETHODIMP GetCall(LONG index, QnMpegRecorderCall* call) override;
  STDMETHODIMP RefuseFrameRateCode(LONG code) override;
  STDMETHODIMP GetSoundWrittenMs(LONG* ms) override;

  // From the input pins' streaming threads.
  HRESULT Deliver(CQnRecorderInputPin* pin, IMediaSample* sample);
  void StreamEnded();

 private:
  static constexpr LONG kVideo = QnMpegRecorderCall::VideoSettings;
  static constexpr LONG kMux = QnMpegRecorderCall::Multiplex;

  CQnMpegRecorder(LPUNKNOWN pUnk, HRESULT* phr);

  // Logs the call and gives back its result.
  HRESULT Record(LONG itf, LONG slot, std::initializer_list<LONG> args, HRESULT result);
  // Settings change only while stopped.
  HRESULT WhenStopped(HRESULT result) { return IsStopped() ? result : VFW_E_WRONG_STATE; }
  HRESULT StartFile();
  void FinishFile();

  CCritSec m_Lock;
  CQnRecorderInputPin m_Video;
  CQnRecorderInputPin m_Audio;
  std::mutex m_settingsLock;  // the settings, the call record and the refused codes
  plat::EncoderSettings m_settings;
  std::vector<QnMpegRecorderCall> m_calls;
  std::set<LONG> m_refusedCodes;
  std::wstring m_fileName;
  std::mutex m_writerLock;  // the writer, held while a sample is encoded
  std::unique_ptr<plat::MpegFileWriter> m_writer;
  // Pictures encoded by the current or last recording; read without waiting for an encode.
  std::atomic<LONG> m_frames{0};
  std::atomic<LONG> m_soundWrittenMs{0};
};
