// The skinned window on a real top-level window: its nine-part frame in both looks, the
// client area the frame leaves, hit testing and dragging by the caption, the shape cut by
// the mask colour, the caption text, and the button bar acting on a running controller.
#include "ControlTest.h"

#include "SkinFolder.h"
#include "core/CAppController.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinWindow.h"
#include "skin/CTaskbarNotifier.h"

#include <com/objbase.h>
#include <robot/Screenshot.h>

#include <filesystem>

namespace {

constexpr COLORREF kActive = RGB(0, 0, 200);
constexpr COLORREF kInactive = RGB(128, 128, 128);
constexpr COLORREF kMask = RGB(255, 0, 255);
constexpr int kTop = 20;
constexpr int kSide = 5;
constexpr int kBottom = 5;

// The frame image: the active look in rows 0 to 34, the inactive one in rows 40 to 74,
// each with a 3 x 3 corner of mask colour at its top left and a 2 x 2 one at the top
// left of its middle-top part.
COLORREF FramePixel(int x, int y) {
  const int look = y < 40 ? 0 : 1;
  const int local = y - 40 * look;
  if (x < 3 && local < 3) return kMask;
  if (x >= 10 && x < 12 && local < 2) return kMask;
  return look == 0 ? kActive : kInactive;
}

std::string PartLines(int look) {
  const int dy = 40 * look;
  auto rect = [dy](int l, int t, int r, int b) {
    return std::to_string(l) + "," + std::to_string(t + dy) + "," + std::to_string(r) + "," + std::to_string(b + dy);
  };
  const std::string n = std::to_string(look);
  return "TopLeft" + n + "=" + rect(0, 0, 10, kTop) + "\nMiddleTop" + n + "=" + rect(10, 0, 20, kTop) + "\nTopRight" +
         n + "=" + rect(20, 0, 30, kTop) + "\nMiddleLeft" + n + "=" + rect(0, kTop, kSide, 30) + "\nMiddleRight" + n +
         "=" + rect(30 - kSide, kTop, 30, 30) + "\nBottomLeft" + n + "=" + rect(0, 30, 10, 30 + kBottom) +
         "\nMiddleBottom" + n + "=" + rect(10, 30, 20, 30 + kBottom) + "\nBottomRight" + n + "=" +
         rect(20, 30, 30, 30 + kBottom) + "\n";
}

LRESULT CALLBACK SkinnedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

class CSkinWindowTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    WNDCLASSA wc{};
    wc.lpfnWndProc = SkinnedProc;
    wc.lpszClassName = "SkinnedTestWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
    folder = std::make_unique<test::SkinFolder>(machine(), "SkinnedWindow");
    folder->writeBitmap("frame.bmp", 30, 75, FramePixel);
    folder->writeBitmap("bar.bmp", 80, 20, [](int x, int) { return x < 20 ? RGB(250, 250, 0) : RGB(200, 0, 0); });
  }
  void TearDown() override {
    skin.reset();
    if (IsWindow(window)) DestroyWindow(window);
    s_skin = nullptr;
    ControlTest::TearDown();
  }

  CString WriteSkin(const std::string& extra, bool shaped = true) {
    return folder->writeIni("[DialogResInfo]\nFrameImage=frame.bmp\n" + PartLines(0) + PartLines(1) +
                            "ShapeWindow=" + (shaped ? "1" : "0") + "\nMaskColor=255,0,255\n" + extra);
  }

  // A window of the given style dressed with the skin.
  void Dress(const CString& skinPath, DWORD style = WS_OVERLAPPEDWINDOW) {
    window = CreateWindowExA(0, "SkinnedTestWindow", "Orvane Video", style | WS_VISIBLE, 200, 150, 300, 200, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    skin = std::make_unique<CSkinWindow>();
    s_skin = skin.get();
    ASSERT_TRUE(skin->LoadSkin(skinPath));
    skin->SetSkinnedWnd(window);
    ASSERT_TRUE(skin->Attach(window));
    SetWindowPos(window, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    SetActiveWindow(window);
    robot.pumpUntilIdle();
  }
  COLORREF At(int x, int y) {
    robot.pumpUntilIdle();
    return plat::Screenshot::windowPixel(window, x, y);
  }

  std::unique_ptr<test::SkinFolder> folder;
  std::unique_ptr<CSkinWindow> skin;
  HWND window = nullptr;

 public:
  static inline CSkinWindow* s_skin = nullptr;
  static inline std::vector<UINT> s_seen;
};

// The window routes its bar buttons to the skin, as the video window does.
LRESULT CALLBACK SkinnedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && CSkinWindowTest::s_skin && LOWORD(wParam) >= CSkinWindow::kFirstBarButtonId)
    CSkinWindowTest::s_skin->OnShapeButton(LOWORD(wParam));
  if (msg >= CSkinWindow::UM_RETURN && msg <= CSkinWindow::UM_SYS_CLOSE) CSkinWindowTest::s_seen.push_back(msg);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST_F(CSkinWindowTest, TheFrameTakesItsPartsSizesAndLooksFromTheSkin) {
  Dress(WriteSkin(""));
  const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
  EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 300 - 2 * kSide);
  EXPECT_EQ(client.bottom, 200 - kTop - kBottom);

  SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
  EXPECT_EQ(At(150, 2), kActive);
  EXPECT_EQ(At(2, 100), kActive);
  EXPECT_EQ(At(297, 197), kActive);
  SendMessageA(window, WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(skin->IsActive());
  EXPECT_EQ(At(150, 2), kInactive);
  EXPECT_EQ(At(298, 100), kInactive);

  // The caption: white text centred in the top bar.
  SetWindowTextA(window, "Channel 5");
  EXPECT_EQ(skin->GetCaption(), "Channel 5");
  int white = 0;
  for (int x = 100; x < 200; ++x)
    for (int y = 0; y < kTop; ++y) white += At(x, y) == RGB(255, 255, 255);
  EXPECT_GT(white, 10);

  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-screens";
  std::filesystem::create_directories(shots);
  plat::Screenshot::saveWindow(window, shots / "skinwindow-inactive.png");
  SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
  plat::Screenshot::saveWindow(window, shots / "skinwindow-active.png");
}

