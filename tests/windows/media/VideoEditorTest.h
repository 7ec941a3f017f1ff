// The video editor on the program's own windows: the launcher opened with the skins the
// build draws, the editor opened from its button, clips written on drive C: with FFmpeg,
// the MPEG encoder module registered as the installer registers the Filter folder, and the
// robot to play the user on the manual clock.
#pragma once

#include "windows/WindowsTest.h"
#include "windows/main/CMainDlg.h"
#include "windows/media/CVideoDlg.h"

#include <functional>
#include <string>
#include <vector>

class CSkinButtonEx;

namespace test {

class VideoEditorTest : public WindowsTest {
 protected:
  VideoEditorTest();

  // Opened from the launcher's button, as the user opens it.
  CVideoDlg& openEditor();
  CVideoDlg& editor() { return *launcher->GetVideoDlg(); }
  bool editorOpen() const { return launcher && launcher->GetVideoDlg(); }

  // An MPEG clip of one colour and a tone on drive C:, by its Windows path.
  std::string putClip(const std::string& name, double seconds);
  // The clip added through the editor's add button and the open-file dialog.
  void addClip(const std::string& windowsPath);
  // The clip list's item double-clicked, as the user opens it.
  void openClip(int index);
  // A clip added and opened, paused at its start: the clip pane ready for marks.
  void loadClip(const std::string& windowsPath);
  // The skin button or radio button of that name clicked where the skin put it.
  void press(const char* name);
  // The clip slider set to a position as the user sets it: a click on the thumb's place.
  void setClipSlider(int position);
  // A cut of the open clip from `start` to `end` percent, added to the project.
  void cut(int start, int end);
  // Time runs on by `ms` in frame steps, the panes' streaming threads settled after each.
  void play(int ms);
  // The launcher's close requests while `act` runs, through a stand-in main window.
  std::vector<WPARAM> askedOfMainWindow(const std::function<void()>& act);
  // The message boxes' texts since the test began.
  std::vector<std::string> messageTexts();
  // The files in the temporary folder whose names start with "cap".
  std::vector<std::string> captureFiles();
  std::filesystem::path linuxOf(const std::string& windowsPath);
  bool enabled(const char* name);
  CSkinButtonEx* radio(const char* name) { return editor().FindRadioButton(name); }
  // The radio button shows itself checked.
  bool showsChecked(const char* name);
  CRect placeOf(const CWnd& control);
};

}  // namespace test
