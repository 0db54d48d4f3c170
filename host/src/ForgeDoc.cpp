// The host's documents, view and embedded item (see ForgeDoc.h).
#include "ForgeDoc.h"

#include <afxdisp.h>
#include <shellapi.h>

#include "WaitMsg.h"
#include "host/HostIds.h"

IMPLEMENT_DYNCREATE(CForgeDoc, COleDocument)
IMPLEMENT_DYNCREATE(CForgeView, CView)
IMPLEMENT_DYNAMIC(CForgeCntrItem, COleDocObjectItem)

const GUID CGID_ForgePathCommand = {0x3638A8A1, 0xFEDF, 0x11D1, {0xA8, 0xBC, 0x00, 0xA0, 0x24, 0x71, 0x01, 0x8E}};

namespace {

// The class of a ProgID or a class id's text; false for neither.
BOOL ClassOf(const CString& name, CLSID* clsid) {
  WCHAR wide[MAX_PATH];
  if (name.IsEmpty() || !::MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH)) return FALSE;
  return SUCCEEDED(name[0] == '{' ? ::CLSIDFromString(wide, clsid) : ::CLSIDFromProgID(wide, clsid));
}

}  // namespace

CForgeDoc::CForgeDoc() {}

BOOL CForgeDoc::OnNewDocument() {
  cWaitMsg wait(IDS_WAIT_STARTING);
  if (!COleDocument::OnNewDocument()) return FALSE;
  if (GetItem()) return TRUE;
  CString server;
  CLSID clsid;
  CDocTemplate* docTemplate = GetDocTemplate();
  CForgeCntrItem* item = NULL;
  BOOL made = FALSE;
  try {
    if (docTemplate && docTemplate->GetDocString(server, CDocTemplate::regFileTypeId) && ClassOf(server, &clsid)) {
      item = new CForgeCntrItem(this);
      made = item->CreateNewItem(clsid);
    }
  } catch (CException* e) {
    e->Delete();
    made = FALSE;
  }
  if (made) return TRUE;
  if (item) item->Delete();
  AfxMessageBox(IDS_OPEN_FAILED, MB_OK | MB_ICONEXCLAMATION);
  return FALSE;
}

BOOL CForgeDoc::OnOpenDocument(LPCSTR path) {
  cWaitMsg wait(IDS_WAIT_STARTING);
  if (!OnNewDocument()) return FALSE;
  if (!ActivateItem()) return FALSE;
  if (SendPath(path)) return TRUE;
  // The server does not take the path: an object made from the file itself.
  CLSID server = CLSID_NULL;
  if (CForgeCntrItem* refused = GetItem()) {
    if (LPOLEOBJECT object = refused->GetOleObject()) object->GetUserClassID(&server);
    refused->Delete();
  }
  CForgeCntrItem* item = new CForgeCntrItem(this);
  if (!item->CreateFromFile(path, server)) {
    item->Delete();
    AfxMessageBox(IDS_OPEN_FAILED, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }
  POSITION pos = GetFirstViewPosition();
  CView* view = pos ? GetNextView(pos) : NULL;
  SHFILEINFOA info = {};
  if (view && ::SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON) && info.hIcon) {
    // The frame shows the file's own icon; the frame's window keeps it until it closes.
    view->GetParentFrame()->SetIcon(info.hIcon, TRUE);
  }
  return ActivateItem();
}

BOOL CForgeDoc::ActivateItem() {
  POSITION pos = GetFirstViewPosition();
  CView* view = pos ? GetNextView(pos) : NULL;
  CForgeCntrItem* item = GetItem();
  if (!view || !item) return FALSE;
  CFrameWnd* frame = view->GetParentFrame();
  frame->InitialUpdateFrame(this, TRUE);
  if (item->DoVerb(OLEIVERB_SHOW, view)) return TRUE;
  return FALSE;
}

BOOL CForgeDoc::SendPath(LPCSTR path) {
  CForgeCntrItem* item = GetItem();
  if (!item || !path || !*path) return FALSE;
  VARIANT in;
  VariantInit(&in);
  in.vt = VT_BSTR;
  in.bstrVal = AfxAllocSysString(path);
  HRESULT hr = item->ExecCommand(FORGECMD_OPENPATH, OLECMDEXECOPT_DONTPROMPTUSER, &CGID_ForgePathCommand, &in, NULL);
  VariantClear(&in);
  return SUCCEEDED(hr);
}

CForgeCntrItem* CForgeDoc::GetItem() const {
  for (POSITION pos = GetStartPosition(); pos;)
    if (CForgeCntrItem* item = dynamic_cast<CForgeCntrItem*>(GetNextItem(pos))) return item;
  return NULL;
}

