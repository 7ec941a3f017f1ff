// Message maps: each class lists the messages it handles in a static table, and a window
// looks a message up in its class's table, then its base class's, up to CCmdTarget.
//
// An entry holds the message, the notification code and the range of control ids it
// applies to, and a small function that unpacks wParam/lParam and calls the handler. The
// entry macros bind the handler by its exact signature (a handler declared with another
// signature does not compile), so a map is explicit and type-checked:
//
//   // in the class:       DECLARE_MESSAGE_MAP()  and  afx_msg void OnTimer(UINT_PTR nIDEvent);
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//     ON_WM_TIMER()
//     ON_BN_CLICKED(IDC_START, OnStart)
//     ON_MESSAGE(UM_REMOTE_KEY, OnRemoteKey)
//   END_MESSAGE_MAP()
//
// Reflected messages (ON_NOTIFY_REFLECT, ON_CONTROL_REFLECT) are offered to the control
// that sent them before its parent sees them; the parent sees them only when the control
// has no entry for them or its _EX handler returns FALSE.
#pragma once

#include <win32/user.h>

#include <type_traits>

class CCmdTarget;
class CWnd;
class CPoint;

// Calls the handler of one entry; FALSE when the handler declined (the _EX forms).
using AFX_PMSG = BOOL (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT* result);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;
  UINT nID;
  UINT nLastID;
  AFX_PMSG pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg fills in when asked only whether a handler exists.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  AFX_PMSG pmf;
};

// What WM_NOTIFY handlers get through OnCmdMsg's pExtra.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

#define afx_msg
#define CN_COMMAND 0
#define WM_REFLECT_BASE 0xBC00

#define DECLARE_MESSAGE_MAP()                             \
 protected:                                               \
  static const AFX_MSGMAP* PASCAL GetThisMessageMap();    \
  const AFX_MSGMAP* GetMessageMap() const override;       \
                                                          \
 public:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                              \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }         \
  const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                                  \
    using ThisClass = theClass;                                                             \
    using TheBaseClass = baseClass;                                                         \
    static_assert(std::is_base_of_v<TheBaseClass, ThisClass>, "the map's base class is no base"); \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                   \
  {0, 0, 0, 0, nullptr}};                                                                   \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                       \
  }

// The function of one entry: `self` is the object, `wParam`/`lParam` the message's and
// `afxResult` where the handler's answer goes.
#define ORVANE_AFX_ENTRY(body)                                                              \
  +[](CCmdTarget* afxTarget, WPARAM wParam, LPARAM lParam, LRESULT* afxResult) -> BOOL {    \
    [[maybe_unused]] ThisClass* self = static_cast<ThisClass*>(afxTarget);                  \
    (void)wParam;                                                                           \
    (void)lParam;                                                                           \
    (void)afxResult;                                                                        \
    body                                                                                    \
  }

// A handler bound by its exact signature `sig` (written with `ThisClass::*`).
#define ORVANE_AFX_BIND(sig, member) sig = &ThisClass::member

