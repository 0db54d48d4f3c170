// The slide table's view: metrics, cells, painting, the loader thread, selection, sorting, refreshes, names.
#include "gallery/SlideTableView.h"

#include <algorithm>
#include <shellapi.h>
#include <shlobj.h>

#include "NXException.h"
#include "NXMisc.h"
#include "afxdisp.h"
#include "galcore/caption.h"
#include "galcore/fileops.h"
#include "galcore/selection.h"
#include "galcore/slidesort.h"
#include "gallery/DragData.h"
#include "gallery/GalleryIds.h"
#include "gallery/GalleryText.h"
#include "media/AVIFile.h"
#include "media/NXMedia.h"

namespace {

const COLORREF kBackground = RGB(202, 202, 202);
const COLORREF kActiveSelection = RGB(0, 178, 235);
const COLORREF kInactiveSelection = RGB(194, 194, 194);
const COLORREF kShadow = RGB(133, 133, 133);
const int kCaptionColour = 1;
const int kEmptyTextColour = 2;
const int kColourCount = 10;
const int kLoaderPauseMs = 10;
// Ends a drag-free press when the mouse leaves a rectangle of this fraction of the cell around it.
const int kDragSlopDivisor = 8;
const UINT kFolderFilter = 0x19;  // file names, size, last write
const int kNameEditWidth = 100, kNameEditHeight = 20;
const int kShortPathBuffer = 255;
const DISPID kHostOpenDispid = 1;
const int kCellBitmaps = 3;

enum PressPart { kPressNone, kPressPicture, kPressIcon, kPressCaption };

RECT ToRect(const galcore::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

int ProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) {
  return ReadProfileInt(HKEY_CURRENT_USER, CString(GAL_REGISTRY_KEY "\\") + section, entry, defaultValue);
}

CString ProfileString(LPCSTR section, LPCSTR entry) {
  HKEY key;
  CString value;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, CString(GAL_REGISTRY_KEY "\\") + section, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return value;
  char buffer[MAX_PATH] = "";
  DWORD type = 0, size = sizeof buffer - 1;
  if (RegQueryValueExA(key, entry, NULL, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
      type == REG_SZ)
    value = buffer;
  RegCloseKey(key);
  return value;
}

bool IsLead(unsigned char c) { return IsDBCSLeadByte(c) != 0; }
int CompareNoCase(const char* a, const char* b) { return lstrcmpiA(a, b); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// SlideMetrics

SlideMetrics::SlideMetrics()
    : m_hPictureIcon(NULL), m_hVideoIcon(NULL), m_hSoundIcon(NULL), m_inactiveSelection(kInactiveSelection),
      m_background(CLR_INVALID), m_oldBackground(NULL), m_bBackgroundMade(FALSE) {
  for (COLORREF& colour : m_colours) colour = RGB(0, 0, 0);
}

SlideMetrics::~SlideMetrics() { Release(); }

void SlideMetrics::Release() {
  for (HICON* icon : {&m_hPictureIcon, &m_hVideoIcon, &m_hSoundIcon}) {
    if (*icon) DestroyIcon(*icon);
    *icon = NULL;
  }
  if (m_bBackgroundMade) {
    m_backgroundDC.SelectObject(m_oldBackground);
    m_backgroundDC.DeleteDC();
    m_backgroundBitmap.DeleteObject();
    m_bBackgroundMade = FALSE;
  }
  m_font.DeleteObject();
}

BOOL SlideMetrics::Setup(int slideSize, COLORREF background) {
  const std::optional<galcore::SlideGeometry> geometry = galcore::GeometryForSize(slideSize);
  if (!geometry) return FALSE;
  Release();
  m_cell = galcore::MakeCellMetrics(*geometry);
  m_background = background;
  LOGFONTA font;
  if (!GetFontInfo(geometry->fontChoice ? IDR_GAL_SLIDE_FONT_ALT : IDR_GAL_SLIDE_FONT, &font)) {
    memset(&font, 0, sizeof font);
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  }
  m_font.CreateFontIndirect(&font);
  const int side = galcore::kTypeIconSide;
  HINSTANCE resources = GalleryResources();
  m_hPictureIcon = HICON(LoadImageA(resources, MAKEINTRESOURCE(IDI_GAL_PICTURE), IMAGE_ICON, side, side, 0));
  m_hVideoIcon = HICON(LoadImageA(resources, MAKEINTRESOURCE(IDI_GAL_VIDEO), IMAGE_ICON, side, side, 0));
  m_hSoundIcon = HICON(LoadImageA(resources, MAKEINTRESOURCE(IDI_GAL_SOUND), IMAGE_ICON, side, side, 0));
  GetRCData(IDR_GAL_COLOURS, m_colours, sizeof m_colours);
  m_colours[0] = kActiveSelection;
  return TRUE;
}

CDC* SlideMetrics::BackgroundDC(CDC* compatible) {
  if (!m_bBackgroundMade) {
    m_backgroundDC.CreateCompatibleDC(compatible);
    m_backgroundBitmap.CreateCompatibleBitmap(compatible, m_cell.cellWidth, m_cell.cellHeight);
    m_oldBackground = ::SelectObject(m_backgroundDC.GetSafeHdc(), m_backgroundBitmap.GetSafeHandle());
    m_bBackgroundMade = TRUE;
    CRect all(0, 0, m_cell.cellWidth, m_cell.cellHeight);
    m_backgroundDC.FillSolidRect(&all, m_background);
  }
  return &m_backgroundDC;
}

// ---------------------------------------------------------------------------------------------
// cSlideHelper

cSlideHelper::cSlideHelper(cSlideTableView* view, SlideMetrics* metrics, cSTDocItem* item)
    : m_pView(view), m_pMetrics(metrics), m_pItem(item) {}

void cSlideHelper::Draw(CDC* dc, int x, int y, BOOL selected, BOOL anchor, BOOL active, BOOL showExtension) {
  const galcore::CellMetrics& cell = m_pMetrics->m_cell;
  const HDC hdc = dc->GetSafeHdc();
  ::BitBlt(hdc, x, y, cell.cellWidth, cell.cellHeight, m_pMetrics->BackgroundDC(dc)->GetSafeHdc(), 0, 0, SRCCOPY);
  cMediaObject* media = m_pItem->GetMediaObject();
  const CString name = media ? media->GetDisplayName() : CString();
  const BOOL printing = dc->IsPrinting();
  if (cell.CaptionsShown()) {
    HGDIOBJ oldFont = ::SelectObject(hdc, m_pMetrics->m_font.GetSafeHandle());
    const galcore::Rect box = cell.Caption().Offset(x, y);
    const std::string text = galcore::CaptionText(
        std::string(name), showExtension != FALSE, box.Width(),
        [hdc](std::string_view part) {
          SIZE size = {0, 0};
          ::GetTextExtentPoint32A(hdc, part.data(), int(part.size()), &size);
          return int(size.cx);
        },
        &IsLead);
    RECT r = ToRect(box);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, m_pMetrics->m_colours[kCaptionColour]);
    // Not clipped to the 12-pixel box: the slide font's underscores and descenders reach below it (into the
    // cell's own bitmap), and a name's underscore must show.
    ::DrawTextA(hdc, text.c_str(), int(text.size()), &r, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
    ::SelectObject(hdc, oldFont);
    if (!printing) {
      CString upper(name);
      upper.MakeUpper();
      HICON icon = m_pMetrics->m_hPictureIcon;
      if (upper.Find(".AVI") >= 0 || upper.Find(".IVS") >= 0)
        icon = m_pMetrics->m_hVideoIcon;
      else if (upper.Find(".WAV") >= 0)
        icon = m_pMetrics->m_hSoundIcon;
      const galcore::Rect place = cell.TypeIcon().Offset(x, y);
      if (icon) ::DrawIconEx(hdc, place.left, place.top, icon, place.Width(), place.Height(), 0, NULL, DI_NORMAL);
    }
  }
  // The loader stores thumbnails under the document's lock; it holds the lock only for that, never while decoding.
  SIZE size = {0, 0};
  CBitmap* bitmap = NULL;
  cSlideTableDoc* doc = m_pView->GetDocument();
  doc->Lock();
  if (m_pItem->GetThumbnailSize(&size)) bitmap = m_pItem->CreateThumbnailBitmap();
  doc->Unlock();
  if (!bitmap) size = {0, 0};
  galcore::Rect picture = galcore::FitPicture(cell.ImageBox().Offset(x, y), size.cx, size.cy);
  if (picture.Width() > 0) {
    if (bitmap) {
      if (!printing) {
        const int pen = galcore::ShadowPenWidth(picture.Width(), cell.geometry.frameWidth);
        HPEN shadow = ::CreatePen(PS_SOLID, pen, kShadow);
        HGDIOBJ oldPen = ::SelectObject(hdc, shadow);
        const int offset = pen / 2 + 1;
        ::MoveToEx(hdc, picture.right + offset - 1, picture.top + pen, NULL);
        ::LineTo(hdc, picture.right + offset - 1, picture.bottom + offset - 1);
        ::LineTo(hdc, picture.left + pen, picture.bottom + offset - 1);
        ::SelectObject(hdc, oldPen);
        ::DeleteObject(shadow);
      }
      HDC source = ::CreateCompatibleDC(hdc);
      HGDIOBJ old = ::SelectObject(source, bitmap->GetSafeHandle());
      const int oldMode = ::SetStretchBltMode(hdc, size.cx > picture.Width() ? HALFTONE : COLORONCOLOR);
      ::StretchBlt(hdc, picture.left, picture.top, picture.Width(), picture.Height(), source, 0, 0, size.cx, size.cy,
                   SRCCOPY);
      ::SetStretchBltMode(hdc, oldMode);
      ::SelectObject(source, old);
      ::DeleteDC(source);
    }
  }
  delete bitmap;
  if (picture.Width() <= 0) picture = cell.ImageBox().Offset(x, y);
  if (selected || anchor) {
    const RECT frame = ToRect(galcore::SelectionFrame(picture));
    HGDIOBJ oldBrush = ::SelectObject(hdc, ::GetStockObject(NULL_BRUSH));
    if (selected) {
      HPEN pen = ::CreatePen(PS_INSIDEFRAME, galcore::kSelectionPenWidth,
                             active ? m_pMetrics->m_colours[0] : m_pMetrics->m_inactiveSelection);
      HGDIOBJ oldPen = ::SelectObject(hdc, pen);
      ::Rectangle(hdc, frame.left, frame.top, frame.right, frame.bottom);
      ::SelectObject(hdc, oldPen);
      ::DeleteObject(pen);
    }
    if (anchor) {
      HPEN dotted = ::CreatePen(PS_DOT, 1, RGB(255, 255, 255));
      HGDIOBJ oldPen = ::SelectObject(hdc, dotted);
      ::SetBkMode(hdc, OPAQUE);
      ::SetBkColor(hdc, selected ? (active ? m_pMetrics->m_colours[0] : m_pMetrics->m_inactiveSelection) : kBackground);
      ::Rectangle(hdc, frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1);
      ::SelectObject(hdc, oldPen);
      ::DeleteObject(dotted);
    }
    ::SelectObject(hdc, oldBrush);
  }
}

// ---------------------------------------------------------------------------------------------
// cNameEdit

BOOL cNameEdit::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN)) {
    GetParent()->PostMessage(msg->wParam == VK_ESCAPE ? WM_GAL_EDIT_CANCEL : WM_GAL_EDIT_COMMIT, GAL_NAME_EDIT_ID, 0);
    return TRUE;
  }
  return CEdit::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------------------------------------
// The cells as the click rule sees them.

class cCellSelection : public galcore::CellSelection {
 public:
  explicit cCellSelection(cSlideTableView* view) : m_view(view) {}
  int CellCount() const override { return m_view->m_nCells; }
  bool IsCellSelected(int cell) const override { return m_view->m_cells[cell]->GetItem()->IsSelected() != FALSE; }
  void SetCellSelected(int cell, bool selected) override { m_view->m_cells[cell]->GetItem()->Select(selected); }

