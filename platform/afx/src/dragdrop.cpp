// Drag and drop: starting a drag (COleDataSource::DoDragDrop, COleDropSource) and receiving one
// (COleDropTarget routing to the window's overridables, CView's refusing defaults).
#include "afxole.h"
#include "state.h"

// ---------------------------------------------------------------------------------------------
// Drop source.

BEGIN_INTERFACE_MAP(COleDropSource, CCmdTarget)
  INTERFACE_PART(COleDropSource, IID_IDropSource, DropSource)
END_INTERFACE_MAP()

DELEGATE_IUNKNOWN(COleDropSource, DropSource)

COleDropSource::COleDropSource() : m_dwButtonDrop(MK_LBUTTON), m_dwButtonCancel(MK_RBUTTON) {}

SCODE COleDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  if (escapePressed || (keyState & m_dwButtonCancel)) return DRAGDROP_S_CANCEL;
  if (!(keyState & m_dwButtonDrop)) return DRAGDROP_S_DROP;
  return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

BOOL COleDropSource::OnBeginDrag(CWnd* wnd) {
  if (m_rectStartDrag.IsRectEmpty()) return TRUE;
  HWND hwnd = AfxGetSafeHwnd(wnd);
  if (hwnd) ::SetCapture(hwnd);
  const DWORD start = GetTickCount();
  const DWORD delay = GetProfileIntA("windows", "DragDelay", DD_DEFDRAGDELAY);
  BOOL started = FALSE;
  for (;;) {
    if (hwnd && ::GetCapture() != hwnd) break;  // someone else took the mouse
    MSG msg;
    if (!::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
      DWORD waited = GetTickCount() - start;
      if (waited >= delay) {
        started = TRUE;  // held long enough in place
        break;
      }
      ::MsgWaitForMultipleObjects(0, NULL, FALSE, delay - waited, QS_ALLINPUT);
      continue;
    }
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(int(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      POINT point = {short(LOWORD(msg.lParam)), short(HIWORD(msg.lParam))};
      ::ClientToScreen(msg.hwnd, &point);
      if (!m_rectStartDrag.PtInRect(point)) {
        started = TRUE;
        break;
      }
      continue;
    }
    if ((msg.message >= WM_LBUTTONDOWN && msg.message <= WM_MBUTTONDBLCLK) ||
        (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_CANCELMODE) {
      break;  // the press ended, or the user called it off, before the mouse moved away
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  if (hwnd && ::GetCapture() == hwnd) ::ReleaseCapture();
  return started;
}

STDMETHODIMP COleDropSource::XDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  METHOD_PROLOGUE(COleDropSource, DropSource)
  return pThis->QueryContinueDrag(escapePressed, keyState);
}

STDMETHODIMP COleDropSource::XDropSource::GiveFeedback(DWORD dropEffect) {
  METHOD_PROLOGUE(COleDropSource, DropSource)
  return pThis->GiveFeedback(dropEffect);
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD effects, LPCRECT startDragRect, COleDropSource* dropSource) {
  COleDropSource defaultSource;
  COleDropSource* source = dropSource ? dropSource : &defaultSource;
  BOOL right = ::GetKeyState(VK_RBUTTON) < 0 && ::GetKeyState(VK_LBUTTON) >= 0;
  source->m_dwButtonDrop = right ? MK_RBUTTON : MK_LBUTTON;
  source->m_dwButtonCancel = right ? MK_LBUTTON : MK_RBUTTON;
  if (startDragRect) {
    source->m_rectStartDrag = *startDragRect;
  } else {
    POINT cursor;
    ::GetCursorPos(&cursor);
    int cx = ::GetSystemMetrics(SM_CXDRAG), cy = ::GetSystemMetrics(SM_CYDRAG);
    source->m_rectStartDrag.SetRect(cursor.x - cx, cursor.y - cy, cursor.x + cx + 1, cursor.y + cy + 1);
  }
  HWND window = ::GetCapture();
  if (!window) window = ::GetFocus();
  if (!window) window = ::GetActiveWindow();
  if (!source->OnBeginDrag(CWnd::FromHandle(window))) return DROPEFFECT_NONE;
  DWORD effect = DROPEFFECT_NONE;
  HRESULT hr = ::DoDragDrop(&m_xDataObject, &source->m_xDropSource, effects, &effect);
  return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

// ---------------------------------------------------------------------------------------------
// Drop target.

BEGIN_INTERFACE_MAP(COleDropTarget, CCmdTarget)
  INTERFACE_PART(COleDropTarget, IID_IDropTarget, DropTarget)
END_INTERFACE_MAP()

DELEGATE_IUNKNOWN(COleDropTarget, DropTarget)

COleDropTarget::COleDropTarget() : m_hWnd(NULL) {}

COleDropTarget::~COleDropTarget() { Revoke(); }

BOOL COleDropTarget::Register(CWnd* wnd) {
  HWND hwnd = AfxGetSafeHwnd(wnd);
  if (!hwnd || m_hWnd) return FALSE;
  if (FAILED(::RegisterDragDrop(hwnd, &m_xDropTarget))) return FALSE;
  m_hWnd = hwnd;
  return TRUE;
}

void COleDropTarget::Revoke() {
  if (!m_hWnd) return;
  ::RevokeDragDrop(m_hWnd);
  m_hWnd = NULL;
  m_data.Release();
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) {
  CView* view = dynamic_cast<CView*>(wnd);
  return view ? view->OnDragEnter(data, keyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) {
  CView* view = dynamic_cast<CView*>(wnd);
  return view ? view->OnDragOver(data, keyState, point) : DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd* wnd) {
  if (CView* view = dynamic_cast<CView*>(wnd)) view->OnDragLeave();
}

BOOL COleDropTarget::OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point) {
  CView* view = dynamic_cast<CView*>(wnd);
  return view ? view->OnDrop(data, effect, point) : FALSE;
}

DROPEFFECT COleDropTarget::OnDropEx(CWnd* wnd, COleDataObject* data, DROPEFFECT defaultEffect, DROPEFFECT allowed,
                                    CPoint point) {
  CView* view = dynamic_cast<CView*>(wnd);
  return view ? view->OnDropEx(data, defaultEffect, allowed, point) : DROPEFFECT(-1);
}

namespace {

CPoint ClientPoint(HWND wnd, POINTL screen) {
  POINT point = {screen.x, screen.y};
  ::ScreenToClient(wnd, &point);
  return point;
}

// An exception from a target's overridable: the drag sees no effect, the user sees the message.
DWORD ReportInDrag() {
  MSG msg = {};
  afxstate::ReportAtBoundary(msg);
  return DROPEFFECT_NONE;
}

}  // namespace

STDMETHODIMP COleDropTarget::XDropTarget::DragEnter(LPDATAOBJECT data, DWORD keyState, POINTL point, LPDWORD effect) {
  METHOD_PROLOGUE(COleDropTarget, DropTarget)
  if (!effect) return E_POINTER;
  DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  if (!pThis->m_hWnd || !data) return S_OK;
  data->AddRef();
  pThis->m_data.Attach(data, TRUE);
  try {
    *effect = pThis->OnDragEnter(CWnd::FromHandle(pThis->m_hWnd), &pThis->m_data, keyState,
                                 ClientPoint(pThis->m_hWnd, point)) & allowed;
  } catch (...) {
    *effect = ReportInDrag();
  }
  return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragOver(DWORD keyState, POINTL point, LPDWORD effect) {
  METHOD_PROLOGUE(COleDropTarget, DropTarget)
  if (!effect) return E_POINTER;
  DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  if (!pThis->m_hWnd || !pThis->m_data.GetIDataObject(FALSE)) return S_OK;
  try {
    *effect = pThis->OnDragOver(CWnd::FromHandle(pThis->m_hWnd), &pThis->m_data, keyState,
                                ClientPoint(pThis->m_hWnd, point)) & allowed;
  } catch (...) {
    *effect = ReportInDrag();
  }
  return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragLeave() {
  METHOD_PROLOGUE(COleDropTarget, DropTarget)
  if (pThis->m_hWnd) {
    try {
      pThis->OnDragLeave(CWnd::FromHandle(pThis->m_hWnd));
    } catch (...) {
      ReportInDrag();
    }
  }
  pThis->m_data.Release();
  return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::Drop(LPDATAOBJECT data, DWORD keyState, POINTL point, LPDWORD effect) {
  METHOD_PROLOGUE(COleDropTarget, DropTarget)
  if (!effect) return E_POINTER;
  DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  if (!pThis->m_hWnd || !data) {
    pThis->m_data.Release();
    return S_OK;
  }
  // The data of the drop itself, which a source may hand over only now.
  data->AddRef();
  pThis->m_data.Attach(data, TRUE);
  CWnd* wnd = CWnd::FromHandle(pThis->m_hWnd);
  CPoint at = ClientPoint(pThis->m_hWnd, point);
  try {
    DROPEFFECT chosen = pThis->OnDragOver(wnd, &pThis->m_data, keyState, at) & allowed;
    DROPEFFECT result = pThis->OnDropEx(wnd, &pThis->m_data, chosen, allowed, at);
    if (result == DROPEFFECT(-1)) result = chosen != DROPEFFECT_NONE && pThis->OnDrop(wnd, &pThis->m_data, chosen, at) ? chosen : DROPEFFECT_NONE;
    *effect = result & allowed;
  } catch (...) {
    *effect = ReportInDrag();
  }
  pThis->m_data.Release();
  return S_OK;
}

// ---------------------------------------------------------------------------------------------
// A view refuses drops unless it says otherwise.

DROPEFFECT CView::OnDragEnter(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
DROPEFFECT CView::OnDragOver(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
void CView::OnDragLeave() {}
BOOL CView::OnDrop(COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
DROPEFFECT CView::OnDropEx(COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) { return DROPEFFECT(-1); }
