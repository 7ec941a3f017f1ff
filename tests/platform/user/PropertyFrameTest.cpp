// The property frame: pages created by class and hosted through their site, one tab each,
// applied on OK only, and every page let go of its objects and site when the frame closes.
#include "WindowTest.h"

#include <com/BuiltinClasses.h>
#include <com/objbase.h>
#include <com/olectl.h>
#include <robot/Robot.h>
#include <win32/user/UserSystem.h>

#include <cwchar>
#include <functional>
#include <string>

namespace test {
namespace {

const CLSID kFirstPage = {0x51E0C7A1, 0x2B44, 0x4D0E, {0x9C, 0x11, 0x70, 0x3A, 0x5D, 0x21, 0x6E, 0x01}};
const CLSID kSecondPage = {0x51E0C7A1, 0x2B44, 0x4D0E, {0x9C, 0x11, 0x70, 0x3A, 0x5D, 0x21, 0x6E, 0x02}};
const CLSID kNoSuchPage = {0x51E0C7A1, 0x2B44, 0x4D0E, {0x9C, 0x11, 0x70, 0x3A, 0x5D, 0x21, 0x6E, 0x03}};

// What the pages went through; the live pages of the test register here.
struct PageLog {
  int created = 0;
  int alive = 0;
  int applied = 0;
  int objectsGiven = 0;
  int objectsTaken = 0;
  int sitesHeld = 0;
  HWND parent = nullptr;
  RECT area{};
};
PageLog g_log;

// A page showing a STATIC with its title.
class TestPage final : public IPropertyPage {
 public:
  explicit TestPage(const wchar_t* title) : m_title(title) {
    ++g_log.created;
    ++g_log.alive;
  }
  ~TestPage() { --g_log.alive; }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid != IID_IUnknown && riid != IID_IPropertyPage) {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    *ppv = static_cast<IPropertyPage*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }
  STDMETHODIMP SetPageSite(IPropertyPageSite* site) override {
    if (site) site->AddRef();
    if (m_site) {
      m_site->Release();
      --g_log.sitesHeld;
    }
    m_site = site;
    if (site) ++g_log.sitesHeld;
    return S_OK;
  }
  STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL) override {
    g_log.parent = parent;
    g_log.area = *rect;
    const std::string text(m_title.begin(), m_title.end());
    m_window = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD, rect->left, rect->top, rect->right - rect->left,
                               rect->bottom - rect->top, parent, nullptr, nullptr, nullptr);
    return m_window ? S_OK : E_FAIL;
  }
  STDMETHODIMP Deactivate() override {
    DestroyWindow(m_window);
    m_window = nullptr;
    return S_OK;
  }
  STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override {
    const std::size_t bytes = (m_title.size() + 1) * sizeof(wchar_t);
    info->pszTitle = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    std::wmemcpy(info->pszTitle, m_title.c_str(), m_title.size() + 1);
    info->size = SIZE{200, 120};
    return S_OK;
  }
  STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override {
    for (ULONG i = 0; i < count; ++i) objects[i]->AddRef();
    for (IUnknown* held : m_objects) held->Release();
    g_log.objectsTaken += static_cast<int>(m_objects.size());
    m_objects.assign(objects, objects + count);
    g_log.objectsGiven += static_cast<int>(count);
    return S_OK;
  }
  STDMETHODIMP Show(UINT show) override {
    ShowWindow(m_window, static_cast<int>(show));
    return S_OK;
  }
  STDMETHODIMP Move(LPCRECT) override { return S_OK; }
  STDMETHODIMP IsPageDirty() override { return S_OK; }
  STDMETHODIMP Apply() override {
    ++g_log.applied;
    return S_OK;
  }
  STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }

 private:
  ULONG m_refs = 1;
  std::wstring m_title;
  IPropertyPageSite* m_site = nullptr;
  std::vector<IUnknown*> m_objects;
  HWND m_window = nullptr;
};

template <const wchar_t* Title>
HRESULT createPage(IUnknown*, REFIID iid, void** out) {
  auto* page = new TestPage(Title);
  const HRESULT hr = page->QueryInterface(iid, out);
  page->Release();
  return hr;
}
constexpr wchar_t kFirstTitle[] = L"General";
constexpr wchar_t kSecondTitle[] = L"Colour";

// An object to hand the pages, counting its references.
class Counted final : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  ULONG refs = 1;
};

class PropertyFrameTest : public UserTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    g_log = PageLog{};
    plat::BuiltinClasses::add(kFirstPage, &createPage<kFirstTitle>);
    plat::BuiltinClasses::add(kSecondPage, &createPage<kSecondTitle>);
    owner = createRecorder("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  }
  void TearDown() override {
    plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), nullptr);
    CoUninitialize();
  }
  // `user` runs once the frame waits for its user, with the frame found by its title.
  void whenShown(const char* title, std::function<void(HWND)> user) {
    plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), [this, title, user] {
      HWND frame = FindWindowA("#32770", title);
      if (!frame || handled) return -1;
      handled = true;
      user(frame);
      return 0;
    });
  }
  HRESULT open(LPCOLESTR caption, std::vector<CLSID> pages) {
    IUnknown* objects[] = {&object};
    return OleCreatePropertyFrame(owner, 30, 40, caption, 1, objects, static_cast<ULONG>(pages.size()), pages.data(),
                                  0, 0, nullptr);
  }

  HWND owner = nullptr;
  Counted object;
  bool handled = false;
  plat::Robot robot{false};
};

