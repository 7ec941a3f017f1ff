// The common file dialogs over the machine's folders, played by the robot: files listed by
// type and picked, names typed and checked by the caller's flags (must exist, default
// extension, overwrite prompt), the buffer limits, cancelling, the MFC wrapper and the
// robot's script verbs.
#include "WindowTest.h"

#include <mfc/afxdlgs.h>
#include <robot/Robot.h>
#include <robot/RobotScript.h>
#include <robot/Screenshot.h>
#include <win32/commdlg/FileDialog.h>
#include <win32/commdlg/commdlg.h>
#include <win32/user/UserSystem.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace test {
namespace {

using plat::FileDialog;

// The media player's five types, as the dialog reads them.
constexpr char kMediaFilter[] =
    "MPEG File (*.mpg;*.mpeg)\0*.mpg;*.mpeg\0AVI File (*.avi)\0*.avi\0Mp3 File (*.mp3)\0*.mp3\0"
    "Wave File (*.wav)\0*.wav\0All Files (*.*)\0*.*\0";

class FileDialogTest : public UserTest {
 protected:
  void SetUp() override {
    const auto media = testMachine.root() / "C" / "Media";
    std::filesystem::create_directories(media / "Stills");
    for (const char* name : {"clip.mpg", "Clip2.MPEG", "song.mp3", "notes.txt", "Stills/shot.bmp", "list.chl"})
      std::ofstream(media / name) << "x";
    std::memset(file, 0, sizeof file);
    std::memset(title, 0, sizeof title);
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = kMediaFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = sizeof title;
    ofn.lpstrInitialDir = "C:\\Media";
  }

  static HWND Dialog() { return FindWindowA("#32770", nullptr); }
  static std::string Text(HWND hwnd) {
    char text[MAX_PATH] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
  }
  static std::vector<std::string> Entries(HWND dialog) {
    HWND list = GetDlgItem(dialog, FileDialog::kListId);
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[MAX_PATH] = {};
      SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      entries.emplace_back(text);
    }
    return entries;
  }
  // Into the name field, over what it holds, as the user types.
  static void TypeName(plat::Robot& user, const char* text) {
    HWND edit = GetDlgItem(Dialog(), FileDialog::kNameId);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    user.type(text);
  }
  bool Exists(const char* relative) { return std::filesystem::exists(testMachine.root() / "C" / relative); }

  plat::Robot robot;
  OPENFILENAMEA ofn{};
  char file[MAX_PATH];
  char title[64];
};

TEST_F(FileDialogTest, AnOpenDialogListsTheFolderByTypeAndTakesTheFilePicked) {
  HWND owner = createRecorder("Player", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ofn.hwndOwner = owner;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  std::vector<std::string> entries;
  std::string folder, caption, open;
  int types = 0, type = -1;
  bool ownerDisabled = false;
  robot.duringModal([&](plat::Robot& user) {
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    entries = Entries(dialog);
    folder = Text(GetDlgItem(dialog, FileDialog::kFolderId));
    caption = Text(dialog);
    open = Text(GetDlgItem(dialog, IDOK));
    types = static_cast<int>(SendMessageA(GetDlgItem(dialog, FileDialog::kTypeId), CB_GETCOUNT, 0, 0));
    type = static_cast<int>(SendMessageA(GetDlgItem(dialog, FileDialog::kTypeId), CB_GETCURSEL, 0, 0));
    ownerDisabled = !IsWindowEnabled(owner);
    const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "platform-screens";
    std::filesystem::create_directories(shots);
    plat::Screenshot::saveWindow(dialog, shots / "filedialog.png");
    EXPECT_TRUE(user.pickFileDialogEntry(dialog, "clip.mpg"));
  });
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(entries, (std::vector<std::string>{"..", "Stills\\", "clip.mpg", "Clip2.MPEG"}));
  EXPECT_EQ(folder, "C:\\Media");
  EXPECT_EQ(caption, "Open");
  EXPECT_EQ(open, "Open");
  EXPECT_EQ(types, 5);
  EXPECT_EQ(type, 0);
  EXPECT_TRUE(ownerDisabled) << "modal over its owner";
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_STREQ(file, "C:\\Media\\clip.mpg");
  EXPECT_EQ(ofn.nFileOffset, 9);
  EXPECT_EQ(ofn.nFileExtension, 14);
  EXPECT_STREQ(title, "clip.mpg");
  EXPECT_EQ(ofn.nFilterIndex, 1u);
  const auto records = robot.fileDialogs();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].owner, owner);
  EXPECT_FALSE(records[0].save);
  EXPECT_EQ(records[0].folder, "C:\\Media");
  EXPECT_EQ(records[0].types.back(), (std::pair<std::string, std::string>{"All Files (*.*)", "*.*"}));
  EXPECT_EQ(records[0].answer, IDOK);
  EXPECT_EQ(records[0].path, "C:\\Media\\clip.mpg");
}

