// Starting and ending OLE for a framework program: AfxOleInit/AfxOleTerm, the message filter, the
// application lock and user control.
#include "afxole.h"

namespace {

struct OleState {
  BOOL started = FALSE;  // AfxOleInit succeeded and AfxOleTerm has not run
  BOOL controlContainer = FALSE;
  BOOL userCtrl = TRUE;
  LONG locks = 0;
  COleMessageFilter* filter = NULL;
};

OleState& Ole() {
  static OleState state;
  return state;
}

}  // namespace

BOOL AFXAPI AfxOleInit() {
  OleState& ole = Ole();
  if (ole.started) return TRUE;
  // OLE needs a single-threaded apartment on the user-interface thread: drag and drop, the clipboard
  // and in-place activation all run through window messages.
  HRESULT hr = OleInitialize(NULL);
  if (FAILED(hr)) return FALSE;
  ole.started = TRUE;
  COleMessageFilter* filter = new COleMessageFilter;
  if (!filter->Register()) {
    delete filter;
    OleUninitialize();
    ole.started = FALSE;
    return FALSE;
  }
  ole.filter = filter;
  return TRUE;
}

void AFXAPI AfxOleTerm(BOOL justRevoke) {
  COleObjectFactory::RevokeAll();
  OleState& ole = Ole();
  if (justRevoke || !ole.started) return;
  if (ole.filter) {
    ole.filter->Revoke();
    ole.filter->InternalRelease();
    ole.filter = NULL;
  }
  // What the clipboard still holds of this program is rendered before OLE goes.
  COleDataSource::FlushClipboard();
  OleUninitialize();
  ole.started = FALSE;
}

COleMessageFilter* AFXAPI AfxOleGetMessageFilter() { return Ole().filter; }

void AFXAPI AfxEnableControlContainer() { Ole().controlContainer = TRUE; }
BOOL AFXAPI AfxControlContainerEnabled() { return Ole().controlContainer; }

void AFXAPI AfxOleLockApp() { InterlockedIncrement(&Ole().locks); }

void AFXAPI AfxOleUnlockApp() {
  OleState& ole = Ole();
  if (InterlockedDecrement(&ole.locks) != 0 || ole.userCtrl) return;
  CWinApp* app = AfxGetApp();
  if (!app) return;
  if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
    app->m_pMainWnd->PostMessage(WM_CLOSE);
  else
    ::PostThreadMessageA(app->m_nThreadID, WM_QUIT, 0, 0);
}

BOOL AFXAPI AfxOleCanExitApp() { return Ole().locks == 0; }
BOOL AFXAPI AfxOleGetUserCtrl() { return Ole().userCtrl; }
void AFXAPI AfxOleSetUserCtrl(BOOL userCtrl) { Ole().userCtrl = userCtrl; }

// ---------------------------------------------------------------------------------------------
// Message filter.

namespace {
const DWORD kRetryDelayMs = 100;
const DWORD kRetryTimeoutMs = 8000;
}  // namespace

BEGIN_INTERFACE_MAP(COleMessageFilter, CCmdTarget)
  INTERFACE_PART(COleMessageFilter, IID_IMessageFilter, MessageFilter)
END_INTERFACE_MAP()

DELEGATE_IUNKNOWN(COleMessageFilter, MessageFilter)

COleMessageFilter::COleMessageFilter()
    : m_nBusyCount(0), m_nBusyReply(SERVERCALL_RETRYLATER), m_nRetryDelay(kRetryDelayMs),
      m_nRetryTimeout(kRetryTimeoutMs), m_bRegistered(FALSE) {}

COleMessageFilter::~COleMessageFilter() { Revoke(); }

BOOL COleMessageFilter::Register() {
  if (m_bRegistered) return TRUE;
  IMessageFilter* previous = NULL;
  if (FAILED(CoRegisterMessageFilter(&m_xMessageFilter, &previous))) return FALSE;
  if (previous) previous->Release();
  m_bRegistered = TRUE;
  return TRUE;
}

void COleMessageFilter::Revoke() {
  if (!m_bRegistered) return;
  IMessageFilter* previous = NULL;
  CoRegisterMessageFilter(NULL, &previous);
  if (previous) previous->Release();
  m_bRegistered = FALSE;
}

void COleMessageFilter::BeginBusyState() { ++m_nBusyCount; }
void COleMessageFilter::EndBusyState() {
  if (m_nBusyCount > 0) --m_nBusyCount;
}

DWORD COleMessageFilter::OnHandleIncomingCall(DWORD callType) {
  // Only a new top-level call waits: one that arrives while this program waits for its own outgoing call
  // is taken (or the two programs would wait on each other), and asynchronous calls cannot be refused.
  if (m_nBusyCount > 0 && callType == CALLTYPE_TOPLEVEL) return DWORD(m_nBusyReply);
  return SERVERCALL_ISHANDLED;
}

DWORD COleMessageFilter::OnRetryRejectedCall(DWORD elapsed, DWORD rejectType) {
  if (rejectType == SERVERCALL_RETRYLATER && elapsed < m_nRetryTimeout) return m_nRetryDelay;
  return DWORD(-1);  // cancel: the caller gets RPC_E_CALL_REJECTED
}

STDMETHODIMP_(DWORD) COleMessageFilter::XMessageFilter::HandleInComingCall(DWORD callType, HTASK, DWORD, LPINTERFACEINFO) {
  METHOD_PROLOGUE(COleMessageFilter, MessageFilter)
  return pThis->OnHandleIncomingCall(callType);
}

STDMETHODIMP_(DWORD) COleMessageFilter::XMessageFilter::RetryRejectedCall(HTASK, DWORD tickCount, DWORD rejectType) {
  METHOD_PROLOGUE(COleMessageFilter, MessageFilter)
  return pThis->OnRetryRejectedCall(tickCount, rejectType);
}

STDMETHODIMP_(DWORD) COleMessageFilter::XMessageFilter::MessagePending(HTASK, DWORD, DWORD) {
  // Input waits until the outgoing call returns; painting and timers go on meanwhile.
  return PENDINGMSG_WAITDEFPROCESS;
}
