// Printing: the pass record (CPrintInfo), the print dialog as a framework dialog (CPrintDialog), the
// application's current printer, and a view's print job with its cancel dialog and abort procedure.
#include "afxpriv.h"
#include "state.h"
#include "winstate.h"

IMPLEMENT_DYNAMIC(CPrintDialog, CDialog)

namespace {
const WORD kFirstPage = 1;

// A context for the printer the DEVNAMES/DEVMODE handles name; null when there is none.
HDC CreateDCFromHandles(HGLOBAL devNames, HGLOBAL devMode) {
  if (!devNames) return NULL;
  const DEVNAMES* names = static_cast<const DEVNAMES*>(::GlobalLock(devNames));
  if (!names) return NULL;
  const char* base = reinterpret_cast<const char*>(names);
  const DEVMODEA* mode = devMode ? static_cast<const DEVMODEA*>(::GlobalLock(devMode)) : NULL;
  HDC dc = ::CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, base + names->wOutputOffset, mode);
  if (mode) ::GlobalUnlock(devMode);
  ::GlobalUnlock(devNames);
  return dc;
}

void FreeHandle(HGLOBAL& handle) {
  if (handle) ::GlobalFree(handle);
  handle = NULL;
}

// The modeless "Printing" dialog of a job: what is printed where, the page, and Cancel.
class CPrintingDialog : public CDialog {
 public:
  explicit CPrintingDialog(CWnd* parent) { Create(AFX_IDD_PRINTDLG, parent); }
  ~CPrintingDialog() override {
    if (m_hWnd) DestroyWindow();
  }
  void OnCancel() override;
};

// Set by the cancel dialog, read by the abort procedure, for the job of this thread.
thread_local BOOL t_userAbort = FALSE;

void CPrintingDialog::OnCancel() {
  t_userAbort = TRUE;
  EnableWindow(FALSE);
}

// Lets the job's thread go on with its messages (the cancel dialog's among them) between bands and pages;
// false stops the job.
BOOL CALLBACK AbortProc(HDC, int) {
  MSG msg;
  CWinThread* thread = AfxGetThread();
  while (!t_userAbort && ::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
    if (thread ? !thread->PumpMessage() : !::GetMessageA(&msg, NULL, 0, 0)) {
      ::PostQuitMessage(0);
      return FALSE;
    }
    if (!thread) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  return !t_userAbort;
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// The pass record.

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)), m_bDirect(FALSE),
      m_bPreview(FALSE), m_bContinuePrinting(TRUE), m_nCurPage(1), m_nNumPreviewPages(0), m_lpUserData(NULL) {
  SetMinPage(kFirstPage);
  SetMaxPage(kUnknownPage);
}

CPrintInfo::~CPrintInfo() { delete m_pPD; }

void CPrintInfo::SetMinPage(UINT page) { m_pPD->m_pd.nMinPage = WORD(page); }
void CPrintInfo::SetMaxPage(UINT page) { m_pPD->m_pd.nMaxPage = WORD(page); }
UINT CPrintInfo::GetMinPage() const { return m_pPD->m_pd.nMinPage; }
UINT CPrintInfo::GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
UINT CPrintInfo::GetFromPage() const { return m_pPD->PrintRange() ? m_pPD->m_pd.nFromPage : GetMinPage(); }
UINT CPrintInfo::GetToPage() const { return m_pPD->PrintRange() ? m_pPD->m_pd.nToPage : GetMaxPage(); }

