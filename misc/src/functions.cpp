// NXMisc's free functions: registry integers, resources, temporary files, browser, programs, mail,
// drop data, extensions, repaints, menus and path predicates.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "MessageBox.h"
#include "NXMisc.h"
#include <mapi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>
#include "NXMiscIds.h"
#include "afxres.h"
#include "safefile/safefile.h"

namespace {
// Registry integers are read into a buffer of this size.
constexpr DWORD kProfileIntBuffer = 10;
constexpr int kLargeString = 1024;
constexpr int kTempFileLimit = 198;  // numbered temporary files NXX1 to NXX198
const char kTempFilePrefix[] = "NXX";
constexpr int kSubMenuText = 256;
const char kHttpCommandKey[] = "http\\shell\\open\\command";
const char kMailLibrary[] = "MAPI32.DLL";
const char kMailSendEntry[] = "MAPISendMail";
const char kFileNameFormat[] = "FileName";
// Font record layout: five 32-bit values, eight 16-bit values, then the face name.
constexpr DWORD kFontRecordFixed = 5 * 4 + 8 * 2;

HMODULE g_mailLibrary = NULL;
BOOL g_mailAvailable = FALSE;

const BYTE* FindRawData(UINT id, DWORD* size) {
  HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_RCDATA);
  HRSRC info = FindResourceA(module, MAKEINTRESOURCE(id), RT_RCDATA);
  if (!info) return NULL;
  HGLOBAL data = LoadResource(module, info);
  *size = SizeofResource(module, info);
  return data ? static_cast<const BYTE*>(LockResource(data)) : NULL;
}

int Get32(const BYTE* p) { return int(p[0] | (p[1] << 8) | (p[2] << 16) | (DWORD(p[3]) << 24)); }
}  // namespace

BOOL WriteProfileInt(HKEY key, LPCSTR subkey, LPCSTR valueName, int value) {
  HKEY sub;
  DWORD disposition;
  if (RegCreateKeyExA(key, subkey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL, &sub, &disposition) !=
      ERROR_SUCCESS)
    return FALSE;
  char text[16];
  int n = snprintf(text, sizeof text, "%d", value);
  LONG rc = RegSetValueExA(sub, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), DWORD(n));
  RegCloseKey(sub);
  return rc == ERROR_SUCCESS;
}

