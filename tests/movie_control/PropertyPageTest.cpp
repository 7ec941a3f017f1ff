// The control's property page in the setup frame: the Default button, and the message
// boxes of what the page cannot do.
#include "MovieCtlTest.h"

#include <movie_control/CRemoteInput.h>
#include <movie_control/CVidProp.h>

#include <robot/Robot.h>
#include <win32/user.h>

#include <functional>
#include <string>
#include <vector>

namespace test {
namespace {

constexpr const char* kPropertyNames[] = {"Brightness", "Contrast", "Hue", "Saturation", "Sharpness"};

class PropertyPageTest : public MovieCtlTest {
 protected:
  // The page in the open setup frame, found by its first trackbar.
  static HWND page() {
    HWND frame = FindWindowA(nullptr, CRemoteInput::SetupFrameTitle().c_str());
    for (HWND child = frame ? GetWindow(frame, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
      if (GetDlgItem(child, CVidProp::kFirstTrackbar)) return child;
    return nullptr;
  }
  static void pressDefault(plat::Robot& robot) {
    ASSERT_NE(page(), nullptr);
    robot.click(GetDlgItem(page(), CVidProp::kDefaultButton));
  }
  // What the page shows for each property: its trackbar's position and the text beside it.
  void readPage() {
    for (int i = 0; i < CVidProp::kProperties; ++i) {
      positions.push_back(static_cast<long>(SendDlgItemMessageA(page(), CVidProp::kFirstTrackbar + 3 * i, TBM_GETPOS, 0, 0)));
      char text[32] = {};
      GetDlgItemTextA(page(), CVidProp::kFirstValue + 3 * i, text, sizeof text);
      texts.emplace_back(text);
    }
  }
  // Opens the frame with the page; `actions` run in turn while it is open, and the frame
  // is closed after them.
  void openSetup(std::vector<std::function<void(plat::Robot&)>> actions) {
    for (auto& action : actions) robot.duringModal(std::move(action));
    robot.duringModal([](plat::Robot&) {
      PostMessageA(FindWindowA(nullptr, CRemoteInput::SetupFrameTitle().c_str()), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(run("call ShowSetupDialog 0"), "call ShowSetupDialog 0 -> 0x00000000");
  }
  std::vector<plat::MessageBoxRecord> boxes() { return robot.messageBoxes(); }

  plat::Robot robot;
  std::vector<long> positions;
  std::vector<std::string> texts;
};

}  // namespace

// Default puts every property back to the device's default, with the flags the device
// offers, and the page shows the defaults.
TEST_F(PropertyPageTest, DefaultSetsEveryPropertyToItsDefaultAndShowsIt) {
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  for (int i = 0; i < CVidProp::kProperties; ++i) {
    const auto range = card().procAmpRange(i);
    const long moved = range.def == range.max ? range.min : range.max;
    ASSERT_EQ(run(std::string("put ") + kPropertyNames[i] + " " + std::to_string(moved)),
              std::string("put ") + kPropertyNames[i] + " " + std::to_string(moved) + " -> 0x00000000");
  }
  openSetup({pressDefault, [this](plat::Robot&) { readPage(); }});
  ASSERT_EQ(positions.size(), static_cast<std::size_t>(CVidProp::kProperties));
  for (int i = 0; i < CVidProp::kProperties; ++i) {
    const long def = card().procAmpRange(i).def;
    EXPECT_EQ(card().procAmp(i), def) << kPropertyNames[i];
    EXPECT_EQ(positions[i], def) << kPropertyNames[i];
    EXPECT_EQ(texts[i], std::to_string(def) + "\n") << kPropertyNames[i];
  }
  EXPECT_TRUE(boxes().empty());
}

// Without a graph nothing can be read or set: each property tells so in a box of its own
// as the page opens, and each again under the Default button's caption.
TEST_F(PropertyPageTest, WithoutAGraphEachPropertyTellsItsFailure) {
  for (int i = 0; i < 2 * CVidProp::kProperties; ++i) robot.answerNextMessageBox(IDOK);
  openSetup({pressDefault});
  const auto shown = boxes();
  ASSERT_EQ(shown.size(), 2u * CVidProp::kProperties);
  const char* const captions[] = {"Brightness", "contrast", "hue", "saturation", "sharpness"};
  for (int i = 0; i < CVidProp::kProperties; ++i) {
    EXPECT_EQ(shown[i].caption, captions[i]);
    EXPECT_EQ(shown[CVidProp::kProperties + i].caption, "CVidProp::SetDefaultVideoProperty");
    EXPECT_EQ(shown[CVidProp::kProperties + i].text, shown[0].text);
  }
  EXPECT_FALSE(shown[0].text.empty());
}

// A value the page cannot write beside its trackbar is told with the system's text of the
// error; the property itself is set all the same.
TEST_F(PropertyPageTest, AValueThatCannotBeShownIsToldByTheSystemsText) {
  ASSERT_EQ(run("call Init"), "call Init -> 0x00000000");
  const auto brightness = card().procAmpRange(0);
  run("put Brightness " + std::to_string(brightness.max));
  robot.answerNextMessageBox(IDOK);
  openSetup({[](plat::Robot& robot) {
    DestroyWindow(GetDlgItem(page(), CVidProp::kFirstValue));
    pressDefault(robot);
  }});
  const auto shown = boxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "SetWindowText");
  EXPECT_EQ(shown[0].text, "Control ID not found.\r\n");
  EXPECT_EQ(card().procAmp(0), brightness.def);
}

}  // namespace test
