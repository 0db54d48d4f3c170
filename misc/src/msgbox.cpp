// cMessageBox and NXMessageBox: the in-memory template, text measuring, sizing and the button row.
#include <cstdlib>
#include <cstring>
#include "MessageBox.h"
#include "NXMiscIds.h"

IMPLEMENT_DYNAMIC(cMessageBox, CDialog)

namespace {
// Layout figures, in pixels.
const int kMeasureStart = 20;      // first, single-line measure
const int kNarrowWidth = 280;
const int kNarrowHeight = 60;
const int kMiddleWidth = 340;
const int kMiddleHeight = 100;
const int kWideWidth = 400;
const int kMargin = 10;            // around the text and the button row
const int kButtonRowSpace = 30;    // below the text besides the button height
const short kTemplateSize = 200;   // dialog units, replaced when the box is laid out
}  // namespace

cMessageBox::ButtonInfo cMessageBox::s_buttons[5];
CRect cMessageBox::s_buttonRect;
int cMessageBox::s_nButtonSpacing = 0;
int cMessageBox::s_nButtonCount = 0;
BOOL cMessageBox::s_bFirstTime = TRUE;
HFONT cMessageBox::s_hMessageFont = NULL;
HFONT cMessageBox::s_hButtonFont = NULL;

void PASCAL cMessageBox::Initialize() {
  static const ButtonInfo table[5] = {{NXMB_YES, 1004, IDYES},
                                      {NXMB_NO, 1005, IDNO},
                                      {NXMB_OK, 1002, IDOK},
                                      {NXMB_CANCEL, 1003, IDCANCEL},
                                      {NXMB_ABORT, 1006, IDABORT}};
  memcpy(s_buttons, table, sizeof table);
  s_buttonRect.SetRect(0, 0, 75, 23);
  s_nButtonSpacing = 10;
  s_nButtonCount = 5;
  s_bFirstTime = TRUE;
}

void PASCAL cMessageBox::Terminate() {
  if (s_hMessageFont) ::DeleteObject(s_hMessageFont);
  if (s_hButtonFont) ::DeleteObject(s_hButtonFont);
  s_hMessageFont = s_hButtonFont = NULL;
  s_bFirstTime = TRUE;
}

BEGIN_MESSAGE_MAP(cMessageBox, CDialog)
  ON_WM_PAINT()
  ON_COMMAND_RANGE(1002, 1006, OnButton)
END_MESSAGE_MAP()

cMessageBox::cMessageBox() : m_pTemplate(NULL), m_nButtons(0), m_nDefault(0), m_hDefaultButton(NULL) {}

cMessageBox::~cMessageBox() { free(m_pTemplate); }

void cMessageBox::InitDialog(CWnd* parent, LPCSTR caption, LPCSTR text, UINT buttons, UINT defaultButton) {
  CString title = caption && *caption ? CString(caption) : CString(AfxGetAppName());
  int titleChars = ::MultiByteToWideChar(CP_ACP, 0, title, -1, NULL, 0);
  // Template, then the menu, class and title arrays (16-bit units).
  size_t size = sizeof(DLGTEMPLATE) + 2 * sizeof(WORD) + size_t(titleChars) * sizeof(WCHAR);
  free(m_pTemplate);
  m_pTemplate = static_cast<DLGTEMPLATE*>(calloc(1, size));
  if (!m_pTemplate) AfxThrowMemoryException();
  m_pTemplate->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  m_pTemplate->cx = kTemplateSize;
  m_pTemplate->cy = kTemplateSize;
  WORD* p = reinterpret_cast<WORD*>(m_pTemplate + 1);
  p[0] = 0;  // no menu
  p[1] = 0;  // the standard dialog class
  ::MultiByteToWideChar(CP_ACP, 0, title, -1, reinterpret_cast<WCHAR*>(p + 2), titleChars);
  InitModalIndirect(m_pTemplate, parent);
  m_strText = text;
  m_nButtons = buttons;
  m_nDefault = defaultButton;
}

namespace nxmsgbox {
int CountButtons(UINT buttons) {
  int n = 0;
  for (UINT flag = NXMB_YES; flag <= NXMB_ABORT; flag <<= 1)
    if (buttons & flag) ++n;
  return n;
}

CSize ClientSize(const CRect& textRect, int buttons) {
  int textWidth = textRect.Width();
  int widthClass = textWidth <= kNarrowWidth ? kNarrowWidth
                   : textWidth <= kMiddleWidth ? kMiddleWidth
                   : textWidth <= kWideWidth   ? kWideWidth
                                               : textWidth;
  int row = buttons * (75 + 10) - 10;
  int width = (widthClass > row ? widthClass : row) + 2 * kMargin;
  return CSize(width, textRect.Height() + 23 + kButtonRowSpace);
}
}  // namespace nxmsgbox

int cMessageBox::CalcNumButtons() { return nxmsgbox::CountButtons(m_nButtons); }

CRect cMessageBox::GetMessageRect(CDC* dc) {
  const UINT measure = DT_CALCRECT | DT_NOPREFIX;
  CRect r(0, 0, kMeasureStart, 0);
  dc->DrawText(m_strText, &r, measure);
  if (r.Width() != kMeasureStart && r.Width() < kNarrowWidth) return r;
  r.SetRect(0, 0, kNarrowWidth, 0);
  dc->DrawText(m_strText, &r, measure | DT_WORDBREAK);
  if (r.Width() <= kNarrowWidth && r.Height() <= kNarrowHeight) return r;
  r.SetRect(0, 0, kMiddleWidth, 0);
  dc->DrawText(m_strText, &r, measure | DT_WORDBREAK);
  if (r.Width() > kMiddleWidth || r.Height() > kMiddleHeight) {
    r.SetRect(0, 0, kWideWidth, 0);
    dc->DrawText(m_strText, &r, measure | DT_WORDBREAK);
  }
  return r;
}

