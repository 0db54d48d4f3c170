// Menus of the framework's tests: made from short descriptions, read back as texts and snapshots (test code,
// not product).
#pragma once
#include <initializer_list>
#include <string>
#include <vector>
#include <windows.h>

namespace fwtest {

// A menu from a description: "-" a separator, "!Text" a command, "Text>a|b|-|c" a popup with those items
// (commands, "-" separators). Command ids count up from firstId.
HMENU BuildMenu(std::initializer_list<const char*> items, UINT firstId = 100);
// Item texts of one menu level ("-" for a separator).
std::vector<std::string> Names(HMENU menu);
// Every item of the menu and its popups, one line each, nested: text, id ("popup" for popups) and, withStates,
// the state.
std::string Snapshot(HMENU menu, bool withStates = true);

}  // namespace fwtest
