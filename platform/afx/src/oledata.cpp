// Data transfer: COleDataSource (cached and delayed formats, the clipboard), COleDataObject, and the
// shell's file-list formats.
#include <new>

#include <shlobj.h>

#include "afxole.h"
#include "state.h"

// ---------------------------------------------------------------------------------------------
// COleDataSource.

struct COleDataSource::Entry {
  FORMATETC format;
  STGMEDIUM medium;  // TYMED_NULL while delayed
  BOOL delayed;
};

namespace {

COleDataSource* g_clipboardOwner = NULL;

FORMATETC FormatOf(CLIPFORMAT format, LPFORMATETC given, DWORD tymed) {
  if (given) return *given;
  FORMATETC f = {format, NULL, DVASPECT_CONTENT, -1, tymed};
  return f;
}

// A copy of global memory, or null.
HGLOBAL CopyGlobal(HGLOBAL source) {
  SIZE_T size = GlobalSize(source);
  const void* from = GlobalLock(source);
  if (!from) return NULL;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, size);
  if (copy) {
    memcpy(GlobalLock(copy), from, size);
    GlobalUnlock(copy);
  }
  GlobalUnlock(source);
  return copy;
}

// Hands a reader the cached medium: global memory as its own copy, other media shared with this source.
HRESULT GiveMedium(const STGMEDIUM& cached, IUnknown* owner, LPSTGMEDIUM medium) {
  *medium = cached;
  medium->pUnkForRelease = NULL;
  switch (cached.tymed) {
    case TYMED_HGLOBAL:
      medium->hGlobal = CopyGlobal(cached.hGlobal);
      return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
    case TYMED_ISTREAM:
    case TYMED_ISTORAGE:
      cached.pstm->AddRef();  // pstm and pstg share their place
      return S_OK;
    default:
      // Handles are not counted: the reader gets them through this source, which it keeps while it reads.
      medium->pUnkForRelease = owner;
      owner->AddRef();
      return S_OK;
  }
}

}  // namespace

BEGIN_INTERFACE_MAP(COleDataSource, CCmdTarget)
  INTERFACE_PART(COleDataSource, IID_IDataObject, DataObject)
END_INTERFACE_MAP()

DELEGATE_IUNKNOWN(COleDataSource, DataObject)

COleDataSource::COleDataSource() {}

COleDataSource::~COleDataSource() {
  if (g_clipboardOwner == this) g_clipboardOwner = NULL;
  Empty();
}

void COleDataSource::Empty() {
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
    Entry* entry = static_cast<Entry*>(m_entries[i]);
    if (!entry->delayed) ReleaseStgMedium(&entry->medium);
    delete entry;
  }
  m_entries.RemoveAll();
}

COleDataSource::Entry* COleDataSource::Find(const FORMATETC* wanted, BOOL* tymedMismatch) {
  if (tymedMismatch) *tymedMismatch = FALSE;
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
    Entry* entry = static_cast<Entry*>(m_entries[i]);
    if (entry->format.cfFormat != wanted->cfFormat || entry->format.dwAspect != wanted->dwAspect ||
        entry->format.lindex != wanted->lindex)
      continue;
    if ((entry->format.tymed & wanted->tymed) == 0) {
      if (tymedMismatch) *tymedMismatch = TRUE;
      continue;
    }
    return entry;
  }
  return NULL;
}

COleDataSource::Entry* COleDataSource::Add(CLIPFORMAT format, LPFORMATETC formatEtc) {
  FORMATETC wanted = FormatOf(format, formatEtc, TYMED_HGLOBAL);
  wanted.tymed = DWORD(-1);  // any medium: the format is replaced whatever it was offered on
  for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
    Entry* entry = static_cast<Entry*>(m_entries[i]);
    if (entry->format.cfFormat == wanted.cfFormat && entry->format.dwAspect == wanted.dwAspect &&
        entry->format.lindex == wanted.lindex) {
      if (!entry->delayed) ReleaseStgMedium(&entry->medium);
      delete entry;
      m_entries.RemoveAt(i);
      break;
    }
  }
  Entry* entry = new Entry;
  entry->format = wanted;
  entry->medium.tymed = TYMED_NULL;
  entry->medium.hGlobal = NULL;
  entry->medium.pUnkForRelease = NULL;
  entry->delayed = FALSE;
  m_entries.Add(entry);
  return entry;
}

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL data, LPFORMATETC formatEtc) {
  STGMEDIUM medium = {};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = data;
  FORMATETC f = FormatOf(format, formatEtc, TYMED_HGLOBAL);
  f.tymed = TYMED_HGLOBAL;
  CacheData(format, &medium, &f);
}

