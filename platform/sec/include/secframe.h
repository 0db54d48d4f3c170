// SECFrameWnd: a frame window that owns control bars; the component frames derive from it.
#pragma once
#include "secdefs.h"

class SEC_API SECFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(SECFrameWnd)
 public:
  SECFrameWnd();

 protected:
  DECLARE_MESSAGE_MAP()
};
