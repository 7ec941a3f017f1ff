// The schedule entry editor's number fields and the digit edit they are made of: text of
// any bytes typed, sent as characters, pasted (Ctrl+V or WM_PASTE), put over any selection
// or set by the program, into any field in any order, with the source radios and the
// channel buttons between, then SAVE. Every field holds only digits within its maximum
// after every step, and the entry saved keeps a length of 3 s to 23:59:59 and a channel
// within its list; UBSan sees that nothing overflows. A digit edit of its own, with a range
// drawn from the input, takes the same.
//
// Each input starts from the same fields (cable, every field 0). Input: 4 bytes maximum
// and 4 bytes minimum of the lone edit, then steps of one byte (field = byte / 8 % 7: the
// editor's six fields, then the lone edit; what = byte % 8), each followed by the bytes it
// takes: a length byte and that many bytes of text, two selection bytes, or one choice.
#include "FuzzInput.h"
#include "FuzzMachine.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "core/CScheduleList.h"
#include "skin/CDigitEdit.h"
#include "skin/CSkinButton.h"
#include "windows/main/WindowMessages.h"
#include "windows/setup/CScheduleDlg.h"

#include <com/globalmem.h>
#include <robot/Robot.h>
#include <win32/user.h>

#include <array>
#include <climits>
#include <cstring>
#include <string>