 private:
  cSlideTableView* m_view;
};

// ---------------------------------------------------------------------------------------------
// cSlideTableView

IMPLEMENT_DYNCREATE(cSlideTableView, CScrollView)

BEGIN_MESSAGE_MAP(cSlideTableView, CScrollView)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(WM_GAL_FOLDER_CHANGED, OnFolderChanged)
  ON_MESSAGE(WM_GAL_NOT_BUSY, OnNotBusy)
  ON_MESSAGE(WM_GAL_LOAD_PROGRESS, OnLoadProgress)
  ON_MESSAGE(WM_GAL_THUMBS_READY, OnThumbsReady)
  ON_MESSAGE(WM_GAL_LOAD_FAILED, OnLoadFailed)
  ON_MESSAGE(WM_GAL_EDIT_CANCEL, OnEditCancel)
  ON_MESSAGE(WM_GAL_EDIT_COMMIT, OnEditCommit)
  ON_MESSAGE(WM_GAL_SCROLL_TO, OnScrollTo)
  ON_MESSAGE(WM_GAL_SORT, OnSortMessage)
  ON_COMMAND(ID_GAL_REFRESH, OnRefresh)
  ON_COMMAND_RANGE(ID_GAL_SMALL, ID_GAL_LARGE, OnSlideSize)
  ON_UPDATE_COMMAND_UI_RANGE(ID_GAL_SMALL, ID_GAL_LARGE, OnUpdateSlideSize)
  ON_COMMAND_RANGE(ID_GAL_SORT_DATE, ID_GAL_SORT_SELECTED, OnSortCommand)
  ON_UPDATE_COMMAND_UI_RANGE(ID_GAL_SORT_DATE, ID_GAL_SORT_SELECTED, OnUpdateSort)
  ON_COMMAND(ID_GAL_SELECT_ALL, OnSelectAll)
  ON_COMMAND(ID_GAL_SELECT_NONE, OnSelectNone)
  ON_COMMAND(ID_GAL_RENAME, OnRename)
  ON_COMMAND(ID_GAL_OPEN, OnOpen)
  ON_COMMAND(ID_GAL_DELETE, OnDelete)
  ON_COMMAND(ID_GAL_ASK_STOP, OnAskStop)
END_MESSAGE_MAP()

cSlideTableView::cSlideTableView()
    : m_nMetricsInUse(0), m_nCells(0), m_nExtraX(0), m_nExtraY(0), m_nSortCriterion(galcore::kSortByName),
      m_nSlideSize(galcore::kMediumSlides), m_nAnchor(-1), m_background(kBackground), m_pLoader(NULL),
      m_bStopLoader(FALSE), m_bBusy(FALSE), m_bRefreshPending(FALSE), m_nEditIndex(-1), m_bInPlace(FALSE),
      m_bActive(FALSE), m_bSizing(FALSE), m_cellBitmapSize(0, 0), m_nNextCellBitmap(0), m_visibleFirst(0),
      m_visibleLast(-1), m_nPressIndex(-1), m_nPressPart(kPressNone), m_bPressDeferred(FALSE), m_nPressFlags(0),
      m_nRefreshes(0), m_dropEffect(DROPEFFECT_NONE) {
  EnableAutomation();
  m_nSortCriterion = ProfileInt(GAL_SECTION_RUNTIME, SettingName(GAL_ENTRY_SORT, GAL_ENTRY_IP_SORT), galcore::kSortByName);
  const int size = ProfileInt(GAL_SECTION_RUNTIME, SettingName(GAL_ENTRY_SLIDE_SIZE, GAL_ENTRY_IP_SLIDE_SIZE),
                              galcore::kMediumSlides);
  m_nSlideSize = galcore::GeometryForSize(size) ? size : galcore::kMediumSlides;
}

cSlideTableView::~cSlideTableView() {
  StopLoader();
  DeleteCells();
}

cSlideTableDoc* cSlideTableView::GetDocument() const { return static_cast<cSlideTableDoc*>(m_pDocument); }

CString cSlideTableView::SettingName(LPCSTR entry, LPCSTR inPlaceEntry) const { return m_bInPlace ? inPlaceEntry : entry; }

BOOL cSlideTableView::ShowExtension() const {
  return ProfileInt(GAL_SECTION_PREFERENCES, GAL_ENTRY_SHOW_EXTENSION, 1) != 0;
}

int cSlideTableView::OnCreate(LPCREATESTRUCT cs) {
  if (CScrollView::OnCreate(cs) == -1) return -1;
  m_metrics[m_nMetricsInUse].Setup(m_nSlideSize, m_background);
  return 0;
}

void cSlideTableView::OnInitialUpdate() {
  static const UINT fileNameFormat = RegisterClipboardFormatA("FileName");
  (void)fileNameFormat;
  m_monitor.SetNotification(m_hWnd, WM_GAL_FOLDER_CHANGED);
  m_monitor.EnableNotification(TRUE);
  m_monitor.MonitorChangesIn(GetDocument()->GetFolder() + "\\", FALSE, kFolderFilter);
  m_dropTarget.Register(this);
  m_nameEdit.Create(WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, CRect(0, 0, kNameEditWidth, kNameEditHeight), this,
                    GAL_NAME_EDIT_ID);
  m_nameEdit.SetFont(&m_metrics[m_nMetricsInUse].m_font);
  Rebuild();
  SetTimer(GAL_REFRESH_TIMER, GAL_REFRESH_DELAY_MS, NULL);
}

void cSlideTableView::ShowFolder() {
  m_monitor.MonitorChangesIn(GetDocument()->GetFolder() + "\\", FALSE, kFolderFilter);
  Rebuild();
}

BEGIN_DISPATCH_MAP(cSlideTableView, CScrollView)
  DISP_FUNCTION_ID(cSlideTableView, "Open", DISPID_GAL_OPEN, OpenFolder, VT_EMPTY, VTS_BSTR)
  DISP_FUNCTION_ID(cSlideTableView, "SelectedSlides", DISPID_GAL_SELECTEDSLIDES, SelectedSlides, VT_DISPATCH, VTS_NONE)
  DISP_FUNCTION_ID(cSlideTableView, "SelectNone", DISPID_GAL_SELECTNONE, SelectNone, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

void cSlideTableView::OpenFolder(LPCSTR path) { GetDocument()->OpenFolder(path); }
LPDISPATCH cSlideTableView::SelectedSlides() { return GetDocument()->SelectedSlides(); }
void cSlideTableView::SelectNone() { GetDocument()->SelectNone(); }

void cSlideTableView::OnDestroy() {
  KillTimer(GAL_REFRESH_TIMER);
  StopLoader();
  m_monitor.EnableNotification(FALSE);
  m_monitor.MonitorChangesIn("", FALSE, 0);
  m_dropTarget.Revoke();
  CScrollView::OnDestroy();
}

BOOL cSlideTableView::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, m_background);
  return TRUE;
}

