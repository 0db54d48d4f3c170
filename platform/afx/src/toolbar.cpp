// CToolBar over comctl32's tool bar: buttons from resources, sizes in a row or a column, the idle update
// of its buttons, tool tips and fly-by prompts from the commands' prompt strings.
#include <cstring>
#include "afxpriv.h"
#include "barlayout.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_NOTIFY_REFLECT(TBN_GETINFOTIPA, OnGetInfoTip)
  ON_NOTIFY_REFLECT(TBN_GETINFOTIPW, OnGetInfoTip)
  ON_NOTIFY_REFLECT(TBN_HOTITEMCHANGE, OnHotItemChange)
  ON_NOTIFY_RANGE(TTN_GETDISPINFOA, 0, 0xFFFF, OnToolTipText)
  ON_NOTIFY_RANGE(TTN_GETDISPINFOW, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

namespace {
const int kSeparatorWidth = 8;
const int kButtonExtra = 7;                       // a button is its image plus this much each way
const COLORREF kFaceColour = RGB(192, 192, 192);  // the images' background, shown as the bar's face

// The RT_TOOLBAR resource: the image size and the buttons' commands (0 for gaps). Microsoft's compiler
// writes WORDs after a version WORD of 1; windres writes DWORDs without a version.
const WORD kToolBarResourceVersion = 1;
struct ToolBarLayout {
  CSize image;
  CUIntArray ids;
};

BOOL ParseToolBar(const void* data, DWORD bytes, ToolBarLayout& layout) {
  const WORD* words = static_cast<const WORD*>(data);
  if (bytes >= 4 * sizeof(WORD) && words[0] == kToolBarResourceVersion) {
    if (bytes < (4 + DWORD(words[3])) * sizeof(WORD)) return FALSE;
    layout.image = CSize(words[1], words[2]);
    for (WORD i = 0; i < words[3]; ++i) layout.ids.Add(words[4 + i]);
    return TRUE;
  }
  const DWORD* dwords = static_cast<const DWORD*>(data);
  if (bytes < 3 * sizeof(DWORD) || dwords[2] > (bytes / sizeof(DWORD)) - 3) return FALSE;
  layout.image = CSize(int(dwords[0]), int(dwords[1]));
  for (DWORD i = 0; i < dwords[2]; ++i) layout.ids.Add(dwords[3 + i]);
  return TRUE;
}

// The tip part ("prompt\ntip") of a command's prompt string.
CString TipOf(UINT id) {
  CString prompt;
  if (!id || !prompt.LoadString(id)) return CString();
  int newline = prompt.Find('\n');
  return newline >= 0 ? prompt.Mid(newline + 1) : CString();
}

// A button's item during the idle update: enabling and checking go to the control, not to a window.
class ToolCmdUI : public CCmdUI {
 public:
  void Enable(BOOL on) override {
    m_bEnableChanged = TRUE;
    m_pOther->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELONG(on ? TRUE : FALSE, 0));
  }
  void SetCheck(int check) override {
    m_pOther->SendMessage(TB_CHECKBUTTON, m_nID, MAKELONG(check == 1, 0));
    m_pOther->SendMessage(TB_INDETERMINATE, m_nID, MAKELONG(check == 2, 0));
  }
  void SetText(LPCSTR) override {}
};
}  // namespace

CToolBar::CToolBar() : m_hImageList(NULL), m_sizeButton(23, 22), m_sizeImage(16, 15), m_bVertical(FALSE), m_hWndNotify(NULL) {}

CToolBar::~CToolBar() {
  if (m_hWnd) DestroyWindow();
  if (m_hImageList) ImageList_Destroy(m_hImageList);
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id) {
  return CreateEx(parent, TBSTYLE_FLAT, style, CRect(0, 0, 0, 0), id);
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, CRect borders, UINT id) {
  if (!borders.IsRectNull()) {
    m_cxLeftBorder = borders.left;
    m_cyTopBorder = borders.top;
    m_cxRightBorder = borders.right;
    m_cyBottomBorder = borders.bottom;
  }
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
  InitCommonControlsEx(&init);
  // The frame's layout sizes and places the control; it neither sizes itself nor draws a divider.
  DWORD windowStyle = (style & ~CBRS_ALL) | ctrlStyle | TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
  if (style & CBRS_TOOLTIPS) windowStyle |= TBSTYLE_TOOLTIPS;
  if (!CreateBar(0, TOOLBARCLASSNAMEA, windowStyle, style, parent, id)) return FALSE;
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  SyncNotifyParent();
  SetSizes(m_sizeButton, m_sizeImage);
  return TRUE;
}

