// The device control object: the maker's control interface to the capture device, opened
// and closed by the controller (CAppController::OpenDeviceControl, its shut-down) and used
// by whatever writes the device's registers or its I2C bus: the tuner programming and the
// capture graph's video standards.
#pragma once

class CQXUSB_Control;

// Null while the device control interface is not open.
extern CQXUSB_Control* g_pDeviceControl;
