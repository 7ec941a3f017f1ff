// The PCI capture card driver's COM object ("TalvikCard.dll"): a list of the cards the
// driver serves, and for each card its I2C bus and its general-purpose I/O lines.
//
//   ICardDeviceList (CLSID_CardDeviceList): GetDeviceCount, GetDevice(index) as IUnknown
//   ICardDevice: GetBus (an object with ICardI2C), GetGpio (an object with ICardGpio)
//   ICardI2C: SetDeviceAddress (8-bit write address), Write (bytes to that address)
//   ICardGpio: SetDirection (line, 0 input / 1 output), ReadLine (line, 0 or 1)
//
// Every method answers an HRESULT; a line or device index out of range gives
// E_INVALIDARG, a card that is not fitted lists no devices.
#pragma once

#include <com/unknwn.h>

// {B8A9279E-C453-11D4-AD45-0060080BA634}
DEFINE_GUID(CLSID_CardDeviceList, 0xB8A9279E, 0xC453, 0x11D4, 0xAD, 0x45, 0x00, 0x60, 0x08, 0x0B, 0xA6, 0x34);
// {B8A9279D-C453-11D4-AD45-0060080BA634}
DEFINE_GUID(IID_ICardDeviceList, 0xB8A9279D, 0xC453, 0x11D4, 0xAD, 0x45, 0x00, 0x60, 0x08, 0x0B, 0xA6, 0x34);
// {B8A9279F-C453-11D4-AD45-0060080BA634}
DEFINE_GUID(IID_ICardDevice, 0xB8A9279F, 0xC453, 0x11D4, 0xAD, 0x45, 0x00, 0x60, 0x08, 0x0B, 0xA6, 0x34);
// {B50FC4B0-CD0E-11D4-AD5D-0060080BA634}
DEFINE_GUID(IID_ICardI2C, 0xB50FC4B0, 0xCD0E, 0x11D4, 0xAD, 0x5D, 0x00, 0x60, 0x08, 0x0B, 0xA6, 0x34);
// {B50FC4B1-CD0E-11D4-AD5D-0060080BA634}
DEFINE_GUID(IID_ICardGpio, 0xB50FC4B1, 0xCD0E, 0x11D4, 0xAD, 0x5D, 0x00, 0x60, 0x08, 0x0B, 0xA6, 0x34);

struct ICardDeviceList : public IUnknown {
  STDMETHOD(GetDeviceCount)(long* count) = 0;
  STDMETHOD(GetDevice)(long index, IUnknown** device) = 0;

 protected:
  ~ICardDeviceList() = default;
};

struct ICardDevice : public IUnknown {
  STDMETHOD(GetBus)(IUnknown** bus) = 0;
  STDMETHOD(GetGpio)(IUnknown** gpio) = 0;

 protected:
  ~ICardDevice() = default;
};

struct ICardI2C : public IUnknown {
  STDMETHOD(SetDeviceAddress)(BYTE address) = 0;
  STDMETHOD(Write)(const BYTE* data, long length) = 0;

 protected:
  ~ICardI2C() = default;
};

struct ICardGpio : public IUnknown {
  STDMETHOD(SetDirection)(long line, long direction) = 0;
  STDMETHOD(ReadLine)(long line, long* value) = 0;

 protected:
  ~ICardGpio() = default;
};