void cSlideTableView::OnActivateView(BOOL activate, CView* activateView, CView* deactivateView) {
  CScrollView::OnActivateView(activate, activateView, deactivateView);
  if (m_bActive != activate) {
    m_bActive = activate;
    Invalidate(FALSE);
  }
}

// ----- layout ---------------------------------------------------------------------------------

galcore::FlowLayout cSlideTableView::Layout() const {
  CRect client;
  GetClientRect(&client);
  return galcore::FlowLayout(Metrics().m_cell.CellSize(), {m_nExtraX, m_nExtraY}, client.Width());
}

int cSlideTableView::GetColumns() const { return Layout().Columns(); }

CRect cSlideTableView::GetCellRect(int index) const {
  const galcore::Rect r = Layout().CellRect(index);
  const CPoint scroll = GetScrollPosition();
  return CRect(r.left - scroll.x, r.top - scroll.y, r.right - scroll.x, r.bottom - scroll.y);
}

int cSlideTableView::HitTest(CPoint client) const {
  const CPoint scroll = GetScrollPosition();
  cReadWriteLock lock(m_lockData);
  lock.ReadLock();
  return Layout().CellAt({client.x + scroll.x, client.y + scroll.y}, m_nCells);
}

cSTDocItem* cSlideTableView::GetCellItem(int index) const {
  cReadWriteLock lock(m_lockData);
  lock.ReadLock();
  return index >= 0 && index < m_nCells ? m_cells[index]->GetItem() : NULL;
}

void cSlideTableView::UpdateScrollSizes() {
  if (m_bSizing) return;
  m_bSizing = TRUE;
  for (int round = 0; round < 2; ++round) {
    CRect client;
    GetClientRect(&client);
    galcore::ScrollInput input;
    input.clientWidth = client.Width();
    input.clientHeight = client.Height();
    input.verticalBarShown = (GetStyle() & WS_VSCROLL) != 0;
    input.verticalBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    input.count = m_nCells;
    const galcore::ScrollSizes sizes = galcore::ComputeScrollSizes(Metrics().m_cell.CellSize(), {m_nExtraX, m_nExtraY}, input);
    SetScrollSizes(MM_TEXT, CSize(sizes.total.cx, sizes.total.cy), CSize(sizes.page.cx, sizes.page.cy),
                   CSize(sizes.line.cx, sizes.line.cy));
    CRect after;
    GetClientRect(&after);
    if (after.Width() == client.Width()) break;
  }
  m_bSizing = FALSE;
  UpdateVisibleRange();
}

void cSlideTableView::OnSize(UINT type, int cx, int cy) {
  CScrollView::OnSize(type, cx, cy);
  if (m_nCells > 0 || m_pDocument) UpdateScrollSizes();
  Invalidate(FALSE);
}

