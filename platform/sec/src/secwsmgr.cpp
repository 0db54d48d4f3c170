// SECWorkspaceManagerEx: workspaces in the registry (the main frame's placement and title, one key per
// window), saving the open windows and opening them again step by step.
#include "secwsmgr.h"

#include <vector>

#include "secframe.h"
#include "secreg.h"

IMPLEMENT_DYNAMIC(SECWorkspaceManagerEx, SECWndPlugIn)

namespace {
// Values of a workspace's key and of each window's key (Window0, Window1, ...).
const char kWindowCount[] = "WindowCount";
const char kWindowKey[] = "Window%d";
const char kMainFrame[] = "MainFrame";
const char kTitle[] = "Title";
const char kDocumentString[] = "DocumentString";
const char kDocTemplateIndex[] = "DocTemplateIndex";
const char kDocPathName[] = "DocPathName";
const char kWindowPlacement[] = "WindowPlacement";
const char kIsActiveChildFrame[] = "IsActiveChildFrame";
const char kDockedView[] = "DockedView";
const char kDockedViewFloating[] = "DockedViewFloating";
const char kDockedViewFloatingWP[] = "DockedViewFloatingWP";
const char kDockedViewDockBar[] = "DockedViewDockBar";
const char kDockedViewRow[] = "DockedViewRow";
const char kDockedViewColumn[] = "DockedViewColumn";
const char kDockedViewPercent[] = "DockedViewPercent";
const char kDockedViewPixels[] = "DockedViewPixels";
const char kDefaultAutoSave[] = "Current";
const int kPercentScale = 1000;

// A key name cannot hold a backslash; workspace names may (they may be paths).
CString KeyNameOf(LPCSTR name) {
  CString key(name ? name : "");
  key.Replace('\\', '/');
  return key;
}

CString WorkspaceKey(const CString& root, LPCSTR name) { return root + "\\" + KeyNameOf(name); }

BOOL ReadPlacement(SECRegistry& key, LPCSTR value, WINDOWPLACEMENT& placement) {
  CByteArray data;
  if (!key.QueryValue(value, data) || data.GetSize() != sizeof(WINDOWPLACEMENT)) return FALSE;
  memcpy(&placement, data.GetData(), sizeof placement);
  placement.length = sizeof placement;
  return TRUE;
}

BOOL ReadNumber(SECRegistry& key, LPCSTR value, DWORD& number) { return key.QueryValue(value, number); }

BOOL WriteWindow(SECRegistry& parent, int index, const SECWorkspaceWindow& window) {
  CString name;
  name.Format(kWindowKey, index);
  SECRegistry key;
  if (!key.Create(parent, name)) return FALSE;
  BOOL ok = key.SetValue(kDocumentString, window.m_strDocString);
  ok = ok && key.SetValue(kDocTemplateIndex, DWORD(window.m_nDocTemplateIndex));
  ok = ok && key.SetValue(kDocPathName, window.m_strPathName);
  ok = ok && key.SetValue(kIsActiveChildFrame, DWORD(window.m_bActive ? 1 : 0));
  if (window.m_bHasPlacement) ok = ok && key.SetValue(kWindowPlacement, &window.m_placement, sizeof window.m_placement);
  if (window.m_bDockedView) {
    ok = ok && key.SetValue(kDockedView, DWORD(1));
    ok = ok && key.SetValue(kDockedViewFloating, DWORD(window.m_bFloating ? 1 : 0));
    if (window.m_bHasFloatingPlacement)
      ok = ok && key.SetValue(kDockedViewFloatingWP, &window.m_floatingPlacement, sizeof window.m_floatingPlacement);
    ok = ok && key.SetValue(kDockedViewDockBar, DWORD(window.m_nDockBarID));
    ok = ok && key.SetValue(kDockedViewRow, DWORD(window.m_nRow));
    ok = ok && key.SetValue(kDockedViewColumn, DWORD(window.m_nColumn));
    ok = ok && key.SetValue(kDockedViewPercent, DWORD(window.m_fPercent * kPercentScale + 0.5f));
    ok = ok && key.SetValue(kDockedViewPixels, DWORD(window.m_nPixels));
  }
  return ok;
}

BOOL ReadWindow(SECRegistry& parent, int index, SECWorkspaceWindow& window) {
  CString name;
  name.Format(kWindowKey, index);
  SECRegistry key;
  if (!key.Open(parent, name)) return FALSE;
  DWORD number = 0;
  if (!key.QueryValue(kDocumentString, window.m_strDocString) || !ReadNumber(key, kDocTemplateIndex, number))
    return FALSE;
  window.m_nDocTemplateIndex = int(number);
  key.QueryValue(kDocPathName, window.m_strPathName);
  window.m_bHasPlacement = ReadPlacement(key, kWindowPlacement, window.m_placement);
  window.m_bActive = ReadNumber(key, kIsActiveChildFrame, number) && number != 0;
  window.m_bDockedView = ReadNumber(key, kDockedView, number) && number != 0;
  if (window.m_bDockedView) {
    window.m_bFloating = ReadNumber(key, kDockedViewFloating, number) && number != 0;
    window.m_bHasFloatingPlacement = ReadPlacement(key, kDockedViewFloatingWP, window.m_floatingPlacement);
    if (ReadNumber(key, kDockedViewDockBar, number)) window.m_nDockBarID = number;
    if (ReadNumber(key, kDockedViewRow, number)) window.m_nRow = int(number);
    if (ReadNumber(key, kDockedViewColumn, number)) window.m_nColumn = int(number);
    if (ReadNumber(key, kDockedViewPercent, number)) window.m_fPercent = float(number) / kPercentScale;
    if (ReadNumber(key, kDockedViewPixels, number)) window.m_nPixels = int(number);
  }
  return TRUE;
}
}  // namespace

