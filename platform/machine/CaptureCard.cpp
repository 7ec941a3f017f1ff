#include <machine/CaptureCard.h>

#include <machine/Machine.h>

namespace plat {

namespace {
constexpr std::size_t kLogLimit = 4096;
constexpr std::int64_t kPllStepHz = 62'500;
}  // namespace

CaptureCard::CaptureCard(Machine& machine)
    : CaptureHardware(machine.ini(), "CaptureCard"),
      m_friendlyName(machine.ini().valueOr("CaptureCard", "FriendlyName", "Talvik Sorrel PCI TV Card")),
      m_devicePath(machine.ini().valueOr("CaptureCard", "DevicePath",
                                         "\\\\?\\pci#ven_1131&dev_7130&subsys_5a5a0001&rev_01#3&11a2b3c4&0&40#"
                                         "{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\sorrel")),
      m_present(machine.ini().intValue("CaptureCard", "Present", 0) != 0),
      m_broadcast(Broadcast::fromIni(machine.ini())) {}

void CaptureCard::writeI2C(std::uint8_t address, const std::uint8_t* data, std::size_t length) {
  std::lock_guard guard(m_lock);
  if (m_writes.size() == kLogLimit) m_writes.erase(m_writes.begin());
  m_writes.push_back({address, std::vector<std::uint8_t>(data, data + length)});
  if (address != kTunerAddress || length != 4) return;
  const std::int64_t divider = (std::int64_t{data[0]} << 8) | data[1];
  m_oscillatorHz = divider * kPllStepHz;
}

std::vector<CaptureCard::I2CWrite> CaptureCard::i2cWrites() const {
  std::lock_guard guard(m_lock);
  return m_writes;
}

std::optional<std::int64_t> CaptureCard::oscillatorHz() const {
  std::lock_guard guard(m_lock);
  return m_oscillatorHz;
}

void CaptureCard::setRemoteCode(int code) {
  std::lock_guard guard(m_lock);
  m_remoteCode = code & ((1 << kGpioLines) - 1);
}

void CaptureCard::setLineDirection(int line, int direction) {
  if (line < 0 || line >= kGpioLines) return;
  std::lock_guard guard(m_lock);
  if (direction == 0) m_outputLines &= ~(1 << line);
  else m_outputLines |= 1 << line;
}

bool CaptureCard::readLine(int line, int* value) const {
  if (line < 0 || line >= kGpioLines || !value) return false;
  std::lock_guard guard(m_lock);
  const bool input = (m_outputLines & (1 << line)) == 0;
  *value = input ? (m_remoteCode >> line) & 1 : 0;
  return true;
}

std::optional<Scene> CaptureCard::currentScene() const {
  std::optional<std::int64_t> oscillator = oscillatorHz();
  if (!m_present || !oscillator) return std::nullopt;
  const auto station = m_broadcast.stationWithCarrier(*oscillator - kIntermediateHz);
  if (!station) return std::nullopt;
  return station->scene;
}

}  // namespace plat
