// Helpers of the framework's unit tests (test code, not product).
#include "unit_helpers.h"

#include <sstream>

namespace fwtest {

IMPLEMENT_NXCOMPONENT(cUnitComponent, cNXComponent)

const char* const cUnitComponent::kRegistryKey = "Software\\Nexlumen\\FrameworkUnitTest";

namespace {
const UINT kNoResource = 0;  // the templates here load nothing by number
}

cUnitComponent::cUnitComponent() { m_strRegistryKey = kRegistryKey; }

void cUnitComponent::UseTemplate(LPCSTR documentName, HMENU container, HMENU server) {
  CMultiDocTemplate* t = new CMultiDocTemplate(kNoResource, NULL, NULL, NULL);
  t->m_strDocStrings = CString("\n") + documentName + "\n";
  t->m_hMenuInPlace = container;
  t->m_hMenuInPlaceServer = server;
  m_pDocTemplate = t;
}

BOOL cUnitComponent::LoadResources() {
  ++m_loads;
  return m_loadResult;
}

BOOL cUnitComponent::CreateDocTemplate(CWinApp*) {
  ++m_creates;
  m_resourceWhileCreating = AfxGetResourceHandle();
  if (m_createThrows) AfxThrowResourceException();
  return m_createResult;
}

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
      std::string rest = arrow == std::string::npos ? std::string() : text.substr(arrow + 1);
      std::istringstream parts(rest);
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
    char text[256] = "";
    GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
    names.push_back(GetSubMenu(menu, i) || text[0] ? text : "-");
  }
  return names;
}

namespace {
void SnapshotInto(HMENU menu, const std::string& indent, std::ostringstream& out) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[256] = "";
    GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
    HMENU popup = GetSubMenu(menu, i);
    UINT state = GetMenuState(menu, UINT(i), MF_BYPOSITION);
    out << indent << text << " | ";
    if (popup)
      out << "popup | " << (state & 0xFF) << "\n";
    else
      out << GetMenuItemID(menu, i) << " | " << state << "\n";
    if (popup) SnapshotInto(popup, indent + "  ", out);
  }
}
}  // namespace

std::string Snapshot(HMENU menu) {
  std::ostringstream out;
  SnapshotInto(menu, "", out);
  return out.str();
}

}  // namespace fwtest
