// The shell formats of a drag out of the slide table: the file list and the shell's ID list array.
#include "gallery/DragData.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "NXMisc.h"
#include "galcore/text.h"

namespace {

// The shell's ID list of path (absolute, from the desktop), or null; freed with CoTaskMemFree.
LPITEMIDLIST ParsePath(LPCSTR path) {
  IShellFolder* desktop = NULL;
  if (FAILED(SHGetDesktopFolder(&desktop))) return NULL;
  WCHAR wide[MAX_PATH];
  LPITEMIDLIST list = NULL;
  if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) > 0 &&
      FAILED(desktop->ParseDisplayName(NULL, NULL, wide, NULL, &list, NULL)))
    list = NULL;
  desktop->Release();
  return list;
}

bool IsLead(unsigned char c) { return IsDBCSLeadByte(c) != 0; }

}  // namespace

HGLOBAL MakeDropFiles(const std::vector<CString>& paths) {
  size_t bytes = sizeof(DROPFILES) + 1;
  for (const CString& path : paths) bytes += size_t(path.GetLength()) + 1;
  HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, bytes);
  if (!drop) return NULL;
  DROPFILES* header = static_cast<DROPFILES*>(GlobalLock(drop));
  header->pFiles = sizeof(DROPFILES);
  char* p = reinterpret_cast<char*>(header) + sizeof(DROPFILES);
  for (const CString& path : paths) {
    memcpy(p, (LPCSTR)path, size_t(path.GetLength()) + 1);
    p += path.GetLength() + 1;
  }
  GlobalUnlock(drop);
  return drop;
}

HGLOBAL MakeShellIdList(LPCSTR folder, const std::vector<CString>& names) {
  std::vector<LPITEMIDLIST> lists;  // the folder's, then each file's (absolute)
  lists.push_back(ParsePath(folder));
  for (const CString& name : names)
    if (lists.back()) lists.push_back(ParsePath(CString(folder) + "\\" + name));
  HGLOBAL cida = NULL;
  if (lists.back() && lists.size() == names.size() + 1) {
    // Each file's list relative to the folder is its last item (the files lie in the folder itself).
    const UINT count = UINT(names.size());
    std::vector<LPCITEMIDLIST> parts(lists.begin(), lists.end());
    for (UINT i = 1; i <= count; ++i) parts[i] = ILFindLastID(lists[i]);
    size_t bytes = sizeof(UINT) * (count + 2);
    for (LPCITEMIDLIST part : parts) bytes += ILGetSize(part);
    cida = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (cida) {
      BYTE* base = static_cast<BYTE*>(GlobalLock(cida));
      CIDA* header = reinterpret_cast<CIDA*>(base);
      header->cidl = count;
      UINT at = sizeof(UINT) * (count + 2);
      for (UINT i = 0; i <= count; ++i) {
        const UINT size = ILGetSize(parts[i]);
        header->aoffset[i] = at;
        memcpy(base + at, parts[i], size);
        at += size;
      }
      GlobalUnlock(cida);
    }
  }
  for (LPITEMIDLIST list : lists) CoTaskMemFree(list);
  return cida;
}

CString LocalPathOfLink(LPCSTR link, BOOL httpOnly) {
  const std::string text = galcore::LowerAscii(link ? link : "", &IsLead);
  static const char kFilePrefix[] = "file:///";
  const size_t at = text.find(kFilePrefix);
  if (at != std::string::npos) return text.substr(at + sizeof kFilePrefix - 1).c_str();
  if (httpOnly && text.compare(0, 7, "http://") != 0) return CString();
  char path[MAX_PATH] = "";
  return Url2Path(text.c_str(), path) == 0 ? CString(path) : CString();
}

int ShellCopyInto(HWND owner, UINT operation, const std::vector<char>& from, LPCSTR folder) {
  std::vector<char> source(from);
  source.push_back('\0');
  source.push_back('\0');
  std::vector<char> to(folder, folder + strlen(folder) + 1);
  to.push_back('\0');
  SHFILEOPSTRUCTA op = {};
  op.hwnd = owner;
  op.wFunc = operation;
  op.pFrom = source.data();
  op.pTo = to.data();
  op.fFlags = FOF_RENAMEONCOLLISION | FOF_NOCONFIRMATION;
  return SHFileOperationA(&op);
}
