// Export macro of the framework extension library orvsec.dll, shared by every header of the library.
#pragma once
#include <afxwin.h>

#ifdef ORVSEC_BUILD
#define SEC_API __declspec(dllexport)
#else
#define SEC_API __declspec(dllimport)
#endif
