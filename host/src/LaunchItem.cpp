// Launch items, their kinds, the shared component wrappers and the list (see LaunchItem.h).
#include "LaunchItem.h"

#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "ForgeDoc.h"
#include "LaunchRules.h"
#include "NXMisc.h"
#include "WaitMsg.h"
#include "host/HostIds.h"
#include "secfile.h"
#include "sectmpl.h"

namespace {

cLaunchHost* g_host = NULL;
CPtrArray g_components;  // cNXComponentCOM*

const UINT kItemBlockSize = 10;
const char kFileTypesKey[] = "FileTypesSupported";
// The command group and command through which a document object takes a path.

std::string Std(const CString& text) { return std::string(LPCSTR(text)); }

std::vector<std::string> Types(const CStringArray& types) {
  std::vector<std::string> out;
  for (INT_PTR i = 0; i < types.GetSize(); ++i) out.push_back(Std(types[i]));
  return out;
}

BOOL FileExists(LPCSTR path) {
  DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL IconsOf(LPCSTR file, int index, HICON* large, HICON* small) {
  if (!file || !*file) return FALSE;
  HICON big = NULL, little = NULL;
  UINT count = ::ExtractIconExA(file, index, &big, &little, 1);
  if (count == 0 || count == UINT(-1) || (!big && !little)) return FALSE;
  *large = big;
  *small = little;
  return TRUE;
}

CString ReadString(SECRegistry& key, LPCSTR name) {
  CString value;
  key.QueryValue(name, value);
  return value;
}

DWORD ReadNumber(SECRegistry& key, LPCSTR name) {
  DWORD value = 0;
  key.QueryValue(name, value);
  return value;
}

// The class id of a ProgID or "{...}" text.
BOOL ClassIdOf(const CString& locator, CLSID* clsid) {
  WCHAR wide[128];
  if (!::MultiByteToWideChar(CP_ACP, 0, locator, -1, wide, 128)) return FALSE;
  if (locator.GetLength() > 0 && locator[0] == '{') return SUCCEEDED(::CLSIDFromString(wide, clsid));
  return SUCCEEDED(::CLSIDFromProgID(wide, clsid));
}

CString ClassIdText(REFCLSID clsid) {
  WCHAR wide[64];
  ::StringFromGUID2(clsid, wide, 64);
  char text[64];
  ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, NULL, NULL);
  return text;
}

// The server path of the class under subKey ("InProcServer32", "LocalServer32"), quotes and arguments
// removed.
BOOL ServerPathOf(REFCLSID clsid, LPCSTR subKey, CString& path) {
  SECRegistry key;
  if (!key.Open(HKEY_CLASSES_ROOT, "CLSID\\" + ClassIdText(clsid) + "\\" + subKey)) return FALSE;
  CString value;
  if (!key.QueryValue(NULL, value) || value.IsEmpty()) return FALSE;
  if (value[0] == '"') {
    int close = value.Find('"', 1);
    value = close > 0 ? value.Mid(1, close - 1) : value.Mid(1);
  } else {
    CString lower = value;
    lower.MakeLower();
    int exe = lower.Find(".exe ");
    if (exe >= 0) value = value.Left(exe + 4);
  }
  path = value;
  return TRUE;
}

CString LongPath(LPCSTR path) {
  char buffer[MAX_PATH];
  DWORD length = ::GetLongPathNameA(path, buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? CString(buffer) : CString(path);
}

CString FileNameOf(const CString& path) {
  int slash = path.ReverseFind('\\');
  return slash >= 0 ? path.Mid(slash + 1) : path;
}

// Activates the first view's frame of doc and the main frame.
void ActivateDocument(CDocument* doc) {
  POSITION pos = doc->GetFirstViewPosition();
  CView* view = pos ? doc->GetNextView(pos) : NULL;
  if (view && view->GetParentFrame()) view->GetParentFrame()->ActivateFrame();
  if (g_host) g_host->ActivateMainFrame();
}

void Show(UINT id) {
  if (g_host) g_host->ShowMessage(id);
}

// Invokes a member of object by dispatch id; result may be null.
HRESULT InvokeId(IDispatch* object, DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
  DISPPARAMS params = {args, NULL, count, 0};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, NULL, NULL);
}

CString Narrow(BSTR text) {
  char buffer[MAX_PATH * 2] = "";
  ::WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, NULL, NULL);
  return buffer;
}

}  // namespace

void SetLaunchHost(cLaunchHost* host) { g_host = host; }
cLaunchHost* GetLaunchHost() { return g_host; }

// ---------------------------------------------------------------------------------------------

cNXComponentCOM::cNXComponentCOM(REFCLSID clsid, INXComponent* component)
    : m_clsid(clsid), m_pComponent(component), m_nRefs(1) {}

