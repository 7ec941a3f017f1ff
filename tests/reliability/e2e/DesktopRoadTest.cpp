// The built programs as a user runs them, seen on the whole desktop: the TV window's
// control bar that comes back when the TV stick is plugged in after a start without it;
// a message box with its caption; and both programs on one screen, the scheduler's tray
// menu open over the main program's TV window. The pictures stay under the build.
#include "ProgramsTest.h"

#include <com/objbase.h>
#include <graphs/DeviceUtilities.h>
#include <machine/TrayArea.h>
#include <robot/Screenshot.h>
#include <support/ProgramRun.h>
#include <win32/gdi.h>
#include <win32/gdi/PictureFile.h>
#include <win32/user.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace {

namespace fs = std::filesystem;

constexpr UINT kOpenTvWindow = 1689;

fs::path Pictures() {
  const fs::path folder = E2E_PICTURES;
  fs::create_directories(folder);
  return folder;
}

// The program folder as the installer leaves it: skins and filter modules, the fan-out
// filter registered.
void Install(const fs::path& program) {
  const auto built = test::TestMachine::builtProgramFolder();
  for (const char* folder : {"Skin", "skins", "Filter"})
    fs::copy(built / folder, program / folder, fs::copy_options::recursive | fs::copy_options::skip_existing);
  CoInitialize(nullptr);
  RegisterFilterModule("Filter\\Branchel.ax");
  CoUninitialize();
}

// A pixel of a saved picture, as a COLORREF.
COLORREF PixelOf(const plat::PictureFile::Picture& picture, int x, int y) {
  return plat::colorRefFromPixel(picture.pixels.pixel(x, y));
}

// "Orvane Media" run alone to its end under a robot script on its own manual clock.
class TvStickRoadTest : public test::MachineTest {
 protected:
  TvStickRoadTest() { Install(testMachine.programFolder()); }

  int run(const std::string& script) {
    const fs::path file = testMachine.root() / "road.robot";
    std::ofstream(file) << script;
    return test::RunProgram(testMachine, ORVANE_MEDIA_PROGRAM, {}, file,
                            {"ORVANE_PROGRAM_FOLDER=" + testMachine.programFolder().string(),
                             "ORVANE_SCREENSHOT_DIR=" + Pictures().string()})
        .status;
  }
  static std::optional<plat::PictureFile::Picture> picture(const std::string& name) {
    return plat::PictureFile::load(Pictures() / (name + ".png"));
  }
};

// Without the stick the TV window says so in a box and shows no picture; back at the
// launcher the stick is plugged in, and the TV window comes again with its picture and
// its bar, in a window and full screen.
TEST_F(TvStickRoadTest, TheBarComesBackWithThePictureWhenTheStickIsPluggedInLater) {
  machine().ini().setValue("TVStick", "Present", "0");
  ASSERT_TRUE(machine().saveIni());
  const int status = run(R"(clock manual 2024-03-01 12:00:00
window "#32770" "Orvane Media"
key CTRL+T
screenshot message_box_without_stick
expect-messagebox "The live picture could not be started. Please check the TV device."
answer OK
window "#32770" "Orvane Media_TVDlg"
wait 1000
screenshot tv_without_stick
key BACKSPACE
window "#32770" "Orvane Media"
wait 500
plug
wait 2000
key CTRL+T
window "#32770" "Orvane Media_TVDlg"
wait 2000
screenshot tv_after_plug
key ALT+ENTER
wait 500
move 500 300
wait 500
screenshot full_screen_after_plug
key ESCAPE
wait 500
key BACKSPACE
window "#32770" "Orvane Media"
wait 500
close
)");
  ASSERT_EQ(status, 0);
  const auto first = picture("tv_without_stick");
  const auto again = picture("tv_after_plug");
  const auto full = picture("full_screen_after_plug");
  const auto box = picture("message_box_without_stick");
  ASSERT_TRUE(first && again && full && box);

  // The bar's rim, where it docks along the window's bottom, looks the same as when the
  // TV window first opened (its buttons follow the picture; its rounded corners show what
  // lies behind them).
  const auto barPoints = [] {
    std::vector<POINT> points;
    for (int y = 725; y < 750; ++y)
      for (const int x : {4, 6, 8}) points.push_back(POINT{x, y});
    for (int x = 20; x < 600; x += 20) {
      points.push_back(POINT{x, 711});
      points.push_back(POINT{x, 712});
    }
    return points;
  }();
  int differing = 0;
  for (const POINT at : barPoints) differing += PixelOf(*first, at.x, at.y) != PixelOf(*again, at.x, at.y);
  EXPECT_EQ(differing, 0) << "the bar is back along the bottom of the TV window";
  EXPECT_NE(PixelOf(*first, 300, 711), PixelOf(*first, 700, 711)) << "there is a bar to compare";
  for (const POINT at : barPoints) EXPECT_EQ(PixelOf(*again, at.x, at.y), PixelOf(*full, at.x, at.y)) << "full screen";

  // The box's caption bar: the active caption colour at its left end, white title text.
  int captionBlue = 0;
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; x += 2) captionBlue += PixelOf(*box, x, y) == GetSysColor(COLOR_ACTIVECAPTION);
  EXPECT_GT(captionBlue, 3) << "a caption bar in the active caption colour";
}

