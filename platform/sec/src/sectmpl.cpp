// SECMultiDocTemplate: opening documents docked or in MDI children, moving a document's pane between the two
// kinds of frame, and finding templates again by document string and index.
#include "sectmpl.h"

IMPLEMENT_DYNAMIC(SECMultiDocTemplate, CMultiDocTemplate)

SECMultiDocTemplate::SECMultiDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                                         CRuntimeClass* viewClass, CRuntimeClass* dockableFrameClass)
    : CMultiDocTemplate(resourceId, docClass, frameClass, viewClass),
      m_pDockableFrameClass(dockableFrameClass ? dockableFrameClass : RUNTIME_CLASS(SECDockableFrame)),
      m_bOpenDocked(FALSE) {}

CDocument* SECMultiDocTemplate::OpenDocumentFile(LPCSTR path, BOOL makeVisible) {
  return OpenDocumentFile(path, makeVisible, FALSE);
}

CDocument* SECMultiDocTemplate::OpenDocumentFile(LPCSTR path, BOOL makeVisible, BOOL docked) {
  BOOL outer = m_bOpenDocked;
  m_bOpenDocked = docked;
  CDocument* doc = NULL;
  try {
    doc = CMultiDocTemplate::OpenDocumentFile(path, makeVisible);
  } catch (...) {
    m_bOpenDocked = outer;
    throw;
  }
  m_bOpenDocked = outer;
  return doc;
}

CFrameWnd* SECMultiDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other) {
  if (m_bOpenDocked) return CreateDockableFrame(doc, other);
  return CMultiDocTemplate::CreateNewFrame(doc, other);
}

SECDockableFrame* SECMultiDocTemplate::CreateDockableFrame(CDocument* doc, CFrameWnd* other) {
  CCreateContext context;
  context.m_pCurrentFrame = other;
  context.m_pCurrentDoc = doc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  CObject* object = m_pDockableFrameClass->CreateObject();
  SECDockableFrame* frame = dynamic_cast<SECDockableFrame*>(object);
  if (!frame) {
    delete object;
    AfxThrowNotSupportedException();
  }
  frame->m_hMenuShared = m_hMenuShared;
  // A frame that fails to load has already gone (as framework frames do).
  if (!frame->LoadFrame(m_nIDResource, WS_CHILD | WS_VISIBLE | FWS_ADDTOTITLE, NULL, &context)) return NULL;
  return frame;
}

void SECMultiDocTemplate::MovePane(CFrameWnd* from, CFrameWnd* to) {
  CView* active = from->GetActiveView();
  CWnd* pane = from->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
  if (pane && pane->GetParent() != from) pane = NULL;
  from->SetActiveView(NULL, FALSE);
  if (pane) pane->SetParent(to);
  to->SetActiveView(active, FALSE);
  to->RecalcLayout();
  from->DestroyWindow();
}

SECDockableFrame* SECMultiDocTemplate::DockFrame(CFrameWnd* child) {
  CDocument* doc = child ? child->GetActiveDocument() : NULL;
  if (!doc) return NULL;
  // The new frame comes without a view: the child's pane moves over.
  CRuntimeClass* viewClass = m_pViewClass;
  m_pViewClass = NULL;
  SECDockableFrame* frame = NULL;
  try {
    frame = CreateDockableFrame(doc, child);
  } catch (...) {
    m_pViewClass = viewClass;
    throw;
  }
  m_pViewClass = viewClass;
  if (!frame) return NULL;
  MovePane(child, frame);
  frame->OnUpdateFrameTitle(TRUE);
  frame->ActivateFrame();
  return frame;
}

CFrameWnd* SECMultiDocTemplate::MakeMDIChild(SECDockableFrame* docked) {
  CDocument* doc = docked ? docked->GetActiveDocument() : NULL;
  if (!doc) return NULL;
  CRuntimeClass* viewClass = m_pViewClass;
  m_pViewClass = NULL;
  CFrameWnd* frame = NULL;
  try {
    frame = CMultiDocTemplate::CreateNewFrame(doc, docked);
  } catch (...) {
    m_pViewClass = viewClass;
    throw;
  }
  m_pViewClass = viewClass;
  if (!frame) return NULL;
  if (CMDIChildWnd* child = dynamic_cast<CMDIChildWnd*>(frame)) {
    child->m_hMenuShared = m_hMenuShared;
    child->m_hAccelTable = m_hAccelTable;
  }
  MovePane(docked, frame);
  frame->OnUpdateFrameTitle(TRUE);
  frame->ActivateFrame();
  return frame;
}

int SECMultiDocTemplate::GetDocTemplateIndex() const { return GetDocTemplateIndex(this); }

int SECMultiDocTemplate::GetDocTemplateIndex(const CDocTemplate* docTemplate) {
  CWinApp* app = AfxGetApp();
  if (!app || !docTemplate) return -1;
  int index = 0;
  for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;) {
    CDocTemplate* other = app->GetNextDocTemplate(pos);
    if (other == docTemplate) return index;
    if (other->m_strDocStrings == docTemplate->m_strDocStrings) ++index;
  }
  return -1;
}

CDocTemplate* SECMultiDocTemplate::FindDocTemplate(LPCSTR docString, int index) {
  CWinApp* app = AfxGetApp();
  if (!app || index < 0) return NULL;
  for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;) {
    CDocTemplate* docTemplate = app->GetNextDocTemplate(pos);
    if (docTemplate->m_strDocStrings != docString) continue;
    if (index-- == 0) return docTemplate;
  }
  return NULL;
}
