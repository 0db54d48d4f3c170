// The merged menu of a component: the host's container menu and the component's in-place server menu by OLE
// menu groups, a component popup of a host popup's name joining that popup, the component's Help inside the
// host's Help, and taking it all apart again without touching what belongs to the host or the component.
#include <mbstring.h>
#include "framework/NXComponent.h"

namespace {

const int kMenuText = 256;  // texts are compared up to 255 characters
const UINT kCommandFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_MENUBREAK | MF_MENUBARBREAK;
const UINT kPopupStateMask = 0xFF;  // the high byte of a popup's state is its item count

CString ItemText(HMENU menu, int position) {
  char text[kMenuText] = "";
  ::GetMenuStringA(menu, UINT(position), text, kMenuText, MF_BYPOSITION);
  return text;
}

BOOL IsSeparator(HMENU menu, int position) {
  return !::GetSubMenu(menu, position) && (::GetMenuState(menu, UINT(position), MF_BYPOSITION) & MF_SEPARATOR) &&
         ::GetMenuItemID(menu, position) == 0;
}

// Inserts source's item at position of destination: popups as themselves (shared, not copied), commands and
// separators as new items with their id and state.
BOOL CopyItem(HMENU destination, int at, HMENU source, int position) {
  HMENU popup = ::GetSubMenu(source, position);
  UINT state = ::GetMenuState(source, UINT(position), MF_BYPOSITION);
  CString text = ItemText(source, position);
  if (popup)
    return ::InsertMenuA(destination, UINT(at), MF_BYPOSITION | MF_POPUP | (state & kPopupStateMask),
                         reinterpret_cast<UINT_PTR>(popup), text);
  return ::InsertMenuA(destination, UINT(at), MF_BYPOSITION | (state & kCommandFlags),
                       ::GetMenuItemID(source, position), text);
}

// Whether destination's item at at is the one CopyItem made of source's item at position.
BOOL IsCopyOf(HMENU destination, int at, HMENU source, int position) {
  HMENU popup = ::GetSubMenu(source, position);
  if (popup || ::GetSubMenu(destination, at)) return popup == ::GetSubMenu(destination, at);
  if (IsSeparator(source, position) || IsSeparator(destination, at))
    return IsSeparator(source, position) && IsSeparator(destination, at);
  return ::GetMenuItemID(source, position) == ::GetMenuItemID(destination, at);
}

// Where InsertPopupItems put source's items into destination: the last run of items that are their copies,
// or -1.
int FindInsertedRun(HMENU destination, HMENU source) {
  int count = ::GetMenuItemCount(source);
  for (int start = ::GetMenuItemCount(destination) - count; start >= 0; --start) {
    int k = 0;
    while (k < count && IsCopyOf(destination, start + k, source, k)) ++k;
    if (k == count) return start;
  }
  return -1;
}

BOOL IsTopLevelPopupOf(HMENU menu, HMENU popup) {
  for (int i = ::GetMenuItemCount(menu) - 1; i >= 0; --i)
    if (::GetSubMenu(menu, i) == popup) return TRUE;
  return FALSE;
}

BOOL IsTopLevelCommandOf(HMENU menu, UINT id, const CString& text) {
  for (int i = ::GetMenuItemCount(menu) - 1; i >= 0; --i)
    if (!::GetSubMenu(menu, i) && !IsSeparator(menu, i) && ::GetMenuItemID(menu, i) == id && ItemText(menu, i) == text)
      return TRUE;
  return FALSE;
}

// Takes submenu out of popup (without destroying it); false when it is not there.
BOOL RemoveSubmenu(HMENU popup, HMENU submenu) {
  for (int i = ::GetMenuItemCount(popup) - 1; i >= 0; --i)
    if (::GetSubMenu(popup, i) == submenu) return ::RemoveMenu(popup, UINT(i), MF_BYPOSITION);
  return FALSE;
}

// The index of the container's Help popup: its last item, a popup after its third separator; -1 when none.
int ContainerHelpPosition(HMENU container) {
  int last = ::GetMenuItemCount(container) - 1;
  int separators = 0;
  for (int i = 0; i < last; ++i)
    if (IsSeparator(container, i)) ++separators;
  return separators >= 3 && ::GetSubMenu(container, last) ? last : -1;
}

}  // namespace

