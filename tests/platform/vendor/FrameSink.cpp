#include "FrameSink.h"

#include <chrono>

namespace vendortest {

class FrameSink::Pin : public CBaseInputPin {
 public:
  explicit Pin(FrameSink* sink) : CBaseInputPin("Frame sink input", sink, &sink->m_lock, nullptr, L"In"), m_sink(sink) {}

  HRESULT CheckMediaType(const CMediaType*) override { return S_OK; }
  STDMETHODIMP Receive(IMediaSample* pSample) override {
    const HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr != S_OK) return hr;
    BYTE* data = nullptr;
    pSample->GetPointer(&data);
    std::lock_guard guard(m_sink->m_dataLock);
    m_sink->m_frames.emplace_back(data, data + pSample->GetActualDataLength());
    return S_OK;
  }
  STDMETHODIMP EndOfStream() override {
    std::lock_guard guard(m_sink->m_dataLock);
    m_sink->m_ended = true;
    m_sink->m_changed.notify_all();
    return S_OK;
  }

 private:
  FrameSink* m_sink;
};

FrameSink::FrameSink() : CBaseFilter("Frame sink", nullptr, &m_lock, GUID_NULL), m_pin(std::make_unique<Pin>(this)) {}

FrameSink::~FrameSink() = default;

CBasePin* FrameSink::GetPin(int n) { return n == 0 ? m_pin.get() : nullptr; }

IPin* FrameSink::input() { return m_pin.get(); }

std::vector<std::vector<BYTE>> FrameSink::frames() const {
  std::lock_guard guard(m_dataLock);
  return m_frames;
}

bool FrameSink::waitForEndOfStream() {
  std::unique_lock lock(m_dataLock);
  return m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_ended; });
}

}  // namespace vendortest