namespace {

constexpr std::array<const char*, 6> kFields = {"StartHour_Edit", "StartMini_Edit", "RecordHour_Edit",
                                                "RecordMini_Edit", "RecordSecond_Edit", "Channel_Edit"};
// Keys the fuzzer types: digits on both rows, letters, and the keys that move or delete
// within a field (Enter, Escape and Backspace go to the field before the window).
constexpr std::array<int, 8> kOtherKeys = {VK_BACK, VK_DELETE, VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_RETURN, VK_ESCAPE};

// The editor's program folder, the controller started and out of live TV (the editor then
// takes no live picture), an owner window, the display mode and the editor, made once.
struct Editing {
  Editing() {
    auto& machine = fuzz::FuzzMachine::get();
    std::filesystem::create_directories(machine.programFolder() / "Skin");
    std::filesystem::copy(std::filesystem::path(ORVANE_PROGRAM_DIR) / "Skin" / "Time",
                          machine.programFolder() / "Skin" / "Time",
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    // Every cut of a skin picture reads the screen: a small one keeps each run quick.
    machine.machine().ini().setValue("Screen", "Width", "320");
    machine.machine().ini().setValue("Screen", "Height", "240");
    g_pDisplayMode = new CDisplayMode;
    g_pDisplayMode->SetMode(CScheduleSkinDlg::kDisplayMode);
    owner.CreateEx(0, AfxRegisterWndClass(0), "Orvane Media_RecordDlg", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr);
    app.m_pMainWnd = &owner;
    g_pAppController = new CAppController;
    fuzz::check(g_pAppController->Startup() != 0, "the controller starts");
    g_pAppController->EnterMediaMode();
    editor.InitWorkingDate();
    fuzz::check(editor.Create(CScheduleDlg::IDD, &owner), "the editor opens");
    editor.ShowWindow(SW_SHOW);
    lone.Create(0, CRect(0, 0, 80, 30), &editor, 7001);
  }
  CWinApp app;
  CWnd owner;
  CScheduleDlg editor;
  // A digit edit of its own, whose range each input chooses.
  CDigitEdit lone;
};

long long NumberOf(const CString& text) {
  long long value = 0;
  for (int i = 0; i < text.GetLength(); ++i) value = std::min(value * 10 + (text[i] - '0'), 1LL << 40);
  return value;
}

void CheckField(const CDigitEdit& edit) {
  CString text;
  edit.GetWindowText(text);
  for (int i = 0; i < text.GetLength(); ++i) fuzz::check(text[i] >= '0' && text[i] <= '9', "a field holds digits only");
  // An empty field stands also where no number is allowed (a maximum below 0).
  fuzz::check(text.IsEmpty() || NumberOf(text) <= edit.GetMax(), "a field's number is within its maximum");
  fuzz::check(edit.GetValue() <= edit.GetMax(), "a field reads within its maximum");
}

std::string TakeText(fuzz::FuzzInput& input) {
  std::string text(input.takeByte(), '\0');
  for (char& c : text) c = static_cast<char>(input.takeByte());
  return text.c_str();
}

void PutOnClipboard(const std::string& text) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

void Type(plat::Robot& robot, std::uint8_t key) {
  if (key < 10) robot.key('0' + key);
  else if (key < 20) robot.key(VK_NUMPAD0 + key - 10);
  else if (key < 46) robot.key('A' + key - 20);
  else robot.key(kOtherKeys[key % kOtherKeys.size()]);
}

void Press(CScheduleDlg& editor, const char* name) {
  if (const CSkinButton* button = editor.FindSkinButton(name))
    editor.SendMessage(WM_COMMAND, static_cast<WPARAM>(button->GetCommandId()), 0);
}

// One step of the input on one field; the editor's own steps act on the window.
void Step(fuzz::FuzzInput& input, plat::Robot& robot, CScheduleDlg& editor, CDigitEdit& edit, int what) {
  switch (what) {
    case 0: {
      edit.SetFocus();
      const std::uint8_t count = input.takeByte() % 8;
      for (int i = 0; i < count; ++i) Type(robot, input.takeByte());
      break;
    }
    case 1:
      for (const char c : TakeText(input)) edit.SendMessage(WM_CHAR, static_cast<unsigned char>(c), 0);
      break;
    case 2: {
      const bool byKey = input.takeByte() & 1;
      PutOnClipboard(TakeText(input));
      edit.SendMessage(byKey ? WM_CHAR : WM_PASTE, byKey ? 0x16 : 0, 0);
      break;
    }
    case 3: edit.SetWindowText(TakeText(input).c_str()); break;
    case 4: edit.ReplaceSel(TakeText(input).c_str()); break;
    case 5: {
      const int start = static_cast<std::int8_t>(input.takeByte());
      edit.SetSel(start, static_cast<std::int8_t>(input.takeByte()));
      break;
    }
    case 6: {
      const UINT radio = CScheduleSkinDlg::kAntennaRadio + input.takeByte() % 3;
      editor.SendMessage(UM_RADIO_CLICKED, radio, 0);
      break;
    }
    default: Press(editor, input.takeByte() & 1 ? "CHANNEL_TOPBUTTON" : "CHANNEL_BOTTOMBUTTON"); break;
  }
  robot.pumpUntilIdle();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Editing editing;
  static plat::Robot robot;
  CScheduleDlg& editor = editing.editor;
  fuzz::FuzzInput input(data, size);
  const int max = input.takeInt();
  const int min = input.takeInt();

  // Every run starts from the same fields: cable, and each field holding 0.
  editor.SendMessage(UM_RADIO_CLICKED, CScheduleSkinDlg::kCableRadio, 0);
  std::array<CDigitEdit*, 7> fields{};
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    fields[i] = editor.FindEdit(kFields[i]);
    if (fields[i]) fields[i]->SetWindowText("0");
  }
  CDigitEdit& lone = editing.lone;
  lone.SetRange(INT_MAX, 0);
  lone.SetWindowText("");
  lone.SetRange(max, min);
  fields[6] = &lone;
  robot.pumpUntilIdle();

  while (input.left() > 0) {
    const std::uint8_t step = input.takeByte();
    CDigitEdit* edit = fields[step / 8 % fields.size()];
    if (!edit) continue;
    Step(input, robot, editor, *edit, step % 8);
    for (const CDigitEdit* field : fields)
      if (field) CheckField(*field);
  }

  if (editor.StoreEntry()) {
    const CScheduleItem& entry = g_pAppController->GetScheduleList()->WorkingItem();
    fuzz::check(entry.duration >= 3 && entry.duration <= 23 * 3600 + 59 * 60 + 59, "the length is 3 s to 23:59:59");
    const int list = entry.source + 1;
    if ((list == 1 || list == 2) && editor.GetFirstChannel(list) <= editor.GetLastChannel(list)) {
      const int channel = list == 1 ? entry.channel1 : entry.channel2;
      fuzz::check(channel >= editor.GetFirstChannel(list) && channel <= editor.GetLastChannel(list),
                  "the channel is one of its list");
    }
  }
  return 0;
}
