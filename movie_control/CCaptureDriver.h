// The capture card driver's COM object as the control uses it: the first card of the
// driver's device list, its I2C bus for the tuner chip and its GPIO lines for the
// remote control. Every interface is taken for one call and released; a driver that is
// missing, lists no card or refuses a step makes the call do nothing.
#pragma once

#include <win32/types.h>

class CCaptureDriver {
 public:
  // Writes the bytes to the I2C device at `address`; false when nothing was written.
  static bool WriteI2C(BYTE address, const BYTE* data, long length);
  // The 5-bit remote-control code on GPIO lines 4 (high bit) to 0; 0 on any failure.
  static int ReadRemoteCode();
};