void COleDataSource::CacheData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc) {
  FORMATETC f = FormatOf(format, formatEtc, medium->tymed);
  Entry* entry = Add(format, &f);
  entry->format.tymed = medium->tymed;
  entry->medium = *medium;
}

void COleDataSource::DelayRenderData(CLIPFORMAT format, LPFORMATETC formatEtc) {
  Entry* entry = Add(format, formatEtc);
  entry->format.tymed = formatEtc ? formatEtc->tymed : TYMED_HGLOBAL;
  entry->delayed = TRUE;
}

BOOL COleDataSource::OnRenderGlobalData(LPFORMATETC, HGLOBAL*) { return FALSE; }

BOOL COleDataSource::OnRenderData(LPFORMATETC formatEtc, LPSTGMEDIUM medium) {
  if (!(formatEtc->tymed & TYMED_HGLOBAL)) return FALSE;
  HGLOBAL global = medium->tymed == TYMED_HGLOBAL ? medium->hGlobal : NULL;
  if (!OnRenderGlobalData(formatEtc, &global) || !global) return FALSE;
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = global;
  medium->pUnkForRelease = NULL;
  return TRUE;
}

void COleDataSource::SetClipboard() {
  if (FAILED(OleSetClipboard(&m_xDataObject))) AfxThrowOleException(CLIPBRD_E_CANT_SET);
  g_clipboardOwner = this;
  InternalRelease();  // the clipboard holds it now
}

void PASCAL COleDataSource::FlushClipboard() {
  if (g_clipboardOwner) OleFlushClipboard();
}

COleDataSource* PASCAL COleDataSource::GetClipboardOwner() {
  if (g_clipboardOwner && OleIsCurrentClipboard(&g_clipboardOwner->m_xDataObject) != S_OK) g_clipboardOwner = NULL;
  return g_clipboardOwner;
}

STDMETHODIMP COleDataSource::XDataObject::GetData(LPFORMATETC formatEtc, LPSTGMEDIUM medium) {
  METHOD_PROLOGUE(COleDataSource, DataObject)
  if (!formatEtc || !medium) return E_POINTER;
  BOOL tymedMismatch = FALSE;
  Entry* entry = pThis->Find(formatEtc, &tymedMismatch);
  if (!entry) return tymedMismatch ? DV_E_TYMED : DV_E_FORMATETC;
  if (!entry->delayed) return GiveMedium(entry->medium, &pThis->m_xDataObject, medium);
  medium->tymed = TYMED_NULL;
  medium->hGlobal = NULL;
  medium->pUnkForRelease = NULL;
  FORMATETC asked = *formatEtc;
  asked.tymed &= entry->format.tymed;
  try {
    return pThis->OnRenderData(&asked, medium) ? S_OK : DV_E_FORMATETC;
  } catch (...) {
    CException* e = afxstate::CurrentExceptionAsFramework();
    HRESULT hr = COleException::Process(e);
    e->Delete();
    return hr;
  }
}

