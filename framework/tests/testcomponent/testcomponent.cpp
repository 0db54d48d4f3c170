// The test components' shared code (test code, not product).
#include "testcomponent.h"

#include <algorithm>
#include <vector>
#include "fwtest_ids.h"

namespace fwtest {

namespace {
std::vector<cFwTestComponent*>& Live() {
  static std::vector<cFwTestComponent*> live;
  return live;
}
const int kTextMargin = 20;
const int kLineHeight = 24;
}  // namespace

IMPLEMENT_DYNCREATE(CFwTestDoc, CDocument)
IMPLEMENT_DYNCREATE(CFwTestView, CView)
IMPLEMENT_DYNCREATE(CFwTestChildFrame, CMDIChildWnd)
IMPLEMENT_NXCOMPONENT(cFwTestComponent, cNXComponent)

void CFwTestView::OnDraw(CDC* dc) {
  cFwTestComponent* component = cFwTestComponent::Owning(GetDocument()->GetDocTemplate());
  char who[128] = "";
  if (component) ::LoadStringA(component->GetResourceInstance(), IDS_FWTEST_WHO, who, sizeof who);
  dc->TextOut(kTextMargin, kTextMargin, who);
  dc->TextOut(kTextMargin, kTextMargin + kLineHeight, GetDocument()->GetTitle());
}

BOOL CFwTestChildFrame::OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) {
  if (context) m_component = cFwTestComponent::Owning(context->m_pNewDocTemplate);
  return CMDIChildWnd::OnCreateClient(cs, context);
}

void CFwTestChildFrame::OnUpdateFrameMenu(BOOL activate, CWnd* activateWnd, HMENU menuAlt) {
  if (activate && !menuAlt && m_component && m_component->BuildMergedMenu()) menuAlt = m_component->GetMergedMenu();
  CMDIChildWnd::OnUpdateFrameMenu(activate, activateWnd, menuAlt);
}

void cFwTestComponent::Configure(LPCSTR resourceLibrary, UINT templateId, LPCSTR registryKey) {
  m_resourceLibrary = resourceLibrary;
  m_templateId = templateId;
  m_strRegistryKey = registryKey;
}

cFwTestComponent::~cFwTestComponent() {
  std::vector<cFwTestComponent*>& live = Live();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

BOOL cFwTestComponent::Initialize() {
  if (!cNXComponent::Initialize()) return FALSE;
  Live().push_back(this);
  return TRUE;
}

BOOL cFwTestComponent::LoadResources() { return LoadResourceLibrary(m_resourceLibrary); }

BOOL cFwTestComponent::CreateDocTemplate(CWinApp* app) {
  if (cNXComponent::CreateDocTemplate(app)) return TRUE;
  return InstallDocTemplate(app,
                            new CMultiDocTemplate(m_templateId, RUNTIME_CLASS(CFwTestDoc),
                                                  RUNTIME_CLASS(CFwTestChildFrame), RUNTIME_CLASS(CFwTestView)),
                            m_templateId);
}

cFwTestComponent* cFwTestComponent::Owning(CDocTemplate* docTemplate) {
  for (cFwTestComponent* component : Live())
    if (docTemplate && component->GetDocTemplate() == docTemplate) return component;
  return NULL;
}

}  // namespace fwtest