void cSlideTableView::UpdateVisibleRange() {
  CRect client;
  GetClientRect(&client);
  const CPoint scroll = GetScrollPosition();
  const galcore::FlowLayout layout = Layout();
  const galcore::Extent cell = Metrics().m_cell.CellSize();
  const int rowHeight = cell.cy + m_nExtraY;
  if (rowHeight <= 0) return;
  const int firstRow = scroll.y / rowHeight;
  const int lastRow = (scroll.y + client.Height()) / rowHeight;
  m_visibleFirst = firstRow * layout.Columns();
  m_visibleLast = (lastRow + 1) * layout.Columns() - 1;
}

void cSlideTableView::InvalidateCell(int index) {
  if (index < 0) return;
  CRect r = GetCellRect(index);
  InvalidateRect(&r, FALSE);
}

// ----- painting -------------------------------------------------------------------------------

void cSlideTableView::OnDraw(CDC* dc) {
  UpdateVisibleRange();
  cReadWriteLock lock(m_lockData);
  lock.ReadLock();
  if (m_nCells == 0) {
    lock.Unlock();
    DrawEmptyLook(dc);
    StatusText(NULL);
    return;
  }
  SlideMetrics& metrics = m_metrics[m_nMetricsInUse];
  const galcore::Extent cellSize = metrics.m_cell.CellSize();
  if (m_cellBitmapSize.cx != cellSize.cx || m_cellBitmapSize.cy != cellSize.cy) {
    for (CBitmap& bitmap : m_cellBitmaps) {
      bitmap.DeleteObject();
      bitmap.CreateCompatibleBitmap(dc, cellSize.cx, cellSize.cy);
    }
    m_cellBitmapSize = CSize(cellSize.cx, cellSize.cy);
  }
  CRect clip;
  dc->GetClipBox(&clip);
  const galcore::FlowLayout layout = Layout();
  const BOOL active = m_bActive || GetParentFrame() == NULL || GetParentFrame()->GetActiveView() == this;
  const BOOL showExtension = ShowExtension();
  CDC memory;
  memory.CreateCompatibleDC(dc);
  for (int i = 0; i < m_nCells; ++i) {
    const galcore::Rect r = layout.CellRect(i);
    if (r.top >= clip.bottom) break;
    if (r.bottom <= clip.top || r.right <= clip.left || r.left >= clip.right) continue;
    CBitmap& target = m_cellBitmaps[m_nNextCellBitmap];
    m_nNextCellBitmap = (m_nNextCellBitmap + 1) % kCellBitmaps;
    HGDIOBJ old = ::SelectObject(memory.GetSafeHdc(), target.GetSafeHandle());
    cSTDocItem* item = m_cells[i]->GetItem();
    m_cells[i]->Draw(&memory, 0, 0, item->IsSelected(), i == m_nAnchor, active, showExtension);
    ::BitBlt(dc->GetSafeHdc(), r.left, r.top, cellSize.cx, cellSize.cy, memory.GetSafeHdc(), 0, 0, SRCCOPY);
    ::SelectObject(memory.GetSafeHdc(), old);
  }
  memory.DeleteDC();
  if (!IsLoading()) StatusText(NULL);
}

void cSlideTableView::DrawEmptyLook(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  const CPoint scroll = GetScrollPosition();
  client.OffsetRect(scroll);
  dc->FillSolidRect(&client, m_background);
  const SlideMetrics& metrics = Metrics();
  HGDIOBJ oldFont = ::SelectObject(dc->GetSafeHdc(), metrics.m_font.GetSafeHandle());
  ::SetBkMode(dc->GetSafeHdc(), TRANSPARENT);
  ::SetTextColor(dc->GetSafeHdc(), metrics.m_colours[kEmptyTextColour]);
  const CString text = GalleryText(IDS_GAL_EMPTY_FOLDER);
  ::DrawTextA(dc->GetSafeHdc(), text, text.GetLength(), &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc->GetSafeHdc(), oldFont);
}

void cSlideTableView::StatusText(LPCSTR text) {
  CFrameWnd* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
  if (!frame) return;
  if (text)
    frame->SetMessageText(text);
  else
    frame->SetMessageText(AFX_IDS_IDLEMESSAGE);
}

// ----- cells ----------------------------------------------------------------------------------

void cSlideTableView::DeleteCells() {
  cReadWriteLock lock(m_lockData);
  lock.WriteLock();
  for (int i = 0; i < m_cells.GetSize(); ++i) delete m_cells[i];
  m_cells.RemoveAll();
  m_nCells = 0;
  m_ready.clear();
}

void cSlideTableView::BeginBusy() { m_bBusy = TRUE; }

void cSlideTableView::EndBusy() { PostMessage(WM_GAL_NOT_BUSY); }

void cSlideTableView::Rebuild() {
  StopLoader();
  BeginBusy();
  EndNameEdit(FALSE);
  DeleteCells();
  cSlideTableDoc* doc = GetDocument();
  {
    cReadWriteLock lock(m_lockData);
    lock.WriteLock();
    doc->Lock();
    for (int i = 0; i < doc->GetCount(); ++i) {
      try {
        m_cells.Add(new cSlideHelper(this, &m_metrics[m_nMetricsInUse], doc->GetItem(i)));
        ++m_nCells;
      } catch (CException* e) {
        e->Delete();
      }
    }
    doc->Unlock();
  }
  if (!Sort(m_nSortCriterion, TRUE)) StartLoader();
  Invalidate();
  UpdateScrollSizes();
  m_nAnchor = -1;
  EndBusy();
}