void CForgeView::OnDraw(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
}

// ---------------------------------------------------------------------------------------------

namespace {

// Records what an update handler says of a command, touching nothing on screen.
class cStateCmdUI : public CCmdUI {
 public:
  explicit cStateCmdUI(UINT id) : m_bEnabled(FALSE), m_nCheck(0) { m_nID = id; }
  void Enable(BOOL on) override {
    m_bEnabled = on;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int check) override { m_nCheck = check; }
  void SetRadio(BOOL on) override { m_nCheck = on ? 1 : 0; }
  void SetText(LPCSTR) override {}
  BOOL m_bEnabled;
  int m_nCheck;
};

// The frame whose commands a server's command goes to: the active MDI child, or a frame's own active frame.
CFrameWnd* ActiveFrame() {
  CFrameWnd* main = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
  if (!main) return NULL;
  if (CMDIFrameWnd* mdi = dynamic_cast<CMDIFrameWnd*>(main)) return mdi->MDIGetActive();
  CFrameWnd* active = main->GetActiveFrame();
  return active != main ? active : NULL;
}

}  // namespace

BEGIN_INTERFACE_MAP(CForgeCntrItem, COleDocObjectItem)
  INTERFACE_PART(CForgeCntrItem, IID_IOleCommandTarget, CommandTarget)
END_INTERFACE_MAP()

CForgeCntrItem::CForgeCntrItem(CForgeDoc* container) : COleDocObjectItem(container) {}

HRESULT CForgeCntrItem::RouteCommand(UINT id) {
  CFrameWnd* frame = ActiveFrame();
  if (!frame) return OLECMDERR_E_UNKNOWNGROUP;
  cStateCmdUI state(id);
  if (!frame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, NULL)) return OLECMDERR_E_NOTSUPPORTED;
  if (state.m_bEnableChanged && !state.m_bEnabled) return OLECMDERR_E_DISABLED;
  return frame->OnCmdMsg(id, CN_COMMAND, NULL, NULL) ? S_OK : E_FAIL;
}

DWORD CForgeCntrItem::QueryCommandState(UINT id) {
  CWnd* main = AfxGetMainWnd();
  if (!main) return 0;
  cStateCmdUI state(id);
  if (!main->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, NULL)) return 0;
  DWORD flags = OLECMDF_SUPPORTED;
  if (!state.m_bEnableChanged || state.m_bEnabled) flags |= OLECMDF_ENABLED;
  if (state.m_nCheck) flags |= OLECMDF_LATCHED;
  return flags;
}

CString CForgeCntrItem::CommandStatusText(UINT id) {
  CString prompt;
  if (!prompt.LoadString(id)) return CString();
  int newline = prompt.Find('\n');
  return newline >= 0 ? prompt.Mid(newline + 1) : CString();
}

DELEGATE_IUNKNOWN(CForgeCntrItem, CommandTarget)

STDMETHODIMP CForgeCntrItem::XCommandTarget::QueryStatus(const GUID*, ULONG count, OLECMD* commands,
                                                        OLECMDTEXT* text) {
  if (!commands) return E_POINTER;
  if (!AfxGetMainWnd()) {
    for (ULONG i = 0; i < count; ++i) commands[i].cmdf = 0;
    return OLECMDERR_E_NOTSUPPORTED;
  }
  for (ULONG i = 0; i < count; ++i) commands[i].cmdf = QueryCommandState(commands[i].cmdID);
  if (text && count > 0 && text->cwBuf > 0) {
    text->cwActual = 0;
    text->rgwz[0] = 0;
    if (text->cmdtextf == OLECMDTEXTF_STATUS) {
      CString status = CommandStatusText(commands[0].cmdID);
      int written = ::MultiByteToWideChar(CP_ACP, 0, status, -1, text->rgwz, int(text->cwBuf));
      if (written == 0) {
        // Too long for the caller's buffer: as much as fits.
        ::MultiByteToWideChar(CP_ACP, 0, status, int(text->cwBuf) - 1, text->rgwz, int(text->cwBuf) - 1);
        text->rgwz[text->cwBuf - 1] = 0;
        written = int(text->cwBuf);
      }
      text->cwActual = ULONG(written - 1);
    }
  }
  return S_OK;
}

STDMETHODIMP CForgeCntrItem::XCommandTarget::Exec(const GUID*, DWORD id, DWORD option, VARIANT*, VARIANT*) {
  // Help on a command is the server's own affair.
  if (LOWORD(option) == OLECMDEXECOPT_SHOWHELP) return OLECMDERR_E_NOTSUPPORTED;
  return RouteCommand(id);
}
