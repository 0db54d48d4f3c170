// The extension DLL's module state: its instance handle and the count of live factories and objects.
#pragma once
#include <windows.h>

namespace orvext {

HINSTANCE ModuleInstance();

// Raised by each factory and extension object when constructed, lowered when destroyed; the DLL may be
// unloaded while it is zero. Interlocked: the shell may use the DLL from several threads at once.
void LockModule();
void UnlockModule();
LONG ModuleLockCount();

// The trace of the extension's calls, seen with a debugger or a debug-output viewer.
inline void Trace(const char* text) { OutputDebugStringA(text); }

}  // namespace orvext
