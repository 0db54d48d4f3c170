// The component frames: the worksheet keeping its show state in the host's settings, the component child
// window and the component's dockable frame, both sharing their component's frame helper.
#include "framework/NXFrames.h"

namespace {

const char kSettingsSection[] = "Settings";
const char kShowCmdEntry[] = "ShowCmd";
const int kShowMaximized = SW_SHOWMAXIMIZED;  // 3
const int kShowRestored = SW_SHOW;            // 5
const int kMessageChars = 256;

CFrameWnd* MainFrame() {
  CWnd* main = AfxGetMainWnd();
  return main && main->IsFrameWnd() ? static_cast<CFrameWnd*>(main) : NULL;
}

// The component's helper for frame, made (and given its docking frame and bar state) for the component's
// first frame; null when the component has none and can't make one.
template <class Frame>
cNXFrameHelper* JoinHelper(Frame* frame, CFrameWnd* dockingFrame, BOOL dockable) {
  cNXComponent* component = frame->GetComponent();
  if (!component || !dockingFrame) return NULL;
  cNXFrameHelper* helper = component->GetFrameHelper();
  if (!helper) {
    helper = frame->CreateFrameHelper();
    if (!helper) return NULL;
    component->SetFrameHelper(helper);
    CString section = cNXFrameHelper::BarStateSection(component, dockable);
    helper->AttachDockingFrame(dockingFrame, section);
    dockingFrame->LoadBarState(section);
  }
  helper->AddFrame(frame);
  return helper;
}

// A frame leaves its helper: its component's bar state is saved, then the frame goes from the helper's list.
void LeaveHelper(cNXFrameHelper* helper, CFrameWnd* frame, BOOL dockable) {
  if (!helper) return;
  helper->SaveBarState(cNXFrameHelper::BarStateSection(helper->GetComponent(), dockable));
  helper->RemoveFrame(frame);
}

HMENU MergedMenuOf(cNXComponent* component) {
  if (!component) return NULL;
  if (!component->GetMergedMenu() && !component->BuildMergedMenu()) return NULL;
  return component->GetMergedMenu();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// cNXWorksheet

IMPLEMENT_DYNCREATE(cNXWorksheet, SECWorksheet)

BEGIN_MESSAGE_MAP(cNXWorksheet, SECWorksheet)
  ON_WM_SIZE()
END_MESSAGE_MAP()

cNXWorksheet::cNXWorksheet() : m_nShowCmd(kShowMaximized) {}

void cNXWorksheet::ActivateFrame(int cmdShow) {
  if (cmdShow == -1) {
    cmdShow = int(AfxGetApp()->GetProfileInt(kSettingsSection, kShowCmdEntry, m_nShowCmd));
    if (cmdShow == kShowMaximized || cmdShow == kShowRestored) m_nShowCmd = cmdShow;
  }
  SECWorksheet::ActivateFrame(cmdShow);
}

void cNXWorksheet::OnSize(UINT type, int cx, int cy) {
  SECWorksheet::OnSize(type, cx, cy);
  if (!IsWindowVisible()) return;
  CMDIFrameWnd* mdi = GetMDIFrame();
  if (!mdi || mdi->MDIGetActive() != this) return;
  int showCmd = m_nShowCmd;
  if (type == SIZE_MAXIMIZED)
    showCmd = kShowMaximized;
  else if (type == SIZE_RESTORED)
    showCmd = kShowRestored;
  if (showCmd == m_nShowCmd) return;
  m_nShowCmd = showCmd;
  AfxGetApp()->WriteProfileInt(kSettingsSection, kShowCmdEntry, showCmd);
}

// ---------------------------------------------------------------------------------------------
// cNXChildWnd

IMPLEMENT_DYNAMIC(cNXChildWnd, cNXWorksheet)

BEGIN_MESSAGE_MAP(cNXChildWnd, cNXWorksheet)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_ACTIVATE()
  ON_WM_MDIACTIVATE()
  ON_WM_MOUSEACTIVATE()
  ON_MESSAGE(NXM_HELPERGONE, OnHelperGone)
  ON_MESSAGE(NXM_COMPONENTBARS, OnComponentBars)
  ON_MESSAGE(NXM_DEACTIVATE, OnDeactivateComponent)
  ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnUpdateMainBarMenu)
  ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnMainBarCheck)
  ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
