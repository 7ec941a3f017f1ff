#include <mfc/wnd/CCmdTarget.h>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn; ++entry) {
      if (entry->nMessage == nMessage && entry->nCode == nCode && nID >= entry->nID && nID <= entry->nLastID)
        return entry;
    }
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  const UINT message = HIWORD(static_cast<UINT>(nCode)) ? HIWORD(static_cast<UINT>(nCode)) : WM_COMMAND;
  const UINT code = LOWORD(static_cast<UINT>(nCode));
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, code, nID);
  if (!entry) return FALSE;
  if (pHandlerInfo) {
    pHandlerInfo->pTarget = this;
    pHandlerInfo->pmf = entry->pfn;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
    return entry->pfn(this, nID, reinterpret_cast<LPARAM>(notify->pNMHDR), notify->pResult);
  }
  LRESULT result = 0;
  return entry->pfn(this, nID, 0, &result);
}