// ---------------------------------------------------------------------------------------------
// The print dialog.

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent) : m_pd() {
  m_pParentWnd = parent;
  m_pd.lStructSize = sizeof m_pd;
  m_pd.Flags = flags | (printSetupOnly ? (PD_PRINTSETUP | PD_ENABLESETUPHOOK) : (PD_RETURNDC | PD_ENABLEPRINTHOOK));
  m_pd.lpfnPrintHook = reinterpret_cast<LPPRINTHOOKPROC>(&HookProc);
  m_pd.lpfnSetupHook = reinterpret_cast<LPSETUPHOOKPROC>(&HookProc);
  m_pd.lCustData = reinterpret_cast<LPARAM>(this);
  m_pd.nMinPage = m_pd.nFromPage = m_pd.nToPage = kFirstPage;
  m_pd.nMaxPage = CPrintInfo::kUnknownPage;
  m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog() {
  if (m_pd.hDC) ::DeleteDC(m_pd.hDC);
}

UINT_PTR CALLBACK CPrintDialog::HookProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  CPrintDialog* self = reinterpret_cast<CPrintDialog*>(reinterpret_cast<PRINTDLGA*>(lParam)->lCustData);
  try {
    // From here the dialog's messages pass the class's message map before the system's dialog procedure.
    if (!self->m_hWnd) self->SubclassWindow(wnd);
    return self->OnInitDialog();
  } catch (...) {
    MSG current = {wnd, message, wParam, lParam, 0, {0, 0}};
    afxstate::ReportAtBoundary(current);
    return FALSE;
  }
}

BOOL CPrintDialog::OnInitDialog() { return CDialog::OnInitDialog(); }

void CPrintDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  Default();
}

void CPrintDialog::OnCancel() { Default(); }

INT_PTR CPrintDialog::DoModal() {
  // The system runs this dialog's loop; the framework's modal state is set around it all the same.
  m_pd.hwndOwner = PreModal();
  if (m_pd.hDC) {
    ::DeleteDC(m_pd.hDC);
    m_pd.hDC = NULL;
  }
  BOOL ok = ::PrintDlgA(&m_pd);
  DWORD error = ok ? 0 : ::CommDlgExtendedError();
  PostModal();
  if (m_hWnd) Detach();  // the system destroyed the window
  if (ok) return IDOK;
  ::SetLastError(error);
  return error == 0 ? IDCANCEL : 0;
}

BOOL CPrintDialog::GetDefaults() {
  DWORD flags = m_pd.Flags;
  // The default printer only: nothing is shown, so neither hook nor template applies.
  m_pd.Flags = (flags | PD_RETURNDEFAULT) & ~(PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK | PD_ENABLEPRINTTEMPLATE |
                                              PD_ENABLESETUPTEMPLATE | PD_PRINTSETUP);
  if (m_pd.hDC) {
    ::DeleteDC(m_pd.hDC);
    m_pd.hDC = NULL;
  }
  m_pd.hDevMode = m_pd.hDevNames = NULL;
  BOOL ok = ::PrintDlgA(&m_pd);
  m_pd.Flags = flags;
  return ok;
}

HDC CPrintDialog::CreatePrinterDC() {
  if (m_pd.hDC) ::DeleteDC(m_pd.hDC);
  m_pd.hDC = CreateDCFromHandles(m_pd.hDevNames, m_pd.hDevMode);
  return m_pd.hDC;
}

CString CPrintDialog::DevNamesString(int which) const {
  if (!m_pd.hDevNames) return CString();
  const DEVNAMES* names = static_cast<const DEVNAMES*>(::GlobalLock(m_pd.hDevNames));
  if (!names) return CString();
  const WORD offsets[] = {names->wDriverOffset, names->wDeviceOffset, names->wOutputOffset};
  CString text(reinterpret_cast<const char*>(names) + offsets[which]);
  ::GlobalUnlock(m_pd.hDevNames);
  return text;
}

CString CPrintDialog::GetDriverName() const { return DevNamesString(0); }
CString CPrintDialog::GetDeviceName() const { return DevNamesString(1); }
CString CPrintDialog::GetPortName() const { return DevNamesString(2); }

int CPrintDialog::GetCopies() const {
  if (!(m_pd.Flags & PD_USEDEVMODECOPIES) || !m_pd.hDevMode) return m_pd.nCopies;
  const DEVMODEA* mode = static_cast<const DEVMODEA*>(::GlobalLock(m_pd.hDevMode));
  int copies = mode ? mode->dmCopies : m_pd.nCopies;
  ::GlobalUnlock(m_pd.hDevMode);
  return copies;
}

int CPrintDialog::GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
int CPrintDialog::GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

// ---------------------------------------------------------------------------------------------
// The application's current printer.

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pd) {
  if (!m_hDevNames) {
    CPrintDialog defaults(TRUE);
    if (!defaults.GetDefaults()) return FALSE;
    SelectPrinter(defaults.m_pd.hDevNames, defaults.m_pd.hDevMode);
  }
  pd->hDevNames = m_hDevNames;
  pd->hDevMode = m_hDevMode;
  return TRUE;
}

