// Print preview: the frame handing its pane, bars and menu over to the preview and back, and the preview
// window, which plays each page the view drew with OnPrint into a metafile on the printer.
#include "afxpriv.h"
#include "state.h"

IMPLEMENT_DYNCREATE(CPreviewView, CScrollView)

namespace {
const int kDeskGap = 12;      // around and between the pages on the desk
const int kShadow = 4;        // the pages' shadow
const int kHimetricPerInch = 2540;
}  // namespace

CPrintPreviewState::CPrintPreviewState()
    : hMenu(NULL), nIDMainPane(AFX_IDW_PANE_FIRST), hWndMainPane(NULL), pViewActiveOld(NULL), hAccelTable(NULL) {}

// ---------------------------------------------------------------------------------------------
// The frame's side.

void CFrameWnd::OnSetPreviewMode(BOOL preview, CPrintPreviewState* state) {
  if (preview) {
    state->pViewActiveOld = GetActiveView();
    state->hMenu = ::GetMenu(m_hWnd);
    ::SetMenu(m_hWnd, NULL);
    state->hAccelTable = m_hAccelTable;
    m_hAccelTable = NULL;
    // Every bar but the status bar leaves, floating frames with them.
    state->hiddenWnds.RemoveAll();
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
      CControlBar* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
      CWnd* wnd = bar;
      if (bar->IsDockBar() && static_cast<CDockBar*>(bar)->m_bFloating) wnd = bar->GetParentFrame();
      else if (bar->GetDlgCtrlID() == AFX_IDW_STATUS_BAR) continue;
      if (!wnd || !wnd->IsWindowVisible()) continue;
      wnd->ShowWindow(SW_HIDE);
      state->hiddenWnds.Add(wnd->m_hWnd);
    }
    // The pane (a view, or the MDI client with its children) steps aside for the preview.
    HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    state->hWndMainPane = pane;
    state->nIDMainPane = AFX_IDW_PANE_FIRST;
    if (pane) {
      ::SetWindowLongA(pane, GWL_ID, AFX_IDW_PANE_SAVE);
      ::ShowWindow(pane, SW_HIDE);
    }
    return;
  }
  if (state->hWndMainPane && ::IsWindow(state->hWndMainPane)) {
    ::SetWindowLongA(state->hWndMainPane, GWL_ID, LONG(state->nIDMainPane));
    ::ShowWindow(state->hWndMainPane, SW_SHOW);
  }
  for (INT_PTR i = 0; i < state->hiddenWnds.GetSize(); ++i) {
    HWND wnd = static_cast<HWND>(state->hiddenWnds[i]);
    if (!::IsWindow(wnd)) continue;
    CMiniDockFrameWnd* floating = dynamic_cast<CMiniDockFrameWnd*>(CWnd::FromHandlePermanent(wnd));
    if (floating)
      floating->ShowFloating();
    else
      ::ShowWindow(wnd, SW_SHOWNA);
  }
  state->hiddenWnds.RemoveAll();
  m_hAccelTable = state->hAccelTable;
  if (state->hMenu) ::SetMenu(m_hWnd, state->hMenu);
  RecalcLayout();
}

// ---------------------------------------------------------------------------------------------
// The view's side.

void CView::OnFilePrintPreview() {
  CPrintPreviewState* state = new CPrintPreviewState;
  if (!DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(CPreviewView), state)) delete state;
}

BOOL CView::DoPrintPreview(UINT toolbarId, CView* printView, CRuntimeClass* previewViewClass,
                           CPrintPreviewState* state) {
  // The top-level frame takes the preview (for MDI programs the main frame, over its MDI client).
  CFrameWnd* frame = GetTopLevelFrame();
  if (!frame) return FALSE;
  CPreviewView* preview = afxstate::CreateObjectOf<CPreviewView>(previewViewClass);
  preview->m_pPreviewState = state;
  frame->OnSetPreviewMode(TRUE, state);
  CDialogBar* bar = new CDialogBar;
  bar->m_bAutoDelete = TRUE;
  CCreateContext context;
  context.m_pCurrentFrame = frame;
  context.m_pCurrentDoc = GetDocument();
  context.m_pLastView = this;
  if (!bar->Create(frame, toolbarId, CBRS_TOP, AFX_IDW_PREVIEW_BAR) ||
      !preview->Create(NULL, NULL, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), frame, AFX_IDW_PANE_FIRST, &context)) {
    if (bar->m_hWnd)
      bar->DestroyWindow();
    else
      delete bar;
    preview->m_pPreviewState = NULL;  // the caller keeps it
    if (preview->m_hWnd)
      preview->DestroyWindow();
    else
      delete preview;
    frame->OnSetPreviewMode(FALSE, state);
    return FALSE;
  }
  preview->m_pToolBar = bar;
  if (!preview->SetPrintView(printView)) {
    // Nothing to show (no printer, or the view declined): the frame comes back as it was.
    preview->OnPreviewClose();
    return TRUE;
  }
  frame->SetActiveView(preview);
  preview->SetFocus();
  frame->RecalcLayout();
  frame->UpdateWindow();
  return TRUE;
}

