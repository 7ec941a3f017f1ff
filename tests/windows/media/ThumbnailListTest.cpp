#include "windows/media/ThumbnailListTest.h"

#include "platform/dshow/MediaFileWriter.h"

#include <robot/Screenshot.h>
#include <win32/file.h>
#include <win32/gdi.h>
#include <win32/gdi/imagelist.h>

namespace test {

namespace {
constexpr const char* kHostClass = "ThumbnailTestHost";
constexpr const char* kNotifyClass = "ThumbnailTestNotify";
}  // namespace

ThumbnailListTest::ThumbnailListTest() {
  s_received.clear();
  WNDCLASSA wc{};
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.lpszClassName = kHostClass;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassA(&wc);
  wc.lpfnWndProc = NotifyProc;
  wc.lpszClassName = kNotifyClass;
  RegisterClassA(&wc);
  m_hHost = CreateWindowExA(0, kHostClass, "Thumbnails", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 420, 300,
                            nullptr, nullptr, nullptr, nullptr);
  notify = CreateWindowExA(0, kNotifyClass, "Owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(m_hHost);
  std::filesystem::create_directories(machine().paths().driveFolder('C') / "Pictures");
  robot.pumpUntilIdle();
}

ThumbnailListTest::~ThumbnailListTest() {
  if (::testing::Test::HasFailure()) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    plat::Screenshot::dump(std::string(info->test_suite_name()) + "." + info->name());
  }
  list.reset();
  if (IsWindow(m_hHost)) DestroyWindow(m_hHost);
  if (IsWindow(notify)) DestroyWindow(notify);
  robot.pumpUntilIdle();
  UnregisterClassA(kHostClass, nullptr);
  UnregisterClassA(kNotifyClass, nullptr);
}

CThumbnailListWnd& ThumbnailListTest::makeList(BOOL bSingleSelection) {
  list = std::make_unique<CThumbnailListWnd>();
  CRect client;
  host()->GetClientRect(&client);
  EXPECT_TRUE(list->Create("", WS_CHILD | WS_VISIBLE, client, host(), 1001, bSingleSelection, kBackground, 0));
  list->SetNotifyWindow(notify);
  robot.pumpUntilIdle();
  return *list;
}

std::string ThumbnailListTest::onC(const std::string& relative) const { return "C:\\" + relative; }

std::filesystem::path ThumbnailListTest::linuxOf(const std::string& windowsPath) {
  return machine().paths().toLinux(windowsPath);
}

std::string ThumbnailListTest::putBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  const std::string path = onC("Pictures\\" + name);
  WriteBytes(linuxOf(onC("Pictures")) / name, bytes);
  return path;
}

std::string ThumbnailListTest::putPicture(const std::string& name, const TestPicture& picture) {
  const std::string lower = name.substr(name.size() - 3);
  if (lower == "png" || lower == "PNG") return putBytes(name, PngBytes(picture));
  if (lower == "jpg" || lower == "JPG" || lower == "peg") return putBytes(name, JpegBytes(picture));
  return putBytes(name, BmpBytes(picture));
}

std::string ThumbnailListTest::putJpeg(const std::string& name, int width, int height, int seed) {
  return putBytes(name, JpegBytes(TestPicture::ramps(width, height, seed)));
}

std::string ThumbnailListTest::putVideo(const std::string& name, int width, int height) {
  const bool avi = name.size() > 4 && name.substr(name.size() - 4) == ".avi";
  std::filesystem::create_directories(linuxOf(onC("Videos")));
  const auto kind = avi ? dstest::MediaFileWriter::Kind::Avi : dstest::MediaFileWriter::Kind::MpegProgram;
  EXPECT_TRUE(dstest::MediaFileWriter::write(linuxOf(onC("Videos")) / name, kind, 1.0, width, height));
  return onC("Videos\\" + name);
}

std::vector<std::string> ThumbnailListTest::thumbnailFiles() {
  std::vector<std::string> found;
  for (const std::string& name : tempFileNames())
    if (name.find("_tmp") != std::string::npos) found.push_back(name);
  return found;
}

std::vector<NotifyMessage> ThumbnailListTest::received(UINT message) const {
  std::vector<NotifyMessage> found;
  for (const NotifyMessage& m : s_received)
    if (m.message == message) found.push_back(m);
  return found;
}

POINT ThumbnailListTest::itemOnScreen(int index) {
  CRect bounds;
  view().GetItemRect(index, &bounds, LVIR_ICON);
  POINT middle = bounds.CenterPoint();
  ClientToScreen(view().GetSafeHwnd(), &middle);
  return middle;
}

COLORREF ThumbnailListTest::thumbPixel(int image, int x, int y) {
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(view().GetSafeHwnd(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 60, 60);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, canvas);
  ImageList_Draw(images, image, dc, 0, 0, ILD_NORMAL);
  const COLORREF pixel = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
  return pixel;
}

std::vector<std::string> ThumbnailListTest::listedPaths() {
  std::vector<std::string> paths;
  for (int i = 0; i < view().GetItemCount(); ++i) {
    const CMediaFileItem* item = view().GetItem(i);
    paths.emplace_back(item->IsVideo() ? item->GetVideoPath() : item->GetImagePath());
  }
  return paths;
}

LRESULT CALLBACK ThumbnailListTest::NotifyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= WM_USER || msg == WM_MOUSEMOVE) {
    NotifyMessage m{msg, wParam, lParam, {}, -1};
    const bool namesItem = msg == CImageListView::UM_OPEN_LIST_ITEM || msg == CImageListView::UM_LIST_PLAY_ITEM ||
                           msg == CImageListView::UM_LIST_ITEM_DELETED || msg == CImageListView::UM_LIST_OPEN_ITEM;
    if (namesItem && lParam) {
      const auto* item = reinterpret_cast<const CMediaFileItem*>(lParam);
      m.imagePath = item->GetMainPath();
      m.listIndex = item->GetThirdIndex();
    }
    s_received.push_back(m);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace test