cNXComponentCOM::~cNXComponentCOM() {
  if (m_pComponent) m_pComponent->Release();
}

cNXComponentCOM* cNXComponentCOM::Get(REFCLSID clsid) {
  for (INT_PTR i = 0; i < g_components.GetSize(); ++i) {
    cNXComponentCOM* wrapper = static_cast<cNXComponentCOM*>(g_components[i]);
    if (IsEqualCLSID(wrapper->m_clsid, clsid)) {
      wrapper->AddRef();
      return wrapper;
    }
  }
  INXComponent* component = NULL;
  if (FAILED(::CoCreateInstance(clsid, NULL, CLSCTX_INPROC_SERVER, IID_INXComponent, (void**)&component)) ||
      !component)
    return NULL;
  cNXComponentCOM* wrapper = new cNXComponentCOM(clsid, component);
  if (!component->Initialize()) {
    wrapper->Release();
    return NULL;
  }
  g_components.Add(wrapper);
  return wrapper;
}

int cNXComponentCOM::GetTableSize() { return int(g_components.GetSize()); }

ULONG cNXComponentCOM::AddRef() { return m_pComponent ? ++m_nRefs : 0; }

ULONG cNXComponentCOM::Release() {
  ULONG refs = --m_nRefs;
  if (refs == 0) {
    for (INT_PTR i = 0; i < g_components.GetSize(); ++i)
      if (g_components[i] == this) g_components.RemoveAt(i--);
    delete this;
  }
  return refs;
}

// ---------------------------------------------------------------------------------------------

cSTSelectionList::cSTSelectionList(IDispatch* slideTable) {
  if (!slideTable) return;
  VARIANT slides;
  VariantInit(&slides);
  if (FAILED(InvokeId(slideTable, DISPID_GALLERY_SELECTEDSLIDES, DISPATCH_PROPERTYGET, NULL, 0, &slides)) ||
      slides.vt != VT_DISPATCH || !slides.pdispVal) {
    VariantClear(&slides);
    return;
  }
  VARIANT enumerator;
  VariantInit(&enumerator);
  IEnumVARIANT* items = NULL;
  if (SUCCEEDED(InvokeId(slides.pdispVal, DISPID_NEWENUM, DISPATCH_PROPERTYGET | DISPATCH_METHOD, NULL, 0,
                         &enumerator)) &&
      (enumerator.vt == VT_UNKNOWN || enumerator.vt == VT_DISPATCH) && enumerator.punkVal)
    enumerator.punkVal->QueryInterface(IID_IEnumVARIANT, (void**)&items);
  if (items) {
    VARIANT slide;
    VariantInit(&slide);
    ULONG fetched = 0;
    while (items->Next(1, &slide, &fetched) == S_OK && fetched == 1) {
      VARIANT path;
      VariantInit(&path);
      if (slide.vt == VT_DISPATCH && slide.pdispVal &&
          SUCCEEDED(InvokeId(slide.pdispVal, DISPID_SLIDE_PATH, DISPATCH_PROPERTYGET, NULL, 0, &path)) &&
          path.vt == VT_BSTR)
        Add(Narrow(path.bstrVal));
      VariantClear(&path);
      VariantClear(&slide);
    }
    items->Release();
  }
  VariantClear(&enumerator);
  VariantClear(&slides);
}

// ---------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(cLaunchItem, CObject)
IMPLEMENT_DYNAMIC(cDllLaunchItem, cLaunchItem)
IMPLEMENT_DYNAMIC(cSTLaunchItem, cDllLaunchItem)
IMPLEMENT_DYNAMIC(cDocObjLaunchItem, cLaunchItem)
IMPLEMENT_DYNAMIC(cAppLaunchItem, cLaunchItem)
IMPLEMENT_DYNAMIC(cWorkspaceLaunchItem, cLaunchItem)

cLaunchItem::cLaunchItem()
    : m_dwDockState(0), m_bAllFiles(FALSE), m_bPreLaunch(FALSE), m_bPermanent(FALSE), m_pDocTemplate(NULL) {}

cLaunchItem::~cLaunchItem() {}

cLaunchItem* cLaunchItem::Create(LPCSTR kind) {
  if (lstrcmpA(kind, "Dll") == 0) return new cDllLaunchItem;
  if (lstrcmpA(kind, "DocObject") == 0) return new cDocObjLaunchItem;
  if (lstrcmpA(kind, "Application") == 0) return new cAppLaunchItem;
  if (lstrcmpA(kind, "Workspace") == 0) return new cWorkspaceLaunchItem;
  return NULL;
}

BOOL cLaunchItem::LoadTemplate() {
  if (!m_pDocTemplate && g_host) m_pDocTemplate = g_host->NewWorkspaceTemplate();
  return m_pDocTemplate != NULL;
}

