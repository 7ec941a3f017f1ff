// Where the settings hub gets its record plan list page (dialog 156, "Orvane
// Media_RecordDlg", display mode 155, 165 while its entry editor is in front): the plan
// list made and created with the hub as its parent, or null when it cannot be made. The
// hub shows it, routes its remote keys and list notices, and closes it when the list
// returns.
#pragma once

class CSkinDialog;
class CWnd;

CSkinDialog* MakeRecordPlanPage(CWnd* hub);