void CView::OnEndPrintPreview(CDC* dc, CPrintInfo* info, POINT, CPreviewView* preview) {
  OnEndPrinting(dc, info);
  CFrameWnd* frame = preview->GetParentFrame();
  frame->OnSetPreviewMode(FALSE, preview->m_pPreviewState);
  frame->SetActiveView(preview->m_pPreviewState->pViewActiveOld);
  if (frame != GetParentFrame()) OnActivateView(TRUE, this, this);
  preview->DestroyWindow();  // deletes the preview with its pass and state
  frame->RecalcLayout();
  frame->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  frame->UpdateWindow();
}

// ---------------------------------------------------------------------------------------------
// The preview window.

BEGIN_MESSAGE_MAP(CPreviewView, CScrollView)
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_KEYDOWN()
  ON_WM_LBUTTONDOWN()
  ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
  ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
  ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
  ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
  ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPageChange)
  ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
  ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NEXT, OnUpdateNextPage)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PREV, OnUpdatePrevPage)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NUMPAGE, OnUpdateNumPageChange)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMIN, OnUpdateZoomIn)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMOUT, OnUpdateZoomOut)
END_MESSAGE_MAP()

CPreviewView::CPreviewView()
    : m_pPreviewState(NULL), m_pToolBar(NULL), m_pPrintView(NULL), m_pPreviewInfo(NULL), m_nCurrentPage(1),
      m_nPages(1), m_nZoomState(zoomOut) {}

CPreviewView::~CPreviewView() {
  ClearMetafiles();
  m_dcPrinter.Detach();  // the pass's print dialog owns the context
  delete m_pPreviewInfo;
  delete m_pPreviewState;
}

void CPreviewView::ClearMetafiles() {
  for (POSITION pos = m_metafiles.GetStartPosition(); pos;) {
    UINT page;
    HENHMETAFILE metafile;
    m_metafiles.GetNextAssoc(pos, page, metafile);
    if (metafile) ::DeleteEnhMetaFile(metafile);
  }
  m_metafiles.RemoveAll();
}

BOOL CPreviewView::SetPrintView(CView* printView) {
  m_pPrintView = printView;
  m_pPreviewInfo = new CPrintInfo;
  m_pPreviewInfo->m_bPreview = TRUE;
  if (!printView->OnPreparePrinting(m_pPreviewInfo) || !m_pPreviewInfo->m_pPD->m_pd.hDC) return FALSE;
  m_dcPrinter.Attach(m_pPreviewInfo->m_pPD->m_pd.hDC);
  m_dcPrinter.m_bPrinting = TRUE;
  m_sizePage = CSize(m_dcPrinter.GetDeviceCaps(HORZRES), m_dcPrinter.GetDeviceCaps(VERTRES));
  printView->OnBeginPrinting(&m_dcPrinter, m_pPreviewInfo);
  m_nPages = m_pPreviewInfo->m_nNumPreviewPages == 2 ? 2 : 1;
  m_nCurrentPage = m_pPreviewInfo->GetMinPage();
  m_nZoomState = zoomOut;
  LayoutPages();
  ShowPageDescription();
  return TRUE;
}

HENHMETAFILE CPreviewView::GetPageMetafile(UINT page) {
  HENHMETAFILE metafile = NULL;
  if (m_metafiles.Lookup(page, metafile)) return metafile;
  if (page < m_pPreviewInfo->GetMinPage() || page > m_pPreviewInfo->GetMaxPage()) return NULL;
  HDC printer = m_dcPrinter.m_hDC;
  // The frame in hundredths of a millimetre: the printable page as the printer measures it.
  CRect frame(0, 0, MulDiv(m_sizePage.cx, kHimetricPerInch, m_dcPrinter.GetDeviceCaps(LOGPIXELSX)),
              MulDiv(m_sizePage.cy, kHimetricPerInch, m_dcPrinter.GetDeviceCaps(LOGPIXELSY)));
  HDC recording = ::CreateEnhMetaFileA(printer, NULL, &frame, NULL);
  if (!recording) AfxThrowResourceException();
  CDC dc;
  dc.Attach(recording);
  dc.m_bPrinting = TRUE;
  // Pages start with the printer's own font (Wine measures text on a metafile only once one is chosen).
  dc.SelectObject(::GetCurrentObject(printer, OBJ_FONT));
  m_pPreviewInfo->m_nCurPage = page;
  m_pPreviewInfo->m_bContinuePrinting = TRUE;
  m_pPrintView->OnPrepareDC(&dc, m_pPreviewInfo);
  BOOL exists = m_pPreviewInfo->m_bContinuePrinting;
  if (exists) {
    m_pPreviewInfo->m_rectDraw.SetRect(0, 0, m_sizePage.cx, m_sizePage.cy);
    dc.DPtoLP(&m_pPreviewInfo->m_rectDraw);
    m_pPrintView->OnPrint(&dc, m_pPreviewInfo);
  }
  dc.Detach();
  metafile = ::CloseEnhMetaFile(recording);
  if (!exists && metafile) {
    ::DeleteEnhMetaFile(metafile);
    metafile = NULL;
  }
  m_metafiles.SetAt(page, metafile);
  return metafile;
}

