#include <mfc/CTime.h>

#include <machine/Machine.h>

namespace {

constexpr const char* kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};
// Seconds between the file-time epoch (1601) and the Unix epoch (1970).
constexpr LONGLONG kFileTimeEpochSeconds = 11644473600LL;
constexpr LONGLONG kFileTimeUnitsPerSecond = 10000000LL;

plat::Clock& machineClock() { return plat::Machine::current().clock(); }

int hour12(const std::tm& t) { return t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12; }

// Appends the expansion of one format code; false when the code is not one of ours.
bool appendField(CString& out, char code, const std::tm& t) {
  switch (code) {
    case 'a': out.AppendFormat("%.3s", kDayNames[t.tm_wday]); return true;
    case 'A': out += kDayNames[t.tm_wday]; return true;
    case 'b': out.AppendFormat("%.3s", kMonthNames[t.tm_mon]); return true;
    case 'B': out += kMonthNames[t.tm_mon]; return true;
    case 'c':
      appendField(out, 'x', t);
      out += ' ';
      appendField(out, 'X', t);
      return true;
    case 'd': out.AppendFormat("%02d", t.tm_mday); return true;
    case 'H': out.AppendFormat("%02d", t.tm_hour); return true;
    case 'I': out.AppendFormat("%02d", hour12(t)); return true;
    case 'j': out.AppendFormat("%03d", t.tm_yday + 1); return true;
    case 'm': out.AppendFormat("%02d", t.tm_mon + 1); return true;
    case 'M': out.AppendFormat("%02d", t.tm_min); return true;
    case 'p': out += t.tm_hour < 12 ? "AM" : "PM"; return true;
    case 'S': out.AppendFormat("%02d", t.tm_sec); return true;
    case 'w': out.AppendFormat("%d", t.tm_wday); return true;
    case 'x': out.AppendFormat("%02d/%02d/%02d", t.tm_mon + 1, t.tm_mday, (t.tm_year + 1900) % 100); return true;
    case 'X': out.AppendFormat("%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec); return true;
    case 'y': out.AppendFormat("%02d", (t.tm_year + 1900) % 100); return true;
    case 'Y': out.AppendFormat("%d", t.tm_year + 1900); return true;
    case '%': out += '%'; return true;
    default: return false;
  }
}

}  // namespace

CTime CTime::GetCurrentTime() { return CTime(machineClock().unixSeconds()); }

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int) {
  std::tm fields{};
  fields.tm_year = nYear - 1900;
  fields.tm_mon = nMonth - 1;
  fields.tm_mday = nDay;
  fields.tm_hour = nHour;
  fields.tm_min = nMin;
  fields.tm_sec = nSec;
  m_time = machineClock().fromLocal(fields);
}

CTime::CTime(const SYSTEMTIME& sysTime, int nDST)
    : CTime(sysTime.wYear, sysTime.wMonth, sysTime.wDay, sysTime.wHour, sysTime.wMinute, sysTime.wSecond, nDST) {}

CTime::CTime(const FILETIME& fileTime, int) {
  const ULONGLONG units = (static_cast<ULONGLONG>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
  m_time = static_cast<time_t>(units / kFileTimeUnitsPerSecond) - kFileTimeEpochSeconds;
}

std::tm CTime::Local() const { return machineClock().toLocal(m_time); }

BOOL CTime::GetAsSystemTime(SYSTEMTIME& timeDest) const {
  const std::tm t = Local();
  const int year = t.tm_year + 1900;
  if (year < 1601 || year > 30827) return FALSE;
  timeDest.wYear = static_cast<WORD>(year);
  timeDest.wMonth = static_cast<WORD>(t.tm_mon + 1);
  timeDest.wDayOfWeek = static_cast<WORD>(t.tm_wday);
  timeDest.wDay = static_cast<WORD>(t.tm_mday);
  timeDest.wHour = static_cast<WORD>(t.tm_hour);
  timeDest.wMinute = static_cast<WORD>(t.tm_min);
  timeDest.wSecond = static_cast<WORD>(t.tm_sec);
  timeDest.wMilliseconds = 0;
  return TRUE;
}

CString CTime::Format(LPCSTR pFormat) const {
  const std::tm t = Local();
  CString result;
  for (LPCSTR p = pFormat ? pFormat : ""; *p; ++p) {
    if (*p == '%' && p[1] != '\0' && appendField(result, p[1], t)) {
      ++p;
    } else {
      result += *p;
    }
  }
  return result;
}
