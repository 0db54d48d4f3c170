// CNXCategory: one component category over the system's component categories manager, used by imagio to find
// the format modules (and able to register them).
#pragma once
#include <windows.h>
#include <comcat.h>
#include "nxlist.h"

namespace imagio {

// A GUID held on the heap, as the category enumeration hands them out in a cNXList.
class cGUID {
 public:
  explicit cGUID(const GUID& guid);
  virtual ~cGUID();
  cGUID(const cGUID&) = delete;
  cGUID& operator=(const cGUID&) = delete;
  const GUID& Get() const { return *m_guid; }

 private:
  GUID* m_guid;
};

// A cNXList of cGUID that deletes them with itself.
class cGUIDList {
 public:
  cGUIDList() = default;
  ~cGUIDList();
  cGUIDList(const cGUIDList&) = delete;
  cGUIDList& operator=(const cGUIDList&) = delete;
  bool Add(const GUID& guid);
  const cNXList& List() const { return m_list; }

 private:
  cNXList m_list;
};

class CNXCategory {
 public:
  static const unsigned kDescriptionRoom = 128;

  // Starts COM for the thread and gets the manager's information and registration interfaces.
  CNXCategory(const GUID& catid, const wchar_t* description);
  virtual ~CNXCategory();
  CNXCategory(const CNXCategory&) = delete;
  CNXCategory& operator=(const CNXCategory&) = delete;

  virtual HRESULT RegisterCategory();
  virtual HRESULT UnregisterCategory();
  virtual HRESULT RegisterClass(REFCLSID clsid);
  virtual HRESULT UnregisterClass(REFCLSID clsid);

  // The classes that implement the category (and require nothing), in the manager's order. S_OK with at least
  // one class, otherwise the enumeration's own status (S_FALSE when it found none).
  HRESULT EnumClasses(cGUIDList& classes);

 private:
  GUID m_catid;
  wchar_t m_description[kDescriptionRoom];
  ICatInformation* m_info;
  ICatRegister* m_register;
  HRESULT m_com;
};

}  // namespace imagio
