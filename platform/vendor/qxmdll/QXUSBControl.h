// The maker's device control library ("QXMDLL.dll"): the class CQXUSB_Control, through
// which the program reaches the USB TV stick's registers and its I2C bus (the tuner).
//
// The stand-in works on the machine's simulated stick (plat::TvStickControl). An object
// opens the control interface by the name of the stick's device control filter; opening
// succeeds only while the stick is plugged in and the name matches. While the interface
// is not open, or after the stick was pulled, every call fails with a negative result.
// Remote-control keys come from the machine's receiver queue, which any process may fill.
#pragma once

#include <win32/types.h>

class __attribute__((visibility("default"))) CQXUSB_Control {
 public:
  CQXUSB_Control();
  virtual ~CQXUSB_Control();
  CQXUSB_Control(const CQXUSB_Control&) = delete;
  CQXUSB_Control& operator=(const CQXUSB_Control&) = delete;

  // Nonzero when opened; 0 when the stick is absent or the name is not its filter's.
  int OpenControlInterface(const char* filterName);
  void CloseControlInterface();

  // 0 on success, negative on failure.
  long SetRegData(WORD reg, WORD value);
  // Reads `length` bytes from `reg` on; 0 on success, negative on failure.
  long GetRegData(WORD reg, BYTE* buffer, WORD length);
  // One I2C write of `length` bytes to the device at *address, sub-address *subAddress;
  // 0 on success, negative on failure.
  long SetI2CData(BYTE* address, WORD* subAddress, BYTE mode, BYTE* data, WORD length);

  // The remote-control receiver's next report (plat::RemoteControl has the layout); 0 on
  // success, negative on failure.
  long GetRemoteData(DWORD* word0, DWORD* word1);
  // Negative while the device is in error: not open, or pulled out since it was opened.
  long GetLastError();

 private:
  bool m_open = false;
};
