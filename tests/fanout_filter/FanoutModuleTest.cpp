// The module as the program meets it: registered by DllRegisterServer, made by CLSID,
// gone again after DllUnregisterServer.
#include "FanoutTest.h"

#include <com/GuidText.h>
#include <dshow/baseclasses/FilterRegistration.h>
#include <win32/module.h>
#include <win32/registry.h>

#include <optional>

namespace fanout {
namespace {

class FanoutModuleTest : public FanoutTest {
 protected:
  static std::string classKey() { return "CLSID\\" + plat::GuidText::format(kClsidFanout); }
  // The key's default value; empty when the key is missing.
  static std::string defaultValue(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    char text[MAX_PATH] = {};
    DWORD size = sizeof(text);
    DWORD type = 0;
    RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return text;
  }
  static std::optional<plat::RegisteredFilter> registeredTee() {
    for (plat::RegisteredFilter& filter : plat::FilterRegistration::filtersIn(CLSID_LegacyAmFilterCategory))
      if (filter.clsid == kClsidFanout) return filter;
    return std::nullopt;
  }
};

TEST_F(FanoutModuleTest, RegistrationWritesTheClassAndTheFilterSetup) {
  EXPECT_EQ(defaultValue(classKey()), "Branchel Fan-out Tee");
  const std::string server = defaultValue(classKey() + "\\InprocServer32");
  EXPECT_TRUE(server.ends_with("Branchel.ax")) << server;

  std::optional<plat::RegisteredFilter> tee = registeredTee();
  ASSERT_TRUE(tee);
  EXPECT_EQ(tee->name, L"Branchel Fan-out Tee Filter");
  EXPECT_EQ(tee->merit, 0x200000u);
  ASSERT_EQ(tee->pins.size(), 2u);
  const std::vector<std::pair<GUID, GUID>> anyType = {{GUID_NULL, GUID_NULL}};
  const plat::RegisteredFilter::Pin& input = tee->pins[0];
  EXPECT_FALSE(input.output);
  EXPECT_FALSE(input.rendered || input.zero || input.many);
  EXPECT_EQ(input.types, anyType);
  const plat::RegisteredFilter::Pin& output = tee->pins[1];
  EXPECT_TRUE(output.output);
  EXPECT_TRUE(output.many);
  EXPECT_FALSE(output.rendered || output.zero);
  EXPECT_EQ(output.types, anyType);
}

TEST_F(FanoutModuleTest, TheTeeIsMadeByItsClsidAndGoesWithUnregistration) {
  ComPtr<IBaseFilter> tee = createFanout();
  ASSERT_TRUE(tee);
  CLSID reported{};
  ASSERT_EQ(tee->GetClassID(&reported), S_OK);
  EXPECT_EQ(reported, kClsidFanout);
  EXPECT_EQ(pinNames(tee.get()), (std::vector<std::wstring>{L"Input", L"Output1"}));
  tee.reset();

  ASSERT_EQ(callModule("DllUnregisterServer"), S_OK);
  EXPECT_EQ(defaultValue(classKey()), "");
  EXPECT_FALSE(registeredTee());
  EXPECT_EQ(CoCreateInstance(kClsidFanout, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, tee.putVoid()),
            REGDB_E_CLASSNOTREG);
}

TEST_F(FanoutModuleTest, TheClassFactoryMakesTeesAndRefusesOtherClasses) {
  HMODULE module = LoadLibraryA("Filter\\Branchel.ax");
  ASSERT_TRUE(module);
  auto getClassObject = reinterpret_cast<LPFNGETCLASSOBJECT>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "DllGetClassObject")));
  ASSERT_TRUE(getClassObject);
  ASSERT_TRUE(GetProcAddress(module, "DllMain"));
  ASSERT_TRUE(GetProcAddress(module, "DllCanUnloadNow"));

  ComPtr<IClassFactory> factory;
  EXPECT_EQ(getClassObject(CLSID_FilterGraph, IID_IClassFactory, factory.putVoid()), CLASS_E_CLASSNOTAVAILABLE);
  ASSERT_EQ(getClassObject(kClsidFanout, IID_IClassFactory, factory.putVoid()), S_OK);
  ComPtr<IBaseFilter> first, second;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IBaseFilter, first.putVoid()), S_OK);
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IBaseFilter, second.putVoid()), S_OK);
  EXPECT_NE(first.get(), second.get());
  first.reset();
  second.reset();
  factory.reset();
  FreeLibrary(module);
}

}  // namespace
}  // namespace fanout
