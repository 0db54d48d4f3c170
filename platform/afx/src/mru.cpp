// Recent files: the list (adding, removing, reading and writing under the caller's section and entry
// format, its menu items), shortened display names, and the application's standard list.
#include <cstring>
#include "afxadv.h"

namespace {
const int kMaxEntries = ID_FILE_MRU_FILE16 - ID_FILE_MRU_FILE1 + 1;
const char kRecentSection[] = "Recent File List";
const char kRecentEntry[] = "File%d";
const char kSettingsSection[] = "Settings";
const char kPreviewPages[] = "PreviewPages";
const char kEllipsis[] = "...";

// The text of a menu item shows '&' as itself.
CString MenuSafe(const CString& text) {
  CString result;
  for (int i = 0; i < text.GetLength(); ++i) {
    if (text[i] == '&') result += '&';
    result += text[i];
  }
  return result;
}
}  // namespace

void AFXAPI AfxAbbreviateName(LPSTR path, int maxLength, BOOL atLeastName) {
  int length = lstrlenA(path);
  if (length <= maxLength) return;
  LPCSTR name = strrchr(path, '\\');
  name = name ? name + 1 : path;
  // The root stays: "C:\\" or "\\\\server\\share\\".
  LPCSTR afterRoot = path;
  if (path[0] == '\\' && path[1] == '\\') {
    for (int slashes = 0; *afterRoot && slashes < 4; ++afterRoot)
      if (*afterRoot == '\\') ++slashes;
  } else if (path[0] && path[1] == ':' && path[2] == '\\') {
    afterRoot = path + 3;
  }
  CString root(path, int(afterRoot - path));
  // Folders drop out from the front, "..." standing for them, until the rest fits; the name is last to go.
  CString result;
  for (LPCSTR p = afterRoot; p < name && result.IsEmpty(); ++p) {
    if (*p != '\\') continue;
    CString candidate = root + kEllipsis + p;
    if (candidate.GetLength() <= maxLength) result = candidate;
  }
  if (result.IsEmpty()) {
    CString candidate = CString(kEllipsis) + "\\" + name;
    if (candidate.GetLength() <= maxLength)
      result = candidate;
    else if (atLeastName || lstrlenA(name) <= maxLength)
      result = name;
  }
  lstrcpynA(path, result, length + 1);
}

CRecentFileList::CRecentFileList(UINT start, LPCSTR section, LPCSTR entryFormat, int size, int maxDisplayLength)
    : m_nSize(size), m_arrNames(NULL), m_strSectionName(section), m_strEntryFormat(entryFormat), m_nStart(start),
      m_nMaxDisplayLength(maxDisplayLength) {
  // Each entry needs a command of its own (ID_FILE_MRU_FILE1 to ID_FILE_MRU_FILE16).
  if (size < 1 || size > kMaxEntries) AfxThrowNotSupportedException();
  m_arrNames = new CString[size];
}

CRecentFileList::~CRecentFileList() { delete[] m_arrNames; }

void CRecentFileList::Add(LPCSTR path) {
  char full[MAX_PATH];
  AfxFullPath(full, path);
  // The same file further down moves up; otherwise the last entry drops out.
  int found = m_nSize - 1;
  for (int i = 0; i < m_nSize - 1; ++i) {
    if (!m_arrNames[i].IsEmpty() && AfxComparePath(m_arrNames[i], full)) {
      found = i;
      break;
    }
  }
  for (int i = found; i > 0; --i) m_arrNames[i] = m_arrNames[i - 1];
  m_arrNames[0] = full;
}

void CRecentFileList::Remove(int index) {
  if (index < 0 || index >= m_nSize) return;
  for (int i = index; i < m_nSize - 1; ++i) m_arrNames[i] = m_arrNames[i + 1];
  m_arrNames[m_nSize - 1].Empty();
}

