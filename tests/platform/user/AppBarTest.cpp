// Application bars: registration, one auto-hide bar per edge, and removal that frees the
// edge; and cursors read from cursor files.
#include "WindowTest.h"

#include <win32/gdi/IconTable.h>
#include <win32/gdi/icon.h>
#include <win32/user/appbar.h>
#include <win32/user/cursorfile.h>

#include <cstdint>
#include <fstream>
#include <vector>

namespace {

class AppBarTest : public test::MachineTest {
 protected:
  AppBarTest() {
    plat::AppBars::reset();
    test::registerClass(test::kRecorderClass, test::recordingProc);
    first = test::createRecorder("first");
    second = test::createRecorder("second");
  }
  ~AppBarTest() override {
    DestroyWindow(first);
    DestroyWindow(second);
    plat::AppBars::reset();
  }
  UINT_PTR send(DWORD message, HWND hwnd, UINT edge = ABE_BOTTOM, LPARAM lParam = 0) {
    APPBARDATA data{sizeof(APPBARDATA), hwnd, 2034, edge, {}, lParam};
    return SHAppBarMessage(message, &data);
  }
  HWND first;
  HWND second;
};

TEST_F(AppBarTest, ABarRegistersOnceWithItsCallbackMessage) {
  EXPECT_TRUE(send(ABM_NEW, first));
  EXPECT_FALSE(send(ABM_NEW, first));
  EXPECT_EQ(plat::AppBars::registered(), std::vector<HWND>{first});
  EXPECT_EQ(plat::AppBars::callbackMessage(first), 2034u);
  EXPECT_TRUE(send(ABM_ACTIVATE, first));
  EXPECT_FALSE(send(ABM_ACTIVATE, second));
}

TEST_F(AppBarTest, AnEdgeHasOneAutoHideBarUntilItLetsGo) {
  send(ABM_NEW, first);
  send(ABM_NEW, second);
  EXPECT_EQ(send(ABM_GETAUTOHIDEBAR, nullptr), 0u);
  EXPECT_TRUE(send(ABM_SETAUTOHIDEBAR, first, ABE_BOTTOM, TRUE));
  EXPECT_FALSE(send(ABM_SETAUTOHIDEBAR, second, ABE_BOTTOM, TRUE));
  EXPECT_TRUE(send(ABM_SETAUTOHIDEBAR, second, ABE_TOP, TRUE));
  EXPECT_EQ(reinterpret_cast<HWND>(send(ABM_GETAUTOHIDEBAR, nullptr)), first);
  EXPECT_FALSE(send(ABM_SETAUTOHIDEBAR, second, ABE_BOTTOM, FALSE)) << "not the edge's bar";
  EXPECT_TRUE(send(ABM_REMOVE, first));
  EXPECT_EQ(send(ABM_GETAUTOHIDEBAR, nullptr), 0u);
  EXPECT_EQ(plat::AppBars::registered(), std::vector<HWND>{second});
}

// A cursor file: one 2 x 2 image, 32-bit, hot spot (1, 0).
std::vector<std::uint8_t> cursorFile() {
  std::vector<std::uint8_t> dib(40 + 2 * 2 * 4 + 2 * 4, 0);
  const auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) dib[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, 2);
  put32(8, 4);  // image and mask
  dib[12] = 1;
  dib[14] = 32;
  for (std::size_t p = 40; p < 56; p += 4) dib[p + 3] = 0xFF;
  std::vector<std::uint8_t> file = {0, 0, 2, 0, 1, 0, 2, 2, 0, 0, 1, 0, 0, 0};
  const auto size = static_cast<std::uint32_t>(dib.size());
  for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
  for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(22u >> (8 * i)));
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

TEST_F(AppBarTest, CursorsComeFromCursorFilesAndNothingElse) {
  const auto folder = testMachine.root() / "C";
  const auto good = cursorFile();
  std::ofstream(folder / "hand.cur", std::ios::binary).write(reinterpret_cast<const char*>(good.data()),
                                                               static_cast<std::streamsize>(good.size()));
  std::ofstream(folder / "text.cur") << "not a cursor";
  HCURSOR cursor = LoadCursorFromFileA("C:\\hand.cur");
  ASSERT_NE(cursor, nullptr);
  const auto icon = plat::IconTable::instance().find(cursor);
  ASSERT_TRUE(icon.has_value());
  EXPECT_EQ(icon->hotspot.x, 1);
  EXPECT_EQ(icon->hotspot.y, 0);
  DestroyCursor(cursor);
  EXPECT_EQ(LoadCursorFromFileA("C:\\text.cur"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_EQ(LoadCursorFromFileA("C:\\none.cur"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
