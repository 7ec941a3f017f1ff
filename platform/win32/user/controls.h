// The standard control classes: "BUTTON", "STATIC", "EDIT", "COMBOBOX", "LISTBOX" and
// "SCROLLBAR" exist so that dialog templates can hold them. For now a control is a plain
// window of its class (its text, styles and rectangles); only what the window system
// itself needs is acted out: a push button reports BN_CLICKED to its parent when clicked
// (mouse release inside, BM_CLICK, or Space), a static is transparent to the mouse unless
// SS_NOTIFY.
#pragma once

#include <win32/types.h>

#define BS_PUSHBUTTON 0x00000000
#define BS_DEFPUSHBUTTON 0x00000001
#define BS_CHECKBOX 0x00000002
#define BS_AUTOCHECKBOX 0x00000003
#define BS_RADIOBUTTON 0x00000004
#define BS_GROUPBOX 0x00000007
#define BS_AUTORADIOBUTTON 0x00000009
#define BS_OWNERDRAW 0x0000000B
#define BS_TYPEMASK 0x0000000F

#define BN_CLICKED 0
#define BN_DOUBLECLICKED 5
#define BM_GETSTATE 0x00F2
#define BM_CLICK 0x00F5
#define BST_PUSHED 0x0004

#define CBN_SELCHANGE 1

#define SS_LEFT 0x00000000
#define SS_CENTER 0x00000001
#define SS_RIGHT 0x00000002
#define SS_NOTIFY 0x00000100

#define ES_LEFT 0x0000
#define ES_MULTILINE 0x0004
#define ES_AUTOHSCROLL 0x0080
#define ES_READONLY 0x0800

// Trackbar ("msctls_trackbar32"): a thumb on a groove between a minimum and a maximum.
#define TRACKBAR_CLASS "msctls_trackbar32"
#define TBS_HORZ 0x0000
#define TBS_AUTOTICKS 0x0001
#define TBM_GETPOS (WM_USER)
#define TBM_GETRANGEMIN (WM_USER + 1)
#define TBM_GETRANGEMAX (WM_USER + 2)
#define TBM_SETPOS (WM_USER + 5)
#define TBM_SETRANGE (WM_USER + 6)
#define TBM_SETRANGEMIN (WM_USER + 7)
#define TBM_SETRANGEMAX (WM_USER + 8)
#define TB_LINEUP 0
#define TB_LINEDOWN 1
#define TB_PAGEUP 2
#define TB_PAGEDOWN 3
#define TB_THUMBPOSITION 4
#define TB_THUMBTRACK 5
#define TB_TOP 6
#define TB_BOTTOM 7
#define TB_ENDTRACK 8
