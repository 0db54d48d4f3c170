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

namespace {
// Gives a member another value for a while: the old one comes back however the scope is left.
template <class T>
class Temporarily {
 public:
  Temporarily(T& slot, T value) : m_slot(slot), m_saved(slot) { slot = value; }
  ~Temporarily() { m_slot = m_saved; }
  Temporarily(const Temporarily&) = delete;
  Temporarily& operator=(const Temporarily&) = delete;

 private:
  T& m_slot;
  T m_saved;
};
}  // namespace

CDocument* SECMultiDocTemplate::OpenDocumentFile(LPCSTR path, BOOL makeVisible, BOOL docked) {
  Temporarily<BOOL> opening(m_bOpenDocked, docked);
  return CMultiDocTemplate::OpenDocumentFile(path, makeVisible);
}

CFrameWnd* SECMultiDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other) {
  if (m_bOpenDocked) return CreateDockableFrame(doc, other);
  return CMultiDocTemplate::CreateNewFrame(doc, other);
}

SECDockableFrame* SECMultiDocTemplate::CreateDockableFrame(CDocument* doc, CFrameWnd* other) {
  CFrameWnd* frame = NULL;
  {
    Temporarily<CRuntimeClass*> frameClass(m_pFrameClass, m_pDockableFrameClass);
    frame = CDocTemplate::CreateNewFrame(doc, other);
  }
  SECDockableFrame* docked = dynamic_cast<SECDockableFrame*>(frame);
  if (frame && !docked) {
    // The template's dockable frame class is some other frame.
    frame->DestroyWindow();
    AfxThrowNotSupportedException();
  }
  if (docked) docked->m_hMenuShared = m_hMenuShared;
  return docked;
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
  SECDockableFrame* frame = NULL;
  {
    // The new frame comes without a view: the child's pane moves over.
    Temporarily<CRuntimeClass*> noView(m_pViewClass, NULL);
    frame = CreateDockableFrame(doc, child);
  }
  if (!frame) return NULL;
  MovePane(child, frame);
  frame->OnUpdateFrameTitle(TRUE);
  frame->ActivateFrame();
  return frame;
}

CFrameWnd* SECMultiDocTemplate::MakeMDIChild(SECDockableFrame* docked) {
  CDocument* doc = docked ? docked->GetActiveDocument() : NULL;
  if (!doc) return NULL;
  CFrameWnd* frame = NULL;
  {
    Temporarily<CRuntimeClass*> noView(m_pViewClass, NULL);
    frame = CMultiDocTemplate::CreateNewFrame(doc, docked);
  }
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
