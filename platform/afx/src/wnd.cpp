// CWnd: creation and attachment through the CBT hook, the handle map, the framework's window procedure
// and message dispatch by handler signature, the window-management calls, and the basic controls.
#include <cstring>
#include <set>
#include <string>
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
    return ::CallNextHookEx(t.createHook, code, wParam, lParam);
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
  } catch (CException* e) {
    // An exception must not unwind through the system's window code: tell the user here.
    e->ReportError(MB_ICONEXCLAMATION, AFX_IDP_INTERNAL_FAILURE);
    e->Delete();
    result = message == WM_CREATE ? -1 : 0;
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

CWnd::CWnd() : m_hWnd(NULL), m_hWndOwner(NULL), m_pfnSuper(NULL) {}

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

HWND CWnd::GetSafeHwnd() const { return this ? m_hWnd : NULL; }

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
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = param;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
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
                  rect.bottom - rect.top, parent->GetSafeHwnd(), reinterpret_cast<HMENU>(UINT_PTR(id)), param);
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

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

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
      LRESULT ignored;
      if (child->OnChildNotify(WM_COMMAND, wParam, lParam, &ignored)) return TRUE;
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
union WindowFunctions {
  AFX_PMSG pfn;
  void (CWnd::*vv)();
  int (CWnd::*is)(LPCREATESTRUCT);
  void (CWnd::*vwii)(UINT, int, int);
  void (CWnd::*vii)(int, int);
  BOOL (CWnd::*bD)(CDC*);
  void (CWnd::*vt)(UINT_PTR);
  void (CWnd::*vwp)(UINT, CPoint);
  BOOL (CWnd::*bwsp)(UINT, short, CPoint);
  void (CWnd::*vwww)(UINT, UINT, UINT);
  void (CWnd::*vW)(CWnd*);
  void (CWnd::*vwwW)(UINT, UINT, CScrollBar*);
  void (CWnd::*vWp)(CWnd*, CPoint);
  void (CWnd::*vMwb)(CMenu*, UINT, BOOL);
  void (CWnd::*vM)(CMenu*);
  void (CWnd::*vwWb)(UINT, CWnd*, BOOL);
  void (CWnd::*vbWW)(BOOL, CWnd*, CWnd*);
  BOOL (CWnd::*bWww)(CWnd*, UINT, UINT);
  int (CWnd::*iWww)(CWnd*, UINT, UINT);
  void (CWnd::*vHDROP)(HDROP);
  void (CWnd::*vbw)(BOOL, UINT);
  void (CWnd::*vMMI)(MINMAXINFO*);
  void (CWnd::*vOWNER)(int, LPDRAWITEMSTRUCT);
  void (CWnd::*vMEASURE)(int, LPMEASUREITEMSTRUCT);
  BOOL (CWnd::*bHELPINFO)(HELPINFO*);
  void (CWnd::*vwl)(UINT, LPARAM);
  BOOL (CWnd::*b)();
  void (CWnd::*vwwh)(UINT, UINT, HMENU);
  HBRUSH (CWnd::*hDWw)(CDC*, CWnd*, UINT);
  void (CWnd::*vPOS)(WINDOWPOS*);
  void (CWnd::*vwW)(UINT, CWnd*);
  void (CWnd::*vbd)(BOOL, DWORD);
  LRESULT (CWnd::*lwl)(WPARAM, LPARAM);
};

CPoint PointOf(LPARAM lParam) { return CPoint(short(LOWORD(lParam)), short(HIWORD(lParam))); }
CWnd* WndOf(WPARAM w) { return CWnd::FromHandle(reinterpret_cast<HWND>(w)); }

