// The main frame's menus that the host fills from its settings (see HostMenus.h).
#include "HostMenus.h"

#include "LaunchRules.h"
#include "host/HostIds.h"
#include "secreg.h"

void FillHelpMenu(HMENU popup) {
  // The first item's text stands, greyed, for an empty Help key, so that the popup is found again.
  char placeholder[128] = "";
  ::GetMenuStringA(popup, 0, placeholder, sizeof placeholder, MF_BYPOSITION);
  for (UINT id = ID_HELP_ENTRY_FIRST; id <= ID_HELP_ENTRY_LAST; ++id) ::DeleteMenu(popup, id, MF_BYCOMMAND);
  SECRegistry help;
  CStringArray names;
  if (!help.Open(HKEY_CURRENT_USER, ORV_HELP_KEY) || !help.GetValueNames(names) || names.GetSize() == 0) {
    ::InsertMenuA(popup, 0, MF_BYPOSITION | MF_STRING | MF_GRAYED, ID_HELP_ENTRY_FIRST, placeholder);
    return;
  }
  UINT position = 0;
  for (INT_PTR i = 0; i < names.GetSize() && i < ORV_MAX_HELP_ENTRIES; ++i)
    ::InsertMenuA(popup, position++, MF_BYPOSITION | MF_STRING, ID_HELP_ENTRY_FIRST + UINT(i), names[i]);
}

void FillLaunchMenu(HMENU popup, cLaunchItemList& items) {
  int count = ::GetMenuItemCount(popup);
  int after = -1;
  for (int i = 0; i < count; ++i)
    if (::GetMenuItemID(popup, i) == ID_LAUNCH_REMOVE) after = i;
  if (after < 0) return;
  while (::GetMenuItemCount(popup) > after + 1) ::DeleteMenu(popup, after + 1, MF_BYPOSITION);
  if (items.IsEmpty()) return;
  ::AppendMenuA(popup, MF_SEPARATOR, 0, NULL);
  int index = 0;
  for (POSITION pos = items.GetHeadPosition(); pos && index <= ID_LAUNCH_ITEM_LAST - ID_LAUNCH_ITEM_FIRST; ++index) {
    cLaunchItem* item = static_cast<cLaunchItem*>(items.GetNext(pos));
    ::AppendMenuA(popup, MF_STRING, ID_LAUNCH_ITEM_FIRST + index,
                  launchrules::MenuLabel(index, LPCSTR(item->GetLabel())).c_str());
  }
}

