// MFC windows: message maps, default handling, subclassing, reflection, frames created by
// class name, the main window and worker threads.
#include "WindowTest.h"

#include <mfc/afxwin.h>
#include <win32/sync.h>
#include <win32/user/UserSystem.h>

#include <future>
#include <string>

namespace test {
namespace {

class MfcWindowTest : public UserTest {};

std::vector<std::string> g_calls;

// A window whose map handles a few messages and leaves the rest to the default.
class CProbeWnd : public CWnd {
 public:
  int created = 0;
  UINT_PTR lastTimer = 0;
  CSize lastSize;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    ++created;
    g_calls.push_back(std::string("OnCreate ") + cs->lpszName);
    return CWnd::OnCreate(cs);
  }
  afx_msg void OnTimer(UINT_PTR nIDEvent) { lastTimer = nIDEvent; }
  afx_msg void OnSize(UINT, int cx, int cy) { lastSize = CSize(cx, cy); }
  afx_msg LRESULT OnRemoteKey(WPARAM wParam, LPARAM lParam) {
    g_calls.push_back("OnRemoteKey " + std::to_string(lParam));
    return static_cast<LRESULT>(wParam + 1);
  }
  afx_msg void OnStart() { g_calls.push_back("OnStart"); }
  afx_msg void OnRange(UINT id) { g_calls.push_back("OnRange " + std::to_string(id)); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_TIMER()
  ON_WM_SIZE()
  ON_MESSAGE(0x46D, OnRemoteKey)
  ON_COMMAND(459, OnStart)
  ON_COMMAND_RANGE(5000, 5010, OnRange)
END_MESSAGE_MAP()

// A derived map adds its own entries; the base's still apply to the rest.
class CDerivedProbe : public CProbeWnd {
 protected:
  afx_msg void OnTimer(UINT_PTR) { g_calls.push_back("derived timer"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbe, CProbeWnd)
  ON_WM_TIMER()
END_MESSAGE_MAP()

TEST_F(MfcWindowTest, TheMessageMapRoutesMessagesCommandsAndTheRestToTheDefault) {
  g_calls.clear();
  CProbeWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "probe", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
  EXPECT_EQ(wnd.created, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
  EXPECT_EQ(wnd.lastSize, CSize(200, 100));
  EXPECT_EQ(wnd.SendMessage(0x46D, 41, 20), 42);
  wnd.SendMessage(WM_TIMER, 655);
  EXPECT_EQ(wnd.lastTimer, 655u);
  wnd.SendMessage(WM_COMMAND, 459);
  wnd.SendMessage(WM_COMMAND, 5003);
  wnd.SendMessage(WM_COMMAND, 5011);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"OnCreate probe", "OnRemoteKey 20", "OnStart", "OnRange 5003"}));
  // Unhandled messages reach the window's default procedure.
  wnd.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("renamed"));
  CString title;
  wnd.GetWindowText(title);
  EXPECT_EQ(title, "renamed");
  HWND hwnd = wnd.m_hWnd;
  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
}

TEST_F(MfcWindowTest, ADerivedMapComesBeforeItsBase) {
  g_calls.clear();
  CDerivedProbe wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "derived", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  wnd.SendMessage(WM_TIMER, 1);
  wnd.SendMessage(WM_COMMAND, 459);
  EXPECT_EQ(wnd.lastTimer, 0u);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"OnCreate derived", "derived timer", "OnStart"}));
}

// Default() hands the message being handled to the window's previous procedure, and the
// thread state keeps the right message across nested sends.
class CSubclassProbe : public CWnd {
 public:
  std::vector<UINT> seenByDefault;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER + 1) {
      ::SendMessageA(m_hWnd, WM_USER + 2, 0, 0);  // nested: replaces and restores the last message
      return Default();
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  void PreSubclassWindow() override { g_calls.push_back("PreSubclassWindow"); }
};

