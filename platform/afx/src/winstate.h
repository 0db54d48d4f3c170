// Per-thread state of the window layer (not exported): handle maps, the creation hook, the message
// being handled.
#pragma once
#include <map>
#include "afxwin.h"
#include "state.h"

namespace afxstate {

// Maps handles to their wrappers: permanent ones (owned by the program) and temporary ones made by
// FromHandle, deleted at idle time.
template <class Handle, class Wrapper>
class HandleMap {
 public:
  Wrapper* LookupPermanent(Handle h) const {
    auto it = m_permanent.find(h);
    return it == m_permanent.end() ? nullptr : it->second;
  }
  Wrapper* LookupTemporary(Handle h) const {
    auto it = m_temporary.find(h);
    return it == m_temporary.end() ? nullptr : it->second;
  }
  void SetPermanent(Handle h, Wrapper* w) { m_permanent[h] = w; }
  void RemoveHandle(Handle h) {
    m_permanent.erase(h);
    m_temporary.erase(h);
  }
  template <class Make>
  Wrapper* FromHandle(Handle h, Make make) {
    if (!h) return nullptr;
    if (Wrapper* w = LookupPermanent(h)) return w;
    if (Wrapper* w = LookupTemporary(h)) return w;
    Wrapper* w = make(h);
    m_temporary[h] = w;
    return w;
  }
  // release(wrapper) clears the wrapper's handle so that deleting it leaves the handle alone.
  template <class Release>
  void DeleteTemporaries(Release release) {
    std::map<Handle, Wrapper*> victims;
    victims.swap(m_temporary);
    for (auto& v : victims) {
      release(v.second);
      delete v.second;
    }
  }

 private:
  std::map<Handle, Wrapper*> m_permanent;
  std::map<Handle, Wrapper*> m_temporary;
};

struct ThreadState {
  HandleMap<HWND, CWnd> windows;
  HandleMap<HMENU, CMenu> menus;
  HandleMap<HDC, CDC> dcs;
  HandleMap<HGDIOBJ, CGdiObject> gdiObjects;
  HHOOK createHook = NULL;
  CWnd* wndInit = NULL;     // the object the next created window is tied to
  MSG lastSent = {};        // the message being handled (for Default)
};
ThreadState& Thread();

}  // namespace afxstate