BOOL CRecentFileList::GetDisplayName(CString& name, int index, LPCSTR currentDir, int currentDirLength,
                                     BOOL atLeastName) const {
  const CString& path = m_arrNames[index];
  if (path.IsEmpty()) return FALSE;
  // A file in the current folder goes by its name.
  if (currentDir && currentDirLength > 0 && path.GetLength() > currentDirLength &&
      _strnicmp(path, currentDir, size_t(currentDirLength)) == 0) {
    LPCSTR rest = LPCSTR(path) + currentDirLength;
    if (*rest == '\\') ++rest;
    if (rest != LPCSTR(path) + currentDirLength || currentDir[currentDirLength - 1] == '\\') {
      if (!strchr(rest, '\\')) {
        name = rest;
        return TRUE;
      }
    }
  }
  char buffer[MAX_PATH];
  lstrcpynA(buffer, path, MAX_PATH);
  AfxAbbreviateName(buffer, m_nMaxDisplayLength, atLeastName);
  name = buffer;
  return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* ui) {
  CMenu* menu = ui->m_pMenu;
  if (!menu) return;
  if (m_strOriginal.IsEmpty()) menu->GetMenuString(ui->m_nID, m_strOriginal, MF_BYCOMMAND);
  if (m_arrNames[0].IsEmpty()) {
    // Nothing recent: the item keeps its own text, disabled.
    if (!m_strOriginal.IsEmpty()) ui->SetText(m_strOriginal);
    ui->Enable(FALSE);
    return;
  }
  for (int i = 0; i < m_nSize; ++i) menu->DeleteMenu(ui->m_nID + i, MF_BYCOMMAND);
  char current[MAX_PATH];
  DWORD currentLength = ::GetCurrentDirectoryA(MAX_PATH, current);
  if (currentLength >= MAX_PATH) currentLength = 0;
  for (int i = 0; i < m_nSize; ++i) {
    CString name;
    if (!GetDisplayName(name, i, current, int(currentLength))) break;
    CString text;
    text.Format("&%d %s", int((i + 1 + m_nStart) % 10), LPCSTR(MenuSafe(name)));
    menu->InsertMenu(ui->m_nIndex++, MF_STRING | MF_BYPOSITION, ui->m_nID++, text);
  }
  // The update pass goes on after the last item added, all of them enabled.
  ui->m_nIndex--;
  ui->m_nIndexMax = menu->GetMenuItemCount();
  ui->m_bEnableChanged = TRUE;
}

void CRecentFileList::ReadList() {
  CWinApp* app = AfxGetApp();
  if (!app) AfxThrowNotSupportedException();  // the base list lives in the application's profile
  for (int i = 0; i < m_nSize; ++i) {
    CString entry;
    entry.Format(m_strEntryFormat, i + 1);
    m_arrNames[i] = app->GetProfileString(m_strSectionName, entry, "");
  }
}

void CRecentFileList::WriteList() {
  CWinApp* app = AfxGetApp();
  if (!app) AfxThrowNotSupportedException();
  // The section is written afresh: no entry of a longer list stays behind.
  app->WriteProfileString(m_strSectionName, NULL, NULL);
  for (int i = 0; i < m_nSize; ++i) {
    if (m_arrNames[i].IsEmpty()) continue;
    CString entry;
    entry.Format(m_strEntryFormat, i + 1);
    app->WriteProfileString(m_strSectionName, entry, m_arrNames[i]);
  }
}

// ---------------------------------------------------------------------------------------------
// The application's list.

void CWinApp::LoadStdProfileSettings(UINT maxMRU) {
  delete m_pRecentFileList;
  m_pRecentFileList = NULL;
  if (maxMRU > UINT(kMaxEntries)) maxMRU = kMaxEntries;
  if (maxMRU) {
    m_pRecentFileList = new CRecentFileList(0, kRecentSection, kRecentEntry, int(maxMRU));
    m_pRecentFileList->ReadList();
  }
  m_nNumPreviewPages = int(GetProfileInt(kSettingsSection, kPreviewPages, 0));
}

void CWinApp::SaveStdProfileSettings() {
  if (m_pRecentFileList) m_pRecentFileList->WriteList();
  if (m_nNumPreviewPages) WriteProfileInt(kSettingsSection, kPreviewPages, m_nNumPreviewPages);
}

void CWinApp::AddToRecentFileList(LPCSTR path) {
  if (m_pRecentFileList) m_pRecentFileList->Add(path);
}

BOOL CWinApp::OnOpenRecentFile(UINT id) {
  int index = int(id) - ID_FILE_MRU_FILE1;
  if (!m_pRecentFileList || index < 0 || index >= m_pRecentFileList->GetSize()) return FALSE;
  CString path = (*m_pRecentFileList)[index];
  if (path.IsEmpty()) return FALSE;
  // A file that no longer opens leaves the list (opening told the user why).
  if (!OpenDocumentFile(path)) m_pRecentFileList->Remove(index);
  return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* ui) {
  if (!m_pRecentFileList) {
    ui->Enable(FALSE);
    return;
  }
  m_pRecentFileList->UpdateMenu(ui);
}