CString cNXComponent::HelpTitle(LPCSTR popupText) const {
  CString title;
  if (m_pDocTemplate) m_pDocTemplate->GetDocString(title, CDocTemplate::docName);
  if (!title.IsEmpty()) title += " ";
  title += popupText;
  title.Remove('&');
  return title;
}

BOOL cNXComponent::BuildMergedMenu() {
  if (m_hMergedMenu) return TRUE;
  HMENU server = m_pDocTemplate ? m_pDocTemplate->m_hMenuInPlaceServer : NULL;
  if (!server) return FALSE;
  HMENU menu = ::CreateMenu();
  if (!menu) return FALSE;
  for (LONG& width : m_menuWidths) width = 0;
  MergeContainerMenu(menu, m_menuWidths);
  m_hHelpPopup = MergeMenu(menu, server, m_menuWidths, 1, TRUE);
  m_hMergedMenu = menu;
  return TRUE;
}

BOOL cNXComponent::DestroyMergedMenu() {
  HMENU server = m_pDocTemplate ? m_pDocTemplate->m_hMenuInPlaceServer : NULL;
  if (!m_hMergedMenu || !server) return FALSE;
  UnmergeMenu(m_hMergedMenu, server, m_hHelpPopup);
  UnmergeContainerMenu(m_hMergedMenu);
  BOOL destroyed = ::DestroyMenu(m_hMergedMenu);
  m_hMergedMenu = NULL;
  m_hHelpPopup = NULL;
  return destroyed;
}

void cNXComponent::MergeContainerMenu(HMENU menu, LONG* widths) {
  widths[0] = 1;
  widths[2] = 0;
  widths[4] = 0;
  HMENU container = m_pDocTemplate ? m_pDocTemplate->m_hMenuInPlace : NULL;
  if (!container) return;
  AfxMergeMenus(menu, container, widths, 0, FALSE);
  // The merge counts the Help popup with the Window group, where it ended up last.
  int help = ContainerHelpPosition(container);
  int last = ::GetMenuItemCount(menu) - 1;
  if (help >= 0 && widths[4] > 0 && last >= 0 && ::GetSubMenu(menu, last) == ::GetSubMenu(container, help)) {
    widths[4] -= 1;
    widths[NXMENU_HELP_GROUP] = 1;
  }
}

void cNXComponent::UnmergeContainerMenu(HMENU menu) {
  // The last popup goes as it is: it is the host's own (its Help), shared with the container menu.
  for (int i = ::GetMenuItemCount(menu) - 1; i >= 0; --i)
    if (::GetSubMenu(menu, i)) {
      ::RemoveMenu(menu, UINT(i), MF_BYPOSITION);
      break;
    }
  HMENU container = m_pDocTemplate ? m_pDocTemplate->m_hMenuInPlace : NULL;
  if (container) AfxUnmergeMenus(menu, container);
}