BOOL cLaunchItem::Read(SECRegistry& key) {
  if (!key.QueryValue("Locator", m_strLocator) || m_strLocator.IsEmpty()) return FALSE;
  if (!key.QueryValue("Label", m_strLabel)) m_strLabel = DeriveLabel();
  m_strIconPath = ReadString(key, "IconPath");
  m_strDocPath = ReadString(key, "DocPath");
  m_dwDockState = ReadNumber(key, "DockState");
  m_bAllFiles = ReadNumber(key, "AllFilesSupported") != 0;
  m_bPreLaunch = ReadNumber(key, "PreLaunch") != 0;
  m_strArguments = ReadString(key, "CommandLineArgs");
  m_bPermanent = ReadNumber(key, "Permanent") != 0;
  ReadFileTypes(key);
  return TRUE;
}

BOOL cLaunchItem::Write(SECRegistry& key) {
  if (!key.SetValue(NULL, GetKind())) return FALSE;
  BOOL ok = key.SetValue("Locator", m_strLocator) && key.SetValue("Label", m_strLabel) &&
            key.SetValue("IconPath", m_strIconPath) && key.SetValue("DocPath", m_strDocPath) &&
            key.SetValue("DockState", m_dwDockState) && key.SetValue("AllFilesSupported", DWORD(m_bAllFiles)) &&
            key.SetValue("PreLaunch", DWORD(m_bPreLaunch)) && key.SetValue("Permanent", DWORD(m_bPermanent));
  if (ok && !m_strArguments.IsEmpty()) ok = key.SetValue("CommandLineArgs", m_strArguments);
  return WriteFileTypes(key) && ok;
}

BOOL cLaunchItem::WriteFileTypes(SECRegistry& key) {
  key.DeleteKey(kFileTypesKey);
  if (m_arrFileTypes.GetSize() == 0) return TRUE;
  SECRegistry types;
  if (!types.Create(key, kFileTypesKey)) return FALSE;
  BOOL ok = TRUE;
  for (INT_PTR i = 0; i < m_arrFileTypes.GetSize(); ++i) ok = types.SetValue(m_arrFileTypes[i], m_arrFileTypes[i]) && ok;
  return ok;
}

BOOL cLaunchItem::ReadFileTypes(SECRegistry& key) {
  SECRegistry types;
  if (!types.Open(key, kFileTypesKey)) return FALSE;
  CStringArray names;
  types.GetValueNames(names);
  m_arrFileTypes.Append(names);
  return TRUE;
}

CString cLaunchItem::DeriveLabel() { return SECFileTitle(m_strLocator); }

BOOL cLaunchItem::SupportsFile(LPCSTR path) {
  if (m_bAllFiles) return TRUE;
  return launchrules::ExtensionSupported(Std(ResolveShortcut(path)), Types(m_arrFileTypes));
}

BOOL cLaunchItem::GetFileTypes(CString& label, CString& filter) {
  if (m_arrFileTypes.GetSize() == 0) return FALSE;
  std::string labelText, filterText;
  launchrules::ItemFilter(Std(m_strLabel), Types(m_arrFileTypes), labelText, filterText);
  label = labelText.c_str();
  filter = filterText.c_str();
  return TRUE;
}

BOOL cLaunchItem::GetIcon(HICON* large, HICON* small) {
  *large = *small = NULL;
  if (!m_strIconPath.IsEmpty()) {
    std::string file;
    int index = 0;
    launchrules::SplitIconPath(Std(m_strIconPath), file, index);
    return IconsOf(file.c_str(), index, large, small);
  }
  return GetServerIcon(large, small);
}

BOOL cLaunchItem::GetServerIcon(HICON*, HICON*) { return FALSE; }

BOOL cLaunchItem::GetProgramPath(CString& path) {
  path.Empty();
  return FALSE;
}

BOOL cLaunchItem::OpenGallerySelection() {
  IDispatch* slideTable = g_host ? g_host->GetVisibleSlideTable() : NULL;
  if (!slideTable) return FALSE;
  cSTSelectionList selection(slideTable);
  BOOL opened = FALSE;
  for (INT_PTR i = 0; i < selection.GetSize(); ++i)
    if (SupportsFile(selection[i])) opened = OpenDocument(selection[i]) || opened;
  InvokeId(slideTable, DISPID_GALLERY_SELECTNONE, DISPATCH_METHOD, NULL, 0, NULL);
  slideTable->Release();
  return opened;
}

BOOL cLaunchItem::Launch(BOOL) {
  if (!IsAvailable()) {
    Show(IDS_ITEM_UNAVAILABLE);
    return FALSE;
  }
  BOOL opened = OpenGallerySelection();
  if (opened && !IsKindOf(RUNTIME_CLASS(cDocObjLaunchItem))) return TRUE;
  return LaunchKind();
}

