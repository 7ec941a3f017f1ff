// MFC's standard dialogs: the open and save file dialogs.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/CFileDialog.h>
