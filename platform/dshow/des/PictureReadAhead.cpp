#include <dshow/des/PictureReadAhead.h>

#include <cstring>

namespace plat {

void PictureReadAhead::start(Make make) {
  stop();
  m_make = std::move(make);
  m_stopping = false;
  m_ended = false;
  m_thread = std::thread(&PictureReadAhead::run, this);
}

void PictureReadAhead::stop() {
  if (!m_thread.joinable()) return;
  {
    std::lock_guard guard(m_lock);
    m_stopping = true;
  }
  m_changed.notify_all();
  m_thread.join();
  for (auto& picture : m_ready) m_spare.push_back(std::move(picture));
  m_ready.clear();
}

bool PictureReadAhead::take(BYTE* out) {
  std::unique_lock guard(m_lock);
  m_changed.wait(guard, [&] { return !m_ready.empty() || m_ended || m_stopping; });
  if (m_ready.empty()) return false;
  std::memcpy(out, m_ready.front().data(), m_bytes);
  m_spare.push_back(std::move(m_ready.front()));
  m_ready.pop_front();
  guard.unlock();
  m_changed.notify_all();
  return true;
}

void PictureReadAhead::run() {
  std::unique_lock guard(m_lock);
  for (std::int64_t index = 0;; ++index) {
    m_changed.wait(guard, [&] { return m_ready.size() < kAhead || m_stopping; });
    if (m_stopping) return;
    std::vector<BYTE> picture;
    if (m_spare.empty()) {
      picture.resize(m_bytes);
    } else {
      picture = std::move(m_spare.back());
      m_spare.pop_back();
    }
    guard.unlock();
    const bool made = m_make(index, picture.data());
    guard.lock();
    if (made) {
      m_ready.push_back(std::move(picture));
    } else {
      m_spare.push_back(std::move(picture));
      m_ended = true;
    }
    guard.unlock();
    m_changed.notify_all();
    guard.lock();
    if (!made) return;
  }
}

}  // namespace plat
