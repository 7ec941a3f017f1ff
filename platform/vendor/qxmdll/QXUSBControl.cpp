#include <vendor/qxmdll/QXUSBControl.h>

#include <machine/Machine.h>
#include <machine/RemoteControl.h>
#include <machine/TvStickControl.h>


namespace {

constexpr long kFailed = -1;

plat::TvStickControl& Stick() { return plat::Machine::current().service<plat::TvStickControl>(); }

}  // namespace

CQXUSB_Control::CQXUSB_Control() = default;

CQXUSB_Control::~CQXUSB_Control() = default;

int CQXUSB_Control::OpenControlInterface(const char* filterName) {
  // Nothing may escape an export; a machine that cannot be opened is a missing stick.
  try {
    plat::TvStickControl& stick = Stick();
    m_open = filterName && stick.isPlugged() && stick.controlFilterName() == filterName;
  } catch (...) {
    m_open = false;
  }
  return m_open ? 1 : 0;
}

void CQXUSB_Control::CloseControlInterface() { m_open = false; }

long CQXUSB_Control::SetRegData(WORD reg, WORD value) {
  if (!m_open) return kFailed;
  return Stick().writeRegister(reg, value) ? 0 : kFailed;
}

long CQXUSB_Control::GetRegData(WORD reg, BYTE* buffer, WORD length) {
  if (!m_open || !buffer) return kFailed;
  return Stick().readRegisters(reg, buffer, length) ? 0 : kFailed;
}

long CQXUSB_Control::SetI2CData(BYTE* address, WORD* subAddress, BYTE mode, BYTE* data, WORD length) {
  if (!m_open || !address || !subAddress) return kFailed;
  return Stick().writeI2C(*address, *subAddress, mode, data, length) ? 0 : kFailed;
}

long CQXUSB_Control::GetRemoteData(DWORD* word0, DWORD* word1) {
  if (!m_open || !word0 || !word1 || !Stick().isPlugged()) return kFailed;
  std::uint32_t w0 = 0, w1 = 0;
  if (!plat::Machine::current().service<plat::RemoteControl>().take(w0, w1)) return kFailed;
  *word0 = w0;
  *word1 = w1;
  return 0;
}

long CQXUSB_Control::GetLastError() { return m_open && Stick().isPlugged() ? 0 : kFailed; }
