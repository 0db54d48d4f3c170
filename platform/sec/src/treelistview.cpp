// SECListView: a view whose window is a common control that paints itself.
#include "sectree.h"

IMPLEMENT_DYNCREATE(SECListView, CView)

BEGIN_MESSAGE_MAP(SECListView, CView)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

SECListView::SECListView() : m_strControlClass(WC_LISTVIEWA), m_dwControlStyle(LVS_REPORT | LVS_SHAREIMAGELISTS) {}

SECListView::SECListView(LPCSTR controlClass, DWORD controlStyle)
    : m_strControlClass(controlClass), m_dwControlStyle(controlStyle) {}

BOOL SECListView::PreCreateWindow(CREATESTRUCTA& cs) {
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  cs.lpszClass = m_strControlClass;
  cs.style |= m_dwControlStyle;
  return CView::PreCreateWindow(cs);
}

void SECListView::OnDraw(CDC*) {}

void SECListView::OnPaint() { Default(); }

BOOL SECListView::OnEraseBkgnd(CDC*) { return BOOL(Default()); }