void CWinApp::SelectPrinter(HGLOBAL devNames, HGLOBAL devMode) {
  if (m_hDevNames != devNames) FreeHandle(m_hDevNames);
  if (m_hDevMode != devMode) FreeHandle(m_hDevMode);
  m_hDevNames = devNames;
  m_hDevMode = devMode;
}

BOOL CWinApp::CreatePrinterDC(CDC& dc) {
  PRINTDLGA pd = {};
  if (!GetPrinterDeviceDefaults(&pd)) return FALSE;
  HDC printer = CreateDCFromHandles(pd.hDevNames, pd.hDevMode);
  return printer && dc.Attach(printer);
}

int CWinApp::DoPrintDialog(CPrintDialog* dialog) {
  PRINTDLGA defaults = {};
  GetPrinterDeviceDefaults(&defaults);
  dialog->m_pd.hDevMode = m_hDevMode;
  dialog->m_pd.hDevNames = m_hDevNames;
  INT_PTR result = dialog->DoModal();
  if (result == 0) {
    DWORD error = ::GetLastError();
    if (error == PDERR_PRINTERNOTFOUND || error == PDERR_DNDMMISMATCH || error == PDERR_DEFAULTDIFFERENT) {
      // The current printer is gone: the system's default takes its place.
      SelectPrinter(NULL, NULL);
      dialog->m_pd.hDevMode = dialog->m_pd.hDevNames = NULL;
      result = dialog->DoModal();
      error = result == 0 ? ::GetLastError() : 0;
    }
    if (result == 0) {
      // A dialog that could not even be shown says why instead of looking cancelled.
      AfxMessageBox(error == PDERR_NODEVICES ? AFX_IDP_NO_PRINTER : AFX_IDP_FAILED_TO_START_PRINT, MB_ICONEXCLAMATION);
      return 0;
    }
  }
  // The dialog may have replaced the handles it was given (freeing those).
  m_hDevMode = dialog->m_pd.hDevMode;
  m_hDevNames = dialog->m_pd.hDevNames;
  return int(result);
}

void CWinApp::OnFilePrintSetup() {
  CPrintDialog setup(TRUE);
  DoPrintDialog(&setup);
}

// ---------------------------------------------------------------------------------------------
// A view's print job.

BOOL CView::OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }
void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CView::OnPrint(CDC* dc, CPrintInfo*) { OnDraw(dc); }
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

BOOL CView::DoPreparePrinting(CPrintInfo* info) {
  CWinApp* app = AfxGetApp();
  if (!app) AfxThrowNotSupportedException();  // the current printer is the application's
  CPrintDialog* dialog = info->m_pPD;
  dialog->m_pd.nFromPage = WORD(info->GetMinPage());
  dialog->m_pd.nToPage = WORD(info->GetMaxPage());
  if (info->m_bPreview || info->m_bDirect) {
    // No questions: the current printer, or the dialog when there is none yet.
    if (!dialog->m_pd.hDC) {
      if (!app->GetPrinterDeviceDefaults(&dialog->m_pd) && app->DoPrintDialog(dialog) != IDOK) return FALSE;
      if (!dialog->m_pd.hDC && !dialog->CreatePrinterDC()) {
        // The current printer went away or refuses a context: said, not silently nothing.
        AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT, MB_ICONEXCLAMATION);
        return FALSE;
      }
    }
  } else if (app->DoPrintDialog(dialog) != IDOK) {
    return FALSE;
  }
  if (!dialog->m_pd.hDC) return FALSE;
  info->m_nNumPreviewPages = UINT(app->m_nNumPreviewPages);
  info->m_strPageDesc.LoadString(AFX_IDS_PREVIEWPAGEDESC);
  return TRUE;
}

