// Message maps: the table records, the handler kinds and the entry macros.
//
// A class with DECLARE_MESSAGE_MAP lists its handlers between BEGIN_MESSAGE_MAP and END_MESSAGE_MAP;
// each table points to its base class's table. Every entry names its handler kind, an AFX_SIG record
// that knows how to call that kind of handler. The kinds are generated from the two lists below
// (AFX_WINDOW_SIGNATURES, AFX_COMMAND_SIGNATURES); a module that needs another kind (the extension
// layer, for example) defines it in its own header with AFX_DEFINE_WINDOW_SIG or AFX_DEFINE_COMMAND_SIG
// and writes entries with AFX_WM_ENTRY, without any change here. The entry macros convert the handler
// with static_cast to the exact type of its kind, so a handler with the wrong signature does not compile.
#pragma once
#include "afxver_.h"

class CCmdTarget;
class CCmdUI;
class CWnd;
class CDC;
class CMenu;
class CScrollBar;
class CPoint;

typedef void (CCmdTarget::*AFX_PMSG)();

// How one kind of handler is called. Window-message kinds unpack the message's parameters for the handler
// and turn its result into the message's result; command kinds call it with the command's id and the extra
// data of OnCmdMsg and report whether it handled the command. A kind has one of the two functions.
struct AFX_SIG {
  LRESULT(AFXAPI* pfnMessage)(CWnd* wnd, AFX_PMSG pfn, UINT message, WPARAM wParam, LPARAM lParam);
  BOOL(AFXAPI* pfnCommand)(CCmdTarget* target, AFX_PMSG pfn, UINT id, void* extra);
};