CDocument* cLaunchItem::OpenThroughTemplate(LPCSTR path) {
  SECMultiDocTemplate* docked = dynamic_cast<SECMultiDocTemplate*>(m_pDocTemplate);
  if (docked) return docked->OpenDocumentFile(path, TRUE, m_dwDockState == 1);
  return m_pDocTemplate ? m_pDocTemplate->OpenDocumentFile(path, TRUE) : NULL;
}

BOOL cLaunchItem::OpenDocument(LPCSTR path) {
  if (!IsAvailable()) {
    Show(IDS_ITEM_UNAVAILABLE);
    return FALSE;
  }
  cWaitMsg wait(IDS_WAIT_STARTING);
  try {
    return OpenThroughTemplate(path) != NULL;
  } catch (CException* e) {
    e->Delete();
    Show(IDS_OPEN_FAILED);
    return FALSE;
  }
}

BOOL cLaunchItem::OpenDroppedFiles(COleDataObject* data) {
  CStringArray files;
  if (!data || !data->GetFileNames(files)) return FALSE;
  BOOL opened = FALSE;
  for (INT_PTR i = 0; i < files.GetSize(); ++i) {
    CString file = ResolveShortcut(files[i]);
    if (SupportsFile(file)) opened = OpenDocument(file) || opened;
  }
  return opened;
}

BOOL cLaunchItem::OnDrop(COleDataObject* data) { return OpenDroppedFiles(data); }

// ---------------------------------------------------------------------------------------------

cDllLaunchItem::cDllLaunchItem() : m_pComponent(NULL) {}

cDllLaunchItem::~cDllLaunchItem() {
  if (m_pComponent) m_pComponent->Release();
}

BOOL cDllLaunchItem::GetClassID(CLSID* clsid) { return ClassIdOf(m_strLocator, clsid); }

BOOL cDllLaunchItem::GetClassIDString(CString& text) {
  CLSID clsid;
  if (!GetClassID(&clsid)) return FALSE;
  text = ClassIdText(clsid);
  return TRUE;
}

BOOL cDllLaunchItem::GetServerPath(CString& path) {
  CLSID clsid;
  return GetClassID(&clsid) && ServerPathOf(clsid, "InProcServer32", path);
}

CString cDllLaunchItem::DeriveLabel() { return launchrules::LocatorLabel(Std(m_strLocator)).c_str(); }

BOOL cDllLaunchItem::LoadTemplate() {
  if (m_pComponent) return m_pDocTemplate != NULL;
  CLSID clsid;
  if (!GetClassID(&clsid)) return FALSE;
  m_pComponent = cNXComponentCOM::Get(clsid);
  if (!m_pComponent) return FALSE;
  m_pDocTemplate = m_pComponent->GetComponent()->GetDocTemplate();
  if (m_pDocTemplate && !m_pDocTemplate->m_hMenuInPlace) {
    try {
      m_pDocTemplate->SetContainerInfo(IDR_COMPONENTMENU);
    } catch (CException* e) {
      e->Delete();  // the component's documents open without a merged container menu
    }
  }
  return m_pDocTemplate != NULL;
}

BOOL cDllLaunchItem::IsAvailable() {
  CString server;
  return m_pComponent && m_pDocTemplate && GetServerPath(server) && FileExists(server);
}

BOOL cDllLaunchItem::GetServerIcon(HICON* large, HICON* small) {
  CString server;
  return GetServerPath(server) && IconsOf(server, 0, large, small);
}

BOOL cDllLaunchItem::GetFileTypes(CString& label, CString& filter) {
  if (!cLaunchItem::GetFileTypes(label, filter)) return FALSE;
  std::string labelText, filterText;
  launchrules::ItemFilter(launchrules::ComponentFilterLabel(Std(m_strLocator)), Types(m_arrFileTypes), labelText,
                          filterText);
  label = labelText.c_str();
  return TRUE;
}

BOOL cDllLaunchItem::OpenDocument(LPCSTR path) {
  if (!IsAvailable()) {
    Show(IDS_ITEM_UNAVAILABLE);
    return FALSE;
  }
  m_pComponent->GetComponent()->ActivateResources();
  CDocument* open = NULL;
  if (m_pDocTemplate->MatchDocType(path, open) == CDocTemplate::yesAlreadyOpen && open) {
    ActivateDocument(open);
    return TRUE;
  }
  CString file = path;
  if (file.Find('~') >= 0) {
    cPathName name(file);
    file = name.GetDriveAndPath() + "\\" + name.GetExpandedPart(file);
  }
  cWaitMsg wait(IDS_WAIT_STARTING);
  try {
    return OpenThroughTemplate(file) != NULL;
  } catch (CException* e) {
    e->Delete();
    Show(IDS_OPEN_FAILED);
    return FALSE;
  }
}