BOOL cSlideTableView::Sort(int criterion, BOOL rebuilding) {
  std::vector<galcore::SortKey> keys;
  std::vector<int> order;
  {
    cReadWriteLock lock(m_lockData);
    lock.ReadLock();
    for (int i = 0; i < m_nCells; ++i) {
      cSTDocItem* item = m_cells[i]->GetItem();
      const FILETIME& time = item->GetFileTime();
      keys.push_back({std::string(item->GetMediaObject()->GetDisplayName()),
                      int64_t((uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime), item->GetStamp()});
      order.push_back(i);
    }
  }
  std::vector<int> sorted = order;
  int applied = criterion;
  if (galcore::SortSlides(sorted, keys, criterion, &CompareNoCase) == galcore::SortOutcome::refusedNothingSelected) {
    if (!rebuilding) {
      AfxMessageBox(GalleryText(IDS_GAL_NOTHING_SELECTED));
      return FALSE;
    }
    // A freshly listed folder has nothing selected: selected-first then means by name, and the user's
    // choice stays stored for when slides are selected again.
    applied = galcore::kSortByName;
    sorted = order;
    galcore::SortSlides(sorted, keys, applied, &CompareNoCase);
  }
  StopLoader();
  BeginBusy();
  {
    CWaitCursor wait;
    cReadWriteLock lock(m_lockData);
    lock.WriteLock();
    std::vector<cSlideHelper*> cells(static_cast<size_t>(m_nCells), nullptr);
    for (int i = 0; i < m_nCells; ++i) cells[size_t(i)] = m_cells.GetAt(sorted[size_t(i)]);
    for (int i = 0; i < m_nCells; ++i) m_cells.SetAt(i, cells[size_t(i)]);
  }
  if (applied == criterion && m_nSortCriterion != criterion) {
    m_nSortCriterion = criterion;
    WriteProfileInt(HKEY_CURRENT_USER, GAL_REGISTRY_KEY "\\" GAL_SECTION_RUNTIME, SettingName(GAL_ENTRY_SORT, GAL_ENTRY_IP_SORT),
                    criterion);
  }
  m_nAnchor = -1;
  Invalidate(FALSE);
  StartLoader();
  EndBusy();
  return TRUE;
}

void cSlideTableView::SetSlideSize(int slideSize) {
  if (!galcore::GeometryForSize(slideSize)) return;
  EndNameEdit(TRUE);
  const int next = 1 - m_nMetricsInUse;
  if (!m_metrics[next].Setup(slideSize, m_background)) return;
  {
    cReadWriteLock lock(m_lockData);
    lock.WriteLock();
    m_nMetricsInUse = next;
    for (int i = 0; i < m_nCells; ++i) m_cells[i]->SetMetrics(&m_metrics[next]);
  }
  m_nSlideSize = slideSize;
  WriteProfileInt(HKEY_CURRENT_USER, GAL_REGISTRY_KEY "\\" GAL_SECTION_RUNTIME,
                  SettingName(GAL_ENTRY_SLIDE_SIZE, GAL_ENTRY_IP_SLIDE_SIZE), slideSize);
  if (m_nameEdit.m_hWnd) m_nameEdit.SetFont(&m_metrics[next].m_font);
  UpdateScrollSizes();
  Invalidate();
}

void cSlideTableView::SelectAll(BOOL select) {
  {
    cReadWriteLock lock(m_lockData);
    lock.ReadLock();
    for (int i = 0; i < m_nCells; ++i)
      if (m_cells[i]->GetItem()->IsSelected() != select) m_cells[i]->GetItem()->Select(select);
  }
  Invalidate(FALSE);
}

int cSlideTableView::SelectedCount() const {
  cReadWriteLock lock(m_lockData);
  lock.ReadLock();
  int count = 0;
  for (int i = 0; i < m_nCells; ++i) count += m_cells[i]->GetItem()->IsSelected() ? 1 : 0;
  return count;
}

void cSlideTableView::ScrollToSlide(int index) {
  if (index < 0 || index >= m_nCells) return;
  const galcore::Rect r = Layout().CellRect(index);
  CRect client;
  GetClientRect(&client);
  CPoint scroll = GetScrollPosition();
  if (r.top < scroll.y)
    scroll.y = r.top;
  else if (r.bottom > scroll.y + client.Height())
    scroll.y = r.bottom - client.Height();
  ScrollToPosition(scroll);
  UpdateVisibleRange();
}

LRESULT cSlideTableView::OnScrollTo(WPARAM index, LPARAM) {
  ScrollToSlide(int(index));
  return 0;
}

// ----- refreshes --------------------------------------------------------------------------------

LRESULT cSlideTableView::OnFolderChanged(WPARAM, LPARAM) {
  if (m_bBusy)
    m_bRefreshPending = TRUE;
  else
    SetTimer(GAL_REFRESH_TIMER, GAL_REFRESH_DELAY_MS, NULL);
  return 0;
}

LRESULT cSlideTableView::OnNotBusy(WPARAM, LPARAM) {
  m_bBusy = FALSE;
  if (m_bRefreshPending) {
    m_bRefreshPending = FALSE;
    OnFolderChanged(0, 0);
  }
  return 0;
}

void cSlideTableView::OnTimer(UINT_PTR id) {
  if (id != GAL_REFRESH_TIMER) {
    CScrollView::OnTimer(id);
    return;
  }
  KillTimer(GAL_REFRESH_TIMER);
  if (m_bBusy)
    m_bRefreshPending = TRUE;
  else
    PostMessage(WM_COMMAND, ID_GAL_REFRESH);
}

void cSlideTableView::OnRefresh() { Refresh(); }

void cSlideTableView::Refresh() {
  ++m_nRefreshes;
  StopLoader();
  cSlideTableDoc* doc = GetDocument();
  const cRescanResult result = doc->Rescan();
  if (!result.changed)
    StartLoader();
  else
    Rebuild();
  doc->UpdateAllViews(this);
  StatusText(NULL);
  if (doc->GetScrollToChanges() && result.changed && result.lastChanged >= 0) {
    cSTDocItem* changed = doc->GetItem(result.lastChanged);
    for (int i = 0; i < m_nCells; ++i)
      if (m_cells[i]->GetItem() == changed) PostMessage(WM_GAL_SCROLL_TO, WPARAM(i));
  }
  SetTimer(GAL_REFRESH_TIMER, GAL_REFRESH_DELAY_MS, NULL);
}

// ----- loader thread ----------------------------------------------------------------------------

BOOL cSlideTableView::IsLoading() const {
  DWORD code = 0;
  return m_pLoader && GetExitCodeThread(m_pLoader->m_hThread, &code) && code == STILL_ACTIVE;
}

void cSlideTableView::StartLoader() {
  StopLoader();
  m_bStopLoader = FALSE;
  m_pLoader = AfxBeginThread(&cSlideTableView::LoaderProc, this, THREAD_PRIORITY_LOWEST, 0, CREATE_SUSPENDED);
  if (!m_pLoader) return;
  m_pLoader->m_bAutoDelete = FALSE;
  m_pLoader->ResumeThread();
}

void cSlideTableView::StopLoader() {
  if (!m_pLoader) return;
  if (IsLoading()) {
    {
      cReadWriteLock lock(m_lockData);
      lock.WriteLock();
      m_bStopLoader = TRUE;
    }
    m_pLoader->SetThreadPriority(THREAD_PRIORITY_TIME_CRITICAL);
    WaitForSingleObject(m_pLoader->m_hThread, INFINITE);
  }
  delete m_pLoader;
  m_pLoader = NULL;
  m_bStopLoader = FALSE;
}

int cSlideTableView::NextCellToLoad(std::vector<cSTDocItem*>& done, int* cursor) const {
  auto wanted = [&](int i) {
    cSTDocItem* item = m_cells[i]->GetItem();
    return item->NeedsThumbnail() && std::find(done.begin(), done.end(), item) == done.end();
  };
  const int last = std::min(int(m_visibleLast), m_nCells - 1);
  for (int i = std::max(0, int(m_visibleFirst)); i <= last; ++i)
    if (wanted(i)) return i;
  while (*cursor < m_nCells && !wanted(*cursor)) ++*cursor;
  return *cursor < m_nCells ? *cursor : -1;
}

void cSlideTableView::RemoveCellOf(cSTDocItem* item, int* cursor) {
  cReadWriteLock lock(m_lockData);
  lock.WriteLock();
  for (int i = 0; i < m_nCells; ++i) {
    if (m_cells[i]->GetItem() != item) continue;
    delete m_cells[i];
    m_cells.RemoveAt(i);
    --m_nCells;
    if (i < *cursor) --*cursor;
    break;
  }
}

void cSlideTableView::LoaderPass(CDC* screen, BOOL* repeat, BOOL* stopped) {
  const HWND window = m_hWnd;
  cSlideTableDoc* doc = GetDocument();
  std::vector<cSTDocItem*> done;
  int cursor = 0;
  *repeat = FALSE;
  for (;;) {
    cSTDocItem* item = NULL;
    int index = -1;
    {
      cReadWriteLock lock(m_lockData);
      lock.ReadLock();
      index = NextCellToLoad(done, &cursor);
      if (index >= 0) item = m_cells[index]->GetItem();
    }
    if (!item) return;
    done.push_back(item);
    ::PostMessageA(window, WM_GAL_LOAD_PROGRESS, WPARAM(index), 0);
    doc->Lock();
    const CString path = item->GetMediaObject()->GetFileName();
    doc->Unlock();
    CString extension = path.Mid(std::max(0, path.ReverseFind('.')));
    extension.MakeLower();
    const DWORD attributes = GetFileAttributesA(path);
    const BOOL protect = extension == ".fpx" && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY);
    if (protect) SetFileAttributesA(path, attributes | FILE_ATTRIBUTE_READONLY);
    const BOOL made = doc->MakeThumbnail(item, screen);
    if (protect) SetFileAttributesA(path, attributes);
    if (made) {
      {
        cReadWriteLock lock(m_lockData);
        lock.WriteLock();
        m_ready.push_back(index);
      }
      ::PostMessageA(window, WM_GAL_THUMBS_READY, 0, 0);
      if (item->NeedsThumbnail()) *repeat = TRUE;
    } else {
      RemoveCellOf(item, &cursor);
      ::PostMessageA(window, WM_GAL_LOAD_FAILED, 0, 0);
    }
    {
      cReadWriteLock lock(m_lockData);
      lock.WriteLock();
      if (m_bStopLoader) {
        m_bStopLoader = FALSE;
        *stopped = TRUE;
        return;
      }
    }
    Sleep(kLoaderPauseMs);
  }
}