void CView::OnFilePrint() {
  CPrintInfo info;
  const MSG& command = afxstate::Thread().lastSent;
  info.m_bDirect = command.message == WM_COMMAND && LOWORD(command.wParam) == ID_FILE_PRINT_DIRECT;
  if (!OnPreparePrinting(&info)) return;
  if (!info.m_pPD->m_pd.hDC) {
    AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT, MB_ICONEXCLAMATION);
    return;
  }
  // Print to file: the output's name is asked for here.
  CString output;
  if (info.m_pPD->PrintToFile()) {
    CString filter, extension, fileName;
    filter.LoadString(AFX_IDS_PRINTFILTER);
    extension.LoadString(AFX_IDS_PRINTDEFAULTEXT);
    fileName.LoadString(AFX_IDS_PRINTDEFAULT);
    CFileDialog ask(FALSE, extension, fileName, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, filter, this);
    CString caption;
    if (caption.LoadString(AFX_IDS_PRINTCAPTION)) ask.m_ofn.lpstrTitle = caption;
    if (ask.DoModal() != IDOK) return;
    output = ask.GetPathName();
  }
  CString title;
  if (CDocument* doc = GetDocument()) title = doc->GetTitle();
  if (title.IsEmpty()) {
    CWnd* frame = GetParentFrame();
    (frame ? frame : this)->GetWindowText(title);
  }
  DOCINFOA docInfo = {sizeof docInfo, title, output.IsEmpty() ? NULL : LPCSTR(output), NULL, 0};

  CDC dc;
  dc.Attach(info.m_pPD->m_pd.hDC);  // the pass's dialog keeps the context; dc lets go of it at the end
  dc.m_bPrinting = TRUE;
  OnBeginPrinting(&dc, &info);
  dc.SetAbortProc(&AbortProc);
  t_userAbort = FALSE;
  CWnd* main = AfxGetMainWnd();
  BOOL mainWasEnabled = main && main->IsWindowEnabled();
  if (mainWasEnabled) main->EnableWindow(FALSE);
  CPrintingDialog progress(main);
  CString where, port = info.m_pPD->GetPortName();
  AfxFormatString1(where, output.IsEmpty() ? AFX_IDS_PRINTONPORT : AFX_IDS_PRINTTOFILE, output.IsEmpty() ? LPCSTR(port) : LPCSTR(output));
  progress.SetDlgItemText(AFX_IDC_PRINT_DOCNAME, title);
  progress.SetDlgItemText(AFX_IDC_PRINT_PRINTERNAME, info.m_pPD->GetDeviceName());
  progress.SetDlgItemText(AFX_IDC_PRINT_PORTNAME, where);
  progress.ShowWindow(SW_SHOW);
  progress.UpdateWindow();

  BOOL failed = dc.StartDoc(&docInfo) <= 0;
  BOOL started = !failed;
  if (started) {
    UINT first = info.GetFromPage(), last = info.GetToPage();
    if (first < info.GetMinPage()) first = info.GetMinPage();
    if (last > info.GetMaxPage()) last = info.GetMaxPage();
    int step = last >= first ? 1 : -1;
    CString pageFormat;
    pageFormat.LoadString(AFX_IDS_PRINTPAGENUM);
    for (info.m_nCurPage = first;; info.m_nCurPage += step) {
      OnPrepareDC(&dc, &info);
      if (!info.m_bContinuePrinting) break;
      CString pageText;
      pageText.Format(pageFormat, info.m_nCurPage);
      progress.SetDlgItemText(AFX_IDC_PRINT_PAGENUM, pageText);
      info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
      dc.DPtoLP(&info.m_rectDraw);
      if (dc.StartPage() <= 0) {
        failed = TRUE;
        break;
      }
      OnPrepareDC(&dc, &info);  // StartPage resets the context's attributes
      OnPrint(&dc, &info);
      if (dc.EndPage() <= 0) {
        failed = !t_userAbort;
        break;
      }
      if (!AbortProc(dc.m_hDC, 0) || info.m_nCurPage == last) break;
    }
    if (failed || t_userAbort)
      dc.AbortDoc();
    else if (dc.EndDoc() <= 0)
      failed = TRUE;
  }
  if (mainWasEnabled) main->EnableWindow(TRUE);
  OnEndPrinting(&dc, &info);
  progress.DestroyWindow();
  dc.Detach();
  // A job that broke off (not by the user's Cancel) must not look printed.
  if (failed) AfxMessageBox(started ? AFX_IDP_FAILED_TO_PRINT : AFX_IDP_FAILED_TO_START_PRINT, MB_ICONEXCLAMATION);
}
