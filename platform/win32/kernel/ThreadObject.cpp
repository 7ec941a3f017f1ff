#include <win32/kernel/ThreadObject.h>

#include <machine/StreamActivity.h>
#include <win32/kernel/MutexObject.h>
#include <win32/kernel/WaitHub.h>
#include <win32/thread.h>

#include <atomic>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

namespace plat {

namespace {

std::atomic<DWORD> g_lastThreadId{0};
thread_local DWORD t_threadId = 0;

DWORD nextThreadId() { return g_lastThreadId += 4; }

}  // namespace

ThreadObject::ThreadObject(unsigned suspendCount) : m_id(nextThreadId()), m_suspendCount(suspendCount) {}

DWORD ThreadObject::currentId() {
  if (t_threadId == 0) t_threadId = nextThreadId();
  return t_threadId;
}

std::shared_ptr<ThreadObject> ThreadObject::start(Routine routine, void* parameter, bool suspended) {
  auto thread = std::make_shared<ThreadObject>(suspended ? 1 : 0);
  try {
    StreamActivity::instance()
        .startThread("thread " + std::to_string(thread->id()), [thread, routine, parameter] { thread->run(routine, parameter); })
        .detach();
  } catch (const std::system_error&) {
    return nullptr;
  }
  return thread;
}

void ThreadObject::run(Routine routine, void* parameter) {
  t_threadId = m_id;
  WaitHub& hub = WaitHub::instance();
  {
    // Held, it has nothing to do until ResumeThread.
    std::unique_lock guard(hub.lock());
    StreamActivity::instance().wait(&hub, [this] { return m_suspendCount == 0; }, std::nullopt, &guard);
  }
  const DWORD code = routine(parameter);
  // Waiters on the thread find its mutexes already abandoned.
  MutexObject::abandonOwnedByCurrentThread();
  std::lock_guard guard(hub.lock());
  m_exitCode = code;
  m_finished = true;
  hub.notifyAll();
}

DWORD ThreadObject::exitCode() const {
  std::lock_guard guard(WaitHub::instance().lock());
  return m_finished ? m_exitCode : STILL_ACTIVE;
}

DWORD ThreadObject::resume() {
  WaitHub& hub = WaitHub::instance();
  std::lock_guard guard(hub.lock());
  const DWORD before = m_suspendCount;
  if (m_suspendCount > 0 && --m_suspendCount == 0) hub.notifyAll();
  return before;
}

Waitable::Grant ThreadObject::tryAcquire(DWORD) { return m_finished ? Grant::Granted : Grant::None; }

}  // namespace plat
