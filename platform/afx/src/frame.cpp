// Frame windows: resource-loaded frames, menus and their update pass, status-line prompts, layout,
// titles, and the MDI frame and child over the system's MDICLIENT.
#include "afxdisp.h"
#include "winstate.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

namespace {
// Where and how big a frame of rect is created: rectDefault leaves both to the system (or the MDI client).
struct Placement {
  int x, y, cx, cy;
};
Placement PlacementOf(const RECT& rect) {
  if (CRect(rect) == CFrameWnd::rectDefault) return {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}
}  // namespace

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_WM_ERASEBKGND()
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_WM_ACTIVATE()
  ON_WM_DROPFILES()
  ON_WM_QUERYENDSESSION()
  ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_hMenuDefault(NULL), m_hAccelTable(NULL), m_nIDHelp(0), m_bAutoMenuEnable(TRUE), m_nIDTracking(0),
      m_nIDLastMessage(0), m_pNotifyHook(NULL), m_pViewActive(NULL), m_bInRecalcLayout(FALSE), m_nIdleFlags(0),
      m_cModalStack(0) {}

CFrameWnd::~CFrameWnd() {
  if (m_hMenuDefault && m_hMenuDefault != (m_hWnd ? ::GetMenu(m_hWnd) : NULL)) ::DestroyMenu(m_hMenuDefault);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, NULL, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* parent, LPCSTR menuName,
                       DWORD exStyle, CCreateContext* context) {
  HMENU menu = NULL;
  if (menuName) {
    menu = ::LoadMenuA(AfxFindResourceHandle(menuName, reinterpret_cast<LPCSTR>(RT_MENU)), menuName);
    if (!menu) return FALSE;
  }
  m_strTitle = title;
  Placement place = PlacementOf(rect);
  if (!CreateEx(exStyle, className, title, style, place.x, place.y, place.cx, place.cy, AfxGetSafeHwnd(parent), menu,
                context)) {
    if (menu) ::DestroyMenu(menu);
    return FALSE;
  }
  return TRUE;
}

LPCSTR CFrameWnd::GetIconWndClass(DWORD, UINT resourceId) {
  LPCSTR name = MAKEINTRESOURCEA(resourceId);
  HINSTANCE module = AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
  HICON icon = ::LoadIconA(module, name);
  return AfxRegisterWndClass(CS_DBLCLKS, NULL, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), icon);
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
  m_nIDHelp = resourceId;
  CString title;
  title.LoadString(resourceId);
  int newline = title.Find('\n');
  if (newline >= 0) title = title.Left(newline);
  if (!Create(GetIconWndClass(style, resourceId), title, style, rectDefault, parent, MAKEINTRESOURCEA(resourceId), 0,
              context))
    return FALSE;
  m_hMenuDefault = ::GetMenu(m_hWnd);
  LoadAccelTable(MAKEINTRESOURCEA(resourceId));
  if (!context) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR name) {
  HINSTANCE module = AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_ACCELERATOR));
  m_hAccelTable = ::LoadAcceleratorsA(module, name);
  return m_hAccelTable != NULL;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs) {
  CCreateContext* context = static_cast<CCreateContext*>(cs->lpCreateParams);
  if (cs->dwExStyle & WS_EX_MDICHILD)  // MDI children get theirs through the MDI creation record
    context = reinterpret_cast<CCreateContext*>(static_cast<MDICREATESTRUCTA*>(cs->lpCreateParams)->lParam);
  return OnCreateHelper(cs, context);
}

int CFrameWnd::OnCreateHelper(LPCREATESTRUCT cs, CCreateContext* context) {
  if (CWnd::OnCreate(cs) == -1) return -1;
  if (!OnCreateClient(cs, context)) return -1;
  RecalcLayout();
  // The message bar starts with the idle text once the frame's bars exist.
  PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context) {
  if (context && context->m_pNewViewClass) {
    if (!CreateView(context, AFX_IDW_PANE_FIRST)) return FALSE;
  }
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id) {
  CObject* object = context->m_pNewViewClass->CreateObject();
  CWnd* view = dynamic_cast<CWnd*>(object);
  if (!view) {
    delete object;
    AfxThrowNotSupportedException();
  }
  if (!view->Create(NULL, NULL, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, id, context)) return NULL;
  return view;
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify) {
  CView* old = m_pViewActive;
  if (view == old) return;
  m_pViewActive = view;
  if (notify && old) old->OnActivateView(FALSE, view, old);
  if (notify && view) view->OnActivateView(TRUE, view, old);
}

