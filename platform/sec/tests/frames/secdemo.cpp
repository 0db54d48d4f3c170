// The workspace program of the extension library's tests: a workbook with notes and sketches that, by its
// command line, opens a set of windows and closes (saving the workspace "Current" as it closes), or opens the
// workspace "Current" again; either way it writes what it shows to a report file (test code, not product).
//   secdemo save <folder> <report>     notes one.txt, two.txt, sketch three.skt, docked four.txt floating
//   secdemo load <report> [nosketch]   the sketch template left out with nosketch
#include <cstdio>
#include <string>

#include "sectest_app.h"
#include "testui.h"

namespace {

// Normal places of the three MDI children and the floating docked view's frame.
const CRect kChildPlaces[] = {CRect(20, 20, 380, 260), CRect(70, 60, 470, 330), CRect(130, 110, 430, 360)};
const CRect kFloatingPlace(640, 260, 880, 520);

CString FileOf(CDocument* doc) {
  CString path = doc->GetPathName();
  int slash = path.ReverseFind('\\');
  return slash >= 0 ? path.Mid(slash + 1) : path;
}

CString RectText(const CRect& rect) {
  CString text;
  text.Format("%d,%d,%d,%d", rect.left, rect.top, rect.right, rect.bottom);
  return text;
}

// One line per window: MDI children with their template, normal place and activation; docked views with
// their floating frame's place.
BOOL WriteReport(CMainFrame& frame, LPCSTR path) {
  FILE* out = fopen(path, "w");
  if (!out) return FALSE;
  fprintf(out, "workbook=%d\n", frame.GetWorkbookMode() ? 1 : 0);
  fprintf(out, "tabs=%d\n", frame.GetWorkbookMode() ? frame.GetTabs()->GetTabCount() : 0);
  CMDIChildWnd* active = frame.MDIGetActive();
  for (HWND child = ::GetWindow(frame.m_hWndMDIClient, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    CMDIChildWnd* wnd = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(child));
    CDocument* doc = wnd ? wnd->GetActiveDocument() : NULL;
    if (!doc) continue;
    CString name;
    doc->GetDocTemplate()->GetDocString(name, CDocTemplate::docName);
    WINDOWPLACEMENT placement = {sizeof placement};
    ::GetWindowPlacement(child, &placement);
    fprintf(out, "child=%s|%s|%s|active=%d\n", LPCSTR(FileOf(doc)), LPCSTR(name),
            LPCSTR(RectText(placement.rcNormalPosition)), wnd == active ? 1 : 0);
  }
  CPtrArray docked;
  SECGetDockableFrames(&frame, docked);
  for (INT_PTR i = 0; i < docked.GetSize(); ++i) {
    SECDockableFrame* view = static_cast<SECDockableFrame*>(docked[i]);
    CDocument* doc = view->GetActiveDocument();
    SECControlBar* bar = view->GetDockingBar();
    CRect place;
    if (bar->IsFloating()) bar->GetParentFrame()->GetWindowRect(&place);
    fprintf(out, "docked=%s|floating=%d|%s\n", doc ? LPCSTR(FileOf(doc)) : "", bar->IsFloating() ? 1 : 0,
            LPCSTR(RectText(place)));
  }
  return fclose(out) == 0;
}

class CDemoApp : public CWinApp {
 public:
  CDemoApp() : CWinApp("Sec Workspace Demo") {}
  BOOL InitInstance() override;
  int DoMessageBox(LPCSTR prompt, UINT, UINT) override {
    fprintf(stderr, "message: %s\n", prompt);
    return IDOK;
  }

 private:
  BOOL Save(CMainFrame& frame, const CString& folder, LPCSTR report);
  BOOL Load(CMainFrame& frame, LPCSTR report);
};

CDemoApp theApp;

BOOL CDemoApp::Save(CMainFrame& frame, const CString& folder, LPCSTR report) {
  LPCSTR children[][2] = {{"one.txt", "n"}, {"two.txt", "n"}, {"three.skt", "s"}};
  CMDIChildWnd* second = NULL;
  for (int i = 0; i < 3; ++i) {
    SECMultiDocTemplate* docTemplate = children[i][1][0] == 's' ? SketchTemplate() : NoteTemplate();
    CDocument* doc = docTemplate->OpenDocumentFile(folder + "\\" + children[i][0]);
    if (!doc) return FALSE;
    POSITION pos = doc->GetFirstViewPosition();
    CMDIChildWnd* child = static_cast<CMDIChildWnd*>(doc->GetNextView(pos)->GetParentFrame());
    child->MoveWindow(&kChildPlaces[i]);
    if (i == 1) second = child;
  }
  CDocument* docked = NoteTemplate()->OpenDocumentFile(folder + "\\four.txt", TRUE, TRUE);
  if (!docked || !second) return FALSE;
  POSITION pos = docked->GetFirstViewPosition();
  SECControlBar* bar = static_cast<SECDockableFrame*>(docked->GetNextView(pos)->GetParentFrame())->GetDockingBar();
  frame.FloatControlBar(bar, kFloatingPlace.TopLeft(), kFloatingPlace);
  second->MDIActivate();
  frame.SendMessage(WM_COMMAND, ID_WORKBOOK_MODE);
  afxtest::Pump(*this);
  if (!WriteReport(frame, report)) return FALSE;
  // Closing saves the workspace "Current" (the workspace manager sees the close first).
  frame.PostMessage(WM_CLOSE);
  return TRUE;
}

BOOL CDemoApp::Load(CMainFrame& frame, LPCSTR report) {
  frame.m_workspace.SetAutoSaveWorkspace(NULL);
  if (!frame.m_workspace.OpenWorkspace("Current")) return FALSE;
  afxtest::Pump(*this);
  if (!WriteReport(frame, report)) return FALSE;
  frame.PostMessage(WM_CLOSE);
  return TRUE;
}

BOOL CDemoApp::InitInstance() {
  SetRegistryKey("OrvaneSecDemo");
  std::string mode = __argc > 1 ? __argv[1] : "";
  BOOL sketches = !(mode == "load" && __argc > 3 && std::string(__argv[3]) == "nosketch");
  AddTestTemplates(*this, sketches);
  CMainFrame* frame = CreateTestMainFrame(*this);
  if (!frame) return FALSE;
  afxtest::Pump(*this);
  BOOL ok = FALSE;
  if (mode == "save" && __argc > 3) ok = Save(*frame, __argv[2], __argv[3]);
  if (mode == "load" && __argc > 2) ok = Load(*frame, __argv[2]);
  if (!ok) {
    fprintf(stderr, "secdemo: %s failed\n", mode.c_str());
    frame->m_workspace.SetAutoSaveWorkspace(NULL);
    frame->DestroyWindow();
    return FALSE;
  }
  return TRUE;
}

}  // namespace
