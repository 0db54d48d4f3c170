// The host's workspace document and view (see ForgeDoc.h).
#include "ForgeDoc.h"

IMPLEMENT_DYNCREATE(CForgeDoc, COleDocument)
IMPLEMENT_DYNCREATE(CForgeView, CView)

CForgeDoc::CForgeDoc() {}

void CForgeView::OnDraw(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
}
