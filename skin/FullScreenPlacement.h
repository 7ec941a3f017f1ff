// The placement that makes a video control's client area cover the screen, any frame
// lying outside it: the shared step of entering full screen for both video statics.
#pragma once

#include <mfc/afxwin.h>

// With bKeepTop, the control keeps its top edge where its frame has it; otherwise the top
// goes to 0.
WINDOWPLACEMENT FullScreenPlacement(const CWnd& wnd, BOOL bKeepTop);
