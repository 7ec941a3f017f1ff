// The channel window's default skin as the window reads it: every button and label it
// acts on, the first eleven buttons at the same place in both layouts and the rest in the
// 800 x 600 space, label pictures at their labels' size, the radio pair's pictures each
// holding two images of the first rectangle's size, and nothing on top of the controls
// the window places itself.
#include "BuiltSkin.h"

#include <support/TestMachine.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using test::BuiltSkin;
using test::Fields;
using test::Picture;
using ::testing::UnorderedElementsAreArray;

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The controls the window places itself: list, video area, the two sliders.
constexpr RECT kPlacedByTheWindow[] = {{148, 132, 831, 457}, {18, 548, 317, 752}, {480, 667, 930, 679}, {480, 630, 930, 642}};

class ChannelSkinTest : public test::MachineTest {
 protected:
  ChannelSkinTest() : skin("Skin\\Channel") {}
  BuiltSkin skin;
};

TEST_F(ChannelSkinTest, EveryButtonTheWindowActsOnInBothLayouts) {
  const auto full = skin.buttons("Setting-Buttons");
  const auto restored = skin.buttons("Setting-ButtonsMin");
  std::vector<std::string> names;
  for (const auto& b : full) names.emplace_back(static_cast<LPCSTR>(b.strName));
  EXPECT_THAT(names, UnorderedElementsAreArray(
                         {"CLOSE_BUTTON", "NORMAL_BUTTON", "MINISIZE_BUTTON", "HELP_BUTTON", "MAIN_BUTTON",
                          "RETURN_BUTTON", "AUTOSCAN_BUTTON", "LEFT_BUTTON", "RIGHT_BUTTON", "PAGEUP_BUTTON",
                          "UP_BUTTON", "DOWN_BUTTON", "PAGEDOWN_BUTTON", "MOVEUP_BUTTON", "MOVEDOWN_BUTTON",
                          "LOAD_BUTTON", "SAVE_BUTTON", "CountryLeft_Button", "CountryRight_Button"}));
  ASSERT_EQ(restored.size(), full.size());
  for (std::size_t i = 0; i < full.size(); ++i) {
    SCOPED_TRACE(static_cast<LPCSTR>(full[i].strName));
    EXPECT_EQ(full[i].strName, restored[i].strName);
    if (i < 11) {
      EXPECT_EQ(CRect(full[i].rcDesign), CRect(restored[i].rcDesign));
    } else {
      EXPECT_EQ(restored[i].rcDesign.left, (full[i].rcDesign.left * 800 + 512) / 1024);
      EXPECT_LE(restored[i].rcDesign.bottom, 600);
    }
    const Picture strip = skin.picture(full[i].strImage);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip.size().cx, 4 * full[i].rcDesign.Width());
    for (const RECT& placed : kPlacedByTheWindow) EXPECT_FALSE(Overlap(full[i].rcDesign, placed));
    for (std::size_t j = i + 1; j < full.size(); ++j) EXPECT_FALSE(Overlap(full[i].rcDesign, full[j].rcDesign));
  }
}

TEST_F(ChannelSkinTest, LabelsAndTheRadioPair) {
  std::vector<std::string> names;
  for (const std::string& key : skin.keys("Channel-Static")) {
    const auto fields = Fields(skin.value("Channel-Static", key.c_str()), 7);
    names.emplace_back(static_cast<LPCSTR>(fields[0]));
    const CRect rect(atoi(fields[2]), atoi(fields[3]), atoi(fields[4]), atoi(fields[5]));
    const Picture picture = skin.picture(fields[1]);
    ASSERT_TRUE(picture) << fields[1];
    EXPECT_EQ(picture.size().cx, rect.Width());
    EXPECT_EQ(picture.size().cy, rect.Height());
    for (const RECT& placed : kPlacedByTheWindow) EXPECT_FALSE(Overlap(rect, placed)) << fields[0];
  }
  EXPECT_THAT(names, UnorderedElementsAreArray(
                         {"Country_Static", "CountryCode_Static", "Source_Static", "Slider_Static", "Produce_Static"}));

  ASSERT_EQ(skin.keys("Setting-Radio"), std::vector<std::string>{"1"});
  const auto fields = Fields(skin.value("Setting-Radio", "1"), 10);
  const CRect first(atoi(fields[1]), atoi(fields[2]), atoi(fields[3]), atoi(fields[4]));
  for (int i : {0, 5}) {
    const Picture picture = skin.picture(fields[i]);
    ASSERT_TRUE(picture) << fields[i];
    EXPECT_EQ(picture.size().cx, 2 * first.Width());
    EXPECT_EQ(picture.size().cy, first.Height());
    // The unchecked and the checked image differ.
    bool differs = false;
    for (int x = 0; x < first.Width() && !differs; ++x)
      differs = picture.pixel(x, first.Height() / 2) != picture.pixel(first.Width() + x, first.Height() / 2);
    EXPECT_TRUE(differs);
  }
}

}  // namespace