// Commands and notifications.
#define ON_COMMAND(id, memberFxn)                                                                     \
  {WM_COMMAND, CN_COMMAND, static_cast<WORD>(id), static_cast<WORD>(id),                              \
   ORVANE_AFX_ENTRY(ORVANE_AFX_BIND(void (ThisClass::*f)(), memberFxn); (self->*f)(); return TRUE;)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                       \
  {WM_COMMAND, CN_COMMAND, static_cast<WORD>(id), static_cast<WORD>(idLast),                          \
   ORVANE_AFX_ENTRY(ORVANE_AFX_BIND(void (ThisClass::*f)(UINT), memberFxn);                           \
                    (self->*f)(static_cast<UINT>(wParam)); return TRUE;)},
#define ON_CONTROL(code, id, memberFxn)                                                               \
  {WM_COMMAND, static_cast<WORD>(code), static_cast<WORD>(id), static_cast<WORD>(id),                 \
   ORVANE_AFX_ENTRY(ORVANE_AFX_BIND(void (ThisClass::*f)(), memberFxn); (self->*f)(); return TRUE;)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn)                                                                \
  {WM_NOTIFY, static_cast<WORD>(code), static_cast<WORD>(id), static_cast<WORD>(id),                  \
   ORVANE_AFX_ENTRY(ORVANE_AFX_BIND(void (ThisClass::*f)(NMHDR*, LRESULT*), memberFxn);               \
                    (self->*f)(reinterpret_cast<NMHDR*>(lParam), afxResult); return TRUE;)},
#define ON_NOTIFY_REFLECT(code, memberFxn)                                                            \
  {WM_REFLECT_BASE + WM_NOTIFY, static_cast<WORD>(code), 0, 0,                                        \
   ORVANE_AFX_ENTRY(ORVANE_AFX_BIND(void (ThisClass::*f)(NMHDR*, LRESULT*), memberFxn);               \
                    (self->*f)(reinterpret_cast<NMHDR*>(lParam), afxResult); return TRUE;)},
#define ON_CONTROL_REFLECT(code, memberFxn)                                                           \
  {WM_REFLECT_BASE + WM_COMMAND, static_cast<WORD>(code), 0, 0,                                       \
   ORVANE_AFX_ENTRY(ORVANE_AFX_BIND(void (ThisClass::*f)(), memberFxn); (self->*f)(); return TRUE;)},
// The same with a handler that says whether it took the notification: FALSE lets the
// parent see it too.
#define ON_CONTROL_REFLECT_EX(code, memberFxn)                                                        \
  {WM_REFLECT_BASE + WM_COMMAND, static_cast<WORD>(code), 0, 0,                                       \
   ORVANE_AFX_ENTRY(ORVANE_AFX_BIND(BOOL (ThisClass::*f)(), memberFxn); return (self->*f)();)},
// A control's own colours: the parent's WM_CTLCOLOR* request reflected to the control, as
// CtlColor(dc, kind); a null brush leaves the request to the parent's default.
#define ON_WM_CTLCOLOR_REFLECT()                                                                      \
  {WM_REFLECT_BASE + WM_CTLCOLORMSGBOX, 0, 0, 0,                                                      \
   ORVANE_AFX_ENTRY(ORVANE_AFX_BIND(HBRUSH (ThisClass::*f)(CDC*, UINT), CtlColor);                    \
                    const HBRUSH brush = (self->*f)(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),    \
                                                    static_cast<UINT>(lParam));                       \
                    *afxResult = reinterpret_cast<LRESULT>(brush); return brush != nullptr;)},

// Any message, raw.
#define ON_MESSAGE(message, memberFxn)                                                                \
  {static_cast<UINT>(message), 0, 0, 0,                                                               \
   ORVANE_AFX_ENTRY(ORVANE_AFX_BIND(LRESULT (ThisClass::*f)(WPARAM, LPARAM), memberFxn);              \
                    *afxResult = (self->*f)(wParam, lParam); return TRUE;)},

// Standard window messages, each with the handler MFC gives it.
#define ORVANE_ON_WM(message, sig, member, call) \
  {message, 0, 0, 0, ORVANE_AFX_ENTRY(ORVANE_AFX_BIND(sig, member); call; return TRUE;)},

#define ON_WM_CREATE() \
  ORVANE_ON_WM(WM_CREATE, int (ThisClass::*f)(LPCREATESTRUCT), OnCreate, \
               *afxResult = (self->*f)(reinterpret_cast<LPCREATESTRUCT>(lParam)))