END_MESSAGE_MAP()

cNXChildWnd::cNXChildWnd() : m_pFrameHelper(NULL), m_pComponent(NULL) {}

cNXFrameHelper* cNXChildWnd::GetFrameHelper() { return m_pFrameHelper; }

cNXComponent* cNXChildWnd::GetComponent() { return m_pComponent; }

cNXFrameHelper* cNXChildWnd::CreateFrameHelper() { return NULL; }

BOOL cNXChildWnd::IsActiveChild() const {
  CMDIFrameWnd* mdi = GetMDIFrame();
  return mdi && mdi->MDIGetActive() == this;
}

BOOL cNXChildWnd::OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) {
  if (context && !m_pComponent) m_pComponent = cNXComponent::FromTemplate(context->m_pNewDocTemplate);
  return cNXWorksheet::OnCreateClient(cs, context);
}

int cNXChildWnd::OnCreate(LPCREATESTRUCT cs) {
  // The component that had the frame until now hides its bars.
  CMDIFrameWnd* mdi = GetMDIFrame();
  CMDIChildWnd* active = mdi ? mdi->MDIGetActive() : NULL;
  if (active && active != this) active->SendMessage(NXM_DEACTIVATE);
  if (cNXWorksheet::OnCreate(cs) == -1) return -1;
  m_pFrameHelper = JoinHelper(this, MainFrame(), FALSE);
  return 0;
}

void cNXChildWnd::LeaveHelper() { ::LeaveHelper(m_pFrameHelper, this, FALSE); }

void cNXChildWnd::OnClose() {
  // The bars' places as the user leaves them; the frame stays with its helper until it is really gone.
  if (m_pFrameHelper)
    m_pFrameHelper->SaveBarState(cNXFrameHelper::BarStateSection(m_pFrameHelper->GetComponent(), FALSE));
  cNXWorksheet::OnClose();
}

void cNXChildWnd::OnDestroy() {
  LeaveHelper();
  m_pFrameHelper = NULL;
  cNXWorksheet::OnDestroy();
}

LRESULT cNXChildWnd::OnHelperGone(WPARAM, LPARAM) {
  m_pFrameHelper = NULL;
  return 0;
}

void cNXChildWnd::OnActivate(UINT state, CWnd* other, BOOL minimized) {
  cNXWorksheet::OnActivate(state, other, minimized);
  if (m_pFrameHelper) m_pFrameHelper->OnActivateFrame(state != WA_INACTIVE, this, other);
}

void cNXChildWnd::OnMDIActivate(BOOL activate, CWnd* activateWnd, CWnd* deactivateWnd) {
  cNXWorksheet::OnMDIActivate(activate, activateWnd, deactivateWnd);
  if (m_pFrameHelper) m_pFrameHelper->OnActivateFrame(activate, this, activate ? deactivateWnd : activateWnd);
}

int cNXChildWnd::OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message) {
  BOOL wasActive = IsActiveChild();
  int result = cNXWorksheet::OnMouseActivate(desktop, hitTest, message);
  if (!wasActive && result != MA_NOACTIVATE && result != MA_NOACTIVATEANDEAT) {
    OnUpdateFrameMenu(TRUE, this, NULL);
    if (CMDIFrameWnd* mdi = GetMDIFrame()) mdi->DrawMenuBar();
    if (m_pFrameHelper) m_pFrameHelper->OnActivateFrame(TRUE, this, NULL);
  }
  return result;
}

void cNXChildWnd::ActivateFrame(int cmdShow) {
  BOOL wasActive = IsActiveChild();
  cNXWorksheet::ActivateFrame(cmdShow);
  if (wasActive || !IsActiveChild()) return;
  OnUpdateFrameMenu(TRUE, this, NULL);
  if (CMDIFrameWnd* mdi = GetMDIFrame()) mdi->DrawMenuBar();
  if (m_pFrameHelper) m_pFrameHelper->OnActivateFrame(TRUE, this, NULL);
}

