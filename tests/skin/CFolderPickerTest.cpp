// The folder picker over the machine's drives and folders, played by the robot: a folder
// browsed to and chosen, one typed and created after the user agreed, refusals that keep
// the browser open, and cancelling.
#include "ControlTest.h"

#include "skin/CFolderPicker.h"

#include <robot/Screenshot.h>

#include <filesystem>

namespace {

constexpr const char* kCaption = "Record folder";

class CFolderPickerTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    std::filesystem::create_directories(testMachine.root() / "C" / "Media" / "Clips");
    std::filesystem::create_directories(testMachine.root() / "C" / "Media" / "Stills");
  }
  static HWND Browser() { return FindWindowA("#32770", kCaption); }
  static HWND List() { return GetDlgItem(Browser(), IDC_BROWSE_TREE); }
  static HWND Edit() { return GetDlgItem(Browser(), CFolderPicker::kEditId); }
  static std::string Text(HWND hwnd) {
    char text[MAX_PATH] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
  }
  static std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessageA(List(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[MAX_PATH] = {};
      SendMessageA(List(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      entries.emplace_back(text);
    }
    return entries;
  }
  static POINT Entry(const std::string& name) {
    const auto entries = Entries();
    const auto at = std::find(entries.begin(), entries.end(), name) - entries.begin();
    RECT rect{};
    SendMessageA(List(), LB_GETITEMRECT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&rect));
    POINT pt{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(List(), &pt);
    return pt;
  }
  // Into the field, over what it holds. The focus moves first: typed keys go to the focus.
  static void Type(plat::Robot& user, const char* text) {
    SetFocus(Edit());
    SendMessageA(Edit(), EM_SETSEL, 0, -1);
    user.type(text);
  }
  bool Exists(const std::string& relative) { return std::filesystem::is_directory(testMachine.root() / "C" / relative); }
};

TEST_F(CFolderPickerTest, AFolderIsBrowsedToAndChosen) {
  CFolderPicker picker(kCaption, "Choose the folder for recordings", "C:\\Media", parent());
  std::vector<std::string> top, inside;
  std::string shown;
  robot.duringModal([&](plat::Robot& user) {
    ASSERT_NE(Browser(), nullptr);
    top = Entries();
    shown = Text(Edit());
    user.doubleClick(Entry("Media"));
  });
  robot.duringModal([&](plat::Robot& user) {
    inside = Entries();
    user.click(Entry("Stills"));
  });
  robot.duringModal([&](plat::Robot& user) {
    shown = Text(Edit());
    const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-screens";
    std::filesystem::create_directories(shots);
    plat::Screenshot::saveWindow(Browser(), shots / "folderpicker.png");
    user.click(GetDlgItem(Browser(), IDOK));
  });
  EXPECT_EQ(picker.DoModal(), IDOK);
  ASSERT_FALSE(top.empty());
  EXPECT_EQ(top.front(), "..");
  EXPECT_NE(std::find(top.begin(), top.end(), "Media"), top.end());
  EXPECT_EQ(inside, (std::vector<std::string>{"..", "Clips", "Stills"}));
  EXPECT_EQ(shown, "C:\\Media\\Stills");
  EXPECT_EQ(picker.GetPath(), "C:\\Media\\Stills");
}

TEST_F(CFolderPickerTest, TheDrivesAreTheTopLevelAndADriveAloneIsAccepted) {
  CFolderPicker picker(kCaption, "", "C:\\", parent());
  std::vector<std::string> drives;
  robot.duringModal([&](plat::Robot& user) {
    drives = Entries();
    user.key(VK_RETURN);
  });
  EXPECT_EQ(picker.DoModal(), IDOK);
  EXPECT_EQ(drives, (std::vector<std::string>{"C:\\", "Z:\\"}));
  EXPECT_EQ(picker.GetPath(), "C:\\");
}

TEST_F(CFolderPickerTest, ATypedFolderIsCreatedOnlyAfterTheUserAgrees) {
  CFolderPicker picker(kCaption, "", "C:\\Media", parent());
  robot.duringModal([&](plat::Robot& user) {
    Type(user, "C:\\Media\\New\\Deep");
    user.answerNextMessageBox(IDNO);
    user.click(GetDlgItem(Browser(), IDOK));
  });
  robot.duringModal([&](plat::Robot& user) {
    // Still open, nothing made; now the user agrees.
    EXPECT_NE(Browser(), nullptr);
    EXPECT_FALSE(Exists("Media/New"));
    user.answerNextMessageBox(IDYES);
    user.click(GetDlgItem(Browser(), IDOK));
  });
  EXPECT_EQ(picker.DoModal(), IDOK);
  EXPECT_TRUE(Exists("Media/New/Deep"));
  EXPECT_EQ(picker.GetPath(), "C:\\Media\\New\\Deep");
  const auto boxes = robot.messageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "The folder:\n\nC:\\Media\\New\\Deep\n\nthe folder is not exist,do you want to create it now?");
}

