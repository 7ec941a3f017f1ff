#include <dshow/engine/GraphEvents.h>

#include <dshow/evcode.h>
#include <win32/user/message.h>

namespace plat {

namespace {
constexpr REFERENCE_TIME kUnitsPerMs = 10'000;

REFERENCE_TIME deadlineAfter(long msTimeout) {
  if (msTimeout < 0 || static_cast<DWORD>(msTimeout) == INFINITE) return -1;
  return ClockWait::now() + static_cast<REFERENCE_TIME>(msTimeout) * kUnitsPerMs;
}

bool endsTheRun(long code) { return code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT; }
}  // namespace

STDMETHODIMP GraphEvents::GetEventHandle(OAEVENT*) { return E_NOTIMPL; }

STDMETHODIMP GraphEvents::GetEvent(long* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, long msTimeout) {
  CheckPointer(lEventCode, E_POINTER);
  CheckPointer(lParam1, E_POINTER);
  CheckPointer(lParam2, E_POINTER);
  auto ready = [&] {
    std::lock_guard guard(m_lock);
    return !m_events.empty();
  };
  if (msTimeout != 0 && !ready()) m_wait.waitFor(ready, deadlineAfter(msTimeout));
  std::lock_guard guard(m_lock);
  if (m_events.empty()) {
    *lEventCode = 0;
    *lParam1 = *lParam2 = 0;
    return E_ABORT;
  }
  const Event event = m_events.front();
  m_events.pop_front();
  *lEventCode = event.code;
  *lParam1 = event.param1;
  *lParam2 = event.param2;
  return S_OK;
}

STDMETHODIMP GraphEvents::WaitForCompletion(long msTimeout, long* pEvCode) {
  CheckPointer(pEvCode, E_POINTER);
  long found = 0;
  auto completed = [&] {
    std::lock_guard guard(m_lock);
    for (const Event& event : m_events)
      if (endsTheRun(event.code)) {
        found = event.code;
        return true;
      }
    return false;
  };
  if (completed() || (msTimeout != 0 && m_wait.waitFor(completed, deadlineAfter(msTimeout)))) {
    *pEvCode = found;
    return S_OK;
  }
  *pEvCode = 0;
  return E_ABORT;
}

STDMETHODIMP GraphEvents::CancelDefaultHandling(long lEvCode) {
  if (lEvCode != EC_COMPLETE) return S_FALSE;
  std::lock_guard guard(m_lock);
  m_noDefault.insert(lEvCode);
  return S_OK;
}

STDMETHODIMP GraphEvents::RestoreDefaultHandling(long lEvCode) {
  if (lEvCode != EC_COMPLETE) return S_FALSE;
  std::lock_guard guard(m_lock);
  m_noDefault.erase(lEvCode);
  return S_OK;
}

STDMETHODIMP GraphEvents::FreeEventParams(long, LONG_PTR, LONG_PTR) { return S_OK; }

STDMETHODIMP GraphEvents::SetNotifyWindow(OAHWND hwnd, long lMsg, LONG_PTR lInstanceData) {
  std::lock_guard guard(m_lock);
  m_window = hwnd;
  m_message = lMsg;
  m_instance = lInstanceData;
  return S_OK;
}

STDMETHODIMP GraphEvents::SetNotifyFlags(long lNoNotifyFlags) {
  if (lNoNotifyFlags != 0 && lNoNotifyFlags != AM_MEDIAEVENT_NONOTIFY) return E_INVALIDARG;
  std::lock_guard guard(m_lock);
  m_flags = lNoNotifyFlags;
  return S_OK;
}

STDMETHODIMP GraphEvents::GetNotifyFlags(long* lplNoNotifyFlags) {
  CheckPointer(lplNoNotifyFlags, E_POINTER);
  std::lock_guard guard(m_lock);
  *lplNoNotifyFlags = m_flags;
  return S_OK;
}

void GraphEvents::notify(long code, LONG_PTR param1, LONG_PTR param2) {
  if (code == EC_COMPLETE) {
    std::unique_lock guard(m_lock);
    if (!m_noDefault.count(EC_COMPLETE)) {
      // Only the last renderer of the run to finish makes the graph complete.
      if (!m_counting || !m_renderers.erase(param2) || !m_renderers.empty()) return;
      m_counting = false;
      guard.unlock();
      queue({EC_COMPLETE, S_OK, 0});
      return;
    }
  }
  queue({code, param1, param2});
}

void GraphEvents::queue(const Event& event) {
  HWND window = nullptr;
  UINT message = 0;
  LONG_PTR instance = 0;
  {
    std::lock_guard guard(m_lock);
    m_events.push_back(event);
    if (m_window && !(m_flags & AM_MEDIAEVENT_NONOTIFY)) {
      window = reinterpret_cast<HWND>(m_window);
      message = static_cast<UINT>(m_message);
      instance = m_instance;
    }
  }
  m_wait.notify();
  // Posted outside the lock: the window's thread may be reading events right now.
  if (window) PostMessageA(window, message, 0, instance);
}

void GraphEvents::startRun(std::set<LONG_PTR> renderers) {
  std::lock_guard guard(m_lock);
  m_renderers = std::move(renderers);
  m_counting = !m_renderers.empty();
}

void GraphEvents::stopRun() {
  std::lock_guard guard(m_lock);
  m_renderers.clear();
  m_counting = false;
}

}  // namespace plat
