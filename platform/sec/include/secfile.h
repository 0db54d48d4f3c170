// The file-title helper: the title the host shows for a program or workspace path (launch item labels).
#pragma once
#include "secdefs.h"

// The file name of path without its extension: "C:\\Tools\\Paint.exe" gives "Paint". The name starts after
// the last "\\", "/" or drive colon; the extension is the text from the name's last "." on, unless that dot
// begins the name (".profile" stays whole). A path ending in a separator gives "".
SEC_API CString SECFileTitle(LPCSTR path);
