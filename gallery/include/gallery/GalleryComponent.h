// The Gallery component: cNXGalleryComponent (created by the host by class id), its document template
// cHybridDocTemplate, the child frame that shows a slide table, and cAutomationServer, which hands the
// component's open slide table to automation clients.
#pragma once
#include "afxdisp.h"
#include "comkit/object.h"
#include "framework/NXComponent.h"
#include "framework/NXFrames.h"

// {78310281-AFCD-11D2-ACD0-00A0248F3AF9}
extern const CLSID CLSID_NXGalleryComponent;

class cNXGalleryComponent;

// {40557F60-2AC3-11D2-A4F5-B4CE0CC10000}, the co-class of the Gallery's type library.
extern const CLSID CLSID_NXGalleryDocument;

// The class factory of the co-class: creating an object gives out the object it was given (one more reference)
// instead of a new one. Its registry entries are the three parts of string 342: the ProgID, the versioned ProgID
// and the class id.
class cAutomationServer : public COleObjectFactory {
 public:
  explicit cAutomationServer(CCmdTarget* object);
  CCmdTarget* GetObject() const { return m_pObject; }
  CCmdTarget* OnCreateObject() override;
  BOOL UpdateRegistry(BOOL registering = TRUE) override;

 private:
  CCmdTarget* m_pObject;
  CString m_strVersionedProgID;
};

// A multi-document template that keeps its own list of its open documents and tells its component of them.
class cHybridDocTemplate : public CMultiDocTemplate {
  DECLARE_DYNAMIC(cHybridDocTemplate)
 public:
  cHybridDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
  ~cHybridDocTemplate() override;  // tells its component, which may outlive it
  void AddDocument(CDocument* doc) override;
  void RemoveDocument(CDocument* doc) override;
  // The extra value is kept for the duration of the opening.
  CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) override;
  void SetDefaultTitle(CDocument* doc) override;
  DWORD GetExtraValue() const { return m_dwExtra; }
  void SetExtraValue(DWORD value) { m_dwExtra = value; }
  const CPtrList& Documents() const { return m_ownDocs; }
  void SetComponent(cNXGalleryComponent* component) { m_pComponent = component; }

 private:
  CPtrList m_ownDocs;
  DWORD m_dwExtra;
  cNXGalleryComponent* m_pComponent;
};

// The Gallery's child frame: a component child window (the component's merged menu while active). The
// Gallery makes no bars yet, so it has no frame helper (the base's CreateFrameHelper).
class cGalleryChildFrame : public cNXChildWnd {
  DECLARE_DYNCREATE(cGalleryChildFrame)
};

class cNXGalleryComponent : public comkit::Object<cNXGalleryComponent, cNXComponent> {
  DECLARE_NXCOMPONENT(cNXGalleryComponent)
 public:
  cNXGalleryComponent();
  ~cNXGalleryComponent() override;
  BOOL LoadResources() override;
  BOOL CreateDocTemplate(CWinApp* app) override;

  // Automation clients get the first open slide table: it is offered (the server registered with COM and in
  // the registry) when it opens and withdrawn (revoked, its registry entries removed) when it closes, when the
  // next open one is offered instead.
  void DocumentAdded(CDocument* doc);
  void DocumentRemoved(CDocument* doc);
  void SetTemplate(cHybridDocTemplate* docTemplate) { m_pTemplate = docTemplate; }
  cAutomationServer* GetAutomationServer() const { return m_pServer; }

 private:
  void Withdraw();
  cAutomationServer* m_pServer;
  cHybridDocTemplate* m_pTemplate;  // null once the application deleted it
};