const AFX_MSGMAP_ENTRY* FindWindowEntry(const AFX_MSGMAP* map, UINT message) {
  for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
      if (e->nID != 0 || e->nCode != 0) continue;
      if (e->nMessage == message && message != AFX_REGISTERED_MESSAGE) return e;
      if (e->nMessage == AFX_REGISTERED_MESSAGE && message >= 0xC000 &&
          *reinterpret_cast<const UINT*>(e->nSig) == message)
        return e;
    }
    if (!map->pfnGetBaseMap) break;
  }
  return NULL;
}
}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  LRESULT r = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *result = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    *result = 0;
    return OnNotify(wParam, lParam, result);
  }
  UINT lookup = message;
  UINT ctlColor = 0;
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    ctlColor = message - WM_CTLCOLORMSGBOX;
    lookup = WM_CTLCOLORDLG;
  }
  const AFX_MSGMAP_ENTRY* e = FindWindowEntry(GetMessageMap(), lookup);
  if (!e) return FALSE;
  WindowFunctions f;
  f.pfn = e->pfn;
  UINT_PTR sig = e->nMessage == AFX_REGISTERED_MESSAGE ? UINT_PTR(AfxSig_lwl) : e->nSig;
  switch (sig) {
    case AfxSig_vv: (this->*f.vv)(); break;
    case AfxSig_is: r = (this->*f.is)(reinterpret_cast<LPCREATESTRUCT>(lParam)); break;
    case AfxSig_vwii: (this->*f.vwii)(UINT(wParam), short(LOWORD(lParam)), short(HIWORD(lParam))); break;
    case AfxSig_vii: (this->*f.vii)(short(LOWORD(lParam)), short(HIWORD(lParam))); break;
    case AfxSig_bD: r = (this->*f.bD)(CDC::FromHandle(reinterpret_cast<HDC>(wParam))); break;
    case AfxSig_vt: (this->*f.vt)(UINT_PTR(wParam)); break;
    case AfxSig_vwp: (this->*f.vwp)(UINT(wParam), PointOf(lParam)); break;
    case AfxSig_bwsp: r = (this->*f.bwsp)(LOWORD(wParam), short(HIWORD(wParam)), PointOf(lParam)); break;
    case AfxSig_vwww: (this->*f.vwww)(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); break;
    case AfxSig_vW: (this->*f.vW)(WndOf(wParam)); break;
    case AfxSig_vwwW:
      (this->*f.vwwW)(LOWORD(wParam), HIWORD(wParam),
                      static_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))));
      break;
    case AfxSig_vWp: (this->*f.vWp)(WndOf(wParam), PointOf(lParam)); break;
    case AfxSig_vMwb:
      (this->*f.vMwb)(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), BOOL(HIWORD(lParam)));
      break;
    case AfxSig_vM: (this->*f.vM)(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam))); break;
    case AfxSig_vwWb:
      (this->*f.vwWb)(LOWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), BOOL(HIWORD(wParam)));
      break;
    case AfxSig_vbWW: {
      // WM_MDIACTIVATE reaches a child with the deactivated window in wParam, the activated in lParam.
      HWND activated = reinterpret_cast<HWND>(lParam);
      (this->*f.vbWW)(activated == m_hWnd, CWnd::FromHandle(activated), WndOf(wParam));
      break;
    }
    case AfxSig_bWww: r = (this->*f.bWww)(WndOf(wParam), LOWORD(lParam), HIWORD(lParam)); break;
    case AfxSig_iWww: r = (this->*f.iWww)(WndOf(wParam), LOWORD(lParam), HIWORD(lParam)); break;
    case AfxSig_vHDROP: (this->*f.vHDROP)(reinterpret_cast<HDROP>(wParam)); break;
    case AfxSig_vbw: (this->*f.vbw)(BOOL(wParam), UINT(lParam)); break;
    case AfxSig_vMMI: (this->*f.vMMI)(reinterpret_cast<MINMAXINFO*>(lParam)); break;
    case AfxSig_vOWNER: (this->*f.vOWNER)(int(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); r = TRUE; break;
    case AfxSig_vMEASURE: (this->*f.vMEASURE)(int(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); r = TRUE; break;
    case AfxSig_bHELPINFO: r = (this->*f.bHELPINFO)(reinterpret_cast<HELPINFO*>(lParam)); break;
    case AfxSig_vwl: (this->*f.vwl)(UINT(wParam), lParam); break;
    case AfxSig_b: r = (this->*f.b)(); break;
    case AfxSig_vwwh: (this->*f.vwwh)(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam)); break;
    case AfxSig_hDWw:
      r = reinterpret_cast<LRESULT>((this->*f.hDWw)(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                                    CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), ctlColor));
      break;
    case AfxSig_vPOS: (this->*f.vPOS)(reinterpret_cast<WINDOWPOS*>(lParam)); break;
    case AfxSig_vwW: (this->*f.vwW)(UINT(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam))); break;
    case AfxSig_vbd: (this->*f.vbd)(BOOL(wParam), DWORD(lParam)); break;
    case AfxSig_lwl: r = (this->*f.lwl)(wParam, lParam); break;
    default: return FALSE;
  }
  *result = r;
  return TRUE;
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

void CWnd::SetFont(CFont* font, BOOL redraw) { SendMessage(WM_SETFONT, WPARAM(font->GetSafeHandle()), redraw); }
CFont* CWnd::GetFont() const { return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0))); }
HICON CWnd::SetIcon(HICON icon, BOOL big) { return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, LPARAM(icon))); }

BOOL CWnd::SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, after->GetSafeHwnd(), x, y, cx, cy, flags);
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
  return ::RedrawWindow(m_hWnd, r, static_cast<HRGN>(rgn ? rgn->GetSafeHandle() : NULL), flags);
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
  HWND owner = parent->GetSafeHwnd();
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