LRESULT cNXChildWnd::OnComponentBars(WPARAM wParam, LPARAM) {
  if (!m_pFrameHelper) return 0;
  m_pFrameHelper->ShowBarsAfterSwitch(wParam != 0);
  m_pFrameHelper->ResetStatus(wParam != 0);
  if (wParam && m_pComponent) m_pComponent->ActivateResources();
  return 0;
}

LRESULT cNXChildWnd::OnDeactivateComponent(WPARAM, LPARAM) {
  if (!m_pFrameHelper) return 0;
  m_pFrameHelper->ShowBarsAfterSwitch(FALSE);
  m_pFrameHelper->OnActivateFrame(FALSE, this, NULL);
  return 0;
}

void cNXChildWnd::OnUpdateFrameMenu(BOOL activate, CWnd* activateWnd, HMENU menuAlt) {
  if (activate && !menuAlt) menuAlt = MergedMenuOf(m_pComponent);
  cNXWorksheet::OnUpdateFrameMenu(activate, activateWnd, menuAlt);
}

BOOL cNXChildWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
  if (cNXWorksheet::OnCmdMsg(id, code, extra, handlerInfo)) return TRUE;
  return m_pFrameHelper && m_pFrameHelper->RouteCommand(id, code, extra, handlerInfo);
}

LRESULT cNXChildWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (m_pFrameHelper && m_pFrameHelper->FilterMessage(message, wParam, lParam, &result)) return result;
  return cNXWorksheet::WindowProc(message, wParam, lParam);
}

void cNXChildWnd::OnUpdateMainBarMenu(CCmdUI* ui) {
  CFrameWnd* main = MainFrame();
  CControlBar* bar = main ? main->GetControlBar(ui->m_nID) : NULL;
  if (!bar) {
    ui->ContinueRouting();
    return;
  }
  ui->SetCheck(bar->IsVisible());
  ui->Enable(TRUE);
}

void cNXChildWnd::OnMainBarCheck(UINT id) {
  CFrameWnd* main = MainFrame();
  CControlBar* bar = main ? main->GetControlBar(id) : NULL;
  if (bar) main->ShowControlBar(bar, !bar->IsVisible(), FALSE);
}

// ---------------------------------------------------------------------------------------------
// cNXDockableFrame

IMPLEMENT_DYNCREATE(cNXDockableFrame, SECDockableFrame)

BEGIN_MESSAGE_MAP(cNXDockableFrame, SECDockableFrame)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_ACTIVATE()
  ON_WM_NCACTIVATE()
  ON_WM_MENUCHAR()
  ON_MESSAGE(NXM_HELPERGONE, OnHelperGone)
END_MESSAGE_MAP()

cNXDockableFrame::cNXDockableFrame() : m_pFrameHelper(NULL), m_pComponent(NULL), m_bActive(FALSE) {}

cNXFrameHelper* cNXDockableFrame::GetFrameHelper() { return m_pFrameHelper; }

cNXComponent* cNXDockableFrame::GetComponent() { return m_pComponent; }

cNXFrameHelper* cNXDockableFrame::CreateFrameHelper() { return NULL; }

BOOL cNXDockableFrame::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!SECDockableFrame::PreCreateWindow(cs)) return FALSE;
  cs.style &= ~(WS_DLGFRAME | WS_MAXIMIZEBOX);
  cs.style |= WS_BORDER;
  return TRUE;
}

SECControlBar* cNXDockableFrame::CreateDockingBar() {
  cNXDockableBar* bar = new cNXDockableBar;
  bar->m_bAutoDelete = TRUE;
  return bar;
}

BOOL cNXDockableFrame::OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) {
  if (context && !m_pComponent) m_pComponent = cNXComponent::FromTemplate(context->m_pNewDocTemplate);
  return SECDockableFrame::OnCreateClient(cs, context);
}