TEST_F(FileDialogTest, AnotherTypeRelistsTheFolderAndIsReturned) {
  std::vector<std::string> mp3, all;
  robot.duringModal([&](plat::Robot& user) {
    ASSERT_TRUE(user.chooseFileDialogType(Dialog(), 3));
    mp3 = Entries(Dialog());
    ASSERT_TRUE(user.chooseFileDialogType(Dialog(), 5));
    all = Entries(Dialog());
    EXPECT_FALSE(user.chooseFileDialogType(Dialog(), 6));
    EXPECT_FALSE(user.chooseFileDialogType(Dialog(), 0));
    TypeName(user, "song.mp3");
    user.click(GetDlgItem(Dialog(), IDOK));
  });
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(mp3, (std::vector<std::string>{"..", "Stills\\", "song.mp3"}));
  EXPECT_EQ(all, (std::vector<std::string>{"..", "Stills\\", "clip.mpg", "Clip2.MPEG", "list.chl", "notes.txt",
                                           "song.mp3"}));
  EXPECT_EQ(ofn.nFilterIndex, 5u);
  EXPECT_STREQ(file, "C:\\Media\\song.mp3");
}

TEST_F(FileDialogTest, FoldersAreOpenedByDoubleClickByNameAndGoneUpFrom) {
  std::vector<std::string> stills, drives;
  std::string up;
  robot.duringModal([&](plat::Robot& user) { EXPECT_TRUE(user.pickFileDialogEntry(Dialog(), "Stills\\")); });
  robot.duringModal([&](plat::Robot& user) {
    stills = Entries(Dialog());
    EXPECT_TRUE(user.pickFileDialogEntry(Dialog(), ".."));
  });
  robot.duringModal([&](plat::Robot& user) {
    up = Text(GetDlgItem(Dialog(), FileDialog::kFolderId));
    TypeName(user, "C:\\");
    user.key(VK_RETURN);
    EXPECT_TRUE(user.pickFileDialogEntry(Dialog(), ".."));
  });
  robot.duringModal([&](plat::Robot& user) {
    drives = Entries(Dialog());
    EXPECT_FALSE(user.pickFileDialogEntry(Dialog(), "Nowhere\\"));
    TypeName(user, "C:\\Media\\Stills");
    user.key(VK_RETURN);
    EXPECT_EQ(Text(GetDlgItem(Dialog(), FileDialog::kNameId)), "") << "a folder's name opens it";
    TypeName(user, "shot.bmp");
    user.key(VK_RETURN);
  });
  ofn.nFilterIndex = 5;
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(stills, (std::vector<std::string>{"..", "shot.bmp"}));
  EXPECT_EQ(up, "C:\\Media");
  ASSERT_FALSE(drives.empty());
  EXPECT_EQ(drives.front(), "C:\\");
  EXPECT_STREQ(file, "C:\\Media\\Stills\\shot.bmp");
}

TEST_F(FileDialogTest, AnInitialNameWithAFolderStartsThereAndShowsTheName) {
  std::strcpy(file, "C:\\Media\\Stills\\new.bmp");
  ofn.lpstrTitle = "Save the picture";
  std::string folder, name, caption, save;
  robot.duringModal([&](plat::Robot& user) {
    folder = Text(GetDlgItem(Dialog(), FileDialog::kFolderId));
    name = Text(GetDlgItem(Dialog(), FileDialog::kNameId));
    caption = Text(Dialog());
    save = Text(GetDlgItem(Dialog(), IDOK));
    user.click(GetDlgItem(Dialog(), IDOK));
  });
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(folder, "C:\\Media\\Stills");
  EXPECT_EQ(name, "new.bmp");
  EXPECT_EQ(caption, "Save the picture");
  EXPECT_EQ(save, "Save");
  EXPECT_STREQ(file, "C:\\Media\\Stills\\new.bmp");
}

