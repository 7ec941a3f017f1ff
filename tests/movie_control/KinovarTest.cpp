#include "KinovarTest.h"

#include <com/objbase.h>
#include <machine/Machine.h>
#include <win32/module.h>
#include <win32/registry.h>

namespace test {

void KinovarTest::SetUp() {
  machine().ini().setValue("CaptureCard", "Present", "1");
  machine().ini().setValue("Broadcast", "Channel1", "49.75,PAL_D,1,Kestrel One,440");
  machine().ini().setValue("Broadcast", "Channel2", "57.75,PAL_D,2,Marram Two,550");
  machine().ini().setValue("Broadcast", "Channel3", "65.75,PAL_D,3,Tussock Three,660");
  CoInitialize(nullptr);
  ASSERT_EQ(callExport("TalvikCard.dll", "DllRegisterServer"), S_OK);
}

void KinovarTest::TearDown() { CoUninitialize(); }

plat::CaptureCard& KinovarTest::card() { return machine().service<plat::CaptureCard>(); }

std::vector<std::vector<std::uint8_t>> KinovarTest::i2cData() {
  std::vector<std::vector<std::uint8_t>> data;
  for (const auto& write : card().i2cWrites()) data.push_back(write.data);
  return data;
}

HRESULT KinovarTest::callExport(const char* module, const char* name) {
  HMODULE handle = LoadLibraryA(module);
  if (!handle) return E_FAIL;
  auto entry = reinterpret_cast<HRESULT (*)()>(GetProcAddress(handle, name));
  const HRESULT hr = entry ? entry() : E_FAIL;
  FreeLibrary(handle);
  return hr;
}

void KinovarTest::setOverride(const char* key, const char* channel, DWORD hz) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(handle, channel, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&hz), sizeof hz);
  RegCloseKey(handle);
}

}  // namespace test