CRect cMessageBox::CalcDialogBoxRect(const CRect& textRect, int buttons) {
  CSize client = nxmsgbox::ClientSize(textRect, buttons);
  int frameX = ::GetSystemMetrics(SM_CXDLGFRAME), frameY = ::GetSystemMetrics(SM_CYDLGFRAME);
  return CRect(0, 0, client.cx + 2 * frameX, client.cy + ::GetSystemMetrics(SM_CYCAPTION) + 2 * frameY);
}

void cMessageBox::InitFont() {
  LOGFONTA font;
  if (!s_hMessageFont && GetFontInfo(IDR_NXMISC_MESSAGE_FONT, &font)) s_hMessageFont = ::CreateFontIndirectA(&font);
  if (!s_hButtonFont && GetFontInfo(IDR_NXMISC_BUTTON_FONT, &font)) s_hButtonFont = ::CreateFontIndirectA(&font);
}

void cMessageBox::CreateButtons() {
  cStringEx labels(UINT(IDS_NXMISC_BUTTON_LABELS));
  CRect client;
  GetClientRect(&client);
  int n = CalcNumButtons();
  CRect r = s_buttonRect;
  r.OffsetRect((client.Width() + s_nButtonSpacing - n * (s_buttonRect.Width() + s_nButtonSpacing)) / 2,
               client.bottom - kMargin - s_buttonRect.Height());
  m_hDefaultButton = NULL;
  for (int i = 0; i < s_nButtonCount; ++i) {
    const ButtonInfo& b = s_buttons[i];
    if (!(m_nButtons & b.flag)) continue;
    bool isDefault = b.flag == m_nDefault;
    HWND button = ::CreateWindowExA(0, "BUTTON", labels.GetSubstring(i),
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                                    r.left, r.top, r.Width(), r.Height(), m_hWnd,
                                    reinterpret_cast<HMENU>(UINT_PTR(b.controlId)), AfxGetInstanceHandle(), NULL);
    if (!button) AfxThrowResourceException();
    if (s_hButtonFont) ::SendMessageA(button, WM_SETFONT, WPARAM(s_hButtonFont), FALSE);
    if (isDefault) {
      m_hDefaultButton = button;
      SetDefID(b.controlId);
    }
    r.OffsetRect(s_buttonRect.Width() + s_nButtonSpacing, 0);
  }
}

BOOL cMessageBox::OnInitDialog() {
  cSwitchResourceHandle resources(NXMiscResourceHandle());
  CDialog::OnInitDialog();
  if (s_bFirstTime) {
    InitFont();
    s_bFirstTime = FALSE;
  }
  {
    CClientDC dc(this);
    HGDIOBJ old = s_hMessageFont ? dc.SelectObject(s_hMessageFont) : NULL;
    m_rectText = GetMessageRect(&dc);
    if (old) dc.SelectObject(old);
  }
  CRect window = CalcDialogBoxRect(m_rectText, CalcNumButtons());
  SetWindowPos(NULL, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CenterWindow(m_pParentWnd);
  CreateButtons();
  if (m_hDefaultButton) ::SetFocus(m_hDefaultButton);
  return FALSE;
}

void cMessageBox::OnDraw(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  CRect r = m_rectText;
  r.OffsetRect((client.Width() - m_rectText.Width()) / 2 - m_rectText.left, kMargin - m_rectText.top);
  HGDIOBJ old = s_hMessageFont ? dc->SelectObject(s_hMessageFont) : NULL;
  dc->SetBkMode(TRANSPARENT);
  dc->DrawText(m_strText, &r, DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
  if (old) dc->SelectObject(old);
}

void cMessageBox::OnPaint() {
  CPaintDC dc(this);
  OnDraw(&dc);
}

void cMessageBox::DoDataExchange(CDataExchange*) {}

void cMessageBox::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void cMessageBox::OnCancel() { EndDialog(IDCANCEL); }

void cMessageBox::OnButton(UINT id) {
  for (const ButtonInfo& b : s_buttons) {
    if (b.controlId != id) continue;
    if (b.result == IDOK)
      OnOK();
    else if (b.result == IDCANCEL)
      OnCancel();
    else
      EndDialog(b.result);
    return;
  }
}

int NXMessageBox(CWnd* parent, LPCSTR caption, LPCSTR text, UINT buttons, UINT defaultButton) {
  cMessageBox box;
  box.InitDialog(parent, caption, text, buttons, defaultButton);
  return int(box.DoModal());
}

int NXMessageBox(CWnd* parent, UINT captionId, UINT textId, UINT buttons, UINT defaultButton) {
  auto load = [](UINT id) {
    CString text;
    if (id) {
      char buffer[1024];
      int n = ::LoadStringA(AfxGetResourceHandle(), id, buffer, sizeof buffer);
      text = CString(buffer, n);
    }
    return text;
  };
  return NXMessageBox(parent, load(captionId), load(textId), buttons, defaultButton);
}