TEST_F(CFolderPickerTest, BadNamesAndFailuresAreSaidAndKeepTheBrowserOpen) {
  CFolderPicker picker(kCaption, "", "C:\\Media", parent());
  bool openAfterBadName = false, openAfterFailure = false, okAfterNoDrive = true;
  robot.duringModal([&](plat::Robot& user) {
    Type(user, "C:\\Media\\bad.");
    // Yes to the question, OK to the message that follows it.
    user.answerNextMessageBox(IDYES);
    user.answerNextMessageBox(IDOK);
    user.click(GetDlgItem(Browser(), IDOK));
  });
  robot.duringModal([&](plat::Robot& user) {
    openAfterBadName = Browser() != nullptr;
    Type(user, "Q:\\Away");
    user.answerNextMessageBox(IDYES);
    user.answerNextMessageBox(IDOK);
    user.click(GetDlgItem(Browser(), IDOK));
  });
  robot.duringModal([&](plat::Robot& user) {
    openAfterFailure = Browser() != nullptr;
    // No drive in the typed text: OK is disabled.
    Type(user, "Media");
  });
  robot.duringModal([&](plat::Robot& user) {
    okAfterNoDrive = IsWindowEnabled(GetDlgItem(Browser(), IDOK)) != FALSE;
    user.click(GetDlgItem(Browser(), IDCANCEL));
  });
  EXPECT_EQ(picker.DoModal(), -1);
  EXPECT_TRUE(openAfterBadName);
  EXPECT_TRUE(openAfterFailure);
  EXPECT_FALSE(okAfterNoDrive);
  EXPECT_FALSE(Exists("Media/bad."));
  const auto boxes = robot.messageBoxes();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[1].text, "The folder:\n\nC:\\Media\\bad.\n\nis invalid. Please reenter.");
  EXPECT_EQ(boxes[3].text, "The folder:\n\nQ:\\Away\n\ncan not be created. Please double check.");
}

TEST_F(CFolderPickerTest, WithNobodyToChooseThePickerIsCancelled) {
  CFolderPicker picker(kCaption, "", nullptr, parent());
  EXPECT_EQ(picker.DoModal(), -1);
}

TEST(FolderPathRulesTest, NamesFollowTheRules) {
  EXPECT_TRUE(CFolderPicker::IsValidPath("C:\\"));
  EXPECT_TRUE(CFolderPicker::IsValidPath("d:\\Media\\Clips 2"));
  EXPECT_FALSE(CFolderPicker::IsValidPath("C:"));
  EXPECT_FALSE(CFolderPicker::IsValidPath("1:\\x"));
  EXPECT_FALSE(CFolderPicker::IsValidPath("C:\\Media\\name."));
  EXPECT_FALSE(CFolderPicker::IsValidPath("C:\\ lead"));
  EXPECT_FALSE(CFolderPicker::IsValidPath("C:\\a\\\\b"));
  EXPECT_FALSE(CFolderPicker::IsValidPath("C:\\what?"));
}

}  // namespace
