// Status bars with controls in their panes and pane tool tips, and the small image buttons.
#include "secstat.h"

IMPLEMENT_DYNAMIC(SECStatusBar, CStatusBar)
IMPLEMENT_DYNAMIC(SECCustomStatusBar, SECStatusBar)
IMPLEMENT_DYNAMIC(SECImageButton, CButton)

namespace {
const int kTipLength = 80;  // a tool tip's text buffer, terminator included
}

// ---------------------------------------------------------------------------------------------
// SECStatusBar

SECStatusBar::SECStatusBar() : m_bRepositionPosted(FALSE) {}
SECStatusBar::~SECStatusBar() = default;

BOOL SECStatusBar::AddPaneControl(UINT paneId, CWnd* control, BOOL fill) {
  if (!m_hWnd || !control || !control->m_hWnd || ::GetParent(control->m_hWnd) != m_hWnd) return FALSE;
  RemovePaneControl(paneId);
  PaneControl entry = {paneId, control->m_hWnd, fill, FALSE};
  m_arrControls.Add(entry);
  RepositionPaneControls();
  return TRUE;
}

void SECStatusBar::RemovePaneControl(UINT paneId) {
  for (INT_PTR i = m_arrControls.GetSize() - 1; i >= 0; --i)
    if (m_arrControls[i].paneId == paneId) m_arrControls.RemoveAt(i);
}

CWnd* SECStatusBar::GetPaneControl(UINT paneId) const {
  for (INT_PTR i = 0; i < m_arrControls.GetSize(); ++i)
    if (m_arrControls[i].paneId == paneId && ::IsWindow(m_arrControls[i].wnd)) return CWnd::FromHandle(m_arrControls[i].wnd);
  return NULL;
}

void SECStatusBar::RepositionPaneControls() {
  for (INT_PTR i = m_arrControls.GetSize() - 1; i >= 0; --i) {
    PaneControl& entry = m_arrControls[i];
    if (!::IsWindow(entry.wnd)) {
      m_arrControls.RemoveAt(i);
      continue;
    }
    int index = CommandToIndex(entry.paneId);
    if (index < 0) {
      if (::IsWindowVisible(entry.wnd)) {
        ::ShowWindow(entry.wnd, SW_HIDE);
        entry.hiddenByBar = TRUE;
      }
      continue;
    }
    CRect pane;
    GetItemRect(index, &pane);
    CRect place = pane;
    if (entry.fill) {
      place.DeflateRect(1, 1);
    } else {
      CRect current;
      ::GetWindowRect(entry.wnd, &current);
      place = CRect(CPoint(pane.left + (pane.Width() - current.Width()) / 2, pane.top + (pane.Height() - current.Height()) / 2),
                    current.Size());
    }
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (entry.hiddenByBar) flags |= SWP_SHOWWINDOW;
    entry.hiddenByBar = FALSE;
    ::SetWindowPos(entry.wnd, NULL, place.left, place.top, place.Width(), place.Height(), flags);
  }
}

BOOL SECStatusBar::SetIndicators(const UINT* ids, int count) {
  BOOL ok = CStatusBar::SetIndicators(ids, count);
  OnPanesChanged();
  return ok;
}

void SECStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
  CStatusBar::SetPaneInfo(index, id, style, width);
  OnPanesChanged();
}

void SECStatusBar::SetPaneStyle(int index, UINT style) {
  CStatusBar::SetPaneStyle(index, style);
  OnPanesChanged();
}

void SECStatusBar::OnPanesChanged() { RepositionPaneControls(); }

LRESULT SECStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == SECM_REPOSITIONPANES) {
    m_bRepositionPosted = FALSE;
    OnPanesChanged();
    return 0;
  }
  LRESULT result = CStatusBar::WindowProc(message, wParam, lParam);
  if (message == WM_SIZE) {
    // The panes' edges change with the bar's size. Wine's status control still answers with the old height
    // while it is being resized, so the controls take their places again once that is over.
    OnPanesChanged();
    if (!m_bRepositionPosted && m_arrControls.GetSize() > 0) m_bRepositionPosted = PostMessage(SECM_REPOSITIONPANES);
  }
  return result;
}

// ---------------------------------------------------------------------------------------------
// SECCustomStatusBar

SECCustomStatusBar::SECCustomStatusBar() : m_hWndTips(NULL) {}

SECCustomStatusBar::~SECCustomStatusBar() {
  if (m_hWndTips && ::IsWindow(m_hWndTips)) ::DestroyWindow(m_hWndTips);
}

BOOL SECCustomStatusBar::EnablePaneTips(BOOL enable) {
  if (!enable) {
    if (m_hWndTips) ::DestroyWindow(m_hWndTips);
    m_hWndTips = NULL;
    return TRUE;
  }
  if (m_hWndTips) return TRUE;
  if (!m_hWnd) return FALSE;
  m_hWndTips = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, NULL,
                                 AfxGetInstanceHandle(), NULL);
  if (!m_hWndTips) return FALSE;
  UpdateTips();
  return TRUE;
}

