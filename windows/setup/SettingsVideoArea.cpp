#include "windows/setup/SettingsVideoArea.h"

#include "core/CAppController.h"
#include "skin/CVideoStatic.h"
#include "skin/SkinValues.h"

#include <new>

std::unique_ptr<CVideoStatic> MakeVideoArea(CWnd& parent, const RECT& design) {
  std::unique_ptr<CVideoStatic> area(new (std::nothrow) CVideoStatic);
  if (!area) return nullptr;
  area->SetAreaRect(design.left, design.top, design.right, design.bottom);
  area->SetAllowFullScreen(FALSE);
  CRect client;
  parent.GetClientRect(&client);
  if (!area->Create("", WS_CHILD | WS_VISIBLE, ScaleDesignRect(design, client.Width(), client.Height()), &parent, 0))
    return nullptr;
  return area;
}

void PlaceVideoArea(CVideoStatic& area) {
  CWnd* parent = area.GetParent();
  if (!area.GetSafeHwnd() || !parent) return;
  CRect client;
  parent->GetClientRect(&client);
  RECT design{};
  area.GetAreaRect(design);
  area.MoveWindow(ScaleDesignRect(design, client.Width(), client.Height()), TRUE);
}

void ShowLivePicture(CVideoStatic& area) {
  if (!g_pAppController) return;
  if (g_pAppController->IsPreviewing()) g_pAppController->SetVideoOwner(area.GetSafeHwnd());
  else if (g_pAppController->IsIdle()) g_pAppController->StartPreview(area.GetSafeHwnd());
}

void DestroyVideoArea(std::unique_ptr<CVideoStatic>& area) {
  if (!area) return;
  if (area->GetSafeHwnd()) area->DestroyWindow();
  area.reset();
}
