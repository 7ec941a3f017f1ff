#include "ComTest.h"
#include "fixtures/ComTestServer.h"

#include <com/ComPtr.h>
#include <com/GuidText.h>
#include <com/ServerRegistration.h>
#include <win32/module.h>
#include <win32/registry.h>

#include <string>

namespace {

// {5E3A1C40-77B2-4F0D-A6E1-2C9B8D4F1A63}
DEFINE_GUID(CLSID_Elsewhere, 0x5E3A1C40, 0x77B2, 0x4F0D, 0xA6, 0xE1, 0x2C, 0x9B, 0x8D, 0x4F, 0x1A, 0x63);

const std::string kWidgetKey = "CLSID\\" + plat::GuidText::format(CLSID_TestWidget);

// Calls one of the module's registration exports the way a setup program does.
HRESULT callExport(const char* name) {
  HMODULE module = LoadLibraryA(TEST_SERVER_MODULE);
  if (!module) return E_FAIL;
  auto fn = reinterpret_cast<LPFNDLLREGISTERSERVER>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  HRESULT hr = fn ? fn() : E_FAIL;
  FreeLibrary(module);
  return hr;
}

std::string readString(const std::string& keyName, const char* valueName) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
  char value[MAX_PATH] = {};
  DWORD size = sizeof value;
  DWORD type = 0;
  LSTATUS status = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<LPBYTE>(value), &size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS && type == REG_SZ ? std::string(value) : "<no value>";
}

void registerPath(REFCLSID clsid, const char* path) {
  HKEY key = nullptr;
  std::string name = "CLSID\\" + plat::GuidText::format(clsid) + "\\InprocServer32";
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                           static_cast<DWORD>(std::string(path).size() + 1)),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

bool serverLoaded() { return GetModuleHandleA(TEST_SERVER_MODULE) != nullptr; }

LONG liveObjects() {
  auto count = reinterpret_cast<LPFNTESTSERVERLIVEOBJECTS>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA(TEST_SERVER_MODULE), "TestServerLiveObjects")));
  return count ? count() : -1;
}

class InprocServerTest : public test::ComTest {
 protected:
  void TearDown() override {
    CoFreeUnusedLibraries();
    ComTest::TearDown();
  }
};

TEST_F(InprocServerTest, RegistrationWritesTheClassKey) {
  ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
  EXPECT_EQ(readString(kWidgetKey, nullptr), TEST_WIDGET_NAME);
  EXPECT_EQ(readString(kWidgetKey + "\\InprocServer32", "ThreadingModel"), "Both");

  // The module's Windows file name, as GetModuleFileNameA gives it.
  HMODULE module = LoadLibraryA(TEST_SERVER_MODULE);
  ASSERT_NE(module, nullptr);
  char file[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(module, file, sizeof file), 0u);
  FreeLibrary(module);
  std::string path = readString(kWidgetKey + "\\InprocServer32", nullptr);
  EXPECT_EQ(path, file);
  EXPECT_NE(path.find(":\\"), std::string::npos) << path;
  EXPECT_EQ(path.substr(path.rfind('\\') + 1), TEST_SERVER_MODULE);
}

TEST_F(InprocServerTest, RegisteredClassIsCreatedFromItsModuleWithRightCounts) {
  ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
  ASSERT_FALSE(serverLoaded());

  plat::ComPtr<ITestWidget> widget;
  ASSERT_EQ(CoCreateInstance(CLSID_TestWidget, nullptr, CLSCTX_INPROC_SERVER, IID_ITestWidget, widget.putVoid()), S_OK);
  ASSERT_TRUE(serverLoaded());
  EXPECT_EQ(liveObjects(), 1);  // the factory is gone, the widget remains

  EXPECT_EQ(widget->AddRef(), 2u);
  EXPECT_EQ(widget->Release(), 1u);
  plat::ComPtr<IUnknown> unknown;
  ASSERT_EQ(widget.queryInterface(IID_IUnknown, unknown), S_OK);
  EXPECT_EQ(widget->AddRef(), 3u);
  widget->Release();
  EXPECT_EQ(widget->SetValue(42), S_OK);
  LONG value = 0;
  EXPECT_EQ(widget->GetValue(&value), S_OK);
  EXPECT_EQ(value, 42);

  plat::ComPtr<ITestWidget> second;
  ASSERT_EQ(CoCreateInstance(CLSID_TestWidget, nullptr, CLSCTX_ALL, IID_ITestWidget, second.putVoid()), S_OK);
  EXPECT_NE(second.get(), widget.get());
  EXPECT_EQ(liveObjects(), 2);

  // Kept loaded while its objects live.
  CoFreeUnusedLibraries();
  EXPECT_TRUE(serverLoaded());
  second.reset();
  unknown.reset();
  EXPECT_EQ(widget.detach()->Release(), 0u);
  EXPECT_EQ(liveObjects(), 0);
  EXPECT_TRUE(serverLoaded());  // until someone asks
  CoFreeUnusedLibraries();
  EXPECT_FALSE(serverLoaded());
}

