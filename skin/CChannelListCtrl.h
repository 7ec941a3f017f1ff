// The report list as the channel window hosts it: the same handlers, and the record of a
// row (or of the selected row) for the window's channel commands.
#pragma once

#include "skin/CSkinListCtrl.h"

class CChannelListCtrl : public CSkinListCtrl {
 public:
  // The record of a row; null for -1 or a row without a record.
  ChannelRecord* GetItemRecord(int nRow) const { return GetRowRecord(nRow); }
  // The record of the selected row; null when no row is selected.
  ChannelRecord* GetItemRecord() const { return GetRowRecord(GetNextItem(-1, LVNI_SELECTED)); }

 protected:
  DECLARE_MESSAGE_MAP()
};
