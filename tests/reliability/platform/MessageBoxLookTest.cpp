// Message boxes and captions as Windows draws them: a framed window's caption bar shows its
// title on the caption colour (active or not), with its small icon and caption buttons; a
// message box shows its title there, its type's icon beside its text, the text in the
// message font, and buttons as wide as their texts need. Its picture is saved beside the
// tests' other files.
#include <robot/Screenshot.h>
#include <support/TestMachine.h>
#include <win32/commdlg/commdlg.h>
#include <win32/gdi.h>
#include <win32/user.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

namespace {

// Runs `look` on the box that `show` opens, while it is open and drawn, then answers it.
class MessageBoxLookTest : public test::MachineTest {
 protected:
  MessageBoxLookTest() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HelperProc;
    wc.lpszClassName = "MessageBoxLookHelper";
    RegisterClassA(&wc);
    helper = CreateWindowExA(0, "MessageBoxLookHelper", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  }
  ~MessageBoxLookTest() override { DestroyWindow(helper); }

  int withOpenBox(const char* caption, const std::function<void(HWND)>& look, const std::function<int()>& show) {
    s_caption = caption;
    s_look = look;
    PostMessageA(helper, WM_USER, 0, 0);
    return show();
  }
  static LRESULT CALLBACK HelperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_USER) return DefWindowProcA(hwnd, message, wParam, lParam);
    HWND box = FindWindowA("#32770", s_caption.c_str());
    EXPECT_NE(box, nullptr);
    if (!box) return 0;
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    s_look(box);
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    return 0;
  }
  static int count(HWND hwnd, RECT area, COLORREF colour) {
    const auto pixels = plat::Screenshot::windowPixels(hwnd, area);
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
  }
  static std::filesystem::path pictures() {
    const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "reliability";
    std::filesystem::create_directories(folder);
    return folder;
  }

  HWND helper = nullptr;
  static inline std::string s_caption;
  static inline std::function<void(HWND)> s_look;
};

