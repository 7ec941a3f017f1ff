// Where the settings hub gets its record plan list page (dialog 156, "Orvane
// Media_RecordDlg", display mode 155): the plan list made and created with the hub as
// its parent, or null. The plan list is not built yet, so for now there is none and the
// hub's plan button opens nothing; the hub already routes the page's remote keys (modes
// 155 and 165), its list notices and its return.
#pragma once

class CSkinDialog;
class CWnd;

CSkinDialog* MakeRecordPlanPage(CWnd* hub);
