#include <win32/user/UserSystem.h>

#include <machine/Machine.h>
#include <win32/thread.h>
#include <win32/user/WindowDirectory.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace plat {

namespace {

// Ends the queues a thread made when the thread ends, so its senders are released and its
// windows stop counting as live.
class ThreadQueues {
 public:
  ~ThreadQueues() {
    for (auto& weak : m_queues)
      if (auto queue = weak.lock()) queue->shutdown();
  }
  void add(const std::shared_ptr<MessageQueue>& queue) {
    std::erase_if(m_queues, [](const auto& weak) { return weak.expired(); });
    m_queues.push_back(queue);
  }

 private:
  std::vector<std::weak_ptr<MessageQueue>> m_queues;
};

thread_local ThreadQueues t_threadQueues;

}  // namespace

UserSystem::UserSystem(Machine& machine)
    : m_clock(machine.clock()), m_machine(machine), m_power(machine.service<PowerState>()),
      m_followers(machine.service<ClockFollowers>()),
      m_metrics(machine.ini()) {}

UserSystem::~UserSystem() {
  m_directory.reset();
  for (auto& [id, queue] : m_queues) queue->shutdown();
}

UserSystem& UserSystem::current() { return Machine::current().service<UserSystem>(); }

WindowDirectory& UserSystem::directory() {
  std::lock_guard guard(m_lock);
  if (!m_directory) m_directory = std::make_unique<WindowDirectory>(*this, m_machine.runFolder());
  return *m_directory;
}

std::shared_ptr<Window> UserSystem::window(HWND hwnd) {
  auto window = m_windows.find(hwnd);
  if (!window) return nullptr;
  const auto queue = m_queues.find(window->threadId);
  if (queue != m_queues.end() && queue->second->isShutDown()) {
    // Its thread ended without destroying it: the window went with the thread. It stays in
    // the table (callers may be walking it) but is never handed out again.
    if (m_orphans.insert(hwnd).second && m_directory) m_directory->unpublish(hwnd);
    return nullptr;
  }
  return window;
}

std::shared_ptr<MessageQueue> UserSystem::queue() {
  const DWORD id = GetCurrentThreadId();
  std::lock_guard guard(m_lock);
  auto& slot = m_queues[id];
  if (!slot || slot->isShutDown()) {
    slot = std::make_shared<MessageQueue>(id, m_followers.take(id));
    // The thread looks at its timers again whenever the clock moves, from whatever thread or
    // process; the watch goes before the queue does.
    MessageQueue* queue = slot.get();
    slot->keepClockWatch(m_machine.clock().watchMoves([queue] { queue->nudge(); }));
    t_threadQueues.add(slot);
  }
  return slot;
}

std::shared_ptr<MessageQueue> UserSystem::queueOf(DWORD threadId) {
  std::lock_guard guard(m_lock);
  const auto it = m_queues.find(threadId);
  if (it == m_queues.end() || it->second->isShutDown()) return nullptr;
  return it->second;
}

ThreadState& UserSystem::threadState(DWORD threadId) { return m_threads[threadId]; }

ThreadState& UserSystem::threadState() { return m_threads[GetCurrentThreadId()]; }

void UserSystem::setIdleHook(DWORD threadId, IdleHook hook) {
  std::lock_guard guard(m_lock);
  if (hook)
    m_idleHooks[threadId] = std::move(hook);
  else
    m_idleHooks.erase(threadId);
}

UserSystem::IdleHook UserSystem::idleHook(DWORD threadId) {
  std::lock_guard guard(m_lock);
  const auto it = m_idleHooks.find(threadId);
  return it == m_idleHooks.end() ? IdleHook{} : it->second;
}

void UserSystem::publish(HWND hwnd) {
  WindowDirectory::Entry entry;
  {
    std::lock_guard guard(m_lock);
    const auto window = this->window(hwnd);
    if (!window || window->isChild()) return;
    entry = {hwnd, GetCurrentProcessId(), window->threadId, window->windowClass->name, window->text, window->raisedAt,
             window->exStyle};
  }
  directory().publish(entry);
}

void UserSystem::unpublish(HWND hwnd) {
  std::lock_guard guard(m_lock);
  if (m_directory) m_directory->unpublish(hwnd);
}

UINT UserSystem::registerMessage(const std::string& name) {
  // Derived from the name alone, so every process of the machine agrees on the number.
  std::uint32_t hash = 2166136261u;
  for (const char c : name) {
    hash ^= static_cast<std::uint8_t>(std::toupper(static_cast<unsigned char>(c)));
    hash *= 16777619u;
  }
  return 0xC000u + (hash % 0x4000u);
}

}  // namespace plat
