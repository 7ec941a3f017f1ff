// The machine's PCI TV capture card, when it has one: its identity in the device lists,
// its tuner chip behind I2C address 0xC0, five GPIO lines carrying the code of the
// remote-control key being pressed, and the picture controls of its video decoder. The
// card's driver object (vendor/capture_driver) reaches the bus and the lines through this.
//
// machine.ini [CaptureCard]: Present (1: the card is fitted; absent by default),
// FriendlyName, DevicePath, the picture controls (CaptureHardware.h). The card receives
// the machine's [Broadcast].
//
// The tuner takes 4-byte writes: divider high and low byte, control byte, band byte. Its
// local oscillator is divider / 16 MHz, and it receives the station whose picture carrier
// lies 38.875 MHz (its intermediate frequency) below, within a megahertz. Every I2C write
// is logged for tests. Safe to use from any thread.
#pragma once

#include <machine/CaptureHardware.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plat {

class Machine;

class CaptureCard final : public CaptureHardware {
 public:
  static constexpr std::uint8_t kTunerAddress = 0xC0;
  static constexpr int kGpioLines = 5;
  static constexpr std::int64_t kIntermediateHz = 38'875'000;

  struct I2CWrite {
    std::uint8_t address;
    std::vector<std::uint8_t> data;
  };

  explicit CaptureCard(Machine& machine);

  const std::string& friendlyName() const override { return m_friendlyName; }
  const std::string& devicePath() const { return m_devicePath; }
  bool present() const override { return m_present; }

  // A write to another address or of another length is logged and has no effect.
  void writeI2C(std::uint8_t address, const std::uint8_t* data, std::size_t length);
  std::vector<I2CWrite> i2cWrites() const;
  std::optional<std::int64_t> oscillatorHz() const;

  // The remote's receiver holds a key's code on lines 4 (high bit) to 0 while it is
  // pressed; 0 when no key is.
  void setRemoteCode(int code);
  // Direction 0 makes a line an input; only inputs read the receiver.
  void setLineDirection(int line, int direction);
  // 0 or 1; false for a line that does not exist.
  bool readLine(int line, int* value) const;

 private:
  std::optional<Scene> currentScene() const override;

  const std::string m_friendlyName;
  const std::string m_devicePath;
  const bool m_present;
  const Broadcast m_broadcast;
  std::vector<I2CWrite> m_writes;
  std::optional<std::int64_t> m_oscillatorHz;
  int m_remoteCode = 0;
  int m_outputLines = (1 << kGpioLines) - 1;  // lines start as outputs
};

}  // namespace plat
