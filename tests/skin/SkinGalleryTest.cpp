// A test window carrying each skinned control in each of its states, saved as pictures
// (build folder, tests/skin-screens/*.png) for a person to look at. The assertions check
// that every control painted where it stands.
#include "ControlTest.h"

#include "skin/CBitmapSlider.h"
#include "skin/CShapeButton.h"
#include "skin/CShapeSlider.h"
#include "skin/CSkinButtonEx.h"
#include "skin/CSkinLabel.h"
#include "skin/CSkinRadioButton.h"
#include "skin/CSkinSlider.h"
#include "skin/CSkinStatic.h"
#include "skin/CSkinText.h"
#include "skin/SkinBitmap.h"

#include <algorithm>
#include <memory>

namespace {

// A state image: a rounded-looking tile of the given colour with a darker rim.
COLORREF Tile(int x, int y, int cx, int cy, COLORREF color) {
  const bool rim = x < 2 || y < 2 || x >= cx - 2 || y >= cy - 2;
  const int shade = rim ? 60 : (y * 40 / cy);
  auto part = [shade](int c) { return std::max(0, c - shade); };
  return RGB(part(GetRValue(color)), part(GetGValue(color)), part(GetBValue(color)));
}

HBITMAP TileStrip(int cx, int cy, const std::vector<COLORREF>& colors) {
  return test::MakeBitmap(cx * static_cast<int>(colors.size()), cy, [&](int x, int y) {
    return Tile(x % cx, y, cx, cy, colors[static_cast<std::size_t>(x / cx)]);
  });
}

class SkinGalleryTest : public test::ControlTest {
 protected:
  template <class T>
  T& add() {
    owned.push_back(std::make_unique<Holder<T>>());
    return static_cast<Holder<T>&>(*owned.back()).control;
  }

