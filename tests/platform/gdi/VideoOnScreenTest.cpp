#include "WindowTest.h"

#include <machine/VideoSurfaces.h>

#include <climits>

namespace test {
namespace {

class VideoOnScreenTest : public WindowGdiTest {
 protected:
  // A renderer's surface with a 2 × 2 frame: red, green / blue, white.
  std::shared_ptr<plat::VideoSurface> video(HWND owner, RECT rect, bool fullScreen = false) {
    auto surface = std::make_shared<plat::VideoSurface>();
    surface->present(2, 2, [](std::uint32_t* px) {
      px[0] = 0xFF0000;
      px[1] = 0x00FF00;
      px[2] = 0x0000FF;
      px[3] = 0xFFFFFF;
    });
    surface->setPlacement({owner, rect, true, fullScreen});
    machine().service<plat::VideoSurfaces>().add(surface);
    return surface;
  }
};

TEST_F(VideoOnScreenTest, VideoShowsScaledInItsRectangleOverItsOwner) {
  HWND top = create(RECT{100, 100, 300, 300});
  HWND child = create(RECT{50, 50, 150, 150}, WS_CHILD | WS_VISIBLE, top);
  paint(top, RGB(1, 1, 1));
  auto surface = video(child, RECT{10, 10, 30, 30});
  EXPECT_EQ(screenAt(160, 160), RGB(255, 0, 0));
  EXPECT_EQ(screenAt(179, 160), RGB(0, 255, 0));
  EXPECT_EQ(screenAt(160, 179), RGB(0, 0, 255));
  EXPECT_EQ(screenAt(179, 179), RGB(255, 255, 255));
  EXPECT_EQ(screenAt(180, 180), RGB(1, 1, 1));
  // Hidden video shows nothing; a window above the owner covers it.
  surface->setPlacement({child, RECT{10, 10, 30, 30}, false, false});
  EXPECT_EQ(screenAt(160, 160), RGB(1, 1, 1));
  surface->setPlacement({child, RECT{10, 10, 30, 30}, true, false});
  HWND cover = create(RECT{150, 150, 170, 170});
  SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  paint(cover, RGB(9, 9, 9));
  EXPECT_EQ(screenAt(160, 160), RGB(9, 9, 9));
  machine().service<plat::VideoSurfaces>().remove(surface);
}

TEST_F(VideoOnScreenTest, VideoStaysInsideItsOwnersClientAreaAndFullScreenCoversAll) {
  HWND owner = create(RECT{0, 0, 40, 40});
  paint(owner, RGB(1, 1, 1));
  auto inside = video(owner, RECT{20, 20, 60, 60});
  EXPECT_EQ(screenAt(25, 25), RGB(255, 0, 0));
  EXPECT_EQ(screenAt(45, 45), desktop()) << "cut at the owner's client area";
  auto full = video(owner, RECT{0, 0, 10, 10}, true);
  EXPECT_EQ(screenAt(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(screenAt(1023, 767), RGB(255, 255, 255));
  machine().service<plat::VideoSurfaces>().remove(inside);
  machine().service<plat::VideoSurfaces>().remove(full);
}

TEST_F(VideoOnScreenTest, VideoPlacedAcrossTheWholeIntRangeShowsItsQuarterThatFallsOnTheScreen) {
  HWND owner = create(RECT{0, 0, 200, 200});
  paint(owner, RGB(1, 1, 1));
  // The picture's middle lies at about 0, 0 of the owner: its bottom-right quarter shows.
  auto huge = video(owner, RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
  EXPECT_EQ(screenAt(5, 5), RGB(255, 255, 255));
  EXPECT_EQ(screenAt(199, 199), RGB(255, 255, 255));
  EXPECT_EQ(screenAt(205, 205), desktop()) << "cut at the owner's client area";
  machine().service<plat::VideoSurfaces>().remove(huge);
}

}  // namespace
}  // namespace test
