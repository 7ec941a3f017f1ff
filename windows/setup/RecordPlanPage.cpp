#include "windows/setup/RecordPlanPage.h"

CSkinDialog* MakeRecordPlanPage(CWnd*) { return nullptr; }
