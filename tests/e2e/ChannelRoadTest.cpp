// The channel road in the built program, as a user walks it under a robot script on the
// machine's clock: on a fresh machine the channel window picks a country from its list and
// scans; the list holds exactly the stations on air; one is renamed, one skipped, one moved,
// and the list saved under a new name. After a restart the list is opened again, found as
// it was left, and the TV window steps through the channels as edited. A name still being
// typed when the plan arrow is pressed goes to the channel it was typed for. While a scan
// runs, the window shows its progress and greys the buttons that would leave or change the
// list.
#include "ProgramsTest.h"

#include "core/data/CChannelList.h"

#include <support/PictureFiles.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

// Points of the default skins, in the full-screen windows' client areas (the screen).
constexpr char kOpenChannelWindow[] = R"(window "#32770" "Orvane Media"
key CTRL+T
window "#32770" "Orvane Media_TVDlg"
wait 2000
# The TV window's channel button.
clickat 136 268
window "#32770" "Orvane Media_ChannelDlg"
wait 500
)";

class ChannelRoadTest : public test::ProgramsTest {
 protected:
  // The program's skins and filter modules beside it, as the installer leaves them, and a
  // sky of four British stations on the UHF channels 21, 24, 30 and 41.
  ChannelRoadTest() {
    installMainProgram();
    machine().ini().removeSection("Broadcast");
    const char* stations[] = {"471.25,PAL_I,21,Moorland 21,440", "495.25,PAL_I,24,Riverside 24,550",
                              "543.25,PAL_I,30,Fenland 30,660", "631.25,PAL_I,41,Harbourside 41,770"};
    int key = 1;
    for (const char* station : stations) machine().ini().setValue("Broadcast", "Channel" + std::to_string(key++), station);
    machine().saveIni();
  }
  int run(const std::string& script) {
    const pid_t pid = start("Orvane Media", script);
    return pid ? waitForExit(pid) : -1;
  }
  std::filesystem::path file(const char* name) { return testMachine.programFolder() / name; }
  // The cable plan of a ".chl" file, as (number, name, MHz, skip) in number order.
  struct Channel {
    int number;
    std::string name;
    float mhz;
    unsigned skip;
    // Carriers in Hz scaled to MHz in single precision land a hair off the plan's figures.
    bool operator==(const Channel& other) const {
      return number == other.number && name == other.name && std::abs(mhz - other.mhz) < 0.001f && skip == other.skip;
    }
    friend void PrintTo(const Channel& c, std::ostream* out) {
      *out << c.number << " " << c.name << " " << c.mhz << (c.skip ? " skipped" : "");
    }
  };
  std::vector<Channel> cablePlan(const char* name, int* current = nullptr) {
    CChannelList lists;
    EXPECT_EQ(lists.LoadFile(programPath(name).c_str()), 1) << name;
    std::vector<Channel> plan;
    for (int n = lists.GetFirstChannelNumber(2); n >= 1; n = lists.GetNextChannelNumber(n, 2)) {
      ChannelRecord record{};
      lists.GetChannel(n, 2, &record);
      plan.push_back({n, record.ChannelName, record.Frequency, record.SkipFlag});
    }
    if (current) *current = lists.GetCurrentChannel(2);
    return plan;
  }
};

TEST_F(ChannelRoadTest, ScannedEditedSavedAndOpenedAgainTheListIsWhatTheTVWindowSteps) {
  const int first = run(std::string(kOpenChannelWindow) + R"(# The country from the list: the United Kingdom, just above the United States.
click 4130
clickat 618 107
key UP
key RETURN
wait 500
# The scan, waited out: its radios come back at its end.
clickat 78 164
wait-enabled 4130
wait 500
# Channel 1 renamed: its name chosen, the editor opened with Enter, the old name rubbed out.
clickat 592 141
key RETURN
key BACK
key BACK
key BACK
key BACK
key BACK
key BACK
key BACK
key BACK
type "Studio"
key RETURN
# Channel 2 skipped, channel 4 moved a row up.
clickat 211 160
clickat 465 198
clickat 926 320
# Saved as "evening", then the program closed.
file-answer "evening"
clickat 78 428
wait 500
clickat 986 38
)");
  ASSERT_EQ(first, 0);

  // The four stations on air, found in a row, then edited.
  const std::vector<Channel> edited{{1, "Studio", 471.25f, 0},
                                    {2, "Channel2", 495.25f, 1},
                                    {3, "Channel4", 631.25f, 0},
                                    {4, "Channel3", 543.25f, 0}};
  EXPECT_EQ(cablePlan("evening.chl"), edited);

  // The program starts again with its country's plain plan, and the list is opened.
  std::filesystem::remove(file("ZRQChannels.chl"));
  const int second = run(std::string(kOpenChannelWindow) + R"(file-answer "evening.chl"
clickat 78 372
wait 500
# Back to the TV window: channel up twice from channel 1.
clickat 924 728
window "#32770" "Orvane Media_TVDlg"
wait 1000
key PRIOR
wait 1000
key PRIOR
wait 1000
key BACKSPACE
window "#32770" "Orvane Media"
close
)");
  ASSERT_EQ(second, 0);
  int current = 0;
  EXPECT_EQ(cablePlan("ZRQChannels.chl", &current), edited) << "the list as it was left";
  EXPECT_EQ(current, 4) << "1, then 3 past the skipped 2, then 4";
}

