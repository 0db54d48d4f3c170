// The slide collections, their enumerator and the slides the Gallery's automation interface hands out.
#include "gallery/GalleryAutomation.h"

#include "NXGallery.h"
#include "comkit/module.h"
#include "gallery/GalleryIds.h"
#include "gallery/SlideTableDoc.h"

void GetCollectionPaths(DWORD docSerial, BOOL selectedOnly, CStringArray& paths) {
  paths.RemoveAll();
  if (cSlideTableDoc* doc = cSlideTableDoc::FromSerial(docSerial)) doc->GetSlidePaths(selectedOnly, paths);
}

// ---------------------------------------------------------------------------------------------

cSelectedSlide::cSelectedSlide(const CString& path) : m_strPath(path) {
  EnableAutomation();
  comkit::ThisModule().Lock();
}

cSelectedSlide::~cSelectedSlide() { comkit::ThisModule().Unlock(); }

LPDISPATCH cSelectedSlide::Create(const CString& path) { return (new cSelectedSlide(path))->GetIDispatch(FALSE); }

CString cSelectedSlide::GetPath() { return m_strPath; }

CString cSelectedSlide::GetName() {
  const int slash = m_strPath.ReverseFind('\\');
  return slash < 0 ? m_strPath : m_strPath.Mid(slash + 1);
}

BEGIN_DISPATCH_MAP(cSelectedSlide, CCmdTarget)
  DISP_PROPERTY_EX_ID(cSelectedSlide, "Path", DISPID_GAL_SLIDE_PATH, GetPath, SetNotSupported, VT_BSTR)
  DISP_PROPERTY_EX_ID(cSelectedSlide, "Name", DISPID_GAL_SLIDE_NAME, GetName, SetNotSupported, VT_BSTR)
END_DISPATCH_MAP()

// ---------------------------------------------------------------------------------------------

IMPLEMENT_OLETYPELIB(cSelectionObject, LIBID_NXGallery, 1, 0)

cSelectionObject::cSelectionObject(DWORD docSerial, BOOL selectedOnly)
    : m_dwDocSerial(docSerial), m_bSelectedOnly(selectedOnly) {
  EnableAutomation();
  comkit::ThisModule().Lock();
}

cSelectionObject::~cSelectionObject() { comkit::ThisModule().Unlock(); }

LPDISPATCH cSelectionObject::Create(DWORD docSerial, BOOL selectedOnly) {
  return (new cSelectionObject(docSerial, selectedOnly))->GetIDispatch(FALSE);
}

BOOL cSelectionObject::GetDispatchIID(IID* iid) {
  *iid = DIID_ISelectionObject;
  return TRUE;
}

short cSelectionObject::GetCount() {
  CStringArray paths;
  GetCollectionPaths(m_dwDocSerial, m_bSelectedOnly, paths);
  return short(paths.GetSize());
}

LPDISPATCH cSelectionObject::Item(const VARIANT& index) {
  VARIANT position;
  VariantInit(&position);
  const HRESULT hr = VariantChangeType(&position, const_cast<VARIANT*>(&index), 0, VT_I4);
  if (FAILED(hr)) AfxThrowOleException(hr);
  CStringArray paths;
  GetCollectionPaths(m_dwDocSerial, m_bSelectedOnly, paths);
  if (position.lVal < 0 || position.lVal >= paths.GetSize()) AfxThrowOleException(DISP_E_BADINDEX);
  return cSelectedSlide::Create(paths[position.lVal]);
}

LPUNKNOWN cSelectionObject::NewEnum() {
  return (new cSelectionEnum(m_dwDocSerial, m_bSelectedOnly))->GetControllingUnknown();
}

BEGIN_INTERFACE_MAP(cSelectionObject, CCmdTarget)
  DISP_INTERFACE_PART(cSelectionObject, DIID_ISelectionObject)
END_INTERFACE_MAP()

BEGIN_DISPATCH_MAP(cSelectionObject, CCmdTarget)
  DISP_PROPERTY_EX_ID(cSelectionObject, "Count", DISPID_GAL_SELECTION_COUNT, GetCount, SetNotSupported, VT_I2)
  DISP_FUNCTION_ID(cSelectionObject, "Item", DISPID_VALUE, Item, VT_DISPATCH, VTS_VARIANT)
  DISP_FUNCTION_ID(cSelectionObject, "_NewEnum", DISPID_NEWENUM, NewEnum, VT_UNKNOWN, VTS_NONE)
END_DISPATCH_MAP()

// ---------------------------------------------------------------------------------------------

cSelectionEnum::cSelectionEnum(DWORD docSerial, BOOL selectedOnly)
    : m_dwDocSerial(docSerial), m_bSelectedOnly(selectedOnly), m_nPosition(0) {
  comkit::ThisModule().Lock();
}

cSelectionEnum::~cSelectionEnum() { comkit::ThisModule().Unlock(); }

BEGIN_INTERFACE_MAP(cSelectionEnum, CCmdTarget)
  INTERFACE_PART(cSelectionEnum, IID_IEnumVARIANT, Enum)
END_INTERFACE_MAP()

DELEGATE_IUNKNOWN(cSelectionEnum, Enum)

STDMETHODIMP cSelectionEnum::XEnum::Next(ULONG count, VARIANT* items, ULONG* fetched) {
  METHOD_PROLOGUE(cSelectionEnum, Enum)
  if (fetched) *fetched = 0;
  if (count != 1 || !items) return E_INVALIDARG;
  CStringArray paths;
  try {
    GetCollectionPaths(pThis->m_dwDocSerial, pThis->m_bSelectedOnly, paths);
  } catch (CException* e) {
    e->Delete();
    return E_OUTOFMEMORY;
  }
  if (pThis->m_nPosition >= paths.GetSize() || paths[pThis->m_nPosition].IsEmpty()) return S_FALSE;
  LPDISPATCH slide = NULL;
  try {
    slide = cSelectedSlide::Create(paths[pThis->m_nPosition]);
  } catch (CException* e) {
    e->Delete();
    return E_OUTOFMEMORY;
  }
  VariantInit(items);
  items->vt = VT_DISPATCH;
  items->pdispVal = slide;
  ++pThis->m_nPosition;
  if (fetched) *fetched = 1;
  return S_OK;
}

STDMETHODIMP cSelectionEnum::XEnum::Skip(ULONG count) {
  METHOD_PROLOGUE(cSelectionEnum, Enum)
  // One slide at a time, as Next hands them out.
  if (count != 1) return E_INVALIDARG;
  ++pThis->m_nPosition;
  return S_OK;
}

STDMETHODIMP cSelectionEnum::XEnum::Reset() {
  METHOD_PROLOGUE(cSelectionEnum, Enum)
  pThis->m_nPosition = 0;
  return S_OK;
}

STDMETHODIMP cSelectionEnum::XEnum::Clone(IEnumVARIANT**) { return E_NOTIMPL; }
