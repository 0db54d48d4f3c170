// The Gallery component library: the component class, its template and child frame, and its server entry points.
#include "gallery/GalleryComponent.h"

#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "framework/NXComponentServer.h"
#include "gallery/GalleryIds.h"
#include "gallery/GalleryText.h"
#include "gallery/SlideTableDoc.h"
#include "gallery/SlideTableView.h"
#include "media/NXMedia.h"

const CLSID CLSID_NXGalleryComponent = {0x78310281, 0xAFCD, 0x11D2, {0xAC, 0xD0, 0x00, 0xA0, 0x24, 0x8F, 0x3A, 0xF9}};
const CLSID CLSID_NXGalleryDocument = {0x40557F60, 0x2AC3, 0x11D2, {0xA4, 0xF5, 0xB4, 0xCE, 0x0C, 0xC1, 0x00, 0x00}};

namespace {
const char kMissingResources[] = GAL_RESOURCE_LIBRARY " is required to run this program!";
const char kCaption[] = "Gallery";
}  // namespace

// ---------------------------------------------------------------------------------------------
namespace {
// The part of string 342 at index (its parts are separated by line feeds).
CString ServerEntry(int index) {
  CString rest = GalleryText(IDS_GAL_SERVER_ENTRIES);
  for (int i = 0; i < index; ++i) {
    const int end = rest.Find('\n');
    if (end < 0) return CString();
    rest = rest.Mid(end + 1);
  }
  const int end = rest.Find('\n');
  return end < 0 ? rest : rest.Left(end);
}
}  // namespace

cAutomationServer::cAutomationServer(CCmdTarget* object)
    : COleObjectFactory(CLSID_NXGalleryDocument, NULL, FALSE, ServerEntry(0)), m_pObject(object),
      m_strVersionedProgID(ServerEntry(1)) {}

CCmdTarget* cAutomationServer::OnCreateObject() {
  m_pObject->ExternalAddRef();
  return m_pObject;
}

BOOL cAutomationServer::UpdateRegistry(BOOL registering) {
  if (registering) {
    // Only the names: the class is served by the process that has the table open (COM finds the running
    // factory), never by loading gallery.dll into a client, whose entry points do not serve it.
    WCHAR wide[64];
    StringFromGUID2(m_clsid, wide, 64);
    char clsid[64];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, clsid, sizeof clsid, NULL, NULL);
    const CString classKey = CString("CLSID\\") + clsid;
    const struct {
      CString key;
      CString value;
    } entries[] = {{m_strProgID, kCaption},
                   {m_strProgID + "\\CLSID", clsid},
                   {m_strVersionedProgID, kCaption},
                   {m_strVersionedProgID + "\\CLSID", clsid},
                   {classKey, kCaption},
                   {classKey + "\\ProgID", m_strVersionedProgID},
                   {classKey + "\\VersionIndependentProgID", m_strProgID}};
    for (const auto& entry : entries)
      if (RegSetValueA(HKEY_CLASSES_ROOT, entry.key, REG_SZ, entry.value, DWORD(entry.value.GetLength())) != ERROR_SUCCESS)
        return FALSE;
    return TRUE;
  }
  // The entries named by the resource string, whatever this factory wrote.
  BOOL removed = TRUE;
  const CString names[] = {ServerEntry(0), ServerEntry(1), "CLSID\\" + ServerEntry(2)};
  for (const CString& name : names) {
    if (name.IsEmpty() || name == "CLSID\\") continue;
    const LSTATUS status = SHDeleteKeyA(HKEY_CLASSES_ROOT, name);
    removed = removed && (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND);
  }
  return removed;
}

// ---------------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(cHybridDocTemplate, CMultiDocTemplate)

cHybridDocTemplate::cHybridDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                                       CRuntimeClass* viewClass)
    : CMultiDocTemplate(resourceId, docClass, frameClass, viewClass), m_dwExtra(0), m_pComponent(NULL) {}

cHybridDocTemplate::~cHybridDocTemplate() {
  if (m_pComponent) m_pComponent->SetTemplate(NULL);
  m_pComponent = NULL;
}

void cHybridDocTemplate::AddDocument(CDocument* doc) {
  CMultiDocTemplate::AddDocument(doc);
  m_ownDocs.AddTail(doc);
  if (m_pComponent) m_pComponent->DocumentAdded(doc);
}

