// The host's automation object and its factory (see Automation.h).
#include "Automation.h"

#include <objsafe.h>

#include "ForgeApp.h"
#include "LaunchRules.h"
#include "NXMisc.h"
#include "host/HostIds.h"
#include "secreg.h"

const CLSID CLSID_ForgeAutomation = {0x593DA147, 0xA93F, 0x11D1, {0xB4, 0x4F, 0x00, 0xA0, 0x14, 0x8F, 0x3A, 0xF9}};

namespace {

const char kDefaultCountry[] = "1";

class cForgeFactory : public COleObjectFactory {
 public:
  cForgeFactory()
      : COleObjectFactory(CLSID_ForgeAutomation, RUNTIME_CLASS(cForgeAutomation), FALSE, ORV_AUTOMATION_PROGID) {
    static const CATID safe[] = {CATID_SafeForScripting, CATID_SafeForInitializing};
    SetImplementedCategories(safe, 2);
  }
} g_factory;

// The product version of file as "%d.%d.%d"; false when it has no version resource.
BOOL FileVersion(LPCSTR file, CString& version) {
  DWORD handle = 0;
  DWORD size = ::GetFileVersionInfoSizeA(file, &handle);
  if (!size) return FALSE;
  CByteArray data;
  data.SetSize(size);
  VS_FIXEDFILEINFO* info = NULL;
  UINT length = 0;
  if (!::GetFileVersionInfoA(file, 0, size, data.GetData()) ||
      !::VerQueryValueA(data.GetData(), "\\", reinterpret_cast<void**>(&info), &length) || !info)
    return FALSE;
  version = launchrules::VersionText(info->dwProductVersionMS, info->dwProductVersionLS).c_str();
  return TRUE;
}

}  // namespace

IMPLEMENT_DYNCREATE(cForgeAutomation, CCmdTarget)

BEGIN_DISPATCH_MAP(cForgeAutomation, CCmdTarget)
  DISP_FUNCTION_ID(cForgeAutomation, "Open", DISPID_FORGE_OPEN, Open, VT_EMPTY, VTS_BSTR)
  DISP_FUNCTION_ID(cForgeAutomation, "SlideTable", DISPID_FORGE_SLIDETABLE, SlideTable, VT_DISPATCH, VTS_NONE)
  DISP_FUNCTION_ID(cForgeAutomation, "Launch", DISPID_FORGE_LAUNCH, Launch, VT_BOOL, VTS_BSTR)
  DISP_FUNCTION_ID(cForgeAutomation, "SetGalleryPath", DISPID_FORGE_SETGALLERYPATH, SetGalleryPath, VT_BOOL, VTS_BSTR)
  DISP_FUNCTION_ID(cForgeAutomation, "LaunchDocObject", DISPID_FORGE_LAUNCHDOCOBJECT, LaunchDocObject, VT_BOOL,
                   VTS_BSTR)
  DISP_FUNCTION_ID(cForgeAutomation, "ShowSlideTable", DISPID_FORGE_SHOWSLIDETABLE, ShowSlideTable, VT_EMPTY, VTS_BOOL)
  DISP_FUNCTION_ID(cForgeAutomation, "DockSlideTable", DISPID_FORGE_DOCKSLIDETABLE, DockSlideTable, VT_EMPTY, VTS_I2)
  DISP_FUNCTION_ID(cForgeAutomation, "GetVersionNumbers", DISPID_FORGE_GETVERSIONNUMBERS, GetVersionNumbers, VT_BSTR,
                   VTS_NONE)
  DISP_FUNCTION_ID(cForgeAutomation, "RunCommand", DISPID_FORGE_RUNCOMMAND, RunCommand, VT_EMPTY, VTS_BSTR)
END_DISPATCH_MAP()

// Each client's object keeps the program running while it lives; a program started by COM ends with the last.
cForgeAutomation::cForgeAutomation() {
  EnableAutomation();
  AfxOleLockApp();
}

cForgeAutomation::~cForgeAutomation() { AfxOleUnlockApp(); }

void cForgeAutomation::Open(LPCSTR path) { GetForgeApp()->OpenDocumentFile(path); }

LPDISPATCH cForgeAutomation::SlideTable() { return GetForgeApp()->GetSlideTable(FALSE); }

BOOL cForgeAutomation::Launch(LPCSTR locator) {
  cLaunchItem* item = GetForgeApp()->GetLaunchItems().FindByLocator(locator);
  return item ? item->Launch(FALSE) : FALSE;
}

BOOL cForgeAutomation::SetGalleryPath(LPCSTR folder) { return GetForgeApp()->SetGalleryPath(folder); }

BOOL cForgeAutomation::LaunchDocObject(LPCSTR locator) {
  cLaunchItem* item = GetForgeApp()->GetLaunchItems().FindByLocator(locator);
  return item && item->IsKindOf(RUNTIME_CLASS(cDocObjLaunchItem)) ? item->Launch(FALSE) : FALSE;
}

void cForgeAutomation::ShowSlideTable(BOOL show) { GetForgeApp()->ShowSlideTable(show); }

void cForgeAutomation::DockSlideTable(short side) { GetForgeApp()->DockSlideTable(side); }

CString cForgeAutomation::GetVersionNumbers() { return BuildVersionNumbers(); }

void cForgeAutomation::RunCommand(LPCSTR command) { ::RunProgram(command, NULL); }

BOOL RegisterForgeAutomation() {
  CString names;
  names.LoadString(IDS_AUTOMATION_NAMES);
  // "<ProgID>\n<short name>\n<long name>"
  int first = names.Find('\n');
  int second = first >= 0 ? names.Find('\n', first + 1) : -1;
  if (second < 0) return FALSE;
  g_factory.SetTypeNames(names.Mid(first + 1, second - first - 1), names.Mid(second + 1));
  return g_factory.UpdateRegistry(TRUE);
}

CString BuildVersionNumbers() {
  CString text = "format=01&";
  char country[16] = "";
  text += CString("countrycode=") +
          (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_ICOUNTRY, country, sizeof country) > 1 ? country : kDefaultCountry) +
          "&";
  SECRegistry version;
  CString release;
  if (version.Open(HKEY_CURRENT_USER, ORV_VERSION_KEY) && version.QueryValue("ReleaseNumber", release))
    text += "release=" + release + "&";
  for (int n = 1;; ++n) {
    CString keyName;
    keyName.Format(ORV_COMPONENTS_KEY "\\Item%d", n);
    SECRegistry item;
    if (!item.Open(HKEY_CURRENT_USER, keyName)) break;
    CString name, location, fileVersion;
    if (item.QueryValue("name", name) && item.QueryValue("location", location) && FileVersion(location, fileVersion))
      text += name + "=" + fileVersion + "&";
  }
  SECRegistry content;
  CString installed;
  if (content.Open(HKEY_CURRENT_USER, ORV_COMPONENTS_KEY "\\Content") && content.QueryValue("installed", installed))
    text += "content=" + installed;
  return text;
}