class BothProgramsTest : public test::ProgramsTest {};

// The main program showing TV; the scheduler beside it. A right click on the scheduler's
// tray icon opens its menu, which the scheduler itself (its robot playing the user while
// the menu is open) sees over the TV window on the whole desktop, with the tray beneath.
TEST_F(BothProgramsTest, TheTrayMenuOpensOverTheMainProgramOnOneScreen) {
  Install(testMachine.programFolder());
  start("Orvane Media");
  const HWND launcher = waitForWindow("Orvane Media");
  ASSERT_NE(launcher, nullptr);
  SendMessageA(launcher, kOpenTvWindow, 0, 0);
  ASSERT_NE(waitForWindow("Orvane Media_TVDlg"), nullptr);
  advance(2000, 40);
  const fs::path before = Pictures() / "tv_beside_the_scheduler.png";
  ASSERT_TRUE(plat::Screenshot::saveScreen(before));

  start("Calvendor", R"(window "#32768" ""
screenshot tray_menu_over_the_tv_window
key ESCAPE
expect-no-window "#32768" ""
)");
  ASSERT_NE(waitForWindow("TALVIK Norlet Schedule"), nullptr);
  ASSERT_TRUE(waitUntil([&] { return robot.trayIcons().size() == 1; }));
  ASSERT_TRUE(robot.clickTrayIcon(robot.trayIcons().front(), WM_RBUTTONUP));
  const fs::path taken = testMachine.root() / "tray_menu_over_the_tv_window.png";
  ASSERT_TRUE(waitUntil([&] { return fs::exists(taken) && FindWindowA("#32768", nullptr) == nullptr; }));
  const fs::path with = Pictures() / "tray_menu_over_the_tv_window.png";
  fs::copy_file(taken, with, fs::copy_options::overwrite_existing);

  const auto plain = plat::PictureFile::load(before);
  const auto shown = plat::PictureFile::load(with);
  ASSERT_TRUE(plain && shown);
  // The TV window fills the screen in both; the menu is the other program's, over it.
  int changed = 0;
  for (int y = 0; y < 700; y += 2)
    for (int x = 0; x < 1024; x += 2) changed += PixelOf(*shown, x, y) != PixelOf(*plain, x, y);
  EXPECT_GT(changed, 500) << "the menu shows";
  // The scheduler's tray icon in the bottom right corner, on the taskbar's face.
  EXPECT_EQ(PixelOf(*shown, 1023, 767 - 10), GetSysColor(COLOR_BTNFACE));
}

}  // namespace