TEST_F(InprocServerTest, ServerLockKeepsTheModuleLoaded) {
  ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
  plat::ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(CLSID_TestWidget, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.putVoid()),
            S_OK);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory.reset();
  CoFreeUnusedLibraries();
  EXPECT_TRUE(serverLoaded());

  ASSERT_EQ(CoGetClassObject(CLSID_TestWidget, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.putVoid()),
            S_OK);
  ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  factory.reset();
  CoFreeUnusedLibraries();
  EXPECT_FALSE(serverLoaded());
}

TEST_F(InprocServerTest, LastUninitialisationUnloadsUnusedServers) {
  ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
  plat::ComPtr<ITestWidget> widget;
  ASSERT_EQ(CoCreateInstance(CLSID_TestWidget, nullptr, CLSCTX_INPROC_SERVER, IID_ITestWidget, widget.putVoid()), S_OK);
  widget.reset();
  ASSERT_EQ(CoInitialize(nullptr), S_FALSE);
  CoUninitialize();
  EXPECT_TRUE(serverLoaded());  // the thread is still initialised once
  CoUninitialize();
  EXPECT_FALSE(serverLoaded());
  ASSERT_EQ(CoInitialize(nullptr), S_OK);  // for TearDown
}

TEST_F(InprocServerTest, AggregationIsRefusedByTheServer) {
  ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
  test::CountedObject outer;
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(CLSID_TestWidget, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(outer.refs(), 1u);
  EXPECT_EQ(liveObjects(), 0);
}

TEST_F(InprocServerTest, UnregistrationRemovesTheClass) {
  ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
  ASSERT_EQ(callExport("DllUnregisterServer"), S_OK);
  EXPECT_EQ(readString(kWidgetKey, nullptr), "<no key>");
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(CLSID_TestWidget, nullptr, CLSCTX_INPROC_SERVER, IID_ITestWidget, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(callExport("DllUnregisterServer"), S_OK);  // twice is no error
}

TEST_F(InprocServerTest, UnregistrationRemovesKeysOthersAddedUnderTheClass) {
  ASSERT_EQ(callExport("DllRegisterServer"), S_OK);
  registerPath(CLSID_TestWidget, TEST_SERVER_MODULE);  // rewrites the path; adds nothing
  HKEY extra = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, (kWidgetKey + "\\Instance\\Deep").c_str(), 0, nullptr, 0, KEY_WRITE,
                            nullptr, &extra, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(extra);
  ASSERT_EQ(callExport("DllUnregisterServer"), S_OK);
  EXPECT_EQ(readString(kWidgetKey, nullptr), "<no key>");
}

TEST_F(InprocServerTest, ModuleNamedOnlyByFileNameIsFoundBesideTheProgram) {
  registerPath(CLSID_TestWidget, TEST_SERVER_MODULE);
  plat::ComPtr<ITestWidget> widget;
  EXPECT_EQ(CoCreateInstance(CLSID_TestWidget, nullptr, CLSCTX_INPROC_SERVER, IID_ITestWidget, widget.putVoid()), S_OK);
}

TEST_F(InprocServerTest, BrokenRegistrationsFailAsWindowsDoes) {
  void* object = nullptr;
  registerPath(CLSID_Elsewhere, "C:\\Nowhere\\Missing.dll");
  EXPECT_EQ(CoCreateInstance(CLSID_Elsewhere, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), CO_E_DLLNOTFOUND);
  registerPath(CLSID_Elsewhere, "ComNoServer.dll");
  EXPECT_EQ(CoCreateInstance(CLSID_Elsewhere, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), CO_E_ERRORINDLL);
  EXPECT_EQ(GetModuleHandleA("ComNoServer.dll"), nullptr);  // not kept loaded for nothing
  registerPath(CLSID_Elsewhere, TEST_SERVER_MODULE);  // a module that does not serve this class
  EXPECT_EQ(CoCreateInstance(CLSID_Elsewhere, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            CLASS_E_CLASSNOTAVAILABLE);
  registerPath(CLSID_Elsewhere, "");
  EXPECT_EQ(CoCreateInstance(CLSID_Elsewhere, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
}

}  // namespace
