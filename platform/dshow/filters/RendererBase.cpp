#include <dshow/filters/RendererBase.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CPosPassThru.h>
#include <dshow/evcode.h>

namespace plat {

namespace {
constexpr REFERENCE_TIME kUnitsPerMs = 10'000;
}

class RendererBase::Pin : public CBaseInputPin {
 public:
  Pin(RendererBase* renderer, LPCWSTR name)
      : CBaseInputPin("Renderer input", renderer, &renderer->m_lock, nullptr, name), m_renderer(renderer) {}

  HRESULT CheckMediaType(const CMediaType* pmt) override { return m_renderer->CheckMediaType(pmt); }
  HRESULT SetMediaType(const CMediaType* pmt) override {
    const HRESULT hr = CBaseInputPin::SetMediaType(pmt);
    return FAILED(hr) ? hr : m_renderer->SetMediaType(pmt);
  }
  HRESULT BreakConnect() override {
    m_renderer->BreakConnect();
    return CBaseInputPin::BreakConnect();
  }
  STDMETHODIMP Receive(IMediaSample* sample) override {
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    return m_renderer->receive(sample);
  }
  STDMETHODIMP EndOfStream() override {
    if (IsStopped() || m_bFlushing) return S_OK;
    m_renderer->endOfStream();
    return S_OK;
  }
  STDMETHODIMP BeginFlush() override {
    CBaseInputPin::BeginFlush();
    m_renderer->beginFlush();
    return S_OK;
  }
  STDMETHODIMP EndFlush() override {
    m_renderer->endFlush();
    return CBaseInputPin::EndFlush();
  }
  STDMETHODIMP ReceiveCanBlock() override { return S_OK; }

 private:
  RendererBase* m_renderer;
};

RendererBase::RendererBase(const char* name, LPUNKNOWN outer, REFCLSID clsid, HRESULT* phr, LPCWSTR pinName)
    : CBaseFilter(name, outer, &m_lock, clsid, phr), m_pin(std::make_unique<Pin>(this, pinName)) {}

RendererBase::~RendererBase() {
  m_seeking.reset();
  m_pin.reset();
}

STDMETHODIMP RendererBase::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IAMFilterMiscFlags) return GetInterface(static_cast<IAMFilterMiscFlags*>(this), ppv);
  if (riid == IID_IMediaSeeking || riid == IID_IMediaPosition) {
    CAutoLock lock(&m_lock);
    if (!m_seeking) {
      const HRESULT hr = CreatePosPassThru(GetOwner(), TRUE, m_pin.get(), m_seeking.put());
      if (FAILED(hr)) return hr;
    }
    return m_seeking->QueryInterface(riid, ppv);
  }
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* RendererBase::GetPin(int n) { return n == 0 ? m_pin.get() : nullptr; }

CBaseInputPin* RendererBase::input() { return m_pin.get(); }

STDMETHODIMP RendererBase::Stop() {
  // Any wait ends before the pin refuses samples and the filter stops.
  m_wait.cancel();
  const HRESULT hr = CBaseFilter::Stop();
  m_shown = false;
  m_endOfStream = false;
  m_completionSent = false;
  m_wait.reset();
  return hr;
}

STDMETHODIMP RendererBase::Pause() {
  const HRESULT hr = CBaseFilter::Pause();
  m_wait.notify();
  return hr;
}

STDMETHODIMP RendererBase::Run(REFERENCE_TIME tStart) {
  const HRESULT hr = CBaseFilter::Run(tStart);
  if (SUCCEEDED(hr) && m_endOfStream && !m_completionSent.exchange(true)) NotifyEvent(EC_COMPLETE, S_OK, 0);
  m_wait.notify();
  return hr;
}

STDMETHODIMP RendererBase::GetState(DWORD dwMSecs, FILTER_STATE* State) {
  CheckPointer(State, E_POINTER);
  *State = m_State;
  if (m_State != State_Paused || !m_pin->IsConnected()) return S_OK;
  // A paused renderer is ready once it shows a still (or knows none will come).
  auto ready = [&] { return m_shown || m_endOfStream || m_State != State_Paused; };
  if (!ready() && dwMSecs != 0) {
    const REFERENCE_TIME deadline = dwMSecs == INFINITE ? -1 : ClockWait::now() + dwMSecs * kUnitsPerMs;
    m_wait.waitFor(ready, deadline);
  }
  return ready() ? S_OK : VFW_S_STATE_INTERMEDIATE;
}

HRESULT RendererBase::receive(IMediaSample* sample) {
  for (;;) {
    if (m_pin->IsFlushing()) return S_FALSE;
    const FILTER_STATE state = m_State;
    if (state == State_Stopped) return VFW_E_WRONG_STATE;
    if (state == State_Paused) {
      if (!m_shown) {
        render(sample);
        ++m_rendered;
        m_shown = true;
        m_wait.notify();
      }
      // Hold the stream until the graph runs (or stops, or flushes).
      if (!m_wait.waitFor([&] { return m_State != State_Paused || m_pin->IsFlushing(); }, -1)) return S_FALSE;
      continue;
    }
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    if (m_pClock && SUCCEEDED(sample->GetTime(&start, &stop))) {
      const REFERENCE_TIME due = m_tStart + start;
      if (!m_wait.waitFor([&] { return m_State != State_Running || m_pin->IsFlushing() || ClockWait::now() >= due; }, due) &&
          m_wait.cancelled())
        return S_FALSE;
      if (m_State != State_Running || m_pin->IsFlushing()) continue;
    }
    const HRESULT hr = render(sample);
    ++m_rendered;
    m_shown = true;
    return FAILED(hr) ? hr : S_OK;
  }
}

void RendererBase::endOfStream() {
  m_endOfStream = true;
  m_wait.notify();
  if (m_State == State_Running && !m_completionSent.exchange(true)) NotifyEvent(EC_COMPLETE, S_OK, 0);
}

void RendererBase::beginFlush() { m_wait.cancel(); }

void RendererBase::endFlush() {
  m_wait.reset();
  m_shown = false;
  m_endOfStream = false;
  m_completionSent = false;
}

}  // namespace plat
