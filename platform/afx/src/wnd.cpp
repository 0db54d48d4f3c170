// CWnd: creation and attachment through the CBT hook, the handle map, the framework's window procedure
// and message dispatch by handler signature, the window-management calls, and the basic controls.
#include <cstring>
#include <set>
#include <string>
#include "state.h"
#include "winstate.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace afxstate {
ThreadState& Thread() {
  static thread_local ThreadState state;
  return state;
}
}  // namespace afxstate

using afxstate::Thread;

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_NCDESTROY()
END_MESSAGE_MAP()

LPCSTR AFXAPI AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  static CRITICAL_SECTION lock = [] {
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    return cs;
  }();
  static std::set<std::string> names;  // keeps the returned names alive
  if (!cursor) cursor = ::LoadCursorA(NULL, IDC_ARROW);
  char name[96];
  wsprintfA(name, "Afx:%p:%x:%p:%p:%p", (void*)AfxGetInstanceHandle(), classStyle, (void*)cursor,
            (void*)background, (void*)icon);
  EnterCriticalSection(&lock);
  auto it = names.find(name);
  if (it == names.end()) {
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(AfxGetInstanceHandle(), name, &wc)) {
      wc.style = classStyle;
      wc.lpfnWndProc = ::DefWindowProcA;
      wc.hInstance = AfxGetInstanceHandle();
      wc.hCursor = cursor;
      wc.hbrBackground = background;
      wc.hIcon = icon;
      wc.lpszClassName = name;
      if (!::RegisterClassA(&wc)) {
        LeaveCriticalSection(&lock);
        AfxThrowResourceException();
      }
    }
    it = names.insert(name).first;
  }
  LPCSTR result = it->c_str();
  LeaveCriticalSection(&lock);
  return result;
}

// ---------------------------------------------------------------------------------------------
// Creation hook: the first window created after AfxHookWindowCreate is tied to the waiting CWnd and
// subclassed, so that even WM_NCCREATE and WM_CREATE reach its message map.

struct CreateHook {
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    afxstate::ThreadState& t = Thread();
    try {
      Attach(code, wParam);
    } catch (...) {
      afxstate::ReportAtBoundary(MSG());
    }
    return ::CallNextHookEx(t.createHook, code, wParam, lParam);
  }

 private:
  static void Attach(int code, WPARAM wParam) {
    afxstate::ThreadState& t = Thread();
    if (code == HCBT_CREATEWND && t.wndInit) {
      HWND hwnd = reinterpret_cast<HWND>(wParam);
      char cls[16] = {};
      ::GetClassNameA(hwnd, cls, sizeof cls);
      // The input-method window the system may create for the thread is not ours.
      if (lstrcmpiA(cls, "IME") != 0) {
        CWnd* wnd = t.wndInit;
        t.wndInit = NULL;
        wnd->Attach(hwnd);
        wnd->PreSubclassWindow();
        WNDPROC old = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
        if (old != &AfxWndProc) wnd->m_pfnSuper = old;
      }
    }
  }
};

void AFXAPI AfxHookWindowCreate(CWnd* wnd) {
  afxstate::ThreadState& t = Thread();
  if (!t.createHook) {
    t.createHook = ::SetWindowsHookExA(WH_CBT, &CreateHook::Proc, NULL, ::GetCurrentThreadId());
    if (!t.createHook) AfxThrowMemoryException();
  }
  t.wndInit = wnd;
}

BOOL AFXAPI AfxUnhookWindowCreate() {
  afxstate::ThreadState& t = Thread();
  if (t.createHook) {
    ::UnhookWindowsHookEx(t.createHook);
    t.createHook = NULL;
  }
  if (t.wndInit) {
    t.wndInit = NULL;
    return FALSE;
  }
  return TRUE;
}

// ---------------------------------------------------------------------------------------------