TEST_F(FileDialogTest, WithNobodyToAnswerTheDialogIsCancelledWithoutAnError) {
  std::strcpy(file, "clip.mpg");
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_STREQ(file, "clip.mpg") << "a cancel leaves the buffer";
  robot.cancelNextFileDialog();
  robot.answerNextFileDialog("clip.mpg");
  EXPECT_FALSE(GetSaveFileNameA(&ofn)) << "the queued cancel comes first";
  EXPECT_TRUE(GetSaveFileNameA(&ofn));
  const auto records = robot.fileDialogs();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].answer, IDCANCEL);
  EXPECT_EQ(records[1].answer, IDCANCEL);
  EXPECT_TRUE(records[1].save);
  EXPECT_EQ(records[2].answer, IDOK);
  EXPECT_EQ(records[2].title, "Save As");
}

TEST_F(FileDialogTest, AFileThatMustExistIsRefusedUntilOneDoes) {
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  robot.answerNextFileDialog("missing.mpg");
  robot.answerNextFileDialog("clip.mpg");
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\Media\\clip.mpg");
  const auto boxes = robot.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "missing.mpg\nFile not found.\nCheck the file name and try again.");
  EXPECT_EQ(boxes[0].caption, "Open");

  // Without the flag the name is given as it is.
  ofn.Flags = OFN_HIDEREADONLY;
  robot.answerNextFileDialog("missing.mpg");
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\Media\\missing.mpg");
  EXPECT_EQ(robot.messageBoxes().size(), 1u);
}

TEST_F(FileDialogTest, APathThatMustExistIsRefusedWhenItsFolderIsMissing) {
  ofn.Flags = OFN_PATHMUSTEXIST;
  robot.answerNextFileDialog("C:\\Nowhere\\new.avi");
  EXPECT_FALSE(GetSaveFileNameA(&ofn)) << "refused, then nobody answers";
  ASSERT_EQ(robot.messageBoxes().size(), 1u);
  EXPECT_EQ(robot.messageBoxes()[0].text, "C:\\Nowhere\\new.avi\nPath does not exist.\nCheck the path and try again.");
  robot.answerNextFileDialog("C:\\Media\\Stills\\..\\new.avi");
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\Media\\new.avi");
  ofn.Flags = 0;
  robot.answerNextFileDialog("C:\\Nowhere\\new.avi");
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\Nowhere\\new.avi");
}

TEST_F(FileDialogTest, TheDefaultExtensionIsAddedToANameWithoutOne) {
  ofn.lpstrDefExt = "bmp";
  robot.answerNextFileDialog("picture");
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\Media\\picture.bmp");
  EXPECT_EQ(ofn.nFileExtension, 17);
  robot.answerNextFileDialog("notes.txt");
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\Media\\notes.txt") << "a name with an extension keeps it";

  ofn.lpstrDefExt = ".chl";  // a leading dot is skipped
  robot.answerNextFileDialog("list");
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\Media\\list.chl");
  ofn.lpstrDefExt = nullptr;
  robot.answerNextFileDialog("list");
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\Media\\list");
  EXPECT_EQ(ofn.nFileExtension, 13) << "no extension: the offset of the end";
}

// A dot in a folder's name is no extension: the default one goes on the file, and the
// offsets, the title and the wrapper's parts name the file's own.
TEST_F(FileDialogTest, ADotInAFoldersNameIsNoExtension) {
  std::filesystem::create_directories(testMachine.root() / "C" / "rec.v1");
  ofn.lpstrDefExt = "chl";
  robot.answerNextFileDialog("C:\\rec.v1\\clip");
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\rec.v1\\clip.chl");
  EXPECT_EQ(ofn.nFileOffset, 10);
  EXPECT_EQ(ofn.nFileExtension, 15);
  EXPECT_STREQ(title, "clip.chl");
  robot.answerNextFileDialog("clip.txt");  // in the last name's folder
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\rec.v1\\clip.txt");

  // Opened: the name as typed when there is such a file, else with the default extension.
  std::ofstream(testMachine.root() / "C" / "rec.v1" / "list.chl") << "x";
  std::ofstream(testMachine.root() / "C" / "rec.v1" / "plain") << "x";
  robot.answerNextFileDialog("C:\\rec.v1\\list");
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\rec.v1\\list.chl");
  robot.answerNextFileDialog("C:\\rec.v1\\plain");
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\rec.v1\\plain");
  EXPECT_EQ(ofn.nFileExtension, 15) << "no extension: the offset of the end";

  CFileDialog save(FALSE, nullptr, nullptr, OFN_HIDEREADONLY, "All Files (*.*)|*.*||");
  robot.answerNextFileDialog("C:\\rec.v1\\clip");
  ASSERT_EQ(save.DoModal(), IDOK);
  EXPECT_EQ(save.GetPathName(), "C:\\rec.v1\\clip");
  EXPECT_EQ(save.GetFileName(), "clip");
  EXPECT_EQ(save.GetFileExt(), "");
  EXPECT_EQ(save.GetFileTitle(), "clip");
}

TEST_F(FileDialogTest, AnExistingFileIsReplacedOnlyAfterTheUserAgrees) {
  ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  robot.answerNextFileDialog("clip.mpg");
  EXPECT_FALSE(GetSaveFileNameA(&ofn)) << "No is the box's default; then nobody answers";
  ASSERT_EQ(robot.messageBoxes().size(), 1u);
  EXPECT_EQ(robot.messageBoxes()[0].text, "clip.mpg already exists.\nDo you want to replace it?");
  EXPECT_EQ(robot.messageBoxes()[0].answer, IDNO);

  robot.answerNextFileDialog("clip.mpg");
  robot.answerNextMessageBox(IDYES);
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\Media\\clip.mpg");
  robot.answerNextFileDialog("fresh.mpg");
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(robot.messageBoxes().size(), 2u) << "a new name asks nothing";

  ofn.Flags = OFN_HIDEREADONLY;
  robot.answerNextFileDialog("clip.mpg");
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(robot.messageBoxes().size(), 2u) << "without the flag nothing is asked";
}

TEST_F(FileDialogTest, APathLongerThanTheBufferFailsAndSaysTheSizeNeeded) {
  // "C:\Media\clip.mpg" takes 18 bytes with its NUL.
  ofn.nMaxFile = 17;
  robot.answerNextFileDialog("clip.mpg");
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
  WORD needed = 0;
  std::memcpy(&needed, file, sizeof needed);
  EXPECT_EQ(needed, 18);
  EXPECT_EQ(robot.fileDialogs().back().answer, IDCANCEL);
  ofn.nMaxFile = 18;
  robot.answerNextFileDialog("clip.mpg");
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\Media\\clip.mpg");
  EXPECT_EQ(CommDlgExtendedError(), 0u);

  ofn.nMaxFileTitle = 5;  // the name is cut to the title buffer
  robot.answerNextFileDialog("clip.mpg");
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_STREQ(title, "clip");
}

TEST_F(FileDialogTest, AWrongRecordIsRefusedBeforeAnyDialog) {
  ofn.lStructSize = sizeof ofn - 4;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
  EXPECT_FALSE(GetOpenFileNameA(nullptr));
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFile = nullptr;
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_INITIALIZATION));
  EXPECT_TRUE(robot.fileDialogs().empty());
}

TEST(FileDialogFilter, PairsArePatternsMatchedWithoutCase) {
  const auto types = FileDialog::parseFilter("CHL Files (*.chl)\0*.chl\0*.CHL \0*.CHL\0 All Files (*.*)\0*.*\0\0");
  ASSERT_EQ(types.size(), 3u);
  EXPECT_EQ(types[1].first, "*.CHL ");
  EXPECT_EQ(types[2].first, " All Files (*.*)");
  EXPECT_TRUE(FileDialog::parseFilter(nullptr).empty());
  EXPECT_TRUE(FileDialog::parseFilter("Odd\0\0").empty()) << "a description without patterns is no type";
  EXPECT_TRUE(FileDialog::matches("Clip.MPEG", "*.mpg;*.mpeg"));
  EXPECT_TRUE(FileDialog::matches("a.bmp", "*.bmp;*.bmp"));
  EXPECT_FALSE(FileDialog::matches("a.mpga", "*.mpg"));
  EXPECT_TRUE(FileDialog::matches("README", "*.*"));
  EXPECT_TRUE(FileDialog::matches("cap07.bmp", "cap??.bmp"));
  EXPECT_FALSE(FileDialog::matches("cap7.bmp", "cap??.bmp"));
}

TEST_F(FileDialogTest, CFileDialogTurnsItsFilterAndGivesTheChosenFilesParts) {
  HWND main = createRecorder("Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  CFileDialog load(TRUE, ".chl", nullptr, 0, "CHL Files (*.chl)|*.chl|*.CHL |*.CHL| All Files (*.*)|*.*||");
  load.m_ofn.lpstrInitialDir = "C:\\Media";
  std::vector<std::string> entries;
  int types = 0;
  bool mainDisabled = false;
  robot.duringModal([&](plat::Robot& user) {
    entries = Entries(Dialog());
    types = static_cast<int>(SendMessageA(GetDlgItem(Dialog(), FileDialog::kTypeId), CB_GETCOUNT, 0, 0));
    mainDisabled = !IsWindowEnabled(main);
    user.pickFileDialogEntry(Dialog(), "list.chl");
  });
  ASSERT_EQ(load.DoModal(), IDOK);
  EXPECT_EQ(entries, (std::vector<std::string>{"..", "Stills\\", "list.chl"}));
  EXPECT_EQ(types, 3);
  EXPECT_TRUE(mainDisabled) << "without a parent the window in front owns it";
  EXPECT_EQ(load.GetPathName(), "C:\\Media\\list.chl");
  EXPECT_EQ(load.GetFileName(), "list.chl");
  EXPECT_EQ(load.GetFileExt(), "chl");
  EXPECT_EQ(load.GetFileTitle(), "list");

  CFileDialog save(FALSE, nullptr, "ZRQChannels.chl", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                   "CHL Files (*.chl)|*.CHL| All Files (*.*)|*.*||");
  save.m_ofn.lpstrInitialDir = "C:\\Media";
  std::string name;
  robot.duringModal([&](plat::Robot& user) {
    name = Text(GetDlgItem(Dialog(), FileDialog::kNameId));
    user.click(GetDlgItem(Dialog(), IDOK));
  });
  ASSERT_EQ(save.DoModal(), IDOK);
  EXPECT_EQ(name, "ZRQChannels.chl");
  EXPECT_EQ(save.GetPathName(), "C:\\Media\\ZRQChannels.chl");
  EXPECT_EQ(save.GetFileExt(), "chl");
  EXPECT_EQ(save.DoModal(), IDCANCEL) << "nobody answers";
}

TEST_F(FileDialogTest, ScriptVerbsAnswerPickAndChooseTypes) {
  plat::RobotScript script(
      "window \"#32770\" \"Open\"\n"
      "file-type 5\n"
      "file-pick \"Stills\\\\\"\n"
      "file-pick \"shot.bmp\"\n",
      "files.robot");
  std::string failure;
  script.onFailure([&](const std::string& message) { failure = message; });
  plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), [&script] { return script.step(); });
  ASSERT_TRUE(GetOpenFileNameA(&ofn)) << failure;
  EXPECT_STREQ(file, "C:\\Media\\Stills\\shot.bmp");
  EXPECT_EQ(ofn.nFilterIndex, 5u);

  plat::RobotScript queued("file-answer \"new.mpg\"\nfile-cancel\n", "queued.robot");
  while (!queued.finished()) queued.step();
  plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), nullptr);
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_STREQ(file, "C:\\Media\\Stills\\new.mpg") << "the last name's folder is where it starts";
  EXPECT_FALSE(GetSaveFileNameA(&ofn));

  plat::RobotScript missing("window \"#32770\" \"Open\"\nfile-pick \"nothing.mpg\"\n", "missing.robot");
  missing.onFailure([&](const std::string& message) { failure = message; });
  plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), [&missing] { return missing.step(); });
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), nullptr);
  EXPECT_EQ(failure, "missing.robot:2: file-pick: the window lists no entry \"nothing.mpg\"");
}

}  // namespace
}  // namespace test
