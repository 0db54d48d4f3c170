// Message maps: the table records, the handler signature kinds and the entry macros.
//
// A class with DECLARE_MESSAGE_MAP lists its handlers between BEGIN_MESSAGE_MAP and END_MESSAGE_MAP;
// each table points to its base class's table. The entry macros convert the handler with
// static_cast to the exact signature of its kind, so a handler with the wrong signature does not
// compile; the dispatcher (CWnd::OnWndMsg, CCmdTarget::OnCmdMsg) calls it back by that kind.
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
typedef void (CWnd::*AFX_PMSGW)();

// Handler signature kinds: how the dispatcher unpacks a message for the handler.
enum AfxSig : UINT_PTR {
  AfxSig_end = 0,
  // Commands and notifications (OnCmdMsg).
  AfxSigCmd_v,        // void ()                               ON_COMMAND, ON_CONTROL
  AfxSigCmd_b,        // BOOL (UINT id)                        ON_COMMAND_EX
  AfxSigCmd_RANGE,    // void (UINT id)                        ON_COMMAND_RANGE, ON_CONTROL_RANGE
  AfxSigCmdUI,        // void (CCmdUI*)                        ON_UPDATE_COMMAND_UI(_RANGE)
  AfxSigNotify_v,     // void (NMHDR*, LRESULT*)               ON_NOTIFY
  AfxSigNotify_RANGE, // void (UINT id, NMHDR*, LRESULT*)      ON_NOTIFY_RANGE
  // Window messages (OnWndMsg).
  AfxSig_vv,      // void ()
  AfxSig_is,      // int (LPCREATESTRUCT)
  AfxSig_vwii,    // void (UINT, int, int)
  AfxSig_vii,     // void (int, int)
  AfxSig_bD,      // BOOL (CDC*)
  AfxSig_vt,      // void (UINT_PTR)
  AfxSig_vwp,     // void (UINT, CPoint)
  AfxSig_bwsp,    // BOOL (UINT, short, CPoint)
  AfxSig_vwww,    // void (UINT, UINT, UINT)
  AfxSig_vW,      // void (CWnd*)
  AfxSig_vwwW,    // void (UINT, UINT, CScrollBar*)
  AfxSig_vWp,     // void (CWnd*, CPoint)
  AfxSig_vMwb,    // void (CMenu*, UINT, BOOL)
  AfxSig_vM,      // void (CMenu*)
  AfxSig_vwWb,    // void (UINT, CWnd*, BOOL)
  AfxSig_vbWW,    // void (BOOL, CWnd*, CWnd*)
  AfxSig_bWww,    // BOOL (CWnd*, UINT, UINT)
  AfxSig_iWww,    // int (CWnd*, UINT, UINT)
  AfxSig_vHDROP,  // void (HDROP)
  AfxSig_vbw,     // void (BOOL, UINT)
  AfxSig_vMMI,    // void (MINMAXINFO*)
  AfxSig_vOWNER,  // void (int, LPDRAWITEMSTRUCT)
  AfxSig_vMEASURE,// void (int, LPMEASUREITEMSTRUCT)
  AfxSig_bHELPINFO,// BOOL (HELPINFO*)
  AfxSig_vwl,     // void (UINT, LPARAM)
  AfxSig_b,       // BOOL ()
  AfxSig_vwwh,    // void (UINT, UINT, HMENU)
  AfxSig_hDWw,    // HBRUSH (CDC*, CWnd*, UINT)
  AfxSig_vPOS,    // void (WINDOWPOS*)
  AfxSig_vwW,     // void (UINT, CWnd*)
  AfxSig_vbd,     // void (BOOL, DWORD)
  AfxSig_lwl,     // LRESULT (WPARAM, LPARAM)               ON_MESSAGE, ON_REGISTERED_MESSAGE
};

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // window message, or WM_COMMAND / WM_NOTIFY for command entries
  UINT nCode;     // control notification or CN_ code
  UINT nID;       // control or command id (0 for window messages)
  UINT nLastID;   // last id of a range
  UINT_PTR nSig;  // AfxSig kind; for registered messages the address of the message number
  AFX_PMSG pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (PASCAL* pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// Codes of OnCmdMsg.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
// Message number of ON_REGISTERED_MESSAGE entries; the entry's nSig holds the number's address.
#define AFX_REGISTERED_MESSAGE 0xC000

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

#define END_MESSAGE_MAP()                                                         \
  {0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0}                                           \
  };                                                                              \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                             \
  }