CDocument* CFrameWnd::GetActiveDocument() {
  CView* view = GetActiveView();
  return view ? view->GetDocument() : NULL;
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible) {
  CView* view = GetActiveView();
  if (!view) {
    CWnd* pane = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    view = dynamic_cast<CView*>(pane);
    if (view) SetActiveView(view, FALSE);
  }
  SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  if (makeVisible) {
    int cmdShow = -1;
    ActivateFrame(cmdShow);
    if (view) view->OnActivateView(TRUE, view, view);
  }
  if (doc) OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int cmdShow) {
  if (cmdShow == -1) {
    cmdShow = IsIconic() ? SW_RESTORE : (IsWindowVisible() ? SW_SHOW : SW_SHOWNORMAL);
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this && !IsWindowVisible() && app->m_nCmdShow != SW_SHOWNORMAL) cmdShow = app->m_nCmdShow;
  }
  ShowWindow(cmdShow);
  if (IsWindowVisible()) {
    BringWindowToTop();
    if (CWnd* last = CWnd::FromHandle(::GetLastActivePopup(m_hWnd))) last->SetForegroundWindow();
  }
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
  if ((GetStyle() & FWS_ADDTOTITLE) == 0) return;
  CDocument* doc = GetActiveDocument();
  UpdateFrameTitleForDocument(addToTitle && doc ? LPCSTR(doc->GetTitle()) : NULL);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR docName) {
  CString text;
  if (!docName || !*docName)
    text = m_strTitle;
  else if (GetStyle() & FWS_PREFIXTITLE)
    text = CString(docName) + " - " + m_strTitle;
  else
    text = m_strTitle + " - " + docName;
  CString current;
  GetWindowText(current);
  if (current != text) SetWindowText(text);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU menuAlt) {
  if (!menuAlt) menuAlt = m_hMenuDefault;
  if (menuAlt && ::GetMenu(m_hWnd) != menuAlt) ::SetMenu(m_hWnd, menuAlt);
}

void CFrameWnd::RecalcLayout(BOOL notify) {
  if (m_bInRecalcLayout) return;
  m_bInRecalcLayout = TRUE;
  RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, AFX_IDW_PANE_FIRST);
  m_bInRecalcLayout = FALSE;
  if (notify && m_pNotifyHook) m_pNotifyHook->OnRecalcLayout();
}

void CFrameWnd::DelayRecalcLayout(BOOL notify) { m_nIdleFlags |= idleLayout | (notify ? idleNotify : 0); }

void CFrameWnd::GetMessageString(UINT id, CString& message) const {
  CString prompt;
  if (!prompt.LoadString(id)) {
    message.Empty();
    return;
  }
  int newline = prompt.Find('\n');
  message = newline >= 0 ? prompt.Left(newline) : prompt;
}

CWnd* CFrameWnd::GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::SetMessageText(LPCSTR text) {
  // A frame without a message bar of its own shows prompts on its top-level frame's bar.
  CWnd* bar = GetMessageBar();
  if (!bar) {
    CFrameWnd* top = GetTopLevelFrame();
    if (top && top != this) {
      top->SetMessageText(text);
      return;
    }
  }
  if (bar) bar->SetWindowText(text);
}

void CFrameWnd::SetMessageText(UINT id) {
  CString text;
  GetMessageString(id, text);
  SetMessageText(text);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  UINT last = m_nIDLastMessage;
  if (lParam) {
    SetMessageText(reinterpret_cast<LPCSTR>(lParam));
  } else if (wParam) {
    SetMessageText(UINT(wParam));
  }
  m_nIDLastMessage = UINT(wParam);
  return last;
}

