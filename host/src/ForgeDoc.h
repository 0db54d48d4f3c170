// The host's own documents: CForgeDoc, the document of the host's templates (the workspace template and the
// templates of program, document-object and workspace launch items), a container of at most one embedded
// document object, CForgeCntrItem; and CForgeView, its view. The item answers the embedded server's
// commands (IOleCommandTarget) through the host's command routing, so that the server can drive and query
// host commands while it is active in place.
#pragma once
#include <afxole.h>

class CForgeCntrItem;

// The command group and command by which the host hands a document object the file it is to show.
extern const GUID CGID_ForgePathCommand;
enum { FORGECMD_OPENPATH = 1 };

class CForgeDoc : public COleDocument {
  DECLARE_DYNCREATE(CForgeDoc)
 public:
  CForgeDoc();
  // The embedded item, or null.
  CForgeCntrItem* GetItem() const;
  // A new embedded object of the server named by the template's file type id (ProgID or class id); false,
  // and message 402, when it cannot be made.
  BOOL OnNewDocument() override;
  // A new embedded object handed the file by the path command; a server that does not take the command
  // gets an object made from the file instead. False when neither shows.
  BOOL OnOpenDocument(LPCSTR path) override;
  // Sends path to the embedded object's command target; true when the object took it.
  BOOL SendPath(LPCSTR path);

 protected:
  // The first view's frame activated and the item shown in place there; false when it cannot be shown.
  BOOL ActivateItem();
};

class CForgeView : public CView {
  DECLARE_DYNCREATE(CForgeView)
 protected:
  void OnDraw(CDC* dc) override;
};

class CForgeCntrItem : public COleDocObjectItem {
  DECLARE_DYNAMIC(CForgeCntrItem)
 public:
  explicit CForgeCntrItem(CForgeDoc* container = NULL);

  // A server's command carried out by the main frame's active frame: OLECMDERR_E_UNKNOWNGROUP without one,
  // OLECMDERR_E_NOTSUPPORTED when no update handler answers for id, OLECMDERR_E_DISABLED when it is
  // disabled, else S_OK when a handler ran (E_FAIL when none did).
  static HRESULT RouteCommand(UINT id);
  // The state of id through the main window's command updating: OLECMDF_ flags (0: no handler, or no main
  // window).
  static DWORD QueryCommandState(UINT id);
  // The status text of id for a server (its prompt string from the second line on); empty when it has none.
  static CString CommandStatusText(UINT id);

 protected:
  BEGIN_INTERFACE_PART(CommandTarget, IOleCommandTarget)
    STDMETHOD(QueryStatus)(const GUID* group, ULONG count, OLECMD* commands, OLECMDTEXT* text) override;
    STDMETHOD(Exec)(const GUID* group, DWORD id, DWORD option, VARIANT* in, VARIANT* out) override;
  END_INTERFACE_PART(CommandTarget)
  DECLARE_INTERFACE_MAP()
};
