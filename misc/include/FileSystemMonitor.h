// The folder monitor: a worker thread that waits on the system's change notification for one folder
// and posts a message to an owner window per notification. cCallback turns its member function into
// the thread's entry point through a static trampoline (the object travels as the thread parameter).
#pragma once
#include <cstring>
#include "RWLock.h"

class NXMISC_API cCallback {
 public:
  cCallback();
  virtual ~cCallback();
  template <class T>
  void SetCallbackMethod(T* object, UINT (T::*method)(LPVOID)) {
    static_assert(sizeof method <= sizeof m_method, "member function pointer too large");
    m_object = object;
    memcpy(m_method, &method, sizeof method);
    m_invoke = &Invoke<T>;
  }
  // Entry point and parameter to hand to the thread-creation call.
  AFX_THREADPROC GetCallbackAddress() const;
  LPVOID GetCallbackParameter() { return this; }

 private:
  cCallback(const cCallback&) = delete;
  void operator=(const cCallback&) = delete;
  template <class T>
  static UINT Invoke(cCallback* self, LPVOID param) {
    UINT (T::*method)(LPVOID);
    memcpy(&method, self->m_method, sizeof method);
    return (static_cast<T*>(self->m_object)->*method)(param);
  }
  static UINT AFX_CDECL Trampoline(LPVOID self);
  void* m_object;
  alignas(void*) unsigned char m_method[2 * sizeof(void*)];
  UINT (*m_invoke)(cCallback*, LPVOID);
};

enum ThreadCmd { THREADCMD_NONE = 0, THREADCMD_STOP = 1, THREADCMD_CHANGE = 2 };

class NXMISC_API cFileSystemMonitor : public CWinThread {
 public:
  cFileSystemMonitor();
  ~cFileSystemMonitor() override;  // returns after the thread has ended

  virtual void SetNotification(HWND window, UINT message);
  virtual void MonitorChangesIn(LPCSTR folder, BOOL watchSubtree, DWORD filter);
  virtual void StopMonitoring();
  virtual void EnableNotification(BOOL enable);
  virtual void EffectMonitorChange();
  virtual void CommandMonitorThread(ThreadCmd command);
  virtual void KillMonitorThread();
  UINT MonitorProc(LPVOID param);

 private:
  cCallback m_callback;
  CString m_watchedFolder;
  cRWLockData m_lockData;
  HANDLE m_handles[2];
  DWORD m_nHandles;
  ThreadCmd m_command;
  HWND m_hNotifyWindow;
  UINT m_nNotifyMessage;
  CString m_requestedFolder;
  BOOL m_bWatchSubtree;
  DWORD m_dwFilter;
  BOOL m_bNotify;
};
