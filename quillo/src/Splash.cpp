// cSplashWnd: the splash screen's window, painting and hiding.
#include "Splash.h"

#include "CardLayout.h"
#include "quillo/QuilloIds.h"

namespace {

const UINT_PTR kHideTimer = 1;
const UINT kShowMs = 4000;
const int kTitleHeight = 44;
const int kLineHeight = 17;
const int kTextLeft = 24;
const int kTitleTop = 22;
const int kLineGap = 4;
const char kTitleFace[] = "Georgia";
const char kLineFace[] = "Arial";
const COLORREF kTitleColor = RGB(255, 255, 255);
const COLORREF kLineColor = RGB(226, 236, 244);

}  // namespace

BEGIN_MESSAGE_MAP(cSplashWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

BOOL cSplashWnd::Show(CWnd* owner, UINT notify) {
  if (m_hWnd) return TRUE;
  if (!m_picture.GetSafeHandle() && !m_picture.LoadBitmap(IDB_SPLASH)) return FALSE;
  BITMAP info = {};
  m_picture.GetBitmap(&info);
  if (!m_titleFont.GetSafeHandle()) {
    quillo::CreateCardFont(m_titleFont, kTitleFace, kTitleHeight, FW_BOLD, TRUE);
    quillo::CreateCardFont(m_lineFont, kLineFace, kLineHeight);
  }
  WNDCLASSA existing;
  if (!GetClassInfoA(AfxGetInstanceHandle(), kClassName, &existing)) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return FALSE;
  }
  CRect over;
  owner->GetWindowRect(&over);
  const CPoint centre = over.CenterPoint();
  CRect rect(centre.x - info.bmWidth / 2, centre.y - info.bmHeight / 2, 0, 0);
  rect.right = rect.left + info.bmWidth;
  rect.bottom = rect.top + info.bmHeight;
  m_hOwner = owner->GetSafeHwnd();
  m_notify = notify;
  if (!CreateEx(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP | WS_VISIBLE, rect.left, rect.top, rect.Width(),
                rect.Height(), m_hOwner, NULL))
    return FALSE;
  SetTimer(kHideTimer, kShowMs);
  UpdateWindow();
  return TRUE;
}

void cSplashWnd::Hide() {
  if (m_hWnd) DestroyWindow();
}

void cSplashWnd::HideOnInput(const MSG* msg) {
  if (!m_hWnd) return;
  switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
      Hide();
      break;
    default:
      break;
  }
}

void cSplashWnd::PostNcDestroy() {
  if (m_hOwner && m_notify) ::PostMessageA(m_hOwner, m_notify, 0, 0);
  m_hOwner = NULL;
}

void cSplashWnd::OnTimer(UINT_PTR id) {
  if (id == kHideTimer) Hide();
}

void cSplashWnd::OnLButtonDown(UINT, CPoint) { Hide(); }
void cSplashWnd::OnRButtonDown(UINT, CPoint) { Hide(); }
void cSplashWnd::OnKeyDown(UINT, UINT, UINT) { Hide(); }

void cSplashWnd::OnPaint() {
  CPaintDC dc(this);
  BITMAP info = {};
  m_picture.GetBitmap(&info);
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap* old = memory.SelectObject(&m_picture);
  dc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);

  CString title, line;
  title.LoadString(IDS_SPLASH_TITLE);
  line.LoadString(IDS_SPLASH_LINE);
  dc.SetBkMode(TRANSPARENT);
  CFont* oldFont = dc.SelectObject(&m_titleFont);
  dc.SetTextColor(kTitleColor);
  dc.TextOut(kTextLeft, kTitleTop, title);
  dc.SelectObject(&m_lineFont);
  dc.SetTextColor(kLineColor);
  dc.TextOut(kTextLeft, kTitleTop + kTitleHeight + kLineGap, line);
  dc.SelectObject(oldFont);
}
