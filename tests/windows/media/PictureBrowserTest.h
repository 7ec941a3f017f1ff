// The picture browser as the user meets it: the launcher's Pictures button opens it on the
// build's own skin, with pictures on drive C: listed in the picture history, and the robot
// double-clicks thumbnails, drags sliders and presses buttons on the manual clock.
#pragma once

#include "windows/WindowsTest.h"
#include "windows/media/CPICDlg.h"

#include <support/PictureFiles.h>

#include <cstdint>
#include <string>
#include <vector>

class CImageListView;

namespace test {

class PictureBrowserTest : public WindowsTest {
 protected:
  PictureBrowserTest();
  ~PictureBrowserTest() override;

  // A picture on drive C: ("C:\Pictures\<name>").
  std::string putPicture(const std::string& name, const TestPicture& picture);
  std::string putBytes(const std::string& name, const std::vector<std::uint8_t>& bytes);
  std::filesystem::path linuxOf(const std::string& windowsPath);
  // The picture history listing the paths, first to last.
  void writeHistory(const std::vector<std::string>& paths);
  std::vector<std::string> historyPaths();

  // The launcher, then its Pictures button.
  CPICDlg& openBrowser();
  CImageListView& view();
  // Double-clicks the thumbnail at the list index.
  void openItem(int index);
  POINT itemOnScreen(int index);
  void press(const char* name);
  // The slider's release at a position, as the slider reports it.
  void setSlider(UINT id, int position);
  // The current picture's pixel rows (stride x height), empty without one.
  std::vector<std::uint8_t> pictureBytes();
  // The current picture's rows changed by a library call, as the window should have.
  std::vector<std::uint8_t> adjusted(const std::vector<std::uint8_t>& rows, UINT sliderId, int strength);
  std::vector<std::uint8_t> smoothed(const std::vector<std::uint8_t>& rows, bool median);
  bool buttonEnabled(const char* name);
  std::string labelText(const char* name);
  // The picture area's pixel, in the area's own coordinates.
  COLORREF areaPixel(int x, int y);
  std::vector<std::string> temporaryFiles();

  CPICDlg* browser = nullptr;
};

}  // namespace test
