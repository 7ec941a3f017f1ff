// The default skins put together as the windows show them (background, buttons in a
// state, the control bar cut by its mask, the program's pictures) and saved as pictures
// for a person to look at: build folder, tests/skin-gallery/*.png. The assertions check
// that each piece landed where its skin puts it.
#include "BuiltSkin.h"

#include "skin/SkinBitmap.h"

#include <robot/Robot.h>
#include <robot/Screenshot.h>
#include <support/TestMachine.h>

#include <win32/user.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using test::BuiltSkin;
using test::Fields;
using test::Picture;

// A picture being put together, shown by a plain window so it can be saved as a PNG.
class Sheet {
 public:
  Sheet(int width, int height) : m_width(width), m_height(height) {
    HDC screen = GetDC(nullptr);
    m_bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    m_dc = CreateCompatibleDC(nullptr);
    m_old = SelectObject(m_dc, m_bitmap);
  }
  ~Sheet() {
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
    DeleteObject(m_bitmap);
  }

  HDC dc() const { return m_dc; }
  COLORREF pixel(int x, int y) const { return GetPixel(m_dc, x, y); }

  // The whole picture, or the part (sx, sy, w, h) of it, stretched into `to`.
  void draw(const Picture& picture, const RECT& to) { draw(picture, to, 0, 0, picture.size().cx, picture.size().cy); }
  void draw(const Picture& picture, const RECT& to, int sx, int sy, int w, int h) {
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, picture.get());
    SetStretchBltMode(m_dc, COLORONCOLOR);
    StretchBlt(m_dc, to.left, to.top, to.right - to.left, to.bottom - to.top, source, sx, sy, w, h, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  }

  void save(const std::string& name) {
    static Sheet* shown = nullptr;
    WNDCLASSA wc{};
    wc.lpszClassName = "SkinGallerySheet";
    wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (msg != WM_PAINT) return DefWindowProcA(hwnd, msg, wParam, lParam);
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      BitBlt(dc, 0, 0, shown->m_width, shown->m_height, shown->m_dc, 0, 0, SRCCOPY);
      EndPaint(hwnd, &ps);
      return 0;
    };
    RegisterClassA(&wc);
    shown = this;
    HWND window = CreateWindowExA(0, wc.lpszClassName, name.c_str(), WS_POPUP | WS_VISIBLE, 0, 0, m_width, m_height,
                                  nullptr, nullptr, nullptr, nullptr);
    plat::Robot().pumpUntilIdle();
    const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-gallery";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(plat::Screenshot::saveWindow(window, folder / (name + ".png"))) << name;
    DestroyWindow(window);
    UnregisterClassA(wc.lpszClassName, nullptr);
  }

 private:
  int m_width, m_height;
  HBITMAP m_bitmap;
  HDC m_dc;
  HGDIOBJ m_old;
};

class DefaultSkinGalleryTest : public test::MachineTest {
 protected:
  // A skinned window's client area: its background and its buttons, the button at
  // `highlighted` (an index) in `state`, the others normal, laid out by the windows' rule.
  void drawWindow(Sheet& sheet, const BuiltSkin& skin, const char* section, bool full, int width, int height,
                  int highlighted = -1, int state = 0) {
    sheet.draw(skin.picture(skin.value("Main-ShapeWindowBKbmp", full ? "1" : "2")), RECT{0, 0, width, height});
    const auto buttons = skin.buttons(section);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      const CRect& d = buttons[i].rcDesign;
      const bool restoredSpace = !full && i >= 4;
      const int dw = restoredSpace ? 800 : 1024, dh = restoredSpace ? 600 : 768;
      const RECT at{d.left * width / dw, d.top * height / dh, d.right * width / dw, d.bottom * height / dh};
      const int s = static_cast<int>(i) == highlighted ? state : 0;
      const Picture strip = skin.picture(buttons[i].strImage);
      sheet.draw(strip, at, s * d.Width(), 0, d.Width(), d.Height());
      if (full && static_cast<int>(i) != highlighted) {
        EXPECT_EQ(sheet.pixel((at.left + at.right) / 2, (at.top + at.bottom) / 2),
                  strip.pixel(d.Width() / 2, d.Height() / 2))
            << buttons[i].strName;
      }
    }
  }

  // The control bar's picture for a state, cut to the bar's shape, at (x, y).
  void drawBar(Sheet& sheet, const char* stateKey, int x, int y) {
    const BuiltSkin bar("skins\\elegance");
    const Picture mask = bar.picture(bar.value("ShapeWindowInfo", "Mask"));
    const Picture picture = bar.picture(bar.value("ShapeWindowInfo", stateKey));
    HRGN shape = BitmapToRegion(mask.get(), RGB(255, 0, 255), RGB(16, 16, 16));
    OffsetRgn(shape, x, y);
    SelectClipRgn(sheet.dc(), shape);
    sheet.draw(picture, RECT{x, y, x + picture.size().cx, y + picture.size().cy});
    SelectClipRgn(sheet.dc(), nullptr);
    DeleteObject(shape);
  }
};

