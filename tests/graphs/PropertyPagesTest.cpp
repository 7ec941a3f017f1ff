// A filter's property pages shown over the active window: the TV stick's capture filter
// shows its picture controls in a frame the user closes; a filter without pages shows
// nothing.
#include "GraphsTest.h"

#include "graphs/DeviceUtilities.h"

#include <robot/Robot.h>
#include <win32/thread.h>
#include <win32/user.h>
#include <win32/user/UserSystem.h>

#include <functional>
#include <string>

namespace {

using plat::ComPtr;

class PropertyPagesTest : public test::GraphsTest {
 protected:
  void SetUp() override {
    GraphsTest::SetUp();
    owner = CreateWindowExA(0, "STATIC", "Main", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    SetActiveWindow(owner);
    plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), [this] {
      HWND frame = FindWindowA("#32770", "Properties");
      if (!frame || seen) return -1;
      seen = frame;
      user(frame);
      return 0;
    });
  }
  void TearDown() override {
    plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), nullptr);
    DestroyWindow(owner);
    GraphsTest::TearDown();
  }

  static std::string textOf(HWND hwnd) {
    char text[64] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
  }
  // The frame's first page: the dialog among its children.
  static HWND pageOf(HWND frame) {
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      char name[16] = {};
      GetClassNameA(child, name, sizeof name);
      if (std::string(name) == "#32770") return child;
    }
    return nullptr;
  }
  static ULONG refsOf(IUnknown* object) {
    object->AddRef();
    return object->Release();
  }

  HWND owner = nullptr;
  HWND seen = nullptr;
  // What the user does once the frame is up.
  std::function<void(HWND)> user = [](HWND) {};
  plat::Robot robot{false};
};

TEST_F(PropertyPagesTest, TheStickShowsItsPictureControlsUntilTheUserClosesTheFrame) {
  ComPtr<IBaseFilter> filter;
  ASSERT_TRUE(FindVideoCaptureDevice("USB TV Device", filter.put()));
  ComPtr<IAMVideoProcAmp> procAmp;
  ASSERT_EQ(filter.queryInterface(IID_IAMVideoProcAmp, procAmp), S_OK);
  long min = 0, max = 0, step = 0, def = 0, caps = 0;
  ASSERT_EQ(procAmp->GetRange(VideoProcAmp_Brightness, &min, &max, &step, &def, &caps), S_OK);
  ASSERT_EQ(procAmp->Set(VideoProcAmp_Brightness, min, VideoProcAmp_Flags_Manual), S_OK);
  long contrast = 0, flags = 0;
  ASSERT_EQ(procAmp->Get(VideoProcAmp_Contrast, &contrast, &flags), S_OK);
  const ULONG refsBefore = refsOf(filter.get());

  HWND frameOwner = nullptr;
  std::string tab, brightness, contrastShown, brightnessName;
  user = [&](HWND frame) {
    frameOwner = GetWindow(frame, GW_OWNER);
    tab = textOf(GetDlgItem(frame, 0x3000));
    HWND page = pageOf(frame);
    brightnessName = textOf(GetDlgItem(page, 100));
    brightness = textOf(GetDlgItem(page, 200));
    contrastShown = textOf(GetDlgItem(page, 201));
    robot.click(GetDlgItem(frame, IDOK));
  };
  EXPECT_TRUE(ShowFilterPropertyPages(filter.get()));
  ASSERT_NE(seen, nullptr) << "the frame was shown";
  EXPECT_FALSE(IsWindow(seen)) << "and closed before the call returned";
  EXPECT_EQ(frameOwner, owner);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(tab, "Video Proc Amp");
  EXPECT_EQ(brightnessName, "Brightness");
  EXPECT_EQ(brightness, std::to_string(min));
  EXPECT_EQ(contrastShown, std::to_string(contrast));
  EXPECT_EQ(refsOf(filter.get()), refsBefore) << "the page let go of the filter";
}

TEST_F(PropertyPagesTest, TheStickFrameClosedWithCancelStillReturnsTrue) {
  ComPtr<IBaseFilter> filter;
  ASSERT_TRUE(FindVideoCaptureDevice("USB TV Device", filter.put()));
  user = [&](HWND frame) { robot.click(GetDlgItem(frame, IDCANCEL)); };
  EXPECT_TRUE(ShowFilterPropertyPages(filter.get()));
  EXPECT_NE(seen, nullptr);
  EXPECT_FALSE(IsWindow(seen));
}

TEST_F(PropertyPagesTest, AFilterWithoutPagesOrNoFilterShowsNothing) {
  ComPtr<IBaseFilter> filter;
  ASSERT_TRUE(FindAudioCaptureDevice("Audio Volume Control", filter.put()));
  EXPECT_FALSE(ShowFilterPropertyPages(filter.get()));
  EXPECT_FALSE(ShowFilterPropertyPages(nullptr));
  EXPECT_EQ(seen, nullptr);
}

}  // namespace
