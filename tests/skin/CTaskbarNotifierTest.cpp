#include "ControlTest.h"

#include "skin/CTaskbarNotifier.h"

#include <robot/RobotScript.h>

#include <algorithm>
#include <filesystem>

namespace {

// Skin bitmaps of the test resources: a 40 x 20 pale yellow area, and a 20 x 20 frame of
// 2-pixel black edges around a white centre.
constexpr UINT kPlainSkin = 165;
constexpr UINT kFrameSkin = 160;
constexpr COLORREF kSkinColour = RGB(255, 250, 200);
constexpr COLORREF kNormalText = RGB(255, 0, 0);
constexpr COLORREF kHoverText = RGB(0, 0, 255);

class TaskbarNotifierTest : public test::ControlTest {
 protected:
  // A notifier owned by the test window, with the plain skin and a red (blue when
  // hovered) 10-point bold font.
  void MakeNotifier(UINT nSkin = kPlainSkin) {
    ASSERT_TRUE(notifier.Create(parent()));
    notifier.SetSkin(nSkin);
    notifier.SetTextFont("Arial", 100, CTaskbarNotifier::kBold, CTaskbarNotifier::kBold);
    notifier.SetTextColor(kNormalText, kHoverText);
  }
  CRect WindowRect() const {
    CRect rect;
    GetWindowRect(notifier.m_hWnd, &rect);
    return rect;
  }
  // The failure of a one-verb robot script, empty when it passes.
  static std::string ScriptFailure(const std::string& verb) {
    plat::RobotScript script(verb + "\n", "notice.robot");
    std::string failure;
    script.onFailure([&failure](const std::string& message) { failure = message; });
    while (!script.finished() && failure.empty()) script.step();
    return failure;
  }
  // How many pixels of the notice's own picture have the colour.
  int Count(COLORREF colour) {
    robot.pumpUntilIdle();
    const CRect rect = WindowRect();
    const auto pixels = plat::Screenshot::windowPixels(notifier.m_hWnd, RECT{0, 0, rect.Width(), rect.Height()});
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
  }

  CTaskbarNotifier notifier;
};

TEST_F(TaskbarNotifierTest, SlidesOutStepByStepStaysAndSlidesBack) {
  MakeNotifier();
  // The default work area leaves a taskbar 30 pixels high at the bottom of 1024 x 768.
  notifier.Show("Hi", 500, 3000, 500);
  EXPECT_EQ(notifier.GetTaskbarPlacement(), CTaskbarNotifier::kBottom);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kAppearing);
  EXPECT_TRUE(IsWindowVisible(notifier.m_hWnd));
  EXPECT_EQ(WindowRect(), CRect(984, 738, 1024, 738));
  EXPECT_TRUE(GetWindowLongA(notifier.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);

  // Ten steps of 2 pixels, one every 50 ms, each showing 2 more rows.
  for (int step = 1; step <= 10; ++step) {
    robot.advance(49);
    EXPECT_EQ(WindowRect().top, 738 - 2 * (step - 1)) << "step " << step;
    robot.advance(1);
    EXPECT_EQ(WindowRect(), CRect(984, 738 - 2 * step, 1024, 738)) << "step " << step;
  }
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kShowing);

  robot.advance(2999);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kShowing);
  EXPECT_EQ(WindowRect().top, 718);
  robot.advance(1);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kDisappearing);

  robot.advance(50);
  EXPECT_EQ(WindowRect(), CRect(984, 720, 1024, 738));
  robot.advance(400);
  EXPECT_TRUE(IsWindowVisible(notifier.m_hWnd));
  robot.advance(50);
  EXPECT_FALSE(IsWindowVisible(notifier.m_hWnd));
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kHidden);
  // No timer is left: time passing changes nothing.
  robot.advance(10000);
  EXPECT_FALSE(IsWindowVisible(notifier.m_hWnd));
}

TEST_F(TaskbarNotifierTest, TheShownNoticeDrawsItsTextTheRobotReadsItAndItIsSaved) {
  MakeNotifier();
  notifier.Show("Hi", 500, 3000, 500);
  robot.advance(500);
  ASSERT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kShowing);

  EXPECT_EQ(plat::Screenshot::windowPixel(notifier.m_hWnd, 0, 19), kSkinColour);
  EXPECT_GT(Count(kNormalText), 10);
  EXPECT_EQ(Count(kHoverText), 0);
  EXPECT_EQ(robot.notices(), std::vector<std::string>{"Hi"});
  EXPECT_EQ(ScriptFailure("expect-notice \"Hi\""), "");
  EXPECT_NE(ScriptFailure("expect-notice \"Bye\"").find("the notice says \"Hi\""), std::string::npos);

  const auto png = testMachine.root() / "notice.png";
  ASSERT_TRUE(plat::Screenshot::saveWindow(notifier.m_hWnd, png));
  EXPECT_GT(std::filesystem::file_size(png), 0u);

  robot.advance(3500);
  EXPECT_TRUE(robot.notices().empty());
  EXPECT_NE(ScriptFailure("expect-notice \"Hi\"").find("no notice is shown"), std::string::npos);
}