int ReadProfileInt(HKEY key, LPCSTR subkey, LPCSTR valueName, int defaultValue) {
  HKEY sub;
  if (RegOpenKeyExA(key, subkey, 0, KEY_READ, &sub) != ERROR_SUCCESS) return defaultValue;
  char text[kProfileIntBuffer + 1] = {};
  DWORD size = kProfileIntBuffer, type;
  LONG rc = RegQueryValueExA(sub, valueName, NULL, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(sub);
  if (rc != ERROR_SUCCESS) return defaultValue;
  size_t length = strnlen(text, size);
  if (length >= kProfileIntBuffer) return defaultValue;  // no room left for the terminator
  text[length] = 0;
  return atoi(text);
}

BOOL GetFontInfo(UINT resourceId, LOGFONTA* font) {
  DWORD size = 0;
  const BYTE* p = FindRawData(resourceId, &size);
  if (!p || size < kFontRecordFixed + 1) return FALSE;
  memset(font, 0, sizeof *font);
  font->lfHeight = Get32(p);
  font->lfWidth = Get32(p + 4);
  font->lfEscapement = Get32(p + 8);
  font->lfOrientation = Get32(p + 12);
  font->lfWeight = Get32(p + 16);
  const BYTE* w = p + 20;
  BYTE* fields[8] = {&font->lfItalic, &font->lfUnderline, &font->lfStrikeOut, &font->lfCharSet,
                     &font->lfOutPrecision, &font->lfClipPrecision, &font->lfQuality, &font->lfPitchAndFamily};
  for (int i = 0; i < 8; ++i) *fields[i] = w[2 * i];
  const char* face = reinterpret_cast<const char*>(p + kFontRecordFixed);
  size_t faceLength = strnlen(face, size - kFontRecordFixed);
  if (faceLength >= LF_FACESIZE) faceLength = LF_FACESIZE - 1;
  memcpy(font->lfFaceName, face, faceLength);
  return TRUE;
}

BOOL LoadLargeString(UINT stringId, CString& out) {
  HINSTANCE module = AfxFindStringResourceHandle(stringId);
  if (!FindResourceA(module, MAKEINTRESOURCE((stringId >> 4) + 1), RT_STRING)) return FALSE;
  char buffer[kLargeString];
  int n = LoadStringA(module, stringId, buffer, sizeof buffer);
  out = CString(buffer, n);
  return TRUE;
}

BOOL GetRCData(UINT resourceId, void* destination, DWORD length) {
  DWORD size = 0;
  const BYTE* p = FindRawData(resourceId, &size);
  if (!p || size < length) return FALSE;
  memcpy(destination, p, length);
  return TRUE;
}

BOOL IsWin32sLoaded() {
  DWORD version = GetVersion();
  return (version & 0x80000000u) && LOBYTE(LOWORD(version)) < 4;
}

CString GetTempPathA() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
  CString folder = n && n < MAX_PATH ? CString(path, n) : CString();
  folder = folder.Left(folder.ReverseFind('\\') + 1) + "Temp";
  DWORD attributes = GetFileAttributesA(folder);
  bool ok = attributes != INVALID_FILE_ATTRIBUTES ? (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                                                   : CreateDirectoryA(folder, NULL) != FALSE;
  if (!ok) {
    CString format, text;
    LoadStringA(NXMiscResourceHandle(), IDS_NXMISC_TEMP_FOLDER_FAILED, format.GetBuffer(kLargeString), kLargeString);
    format.ReleaseBuffer();
    LPCSTR insert = folder;
    AfxFormatStrings(text, format, &insert, 1);
    NXMessageBox(CWnd::GetSafeOwner(), "", text, NXMB_OK, 0);
    return CString();
  }
  return folder + "\\";
}

CString CreateNumberedTempFile(LPCSTR extension) {
  const CString folder = GetTempPathA();
  if (folder.IsEmpty()) return CString();
  const std::string stem = std::string(folder) + kTempFilePrefix;
  const std::string made = safefile::CreateNumberedFile(stem, std::string(".") + extension, 1, kTempFileLimit);
  if (!made.empty()) return CString(made.c_str());
  CString last;
  last.Format("%s%s%d.%s", LPCSTR(folder), kTempFilePrefix, kTempFileLimit, extension);
  return last;
}

BOOL GetDefaultBrowser(LPSTR program, int size) {
  char folder[MAX_PATH], temp[MAX_PATH];
  if (!::GetTempPathA(MAX_PATH, folder) || !::GetTempFileNameA(folder, "bmp", 0, temp)) return FALSE;
  CString html = temp;
  int dot = html.ReverseFind('.');
  html = (dot < 0 ? html : html.Left(dot)) + ".htm";
  BOOL found = FALSE;
  if (MoveFileA(temp, html)) {
    char exe[MAX_PATH] = {};
    found = reinterpret_cast<INT_PTR>(FindExecutableA(html, NULL, exe)) > 32 && exe[0];
    if (found) lstrcpynA(program, exe, size);
    DeleteFileA(html);
  } else {
    DeleteFileA(temp);
  }
  return found;
}

void OpenBrowser(LPCSTR address) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kHttpCommandKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    AfxMessageBox(IDS_NXMISC_NO_HTTP_COMMAND, MB_OK | MB_ICONSTOP);
    return;
  }
  char command[MAX_PATH + 1] = {};
  DWORD size = MAX_PATH, type;
  LONG rc = RegQueryValueExA(key, NULL, NULL, &type, reinterpret_cast<BYTE*>(command), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS) command[0] = 0;
  CString lower = command;
  lower.MakeLower();
  int exe = lower.Find(".exe");
  if (exe < 1) {
    AfxMessageBox(IDS_NXMISC_NO_BROWSER, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  CString line = CString(command).Left(exe + 4);
  if (line[0] != '"') line = "\"" + line;
  line += CString("\" ") + address;
  if (!RunProgram(line, NULL)) AfxMessageBox(IDS_NXMISC_NO_BROWSER, MB_OK | MB_ICONSTOP);
}

BOOL RunProgram(LPCSTR commandLine, LPCSTR workingFolder) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  CString line = commandLine;  // CreateProcess may write into the command line
  if (!CreateProcessA(NULL, line.GetBuffer(0), NULL, NULL, FALSE, 0, NULL, workingFolder, &si, &pi)) return FALSE;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return TRUE;
}

