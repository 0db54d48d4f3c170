// The reader-writer lock, the thread-entry trampoline and the folder monitor thread.
#include "FileSystemMonitor.h"

namespace {
// Pause before looking again when a different command is still pending.
constexpr DWORD kCommandRetryMs = 100;
}

cRWLockData::cRWLockData() : m_nReaders(0), m_nWriter(0) {
  InitializeCriticalSection(&m_cs);
  m_hNoReaders = CreateEventA(NULL, TRUE, TRUE, NULL);
  m_hNoWriter = CreateEventA(NULL, TRUE, TRUE, NULL);
}

cRWLockData::~cRWLockData() {
  CloseHandle(m_hNoReaders);
  CloseHandle(m_hNoWriter);
  DeleteCriticalSection(&m_cs);
}

BOOL cRWLockData::IsReadLocked() {
  EnterCriticalSection(&m_cs);
  BOOL locked = m_nReaders > 0 || m_nWriter > 0;
  LeaveCriticalSection(&m_cs);
  return locked;
}

BOOL cRWLockData::IsWriteLocked() {
  EnterCriticalSection(&m_cs);
  BOOL locked = m_nWriter > 0;
  LeaveCriticalSection(&m_cs);
  return locked;
}

void cRWLockData::ReadLock() {
  for (;;) {
    EnterCriticalSection(&m_cs);
    if (m_nWriter == 0) {
      ++m_nReaders;
      ResetEvent(m_hNoReaders);
      LeaveCriticalSection(&m_cs);
      return;
    }
    LeaveCriticalSection(&m_cs);
    WaitForSingleObject(m_hNoWriter, INFINITE);
  }
}

void cRWLockData::WriteLock() {
  HANDLE both[2] = {m_hNoReaders, m_hNoWriter};
  for (;;) {
    EnterCriticalSection(&m_cs);
    if (m_nWriter == 0 && m_nReaders == 0) {
      m_nWriter = 1;
      ResetEvent(m_hNoWriter);
      LeaveCriticalSection(&m_cs);
      return;
    }
    LeaveCriticalSection(&m_cs);
    WaitForMultipleObjects(2, both, TRUE, INFINITE);
  }
}

void cRWLockData::ReadUnlock() {
  EnterCriticalSection(&m_cs);
  if (m_nReaders > 0 && --m_nReaders == 0) SetEvent(m_hNoReaders);
  LeaveCriticalSection(&m_cs);
}

void cRWLockData::WriteUnlock() {
  EnterCriticalSection(&m_cs);
  if (m_nWriter > 0) --m_nWriter;
  SetEvent(m_hNoWriter);
  LeaveCriticalSection(&m_cs);
}

cReadWriteLock::cReadWriteLock(cRWLockData& data) : m_data(data), m_bReadLocked(FALSE), m_bWriteLocked(FALSE) {}
cReadWriteLock::~cReadWriteLock() { Unlock(); }
BOOL cReadWriteLock::IsReadLocked() { return m_bReadLocked; }
BOOL cReadWriteLock::IsWriteLocked() { return m_bWriteLocked; }

void cReadWriteLock::ReadLock() {
  m_data.ReadLock();
  m_bReadLocked = TRUE;
}

void cReadWriteLock::WriteLock() {
  m_data.WriteLock();
  m_bWriteLocked = TRUE;
}

void cReadWriteLock::Unlock() {
  if (m_bWriteLocked) {
    m_data.WriteUnlock();
  } else if (m_bReadLocked) {
    m_data.ReadUnlock();
  }
  m_bReadLocked = m_bWriteLocked = FALSE;
}

// ---------------------------------------------------------------------------------------------

cCallback::cCallback() : m_object(NULL), m_method(), m_invoke(NULL) {}
cCallback::~cCallback() {}

AFX_THREADPROC cCallback::GetCallbackAddress() const { return &Trampoline; }

UINT AFX_CDECL cCallback::Trampoline(LPVOID self) {
  cCallback* callback = static_cast<cCallback*>(self);
  return callback->m_invoke(callback, NULL);
}

// ---------------------------------------------------------------------------------------------

cFileSystemMonitor::cFileSystemMonitor()
    : m_nHandles(1), m_command(THREADCMD_NONE), m_hNotifyWindow(NULL), m_nNotifyMessage(0),
      m_bWatchSubtree(FALSE), m_dwFilter(0), m_bNotify(FALSE) {
  m_bAutoDelete = FALSE;
  m_callback.SetCallbackMethod(this, &cFileSystemMonitor::MonitorProc);
  m_pfnThreadProc = m_callback.GetCallbackAddress();
  m_pThreadParams = m_callback.GetCallbackParameter();
  m_handles[0] = CreateEventA(NULL, TRUE, FALSE, NULL);
  m_handles[1] = NULL;
}

