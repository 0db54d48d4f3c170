// The splash window and the about box of orvabout.dll.
#include "NXAbout.h"
#include "NXAboutIds.h"

namespace {

HINSTANCE g_module;
const char kSplashClass[] = "OrvAboutSplash";

// The splash keeps its bitmap in the window's user data and deletes it with the window.
LRESULT CALLBACK SplashProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  HBITMAP bitmap = reinterpret_cast<HBITMAP>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(wnd, &ps);
      BITMAP info;
      ::GetObjectA(bitmap, sizeof info, &info);
      HDC memory = ::CreateCompatibleDC(dc);
      HGDIOBJ old = ::SelectObject(memory, bitmap);
      ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
      ::SelectObject(memory, old);
      ::DeleteDC(memory);
      ::EndPaint(wnd, &ps);
      return 0;
    }
    case WM_TIMER:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      ::DestroyWindow(wnd);
      return 0;
    case WM_NCDESTROY:
      ::DeleteObject(bitmap);
      break;
  }
  return ::DefWindowProcA(wnd, message, wParam, lParam);
}

BOOL RegisterSplashClass() {
  WNDCLASSA cls;
  if (::GetClassInfoA(g_module, kSplashClass, &cls)) return TRUE;
  ZeroMemory(&cls, sizeof cls);
  cls.lpfnWndProc = &SplashProc;
  cls.hInstance = g_module;
  cls.hCursor = ::LoadCursorA(NULL, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  cls.lpszClassName = kSplashClass;
  return ::RegisterClassA(&cls) != 0;
}

// The about box: its template comes from this library, never through the resource chain, so its numbers
// cannot meet the host's.
class cAboutBox : public CDialog {
 public:
  cAboutBox(CWnd* owner, LPCSTR title, LPCSTR text, LPCSTR version)
      : m_owner(AfxGetSafeHwnd(owner)), m_title(title), m_text(text), m_version(version) {
    m_pParentWnd = owner;
  }

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    char format[128];
    if (::LoadStringA(g_module, IDS_NXABOUT_CAPTION, format, sizeof format) > 0) {
      CString caption;
      caption.Format(format, LPCSTR(m_title));
      SetWindowText(caption);
    }
    SetDlgItemText(IDC_NXABOUT_TITLE, m_title);
    SetDlgItemText(IDC_NXABOUT_TEXT, m_text);
    SetDlgItemText(IDC_NXABOUT_VERSION, m_version);
    // The title in the dialog's font made bold.
    if (CFont* font = GetFont()) {
      LOGFONTA face;
      font->GetLogFont(&face);
      face.lfWeight = FW_BOLD;
      if (m_bold.CreateFontIndirect(&face)) GetDlgItem(IDC_NXABOUT_TITLE)->SetFont(&m_bold);
    }
    ::SendDlgItemMessageA(m_hWnd, IDC_NXABOUT_ICON, STM_SETICON, WPARAM(OwnerIcon()), 0);
    CenterWindow();  // over the owner
    return TRUE;
  }

  // The icon of the owner's top-level window (its class icon when it set none), else the system's.
  HICON OwnerIcon() const {
    HWND top = m_owner ? ::GetAncestor(m_owner, GA_ROOT) : NULL;
    HICON icon = NULL;
    if (top) {
      icon = reinterpret_cast<HICON>(::SendMessageA(top, WM_GETICON, ICON_BIG, 0));
      if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrA(top, GCLP_HICON));
    }
    return icon ? icon : ::LoadIconA(NULL, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
  }

 private:
  HWND m_owner;
  CString m_title, m_text, m_version;
  CFont m_bold;
};

}  // namespace

HWND NXShowSplash(HWND owner, HINSTANCE module, UINT bitmapId, UINT milliseconds) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      ::LoadImageA(module, MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return NULL;
  BITMAP info;
  ::GetObjectA(bitmap, sizeof info, &info);
  MONITORINFO monitor = {sizeof monitor};
  ::GetMonitorInfoA(::MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& area = monitor.rcWork;
  int x = area.left + (area.right - area.left - info.bmWidth) / 2;
  int y = area.top + (area.bottom - area.top - info.bmHeight) / 2;
  HWND splash = NULL;
  if (RegisterSplashClass())
    splash = ::CreateWindowExA(WS_EX_TOOLWINDOW, kSplashClass, "", WS_POPUP, x, y, info.bmWidth, info.bmHeight,
                               owner, NULL, g_module, NULL);
  if (!splash) {
    ::DeleteObject(bitmap);
    return NULL;
  }
  ::SetWindowLongPtrA(splash, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
  ::SetTimer(splash, 1, milliseconds, NULL);
  ::ShowWindow(splash, SW_SHOWNOACTIVATE);
  ::UpdateWindow(splash);
  return splash;
}

void NXWaitSplash(HWND splash) {
  CWinThread* thread = AfxGetThread();
  while (splash && ::IsWindow(splash)) {
    if (thread) {
      if (!thread->PumpMessage()) {
        ::PostQuitMessage(int(thread->m_msgCur.wParam));
        return;
      }
      continue;
    }
    MSG msg;
    if (!::GetMessageA(&msg, NULL, 0, 0)) {
      ::PostQuitMessage(int(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

INT_PTR NXAboutBox(HWND owner, LPCSTR title, LPCSTR text, LPCSTR version) {
  HRSRC found = ::FindResourceA(g_module, MAKEINTRESOURCEA(IDD_NXABOUT_BOX), reinterpret_cast<LPCSTR>(RT_DIALOG));
  if (!found) return -1;
  LPCDLGTEMPLATEA dialogTemplate = static_cast<LPCDLGTEMPLATEA>(::LockResource(::LoadResource(g_module, found)));
  cAboutBox box(CWnd::FromHandle(owner), title ? title : "", text ? text : "", version ? version : "");
  box.InitModalIndirect(dialogTemplate, box.m_pParentWnd);
  return box.DoModal();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  return TRUE;
}
