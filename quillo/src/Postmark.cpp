// The postmark's date and time texts.
#include "Postmark.h"

#include "QuilloSettings.h"

namespace {

const int kHoursPerHalfDay = 12;
const int kTextChars = 64;
// The Windows profile's defaults for the clock texts.
const char kSeparatorValue[] = "sTime";
const char kAmValue[] = "s1159";
const char kPmValue[] = "s2359";
const char kDefaultSeparator[] = ":";
const char kDefaultAm[] = "AM";
const char kDefaultPm[] = "PM";

CString ProfileText(LPCSTR value, LPCSTR fallback) {
  char text[kTextChars] = "";
  GetProfileStringA(quillo::kIntlSection, value, fallback, text, sizeof text);
  return text;
}

}  // namespace

cClockSettings ReadClockSettings() {
  cClockSettings clock;
  clock.twentyFourHour = GetProfileIntA(quillo::kIntlSection, quillo::kTwentyFourHourValue, 0) == 1;
  clock.markerFirst = GetProfileIntA(quillo::kIntlSection, quillo::kMarkerFirstValue, 0) != 0;
  clock.separator = ProfileText(kSeparatorValue, kDefaultSeparator);
  clock.am = ProfileText(kAmValue, kDefaultAm);
  clock.pm = ProfileText(kPmValue, kDefaultPm);
  return clock;
}

CString FormatPostmarkTime(const SYSTEMTIME& time, const cClockSettings& clock) {
  if (clock.twentyFourHour) {
    char text[kTextChars] = "";
    GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, TIME_NOSECONDS, &time, NULL, text, sizeof text);
    return text;
  }
  int hour = time.wHour;
  if (hour > kHoursPerHalfDay) hour -= kHoursPerHalfDay;
  if (hour == 0) hour = kHoursPerHalfDay;
  CString clockText;
  clockText.Format("%d%s%02d", hour, LPCSTR(clock.separator), int(time.wMinute));
  const CString& marker = time.wHour < kHoursPerHalfDay ? clock.am : clock.pm;
  return clock.markerFirst ? marker + clockText : clockText + marker;
}

CString FormatPostmarkDate(const SYSTEMTIME& time) {
  char text[kTextChars] = "";
  GetDateFormatA(LOCALE_SYSTEM_DEFAULT, DATE_SHORTDATE, &time, NULL, text, sizeof text);
  return text;
}

SYSTEMTIME LocalTimeOf(time_t stamp) {
  SYSTEMTIME result = {};
  CTime(stamp).GetAsSystemTime(result);
  return result;
}
