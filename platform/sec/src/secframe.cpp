// SECFrameWnd: a frame window that owns control bars.
#include "secframe.h"

IMPLEMENT_DYNCREATE(SECFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(SECFrameWnd, CFrameWnd)
END_MESSAGE_MAP()

SECFrameWnd::SECFrameWnd() = default;
