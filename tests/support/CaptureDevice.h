// The machine's TV stick as the graph tests take it: its capture filter in a graph, and
// the picture its capture pin gives. Inline, so the support library needs no graph engine
// of its own: the programs that use them link it.
#pragma once

#include <com/ComPtr.h>
#include <dshow/dshow.h>

#include <gtest/gtest.h>

namespace test {

// The machine's first video capture device, bound and added to `graph` as "Video Capture";
// null, and a failure of the test, when a step fails.
inline plat::ComPtr<IBaseFilter> AddFirstVideoCapture(IGraphBuilder* graph) {
  plat::ComPtr<ICreateDevEnum> enumerator;
  plat::ComPtr<IEnumMoniker> walk;
  plat::ComPtr<IMoniker> moniker;
  plat::ComPtr<IBaseFilter> device;
  EXPECT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum, enumerator.putVoid()),
            S_OK);
  if (!enumerator) return device;
  EXPECT_EQ(enumerator->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, walk.put(), 0), S_OK);
  if (!walk) return device;
  EXPECT_EQ(walk->Next(1, moniker.put(), nullptr), S_OK);
  if (!moniker) return device;
  EXPECT_EQ(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, device.putVoid()), S_OK);
  if (device) {
    EXPECT_EQ(graph->AddFilter(device.get(), L"Video Capture"), S_OK);
  }
  return device;
}

// Sets the device's pin "Capture" to `width` x `height` pictures of `subtype` (YUY2 or
// RGB24, rows padded to four bytes), one each `interval`.
inline void SetCapturePicture(IBaseFilter* device, const GUID& subtype, LONG width, LONG height,
                              REFERENCE_TIME interval) {
  plat::ComPtr<IPin> capture;
  ASSERT_EQ(device->FindPin(L"Capture", capture.put()), S_OK);
  plat::ComPtr<IAMStreamConfig> config;
  ASSERT_EQ(capture->QueryInterface(IID_IAMStreamConfig, config.putVoid()), S_OK);
  AM_MEDIA_TYPE* type = nullptr;
  ASSERT_EQ(config->GetFormat(&type), S_OK);
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
  const bool yuy2 = subtype == MEDIASUBTYPE_YUY2;
  const WORD bits = yuy2 ? 16 : 24;
  type->subtype = subtype;
  info->bmiHeader.biWidth = width;
  info->bmiHeader.biHeight = height;
  info->bmiHeader.biBitCount = bits;
  info->bmiHeader.biCompression = yuy2 ? MAKEFOURCC('Y', 'U', 'Y', '2') : BI_RGB;
  info->bmiHeader.biSizeImage = static_cast<DWORD>((width * bits / 8 + 3) / 4 * 4 * height);
  info->AvgTimePerFrame = interval;
  EXPECT_EQ(config->SetFormat(type), S_OK);
  DeleteMediaType(type);
}

}  // namespace test
