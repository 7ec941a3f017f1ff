// A name typed into the channel list and not yet ended with Enter, while something fills
// the rows anew: the antenna and cable arrows, a country picked from the list or taken
// from the region, a ".chl" file opened, a scan. The edit ends first, in its own row and
// list, and no caret is left in the list; an Enter afterwards renames no channel of the new
// rows.
#include "windows/ChannelWindowTest.h"

#include "core/data/CAppSettings.h"
#include "skin/CChannelListCtrl.h"
#include "skin/CSkinComboBox.h"
#include "skin/CSkinRadioButton.h"

#include <win32/user/caret.h>

#include <cstring>

namespace {

class ChannelOpenEditFaults : public test::ChannelWindowTest {
 protected:
  CChannelListCtrl& list() { return *channels().GetChannelList(); }
  HWND edit() { return list().GetInPlaceEdit().GetSafeHwnd(); }
  // Channel 4's name (row 3) typed over, the edit still open.
  void startTyping(const char* name) {
    robot.doubleClick(cell(3, 3));
    ASSERT_TRUE(list().IsEditing());
    SendMessageA(edit(), EM_SETSEL, 0, -1);
    robot.type(name);
  }
  // The edit is over: hidden, no caret drawn, and an Enter now changes nothing.
  void expectEnded() {
    EXPECT_FALSE(list().IsEditing());
    EXPECT_FALSE(IsWindowVisible(edit()));
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(GetGUIThreadInfo(0, &gui));
    EXPECT_EQ(gui.flags & GUI_CARETBLINKING, 0u) << "a caret is still drawn";
    robot.key(VK_RETURN);
  }
  void pickCountry(const char* name) {
    CStringArray names;
    g_pAppController->CopyCountryNames(names);
    for (int i = 0; i < names.GetSize(); ++i)
      if (names.GetAt(i) == name) channels().GetCountryCombo()->SetCurSel(i);
    channels().SendMessage(WM_COMMAND, MAKEWPARAM(CChannelSkinDlg::kCountryComboId, CBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(channels().GetCountryCombo()->GetSafeHwnd()));
    robot.pumpUntilIdle();
  }
  void click(CWnd* control) {
    robot.click(control->GetSafeHwnd());
    robot.pumpUntilIdle();
  }
  static constexpr char kTyped[] = "Harbour News";
};

TEST_F(ChannelOpenEditFaults, ThePlanArrowsEndTheEditInTheCablePlan) {
  openChannels();
  ASSERT_EQ(g_pAppSettings->TunerSource, 2);
  const std::string antenna4 = stored(4, 1).ChannelName;
  startTyping(kTyped);
  press("LEFT_BUTTON");
  expectEnded();
  EXPECT_EQ(std::string(stored(4, 1).ChannelName), antenna4);
  EXPECT_EQ(rowNames()[3], antenna4);
  EXPECT_STREQ(stored(4, 2).ChannelName, kTyped) << "the name went to the channel it was typed for";
  // Saved at the end of the program as it stands in the lists.
  ASSERT_EQ(g_pChannelList->SaveFile(programPath("ZRQChannels.chl").c_str()), 1);
  CChannelList saved;
  ASSERT_EQ(saved.LoadFile(programPath("ZRQChannels.chl").c_str()), 1);
  ChannelRecord record{};
  ASSERT_TRUE(saved.GetChannel(4, 1, &record));
  EXPECT_EQ(std::string(record.ChannelName), antenna4);
}

// Where the standard is chosen per channel: the box left open over cable channel 4 is
// closed in the cable plan and leaves antenna channel 4's own standard alone.
TEST_F(ChannelOpenEditFaults, AStandardBoxLeftOpenClosesInItsOwnPlan) {
  openChannels();
  click(channels().GetListRadio());
  pickCountry("United Kingdom");
  ChannelRecord antenna4 = stored(4, 1);
  std::strcpy(antenna4.StandardName, "SECAM_K1");
  g_pChannelList->UpdateChannel(4, 1, &antenna4);
  robot.click(cell(3, 1));
  CSkinListCtrl::CellRequest request{3, 1, 0};
  ASSERT_TRUE(list().SendMessage(CSkinListCtrl::UM_LIST_COMBO_CELL, 0, reinterpret_cast<LPARAM>(&request)));
  ASSERT_TRUE(list().IsComboActive());
  press("LEFT_BUTTON");
  EXPECT_FALSE(list().IsComboActive());
  list().SendMessage(CSkinListCtrl::UM_INPLACE_KILLFOCUS, 0, 0);
  EXPECT_EQ(std::string(list().GetItemText(3, 1)), "SECAM_K1");
  EXPECT_STREQ(list().GetItemRecord(3)->StandardName, "SECAM_K1");
  EXPECT_STREQ(stored(4, 1).StandardName, "SECAM_K1");
}

TEST_F(ChannelOpenEditFaults, ACountryFromTheListOrTheRegionEndsTheEditFirst) {
  openChannels();
  click(channels().GetListRadio());
  startTyping(kTyped);
  pickCountry("United Kingdom");
  ASSERT_EQ(g_pAppSettings->CountryCode, 44);
  expectEnded();
  EXPECT_STREQ(stored(4, g_pAppSettings->TunerSource).ChannelName, "Channel4");

  startTyping(kTyped);
  click(channels().GetRegionRadio());
  ASSERT_EQ(g_pAppSettings->CountryCode, 1);
  expectEnded();
  EXPECT_STREQ(stored(4, g_pAppSettings->TunerSource).ChannelName, "Channel4");
}

TEST_F(ChannelOpenEditFaults, AnOpenedListFileKeepsItsNames) {
  openChannels();
  CChannelList other;
  for (int number = 1; number <= 5; ++number) {
    auto* record = new ChannelRecord{};
    record->ChannelNumber = number;
    std::snprintf(record->ChannelName, sizeof record->ChannelName, "Other %d", number);
    std::strcpy(record->StandardName, "NTSC_M");
    record->Frequency = 55.25f + 6.0f * static_cast<float>(number - 1);
    other.AddChannel(2, record);
  }
  ASSERT_EQ(other.SaveFile(programPath("other.chl").c_str()), 1);
  startTyping(kTyped);
  robot.answerNextFileDialog("other.chl");
  press("LOAD_BUTTON");
  ASSERT_EQ(rowNames()[3], "Other 4");
  expectEnded();
  EXPECT_EQ(rowNames()[3], "Other 4");
  EXPECT_STREQ(stored(4, 2).ChannelName, "Other 4");
}

TEST_F(ChannelOpenEditFaults, AScanEndsTheEditBeforeItsChannelsComeIn) {
  openChannels();
  press("LEFT_BUTTON");
  startTyping(kTyped);
  ASSERT_TRUE(scanToEnd());
  expectEnded();
  EXPECT_EQ(rowNames(), (std::vector<std::string>{"Channel1", "Channel3", "Channel6", "Channel10", "Channel13"}));
  EXPECT_STREQ(stored(10, 1).ChannelName, "Channel10");
}

}  // namespace
