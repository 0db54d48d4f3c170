// The postmark on the card's back: the card's time stamp as a date in the system's short date format and a
// time without seconds. On a 12-hour clock ("iTime" of the Windows profile's "intl" section not 1) an hour
// above 12 shows 12 hours earlier and hour 0 as 12, with the AM/PM marker before the time when
// "iTimePrefix" is set, else after it, without a separator; a 24-hour clock shows the system's time format.
#pragma once
#include <afxwin.h>
#include <ctime>

struct cClockSettings {
  BOOL twentyFourHour = FALSE;
  BOOL markerFirst = FALSE;
  CString separator;  // between hours and minutes
  CString am, pm;     // the markers
};

// The clock settings of the Windows profile's "intl" section.
cClockSettings ReadClockSettings();

CString FormatPostmarkTime(const SYSTEMTIME& time, const cClockSettings& clock);
CString FormatPostmarkDate(const SYSTEMTIME& time);
// The local time of a time stamp (seconds since 1970).
SYSTEMTIME LocalTimeOf(time_t stamp);