void CFrameWnd::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
  if (flags == 0xFFFF && menu == NULL) {
    m_nIDTracking = AFX_IDS_IDLEMESSAGE;  // the menu closed
  } else if (item == 0 || (flags & (MF_SEPARATOR | MF_POPUP))) {
    m_nIDTracking = 0;
  } else if (item >= 0xF000 && item < 0xF1F0) {
    m_nIDTracking = item;  // system commands
  } else {
    m_nIDTracking = item;
  }
  if (m_nIDTracking != m_nIDLastMessage) {
    if (m_nIDTracking)
      SendMessage(WM_SETMESSAGESTRING, m_nIDTracking);
    else
      SetMessageText("");
    m_nIDLastMessage = m_nIDTracking;
  }
}

void CFrameWnd::OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu) {
  if (sysMenu) return;
  if (m_pNotifyHook && m_pNotifyHook->OnInitMenuPopup(popup, index, sysMenu)) return;
  CCmdUI state;
  state.m_pMenu = popup;
  state.m_nIndexMax = popup->GetMenuItemCount();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = popup->GetMenuItemID(int(state.m_nIndex));
    if (state.m_nID == 0) continue;  // separator
    if (state.m_nID == UINT(-1)) {
      // A popup: its state follows its first item's command.
      state.m_pSubMenu = popup->GetSubMenu(int(state.m_nIndex));
      if (!state.m_pSubMenu || (state.m_nID = state.m_pSubMenu->GetMenuItemID(0)) == 0 || state.m_nID == UINT(-1)) {
        state.m_pSubMenu = NULL;
        continue;
      }
      state.DoUpdate(this, FALSE);
      state.m_pSubMenu = NULL;
    } else {
      state.m_pSubMenu = NULL;
      state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
    }
    // An update handler may have removed or added items.
    UINT count = popup->GetMenuItemCount();
    if (count < state.m_nIndexMax) {
      state.m_nIndex -= (state.m_nIndexMax - count);
      while (state.m_nIndex < count && popup->GetMenuItemID(int(state.m_nIndex)) == state.m_nID) ++state.m_nIndex;
    }
    state.m_nIndexMax = count;
  }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  int flags = m_nIdleFlags;
  m_nIdleFlags = 0;
  if (flags & idleLayout) RecalcLayout((flags & idleNotify) != 0);
  return 0;
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
  CView* view = GetActiveView();
  if (view && view->OnCmdMsg(id, code, extra, handlerInfo)) return TRUE;
  if (CWnd::OnCmdMsg(id, code, extra, handlerInfo)) return TRUE;
  // A child frame leaves the application to its main frame, which asks it last.
  if (GetStyle() & WS_CHILD) return FALSE;
  CWinApp* app = AfxGetApp();
  return app && app->OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (lParam == 0 && HIWORD(wParam) == 0 && InModalState()) return TRUE;  // menus are dead while modal
  return CWnd::OnCommand(wParam, lParam);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg) {
  if (m_pNotifyHook && m_pNotifyHook->OnPreTranslateMessage(msg)) return TRUE;
  if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
    HACCEL accel = GetDefaultAccelerator();
    if (accel && ::TranslateAcceleratorA(m_hWnd, accel, msg)) return TRUE;
  }
  return FALSE;
}

namespace {
struct OwnedWindows {
  HWND owner;
  CPtrArray* found;
};
BOOL CALLBACK CollectEnabledOwned(HWND wnd, LPARAM param) {
  OwnedWindows* owned = reinterpret_cast<OwnedWindows*>(param);
  if (::GetWindow(wnd, GW_OWNER) == owned->owner && ::IsWindowEnabled(wnd)) owned->found->Add(wnd);
  return TRUE;
}
}  // namespace