LRESULT CToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // Docking moves the control between parents; its notifications follow it, to be routed to the owner there.
  if (message == WM_WINDOWPOSCHANGED) SyncNotifyParent();
  return CControlBar::WindowProc(message, wParam, lParam);
}

void CToolBar::SyncNotifyParent() {
  HWND parent = ::GetParent(m_hWnd);
  if (parent == m_hWndNotify) return;
  m_hWndNotify = parent;
  DefWindowProc(TB_SETPARENT, WPARAM(parent), 0);
}

BOOL CToolBar::LoadToolBar(LPCSTR resourceName) {
  HINSTANCE module = AfxFindResourceHandle(resourceName, RT_TOOLBAR);
  HRSRC found = ::FindResourceA(module, resourceName, RT_TOOLBAR);
  if (!found) return FALSE;
  const void* data = ::LockResource(::LoadResource(module, found));
  ToolBarLayout layout;
  if (!data || !ParseToolBar(data, ::SizeofResource(module, found), layout)) return FALSE;
  if (!SetButtons(layout.ids.GetData(), int(layout.ids.GetSize()))) return FALSE;
  SetSizes(CSize(layout.image.cx + kButtonExtra, layout.image.cy + kButtonExtra), layout.image);
  return LoadBitmap(resourceName);
}

BOOL CToolBar::LoadBitmap(LPCSTR resourceName) {
  HINSTANCE module = AfxFindResourceHandle(resourceName, reinterpret_cast<LPCSTR>(RT_BITMAP));
  HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageA(module, resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return FALSE;
  HIMAGELIST images = ImageList_Create(m_sizeImage.cx, m_sizeImage.cy, ILC_COLOR24 | ILC_MASK, 8, 8);
  BOOL ok = images && ImageList_AddMasked(images, bitmap, kFaceColour) >= 0;
  ::DeleteObject(bitmap);
  if (!ok) {
    if (images) ImageList_Destroy(images);
    return FALSE;
  }
  SendMessage(TB_SETIMAGELIST, 0, LPARAM(images));
  if (m_hImageList) ImageList_Destroy(m_hImageList);
  m_hImageList = images;
  Invalidate();
  return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count) {
  while (SendMessage(TB_BUTTONCOUNT) > 0) SendMessage(TB_DELETEBUTTON, 0);
  if (count <= 0) return TRUE;
  TBBUTTON* buttons = new TBBUTTON[count]();
  int image = 0;
  for (int i = 0; i < count; ++i) {
    UINT id = ids ? ids[i] : 0;
    if (ids && id == ID_SEPARATOR) {
      buttons[i].fsStyle = TBSTYLE_SEP;
      buttons[i].iBitmap = kSeparatorWidth;
    } else {
      buttons[i].idCommand = int(id);
      buttons[i].iBitmap = image++;
      buttons[i].fsStyle = TBSTYLE_BUTTON;
      buttons[i].fsState = TBSTATE_ENABLED;
    }
    buttons[i].iString = -1;
  }
  BOOL ok = BOOL(SendMessage(TB_ADDBUTTONSA, WPARAM(count), LPARAM(buttons)));
  delete[] buttons;
  m_bVertical = FALSE;
  return ok;
}

void CToolBar::SetSizes(SIZE button, SIZE image) {
  m_sizeButton = button;
  m_sizeImage = image;
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(image.cx, image.cy));
  SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(button.cx, button.cy));
}

void CToolBar::SetHeight(int height) {
  m_cyTopBorder = m_cyBottomBorder = (height - m_sizeButton.cy) / 2 > 0 ? (height - m_sizeButton.cy) / 2 : 0;
}

int CToolBar::GetCount() const { return int(::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0)); }

int CToolBar::CommandToIndex(UINT id) const { return int(::SendMessageA(m_hWnd, TB_COMMANDTOINDEX, id, 0)); }

