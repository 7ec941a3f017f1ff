#include "GraphTest.h"

#include <com/GuidText.h>
#include <dshow/baseclasses/FilterRegistration.h>
#include <dshow/engine/PlatformClasses.h>
#include <win32/registry.h>

#include <fstream>

using dstest::ConvertTransform;
using dstest::firstPin;
using dstest::PushSource;
using dstest::SinkFilter;
using dstest::videoType;
using plat::ComPtr;
using plat::PlatformClasses;

namespace {

// {6B1F0C2A-7E44-4D0B-8C55-0A9E21D3F101} and the two after it
const GUID kConvertClsid = {0x6B1F0C2A, 0x7E44, 0x4D0B, {0x8C, 0x55, 0x0A, 0x9E, 0x21, 0xD3, 0xF1, 0x01}};
const GUID kRgbSinkClsid = {0x6B1F0C2A, 0x7E44, 0x4D0B, {0x8C, 0x55, 0x0A, 0x9E, 0x21, 0xD3, 0xF1, 0x02}};
const GUID kFileSourceClsid = {0x6B1F0C2A, 0x7E44, 0x4D0B, {0x8C, 0x55, 0x0A, 0x9E, 0x21, 0xD3, 0xF1, 0x03}};

CUnknown* newConvert(LPUNKNOWN outer, HRESULT*) {
  return new ConvertTransform(dstest::kSubtypeA, dstest::kSubtypeB, kConvertClsid, outer);
}
CUnknown* newRgbSink(LPUNKNOWN outer, HRESULT*) { return new SinkFilter({dstest::kSubtypeB}, kRgbSinkClsid, outer); }

// A source that "opens" a file: it remembers the name and pushes a few frames.
class FileSource : public PushSource, public IFileSourceFilter {
 public:
  explicit FileSource(LPUNKNOWN) : PushSource(videoType(dstest::kSubtypeA), 3, kFileSourceClsid) {}
  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IFileSourceFilter) return GetInterface(static_cast<IFileSourceFilter*>(this), ppv);
    return PushSource::NonDelegatingQueryInterface(riid, ppv);
  }
  STDMETHODIMP Load(LPCOLESTR name, const AM_MEDIA_TYPE*) override {
    loaded = name;
    return S_OK;
  }
  STDMETHODIMP GetCurFile(LPOLESTR*, AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
  static inline std::wstring loaded;
};
CUnknown* newFileSource(LPUNKNOWN outer, HRESULT*) { return new FileSource(outer); }

const AMOVIESETUP_MEDIATYPE kTypeA[] = {{&MEDIATYPE_Video, &dstest::kSubtypeA}};
const AMOVIESETUP_MEDIATYPE kTypeB[] = {{&MEDIATYPE_Video, &dstest::kSubtypeB}};
const AMOVIESETUP_PIN kConvertPins[] = {{L"In", FALSE, FALSE, FALSE, FALSE, nullptr, nullptr, 1, kTypeA},
                                        {L"Out", FALSE, TRUE, FALSE, FALSE, nullptr, nullptr, 1, kTypeB}};
const AMOVIESETUP_PIN kSinkPins[] = {{L"In", TRUE, FALSE, FALSE, FALSE, nullptr, nullptr, 1, kTypeB}};

class GraphBuilderTest : public dstest::GraphTest {
 protected:
  static void registerFilter(const GUID& clsid, plat::CreateInstanceFn create, const wchar_t* name, DWORD merit,
                             const AMOVIESETUP_PIN* pins, UINT count) {
    plat::BuiltinClasses::add(clsid, create);
    const AMOVIESETUP_FILTER setup = {&clsid, name, merit, count, pins};
    ASSERT_EQ(plat::FilterRegistration::registerFilter(plat::RegisteredFilter::fromSetup(setup), CLSID_LegacyAmFilterCategory),
              S_OK);
  }
  static void registerConverter(DWORD merit = MERIT_NORMAL) {
    registerFilter(kConvertClsid, &PlatformClasses::create<&newConvert>, L"Test Converter", merit, kConvertPins, 2);
  }
  static void registerRgbRenderer() {
    registerFilter(kRgbSinkClsid, &PlatformClasses::create<&newRgbSink>, L"Test Renderer", MERIT_PREFERRED, kSinkPins, 1);
  }
};

}  // namespace

