#include <machine/PowerState.h>

#include <machine/EventLog.h>
#include <machine/Machine.h>
#include <machine/SharedPage.h>

#include <cstdio>

namespace plat {

PowerState::PowerState(Machine& machine)
    : m_machine(machine), m_page(std::make_unique<SharedPage>(machine.runFolder() / "power", sizeof(State))) {
  // Without the page the state is this process's alone, which still serves one program.
  m_state = m_page->data() ? m_page->as<State>() : &m_own;
}

PowerState::~PowerState() = default;

bool PowerState::isSuspended() const { return m_state->suspended.load() != 0; }

bool PowerState::isOff() const { return m_state->off.load() != 0; }

void PowerState::suspend() {
  m_state->suspended.store(1);
  note("standby", "suspended");
}

bool PowerState::resume(std::string_view cause) {
  if (m_state->suspended.exchange(0) == 0) return false;
  note("wake", cause);
  return true;
}

void PowerState::powerOff(std::string_view how) {
  m_state->off.store(1);
  note("shutdown", how);
}

void PowerState::armWake(std::int64_t unixMs) {
  m_state->wakeAtUnixMs.store(unixMs);
  note("wake-timer", "armed for " + localTime(unixMs));
}

void PowerState::cancelWake(std::int64_t unixMs) {
  std::int64_t expected = unixMs;
  if (m_state->wakeAtUnixMs.compare_exchange_strong(expected, 0))
    note("wake-timer", "cancelled " + localTime(unixMs));
}

std::optional<std::int64_t> PowerState::wakeTime() const {
  const std::int64_t at = m_state->wakeAtUnixMs.load();
  if (at == 0) return std::nullopt;
  return at;
}

void PowerState::note(std::string_view category, std::string_view text) {
  EventLog::power(m_machine).write(category, text);
}

std::string PowerState::localTime(std::int64_t unixMs) const {
  const std::tm t = m_machine.clock().toLocal(unixMs / 1000);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

}  // namespace plat