TEST_F(TaskbarNotifierTest, HoverSwitchesTheColourAndAClickTellsTheOwner) {
  s_recorded = {UM_NOTIFIER_CLICKED};
  MakeNotifier();
  notifier.Show("Hi", 500, 3000, 500);
  robot.advance(500);

  robot.moveTo(CPoint(1004, 728));
  EXPECT_TRUE(notifier.IsHovered());
  EXPECT_GT(Count(kHoverText), 10);
  EXPECT_EQ(Count(kNormalText), 0);

  robot.click(CPoint(1004, 728));
  const auto clicks = received(UM_NOTIFIER_CLICKED);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].wParam, 0u);
  EXPECT_EQ(clicks[0].lParam, 0);

  robot.moveTo(CPoint(500, 500));
  EXPECT_FALSE(notifier.IsHovered());
  EXPECT_GT(Count(kNormalText), 10);
}

TEST_F(TaskbarNotifierTest, ASecondShowReplacesTheTextWithoutANewSlide) {
  MakeNotifier();
  notifier.Show("First", 500, 3000, 500);
  robot.advance(100);  // two steps out
  notifier.Show("Second", 500, 3000, 500);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kAppearing);
  EXPECT_EQ(WindowRect().top, 734);
  robot.advance(400);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kShowing);

  // While out: the stay starts again.
  robot.advance(2000);
  notifier.Show("Third", 500, 3000, 500);
  EXPECT_EQ(robot.notices(), std::vector<std::string>{"Third"});
  robot.advance(2999);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kShowing);
  robot.advance(1);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kDisappearing);

  // While sliding back: out again at once, and a full stay.
  robot.advance(150);
  EXPECT_EQ(WindowRect().top, 724);
  notifier.Show("Fourth", 500, 3000, 500);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kShowing);
  EXPECT_EQ(WindowRect(), CRect(984, 718, 1024, 738));
  robot.advance(2999);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kShowing);
  robot.advance(1 + 500);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kHidden);
}

TEST(TaskbarNotifierTextTest, LongTextsAreBrokenIntoLinesOfTwenty) {
  auto run = [](int n, char c) { return CString(std::string(static_cast<std::size_t>(n), c).c_str()); };
  EXPECT_EQ(CTaskbarNotifier::BreakLines(""), "");
  EXPECT_EQ(CTaskbarNotifier::BreakLines(run(19, 'a')), run(19, 'a'));
  EXPECT_EQ(CTaskbarNotifier::BreakLines(run(20, 'a')), run(20, 'a') + "\n");
  EXPECT_EQ(CTaskbarNotifier::BreakLines(run(21, 'a')), run(20, 'a') + "\n" + "a");
  EXPECT_EQ(CTaskbarNotifier::BreakLines(run(20, 'a') + run(20, 'b') + "c"), run(20, 'a') + "\n" + run(20, 'b') + "\nc");
  EXPECT_EQ(CTaskbarNotifier::BreakLines("abcde", 2), "ab\ncd\ne");
  EXPECT_EQ(CTaskbarNotifier::BreakLines("abc", 0), "abc");
}

TEST_F(TaskbarNotifierTest, AMissingSkinStillSlidesInOneStepWithoutRegion) {
  ASSERT_TRUE(notifier.Create(parent()));
  EXPECT_FALSE(notifier.SetSkin(9999, 255, 255, 255));
  notifier.Show("No skin", 500, 3000, 500);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kAppearing);
  HRGN hRegion = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(notifier.m_hWnd, hRegion), ERROR);
  DeleteObject(hRegion);
  robot.advance(500);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kShowing);
  robot.advance(3000 + 500);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kHidden);
}