// Window-message handler kinds, one line each: the kind's name, the handler's type, and the call made for
// a message (in scope: wnd, pfn of the handler's type, message, wParam, lParam); its value is the
// message's result. Reflected kinds (the *R ones) are called on the control a message is about.
#define AFX_WINDOW_SIGNATURES(X)                                                                                    \
  X(vv, void (CWnd::*)(), ((wnd->*pfn)(), 0))                                                                       \
  X(b, BOOL (CWnd::*)(), (wnd->*pfn)())                                                                             \
  X(bb, BOOL (CWnd::*)(BOOL), (wnd->*pfn)(BOOL(wParam)))                                                            \
  X(is, int (CWnd::*)(LPCREATESTRUCT), (wnd->*pfn)(reinterpret_cast<LPCREATESTRUCT>(lParam)))                       \
  X(vwii, void (CWnd::*)(UINT, int, int), ((wnd->*pfn)(UINT(wParam), short(LOWORD(lParam)), short(HIWORD(lParam))), 0)) \
  X(vii, void (CWnd::*)(int, int), ((wnd->*pfn)(short(LOWORD(lParam)), short(HIWORD(lParam))), 0))                 \
  X(bD, BOOL (CWnd::*)(CDC*), (wnd->*pfn)(CDC::FromHandle(reinterpret_cast<HDC>(wParam))))                         \
  X(vt, void (CWnd::*)(UINT_PTR), ((wnd->*pfn)(UINT_PTR(wParam)), 0))                                               \
  X(vwp, void (CWnd::*)(UINT, CPoint), ((wnd->*pfn)(UINT(wParam), AfxPointOf(lParam)), 0))                          \
  X(lp, LRESULT (CWnd::*)(CPoint), (wnd->*pfn)(AfxPointOf(lParam)))                                                 \
  X(bwsp, BOOL (CWnd::*)(UINT, short, CPoint), (wnd->*pfn)(LOWORD(wParam), short(HIWORD(wParam)), AfxPointOf(lParam))) \
  X(vwww, void (CWnd::*)(UINT, UINT, UINT), ((wnd->*pfn)(UINT(wParam), LOWORD(lParam), HIWORD(lParam)), 0))         \
  X(vW, void (CWnd::*)(CWnd*), ((wnd->*pfn)(AfxWndOf(wParam)), 0))                                                  \
  X(vLW, void (CWnd::*)(CWnd*), ((wnd->*pfn)(AfxWndOf(WPARAM(lParam))), 0))                                          \
  X(vwwW, void (CWnd::*)(UINT, UINT, CScrollBar*),                                                                  \
    ((wnd->*pfn)(LOWORD(wParam), HIWORD(wParam), static_cast<CScrollBar*>(AfxWndOf(WPARAM(lParam)))), 0))        \
  X(vWp, void (CWnd::*)(CWnd*, CPoint), ((wnd->*pfn)(AfxWndOf(wParam), AfxPointOf(lParam)), 0))                     \
  X(vMwb, void (CWnd::*)(CMenu*, UINT, BOOL),                                                                       \
    ((wnd->*pfn)(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), BOOL(HIWORD(lParam))), 0))       \
  X(vM, void (CWnd::*)(CMenu*), ((wnd->*pfn)(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam))), 0))               \
  X(lwwM, LRESULT (CWnd::*)(UINT, UINT, CMenu*),                                                                    \
    (wnd->*pfn)(LOWORD(wParam), HIWORD(wParam), CMenu::FromHandle(reinterpret_cast<HMENU>(lParam))))                 \
  X(vwWb, void (CWnd::*)(UINT, CWnd*, BOOL), ((wnd->*pfn)(LOWORD(wParam), AfxWndOf(WPARAM(lParam)), BOOL(HIWORD(wParam))), 0)) \
  /* WM_MDIACTIVATE reaches a child with the deactivated window in wParam, the activated one in lParam. */        \
  X(vbWW, void (CWnd::*)(BOOL, CWnd*, CWnd*),                                                                       \
    ((wnd->*pfn)(reinterpret_cast<HWND>(lParam) == wnd->m_hWnd, AfxWndOf(WPARAM(lParam)), AfxWndOf(wParam)), 0))    \
  X(bWww, BOOL (CWnd::*)(CWnd*, UINT, UINT), (wnd->*pfn)(AfxWndOf(wParam), LOWORD(lParam), HIWORD(lParam)))        \
  X(iWww, int (CWnd::*)(CWnd*, UINT, UINT), (wnd->*pfn)(AfxWndOf(wParam), LOWORD(lParam), HIWORD(lParam)))         \
  X(vHDROP, void (CWnd::*)(HDROP), ((wnd->*pfn)(reinterpret_cast<HDROP>(wParam)), 0))                               \
  X(vbw, void (CWnd::*)(BOOL, UINT), ((wnd->*pfn)(BOOL(wParam), UINT(lParam)), 0))                                  \
  X(vMMI, void (CWnd::*)(MINMAXINFO*), ((wnd->*pfn)(reinterpret_cast<MINMAXINFO*>(lParam)), 0))                     \
  X(vOWNER, void (CWnd::*)(int, LPDRAWITEMSTRUCT), ((wnd->*pfn)(int(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)), TRUE)) \
  X(vMEASURE, void (CWnd::*)(int, LPMEASUREITEMSTRUCT),                                                             \
    ((wnd->*pfn)(int(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)), TRUE))                                \
  X(bHELPINFO, BOOL (CWnd::*)(HELPINFO*), (wnd->*pfn)(reinterpret_cast<HELPINFO*>(lParam)))                         \
  X(vwl, void (CWnd::*)(UINT, LPARAM), ((wnd->*pfn)(UINT(wParam), lParam), 0))                                      \
  X(vws, void (CWnd::*)(UINT, LPCSTR), ((wnd->*pfn)(UINT(wParam), reinterpret_cast<LPCSTR>(lParam)), 0))            \
  X(vwwh, void (CWnd::*)(UINT, UINT, HMENU), ((wnd->*pfn)(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam)), 0)) \
  X(hDWw, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT),                                                                      \
    (wnd->*pfn)(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), AfxWndOf(WPARAM(lParam)), AfxCtlColorType(message)))  \
  X(vPOS, void (CWnd::*)(WINDOWPOS*), ((wnd->*pfn)(reinterpret_cast<WINDOWPOS*>(lParam)), 0))                       \
  X(vNCCALC, void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*),                                                              \
    ((wnd->*pfn)(BOOL(wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)), 0))                                    \
  X(vwW, void (CWnd::*)(UINT, CWnd*), ((wnd->*pfn)(UINT(wParam), AfxWndOf(WPARAM(lParam))), 0))                      \
  X(vbd, void (CWnd::*)(BOOL, DWORD), ((wnd->*pfn)(BOOL(wParam), DWORD(lParam)), 0))                                \
  X(lwl, LRESULT (CWnd::*)(WPARAM, LPARAM), (wnd->*pfn)(wParam, lParam))                                            \
  X(vDRAWR, void (CWnd::*)(LPDRAWITEMSTRUCT), ((wnd->*pfn)(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)), TRUE))       \
  X(vMEASURER, void (CWnd::*)(LPMEASUREITEMSTRUCT), ((wnd->*pfn)(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)), TRUE)) \
  X(hDwR, HBRUSH (CWnd::*)(CDC*, UINT),                                                                            \
    (wnd->*pfn)(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), AfxCtlColorType(message)))                          \
  X(vwwR, void (CWnd::*)(UINT, UINT), ((wnd->*pfn)(LOWORD(wParam), HIWORD(wParam)), 0))