UINT cSlideTableView::LoaderProc(LPVOID param) {
  cSlideTableView* view = static_cast<cSlideTableView*>(param);
  cAVIFile::Initialize();
  // Thumbnails are made for the display through a device context of this thread's own: the view's window and
  // its device contexts belong to the user-interface thread.
  CDC screen;
  screen.Attach(::CreateDCA("DISPLAY", NULL, NULL, NULL));
  BOOL repeat = FALSE, stopped = FALSE;
  do {
    view->LoaderPass(&screen, &repeat, &stopped);
  } while (repeat && !stopped);
  ::DeleteDC(screen.Detach());
  if (!stopped) ::PostMessageA(view->m_hWnd, WM_GAL_LOAD_PROGRESS, WPARAM(view->m_nCells + 1), 0);
  cAVIFile::Terminate();
  AfxEndThread(0, FALSE);
}

LRESULT cSlideTableView::OnLoadProgress(WPARAM index, LPARAM) {
  if (int(index) >= m_nCells) {
    StatusText("");
    return 0;
  }
  CString first, count;
  first.Format("%d", int(index) + 1);
  count.Format("%d", m_nCells);
  StatusText(GalleryFormat(IDS_GAL_LOADING, first, count));
  return 0;
}

LRESULT cSlideTableView::OnThumbsReady(WPARAM, LPARAM) {
  std::vector<int> ready;
  {
    cReadWriteLock lock(m_lockData);
    lock.WriteLock();
    ready.swap(m_ready);
  }
  for (int index : ready) InvalidateCell(index);
  return 0;
}

LRESULT cSlideTableView::OnLoadFailed(WPARAM, LPARAM) {
  if (m_nAnchor >= m_nCells) m_nAnchor = -1;
  UpdateScrollSizes();
  Invalidate();
  return 0;
}

// ----- mouse and keys ---------------------------------------------------------------------------

void cSlideTableView::ApplyClick(int index, BOOL ctrl, BOOL shift) {
  galcore::ClickOutcome outcome;
  {
    cReadWriteLock lock(m_lockData);
    lock.ReadLock();
    cCellSelection cells(this);
    const int previous = m_nAnchor;
    const BOOL clearsAll = !ctrl && !shift;
    outcome = galcore::ApplyClick(cells, index, ctrl != FALSE, shift != FALSE, m_nAnchor);
    if (clearsAll || previous != outcome.anchor) outcome.repaint.push_back(previous);
  }
  m_nAnchor = outcome.anchor;
  if (!ctrl && !shift) {
    Invalidate(FALSE);
    return;
  }
  for (int cell : outcome.repaint) InvalidateCell(cell);
}

void cSlideTableView::OnLButtonDown(UINT flags, CPoint point) {
  EndNameEdit(TRUE);
  SetFocus();
  const int index = HitTest(point);
  m_nPressIndex = index;
  m_nPressPart = kPressNone;
  m_bPressDeferred = FALSE;
  m_pressPoint = point;
  m_nPressFlags = flags;
  if (index >= 0) {
    const CRect cell = GetCellRect(index);
    const galcore::CellPart part = galcore::PartAt(Metrics().m_cell, {point.x - cell.left, point.y - cell.top});
    cSTDocItem* item = GetCellItem(index);
    if (part == galcore::CellPart::typeIcon) {
      m_nPressPart = kPressIcon;
      SetCapture();
      return;
    }
    if (part == galcore::CellPart::caption && item->IsSelected()) {
      m_nPressPart = kPressCaption;
      SetCapture();
      return;
    }
    m_nPressPart = kPressPicture;
    if (item->IsSelected()) {
      m_bPressDeferred = TRUE;
      SetCapture();
      return;
    }
  }
  ApplyClick(index, (flags & MK_CONTROL) != 0, (flags & MK_SHIFT) != 0);
  if (index >= 0) SetCapture();
}

void cSlideTableView::OnMouseMove(UINT flags, CPoint point) {
  if (GetCapture() != this || m_nPressIndex < 0 || m_nPressPart != kPressPicture || !(flags & MK_LBUTTON)) return;
  const galcore::Extent cell = Metrics().m_cell.CellSize();
  if (abs(point.x - m_pressPoint.x) <= cell.cx / kDragSlopDivisor &&
      abs(point.y - m_pressPoint.y) <= cell.cy / kDragSlopDivisor)
    return;
  ReleaseCapture();
  m_nPressIndex = -1;
  m_bPressDeferred = FALSE;
  // Dragging the selection out of the table is offered through the files' shell formats.
  std::vector<CString> paths, names;
  const CArray<int, int>& order = GetDocument()->GetSelectedOrder();
  for (int i = 0; i < order.GetSize(); ++i) {
    cMediaObject* media = GetDocument()->GetMediaObject(order[i]);
    paths.push_back(media->GetFileName());
    names.push_back(media->GetDisplayName());
  }
  if (paths.empty()) return;
  HGLOBAL drop = MakeDropFiles(paths);
  if (!drop) return;
  COleDataSource* source = new COleDataSource;
  source->CacheGlobalData(CF_HDROP, drop);
  if (HGLOBAL idList = MakeShellIdList(GetDocument()->GetFolder(), names))
    source->CacheGlobalData(CLIPFORMAT(RegisterClipboardFormatA(GAL_SHELL_IDLIST_FORMAT)), idList);
  const DROPEFFECT effect = source->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
  source->InternalRelease();
  if (effect == DROPEFFECT_MOVE) PostMessage(WM_COMMAND, ID_GAL_REFRESH);
}

