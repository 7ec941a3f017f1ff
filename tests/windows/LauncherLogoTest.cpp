// The maker's branding from "Logo.dll": the logo in the launcher's corner, the notice's
// skin and the web button; and the launcher without a usable library.
#include "windows/WindowsTest.h"

#include "graphs/CCaptureGraph.h"
#include "skin/CTaskbarNotifier.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"

#include <machine/EventLog.h>
#include <robot/Screenshot.h>

#include <fstream>

namespace {

constexpr COLORREF kLogoSlate = RGB(0x1E, 0x28, 0x32);
constexpr COLORREF kNoticeBand = RGB(0x2C, 0x3A, 0x46);

class LauncherLogoTest : public test::WindowsTest {
 protected:
  void SetUp() override { writeSkins(); }
  // A "Logo.dll" in the program folder that is no module: the library cannot be loaded.
  void breakLogoLibrary() { std::ofstream(programFile("Logo.dll")) << "not a module"; }
  std::vector<std::string> openedDocuments() {
    std::vector<std::string> out;
    for (const auto& entry : plat::EventLog::events(machine()).read())
      if (entry.text.find("talvik") != std::string::npos) out.push_back(entry.category + " " + entry.text);
    return out;
  }
  COLORREF pixel(int x, int y) { return plat::Screenshot::windowPixel(launcherWindow(), x, y); }
  // Whether the client area from `left` to `right` of row `y` holds the logo's teal.
  bool tealInRow(int left, int right, int y) {
    for (int x = left; x < right; ++x) {
      const COLORREF c = pixel(x, y);
      if (GetGValue(c) > GetRValue(c) + 60 && GetBValue(c) > GetRValue(c) + 60) return true;
    }
    return false;
  }
};

TEST_F(LauncherLogoTest, TheLogoIsStretchedIntoTheTopLeftCornerOfTheFullScreenLauncher) {
  openLauncher();
  // (1024 x 768 client) the logo fills x 5..43, y 0..34; the skin shows around it.
  EXPECT_EQ(pixel(5, 0), kLogoSlate);
  EXPECT_EQ(pixel(43, 34), kLogoSlate);
  EXPECT_EQ(pixel(4, 0), test::kLauncherBackground);
  EXPECT_EQ(pixel(44, 0), test::kLauncherBackground);
  EXPECT_EQ(pixel(5, 35), test::kLauncherBackground);
  EXPECT_TRUE(tealInRow(5, 44, 4));
}

TEST_F(LauncherLogoTest, TheLogoFollowsTheClientSizeWhenRestored) {
  openLauncher();
  clickButton(*launcher, "MAX_BUTTON");
  robot.pumpUntilIdle();
  // 800 x 600 client: x 3..33, y 0..26.
  EXPECT_EQ(pixel(3, 0), kLogoSlate);
  EXPECT_EQ(pixel(33, 26), kLogoSlate);
  EXPECT_EQ(pixel(34, 0), test::kLauncherBackground);
  EXPECT_EQ(pixel(3, 27), test::kLauncherBackground);
}

TEST_F(LauncherLogoTest, ASnapshotNoticeShowsOnTheLibrarysPanelWithItsTextBelowTheBand) {
  openTV();
  ASSERT_TRUE(untilAPictureShows());
  robot.advance(1000);
  robot.key(VK_F5);
  robot.advance(2000);
  ASSERT_NE(g_pTaskbarNotifier, nullptr);
  ASSERT_TRUE(g_pTaskbarNotifier->IsWindowVisible());
  CRect notice;
  g_pTaskbarNotifier->GetWindowRect(&notice);
  EXPECT_EQ(notice.Width(), 250);
  EXPECT_EQ(notice.Height(), 120);
  // Rectangular: no colour is cut out.
  EXPECT_EQ(plat::Screenshot::windowPixel(g_pTaskbarNotifier->GetSafeHwnd(), 0, 0), RGB(0x2A, 0xA8, 0xA0));
  EXPECT_EQ(plat::Screenshot::windowPixel(g_pTaskbarNotifier->GetSafeHwnd(), 200, 10), kNoticeBand);
  EXPECT_EQ(test::Text(g_pTaskbarNotifier->GetTextRect()), "10,40,240,95");
}

TEST_F(LauncherLogoTest, TheWebButtonOpensTheMakersAddress) {
  openLauncher();
  clickButton(*launcher, "WEB_BUTTON");
  robot.pumpUntilIdle();
  const auto opened = openedDocuments();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_NE(opened[0].find("http://www.talvik.example/"), std::string::npos);
}

TEST_F(LauncherLogoTest, WithoutTheLibraryTheLauncherOpensPlainAndTheWebButtonDoesNothing) {
  breakLogoLibrary();
  openLauncher();
  EXPECT_TRUE(launcher->IsWindowVisible());
  EXPECT_EQ(pixel(5, 0), test::kLauncherBackground);
  EXPECT_FALSE(tealInRow(5, 44, 4));
  clickButton(*launcher, "WEB_BUTTON");
  robot.pumpUntilIdle();
  EXPECT_TRUE(openedDocuments().empty());
  clickButton(*launcher, "TV_BUTTON");
  ASSERT_NE(launcher->GetTVDlg(), nullptr);
  // A notice without the library's panel takes its text all the same.
  ASSERT_TRUE(untilAPictureShows());
  robot.advance(1000);
  robot.key(VK_F5);
  robot.advance(2000);
  ASSERT_NE(g_pTaskbarNotifier, nullptr);
  EXPECT_FALSE(g_pTaskbarNotifier->GetText().IsEmpty());
}

}  // namespace
