// Export and calling-convention macros of the framework library orvafx.dll.
#pragma once
#include <windows.h>

#ifdef ORVAFX_BUILD
#define AFX_API __declspec(dllexport)
#else
#define AFX_API __declspec(dllimport)
#endif
#define AFXAPI __stdcall
#define AFX_CDECL __cdecl
// Extension libraries export their classes with their own macro; this one is for code that follows
// the framework's wizard conventions.
#define AFX_EXT_CLASS
