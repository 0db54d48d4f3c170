// The host's own workspace document and view: the document class of the host's templates (the workspace
// template and the templates of program, document-object and workspace launch items). A container document;
// the document-object item it holds comes with the component hosting.
#pragma once
#include <afxole.h>

class CForgeDoc : public COleDocument {
  DECLARE_DYNCREATE(CForgeDoc)
 public:
  CForgeDoc();
};

class CForgeView : public CView {
  DECLARE_DYNCREATE(CForgeView)
 protected:
  void OnDraw(CDC* dc) override;
};