void cSlideTableView::OnLButtonUp(UINT flags, CPoint point) {
  if (GetCapture() == this) ReleaseCapture();
  const int pressed = m_nPressIndex;
  const int part = m_nPressPart;
  m_nPressIndex = -1;
  m_nPressPart = kPressNone;
  if (pressed < 0) return;
  const int index = HitTest(point);
  const CRect cell = GetCellRect(pressed);
  const galcore::CellPart now = galcore::PartAt(Metrics().m_cell, {point.x - cell.left, point.y - cell.top});
  if (part == kPressIcon) {
    if (index == pressed && now == galcore::CellPart::typeIcon) {
      StopLoader();
      BeginBusy();
      if (cMediaObject* media = GetCellItem(pressed)->GetMediaObject()) media->ShowProperties();
      StartLoader();
      EndBusy();
    }
    return;
  }
  if (part == kPressCaption) {
    if (index == pressed && now == galcore::CellPart::caption) StartNameEdit(pressed);
    return;
  }
  if (m_bPressDeferred) {
    m_bPressDeferred = FALSE;
    ApplyClick(pressed, (m_nPressFlags & MK_CONTROL) != 0, (m_nPressFlags & MK_SHIFT) != 0);
  }
}

void cSlideTableView::OnLButtonDblClk(UINT, CPoint point) {
  const int index = HitTest(point);
  if (index < 0) return;
  const CRect cell = GetCellRect(index);
  if (galcore::PartAt(Metrics().m_cell, {point.x - cell.left, point.y - cell.top}) == galcore::CellPart::typeIcon) return;
  OpenSlide(index);
}

void cSlideTableView::MoveFocus(int key) {
  if (m_nCells == 0) return;
  const int columns = GetColumns();
  int index = m_nAnchor < 0 ? 0 : m_nAnchor;
  if (m_nAnchor >= 0) {
    switch (key) {
      case VK_LEFT: index -= 1; break;
      case VK_RIGHT: index += 1; break;
      case VK_UP: index -= columns; break;
      case VK_DOWN: index += columns; break;
    }
  }
  if (index < 0 || index >= m_nCells) return;
  ApplyClick(index, FALSE, FALSE);
  ScrollToSlide(index);
}

BOOL cSlideTableView::PreTranslateMessage(MSG* msg) {
  if (msg->hwnd != m_hWnd) return CScrollView::PreTranslateMessage(msg);
  const BOOL loading = IsLoading();
  if (msg->message == WM_KEYDOWN) {
    switch (msg->wParam) {
      case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
        MoveFocus(int(msg->wParam));
        return TRUE;
      case VK_NEXT:
        OnVScroll(SB_PAGEDOWN, 0, NULL);
        return TRUE;
      case VK_PRIOR:
        OnVScroll(SB_PAGEUP, 0, NULL);
        return TRUE;
      case VK_ESCAPE: case VK_RETURN:
        if (loading) {
          PostMessage(WM_COMMAND, ID_GAL_ASK_STOP);
          return TRUE;
        }
        break;
    }
  } else if (msg->message == WM_CHAR && loading) {
    PostMessage(WM_COMMAND, ID_GAL_ASK_STOP);
    return TRUE;
  }
  return CScrollView::PreTranslateMessage(msg);
}

void cSlideTableView::OnAskStop() {
  if (!IsLoading()) return;
  if (::MessageBoxA(m_hWnd, GalleryText(IDS_GAL_STOP_LOADING), GalleryText(IDS_GAL_STOP_TITLE), MB_YESNO | MB_ICONQUESTION) ==
      IDYES)
    StopLoader();
  SetFocus();
}

// ----- commands ---------------------------------------------------------------------------------

void cSlideTableView::OnSlideSize(UINT id) { SetSlideSize(int(id - ID_GAL_SMALL)); }
void cSlideTableView::OnUpdateSlideSize(CCmdUI* ui) { ui->SetRadio(int(ui->m_nID - ID_GAL_SMALL) == m_nSlideSize); }
void cSlideTableView::OnSortCommand(UINT id) { Sort(int(id - ID_GAL_SORT_DATE)); }
LRESULT cSlideTableView::OnSortMessage(WPARAM criterion, LPARAM) {
  Sort(int(criterion));
  return 0;
}
void cSlideTableView::OnUpdateSort(CCmdUI* ui) {
  ui->SetRadio(int(ui->m_nID - ID_GAL_SORT_DATE) == m_nSortCriterion);
  if (ui->m_nID == ID_GAL_SORT_SELECTED) ui->Enable(SelectedCount() > 0);
}
void cSlideTableView::OnSelectAll() { SelectAll(TRUE); }
void cSlideTableView::OnSelectNone() {
  SelectAll(FALSE);
  m_nAnchor = -1;
}
void cSlideTableView::OnRename() {
  if (m_nAnchor >= 0) StartNameEdit(m_nAnchor);
}
void cSlideTableView::OnOpen() {
  if (m_nAnchor >= 0) OpenSlide(m_nAnchor);
}
void cSlideTableView::OnDelete() { DeleteSelected(TRUE); }

// ----- names ------------------------------------------------------------------------------------

void cSlideTableView::StartNameEdit(int index) {
  cSTDocItem* item = GetCellItem(index);
  if (!item || !Metrics().m_cell.CaptionsShown() || !m_nameEdit.m_hWnd) return;
  EndNameEdit(TRUE);
  m_nEditIndex = index;
  const CRect cell = GetCellRect(index);
  const galcore::Rect caption = Metrics().m_cell.Caption().Offset(cell.left, cell.top);
  const int height = std::max(caption.Height() + 6, kNameEditHeight);
  m_nameEdit.SetWindowText(item->GetMediaObject()->GetDisplayName());
  m_nameEdit.MoveWindow(caption.left - 2, caption.bottom - height + 3, std::max(caption.Width() + 4, kNameEditWidth), height);
  m_nameEdit.SetSel(0, -1);
  m_nameEdit.ShowWindow(SW_SHOW);
  m_nameEdit.SetFocus();
}

void cSlideTableView::EndNameEdit(BOOL commit) {
  if (m_nEditIndex < 0) return;
  const int index = m_nEditIndex;
  m_nEditIndex = -1;
  CString text;
  m_nameEdit.GetWindowText(text);
  m_nameEdit.ShowWindow(SW_HIDE);
  cSTDocItem* item = GetCellItem(index);
  if (commit && item) {
    cMediaObject* media = item->GetMediaObject();
    const CString oldName = media->GetDisplayName();
    const galcore::RenameDecision decision = galcore::DecideRename(std::string(oldName), std::string(text), &IsLead);
    if (decision.status == galcore::RenameStatus::rename) {
      const CString target = GetDocument()->GetFolder() + "\\" + decision.newName.c_str();
      if (MoveFileA(media->GetFileName(), target)) {
        cSlideTableDoc* doc = GetDocument();
        doc->Lock();  // the loader reads the names under it
        media->SetFileName(target);
        media->SetDisplayName(decision.newName.c_str());
        doc->Unlock();
      }
    }
  }
  SetFocus();
  InvalidateCell(index);
}

LRESULT cSlideTableView::OnEditCancel(WPARAM, LPARAM) {
  EndNameEdit(FALSE);
  return 0;
}

LRESULT cSlideTableView::OnEditCommit(WPARAM, LPARAM) {
  EndNameEdit(TRUE);
  return 0;
}

// ----- opening ----------------------------------------------------------------------------------

