#include "windows/setup/RecordPlanPage.h"

#include "windows/setup/CRecordDlg.h"

#include <new>

CSkinDialog* MakeRecordPlanPage(CWnd* hub) {
  auto* plan = new (std::nothrow) CRecordDlg(hub);
  if (plan && !plan->Create(CRecordDlg::IDD, hub)) {
    delete plan;
    plan = nullptr;
  }
  return plan;
}