UINT CToolBar::GetItemID(int index) const {
  TBBUTTON button = {};
  if (!::SendMessageA(m_hWnd, TB_GETBUTTON, index, LPARAM(&button))) return 0;
  return (button.fsStyle & TBSTYLE_SEP) ? ID_SEPARATOR : UINT(button.idCommand);
}

void CToolBar::GetItemRect(int index, LPRECT rect) const {
  if (!::SendMessageA(m_hWnd, TB_GETITEMRECT, index, LPARAM(rect))) ::SetRectEmpty(rect);
}

UINT CToolBar::GetButtonStyle(int index) const {
  TBBUTTON button = {};
  if (!::SendMessageA(m_hWnd, TB_GETBUTTON, index, LPARAM(&button))) return 0;
  return MAKELONG(button.fsStyle, button.fsState);
}

void CToolBar::SetButtonStyle(int index, UINT style) {
  TBBUTTON button = {};
  if (!SendMessage(TB_GETBUTTON, index, LPARAM(&button))) return;
  TBBUTTONINFOA info = {sizeof info, TBIF_BYINDEX | TBIF_STYLE | TBIF_STATE};
  info.fsStyle = BYTE(LOWORD(style));
  // A style given without a state keeps the button's state (enabled, checked, wrapped).
  info.fsState = HIWORD(style) ? BYTE(HIWORD(style)) : button.fsState;
  SendMessage(TB_SETBUTTONINFOA, index, LPARAM(&info));
}

void CToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const {
  TBBUTTON button = {};
  if (!::SendMessageA(m_hWnd, TB_GETBUTTON, index, LPARAM(&button))) {
    id = style = 0;
    image = 0;
    return;
  }
  id = UINT(button.idCommand);
  style = MAKELONG(button.fsStyle, button.fsState);
  image = button.iBitmap;
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image) {
  TBBUTTON button = {};
  if (!SendMessage(TB_GETBUTTON, index, LPARAM(&button))) return;
  TBBUTTONINFOA info = {sizeof info, TBIF_BYINDEX | TBIF_COMMAND | TBIF_STYLE | TBIF_STATE};
  info.idCommand = int(id);
  info.fsStyle = BYTE(LOWORD(style));
  info.fsState = HIWORD(style) ? BYTE(HIWORD(style)) : button.fsState;
  if (info.fsStyle & TBSTYLE_SEP) {
    info.dwMask |= TBIF_SIZE;  // a gap's image is its width
    info.cx = WORD(image);
  } else {
    info.dwMask |= TBIF_IMAGE;
    info.iImage = image;
  }
  SendMessage(TB_SETBUTTONINFOA, index, LPARAM(&info));
}

BOOL CToolBar::SetButtonText(int index, LPCSTR text) {
  TBBUTTONINFOA info = {sizeof info, TBIF_BYINDEX | TBIF_TEXT};
  info.pszText = const_cast<LPSTR>(text);
  return SendMessage(TB_SETBUTTONINFOA, index, LPARAM(&info)) != 0;
}

CString CToolBar::GetButtonText(int index) const {
  UINT id = GetItemID(index);
  int length = int(::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, id, 0));
  if (length <= 0) return CString();
  CString text;
  ::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, id, LPARAM(text.GetBuffer(length + 1)));
  text.ReleaseBuffer();
  return text;
}

DWORD CToolBar::SetExtendedStyle(DWORD exStyle) { return DWORD(SendMessage(TB_SETEXTENDEDSTYLE, 0, exStyle)); }

// ---------------------------------------------------------------------------------------------
// Layout: one row, or one column when docked on a side (every button ends its row).

void CToolBar::SetWrapped(BOOL vertical) {
  if (vertical == m_bVertical) return;
  m_bVertical = vertical;
  int count = GetCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, i, LPARAM(&button));
    // Through the button information, which has the control lay its buttons out again.
    TBBUTTONINFOA info = {sizeof info, TBIF_BYINDEX | TBIF_STATE};
    info.fsState = vertical ? BYTE(button.fsState | TBSTATE_WRAP) : BYTE(button.fsState & ~TBSTATE_WRAP);
    SendMessage(TB_SETBUTTONINFOA, i, LPARAM(&info));
  }
}

