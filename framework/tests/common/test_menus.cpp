// Menus of the framework's tests (test code, not product).
#include "test_menus.h"

#include <sstream>

namespace fwtest {

namespace {
const int kText = 256;
const UINT kPopupStateMask = 0xFF;

std::string TextOf(HMENU menu, int position) {
  char text[kText] = "";
  GetMenuStringA(menu, UINT(position), text, kText, MF_BYPOSITION);
  return text;
}

void SnapshotInto(HMENU menu, bool withStates, const std::string& indent, std::ostringstream& out) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    HMENU popup = GetSubMenu(menu, i);
    UINT state = GetMenuState(menu, UINT(i), MF_BYPOSITION);
    out << indent << TextOf(menu, i) << " | ";
    if (popup)
      out << "popup";
    else
      out << GetMenuItemID(menu, i);
    if (withStates) out << " | " << (popup ? state & kPopupStateMask : state);
    out << "\n";
    if (popup) SnapshotInto(popup, withStates, indent + "  ", out);
  }
}
}  // namespace

HMENU BuildMenu(std::initializer_list<const char*> items, UINT firstId) {
  HMENU menu = CreateMenu();
  UINT id = firstId;
  for (const char* item : items) {
    std::string text(item);
    if (text == "-") {
      AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    } else if (text[0] == '!') {
      AppendMenuA(menu, MF_STRING, id++, text.c_str() + 1);
    } else {
      std::string::size_type arrow = text.find('>');
      HMENU popup = CreatePopupMenu();
      std::istringstream parts(arrow == std::string::npos ? std::string() : text.substr(arrow + 1));
      std::string part;
      while (std::getline(parts, part, '|')) {
        if (part == "-")
          AppendMenuA(popup, MF_SEPARATOR, 0, NULL);
        else
          AppendMenuA(popup, MF_STRING, id++, part.c_str());
      }
      AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text.substr(0, arrow).c_str());
    }
  }
  return menu;
}

std::vector<std::string> Names(HMENU menu) {
  std::vector<std::string> names;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    std::string text = TextOf(menu, i);
    names.push_back(GetSubMenu(menu, i) || !text.empty() ? text : "-");
  }
  return names;
}

std::string Snapshot(HMENU menu, bool withStates) {
  std::ostringstream out;
  SnapshotInto(menu, withStates, "", out);
  return out.str();
}

}  // namespace fwtest
