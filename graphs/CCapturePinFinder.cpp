#include "graphs/CCapturePinFinder.h"

CCapturePinFinder::~CCapturePinFinder() { ReleaseTuner(); }

void CCapturePinFinder::ReleaseTuner() {
  if (m_pTuner) m_pTuner->Release();
  m_pTuner = nullptr;
}

BOOL CCapturePinFinder::Attach(ICaptureGraphBuilder2* builder, IBaseFilter* device) {
  if (!builder || !device) return FALSE;
  ReleaseTuner();
  void* tuner = nullptr;
  if (FAILED(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, device, IID_IAMTVTuner, &tuner)) &&
      FAILED(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device, IID_IAMTVTuner, &tuner)))
    tuner = nullptr;
  m_pTuner = static_cast<IAMTVTuner*>(tuner);
  return m_pTuner != nullptr;
}

bool CCapturePinFinder::InRange(long channel) {
  long minimum = 0;
  long maximum = 0;
  if (!GetChannelRange(&minimum, &maximum) || minimum > maximum) return true;  // nothing to check against
  return channel >= minimum && channel <= maximum;
}

BOOL CCapturePinFinder::SetChannel(int kind, long channel) {
  if (kind != 1 && kind != 2) return FALSE;
  if (!InRange(channel)) return FALSE;
  (kind == 1 ? m_channel1 : m_channel2) = channel;
  if (m_pTuner) m_pTuner->put_Channel(channel, AMTUNER_SUBCHAN_DEFAULT, AMTUNER_SUBCHAN_DEFAULT);
  return TRUE;
}

BOOL CCapturePinFinder::ChannelUp(int kind) {
  if (kind != 1 && kind != 2) return FALSE;
  return SetChannel(kind, GetChannel(kind) + 1);
}

BOOL CCapturePinFinder::ChannelDown(int kind) {
  if (kind != 1 && kind != 2) return FALSE;
  return SetChannel(kind, GetChannel(kind) - 1);
}

long CCapturePinFinder::GetChannel(int kind) const { return kind == 1 ? m_channel1 : kind == 2 ? m_channel2 : 0; }

BOOL CCapturePinFinder::GetChannelRange(long* minimum, long* maximum) {
  return m_pTuner && SUCCEEDED(m_pTuner->ChannelMinMax(minimum, maximum));
}

BOOL CCapturePinFinder::IsSignalPresent() {
  long strength = AMTUNER_NOSIGNAL;
  return m_pTuner && SUCCEEDED(m_pTuner->SignalPresent(&strength)) && strength == AMTUNER_SIGNALPRESENT;
}

BOOL CCapturePinFinder::GetVideoFrequency(long* hertz) {
  return m_pTuner && SUCCEEDED(m_pTuner->get_VideoFrequency(hertz));
}