TEST_F(TaskbarNotifierTest, TheKeyColourIsCutOutOfTheRegionAndMinusOneMeansNone) {
  MakeNotifier(kFrameSkin);
  HRGN hRegion = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(notifier.m_hWnd, hRegion), ERROR);

  notifier.SetSkin(kFrameSkin, 255, 255, 255);
  ASSERT_NE(GetWindowRgn(notifier.m_hWnd, hRegion), ERROR);
  EXPECT_TRUE(PtInRegion(hRegion, 0, 0));
  EXPECT_TRUE(PtInRegion(hRegion, 19, 10));
  EXPECT_FALSE(PtInRegion(hRegion, 10, 10));
  EXPECT_FALSE(PtInRegion(hRegion, 2, 17));

  notifier.SetSkin(kFrameSkin, 65535, 255, 255);
  EXPECT_EQ(GetWindowRgn(notifier.m_hWnd, hRegion), ERROR);

  // The key is red, green, blue: the plain skin keyed by its own colour is all cut out.
  notifier.SetSkin(kPlainSkin, GetRValue(kSkinColour), GetGValue(kSkinColour), GetBValue(kSkinColour));
  EXPECT_EQ(GetWindowRgn(notifier.m_hWnd, hRegion), NULLREGION);
  notifier.SetSkin(kPlainSkin, GetBValue(kSkinColour), GetGValue(kSkinColour), GetRValue(kSkinColour));
  EXPECT_EQ(GetWindowRgn(notifier.m_hWnd, hRegion), SIMPLEREGION);
  DeleteObject(hRegion);
}

// The taskbar on each edge, from the work area in machine.ini against a 1024 x 768 screen.
struct EdgeCase {
  const char* workArea;
  int edge;
  CRect first;   // after Show
  CRect step;    // after one step
  CRect out;     // fully out
  DWORD stepMs;  // 500 ms over the steps
};

class TaskbarEdgeTest : public TaskbarNotifierTest, public ::testing::WithParamInterface<EdgeCase> {
 protected:
  void SetUp() override {
    machine().ini().setValue("Screen", "WorkArea", GetParam().workArea);
    TaskbarNotifierTest::SetUp();
  }
};

TEST_P(TaskbarEdgeTest, TheNoticeComesOutOfTheTaskbarsEdge) {
  const EdgeCase& c = GetParam();
  MakeNotifier();
  notifier.Show("Edge", 500, 3000, 500);
  EXPECT_EQ(notifier.GetTaskbarPlacement(), c.edge);
  EXPECT_EQ(WindowRect(), c.first);
  robot.advance(c.stepMs);
  EXPECT_EQ(WindowRect(), c.step);
  robot.advance(500 - c.stepMs);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kShowing);
  EXPECT_EQ(WindowRect(), c.out);
  robot.advance(3000 + 500);
  EXPECT_EQ(notifier.GetAnimState(), CTaskbarNotifier::kHidden);
  EXPECT_EQ(WindowRect(), c.first);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, TaskbarEdgeTest,
    ::testing::Values(
        EdgeCase{"0 0 994 768", CTaskbarNotifier::kRight, CRect(994, 748, 1034, 768), CRect(992, 748, 1032, 768),
                 CRect(954, 748, 994, 768), 25},
        EdgeCase{"30 0 1024 768", CTaskbarNotifier::kLeft, CRect(-10, 748, 30, 768), CRect(-8, 748, 32, 768),
                 CRect(30, 748, 70, 768), 25},
        EdgeCase{"0 30 1024 768", CTaskbarNotifier::kTop, CRect(984, 30, 1024, 30), CRect(984, 30, 1024, 32),
                 CRect(984, 30, 1024, 50), 50},
        // Auto-hidden: the work area is the whole screen.
        EdgeCase{"0 0 1024 768", CTaskbarNotifier::kBottom, CRect(984, 768, 1024, 768), CRect(984, 766, 1024, 768),
                 CRect(984, 748, 1024, 768), 50}));

class TopTaskbarTest : public TaskbarNotifierTest {
 protected:
  void SetUp() override {
    machine().ini().setValue("Screen", "WorkArea", "0 30 1024 768");
    TaskbarNotifierTest::SetUp();
  }
};

TEST_F(TopTaskbarTest, TheRegionFollowsThePartOfTheSkinThatIsOut) {
  MakeNotifier(kFrameSkin);
  notifier.SetSkin(kFrameSkin, 255, 255, 255);
  notifier.Show("Top", 500, 3000, 500);
  robot.advance(150);  // three steps: the skin's rows 14 to 19 are out
  EXPECT_EQ(WindowRect(), CRect(1004, 30, 1024, 36));
  HRGN hRegion = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(notifier.m_hWnd, hRegion), ERROR);
  EXPECT_TRUE(PtInRegion(hRegion, 0, 0));
  EXPECT_FALSE(PtInRegion(hRegion, 10, 0));  // the white centre of row 14
  EXPECT_TRUE(PtInRegion(hRegion, 10, 5));   // the bottom edge, row 19
  robot.advance(350);
  ASSERT_NE(GetWindowRgn(notifier.m_hWnd, hRegion), ERROR);
  EXPECT_TRUE(PtInRegion(hRegion, 10, 0));  // the top edge, row 0
  EXPECT_FALSE(PtInRegion(hRegion, 10, 10));
  DeleteObject(hRegion);
}

}  // namespace