void SECCustomStatusBar::UpdateTips() {
  if (!m_hWndTips) return;
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  tool.hwnd = m_hWnd;
  while (::SendMessageA(m_hWndTips, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool))) {
    ::SendMessageA(m_hWndTips, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    tool = TOOLINFOA();
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hWnd;
  }
  for (int i = 0; i < GetCount(); ++i) {
    tool = TOOLINFOA();
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = m_hWnd;
    tool.uId = UINT_PTR(i);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    GetItemRect(i, &tool.rect);
    ::SendMessageA(m_hWndTips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

BOOL SECCustomStatusBar::GetPaneTipText(int index, CString& text) const {
  if (index < 0 || index >= GetCount()) return FALSE;
  text = GetPaneText(index);
  return !text.IsEmpty();
}

LRESULT SECCustomStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && m_hWndTips) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom == m_hWndTips && header->code == TTN_GETDISPINFOA) {
      NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
      CString text;
      info->szText[0] = '\0';
      info->lpszText = info->szText;
      if (GetPaneTipText(int(header->idFrom), text)) lstrcpynA(info->szText, text, kTipLength);
      return 0;
    }
  }
  if (message == WM_DESTROY && m_hWndTips) {
    ::DestroyWindow(m_hWndTips);
    m_hWndTips = NULL;
  }
  return SECStatusBar::WindowProc(message, wParam, lParam);
}

void SECCustomStatusBar::OnPanesChanged() {
  SECStatusBar::OnPanesChanged();
  UpdateTips();
}

// ---------------------------------------------------------------------------------------------
// SECImageButton

BEGIN_MESSAGE_MAP(SECImageButton, CButton)
  ON_WM_DRAWITEM_REFLECT()
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

SECImageButton::SECImageButton() : m_hBitmap(NULL), m_hIcon(NULL), m_dwButtonStyle(SECIB_FLAT), m_bHot(FALSE) {}

SECImageButton::~SECImageButton() { FreeImage(); }

void SECImageButton::FreeImage() {
  if (m_hBitmap) ::DeleteObject(m_hBitmap);
  if (m_hIcon) ::DestroyIcon(m_hIcon);
  m_hBitmap = NULL;
  m_hIcon = NULL;
  m_sizeImage = CSize(0, 0);
}

BOOL SECImageButton::Create(CWnd* parent, UINT id, const RECT& rect, UINT imageId, DWORD buttonStyle) {
  m_dwButtonStyle = buttonStyle;
  if (!CButton::Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, parent, id)) return FALSE;
  SetImage(imageId);
  return TRUE;
}

BOOL SECImageButton::SetImage(UINT imageId) {
  FreeImage();
  LPCSTR name = MAKEINTRESOURCEA(imageId);
  HINSTANCE module = AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_BITMAP));
  // Light grey in the bitmap becomes the face colour.
  m_hBitmap = static_cast<HBITMAP>(::LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
  if (m_hBitmap) {
    BITMAP info;
    ::GetObjectA(m_hBitmap, sizeof info, &info);
    m_sizeImage = CSize(info.bmWidth, info.bmHeight);
  } else {
    module = AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
    int side = ::GetSystemMetrics(SM_CXSMICON);
    m_hIcon = static_cast<HICON>(::LoadImageA(module, name, IMAGE_ICON, side, side, 0));
    if (m_hIcon) m_sizeImage = CSize(side, side);
  }
  if (m_hWnd) Invalidate();
  return m_hBitmap || m_hIcon;
}

void SECImageButton::DrawItem(LPDRAWITEMSTRUCT item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  CRect rect(item->rcItem);
  BOOL pressed = (item->itemState & ODS_SELECTED) != 0;
  BOOL disabled = (item->itemState & ODS_DISABLED) != 0;
  dc->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
  if (pressed)
    dc->DrawEdge(&rect, BDR_SUNKENOUTER, BF_RECT);
  else if (m_bHot || !(m_dwButtonStyle & SECIB_FLAT))
    dc->DrawEdge(&rect, BDR_RAISEDINNER, BF_RECT);
  if (!m_hBitmap && !m_hIcon) return;
  // The image is centred, and shifted down and right while pressed; clipped to the face.
  int x = rect.left + (rect.Width() - m_sizeImage.cx) / 2 + (pressed ? 1 : 0);
  int y = rect.top + (rect.Height() - m_sizeImage.cy) / 2 + (pressed ? 1 : 0);
  CRect face = rect;
  face.DeflateRect(1, 1);
  int saved = dc->SaveDC();
  dc->IntersectClipRect(&face);
  UINT state = disabled ? DSS_DISABLED : DSS_NORMAL;
  if (m_hBitmap)
    ::DrawStateA(item->hDC, NULL, NULL, reinterpret_cast<LPARAM>(m_hBitmap), 0, x, y, m_sizeImage.cx, m_sizeImage.cy,
                 DST_BITMAP | state);
  else
    ::DrawStateA(item->hDC, NULL, NULL, reinterpret_cast<LPARAM>(m_hIcon), 0, x, y, m_sizeImage.cx, m_sizeImage.cy,
                 DST_ICON | state);
  dc->RestoreDC(saved);
}

void SECImageButton::OnMouseMove(UINT flags, CPoint point) {
  if (!m_bHot) {
    m_bHot = TRUE;
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&track);
    Invalidate(FALSE);
  }
  CButton::OnMouseMove(flags, point);
}

LRESULT SECImageButton::OnMouseLeave(WPARAM, LPARAM) {
  m_bHot = FALSE;
  Invalidate(FALSE);
  return 0;
}
