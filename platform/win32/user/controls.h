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
