// cWelcomeDialog: the pages, their texts and the buttons' placement from raw data.
#include "WelcomeDialog.h"

#include <cstdint>
#include <vector>

#include "CardLayout.h"
#include "QuilloSettings.h"
#include "quillo/QuilloIds.h"

namespace {

// The raw data's layout (see QuilloIds.h).
enum { kCloseLeft, kCloseTop, kCloseWidth, kCloseHeight, kNextWidth, kNextHeight, kButtonValues };
enum { kNextLeft, kNextTop, kNextDefault, kPageValues };
const int kTitleHeight = 24;
const int kTextHeight = 15;
const int kTitleGap = 10;
const char kTitleFace[] = "Georgia";
const char kTextFace[] = "Arial";
const COLORREF kTitleColor = RGB(34, 44, 74);
const COLORREF kTextColor = RGB(60, 66, 80);
// The pages' text area: the right part of the picture, which the pictures leave light for it.
const int kTextLeftPercent = 44;
const int kTextTopPercent = 10;
const int kTextRightMargin = 24;
const int kTextBottomPercent = 78;

std::vector<int32_t> RawIntegers(UINT id, size_t count) {
  std::vector<int32_t> values;
  HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(id), RT_RCDATA);
  HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(id), RT_RCDATA) : NULL;
  HGLOBAL data = found ? LoadResource(module, found) : NULL;
  const int32_t* raw = data ? static_cast<const int32_t*>(LockResource(data)) : NULL;
  if (raw && SizeofResource(module, found) >= count * sizeof(int32_t)) values.assign(raw, raw + count);
  return values;
}

}  // namespace

BEGIN_MESSAGE_MAP(cWelcomeDialog, CDialog)
  ON_BN_CLICKED(IDC_WELCOME_NEXT, OnNext)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

cWelcomeDialog::cWelcomeDialog(CWnd* parent) : CDialog(IDD_WELCOME, parent), m_page(0) {}

CString cWelcomeDialog::PagePicture(int page) {
  char program[MAX_PATH] = "";
  const DWORD n = GetModuleFileNameA(NULL, program, MAX_PATH);
  CString folder(program, int(n));
  folder = folder.Left(folder.ReverseFind('\\') + 1);
  CString name;
  name.Format(quillo::kWelcomePicture, page);
  return folder + name;
}

BOOL cWelcomeDialog::LoadPage(int page) {
  HBITMAP picture = HBITMAP(LoadImageA(NULL, PagePicture(page), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!picture) return FALSE;
  m_picture.DeleteObject();
  m_picture.Attach(picture);
  BITMAP info = {};
  m_picture.GetBitmap(&info);
  m_size = CSize(info.bmWidth, info.bmHeight);
  m_page = page;
  return TRUE;
}

BOOL cWelcomeDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  if (!LoadPage(quillo::kFirstWelcomePage)) {
    EndDialog(IDCANCEL);
    return FALSE;
  }
  quillo::CreateCardFont(m_titleFont, kTitleFace, kTitleHeight, FW_BOLD);
  quillo::CreateCardFont(m_textFont, kTextFace, kTextHeight);
  CRect window(0, 0, m_size.cx, m_size.cy);
  ::AdjustWindowRectEx(&window, GetStyle(), FALSE, GetExStyle());
  SetWindowPos(NULL, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER);
  CenterWindow();
  PlaceButtons();
  return TRUE;
}

void cWelcomeDialog::PlaceButtons() {
  const std::vector<int32_t> buttons = RawIntegers(IDR_WELCOME_BUTTONS, kButtonValues);
  const std::vector<int32_t> pages = RawIntegers(IDR_WELCOME_NEXT, size_t(quillo::kWelcomePages) * kPageValues);
  CWnd* close = GetDlgItem(IDCANCEL);
  CWnd* next = GetDlgItem(IDC_WELCOME_NEXT);
  if (buttons.empty() || pages.empty() || !close || !next) return;  // the template's own places stay
  close->MoveWindow(buttons[kCloseLeft], buttons[kCloseTop], buttons[kCloseWidth], buttons[kCloseHeight]);
  const int index = (m_page - quillo::kFirstWelcomePage) % quillo::kWelcomePages;
  const int32_t* page = &pages[size_t(index) * kPageValues];
  next->MoveWindow(page[kNextLeft], page[kNextTop], buttons[kNextWidth], buttons[kNextHeight]);
  SetDefID(page[kNextDefault] ? IDC_WELCOME_NEXT : IDCANCEL);
  GotoDlgCtrl(page[kNextDefault] ? next : close);
}

void cWelcomeDialog::OnNext() {
  if (!LoadPage(m_page + 1)) {
    EndDialog(IDOK);
    return;
  }
  PlaceButtons();
  Invalidate(FALSE);
}

BOOL cWelcomeDialog::OnEraseBkgnd(CDC*) { return TRUE; }

void cWelcomeDialog::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap* old = memory.SelectObject(&m_picture);
  const int x = (client.Width() - m_size.cx) / 2, y = (client.Height() - m_size.cy) / 2;
  dc.BitBlt(x, y, m_size.cx, m_size.cy, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);

  CString title, text;
  const int offset = m_page - quillo::kFirstWelcomePage;
  title.LoadString(IDS_WELCOME_TITLE_FIRST + offset);
  text.LoadString(IDS_WELCOME_TEXT_FIRST + offset);
  CRect area(x + m_size.cx * kTextLeftPercent / 100, y + m_size.cy * kTextTopPercent / 100,
             x + m_size.cx - kTextRightMargin, y + m_size.cy * kTextBottomPercent / 100);
  dc.SetBkMode(TRANSPARENT);
  CFont* oldFont = dc.SelectObject(&m_titleFont);
  dc.SetTextColor(kTitleColor);
  CRect titleArea = area;
  dc.DrawText(title, &titleArea, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  dc.DrawText(title, &titleArea, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
  dc.SelectObject(&m_textFont);
  dc.SetTextColor(kTextColor);
  CRect textArea(area.left, titleArea.bottom + kTitleGap, area.right, area.bottom);
  dc.DrawText(text, &textArea, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
  dc.SelectObject(oldFont);
}
