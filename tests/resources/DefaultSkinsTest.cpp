// The default skins the build draws into the program folder, read as the windows read
// them: every section, key, name and picture the windows look for is there, the state
// strips hold their four images at the button's size, and the control bar's mask shapes
// the bar and each of its controls.
#include "BuiltSkin.h"

#include "skin/SkinBitmap.h"

#include <support/TestMachine.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace {

using test::BuiltSkin;
using test::Fields;
using test::Picture;
using ::testing::ElementsAreArray;
using ::testing::UnorderedElementsAreArray;

constexpr RECT kDesignSpace{0, 0, 1024, 768};
constexpr RECT kRestoredSpace{0, 0, 800, 600};
constexpr RECT kTvVideoArea{268, 80, 1010, 654};
constexpr RECT kBarVolumeSlider{195, 38, 266, 49};

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom && inner.left < inner.right && inner.top < inner.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Contains(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

std::vector<std::string> Names(const std::vector<SkinButtonEntry>& buttons) {
  std::vector<std::string> names;
  for (const auto& b : buttons) names.emplace_back(static_cast<LPCSTR>(b.strName));
  return names;
}

class DefaultSkinsTest : public test::MachineTest {
 protected:
  // Both layouts of a window: the same buttons in the same order, the first `fixed` at
  // the same place, every rectangle in its design space, every strip four images of its size.
  void ExpectButtonLayouts(const BuiltSkin& skin, const char* full, const char* restored, std::size_t fixed = 4) {
    const auto big = skin.buttons(full);
    const auto small = skin.buttons(restored);
    ASSERT_EQ(Names(big), Names(small));
    ASSERT_EQ(big.size(), skin.keys(full).size()) << "no key may be empty";
    for (std::size_t i = 0; i < big.size(); ++i) {
      SCOPED_TRACE(static_cast<LPCSTR>(big[i].strName));
      EXPECT_EQ(big[i].nCommandId, 5000 + static_cast<int>(i));
      EXPECT_TRUE(Inside(big[i].rcDesign, kDesignSpace));
      EXPECT_TRUE(Inside(small[i].rcDesign, i < fixed ? kDesignSpace : kRestoredSpace));
      if (i < fixed) {
        EXPECT_EQ(CRect(big[i].rcDesign), CRect(small[i].rcDesign));
      }
      for (const SkinButtonEntry* entry : {&big[i], &small[i]}) {
        const Picture strip = skin.picture(entry->strImage);
        ASSERT_TRUE(strip) << static_cast<LPCSTR>(entry->strImage);
        EXPECT_EQ(strip.size().cx, 4 * entry->rcDesign.Width());
        EXPECT_EQ(strip.size().cy, entry->rcDesign.Height());
        // Hover, pressed and disabled each look different from normal somewhere.
        const int w = entry->rcDesign.Width(), h = entry->rcDesign.Height();
        for (int state = 1; state < 4; ++state) {
          bool differs = false;
          for (int y = 0; y < h && !differs; y += 2)
            for (int x = 0; x < w && !differs; x += 2) differs = strip.pixel(x, y) != strip.pixel(state * w + x, y);
          EXPECT_TRUE(differs) << "state " << state;
        }
      }
    }
    for (std::size_t i = 0; i < big.size(); ++i)
      for (std::size_t j = i + 1; j < big.size(); ++j)
        EXPECT_FALSE(Overlap(big[i].rcDesign, big[j].rcDesign)) << big[i].strName << " and " << big[j].strName;
  }

  void ExpectBackgrounds(const BuiltSkin& skin) {
    const Picture full = skin.picture(skin.value("Main-ShapeWindowBKbmp", "1"));
    const Picture restored = skin.picture(skin.value("Main-ShapeWindowBKbmp", "2"));
    EXPECT_EQ(full.size().cx, 1024);
    EXPECT_EQ(full.size().cy, 768);
    EXPECT_EQ(restored.size().cx, 800);
    EXPECT_EQ(restored.size().cy, 600);
  }
};

TEST_F(DefaultSkinsTest, LauncherHasTheButtonsItActsOnInBothLayouts) {
  const BuiltSkin skin("Skin\\Normal");
  ExpectButtonLayouts(skin, "Main-SystemButtons", "Main-SystemButtonsMin");
  ExpectBackgrounds(skin);
  const auto names = Names(skin.buttons("Main-SystemButtons"));
  ASSERT_EQ(names.size(), 10u);
  // The caption strip's four, kept out of key navigation, then the six activities.
  EXPECT_THAT(std::vector<std::string>(names.begin(), names.begin() + 4),
              UnorderedElementsAreArray({"CLOSE_BUTTON", "MAX_BUTTON", "HELP_BUTTON", "MIN_BUTTON"}));
  EXPECT_THAT(std::vector<std::string>(names.begin() + 4, names.end()),
              UnorderedElementsAreArray({"FILM_BUTTON", "TV_BUTTON", "PIC_BUTTON", "VIDEO_BUTTON", "WEB_BUTTON", "SET_BUTTON"}));
  for (const auto& b : skin.buttons("Main-SystemButtons")) {
    if (b.nCommandId < 5004) {
      EXPECT_LT(b.rcDesign.bottom, 76) << b.strName << " lies in the caption strip";
    }
  }
}

TEST_F(DefaultSkinsTest, LauncherAnimationsBelongToTheButtonsThatPlayThem) {
  const BuiltSkin skin("Skin\\Normal");
  ASSERT_EQ(skin.keys("Main-NewSkinStatic"), std::vector<std::string>{"bmp"});
  const CString value = skin.value("Main-NewSkinStatic", "bmp");
  EXPECT_LT(value.GetLength(), 256);
  const auto fields = Fields(value, 13);
  for (int i = 0; i < 6; ++i) {
    ASSERT_TRUE(skin.fileExists(fields[i])) << fields[i];
    std::ifstream movie(skin.linuxPath(fields[i]), std::ios::binary);
    char signature[3] = {};
    movie.read(signature, 3);
    EXPECT_EQ(std::string(signature, 3), "FWS") << fields[i];
  }
  const CRect area(atoi(fields[6]), atoi(fields[7]), atoi(fields[8]), atoi(fields[9]));
  EXPECT_TRUE(Inside(area, kDesignSpace));
  for (int i = 10; i < 13; ++i) EXPECT_TRUE(atoi(fields[i]) >= 0 && atoi(fields[i]) <= 255) << fields[i];
  for (const auto& b : skin.buttons("Main-SystemButtons")) EXPECT_FALSE(Overlap(area, b.rcDesign)) << b.strName;

  // Hovering the button with id 5004 + k plays movie kMovie[k]; each movie shows that
  // button's activity.
  const int kMovie[] = {1, 2, 3, 4, 6, 5};
  const std::map<std::string, std::string> kActivity = {{"TV_BUTTON", "tv"},   {"FILM_BUTTON", "film"},
                                                        {"PIC_BUTTON", "pic"}, {"VIDEO_BUTTON", "video"},
                                                        {"SET_BUTTON", "set"}, {"WEB_BUTTON", "web"}};
  for (const auto& b : skin.buttons("Main-SystemButtons")) {
    if (b.nCommandId < 5004) continue;
    const CString movie = fields[kMovie[b.nCommandId - 5004] - 1];
    EXPECT_EQ(std::string(movie), kActivity.at(static_cast<LPCSTR>(b.strName)) + ".swf") << b.strName;
  }
}

TEST_F(DefaultSkinsTest, TvWindowHasItsButtonsWhereItsKeysNavigate) {
  const BuiltSkin skin("Skin\\TV");
  ExpectButtonLayouts(skin, "TV-Buttons", "TV-ButtonsMin");
  ExpectBackgrounds(skin);
  const auto buttons = skin.buttons("TV-Buttons");
  const auto names = Names(buttons);
  EXPECT_THAT(names, UnorderedElementsAreArray({"FULLSCREEN_BUTTON", "RETURN_BUTTON", "SINGLE_BUTTON", "MAIN_BUTTON",
                                                "MINISIZE_BUTTON", "NORMAL_BUTTON", "CLOSE_BUTTON", "HELP_BUTTON",
                                                "CHANNEL_BUTTON", "SETTING_BUTTON", "TVWALL_BUTTON",
                                                "RECORDTV_BUTTON"}));
  ASSERT_GE(names.size(), 11u) << "key navigation needs the buttons 6, 7, 9 and 10";
  // Pressing the marked button from index 5 on toggles full screen for this one.
  EXPECT_EQ(names[5], "FULLSCREEN_BUTTON");
  // Previewing an input, navigation alternates 6 and 10: both stay enabled then.
  for (int i : {6, 10}) {
    EXPECT_NE(names[i], "CHANNEL_BUTTON");
    EXPECT_NE(names[i], "TVWALL_BUTTON");
  }
  // No button lies on the video or under the control bar at the bottom left.
  const BuiltSkin bar("skins\\elegance");
  const SIZE barSize = bar.picture(bar.value("ShapeWindowInfo", "Normal")).size();
  const RECT barArea{0, 768 - barSize.cy, barSize.cx, 768};
  for (const auto& b : buttons) {
    EXPECT_FALSE(Overlap(b.rcDesign, kTvVideoArea)) << b.strName;
    EXPECT_FALSE(Overlap(b.rcDesign, barArea)) << b.strName;
  }
}

const char* const kBarVocabulary[] = {"PLAY_MOVIE",  "STOP_MOVIE",    "PAUSE_MOVIE",     "BACK_MOVIE", "AHEAD_MOVIE",
                                      "RECORD_MOVIE", "ADD_SND",      "SUB_SND",         "MUTE_SND",   "NEXT_CHANNELS",
                                      "PRE_CHANNELS", "RETURN_ChANNELS", "JIETU_PIC"};

struct BarControl {
  std::string name;
  CRect rect;
  COLORREF hitColour;
};

// "name,left,top,right,bottom,tooltip,useCursor,shaped,r,g,b" and the progress form
// "name,tooltip,left,top,right,bottom,H,useCursor,shaped,r,g,b", without cursor files.
BarControl ReadBarControl(const CString& value, bool progress) {
  const auto f = Fields(value, progress ? 12 : 11);
  const int r = progress ? 2 : 1;
  const int flags = progress ? 7 : 6;
  EXPECT_EQ(f[flags], "FALSE") << value << ": the bar ships no cursor files";
  EXPECT_EQ(f[flags + 1], "TRUE") << value;
  if (progress) {
    EXPECT_EQ(f[6], "H");
  }
  EXPECT_FALSE(f[progress ? 1 : 5].IsEmpty()) << value << ": a tooltip";
  return {static_cast<LPCSTR>(f[0]), CRect(atoi(f[r]), atoi(f[r + 1]), atoi(f[r + 2]), atoi(f[r + 3])),
          RGB(atoi(f[flags + 2]), atoi(f[flags + 3]), atoi(f[flags + 4]))};
}

std::vector<BarControl> ReadBarControls(const BuiltSkin& skin, const char* section, const char* format, bool progress) {
  std::vector<BarControl> out;
  const std::size_t count = skin.keys(section).size();
  for (std::size_t i = 1; i <= count; ++i) {
    CString key;
    key.Format(format, static_cast<int>(i));
    const CString value = skin.value(section, key);
    EXPECT_FALSE(value.IsEmpty()) << key;
    EXPECT_LT(value.GetLength(), 256) << key;
    if (!value.IsEmpty()) out.push_back(ReadBarControl(value, progress));
  }
  return out;
}

TEST_F(DefaultSkinsTest, ControlBarNamesEveryCommandOfItsVocabulary) {
  const BuiltSkin skin("skins\\elegance");
  EXPECT_THAT(skin.keys("ShapeWindowInfo"), UnorderedElementsAreArray({"Normal", "Mask", "Hovered", "Pressed", "Disabled"}));
  SIZE size{};
  for (const char* key : {"Normal", "Mask", "Hovered", "Pressed", "Disabled"}) {
    const Picture picture = skin.picture(skin.value("ShapeWindowInfo", key));
    ASSERT_TRUE(picture) << key;
    if (size.cx == 0) size = picture.size();
    EXPECT_EQ(picture.size().cx, size.cx) << key;
    EXPECT_EQ(picture.size().cy, size.cy) << key;
  }
  // The volume slider the bar makes at a fixed place needs the bar around it.
  EXPECT_TRUE(Inside(kBarVolumeSlider, RECT{0, 0, size.cx, size.cy}));

  std::vector<std::string> names;
  for (const auto& c : ReadBarControls(skin, "ShapeButtonInfo", "Button%d", false)) {
    names.push_back(c.name);
    EXPECT_TRUE(Inside(c.rect, RECT{0, 0, size.cx, size.cy})) << c.name;
  }
  EXPECT_THAT(names, UnorderedElementsAreArray(kBarVocabulary));
  const auto progress = ReadBarControls(skin, "ShapeProgressInfo", "Progress%d", true);
  ASSERT_EQ(progress.size(), 1u);
  EXPECT_EQ(progress[0].name, "PROGRESS_POS");
}

TEST_F(DefaultSkinsTest, ControlBarMaskShapesTheBarAndEachControlApart) {
  const BuiltSkin skin("skins\\elegance");
  const Picture mask = skin.picture(skin.value("ShapeWindowInfo", "Mask"));
  ASSERT_TRUE(mask);
  const SIZE size = mask.size();
  HRGN window = BitmapToRegion(mask.get(), RGB(255, 0, 255), RGB(16, 16, 16));
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(PtInRegion(window, 0, 0)) << "the bar's corners are cut away";
  EXPECT_TRUE(PtInRegion(window, size.cx / 2, size.cy / 2));
  for (POINT p : {POINT{195, 38}, POINT{265, 38}, POINT{195, 48}, POINT{265, 48}}) EXPECT_TRUE(PtInRegion(window, p.x, p.y));

  auto controls = ReadBarControls(skin, "ShapeButtonInfo", "Button%d", false);
  const auto progress = ReadBarControls(skin, "ShapeProgressInfo", "Progress%d", true);
  controls.insert(controls.end(), progress.begin(), progress.end());
  std::vector<std::set<std::pair<int, int>>> areas;
  for (const auto& c : controls) {
    std::set<std::pair<int, int>> area;
    for (int y = c.rect.top; y < c.rect.bottom; ++y)
      for (int x = c.rect.left; x < c.rect.right; ++x)
        if (mask.pixel(x, y) == c.hitColour) {
          area.insert({x, y});
          EXPECT_TRUE(PtInRegion(window, x, y)) << c.name;
          EXPECT_FALSE(Contains(kBarVolumeSlider, x, y)) << c.name << " lies on the volume slider";
        }
    EXPECT_GT(area.size(), static_cast<std::size_t>(c.rect.Width() * c.rect.Height() / 2)) << c.name;
    areas.push_back(std::move(area));
  }
  for (std::size_t i = 0; i < areas.size(); ++i)
    for (std::size_t j = i + 1; j < areas.size(); ++j)
      for (const auto& p : areas[i]) ASSERT_FALSE(areas[j].count(p)) << controls[i].name << " and " << controls[j].name;
  DeleteObject(window);
}

TEST_F(DefaultSkinsTest, ControlBarShowsEachStateWhereTheControlsAre) {
  const BuiltSkin skin("skins\\elegance");
  const Picture normal = skin.picture(skin.value("ShapeWindowInfo", "Normal"));
  for (const char* key : {"Hovered", "Pressed", "Disabled"}) {
    const Picture state = skin.picture(skin.value("ShapeWindowInfo", key));
    for (const auto& c : ReadBarControls(skin, "ShapeButtonInfo", "Button%d", false)) {
      bool differs = false;
      for (int y = c.rect.top; y < c.rect.bottom && !differs; ++y)
        for (int x = c.rect.left; x < c.rect.right && !differs; ++x) differs = normal.pixel(x, y) != state.pixel(x, y);
      EXPECT_TRUE(differs) << c.name << " in " << key;
    }
    // Away from the controls the body stays the same.
    EXPECT_EQ(normal.pixel(normal.size().cx - 20, normal.size().cy - 3), state.pixel(normal.size().cx - 20, normal.size().cy - 3));
  }
}

}  // namespace