void CFrameWnd::BeginModalState() {
  if (m_cModalStack++ != 0) return;
  m_modalDisabled.RemoveAll();
  if (IsWindowEnabled()) m_modalDisabled.Add(m_hWnd);
  OwnedWindows owned = {m_hWnd, &m_modalDisabled};
  ::EnumThreadWindows(::GetCurrentThreadId(), &CollectEnabledOwned, reinterpret_cast<LPARAM>(&owned));
  for (INT_PTR i = 0; i < m_modalDisabled.GetSize(); ++i) ::EnableWindow(static_cast<HWND>(m_modalDisabled[i]), FALSE);
}

void CFrameWnd::EndModalState() {
  if (m_cModalStack == 0 || --m_cModalStack != 0) return;
  // The frame last, so that activation comes back to it rather than to one of its tool windows.
  for (INT_PTR i = m_modalDisabled.GetSize() - 1; i >= 0; --i) {
    HWND wnd = static_cast<HWND>(m_modalDisabled[i]);
    if (::IsWindow(wnd)) ::EnableWindow(wnd, TRUE);
  }
  m_modalDisabled.RemoveAll();
}

void CFrameWnd::NotifyEnableModeless(BOOL enable) {
  if (m_pNotifyHook) m_pNotifyHook->OnEnableModeless(enable);
}

void CFrameWnd::OnDestroy() {
  CWinApp* app = AfxGetApp();
  if (m_hMenuDefault && ::GetMenu(m_hWnd) != m_hMenuDefault) {
    // The menu bar shows someone else's menu (a document's); ours is destroyed with us.
    ::SetMenu(m_hWnd, m_hMenuDefault);
  }
  m_hMenuDefault = NULL;  // destroyed with the window
  (void)app;
  CWnd::OnDestroy();
}

void CFrameWnd::OnClose() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) {
    if (!AfxOleCanExitApp()) {
      // Other programs still hold objects of this one: it goes out of sight and ends with the last of them.
      AfxOleSetUserCtrl(FALSE);
      ShowWindow(SW_HIDE);
      return;
    }
    if (!app->SaveAllModified()) return;
    app->CloseAllDocuments(FALSE);
    if (!::IsWindow(m_hWnd)) return;  // closing the documents closed the frame
    DestroyWindow();
    return;
  }
  CDocument* doc = GetActiveDocument();
  if (doc && !doc->CanCloseFrame(this)) return;
  if (doc) {
    // The last frame of a document closes the document (and with it this frame).
    int frames = 0;
    for (POSITION pos = doc->GetFirstViewPosition(); pos;) {
      CView* v = doc->GetNextView(pos);
      if (v->GetParentFrame() != this) ++frames;
    }
    if (frames == 0) {
      doc->PreCloseFrame(this);
      doc->OnCloseDocument();
      return;
    }
    doc->PreCloseFrame(this);
  }
  DestroyWindow();
}

void CFrameWnd::OnSize(UINT type, int cx, int cy) {
  CWnd::OnSize(type, cx, cy);
  if (type != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* oldWnd) {
  CView* view = GetActiveView();
  if (view && ::IsWindow(view->m_hWnd))
    view->SetFocus();
  else
    CWnd::OnSetFocus(oldWnd);
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* dc) {
  if (GetActiveView()) return TRUE;  // the view covers the client area
  return CWnd::OnEraseBkgnd(dc);
}

void CFrameWnd::OnActivate(UINT state, CWnd* other, BOOL minimized) {
  CWnd::OnActivate(state, other, minimized);
  CView* view = GetActiveView();
  if (view) view->OnActivateFrame(state, this);
}

void CFrameWnd::OnDropFiles(HDROP drop) {
  SetActiveWindow();
  UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0);
  CWinApp* app = AfxGetApp();
  for (UINT i = 0; i < count && app; ++i) {
    char name[MAX_PATH];
    ::DragQueryFileA(drop, i, name, MAX_PATH);
    app->OpenDocumentFile(name);
  }
  ::DragFinish(drop);
}

BOOL CFrameWnd::OnQueryEndSession() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) return app->SaveAllModified();
  return TRUE;
}

void CFrameWnd::PostNcDestroy() { delete this; }

