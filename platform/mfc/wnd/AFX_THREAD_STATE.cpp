#include <mfc/wnd/AFX_THREAD_STATE.h>

AFX_THREAD_STATE* AfxGetThreadState() {
  thread_local AFX_THREAD_STATE state;
  return &state;
}