// Command entries.
#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AfxSigCmd_v, static_cast<AFX_PMSG>(static_cast<void (CCmdTarget::*)()>(&ThisClass::memberFxn))},
#define ON_COMMAND_EX(id, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AfxSigCmd_b, (AFX_PMSG)(static_cast<BOOL (CCmdTarget::*)(UINT)>(&ThisClass::memberFxn))},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), AfxSigCmd_RANGE, (AFX_PMSG)(static_cast<void (CCmdTarget::*)(UINT)>(&ThisClass::memberFxn))},
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), AfxSigCmdUI, (AFX_PMSG)(static_cast<void (CCmdTarget::*)(CCmdUI*)>(&ThisClass::memberFxn))},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), AfxSigCmdUI, (AFX_PMSG)(static_cast<void (CCmdTarget::*)(CCmdUI*)>(&ThisClass::memberFxn))},
#define ON_CONTROL(code, id, memberFxn) \
  {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), AfxSigCmd_v, static_cast<AFX_PMSG>(static_cast<void (CCmdTarget::*)()>(&ThisClass::memberFxn))},
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn) \
  {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(idLast), AfxSigCmd_RANGE, (AFX_PMSG)(static_cast<void (CCmdTarget::*)(UINT)>(&ThisClass::memberFxn))},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn) \
  {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), AfxSigNotify_v, (AFX_PMSG)(static_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(&ThisClass::memberFxn))},
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn) \
  {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(idLast), AfxSigNotify_RANGE, (AFX_PMSG)(static_cast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(&ThisClass::memberFxn))},

// Window message entries (handlers of CWnd-derived classes).
#define AFX_WM_ENTRY(msg, sig, type, memberFxn) \
  {msg, 0, 0, 0, sig, (AFX_PMSG)(AFX_PMSGW)(static_cast<type>(&ThisClass::memberFxn))},
#define ON_MESSAGE(message, memberFxn) \
  {(UINT)(message), 0, 0, 0, AfxSig_lwl, (AFX_PMSG)(AFX_PMSGW)(static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn))},
#define ON_REGISTERED_MESSAGE(messageVariable, memberFxn) \
  {AFX_REGISTERED_MESSAGE, 0, 0, 0, (UINT_PTR)(&(messageVariable)), (AFX_PMSG)(AFX_PMSGW)(static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn))},