#define ON_WM_DESTROY() ORVANE_ON_WM(WM_DESTROY, void (ThisClass::*f)(), OnDestroy, (self->*f)())
#define ON_WM_NCDESTROY() ORVANE_ON_WM(WM_NCDESTROY, void (ThisClass::*f)(), OnNcDestroy, (self->*f)())
#define ON_WM_CLOSE() ORVANE_ON_WM(WM_CLOSE, void (ThisClass::*f)(), OnClose, (self->*f)())
#define ON_WM_TIMER() \
  ORVANE_ON_WM(WM_TIMER, void (ThisClass::*f)(UINT_PTR), OnTimer, (self->*f)(static_cast<UINT_PTR>(wParam)))
#define ON_WM_SIZE()                                                             \
  ORVANE_ON_WM(WM_SIZE, void (ThisClass::*f)(UINT, int, int), OnSize,            \
               (self->*f)(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))))
#define ON_WM_MOVE() \
  ORVANE_ON_WM(WM_MOVE, void (ThisClass::*f)(int, int), OnMove, (self->*f)(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
#define ON_WM_SHOWWINDOW()                                                                 \
  ORVANE_ON_WM(WM_SHOWWINDOW, void (ThisClass::*f)(BOOL, UINT), OnShowWindow,              \
               (self->*f)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)))
#define ON_WM_ACTIVATE()                                                                   \
  ORVANE_ON_WM(WM_ACTIVATE, void (ThisClass::*f)(UINT, CWnd*, BOOL), OnActivate,           \
               (self->*f)(LOWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam)))
#define ON_WM_NCACTIVATE() \
  ORVANE_ON_WM(WM_NCACTIVATE, BOOL (ThisClass::*f)(BOOL), OnNcActivate, *afxResult = (self->*f)(static_cast<BOOL>(wParam)))
#define ON_WM_GETMINMAXINFO()                                              \
  ORVANE_ON_WM(WM_GETMINMAXINFO, void (ThisClass::*f)(MINMAXINFO*), OnGetMinMaxInfo, \
               (self->*f)(reinterpret_cast<MINMAXINFO*>(lParam)))
#define ON_WM_DEVICECHANGE()                                                               \
  ORVANE_ON_WM(WM_DEVICECHANGE, BOOL (ThisClass::*f)(UINT, DWORD_PTR), OnDeviceChange,      \
               *afxResult = (self->*f)(static_cast<UINT>(wParam), static_cast<DWORD_PTR>(lParam)))
#define ON_WM_PAINT() ORVANE_ON_WM(WM_PAINT, void (ThisClass::*f)(), OnPaint, (self->*f)())
#define ON_WM_SYSCOMMAND()                                                         \
  ORVANE_ON_WM(WM_SYSCOMMAND, void (ThisClass::*f)(UINT, LPARAM), OnSysCommand,   \
               (self->*f)(static_cast<UINT>(wParam), lParam))
