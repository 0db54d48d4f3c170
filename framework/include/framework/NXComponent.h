// The contract between the host and its components: INXComponent and the base class every component derives from.
//
// The host (Orvane) creates a component by class id, holds it through INXComponent only and calls, in this order,
// Initialize, GetDocTemplate (then SetContainerInfo on the template with its in-place container menu),
// GetModulePath before each launch and ActivateResources before every document opening. cNXComponent implements
// the interface for every component library (gallery, enhancer, NXBrowser): the component's document template,
// its settings under HKEY_CURRENT_USER, its place in the host's resource chain and the menu that the host frame
// shows while one of the component's frames is active (the host's container menu merged with the component's
// in-place server menu). The frame classes of the framework call GetMergedMenu, BuildMergedMenu,
// SetFrameHelper, GetFrameHelper, ActivateResources, GetModulePath and GetResourceInstance.
//
// A component class derives from comkit::Object<Self, cNXComponent>, declares DECLARE_NXCOMPONENT(Self), sets its
// registry key in its constructor, loads its resource library in LoadResources (LoadResourceLibrary) and makes its
// template in CreateDocTemplate (InstallDocTemplate). Its library exports the entry points of
// NXComponentServer.h.
#pragma once
#include <objbase.h>
#include "afxole.h"

class cNXFrameHelper;

// The interface id of INXComponent, which is also the id of the component category "NXComponents".
extern const IID IID_INXComponent;
extern const CATID CATID_NXComponents;
// The category's description, registered under the US English locale.
extern const wchar_t* const kNXComponentsDescription;

// No type library describes it: callers rely on the order of its operations (slots 3 to 7).
struct INXComponent : public IUnknown {
  // False: the component is unusable and the host releases it.
  virtual BOOL STDMETHODCALLTYPE Initialize() = 0;
  virtual CDocTemplate* STDMETHODCALLTYPE GetDocTemplate() = 0;
  virtual CString STDMETHODCALLTYPE GetModulePath() = 0;
  // Makes the component's resources win over those of the other components (before every document opening).
  virtual void STDMETHODCALLTYPE ActivateResources() = 0;
  virtual HINSTANCE STDMETHODCALLTYPE GetResourceInstance() = 0;
};
__CRT_UUID_DECL(INXComponent, 0x1F88D681, 0xAF7D, 0x11D2, 0xAC, 0xD0, 0x00, 0xA0, 0x24, 0x8F, 0x3A, 0xF9)

// The OLE menu groups of a merged menu: File, Edit, Container, Object, Window, Help.
enum { NXMENU_GROUPS = 6, NXMENU_HELP_GROUP = 5 };

class cNXComponent : public INXComponent {
 public:
  // Copying takes the component's settings (template, module path, registry key, library record, reserved
  // word); the menus it built and its frame helper stay with the original, so each object owns what it frees.
  cNXComponent(const cNXComponent& other);
  cNXComponent& operator=(const cNXComponent& other);

  // INXComponent (slots 3 to 7).
  BOOL STDMETHODCALLTYPE Initialize() override;
  CDocTemplate* STDMETHODCALLTYPE GetDocTemplate() override;
  CString STDMETHODCALLTYPE GetModulePath() override;
  void STDMETHODCALLTYPE ActivateResources() override;
  // The component's resource library once LoadResourceLibrary loaded it, else the component library.
  HINSTANCE STDMETHODCALLTYPE GetResourceInstance() override;