HMENU cNXComponent::MergeMenu(HMENU destination, HMENU source, LONG* widths, int group, BOOL mergeHelp) {
  int position = group == 1 ? int(widths[0]) : 0;
  int inGroup = 0;
  HMENU help = NULL;
  int count = ::GetMenuItemCount(source);
  for (int i = 0; i < count; ++i) {
    HMENU popup = ::GetSubMenu(source, i);
    if (!popup && (::GetMenuState(source, UINT(i), MF_BYPOSITION) & MF_SEPARATOR)) {
      // A separator closes the group; past the Help group there is none to open, the items stay in it.
      if (group + 2 > NXMENU_HELP_GROUP) continue;
      widths[group] = inGroup;
      inGroup = 0;
      position += int(widths[group + 1]);
      group += 2;
      continue;
    }
    CString text = ItemText(source, i);
    if (popup && mergeHelp && group == NXMENU_HELP_GROUP && widths[NXMENU_HELP_GROUP] == 1) {
      // The host's Help is at the position: the component's Help becomes one of its submenus.
      HMENU hostHelp = ::GetSubMenu(destination, position);
      if (hostHelp && ::AppendMenuA(hostHelp, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), HelpTitle(text))) {
        widths[group] = 0;
        widths[group - 1] += 1;
        help = popup;
        continue;
      }
    }
    if (popup) {
      if (::GetMenuItemCount(popup) <= 0) continue;
      int same = 0;
      if (FindMenuItem(destination, text, &same)) {
        InsertPopupItems(destination, same, popup);
        continue;
      }
    } else if (text.IsEmpty()) {
      continue;
    }
    if (CopyItem(destination, position, source, i)) {
      ++position;
      ++inGroup;
    }
  }
  if (help) return help;
  widths[group] = inGroup;
  return NULL;
}

void cNXComponent::UnmergeMenu(HMENU destination, HMENU source, HMENU helpPopup) {
  for (int i = ::GetMenuItemCount(destination) - 1; i >= 0; --i) {
    HMENU popup = ::GetSubMenu(destination, i);
    if (!popup) {
      if (!IsSeparator(destination, i) &&
          IsTopLevelCommandOf(source, ::GetMenuItemID(destination, i), ItemText(destination, i)))
        ::RemoveMenu(destination, UINT(i), MF_BYPOSITION);
      continue;
    }
    if (helpPopup && RemoveSubmenu(popup, helpPopup)) {
      helpPopup = NULL;
      continue;
    }
    // The component's own popups go whole; their text is the source's too, but their items are theirs.
    if (IsTopLevelPopupOf(source, popup)) {
      ::RemoveMenu(destination, UINT(i), MF_BYPOSITION);
      continue;
    }
    int position = 0;
    if (FindMenuItem(source, ItemText(destination, i), &position)) RemovePopupItems(popup, source, position);
  }
}

BOOL cNXComponent::FindMenuItem(HMENU menu, LPCSTR text, int* position) {
  BOOL found = FALSE;
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (_mbsicmp(reinterpret_cast<const unsigned char*>(LPCSTR(ItemText(menu, i))),
                 reinterpret_cast<const unsigned char*>(text)) == 0) {
      if (position) *position = i;
      found = TRUE;
    }
  }
  return found;
}

void cNXComponent::InsertPopupItems(HMENU destination, int position, HMENU source) {
  HMENU target = ::GetSubMenu(destination, position);
  if (!target) return;
  int at = 0;
  int count = ::GetMenuItemCount(target);
  for (int i = 1; i < count; ++i)
    if (IsSeparator(target, i - 1) && IsSeparator(target, i)) {
      at = i;
      break;
    }
  int items = ::GetMenuItemCount(source);
  for (int i = 0; i < items; ++i)
    if (CopyItem(target, at, source, i)) ++at;
}

void cNXComponent::RemovePopupItems(HMENU destinationPopup, HMENU source, int position) {
  HMENU items = ::GetSubMenu(source, position);
  if (!items || !destinationPopup) return;
  int count = ::GetMenuItemCount(items);
  int start = FindInsertedRun(destinationPopup, items);
  if (start >= 0) {
    for (int k = 0; k < count; ++k) ::RemoveMenu(destinationPopup, UINT(start), MF_BYPOSITION);
    return;
  }
  // The items were changed since: each goes by its text, and the host's separators stay.
  for (int k = 0; k < count; ++k) {
    int at = 0;
    if (!IsSeparator(items, k) && FindMenuItem(destinationPopup, ItemText(items, k), &at))
      ::RemoveMenu(destinationPopup, UINT(at), MF_BYPOSITION);
  }
}
