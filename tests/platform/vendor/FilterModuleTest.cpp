#include "FilterModuleTest.h"

#include <win32/module.h>

#include <cstdlib>

namespace vendortest {

CMediaType videoType(const GUID& subtype, LONG width, LONG height) {
  const WORD bits = subtype == MEDIASUBTYPE_YUY2 ? 16 : subtype == MEDIASUBTYPE_RGB24 ? 24 : 32;
  CMediaType type(&MEDIATYPE_Video);
  type.SetSubtype(&subtype);
  type.SetFormatType(&FORMAT_VideoInfo);
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
  info->AvgTimePerFrame = 400000;
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info->bmiHeader.biWidth = width;
  info->bmiHeader.biHeight = height;
  info->bmiHeader.biPlanes = 1;
  info->bmiHeader.biBitCount = bits;
  info->bmiHeader.biSizeImage = static_cast<DWORD>((width * bits + 31) / 32 * 4 * std::labs(height));
  type.SetSampleSize(info->bmiHeader.biSizeImage);
  return type;
}

size_t imageSize(const CMediaType& type) {
  return reinterpret_cast<const VIDEOINFOHEADER*>(type.Format())->bmiHeader.biSizeImage;
}

void FilterModuleTest::SetUp() {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()), S_OK);
}

void FilterModuleTest::TearDown() {
  if (graph) control()->Stop();
  graph.reset();
  CoUninitialize();
}

HRESULT FilterModuleTest::callModule(const char* module, const char* exportName) {
  HMODULE handle = LoadLibraryA((std::string("Filter\\") + module).c_str());
  if (!handle) return E_FAIL;
  auto entry = reinterpret_cast<HRESULT (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(handle, exportName)));
  const HRESULT hr = entry ? entry() : E_FAIL;
  FreeLibrary(handle);
  return hr;
}

ComPtr<IBaseFilter> FilterModuleTest::addModuleFilter(const char* module, REFCLSID clsid, const wchar_t* name) {
  ComPtr<IBaseFilter> filter;
  EXPECT_EQ(callModule(module, "DllRegisterServer"), S_OK);
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()), S_OK);
  if (filter) {
    EXPECT_EQ(graph->AddFilter(filter.get(), name), S_OK);
  }
  return filter;
}

FrameSink* FilterModuleTest::connectThrough(IBaseFilter* filter, const CMediaType& type,
                                            std::vector<std::vector<BYTE>> frames, bool readOnly) {
  auto* source = add(new FrameSource(type, std::move(frames), readOnly), L"Source");
  auto* sink = add(new FrameSink(), L"Sink");
  EXPECT_EQ(graph->ConnectDirect(source->output(), firstPin(filter, PINDIR_INPUT), nullptr), S_OK);
  EXPECT_EQ(graph->ConnectDirect(firstPin(filter, PINDIR_OUTPUT), sink->input(), nullptr), S_OK);
  return sink;
}

void FilterModuleTest::runToEnd(FrameSink* sink) {
  EXPECT_TRUE(SUCCEEDED(control()->Run()));
  EXPECT_TRUE(sink->waitForEndOfStream());
  control()->Stop();
}

std::vector<std::vector<BYTE>> FilterModuleTest::passThrough(IBaseFilter* filter, const CMediaType& type,
                                                             std::vector<std::vector<BYTE>> frames, bool readOnly) {
  FrameSink* sink = connectThrough(filter, type, std::move(frames), readOnly);
  runToEnd(sink);
  return sink->frames();
}

IPin* FilterModuleTest::firstPin(IBaseFilter* filter, PIN_DIRECTION direction) {
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.put()))) return nullptr;
  IPin* pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION found;
    pin->QueryDirection(&found);
    pin->Release();  // the filter keeps its pins alive
    if (found == direction) return pin;
  }
  return nullptr;
}

ComPtr<IMediaControl> FilterModuleTest::control() {
  ComPtr<IMediaControl> mediaControl;
  EXPECT_EQ(graph->QueryInterface(IID_IMediaControl, mediaControl.putVoid()), S_OK);
  return mediaControl;
}

}  // namespace vendortest
