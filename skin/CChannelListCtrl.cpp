#include "skin/CChannelListCtrl.h"

BEGIN_MESSAGE_MAP(CChannelListCtrl, CSkinListCtrl)
END_MESSAGE_MAP()