LRESULT AFXAPI AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  afxstate::ThreadState& t = Thread();
  MSG saved = t.lastSent;
  t.lastSent.hwnd = hwnd;
  t.lastSent.message = message;
  t.lastSent.wParam = wParam;
  t.lastSent.lParam = lParam;
  LRESULT result = 0;
  try {
    result = wnd->WindowProc(message, wParam, lParam);
  } catch (...) {
    // Nothing may unwind through the system's window code: it is reported here.
    MSG current = {hwnd, message, wParam, lParam, 0, {0, 0}};
    result = afxstate::ReportAtBoundary(current);
  }
  t.lastSent = saved;
  return result;
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUERYAFXWNDPROC) return 1;
  CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
  if (!wnd) return ::DefWindowProcA(hwnd, message, wParam, lParam);
  return AfxCallWndProc(wnd, hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------

CWnd::CWnd() : m_hWnd(NULL), m_hWndOwner(NULL), m_bContinueModal(FALSE), m_nModalResult(-1), m_pfnSuper(NULL) {}

CWnd::~CWnd() {
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

CWnd* PASCAL CWnd::FromHandle(HWND wnd) {
  return Thread().windows.FromHandle(wnd, [](HWND h) {
    CWnd* w = new CWnd;
    w->m_hWnd = h;
    return w;
  });
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND wnd) { return wnd ? Thread().windows.LookupPermanent(wnd) : NULL; }

void PASCAL CWnd::DeleteTempMap() {
  Thread().windows.DeleteTemporaries([](CWnd* w) { w->m_hWnd = NULL; });
}

HWND CWnd::GetSafeHwnd() const { return AfxGetSafeHwnd(afxstate::Opaque(this)); }

BOOL CWnd::Attach(HWND wnd) {
  if (!wnd) return FALSE;
  Thread().windows.SetPermanent(wnd, this);
  m_hWnd = wnd;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (h) Thread().windows.RemoveHandle(h);
  m_hWnd = NULL;
  return h;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::SubclassWindow(HWND wnd) {
  if (!Attach(wnd)) return FALSE;
  PreSubclassWindow();
  WNDPROC old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (old != &AfxWndProc) m_pfnSuper = old;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  HWND control = ::GetDlgItem(parent->m_hWnd, int(id));
  return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  if (m_pfnSuper) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = NULL;
  return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass) cs.lpszClass = AFX_WND_CLASS;
  return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menuOrId, LPVOID param) {
  CREATESTRUCTA cs = {};
  cs.dwExStyle = exStyle;
  cs.lpszClass = className;
  cs.lpszName = windowName;
  cs.style = LONG(style);
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.hwndParent = parent;
  cs.hMenu = menuOrId;
  cs.hInstance = AfxFindClassModule(className);
  cs.lpCreateParams = param;
  HINSTANCE resolved = cs.hInstance;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  if (cs.lpszClass != className && cs.hInstance == resolved) cs.hInstance = AfxFindClassModule(cs.lpszClass);
  AfxHookWindowCreate(this);
  HWND hwnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, DWORD(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  AfxUnhookWindowCreate();
  if (!hwnd) {
    // A window destroyed during its creation has already run PostNcDestroy through WM_NCDESTROY.
    return FALSE;
  }
  return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param) {
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, AfxGetSafeHwnd(parent), reinterpret_cast<HMENU>(UINT_PTR(id)), param);
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext* context) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  HWND h = m_hWnd;
  bool permanent = FromHandlePermanent(h) == this;
  BOOL ok = ::DestroyWindow(h);
  // A window that is not ours (or a temporary wrapper) is forgotten here; ours detach in WM_NCDESTROY.
  if (!permanent && m_hWnd == h) Detach();
  return ok;
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& m = Thread().lastSent;
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

// The control a parent's message is about, for WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR* and scroll-bar
// control messages; null for other messages, menus and window scroll bars.
HWND CWnd::ReflectionTarget(UINT message, WPARAM, LPARAM lParam) const {
  switch (message) {
    case WM_DRAWITEM: {
      const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      return item->CtlType == ODT_MENU ? NULL : item->hwndItem;
    }
    case WM_MEASUREITEM: {
      const MEASUREITEMSTRUCT* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
      return item->CtlType == ODT_MENU ? NULL : ::GetDlgItem(m_hWnd, int(item->CtlID));
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      return reinterpret_cast<HWND>(lParam);
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return reinterpret_cast<HWND>(lParam);
      return NULL;
  }
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_COMMAND:
      return OnCmdMsg(0, int(MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND)), NULL, NULL);
    case WM_NOTIFY: {
      NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
      AFX_NOTIFY notify = {result, header};
      return OnCmdMsg(0, int(MAKELONG(LOWORD(header->code), WM_REFLECT_BASE + WM_NOTIFY)), &notify, NULL);
    }
    default: {
      LRESULT reflected = 0;
      if (!OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, &reflected)) return FALSE;
      // A control that gives no brush leaves its colours to the parent.
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC && reflected == 0) return FALSE;
      if (result) *result = reflected;
      return TRUE;
    }
  }
}

