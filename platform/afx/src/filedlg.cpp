// CFileDialog over the system's open and save dialogs, and the document manager's file-name prompt.
#include "afxdlgs.h"
#include "state.h"
#include "winstate.h"

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL openFileDialog, LPCSTR defaultExt, LPCSTR fileName, DWORD flags, LPCSTR filter,
                         CWnd* parent)
    : m_ofn(), m_bOpenFileDialog(openFileDialog), m_szFileName(), m_szFileTitle() {
  m_pParentWnd = parent;
  m_ofn.lStructSize = sizeof m_ofn;
  m_ofn.hInstance = AfxGetInstanceHandle();
  m_ofn.Flags = flags | OFN_ENABLEHOOK | OFN_EXPLORER | OFN_ENABLESIZING;
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = MAX_PATH;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = MAX_PATH;
  m_ofn.lpfnHook = &HookProc;
  m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
  if (defaultExt) {
    m_strDefExt = defaultExt;
    m_ofn.lpstrDefExt = m_strDefExt;
  }
  if (fileName) lstrcpynA(m_szFileName, fileName, MAX_PATH);
  if (filter) {
    m_strFilter = ConvertFilter(filter);
    m_ofn.lpstrFilter = m_strFilter;
  }
}

CString PASCAL CFileDialog::ConvertFilter(LPCSTR filter) {
  CString result(filter);
  if (result.IsEmpty()) return result;
  if (result.Right(1) != "|") result += '|';
  if (result.Right(2) != "||") result += '|';
  // CString holds embedded terminators through GetBuffer.
  int n = result.GetLength();
  LPSTR p = result.GetBuffer(n);
  for (int i = 0; i < n; ++i)
    if (p[i] == '|') p[i] = 0;
  result.ReleaseBuffer(n);
  return result;
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return Hook(wnd, message, lParam);
  } catch (...) {
    MSG current = {wnd, message, wParam, lParam, 0, {0, 0}};
    afxstate::ReportAtBoundary(current);
    return FALSE;
  }
}

UINT_PTR CFileDialog::Hook(HWND wnd, UINT message, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrA(wnd, DWLP_USER, reinterpret_cast<OPENFILENAMEA*>(lParam)->lCustData);
    return TRUE;
  }
  if (message != WM_NOTIFY) return FALSE;
  CFileDialog* self = reinterpret_cast<CFileDialog*>(::GetWindowLongPtrA(wnd, DWLP_USER));
  if (!self) return FALSE;
  OFNOTIFYA* notify = reinterpret_cast<OFNOTIFYA*>(lParam);
  switch (notify->hdr.code) {
    case CDN_TYPECHANGE:
      self->m_ofn.nFilterIndex = notify->lpOFN->nFilterIndex;
      self->OnTypeChange();
      return TRUE;
    case CDN_FILEOK:
      if (self->OnFileNameOK()) {
        ::SetWindowLongPtrA(wnd, DWLP_MSGRESULT, 1);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CFileDialog::DoModal() {
  // The system runs this dialog's loop; the framework's modal state is set around it all the same.
  m_ofn.hwndOwner = PreModal();
  BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
  DWORD error = ok ? 0 : ::CommDlgExtendedError();
  PostModal();
  if (ok) return IDOK;
  if (error != 0) AfxMessageBox(AFX_IDP_INTERNAL_FAILURE, MB_ICONEXCLAMATION);
  return IDCANCEL;
}

void CFileDialog::OnTypeChange() {}
BOOL CFileDialog::OnFileNameOK() { return FALSE; }

CString CFileDialog::GetFileName() const {
  CString path(m_szFileName);
  return path.Mid(path.ReverseFind('\\') + 1);
}

CString CFileDialog::GetFileExt() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

BOOL CDocManager::DoPromptFileName(CString& fileName, UINT titleId, DWORD flags, BOOL openFileDialog,
                                   CDocTemplate* docTemplate) {
  CString filter, defaultExt;
  for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
    CDocTemplate* t = GetNextDocTemplate(pos);
    if (docTemplate && t != docTemplate) continue;
    filter += AfxTemplateFilter(t);
    if (defaultExt.IsEmpty() && t->GetDocString(defaultExt, CDocTemplate::filterExt)) {
      int semi = defaultExt.Find(';');
      if (semi >= 0) defaultExt = defaultExt.Left(semi);
      defaultExt.TrimLeft("*.");
    }
  }
  CString all;
  if (all.LoadString(AFX_IDS_ALLFILTER)) filter += all + "|*.*|";
  CFileDialog dialog(openFileDialog, defaultExt.IsEmpty() ? NULL : LPCSTR(defaultExt), fileName, flags, filter);
  CString title;
  if (title.LoadString(titleId)) dialog.m_ofn.lpstrTitle = title;
  if (dialog.DoModal() != IDOK) return FALSE;
  fileName = dialog.GetPathName();
  return TRUE;
}