// Command and notification handler kinds (called by OnCmdMsg): name, handler type, and the call (in scope:
// target, pfn, id, extra); its value tells whether the handler handled the command.
#define AFX_COMMAND_SIGNATURES(X)                                                                                  \
  X(Cmd_v, void (CCmdTarget::*)(), ((target->*pfn)(), TRUE))                                                        \
  X(Cmd_bv, BOOL (CCmdTarget::*)(), (target->*pfn)())                                                               \
  X(Cmd_b, BOOL (CCmdTarget::*)(UINT), (target->*pfn)(id))                                                          \
  X(Cmd_RANGE, void (CCmdTarget::*)(UINT), ((target->*pfn)(id), TRUE))                                              \
  X(CmdUI, void (CCmdTarget::*)(CCmdUI*), AfxCallUpdateHandler(target, pfn, static_cast<CCmdUI*>(extra)))           \
  X(Notify_v, void (CCmdTarget::*)(NMHDR*, LRESULT*),                                                               \
    ((target->*pfn)(static_cast<AFX_NOTIFY*>(extra)->pNMHDR, static_cast<AFX_NOTIFY*>(extra)->pResult), TRUE))       \
  X(Notify_b, BOOL (CCmdTarget::*)(NMHDR*, LRESULT*),                                                               \
    (target->*pfn)(static_cast<AFX_NOTIFY*>(extra)->pNMHDR, static_cast<AFX_NOTIFY*>(extra)->pResult))               \
  X(Notify_RANGE, void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*),                                                      \
    ((target->*pfn)(id, static_cast<AFX_NOTIFY*>(extra)->pNMHDR, static_cast<AFX_NOTIFY*>(extra)->pResult), TRUE))

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // window message; WM_COMMAND, WM_NOTIFY or their reflections for command entries
  UINT nCode;     // control notification or CN_ code
  UINT nID;       // control or command id (0 for window messages and reflections)
  UINT nLastID;   // last id of a range
  const AFX_SIG* pSig;  // how the handler is called; null ends the table
  AFX_PMSG pfn;
  const UINT* pnRegistered;  // ON_REGISTERED_MESSAGE: the variable that holds the message number
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (PASCAL* pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// Codes of OnCmdMsg.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
// Message number of ON_REGISTERED_MESSAGE entries; the entry's pnRegistered holds the number's address.
#define AFX_REGISTERED_MESSAGE 0xC000
// A message reflected to the control it is about is looked up as WM_REFLECT_BASE + the message; it is
// dispatched inside the framework only, never sent to a window.
#define WM_REFLECT_BASE 0xBC00

#define DECLARE_MESSAGE_MAP()                              \
 protected:                                                \
  static const AFX_MSGMAP* PASCAL GetThisMessageMap();     \
  virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                           \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }     \
  const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                               \
    typedef theClass ThisClass;                                                          \
    typedef baseClass TheBaseClass;                                                      \
    (void)sizeof(ThisClass*);                                                            \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                        \
  {0, 0, 0, 0, NULL, (AFX_PMSG)0, NULL}                                                          \
  };                                                                                             \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                            \
  }

