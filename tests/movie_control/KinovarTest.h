// A fresh machine with the PCI capture card fitted, its driver registered and COM up.
#pragma once

#include <support/TestMachine.h>

#include <machine/CaptureCard.h>
#include <win32/types.h>

#include <cstdint>
#include <vector>

namespace test {

class KinovarTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  plat::CaptureCard& card();
  // The data of every I2C write the card has seen.
  std::vector<std::vector<std::uint8_t>> i2cData();

 public:
  // Calls a no-argument export of a module of the program folder.
  static HRESULT callExport(const char* module, const char* name);

 protected:
  static void setOverride(const char* key, const char* channel, DWORD hz);
};

}  // namespace test
