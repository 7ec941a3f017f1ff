// The pin property set of a device's pins (AMPROPSETID_Pin, read with
// IKsPropertySet::Get): the pin's category and, for pins wired to another device's pins,
// its medium. The capture graph builder finds pins by category and wires devices by
// matching mediums.
#pragma once

#include <dshow/axextend.h>

namespace plat {

class PinProperties {
 public:
  // Answers IKsPropertySet::Get for a pin of `category` (GUID_NULL: none) and `medium`
  // (null: none).
  static HRESULT get(REFGUID category, const REGPINMEDIUM* medium, REFGUID set, DWORD id, LPVOID data, DWORD size,
                     DWORD* returned);
  static HRESULT querySupported(REFGUID set, DWORD id, DWORD* support);
};

}  // namespace plat
