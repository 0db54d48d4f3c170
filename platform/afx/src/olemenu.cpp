// Menus of in-place activation: merging a container's and an object's menus by OLE menu groups, and the
// templates' container and server menus.
#include "afxole.h"

namespace {

const int kLastGroup = 5;  // Help, the last of the six OLE menu groups
const int kMenuText = 256;

BOOL IsTopLevelPopupOf(HMENU menu, HMENU popup) {
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i)
    if (::GetSubMenu(menu, i) == popup) return TRUE;
  return FALSE;
}

BOOL IsTopLevelCommandOf(HMENU menu, UINT id) {
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i)
    if (!::GetSubMenu(menu, i) && ::GetMenuItemID(menu, i) == id) return TRUE;
  return FALSE;
}

HMENU LoadMenuOrThrow(UINT id) {
  LPCSTR name = MAKEINTRESOURCEA(id);
  HMENU menu = ::LoadMenuA(AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_MENU)), name);
  if (!menu) AfxThrowResourceException();
  return menu;
}

HACCEL LoadAccelerators(UINT id) {
  LPCSTR name = MAKEINTRESOURCEA(id);
  return ::LoadAcceleratorsA(AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_ACCELERATOR)), name);
}

}  // namespace

HMENU AFXAPI AfxMergeMenus(HMENU shared, HMENU source, LONG* widths, int widthIndex, BOOL mergeHelp) {
  int group = widthIndex;
  int position = widthIndex == 1 ? int(widths[0]) : 0;
  int inGroup = 0;
  HMENU help = NULL;
  int count = ::GetMenuItemCount(source);
  for (int i = 0; i < count; ++i) {
    HMENU popup = ::GetSubMenu(source, i);
    UINT state = ::GetMenuState(source, UINT(i), MF_BYPOSITION);
    if (!popup && (state & MF_SEPARATOR)) {
      // The group ends; the other side's group between is skipped. Past the last group the items stay in it.
      if (group + 2 > kLastGroup) continue;
      widths[group] = inGroup;
      inGroup = 0;
      position += int(widths[group + 1]);
      group += 2;
      continue;
    }
    char text[kMenuText] = "";
    ::GetMenuStringA(source, UINT(i), text, kMenuText, MF_BYPOSITION);
    if (popup && mergeHelp && group == kLastGroup && widths[kLastGroup] == 1) {
      // The container's Help popup is at the position: the object's help becomes part of it, and the popup
      // counts as the container's from now on.
      HMENU containerHelp = ::GetSubMenu(shared, position);
      if (containerHelp && ::AppendMenuA(containerHelp, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text)) {
        widths[kLastGroup] = 0;
        widths[kLastGroup - 1] += 1;
        help = popup;
        continue;
      }
    }
    BOOL inserted;
    if (popup)
      inserted = ::InsertMenuA(shared, UINT(position), MF_BYPOSITION | MF_POPUP | (state & 0xFF), reinterpret_cast<UINT_PTR>(popup), text);
    else if (text[0])
      inserted = ::InsertMenuA(shared, UINT(position), MF_BYPOSITION | (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)),
                               ::GetMenuItemID(source, i), text);
    else
      continue;
    if (!inserted) continue;
    ++position;
    ++inGroup;
  }
  if (!help) widths[group] = inGroup;
  return help;
}

void AFXAPI AfxUnmergeMenus(HMENU shared, HMENU source, HMENU help) {
  for (int i = ::GetMenuItemCount(shared) - 1; i >= 0; --i) {
    HMENU popup = ::GetSubMenu(shared, i);
    if (!popup) {
      if (IsTopLevelCommandOf(source, ::GetMenuItemID(shared, i))) ::RemoveMenu(shared, UINT(i), MF_BYPOSITION);
      continue;
    }
    if (help) {
      for (int j = ::GetMenuItemCount(popup) - 1; j >= 0; --j) {
        if (::GetSubMenu(popup, j) == help) {
          ::RemoveMenu(popup, UINT(j), MF_BYPOSITION);
          help = NULL;
          break;
        }
      }
    }
    if (IsTopLevelPopupOf(source, popup)) ::RemoveMenu(shared, UINT(i), MF_BYPOSITION);
  }
}

void CDocTemplate::SetContainerInfo(UINT containerId) {
  HMENU menu = LoadMenuOrThrow(containerId);
  if (m_hMenuInPlace) ::DestroyMenu(m_hMenuInPlace);
  m_hMenuInPlace = menu;
  m_hAccelInPlace = LoadAccelerators(containerId);
}

void CDocTemplate::SetServerInfo(UINT embeddingId, UINT inPlaceServerId) {
  HMENU embedding = LoadMenuOrThrow(embeddingId);
  HMENU inPlace = NULL;
  if (inPlaceServerId) {
    try {
      inPlace = LoadMenuOrThrow(inPlaceServerId);
    } catch (...) {
      ::DestroyMenu(embedding);
      throw;
    }
  }
  if (m_hMenuEmbedding) ::DestroyMenu(m_hMenuEmbedding);
  if (m_hMenuInPlaceServer) ::DestroyMenu(m_hMenuInPlaceServer);
  m_hMenuEmbedding = embedding;
  m_hAccelEmbedding = LoadAccelerators(embeddingId);
  m_hMenuInPlaceServer = inPlace;
  m_hAccelInPlaceServer = inPlaceServerId ? LoadAccelerators(inPlaceServerId) : NULL;
}
