// Capture devices found by their friendly name on the machine's hardware, and a module of
// the Filter folder registered on demand.
#include "GraphsTest.h"

#include "graphs/DeviceUtilities.h"

#include <machine/TvStickControl.h>

namespace {

using plat::ComPtr;

// The fan-out module's filter, built into the program's Filter folder.
const CLSID kFanoutFilter = {0xB84585A5, 0x237B, 0x426B, {0x8B, 0x07, 0x3C, 0x66, 0x16, 0xAE, 0x7E, 0xC9}};

class DeviceUtilitiesTest : public test::GraphsTest {
 protected:
  static CLSID classOf(IBaseFilter* filter) {
    CLSID clsid{};
    filter->GetClassID(&clsid);
    return clsid;
  }
};

TEST_F(DeviceUtilitiesTest, DevicesAreFoundByAnyPartOfTheirNameInAnyCase) {
  ComPtr<IBaseFilter> filter;
  ASSERT_TRUE(FindVideoCaptureDevice("usb tv DEVICE", filter.put()));
  EXPECT_EQ(classOf(filter.get()), CLSID_TvStickCapture);
  ASSERT_TRUE(FindVideoCaptureDevice("TV Dev", filter.put()));
  EXPECT_EQ(classOf(filter.get()), CLSID_TvStickCapture);
  ASSERT_TRUE(FindAudioCaptureDevice("audio volume", filter.put()));
  EXPECT_EQ(classOf(filter.get()), CLSID_AudioCapture);
  ASSERT_TRUE(FindDeviceByName("Volume Control", filter.put(), TRUE));
  EXPECT_EQ(classOf(filter.get()), CLSID_AudioCapture);
  ASSERT_TRUE(FindDeviceByName("USB", filter.put(), FALSE));
  EXPECT_EQ(classOf(filter.get()), CLSID_TvStickCapture);
}

TEST_F(DeviceUtilitiesTest, DevicesNotThereLeaveTheFilterNull) {
  ComPtr<IBaseFilter> filter;
  EXPECT_FALSE(FindVideoCaptureDevice("Webcam", filter.put()));
  EXPECT_EQ(filter.get(), nullptr);
  EXPECT_TRUE(FindVideoCaptureDevice("USB TV Device", filter.put(), 1)) << "ordinal 1 and match flag 1: the first";
  EXPECT_FALSE(FindVideoCaptureDevice("USB TV Device", filter.put(), 2)) << "only one such device";
  EXPECT_FALSE(FindVideoCaptureDevice("USB TV Device", filter.put(), -1));
  EXPECT_FALSE(FindVideoCaptureDevice(nullptr, filter.put()));
  EXPECT_FALSE(FindVideoCaptureDevice("USB TV Device", nullptr));
  EXPECT_FALSE(FindDeviceByName("USB TV Device", filter.put(), TRUE)) << "not an audio device";
  machine().service<plat::TvStickControl>().setPlugged(false);
  EXPECT_FALSE(FindVideoCaptureDevice("USB TV Device", filter.put()));
  EXPECT_EQ(filter.get(), nullptr);
}

TEST_F(DeviceUtilitiesTest, NamesMatchIgnoringCaseOnly) {
  EXPECT_TRUE(MatchDeviceName("USB TV Device", "usb tv device"));
  EXPECT_FALSE(MatchDeviceName("USB TV Device", "USB TV"));
  EXPECT_FALSE(MatchDeviceName("USB TV Device", "USB TV Device 2"));
  EXPECT_FALSE(MatchDeviceName(nullptr, "USB TV Device"));
}

TEST_F(DeviceUtilitiesTest, TheKernelStreamingCaptureCategoryListsVideoAndAudio) {
  CDeviceEntryList devices;
  EnumKsCaptureDevices(devices);
  ASSERT_EQ(devices.GetCount(), 2);
  EXPECT_STREQ(devices.GetHead().GetFriendlyName(), "USB TV Device");
  EXPECT_STREQ(devices.GetTail().GetFriendlyName(), "Audio Volume Control");
}

TEST_F(DeviceUtilitiesTest, AFilterModuleIsRegisteredOnDemand) {
  EXPECT_TRUE(IsFilterRegistered(CLSID_SmartTee));
  EXPECT_FALSE(IsFilterRegistered(kFanoutFilter));
  RegisterFilterModule("Filter\\Missing.ax");
  RegisterFilterModule(nullptr);
  EXPECT_FALSE(IsFilterRegistered(kFanoutFilter));
  RegisterFilterModule("Filter\\Branchel.ax");
  ASSERT_TRUE(IsFilterRegistered(kFanoutFilter));
  ComPtr<IBaseFilter> filter;
  ASSERT_EQ(CoCreateInstance(kFanoutFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()), S_OK);
  EXPECT_EQ(classOf(filter.get()), kFanoutFilter);
}

}  // namespace
