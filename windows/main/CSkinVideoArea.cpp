#include "windows/main/CSkinVideoArea.h"

#include "core/CAppController.h"
#include "skin/CVideoStatic.h"
#include "skin/SkinValues.h"

#include <new>

CSkinVideoArea::CSkinVideoArea() = default;

CSkinVideoArea::~CSkinVideoArea() { Destroy(); }

BOOL CSkinVideoArea::Create(CWnd& parent, const RECT& design) {
  if (m_area) return TRUE;
  std::unique_ptr<CVideoStatic> area(new (std::nothrow) CVideoStatic);
  if (!area) return FALSE;
  area->SetAreaRect(design.left, design.top, design.right, design.bottom);
  area->SetAllowFullScreen(FALSE);
  CRect client;
  parent.GetClientRect(&client);
  if (!area->Create("", WS_CHILD | WS_VISIBLE, ScaleDesignRect(design, client.Width(), client.Height()), &parent, 0))
    return FALSE;
  m_area = std::move(area);
  return TRUE;
}

void CSkinVideoArea::Place() {
  CWnd* parent = m_area ? m_area->GetParent() : nullptr;
  if (!parent || !m_area->GetSafeHwnd()) return;
  CRect client;
  parent->GetClientRect(&client);
  RECT design{};
  m_area->GetAreaRect(design);
  m_area->MoveWindow(ScaleDesignRect(design, client.Width(), client.Height()), TRUE);
}

void CSkinVideoArea::ShowLivePicture() {
  if (!m_area || !g_pAppController) return;
  if (g_pAppController->IsPreviewing()) g_pAppController->SetVideoOwner(m_area->GetSafeHwnd());
  else if (g_pAppController->IsIdle()) g_pAppController->StartPreview(m_area->GetSafeHwnd());
}

void CSkinVideoArea::AttachLivePicture() {
  if (!m_area || !g_pAppController) return;
  g_pAppController->SetVideoOwner(m_area->GetSafeHwnd());
  g_pAppController->SetVideoWindow(m_area->GetSafeHwnd());
}

void CSkinVideoArea::Destroy() {
  if (!m_area) return;
  if (m_area->GetSafeHwnd()) m_area->DestroyWindow();
  m_area.reset();
}