#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, AfxSig_is, int (CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, AfxSig_vv, void (CWnd::*)(), OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, AfxSig_vv, void (CWnd::*)(), OnNcDestroy)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, AfxSig_vv, void (CWnd::*)(), OnClose)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, AfxSig_vv, void (CWnd::*)(), OnPaint)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, AfxSig_vwii, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_MOVE() AFX_WM_ENTRY(WM_MOVE, AfxSig_vii, void (CWnd::*)(int, int), OnMove)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, AfxSig_bD, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, AfxSig_vt, void (CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_LBUTTONDOWN() AFX_WM_ENTRY(WM_LBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_ENTRY(WM_LBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_ENTRY(WM_LBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_ENTRY(WM_RBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_ENTRY(WM_RBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY(WM_MOUSEMOVE, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_MOUSEWHEEL() AFX_WM_ENTRY(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_KEYDOWN() AFX_WM_ENTRY(WM_KEYDOWN, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_WM_ENTRY(WM_KEYUP, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() AFX_WM_ENTRY(WM_CHAR, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_HSCROLL() AFX_WM_ENTRY(WM_HSCROLL, AfxSig_vwwW, void (CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() AFX_WM_ENTRY(WM_VSCROLL, AfxSig_vwwW, void (CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_CONTEXTMENU() AFX_WM_ENTRY(WM_CONTEXTMENU, AfxSig_vWp, void (CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_INITMENUPOPUP() AFX_WM_ENTRY(WM_INITMENUPOPUP, AfxSig_vMwb, void (CWnd::*)(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_INITMENU() AFX_WM_ENTRY(WM_INITMENU, AfxSig_vM, void (CWnd::*)(CMenu*), OnInitMenu)
#define ON_WM_ACTIVATE() AFX_WM_ENTRY(WM_ACTIVATE, AfxSig_vwWb, void (CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_MDIACTIVATE() AFX_WM_ENTRY(WM_MDIACTIVATE, AfxSig_vbWW, void (CWnd::*)(BOOL, CWnd*, CWnd*), OnMDIActivate)
#define ON_WM_SETCURSOR() AFX_WM_ENTRY(WM_SETCURSOR, AfxSig_bWww, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_MOUSEACTIVATE() AFX_WM_ENTRY(WM_MOUSEACTIVATE, AfxSig_iWww, int (CWnd::*)(CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_DROPFILES() AFX_WM_ENTRY(WM_DROPFILES, AfxSig_vHDROP, void (CWnd::*)(HDROP), OnDropFiles)
#define ON_WM_SHOWWINDOW() AFX_WM_ENTRY(WM_SHOWWINDOW, AfxSig_vbw, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_GETMINMAXINFO() AFX_WM_ENTRY(WM_GETMINMAXINFO, AfxSig_vMMI, void (CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_DRAWITEM() AFX_WM_ENTRY(WM_DRAWITEM, AfxSig_vOWNER, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_WM_ENTRY(WM_MEASUREITEM, AfxSig_vMEASURE, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_HELPINFO() AFX_WM_ENTRY(WM_HELP, AfxSig_bHELPINFO, BOOL (CWnd::*)(HELPINFO*), OnHelpInfo)
#define ON_WM_SYSCOMMAND() AFX_WM_ENTRY(WM_SYSCOMMAND, AfxSig_vwl, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_QUERYENDSESSION() AFX_WM_ENTRY(WM_QUERYENDSESSION, AfxSig_b, BOOL (CWnd::*)(), OnQueryEndSession)
#define ON_WM_QUERYNEWPALETTE() AFX_WM_ENTRY(WM_QUERYNEWPALETTE, AfxSig_b, BOOL (CWnd::*)(), OnQueryNewPalette)
#define ON_WM_PALETTECHANGED() AFX_WM_ENTRY(WM_PALETTECHANGED, AfxSig_vW, void (CWnd::*)(CWnd*), OnPaletteChanged)
#define ON_WM_MENUSELECT() AFX_WM_ENTRY(WM_MENUSELECT, AfxSig_vwwh, void (CWnd::*)(UINT, UINT, HMENU), OnMenuSelect)
#define ON_WM_CTLCOLOR() AFX_WM_ENTRY(WM_CTLCOLORDLG, AfxSig_hDWw, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_WINDOWPOSCHANGED() AFX_WM_ENTRY(WM_WINDOWPOSCHANGED, AfxSig_vPOS, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_ENTERIDLE() AFX_WM_ENTRY(WM_ENTERIDLE, AfxSig_vwW, void (CWnd::*)(UINT, CWnd*), OnEnterIdle)
#define ON_WM_ACTIVATEAPP() AFX_WM_ENTRY(WM_ACTIVATEAPP, AfxSig_vbd, void (CWnd::*)(BOOL, DWORD), OnActivateApp)
