// cCardCorner: the corner class, its painting and its click.
#include "CardCorner.h"

#include "quillo/QuilloIds.h"

BEGIN_MESSAGE_MAP(cCardCorner, CWnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

BOOL cCardCorner::RegisterCornerClass() {
  WNDCLASSA existing;
  if (GetClassInfoA(AfxGetInstanceHandle(), kClassName, &existing)) return TRUE;
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = AfxGetInstanceHandle();
  wc.hCursor = LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_CORNER_CURSOR));
  if (!wc.hCursor) wc.hCursor = LoadCursorA(NULL, IDC_HAND);
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0;
}

BOOL cCardCorner::Create(CWnd* parent, const CRect& rect, UINT id, CWnd* card) {
  m_pCard = card;
  if (!RegisterCornerClass() || !m_picture.LoadBitmap(IDB_CORNER)) return FALSE;
  return CreateEx(0, kClassName, "", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

void cCardCorner::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  BITMAP info = {};
  if (!m_picture.GetBitmap(&info)) return;
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap* old = memory.SelectObject(&m_picture);
  dc.SetStretchBltMode(HALFTONE);
  dc.StretchBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  memory.SelectObject(old);
}

void cCardCorner::OnLButtonDown(UINT, CPoint) {
  if (m_pCard) m_pCard->PostMessage(WM_CARD_FLIP);
}
