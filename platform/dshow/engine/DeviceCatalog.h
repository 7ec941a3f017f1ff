// The devices and filters of a category as the system device enumerator lists them:
// the TV stick's capture, crossbar and tuner (while it is plugged in), the sound card's
// audio capture device, the platform's own video and audio compressor, and for every
// other category the filters registered in it.
#pragma once

#include <com/guid.h>

#include <string>
#include <vector>

namespace plat {

class DeviceCatalog {
 public:
  struct Device {
    std::wstring friendlyName;
    std::wstring devicePath;  // hardware only
    CLSID clsid;
  };

  static std::vector<Device> devices(REFCLSID category);
};

}  // namespace plat
