// CDialog: modal and modeless dialogs from the test templates, with their message maps,
// keyboard handling, and a modal loop that keeps the rest of the program running.
#include "WindowTest.h"

#include <mfc/afxwin.h>
#include <mfc/wnd/CDC.h>
#include <mfc/wnd/CGdiObject.h>
#include <win32/gdi.h>
#include <win32/user/UserSystem.h>

#include <string>

namespace test {
namespace {

class MfcDialogTest : public UserTest {
 protected:
  // Lets time run on while a modal loop has nothing to do.
  void keepTimeMoving(std::uint64_t stepMs) {
    plat::Clock& clock = machine().clock();
    plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), [&clock, stepMs] {
      clock.advance(stepMs);
      return 0;
    });
  }
  ~MfcDialogTest() override { plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), nullptr); }
};

class CTestDialog : public CDialog {
 public:
  explicit CTestDialog(CWnd* parent = nullptr) : CDialog(100, parent) {}
  std::vector<std::string> calls;
  int ticks = 0;
  int endOnTick = 0;
  bool keyAtInit = false;

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    calls.push_back("OnInitDialog");
    SetTimer(7, 100, nullptr);
    if (keyAtInit) ::PostMessageA(::GetDlgItem(m_hWnd, 1000), WM_KEYDOWN, VK_RETURN, 1);
    return TRUE;
  }
  void OnOK() override {
    calls.push_back("OnOK");
    CDialog::OnOK();
  }
  void DoDataExchange(CDataExchange* pDX) override {
    calls.push_back(pDX->m_bSaveAndValidate ? "save" : "load");
  }

 protected:
  afx_msg void OnTimer(UINT_PTR) {
    ++ticks;
    if (ticks == endOnTick) ::SendMessageA(m_hWnd, WM_USER + 9, 0, 0);
  }
  afx_msg LRESULT OnFinish(WPARAM, LPARAM) {
    EndDialog(55);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDialog, CDialog)
  ON_WM_TIMER()
  ON_MESSAGE(WM_USER + 9, OnFinish)
END_MESSAGE_MAP()

TEST_F(MfcDialogTest, DoModalRunsUntilEndDialogFromANestedHandler) {
  CTestDialog dialog;
  dialog.endOnTick = 3;
  keepTimeMoving(100);
  EXPECT_EQ(dialog.DoModal(), 55);
  EXPECT_EQ(dialog.ticks, 3);
  EXPECT_EQ(dialog.calls, (std::vector<std::string>{"load", "OnInitDialog"}));
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(FindWindowA("#32770", "Test Dialog"), nullptr);
}

// The objects FromHandle makes for handles nobody attached, marked so a new one tells.
struct Temporaries {
  HDC dc = CreateCompatibleDC(nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HWND window = createRecorder("Plain", WS_POPUP);
  CMenu menu;  // its sub-menu, as a list's context menu reaches it through GetSubMenu
  Temporaries() {
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "Sub");
  }
  void mark() {
    CDC::FromHandle(dc)->m_hAttribDC = nullptr;
    CGdiObject::FromHandle(brush)->m_hObject = nullptr;
    CWnd::FromHandle(window)->m_hWnd = nullptr;
    menu.GetSubMenu(0)->m_hMenu = nullptr;
  }
  // How many of the four are still the marked ones.
  int marked() {
    return (CDC::FromHandle(dc)->m_hAttribDC == nullptr) + (CGdiObject::FromHandle(brush)->m_hObject == nullptr) +
           (CWnd::FromHandle(window)->m_hWnd == nullptr) + (menu.GetSubMenu(0)->m_hMenu == nullptr);
  }
  ~Temporaries() {
    AfxDeleteTempMap();
    DeleteDC(dc);
    DeleteObject(brush);
    DestroyWindow(window);
  }
};

// A dialog whose timer handler runs a nested modal dialog over temporary objects it holds.
class CNestingDialog : public CTestDialog {
 public:
  Temporaries* temporaries = nullptr;
  int markedAfterNested = -1;

