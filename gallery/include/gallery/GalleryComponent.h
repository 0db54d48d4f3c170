// The Gallery component: cNXGalleryComponent (created by the host by class id), its document template
// cHybridDocTemplate and the child frame that shows a slide table.
#pragma once
#include "comkit/object.h"
#include "framework/NXComponent.h"
#include "framework/NXFrames.h"

// {78310281-AFCD-11D2-ACD0-00A0248F3AF9}
extern const CLSID CLSID_NXGalleryComponent;

// A multi-document template that keeps its own list of its open documents.
class cHybridDocTemplate : public CMultiDocTemplate {
  DECLARE_DYNAMIC(cHybridDocTemplate)
 public:
  cHybridDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
  void AddDocument(CDocument* doc) override;
  void RemoveDocument(CDocument* doc) override;
  // The extra value is kept for the duration of the opening.
  CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) override;
  void SetDefaultTitle(CDocument* doc) override;
  DWORD GetExtraValue() const { return m_dwExtra; }
  void SetExtraValue(DWORD value) { m_dwExtra = value; }
  const CPtrList& Documents() const { return m_ownDocs; }

 private:
  CPtrList m_ownDocs;
  DWORD m_dwExtra;
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
};
