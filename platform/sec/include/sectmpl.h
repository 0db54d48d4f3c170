// SECMultiDocTemplate: a multi-document template whose documents open in MDI children or docked (in a
// dockable frame of the template's dockable frame class), move between the two, and that a workspace finds
// again by its document string and its index among the templates sharing that string.
#pragma once
#include "secdock.h"

class SEC_API SECMultiDocTemplate : public CMultiDocTemplate {
  DECLARE_DYNAMIC(SECMultiDocTemplate)
 public:
  // dockableFrameClass: the frame of docked documents (an SECDockableFrame; that class itself when null).
  SECMultiDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass,
                      CRuntimeClass* dockableFrameClass = NULL);

  CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) override;
  // docked: the document's frame is a dockable frame (docked or floating as it chooses) instead of an MDI child.
  virtual CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible, BOOL docked);
  // A frame of the kind the opening under way asks for.
  CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other) override;
  virtual SECDockableFrame* CreateDockableFrame(CDocument* doc, CFrameWnd* other);
  BOOL IsOpeningDocked() const { return m_bOpenDocked; }

  // Moves the pane (view or splitter) of frame into a new frame of the other kind, keeping the document
  // and its views; the old frame goes. Null (and nothing changed) when the new frame cannot be made.
  virtual SECDockableFrame* DockFrame(CFrameWnd* child);
  virtual CFrameWnd* MakeMDIChild(SECDockableFrame* docked);

  // Among the application's templates with the same document string, the place of this one (from 0).
  int GetDocTemplateIndex() const;
  // The application's template with that document string and index, or null.
  static CDocTemplate* FindDocTemplate(LPCSTR docString, int index);
  // The place of any template among those with its document string.
  static int GetDocTemplateIndex(const CDocTemplate* docTemplate);

  CRuntimeClass* m_pDockableFrameClass;

 protected:
  // Moves from's pane and active view into to, then destroys from.
  void MovePane(CFrameWnd* from, CFrameWnd* to);
  BOOL m_bOpenDocked;
};