namespace {
// Records what an update handler decides without touching any item.
class EnableProbe : public CCmdUI {
 public:
  void Enable(BOOL on) override {
    enabled = on;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCSTR) override {}
  BOOL enabled = TRUE;
};
}  // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  int code = HIWORD(wParam);
  if (control == NULL) {
    // Menus and accelerators: a command whose update handler disables it now is not carried out.
    EnableProbe probe;
    probe.m_nID = id;
    OnCmdMsg(id, int(CN_UPDATE_COMMAND_UI), &probe, NULL);
    if (!probe.enabled) return TRUE;
    code = CN_COMMAND;
  } else {
    if (CWnd* child = FromHandlePermanent(control)) {
      if (child->OnChildNotify(WM_COMMAND, wParam, lParam, NULL)) return TRUE;
    }
    if (code == BN_CLICKED) code = CN_COMMAND;
  }
  return OnCmdMsg(id, code, NULL, NULL);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
  NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
  if (CWnd* child = FromHandlePermanent(header->hwndFrom))
    if (child->OnChildNotify(WM_NOTIFY, 0, lParam, result)) return TRUE;
  AFX_NOTIFY notify = {result, header};
  return OnCmdMsg(UINT(header->idFrom), int(MAKELONG(LOWORD(header->code), WM_NOTIFY)), &notify, NULL);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
  for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
    if (CWnd* w = FromHandlePermanent(h))
      if (w->PreTranslateMessage(msg)) return TRUE;
    if (h == stop) break;
  }
  return FALSE;
}

namespace {
bool IsCtlColor(UINT message) {
  if (message >= WM_REFLECT_BASE) message -= WM_REFLECT_BASE;
  return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

const AFX_MSGMAP_ENTRY* FindWindowEntry(const AFX_MSGMAP* map, UINT message) {
  // Every WM_CTLCOLOR* message is listed under WM_CTLCOLORDLG (reflected ones under its reflection).
  if (IsCtlColor(message)) message = message >= WM_REFLECT_BASE ? WM_REFLECT_BASE + WM_CTLCOLORDLG : WM_CTLCOLORDLG;
  for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pSig; ++e) {
      if (!e->pSig->pfnMessage) continue;  // a command entry
      if (e->pnRegistered ? message >= 0xC000 && *e->pnRegistered == message : e->nMessage == message) return e;
    }
    if (!map->pfnGetBaseMap) break;
  }
  return NULL;
}
}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *result = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    *result = 0;
    return OnNotify(wParam, lParam, result);
  }
  // Owner drawing, colours and scroll-bar controls: the control is asked first.
  if (HWND target = ReflectionTarget(message, wParam, lParam)) {
    CWnd* child = FromHandlePermanent(target);
    if (child && child != this && child->OnChildNotify(message, wParam, lParam, result)) return TRUE;
  }
  const AFX_MSGMAP_ENTRY* e = FindWindowEntry(GetMessageMap(), message);
  if (!e) return FALSE;
  *result = e->pSig->pfnMessage(this, e->pfn, message, wParam, lParam);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The modal loop.

namespace {
BOOL PreTranslateOnThread(MSG* msg) {
  CWinThread* thread = AfxGetThread();
  return thread ? thread->PreTranslateMessage(msg) : CWnd::WalkPreTranslateTree(NULL, msg);
}
}  // namespace

