// The host's documents, view and embedded item (see ForgeDoc.h).
#include "ForgeDoc.h"

IMPLEMENT_DYNCREATE(CForgeDoc, COleDocument)
IMPLEMENT_DYNCREATE(CForgeView, CView)
IMPLEMENT_DYNAMIC(CForgeCntrItem, COleDocObjectItem)

CForgeDoc::CForgeDoc() {}

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
