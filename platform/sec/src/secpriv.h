// Helpers shared by the library's sources (not exported).
#pragma once
#include "secdock.h"

// The first id in first..last that no bar of frame has (throws a resource exception when all are taken).
UINT SECNextFreeBarId(CFrameWnd* frame, UINT first, UINT last);
// Where a bar floats when nobody says: a little inside the dock site's top left.
CPoint SECDefaultFloatPoint(CFrameWnd* site);
