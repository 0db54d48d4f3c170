// cQuilloApp: the postcard program's application object. Its start loads the resource library quillores.dll
// (ending with the fixed message when it is missing), sets up the profile under
// HKEY_CURRENT_USER\Software\Nexlumen\<program name>, reads the command line, checks the card's media and runs
// the card window; its end records the program's path where the suite's other programs look for it.
#pragma once
#include <afxwin.h>

class cQuilloApp : public CWinApp {
 public:
  cQuilloApp();
  BOOL InitInstance() override;
  int ExitInstance() override;
  // The resource library, null before it is loaded.
  HINSTANCE GetResources() const { return m_hResources; }
  // Records the program's short full path as "Path" in its section of NEXLUMEN.INI and under "Location".
  void RecordLocation();

 private:
  HINSTANCE m_hResources;
};