std::string textOf(HWND hwnd) {
  char text[64] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

TEST_F(PropertyFrameTest, EveryPageHasATabAndOkAppliesThemAll) {
  HWND seenFrame = nullptr;
  bool ownerDisabled = false;
  RECT where{};
  std::vector<std::string> tabs;
  std::vector<bool> shown;
  whenShown("Tuner Properties", [&](HWND frame) {
    seenFrame = frame;
    ownerDisabled = !IsWindowEnabled(owner);
    GetWindowRect(frame, &where);
    tabs = {textOf(GetDlgItem(frame, 0x3000)), textOf(GetDlgItem(frame, 0x3001))};
    robot.click(GetDlgItem(frame, 0x3001));
    robot.pumpUntilIdle();
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      char cls[16] = {};
      GetClassNameA(child, cls, sizeof cls);
      if (std::string(cls) == "STATIC") shown.push_back(IsWindowVisible(child));
    }
    robot.click(GetDlgItem(frame, IDOK));
  });
  EXPECT_EQ(open(L"Tuner", {kFirstPage, kSecondPage}), S_OK);
  ASSERT_NE(seenFrame, nullptr);
  EXPECT_FALSE(IsWindow(seenFrame));
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(where.left, 30);
  EXPECT_EQ(where.top, 40);
  EXPECT_EQ(tabs, (std::vector<std::string>{"General", "Colour"}));
  EXPECT_EQ(shown, (std::vector<bool>{false, true})) << "the second tab shows the second page only";
  EXPECT_EQ(g_log.parent, seenFrame);
  EXPECT_EQ(g_log.area.right - g_log.area.left, 200);
  EXPECT_EQ(g_log.area.bottom - g_log.area.top, 120);
  EXPECT_EQ(g_log.applied, 2);
  // Every page gave its object and its site back and is gone.
  EXPECT_EQ(g_log.objectsGiven, 2);
  EXPECT_EQ(g_log.objectsTaken, 2);
  EXPECT_EQ(g_log.sitesHeld, 0);
  EXPECT_EQ(g_log.alive, 0);
  EXPECT_EQ(object.refs, 1u);
}

TEST_F(PropertyFrameTest, CancelAndTheCloseBoxApplyNothing) {
  whenShown("Properties", [&](HWND frame) { robot.click(GetDlgItem(frame, IDCANCEL)); });
  EXPECT_EQ(open(nullptr, {kFirstPage}), S_OK);
  EXPECT_TRUE(handled) << "no caption gives a frame titled Properties";
  EXPECT_EQ(g_log.applied, 0);

  handled = false;
  whenShown("Properties", [](HWND frame) { PostMessageA(frame, WM_SYSCOMMAND, SC_CLOSE, 0); });
  EXPECT_EQ(open(L"", {kFirstPage}), S_OK);
  EXPECT_TRUE(handled);
  EXPECT_EQ(g_log.applied, 0);
  EXPECT_EQ(g_log.alive, 0);
}

TEST_F(PropertyFrameTest, WithNobodyToAnswerTheFrameTakesOk) {
  EXPECT_EQ(open(L"Tuner", {kFirstPage}), S_OK);
  EXPECT_EQ(g_log.applied, 1);
  EXPECT_EQ(FindWindowA("#32770", "Tuner Properties"), nullptr);
}

TEST_F(PropertyFrameTest, APageThatCannotBeMadeShowsNothing) {
  bool shown = false;
  whenShown("Tuner Properties", [&](HWND) { shown = true; });
  EXPECT_EQ(open(L"Tuner", {kFirstPage, kNoSuchPage}), REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(shown);
  EXPECT_EQ(g_log.created, 1);
  EXPECT_EQ(g_log.alive, 0);
  EXPECT_EQ(g_log.sitesHeld, 0);
  EXPECT_EQ(object.refs, 1u);
}

TEST_F(PropertyFrameTest, MissingArraysAreRefused) {
  CLSID page = kFirstPage;
  IUnknown* objects[] = {&object};
  EXPECT_EQ(OleCreatePropertyFrame(owner, 0, 0, nullptr, 1, nullptr, 1, &page, 0, 0, nullptr), E_POINTER);
  EXPECT_EQ(OleCreatePropertyFrame(owner, 0, 0, nullptr, 1, objects, 1, nullptr, 0, 0, nullptr), E_POINTER);
  EXPECT_EQ(g_log.created, 0);
}

}  // namespace
}  // namespace test
