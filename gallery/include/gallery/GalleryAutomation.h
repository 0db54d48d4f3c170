// The objects the Gallery's automation interface hands out: slide collections (cSelectionObject) with their
// enumerator (cSelectionEnum) and single slides (cSelectedSlide). cSlideTableDoc makes them for SelectedSlides,
// AllSlides, Item and _NewEnum; scripts and the host walk them late-bound. Each keeps gallery.dll loaded while
// a client holds it, and reads the document when asked, so it follows later changes of the table; once the
// document is closed a collection is empty.
#pragma once
#include "afxdisp.h"
#include "afxwin.h"

// One slide: its full path (Path) and the part after the last backslash (Name).
class cSelectedSlide : public CCmdTarget {
 public:
  explicit cSelectedSlide(const CString& path);
  ~cSelectedSlide() override;
  // A new slide's dispatch interface holding the reference the caller takes over.
  static LPDISPATCH Create(const CString& path);

  CString GetPath();
  CString GetName();

 protected:
  CString m_strPath;
  DECLARE_DISPATCH_MAP()
};

// The selected slides in the order they were selected, or all slides in document order.
class cSelectionObject : public CCmdTarget {
 public:
  cSelectionObject(DWORD docSerial, BOOL selectedOnly);
  ~cSelectionObject() override;
  static LPDISPATCH Create(DWORD docSerial, BOOL selectedOnly);

  short GetCount();
  // Index converted to a long: a conversion failure is reported as the conversion's error, a position
  // outside 0 .. Count - 1 as DISP_E_BADINDEX.
  LPDISPATCH Item(const VARIANT& index);
  LPUNKNOWN NewEnum();
  BOOL GetDispatchIID(IID* iid) override;

 protected:
  DWORD m_dwDocSerial;
  BOOL m_bSelectedOnly;
  DECLARE_DISPATCH_MAP()
  DECLARE_OLETYPELIB(cSelectionObject)
  DECLARE_INTERFACE_MAP()
};

// For Each over a collection: one slide per Next call.
class cSelectionEnum : public CCmdTarget {
 public:
  cSelectionEnum(DWORD docSerial, BOOL selectedOnly);
  ~cSelectionEnum() override;

 protected:
  DWORD m_dwDocSerial;
  BOOL m_bSelectedOnly;
  int m_nPosition;

  BEGIN_INTERFACE_PART(Enum, IEnumVARIANT)
    STDMETHOD(Next)(ULONG count, VARIANT* items, ULONG* fetched) override;
    STDMETHOD(Skip)(ULONG count) override;
    STDMETHOD(Reset)() override;
    STDMETHOD(Clone)(IEnumVARIANT** copy) override;
  END_INTERFACE_PART(Enum)
  DECLARE_INTERFACE_MAP()
};

// The paths a collection covers, read from the document now; empty when the document is gone.
void GetCollectionPaths(DWORD docSerial, BOOL selectedOnly, CStringArray& paths);
