#include <dshow/des/GroupSource.h>

namespace plat {

namespace {

// {5C3A6E23-7B84-4D0F-9E12-3A4B5C6D7E80}
DEFINE_GUID(CLSID_PlatGroupSource, 0x5C3A6E23, 0x7B84, 0x4D0F, 0x9E, 0x12, 0x3A, 0x4B, 0x5C, 0x6D, 0x7E, 0x80);

}  // namespace

GroupSource::GroupSource(const GroupFormat& format, HRESULT* phr)
    : CSource("Group Source", nullptr, CLSID_PlatGroupSource, phr),
      m_pin(new GroupStreamPin(this, phr, format)) {}

}  // namespace plat