#define ORVANE_ON_WM_KEY(message, member)                                                             \
  ORVANE_ON_WM(message, void (ThisClass::*f)(UINT, UINT, UINT), member,                               \
               (self->*f)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_KEYDOWN() ORVANE_ON_WM_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() ORVANE_ON_WM_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() ORVANE_ON_WM_KEY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() ORVANE_ON_WM_KEY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ORVANE_ON_WM_MOUSE(message, member)                                                           \
  ORVANE_ON_WM(message, void (ThisClass::*f)(UINT, CPoint), member,                                   \
               (self->*f)(static_cast<UINT>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
#define ON_WM_MOUSEMOVE() ORVANE_ON_WM_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() ORVANE_ON_WM_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() ORVANE_ON_WM_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() ORVANE_ON_WM_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() ORVANE_ON_WM_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() ORVANE_ON_WM_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_NCLBUTTONDOWN()                                                                        \
  ORVANE_ON_WM(WM_NCLBUTTONDOWN, void (ThisClass::*f)(UINT, CPoint), OnNcLButtonDown,                 \
               (self->*f)(static_cast<UINT>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
#define ON_WM_SETCURSOR()                                                                            \
  ORVANE_ON_WM(WM_SETCURSOR, BOOL (ThisClass::*f)(CWnd*, UINT, UINT), OnSetCursor,                   \
               *afxResult = (self->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_NCHITTEST()                                                                            \
  ORVANE_ON_WM(WM_NCHITTEST, LRESULT (ThisClass::*f)(CPoint), OnNcHitTest,                           \
               *afxResult = (self->*f)(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
#define ON_WM_CAPTURECHANGED()                                                                       \
  ORVANE_ON_WM(WM_CAPTURECHANGED, void (ThisClass::*f)(CWnd*), OnCaptureChanged,                     \
               (self->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))))
#define ON_WM_SETFOCUS() \
  ORVANE_ON_WM(WM_SETFOCUS, void (ThisClass::*f)(CWnd*), OnSetFocus, (self->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))))
#define ON_WM_KILLFOCUS() \
  ORVANE_ON_WM(WM_KILLFOCUS, void (ThisClass::*f)(CWnd*), OnKillFocus, (self->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))))
#define ON_WM_WINDOWPOSCHANGING()                                                                    \
  ORVANE_ON_WM(WM_WINDOWPOSCHANGING, void (ThisClass::*f)(WINDOWPOS*), OnWindowPosChanging,          \
               (self->*f)(reinterpret_cast<WINDOWPOS*>(lParam)))
#define ON_WM_WINDOWPOSCHANGED()                                                                     \
  ORVANE_ON_WM(WM_WINDOWPOSCHANGED, void (ThisClass::*f)(WINDOWPOS*), OnWindowPosChanged,            \
               (self->*f)(reinterpret_cast<WINDOWPOS*>(lParam)))
#define ON_WM_CONTEXTMENU()                                                                          \
  ORVANE_ON_WM(WM_CONTEXTMENU, void (ThisClass::*f)(CWnd*, CPoint), OnContextMenu,                   \
               (self->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
#define ON_WM_MOUSEWHEEL()                                                                           \
  ORVANE_ON_WM(WM_MOUSEWHEEL, BOOL (ThisClass::*f)(UINT, short, CPoint), OnMouseWheel,               \
               *afxResult = (self->*f)(LOWORD(wParam), static_cast<short>(HIWORD(wParam)),           \
                                       CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
#define ON_WM_QUERYDRAGICON()                                                                        \
  ORVANE_ON_WM(WM_QUERYDRAGICON, HCURSOR (ThisClass::*f)(), OnQueryDragIcon,                         \
               *afxResult = reinterpret_cast<LRESULT>((self->*f)()))
#define ON_WM_SIZING() \
  ORVANE_ON_WM(WM_SIZING, void (ThisClass::*f)(UINT, LPRECT), OnSizing, (self->*f)(static_cast<UINT>(wParam), reinterpret_cast<LPRECT>(lParam)))
#define ON_WM_MOVING() \
  ORVANE_ON_WM(WM_MOVING, void (ThisClass::*f)(UINT, LPRECT), OnMoving, (self->*f)(static_cast<UINT>(wParam), reinterpret_cast<LPRECT>(lParam)))
#define ON_WM_ENTERSIZEMOVE() ORVANE_ON_WM(WM_ENTERSIZEMOVE, void (ThisClass::*f)(), OnEnterSizeMove, (self->*f)())
#define ON_WM_EXITSIZEMOVE() ORVANE_ON_WM(WM_EXITSIZEMOVE, void (ThisClass::*f)(), OnExitSizeMove, (self->*f)())
#define ON_WM_POWERBROADCAST()                                                                       \
  ORVANE_ON_WM(WM_POWERBROADCAST, UINT (ThisClass::*f)(UINT, LPARAM), OnPowerBroadcast,              \
               *afxResult = (self->*f)(static_cast<UINT>(wParam), lParam))
#define ON_WM_DROPFILES() \
  ORVANE_ON_WM(WM_DROPFILES, void (ThisClass::*f)(HDROP), OnDropFiles, (self->*f)(reinterpret_cast<HDROP>(wParam)))
