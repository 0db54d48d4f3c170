// The context-menu extension object: selection, menu command and starting the host.
#include "forgeext.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "module.h"
#include "orvaneext/OrvaneExt.h"
#include "orvaneext/OrvaneExtIds.h"

namespace {

// The length the menu text is loaded with.
const int kMenuTextChars = 64;
// The command's offset from the first id the shell gave, and how many commands the menu gets.
const UINT kOpenCommandOffset = 0;
const USHORT kCommandCount = 1;
// The low four bits of the menu flags say which kind of menu is asked for.
const UINT kMenuKindMask = 0x000F;
// Value and key names are at most 255 characters.
const DWORD kRegistryNameChars = 256;
// How the host is started.
const DWORD kHostCreationFlags = CREATE_SEPARATE_WOW_VDM;
// A host that is not idle by then is reported and the next item goes on, so that a hung host never
// freezes the shell for good (the shell's own launching waits as long).
const DWORD kHostIdleLimitMs = 60 * 1000;
const UINT kNoDropIndex = 0xFFFFFFFF;

HRESULT GetFileList(IDataObject* data, STGMEDIUM& medium) {
  FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  return data->GetData(&format, &medium);
}

// Copies the selected path into buffer; false when it does not fit whole (a cut path could name another item).
bool SelectedPath(HDROP drop, UINT index, char (&buffer)[MAX_PATH]) {
  const UINT length = DragQueryFileA(drop, index, nullptr, 0);
  if (length == 0 || length >= MAX_PATH) return false;
  return DragQueryFileA(drop, index, buffer, MAX_PATH) == length;
}

bool IsFolder(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The host program's full path from the "Location" key; false when it is missing or empty. The host
// reads it as its folder and the installer records it so: a folder names the host program in it.
bool ReadHostPath(char (&program)[MAX_PATH + 1]) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, orvext::kLocationKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0, size = MAX_PATH;
  const LONG result = RegQueryValueExA(key, orvext::kPathValue, nullptr, &type, reinterpret_cast<BYTE*>(program), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  program[size] = '\0';  // stored data need not carry its terminator
  if (program[0] == '\0') return false;
  if (IsFolder(program)) {
    const size_t length = std::strlen(program);
    const bool slash = program[length - 1] == '\\';
    if (length + (slash ? 0 : 1) + sizeof orvext::kHostProgram > sizeof program) return false;
    if (!slash) program[length] = '\\', program[length + 1] = '\0';
    std::strcat(program, orvext::kHostProgram);
  }
  return true;
}

}  // namespace

cForgeExt::cForgeExt() : m_refs(0), m_data(nullptr) {
  orvext::Trace("cForgeExt::cForgeExt()\r\n");
  orvext::LockModule();
  m_fileName[0] = '\0';
}

cForgeExt::~cForgeExt() {
  if (m_data) m_data->Release();
  orvext::UnlockModule();
}

STDMETHODIMP cForgeExt::QueryInterface(REFIID iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellExtInit)) {
    orvext::Trace("cForgeExt::QueryInterface()==>IID_IShellExtInit\r\n");
    *ppv = static_cast<IShellExtInit*>(this);
  } else if (IsEqualIID(iid, IID_IContextMenu)) {
    orvext::Trace("cForgeExt::QueryInterface()==>IID_IContextMenu\r\n");
    *ppv = static_cast<IContextMenu*>(this);
  } else {
    orvext::Trace("cForgeExt::QueryInterface()==>Unknown Interface!\r\n");
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) cForgeExt::AddRef() {
  orvext::Trace("cForgeExt::AddRef()\r\n");
  return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) cForgeExt::Release() {
  orvext::Trace("cForgeExt::Release()\r\n");
  const LONG left = InterlockedDecrement(&m_refs);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP cForgeExt::Initialize(LPCITEMIDLIST, IDataObject* data, HKEY) {
  orvext::Trace("cForgeExt::Initialize()\r\n");
  if (m_data) {
    m_data->Release();
    m_data = nullptr;
  }
  m_fileName[0] = '\0';
  if (!data) return E_FAIL;
  m_data = data;
  m_data->AddRef();

  STGMEDIUM medium;
  HRESULT hr = GetFileList(m_data, medium);
  if (FAILED(hr)) return hr;
  ReadSupportedExtensions();
  HDROP drop = static_cast<HDROP>(medium.hGlobal);
  const UINT count = DragQueryFileA(drop, kNoDropIndex, nullptr, 0);
  hr = E_FAIL;
  for (UINT i = 0; i < count && hr != S_OK; ++i) {
    if (SelectedPath(drop, i, m_fileName) && GetFileAttributesA(m_fileName) != INVALID_FILE_ATTRIBUTES &&
        IsSupported(m_fileName)) {
      hr = S_OK;
    }
  }
  ReleaseStgMedium(&medium);
  return hr;
}

void cForgeExt::ReadSupportedExtensions() {
  m_extensions.Clear();
  HKEY items;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, orvext::kLaunchItemsKey, 0, KEY_READ, &items) == ERROR_SUCCESS) {
    bool full = false;
    for (DWORD i = 0; !full; ++i) {
      char item[kRegistryNameChars];
      DWORD itemChars = kRegistryNameChars;
      if (RegEnumKeyExA(items, i, item, &itemChars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      char typesPath[sizeof orvext::kLaunchItemsKey + kRegistryNameChars + sizeof orvext::kFileTypesSubkey + 2];
      std::snprintf(typesPath, sizeof typesPath, "%s\\%s\\%s", orvext::kLaunchItemsKey, item, orvext::kFileTypesSubkey);
      HKEY types;
      if (RegOpenKeyExA(HKEY_CURRENT_USER, typesPath, 0, KEY_READ, &types) != ERROR_SUCCESS) continue;
      for (DWORD v = 0; !full; ++v) {
        char name[kRegistryNameChars];
        DWORD nameChars = kRegistryNameChars;
        const LONG result = RegEnumValueA(types, v, name, &nameChars, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) continue;  // a name longer than any extension: skipped
        if (result != ERROR_SUCCESS) break;
        // The unnamed value names no extension.
        if (name[0] != '\0') full = m_extensions.Append(name) == orvext::ExtensionList::Added::Full;
      }
      RegCloseKey(types);
    }
    RegCloseKey(items);
  }
  m_extensions.Finish();
}

bool cForgeExt::IsSupported(const char* path) const { return m_extensions.Supports(path) || IsFolder(path); }

STDMETHODIMP cForgeExt::QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags) {
  orvext::Trace("cForgeExt::QueryContextMenu()\r\n");
  bool add = false;
  if ((flags & kMenuKindMask) == CMF_NORMAL) {
    orvext::Trace("CMF_NORMAL...\r\n");
    add = true;
  } else if (flags & CMF_VERBSONLY) {
    orvext::Trace("CMF_VERBSONLY...\r\n");
    add = true;
  } else if (flags & CMF_EXPLORE) {
    orvext::Trace("CMF_EXPLORE...\r\n");
    add = true;
  } else if (flags & CMF_DEFAULTONLY) {
    orvext::Trace("CMF_DEFAULTONLY...\r\n");
  } else {
    orvext::Trace("CMF_default...\r\n");
    char text[32];
    std::snprintf(text, sizeof text, "uFlags==>%d\r\n", static_cast<int>(flags));
    orvext::Trace(text);
  }
  // Without a free command id the command would take one that belongs to somebody else.
  if (!add || firstId > lastId) return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);

  char text[kMenuTextChars];
  LoadStringA(orvext::ModuleInstance(), IDS_ORVANEEXT_OPEN_WITH, text, kMenuTextChars);
  if (!InsertMenuA(menu, index, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr) ||
      !InsertMenuA(menu, index + 1, MF_BYPOSITION | MF_STRING, firstId + kOpenCommandOffset, text)) {
    return HRESULT_FROM_WIN32(GetLastError());
  }
  return MAKE_HRESULT(SEVERITY_SUCCESS, 0, kCommandCount);
}

