// The capture graph shows its notices in the launcher's taskbar notifier through the
// graphs' own narrow interface: the launcher lends its notifier while it exists.
#include "windows/WindowsTest.h"

#include "graphs/ICaptureNotices.h"
#include "skin/CTaskbarNotifier.h"
#include "windows/main/CMainDlg.h"

namespace {

class CaptureNoticesTest : public test::WindowsTest {
 protected:
  void SetUp() override { writeSkins(); }
};

TEST_F(CaptureNoticesTest, TheLauncherLendsItsNotifierToTheGraphsWhileItExists) {
  EXPECT_EQ(g_pCaptureNotices, nullptr);
  openLauncher();
  ASSERT_NE(g_pTaskbarNotifier, nullptr);
  EXPECT_EQ(g_pCaptureNotices, static_cast<ICaptureNotices*>(g_pTaskbarNotifier));
  g_pCaptureNotices->Show("Invented notice", 500, 3000, 500, 1);
  EXPECT_EQ(std::string(g_pTaskbarNotifier->GetText()), "Invented notice");
  closeLauncher();
  EXPECT_EQ(g_pCaptureNotices, nullptr);
}

}  // namespace
