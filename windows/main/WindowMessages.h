// The private window messages of the main program: the one table of their numbers.
// The controls, the controller, the schedule list and the graphs declare the messages
// they send beside their own code; this header gathers those and adds the ones only the
// windows exchange, so a window includes one file and every number appears once.
// "Sent" or "posted" and the parameters are given where the message is used.
#pragma once

#include "core/CAppController.h"
#include "core/CRunState.h"
#include "core/CScheduleList.h"
#include "graphs/CGraphBase.h"
#include "skin/CDigitEdit.h"
#include "skin/CDriveFolderList.h"
#include "skin/CTaskbarNotifier.h"
#include "skin/SkinMessages.h"

#include <win32/types.h>

// Remote control and display modes.
inline constexpr UINT UM_REMOTE_KEY = 0x46D;  // wParam shut-down flag with key 20, lParam key 0..255
inline constexpr UINT UM_RUNSTATE_CHANGED = CRunState::UM_RUNSTATE_CHANGED;
inline constexpr UINT UM_SHOW_MAIN = 0x653;  // wParam 110: the TV window goes too
inline constexpr UINT UM_OPEN_TV_WINDOW = CAppController::UM_OPEN_TV_WINDOW;
inline constexpr UINT UM_CONTROLLER_COMMAND = 0x3617;  // wParam 12823..12825

// Window placement and layout.
inline constexpr UINT UM_REFRESH_LAYOUT = 0x138D;  // wParam the display mode being left
inline constexpr UINT UM_ATTACH_VIDEO = 0x62B;
inline constexpr UINT UM_VIDEO_WINDOW_CLOSED = 0x435;
inline constexpr UINT UM_MOSAIC_CLOSED = 0x6A5;
inline constexpr UINT UM_FRAME_MINIMIZE = 0x679;
inline constexpr UINT UM_FRAME_MAXIMIZE = 0x67A;
inline constexpr UINT UM_FRAME_CLOSE = 0x67B;

// Control bar.
inline constexpr UINT UM_BAR_STATE = 0x635;    // wParam run state, lParam detail
inline constexpr UINT UM_BAR_CONTROL = 0x1583;  // wParam 0 dock, 1 mouse activity, 2 arm hide timer

// Graph and playback events.
inline constexpr UINT UM_PLAYBACK_EVENT = 0x63F;
inline constexpr UINT UM_PROJECT_GRAPH_EVENT = 0x40D;
inline constexpr UINT UM_FILE_DIALOG_OPENING = 0x779;
inline constexpr UINT UM_FILE_DIALOG_CLOSED = 0x784;
inline constexpr UINT UM_DEVICES_CHANGED = CAppController::UM_DEVICES_CHANGED;

// Channel scanning and the channel list.
inline constexpr UINT UM_SCAN_PROGRESS = CAppController::UM_SCAN_PROGRESS;
inline constexpr UINT UM_SCAN_CHANNEL_FOUND = CAppController::UM_SCAN_CHANNEL_FOUND;
inline constexpr UINT UM_SCAN_DONE = CAppController::UM_SCAN_DONE;

// Schedules.
inline constexpr UINT UM_SCHEDULE_CHANGED = CScheduleList::UM_SCHEDULE_CHANGED;
inline constexpr UINT UM_PLAN_LIST_CHANGED = 0x69B;
inline constexpr UINT UM_SCHEDULE_RUN_ENDED = CScheduleList::UM_SCHEDULE_RUN_ENDED;
// The record plan list's list reports its selection; the entry editor's edits their focus.
inline constexpr UINT UM_REFRESH_PLAN_LIST = CDriveFolderList::UM_LIST_SELCHANGE;
inline constexpr UINT UM_DIGITEDIT_FOCUS = CDigitEdit::UM_DIGITEDIT_FOCUS;
// Posted by the record plan list to itself: the entry editor it closed is destroyed now.
inline constexpr UINT UM_RELEASE_SCHEDULE_EDITOR = 0x8151;

// WM_COMMAND to the launcher: read the schedule file again.
inline constexpr UINT IDC_RELOAD_SCHEDULE = 1125;

static_assert(UM_GRAPH_EVENT == 0x428 && UM_HOVER_HINT == 0xFA0 && UM_BAR_COMMAND == 0x72B);
static_assert(UM_RUNSTATE_CHANGED == 0x649 && UM_OPEN_TV_WINDOW == 0x699 && UM_DEVICES_CHANGED == 0x7DA);
static_assert(UM_ENTER_FULLSCREEN == 0x1518 && UM_SLIDER_TRACK == 0x28D1 && UM_NOTIFIER_CLICKED == 0x47B);