STDMETHODIMP COleDataSource::XDataObject::GetDataHere(LPFORMATETC formatEtc, LPSTGMEDIUM medium) {
  METHOD_PROLOGUE(COleDataSource, DataObject)
  if (!formatEtc || !medium) return E_POINTER;
  // Only global memory the reader provides, filled when it is large enough.
  if (medium->tymed != TYMED_HGLOBAL || !(formatEtc->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
  STGMEDIUM rendered = {};
  HRESULT hr = GetData(formatEtc, &rendered);
  if (FAILED(hr)) return hr;
  if (rendered.tymed != TYMED_HGLOBAL) {
    ReleaseStgMedium(&rendered);
    return DV_E_TYMED;
  }
  SIZE_T size = GlobalSize(rendered.hGlobal);
  if (GlobalSize(medium->hGlobal) < size) {
    hr = STG_E_MEDIUMFULL;
  } else {
    memcpy(GlobalLock(medium->hGlobal), GlobalLock(rendered.hGlobal), size);
    GlobalUnlock(rendered.hGlobal);
    GlobalUnlock(medium->hGlobal);
  }
  ReleaseStgMedium(&rendered);
  return hr;
}

STDMETHODIMP COleDataSource::XDataObject::QueryGetData(LPFORMATETC formatEtc) {
  METHOD_PROLOGUE(COleDataSource, DataObject)
  if (!formatEtc) return E_POINTER;
  BOOL tymedMismatch = FALSE;
  if (pThis->Find(formatEtc, &tymedMismatch)) return S_OK;
  return tymedMismatch ? DV_E_TYMED : DV_E_FORMATETC;
}

STDMETHODIMP COleDataSource::XDataObject::GetCanonicalFormatEtc(LPFORMATETC in, LPFORMATETC out) {
  if (!in || !out) return E_POINTER;
  *out = *in;
  out->ptd = NULL;
  return DATA_S_SAMEFORMATETC;
}

STDMETHODIMP COleDataSource::XDataObject::SetData(LPFORMATETC, LPSTGMEDIUM, BOOL) { return E_NOTIMPL; }

STDMETHODIMP COleDataSource::XDataObject::EnumFormatEtc(DWORD direction, LPENUMFORMATETC* formats) {
  METHOD_PROLOGUE(COleDataSource, DataObject)
  if (!formats) return E_POINTER;
  *formats = NULL;
  if (direction != DATADIR_GET) return E_NOTIMPL;
  UINT count = UINT(pThis->m_entries.GetSize());
  FORMATETC* list = new (std::nothrow) FORMATETC[count ? count : 1];
  if (!list) return E_OUTOFMEMORY;
  for (UINT i = 0; i < count; ++i) list[i] = static_cast<Entry*>(pThis->m_entries[INT_PTR(i)])->format;
  HRESULT hr = SHCreateStdEnumFmtEtc(count, list, formats);
  delete[] list;
  return hr;
}

STDMETHODIMP COleDataSource::XDataObject::DAdvise(LPFORMATETC, DWORD, LPADVISESINK, DWORD*) {
  return OLE_E_ADVISENOTSUPPORTED;
}
STDMETHODIMP COleDataSource::XDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
STDMETHODIMP COleDataSource::XDataObject::EnumDAdvise(LPENUMSTATDATA*) { return OLE_E_ADVISENOTSUPPORTED; }

// ---------------------------------------------------------------------------------------------
// COleDataObject.

COleDataObject::COleDataObject() : m_lpDataObject(NULL), m_lpEnumerator(NULL), m_bAutoRelease(TRUE) {}
COleDataObject::~COleDataObject() { Release(); }

void COleDataObject::Attach(LPDATAOBJECT dataObject, BOOL autoRelease) {
  Release();
  m_lpDataObject = dataObject;
  m_bAutoRelease = autoRelease;
}

LPDATAOBJECT COleDataObject::Detach() {
  if (m_lpEnumerator) {
    m_lpEnumerator->Release();
    m_lpEnumerator = NULL;
  }
  LPDATAOBJECT dataObject = m_lpDataObject;
  m_lpDataObject = NULL;
  return dataObject;
}

void COleDataObject::Release() {
  if (m_lpEnumerator) {
    m_lpEnumerator->Release();
    m_lpEnumerator = NULL;
  }
  if (m_lpDataObject && m_bAutoRelease) m_lpDataObject->Release();
  m_lpDataObject = NULL;
}

BOOL COleDataObject::AttachClipboard() {
  Release();
  LPDATAOBJECT clipboard = NULL;
  if (FAILED(OleGetClipboard(&clipboard))) return FALSE;
  Attach(clipboard, TRUE);
  return TRUE;
}

LPDATAOBJECT COleDataObject::GetIDataObject(BOOL addRef) {
  if (addRef && m_lpDataObject) m_lpDataObject->AddRef();
  return m_lpDataObject;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc) {
  if (!m_lpDataObject) return FALSE;
  FORMATETC f = FormatOf(format, formatEtc, TYMED_HGLOBAL | TYMED_ISTREAM | TYMED_ISTORAGE | TYMED_GDI |
                                                TYMED_MFPICT | TYMED_ENHMF | TYMED_FILE);
  return m_lpDataObject->QueryGetData(&f) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc) {
  if (!m_lpDataObject) return FALSE;
  FORMATETC f = FormatOf(format, formatEtc, TYMED_HGLOBAL | TYMED_ISTREAM | TYMED_ISTORAGE | TYMED_GDI |
                                                TYMED_MFPICT | TYMED_ENHMF | TYMED_FILE);
  return SUCCEEDED(m_lpDataObject->GetData(&f, medium));
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format, LPFORMATETC formatEtc) {
  FORMATETC f = FormatOf(format, formatEtc, TYMED_HGLOBAL);
  f.tymed = TYMED_HGLOBAL;
  STGMEDIUM medium = {};
  if (!m_lpDataObject || FAILED(m_lpDataObject->GetData(&f, &medium))) return NULL;
  if (medium.tymed != TYMED_HGLOBAL) {
    ReleaseStgMedium(&medium);
    return NULL;
  }
  // Memory the reader owns outright is handed on; memory someone else keeps is copied.
  if (!medium.pUnkForRelease) return medium.hGlobal;
  HGLOBAL copy = CopyGlobal(medium.hGlobal);
  ReleaseStgMedium(&medium);
  return copy;
}

BOOL COleDataObject::GetFileNames(CStringArray& names) {
  names.RemoveAll();
  HGLOBAL global = GetGlobalData(CF_HDROP);
  if (!global) return FALSE;
  HDROP drop = static_cast<HDROP>(global);
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0);
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileA(drop, i, NULL, 0);
    CString name;
    DragQueryFileA(drop, i, name.GetBuffer(int(length) + 1), length + 1);
    name.ReleaseBuffer();
    names.Add(name);
  }
  GlobalFree(global);
  return TRUE;
}