TEST_F(CSkinWindowTest, HitTestingHasGripsOnlyWhenSizableAndNoCaptionButtons) {
  Dress(WriteSkin("[SysCloseButton]\nOffsetRight=20\nOffsetTop=5\nnormal=0,0,10,10\n"));
  EXPECT_EQ(skin->HitTest(CPoint(1, 1)), HTTOPLEFT);
  EXPECT_EQ(skin->HitTest(CPoint(298, 198)), HTBOTTOMRIGHT);
  EXPECT_EQ(skin->HitTest(CPoint(150, 2)), HTTOP);
  EXPECT_EQ(skin->HitTest(CPoint(2, 100)), HTLEFT);
  EXPECT_EQ(skin->HitTest(CPoint(150, 10)), HTCAPTION);
  // Where the close button would be: the caption, as nothing shows the buttons.
  EXPECT_EQ(skin->HitTest(CPoint(283, 8)), HTCAPTION);
  EXPECT_EQ(skin->HitTest(CPoint(150, 100)), HTCLIENT);

  skin.reset();
  DestroyWindow(window);
  Dress(WriteSkin(""), WS_POPUP | WS_CAPTION);
  EXPECT_EQ(skin->HitTest(CPoint(1, 1)), HTCLIENT);
  EXPECT_EQ(skin->HitTest(CPoint(150, 6)), HTCAPTION);
  EXPECT_EQ(skin->HitTest(CPoint(2, 100)), HTCLIENT);
}

