// Each "Filter" folder module as the program meets it: nothing creatable until its
// DllRegisterServer ran, then its filter made by CLSID with its pins, and gone again
// after DllUnregisterServer.
#include "FilterModuleTest.h"

#include <vendor/deinterlacer/QnDeinterlacer.h>
#include <vendor/image_grabber/QxmImageGrabber.h>
#include <vendor/overlay_filter/QxmOverlay.h>
#include <vendor/still_capture/QnStillCap.h>
#include <vendor/video_invert/QnInvert.h>

namespace vendortest {
namespace {

struct ModuleCase {
  const char* file;
  CLSID clsid;
  int inputs;
  int outputs;
};

class FilterModuleRegistrationTest : public FilterModuleTest, public ::testing::WithParamInterface<ModuleCase> {};

TEST_P(FilterModuleRegistrationTest, RegisteredModuleMakesItsFilterByClsid) {
  const ModuleCase& module = GetParam();
  ComPtr<IBaseFilter> filter;
  EXPECT_EQ(CoCreateInstance(module.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()),
            REGDB_E_CLASSNOTREG);

  ASSERT_EQ(callModule(module.file, "DllRegisterServer"), S_OK);
  ASSERT_EQ(CoCreateInstance(module.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()), S_OK);
  CLSID reported{};
  EXPECT_EQ(filter->GetClassID(&reported), S_OK);
  EXPECT_EQ(reported, module.clsid);
  int inputs = 0;
  int outputs = 0;
  ComPtr<IEnumPins> pins;
  ASSERT_EQ(filter->EnumPins(pins.put()), S_OK);
  IPin* pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION direction;
    pin->QueryDirection(&direction);
    ++(direction == PINDIR_INPUT ? inputs : outputs);
    pin->Release();
  }
  EXPECT_EQ(inputs, module.inputs);
  EXPECT_EQ(outputs, module.outputs);
  filter.reset();
  pins.reset();

  ASSERT_EQ(callModule(module.file, "DllUnregisterServer"), S_OK);
  EXPECT_EQ(CoCreateInstance(module.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()),
            REGDB_E_CLASSNOTREG);
}

INSTANTIATE_TEST_SUITE_P(Modules, FilterModuleRegistrationTest,
                         ::testing::Values(ModuleCase{"qndeinterlacer.ax", CLSID_QnDeinterlacer, 1, 1},
                                           ModuleCase{"qn_invert.ax", CLSID_QnVideoInvert, 1, 1},
                                           ModuleCase{"QXM_OverlayFilter.ax", CLSID_QxmOverlayFilter, 1, 1},
                                           ModuleCase{"QXM_ImageGrabber.ax", CLSID_QxmImageGrabber, 1, 1},
                                           ModuleCase{"QNStillCap.ax", CLSID_QnStillCapture, 1, 0}));

}  // namespace
}  // namespace vendortest
