// The menus the main frame fills when they open: the Help popup from the Help key and the launch bar popup
// from the launch items.
#pragma once
#include "LaunchItem.h"

// Items 42102-42111 replaced by one per value of the Help key, in enumeration order, ten at most.
void FillHelpMenu(HMENU popup);
// What follows 40016 replaced by a separator and one item per launch item (42001 on, "&1 " ... "&0 " first).
void FillLaunchMenu(HMENU popup, cLaunchItemList& items);
