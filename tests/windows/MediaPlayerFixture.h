// The media player's tests: the launcher and the fixture skins of the windows' tests plus
// the player's own, clips written on drive C: and listed in "histroyMedia.lis", the player
// opened as the user opens it, and the helpers to play it, read it and wait for its file.
#pragma once

#include "windows/WindowsTest.h"

#include "core/CMediaFileItem.h"

#include <string>
#include <vector>

class CAVDlg;
class CImageListView;

namespace test {

class MediaPlayerTest : public WindowsTest {
 protected:
  MediaPlayerTest();

  // Clips on drive C: by their Windows paths: MPEG program streams of one colour and a
  // tone, in "C:\Videos" or where asked.
  std::string putClip(const std::string& name, double seconds);
  void putClipAt(const std::string& windowsPath, double seconds);
  std::filesystem::path linuxOf(const std::string& windowsPath);
  // "histroyMedia.lis" of the program folder, as video records in this order.
  void writeHistory(const std::vector<std::string>& paths);
  // Its records' paths, in file order; empty when there is no file.
  std::vector<std::string> history();

  // The launcher's media player button, pressed.
  CAVDlg& openPlayer();
  CAVDlg& av();
  CImageListView& view();
  // The paths of the list's entries, in list order.
  std::vector<std::string> listed();
  POINT itemOnScreen(int index);
  // Double-clicks the entry, as a user plays it.
  void playEntry(int index);
  // Opens the list's context menu on the entry and chooses the command.
  void chooseFromMenu(int index, UINT command);
  // The list's "set folder" command, the folder typed into the picker in its English
  // wording (UI language 1).
  void addFolder(const std::string& windowsFolder);
  // A command of the control bar, as the bar sends it.
  void barCommand(const char* name);
  // Wakes the bar with the pointer and clicks one of its buttons.
  void clickBarButton(const char* name);
  BOOL barEnabled(const char* name);
  int progress();
  // Keys with Ctrl (and Shift) held.
  void ctrlKey(int vk, bool shift = false);
  // The playing file's position in seconds; -1 without one.
  double position();
  // Moves the clock on in frame steps, the streaming threads settled after each, until
  // `done` holds; false after a minute of the clock.
  bool advanceUntil(const std::function<bool()>& done);
  // Moves the clock `ms` on a frame at a time, the streaming threads settled after each,
  // as a recording of that length sees it; false when a step showed no new picture.
  bool liveFor(int ms);
  int runState();
};

}  // namespace test