void cSlideTableView::OpenSlide(int index) {
  cSTDocItem* item = GetCellItem(index);
  cMediaObject* media = item ? item->GetMediaObject() : NULL;
  try {
    if (!media || GetFileAttributesA(media->GetFileName()) == INVALID_FILE_ATTRIBUTES) {
      throw new cNXException(IDS_GAL_SLIDE_GONE, media ? (LPCSTR)media->GetFileName() : "", NULL, GalleryResources());
    }
    const CString longPath = media->GetFileName();
    char shortPath[kShortPathBuffer] = "";
    const CString path = GetShortPathNameA(longPath, shortPath, sizeof shortPath) ? CString(shortPath) : longPath;
    LPCSTR entry = GAL_ENTRY_PICTURE_EDITOR;
    if (media->IsKindOf(RUNTIME_CLASS(cVideoObject)))
      entry = GAL_ENTRY_VIDEO_EDITOR;
    else if (media->IsKindOf(RUNTIME_CLASS(cWaveObject)))
      entry = GAL_ENTRY_WAVE_EDITOR;
    const CString editor = ProfileString(GAL_SECTION_PREFERENCES, entry);
    if (editor.CompareNoCase("default") == 0) {
      COleDispatchDriver host;
      if (!host.CreateDispatch("Forge.Automation")) throw new cNXException(IDS_GAL_NO_HOST, NULL, NULL, GalleryResources());
      static const BYTE params[] = VTS_BSTR;
      host.InvokeHelper(kHostOpenDispid, DISPATCH_METHOD, VT_EMPTY, NULL, params, (LPCSTR)path);
    } else if (!editor.IsEmpty()) {
      RunProgram(editor + " " + path, NULL);
    } else {
      const CString folder = GetDocument()->GetFolder();
      const INT_PTR result = INT_PTR(ShellExecuteA(m_hWnd, "open", media->GetDisplayName(), NULL, folder, SW_SHOWNORMAL));
      if (result <= 32) {
        UINT message = IDS_GAL_OPEN_FAILED;
        if (result == SE_ERR_NOASSOC) message = IDS_GAL_NO_ASSOCIATION;
        else if (result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND) message = IDS_GAL_FILE_NOT_FOUND;
        else if (result == SE_ERR_ACCESSDENIED) message = IDS_GAL_ACCESS_DENIED;
        throw new cNXException(message, longPath, NULL, GalleryResources());
      }
    }
  } catch (CException* e) {
    cNXException::WarnUserRecoverable(e);
    e->Delete();
  }
}

// ----- files in and out -------------------------------------------------------------------------

void cSlideTableView::DeleteSelected(BOOL toRecycleBin) {
  const CArray<int, int>& order = GetDocument()->GetSelectedOrder();
  if (order.GetSize() == 0) return;
  CString list;
  std::vector<char> names;
  for (int i = 0; i < order.GetSize(); ++i) {
    const CString path = GetDocument()->GetMediaObject(order[i])->GetFileName();
    names.insert(names.end(), (LPCSTR)path, (LPCSTR)path + path.GetLength() + 1);
  }
  names.push_back('\0');
  SHFILEOPSTRUCTA op = {};
  op.hwnd = m_hWnd;
  op.wFunc = FO_DELETE;
  op.pFrom = names.data();
  op.fFlags = FOF_NOCONFIRMATION | (toRecycleBin ? FOF_ALLOWUNDO : 0);
  try {
    if (SHFileOperationA(&op) != 0) CFileException::ThrowOsError(LONG(GetLastError()), names.data());
  } catch (CException* e) {
    cNXException::WarnUserRecoverable(e);
    e->Delete();
  }
  PostMessage(WM_COMMAND, ID_GAL_REFRESH);
}

namespace {

std::vector<std::string> DroppedFiles(COleDataObject* data) {
  std::vector<std::string> files;
  CStringArray names;
  if (data->GetFileNames(names))
    for (int i = 0; i < names.GetSize(); ++i) files.push_back(std::string(names[i]));
  return files;
}

std::string DroppedText(COleDataObject* data) {
  std::string text;
  HGLOBAL global = data->GetGlobalData(CF_TEXT);
  if (!global) return text;
  const char* p = static_cast<const char*>(GlobalLock(global));
  if (p) text.assign(p, strnlen(p, GlobalSize(global)));
  GlobalUnlock(global);
  GlobalFree(global);
  return text;
}

bool SupportedExtension(std::string_view extension) {
  return cSlideTableDoc::IsSupportedName(std::string(extension).c_str()) != FALSE;
}

std::optional<std::string> LinkToLocalPath(std::string_view link) {
  char path[MAX_PATH] = "";
  if (Url2Path(std::string(link).c_str(), path) != 0) return std::nullopt;
  return std::string(path);
}

}  // namespace

DWORD cSlideTableView::OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point) {
  return OnDragOver(data, keyState, point);
}

DWORD cSlideTableView::OnDragOver(COleDataObject* data, DWORD keyState, CPoint) {
  galcore::DropEffect effect = galcore::DropEffect::none;
  if (data->IsDataAvailable(CF_HDROP)) {
    effect = galcore::FileDropEffect(DroppedFiles(data), std::string(GetDocument()->GetFolder()),
                                     (keyState & MK_CONTROL) != 0, (keyState & MK_SHIFT) != 0, &SupportedExtension,
                                     &CompareNoCase, &IsLead);
  } else if (data->IsDataAvailable(CF_TEXT)) {
    effect = galcore::TextDropEffect(DroppedText(data), &LinkToLocalPath, &SupportedExtension, &IsLead);
  }
  m_dropEffect = effect == galcore::DropEffect::copy   ? DROPEFFECT_COPY
                 : effect == galcore::DropEffect::move ? DROPEFFECT_MOVE
                                                       : DROPEFFECT_NONE;
  return m_dropEffect;
}

BOOL cSlideTableView::OnDrop(COleDataObject* data, DWORD effect, CPoint) {
  const CString folder = GetDocument()->GetFolder();
  try {
    std::vector<char> from;
    UINT operation = FO_COPY;
    if (data->IsDataAvailable(CF_TEXT) && !data->IsDataAvailable(CF_HDROP)) {
      const CString path = LocalPathOfLink(DroppedText(data).c_str(), FALSE);
      if (path.IsEmpty()) return FALSE;
      from.assign(LPCSTR(path), LPCSTR(path) + path.GetLength());
    } else {
      const std::vector<std::string> files = DroppedFiles(data);
      if (files.empty()) throw new cNXException(IDS_GAL_DROP_EMPTY, NULL, NULL, GalleryResources());
      for (const std::string& file : files) {
        from.insert(from.end(), file.begin(), file.end());
        from.push_back('\0');
      }
      from.pop_back();
      if (effect == DROPEFFECT_MOVE) operation = FO_MOVE;
    }
    if (ShellCopyInto(m_hWnd, operation, from, folder) != 0) {
      from.push_back('\0');
      throw new cNXException(IDS_GAL_DROP_FAILED, from.data(), folder, GalleryResources());
    }
  } catch (CException* e) {
    cNXException::WarnUserRecoverable(e);
    e->Delete();
    return FALSE;
  }
  if (CWnd* main = AfxGetMainWnd()) main->SetActiveWindow();
  SendMessage(WM_COMMAND, ID_GAL_REFRESH);
  return TRUE;
}
