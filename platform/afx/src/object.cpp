// CObject and run-time classes: kind tests, the process-wide class registry and creation by name.
#include <algorithm>
#include <cstring>
#include <vector>
#include "afxwin.h"

namespace {
std::vector<CRuntimeClass*>& Registry() {
  static std::vector<CRuntimeClass*> classes;
  return classes;
}

struct GlobalsLock {
  explicit GlobalsLock(int type) : type_(type) { AfxLockGlobals(type_); }
  ~GlobalsLock() { AfxUnlockGlobals(type_); }
  int type_;
};
}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), AFX_NOT_SERIAL_SCHEMA, NULL,
                                       &CObject::_GetBaseClass};
static AFX_CLASSINIT _init_CObject(RUNTIME_CLASS(CObject));

CRuntimeClass* PASCAL CObject::_GetBaseClass() { return NULL; }
CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }
CObject::~CObject() = default;
void CObject::Serialize(CArchive&) {}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != AFX_NOT_SERIAL_SCHEMA; }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

CObject* CRuntimeClass::CreateObject() {
  if (!m_pfnCreateObject) return NULL;
  return m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
  for (const CRuntimeClass* c = this; c; c = c->m_pfnGetBaseClass ? c->m_pfnGetBaseClass() : NULL)
    if (c == base) return TRUE;
  return FALSE;
}

void CRuntimeClass::Store(CArchive& ar) const {
  WORD length = WORD(strlen(m_lpszClassName));
  ar << WORD(m_wSchema) << length;
  ar.Write(m_lpszClassName, length);
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR className) {
  if (!className) return NULL;
  GlobalsLock lock(CRIT_RUNTIMECLASSLIST);
  for (CRuntimeClass* c : Registry())
    if (strcmp(c->m_lpszClassName, className) == 0) return c;
  return NULL;
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR className) {
  CRuntimeClass* c = FromName(className);
  return c ? c->CreateObject() : NULL;
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* newClass) : m_pClass(newClass) {
  GlobalsLock lock(CRIT_RUNTIMECLASSLIST);
  // Newest first, so a module loaded later can stand in for a class of the same name.
  Registry().insert(Registry().begin(), newClass);
}

AFX_CLASSINIT::~AFX_CLASSINIT() {
  GlobalsLock lock(CRIT_RUNTIMECLASSLIST);
  auto& r = Registry();
  r.erase(std::remove(r.begin(), r.end(), m_pClass), r.end());
}
