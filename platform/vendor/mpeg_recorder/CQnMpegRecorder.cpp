#include "CQnMpegRecorder.h"

#include <com/objbase.h>
#include <dshow/AnsiText.h>
#include <dshow/amaudio.h>
#include <dshow/amvideo.h>
#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/evcode.h>
#include <dshow/uuids.h>
#include <machine/Log.h>
#include <machine/Machine.h>

#include <algorithm>
#include <cstring>
#include <new>

CUnknown* WINAPI CQnMpegRecorder::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
  return new (std::nothrow) CQnMpegRecorder(pUnk, phr);
}

CQnMpegRecorder::CQnMpegRecorder(LPUNKNOWN pUnk, HRESULT* phr)
    : CBaseFilter("MPEG recorder", pUnk, &m_Lock, CLSID_QnMpegRecorder, phr),
      m_Video(this, &m_Lock, CQnRecorderInputPin::Video),
      m_Audio(this, &m_Lock, CQnRecorderInputPin::Audio) {}

CQnMpegRecorder::~CQnMpegRecorder() { FinishFile(); }

STDMETHODIMP CQnMpegRecorder::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IFileSinkFilter) return GetInterface(static_cast<IFileSinkFilter*>(this), ppv);
  if (riid == IID_IAMFilterMiscFlags) return GetInterface(static_cast<IAMFilterMiscFlags*>(this), ppv);
  if (riid == IID_IQnMpegVideoSettings) return GetInterface(static_cast<IQnMpegVideoSettings*>(this), ppv);
  if (riid == IID_IQnMpegMultiplexSettings) return GetInterface(static_cast<IQnMpegMultiplexSettings*>(this), ppv);
  if (riid == IID_IQnMpegEncoderInfo) return GetInterface(static_cast<IQnMpegEncoderInfo*>(this), ppv);
  if (riid == IID_IQnMpegEncoderControl) return GetInterface(static_cast<IQnMpegEncoderControl*>(this), ppv);
  if (riid == IID_IQnMpegRecorderProbe) return GetInterface(static_cast<IQnMpegRecorderProbe*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* CQnMpegRecorder::GetPin(int n) {
  if (n == 0) return &m_Video;
  return n == 1 ? &m_Audio : nullptr;
}

STDMETHODIMP CQnMpegRecorder::Pause() {
  CAutoLock lock(&m_Lock);
  if (m_State == State_Stopped) {
    const HRESULT hr = StartFile();
    if (FAILED(hr)) return hr;
  }
  return CBaseFilter::Pause();
}

STDMETHODIMP CQnMpegRecorder::Stop() {
  CAutoLock lock(&m_Lock);
  const HRESULT hr = CBaseFilter::Stop();
  FinishFile();
  return hr;
}

HRESULT CQnMpegRecorder::StartFile() {
  if (m_fileName.empty()) {
    PLAT_LOG("mpegrec", "started without a file name");
    return E_UNEXPECTED;
  }
  if (!m_Video.IsConnected() && !m_Audio.IsConnected()) return VFW_E_NOT_CONNECTED;
  plat::MpegFileWriter::Picture picture{};
  if (m_Video.IsConnected()) {
    const auto& bitmap = reinterpret_cast<const VIDEOINFOHEADER*>(m_Video.CurrentMediaType().Format())->bmiHeader;
    picture = {bitmap.biWidth, bitmap.biHeight, *m_Video.CurrentMediaType().Subtype() == MEDIASUBTYPE_YUY2};
  }
  plat::MpegFileWriter::Sound sound{};
  if (m_Audio.IsConnected()) {
    const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(m_Audio.CurrentMediaType().Format());
    sound = {static_cast<LONG>(wave->nSamplesPerSec), wave->nChannels};
  }
  plat::EncoderSettings settings;
  {
    std::lock_guard guard(m_settingsLock);
    settings = m_settings;
  }
  const auto path = plat::Machine::current().paths().toLinux(plat::AnsiText::fromWide(m_fileName));
  HRESULT hr = S_OK;
  auto writer = plat::MpegFileWriter::create(path.string(), settings, m_Video.IsConnected() ? &picture : nullptr,
                                             m_Audio.IsConnected() ? &sound : nullptr, hr);
  std::lock_guard guard(m_writerLock);
  m_writer = std::move(writer);
  m_frames = 0;
  m_soundWrittenMs = 0;
  return hr;
}

void CQnMpegRecorder::FinishFile() {
  std::lock_guard guard(m_writerLock);
  if (!m_writer) return;
  if (FAILED(m_writer->finish())) PLAT_LOG("mpegrec", "the file could not be finished");
  m_writer.reset();
}

HRESULT CQnMpegRecorder::Deliver(CQnRecorderInputPin* pin, IMediaSample* sample) {
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data))) return E_POINTER;
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  if (FAILED(sample->GetTime(&start, &stop))) start = 0;
  std::lock_guard guard(m_writerLock);
  if (!m_writer) return VFW_E_WRONG_STATE;
  const LONG size = sample->GetActualDataLength();
  const HRESULT hr = pin->kind() == CQnRecorderInputPin::Video ? m_writer->writePicture(data, size, start)
                                                                 : m_writer->writeSound(data, size, start);
  if (FAILED(hr)) PLAT_LOG("mpegrec", "a sample could not be encoded: 0x%08x", static_cast<unsigned>(hr));
  m_frames = m_writer->picturesEncoded();
  if (SUCCEEDED(hr) && pin->kind() == CQnRecorderInputPin::Audio) m_soundWrittenMs = static_cast<LONG>(stop / 10000);
  return hr;
}

