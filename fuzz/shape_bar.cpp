// The shaped control bar's skin: any shape-skin INI over the program's own bar pictures,
// loaded by the control bar into its shaped buttons and progress bars and then shown,
// painted, hovered, driven through every owner state and moved along its progress. Rectangles
// anywhere, of any size: nothing reads outside a picture and no size overflows.
#include "FuzzMachine.h"

#include "core/CDisplayMode.h"
#include "skin/CShapeButton.h"
#include "skin/CShapeSlider.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/WindowMessages.h"

#include <win32/gdi.h>
#include <win32/user.h>

namespace {

// The program's bar pictures beside the fuzzed skin, a hidden owner window and the display
// mode the bar reads, made once, on a screen just large enough for the bar.
struct Bar {
  Bar() {
    const auto built = std::filesystem::path(ORVANE_PROGRAM_DIR) / "skins" / "elegance";
    const auto folder = fuzz::FuzzMachine::get().programFolder() / "skins" / "elegance";
    std::filesystem::create_directories(folder);
    for (const char* name : {"normal.bmp", "mask.bmp", "hovered.bmp", "pressed.bmp", "disabled.bmp"})
      std::filesystem::copy_file(built / name, folder / name, std::filesystem::copy_options::overwrite_existing);
    // Every cut of a bar picture reads the screen: a small one keeps each run quick.
    fuzz::FuzzMachine::get().machine().ini().setValue("Screen", "Width", "640");
    fuzz::FuzzMachine::get().machine().ini().setValue("Screen", "Height", "120");
    g_pDisplayMode = new CDisplayMode;
    g_pDisplayMode->SetMode(110);
    owner.CreateEx(0, AfxRegisterWndClass(0), "Orvane Media_TVDlg", WS_POPUP, 0, 0, 640, 120, nullptr,
                   nullptr);
  }
  CWinApp app;
  CWnd owner;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  static Bar bar;
  machine.put("skins/elegance/skin.ini", data, size);
  CControlBarDlg control(&bar.owner);
  if (!control.Create(CControlBarDlg::IDD, &bar.owner)) return 0;
  if (control.LoadSkin(machine.programPath("skins\\elegance\\skin.ini").c_str())) {
    control.SetVideoWindow(bar.owner.GetSafeHwnd());
    control.ShowWindow(SW_SHOW);
    control.ShowNow();
    for (const int state : {0, 2, 3, 4, 5, 7}) {
      control.SendMessage(UM_BAR_STATE, static_cast<WPARAM>(state), 10001);
      ::RedrawWindow(control.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    for (CShapeButton* button : control.GetButtons()) {
      button->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
      ::RedrawWindow(button->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    if (CShapeSlider* progress = control.FindProgress("PROGRESS_POS")) {
      control.EnableSliderByName("PROGRESS_POS", TRUE);
      for (const int position : {0, 50, 100}) control.SetSliderPosByName("PROGRESS_POS", position);
      progress->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
      progress->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40000, 3));
      progress->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(40000, 3));
    }
  }
  control.DestroyWindow();
  return 0;
}