namespace {

// The free-standing video window's frame: nine parts in an active and an inactive look cut
// from one picture, its corners keyed out, its bar buttons in the 28-pixel band, and the
// colours of its menu.
TEST_F(DefaultSkinsTest, TheVideoWindowsFrameHasItsPartsBarAndMenuColours) {
  const BuiltSkin skin("Skin\\SingleTV");
  const Picture frame = skin.picture(skin.value("DialogResInfo", "FrameImage"));
  ASSERT_TRUE(frame);
  const COLORREF mask = RGB(255, 0, 255);
  EXPECT_EQ(skin.value("DialogResInfo", "MaskColor"), "255,0,255");
  EXPECT_EQ(skin.value("DialogResInfo", "ShapeWindow"), "1");
  for (const char* look : {"0", "1"}) {
    for (const char* part : {"TopLeft", "MiddleTop", "TopRight", "MiddleLeft", "MiddleRight", "BottomLeft",
                             "MiddleBottom", "BottomRight"}) {
      const std::string key = std::string(part) + look;
      RECT rect{};
      ASSERT_TRUE(ReadRect(skin.ini(), "DialogResInfo", key.c_str(), rect)) << key;
      EXPECT_TRUE(Inside(rect, RECT{0, 0, frame.size().cx, frame.size().cy})) << key;
    }
    RECT corner{};
    ReadRect(skin.ini(), "DialogResInfo", (std::string("TopLeft") + look).c_str(), corner);
    EXPECT_EQ(frame.pixel(corner.left, corner.top), mask) << "a rounded corner, keyed out";
    EXPECT_NE(frame.pixel(corner.right - 1, corner.bottom - 1), mask);
  }
  const auto buttons = skin.buttons("ShapeButtonInfo");
  EXPECT_THAT(Names(buttons), ElementsAreArray({"RETURN_BUTTON", "PRE_BUTTON", "NEXT_BUTTON", "SUB_BUTTON",
                                                "ADD_BUTTON", "MUTE_BUTTON", "JIETU_BUTTON"}));
  for (const auto& b : buttons) {
    SCOPED_TRACE(static_cast<LPCSTR>(b.strName));
    EXPECT_TRUE(Inside(b.rcDesign, RECT{0, 0, 320, 28})) << "in the band, in 320 units";
    const Picture strip = skin.picture(b.strImage);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip.size().cx, 4 * b.rcDesign.Width());
    EXPECT_EQ(strip.size().cy, b.rcDesign.Height());
  }
  for (const char* key : {"MenuColor", "IconBarColor", "LightBarColor", "LightBarStartColor", "LightBarEndColor",
                          "TextColor", "HighLightColor", "Frame0Color", "Frame1Color", "Frame2Color", "Frame3Color"}) {
    COLORREF colour = CLR_INVALID;
    EXPECT_TRUE(ReadColor(skin.ini(), "COLORTHEME", key, colour)) << key;
  }
}

