// The please-wait message and its dialog (see WaitMsg.h).
#include "WaitMsg.h"

#include <commctrl.h>

#include "host/HostIds.h"

namespace {
int g_count = 0;
UINT g_currentId = 0;
cWaitDlg* g_dialog = NULL;
const char kAnimationFile[] = "Wait.avi";

CString LoadText(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}
}  // namespace

cWaitDlg::cWaitDlg() : CDialog(IDD_WAIT) {}

BOOL cWaitDlg::Open(LPCSTR text) {
  m_strText = text;
  return Create(IDD_WAIT, AfxGetMainWnd());
}

BOOL cWaitDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(IDC_WAIT_TEXT, m_strText);
  HWND animation = ::GetDlgItem(m_hWnd, IDC_WAIT_ANIMATION);
  if (animation) {
    // "Wait.avi" beside the program, else the program's own animation.
    char path[MAX_PATH];
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    if (slash) lstrcpyA(slash + 1, kAnimationFile);
    BOOL opened = ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES &&
                  ::SendMessageA(animation, ACM_OPENA, 0, LPARAM(path));
    if (!opened)
      opened = ::SendMessageA(animation, ACM_OPENA, WPARAM(AfxGetInstanceHandle()), LPARAM(MAKEINTRESOURCEA(IDR_WAITAVI)));
    if (opened) ::SendMessageA(animation, ACM_PLAY, WPARAM(-1), MAKELPARAM(0, 0xFFFF));
  }
  CenterWindow();
  ShowWindow(SW_SHOW);
  UpdateWindow();
  return TRUE;
}

void cWaitDlg::SetText(LPCSTR text) {
  m_strText = text;
  if (m_hWnd) {
    SetDlgItemText(IDC_WAIT_TEXT, text);
    UpdateWindow();
  }
}

void cWaitDlg::Close() {
  if (!m_hWnd) return;
  HWND animation = ::GetDlgItem(m_hWnd, IDC_WAIT_ANIMATION);
  if (animation) {
    ::SendMessageA(animation, ACM_STOP, 0, 0);
    ::SendMessageA(animation, ACM_OPENA, 0, 0);
  }
  DestroyWindow();
}

cWaitMsg::cWaitMsg(UINT stringId) : m_nPreviousId(g_currentId) {
  ++g_count;
  g_currentId = stringId;
  CString text = LoadText(stringId);
  if (g_dialog && g_dialog->m_hWnd) {
    g_dialog->SetText(text);
    return;
  }
  if (!g_dialog) g_dialog = new cWaitDlg;
  if (!g_dialog->Open(text)) {
    delete g_dialog;
    g_dialog = NULL;
  }
}

cWaitMsg::~cWaitMsg() {
  --g_count;
  g_currentId = m_nPreviousId;
  if (g_count > 0) {
    if (g_dialog) g_dialog->SetText(LoadText(m_nPreviousId));
    return;
  }
  if (g_dialog) {
    g_dialog->Close();
    delete g_dialog;
    g_dialog = NULL;
  }
}

int cWaitMsg::GetCount() { return g_count; }
UINT cWaitMsg::GetCurrentId() { return g_currentId; }
cWaitDlg* cWaitMsg::GetDialog() { return g_dialog; }
