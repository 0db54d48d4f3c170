// Which commands stay the host's while an embedded server's menu is merged into the main frame's: the commands
// of the host's own menu, those of the frame menu's popups whose text is one of the host menu's, and a fixed
// set the host always handles (its bars' panes, the framework's standard commands, the window list, the Help
// entries). The main frame posts every other menu command to the server.
#pragma once
#include <afxwin.h>

#include <set>

class cMenuSplitter {
 public:
  // hostMenu: the main frame's own menu; frameMenu: the menu it shows (both attached, not owned; null: none).
  cMenuSplitter(HMENU hostMenu = NULL, HMENU frameMenu = NULL);
  void SetMenus(HMENU hostMenu, HMENU frameMenu);
  // Whether id belongs to the host: in its menu (at any depth) or always handled.
  BOOL IsHostCommand(UINT id) const;
  static BOOL IsAlwaysHandled(UINT id);

 private:
  void Collect(HMENU menu);
  std::set<UINT> m_hostCommands;
};
