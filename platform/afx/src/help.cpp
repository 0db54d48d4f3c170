// Help: the application's help file through the system's help program or HTML Help (hhctrl.ocx as
// registered), the standard help commands, and a frame's context help mode.
#include <cstring>
#include "afxpriv.h"
#include "state.h"

namespace {
typedef HWND(WINAPI* HtmlHelpFn)(HWND, LPCSTR, UINT, DWORD_PTR);

// HTML Help's commands the framework uses (htmlhelp.h gives the same values).
const UINT kHHDisplayTopic = 0x0000;
const UINT kHHDisplayToc = 0x0001;
const UINT kHHDisplayIndex = 0x0002;
const UINT kHHDisplaySearch = 0x0003;
const UINT kHHCloseAll = 0x0012;
// HTML Help's control, registered under this class.
const char kHtmlHelpServer[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
const char kHtmlHelpModule[] = "hhctrl.ocx";
const char kCompiledHelpExtension[] = ".chm";

// HtmlHelpA of the registered hhctrl.ocx (the system's by name when none is registered); loaded once.
HtmlHelpFn HtmlHelpEntry() {
  static HMODULE module = NULL;
  if (!module) {
    char path[MAX_PATH] = {};
    LONG size = sizeof path;
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, kHtmlHelpServer, path, &size) == ERROR_SUCCESS && path[0])
      module = ::LoadLibraryA(path);
    if (!module) module = ::LoadLibraryA(kHtmlHelpModule);
    if (!module) return NULL;
  }
  return reinterpret_cast<HtmlHelpFn>(::GetProcAddress(module, "HtmlHelpA"));
}

BOOL IsCompiledHelp(LPCSTR path) {
  int length = path ? lstrlenA(path) : 0;
  int extension = int(sizeof kCompiledHelpExtension) - 1;
  return length >= extension && lstrcmpiA(path + length - extension, kCompiledHelpExtension) == 0;
}

// The window help is shown over: the main window's top-level window, its modes and capture ended first.
HWND PrepareHelpOwner() {
  CWnd* main = AfxGetMainWnd();
  if (!main || !main->m_hWnd) return NULL;
  main->SendMessage(WM_CANCELMODE);
  main->SendMessageToDescendants(WM_CANCELMODE, 0, 0, TRUE, TRUE);
  if (CWnd* capture = CWnd::GetCapture()) capture->SendMessage(WM_CANCELMODE);
  CWnd* top = main->GetTopLevelParent();
  return top ? top->m_hWnd : main->m_hWnd;
}
}  // namespace

void CWinApp::HtmlHelp(DWORD_PTR data, UINT command) {
  HWND owner = PrepareHelpOwner();
  CWaitCursor wait;
  HtmlHelpFn htmlHelp = HtmlHelpEntry();
  HWND shown = htmlHelp ? htmlHelp(owner, m_pszHelpFilePath, command, data) : NULL;
  // Commands that show a window fail without one; the others have nothing to show.
  BOOL displays = command == kHHDisplayTopic || command == kHHDisplayToc || command == kHHDisplayIndex ||
                  command == kHHDisplaySearch || command == HH_HELP_CONTEXT;
  if (!htmlHelp || (displays && !shown)) AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP, MB_ICONEXCLAMATION);
}

void CWinApp::WinHelp(DWORD_PTR data, UINT command) {
  if (IsCompiledHelp(m_pszHelpFilePath)) {
    // A compiled help file is HTML Help's: the same requests in its terms.
    switch (command) {
      case HELP_CONTEXT: HtmlHelp(data, HH_HELP_CONTEXT); return;
      case HELP_INDEX: HtmlHelp(0, kHHDisplayIndex); return;
      case HELP_QUIT: HtmlHelp(0, kHHCloseAll); return;
      default: HtmlHelp(0, kHHDisplayTopic); return;
    }
  }
  HWND owner = PrepareHelpOwner();
  CWaitCursor wait;
  if (!::WinHelpA(owner, m_pszHelpFilePath, command, data)) AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP, MB_ICONEXCLAMATION);
}

void CWinApp::OnHelp() {
  // The window with the focus, or one of its parents, may show help of its own.
  for (HWND wnd = ::GetFocus(); wnd; wnd = ::GetParent(wnd))
    if (::SendMessageA(wnd, WM_COMMANDHELP, 0, 0)) return;
  // Else the help of the active frame's resource, or the help file's contents.
  CWnd* main = AfxGetMainWnd();
  CFrameWnd* frame = main && main->IsFrameWnd() ? static_cast<CFrameWnd*>(main)->GetActiveFrame() : NULL;
  if (frame && frame->m_nIDHelp)
    WinHelp(HID_BASE_RESOURCE + frame->m_nIDHelp, HELP_CONTEXT);
  else
    WinHelp(0, HELP_FINDER);
}

void CWinApp::OnHelpFinder() { WinHelp(0, HELP_FINDER); }
void CWinApp::OnHelpIndex() { WinHelp(0, HELP_INDEX); }

// ---------------------------------------------------------------------------------------------
// Context help mode.

namespace {
// The help context of what is at point (screen): the first window from the one hit up to its top-level
// window that names one (WM_HELPHITTEST), else the control's or the frame's own.
DWORD ContextAt(CPoint point, CFrameWnd* frame) {
  HWND hit = ::WindowFromPoint(point);
  for (HWND wnd = hit; wnd; wnd = (::GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(wnd) : NULL) {
    CPoint client = point;
    ::ScreenToClient(wnd, &client);
    DWORD context = DWORD(::SendMessageA(wnd, WM_HELPHITTEST, 0, MAKELPARAM(client.x, client.y)));
    if (context) return context;
  }
  if (hit && (::GetWindowLongA(hit, GWL_STYLE) & WS_CHILD) && ::GetDlgCtrlID(hit) > 0)
    return HID_BASE_CONTROL + DWORD(::GetDlgCtrlID(hit));
  return frame->m_nIDHelp ? HID_BASE_RESOURCE + frame->m_nIDHelp : 0;
}
}  // namespace

void CFrameWnd::OnContextHelp() {
  CWinApp* app = AfxGetApp();
  if (m_bHelpMode || !app) return;
  m_bHelpMode = TRUE;
  HCURSOR helpCursor = ::LoadCursorA(NULL, IDC_HELP);
  SetCapture();
  ::SetCursor(helpCursor);
  DWORD context = 0;
  // The mode owns the mouse until a click names something, Escape or a right click ends it, or the capture
  // goes elsewhere.
  while (m_bHelpMode && CWnd::GetCapture() == this) {
    MSG msg;
    if (!afxstate::NextMessage(msg)) break;
    switch (msg.message) {
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        ::SetCursor(helpCursor);
        break;
      case WM_LBUTTONDOWN:
      case WM_NCLBUTTONDOWN: {
        CPoint point = AfxPointOf(msg.lParam);
        if (msg.message == WM_LBUTTONDOWN) ::ClientToScreen(msg.hwnd, &point);
        context = ContextAt(point, this);
        m_bHelpMode = FALSE;
        break;
      }
      case WM_RBUTTONDOWN:
        m_bHelpMode = FALSE;
        break;
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) m_bHelpMode = FALSE;
        break;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_SETCURSOR:
        break;  // the press ends the mode; its release belongs to it
      default:
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        break;
    }
  }
  m_bHelpMode = FALSE;
  if (CWnd::GetCapture() == this) ::ReleaseCapture();
  if (context) app->WinHelp(context, HELP_CONTEXT);
}
