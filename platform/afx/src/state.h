// Process-wide state of the framework library shared by its source files (not exported).
#pragma once
#include "afxwin.h"

namespace afxstate {

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

}  // namespace afxstate
