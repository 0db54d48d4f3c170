// The Gallery component library: the component class, its template and child frame, and its server entry points.
#include "gallery/GalleryComponent.h"

#include <algorithm>
#include <vector>

#include "framework/NXComponentServer.h"
#include "gallery/GalleryIds.h"
#include "gallery/SlideTableDoc.h"
#include "gallery/SlideTableView.h"
#include "media/NXMedia.h"

const CLSID CLSID_NXGalleryComponent = {0x78310281, 0xAFCD, 0x11D2, {0xAC, 0xD0, 0x00, 0xA0, 0x24, 0x8F, 0x3A, 0xF9}};

namespace {
const char kMissingResources[] = GAL_RESOURCE_LIBRARY " is required to run this program!";
const char kCaption[] = "Gallery";
}  // namespace

// ---------------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(cHybridDocTemplate, CMultiDocTemplate)

cHybridDocTemplate::cHybridDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                                       CRuntimeClass* viewClass)
    : CMultiDocTemplate(resourceId, docClass, frameClass, viewClass), m_dwExtra(0) {}

void cHybridDocTemplate::AddDocument(CDocument* doc) {
  CMultiDocTemplate::AddDocument(doc);
  m_ownDocs.AddTail(doc);
}

void cHybridDocTemplate::RemoveDocument(CDocument* doc) {
  CMultiDocTemplate::RemoveDocument(doc);
  if (POSITION pos = m_ownDocs.Find(doc)) m_ownDocs.RemoveAt(pos);
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

cNXGalleryComponent::cNXGalleryComponent() { m_strRegistryKey = GAL_REGISTRY_KEY; }

cNXGalleryComponent::~cNXGalleryComponent() {}

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
  if (cNXComponent::CreateDocTemplate(app)) return TRUE;
  return InstallDocTemplate(app,
                            new cHybridDocTemplate(IDR_GALLERY, RUNTIME_CLASS(cSlideTableDoc),
                                                   RUNTIME_CLASS(cGalleryChildFrame), RUNTIME_CLASS(cSlideTableView)),
                            IDR_GALLERY);
}

namespace {
const comkit::ClassEntry kClasses[] = {
    {&CLSID_NXGalleryComponent, &cNXGalleryComponent::Create, "Gallery", "NXComponent.Gallery.1",
     "NXComponent.Gallery", "Apartment", NULL, 0},
};
}  // namespace

NXCOMPONENT_EXPORTS(kClasses)