cFileSystemMonitor::~cFileSystemMonitor() {
  KillMonitorThread();
  CloseHandle(m_handles[0]);
  if (m_nHandles == 2) FindCloseChangeNotification(m_handles[1]);
}

void cFileSystemMonitor::SetNotification(HWND window, UINT message) {
  m_hNotifyWindow = window;
  m_nNotifyMessage = message;
}

void cFileSystemMonitor::EnableNotification(BOOL enable) { m_bNotify = enable; }

void cFileSystemMonitor::MonitorChangesIn(LPCSTR folder, BOOL watchSubtree, DWORD filter) {
  CString requested = folder ? folder : "";
  {
    // The watched folder is the thread's; it reads it under the same lock when it changes it.
    cReadWriteLock lock(m_lockData);
    lock.ReadLock();
    // A request still pending counts too: otherwise a stop asked for before the thread took up the
    // previous folder would be lost.
    if (requested == m_watchedFolder && requested == m_requestedFolder) return;
  }
  {
    cReadWriteLock lock(m_lockData);
    lock.WriteLock();
    m_requestedFolder = requested;
    m_bWatchSubtree = watchSubtree;
    m_dwFilter = filter;
  }
  if (requested.IsEmpty()) {
    KillMonitorThread();
  } else {
    CommandMonitorThread(THREADCMD_CHANGE);
  }
}

void cFileSystemMonitor::StopMonitoring() { KillMonitorThread(); }

void cFileSystemMonitor::CommandMonitorThread(ThreadCmd command) {
  cReadWriteLock lock(m_lockData);
  for (;;) {
    lock.WriteLock();
    if (m_command == THREADCMD_NONE || command == THREADCMD_STOP || m_command == command) break;
    lock.Unlock();
    Sleep(kCommandRetryMs);
  }
  m_command = command;
  lock.Unlock();
  SetEvent(m_handles[0]);
  if (!m_hThread) CreateThread(0, 0);
}

void cFileSystemMonitor::KillMonitorThread() {
  if (m_hThread) {
    if (WaitForSingleObject(m_hThread, 0) == WAIT_TIMEOUT) {
      CommandMonitorThread(THREADCMD_STOP);
      WaitForSingleObject(m_hThread, INFINITE);
    }
    CloseHandle(m_hThread);
    m_hThread = NULL;
    m_nThreadID = 0;
  }
  cReadWriteLock lock(m_lockData);
  lock.WriteLock();
  m_command = THREADCMD_NONE;
}

void cFileSystemMonitor::EffectMonitorChange() {
  if (m_nHandles == 2) {
    FindCloseChangeNotification(m_handles[1]);
    m_handles[1] = NULL;
    m_nHandles = 1;
  }
  m_watchedFolder.Empty();
  if (m_requestedFolder.IsEmpty()) return;
  HANDLE h = FindFirstChangeNotificationA(m_requestedFolder, m_bWatchSubtree, m_dwFilter);
  if (h == INVALID_HANDLE_VALUE) return;  // watches nothing; the next request for it tries again
  m_handles[1] = h;
  m_nHandles = 2;
  m_watchedFolder = m_requestedFolder;
}

UINT cFileSystemMonitor::MonitorProc(LPVOID) {
  cReadWriteLock lock(m_lockData);
  for (;;) {
    DWORD fired = WaitForMultipleObjects(m_nHandles, m_handles, FALSE, INFINITE);
    if (fired == WAIT_OBJECT_0 + 1) {
      FindNextChangeNotification(m_handles[1]);
      if (m_bNotify && m_hNotifyWindow) PostMessageA(m_hNotifyWindow, m_nNotifyMessage, 0, 0);
      continue;
    }
    if (fired != WAIT_OBJECT_0) continue;
    lock.WriteLock();
    ResetEvent(m_handles[0]);
    if (m_command == THREADCMD_STOP) break;
    if (m_command == THREADCMD_CHANGE) {
      EffectMonitorChange();
      m_command = THREADCMD_NONE;
    }
    lock.Unlock();
  }
  m_requestedFolder.Empty();
  EffectMonitorChange();
  m_command = THREADCMD_NONE;
  lock.Unlock();
  return 0;
}