// The video editor: its first sixteen buttons keep their places when restored; the two
// track radio buttons hold five images each; the lists lie where the window looks for
// them; nothing covers the panes' pictures and sliders, which the window places itself.
TEST_F(DefaultSkinsTest, VideoEditorHasItsButtonsRadioButtonsAndListsAroundItsPanes) {
  const BuiltSkin skin("Skin\\Video");
  ExpectButtonLayouts(skin, "Video-Buttons", "Video-ButtonsMin", 16);
  ExpectBackgrounds(skin);
  const auto buttons = skin.buttons("Video-Buttons");
  EXPECT_THAT(Names(buttons),
              UnorderedElementsAreArray({"CLOSE_BUTTON", "MAX_BUTTON", "MIN_BUTTON", "HELP_BUTTON", "MAIN_BUTTON",
                                         "RETURN_BUTTON", "LEFTPLAY_BUTTON", "PAUSE_BUTTON", "STOP_BUTTON",
                                         "CUTLEFT_BUTTON", "CUTRIGHT_BUTTON", "CUT_BUTTON", "RIGHTPLAY_BUTTON",
                                         "RIGHTPAUSE_BUTTON", "RIGHTSTOP_BUTTON", "ADD_BUTTON", "DELETE_BUTTON",
                                         "HECHENG_BUTTON"}));
  const auto small = skin.buttons("Video-ButtonsMin");
  ASSERT_EQ(small.size(), 18u);
  EXPECT_NE(CRect(small[16].rcDesign), CRect(buttons[16].rcDesign)) << "the seventeenth takes the 800 x 600 space";

  const auto radios = skin.buttons("Video-RadioButton");
  EXPECT_EQ(Names(radios), (std::vector<std::string>{"PRESCAN_BUTTON", "AUDIO_BUTTON"}));
  for (const auto& radio : radios) {
    SCOPED_TRACE(static_cast<LPCSTR>(radio.strName));
    const Picture strip = skin.picture(radio.strImage);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip.size().cx, 5 * radio.rcDesign.Width());
    EXPECT_EQ(strip.size().cy, radio.rcDesign.Height());
  }

  const RECT panes[] = {{117, 230, 544, 534}, {568, 230, 995, 534}, {151, 538, 511, 552}, {602, 538, 962, 552}};
  std::vector<RECT> placed;
  for (const char* key : {"1", "2"}) {
    const auto fields = Fields(skin.value("Video-ListCtrl", key), 5);
    const RECT list{atoi(fields[0]), atoi(fields[1]), atoi(fields[2]), atoi(fields[3])};
    EXPECT_TRUE(Inside(list, kDesignSpace)) << key;
    EXPECT_TRUE(fields[4] == "TRUE" || fields[4] == "FALSE") << key;
    placed.push_back(list);
  }
  for (const auto& b : buttons) placed.push_back(b.rcDesign);
  for (const auto& r : radios) placed.push_back(r.rcDesign);
  for (const RECT& pane : panes)
    for (const RECT& other : placed) EXPECT_FALSE(Overlap(pane, other)) << CRect(other).left << "," << CRect(other).top;
}

}  // namespace