int CWnd::RunModalLoop(DWORD flags) {
  m_bContinueModal = TRUE;
  m_nModalResult = -1;
  HWND self = m_hWnd;
  HWND owner = ::GetParent(self);
  BOOL show = (flags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
  CWinThread* thread = AfxGetThread();
  BOOL idle = TRUE;
  LONG idleCount = 0;
  MSG msg;
  for (;;) {
    while (idle && m_bContinueModal && !::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
      if (show) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        show = FALSE;
      }
      if (!(flags & MLF_NOIDLEMSG) && owner && idleCount == 0)
        ::SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(self));
      if ((flags & MLF_NOKICKIDLE) || !::SendMessageA(self, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++)) idle = FALSE;
    }
    do {
      if (!ContinueModal()) return m_nModalResult;
      if (!::GetMessageA(&msg, NULL, 0, 0)) {
        ::PostQuitMessage(int(msg.wParam));
        m_bContinueModal = FALSE;
        return -1;
      }
      if (!PreTranslateOnThread(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
      }
      if (!::IsWindow(self)) {
        m_bContinueModal = FALSE;
        return -1;
      }
      // The system's EndDialog hides the window and wakes it with WM_NULL; its result is not ours to read.
      if (msg.message == WM_NULL && msg.hwnd == self && !show && !::IsWindowVisible(self) && m_bContinueModal) {
        m_bContinueModal = FALSE;
        return -1;
      }
      if (!ContinueModal()) return m_nModalResult;
      if (!thread || thread->IsIdleMessage(&msg)) {
        idle = TRUE;
        idleCount = 0;
      }
    } while (::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
  }
}

BOOL CWnd::ContinueModal() { return m_bContinueModal; }

void CWnd::EndModalLoop(int result) {
  m_nModalResult = result;
  if (!m_bContinueModal) return;
  m_bContinueModal = FALSE;
  ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the loop
}

// Default handlers: the system's processing of the message being handled.
int CWnd::OnCreate(LPCREATESTRUCT) { return int(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() {
  Default();
  // The main window of a thread going away ends that thread's message loop.
  CWinThread* thread = AfxGetThread();
  if (thread && thread->m_pMainWnd == this) {
    thread->m_pMainWnd = NULL;
    ::PostQuitMessage(0);
  }
  Detach();
  PostNcDestroy();
}
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return BOOL(Default()); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return BOOL(Default()); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnInitMenu(CMenu*) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnMDIActivate(BOOL, CWnd*, CWnd*) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return BOOL(Default()); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return int(Default()); }
void CWnd::OnDropFiles(HDROP) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT) { Default(); }
BOOL CWnd::OnHelpInfo(HELPINFO*) { return BOOL(Default()); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
BOOL CWnd::OnQueryEndSession() { return BOOL(Default()); }
BOOL CWnd::OnQueryNewPalette() { return BOOL(Default()); }
void CWnd::OnPaletteChanged(CWnd*) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnEnterIdle(UINT, CWnd*) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnSettingChange(UINT, LPCSTR) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return BOOL(Default()); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonDblClk(UINT, CPoint) { Default(); }

// ---------------------------------------------------------------------------------------------

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  try {
    DoDataExchange(&dx);
    return TRUE;
  } catch (CUserException* e) {
    e->Delete();  // the user has been told what is wrong
    return FALSE;
  }
}

namespace {
BOOL ModifyStyleOf(HWND wnd, int index, DWORD remove, DWORD add, UINT swpFlags) {
  DWORD style = DWORD(::GetWindowLongA(wnd, index));
  DWORD next = (style & ~remove) | add;
  if (style == next) return FALSE;
  ::SetWindowLongA(wnd, index, LONG(next));
  if (swpFlags) ::SetWindowPos(wnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
  return TRUE;
}
}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) { return ModifyStyleOf(m_hWnd, GWL_STYLE, remove, add, swpFlags); }
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) { return ModifyStyleOf(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags); }

void CWnd::GetWindowText(CString& text) const {
  int n = ::GetWindowTextLengthA(m_hWnd);
  n = ::GetWindowTextA(m_hWnd, text.GetBuffer(n + 1), n + 1);
  text.ReleaseBuffer(n);
}