SECWorkspaceWindow::SECWorkspaceWindow()
    : m_nDocTemplateIndex(0), m_bHasPlacement(FALSE), m_placement(), m_bActive(FALSE), m_bDockedView(FALSE),
      m_bFloating(FALSE), m_bHasFloatingPlacement(FALSE), m_floatingPlacement(), m_nDockBarID(AFX_IDW_DOCKBAR_RIGHT),
      m_nRow(0), m_nColumn(0), m_fPercent(100.0f), m_nPixels(SECControlBar::kDefaultThickness) {
  m_placement.length = sizeof m_placement;
  m_floatingPlacement.length = sizeof m_floatingPlacement;
}

BEGIN_MESSAGE_MAP(SECWorkspaceManagerEx, SECWndPlugIn)
  ON_WM_CLOSE()
END_MESSAGE_MAP()

SECWorkspaceManagerEx::SECWorkspaceManagerEx() : m_pMainFrame(NULL), m_strAutoSave(kDefaultAutoSave) {}

SECWorkspaceManagerEx::~SECWorkspaceManagerEx() = default;

BOOL SECWorkspaceManagerEx::Create(CMDIFrameWnd* mainFrame, LPCSTR registryKey) {
  if (!mainFrame || !registryKey || !*registryKey) return FALSE;
  m_strRegistryKey = registryKey;
  if (!PlugInTo(mainFrame)) return FALSE;
  m_pMainFrame = mainFrame;
  return TRUE;
}

void SECWorkspaceManagerEx::OnPlugInWndDestroyed() { m_pMainFrame = NULL; }

BOOL SECWorkspaceManagerEx::WorkspaceExists(LPCSTR name) const {
  SECRegistry key;
  return key.Open(HKEY_CURRENT_USER, WorkspaceKey(m_strRegistryKey, name));
}

