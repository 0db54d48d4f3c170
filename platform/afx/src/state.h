// Process-wide state of the framework library shared by its source files (not exported).
#pragma once
#include "afxwin.h"

namespace afxstate {

// A pointer the compiler may assume nothing about. The GetSafe* members answer for a null wrapper: their
// test of `this` goes through here, or the compiler would drop it (a member's `this` is never null).
template <class T>
inline const T* Opaque(const T* p) {
  __asm__("" : "+r"(p));
  return p;
}

HMODULE FrameworkModule();  // orvafx.dll itself
// Loads one of the framework's own texts (from orvafx.dll); false when absent.
BOOL LoadFrameworkString(UINT id, CString& out);

struct AppState {
  CWinApp* app = NULL;
  HINSTANCE instance = NULL;
  HINSTANCE resource = NULL;
  CDynLinkLibrary* libraries = NULL;
};
AppState& State();

// A new object of runtimeClass, which must be a T (CNotSupportedException otherwise).
template <class T>
T* CreateObjectOf(CRuntimeClass* runtimeClass) {
  CObject* object = runtimeClass->CreateObject();
  T* typed = dynamic_cast<T*>(object);
  if (!typed) {
    delete object;
    AfxThrowNotSupportedException();
  }
  return typed;
}

// The next message for a loop of its own (a drag, a help mode); false at WM_QUIT, which is posted again for
// the loop outside.
inline BOOL NextMessage(MSG& msg) {
  if (::GetMessageA(&msg, NULL, 0, 0)) return TRUE;
  ::PostQuitMessage(int(msg.wParam));
  return FALSE;
}

// Inside a catch handler: what was thrown, as a framework exception (std::bad_alloc as the memory
// exception, anything else as a plain CException reported as an internal failure).
CException* CurrentExceptionAsFramework() noexcept;
// Inside a catch handler at a boundary with system code (window and dialog procedures, hooks, thread
// starts): reports what was thrown through the thread's ProcessWndProcException, deletes it, and gives the
// result the message should have. msg is the message being handled (zero for none).
LRESULT ReportAtBoundary(const MSG& msg) noexcept;

}  // namespace afxstate