int CWnd::GetDlgItemText(int id, CString& text) const {
  HWND item = ::GetDlgItem(m_hWnd, id);
  text.Empty();
  if (!item) return 0;
  FromHandle(item)->GetWindowText(text);
  return text.GetLength();
}

void CWnd::SetFont(CFont* font, BOOL redraw) { SendMessage(WM_SETFONT, WPARAM(AfxGetSafeHandle(font)), redraw); }
CFont* CWnd::GetFont() const { return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0))); }
HICON CWnd::SetIcon(HICON icon, BOOL big) { return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, LPARAM(icon))); }

BOOL CWnd::SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, AfxGetSafeHwnd(after), x, y, cx, cy, flags);
}

void CWnd::ClientToScreen(LPRECT r) const { ::MapWindowPoints(m_hWnd, NULL, reinterpret_cast<LPPOINT>(r), 2); }
void CWnd::ScreenToClient(LPRECT r) const { ::MapWindowPoints(NULL, m_hWnd, reinterpret_cast<LPPOINT>(r), 2); }

void CWnd::CenterWindow(CWnd* alternateOwner) {
  HWND center = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
  if (!center && (GetStyle() & WS_CHILD)) center = ::GetParent(m_hWnd);
  RECT area, mine;
  ::GetWindowRect(m_hWnd, &mine);
  HMONITOR monitor = ::MonitorFromWindow(center ? center : m_hWnd, MONITOR_DEFAULTTONEAREST);
  MONITORINFO mi = {sizeof mi};
  ::GetMonitorInfoA(monitor, &mi);
  RECT work = mi.rcWork;
  if (center && ::IsWindowVisible(center) && !::IsIconic(center))
    ::GetWindowRect(center, &area);
  else
    area = work;
  int w = mine.right - mine.left, h = mine.bottom - mine.top;
  int x = (area.left + area.right - w) / 2, y = (area.top + area.bottom - h) / 2;
  if (!(GetStyle() & WS_CHILD)) {
    if (x + w > work.right) x = work.right - w;
    if (x < work.left) x = work.left;
    if (y + h > work.bottom) y = work.bottom - h;
    if (y < work.top) y = work.top;
  } else {
    POINT p = {x, y};
    ::ScreenToClient(::GetParent(m_hWnd), &p);
    x = p.x;
    y = p.y;
  }
  ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::RedrawWindow(LPCRECT r, CRgn* rgn, UINT flags) {
  return ::RedrawWindow(m_hWnd, r, static_cast<HRGN>(AfxGetSafeHandle(rgn)), flags);
}

CWnd* CWnd::GetOwner() const {
  return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent();
}

CWnd* CWnd::GetTopLevelParent() const {
  HWND h = m_hWnd;
  while (h && (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) h = ::GetParent(h);
  return FromHandle(h);
}

CWnd* CWnd::GetTopLevelOwner() const {
  HWND h = m_hWnd, next;
  while ((next = ::GetParent(h)) != NULL) h = next;
  return FromHandle(h);
}

CFrameWnd* CWnd::GetParentFrame() const {
  for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
    CWnd* w = FromHandlePermanent(h);
    if (w && w->IsFrameWnd()) return static_cast<CFrameWnd*>(w);
  }
  return NULL;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
  CFrameWnd* frame = IsFrameWnd() ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this)) : GetParentFrame();
  while (frame) {
    CFrameWnd* up = frame->GetParentFrame();
    if (!up) break;
    frame = up;
  }
  return frame;
}