  // The class's run-time record: "cNXComponent" here, each subclass's own name and size (DECLARE_NXCOMPONENT).
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~cNXComponent();
  // Makes the component's template and adds it to app. The base is true when app is given and a template
  // exists already; subclasses call it first and otherwise make theirs with InstallDocTemplate.
  virtual BOOL CreateDocTemplate(CWinApp* app);
  // The host's container menu merged with the template's in-place server menu, kept until
  // DestroyMergedMenu. False when the template has no server menu or no menu can be made.
  virtual BOOL BuildMergedMenu();
  virtual HMENU GetMergedMenu();
  virtual void SetFrameHelper(cNXFrameHelper* helper);
  virtual cNXFrameHelper* GetFrameHelper();
  virtual CString GetRegistryKey();
  // Settings under HKEY_CURRENT_USER\<registry key>\<section>. Reads give defaultValue when the key or the
  // value is missing or of another kind; writes create the key when it is missing.
  virtual int GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue);
  virtual CString GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue);
  virtual BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);
  virtual BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);
  // The host's part of the merged menu: the template's in-place container menu, groups File, Container and
  // Window; a popup after the container menu's third separator is the host's Help and counts as the Help group
  // (width 1), so that the component's Help joins it.
  virtual void MergeContainerMenu(HMENU menu, LONG* widths);
  virtual void UnmergeContainerMenu(HMENU menu);
  virtual BOOL DestroyMergedMenu();
  // Merges source's top-level items into destination from group on (1: after the File group), group by
  // group at source's separators; a popup whose text destination has already gives its items to that popup;
  // with mergeHelp a Help popup in the Help group joins the host's Help popup as a submenu titled
  // "<document name> <popup text>" and is returned (null otherwise). widths receives the groups' widths.
  virtual HMENU MergeMenu(HMENU destination, HMENU source, LONG* widths, int group, BOOL mergeHelp);
  virtual void UnmergeMenu(HMENU destination, HMENU source, HMENU helpPopup);
  // The last top-level item of menu whose text is text (ignoring case); position receives its index.
  virtual BOOL FindMenuItem(HMENU menu, LPCSTR text, int* position);
  // Puts source's items into destination's popup at position, between its first two adjacent separators
  // (at its top when it has none).
  virtual void InsertPopupItems(HMENU destination, int position, HMENU source);
  // Takes the items of source's popup at position out of destinationPopup again.
  virtual void RemovePopupItems(HMENU destinationPopup, HMENU source, int position);
  // The host main frame's default menu; position receives the index of its last item. Null without one.
  virtual CMenu* GetMainMenu(int* position);
  // This library's record in the host's resource chain, or null.
  virtual CDynLinkLibrary* FindLibraryRecord();
  // The base has nothing to load; a subclass loads its resource library (LoadResourceLibrary).
  virtual BOOL LoadResources();

  static CRuntimeClass classcNXComponent;
  // The live component of this library that made docTemplate (the frames find theirs so), or null.
  static cNXComponent* FromTemplate(CDocTemplate* docTemplate);

 protected:
  cNXComponent();

  // Loads fileName from the component library's folder, once per library (it stays until the library
  // unloads), and makes it the library's resource instance and its chain record's resource handle. False when
  // it is missing, or when the library already uses another resource library.
  BOOL LoadResourceLibrary(LPCSTR fileName);
  // Gives docTemplate the component's menu resourceId for embedding and in-place editing, adds it to app and
  // keeps it. When the menus cannot be loaded the template is deleted and nothing is added: false.
  BOOL InstallDocTemplate(CWinApp* app, CDocTemplate* docTemplate, UINT resourceId);

  DWORD m_dwReserved;
  CDocTemplate* m_pDocTemplate;     // owned by the application once added
  CString m_strModulePath;
  HMENU m_hMergedMenu;
  LONG m_menuWidths[NXMENU_GROUPS];  // of the merged menu
  CMenu* m_pAuxiliaryMenu;           // owned; optional
  HMENU m_hHelpPopup;                // the component's Help inside the host's Help popup, or null
  cNXFrameHelper* m_pFrameHelper;    // not owned
  CString m_strRegistryKey;          // e.g. "Software\\Nexlumen\\Gallery"
  CDynLinkLibrary* m_pLibrary;

 private:
  CString ProfileKey(LPCSTR section) const;
  CString HelpTitle(LPCSTR popupText) const;
  void CopySettings(const cNXComponent& other);
};
// A component object answers QueryInterface for its interface (comkit::Object<Self, cNXComponent>).
__CRT_UUID_DECL(cNXComponent, 0x1F88D681, 0xAF7D, 0x11D2, 0xAC, 0xD0, 0x00, 0xA0, 0x24, 0x8F, 0x3A, 0xF9)

// The run-time record of a component class (it is no CObject: the record is only for telling classes apart).
#define DECLARE_NXCOMPONENT(class_name) \
 public:                                \
  static CRuntimeClass class##class_name; \
  CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_NXCOMPONENT(class_name, base_class_name)                                                   \
  static CRuntimeClass* PASCAL _nxBaseOf_##class_name() { return RUNTIME_CLASS(base_class_name); }           \
  CRuntimeClass class_name::class##class_name = {#class_name, int(sizeof(class_name)), AFX_NOT_SERIAL_SCHEMA, \
                                                 NULL, &_nxBaseOf_##class_name};                             \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }
