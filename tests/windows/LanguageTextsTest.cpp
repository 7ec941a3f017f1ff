// Every text the windows word by the UI language reads right on the default machine, and on
// machines set for the other languages: the media player's folder picker and list menu, a
// file's information, and every text of the UI-text library. Nothing shows a '?' left by a
// failed conversion, an undecodable byte or a character no face draws.
#include "windows/MediaPlayerFixture.h"

#include "windows/media/CImageListView.h"
#include "windows/main/CAVDlg.h"

#include <robot/Screenshot.h>
#include <support/ReadableText.h>
#include <vendor/language/Language.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using View = CImageListView;
// What a text is, and the text.
using Texts = std::vector<std::pair<std::string, std::string>>;

std::string TextOf(HWND hwnd) {
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

class LanguageTextsTest : public test::MediaPlayerTest {
 protected:
  LanguageTextsTest() { writeHistory({putClip("first.mpg", 1)}); }

  void setMachine(const char* codePage, const char* language) {
    machine().ini().setValue("Windows", "AnsiCodePage", codePage);
    machine().ini().setValue("Windows", "Language", language);
  }
  static void expectReadable(const Texts& texts) {
    for (const auto& [what, text] : texts) EXPECT_EQ(test::Unreadable(text), "") << what << ": \"" << text << "\"";
  }
  // The player's list menu, then its folder picker with every control's text; `screenshot`
  // names a picture of the picker to keep for a person to look at.
  Texts playerTexts(const char* screenshot = nullptr) {
    Texts texts;
    robot.duringModal([&](plat::Robot& r) {
      HMENU menu = reinterpret_cast<HMENU>(SendMessageA(r.openMenu(), MN_GETHMENU, 0, 0));
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char item[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), item, sizeof item, MF_BYPOSITION);
        texts.emplace_back("list menu item " + std::to_string(i), item);
      }
      EXPECT_TRUE(r.chooseMenuCommand(View::ID_LIST_ADD_FOLDER));
    });
    robot.duringModal([&](plat::Robot& r) {
      HWND picker = GetActiveWindow();
      texts.emplace_back("folder picker caption", TextOf(picker));
      for (HWND child = GetWindow(picker, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        texts.emplace_back("folder picker control " + std::to_string(GetDlgCtrlID(child)), TextOf(child));
      if (screenshot) {
        const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "screenshots";
        std::filesystem::create_directories(folder);
        EXPECT_TRUE(plat::Screenshot::saveScreen(folder / screenshot));
      }
      r.key(VK_ESCAPE);
    });
    robot.rightClick(itemOnScreen(0));
    robot.pumpUntilIdle();
    view().GetItem(0)->SetInfoText(nullptr);
    texts.emplace_back("file information", static_cast<LPCSTR>(view().GetItem(0)->GetInfoText()));
    return texts;
  }
  // Every text of the UI-text library the windows could ask for.
  static Texts libraryTexts() {
    Texts texts;
    const std::pair<const char*, const char* (*)(int)> functions[] = {
        {"GetMessageInfo", GetMessageInfo},   {"GetComBoxItem", GetComBoxItem},
        {"GetOtherInfo", GetOtherInfo},       {"GetMenuItem", GetMenuItem},
        {"GetMenuItem_SINGLE", GetMenuItem_SINGLE}, {"GetRecordShowItem", GetRecordShowItem},
        {"GetWindowCommenItem", GetWindowCommenItem}};
    for (const auto& [name, function] : functions)
      for (int id = 0; id <= 40; ++id) texts.emplace_back(std::string(name) + "(" + std::to_string(id) + ")", function(id));
    return texts;
  }
};

TEST_F(LanguageTextsTest, OnTheDefaultMachineEveryTextReadsRight) {
  openPlayer();
  const Texts player = playerTexts("folder_picker_default_machine.png");
  ASSERT_GE(player.size(), 8u) << "the menu, the picker and its controls were walked";
  expectReadable(player);
  expectReadable(libraryTexts());
}

TEST_F(LanguageTextsTest, MachinesSetForTheOtherLanguagesReadRightToo) {
  openPlayer();
  for (const auto& [codePage, language] : {std::pair{"936", "2"}, std::pair{"1252", "1"}, std::pair{"1251", "4"}}) {
    setMachine(codePage, language);
    SCOPED_TRACE(std::string("code page ") + codePage + ", language " + language);
    expectReadable(playerTexts());
    expectReadable(libraryTexts());
  }
}

}  // namespace
