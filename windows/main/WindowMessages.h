// The private window messages of the main program: the one table of their numbers.
// The controls, the controller and the schedule list declare the messages they send
// beside their own code; this header gathers those the windows take and adds the ones
// only the windows exchange, so every number appears once. The graphs' event messages
// come with the graph headers of the two windows that take them (the launcher and the
// video editor). "Sent" or "posted" and the parameters are given where the message is used.
#pragma once

#include "core/CAppController.h"
#include "core/CRunState.h"
#include "core/CScheduleList.h"
#include "skin/CDigitEdit.h"
#include "skin/CDriveFolderList.h"
#include "skin/CSkinListCtrl.h"
#include "skin/SkinMessages.h"

#include <win32/types.h>

// Remote control and display modes.
inline constexpr UINT UM_REMOTE_KEY = 0x46D;  // wParam shut-down flag with key 20, lParam key 0..255
// The remote keys that several windows act on alike.
inline constexpr LPARAM kRemoteKeyClose = 20;
inline constexpr LPARAM kRemoteKeyPress = 21;
inline constexpr LPARAM kRemoteKeyPrevious = 31;
inline constexpr LPARAM kRemoteKeyNext = 68;
inline constexpr LPARAM kRemoteKeyReturn = 70;
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

// Playback and devices.
inline constexpr UINT UM_PLAYBACK_EVENT = 0x63F;
inline constexpr UINT UM_DEVICES_CHANGED = CAppController::UM_DEVICES_CHANGED;

// Channel scanning and the channel list.
inline constexpr UINT UM_SCAN_PROGRESS = CAppController::UM_SCAN_PROGRESS;
inline constexpr UINT UM_SCAN_CHANNEL_FOUND = CAppController::UM_SCAN_CHANNEL_FOUND;
inline constexpr UINT UM_SCAN_DONE = CAppController::UM_SCAN_DONE;
inline constexpr UINT UM_SCAN_MODE = 0x6B0;        // sent by the channel window to itself; lParam 1 after a scan
inline constexpr UINT UM_CHANNEL_SELECT = 0x4BE;   // wParam a row of the channel list
// The channel list's reports to the channel window and the requests it takes from it.
inline constexpr UINT UM_CHANNEL_ROW_CHANGED = CSkinListCtrl::UM_CHANNEL_ROW_CHANGED;
inline constexpr UINT UM_CHANNEL_FIELD_EDITED = CSkinListCtrl::UM_CHANNEL_FIELD_EDITED;
inline constexpr UINT UM_CHANNEL_ACTIVATE = CSkinListCtrl::UM_CHANNEL_ACTIVATE;
inline constexpr UINT UM_CHANNEL_EDITED = CSkinListCtrl::UM_CHANNEL_EDITED;
inline constexpr UINT UM_CHANNEL_UPDATED = CSkinListCtrl::UM_CHANNEL_UPDATED;
inline constexpr UINT UM_GET_COMBO_ITEMS = CSkinListCtrl::UM_GET_COMBO_ITEMS;
inline constexpr UINT UM_COMBO_ITEM_CHOSEN = CSkinListCtrl::UM_COMBO_ITEM_CHOSEN;
inline constexpr UINT UM_LIST_COMMIT_EDIT = CSkinListCtrl::UM_LIST_COMMIT_EDIT;
inline constexpr UINT UM_INPLACE_KILLFOCUS = CSkinListCtrl::UM_INPLACE_KILLFOCUS;
inline constexpr UINT UM_LIST_MOVE_UP = CSkinListCtrl::UM_LIST_MOVE_UP;
inline constexpr UINT UM_LIST_MOVE_DOWN = CSkinListCtrl::UM_LIST_MOVE_DOWN;
inline constexpr UINT UM_LIST_MOVE_TOP = CSkinListCtrl::UM_LIST_MOVE_TOP;
inline constexpr UINT UM_LIST_MOVE_BOTTOM = CSkinListCtrl::UM_LIST_MOVE_BOTTOM;
// Posted by the TV window to itself: deletes the channel windows it closed.
inline constexpr UINT UM_RELEASE_CHANNEL_WINDOW = 0x8146;

// The settings hub and its pages: posted to the hub for the pages it closed, and to the
// main window for the hubs closed; they are destroyed and deleted then.
inline constexpr UINT UM_RELEASE_SETTINGS_WINDOWS = 0x8150;

// Schedules.
inline constexpr UINT UM_SCHEDULE_CHANGED = CScheduleList::UM_SCHEDULE_CHANGED;
inline constexpr UINT UM_PLAN_LIST_CHANGED = 0x69B;
// The record plan list's list reports its selection; the entry editor's edits their focus.
inline constexpr UINT UM_REFRESH_PLAN_LIST = CDriveFolderList::UM_LIST_SELCHANGE;
inline constexpr UINT UM_DIGITEDIT_FOCUS = CDigitEdit::UM_DIGITEDIT_FOCUS;
// Posted by the record plan list to itself: the entry editor it closed is destroyed now.
inline constexpr UINT UM_RELEASE_SCHEDULE_EDITOR = 0x8151;

// WM_COMMAND to the launcher: read the schedule file again.
inline constexpr UINT IDC_RELOAD_SCHEDULE = 1125;

static_assert(UM_HOVER_HINT == 0xFA0 && UM_BAR_COMMAND == 0x72B);
static_assert(UM_RUNSTATE_CHANGED == 0x649 && UM_OPEN_TV_WINDOW == 0x699 && UM_DEVICES_CHANGED == 0x7DA);
static_assert(UM_CHANNEL_ROW_CHANGED == 0x1B72 && UM_LIST_COMMIT_EDIT == 0x1B71 && UM_GET_COMBO_ITEMS == 0x83FC);
static_assert(UM_ENTER_FULLSCREEN == 0x1518 && UM_SLIDER_TRACK == 0x28D1);
