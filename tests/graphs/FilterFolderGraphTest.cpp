#include "FilterFolderGraphTest.h"

#include "graphs/DeviceUtilities.h"

#include <support/CaptureDevice.h>

#include <machine/StreamActivity.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <dshow/amvideo.h>

#include <filesystem>
#include <string>

namespace test {

using plat::ComPtr;

void FilterFolderGraphTest::SetUp() {
  GraphsTest::SetUp();
  for (const char* module : {"QXM_OverlayFilter.ax", "QXM_ImageGrabber.ax", "qnmpeg2enc.ax"})
    ASSERT_TRUE(registerModule(module)) << module << " is not built into the program folder";
}

bool FilterFolderGraphTest::registerModule(const char* module) {
  if (!std::filesystem::exists(TestMachine::builtProgramFolder() / "Filter" / module)) return false;
  RegisterFilterModule((std::string("Filter\\") + module).c_str());
  return true;
}

void FilterFolderGraphTest::addStick() {
  ASSERT_TRUE(FindVideoCaptureDevice("USB TV Device", device.put()));
  ASSERT_EQ(graph->AddFilter(device.get(), L"Video Capture"), S_OK);
  auto& stick = machine().service<plat::TvStickCapture>();
  stick.tuneCarrier(stick.control().broadcast().stations()[1].carrierHz);
  channel = stick.scene().number;
}

void FilterFolderGraphTest::setCaptureFormat(const GUID& subtype, LONG width, LONG height) {
  SetCapturePicture(device.get(), subtype, width, height, 400000);
}

IPin* FilterFolderGraphTest::firstPin(IBaseFilter* filter, PIN_DIRECTION direction) {
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.put()))) return nullptr;
  IPin* pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION its = PINDIR_INPUT;
    pin->QueryDirection(&its);
    // The filter keeps its pins alive.
    pin->Release();
    if (its == direction) return pin;
  }
  return nullptr;
}

void FilterFolderGraphTest::settle() {
  ASSERT_TRUE(plat::StreamActivity::instance().settle(machine().clock()));
}

void FilterFolderGraphTest::advance(std::uint64_t ms) {
  machine().clock().advance(ms);
  settle();
}

void FilterFolderGraphTest::chain(IPin* output, std::initializer_list<IBaseFilter*> filters) {
  for (IBaseFilter* filter : filters) {
    ASSERT_EQ(graph->ConnectDirect(output, firstPin(filter, PINDIR_INPUT), nullptr), S_OK);
    output = firstPin(filter, PINDIR_OUTPUT);
  }
}

ComPtr<IMediaControl> FilterFolderGraphTest::control() {
  ComPtr<IMediaControl> result;
  EXPECT_EQ(graph->QueryInterface(IID_IMediaControl, result.putVoid()), S_OK);
  return result;
}

}  // namespace test