TEST_F(DefaultSkinGalleryTest, Launcher) {
  const BuiltSkin skin("Skin\\Normal");
  const auto flash = Fields(skin.value("Main-NewSkinStatic", "bmp"), 13);
  const RECT area{atoi(flash[6]), atoi(flash[7]), atoi(flash[8]), atoi(flash[9])};
  for (int hovered : {-1, 4}) {
    Sheet sheet(1024, 768);
    drawWindow(sheet, skin, "Main-SystemButtons", true, 1024, 768, hovered, 1);
    // Where the animation plays, its background colour.
    HBRUSH brush = CreateSolidBrush(RGB(atoi(flash[10]), atoi(flash[11]), atoi(flash[12])));
    FillRect(sheet.dc(), &area, brush);
    DeleteObject(brush);
    sheet.save(hovered < 0 ? "launcher" : "launcher-tv-hovered");
  }
  Sheet restored(800, 600);
  drawWindow(restored, skin, "Main-SystemButtonsMin", false, 800, 600);
  restored.save("launcher-restored");
}

TEST_F(DefaultSkinGalleryTest, TvWindowWithItsControlBar) {
  const BuiltSkin skin("Skin\\TV");
  Sheet sheet(1024, 768);
  drawWindow(sheet, skin, "TV-Buttons", true, 1024, 768, 7, 1);
  // The channel wall's stand-in picture where the live picture goes.
  HBITMAP picture = LoadBitmapA(nullptr, MAKEINTRESOURCEA(152));
  sheet.draw(Picture(picture), RECT{268, 80, 1010, 654});
  const BuiltSkin bar("skins\\elegance");
  drawBar(sheet, "Normal", 0, 768 - bar.picture(bar.value("ShapeWindowInfo", "Normal")).size().cy);
  EXPECT_NE(sheet.pixel(60, 768 - 20), sheet.pixel(2, 766)) << "the bar sits at the bottom left";
  sheet.save("tv");

  Sheet restored(800, 600);
  drawWindow(restored, skin, "TV-ButtonsMin", false, 800, 600);
  restored.save("tv-restored");
}

TEST_F(DefaultSkinGalleryTest, ControlBarInEachState) {
  const BuiltSkin bar("skins\\elegance");
  const SIZE size = bar.picture(bar.value("ShapeWindowInfo", "Normal")).size();
  Sheet sheet(size.cx + 40, (size.cy + 20) * 5 + 20);
  const RECT all{0, 0, size.cx + 40, (size.cy + 20) * 5 + 20};
  HBRUSH back = CreateSolidBrush(RGB(30, 40, 52));
  FillRect(sheet.dc(), &all, back);
  DeleteObject(back);
  int y = 20;
  for (const char* key : {"Normal", "Hovered", "Pressed", "Disabled"}) {
    drawBar(sheet, key, 20, y);
    y += size.cy + 20;
  }
  sheet.draw(bar.picture(bar.value("ShapeWindowInfo", "Mask")), RECT{20, y, 20 + size.cx, y + size.cy});
  sheet.save("control-bar");
}

TEST_F(DefaultSkinGalleryTest, ProgramPictures) {
  Sheet sheet(640, 420);
  const RECT all{0, 0, 640, 420};
  HBRUSH back = CreateSolidBrush(RGB(30, 40, 52));
  FillRect(sheet.dc(), &all, back);
  DeleteObject(back);
  // Each at its own size (the long slider channels cut short), in rows.
  int x = 10, y = 10, row = 0;
  for (int id : {152, 165, 142, 143, 184, 185, 186, 148, 149, 150, 151, 144, 145, 163, 164}) {
    const Picture picture(LoadBitmapA(nullptr, MAKEINTRESOURCEA(id)));
    ASSERT_TRUE(picture) << id;
    const int w = std::min<int>(picture.size().cx, 300), h = picture.size().cy;
    if (x + w > 630) {
      x = 10;
      y += row + 10;
      row = 0;
    }
    sheet.draw(picture, RECT{x, y, x + w, y + h}, 0, 0, w, h);
    x += w + 10;
    row = std::max(row, h);
  }
  sheet.save("program-pictures");
}

}  // namespace