BOOL CPreviewView::PageExists(UINT page) { return page >= 1 && GetPageMetafile(page) != NULL; }

void CPreviewView::SetCurrentPage(UINT page) {
  if (page < m_pPreviewInfo->GetMinPage() || !PageExists(page)) return;
  m_nCurrentPage = page;
  Refresh();
}

void CPreviewView::Refresh() {
  LayoutPages();
  Invalidate();
  ShowPageDescription();
}

void CPreviewView::ShowPageDescription() {
  // The description holds "one page\npages from-to\n".
  CString text, format = m_pPreviewInfo->m_strPageDesc;
  int newline = format.Find('\n');
  BOOL two = m_nPages == 2 && m_nZoomState == zoomOut && PageExists(m_nCurrentPage + 1);
  if (two) {
    CString pages = newline >= 0 ? format.Mid(newline + 1) : format;
    int end = pages.Find('\n');
    if (end >= 0) pages = pages.Left(end);
    text.Format(pages, m_nCurrentPage, m_nCurrentPage + 1);
  } else {
    text.Format(newline >= 0 ? format.Left(newline) : format, m_nCurrentPage);
  }
  if (CFrameWnd* frame = GetParentFrame()) frame->SetMessageText(text);
}

CRect CPreviewView::GetPageRect(int page) const {
  if (page < 0 || page > 1) return CRect();
  CRect rect = m_rectPages[page];
  CPoint scroll = GetScrollPosition();
  rect.OffsetRect(-scroll.x, -scroll.y);
  return rect;
}

void CPreviewView::LayoutPages() {
  m_rectPages[0].SetRectEmpty();
  m_rectPages[1].SetRectEmpty();
  if (!m_hWnd || !m_pPreviewInfo || !m_dcPrinter.m_hDC) return;
  CRect client;
  GetClientRect(&client);
  // The page's shape on paper: its printable size in inches across and down.
  double pageWidth = double(m_sizePage.cx) / m_dcPrinter.GetDeviceCaps(LOGPIXELSX);
  double pageHeight = double(m_sizePage.cy) / m_dcPrinter.GetDeviceCaps(LOGPIXELSY);
  if (m_nZoomState == zoomIn) {
    // The page at its real size on this screen, scrolled.
    CClientDC screen(this);
    CSize size(int(pageWidth * screen.GetDeviceCaps(LOGPIXELSX)), int(pageHeight * screen.GetDeviceCaps(LOGPIXELSY)));
    CSize total(size.cx + 2 * kDeskGap, size.cy + 2 * kDeskGap);
    int left = total.cx < client.Width() ? (client.Width() - size.cx) / 2 : kDeskGap;
    m_rectPages[0] = CRect(CPoint(left, kDeskGap), size);
    SetScrollSizes(MM_TEXT, total, CSize(client.Width(), client.Height()), CSize(kDeskGap * 2, kDeskGap * 2));
    return;
  }
  int shown = (m_nPages == 2 && PageExists(m_nCurrentPage + 1)) ? 2 : 1;
  int slotWidth = (client.Width() - (shown + 1) * kDeskGap) / shown;
  int slotHeight = client.Height() - 2 * kDeskGap;
  if (slotWidth < 1 || slotHeight < 1) return;
  // Fit the page's shape into each slot.
  int width = slotWidth, height = int(slotWidth * pageHeight / pageWidth);
  if (height > slotHeight) {
    height = slotHeight;
    width = int(slotHeight * pageWidth / pageHeight);
  }
  int left = (client.Width() - shown * width - (shown - 1) * kDeskGap) / 2;
  int top = (client.Height() - height) / 2;
  for (int i = 0; i < shown; ++i) m_rectPages[i] = CRect(left + i * (width + kDeskGap), top, left + i * (width + kDeskGap) + width, top + height);
  SetScrollSizes(MM_TEXT, CSize(client.Width(), client.Height()));
}