TEST_F(MessageBoxLookTest, ABoxShowsItsTitleIconTextAndButtonsInTheMessageFont) {
  const std::string text = "The live picture could not be started. Please check the TV device.";
  withOpenBox(
      "Invented Caption",
      [&](HWND box) {
        const int border = GetSystemMetrics(SM_CXDLGFRAME);
        const int caption = GetSystemMetrics(SM_CYCAPTION);
        RECT window{};
        GetWindowRect(box, &window);
        const int width = window.right - window.left;
        // The caption bar starts in the active caption colour and holds white title text.
        EXPECT_EQ(plat::Screenshot::windowPixel(box, border, border + 1), GetSysColor(COLOR_ACTIVECAPTION));
        EXPECT_GT(count(box, RECT{border, border, width / 2, border + caption - 1}, GetSysColor(COLOR_CAPTIONTEXT)), 20);
        // The question icon at the top left of the client area.
        POINT icon{11 + 16, 11 + 16};
        ClientToScreen(box, &icon);
        EXPECT_EQ(plat::Screenshot::windowPixel(box, icon.x - window.left, icon.y - window.top - 10), RGB(255, 255, 255))
            << "the question mark's hook";
        // Text and buttons in the message font, each wide enough for its text.
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
        HWND textStatic = GetDlgItem(box, 0xFFFF);
        ASSERT_NE(textStatic, nullptr);
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(textStatic, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTA used{};
        ASSERT_EQ(GetObjectA(font, sizeof used, &used), static_cast<int>(sizeof used));
        EXPECT_STREQ(used.lfFaceName, metrics.lfMessageFont.lfFaceName);
        EXPECT_EQ(used.lfHeight, metrics.lfMessageFont.lfHeight);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE extent{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        RECT place{};
        GetClientRect(textStatic, &place);
        EXPECT_GE(place.right, extent.cx) << "the text fits on its line";
        for (const int id : {IDYES, IDNO, IDCANCEL}) {
          HWND button = GetDlgItem(box, id);
          ASSERT_NE(button, nullptr);
          EXPECT_EQ(SendMessageA(button, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
          char label[32] = {};
          GetWindowTextA(button, label, sizeof label);
          RECT face{0, 0, 0, 0};
          DrawTextA(dc, label, -1, &face, DT_CALCRECT | DT_SINGLELINE);
          RECT rect{};
          GetClientRect(button, &rect);
          EXPECT_GE(rect.right, std::max<LONG>(75, face.right + 8)) << label;
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        EXPECT_TRUE(plat::Screenshot::saveWindow(box, pictures() / "message_box.png"));
      },
      [&] { return MessageBoxA(nullptr, text.c_str(), "Invented Caption", MB_YESNOCANCEL | MB_ICONQUESTION); });
}

TEST_F(MessageBoxLookTest, ButtonsGrowWithLongerTextsAndALongTextWraps) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  std::string text;
  for (int word = 0; word < 120; ++word) text += "invented ";
  withOpenBox(
      "Long",
      [&](HWND box) {
        RECT window{};
        GetWindowRect(box, &window);
        EXPECT_LE(window.right - window.left, GetSystemMetrics(SM_CXSCREEN)) << "a long text wraps inside the screen";
        RECT textPlace{};
        GetClientRect(GetDlgItem(box, 0xFFFF), &textPlace);
        EXPECT_GT(textPlace.bottom, 2 * std::abs(metrics.lfMessageFont.lfHeight)) << "on several lines";
        EXPECT_EQ(GetDlgItem(box, IDOK) != nullptr, true);
      },
      [&] { return MessageBoxA(nullptr, text.c_str(), "Long", MB_OK); });
}

// The open and save dialogs wear the same caption bar as a box: their title in white on
// the active caption colour.
TEST_F(MessageBoxLookTest, TheFileDialogsShowTheirTitleInTheCaptionBar) {
  for (const bool save : {false, true}) {
    const char* title = save ? "Invented Save" : "Invented Open";
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = "Pictures\0*.png\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = title;
    const BOOL chosen = withOpenBox(
        title,
        [&](HWND dialog) {
          const int border = GetSystemMetrics(SM_CXDLGFRAME);
          const int caption = GetSystemMetrics(SM_CYCAPTION);
          RECT window{};
          GetWindowRect(dialog, &window);
          EXPECT_EQ(plat::Screenshot::windowPixel(dialog, border, border + 1), GetSysColor(COLOR_ACTIVECAPTION)) << title;
          EXPECT_GT(count(dialog, RECT{border, border, (window.right - window.left) / 2, border + caption - 1},
                          GetSysColor(COLOR_CAPTIONTEXT)),
                    20)
              << title;
          if (save) {
            EXPECT_TRUE(plat::Screenshot::saveWindow(dialog, pictures() / "save_dialog.png"));
          }
        },
        [&] { return save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn); });
    EXPECT_FALSE(chosen);
  }
}

TEST_F(MessageBoxLookTest, AFramedWindowsCaptionShowsItsTitleAndFollowsActivation) {
  HWND first = CreateWindowExA(0, "STATIC", "Invented Window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                               nullptr, nullptr, nullptr, nullptr);
  RedrawWindow(first, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  const int frame = GetSystemMetrics(SM_CXFRAME);
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  const RECT bar{frame, frame, 300 - frame, frame + caption - 1};
  // The bar's first column has the caption colour itself; the shading runs from there.
  EXPECT_EQ(plat::Screenshot::windowPixel(first, frame, frame + 1), GetSysColor(COLOR_ACTIVECAPTION));
  const int titled = count(first, bar, GetSysColor(COLOR_CAPTIONTEXT));
  EXPECT_GT(titled, 20);
  SetWindowTextA(first, "A much longer invented window title");
  EXPECT_GT(count(first, bar, GetSysColor(COLOR_CAPTIONTEXT)), titled) << "the caption follows the title";

  HWND second = CreateWindowExA(0, "STATIC", "Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 10, 200, 100, nullptr,
                                nullptr, nullptr, nullptr);
  EXPECT_EQ(plat::Screenshot::windowPixel(first, frame, frame + 1), GetSysColor(COLOR_INACTIVECAPTION));
  EXPECT_EQ(plat::Screenshot::windowPixel(second, frame, frame + 1), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_TRUE(plat::Screenshot::saveWindow(first, pictures() / "inactive_caption.png"));
  DestroyWindow(second);
  DestroyWindow(first);
}

}  // namespace
