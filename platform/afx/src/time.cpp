// CTime: conversions between seconds since 1970, local calendar fields, system and file times.
#include "afxwin.h"

CTime PASCAL CTime::GetCurrentTime() { return CTime(::time(NULL)); }

CTime::CTime(int year, int month, int day, int hour, int min, int sec, int dst) {
  struct tm t = {};
  t.tm_sec = sec;
  t.tm_min = min;
  t.tm_hour = hour;
  t.tm_mday = day;
  t.tm_mon = month - 1;
  t.tm_year = year - 1900;
  t.tm_isdst = dst;
  m_time = mktime(&t);
}

CTime::CTime(const SYSTEMTIME& st, int dst)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, dst) {}

CTime::CTime(const FILETIME& ft, int dst) : m_time(0) {
  FILETIME local;
  SYSTEMTIME st;
  if (FileTimeToLocalFileTime(&ft, &local) && FileTimeToSystemTime(&local, &st)) *this = CTime(st, dst);
}

struct tm* CTime::GetLocalTm(struct tm* out) const {
  time_t t = m_time;
  struct tm* r = localtime(&t);
  if (!r) return NULL;
  *out = *r;
  return out;
}

namespace {
struct tm Local(time_t t) {
  struct tm out = {};
  struct tm* r = localtime(&t);
  if (r) out = *r;
  return out;
}
}  // namespace

int CTime::GetYear() const { return Local(m_time).tm_year + 1900; }
int CTime::GetMonth() const { return Local(m_time).tm_mon + 1; }
int CTime::GetDay() const { return Local(m_time).tm_mday; }
int CTime::GetHour() const { return Local(m_time).tm_hour; }
int CTime::GetMinute() const { return Local(m_time).tm_min; }
int CTime::GetSecond() const { return Local(m_time).tm_sec; }
int CTime::GetDayOfWeek() const { return Local(m_time).tm_wday + 1; }

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const {
  time_t t = m_time;
  struct tm* r = localtime(&t);
  if (!r) return FALSE;
  st = SYSTEMTIME{};
  st.wYear = WORD(r->tm_year + 1900);
  st.wMonth = WORD(r->tm_mon + 1);
  st.wDayOfWeek = WORD(r->tm_wday);
  st.wDay = WORD(r->tm_mday);
  st.wHour = WORD(r->tm_hour);
  st.wMinute = WORD(r->tm_min);
  st.wSecond = WORD(r->tm_sec);
  return TRUE;
}

namespace {
CString FormatTm(const struct tm* t, LPCSTR format) {
  char buffer[256];
  if (!t || strftime(buffer, sizeof buffer, format, t) == 0) return CString();
  return CString(buffer);
}
}  // namespace

CString CTime::Format(LPCSTR format) const {
  time_t t = m_time;
  return FormatTm(localtime(&t), format);
}

CString CTime::FormatGmt(LPCSTR format) const {
  time_t t = m_time;
  return FormatTm(gmtime(&t), format);
}
