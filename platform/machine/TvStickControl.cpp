#include <machine/TvStickControl.h>

#include <machine/Log.h>
#include <machine/Machine.h>

namespace plat {

namespace {

constexpr char kDefaultControlFilter[] = "Talvik Device Control Filter";
constexpr std::size_t kRegisterCount = 0x10000;
constexpr std::int64_t kHzPerDividerStep = 62'500;  // 1/16 MHz

}  // namespace

TvStickControl::TvStickControl(Machine& machine)
    : m_broadcast(Broadcast::fromIni(machine.ini())),
      m_controlFilterName(machine.ini().valueOr("TVStick", "ControlFilter", kDefaultControlFilter)),
      m_plugged(machine.ini().intValue("TVStick", "Present", 1) != 0),
      m_registers(kRegisterCount, 0) {}

bool TvStickControl::isPlugged() const {
  std::lock_guard guard(m_lock);
  return m_plugged;
}

void TvStickControl::setPlugged(bool plugged) {
  std::lock_guard guard(m_lock);
  if (m_plugged == plugged) return;
  m_plugged = plugged;
  std::fill(m_registers.begin(), m_registers.end(), 0);
  m_divider.reset();
  PLAT_LOG("tvstick", "%s", plugged ? "plugged in" : "unplugged");
}

std::string TvStickControl::controlFilterName() const { return m_controlFilterName; }

bool TvStickControl::writeRegister(std::uint16_t address, std::uint16_t value) {
  std::lock_guard guard(m_lock);
  if (!m_plugged) return false;
  m_registers[address] = value;
  record({Write::Kind::Register, address, value, 0, 0, {}});
  return true;
}

bool TvStickControl::readRegisters(std::uint16_t address, std::uint8_t* buffer, std::uint16_t length) const {
  std::lock_guard guard(m_lock);
  if (!m_plugged || !buffer) return false;
  for (std::size_t i = 0; i < length; ++i) {
    std::size_t cell = (address + i) % kRegisterCount;
    std::uint8_t byte = static_cast<std::uint8_t>(m_registers[cell]);
    if (cell == kDecoderStatusRegister) byte = tunedStationLocked() ? (byte | kSignalBit) : (byte & ~kSignalBit);
    buffer[i] = byte;
  }
  return true;
}

bool TvStickControl::writeI2C(std::uint8_t address, std::uint16_t subAddress, std::uint8_t mode,
                              const std::uint8_t* data, std::uint16_t length) {
  std::lock_guard guard(m_lock);
  if (!m_plugged || (length > 0 && !data)) return false;
  record({Write::Kind::I2C, address, 0, subAddress, mode, std::vector<std::uint8_t>(data, data + length)});
  if (address == kTunerAddress && length == 4) {
    m_divider = (data[0] << 8) | data[1];
    PLAT_LOG("tvstick", "tuner divider %d band %u", *m_divider, data[3]);
  }
  return true;
}

std::optional<std::int64_t> TvStickControl::oscillatorHz() const {
  std::lock_guard guard(m_lock);
  if (!m_divider) return std::nullopt;
  return *m_divider * kHzPerDividerStep;
}

std::optional<Broadcast::Station> TvStickControl::tunedStation() const {
  std::lock_guard guard(m_lock);
  return tunedStationLocked();
}

std::optional<Broadcast::Station> TvStickControl::tunedStationLocked() const {
  if (!m_plugged || !m_divider) return std::nullopt;
  return m_broadcast.stationAt(*m_divider * kHzPerDividerStep);
}

std::vector<TvStickControl::Write> TvStickControl::writes() const {
  std::lock_guard guard(m_lock);
  return std::vector<Write>(m_log.begin(), m_log.end());
}

void TvStickControl::record(Write write) {
  if (m_log.size() == kLogLimit) m_log.pop_front();
  m_log.push_back(std::move(write));
}

}  // namespace plat