CSize CToolBar::CalcLayout(BOOL horz) {
  SetWrapped(!horz);
  CRect extent(0, 0, 0, 0);
  int count = GetCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, i, LPARAM(&button));
    if (button.fsState & TBSTATE_HIDDEN) continue;
    CRect item;
    GetItemRect(i, &item);
    extent.UnionRect(&extent, &item);
  }
  if (extent.IsRectEmpty()) extent = CRect(0, 0, m_sizeButton.cx, m_sizeButton.cy);
  return afxbar::WithInsets(*this, CSize(extent.right, extent.bottom), horz);
}

CSize CToolBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
  CSize size = CalcLayout(horz);
  if (stretch && horz) size.cx = 32767;
  if (stretch && !horz) size.cy = 32767;
  return size;
}

CSize CToolBar::CalcDynamicLayout(int, DWORD mode) {
  if (mode & (LM_HORZDOCK | LM_VERTDOCK)) return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZDOCK) != 0);
  // Floating: one row.
  return CalcLayout(TRUE);
}

void CToolBar::OnBarStyleChange(DWORD oldStyle, DWORD newStyle) {
  if ((oldStyle ^ newStyle) & CBRS_TOOLTIPS) ModifyStyle(TBSTYLE_TOOLTIPS, (newStyle & CBRS_TOOLTIPS) ? TBSTYLE_TOOLTIPS : 0);
}

int CToolBar::HitTestItem(CPoint point) const {
  int index = int(::SendMessageA(m_hWnd, TB_HITTEST, 0, LPARAM(&point)));
  if (index < 0) return -1;
  return GetItemID(index) == ID_SEPARATOR ? -1 : index;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
  ToolCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = UINT(GetCount());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = GetItemID(int(state.m_nIndex));
    if (state.m_nID == ID_SEPARATOR) continue;
    state.DoUpdate(target, disableIfNoHandler);
  }
}

// ---------------------------------------------------------------------------------------------

void CToolBar::OnPaint() { Default(); }

BOOL CToolBar::OnEraseBkgnd(CDC* dc) { return BOOL(Default()) || CControlBar::OnEraseBkgnd(dc); }

void CToolBar::OnGetInfoTip(NMHDR* header, LRESULT* result) {
  *result = 0;
  if (!(m_dwStyle & CBRS_TOOLTIPS)) return;
  if (header->code == TBN_GETINFOTIPA) {
    NMTBGETINFOTIPA* tip = reinterpret_cast<NMTBGETINFOTIPA*>(header);
    if (tip->pszText && tip->cchTextMax > 0) lstrcpynA(tip->pszText, TipOf(UINT(tip->iItem)), tip->cchTextMax);
  } else {
    NMTBGETINFOTIPW* tip = reinterpret_cast<NMTBGETINFOTIPW*>(header);
    if (tip->pszText && tip->cchTextMax > 0)
      ::MultiByteToWideChar(CP_ACP, 0, TipOf(UINT(tip->iItem)), -1, tip->pszText, tip->cchTextMax);
  }
}

void CToolBar::OnToolTipText(UINT id, NMHDR* header, LRESULT* result) {
  *result = 0;
  if (!(m_dwStyle & CBRS_TOOLTIPS)) return;
  CString tip = TipOf(id);
  if (header->code == TTN_GETDISPINFOA) {
    NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    lstrcpynA(info->szText, tip, sizeof info->szText);
    info->lpszText = info->szText;
  } else {
    NMTTDISPINFOW* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    ::MultiByteToWideChar(CP_ACP, 0, tip, -1, info->szText, sizeof info->szText / sizeof info->szText[0]);
    info->lpszText = info->szText;
  }
}

void CToolBar::OnHotItemChange(NMHDR* header, LRESULT* result) {
  *result = 0;
  if (!(m_dwStyle & CBRS_FLYBY)) return;
  // The status line shows the prompt of the button under the pointer, and the idle text when it leaves.
  NMTBHOTITEM* hot = reinterpret_cast<NMTBHOTITEM*>(header);
  UINT id = (hot->dwFlags & HICF_LEAVING) ? AFX_IDS_IDLEMESSAGE : UINT(hot->idNew);
  CWnd* owner = GetOwner();
  if (owner && owner->IsFrameWnd()) owner->SendMessage(WM_SETMESSAGESTRING, id);
}
