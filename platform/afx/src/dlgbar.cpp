// CDialogBar: a bar made from a child dialog template, and the idle update of a window's dialog controls.
#include "afxpriv.h"
#include "barlayout.h"
#include "state.h"

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

BEGIN_MESSAGE_MAP(CDialogBar, CControlBar)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {
// A dialog template's window style, wherever the extended template keeps it.
DWORD TemplateStyle(LPCDLGTEMPLATEA dialogTemplate) {
  const WORD* words = reinterpret_cast<const WORD*>(dialogTemplate);
  if (words[0] == 1 && words[1] == 0xFFFF) return reinterpret_cast<const DWORD*>(words)[3];  // DLGTEMPLATEEX
  return dialogTemplate->style;
}
}  // namespace

CDialogBar::CDialogBar() { m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0; }

CDialogBar::~CDialogBar() {
  if (m_hWnd) DestroyWindow();
}

BOOL CDialogBar::Create(CWnd* parent, LPCSTR templateName, UINT style, UINT id) {
  HINSTANCE module = AfxFindResourceHandle(templateName, reinterpret_cast<LPCSTR>(RT_DIALOG));
  HRSRC found = ::FindResourceA(module, templateName, reinterpret_cast<LPCSTR>(RT_DIALOG));
  if (!found) return FALSE;
  LPCDLGTEMPLATEA dialogTemplate = static_cast<LPCDLGTEMPLATEA>(::LockResource(::LoadResource(module, found)));
  if (!dialogTemplate || !(TemplateStyle(dialogTemplate) & WS_CHILD)) AfxThrowNotSupportedException();
  m_dwStyle = style & CBRS_ALL;
  if (!m_hWndOwner && parent) m_hWndOwner = parent->m_hWnd;
  // The template's module serves what the template names; the dialog procedure only starts it.
  AfxHookWindowCreate(this);
  HWND hwnd = ::CreateDialogIndirectParamA(module, dialogTemplate, parent->m_hWnd, &AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate() || !hwnd) {
    if (hwnd) ::DestroyWindow(hwnd);
    return FALSE;
  }
  CRect rect;
  GetWindowRect(&rect);
  m_sizeDefault = rect.Size();
  SetDlgCtrlID(int(id));
  ModifyStyle(0, WS_CLIPSIBLINGS);
  // The frame's next layout gives it its place; the borders of the bar style join the non-client area.
  SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
  CSize size = afxbar::WithInsets(*this, m_sizeDefault, horz);
  if (stretch && horz) size.cx = 32767;
  if (stretch && !horz) size.cy = 32767;
  return size;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
  AfxUpdateDialogControls(this, target, disableIfNoHandler);
}

BOOL CDialogBar::OnEraseBkgnd(CDC* dc) { return CControlBar::OnEraseBkgnd(dc); }

void AFXAPI AfxUpdateDialogControls(CWnd* wnd, CCmdTarget* target, BOOL disableIfNoHandler) {
  CCmdUI state;
  for (HWND child = ::GetTopWindow(wnd->m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    UINT id = UINT(::GetDlgCtrlID(child));
    if (id == 0 || LOWORD(id) == 0xFFFF) continue;  // labels
    state.m_nID = id;
    state.m_pOther = CWnd::FromHandle(child);
    // Only push buttons are commands that can lack a handler; other controls keep their state.
    UINT code = UINT(::SendMessageA(child, WM_GETDLGCODE, 0, 0));
    BOOL pushButton = (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
    state.DoUpdate(target, disableIfNoHandler && pushButton);
  }
}
