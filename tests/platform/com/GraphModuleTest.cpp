// A program that reaches the graph only through COM (this test links no graph library):
// the machine's registry names the graph module for the graph's classes, and
// CoCreateInstance loads it on demand.
#include "ComTest.h"

#include <com/BuiltinClasses.h>
#include <com/ComPtr.h>
#include <dshow/uuids.h>
#include <win32/module.h>
#include <win32/registry.h>

#include <cstring>
#include <string>

namespace {

class GraphModuleTest : public test::ComTest {};

TEST_F(GraphModuleTest, TheGraphsClassesLoadTheirModuleOnDemand) {
  ASSERT_EQ(plat::BuiltinClasses::find(CLSID_FilterGraph), nullptr) << "the graph library is not linked";
  for (const CLSID* clsid : {&CLSID_FilterGraph, &CLSID_CaptureGraphBuilder2, &CLSID_SystemDeviceEnum}) {
    plat::ComPtr<IUnknown> object;
    ASSERT_EQ(CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.putVoid()), S_OK);
    EXPECT_TRUE(object);
  }
  EXPECT_NE(GetModuleHandleA("quartz.dll"), nullptr);
  CoFreeUnusedLibraries();
  EXPECT_NE(GetModuleHandleA("quartz.dll"), nullptr) << "the graph module stays";
}

TEST_F(GraphModuleTest, EveryClassTheRegistryNamesTheModuleForIsCreatable) {
  HKEY classes = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_READ, &classes), ERROR_SUCCESS);
  int served = 0;
  char name[64];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(classes, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY server = nullptr;
    if (RegOpenKeyExA(classes, (std::string(name) + "\\InprocServer32").c_str(), 0, KEY_READ, &server) !=
        ERROR_SUCCESS)
      continue;
    char module[32] = {};
    DWORD moduleSize = sizeof module;
    RegQueryValueExA(server, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(module), &moduleSize);
    RegCloseKey(server);
    if (std::string(module) != "quartz.dll") continue;
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromString(std::wstring(name, name + std::strlen(name)).c_str(), &clsid), S_OK) << name;
    plat::ComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.putVoid()), S_OK) << name;
    ++served;
  }
  RegCloseKey(classes);
  EXPECT_GE(served, 20);
}

TEST_F(GraphModuleTest, AClassTheModuleDoesNotServeIsNotAvailable) {
  // Registered for the graph module by hand, as a bad installer might.
  HKEY key = nullptr;
  const char* name = "CLSID\\{0BADC0DE-0000-4000-8000-000000000001}\\InprocServer32";
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("quartz.dll"), 11), ERROR_SUCCESS);
  RegCloseKey(key);
  const CLSID unknown = {0x0BADC0DE, 0x0000, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 1}};
  plat::ComPtr<IUnknown> object;
  EXPECT_EQ(CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.putVoid()),
            CLASS_E_CLASSNOTAVAILABLE);
}

}  // namespace
