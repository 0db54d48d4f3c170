// The file-title helper.
#include "secfile.h"

CString SECFileTitle(LPCSTR path) {
  if (!path) return CString();
  // Walked by characters of the ANSI code page: a trail byte may look like a backslash.
  const char* name = path;
  const char* dot = NULL;
  for (const char* p = path; *p; p = ::CharNextA(p)) {
    if (*p == '\\' || *p == '/' || *p == ':') {
      name = p + 1;
      dot = NULL;
    } else if (*p == '.') {
      dot = p;
    }
  }
  if (!dot || dot == name) return CString(name);
  return CString(name, int(dot - name));
}
