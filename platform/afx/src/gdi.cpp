// GDI wrappers and CMenu: ownership of handles, temporary wrappers, paint and client contexts.
#include "winstate.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)
IMPLEMENT_DYNCREATE(CMenu, CObject)

using afxstate::Thread;

CGdiObject::~CGdiObject() { DeleteObject(); }

HGDIOBJ CGdiObject::GetSafeHandle() const { return AfxGetSafeHandle(afxstate::Opaque(this)); }

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ handle) {
  return Thread().gdiObjects.FromHandle(handle, [](HGDIOBJ h) {
    CGdiObject* o = new CGdiObject;
    o->m_hObject = h;
    return o;
  });
}

void PASCAL CGdiObject::DeleteTempMap() {
  Thread().gdiObjects.DeleteTemporaries([](CGdiObject* o) { o->m_hObject = NULL; });
}

BOOL CGdiObject::Attach(HGDIOBJ handle) {
  if (!handle) return FALSE;
  DeleteObject();
  m_hObject = handle;
  Thread().gdiObjects.SetPermanent(handle, this);
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ h = m_hObject;
  if (h) Thread().gdiObjects.RemoveHandle(h);
  m_hObject = NULL;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap) { return Attach(::CreatePatternBrush(*bitmap)); }

BOOL CFont::CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc) {
  LOGFONTA font = {};
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(font.lfFaceName, faceName, LF_FACESIZE);
  HDC screen = dc ? dc->m_hDC : ::GetDC(NULL);
  POINT p = {0, ::MulDiv(::GetDeviceCaps(screen, LOGPIXELSY), pointSize, 720)};
  ::DPtoLP(screen, &p, 1);
  font.lfHeight = -abs(p.y);
  if (!dc) ::ReleaseDC(NULL, screen);
  return CreateFontIndirect(&font);
}

BOOL CBitmap::LoadBitmap(LPCSTR name) {
  return Attach(::LoadBitmapA(AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_BITMAP)), name));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height));
}

CSize CBitmap::GetBitmapDimension() const {
  SIZE s = {0, 0};
  ::GetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), &s);
  return s;
}

BOOL CPalette::CreateHalftonePalette(CDC* dc) { return Attach(::CreateHalftonePalette(dc->m_hDC)); }

// ---------------------------------------------------------------------------------------------

CDC::~CDC() {
  if (m_hDC) DeleteDC();
}

HDC CDC::GetSafeHdc() const { return AfxGetSafeHdc(afxstate::Opaque(this)); }

CDC* PASCAL CDC::FromHandle(HDC dc) {
  return Thread().dcs.FromHandle(dc, [](HDC h) {
    CDC* d = new CDC;
    d->m_hDC = h;
    return d;
  });
}

void PASCAL CDC::DeleteTempMap() {
  Thread().dcs.DeleteTemporaries([](CDC* d) { d->m_hDC = NULL; });
}

BOOL CDC::Attach(HDC dc) {
  if (!dc) return FALSE;
  m_hDC = dc;
  Thread().dcs.SetPermanent(dc, this);
  return TRUE;
}

HDC CDC::Detach() {
  HDC h = m_hDC;
  if (h) Thread().dcs.RemoveHandle(h);
  m_hDC = NULL;
  return h;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

CPen* CDC::SelectObject(CPen* pen) { return static_cast<CPen*>(CGdiObject::FromHandle(::SelectObject(m_hDC, AfxGetSafeHandle(pen)))); }
CBrush* CDC::SelectObject(CBrush* brush) { return static_cast<CBrush*>(CGdiObject::FromHandle(::SelectObject(m_hDC, AfxGetSafeHandle(brush)))); }
CFont* CDC::SelectObject(CFont* font) { return static_cast<CFont*>(CGdiObject::FromHandle(::SelectObject(m_hDC, AfxGetSafeHandle(font)))); }
CBitmap* CDC::SelectObject(CBitmap* bitmap) { return static_cast<CBitmap*>(CGdiObject::FromHandle(::SelectObject(m_hDC, AfxGetSafeHandle(bitmap)))); }
CGdiObject* CDC::SelectStockObject(int index) { return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index))); }

CPalette* CDC::SelectPalette(CPalette* palette, BOOL forceBackground) {
  return CPalette::FromHandle(::SelectPalette(m_hDC, static_cast<HPALETTE>(AfxGetSafeHandle(palette)), forceBackground));
}

void CDC::FillSolidRect(LPCRECT r, COLORREF color) {
  COLORREF old = ::SetBkColor(m_hDC, color);
  ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, r, NULL, 0, NULL);
  ::SetBkColor(m_hDC, old);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight) {
  int x = r->left, y = r->top, cx = r->right - r->left, cy = r->bottom - r->top;
  FillSolidRect(x, y, cx - 1, 1, topLeft);
  FillSolidRect(x, y, 1, cy - 1, topLeft);
  FillSolidRect(x + cx, y, -1, cy, bottomRight);
  FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd) {
  if (!Attach(::BeginPaint(m_hWnd, &m_ps))) AfxThrowResourceException();
}
CPaintDC::~CPaintDC() {
  Detach();
  ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(AfxGetSafeHwnd(wnd)) {
  if (!Attach(::GetDC(m_hWnd))) AfxThrowResourceException();
}
CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(AfxGetSafeHwnd(wnd)) {
  if (!Attach(::GetWindowDC(m_hWnd))) AfxThrowResourceException();
}
CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }

// ---------------------------------------------------------------------------------------------

CMenu::~CMenu() { DestroyMenu(); }

HMENU CMenu::GetSafeHmenu() const { return AfxGetSafeHmenu(afxstate::Opaque(this)); }

CMenu* PASCAL CMenu::FromHandle(HMENU menu) {
  return Thread().menus.FromHandle(menu, [](HMENU h) {
    CMenu* m = new CMenu;
    m->m_hMenu = h;
    return m;
  });
}

void PASCAL CMenu::DeleteTempMap() {
  Thread().menus.DeleteTemporaries([](CMenu* m) { m->m_hMenu = NULL; });
}

BOOL CMenu::Attach(HMENU menu) {
  if (!menu) return FALSE;
  m_hMenu = menu;
  Thread().menus.SetPermanent(menu, this);
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU h = m_hMenu;
  if (h) Thread().menus.RemoveHandle(h);
  m_hMenu = NULL;
  return h;
}

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  return ::DestroyMenu(Detach());
}

BOOL CMenu::LoadMenu(LPCSTR name) {
  return Attach(::LoadMenuA(AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_MENU)), name));
}

int CMenu::GetMenuString(UINT id, CString& text, UINT flags) const {
  int n = ::GetMenuStringA(m_hMenu, id, NULL, 0, flags);
  n = ::GetMenuStringA(m_hMenu, id, text.GetBuffer(n + 1), n + 1, flags);
  text.ReleaseBuffer(n);
  return n;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) {
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, AfxGetSafeHwnd(owner), rect);
}