TEST_F(GraphBuilderTest, ConnectInsertsARegisteredTransform) {
  registerConverter();
  auto* source = add(new PushSource(videoType(dstest::kSubtypeA), 2), L"Source");
  auto* sink = add(new SinkFilter({dstest::kSubtypeB}), L"Sink");
  ASSERT_EQ(graph->Connect(firstPin(source, PINDIR_OUTPUT), firstPin(sink, PINDIR_INPUT)), S_OK);
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"Source", L"Sink", L"Test Converter"}));
  EXPECT_EQ(*sink->GetPin(0)->CurrentMediaType().Subtype(), dstest::kSubtypeB);

  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  ASSERT_TRUE(sink->waitForEndOfStream());
  control->Stop();
  ASSERT_EQ(sink->samples().size(), 2u);
  EXPECT_EQ(sink->samples()[1].frame, 2);  // frame 1, converted
}

TEST_F(GraphBuilderTest, FiltersThatMustNotBeUsedAreNotInserted) {
  registerConverter(MERIT_DO_NOT_USE);
  auto* source = add(new PushSource(videoType(dstest::kSubtypeA), 1), L"Source");
  auto* sink = add(new SinkFilter({dstest::kSubtypeB}), L"Sink");
  EXPECT_EQ(graph->Connect(firstPin(source, PINDIR_OUTPUT), firstPin(sink, PINDIR_INPUT)), VFW_E_CANNOT_CONNECT);
  EXPECT_EQ(names().size(), 2u);
}

TEST_F(GraphBuilderTest, RenderUsesTheGraphsOwnFiltersFirst) {
  registerConverter();
  registerRgbRenderer();
  auto* source = add(new PushSource(videoType(dstest::kSubtypeA), 1), L"Source");
  auto* sink = add(new SinkFilter({dstest::kSubtypeB}), L"Mine");
  ASSERT_EQ(graph->Render(firstPin(source, PINDIR_OUTPUT)), S_OK);
  EXPECT_TRUE(sink->GetPin(0)->IsConnected());
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"Source", L"Mine", L"Test Converter"}));
  EXPECT_EQ(graph->Render(firstPin(source, PINDIR_OUTPUT)), VFW_E_ALREADY_CONNECTED);
}

TEST_F(GraphBuilderTest, RenderCompletesTheStreamWithRegisteredFilters) {
  auto* source = add(new PushSource(videoType(dstest::kSubtypeA), 1), L"Source");
  EXPECT_EQ(graph->Render(firstPin(source, PINDIR_OUTPUT)), VFW_E_CANNOT_RENDER);
  EXPECT_EQ(names().size(), 1u);
  registerConverter();
  registerRgbRenderer();
  ASSERT_EQ(graph->Render(firstPin(source, PINDIR_OUTPUT)), S_OK);
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"Source", L"Test Converter", L"Test Renderer"}));
}

TEST_F(GraphBuilderTest, RenderFileFindsTheSourceByExtension) {
  const auto folder = machine().paths().driveFolder('C');
  std::ofstream(folder / "clip.tst") << "frames";
  std::ofstream(folder / "clip.xyz") << "frames";
  EXPECT_EQ(graph->RenderFile(L"C:\\missing.tst", nullptr), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(graph->RenderFile(L"C:\\clip.xyz", nullptr), VFW_E_UNSUPPORTED_STREAM);

  plat::BuiltinClasses::add(kFileSourceClsid, &PlatformClasses::create<&newFileSource>);
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "Media Type\\Extensions\\.tst", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const std::string clsid = plat::GuidText::format(kFileSourceClsid);
  RegSetValueExA(key, "Source Filter", 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid.c_str()),
                 static_cast<DWORD>(clsid.size() + 1));
  RegCloseKey(key);
  // Found and loaded, but nothing can take its stream yet: it leaves again.
  EXPECT_EQ(graph->RenderFile(L"C:\\clip.tst", nullptr), VFW_E_CANNOT_RENDER);
  EXPECT_TRUE(names().empty());
  registerConverter();
  registerRgbRenderer();
  ASSERT_EQ(graph->RenderFile(L"C:\\clip.tst", nullptr), S_OK);
  EXPECT_EQ(FileSource::loaded, L"C:\\clip.tst");
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"C:\\clip.tst", L"Test Converter", L"Test Renderer"}));
}
