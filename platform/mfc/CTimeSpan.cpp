#include <mfc/CTimeSpan.h>

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
    : m_timeSpan(((static_cast<time_t>(lDays) * 24 + nHours) * 60 + nMins) * 60 + nSecs) {}

CString CTimeSpan::Format(LPCSTR pFormat) const {
  CString result;
  for (LPCSTR p = pFormat ? pFormat : ""; *p; ++p) {
    if (*p != '%' || p[1] == '\0') {
      result += *p;
      continue;
    }
    switch (*++p) {
      case 'D':
        result.AppendFormat("%lld", static_cast<long long>(GetDays()));
        break;
      case 'H':
        result.AppendFormat("%02d", GetHours());
        break;
      case 'M':
        result.AppendFormat("%02d", GetMinutes());
        break;
      case 'S':
        result.AppendFormat("%02d", GetSeconds());
        break;
      case '%':
        result += '%';
        break;
      default:  // not a code: kept as written
        result += '%';
        result += *p;
        break;
    }
  }
  return result;
}