int Url2Path(LPCSTR address, LPSTR path) {
  DWORD size = 0;
  if (!GetUrlCacheEntryInfoA(address, NULL, &size)) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return 1;
    if (error != ERROR_INSUFFICIENT_BUFFER || size == 0) return 2;
  }
  CByteArray buffer;
  buffer.SetSize(int(size));
  auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.GetData());
  if (!GetUrlCacheEntryInfoA(address, entry, &size))
    return GetLastError() == ERROR_FILE_NOT_FOUND ? 1 : 2;
  if (!entry->lpszLocalFileName) return 2;
  lstrcpynA(path, entry->lpszLocalFileName, MAX_PATH);
  return 0;
}

BOOL IsMAPIAvailable() {
  if (g_mailAvailable) return TRUE;
  char found[MAX_PATH];
  LPSTR filePart;
  g_mailAvailable = GetProfileIntA("MAIL", "MAPI", 0) != 0 &&
                    SearchPathA(NULL, kMailLibrary, NULL, MAX_PATH, found, &filePart) != 0;
  return g_mailAvailable;
}

BOOL SendMail(LPCSTR filePath) {
  // The mail dialog is modal to the window the user is in, which need not be the main window's last popup.
  HWND owner = GetActiveWindow();
  if (!owner) owner = AfxGetSafeHwnd(CWnd::GetSafeOwner());
  CWaitCursor wait;
  if (!g_mailLibrary) g_mailLibrary = LoadLibraryA(kMailLibrary);
  if (!g_mailLibrary) {
    AfxMessageBox(AFX_IDP_FAILED_MAPI_LOAD);
    return FALSE;
  }
  auto send = reinterpret_cast<LPMAPISENDMAIL>(GetProcAddress(g_mailLibrary, kMailSendEntry));
  if (!send) {
    AfxMessageBox(AFX_IDP_INVALID_MAPI_DLL);
    return FALSE;
  }
  char path[1025];
  lstrcpynA(path, filePath, sizeof path);
  cPathName name(filePath);
  CString title = name.GetFilename(TRUE);
  MapiFileDesc file = {};
  file.nPosition = ULONG(-1);
  file.lpszPathName = path;
  file.lpszFileName = title.GetBuffer(0);
  MapiMessage message = {};
  message.nFileCount = 1;
  message.lpFiles = &file;

  if (owner) EnableWindow(owner, FALSE);
  if (owner) SetCapture(owner);
  ULONG result = send(0, ULONG_PTR(owner), &message, MAPI_LOGON_UI | MAPI_DIALOG, 0);
  if (owner) {
    ReleaseCapture();
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  if (result == SUCCESS_SUCCESS || result == MAPI_USER_ABORT || result == MAPI_E_LOGIN_FAILURE) return TRUE;
  AfxMessageBox(AFX_IDP_FAILED_MAPI_SEND);
  return FALSE;
}

CString GetDropFileName(UINT clipboardFormat, HGLOBAL data) {
  static const UINT fileNameFormat = RegisterClipboardFormatA(kFileNameFormat);
  CString result;
  if (!data || (clipboardFormat != CF_HDROP && clipboardFormat != fileNameFormat)) return result;
  SIZE_T size = GlobalSize(data);
  const BYTE* p = static_cast<const BYTE*>(GlobalLock(data));
  if (!p) return result;
  if (clipboardFormat == CF_HDROP) {
    const DROPFILES* drop = reinterpret_cast<const DROPFILES*>(p);
    if (size >= sizeof(DROPFILES) && drop->pFiles < size) {
      const BYTE* names = p + drop->pFiles;
      size_t room = size - drop->pFiles;
      if (drop->fWide) {
        const WCHAR* w = reinterpret_cast<const WCHAR*>(names);
        int n = int(wcsnlen(w, room / sizeof(WCHAR)));
        char ansi[MAX_PATH * 2];
        int got = WideCharToMultiByte(CP_ACP, 0, w, n, ansi, sizeof ansi, NULL, NULL);
        result = CString(ansi, got);
      } else {
        result = CString(reinterpret_cast<const char*>(names), int(strnlen(reinterpret_cast<const char*>(names), room)));
      }
    }
  } else {
    result = CString(reinterpret_cast<const char*>(p), int(strnlen(reinterpret_cast<const char*>(p), size)));
  }
  GlobalUnlock(data);
  return result;
}

void AssureCorrectExtension(LPSTR path, LPCSTR extension) {
  cPathName name(path);
  CString folder = name.GetDriveAndPath();
  CString result = folder.IsEmpty() ? CString() : folder + "\\";
  result += name.GetFilename(FALSE);
  if (name.GetExtension().CompareNoCase(extension) != 0) result += name.GetExtension();
  result += extension;
  lstrcpynA(path, result, MAX_PATH);
}

void ForceRepaints() {
  static const UINT kinds[] = {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND};
  MSG msg;
  for (UINT kind : kinds)
    while (PeekMessageA(&msg, NULL, kind, kind, PM_REMOVE)) DispatchMessageA(&msg);
}

CString FindSubMenuName(HMENU menu, HMENU subMenu) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU sub = GetSubMenu(menu, i);
    if (!sub) continue;
    if (sub == subMenu) {
      char text[kSubMenuText] = {};
      GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
      return text;
    }
    CString deeper = FindSubMenuName(sub, subMenu);
    if (!deeper.IsEmpty()) return deeper;
  }
  return CString();
}