// One entry of any kind: the handler is checked against the kind's type, then stored untyped.
#define AFX_MSG_ENTRY(message, code, id, idLast, kind, memberFxn)                          \
  {(UINT)(message), (UINT)(code), (UINT)(id), (UINT)(idLast), &AfxSig_##kind,             \
   (AFX_PMSG)(static_cast<AfxSigType_##kind>(&ThisClass::memberFxn)), NULL},
// A window-message entry of a given kind.
#define AFX_WM_ENTRY(message, kind, memberFxn) AFX_MSG_ENTRY(message, 0, 0, 0, kind, memberFxn)

// Command entries.
#define ON_COMMAND(id, memberFxn) AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, Cmd_v, memberFxn)
#define ON_COMMAND_EX(id, memberFxn) AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, Cmd_b, memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, Cmd_RANGE, memberFxn)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, Cmd_b, memberFxn)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) AFX_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, CmdUI, memberFxn)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
  AFX_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, CmdUI, memberFxn)
#define ON_CONTROL(code, id, memberFxn) AFX_MSG_ENTRY(WM_COMMAND, code, id, id, Cmd_v, memberFxn)
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn) AFX_MSG_ENTRY(WM_COMMAND, code, id, idLast, Cmd_RANGE, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn) AFX_MSG_ENTRY(WM_NOTIFY, code, id, id, Notify_v, memberFxn)
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn) AFX_MSG_ENTRY(WM_NOTIFY, code, id, idLast, Notify_RANGE, memberFxn)

// Reflection: entries of a control's own class for what its parent is told about it. The parent offers
// each such message to the control first (CWnd::OnChildNotify); a plain entry keeps it from the parent,
// an _EX entry returning FALSE lets the parent handle it too.
#define ON_CONTROL_REFLECT(code, memberFxn) AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, Cmd_v, memberFxn)
#define ON_CONTROL_REFLECT_EX(code, memberFxn) AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, Cmd_bv, memberFxn)
#define ON_NOTIFY_REFLECT(code, memberFxn) AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, Notify_v, memberFxn)
#define ON_NOTIFY_REFLECT_EX(code, memberFxn) AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, Notify_b, memberFxn)
#define ON_WM_DRAWITEM_REFLECT() AFX_WM_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, vDRAWR, DrawItem)
#define ON_WM_MEASUREITEM_REFLECT() AFX_WM_ENTRY(WM_REFLECT_BASE + WM_MEASUREITEM, vMEASURER, MeasureItem)
// CtlColor returns the brush, or null to leave the colours to the parent.
#define ON_WM_CTLCOLOR_REFLECT() AFX_WM_ENTRY(WM_REFLECT_BASE + WM_CTLCOLORDLG, hDwR, CtlColor)
#define ON_WM_HSCROLL_REFLECT() AFX_WM_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, vwwR, HScroll)
#define ON_WM_VSCROLL_REFLECT() AFX_WM_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, vwwR, VScroll)