void CPreviewView::OnDraw(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  CPoint scroll = GetScrollPosition();
  client.OffsetRect(scroll);
  dc->FillSolidRect(&client, ::GetSysColor(COLOR_APPWORKSPACE));
  for (int i = 0; i < 2; ++i) {
    const CRect& page = m_rectPages[i];
    if (page.IsRectEmpty()) continue;
    CRect shadow = page;
    shadow.OffsetRect(kShadow, kShadow);
    dc->FillSolidRect(&shadow, ::GetSysColor(COLOR_3DDKSHADOW));
    dc->FillSolidRect(&page, RGB(255, 255, 255));
    CBrush frame(RGB(0, 0, 0));
    dc->FrameRect(&page, &frame);
    if (HENHMETAFILE metafile = GetPageMetafile(m_nCurrentPage + i)) ::PlayEnhMetaFile(dc->m_hDC, metafile, &page);
  }
}

void CPreviewView::OnUpdate(CView*, LPARAM, CObject*) {
  ClearMetafiles();
  LayoutPages();
  Invalidate();
}

void CPreviewView::OnSize(UINT type, int cx, int cy) {
  CScrollView::OnSize(type, cx, cy);
  LayoutPages();
  Invalidate();
}

BOOL CPreviewView::OnEraseBkgnd(CDC*) { return TRUE; }  // OnDraw paints the whole desk

void CPreviewView::OnKeyDown(UINT ch, UINT repeat, UINT flags) {
  switch (ch) {
    case VK_NEXT: OnNextPage(); break;
    case VK_PRIOR: OnPrevPage(); break;
    case VK_ESCAPE: OnPreviewClose(); break;
    default: CScrollView::OnKeyDown(ch, repeat, flags); break;
  }
}

void CPreviewView::OnLButtonDown(UINT, CPoint point) {
  // A click on a page zooms in on it; a click on the zoomed page zooms out.
  if (m_nZoomState == zoomIn) {
    OnZoomOut();
    return;
  }
  CPoint scroll = GetScrollPosition();
  point.Offset(scroll.x, scroll.y);
  for (int i = 0; i < 2; ++i) {
    if (m_rectPages[i].PtInRect(point)) {
      if (i == 1) m_nCurrentPage += 1;
      OnZoomIn();
      return;
    }
  }
}

void CPreviewView::OnPreviewClose() {
  if (m_pToolBar) {
    m_pToolBar->DestroyWindow();  // the bar deletes itself
    m_pToolBar = NULL;
  }
  m_pPrintView->OnEndPrintPreview(&m_dcPrinter, m_pPreviewInfo, CPoint(-1, -1), this);
}

void CPreviewView::OnPreviewPrint() {
  CWnd* main = AfxGetMainWnd();
  OnPreviewClose();  // deletes this preview
  if (main) main->SendMessage(WM_COMMAND, ID_FILE_PRINT);
}

void CPreviewView::OnNextPage() { SetCurrentPage(m_nCurrentPage + 1); }
void CPreviewView::OnPrevPage() {
  if (m_nCurrentPage > m_pPreviewInfo->GetMinPage()) SetCurrentPage(m_nCurrentPage - 1);
}

void CPreviewView::OnNumPageChange() {
  m_nPages = m_nPages == 1 ? 2 : 1;
  AfxGetApp()->m_nNumPreviewPages = int(m_nPages);
  Refresh();
}

void CPreviewView::OnZoomIn() {
  m_nZoomState = zoomIn;
  Refresh();
}

void CPreviewView::OnZoomOut() {
  m_nZoomState = zoomOut;
  Refresh();
}

void CPreviewView::OnUpdateNextPage(CCmdUI* ui) {
  UINT lastShown = m_nCurrentPage + ((m_nPages == 2 && m_nZoomState == zoomOut) ? 1 : 0);
  ui->Enable(PageExists(lastShown + 1));
}

void CPreviewView::OnUpdatePrevPage(CCmdUI* ui) { ui->Enable(m_nCurrentPage > m_pPreviewInfo->GetMinPage()); }

void CPreviewView::OnUpdateNumPageChange(CCmdUI* ui) {
  CString text;
  text.LoadString(m_nPages == 1 ? AFX_IDS_TWOPAGE : AFX_IDS_ONEPAGE);
  CString current;
  if (ui->m_pOther) ui->m_pOther->GetWindowText(current);
  if (current != text) ui->SetText(text);
  ui->Enable(m_nZoomState == zoomOut);
}

void CPreviewView::OnUpdateZoomIn(CCmdUI* ui) { ui->Enable(m_nZoomState == zoomOut); }
void CPreviewView::OnUpdateZoomOut(CCmdUI* ui) { ui->Enable(m_nZoomState == zoomIn); }
