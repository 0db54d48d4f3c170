// The card's bitmap buttons and their hints.
#include "Buttons.h"

#include <commctrl.h>

#include <vector>

#include "CardLayout.h"

namespace {

const int kCornerRound = 10;
const int kPressedShift = 1;
const int kHintDelayMs = 400;
const int kHintWidth = 280;
const BYTE kGreyLift = 80;  // disabled pictures are lightened towards white by this much

// A copy of the picture in grey (the key colour kept), for disabled buttons.
HBITMAP MakeGreyed(HBITMAP picture) {
  BITMAP info = {};
  if (!GetObjectA(picture, sizeof info, &info)) return NULL;
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = info.bmWidth;
  format.bmiHeader.biHeight = -info.bmHeight;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  std::vector<RGBQUAD> pixels(size_t(info.bmWidth) * info.bmHeight);
  HDC screen = GetDC(NULL);
  const int rows = GetDIBits(screen, picture, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
  HBITMAP greyed = NULL;
  if (rows == info.bmHeight) {
    for (RGBQUAD& p : pixels) {
      if (RGB(p.rgbRed, p.rgbGreen, p.rgbBlue) == quillo::kButtonKeyColor) continue;
      const int luminance = (p.rgbRed * 30 + p.rgbGreen * 59 + p.rgbBlue * 11) / 100;
      const BYTE grey = BYTE(luminance + (255 - luminance) * kGreyLift / 255);
      p.rgbRed = p.rgbGreen = p.rgbBlue = grey;
    }
    greyed = CreateCompatibleBitmap(screen, info.bmWidth, info.bmHeight);
    if (greyed) SetDIBits(screen, greyed, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
  }
  ReleaseDC(NULL, screen);
  return greyed;
}

}  // namespace

BEGIN_MESSAGE_MAP(cBitmapButton, CButton)
  ON_WM_DRAWITEM_REFLECT()
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL cBitmapButton::Create(CWnd* parent, const CRect& rect, UINT id, UINT bitmapId) {
  if (!m_picture.LoadBitmap(bitmapId)) return FALSE;
  m_greyed.Attach(MakeGreyed(HBITMAP(m_picture)));
  return CButton::Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, rect, parent, id);
}

BOOL cBitmapButton::OnEraseBkgnd(CDC*) { return TRUE; }

void cBitmapButton::OnMouseMove(UINT flags, CPoint point) {
  if (!m_bHot) {
    m_bHot = TRUE;
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
    TrackMouseEvent(&track);
    Invalidate(FALSE);
  }
  CButton::OnMouseMove(flags, point);
}

LRESULT cBitmapButton::OnMouseLeave(WPARAM, LPARAM) {
  m_bHot = FALSE;
  Invalidate(FALSE);
  return 0;
}

void cBitmapButton::DrawItem(LPDRAWITEMSTRUCT item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  CRect rect(item->rcItem);
  const BOOL disabled = (item->itemState & ODS_DISABLED) != 0;
  const BOOL pressed = (item->itemState & ODS_SELECTED) != 0;
  dc->FillSolidRect(&rect, quillo::kDeskColor);
  COLORREF face = quillo::kButtonColor;
  if (pressed)
    face = quillo::kButtonPressedColor;
  else if (m_bHot && !disabled)
    face = quillo::kButtonHotColor;
  CBrush brush(face);
  CPen edge(PS_SOLID, 1, quillo::kButtonEdgeColor);
  CBrush* oldBrush = dc->SelectObject(&brush);
  CPen* oldPen = dc->SelectObject(&edge);
  CRect faceRect = rect;
  faceRect.DeflateRect(1, 1);
  dc->RoundRect(faceRect.left, faceRect.top, faceRect.right, faceRect.bottom, kCornerRound, kCornerRound);
  dc->SelectObject(oldBrush);
  dc->SelectObject(oldPen);

  CBitmap& picture = disabled && m_greyed.GetSafeHandle() ? m_greyed : m_picture;
  BITMAP info = {};
  if (picture.GetBitmap(&info)) {
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(&picture);
    const int shift = pressed ? kPressedShift : 0;
    const int x = rect.left + (rect.Width() - info.bmWidth) / 2 + shift;
    const int y = rect.top + (rect.Height() - info.bmHeight) / 2 + shift;
    TransparentBlt(dc->GetSafeHdc(), x, y, info.bmWidth, info.bmHeight, memory.GetSafeHdc(), 0, 0, info.bmWidth,
                   info.bmHeight, quillo::kButtonKeyColor);
    memory.SelectObject(old);
  }
  if (item->itemState & ODS_FOCUS) {
    CRect focus = faceRect;
    focus.DeflateRect(3, 3);
    dc->DrawFocusRect(&focus);
  }
}

cHintTip::~cHintTip() {
  if (m_hWnd) DestroyWindow(m_hWnd);
}

BOOL cHintTip::Create(CWnd* owner) {
  m_hWnd = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner->GetSafeHwnd(), NULL,
                           AfxGetInstanceHandle(), NULL);
  if (!m_hWnd) return FALSE;
  SendMessageA(m_hWnd, TTM_SETDELAYTIME, TTDT_INITIAL, kHintDelayMs);
  SendMessageA(m_hWnd, TTM_SETMAXTIPWIDTH, 0, kHintWidth);
  return TRUE;
}

void cHintTip::AddHint(CWnd& control, LPCSTR text) {
  if (!m_hWnd || !text || !*text) return;
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = ::GetParent(control.GetSafeHwnd());
  tool.uId = UINT_PTR(control.GetSafeHwnd());
  tool.lpszText = const_cast<LPSTR>(text);
  SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, LPARAM(&tool));
}
