// SECCustomToolBar: windows held in place of buttons, and their notifications to the bar's owner.
#include "sectbar.h"

IMPLEMENT_DYNAMIC(SECCustomToolBar, CToolBar)

SECCustomToolBar::SECCustomToolBar() = default;
SECCustomToolBar::~SECCustomToolBar() = default;

UINT SECCustomToolBar::GetNotifyMessage() {
  static const UINT message = ::RegisterWindowMessageA("WM_SECTOOLBARWNDNOTIFY");
  return message;
}

BOOL SECCustomToolBar::SetControl(int index, CWnd* control, int width) {
  if (!m_hWnd || !control || !control->m_hWnd || index < 0 || index >= GetCount()) return FALSE;
  if (::GetParent(control->m_hWnd) != m_hWnd) return FALSE;
  SetButtonInfo(index, UINT(control->GetDlgCtrlID()), TBBS_SEPARATOR, width);
  int existing = FindControl(control->m_hWnd);
  if (existing >= 0) {
    m_arrControlIndex[existing] = UINT(index);
  } else {
    m_arrControlIndex.Add(UINT(index));
    m_arrControlWnds.Add(control->m_hWnd);
  }
  RepositionControls();
  return TRUE;
}

CWnd* SECCustomToolBar::GetControl(int index) const {
  for (INT_PTR i = 0; i < m_arrControlIndex.GetSize(); ++i)
    if (int(m_arrControlIndex[i]) == index) return CWnd::FromHandle(static_cast<HWND>(m_arrControlWnds[i]));
  return NULL;
}

int SECCustomToolBar::FindControl(HWND wnd) const {
  // The control itself or a window inside it (a combo box's edit).
  for (HWND h = wnd; h && h != m_hWnd; h = ::GetParent(h)) {
    for (INT_PTR i = 0; i < m_arrControlWnds.GetSize(); ++i)
      if (m_arrControlWnds[i] == h) return int(i);
  }
  return -1;
}

void SECCustomToolBar::RepositionControls() {
  for (INT_PTR i = m_arrControlWnds.GetSize() - 1; i >= 0; --i) {
    HWND wnd = static_cast<HWND>(m_arrControlWnds[i]);
    if (!::IsWindow(wnd)) {
      m_arrControlWnds.RemoveAt(i);
      m_arrControlIndex.RemoveAt(i);
      continue;
    }
    CRect gap;
    GetItemRect(int(m_arrControlIndex[i]), &gap);
    // A control keeps its own height (a combo box's is that of its edit part), centred in the gap.
    CRect current;
    ::GetWindowRect(wnd, &current);
    int height = current.Height() > 0 ? current.Height() : gap.Height();
    int top = gap.top + (gap.Height() - height) / 2;
    ::SetWindowPos(wnd, NULL, gap.left, top > gap.top ? top : gap.top, gap.Width(), height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void SECCustomToolBar::NotifyOwner(int index, UINT code) {
  HWND wnd = static_cast<HWND>(m_arrControlWnds[index]);
  CWnd* owner = GetOwner();
  if (!owner || !owner->m_hWnd) return;
  owner->SendMessage(GetNotifyMessage(), MAKEWPARAM(::GetDlgCtrlID(wnd), code), reinterpret_cast<LPARAM>(wnd));
}

BOOL SECCustomToolBar::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
    int index = FindControl(msg->hwnd);
    if (index >= 0) {
      // A drop-down list that is open takes its own Enter and Escape.
      HWND combo = static_cast<HWND>(m_arrControlWnds[index]);
      if (::SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) ::SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
      NotifyOwner(index, msg->wParam == VK_RETURN ? SECTBN_RETURN : SECTBN_ESCAPE);
      return TRUE;
    }
  }
  return CToolBar::PreTranslateMessage(msg);
}

LRESULT SECCustomToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && lParam) {
    int index = FindControl(reinterpret_cast<HWND>(lParam));
    if (index >= 0 && m_arrControlWnds[index] == reinterpret_cast<HWND>(lParam)) {
      NotifyOwner(index, HIWORD(wParam));
      return 0;
    }
  }
  LRESULT result = CToolBar::WindowProc(message, wParam, lParam);
  switch (message) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
    case TB_AUTOSIZE:
    case TB_SETBUTTONINFOA:
    case TB_SETBUTTONSIZE:
      if (m_arrControlWnds.GetSize() > 0) RepositionControls();
      break;
    default: break;
  }
  return result;
}