CWnd* CWnd::GetDescendantWindow(int id, BOOL onlyPerm) const {
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::GetDlgCtrlID(child) == id) {
      if (!onlyPerm || FromHandlePermanent(child)) return FromHandle(child);
    }
    if (CWnd* deeper = FromHandle(child)->GetDescendantWindow(id, onlyPerm)) return deeper;
  }
  return NULL;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep, BOOL onlyPerm) {
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!onlyPerm) {
      ::SendMessageA(child, message, wParam, lParam);
    } else if (CWnd* w = FromHandlePermanent(child)) {
      AfxCallWndProc(w, child, message, wParam, lParam);
    }
    if (deep && ::GetTopWindow(child)) FromHandle(child)->SendMessageToDescendants(message, wParam, lParam, deep, onlyPerm);
  }
}

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* parent, HWND* topLevel) {
  HWND owner = AfxGetSafeHwnd(parent);
  if (!owner) {
    CWnd* main = AfxGetMainWnd();
    owner = main ? main->m_hWnd : NULL;
  }
  while (owner && (::GetWindowLongA(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
  HWND top = owner;
  if (owner) owner = ::GetLastActivePopup(owner);
  if (topLevel) {
    // The caller disables the top-level window while its modal window runs, when it is enabled.
    *topLevel = top && ::IsWindowEnabled(top) && top != owner ? top : NULL;
  }
  return FromHandle(owner);
}

int CWnd::GetScrollLimit(int bar) {
  SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE};
  if (!::GetScrollInfo(m_hWnd, bar, &info)) return 0;
  int limit = info.nMax - (info.nPage ? int(info.nPage) - 1 : 0);
  return limit < info.nMin ? info.nMin : limit;
}

void CWnd::DragAcceptFiles(BOOL accept) { ModifyStyleEx(accept ? 0 : WS_EX_ACCEPTFILES, accept ? WS_EX_ACCEPTFILES : 0); }

void CWnd::RepositionBars(UINT first, UINT last, UINT leftOver, UINT flags, LPRECT paramRect, LPCRECT clientRect,
                          BOOL stretch) {
  AFX_SIZEPARENTPARAMS layout = {};
  layout.bStretch = stretch;
  if (clientRect)
    layout.rect = *clientRect;
  else
    ::GetClientRect(m_hWnd, &layout.rect);
  layout.hDWP = (flags & reposQuery) ? NULL : ::BeginDeferWindowPos(8);
  HWND leftOverWnd = NULL;
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    UINT id = UINT(::GetDlgCtrlID(child));
    if (id == leftOver) leftOverWnd = child;
    else if (id >= first && id <= last) ::SendMessageA(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
  }
  if (flags & reposQuery) {
    if (paramRect) *paramRect = layout.rect;
    return;
  }
  if (paramRect && (flags & reposExtra)) {
    layout.rect.left += paramRect->left;
    layout.rect.top += paramRect->top;
    layout.rect.right -= paramRect->right;
    layout.rect.bottom -= paramRect->bottom;
  }
  if (leftOverWnd) {
    RECT& r = layout.rect;
    layout.hDWP = ::DeferWindowPos(layout.hDWP, leftOverWnd, NULL, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                   SWP_NOACTIVATE | SWP_NOZORDER);
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
}

// ---------------------------------------------------------------------------------------------
// Basic controls.

namespace {
BOOL CreateControl(CWnd* w, LPCSTR cls, LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return w->CreateEx(0, cls, text, style | WS_CHILD, rect, parent, id);
}
}  // namespace

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateControl(this, "STATIC", text, style, rect, parent, id);
}
BOOL CButton::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateControl(this, "BUTTON", text, style, rect, parent, id);
}
BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateControl(this, "EDIT", NULL, style, rect, parent, id);
}
BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateControl(this, "LISTBOX", NULL, style, rect, parent, id);
}
BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateControl(this, "COMBOBOX", NULL, style, rect, parent, id);
}
BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateControl(this, "SCROLLBAR", NULL, style, rect, parent, id);
}

void CListBox::GetText(int index, CString& text) const {
  int n = GetTextLen(index);
  if (n < 0) {
    text.Empty();
    return;
  }
  n = GetText(index, text.GetBuffer(n + 1));
  text.ReleaseBuffer(n < 0 ? 0 : n);
}

void CComboBox::GetLBText(int index, CString& text) const {
  int n = GetLBTextLen(index);
  if (n < 0) {
    text.Empty();
    return;
  }
  n = GetLBText(index, text.GetBuffer(n + 1));
  text.ReleaseBuffer(n < 0 ? 0 : n);
}