BOOL cDllLaunchItem::LaunchKind() {
  m_pComponent->GetComponent()->ActivateResources();
  CDocument* open = NULL;
  if (!m_strDocPath.IsEmpty() && m_pDocTemplate->MatchDocType(m_strDocPath, open) == CDocTemplate::yesAlreadyOpen &&
      open) {
    if (open->GetFirstViewPosition()) open->OnOpenDocument(m_strDocPath);
    ActivateDocument(open);
    return TRUE;
  }
  CDocument* doc = NULL;
  try {
    doc = OpenThroughTemplate(m_strDocPath.IsEmpty() ? NULL : LPCSTR(m_strDocPath));
  } catch (CException* e) {
    e->Delete();
    Show(IDS_OPEN_FAILED);
    return FALSE;
  }
  if (doc) m_strLabel = doc->GetTitle();
  return doc != NULL;
}

cSTLaunchItem::cSTLaunchItem() {
  m_strLocator = ORV_GALLERY_PROGID;
  m_strLabel = "Gallery";
  m_dwDockState = 1;
}

BOOL cSTLaunchItem::LaunchKind() {
  CString folder;
  SECRegistry prefs;
  if (prefs.Open(HKEY_CURRENT_USER, ORV_GALLERY_PREFS_KEY)) prefs.QueryValue("Dockable Image Directory", folder);
  CDocument* doc = NULL;
  try {
    SECMultiDocTemplate* docked = dynamic_cast<SECMultiDocTemplate*>(m_pDocTemplate);
    // No folder remembered yet: an empty slide table.
    LPCSTR path = folder.IsEmpty() ? NULL : LPCSTR(folder);
    doc = docked ? docked->OpenDocumentFile(path, TRUE, TRUE) : m_pDocTemplate->OpenDocumentFile(path, TRUE);
  } catch (CException* e) {
    e->Delete();
    Show(IDS_OPEN_FAILED);
    return FALSE;
  }
  if (doc) doc->SetTitle(m_strLabel);
  return doc != NULL;
}

// ---------------------------------------------------------------------------------------------

BOOL cDocObjLaunchItem::GetClassID(CLSID* clsid) { return ClassIdOf(m_strLocator, clsid); }

BOOL cDocObjLaunchItem::GetClassIDString(CString& text) {
  CLSID clsid;
  if (!GetClassID(&clsid)) return FALSE;
  text = ClassIdText(clsid);
  return TRUE;
}

BOOL cDocObjLaunchItem::GetServerPath(CString& path) {
  CLSID clsid;
  if (!GetClassID(&clsid)) return FALSE;
  return ServerPathOf(clsid, "LocalServer32", path) || ServerPathOf(clsid, "InProcServer32", path);
}

CString cDocObjLaunchItem::DeriveLabel() { return launchrules::LocatorLabel(Std(m_strLocator)).c_str(); }

BOOL cDocObjLaunchItem::IsDocObjectServer() {
  CLSID clsid;
  if (!GetClassID(&clsid)) return FALSE;
  SECRegistry key;
  if (key.Open(HKEY_CLASSES_ROOT, "CLSID\\" + ClassIdText(clsid) + "\\DocObject")) return TRUE;
  return m_strLocator.GetLength() > 0 && m_strLocator[0] != '{' &&
         key.Open(HKEY_CLASSES_ROOT, m_strLocator + "\\Insertable");
}

BOOL cDocObjLaunchItem::LoadTemplate() {
  if (!cLaunchItem::LoadTemplate()) return FALSE;
  // The template's documents embed the item's server: its file type id names the server.
  CString label = m_strLabel.IsEmpty() ? DeriveLabel() : m_strLabel;
  m_pDocTemplate->m_strDocStrings = "\n" + label + "\n" + label + "\n\n\n" + m_strLocator + "\n" + label + " Document";
  return TRUE;
}

BOOL cDocObjLaunchItem::IsAvailable() {
  CString server;
  return m_pDocTemplate && IsDocObjectServer() && GetServerPath(server) && FileExists(server);
}

BOOL cDocObjLaunchItem::GetServerIcon(HICON* large, HICON* small) {
  CString server;
  return GetServerPath(server) && IconsOf(server, 0, large, small);
}

BOOL cDocObjLaunchItem::GetFileTypes(CString& label, CString& filter) {
  if (cLaunchItem::GetFileTypes(label, filter)) return TRUE;
  CLSID clsid;
  SECRegistry key;
  CString value;
  if (!GetClassID(&clsid) || !key.Open(HKEY_CLASSES_ROOT, "CLSID\\" + ClassIdText(clsid) + "\\DefaultExtension") ||
      !key.QueryValue(NULL, value))
    return FALSE;
  int comma = value.Find(',');
  filter = comma >= 0 ? value.Left(comma) : value;
  label = comma >= 0 ? value.Mid(comma + 1) : CString();
  label.TrimLeft();
  return filter.GetLength() > 1;
}

