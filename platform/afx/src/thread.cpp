// CCmdTarget's wait cursor, CWinThread and the worker-thread functions AfxBeginThread/AfxEndThread.
#include <process.h>
#include "afxwin.h"
#include "state.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {
thread_local CWinThread* t_currentThread = NULL;

// Exit code of a thread whose function ended with an exception.
const UINT kThreadFailed = UINT(-1);

unsigned __stdcall ThreadEntry(void* param) {
  CWinThread* thread = static_cast<CWinThread*>(param);
  t_currentThread = thread;
  UINT result;
  try {
    if (thread->m_pfnThreadProc) {
      result = thread->m_pfnThreadProc(thread->m_pThreadParams);
    } else {
      // A user-interface thread: its own start-up, message loop and end.
      MSG probe;
      ::PeekMessageA(&probe, NULL, WM_USER, WM_USER, PM_NOREMOVE);  // the thread gets its queue
      result = thread->InitInstance() ? UINT(thread->Run()) : UINT(thread->ExitInstance());
    }
  } catch (...) {
    // The thread's start is system code: nothing may unwind into it.
    afxstate::ReportAtBoundary(MSG());
    result = kThreadFailed;
  }
  AfxEndThread(result, TRUE);
}
}  // namespace

CWinThread::CWinThread()
    : m_hThread(NULL), m_nThreadID(0), m_bAutoDelete(TRUE), m_pfnThreadProc(NULL), m_pThreadParams(NULL),
      m_pMainWnd(NULL), m_pActiveWnd(NULL), m_msgCur(), m_ptCursorLast(-1, -1), m_nMsgLast(0) {}

CWinThread::CWinThread(AFX_THREADPROC threadProc, LPVOID param) : CWinThread() {
  m_pfnThreadProc = threadProc;
  m_pThreadParams = param;
}

CWinThread::~CWinThread() {
  if (m_hThread) CloseHandle(m_hThread);
  if (t_currentThread == this) t_currentThread = NULL;
}

BOOL CWinThread::CreateThread(DWORD createFlags, UINT stackSize, LPSECURITY_ATTRIBUTES security) {
  unsigned id = 0;
  // Started suspended so that m_hThread is set before the thread can look at it.
  uintptr_t h = _beginthreadex(security, stackSize, &ThreadEntry, this, createFlags | CREATE_SUSPENDED, &id);
  if (h == 0) return FALSE;
  m_hThread = reinterpret_cast<HANDLE>(h);
  m_nThreadID = id;
  if (!(createFlags & CREATE_SUSPENDED)) ::ResumeThread(m_hThread);
  return TRUE;
}

int CWinThread::GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
BOOL CWinThread::SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }
DWORD CWinThread::SuspendThread() { return ::SuspendThread(m_hThread); }
DWORD CWinThread::ResumeThread() { return ::ResumeThread(m_hThread); }
BOOL CWinThread::InitInstance() { return FALSE; }
int CWinThread::ExitInstance() { return 0; }

void CWinThread::Delete() {
  if (m_bAutoDelete) delete this;
}

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC threadProc, LPVOID param, int priority, UINT stackSize,
                                  DWORD createFlags, LPSECURITY_ATTRIBUTES security) {
  CWinThread* thread = new CWinThread(threadProc, param);
  if (!thread->CreateThread(createFlags | CREATE_SUSPENDED, stackSize, security)) {
    thread->Delete();
    return NULL;
  }
  thread->SetThreadPriority(priority);
  if (!(createFlags & CREATE_SUSPENDED)) thread->ResumeThread();
  return thread;
}

void AFXAPI AfxEndThread(UINT exitCode, BOOL deleteThread) {
  CWinThread* thread = t_currentThread;
  t_currentThread = NULL;
  if (thread && deleteThread) thread->Delete();
  _endthreadex(exitCode);
  __builtin_unreachable();
}

CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* threadClass, int priority, UINT stackSize, DWORD createFlags,
                                  LPSECURITY_ATTRIBUTES security) {
  CObject* object = threadClass->CreateObject();
  CWinThread* thread = dynamic_cast<CWinThread*>(object);
  if (!thread) {
    delete object;
    AfxThrowNotSupportedException();
  }
  if (!thread->CreateThread(createFlags | CREATE_SUSPENDED, stackSize, security)) {
    thread->Delete();
    return NULL;
  }
  thread->SetThreadPriority(priority);
  if (!(createFlags & CREATE_SUSPENDED)) thread->ResumeThread();
  return thread;
}

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
}

CWnd* CWinThread::GetMainWnd() {
  if (m_pActiveWnd) return m_pActiveWnd;
  return m_pMainWnd;
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* msg) { return AfxProcessWndProcException(e, msg); }

BOOL CWinThread::IsIdleMessage(MSG* msg) {
  // Mouse moves to the same place and the caret's blink do not end an idle period.
  if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
    CPoint p(msg->pt);
    if (m_ptCursorLast == p && msg->message == m_nMsgLast) return FALSE;
    m_ptCursorLast = p;
    m_nMsgLast = msg->message;
    return TRUE;
  }
  return msg->message != WM_PAINT && msg->message != 0x0118;  // 0x0118: the system's caret timer
}

BOOL CWinThread::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_NULL) return FALSE;
  CWnd* main = GetMainWnd();
  if (CWnd::WalkPreTranslateTree(main ? main->m_hWnd : NULL, msg)) return TRUE;
  // Keys of a modeless dialog or a child of the main window the tree did not take.
  if (main && msg->hwnd != main->m_hWnd && !::IsChild(main->m_hWnd, msg->hwnd)) return FALSE;
  return main && main->PreTranslateMessage(msg);
}

BOOL CWinThread::PumpMessage() {
  if (!::GetMessageA(&m_msgCur, NULL, 0, 0)) return FALSE;
  if (!PreTranslateMessage(&m_msgCur)) {
    ::TranslateMessage(&m_msgCur);
    ::DispatchMessageA(&m_msgCur);
  }
  return TRUE;
}

namespace {
// The visible top-level framework frames of this thread.
BOOL CALLBACK CollectFrames(HWND wnd, LPARAM found) {
  CWnd* w = CWnd::FromHandlePermanent(wnd);
  if (w && w->IsFrameWnd() && ::IsWindowVisible(wnd)) reinterpret_cast<CPtrArray*>(found)->Add(wnd);
  return TRUE;
}

void UpdateFrame(HWND wnd) {
  CWnd* frame = CWnd::FromHandlePermanent(wnd);  // an earlier update may have closed it
  if (!frame || !::IsWindowVisible(wnd)) return;
  AfxCallWndProc(frame, wnd, WM_IDLEUPDATECMDUI, TRUE, 0);
  frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
}
}  // namespace

BOOL CWinThread::OnIdle(LONG count) {
  if (count <= 0) {
    // Menus and bars follow the commands' current state: the main window's first, then those of the
    // thread's other frames (floating bars' frames, frames of their own).
    CWnd* main = m_pMainWnd;
    HWND mainWnd = main ? main->m_hWnd : NULL;
    if (mainWnd) UpdateFrame(mainWnd);
    CPtrArray frames;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectFrames, reinterpret_cast<LPARAM>(&frames));
    for (INT_PTR i = 0; i < frames.GetSize(); ++i)
      if (frames[i] != mainWnd) UpdateFrame(static_cast<HWND>(frames[i]));
    return TRUE;
  }
  if (count == 1) {
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
  }
  return FALSE;
}

int CWinThread::Run() {
  BOOL idle = TRUE;
  LONG idleCount = 0;
  for (;;) {
    while (idle && !::PeekMessageA(&m_msgCur, NULL, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) idle = FALSE;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&m_msgCur)) {
        idle = TRUE;
        idleCount = 0;
      }
    } while (::PeekMessageA(&m_msgCur, NULL, 0, 0, PM_NOREMOVE));
  }
}

CWinThread* AFXAPI AfxGetThread() {
  return t_currentThread ? t_currentThread : static_cast<CWinThread*>(AfxGetApp());
}
