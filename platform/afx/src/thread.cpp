// CCmdTarget's wait cursor, CWinThread and the worker-thread functions AfxBeginThread/AfxEndThread.
#include <process.h>
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CCmdTarget::CCmdTarget() = default;
CCmdTarget::~CCmdTarget() = default;
void CCmdTarget::BeginWaitCursor() { if (AfxGetApp()) AfxGetApp()->DoWaitCursor(1); }
void CCmdTarget::EndWaitCursor() { if (AfxGetApp()) AfxGetApp()->DoWaitCursor(-1); }
void CCmdTarget::RestoreWaitCursor() { if (AfxGetApp()) AfxGetApp()->DoWaitCursor(0); }

namespace {
thread_local CWinThread* t_currentThread = NULL;

unsigned __stdcall ThreadEntry(void* param) {
  CWinThread* thread = static_cast<CWinThread*>(param);
  t_currentThread = thread;
  UINT result = thread->m_pfnThreadProc(thread->m_pThreadParams);
  AfxEndThread(result, TRUE);
}
}  // namespace

CWinThread::CWinThread()
    : m_hThread(NULL), m_nThreadID(0), m_bAutoDelete(TRUE), m_pfnThreadProc(NULL), m_pThreadParams(NULL) {}

CWinThread::CWinThread(AFX_THREADPROC threadProc, LPVOID param) : CWinThread() {
  m_pfnThreadProc = threadProc;
  m_pThreadParams = param;
}

CWinThread::~CWinThread() {
  if (m_hThread) CloseHandle(m_hThread);
  if (t_currentThread == this) t_currentThread = NULL;
}

BOOL CWinThread::CreateThread(DWORD createFlags, UINT stackSize, LPSECURITY_ATTRIBUTES security) {
  // Threads with their own message loop come with the window layer.
  if (!m_pfnThreadProc) AfxThrowNotSupportedException();
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

CWinThread* AFXAPI AfxGetThread() {
  return t_currentThread ? t_currentThread : static_cast<CWinThread*>(AfxGetApp());
}