BOOL cDocObjLaunchItem::LaunchKind() {
  CDocument* doc = NULL;
  POSITION pos = m_pDocTemplate->GetFirstDocPosition();
  if (pos) {
    doc = m_pDocTemplate->GetNextDoc(pos);
    ActivateDocument(doc);
  } else {
    cWaitMsg wait(IDS_WAIT_STARTING);
    try {
      doc = m_pDocTemplate->OpenDocumentFile(NULL, TRUE);
    } catch (CException* e) {
      e->Delete();
      Show(IDS_OPEN_FAILED);
      return FALSE;
    }
  }
  if (!doc) return FALSE;
  if (!m_strDocPath.IsEmpty()) {
    if (CForgeDoc* forge = dynamic_cast<CForgeDoc*>(doc)) forge->SendPath(m_strDocPath);
    doc->SetTitle(m_strLabel);
  }
  return TRUE;
}

// ---------------------------------------------------------------------------------------------

BOOL cAppLaunchItem::LoadTemplate() { return cLaunchItem::LoadTemplate(); }

BOOL cAppLaunchItem::GetProgramPath(CString& path) {
  path = launchrules::ProgramFile(Std(m_strLocator)).c_str();
  return !path.IsEmpty();
}

BOOL cAppLaunchItem::IsAvailable() {
  CString program;
  return m_pDocTemplate && GetProgramPath(program) && FileExists(program);
}

BOOL cAppLaunchItem::GetServerIcon(HICON* large, HICON* small) {
  CString program;
  return GetProgramPath(program) && IconsOf(program, 0, large, small);
}

BOOL cAppLaunchItem::OpenDocument(LPCSTR path) {
  if (!IsAvailable()) {
    Show(IDS_ITEM_UNAVAILABLE);
    return FALSE;
  }
  std::string command = launchrules::DocumentCommand(Std(m_strLocator), path ? path : "", Std(m_strArguments));
  return !command.empty() && StartProgram(command.c_str());
}

BOOL cAppLaunchItem::LaunchKind() {
  return StartProgram(launchrules::LaunchCommand(Std(m_strLocator), Std(m_strArguments)).c_str());
}

// ---------------------------------------------------------------------------------------------

BOOL cWorkspaceLaunchItem::LoadTemplate() { return cLaunchItem::LoadTemplate(); }

BOOL cWorkspaceLaunchItem::IsAvailable() { return m_pDocTemplate && FileExists(m_strLocator); }

BOOL cWorkspaceLaunchItem::LaunchKind() {
  if (!g_host) return FALSE;
  cWaitMsg wait(IDS_WAIT_STARTING);
  if (g_host->GetCurrentWorkspace().CompareNoCase(m_strLocator) == 0) return TRUE;
  return g_host->OpenWorkspace(m_strLocator);
}

BOOL cWorkspaceLaunchItem::OpenDocument(LPCSTR path) {
  if (!LaunchKind()) return FALSE;
  return cLaunchItem::OpenDocument(path);
}

// ---------------------------------------------------------------------------------------------

BOOL StartProgram(LPCSTR commandLine) {
  CString line = commandLine;
  STARTUPINFOA startup = {sizeof startup};
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA(NULL, line.GetBuffer(0), NULL, NULL, FALSE, CREATE_NEW_PROCESS_GROUP, NULL, NULL, &startup,
                        &process))
    return FALSE;
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return TRUE;
}

CString ResolveShortcut(LPCSTR path) {
  CString text = path;
  if (text.GetLength() < 4 || text.Right(4).CompareNoCase(".lnk") != 0) return text;
  IShellLinkA* link = NULL;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link)))
    return text;
  IPersistFile* file = NULL;
  char target[MAX_PATH] = "";
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
    WCHAR wide[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
    if (SUCCEEDED(file->Load(wide, STGM_READ))) link->GetPath(target, MAX_PATH, NULL, 0);
    file->Release();
  }
  link->Release();
  return *target ? CString(target) : text;
}

// ---------------------------------------------------------------------------------------------

cLaunchItemList::cLaunchItemList() : CObList(kItemBlockSize) {}

cLaunchItemList::~cLaunchItemList() { DeleteAll(); }

void cLaunchItemList::DeleteAll() {
  while (!IsEmpty()) delete static_cast<cLaunchItem*>(RemoveHead());
}

