// The scaffolding every skinned window shares, seen through the launcher: button entries
// read from the skin, their layout in the design space, and the layout switch between
// the maximised and the restored sections.
#include "windows/WindowsTest.h"

#include "skin/CSkinButton.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/SharedPlacement.h"

namespace {

class SkinDialogTest : public test::WindowsTest {
 protected:
  void skin(const std::string& buttons, const std::string& restored = "") {
    test::WriteIniFile(programFile("Skin\\Normal\\skin.ini"),
                       "[Main-SystemButtons]\n" + buttons + "[Main-SystemButtonsMin]\n" + restored);
  }
  std::string place(int index) {
    CRect rc;
    launcher->GetSkinButton(index)->GetWindowRect(&rc);
    launcher->ScreenToClient(&rc);
    return test::Text(rc);
  }
};

TEST_F(SkinDialogTest, SixFieldsMakeAButtonAndOnlyBlanksAfterACommaGo) {
  skin("1=TV_BUTTON,tv.bmp,100,200,180,240\n2=PIC_BUTTON ,pic.bmp, 10, 20, 30, 40,0\n");
  openLauncher();
  ASSERT_EQ(launcher->GetSkinButtonCount(), 2);
  EXPECT_EQ(launcher->GetSkinButton(0)->GetName(), "TV_BUTTON");
  EXPECT_EQ(place(0), "100,200,180,240");
  EXPECT_EQ(launcher->GetSkinButton(1)->GetName(), "PIC_BUTTON ");
  EXPECT_EQ(place(1), "10,20,30,40");
  EXPECT_EQ(launcher->FindSkinButton("PIC_BUTTON"), nullptr) << "the blank before the comma stays";
}

TEST_F(SkinDialogTest, KeysAreReadUpToTheirCountSoAMissingKeyHidesTheLastOne) {
  skin("1=A,a.bmp,0,0,10,10,0\n2=B,b.bmp,0,0,10,10,0\n4=D,d.bmp,0,0,10,10,0\n");
  openLauncher();
  ASSERT_EQ(launcher->GetSkinButtonCount(), 2);
  EXPECT_EQ(launcher->GetSkinButton(1)->GetName(), "B");
  EXPECT_EQ(launcher->GetSkinButton(0)->GetCommandId(), 5000);
  EXPECT_EQ(launcher->GetSkinButton(1)->GetCommandId(), 5001);
}

// Restored, the fifth button on takes 800 x 600 units, the first four 1024 x 768.
TEST_F(SkinDialogTest, TheRestoredLayoutScalesFromTheFifthButtonOn) {
  std::string buttons;
  for (int key = 1; key <= 5; ++key) buttons += std::to_string(key) + "=B" + std::to_string(key) + ",b.bmp,80,60,160,120,0\n";
  skin(buttons, buttons);
  openLauncher();
  launcher->RestorePlacement();
  EXPECT_EQ(place(3), "62,46,125,93");
  EXPECT_EQ(place(4), "80,60,160,120");
}

// An empty key keeps the later buttons on their own keys' layout when the window switches
// between its sections.
TEST_F(SkinDialogTest, TheLayoutSwitchFollowsEachButtonsOwnKey) {
  skin("1=A,a.bmp,0,0,100,100,0\n2=\n3=C,c.bmp,200,200,300,300,0\n",
       "1=A,a.bmp,0,0,50,50,0\n2=B,b.bmp,10,10,20,20,0\n3=C,c.bmp,100,100,150,150,0\n");
  openLauncher();
  ASSERT_EQ(launcher->GetSkinButtonCount(), 2);
  launcher->RestorePlacement();
  RECT design{};
  launcher->GetSkinButton(1)->GetSkinRect(design);
  EXPECT_EQ(test::Text(design), "100,100,150,150");
  launcher->MaximizeToWorkArea(FALSE);
  launcher->GetSkinButton(1)->GetSkinRect(design);
  EXPECT_EQ(test::Text(design), "200,200,300,300");
}

TEST_F(SkinDialogTest, OnALargerScreenTheDesignSpaceStretches) {
  machine().ini().setValue("Screen", "Width", "1280");
  machine().ini().setValue("Screen", "Height", "1024");
  skin("1=TV_BUTTON,tv.bmp,100,200,180,240,0\n");
  openLauncher();
  EXPECT_EQ(place(0), "125,266,225,320");
}

TEST_F(SkinDialogTest, EscapeDoesNothingAndHelpIsRecorded) {
  skin("1=TV_BUTTON,tv.bmp,100,200,180,240,0\n");
  openLauncher();
  robot.key(VK_ESCAPE);
  EXPECT_TRUE(launcher->IsWindowVisible());
  robot.key(VK_F1);
  EXPECT_EQ(helpRequests(), std::vector<std::string>{programPath("help\\help.chm") + " 0"});
}

}  // namespace