STDMETHODIMP cForgeExt::InvokeCommand(LPCMINVOKECOMMANDINFO info) {
  orvext::Trace("cForgeExt::InvokeCommand()\r\n");
  if (!info || HIWORD(info->lpVerb) != 0 || LOWORD(info->lpVerb) != kOpenCommandOffset) return E_INVALIDARG;
  char program[MAX_PATH + 1];
  if (!ReadHostPath(program)) return E_INVALIDARG;
  if (!m_data) return S_OK;

  STGMEDIUM medium;
  const HRESULT hr = GetFileList(m_data, medium);
  if (FAILED(hr)) return hr;
  HDROP drop = static_cast<HDROP>(medium.hGlobal);
  const UINT count = DragQueryFileA(drop, kNoDropIndex, nullptr, 0);
  // A caller that asks for no user interface gets no message boxes either.
  const HWND owner = info->hwnd;
  const bool showMessages = (info->fMask & CMIC_MASK_FLAG_NO_UI) == 0;
  for (UINT i = 0; i < count; ++i) {
    if (SelectedPath(drop, i, m_fileName) && IsSupported(m_fileName)) {
      StartHost(owner, showMessages, program, m_fileName, count > 1);
    }
  }
  ReleaseStgMedium(&medium);
  return S_OK;
}

void cForgeExt::StartHost(HWND owner, bool showMessages, const char* program, const char* path,
                          bool waitForIdle) const {
  std::string line = std::string("\"") + program + "\" \"" + path + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, kHostCreationFlags, nullptr, nullptr, &startup,
                      &process)) {
    if (showMessages) ShowMessage(owner, IDS_ORVANEEXT_CREATEPROCESS_FAILED);
    return;
  }
  if (waitForIdle && WaitForInputIdle(process.hProcess, kHostIdleLimitMs) != 0 && showMessages) {
    ShowMessage(owner, IDS_ORVANEEXT_WAITFORINPUTIDLE_FAILED);
  }
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

void cForgeExt::ShowMessage(HWND owner, UINT textId) const {
  char text[kMenuTextChars];
  LoadStringA(orvext::ModuleInstance(), textId, text, kMenuTextChars);
  MessageBoxA(owner, text, nullptr, MB_OK);
}

STDMETHODIMP cForgeExt::GetCommandString(UINT_PTR, UINT type, UINT*, LPSTR name, UINT size) {
  orvext::Trace("cForgeExt::GetCommandString()\r\n");
  if (!name || size == 0) return S_OK;
  switch (type) {
    case GCS_VERBA:
      LoadStringA(orvext::ModuleInstance(), IDS_ORVANEEXT_OPEN_WITH, name, static_cast<int>(size));
      break;
    // The other texts are empty rather than whatever the caller's buffer held.
    case GCS_HELPTEXTA:
      name[0] = '\0';
      break;
    case GCS_VERBW:
    case GCS_HELPTEXTW:
      reinterpret_cast<wchar_t*>(name)[0] = L'\0';
      break;
  }
  return S_OK;
}