void cLaunchItemList::Load() {
  DeleteAll();
  SECRegistry root;
  if (root.Open(HKEY_CURRENT_USER, ORV_LAUNCH_ITEMS_KEY)) {
    CStringArray names;
    root.GetSubKeyNames(names);
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
      SECRegistry key;
      CString kind;
      if (!key.Open(root, names[i]) || !key.QueryValue(NULL, kind)) continue;
      // The Gallery's component item is the docked slide table's.
      CString locator;
      key.QueryValue("Locator", locator);
      cLaunchItem* item = kind == "Dll" && locator.CompareNoCase(ORV_GALLERY_PROGID) == 0 ? new cSTLaunchItem
                                                                                          : cLaunchItem::Create(kind);
      if (!item) continue;
      if (!item->Read(key)) {
        delete item;
        continue;
      }
      item->SetKeyName(names[i]);
      AddTail(item);
    }
  }
  // Permanent items first, each group in its own order.
  CObList others;
  for (POSITION pos = GetHeadPosition(); pos;) {
    POSITION at = pos;
    cLaunchItem* item = static_cast<cLaunchItem*>(GetNext(pos));
    if (!item->IsPermanent()) {
      others.AddTail(item);
      RemoveAt(at);
    }
  }
  AddTail(&others);
  Save();
}

BOOL cLaunchItemList::Save() {
  SECRegistry::DeleteKeyTree(HKEY_CURRENT_USER, ORV_LAUNCH_ITEMS_KEY);
  SECRegistry root;
  if (!root.Create(HKEY_CURRENT_USER, ORV_LAUNCH_ITEMS_KEY)) return FALSE;
  BOOL ok = TRUE;
  for (POSITION pos = GetHeadPosition(); pos;) {
    cLaunchItem* item = static_cast<cLaunchItem*>(GetNext(pos));
    SECRegistry key;
    ok = key.Create(root, item->GetKeyName()) && item->Write(key) && ok;
  }
  return ok;
}

void cLaunchItemList::LoadTemplates() {
  for (POSITION pos = GetHeadPosition(); pos;) static_cast<cLaunchItem*>(GetNext(pos))->LoadTemplate();
}

cLaunchItem* cLaunchItemList::GetItem(int index) const {
  POSITION pos = index >= 0 ? FindIndex(index) : NULL;
  return pos ? static_cast<cLaunchItem*>(GetAt(pos)) : NULL;
}

cLaunchItem* cLaunchItemList::FindByLocator(LPCSTR locator) const {
  for (POSITION pos = GetHeadPosition(); pos;) {
    cLaunchItem* item = static_cast<cLaunchItem*>(GetNext(pos));
    if (item->GetLocator().CompareNoCase(locator) == 0) return item;
  }
  return NULL;
}

cLaunchItem* cLaunchItemList::FindByProgramFile(LPCSTR path) const {
  CString wanted = FileNameOf(LongPath(path));
  for (POSITION pos = GetHeadPosition(); pos;) {
    cLaunchItem* item = static_cast<cLaunchItem*>(GetNext(pos));
    CString program;
    if (!item->GetProgramPath(program)) {
      if (cDllLaunchItem* dll = dynamic_cast<cDllLaunchItem*>(item)) dll->GetServerPath(program);
      if (cDocObjLaunchItem* doc = dynamic_cast<cDocObjLaunchItem*>(item)) doc->GetServerPath(program);
    }
    if (!program.IsEmpty() && FileNameOf(LongPath(program)).CompareNoCase(wanted) == 0) return item;
  }
  return NULL;
}

cLaunchItem* cLaunchItemList::FindForFile(LPCSTR path) const {
  for (POSITION pos = GetHeadPosition(); pos;) {
    cLaunchItem* item = static_cast<cLaunchItem*>(GetNext(pos));
    if (item->IsAvailable() && item->SupportsFile(path)) return item;
  }
  return NULL;
}

BOOL cLaunchItemList::CanAdd() const { return GetCount() < ORV_MAX_LAUNCH_ITEMS; }

BOOL cLaunchItemList::HasRemovable() const {
  for (POSITION pos = GetHeadPosition(); pos;)
    if (!static_cast<cLaunchItem*>(GetNext(pos))->IsPermanent()) return TRUE;
  return FALSE;
}

void cLaunchItemList::Insert(cLaunchItem* item, int index) {
  // Key names must differ, or two items would share one subkey when the list is written.
  CString name = item->GetLabel().IsEmpty() ? CString("Item") : item->GetLabel();
  CString unique = name;
  for (int n = 2;; ++n) {
    BOOL taken = FALSE;
    for (POSITION pos = GetHeadPosition(); pos && !taken;)
      taken = static_cast<cLaunchItem*>(GetNext(pos))->GetKeyName().CompareNoCase(unique) == 0;
    if (!taken) break;
    unique.Format("%s (%d)", LPCSTR(name), n);
  }
  item->SetKeyName(unique);
  POSITION at = index >= 0 ? FindIndex(index) : NULL;
  if (at)
    InsertBefore(at, item);
  else
    AddTail(item);
}