TEST_F(CSkinWindowTest, TheCaptionDragsTheWindowAndADoubleClickNeitherMaximisesNorRestores) {
  Dress(WriteSkin(""));
  RECT before{};
  GetWindowRect(window, &before);
  robot.drag(POINT{before.left + 150, before.top + 10}, POINT{before.left + 190, before.top + 60});
  RECT after{};
  GetWindowRect(window, &after);
  EXPECT_EQ(after.left - before.left, 40);
  EXPECT_EQ(after.top - before.top, 50);

  robot.doubleClick(POINT{after.left + 150, after.top + 10});
  EXPECT_FALSE(IsZoomed(window));
  RECT again{};
  GetWindowRect(window, &again);
  EXPECT_EQ(again.right - again.left, 300);
}

TEST_F(CSkinWindowTest, TheShapeCutsTheMaskedCornersOnlyWhenAsked) {
  Dress(WriteSkin(""));
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(window, shape), ERROR);
  EXPECT_FALSE(PtInRegion(shape, 1, 1));
  EXPECT_TRUE(PtInRegion(shape, 5, 1));
  EXPECT_TRUE(PtInRegion(shape, 150, 100));
  // The middle-top part's corner repeats with every tile.
  EXPECT_FALSE(PtInRegion(shape, 11, 1));
  EXPECT_FALSE(PtInRegion(shape, 281, 1));
  EXPECT_TRUE(PtInRegion(shape, 291, 1));
  // A resize shapes the window again.
  SetWindowPos(window, nullptr, 0, 0, 400, 250, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_NE(GetWindowRgn(window, shape), ERROR);
  EXPECT_TRUE(PtInRegion(shape, 395, 245));
  DeleteObject(shape);

  skin.reset();
  DestroyWindow(window);
  Dress(WriteSkin("", false));
  shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(window, shape), ERROR);
  EXPECT_TRUE(PtInRegion(shape, 1, 1));
  DeleteObject(shape);
}

TEST_F(CSkinWindowTest, PartsOfNoSizeAreSkippedAndTheRestStillPaints) {
  // No middle-top or middle-left part: tiling them must neither hang nor draw.
  std::string ini = "[DialogResInfo]\nFrameImage=frame.bmp\n" + PartLines(0) + PartLines(1) + "ShapeWindow=1\n";
  ini += "MiddleTop0=\nMiddleLeft0=10,20,10,30\n";
  Dress(folder->writeIni(ini));
  EXPECT_EQ(At(295, 10), kActive);
  EXPECT_EQ(At(297, 100), kActive);
  // A missing frame image leaves the platform's defaults and a working window.
  skin.reset();
  DestroyWindow(window);
  Dress(folder->writeIni("[DialogResInfo]\nFrameImage=missing.bmp\n" + PartLines(0)));
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(CSkinWindow().LoadSkin(""));
  EXPECT_FALSE(CSkinWindow().Attach(window));
}

