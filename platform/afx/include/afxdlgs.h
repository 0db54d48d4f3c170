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

// The common print dialog (and print setup) as a framework dialog: a custom template (m_pd.hInstance,
// m_pd.lpPrintTemplateName with PD_ENABLEPRINTTEMPLATE; the template module may be any resource library)
// works like a framework dialog's: its extra controls reach the derived class's message map and data
// exchange (OnInitDialog fills them, OnOK reads them before the system's OK), while the system runs the
// dialog. Modal state is set around it like every framework dialog's.
class AFX_API CPrintDialog : public CDialog {
  DECLARE_DYNAMIC(CPrintDialog)
 public:
  explicit CPrintDialog(BOOL printSetupOnly,
                        DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                      PD_NOSELECTION,
                        CWnd* parent = NULL);
  ~CPrintDialog() override;  // frees the printer context it made (m_pd.hDC); the printer handles stay
  // IDOK, IDCANCEL, or 0 when the dialog failed (CommDlgExtendedError says why).
  INT_PTR DoModal() override;
  // The default printer without showing anything: fills m_pd (handles and context); false when none.
  BOOL GetDefaults();
  // A context for the chosen printer (m_pd.hDC, made when missing); null when none can be made.
  HDC GetPrinterDC() const { return m_pd.hDC; }
  HDC CreatePrinterDC();
  CString GetDeviceName() const;
  CString GetDriverName() const;
  CString GetPortName() const;
  int GetCopies() const;
  int GetFromPage() const;
  int GetToPage() const;
  BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
  BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
  BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
  BOOL PrintToFile() const { return (m_pd.Flags & PD_PRINTTOFILE) != 0; }

  PRINTDLGA m_pd;

 protected:
  BOOL OnInitDialog() override;  // the template's extra controls: data exchange into them
  void OnOK() override;          // data exchange out of them, then the system's OK
  void OnCancel() override;      // the system's Cancel
  static UINT_PTR CALLBACK HookProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
  // One of the DEVNAMES strings (their offsets' place in the block).
  CString DevNamesString(int which) const;
};
