// Combo boxes as Windows keeps them: CB_ADDSTRING puts an entry of a CBS_SORT box in its
// place by text (without case, after equal ones) while CB_INSERTSTRING keeps the place it
// is given; a drop-down list shows its chosen entry as its text, so GetWindowText reads it.
#include <support/TestMachine.h>
#include <win32/user.h>

#include <string>
#include <vector>

namespace {

class ComboBoxTextTest : public test::MachineTest {
 protected:
  HWND make(DWORD style) {
    HWND parent = CreateWindowExA(0, "STATIC", "Parent", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    parents.push_back(parent);
    return CreateWindowExA(0, "COMBOBOX", "face", WS_CHILD | WS_VISIBLE | style, 10, 10, 150, 24, parent, nullptr,
                           nullptr, nullptr);
  }
  ~ComboBoxTextTest() override {
    for (HWND parent : parents) DestroyWindow(parent);
  }
  static std::vector<std::string> entries(HWND combo) {
    std::vector<std::string> out;
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[64] = {};
      SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      out.emplace_back(text);
    }
    return out;
  }
  static std::string text(HWND combo) {
    char buffer[64] = {};
    GetWindowTextA(combo, buffer, sizeof buffer);
    return buffer;
  }
  static LRESULT add(HWND combo, const char* text) {
    return SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  std::vector<HWND> parents;
};

TEST_F(ComboBoxTextTest, ASortedBoxPutsAddedStringsInOrderAndInsertedOnesWhereAsked) {
  HWND combo = make(CBS_DROPDOWNLIST | CBS_SORT);
  EXPECT_EQ(add(combo, "Pal"), 0);
  EXPECT_EQ(add(combo, "ntsc"), 0);
  EXPECT_EQ(add(combo, "SECAM"), 2);
  EXPECT_EQ(add(combo, "NTSC"), 1) << "after the entry it equals";
  EXPECT_EQ(add(combo, ""), 0);
  EXPECT_EQ(entries(combo), (std::vector<std::string>{"", "ntsc", "NTSC", "Pal", "SECAM"}));
  EXPECT_EQ(SendMessageA(combo, CB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("Zulu")), 1);
  EXPECT_EQ(SendMessageA(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Alpha")), 6);
  EXPECT_EQ(entries(combo), (std::vector<std::string>{"", "Zulu", "ntsc", "NTSC", "Pal", "SECAM", "Alpha"}));

  HWND plain = make(CBS_DROPDOWNLIST);
  for (const char* name : {"Pal", "ntsc", "SECAM"}) add(plain, name);
  EXPECT_EQ(entries(plain), (std::vector<std::string>{"Pal", "ntsc", "SECAM"})) << "without CBS_SORT, in order added";
}

TEST_F(ComboBoxTextTest, ADropDownListsTextIsItsChosenEntry) {
  HWND combo = make(CBS_DROPDOWNLIST);
  for (const char* name : {"Antenna", "Cable", "Composite"}) add(combo, name);
  EXPECT_EQ(text(combo), "") << "nothing chosen yet";
  EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(text(combo), "Cable");
  EXPECT_EQ(GetWindowTextLengthA(combo), 5);
  char small[4] = {};
  EXPECT_EQ(GetWindowTextA(combo, small, sizeof small), 3) << "cut to the buffer";
  EXPECT_STREQ(small, "Cab");
  SendMessageA(combo, CB_SETCURSEL, 2, 0);
  EXPECT_EQ(text(combo), "Composite");
  EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 3, 0), CB_ERR) << "past the last entry";
  EXPECT_EQ(text(combo), "");
}

TEST_F(ComboBoxTextTest, ADropDownBoxShowsTheChosenEntryInItsFace) {
  HWND combo = make(CBS_DROPDOWN);
  for (const char* name : {"Antenna", "Cable"}) add(combo, name);
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  EXPECT_EQ(text(combo), "Antenna");
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(text(combo), "") << "no choice clears the face";
}

}  // namespace
