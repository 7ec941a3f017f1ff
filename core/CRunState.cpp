#include "core/CRunState.h"

#include <mfc/afxwin.h>

void CRunState::SetState(int state) {
  if (state == m_state) return;
  m_state = state;
  // Posted, so receivers see the state after the operation that set it has finished.
  if (CWnd* main = AfxGetMainWnd(); main && main->GetSafeHwnd())
    ::PostMessageA(main->GetSafeHwnd(), UM_RUNSTATE_CHANGED, static_cast<WPARAM>(state), 0);
}