void cHybridDocTemplate::RemoveDocument(CDocument* doc) {
  CMultiDocTemplate::RemoveDocument(doc);
  if (POSITION pos = m_ownDocs.Find(doc)) m_ownDocs.RemoveAt(pos);
  if (m_pComponent) m_pComponent->DocumentRemoved(doc);
}

CDocument* cHybridDocTemplate::OpenDocumentFile(LPCSTR path, BOOL makeVisible) {
  const DWORD saved = m_dwExtra;
  CDocument* doc = CMultiDocTemplate::OpenDocumentFile(path, makeVisible);
  m_dwExtra = saved;
  return doc;
}

void cHybridDocTemplate::SetDefaultTitle(CDocument* doc) {
  CString name;
  if (!GetDocString(name, docName) || name.IsEmpty())
    if (!name.LoadString(AFX_IDS_UNTITLED)) name = "Untitled";
  doc->SetTitle(name);
}

// ---------------------------------------------------------------------------------------------
IMPLEMENT_DYNCREATE(cGalleryChildFrame, cNXChildWnd)

// ---------------------------------------------------------------------------------------------
IMPLEMENT_NXCOMPONENT(cNXGalleryComponent, cNXComponent)

cNXGalleryComponent::cNXGalleryComponent() : m_pServer(NULL), m_pTemplate(NULL) { m_strRegistryKey = GAL_REGISTRY_KEY; }

cNXGalleryComponent::~cNXGalleryComponent() {
  // The template may outlive the component in the host, or be deleted before it.
  if (m_pTemplate) m_pTemplate->SetComponent(NULL);
  Withdraw();
}

void cNXGalleryComponent::DocumentAdded(CDocument* doc) {
  if (m_pServer || !dynamic_cast<cSlideTableDoc*>(doc)) return;
  m_pServer = new cAutomationServer(doc);
  // Clients that cannot reach the table by its class still get it from the host: a failure here is no
  // failure of the opening, and the debugger hears of it.
  if (!m_pServer->UpdateRegistry(TRUE) || !m_pServer->Register())
    OutputDebugStringA("Gallery: the automation server could not be registered\n");
}

void cNXGalleryComponent::DocumentRemoved(CDocument* doc) {
  if (!m_pServer || m_pServer->GetObject() != doc) return;
  Withdraw();
  if (m_pTemplate && !m_pTemplate->Documents().IsEmpty())
    DocumentAdded(static_cast<CDocument*>(m_pTemplate->Documents().GetHead()));
}

void cNXGalleryComponent::Withdraw() {
  if (!m_pServer) return;
  m_pServer->Revoke();
  m_pServer->UpdateRegistry(FALSE);
  delete m_pServer;
  m_pServer = NULL;
}

BOOL cNXGalleryComponent::LoadResources() {
  if (!LoadResourceLibrary(GAL_RESOURCE_LIBRARY)) {
    ::MessageBoxA(NULL, kMissingResources, kCaption, MB_OK | MB_ICONSTOP);
    return FALSE;
  }
  // The media library's texts, dialogs and default thumbnails join the resource chain.
  NXMediaStartup();
  return TRUE;
}

BOOL cNXGalleryComponent::CreateDocTemplate(CWinApp* app) {
  if (cNXComponent::CreateDocTemplate(app)) {
    m_pTemplate = dynamic_cast<cHybridDocTemplate*>(GetDocTemplate());
    if (m_pTemplate) m_pTemplate->SetComponent(this);
    return TRUE;
  }
  cHybridDocTemplate* docTemplate = new cHybridDocTemplate(IDR_GALLERY, RUNTIME_CLASS(cSlideTableDoc),
                                                           RUNTIME_CLASS(cGalleryChildFrame),
                                                           RUNTIME_CLASS(cSlideTableView));
  docTemplate->SetComponent(this);
  m_pTemplate = docTemplate;
  return InstallDocTemplate(app, docTemplate, IDR_GALLERY);
}

namespace {
const comkit::ClassEntry kClasses[] = {
    {&CLSID_NXGalleryComponent, &cNXGalleryComponent::Create, "Gallery", "NXComponent.Gallery.1",
     "NXComponent.Gallery", "Apartment", NULL, 0},
};
}  // namespace

NXCOMPONENT_EXPORTS(kClasses)