  struct Base {
    virtual ~Base() = default;
  };
  template <class T>
  struct Holder : Base {
    T control;
  };
  std::vector<std::unique_ptr<Base>> owned;
};

TEST_F(SkinGalleryTest, EveryControlInEveryState) {
  // Latching buttons: normal, hover, checked, checked with hover, disabled.
  const std::vector<COLORREF> exColors = {RGB(70, 110, 200), RGB(90, 170, 255), RGB(40, 160, 70), RGB(90, 220, 120),
                                          RGB(150, 150, 150)};
  HBITMAP hExStrip = TileStrip(70, 30, exColors);
  for (int state = 0; state < 5; ++state) {
    auto& button = add<CSkinButtonEx>();
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10 + 76 * state, 10, 80 + 76 * state, 40), parent(),
                              5000 + state));
    button.SetImage(hExStrip, 0, 0, 70, 30);
    button.SetShowCaption(TRUE);
    button.SetCaption("TV");
    button.SetHover(state == 1 || state == 3);
    button.SetChecked(state == 2 || state == 3);
    if (state == 4) button.SetDisabled(TRUE);
  }
  DeleteObject(hExStrip);

  // Radio buttons, unchecked and checked.
  HBITMAP hRadio = TileStrip(20, 20, {RGB(220, 220, 220), RGB(230, 60, 60)});
  for (int i = 0; i < 2; ++i) {
    auto& radio = add<CSkinRadioButton>();
    ASSERT_TRUE(radio.Create("", WS_CHILD | WS_VISIBLE, CRect(10 + 30 * i, 50, 30 + 30 * i, 70), parent(), 6100 + i));
    radio.SetBitmaps(hRadio, hRadio, CRect(0, 0, 20, 20), CRect(20, 0, 40, 20));
    radio.SetCheck(i == 1, TRUE);
  }
  DeleteObject(hRadio);

  // Shaped buttons: round, in the normal and the disabled image.
  HBITMAP hShapeImages = TileStrip(40, 40, {RGB(250, 180, 40), RGB(255, 220, 90), RGB(200, 120, 0), RGB(140, 140, 140)});
  HBITMAP hMask = test::MakeBitmap(40, 40, [](int x, int y) {
    const int dx = x - 20;
    const int dy = y - 20;
    return dx * dx + dy * dy < 19 * 19 ? RGB(0, 0, 0) : RGB(255, 0, 255);
  });
  HRGN hRound = BitmapToRegion(hMask, RGB(255, 0, 255));
  DeleteObject(hMask);
  for (int i = 0; i < 2; ++i) {
    auto& shape = add<CShapeButton>();
    shape.SetStateBitmaps(hShapeImages, hShapeImages, hShapeImages, hShapeImages, CRect(0, 0, 40, 40),
                          CRect(40, 0, 80, 40), CRect(80, 0, 120, 40), CRect(120, 0, 160, 40));
    shape.SetRegion(hRound);
    ASSERT_TRUE(shape.Create("", WS_CHILD | WS_VISIBLE, CRect(100 + 50 * i, 45, 140 + 50 * i, 85), parent(), 0));
    if (i == 1) shape.EnableButton(FALSE);
  }
  DeleteObject(hRound);
  DeleteObject(hShapeImages);

  // Shape sliders: a horizontal seek bar at 30 %, a vertical volume bar at 70 %, and a
  // disabled seek bar.
  auto makeShapeSlider = [&](bool horizontal, const CRect& rect, int pos, bool enabled) {
    auto& slider = add<CShapeSlider>();
    const int cx = rect.Width();
    const int cy = rect.Height();
    HBITMAP hImages = test::MakeBitmap(cx * 5, cy, [cx, cy](int x, int y) {
      const COLORREF colors[] = {0, RGB(120, 200, 255), RGB(30, 120, 230), RGB(120, 120, 120), RGB(40, 40, 60)};
      return Tile(x % cx, y, cx, cy, colors[x / cx]);
    });
    slider.SetHorizontal(horizontal);
    slider.SetStateBitmaps(hImages, hImages, hImages, hImages, hImages, CRect(0, 0, cx, cy), CRect(cx, 0, 2 * cx, cy),
                           CRect(2 * cx, 0, 3 * cx, cy), CRect(3 * cx, 0, 4 * cx, cy), CRect(4 * cx, 0, 5 * cx, cy));
    DeleteObject(hImages);
    HRGN hRegion = CreateRectRgn(0, 0, cx, cy);
    slider.SetRegion(hRegion);
    DeleteObject(hRegion);
    EXPECT_TRUE(slider.Create("", WS_CHILD | WS_VISIBLE, rect, parent(), 0));
    slider.SetPos(pos);
    if (!enabled) slider.EnableButton(FALSE);
  };
  makeShapeSlider(true, CRect(10, 100, 210, 112), 30, true);
  makeShapeSlider(true, CRect(10, 120, 210, 132), 60, false);
  makeShapeSlider(false, CRect(220, 100, 232, 180), 70, true);

  // Skin sliders: the volume bar's images at 0, 50 and 100, the last one framed.
  for (int i = 0; i < 3; ++i) {
    auto& slider = add<CSkinSlider>();
    ASSERT_TRUE(slider.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 145 + 16 * i, 210, 155 + 16 * i), parent(), 4180));
    slider.SetChannelBitmaps(144, 0, TRUE, TRUE, RGB(255, 0, 255), 0, 0);
    slider.SetThumbBitmaps(145, 0, TRUE, 0xFF000000, 0, 0);
    slider.SetDrawFocusRect(FALSE);
    slider.SetBkColor(RGB(0, 0, 0));
    slider.SetPos(50 * i);
    if (i == 2) {
      slider.SetFrameBitmap(160);
      const RECT frame{0, 0, 20, 20};
      const RECT edges{2, 2, 2, 2};
      slider.SetFrameRect(&frame);
      slider.SetFrameMargins(&edges);
    }
  }

  // Bitmap sliders: a selection span, a cut mark, and a disabled one.
  for (int i = 0; i < 3; ++i) {
    auto& slider = add<CBitmapSlider>();
    ASSERT_TRUE(slider.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 200 + 20 * i, 310, 214 + 20 * i), parent(), 8192));
    slider.SetChannelBitmaps(148, 149, FALSE, 0, 0, 0);
    slider.SetThumbBitmaps(150, 151, TRUE, 0xFF000000, 0, 0);
    slider.SetDrawFocusRect(FALSE);
    slider.SetPos(45);
    if (i == 0) {
      slider.SetSelStart(20);
      slider.SetSelEnd(70);
    } else if (i == 1) {
      slider.SetSelStart(0);
      slider.SetSelEnd(0);
      slider.SetSelStart(80);
    } else {
      slider.Enable(FALSE);
    }
  }

  // The six-picture static, showing the third picture.
  std::vector<HBITMAP> pictures;
  for (int i = 0; i < 6; ++i) {
    pictures.push_back(test::MakeBitmap(60, 40, [i](int x, int y) { return Tile(x, y, 60, 40, RGB(40 * i, 90, 200 - 30 * i)); }));
  }
  auto& picture = add<CSkinStatic>();
  ASSERT_TRUE(picture.Create("", WS_CHILD | WS_VISIBLE, CRect(250, 100, 370, 180), parent(), 9));
  picture.SetBitmaps(pictures[0], pictures[1], pictures[2], pictures[3], pictures[4], pictures[5]);
  picture.ShowPictureForCommand(nullptr, 5006);
  for (HBITMAP hPicture : pictures) DeleteObject(hPicture);

  // A label over a framed image, and a text area over its resource background.
  HBITMAP hLabelImage = test::MakeBitmap(30, 20, [](int x, int y) {
    return x < 3 || y < 3 || x >= 27 || y >= 17 ? RGB(20, 40, 120) : RGB(210, 225, 250);
  });
  auto& label = add<CSkinLabel>();
  ASSERT_TRUE(label.Create("Channel 12", WS_CHILD | WS_VISIBLE, CRect(200, 50, 390, 85), parent(), 300));
  label.SetBitmap(hLabelImage, 0, 0, 30, 20);
  DeleteObject(hLabelImage);
  const RECT labelImage{0, 0, 30, 20};
  const RECT labelMargins{3, 3, 3, 3};
  label.SetImageRect(&labelImage);
  label.SetMargins(&labelMargins);
  label.Invalidate();
  auto& text = add<CSkinText>();
  ASSERT_TRUE(text.Create("", WS_CHILD | WS_VISIBLE, CRect(320, 190, 395, 295), parent(), 10100));
  text.ShowText("21:00");

  saveParent("gallery");
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_NE(pixel(parentHwnd(), 45, 38), face);    // a latching button
  EXPECT_NE(pixel(parentHwnd(), 120, 65), face);   // a shaped button
  EXPECT_NE(pixel(parentHwnd(), 310, 140), face);  // the static
  EXPECT_NE(pixel(parentHwnd(), 100, 207), face);  // a bitmap slider
}

TEST_F(SkinGalleryTest, AButtonThroughHoverPressAndRelease) {
  HBITMAP hStrip = TileStrip(90, 36, {RGB(70, 110, 200), RGB(90, 170, 255), RGB(40, 160, 70), RGB(90, 220, 120),
                                      RGB(150, 150, 150)});
  CSkinButtonEx button;
  ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(20, 20, 110, 56), parent(), 5000));
  button.SetImage(hStrip, 0, 0, 90, 36);
  button.SetShowCaption(TRUE);
  button.SetCaption("REC");
  DeleteObject(hStrip);
  saveParent("button-normal");
  robot.moveTo(onScreen(button.m_hWnd, 45, 18));
  saveParent("button-hover");
  robot.click(onScreen(button.m_hWnd, 45, 18));
  saveParent("button-checked");
  robot.moveTo(onScreen(parentHwnd(), 300, 250));
  saveParent("button-left");
  EXPECT_EQ(pixel(button.m_hWnd, 45, 34), Tile(45, 34, 90, 36, RGB(40, 160, 70)));
}

}  // namespace
