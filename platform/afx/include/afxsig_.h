// The handler kinds of message maps, generated from the lists in afxmsg_.h (included at the end of
// afxwin.h, where every type the calls use is complete). Each module gets its own copy of these small
// functions, so a module may define further kinds the same way in its own header.
#pragma once

inline CPoint AfxPointOf(LPARAM lParam) { return CPoint(short(LOWORD(lParam)), short(HIWORD(lParam))); }
inline CWnd* AfxWndOf(WPARAM handle) { return CWnd::FromHandle(reinterpret_cast<HWND>(handle)); }
// CTLCOLOR_MSGBOX .. CTLCOLOR_STATIC for a WM_CTLCOLOR* message, reflected or not.
inline UINT AfxCtlColorType(UINT message) {
  if (message >= WM_REFLECT_BASE) message -= WM_REFLECT_BASE;
  return message - WM_CTLCOLORMSGBOX;
}
// An update handler decides the item's state; it may ask the route to go on to the next target.
inline BOOL AfxCallUpdateHandler(CCmdTarget* target, void (CCmdTarget::*pfn)(CCmdUI*), CCmdUI* ui) {
  ui->m_bContinueRouting = FALSE;
  (target->*pfn)(ui);
  return !ui->m_bContinueRouting;
}

// Defines the window-message kind `name`: AfxSig_name, which calls the handler restored to `type`, and
// AfxSigType_name, the type the entry macros check handlers against.
#define AFX_DEFINE_WINDOW_SIG(name, type, call)                                                        \
  using AfxSigType_##name = type;                                                                      \
  inline LRESULT AFXAPI AfxDispatch_##name(CWnd* wnd, AFX_PMSG pfnStored, UINT message, WPARAM wParam,  \
                                           LPARAM lParam) {                                            \
    using Fn = type;                                                                                   \
    const Fn pfn = reinterpret_cast<Fn>(pfnStored);                                                    \
    (void)message;                                                                                     \
    (void)wParam;                                                                                      \
    (void)lParam;                                                                                      \
    return LRESULT(call);                                                                              \
  }                                                                                                    \
  inline const AFX_SIG AfxSig_##name = {&AfxDispatch_##name, NULL};

// Defines the command kind `name` the same way.
#define AFX_DEFINE_COMMAND_SIG(name, type, call)                                                            \
  using AfxSigType_##name = type;                                                                           \
  inline BOOL AFXAPI AfxDispatch_##name(CCmdTarget* target, AFX_PMSG pfnStored, UINT id, void* extra) {     \
    using Fn = type;                                                                                        \
    const Fn pfn = reinterpret_cast<Fn>(pfnStored);                                                         \
    (void)id;                                                                                               \
    (void)extra;                                                                                            \
    return BOOL(call);                                                                                      \
  }                                                                                                         \
  inline const AFX_SIG AfxSig_##name = {NULL, &AfxDispatch_##name};

AFX_WINDOW_SIGNATURES(AFX_DEFINE_WINDOW_SIG)
AFX_COMMAND_SIGNATURES(AFX_DEFINE_COMMAND_SIG)
