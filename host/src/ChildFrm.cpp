// The host's MDI child frame (see ChildFrm.h).
#include "ChildFrm.h"

#include <map>

#include "ForgeApp.h"

IMPLEMENT_DYNCREATE(CChildFrame, cNXWorksheet)

BEGIN_MESSAGE_MAP(CChildFrame, cNXWorksheet)
  ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()

namespace {

// The window class of the children of one launch item, registered once with the item's server icon; the
// icon lives as long as the class, that is as long as the process.
LPCSTR ClassForItem(cLaunchItem* item) {
  static std::map<cLaunchItem*, CString> classes;
  auto known = classes.find(item);
  if (known != classes.end()) return known->second;
  HICON large = NULL, small = NULL;
  CString name;
  if (item->GetServerIcon(&large, &small) && large) {
    if (small) ::DestroyIcon(small);
    name = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW), NULL, large);
  }
  classes[item] = name;
  return classes[item];
}

}  // namespace

BOOL CChildFrame::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cNXWorksheet::PreCreateWindow(cs)) return FALSE;
  CCreateContext* context = static_cast<CCreateContext*>(cs.lpCreateParams);
  CDocTemplate* docTemplate = context ? context->m_pNewDocTemplate : NULL;
  cForgeApp* app = GetForgeApp();
  if (!docTemplate || !app) return TRUE;
  cLaunchItemList& items = app->GetLaunchItems();
  for (POSITION pos = items.GetHeadPosition(); pos;) {
    cLaunchItem* item = static_cast<cLaunchItem*>(items.GetNext(pos));
    if (item->GetDocTemplate() != docTemplate) continue;
    LPCSTR className = ClassForItem(item);
    if (className && *className) cs.lpszClass = className;
    break;
  }
  return TRUE;
}

CView* CChildFrame::HideFirstView() {
  CDocument* doc = GetActiveDocument();
  POSITION pos = doc ? doc->GetFirstViewPosition() : NULL;
  CView* view = pos ? doc->GetNextView(pos) : NULL;
  if (!view || !view->IsWindowVisible()) return NULL;
  view->ShowWindow(SW_HIDE);
  return view;
}

void CChildFrame::ActivateFrame(int cmdShow) {
  CView* hidden = HideFirstView();
  cNXWorksheet::ActivateFrame(cmdShow);
  if (hidden) hidden->ShowWindow(SW_SHOW);
}

void CChildFrame::OnMDIActivate(BOOL activate, CWnd* activateWnd, CWnd* deactivateWnd) {
  CView* hidden = activate ? HideFirstView() : NULL;
  cNXWorksheet::OnMDIActivate(activate, activateWnd, deactivateWnd);
  if (!hidden) return;
  hidden->ShowWindow(SW_SHOW);
  if (CMDIFrameWnd* frame = GetMDIFrame())
    ::RedrawWindow(frame->m_hWndMDIClient, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
