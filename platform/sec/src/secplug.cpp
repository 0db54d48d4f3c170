// SECWndPlugIn: the window procedure installed under a window's own, which offers each message to the window's
// plug-ins (through the framework's guarded call, so nothing they throw reaches the system) before the window.
#include "secplug.h"

#include <map>
#include <vector>

IMPLEMENT_DYNAMIC(SECWndPlugIn, CWnd)

// The plug-ins of each window, and the procedure each window had before.
struct SECPlugInHooks {
  struct Hook {
    WNDPROC original = NULL;
    std::vector<SECWndPlugIn*> plugIns;  // newest first
  };
  static std::map<HWND, Hook>& Table() {
    static std::map<HWND, Hook> table;
    return table;
  }

  static LRESULT CALLBACK Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = Table().find(wnd);
    if (found == Table().end()) return ::DefWindowProcA(wnd, message, wParam, lParam);
    WNDPROC original = found->second.original;
    if (message == WM_NCDESTROY) {
      // The window ends: its plug-ins are told and let go, and it gets its own procedure back.
      std::vector<SECWndPlugIn*> plugIns = found->second.plugIns;
      Table().erase(found);
      ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      for (SECWndPlugIn* plugIn : plugIns) {
        plugIn->m_hWndPlugged = NULL;
        plugIn->OnPlugInWndDestroyed();
      }
      return ::CallWindowProcA(original, wnd, message, wParam, lParam);
    }
    // A plug-in may unplug itself (or another) while it handles the message.
    std::vector<SECWndPlugIn*> plugIns = found->second.plugIns;
    for (SECWndPlugIn* plugIn : plugIns) {
      if (plugIn->m_hWndPlugged != wnd) continue;
      plugIn->m_bExitMessage = FALSE;
      LRESULT result = AfxCallWndProc(plugIn, wnd, message, wParam, lParam);
      if (plugIn->m_bExitMessage) return result;
    }
    return ::CallWindowProcA(original, wnd, message, wParam, lParam);
  }

  static BOOL Add(HWND wnd, SECWndPlugIn* plugIn) {
    auto found = Table().find(wnd);
    if (found == Table().end()) {
      Hook hook;
      hook.original = reinterpret_cast<WNDPROC>(
          ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SECPlugInHooks::Proc)));
      if (!hook.original) return FALSE;
      found = Table().emplace(wnd, hook).first;
    }
    found->second.plugIns.insert(found->second.plugIns.begin(), plugIn);
    return TRUE;
  }

  static void Remove(HWND wnd, SECWndPlugIn* plugIn) {
    auto found = Table().find(wnd);
    if (found == Table().end()) return;
    std::vector<SECWndPlugIn*>& list = found->second.plugIns;
    for (auto it = list.begin(); it != list.end(); ++it) {
      if (*it != plugIn) continue;
      list.erase(it);
      break;
    }
    // The window gets its procedure back unless someone subclassed it after us (then ours stays, passing on).
    if (list.empty() &&
        ::GetWindowLongPtrA(wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SECPlugInHooks::Proc)) {
      ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.original));
      Table().erase(found);
    }
  }
};

SECWndPlugIn::SECWndPlugIn() : m_bExitMessage(FALSE), m_hWndPlugged(NULL) {}

SECWndPlugIn::~SECWndPlugIn() { UnPlug(); }

BOOL SECWndPlugIn::PlugInTo(CWnd* wnd) {
  UnPlug();
  if (!wnd || !::IsWindow(wnd->m_hWnd)) return FALSE;
  if (!SECPlugInHooks::Add(wnd->m_hWnd, this)) return FALSE;
  m_hWndPlugged = wnd->m_hWnd;
  return TRUE;
}

void SECWndPlugIn::UnPlug() {
  if (!m_hWndPlugged) return;
  SECPlugInHooks::Remove(m_hWndPlugged, this);
  m_hWndPlugged = NULL;
}

CWnd* SECWndPlugIn::GetPlugInWnd() const { return m_hWndPlugged ? CWnd::FromHandle(m_hWndPlugged) : NULL; }

LRESULT SECWndPlugIn::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) m_bExitMessage = FALSE;
  return result;
}