 protected:
  afx_msg void OnTimer(UINT_PTR) {
    KillTimer(7);
    temporaries->mark();
    CTestDialog nested;
    nested.endOnTick = 1;
    nested.DoModal();
    markedAfterNested = temporaries->marked();
    EndDialog(IDOK);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNestingDialog, CTestDialog)
  ON_WM_TIMER()
END_MESSAGE_MAP()

// Every paint of an owner-drawn control makes a temporary CDC for its new device context:
// the main window's modal loop, the program's only loop, lets them go when it is idle, as a
// thread's loop does, but not while a handler that may still use them runs beneath it.
TEST_F(MfcDialogTest, TemporaryObjectsGoWhenTheModalLoopIsIdleButNotUnderARunningHandler) {
  keepTimeMoving(100);
  Temporaries temporaries;
  temporaries.mark();
  CTestDialog dialog;
  dialog.endOnTick = 1;
  EXPECT_EQ(dialog.DoModal(), 55);
  EXPECT_EQ(temporaries.marked(), 0) << "made anew: the old ones went";

  CNestingDialog nesting;
  nesting.temporaries = &temporaries;
  EXPECT_EQ(nesting.DoModal(), IDOK);
  EXPECT_EQ(nesting.markedAfterNested, 4) << "the nested loop kept what the handler holds";
}

TEST_F(MfcDialogTest, EnterInTheDialogPressesTheDefaultButton) {
  CTestDialog dialog;
  dialog.keyAtInit = true;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.calls, (std::vector<std::string>{"load", "OnInitDialog", "OnOK", "save"}));
}

TEST_F(MfcDialogTest, ClosingTheDialogCancelsIt) {
  static CTestDialog* running = nullptr;
  CTestDialog dialog;
  running = &dialog;
  plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), [] {
    if (running->m_hWnd) ::PostMessageA(running->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(MfcDialogTest, TheOwnerIsDisabledDuringDoModalAndTheModelessWindowsRun) {
  static HWND owner = nullptr;
  static bool ownerDisabled = false;
  static int modelessTicks = 0;
  registerClass("ModelessOwner", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_TIMER) {
      ++modelessTicks;
      ownerDisabled = !IsWindowEnabled(owner);
      return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  });
  owner = createRecorder("launcher", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND modeless = CreateWindowExA(0, "ModelessOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 5, 5, owner, nullptr, nullptr,
                                  nullptr);
  SetTimer(modeless, 1, 50, nullptr);
  CTestDialog dialog(CWnd::FromHandle(owner));
  dialog.endOnTick = 2;
  keepTimeMoving(50);
  EXPECT_EQ(dialog.DoModal(), 55);
  EXPECT_GE(modelessTicks, 3);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
}

class CPage : public CDialog {
 public:
  CPage() = default;
  int inits = 0;
  BOOL OnInitDialog() override {
    ++inits;
    return CDialog::OnInitDialog();
  }
};

TEST_F(MfcDialogTest, AModelessDialogLivesUntilItIsDestroyed) {
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
  CPage page;
  ASSERT_TRUE(page.Create(101, &host));
  EXPECT_EQ(page.inits, 1);
  EXPECT_EQ(page.GetParent(), &host);
  EXPECT_NE(page.GetDlgItem(1200), nullptr);
  EXPECT_FALSE(page.Create(999, &host));
  EXPECT_TRUE(page.DestroyWindow());
  EXPECT_EQ(page.m_hWnd, nullptr);
}

// DDX_Control binds a member object to the template's control once; the binding ends
// with the dialog, so the object can bind again to the next one.
class CBoundDialog : public CDialog {
 public:
  CBoundDialog() : CDialog(100) {}
  CEdit m_edit;
  CWnd m_missing;
  HWND boundAtInit = nullptr;

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    boundAtInit = m_edit.m_hWnd;
    UpdateData(FALSE);  // a second exchange keeps the binding
    m_edit.SetWindowText("bound");
    EndDialog(IDOK);
    return TRUE;
  }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, 1000, m_edit);
    DDX_Control(pDX, 4242, m_missing);
  }
};

TEST_F(MfcDialogTest, DataExchangeBindsAMemberControlForTheDialogsLife) {
  CBoundDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_NE(dialog.boundAtInit, nullptr);
  EXPECT_EQ(dialog.m_edit.m_hWnd, nullptr) << "let go with its window";
  EXPECT_EQ(dialog.m_missing.m_hWnd, nullptr);
  EXPECT_EQ(dialog.DoModal(), IDOK) << "and bound again";
}

}  // namespace
}  // namespace test
