#include <dshow/baseclasses/RegisteredFilter.h>

#include <cstring>

namespace plat {

namespace {

constexpr DWORD kVersion = 2;
constexpr DWORD kOutput = 1;
constexpr DWORD kRendered = 2;
constexpr DWORD kZero = 4;
constexpr DWORD kMany = 8;

void putDword(std::vector<BYTE>& out, DWORD value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<BYTE>(value >> (8 * i)));
}

void putGuid(std::vector<BYTE>& out, const GUID& guid) {
  putDword(out, guid.Data1);
  out.push_back(static_cast<BYTE>(guid.Data2));
  out.push_back(static_cast<BYTE>(guid.Data2 >> 8));
  out.push_back(static_cast<BYTE>(guid.Data3));
  out.push_back(static_cast<BYTE>(guid.Data3 >> 8));
  out.insert(out.end(), guid.Data4, guid.Data4 + 8);
}

class Reader {
 public:
  Reader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
  bool dword(DWORD& value) {
    if (m_size - m_pos < 4) return false;
    value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<DWORD>(m_data[m_pos + static_cast<size_t>(i)]) << (8 * i);
    m_pos += 4;
    return true;
  }
  bool guid(GUID& value) {
    if (m_size - m_pos < 16) return false;
    const BYTE* p = m_data + m_pos;
    value.Data1 = static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
                  (static_cast<DWORD>(p[3]) << 24);
    value.Data2 = static_cast<WORD>(p[4] | (p[5] << 8));
    value.Data3 = static_cast<WORD>(p[6] | (p[7] << 8));
    std::memcpy(value.Data4, p + 8, 8);
    m_pos += 16;
    return true;
  }

 private:
  const BYTE* m_data;
  size_t m_size;
  size_t m_pos = 0;
};

bool matches(REFGUID wanted, REFGUID offered) { return wanted == GUID_NULL || offered == GUID_NULL || wanted == offered; }

}  // namespace

RegisteredFilter RegisteredFilter::fromSetup(const AMOVIESETUP_FILTER& setup) {
  RegisteredFilter filter;
  filter.clsid = *setup.clsID;
  filter.name = setup.strName ? setup.strName : L"";
  filter.merit = setup.dwMerit;
  for (UINT i = 0; i < setup.nPins; ++i) {
    const AMOVIESETUP_PIN& source = setup.lpPin[i];
    Pin pin;
    pin.output = source.bOutput;
    pin.rendered = source.bRendered;
    pin.zero = source.bZero;
    pin.many = source.bMany;
    for (UINT t = 0; t < source.nMediaTypes; ++t) {
      const AMOVIESETUP_MEDIATYPE& type = source.lpMediaType[t];
      pin.types.emplace_back(type.clsMajorType ? *type.clsMajorType : GUID_NULL,
                             type.clsMinorType ? *type.clsMinorType : GUID_NULL);
    }
    filter.pins.push_back(std::move(pin));
  }
  return filter;
}

std::vector<BYTE> RegisteredFilter::encode() const {
  std::vector<BYTE> out;
  putDword(out, kVersion);
  putDword(out, merit);
  putDword(out, static_cast<DWORD>(pins.size()));
  for (const Pin& pin : pins) {
    putDword(out, (pin.output ? kOutput : 0u) | (pin.rendered ? kRendered : 0u) | (pin.zero ? kZero : 0u) |
                      (pin.many ? kMany : 0u));
    putDword(out, static_cast<DWORD>(pin.types.size()));
    for (const auto& [major, sub] : pin.types) {
      putGuid(out, major);
      putGuid(out, sub);
    }
  }
  return out;
}

std::optional<RegisteredFilter> RegisteredFilter::decode(REFCLSID clsid, std::wstring name, const BYTE* data,
                                                         size_t size) {
  Reader reader(data, size);
  DWORD version = 0;
  DWORD pinCount = 0;
  RegisteredFilter filter;
  filter.clsid = clsid;
  filter.name = std::move(name);
  if (!reader.dword(version) || version != kVersion || !reader.dword(filter.merit) || !reader.dword(pinCount))
    return std::nullopt;
  for (DWORD i = 0; i < pinCount; ++i) {
    DWORD flags = 0;
    DWORD typeCount = 0;
    if (!reader.dword(flags) || !reader.dword(typeCount)) return std::nullopt;
    Pin pin;
    pin.output = flags & kOutput;
    pin.rendered = flags & kRendered;
    pin.zero = flags & kZero;
    pin.many = flags & kMany;
    for (DWORD t = 0; t < typeCount; ++t) {
      GUID major{};
      GUID sub{};
      if (!reader.guid(major) || !reader.guid(sub)) return std::nullopt;
      pin.types.emplace_back(major, sub);
    }
    filter.pins.push_back(std::move(pin));
  }
  return filter;
}

bool RegisteredFilter::acceptsInput(REFGUID major, REFGUID sub) const {
  for (const Pin& pin : pins) {
    if (pin.output) continue;
    if (pin.types.empty()) return true;
    for (const auto& [pinMajor, pinSub] : pin.types)
      if (matches(pinMajor, major) && matches(pinSub, sub)) return true;
  }
  return false;
}

bool RegisteredFilter::hasOutputs() const {
  for (const Pin& pin : pins)
    if (pin.output) return true;
  return false;
}

}  // namespace plat