// On a fresh machine's American cable plan: cable channel 4's name typed over, the plan
// arrow pressed before Enter, Enter pressed after it. The program's list file at its end
// holds the name on cable channel 4 and antenna channel 4 as it was.
TEST_F(ChannelRoadTest, ANameLeftOpenWhenThePlanChangesStaysWithItsChannel) {
  machine().ini().removeSection("Broadcast");
  machine().saveIni();
  const int status = run(std::string(kOpenChannelWindow) + R"(doubleclickat 592 198
key HOME
key SHIFT+END
type "Harbour News"
clickat 860 188
key RETURN
wait 500
screenshot channel_plan_arrow_during_edit
clickat 986 38
)");
  ASSERT_EQ(status, 0);
  CChannelList lists;
  ASSERT_EQ(lists.LoadFile(programPath("ZRQChannels.chl").c_str()), 1);
  ChannelRecord antenna{};
  ChannelRecord cable{};
  ASSERT_TRUE(lists.GetChannel(4, 1, &antenna));
  ASSERT_TRUE(lists.GetChannel(4, 2, &cable));
  EXPECT_STREQ(antenna.ChannelName, "Channel4");
  EXPECT_STREQ(cable.ChannelName, "Harbour News");
  EXPECT_TRUE(std::filesystem::exists(testMachine.root() / "channel_plan_arrow_during_edit.png"));
}

// The screen's pixels in a rectangle of the channel window (full screen, so its design
// units are the screen's pixels), and whether two screenshots differ there.
struct Screen {
  test::TestPicture picture;
  bool differs(const Screen& other, const RECT& r) const {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (!std::equal(picture.at(x, y), picture.at(x, y) + 3, other.picture.at(x, y))) return true;
    return false;
  }
  // The right end of what differs along a strip, -1 where nothing does.
  int lastDifferentColumn(const Screen& other, const RECT& r) const {
    for (int x = r.right - 1; x >= r.left; --x)
      if (differs(other, RECT{x, r.top, x + 1, r.bottom})) return x;
    return -1;
  }
};

TEST_F(ChannelRoadTest, WhileTheScanRunsItsProgressShowsAndTheButtonsThatWouldChangeTheListAreGrey) {
  const int status = run(std::string(kOpenChannelWindow) + R"(# The antenna plan of the United States: channels 2 to 69.
clickat 860 188
move 500 740
wait 500
screenshot scan_before
# The scan, looked at 3 and 23 seconds after it started, then waited out.
clickat 78 164
move 500 740
wait 3000
screenshot scan_3s
wait 20000
screenshot scan_23s
wait-enabled 4130
wait 500
screenshot scan_after
clickat 986 38
)");
  ASSERT_EQ(status, 0);
  // Kept for a person to look at: build folder, tests/e2e-screens/channel_scan_*.png.
  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "e2e-screens";
  std::filesystem::create_directories(shots);
  const auto shot = [&](const std::string& name) {
    const auto file = testMachine.root() / (name + ".png");
    std::filesystem::copy_file(file, shots / ("channel_" + name + ".png"),
                               std::filesystem::copy_options::overwrite_existing);
    return Screen{test::ReadPngFile(file)};
  };
  const Screen before = shot("scan_before"), at3 = shot("scan_3s"), at23 = shot("scan_23s"), after = shot("scan_after");
  ASSERT_EQ(at3.picture.width, 1024);

  // The skin's buttons: only minimise, maximise, help and the scan button itself stay
  // usable; the others turn grey for the scan and come back after it.
  std::ifstream skin(testMachine.programFolder() / "Skin" / "Channel" / "skin.ini");
  std::map<std::string, RECT> buttons;
  bool inButtons = false;
  for (std::string line; std::getline(skin, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with("[")) inButtons = line == "[Setting-Buttons]";
    const auto equals = line.find('=');
    if (!inButtons || equals == std::string::npos) continue;
    std::istringstream fields(line.substr(equals + 1));
    std::string name, picture, l, t, r, b;
    std::getline(fields, name, ',');
    std::getline(fields, picture, ',');
    std::getline(fields, l, ',');
    std::getline(fields, t, ',');
    std::getline(fields, r, ',');
    std::getline(fields, b, ',');
    buttons[name] = RECT{std::stoi(l), std::stoi(t), std::stoi(r), std::stoi(b)};
  }
  ASSERT_EQ(buttons.size(), 19u);
  const std::set<std::string> usable{"MINISIZE_BUTTON", "NORMAL_BUTTON", "HELP_BUTTON", "AUTOSCAN_BUTTON"};
  // Disabled already, in region mode.
  const std::set<std::string> countryArrows{"CountryLeft_Button", "CountryRight_Button"};
  for (const auto& [name, rect] : buttons) {
    if (countryArrows.count(name)) continue;
    EXPECT_EQ(at3.differs(before, rect), !usable.count(name)) << name << " at 3 s";
    EXPECT_EQ(at23.differs(before, rect), !usable.count(name)) << name << " at 23 s";
    EXPECT_FALSE(after.differs(before, rect)) << name << " after the scan";
  }
  // The progress: 7 % after 3 s (five steps of 620 ms, of a plan whose last channel is 69)
  // and 55 % after 23 s (38 steps), in the label and on the progress slider; 0 again after.
  const RECT label{944, 625, 1004, 647};
  EXPECT_TRUE(at3.differs(before, label));
  EXPECT_TRUE(at23.differs(at3, label));
  EXPECT_FALSE(after.differs(before, label));
  const RECT slider{480, 630, 930, 642};
  const int thumbAt3 = at3.lastDifferentColumn(before, slider);
  const int thumbAt23 = at23.lastDifferentColumn(before, slider);
  const auto along = [&](int column) { return 100 * (column - slider.left) / (slider.right - slider.left); };
  EXPECT_GE(along(thumbAt3), 5);
  EXPECT_LE(along(thumbAt3), 12);
  EXPECT_GE(along(thumbAt23), 53);
  EXPECT_LE(along(thumbAt23), 60);
  EXPECT_FALSE(after.differs(before, slider));
}

}  // namespace
