// The robot: plays the user and the passing of time for a program under test.
//
// It works on the calling thread (the user-interface thread of the program under test):
// pumpUntilIdle() runs that thread's messages until nothing is ready, letting MFC windows
// pre-translate them as the program's own loop would; advance() moves the manual clock,
// stopping at every timer due on the way so timers fire in order and as often as they
// would in real time; on a clock shared with other programs it stops at their timers too and
// moves on only once they have handled what each step made due. Mouse and keyboard input goes in as the system delivers it: the
// pointer moves, the window under it is hit-tested with WM_NCHITTEST, a click activates
// its top-level window (WM_MOUSEACTIVATE) and sets the cursor (WM_SETCURSOR), the button
// messages go to the window holding the capture or the one under the pointer, keys go to
// the focus. Message boxes are answered from a queue of answers (see msgbox.h).
//
// With `pumpAfterInput` (the default) each input action runs the queue afterwards; a
// script runner inside a program's own loop turns that off and lets the loop do it.
#pragma once

#include <win32/user.h>
#include <machine/TrayArea.h>
#include <win32/commdlg/FileDialogLog.h>
#include <win32/user/MessageBoxLog.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plat {

class Robot {
 public:
  explicit Robot(bool pumpAfterInput = true);

  // Runs every message ready for the calling thread; returns how many ran. Stops at
  // WM_QUIT, which it keeps (quitRequested()).
  int pumpUntilIdle();
  bool quitRequested() const { return m_quit; }
  int quitCode() const { return m_quitCode; }
  // Manual clock only: moves time on by `ms`, firing the calling thread's timers in order.
  void advance(std::uint64_t ms);
  // One step of advance(): up to the next timer due within `ms`; returns the time moved.
  std::uint64_t advanceStep(std::uint64_t ms);
  // Waits until this process's streaming threads and every other program following the
  // shared clock have handled what is due at its present time, serving sends to this
  // thread meanwhile. A thread or program that has not within ClockFollowers::kHangLimit
  // is reported on stderr and no longer waited for.
  void settle();

  HWND findWindow(const char* className, const char* title) const;
  HWND control(HWND dialog, int id) const;
  std::string text(HWND hwnd) const;

  void moveTo(POINT screen);
  void click(POINT screen);
  // The middle of the window's client area.
  void click(HWND hwnd);
  void doubleClick(POINT screen);
  void doubleClick(HWND hwnd);
  void rightClick(POINT screen);
  // Left button down at `from`, the pointer moved to `to`, the button up there, all given
  // before the program runs, so a window that takes the capture (or the caption's move
  // loop) follows the whole gesture.
  void drag(POINT from, POINT to);
  // The mouse wheel turned by `delta` (120 a notch, positive away from the user): the
  // focus window (else the active one) gets WM_MOUSEWHEEL with the pointer's screen point.
  void wheel(int delta);
  void press(int vk);
  void release(int vk);
  void key(int vk);
  // Letters, digits, space, '.', ',', '-', ':', ';', backslash, Tab and Enter ("\n"), with
  // Shift as needed. False for others.
  bool type(const std::string& text);

  void answerNextMessageBox(int answer);

  // Files dragged from the shell and let go at a screen point: the window there that
  // accepts dropped files (or its nearest ancestor that does) is posted WM_DROPFILES.
  // False when none accepts them.
  bool dropFiles(const std::vector<std::string>& paths, POINT screen);

  // File dialogs (win32/commdlg): the next one takes `name` (typed into its name field and
  // taken with its Open or Save button, so it is checked as a user's would be), or is
  // cancelled. Answers are taken in order, one each time a file dialog is idle.
  void answerNextFileDialog(const std::string& name);
  void cancelNextFileDialog();
  // In an open file dialog: double-clicks the entry its list shows as `entry` (a folder
  // opens, a file is taken), scrolled into view first; false when there is none.
  bool pickFileDialogEntry(HWND dialog, const std::string& entry);
  // Chooses the dialog's file type `type` (from 1); false when it has none such.
  bool chooseFileDialogType(HWND dialog, int type);
  // Every file dialog shown on the machine so far, with how it ended.
  std::vector<FileDialogRecord> fileDialogs() const;

  // Work to do while a modal loop of the calling thread runs (a popup menu, a dialog):
  // each action runs once, in order, whenever the thread is idle, with a robot that
  // leaves the pumping to the loop. A menu still open when they are done is dismissed.
  void duringModal(std::function<void(Robot&)> action);
  // The newest popup menu on screen (class "#32768"), null when none.
  HWND openMenu() const;
  // The screen point in the middle of an item of the newest popup menu.
  POINT menuItem(int position) const;
  // Clicks the item of the newest popup menu that has the command id; false when none has.
  bool chooseMenuCommand(UINT id);

  // The PC's hardware as a user handles it: the TV stick plugged in or pulled out (the
  // windows registered for capture devices are told), and what the Composite input
  // shows (colour bars named `source`; an empty name takes the signal away).
  void plugTvStick(bool plugged);
  void showOnComposite(const std::string& source);
  // Keys of the TV stick's remote control, read by whichever program polls the stick: a
  // press that stays down for `polls` reads (a held key).
  void pressRemoteKey(int key, int polls = 1);
  // The PC's sleep button: every window is told the PC suspends, then it does.
  void pressSleepButton();
  // The PC's power button while the PC is in stand-by: it wakes (false when it was not
  // suspended). advance() wakes it too when it reaches an armed wake-up time.
  bool pressPowerButton();

  // The taskbar's notification area: every icon of every program on the machine.
  std::vector<TrayArea::Icon> trayIcons() const;
  // A mouse message on a tray icon, as the taskbar sends it to the icon's owner window
  // (its callback message with the icon id and the mouse message); the pointer is put on
  // the icon first. False for an icon that is not shown.
  bool clickTrayIcon(const TrayArea::Icon& icon, UINT mouseMessage);
  // The shell ends and starts again: the area empties and "TaskbarCreated" goes to every
  // top-level window of the machine.
  void restartShell();
  // Holds a key of the capture card's remote control: its code (1-31) on the card's GPIO
  // lines until another code, or 0 (the key let go), is held.
  void holdCardRemote(int code);
  std::vector<MessageBoxRecord> messageBoxes() const;
  // The texts of the taskbar notices on screen now, front first. A notice is a visible
  // top-level popup kept topmost, with no caption, that is no tooltip; its window text
  // is what it says.
  std::vector<std::string> notices() const;

 private:
  void buttonDown(POINT screen, UINT button, bool doubleClick);
  void buttonUp(POINT screen, UINT button);
  void pointTo(POINT screen);
  // The window that gets mouse input at `screen`, and its hit-test code there.
  HWND mouseTarget(POINT screen, LRESULT& hit) const;
  void postMouse(HWND target, LRESULT hit, UINT clientMessage, POINT screen);
  void postInput(HWND target, UINT message, WPARAM wParam, LPARAM lParam);
  void afterInput();

  bool m_pumpAfterInput;
  std::shared_ptr<std::deque<std::function<void(Robot&)>>> m_modalActions;
  bool m_quit = false;
  int m_quitCode = 0;
};

}  // namespace plat
