#include "TestRenderer.h"

#include <algorithm>
#include <chrono>

namespace fanout {

class TestRenderer::Pin : public CBaseInputPin {
 public:
  explicit Pin(TestRenderer* renderer)
      : CBaseInputPin("Test renderer input", renderer, &renderer->m_lock, nullptr, L"In"), m_renderer(renderer) {}

  HRESULT CheckMediaType(const CMediaType* pmt) override {
    const auto& subtypes = m_renderer->m_subtypes;
    if (subtypes.empty()) return S_OK;
    return std::find(subtypes.begin(), subtypes.end(), *pmt->Subtype()) != subtypes.end() ? S_OK : S_FALSE;
  }
  STDMETHODIMP NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) override {
    if (FAILED(m_renderer->m_allocatorAnswer)) return m_renderer->m_allocatorAnswer;
    m_renderer->m_allocator = pAllocator;
    m_renderer->m_readOnly = bReadOnly;
    return CBaseInputPin::NotifyAllocator(pAllocator, bReadOnly);
  }
  STDMETHODIMP ReceiveCanBlock() override { return m_renderer->m_canBlock ? S_OK : S_FALSE; }
  STDMETHODIMP Receive(IMediaSample* pSample) override {
    const HRESULT hr = CBaseInputPin::Receive(pSample);
    return hr == S_OK ? m_renderer->receive(pSample) : hr;
  }
  STDMETHODIMP EndOfStream() override {
    std::lock_guard guard(m_renderer->m_dataLock);
    ++m_renderer->m_eos;
    m_renderer->m_changed.notify_all();
    return S_OK;
  }
  STDMETHODIMP BeginFlush() override {
    {
      std::lock_guard guard(m_renderer->m_dataLock);
      ++m_renderer->m_beginFlushes;
      m_renderer->m_released = true;
      m_renderer->m_changed.notify_all();
    }
    return CBaseInputPin::BeginFlush();
  }
  STDMETHODIMP EndFlush() override {
    {
      std::lock_guard guard(m_renderer->m_dataLock);
      ++m_renderer->m_endFlushes;
      m_renderer->m_released = false;
    }
    return CBaseInputPin::EndFlush();
  }
  STDMETHODIMP NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override {
    std::lock_guard guard(m_renderer->m_dataLock);
    m_renderer->m_segments.push_back({tStart, tStop, dRate});
    return CBaseInputPin::NewSegment(tStart, tStop, dRate);
  }
  HRESULT Active() override {
    std::lock_guard guard(m_renderer->m_dataLock);
    m_renderer->m_released = false;
    return S_OK;
  }

 private:
  TestRenderer* m_renderer;
};

TestRenderer::TestRenderer(std::vector<GUID> subtypes)
    : CBaseFilter("Test renderer", nullptr, &m_lock, GUID_NULL), m_pin(std::make_unique<Pin>(this)), m_subtypes(std::move(subtypes)) {}

TestRenderer::~TestRenderer() = default;

CBasePin* TestRenderer::GetPin(int n) { return n == 0 ? m_pin.get() : nullptr; }

IPin* TestRenderer::input() { return m_pin.get(); }

STDMETHODIMP TestRenderer::Stop() {
  {
    std::lock_guard guard(m_dataLock);
    m_released = true;
    m_changed.notify_all();
  }
  return CBaseFilter::Stop();
}

void TestRenderer::setBlocking(bool block) {
  std::lock_guard guard(m_dataLock);
  m_block = block;
  m_changed.notify_all();
}

void TestRenderer::failFrom(int frame, HRESULT hr) {
  std::lock_guard guard(m_dataLock);
  m_failFrom = frame;
  m_failure = hr;
}

HRESULT TestRenderer::receive(IMediaSample* sample) {
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  const long length = sample->GetActualDataLength();
  const int frame = length > 0 ? data[0] : -1;
  std::unique_lock guard(m_dataLock);
  if (m_block) {
    m_blocked = true;
    m_changed.notify_all();
    m_changed.wait(guard, [&] { return !m_block || m_released; });
    m_blocked = false;
    if (m_released) return S_FALSE;
  }
  if (m_failFrom >= 0 && frame >= m_failFrom) return m_failure;
  m_samples.push_back({sample, data, length, frame});
  m_changed.notify_all();
  return S_OK;
}

std::vector<TestRenderer::Received> TestRenderer::samples() const {
  std::lock_guard guard(m_dataLock);
  return m_samples;
}

std::vector<int> TestRenderer::frames() const {
  std::lock_guard guard(m_dataLock);
  std::vector<int> list;
  for (const Received& received : m_samples) list.push_back(received.frame);
  return list;
}

int TestRenderer::endOfStreams() const {
  std::lock_guard guard(m_dataLock);
  return m_eos;
}

int TestRenderer::beginFlushes() const {
  std::lock_guard guard(m_dataLock);
  return m_beginFlushes;
}

int TestRenderer::endFlushes() const {
  std::lock_guard guard(m_dataLock);
  return m_endFlushes;
}

std::vector<TestRenderer::Segment> TestRenderer::segments() const {
  std::lock_guard guard(m_dataLock);
  return m_segments;
}

template <class Pred>
bool TestRenderer::waitFor(Pred pred) {
  std::unique_lock guard(m_dataLock);
  return m_changed.wait_for(guard, std::chrono::seconds(10), pred);
}

bool TestRenderer::waitForSamples(size_t count) {
  return waitFor([&] { return m_samples.size() >= count; });
}

bool TestRenderer::waitForEndOfStream() {
  return waitFor([&] { return m_eos > 0; });
}

bool TestRenderer::waitUntilBlocked() {
  return waitFor([&] { return m_blocked; });
}

}  // namespace fanout
