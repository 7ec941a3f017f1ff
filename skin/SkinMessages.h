// The window messages the skinned controls send to the windows that own them, with the
// numbers those windows take them by.
#pragma once

// CSkinButton, CSkinButtonEx: the mouse entered a button (wParam its command id).
#define UM_HOVER_HINT 4000
// CSkinRadioButton: pressed (wParam its control id).
#define UM_RADIO_CLICKED 1125
// CShapeButton: clicked (wParam its command tag).
#define UM_BAR_COMMAND 1835
// CShapeSlider: dragged, and released (wParam its notification tag, lParam the position).
#define UM_PROGRESS_TRACK 1324
#define UM_PROGRESS_SET 1325
// CVideoStatic, CVideoStaticEx: going full screen (wParam 0) or the pointer moved over a
// CVideoStaticEx (wParam 1); back from full screen.
#define UM_ENTER_FULLSCREEN 5400
#define UM_LEAVE_FULLSCREEN 5401
// CVideoPlaceholder: WM_NOTIFY code after it was resized (wParam its control id).
#define NM_VIDEO_AREA_SIZED 21522
// CSkinSlider, CBitmapSlider: dragged, and released or stepped by a key (wParam the
// control id, lParam the position).
#define UM_SLIDER_TRACK 10449
#define UM_SLIDER_SET 10450
