// The root of every class that handles messages and commands: it owns the message map
// lookup (see afxmsg.h) and routes WM_COMMAND and WM_NOTIFY to the entries that match
// their code and control id.
#pragma once

#include <mfc/afx.h>
#include <mfc/wnd/afxmsg.h>

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  CCmdTarget() = default;

  // Calls the handler of command `nID` with notification code `nCode` (HIWORD WM_NOTIFY
  // for notifications, whose record comes in pExtra as AFX_NOTIFY). With pHandlerInfo,
  // only tells whether a handler exists and fills it in.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  // The entry of this object's map chain for (message, code, id), or nullptr.
  const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;

 protected:
  static const AFX_MSGMAP* PASCAL GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};