// Window message entries (handlers of CWnd-derived classes).
#define ON_MESSAGE(message, memberFxn) AFX_WM_ENTRY(message, lwl, memberFxn)
#define ON_REGISTERED_MESSAGE(messageVariable, memberFxn)                                     \
  {AFX_REGISTERED_MESSAGE, 0, 0, 0, &AfxSig_lwl,                                               \
   (AFX_PMSG)(static_cast<AfxSigType_lwl>(&ThisClass::memberFxn)), &(messageVariable)},

#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, is, OnCreate)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, vv, OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, vv, OnNcDestroy)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, vv, OnClose)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, vv, OnPaint)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, vwii, OnSize)
#define ON_WM_MOVE() AFX_WM_ENTRY(WM_MOVE, vii, OnMove)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, bD, OnEraseBkgnd)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, vt, OnTimer)
#define ON_WM_LBUTTONDOWN() AFX_WM_ENTRY(WM_LBUTTONDOWN, vwp, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_ENTRY(WM_LBUTTONUP, vwp, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_ENTRY(WM_LBUTTONDBLCLK, vwp, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_ENTRY(WM_RBUTTONDOWN, vwp, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_ENTRY(WM_RBUTTONUP, vwp, OnRButtonUp)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY(WM_MOUSEMOVE, vwp, OnMouseMove)
#define ON_WM_MOUSEWHEEL() AFX_WM_ENTRY(WM_MOUSEWHEEL, bwsp, OnMouseWheel)
#define ON_WM_KEYDOWN() AFX_WM_ENTRY(WM_KEYDOWN, vwww, OnKeyDown)
#define ON_WM_KEYUP() AFX_WM_ENTRY(WM_KEYUP, vwww, OnKeyUp)
#define ON_WM_CHAR() AFX_WM_ENTRY(WM_CHAR, vwww, OnChar)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, vW, OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, vW, OnKillFocus)
#define ON_WM_HSCROLL() AFX_WM_ENTRY(WM_HSCROLL, vwwW, OnHScroll)
#define ON_WM_VSCROLL() AFX_WM_ENTRY(WM_VSCROLL, vwwW, OnVScroll)
#define ON_WM_CONTEXTMENU() AFX_WM_ENTRY(WM_CONTEXTMENU, vWp, OnContextMenu)
#define ON_WM_INITMENUPOPUP() AFX_WM_ENTRY(WM_INITMENUPOPUP, vMwb, OnInitMenuPopup)
#define ON_WM_INITMENU() AFX_WM_ENTRY(WM_INITMENU, vM, OnInitMenu)
#define ON_WM_MENUCHAR() AFX_WM_ENTRY(WM_MENUCHAR, lwwM, OnMenuChar)
#define ON_WM_ACTIVATE() AFX_WM_ENTRY(WM_ACTIVATE, vwWb, OnActivate)
#define ON_WM_MDIACTIVATE() AFX_WM_ENTRY(WM_MDIACTIVATE, vbWW, OnMDIActivate)
#define ON_WM_SETCURSOR() AFX_WM_ENTRY(WM_SETCURSOR, bWww, OnSetCursor)
#define ON_WM_MOUSEACTIVATE() AFX_WM_ENTRY(WM_MOUSEACTIVATE, iWww, OnMouseActivate)
#define ON_WM_DROPFILES() AFX_WM_ENTRY(WM_DROPFILES, vHDROP, OnDropFiles)
#define ON_WM_SHOWWINDOW() AFX_WM_ENTRY(WM_SHOWWINDOW, vbw, OnShowWindow)
#define ON_WM_GETMINMAXINFO() AFX_WM_ENTRY(WM_GETMINMAXINFO, vMMI, OnGetMinMaxInfo)
#define ON_WM_DRAWITEM() AFX_WM_ENTRY(WM_DRAWITEM, vOWNER, OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_WM_ENTRY(WM_MEASUREITEM, vMEASURE, OnMeasureItem)
#define ON_WM_HELPINFO() AFX_WM_ENTRY(WM_HELP, bHELPINFO, OnHelpInfo)
#define ON_WM_SYSCOMMAND() AFX_WM_ENTRY(WM_SYSCOMMAND, vwl, OnSysCommand)
#define ON_WM_QUERYENDSESSION() AFX_WM_ENTRY(WM_QUERYENDSESSION, b, OnQueryEndSession)
#define ON_WM_QUERYNEWPALETTE() AFX_WM_ENTRY(WM_QUERYNEWPALETTE, b, OnQueryNewPalette)
#define ON_WM_PALETTECHANGED() AFX_WM_ENTRY(WM_PALETTECHANGED, vW, OnPaletteChanged)
#define ON_WM_MENUSELECT() AFX_WM_ENTRY(WM_MENUSELECT, vwwh, OnMenuSelect)
// Every WM_CTLCOLOR* message reaches OnCtlColor; its last argument tells which (CTLCOLOR_*).
#define ON_WM_CTLCOLOR() AFX_WM_ENTRY(WM_CTLCOLORDLG, hDWw, OnCtlColor)
#define ON_WM_WINDOWPOSCHANGING() AFX_WM_ENTRY(WM_WINDOWPOSCHANGING, vPOS, OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() AFX_WM_ENTRY(WM_WINDOWPOSCHANGED, vPOS, OnWindowPosChanged)
#define ON_WM_ENTERIDLE() AFX_WM_ENTRY(WM_ENTERIDLE, vwW, OnEnterIdle)
#define ON_WM_ACTIVATEAPP() AFX_WM_ENTRY(WM_ACTIVATEAPP, vbd, OnActivateApp)
#define ON_WM_CANCELMODE() AFX_WM_ENTRY(WM_CANCELMODE, vv, OnCancelMode)
#define ON_WM_CAPTURECHANGED() AFX_WM_ENTRY(WM_CAPTURECHANGED, vLW, OnCaptureChanged)
#define ON_WM_SETTINGCHANGE() AFX_WM_ENTRY(WM_SETTINGCHANGE, vws, OnSettingChange)