void COleDataObject::BeginEnumFormats() {
  if (m_lpEnumerator) {
    m_lpEnumerator->Release();
    m_lpEnumerator = NULL;
  }
  if (m_lpDataObject) m_lpDataObject->EnumFormatEtc(DATADIR_GET, &m_lpEnumerator);
}

BOOL COleDataObject::GetNextFormat(LPFORMATETC formatEtc) {
  if (!m_lpEnumerator) return FALSE;
  ULONG fetched = 0;
  if (m_lpEnumerator->Next(1, formatEtc, &fetched) != S_OK || fetched != 1) return FALSE;
  if (formatEtc->ptd) {
    CoTaskMemFree(formatEtc->ptd);  // a device description the reader has no use for
    formatEtc->ptd = NULL;
  }
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Shell formats of file lists.

HGLOBAL AFXAPI AfxCreateDropFiles(const CStringArray& paths) {
  SIZE_T size = sizeof(DROPFILES) + 1;
  for (INT_PTR i = 0; i < paths.GetSize(); ++i) size += SIZE_T(paths[i].GetLength()) + 1;
  HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, size);
  if (!global) return NULL;
  DROPFILES* header = static_cast<DROPFILES*>(GlobalLock(global));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = FALSE;
  char* names = reinterpret_cast<char*>(header + 1);
  for (INT_PTR i = 0; i < paths.GetSize(); ++i) {
    memcpy(names, LPCSTR(paths[i]), SIZE_T(paths[i].GetLength()) + 1);
    names += paths[i].GetLength() + 1;
  }
  *names = 0;
  GlobalUnlock(global);
  return global;
}

namespace {

UINT IdListSize(LPCITEMIDLIST list) {
  UINT size = sizeof(USHORT);  // the terminator
  for (const SHITEMID* id = &list->mkid; id->cb; id = reinterpret_cast<const SHITEMID*>(reinterpret_cast<const BYTE*>(id) + id->cb))
    size += id->cb;
  return size;
}

LPITEMIDLIST Parse(IShellFolder* folder, LPCSTR name) {
  BSTR wide = AfxAllocSysString(name);
  LPITEMIDLIST list = NULL;
  HRESULT hr = folder->ParseDisplayName(NULL, NULL, wide, NULL, &list, NULL);
  SysFreeString(wide);
  return SUCCEEDED(hr) ? list : NULL;
}

}  // namespace

HGLOBAL AFXAPI AfxCreateShellIDList(LPCSTR folder, const CStringArray& names) {
  IShellFolder* desktop = NULL;
  if (FAILED(SHGetDesktopFolder(&desktop))) return NULL;
  CPtrArray lists;  // the folder's absolute list, then each file's relative one
  IShellFolder* parent = NULL;
  LPITEMIDLIST folderList = Parse(desktop, folder);
  BOOL ok = folderList != NULL;
  if (ok) {
    lists.Add(folderList);
    ok = SUCCEEDED(desktop->BindToObject(folderList, NULL, IID_IShellFolder, reinterpret_cast<void**>(&parent)));
  }
  for (INT_PTR i = 0; ok && i < names.GetSize(); ++i) {
    LPITEMIDLIST item = Parse(parent, names[i]);
    ok = item != NULL;
    if (ok) lists.Add(item);
  }
  HGLOBAL global = NULL;
  if (ok) {
    UINT count = UINT(lists.GetSize());
    SIZE_T size = sizeof(CIDA) + sizeof(UINT) * (count - 1);
    for (UINT i = 0; i < count; ++i) size += IdListSize(static_cast<LPCITEMIDLIST>(lists[INT_PTR(i)]));
    global = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, size);
    if (global) {
      BYTE* base = static_cast<BYTE*>(GlobalLock(global));
      CIDA* cida = reinterpret_cast<CIDA*>(base);
      cida->cidl = count - 1;
      UINT offset = UINT(sizeof(CIDA) + sizeof(UINT) * (count - 1));
      for (UINT i = 0; i < count; ++i) {
        LPCITEMIDLIST list = static_cast<LPCITEMIDLIST>(lists[INT_PTR(i)]);
        UINT listSize = IdListSize(list);
        cida->aoffset[i] = offset;
        memcpy(base + offset, list, listSize);
        offset += listSize;
      }
      GlobalUnlock(global);
    }
  }
  for (INT_PTR i = 0; i < lists.GetSize(); ++i) CoTaskMemFree(lists[i]);
  if (parent) parent->Release();
  desktop->Release();
  return global;
}