int cNXDockableFrame::OnCreate(LPCREATESTRUCT cs) {
  if (SECDockableFrame::OnCreate(cs) == -1) return -1;
  m_pFrameHelper = JoinHelper(this, this, TRUE);
  return 0;
}

void cNXDockableFrame::LeaveHelper() { ::LeaveHelper(m_pFrameHelper, this, TRUE); }

void cNXDockableFrame::OnClose() {
  if (m_pFrameHelper)
    m_pFrameHelper->SaveBarState(cNXFrameHelper::BarStateSection(m_pFrameHelper->GetComponent(), TRUE));
  SECDockableFrame::OnClose();
}

void cNXDockableFrame::OnDestroy() {
  if (m_bActive) ActivationChanged(FALSE);
  LeaveHelper();
  m_pFrameHelper = NULL;
  SECDockableFrame::OnDestroy();
}

LRESULT cNXDockableFrame::OnHelperGone(WPARAM, LPARAM) {
  m_pFrameHelper = NULL;
  return 0;
}

void cNXDockableFrame::ActivationChanged(BOOL active) {
  m_bActive = active;
  // While a docked window is active the MDI child's component keeps its bars out of the way.
  if (CMDIFrameWnd* mdi = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd()))
    if (CMDIChildWnd* child = mdi->MDIGetActive()) child->SendMessage(NXM_COMPONENTBARS, !active);
}

void cNXDockableFrame::OnActivate(UINT state, CWnd* other, BOOL minimized) {
  BOOL active = state != WA_INACTIVE;
  BOOL changed = active != m_bActive;
  if (changed && active) ActivationChanged(TRUE);
  SECDockableFrame::OnActivate(state, other, minimized);
  if (changed) Activated(active, other);
}

BOOL cNXDockableFrame::OnNcActivate(BOOL active) {
  BOOL changed = (active != FALSE) != (m_bActive != FALSE);
  if (changed && active) ActivationChanged(TRUE);
  BOOL result = SECDockableFrame::OnNcActivate(active);
  if (changed) Activated(active, NULL);
  return result;
}

void cNXDockableFrame::Activated(BOOL active, CWnd* other) {
  if (active)
    if (SECMDIFrameWnd* main = dynamic_cast<SECMDIFrameWnd*>(m_pDockSite)) main->SetActiveDockableFrame(this);
  if (m_pFrameHelper) m_pFrameHelper->OnActivateFrame(active, this, other);
  // Losing the activation, this frame lets go of the status panes before the MDI child's component takes
  // them and its bars back.
  if (!active) ActivationChanged(FALSE);
}

LRESULT cNXDockableFrame::OnMenuChar(UINT ch, UINT, CMenu*) {
  // A mnemonic typed in the docked window opens the main menu.
  if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_SYSCOMMAND, SC_KEYMENU, LPARAM(ch));
  return MAKELRESULT(0, MNC_CLOSE);
}

void cNXDockableFrame::GetMessageString(UINT id, CString& message) const {
  message.Empty();
  char text[kMessageChars] = "";
  if (m_pComponent && ::LoadStringA(m_pComponent->GetResourceInstance(), id, text, kMessageChars) > 0) {
    message = text;
    int newline = message.Find('\n');
    if (newline >= 0) message = message.Left(newline);
  }
  if (message.IsEmpty()) SECDockableFrame::GetMessageString(id, message);
}

CWnd* cNXDockableFrame::GetMessageBar() {
  CFrameWnd* main = MainFrame();
  return main ? main->GetMessageBar() : NULL;
}

void cNXDockableFrame::OnUpdateFrameMenu(HMENU menuAlt) {
  if (!menuAlt) menuAlt = MergedMenuOf(m_pComponent);
  SECDockableFrame::OnUpdateFrameMenu(menuAlt);
}

BOOL cNXDockableFrame::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
  if (m_pFrameHelper && m_pFrameHelper->RouteCommand(id, code, extra, handlerInfo)) return TRUE;
  return SECDockableFrame::OnCmdMsg(id, code, extra, handlerInfo);
}
