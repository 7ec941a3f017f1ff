#include "CCaptureDriver.h"

#include <com/ComPtr.h>
#include <com/objbase.h>
#include <vendor/capture_driver/CardDriver.h>

namespace {

constexpr int kRemoteLines = 5;

// The driver's first card, or null.
plat::ComPtr<ICardDevice> firstDevice() {
  plat::ComPtr<ICardDeviceList> list;
  if (FAILED(CoCreateInstance(CLSID_CardDeviceList, nullptr, CLSCTX_INPROC_SERVER, IID_ICardDeviceList,
                              reinterpret_cast<void**>(list.put()))))
    return {};
  long count = 0;
  if (FAILED(list->GetDeviceCount(&count)) || count == 0) return {};
  plat::ComPtr<IUnknown> unknown;
  plat::ComPtr<ICardDevice> device;
  if (FAILED(list->GetDevice(0, unknown.put())) ||
      FAILED(unknown->QueryInterface(IID_ICardDevice, reinterpret_cast<void**>(device.put()))))
    return {};
  return device;
}

}  // namespace

bool CCaptureDriver::WriteI2C(BYTE address, const BYTE* data, long length) {
  plat::ComPtr<ICardDevice> device = firstDevice();
  if (!device) return false;
  plat::ComPtr<IUnknown> bus;
  plat::ComPtr<ICardI2C> i2c;
  if (FAILED(device->GetBus(bus.put())) ||
      FAILED(bus->QueryInterface(IID_ICardI2C, reinterpret_cast<void**>(i2c.put()))))
    return false;
  return SUCCEEDED(i2c->SetDeviceAddress(address)) && SUCCEEDED(i2c->Write(data, length));
}

int CCaptureDriver::ReadRemoteCode() {
  plat::ComPtr<ICardDevice> device = firstDevice();
  if (!device) return 0;
  plat::ComPtr<IUnknown> object;
  plat::ComPtr<ICardGpio> gpio;
  if (FAILED(device->GetGpio(object.put())) ||
      FAILED(object->QueryInterface(IID_ICardGpio, reinterpret_cast<void**>(gpio.put()))))
    return 0;
  for (long line = 0; line < kRemoteLines; ++line)
    if (FAILED(gpio->SetDirection(line, 0))) return 0;
  int code = 0;
  for (long line = kRemoteLines - 1; line >= 0; --line) {
    long bit = 0;
    if (FAILED(gpio->ReadLine(line, &bit))) return 0;
    code = (code << 1) | (bit & 1);
  }
  return code;
}