TEST_F(MfcWindowTest, SubclassingAnExistingWindowKeepsItsProcedureForDefault) {
  g_calls.clear();
  HWND hwnd = createRecorder("plain", WS_POPUP);
  CSubclassProbe wnd;
  ASSERT_TRUE(wnd.SubclassWindow(hwnd));
  EXPECT_EQ(g_calls, (std::vector<std::string>{"PreSubclassWindow"}));
  recorder().clear();
  ::SendMessageA(hwnd, WM_USER + 1, 7, 8);
  // The recording class procedure got the nested message and then the outer one, with its
  // own parameters, through Default().
  const auto all = recorder().all();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].message, static_cast<UINT>(WM_USER + 2));
  EXPECT_EQ(all[1].message, static_cast<UINT>(WM_USER + 1));
  EXPECT_EQ(all[1].wParam, 7u);
  EXPECT_EQ(all[1].lParam, 8);
  EXPECT_EQ(wnd.UnsubclassWindow(), hwnd);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC)), &recordingProc);
}

// A control reflects its notifications to itself first; the parent sees the rest.
class CReflectingButton : public CWnd {
 public:
  int reflected = 0;

 protected:
  afx_msg void OnClickedSelf() { ++reflected; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CWnd)
  ON_CONTROL_REFLECT(BN_CLICKED, OnClickedSelf)
END_MESSAGE_MAP()

// One that looks at its click and leaves it to the parent as well.
class CSharingButton : public CWnd {
 public:
  int seen = 0;

 protected:
  afx_msg BOOL OnClickedShared() {
    ++seen;
    return FALSE;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSharingButton, CWnd)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedShared)
END_MESSAGE_MAP()

class CParentWnd : public CWnd {
 public:
  int clicked = 0;
  int notified = 0;
  LRESULT notifyResult = 0;

 protected:
  afx_msg void OnClicked() { ++clicked; }
  afx_msg void OnSized(NMHDR* header, LRESULT* result) {
    ++notified;
    EXPECT_EQ(header->code, 21522u);
    *result = 9;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
  ON_BN_CLICKED(11, OnClicked)
  ON_BN_CLICKED(12, OnClicked)
  ON_NOTIFY(21522, 12, OnSized)
END_MESSAGE_MAP()

TEST_F(MfcWindowTest, ReflectedNotificationsGoToTheControlFirst) {
  CParentWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
  CReflectingButton reflecting;
  ASSERT_TRUE(reflecting.Create("BUTTON", "r", WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 11));
  HWND plain = ::CreateWindowExA(0, "BUTTON", "p", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd,
                                 reinterpret_cast<HMENU>(12), nullptr, nullptr);
  ::SendMessageA(reflecting.m_hWnd, BM_CLICK, 0, 0);
  ::SendMessageA(plain, BM_CLICK, 0, 0);
  EXPECT_EQ(reflecting.reflected, 1);
  EXPECT_EQ(parent.clicked, 1);
  CSharingButton sharing;
  ASSERT_TRUE(sharing.Create("BUTTON", "s", WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 12));
  ::SendMessageA(sharing.m_hWnd, BM_CLICK, 0, 0);
  EXPECT_EQ(sharing.seen, 1);
  EXPECT_EQ(parent.clicked, 2);
  NMHDR header{plain, 12, 21522};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 12, reinterpret_cast<LPARAM>(&header)), 9);
  EXPECT_EQ(parent.notified, 1);
}

// A frame created by class name, as a device watcher is.
bool g_observerDeleted = false;

class CTestObserver : public CFrameWnd {
  DECLARE_DYNCREATE(CTestObserver)

 public:
  ~CTestObserver() override { g_observerDeleted = true; }
  std::vector<UINT> events;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    g_calls.push_back("registered");
    return 0;
  }
  afx_msg void OnClose() {
    g_calls.push_back("unregistered");
    CFrameWnd::OnClose();
  }
  afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData) {
    events.push_back(nEventType);
    return CFrameWnd::OnDeviceChange(nEventType, dwData);
  }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestObserver, CFrameWnd)