// Non-client messages (docking bars and mini frames draw and drag their own frames).
#define ON_WM_NCHITTEST() AFX_WM_ENTRY(WM_NCHITTEST, lp, OnNcHitTest)
#define ON_WM_NCCALCSIZE() AFX_WM_ENTRY(WM_NCCALCSIZE, vNCCALC, OnNcCalcSize)
#define ON_WM_NCPAINT() AFX_WM_ENTRY(WM_NCPAINT, vv, OnNcPaint)
#define ON_WM_NCACTIVATE() AFX_WM_ENTRY(WM_NCACTIVATE, bb, OnNcActivate)
#define ON_WM_NCMOUSEMOVE() AFX_WM_ENTRY(WM_NCMOUSEMOVE, vwp, OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_WM_ENTRY(WM_NCLBUTTONDOWN, vwp, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_WM_ENTRY(WM_NCLBUTTONUP, vwp, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_WM_ENTRY(WM_NCLBUTTONDBLCLK, vwp, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_WM_ENTRY(WM_NCRBUTTONDOWN, vwp, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_WM_ENTRY(WM_NCRBUTTONUP, vwp, OnNcRButtonUp)
#define ON_WM_NCRBUTTONDBLCLK() AFX_WM_ENTRY(WM_NCRBUTTONDBLCLK, vwp, OnNcRButtonDblClk)
#define ON_WM_NCMBUTTONDOWN() AFX_WM_ENTRY(WM_NCMBUTTONDOWN, vwp, OnNcMButtonDown)
#define ON_WM_NCMBUTTONUP() AFX_WM_ENTRY(WM_NCMBUTTONUP, vwp, OnNcMButtonUp)
#define ON_WM_NCMBUTTONDBLCLK() AFX_WM_ENTRY(WM_NCMBUTTONDBLCLK, vwp, OnNcMButtonDblClk)
