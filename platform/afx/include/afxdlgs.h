// The common file dialog (CFileDialog): open and save, filters written as "name|*.ext||", a default
// extension, and a hook for a change of file type. Included by programs that ask for file names.
#pragma once
#include "afxwin.h"
#include <commdlg.h>

class AFX_API CFileDialog : public CDialog {
  DECLARE_DYNAMIC(CFileDialog)
 public:
  CFileDialog(BOOL openFileDialog, LPCSTR defaultExt = NULL, LPCSTR fileName = NULL,
              DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = NULL, CWnd* parent = NULL);
  INT_PTR DoModal() override;  // IDOK, IDCANCEL; a failure of the dialog itself reports as IDCANCEL after telling why
  CString GetPathName() const { return m_szFileName; }
  CString GetFileName() const;
  CString GetFileExt() const;
  CString GetFileTitle() const;
  OPENFILENAMEA& GetOFN() { return m_ofn; }
  // The filter text with '|' turned into the terminators the system expects (ends with two).
  static CString PASCAL ConvertFilter(LPCSTR filter);

  OPENFILENAMEA m_ofn;
  BOOL m_bOpenFileDialog;

 protected:
  virtual void OnTypeChange();      // the user picked another file type (m_ofn.nFilterIndex)
  virtual BOOL OnFileNameOK();      // true refuses the chosen name
  static UINT_PTR CALLBACK HookProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
  static UINT_PTR Hook(HWND wnd, UINT message, LPARAM lParam);
  CString m_strFilter;
  CString m_strDefExt;
  char m_szFileName[MAX_PATH];
  char m_szFileTitle[MAX_PATH];
};