void CQnMpegRecorder::StreamEnded() {
  for (const CQnRecorderInputPin* pin : {&m_Video, &m_Audio})
    if (pin->IsConnected() && !pin->ended()) return;
  if (m_State == State_Running) NotifyEvent(EC_COMPLETE, S_OK, 0);
}

STDMETHODIMP CQnMpegRecorder::SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE*) {
  CheckPointer(pszFileName, E_POINTER);
  CAutoLock lock(&m_Lock);
  if (m_State != State_Stopped) return VFW_E_WRONG_STATE;
  if (!*pszFileName) return E_INVALIDARG;
  m_fileName = pszFileName;
  return S_OK;
}

STDMETHODIMP CQnMpegRecorder::GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) {
  CheckPointer(ppszFileName, E_POINTER);
  *ppszFileName = nullptr;
  CAutoLock lock(&m_Lock);
  if (m_fileName.empty()) return E_FAIL;
  const size_t bytes = (m_fileName.size() + 1) * sizeof(WCHAR);
  *ppszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*ppszFileName) return E_OUTOFMEMORY;
  std::memcpy(*ppszFileName, m_fileName.c_str(), bytes);
  if (pmt) *pmt = AM_MEDIA_TYPE{};
  return S_OK;
}

HRESULT CQnMpegRecorder::Record(LONG itf, LONG slot, std::initializer_list<LONG> args, HRESULT result) {
  QnMpegRecorderCall call{itf, slot, static_cast<LONG>(args.size()), {}, result};
  std::copy(args.begin(), args.end(), call.args);
  std::lock_guard guard(m_settingsLock);
  m_calls.push_back(call);
  return result;
}

STDMETHODIMP CQnMpegRecorder::SetStreamType(LONG type) {
  const HRESULT hr = WhenStopped(plat::EncoderSettings::validStreamType(type) ? S_OK : E_INVALIDARG);
  if (hr == S_OK) {
    std::lock_guard guard(m_settingsLock);
    m_settings.streamType = type;
  }
  return Record(kVideo, 4, {type}, hr);
}

STDMETHODIMP CQnMpegRecorder::SetVideoBitRate(LONG bitsPerSecond) {
  const HRESULT hr = WhenStopped(bitsPerSecond >= 100000 && bitsPerSecond <= 50000000 ? S_OK : E_INVALIDARG);
  if (hr == S_OK) {
    std::lock_guard guard(m_settingsLock);
    m_settings.videoBitRate = bitsPerSecond;
  }
  return Record(kVideo, 6, {bitsPerSecond}, hr);
}

STDMETHODIMP CQnMpegRecorder::SetFrameRateCode(LONG code) {
  HRESULT hr = WhenStopped(plat::EncoderSettings::validFrameRateCode(code) ? S_OK : E_INVALIDARG);
  std::unique_lock guard(m_settingsLock);
  if (hr == S_OK && m_refusedCodes.count(code)) hr = E_INVALIDARG;
  if (hr == S_OK) m_settings.frameRateCode = code;
  guard.unlock();
  return Record(kVideo, 9, {code}, hr);
}

STDMETHODIMP CQnMpegRecorder::SetVideoBufferSize(LONG size) {
  return Record(kVideo, 11, {size}, WhenStopped(size > 0 ? S_OK : E_INVALIDARG));
}

STDMETHODIMP CQnMpegRecorder::GetEncodedFrames(LONG* frames) {
  if (!frames) return Record(kVideo, 19, {}, E_POINTER);
  *frames = m_frames;
  return Record(kVideo, 19, {*frames}, S_OK);
}

STDMETHODIMP CQnMpegRecorder::SetAudioBitRate(LONG kbitPerSecond) {
  static constexpr LONG kRates[] = {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
  bool known = false;
  for (LONG rate : kRates) known = known || rate == kbitPerSecond;
  const HRESULT hr = WhenStopped(known ? S_OK : E_INVALIDARG);
  if (hr == S_OK) {
    std::lock_guard guard(m_settingsLock);
    m_settings.audioKbitRate = kbitPerSecond;
  }
  return Record(kVideo, 28, {kbitPerSecond}, hr);
}

STDMETHODIMP CQnMpegRecorder::SetPictureSize(LONG width, LONG height) {
  const bool standard = width == 0 && height == 0;
  const bool valid = width >= 16 && height >= 16 && width <= 1920 && height <= 1152 && width % 2 == 0 && height % 2 == 0;
  const HRESULT hr = WhenStopped(standard || valid ? S_OK : E_INVALIDARG);
  if (hr == S_OK) {
    std::lock_guard guard(m_settingsLock);
    m_settings.width = width;
    m_settings.height = height;
  }
  return Record(kVideo, 55, {width, height}, hr);
}

STDMETHODIMP CQnMpegRecorder::GetCallCount(LONG* count) {
  CheckPointer(count, E_POINTER);
  std::lock_guard guard(m_settingsLock);
  *count = static_cast<LONG>(m_calls.size());
  return S_OK;
}

STDMETHODIMP CQnMpegRecorder::GetCall(LONG index, QnMpegRecorderCall* call) {
  CheckPointer(call, E_POINTER);
  std::lock_guard guard(m_settingsLock);
  if (index < 0 || index >= static_cast<LONG>(m_calls.size())) return E_INVALIDARG;
  *call = m_calls[static_cast<size_t>(index)];
  return S_OK;
}

STDMETHODIMP CQnMpegRecorder::GetSoundWrittenMs(LONG* ms) {
  if (!ms) return E_POINTER;
  *ms = m_soundWrittenMs;
  return S_OK;
}

STDMETHODIMP CQnMpegRecorder::RefuseFrameRateCode(LONG code) {
  std::lock_guard guard(m_settingsLock);
  m_refusedCodes.insert(code);
  return S_OK;
}
