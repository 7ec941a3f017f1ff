// The control side of the machine's USB TV stick: whether it is plugged in, the name of
// its device control filter, its registers and its tuner. The maker's control library
// (QXMDLL) reaches the stick only through this; the capture side reads the tuned
// frequency and the signal from here, so tuning by I2C changes what the stick shows.
//
// machine.ini [TVStick]: Present (1 plugged, the default), ControlFilter (the device
// control filter's name). The robot and tests plug and unplug it at run time.
//
// Registers are 16-bit cells, all 0 at power-up, kept while the stick stays plugged; a
// read returns the low byte of each cell from the first one on. Register 0xC037 is the
// decoder status: bit 3 is set while the tuner sits on a channel on air. The tuner is set
// by a 4-byte write to I2C address 0xC0: divider high and low byte, control byte, band
// byte; its local oscillator is divider / 16 MHz, and it receives the station of the
// broadcast whose picture carrier lies one IF below (Broadcast::stationAt). Every register
// and I2C write is kept in a log (the most recent ones) that tests read. Safe to use from
// several threads.
#pragma once

#include <machine/Broadcast.h>

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace plat {

class Machine;

class TvStickControl {
 public:
  static constexpr std::uint16_t kDecoderStatusRegister = 0xC037;
  static constexpr std::uint8_t kSignalBit = 0x08;
  static constexpr std::uint8_t kTunerAddress = 0xC0;
  static constexpr std::size_t kLogLimit = 4096;

  // One write as the stick saw it: a register (address, value) or an I2C transfer
  // (address, sub-address, mode, data).
  struct Write {
    enum class Kind { Register, I2C } kind;
    std::uint16_t address = 0;
    std::uint16_t value = 0;       // register writes
    std::uint16_t subAddress = 0;  // I2C writes
    std::uint8_t mode = 0;
    std::vector<std::uint8_t> data;
  };

  explicit TvStickControl(Machine& machine);

  bool isPlugged() const;
  // Unplugging forgets the registers and the tuner, as a stick losing power does.
  void setPlugged(bool plugged);
  std::string controlFilterName() const;

  // Each fails (false) while the stick is unplugged.
  bool writeRegister(std::uint16_t address, std::uint16_t value);
  bool readRegisters(std::uint16_t address, std::uint8_t* buffer, std::uint16_t length) const;
  // A write to another address or of another length is accepted and has no effect.
  bool writeI2C(std::uint8_t address, std::uint16_t subAddress, std::uint8_t mode, const std::uint8_t* data,
                std::uint16_t length);

  // The tuner's local oscillator in Hz; none before the first tuning since plugging in.
  std::optional<std::int64_t> oscillatorHz() const;
  // The station the tuner receives, while plugged.
  std::optional<Broadcast::Station> tunedStation() const;
  bool hasSignal() const { return tunedStation().has_value(); }
  const Broadcast& broadcast() const { return m_broadcast; }

  std::vector<Write> writes() const;

 private:
  void record(Write write);
  std::optional<Broadcast::Station> tunedStationLocked() const;

  Broadcast m_broadcast;
  std::string m_controlFilterName;
  mutable std::mutex m_lock;
  bool m_plugged;
  std::vector<std::uint16_t> m_registers;  // indexed by address
  std::optional<int> m_divider;
  std::deque<Write> m_log;
};

}  // namespace plat
