// The standard control classes: "BUTTON", "STATIC", "EDIT", "COMBOBOX", "LISTBOX" and
// "SCROLLBAR" exist so that dialog templates can hold them. A push button reports
// BN_CLICKED to its parent when clicked (mouse release inside, BM_CLICK, or Space); a check
// box or radio button keeps its check (BM_GETCHECK, BM_SETCHECK), and the automatic ones
// change it before the parent hears of the click: an automatic check box toggles, an
// automatic radio button checks itself and clears the automatic radio buttons of its group
// (the siblings from the one with WS_GROUP up to the next). A disabled button or static
// draws its text grey. A static is transparent to the mouse unless SS_NOTIFY. The single-line edit keeps its text
// as the window text, with a selection, a caret and a limit: typed characters (ES_NUMBER:
// digits only) and pasted or replaced text go in at the selection, each change reported
// with EN_UPDATE and EN_CHANGE, also for WM_SETTEXT; its colours come from the parent's
// answer to WM_CTLCOLOREDIT.
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
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_CLICK 0x00F5
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_PUSHED 0x0004

// Combo boxes: a drop-down list ("ComboLBox" popup) under a face; owner-drawn faces and
// entries are drawn by the parent (ODT_COMBOBOX; itemID -1 / ODS_COMBOBOXEDIT for the
// face), the entries measured once (CBS_OWNERDRAWFIXED) or each (CBS_OWNERDRAWVARIABLE).
// A drop-down box's window is its selection field (the face height of CB_SETITEMHEIGHT -1
// and 3 pixels above and below); the height it is created or moved with is the field and
// the dropped list together, and the list scrolls to keep the marked entry in view.
#define CBS_SIMPLE 0x0001
#define CBS_DROPDOWN 0x0002
#define CBS_DROPDOWNLIST 0x0003
#define CBS_OWNERDRAWFIXED 0x0010
#define CBS_OWNERDRAWVARIABLE 0x0020
#define CBS_AUTOHSCROLL 0x0040
#define CBS_OEMCONVERT 0x0080
#define CBS_SORT 0x0100
#define CBS_HASSTRINGS 0x0200

#define CBN_SELCHANGE 1
#define CBN_DBLCLK 2
#define CBN_SETFOCUS 3
#define CBN_KILLFOCUS 4
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8
#define CBN_SELENDOK 9
#define CBN_SELENDCANCEL 10

#define CB_ERR (-1)
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_SETCURSEL 0x014E
#define CB_SHOWDROPDOWN 0x014F
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_GETDROPPEDCONTROLRECT 0x0152
#define CB_SETITEMHEIGHT 0x0153
#define CB_GETITEMHEIGHT 0x0154
#define CB_GETDROPPEDSTATE 0x0157
#define CB_FINDSTRINGEXACT 0x0158

// List boxes: entries with a text and item data, one selection, scrolling by whole
// entries; owner-drawn ones are measured by the parent (ODT_LISTBOX) once
// (LBS_OWNERDRAWFIXED) or per entry (LBS_OWNERDRAWVARIABLE) and drawn by it.
#define LBS_NOTIFY 0x0001
#define LBS_OWNERDRAWFIXED 0x0010
#define LBS_OWNERDRAWVARIABLE 0x0020
#define LBS_HASSTRINGS 0x0040
#define LBS_NOINTEGRALHEIGHT 0x0100
#define LBS_WANTKEYBOARDINPUT 0x0400
// On Windows a box with WS_VSCROLL keeps its bar, disabled, while it has too few entries to
// scroll; the list boxes here scroll without a bar, so the style changes nothing.
#define LBS_DISABLENOSCROLL 0x1000

#define LBN_SELCHANGE 1
#define LBN_DBLCLK 2

#define LB_ERR (-1)
#define LB_ADDSTRING 0x0180
#define LB_INSERTSTRING 0x0181
#define LB_DELETESTRING 0x0182
#define LB_RESETCONTENT 0x0184
#define LB_SETCURSEL 0x0186
#define LB_GETCURSEL 0x0188
#define LB_GETTEXT 0x0189
#define LB_GETTEXTLEN 0x018A
#define LB_GETCOUNT 0x018B
#define LB_GETTOPINDEX 0x018E
#define LB_SETTOPINDEX 0x0197
#define LB_GETITEMRECT 0x0198
#define LB_GETITEMDATA 0x0199
#define LB_SETITEMDATA 0x019A
#define LB_SETCARETINDEX 0x019E
#define LB_GETCARETINDEX 0x019F
#define LB_SETITEMHEIGHT 0x01A0
#define LB_GETITEMHEIGHT 0x01A1
#define LB_ITEMFROMPOINT 0x01A9

#define SS_LEFT 0x00000000
#define SS_CENTER 0x00000001
#define SS_RIGHT 0x00000002
#define SS_NOPREFIX 0x00000080
#define SS_NOTIFY 0x00000100

#define ES_LEFT 0x0000
#define ES_CENTER 0x0001
#define ES_RIGHT 0x0002
#define ES_MULTILINE 0x0004
#define ES_PASSWORD 0x0020
#define ES_AUTOHSCROLL 0x0080
#define ES_READONLY 0x0800
#define ES_NUMBER 0x2000

// Edit notifications (WM_COMMAND to the parent) and messages.
#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#define EN_UPDATE 0x0400
#define EN_MAXTEXT 0x0501
#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_GETRECT 0x00B2
#define EM_SCROLLCARET 0x00B7
#define EM_GETMODIFY 0x00B8
#define EM_SETMODIFY 0x00B9
#define EM_REPLACESEL 0x00C2
#define EM_LIMITTEXT 0x00C5
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define EM_SETREADONLY 0x00CF
#define EM_SETMARGINS 0x00D3
#define EM_GETMARGINS 0x00D4
#define EC_LEFTMARGIN 0x0001
#define EC_RIGHTMARGIN 0x0002
#define EM_GETLIMITTEXT 0x00D5

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
