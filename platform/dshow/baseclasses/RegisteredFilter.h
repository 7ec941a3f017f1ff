// A filter as the registry knows it: class, name, merit, and for each pin its
// direction, flags and media types. This is what a module's registration writes under
// HKCR\CLSID\{category}\Instance\{clsid} and what intelligent connect reads back.
//
// The "FilterData" value holds the merit and pins in a small binary layout, all
// little-endian DWORDs: version (2), merit, pin count; then per pin its flags
// (1 output, 2 rendered, 4 zero, 8 many), its type count and that many pairs of
// 16-byte GUIDs (major type, subtype; GUID_NULL for any).
#pragma once

#include <dshow/baseclasses/setup.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace plat {

class RegisteredFilter {
 public:
  struct Pin {
    bool output = false;
    bool rendered = false;
    bool zero = false;
    bool many = false;
    std::vector<std::pair<GUID, GUID>> types;
  };

  static RegisteredFilter fromSetup(const AMOVIESETUP_FILTER& setup);
  std::vector<BYTE> encode() const;
  // Nothing for a value that is truncated or of another version.
  static std::optional<RegisteredFilter> decode(REFCLSID clsid, std::wstring name, const BYTE* data, size_t size);

  // True when some input pin takes the type (wildcards on either side match).
  bool acceptsInput(REFGUID major, REFGUID sub) const;
  bool hasOutputs() const;

  CLSID clsid{};
  std::wstring name;
  DWORD merit = 0;
  std::vector<Pin> pins;
};

}  // namespace plat
