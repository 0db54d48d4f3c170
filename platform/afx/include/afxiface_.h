// Interface maps: how a CCmdTarget exposes COM interfaces. Included by afxwin.h.
//
// A class lists its interfaces between BEGIN_INTERFACE_MAP and END_INTERFACE_MAP; each interface is
// implemented by a nested part declared with BEGIN_INTERFACE_PART/END_INTERFACE_PART, whose methods
// reach the object with METHOD_PROLOGUE and pass IUnknown on to it (DELEGATE_IUNKNOWN writes those three).
// The object's reference count, its inner unknown and aggregation live in CCmdTarget (afxwin.h).
//
//   class CEnum : public CCmdTarget {
//     BEGIN_INTERFACE_PART(Enum, IEnumVARIANT)
//       STDMETHOD(Next)(ULONG count, VARIANT* items, ULONG* fetched) override;  ...
//     END_INTERFACE_PART(Enum)
//     DECLARE_INTERFACE_MAP()
//   };
//   BEGIN_INTERFACE_MAP(CEnum, CCmdTarget)
//     INTERFACE_PART(CEnum, IID_IEnumVARIANT, Enum)
//   END_INTERFACE_MAP()
//   DELEGATE_IUNKNOWN(CEnum, Enum)
//   STDMETHODIMP CEnum::XEnum::Next(...) { METHOD_PROLOGUE(CEnum, Enum) ... pThis->... }
#pragma once
#include <cstddef>

class CCmdTarget;

struct AFX_INTERFACEMAP_ENTRY {
  const IID* piid;  // null ends the map
  // The object's implementation of the interface, or null when the object does not offer it now.
  void* (*pfnPart)(CCmdTarget* target);
};

struct AFX_INTERFACEMAP {
  const AFX_INTERFACEMAP* (PASCAL* pfnGetBaseMap)();
  const AFX_INTERFACEMAP_ENTRY* pEntry;
};

#define DECLARE_INTERFACE_MAP()                              \
 protected:                                                  \
  static const AFX_INTERFACEMAP* PASCAL GetThisInterfaceMap(); \
  const AFX_INTERFACEMAP* GetInterfaceMap() const override;

#define BEGIN_INTERFACE_MAP(theClass, baseClass)                                                   \
  const AFX_INTERFACEMAP* theClass::GetInterfaceMap() const { return GetThisInterfaceMap(); }     \
  const AFX_INTERFACEMAP* PASCAL theClass::GetThisInterfaceMap() {                                 \
    typedef baseClass TheBaseClass;                                                                \
    static const AFX_INTERFACEMAP_ENTRY _interfaceEntries[] = {

#define INTERFACE_PART(theClass, iid, localClass)                                                  \
  {&(iid), [](CCmdTarget* target) -> void* { return &static_cast<theClass*>(target)->m_x##localClass; }},

#define END_INTERFACE_MAP()                                                                           \
  {NULL, NULL}                                                                                        \
  };                                                                                                  \
  static const AFX_INTERFACEMAP interfaceMap = {&TheBaseClass::GetThisInterfaceMap, &_interfaceEntries[0]}; \
  return &interfaceMap;                                                                               \
  }

// A nested implementation of baseInterface, member m_x<localClass> of the class it is declared in.
#define BEGIN_INTERFACE_PART(localClass, baseInterface)      \
  class X##localClass : public baseInterface {              \
   public:                                                  \
    STDMETHOD_(ULONG, AddRef)() override;                   \
    STDMETHOD_(ULONG, Release)() override;                  \
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;

#define END_INTERFACE_PART(localClass) \
  } m_x##localClass;                    \
  friend class X##localClass;

// In a method of the part localClass: pThis, the object the part belongs to.
#define METHOD_PROLOGUE(theClass, localClass)                                                     \
  _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Winvalid-offsetof\"")         \
  theClass* pThis = reinterpret_cast<theClass*>(reinterpret_cast<BYTE*>(this) -                  \
                                                offsetof(theClass, m_x##localClass));             \
  _Pragma("GCC diagnostic pop")(void) pThis;

// The part's IUnknown methods: the object's, through its controlling unknown when it is aggregated.
#define DELEGATE_IUNKNOWN(theClass, localClass)                                                    \
  STDMETHODIMP_(ULONG) theClass::X##localClass::AddRef() {                                         \
    METHOD_PROLOGUE(theClass, localClass)                                                          \
    return pThis->ExternalAddRef();                                                                \
  }                                                                                                \
  STDMETHODIMP_(ULONG) theClass::X##localClass::Release() {                                        \
    METHOD_PROLOGUE(theClass, localClass)                                                          \
    return pThis->ExternalRelease();                                                               \
  }                                                                                                \
  STDMETHODIMP theClass::X##localClass::QueryInterface(REFIID iid, void** ppv) {                   \
    METHOD_PROLOGUE(theClass, localClass)                                                          \
    return pThis->ExternalQueryInterface(&iid, ppv);                                               \
  }
