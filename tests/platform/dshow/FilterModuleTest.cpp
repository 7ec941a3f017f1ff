#include "GraphTest.h"

#include <com/GuidText.h>
#include <win32/module.h>
#include <win32/registry.h>

using dstest::firstPin;
using dstest::PushSource;
using dstest::SinkFilter;
using dstest::videoType;
using plat::ComPtr;

namespace {

// {6B1F0C2A-7E44-4D0B-8C55-0A9E21D3F110}, the module's converter
const GUID kConverter = {0x6B1F0C2A, 0x7E44, 0x4D0B, {0x8C, 0x55, 0x0A, 0x9E, 0x21, 0xD3, 0xF1, 0x10}};

class FilterModuleTest : public dstest::GraphTest {
 protected:
  HRESULT call(const char* exportName) {
    HMODULE module = LoadLibraryA("Filter\\DshowTestFilters.ax");
    if (!module) return E_FAIL;
    auto entry = reinterpret_cast<HRESULT (*)()>(GetProcAddress(module, exportName));
    const HRESULT hr = entry ? entry() : E_FAIL;
    FreeLibrary(module);
    return hr;
  }
  static bool keyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
};

}  // namespace

TEST_F(FilterModuleTest, RegisteringAModuleMakesItsFilterCreatableAndUsedByIntelligentConnect) {
  const std::string clsid = plat::GuidText::format(kConverter);
  ComPtr<IBaseFilter> filter;
  EXPECT_EQ(CoCreateInstance(kConverter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()),
            REGDB_E_CLASSNOTREG);

  ASSERT_EQ(call("DllRegisterServer"), S_OK);
  EXPECT_TRUE(keyExists("CLSID\\" + clsid + "\\InprocServer32"));
  EXPECT_TRUE(keyExists("CLSID\\" + plat::GuidText::format(CLSID_LegacyAmFilterCategory) + "\\Instance\\" + clsid));
  ASSERT_EQ(CoCreateInstance(kConverter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()), S_OK);
  CLSID reported{};
  filter->GetClassID(&reported);
  EXPECT_EQ(reported, kConverter);
  filter.reset();

  auto* source = add(new PushSource(videoType(dstest::kSubtypeA), 2), L"Source");
  auto* sink = add(new SinkFilter({dstest::kSubtypeB}), L"Sink");
  ASSERT_EQ(graph->Connect(firstPin(source, PINDIR_OUTPUT), firstPin(sink, PINDIR_INPUT)), S_OK);
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"Source", L"Sink", L"Test Module Converter"}));
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  ASSERT_TRUE(sink->waitForEndOfStream());
  control->Stop();
  EXPECT_EQ(sink->samples()[1].frame, 254);  // frame 1, inverted by the module's filter

  // Gone from the registry, gone from intelligent connect.
  graph.reset();
  ASSERT_EQ(call("DllUnregisterServer"), S_OK);
  EXPECT_FALSE(keyExists("CLSID\\" + clsid));
  EXPECT_EQ(CoCreateInstance(kConverter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()),
            REGDB_E_CLASSNOTREG);
}