BEGIN_MESSAGE_MAP(CTestObserver, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_DEVICECHANGE()
END_MESSAGE_MAP()

TEST_F(MfcWindowTest, AFrameMadeByClassNameLivesAndDeletesItself) {
  g_calls.clear();
  g_observerDeleted = false;
  CRuntimeClass* cls = CRuntimeClass::FromName("CTestObserver");
  ASSERT_NE(cls, nullptr);
  auto* frame = dynamic_cast<CTestObserver*>(cls->CreateObject());
  ASSERT_NE(frame, nullptr);
  ASSERT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
  ASSERT_TRUE(frame->Create(nullptr, "Devices", WS_POPUP | WS_BORDER | WS_SYSMENU, CRect(0, 0, 2, 2)));
  EXPECT_FALSE(frame->IsWindowVisible());
  EXPECT_EQ(CWnd::FindWindow(nullptr, "Devices"), frame);
  frame->SendMessage(WM_DEVICECHANGE, 0x8000, 0);
  frame->SendMessage(WM_DEVICECHANGE, 0x8004, 0);
  EXPECT_EQ(frame->events, (std::vector<UINT>{0x8000, 0x8004}));
  HWND hwnd = frame->m_hWnd;
  ::SendMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_TRUE(g_observerDeleted);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"registered", "unregistered"}));
}

TEST_F(MfcWindowTest, StylesChangeLiveAndTheFrameFollows) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "styled", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
  EXPECT_TRUE(wnd.ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0, SWP_FRAMECHANGED));
  EXPECT_FALSE(wnd.GetStyle() & WS_CAPTION);
  EXPECT_FALSE(wnd.ModifyStyle(WS_CAPTION, 0));
  CRect client;
  wnd.GetClientRect(&client);
  EXPECT_EQ(client, CRect(0, 0, 300, 200));
  EXPECT_TRUE(wnd.ModifyStyleEx(0, WS_EX_APPWINDOW));
  EXPECT_TRUE(wnd.GetExStyle() & WS_EX_APPWINDOW);
}

TEST_F(MfcWindowTest, ForeignWindowsGetTemporaryObjects) {
  HWND foreign = createRecorder("foreign", WS_POPUP);
  CWnd* temporary = CWnd::FromHandle(foreign);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(temporary->m_hWnd, foreign);
  EXPECT_EQ(CWnd::FromHandle(foreign), temporary);
  EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
  AfxDeleteTempMap();
  EXPECT_TRUE(::IsWindow(foreign));
}

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("Orvane Test") {}
};

TEST_F(MfcWindowTest, TheApplicationKnowsItsMainWindowAndNamesItsMessageBoxes) {
  CTestApp app;
  EXPECT_EQ(AfxGetApp(), &app);
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  // Resources come from the program unless another module is named.
  EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
  const auto other = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(0x5000));
  AfxSetResourceHandle(other);
  EXPECT_EQ(AfxGetResourceHandle(), other);
  AfxSetResourceHandle(nullptr);
  EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
  CFrameWnd* frame = new CFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  app.m_pMainWnd = frame;
  HWND child = createRecorder("child", WS_CHILD, frame->m_hWnd, 3);
  EXPECT_EQ(CWnd::GetSafeOwner(CWnd::FromHandle(child))->m_hWnd, frame->m_hWnd);
  EXPECT_EQ(AfxMessageBox("Cannot set frame rate for capture"), IDOK);
  const auto boxes = plat::UserSystem::current().messageBoxes().records();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Orvane Test");
  EXPECT_EQ(boxes[0].owner, frame->m_hWnd);
  // Destroying the main window ends the thread's loop.
  frame->DestroyWindow();
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  MSG msg;
  bool quit = false;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) quit = quit || msg.message == WM_QUIT;
  EXPECT_TRUE(quit);
}

UINT workerSends(LPVOID param) {
  auto* target = static_cast<CWnd*>(param);
  return static_cast<UINT>(target->SendMessage(0x46D, 1, 99));
}

TEST_F(MfcWindowTest, AWorkerStartedByAfxBeginThreadSendsToTheUiThread) {
  g_calls.clear();
  CProbeWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "ui", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  CWinThread* thread = AfxBeginThread(workerSends, &wnd, 0, 0, CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  thread->m_bAutoDelete = FALSE;
  thread->ResumeThread();
  const auto queue = plat::UserSystem::current().queue();
  while (!queue->hasSent()) std::this_thread::yield();
  EXPECT_TRUE(g_calls.size() == 1);  // the worker waits; only OnCreate ran
  MSG msg;
  ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  ASSERT_EQ(::WaitForSingleObject(thread->m_hThread, INFINITE), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeThread(thread->m_hThread, &code);
  EXPECT_EQ(code, 2u);
  EXPECT_EQ(g_calls.back(), "OnRemoteKey 99");
  delete thread;
}

}  // namespace
}  // namespace test
