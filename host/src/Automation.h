// The host's automation object "Forge.Automation": the methods through which the Gallery, the TWAIN control
// and pages shown in the Browser drive the host (open a file, the slide table, launch items, version numbers,
// running a command), served in this process and to other processes by the object factory.
#pragma once
#include <afxdisp.h>

// The automation class's id, {593DA147-A93F-11D1-B44F-00A0148F3AF9}.
extern const CLSID CLSID_ForgeAutomation;

class cForgeAutomation : public CCmdTarget {
  DECLARE_DYNCREATE(cForgeAutomation)
 public:
  cForgeAutomation();
  ~cForgeAutomation() override;

  void Open(LPCSTR path);
  LPDISPATCH SlideTable();
  BOOL Launch(LPCSTR locator);
  BOOL SetGalleryPath(LPCSTR folder);
  BOOL LaunchDocObject(LPCSTR locator);
  void ShowSlideTable(BOOL show);
  void DockSlideTable(short side);
  CString GetVersionNumbers();
  void RunCommand(LPCSTR command);

  DECLARE_DISPATCH_MAP()
};

// Registers the class (the names from string 438, the safe-for-scripting categories); false on failure.
BOOL RegisterForgeAutomation();

// "format=01&countrycode=<country>&[release=<release>&][<name>=<version>&...][content=<installed>]" from the
// host's settings.
CString BuildVersionNumbers();
