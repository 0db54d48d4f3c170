// The commands of the host's part of a merged menu (see MenuSplitter.h).
#include "MenuSplitter.h"

#include "host/HostIds.h"

namespace {

// Commands the host keeps whatever menu shows: the MDI window list and the framework's reserved range,
// the framework's standard commands, the status-bar panes, the reserved host commands and the Help entries.
const UINT kFrameworkFirst = 0xFF00;
const struct {
  UINT first, last;
} kAlwaysHandled[] = {
    {0xF000, 0xF1EF},
    {ID_PANE_SLIDETABLE, ID_PANE_SLIDETABLE},
    {ID_PANE_LAUNCHBAR, ID_PANE_LAUNCHBAR},
    {ID_HOST_RESERVED_COMMAND, ID_HOST_RESERVED_COMMAND},
    {ID_HOST_RESERVED_FIRST, ID_HOST_RESERVED_LAST},
    {ID_HELP_ENTRY_FIRST, ID_HELP_ENTRY_LAST},
};

// The text of menu's item at position.
CString ItemText(HMENU menu, int position) {
  char text[128] = "";
  ::GetMenuStringA(menu, UINT(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

}  // namespace

cMenuSplitter::cMenuSplitter(HMENU hostMenu, HMENU frameMenu) { SetMenus(hostMenu, frameMenu); }

void cMenuSplitter::SetMenus(HMENU hostMenu, HMENU frameMenu) {
  m_hostCommands.clear();
  if (!hostMenu) return;
  Collect(hostMenu);
  if (!frameMenu || frameMenu == hostMenu) return;
  // The merged menu's popups that carry the host's popup names are the host's, whatever they hold now.
  for (int i = 0, count = ::GetMenuItemCount(frameMenu); i < count; ++i) {
    HMENU popup = ::GetSubMenu(frameMenu, i);
    if (!popup) continue;
    CString text = ItemText(frameMenu, i);
    for (int j = 0, hostCount = ::GetMenuItemCount(hostMenu); j < hostCount; ++j) {
      if (::GetSubMenu(hostMenu, j) && ItemText(hostMenu, j) == text) {
        Collect(popup);
        break;
      }
    }
  }
}

void cMenuSplitter::Collect(HMENU menu) {
  for (int i = 0, count = ::GetMenuItemCount(menu); i < count; ++i) {
    if (HMENU popup = ::GetSubMenu(menu, i)) {
      Collect(popup);
      continue;
    }
    UINT id = ::GetMenuItemID(menu, i);
    if (id != 0 && id != UINT(-1)) m_hostCommands.insert(id);
  }
}

BOOL cMenuSplitter::IsAlwaysHandled(UINT id) {
  if (id >= kFrameworkFirst) return TRUE;
  for (const auto& range : kAlwaysHandled)
    if (id >= range.first && id <= range.last) return TRUE;
  return FALSE;
}

BOOL cMenuSplitter::IsHostCommand(UINT id) const { return IsAlwaysHandled(id) || m_hostCommands.count(id) != 0; }