BOOL cLaunchItemList::Remove(cLaunchItem* item) {
  POSITION at = Find(item);
  if (!at) return FALSE;
  CDocTemplate* docTemplate = item->GetDocTemplate();
  cDllLaunchItem* component = dynamic_cast<cDllLaunchItem*>(item);
  if (component && docTemplate && component->GetComponentWrapper() &&
      component->GetComponentWrapper()->GetRefCount() == 1) {
    if (!docTemplate->SaveAllModified()) return FALSE;
    docTemplate->CloseAllDocuments(FALSE);
  }
  RemoveAt(at);
  BOOL shared = FALSE;
  for (POSITION pos = GetHeadPosition(); pos && docTemplate && !shared;)
    shared = static_cast<cLaunchItem*>(GetNext(pos))->GetDocTemplate() == docTemplate;
  if (docTemplate && !shared && !component) docTemplate->m_strDocStrings.Empty();
  delete item;
  return TRUE;
}

CString cLaunchItemList::BuildOpenFilter(LPCSTR allSupportedName, LPCSTR allFilesName) const {
  std::vector<std::pair<std::string, std::string>> items;
  for (POSITION pos = GetHeadPosition(); pos;) {
    cLaunchItem* item = static_cast<cLaunchItem*>(GetNext(pos));
    CString label, filter;
    if (!item->GetLabel().IsEmpty() && item->GetFileTypes(label, filter)) items.emplace_back(Std(label), Std(filter));
  }
  return launchrules::JoinFilters(launchrules::OpenDialogFilters(items, allSupportedName, allFilesName)).c_str();
}

BOOL cLaunchItemList::WriteDefaultItems() {
  SECRegistry root;
  CStringArray existing;
  if (root.Open(HKEY_CURRENT_USER, ORV_LAUNCH_ITEMS_KEY) && root.GetSubKeyNames(existing) && existing.GetSize() > 0)
    return FALSE;
  cLaunchItemList list;
  cSTLaunchItem* gallery = new cSTLaunchItem;
  gallery->SetPermanent(TRUE);
  gallery->SetPreLaunch(TRUE);
  list.Insert(gallery, -1);
  struct Optional {
    LPCSTR progId;
    LPCSTR label;
  };
  for (const Optional& component : {Optional{ORV_ENHANCER_PROGID, "Enhancer"}, Optional{ORV_BROWSER_PROGID, "Browser"}}) {
    CLSID clsid;
    if (!ClassIdOf(component.progId, &clsid)) continue;
    cDllLaunchItem* item = new cDllLaunchItem;
    item->SetLocator(component.progId);
    item->SetLabel(component.label);
    list.Insert(item, -1);
  }
  return list.Save();
}

// ---------------------------------------------------------------------------------------------

cLaunchItem* AddProgramItem(cLaunchItemList& list, LPCSTR programPath, int index) {
  if (!list.CanAdd()) return NULL;
  CString program = LongPath(ResolveShortcut(programPath));
  // A document-object server's program adds its class rather than the program.
  SECRegistry classes;
  CString progId;
  if (classes.Open(HKEY_CLASSES_ROOT, "CLSID")) {
    CStringArray ids;
    classes.GetSubKeyNames(ids);
    for (INT_PTR i = 0; i < ids.GetSize() && progId.IsEmpty(); ++i) {
      SECRegistry docObject, progIdKey;
      CLSID clsid;
      CString server;
      WCHAR wide[64];
      ::MultiByteToWideChar(CP_ACP, 0, ids[i], -1, wide, 64);
      if (!docObject.Open(classes, ids[i] + "\\DocObject") || FAILED(::CLSIDFromString(wide, &clsid)) ||
          !ServerPathOf(clsid, "LocalServer32", server) || LongPath(server).CompareNoCase(program) != 0)
        continue;
      if (progIdKey.Open(classes, ids[i] + "\\ProgID")) progIdKey.QueryValue(NULL, progId);
    }
  }
  cLaunchItem* item = NULL;
  if (!progId.IsEmpty() && !list.FindByLocator(progId)) {
    item = new cDocObjLaunchItem;
    item->SetLocator(progId);
  } else if (progId.IsEmpty() && !list.FindByLocator(program)) {
    item = new cAppLaunchItem;
    item->SetLocator(program);
  } else {
    Show(IDS_ITEM_EXISTS);
    return NULL;
  }
  item->SetLabel(FileNameOf(program));
  item->SetAllFiles(TRUE);
  item->LoadTemplate();
  list.Insert(item, index);
  return item;
}