TEST_F(CSkinWindowTest, TheButtonBarActsOnTheRunningController) {
  CoInitialize(nullptr);
  const auto grabber = std::filesystem::path("Filter") / "QXM_ImageGrabber.ax";
  std::filesystem::create_directories(testMachine.programFolder() / "Filter");
  std::filesystem::copy_file(test::TestMachine::builtProgramFolder() / grabber, testMachine.programFolder() / grabber,
                             std::filesystem::copy_options::overwrite_existing);
  CWinApp app;
  auto* frame = new CFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, "Launcher", WS_OVERLAPPEDWINDOW));
  app.m_pMainWnd = frame;
  auto controller = std::make_unique<CAppController>();
  g_pAppController = controller.get();
  ASSERT_EQ(controller->Startup(), 1);

  Dress(WriteSkin("[ShapeButtonInfo]\n1=ADD_BUTTON,bar.bmp,10,0,30,20,0\n2=MUTE_BUTTON,bar.bmp,40,0,60,20,0\n"
                  "3=NEXT_BUTTON,bar.bmp,70,0,90,20,0\n4=RETURN_BUTTON,bar.bmp,300,0,320,20,0\n"
                  "5=JIETU_BUTTON,bar.bmp,100,0,120,20,0\n6=PRE_BUTTON,bar.bmp,130,0,150,20,0\n"));
  HWND returnWindow = CreateWindowExA(0, "SkinnedTestWindow", "Return", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                      nullptr, nullptr, nullptr);
  skin->SetReturnWnd(returnWindow);
  skin->CreateShapeButtons();
  ASSERT_EQ(skin->GetButtonCount(), 6);

  // Laid out against a 320-unit width, counted up from the client bottom.
  RECT client{};
  GetClientRect(window, &client);
  RECT add{};
  GetWindowRect(*skin->GetButton(0), &add);
  POINT corner{add.left, add.top};
  ScreenToClient(window, &corner);
  EXPECT_EQ(corner.x, client.right * 10 / 320);
  EXPECT_EQ(corner.y, client.bottom - 20);
  EXPECT_EQ(add.right - add.left, 20);

  // Not previewing: the volume still steps, mute and channel steps wait for the picture.
  const int volume = g_pAppSettings->Volume;
  robot.click(*skin->GetButton(1));
  EXPECT_EQ(controller->IsMuted(), 0);
  HWND video = CreateWindowExA(0, "SkinnedTestWindow", "TV", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240,
                               nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(controller->StartPreview(video), 0);
  robot.click(*skin->GetButton(0));
  EXPECT_EQ(g_pAppSettings->Volume, std::min(100, volume + 5));
  robot.click(*skin->GetButton(1));
  EXPECT_EQ(controller->IsMuted(), 1);
  // The one channel rule of the program's bars: "previous" is channel up, "next" down.
  const int list = GetActiveChannelListIndex();
  g_pChannelList->SetCurrentChannel(5, list);
  controller->RetuneCurrentChannel();
  robot.click(*skin->GetButton(2));
  EXPECT_EQ(g_pChannelList->GetCurrentChannel(list), 4);
  robot.click(*skin->GetButton(5));
  robot.click(*skin->GetButton(5));
  EXPECT_EQ(g_pChannelList->GetCurrentChannel(list), 6);

  // A snapshot joins the picture history list.
  const auto history = testMachine.programFolder() / "histroyPicture.lis";
  EXPECT_FALSE(std::filesystem::exists(history));
  // The still needs a frame from the streaming thread: frame times pass until one came.
  for (int frame = 0; frame < 100 && !std::filesystem::exists(history); ++frame) {
    robot.advance(40);
    robot.click(*skin->GetButton(4));
  }
  EXPECT_TRUE(std::filesystem::exists(history));
  // With the launcher's notifier the still's name shows in it, broken into lines of 20.
  auto* notifier = new CTaskbarNotifier;
  ASSERT_TRUE(notifier->Create(frame));
  g_pTaskbarNotifier = notifier;
  const auto before = std::filesystem::file_size(history);
  for (int frame = 0; frame < 100 && std::filesystem::file_size(history) == before; ++frame) {
    robot.advance(40);
    robot.click(*skin->GetButton(4));
  }
  ASSERT_GT(std::filesystem::file_size(history), before);
  const CString notice = notifier->GetText();
  CString joined = notice;
  joined.Remove('\n');
  EXPECT_NE(joined.Find("cap01.bmp"), -1) << static_cast<LPCSTR>(notice);
  EXPECT_EQ(notice, CTaskbarNotifier::BreakLines(joined));
  EXPECT_EQ(notifier->GetAnimState(), CTaskbarNotifier::kAppearing);
  g_pTaskbarNotifier = nullptr;
  notifier->DestroyWindow();
  delete notifier;

  s_seen.clear();
  robot.click(*skin->GetButton(3));
  EXPECT_TRUE(IsWindowVisible(returnWindow));
  EXPECT_EQ(s_seen, std::vector<UINT>{CSkinWindow::UM_RETURN});
  EXPECT_FALSE(IsWindow(window));

  skin.reset();
  controller.reset();
  g_pAppController = nullptr;
  app.m_pMainWnd = nullptr;
  frame->DestroyWindow();
  DestroyWindow(returnWindow);
  DestroyWindow(video);
  CoUninitialize();
}

}  // namespace
