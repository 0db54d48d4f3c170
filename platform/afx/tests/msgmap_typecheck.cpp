// Message map entries check their handlers' types: the build compiles this file as it stands, and tests
// expect the compiler to refuse it with a window-message or a command handler of the wrong signature.
#include "afxwin.h"

class CTypeChecked : public CWnd {
 public:
#ifdef AFX_TYPECHECK_WRONG_WINDOW
  afx_msg void OnSize(int cx, int cy) {}  // WM_SIZE handlers take (UINT, int, int)
#else
  afx_msg void OnSize(UINT, int, int) {}
#endif
#ifdef AFX_TYPECHECK_WRONG_COMMAND
  afx_msg void OnRefresh(UINT) {}  // ON_COMMAND handlers take nothing
#else
  afx_msg void OnRefresh() {}
#endif
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTypeChecked, CWnd)
  ON_WM_SIZE()
  ON_COMMAND(1, OnRefresh)
END_MESSAGE_MAP()
