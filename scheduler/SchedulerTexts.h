// The scheduler program's own message texts, in three columns as its table has them
// (simplified Chinese, traditional Chinese, English); the program shows the traditional
// Chinese column.
#pragma once

#include <mfc/afx.h>

namespace SchedulerTexts {

constexpr int kAlreadyRunning = 2;

// The text shown for `id`; null when the table has no row for it.
LPCSTR Lookup(int id);
// The English column, the reference wording; null when the table has no row for it.
LPCSTR English(int id);

}  // namespace SchedulerTexts