// ---------------------------------------------------------------------------------------------
// MDI frame.

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
  ON_WM_DESTROY()
  ON_COMMAND_EX(ID_WINDOW_ARRANGE, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_CASCADE, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
  ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
  ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() : m_hWndMDIClient(NULL) {}

BOOL CMDIFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
  return CFrameWnd::LoadFrame(resourceId, style, parent, context);
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT cs, CCreateContext*) {
  CMenu* menu = NULL;
  if (cs->hMenu) menu = CMenu::FromHandle(cs->hMenu);
  HMENU windowMenu = menu ? GetWindowMenuPopup(menu->m_hMenu) : NULL;
  return CreateClient(cs, CMenu::FromHandle(windowMenu));
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* windowMenu) {
  CLIENTCREATESTRUCT ccs;
  ccs.hWindowMenu = AfxGetSafeHmenu(windowMenu);
  ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
  // MDIS_ALLCHILDSTYLES: children keep the styles they are made with, so a hidden document's frame stays hidden.
  m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", NULL,
                                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL |
                                          WS_HSCROLL | MDIS_ALLCHILDSTYLES,
                                      0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(UINT_PTR(AFX_IDW_PANE_FIRST)),
                                      AfxGetInstanceHandle(), &ccs);
  return m_hWndMDIClient != NULL;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU menuBar) {
  if (!menuBar) return NULL;
  // The popup that holds the window commands gets the window list.
  int count = ::GetMenuItemCount(menuBar);
  for (int i = count - 1; i >= 0; --i) {
    HMENU popup = ::GetSubMenu(menuBar, i);
    if (!popup) continue;
    int items = ::GetMenuItemCount(popup);
    for (int k = 0; k < items; ++k) {
      UINT id = ::GetMenuItemID(popup, k);
      if (id >= ID_WINDOW_NEW && id <= ID_WINDOW_SPLIT) return popup;
    }
  }
  return NULL;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const {
  BOOL max = FALSE;
  HWND active = m_hWndMDIClient ? reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                                       reinterpret_cast<LPARAM>(&max)))
                                : NULL;
  if (maximized) *maximized = max;
  return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(active));
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* frameMenu, CMenu* windowMenu) {
  HMENU old = reinterpret_cast<HMENU>(::SendMessageA(m_hWndMDIClient, WM_MDISETMENU,
                                                     reinterpret_cast<WPARAM>(AfxGetSafeHmenu(frameMenu)),
                                                     reinterpret_cast<LPARAM>(AfxGetSafeHmenu(windowMenu))));
  return CMenu::FromHandle(old);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
  CMDIChildWnd* child = MDIGetActive();
  return child ? static_cast<CFrameWnd*>(child) : this;
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU menuAlt) {
  CMDIChildWnd* child = MDIGetActive();
  if (child) {
    child->OnUpdateFrameMenu(TRUE, child, menuAlt);
    return;
  }
  if (!menuAlt) menuAlt = m_hMenuDefault;
  if (!menuAlt) return;
  ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menuAlt),
                 reinterpret_cast<LPARAM>(GetWindowMenuPopup(menuAlt)));
  DrawMenuBar();
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
  if ((GetStyle() & FWS_ADDTOTITLE) == 0) return;
  BOOL maximized = FALSE;
  CMDIChildWnd* child = MDIGetActive(&maximized);
  // The system's MDI frame shows a maximized child's title itself, as " - [title]".
  CDocument* doc = child && !maximized ? child->GetActiveDocument() : NULL;
  UpdateFrameTitleForDocument(addToTitle && doc ? LPCSTR(doc->GetTitle()) : NULL);
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
  CMDIChildWnd* child = MDIGetActive();
  if (child && child->OnCmdMsg(id, code, extra, handlerInfo)) return TRUE;
  return CFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  // The window list's items activate their child through the MDI client.
  UINT id = LOWORD(wParam);
  if (lParam == 0 && id >= AFX_IDM_FIRST_MDICHILD) {
    DefWindowProc(WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return CFrameWnd::OnCommand(wParam, lParam);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* msg) {
  // An object active in place takes its keys before the children's accelerators.
  if (m_pNotifyHook && m_pNotifyHook->OnPreTranslateMessage(msg)) return TRUE;
  CMDIChildWnd* child = MDIGetActive();
  if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
    if (child && (child->GetStyle() & WS_SYSMENU) && ::TranslateMDISysAccel(m_hWndMDIClient, msg)) return TRUE;
    if (child && child->m_hAccelTable && ::TranslateAcceleratorA(m_hWnd, child->m_hAccelTable, msg)) return TRUE;
  }
  return CFrameWnd::PreTranslateMessage(msg);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::NotifyEnableModeless(BOOL enable) {
  // The active child's hook serves the item active in that child.
  CFrameWnd::NotifyEnableModeless(enable);
  if (CMDIChildWnd* child = MDIGetActive()) child->NotifyEnableModeless(enable);
}

void CMDIFrameWnd::OnDestroy() {
  // The MDI client goes first so that its children are destroyed while the frame still routes.
  CFrameWnd::OnDestroy();
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT id) {
  switch (id) {
    case ID_WINDOW_ARRANGE: MDIIconArrange(); return TRUE;
    case ID_WINDOW_CASCADE: MDICascade(); return TRUE;
    case ID_WINDOW_TILE_HORZ: MDITile(MDITILE_HORIZONTAL); return TRUE;
    case ID_WINDOW_TILE_VERT: MDITile(MDITILE_VERTICAL); return TRUE;
    default: return FALSE;
  }
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* cmdUI) { cmdUI->Enable(MDIGetActive() != NULL); }

void CMDIFrameWnd::OnWindowNew() {
  CMDIChildWnd* active = MDIGetActive();
  CDocument* doc = active ? active->GetActiveDocument() : NULL;
  if (!doc || !doc->GetDocTemplate()) return;
  CFrameWnd* frame = doc->GetDocTemplate()->CreateNewFrame(doc, active);
  if (frame) doc->GetDocTemplate()->InitialUpdateFrame(frame, doc);
}

// ---------------------------------------------------------------------------------------------
// MDI child.

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
  ON_WM_MDIACTIVATE()
  ON_WM_MOUSEACTIVATE()
  ON_WM_SIZE()
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() : m_hMenuShared(NULL) {}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  cs.style &= ~WS_CHILD;  // WM_MDICREATE adds it; FWS_ bits are kept
  return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMDIChildWnd::Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CMDIFrameWnd* parent,
                          CCreateContext* context) {
  if (!parent) parent = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
  if (!parent || !parent->m_hWndMDIClient) AfxThrowNotSupportedException();
  m_strTitle = title;
  CREATESTRUCTA cs = {};
  cs.style = LONG(style);
  cs.lpszClass = className;
  cs.lpszName = title;
  Placement place = PlacementOf(rect);
  cs.x = place.x;
  cs.y = place.y;
  cs.cx = place.cx;
  cs.cy = place.cy;
  cs.hwndParent = parent->m_hWnd;
  cs.lpCreateParams = context;
  if (!PreCreateWindow(cs)) return FALSE;
  cs.hInstance = AfxFindClassModule(cs.lpszClass);
  MDICREATESTRUCTA mcs;
  mcs.szClass = cs.lpszClass;
  mcs.szTitle = cs.lpszName;
  mcs.hOwner = cs.hInstance;
  mcs.x = cs.x;
  mcs.y = cs.y;
  mcs.cx = cs.cx;
  mcs.cy = cs.cy;
  mcs.style = DWORD(cs.style) & ~(WS_MAXIMIZE | WS_VISIBLE);
  mcs.lParam = reinterpret_cast<LPARAM>(context);
  AfxHookWindowCreate(this);
  HWND hwnd = reinterpret_cast<HWND>(::SendMessageA(parent->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  AfxUnhookWindowCreate();
  if (!hwnd) return FALSE;
  if (style & WS_VISIBLE) {
    ::ShowWindow(hwnd, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    ::SendMessageA(parent->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
  }
  return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
  m_nIDHelp = resourceId;
  CString title;
  title.LoadString(resourceId);
  int newline = title.Find('\n');
  if (newline >= 0) title = title.Left(newline);
  return Create(GetIconWndClass(style, resourceId), title, style, rectDefault, dynamic_cast<CMDIFrameWnd*>(parent),
                context);
}


BOOL CMDIChildWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  CMDIFrameWnd* frame = GetMDIFrame();
  if (!frame) return CWnd::DestroyWindow();
  ::SendMessageA(frame->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
  return TRUE;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
  HWND client = ::GetParent(m_hWnd);
  return dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(client ? ::GetParent(client) : NULL));
}

void CMDIChildWnd::MDIActivate() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0); }

void CMDIChildWnd::OnUpdateFrameMenu(BOOL activate, CWnd* activateWnd, HMENU menuAlt) {
  CMDIFrameWnd* frame = GetMDIFrame();
  if (!frame) return;
  if (!menuAlt && activate) {
    // An object active in place in this child shows its merged menu.
    HMENU active = m_pNotifyHook ? m_pNotifyHook->GetActiveMenu() : NULL;
    menuAlt = active ? active : m_hMenuShared;
  }
  if (!activate || !menuAlt) {
    // Deactivating (or nothing of our own): the main frame's own menu, unless another child takes over.
    if (activateWnd && activateWnd != this) return;
    menuAlt = frame->m_hMenuDefault;
  }
  if (!menuAlt) return;
  ::SendMessageA(frame->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menuAlt),
                 reinterpret_cast<LPARAM>(frame->GetWindowMenuPopup(menuAlt)));
}

