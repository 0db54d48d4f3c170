// The test components' shared code (test code, not product).
#include "testcomponent.h"

#include "fwtest_ids.h"

namespace fwtest {

namespace {
const int kTextMargin = 20;
const int kLineHeight = 24;
const int kButtons = 4;
const CSize kViewSize(400, 300);
const char kCommandSection[] = "Commands";
const char kLastCommandEntry[] = "Last";
}  // namespace

IMPLEMENT_DYNCREATE(CFwTestDoc, cNXComponentDoc)
IMPLEMENT_DYNCREATE(CFwTestView, cNXComponentView)
IMPLEMENT_DYNCREATE(CFwTestChildFrame, cNXChildWnd)
IMPLEMENT_DYNCREATE(CFwTestDockFrame, cNXDockableFrame)
IMPLEMENT_NXCOMPONENT(cFwTestComponent, cNXComponent)

BEGIN_MESSAGE_MAP(CFwTestView, cNXComponentView)
  ON_COMMAND_RANGE(ID_FWTEST_THUMBNAILS, ID_FWTEST_THUMBNAILS + kButtons - 1, OnToolButton)
END_MESSAGE_MAP()

void CFwTestView::OnToolButton(UINT id) {
  if (cNXComponent* component = cNXComponent::FromTemplate(GetDocument()->GetDocTemplate()))
    component->WriteProfileInt(kCommandSection, kLastCommandEntry, int(id));
}

void CFwTestView::OnInitialUpdate() {
  SetScrollSizes(MM_TEXT, kViewSize);
  cNXComponentView::OnInitialUpdate();
}

void CFwTestView::OnDraw(CDC* dc) {
  cNXComponent* component = cNXComponent::FromTemplate(GetDocument()->GetDocTemplate());
  char who[128] = "";
  if (component) ::LoadStringA(component->GetResourceInstance(), IDS_FWTEST_WHO, who, sizeof who);
  dc->TextOut(kTextMargin, kTextMargin, who);
  dc->TextOut(kTextMargin, kTextMargin + kLineHeight, GetDocument()->GetTitle());
}

namespace {
cNXFrameHelper* NewHelper(cNXComponent* component) {
  cFwTestComponent* test = dynamic_cast<cFwTestComponent*>(component);
  return test ? new cFwTestHelper(component, test->Plan()) : NULL;
}
}  // namespace

cNXFrameHelper* CFwTestChildFrame::CreateFrameHelper() { return NewHelper(GetComponent()); }

cNXFrameHelper* CFwTestDockFrame::CreateFrameHelper() { return NewHelper(GetComponent()); }

cFwTestHelper::cFwTestHelper(cNXComponent* component, const BarPlan& plan)
    : cNXFrameHelper(component), m_plan(plan) {}

BOOL cFwTestHelper::AttachDockingFrame(CFrameWnd* frame, LPCSTR name) {
  if (!cNXFrameHelper::AttachDockingFrame(frame, name)) return FALSE;
  CControlBar* previous = NULL;
  for (UINT id : m_plan.toolBars) {
    if (!id) continue;
    cNXToolBar* bar = new cNXToolBar;
    bar->m_bAutoDelete = TRUE;
    if (!bar->CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS,
                       CRect(0, 0, 0, 0), id) ||
        !bar->LoadBitmap(m_plan.bitmap)) {
      delete bar;
      return FALSE;
    }
    UINT commands[kButtons];
    for (int i = 0; i < kButtons; ++i) commands[i] = ID_FWTEST_THUMBNAILS + i;
    bar->SetButtons(commands, kButtons);
    bar->EnableDocking(CBRS_ALIGN_ANY);
    AddBar(bar);
    if (previous)
      DockBarBeside(bar, previous);
    else
      frame->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
    previous = bar;
  }
  return TRUE;
}

void cFwTestHelper::ResetStatus(BOOL activate) {
  if (activate && m_plan.panes)
    SetStatusPanes(m_plan.panes, m_plan.paneCount);
  else
    SetStatusPanes(NULL, 0);
}

UINT cFwTestHelper::ContextMenuID() { return m_plan.contextMenu ? m_plan.contextMenu : UINT(-1); }

void cFwTestComponent::Configure(LPCSTR resourceLibrary, UINT templateId, LPCSTR registryKey, const BarPlan& plan) {
  m_resourceLibrary = resourceLibrary;
  m_templateId = templateId;
  m_strRegistryKey = registryKey;
  m_plan = plan;
}

BOOL cFwTestComponent::LoadResources() { return LoadResourceLibrary(m_resourceLibrary); }

BOOL cFwTestComponent::CreateDocTemplate(CWinApp* app) {
  if (cNXComponent::CreateDocTemplate(app)) return TRUE;
  return InstallDocTemplate(app,
                            new SECMultiDocTemplate(m_templateId, RUNTIME_CLASS(CFwTestDoc),
                                                    RUNTIME_CLASS(CFwTestChildFrame), RUNTIME_CLASS(CFwTestView),
                                                    RUNTIME_CLASS(CFwTestDockFrame)),
                            m_templateId);
}

}  // namespace fwtest