BOOL SECWorkspaceManagerEx::DeleteWorkspace(LPCSTR name) {
  LONG result = SECRegistry::DeleteKeyTree(HKEY_CURRENT_USER, WorkspaceKey(m_strRegistryKey, name));
  if (result != ERROR_SUCCESS) return FALSE;
  if (m_strCurrent == name) m_strCurrent.Empty();
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Saving.

void SECWorkspaceManagerEx::GetWorkspaceFrames(CPtrArray& frames) {
  frames.RemoveAll();
  if (!m_pMainFrame || !m_pMainFrame->m_hWndMDIClient) return;
  // The MDI client lists its children from the top; the bottom one is restored first.
  CPtrArray children;
  for (HWND child = ::GetWindow(m_pMainFrame->m_hWndMDIClient, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    CMDIChildWnd* frame = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(child));
    if (frame && frame->IsWindowVisible()) children.Add(frame);
  }
  for (INT_PTR i = children.GetSize() - 1; i >= 0; --i) frames.Add(children[i]);
  CPtrArray docked;
  SECGetDockableFrames(m_pMainFrame, docked);
  frames.Append(docked);
}

void SECWorkspaceManagerEx::PrepareSaveWindow(CFrameWnd*) {}

BOOL SECWorkspaceManagerEx::RecordWindow(CFrameWnd* frame, SECWorkspaceWindow& window) {
  CDocument* doc = frame->GetActiveDocument();
  CDocTemplate* docTemplate = doc ? doc->GetDocTemplate() : NULL;
  if (!docTemplate) return FALSE;
  window.m_strDocString = docTemplate->m_strDocStrings;
  window.m_nDocTemplateIndex = SECMultiDocTemplate::GetDocTemplateIndex(docTemplate);
  window.m_strPathName = doc->GetPathName();
  if (SECDockableFrame* docked = dynamic_cast<SECDockableFrame*>(frame)) {
    SECControlBar* bar = docked->GetDockingBar();
    if (!bar) return FALSE;
    window.m_bDockedView = TRUE;
    window.m_bFloating = bar->IsFloating();
    if (window.m_bFloating) {
      CFrameWnd* floating = bar->GetParentFrame();
      window.m_bHasFloatingPlacement = floating && ::GetWindowPlacement(floating->m_hWnd, &window.m_floatingPlacement);
    } else if (SECDockBar* dockBar = dynamic_cast<SECDockBar*>(bar->m_pDockBar)) {
      window.m_nDockBarID = UINT(dockBar->GetDlgCtrlID());
      dockBar->GetBarPlace(bar, window.m_nRow, window.m_nColumn);
      window.m_fPercent = bar->GetPercent();
      window.m_nPixels = bar->GetDockedThickness(dockBar->IsHorzSide());
    }
    return TRUE;
  }
  window.m_bHasPlacement = ::GetWindowPlacement(frame->m_hWnd, &window.m_placement);
  window.m_bActive = m_pMainFrame && m_pMainFrame->MDIGetActive() == frame;
  return TRUE;
}

BOOL SECWorkspaceManagerEx::SaveWorkspace(LPCSTR name) {
  if (!m_pMainFrame || !name || !*name) return FALSE;
  // Everything is gathered before the registry is touched.
  CPtrArray frames;
  GetWorkspaceFrames(frames);
  std::vector<SECWorkspaceWindow> windows;
  for (INT_PTR i = 0; i < frames.GetSize(); ++i) {
    CFrameWnd* frame = static_cast<CFrameWnd*>(frames[i]);
    PrepareSaveWindow(frame);
    if (!::IsWindow(frame->m_hWnd)) continue;  // preparing may have closed it
    SECWorkspaceWindow window;
    if (RecordWindow(frame, window)) windows.push_back(window);
  }
  WINDOWPLACEMENT mainPlacement = {sizeof mainPlacement};
  BOOL hasMainPlacement = ::GetWindowPlacement(m_pMainFrame->m_hWnd, &mainPlacement);
  CString title;
  m_pMainFrame->GetWindowText(title);

  CString path = WorkspaceKey(m_strRegistryKey, name);
  LONG cleared = SECRegistry::DeleteKeyTree(HKEY_CURRENT_USER, path);
  if (cleared != ERROR_SUCCESS && cleared != ERROR_FILE_NOT_FOUND) return FALSE;
  SECRegistry key;
  if (!key.Create(HKEY_CURRENT_USER, path)) return FALSE;
  BOOL ok = key.SetValue(kWindowCount, DWORD(windows.size()));
  SECRegistry mainKey;
  ok = ok && mainKey.Create(key, kMainFrame);
  if (ok && hasMainPlacement) ok = mainKey.SetValue(kWindowPlacement, &mainPlacement, sizeof mainPlacement);
  ok = ok && mainKey.SetValue(kTitle, title);
  for (size_t i = 0; i < windows.size() && ok; ++i) ok = WriteWindow(key, int(i), windows[i]);
  if (ok) m_strCurrent = name;
  return ok;
}

void SECWorkspaceManagerEx::OnClose() {
  if (!m_strAutoSave.IsEmpty()) SaveWorkspace(m_strAutoSave);
}

// ---------------------------------------------------------------------------------------------
// Opening.

CDocTemplate* SECWorkspaceManagerEx::FindDocTemplate(const SECWorkspaceWindow& window) {
  return SECMultiDocTemplate::FindDocTemplate(window.m_strDocString, window.m_nDocTemplateIndex);
}

CDocument* SECWorkspaceManagerEx::FindOpenDocument(CDocTemplate* docTemplate, const SECWorkspaceWindow& window) {
  if (window.m_strPathName.IsEmpty()) return NULL;
  for (POSITION pos = docTemplate->GetFirstDocPosition(); pos;) {
    CDocument* doc = docTemplate->GetNextDoc(pos);
    if (AfxComparePath(doc->GetPathName(), window.m_strPathName)) return doc;
  }
  return NULL;
}

CFrameWnd* SECWorkspaceManagerEx::ReuseDocument(CDocument* doc, CDocTemplate* docTemplate,
                                                const SECWorkspaceWindow& window) {
  CFrameWnd* any = NULL;
  for (POSITION pos = doc->GetFirstViewPosition(); pos;) {
    CFrameWnd* frame = doc->GetNextView(pos)->GetParentFrame();
    if (!frame) continue;
    any = frame;
    BOOL taken = FALSE;
    for (INT_PTR i = 0; i < m_arrRestored.GetSize() && !taken; ++i) taken = m_arrRestored[i] == frame;
    BOOL sameKind = (dynamic_cast<SECDockableFrame*>(frame) != NULL) == (window.m_bDockedView != FALSE);
    if (!taken && sameKind) return frame;
  }
  // Every frame of the document has its window already: another one, of the kind saved.
  SECMultiDocTemplate* sec = dynamic_cast<SECMultiDocTemplate*>(docTemplate);
  CFrameWnd* frame = (sec && window.m_bDockedView) ? sec->CreateDockableFrame(doc, any)
                                                    : docTemplate->CreateNewFrame(doc, any);
  if (!frame) return NULL;
  if (CMDIChildWnd* child = dynamic_cast<CMDIChildWnd*>(frame)) {
    if (CMultiDocTemplate* multi = dynamic_cast<CMultiDocTemplate*>(docTemplate)) {
      child->m_hMenuShared = multi->m_hMenuShared;
      child->m_hAccelTable = multi->m_hAccelTable;
    }
  }
  docTemplate->InitialUpdateFrame(frame, doc, FALSE);
  return frame;
}

CFrameWnd* SECWorkspaceManagerEx::OpenWindow(CDocTemplate* docTemplate, const SECWorkspaceWindow& window) {
  if (CDocument* open = FindOpenDocument(docTemplate, window)) return ReuseDocument(open, docTemplate, window);
  LPCSTR path = window.m_strPathName.IsEmpty() ? NULL : LPCSTR(window.m_strPathName);
  SECMultiDocTemplate* sec = dynamic_cast<SECMultiDocTemplate*>(docTemplate);
  CDocument* doc = sec ? sec->OpenDocumentFile(path, FALSE, window.m_bDockedView)
                       : docTemplate->OpenDocumentFile(path, FALSE);
  if (!doc) return NULL;
  POSITION pos = doc->GetFirstViewPosition();
  CView* view = pos ? doc->GetNextView(pos) : NULL;
  return view ? view->GetParentFrame() : NULL;
}

void SECWorkspaceManagerEx::RestoreWindow(CFrameWnd* frame, const SECWorkspaceWindow& window) {
  frame->ActivateFrame();
  if (window.m_bHasPlacement && !window.m_bDockedView) {
    WINDOWPLACEMENT placement = window.m_placement;
    placement.length = sizeof placement;
    ::SetWindowPlacement(frame->m_hWnd, &placement);
  }
}

void SECWorkspaceManagerEx::RestoreDockedView(SECDockableFrame* frame, const SECWorkspaceWindow& window) {
  SECControlBar* bar = frame->GetDockingBar();
  CFrameWnd* site = frame->GetDockSite();
  if (!bar || !site) return;
  if (window.m_bFloating) {
    if (!window.m_bHasFloatingPlacement) return;
    CRect rect(window.m_floatingPlacement.rcNormalPosition);
    SECFloatControlBar(site, bar, rect.TopLeft(), rect);
    return;
  }
  // A side without the library's dock bar leaves the view where it came up.
  if (dynamic_cast<SECDockBar*>(site->GetControlBar(window.m_nDockBarID)))
    SECDockControlBarEx(site, bar, window.m_nDockBarID, window.m_nColumn, window.m_nRow, window.m_fPercent,
                        window.m_nPixels);
}

void SECWorkspaceManagerEx::OnWorkspaceOpened(CFrameWnd* activeFrame) {
  if (!activeFrame) return;
  if (CMDIChildWnd* child = dynamic_cast<CMDIChildWnd*>(activeFrame)) {
    child->MDIActivate();
    return;
  }
  if (SECDockableFrame* docked = dynamic_cast<SECDockableFrame*>(activeFrame)) docked->ActivateDocked();
}

BOOL SECWorkspaceManagerEx::OpenWorkspace(LPCSTR name) {
  if (!m_pMainFrame || !name || !*name) return FALSE;
  SECRegistry key;
  if (!key.Open(HKEY_CURRENT_USER, WorkspaceKey(m_strRegistryKey, name))) return FALSE;
  SECRegistry mainKey;
  CString title;
  BOOL hasTitle = FALSE;
  if (mainKey.Open(key, kMainFrame)) {
    WINDOWPLACEMENT placement;
    if (ReadPlacement(mainKey, kWindowPlacement, placement)) {
      // Its flags (such as restoring to maximized) belong to the session that saved it.
      placement.flags = 0;
      ::SetWindowPlacement(m_pMainFrame->m_hWnd, &placement);
    }
    hasTitle = mainKey.QueryValue(kTitle, title);
  }
  DWORD count = 0;
  key.QueryValue(kWindowCount, count);
  CFrameWnd* active = NULL;
  m_arrRestored.RemoveAll();
  for (DWORD i = 0; i < count; ++i) {
    SECWorkspaceWindow window;
    if (!ReadWindow(key, int(i), window)) continue;
    CDocTemplate* docTemplate = FindDocTemplate(window);
    if (!docTemplate) continue;
    CFrameWnd* frame = OpenWindow(docTemplate, window);
    if (!frame) continue;
    m_arrRestored.Add(frame);
    RestoreWindow(frame, window);
    if (window.m_bActive) active = frame;
    if (SECDockableFrame* docked = dynamic_cast<SECDockableFrame*>(frame)) RestoreDockedView(docked, window);
  }
  m_arrRestored.RemoveAll();
  OnWorkspaceOpened(active);
  // After the windows: activating them retitles the frame from the active document.
  if (hasTitle) m_pMainFrame->SetWindowText(title);
  m_strCurrent = name;
  return TRUE;
}