void CMDIChildWnd::OnMDIActivate(BOOL activate, CWnd* activateWnd, CWnd* deactivateWnd) {
  CFrameWnd::OnMDIActivate(activate, activateWnd, deactivateWnd);
  CMDIFrameWnd* frame = GetMDIFrame();
  if (!frame) return;
  // The last child going away gives the menu back to the main frame.
  OnUpdateFrameMenu(activate, activateWnd, NULL);
  if (!activate && activateWnd == NULL) OnUpdateFrameMenu(FALSE, NULL, NULL);
  frame->DrawMenuBar();
  if (CView* view = GetActiveView()) view->OnActivateView(activate, view, view);
  frame->OnUpdateFrameTitle(TRUE);
}

int CMDIChildWnd::OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message) {
  int result = CFrameWnd::OnMouseActivate(desktop, hitTest, message);
  if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) return result;
  CMDIFrameWnd* frame = GetMDIFrame();
  if (frame && frame->MDIGetActive() != this) MDIActivate();
  return result;
}

void CMDIChildWnd::OnSize(UINT type, int cx, int cy) {
  CFrameWnd::OnSize(type, cx, cy);
  if (CMDIFrameWnd* frame = GetMDIFrame()) frame->OnUpdateFrameTitle(TRUE);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL addToTitle) {
  if ((GetStyle() & FWS_ADDTOTITLE) == 0) return;
  CDocument* doc = GetActiveDocument();
  CString text = addToTitle && doc ? doc->GetTitle() : m_strTitle;
  CString current;
  GetWindowText(current);
  if (current != text) SetWindowText(text);
  if (CMDIFrameWnd* frame = GetMDIFrame()) frame->OnUpdateFrameTitle(addToTitle);
}

void CMDIChildWnd::ActivateFrame(int cmdShow) {
  CMDIFrameWnd* frame = GetMDIFrame();
  BOOL maximized = FALSE;
  CMDIChildWnd* active = frame ? frame->MDIGetActive(&maximized) : NULL;
  if (cmdShow == -1) cmdShow = (active && maximized) ? SW_SHOWMAXIMIZED : (IsIconic() ? SW_RESTORE : SW_SHOWNORMAL);
  if (!IsWindowVisible() || cmdShow != SW_SHOWNORMAL) ShowWindow(cmdShow);
  if (frame && active != this) MDIActivate();
  if (frame) {
    OnUpdateFrameMenu(TRUE, this, NULL);
    frame->DrawMenuBar();
  }
  BringWindowToTop();
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG*) { return FALSE; }  // the MDI frame translates for its children

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}
