// The thumbnail list window on a real window for the tests: a visible host window holding
// a CThumbnailListWnd, a notify window that records what the view tells it, pictures and
// videos written on drive C:, and the robot to play the user on the manual clock.
#pragma once

#include "core/CoreTest.h"
#include "windows/media/CThumbnailListWnd.h"

#include <mfc/afxwin.h>
#include <robot/Robot.h>
#include <support/PictureFiles.h>

#include <memory>
#include <string>
#include <vector>

namespace test {

struct NotifyMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  // The display name, image path and list index of the item the message named, read
  // while it was valid.
  std::string imagePath;
  int listIndex = -1;
};

class ThumbnailListTest : public ControllerTest {
 protected:
  static constexpr COLORREF kBackground = RGB(24, 32, 48);

  ThumbnailListTest();
  ~ThumbnailListTest() override;

  // Creates the list window (single selection or not) filling the host's client area.
  CThumbnailListWnd& makeList(BOOL bSingleSelection = TRUE);
  CImageListView& view() { return *list->GetListView(); }

  // Files on drive C: by their Windows paths.
  std::string onC(const std::string& relative) const;
  std::filesystem::path linuxOf(const std::string& windowsPath);
  std::string putPicture(const std::string& name, const TestPicture& picture);
  std::string putJpeg(const std::string& name, int width, int height, int seed = 0);
  std::string putBytes(const std::string& name, const std::vector<std::uint8_t>& bytes);
  // A one-second clip of one colour (an MPEG program stream or an AVI by the name).
  std::string putVideo(const std::string& name, int width = 176, int height = 144);
  bool exists(const std::string& windowsPath) { return std::filesystem::exists(linuxOf(windowsPath)); }
  // The files in the temporary folder whose names contain "_tmp".
  std::vector<std::string> thumbnailFiles();

  // The notify window's messages of one kind since the last clear.
  std::vector<NotifyMessage> received(UINT message) const;
  void clearReceived() { s_received.clear(); }

  // The middle of item `index` on the screen.
  POINT itemOnScreen(int index);
  // Image `image` of the view's image list as 60 x 60 pixels, read back.
  COLORREF thumbPixel(int image, int x, int y);
  // The image paths of the view's items, in list order.
  std::vector<std::string> listedPaths();

  // The host as MFC sees it; a temporary object, so asked for afresh after every pump.
  CWnd* host() const { return CWnd::FromHandle(m_hHost); }

  plat::Robot robot;
  HWND notify = nullptr;
  std::unique_ptr<CThumbnailListWnd> list;

 private:
  static LRESULT CALLBACK NotifyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static inline std::vector<NotifyMessage> s_received;
  CWinApp m_app;
  HWND m_hHost = nullptr;
};

}  // namespace test
