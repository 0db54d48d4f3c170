// A dispatch map whose entries fit their members compiles; with AFX_TYPECHECK_WRONG_* one entry does not
// fit, and the map must fail to compile for that reason (afx_dispmap_refuses_* tests).
#include "afxdisp.h"

class CTypecheck : public CCmdTarget {
 public:
  long Add(short step, LPCSTR why);
  void SetName(LPCSTR name);
  CString GetName();
  BOOL m_flag;
  void OnFlag();
  DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CTypecheck, CCmdTarget)
#if defined(AFX_TYPECHECK_WRONG_PARAMS)
  DISP_FUNCTION_ID(CTypecheck, "Add", 1, Add, VT_I4, VTS_I4 VTS_BSTR)
#elif defined(AFX_TYPECHECK_WRONG_RESULT)
  DISP_FUNCTION_ID(CTypecheck, "Add", 1, Add, VT_BSTR, VTS_I2 VTS_BSTR)
#elif defined(AFX_TYPECHECK_WRONG_PROPERTY)
  DISP_PROPERTY_EX_ID(CTypecheck, "Name", 2, GetName, SetName, VT_I4)
#else
  DISP_FUNCTION_ID(CTypecheck, "Add", 1, Add, VT_I4, VTS_I2 VTS_BSTR)
  DISP_PROPERTY_EX_ID(CTypecheck, "Name", 2, GetName, SetName, VT_BSTR)
  DISP_PROPERTY_NOTIFY_ID(CTypecheck, "Flag", 3, m_flag, OnFlag, VT_BOOL)
#endif
END_DISPATCH_MAP()