HMENU FindSubMenuByName(HMENU menu, LPCSTR name) {
  if (!name || !*name) return NULL;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU sub = GetSubMenu(menu, i);
    if (!sub) continue;
    char text[kSubMenuText] = {};
    GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
    if (lstrcmpiA(text, name) == 0) return sub;
    if (HMENU deeper = FindSubMenuByName(sub, name)) return deeper;
  }
  return NULL;
}

BOOL CopyMenuItem(HMENU target, UINT targetPosition, HMENU source, UINT sourcePosition) {
  if (GetSubMenu(source, int(sourcePosition))) return CopyMenu(target, targetPosition, source, sourcePosition);
  char text[kSubMenuText] = {};
  GetMenuStringA(source, sourcePosition, text, sizeof text, MF_BYPOSITION);
  UINT state = GetMenuState(source, sourcePosition, MF_BYPOSITION);
  if (state == UINT(-1)) return FALSE;
  UINT id = GetMenuItemID(source, int(sourcePosition));
  UINT flags = MF_BYPOSITION | (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_MENUBARBREAK | MF_MENUBREAK));
  return InsertMenuA(target, targetPosition, flags | ((state & MF_SEPARATOR) ? 0 : MF_STRING), id, text);
}

BOOL CopyMenu(HMENU target, UINT targetPosition, HMENU source, UINT sourcePosition) {
  HMENU from = GetSubMenu(source, int(sourcePosition));
  if (!from) return FALSE;
  HMENU popup = CreatePopupMenu();
  int count = GetMenuItemCount(from);
  for (int i = 0; i < count; ++i) CopyMenuItem(popup, UINT(i), from, UINT(i));
  char text[kSubMenuText] = {};
  GetMenuStringA(source, sourcePosition, text, sizeof text, MF_BYPOSITION);
  UINT state = GetMenuState(source, sourcePosition, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED);
  if (!InsertMenuA(target, targetPosition, MF_BYPOSITION | MF_POPUP | MF_STRING | state,
                   reinterpret_cast<UINT_PTR>(popup), text)) {
    DestroyMenu(popup);
    return FALSE;
  }
  return TRUE;
}

BOOL IsDriveRoot(LPCSTR path) {
  if (!path) return FALSE;
  size_t n = strlen(path);
  if ((n == 2 || (n == 3 && path[2] == '\\')) && isalpha(BYTE(path[0])) && path[1] == ':') return TRUE;
  if (n > 3 && path[0] == '\\' && path[1] == '\\') {
    const char* server = path + 2;
    const char* slash = strchr(server, '\\');
    if (!slash || slash == server) return FALSE;
    const char* share = slash + 1;
    const char* next = strchr(share, '\\');
    if (*share == 0 || *share == '\\') return FALSE;
    return next == NULL || next[1] == 0;
  }
  return FALSE;
}

BOOL HasTrailingBackslash(LPCSTR path) {
  size_t n = path ? strlen(path) : 0;
  return n > 0 && path[n - 1] == '\\';
}
