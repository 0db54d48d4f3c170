// Automation for framework programs and libraries: starting OLE (AfxOleInit, the application lock and
// user control), dispatch maps with fixed dispatch ids served by any CCmdTarget after EnableAutomation,
// OLE exceptions, object factories with their registration (LocalServer32 programs, InprocServer32
// libraries, implemented categories) and dispatch drivers that call other objects late-bound. Used by the
// host ("Forge.Automation"), the Gallery (its automation interface and slide collections) and whoever
// calls them; docs/architecture.md ("Automation and OLE") tells how to write each piece.
//
//   class CCounter : public CCmdTarget {
//    public:
//     CCounter() { EnableAutomation(); }
//     long Add(short step, LPCSTR why);
//     BOOL m_bOn = FALSE;
//     void OnOnChanged();
//     DECLARE_DISPATCH_MAP()
//   };
//   BEGIN_DISPATCH_MAP(CCounter, CCmdTarget)
//     DISP_FUNCTION_ID(CCounter, "Add", 1, Add, VT_I4, VTS_I2 VTS_BSTR)
//     DISP_PROPERTY_NOTIFY_ID(CCounter, "On", 2, m_bOn, OnOnChanged, VT_BOOL)
//   END_DISPATCH_MAP()
//
// The parameter string (VTS_*) and result type of every entry are checked against the member's C++ type
// when the map compiles. Parameter types: short, long, float, double, BOOL, LPCSTR (VTS_BSTR),
// const VARIANT& (VTS_VARIANT), LPDISPATCH, LPUNKNOWN, and by reference short*, long*, float*, double*,
// BOOL*, BSTR*, VARIANT*. Results: void (VT_EMPTY), the value types, BSTR or CString (VT_BSTR),
// LPDISPATCH and LPUNKNOWN (a reference the caller takes over), VARIANT.
#pragma once
#include <cstdarg>
#include <tuple>
#include <type_traits>
#include <utility>
#include "afxwin.h"
#include <comcat.h>

// ---------------------------------------------------------------------------------------------
// Starting OLE.

// Starts OLE on the calling (user-interface) thread and registers the framework's message filter;
// AfxWinMain ends it with AfxOleTerm after the program's exit. False when OLE could not start.
AFX_API BOOL AFXAPI AfxOleInit();
// Revokes the class factories; unless justRevoke, also the message filter and OLE itself.
AFX_API void AFXAPI AfxOleTerm(BOOL justRevoke = FALSE);
// The program hosts controls. Recorded for the parts that create control sites; document objects and
// drop targets need nothing more.
AFX_API void AFXAPI AfxEnableControlContainer();
AFX_API BOOL AFXAPI AfxControlContainerEnabled();

// The application lock: every object a program serves to other processes holds it from construction to
// destruction. When the last lock goes while the user has no control of the program (it was started by
// COM, or its main window was closed while objects were still held), the program ends: its main window
// is closed, or its message loop is left when it has none.
AFX_API void AFXAPI AfxOleLockApp();
AFX_API void AFXAPI AfxOleUnlockApp();
AFX_API BOOL AFXAPI AfxOleCanExitApp();  // no lock is held
// Whether the user controls the program: true when started by the user, false when started by COM
// (ParseCommandLine sees /Embedding or /Automation) until the user takes control (SetUserCtrl(TRUE)).
AFX_API BOOL AFXAPI AfxOleGetUserCtrl();
AFX_API void AFXAPI AfxOleSetUserCtrl(BOOL userCtrl);

// The message filter of the user-interface thread: while the program is busy, calls from other
// processes are asked to retry later; calls this program makes that are rejected are retried for a while.
class AFX_API COleMessageFilter : public CCmdTarget {
 public:
  COleMessageFilter();
  ~COleMessageFilter() override;
  BOOL Register();
  void Revoke();
  void BeginBusyState();
  void EndBusyState();
  BOOL IsBusy() const { return m_nBusyCount > 0; }
  void SetBusyReply(SERVERCALL reply) { m_nBusyReply = reply; }
  // A rejected outgoing call is retried every retryDelay ms until timeout ms have passed.
  void SetRetryReply(DWORD retryDelay, DWORD timeout) { m_nRetryDelay = retryDelay; m_nRetryTimeout = timeout; }

  virtual DWORD OnHandleIncomingCall(DWORD callType);
  virtual DWORD OnRetryRejectedCall(DWORD elapsed, DWORD rejectType);

 protected:
  int m_nBusyCount;
  SERVERCALL m_nBusyReply;
  DWORD m_nRetryDelay;
  DWORD m_nRetryTimeout;
  BOOL m_bRegistered;

  BEGIN_INTERFACE_PART(MessageFilter, IMessageFilter)
    STDMETHOD_(DWORD, HandleInComingCall)(DWORD callType, HTASK caller, DWORD tickCount, LPINTERFACEINFO info) override;
    STDMETHOD_(DWORD, RetryRejectedCall)(HTASK callee, DWORD tickCount, DWORD rejectType) override;
    STDMETHOD_(DWORD, MessagePending)(HTASK callee, DWORD tickCount, DWORD pendingType) override;
  END_INTERFACE_PART(MessageFilter)
  DECLARE_INTERFACE_MAP()
};
// The filter AfxOleInit registered; null before.
AFX_API COleMessageFilter* AFXAPI AfxOleGetMessageFilter();

// ---------------------------------------------------------------------------------------------
// Exceptions.

// A failed OLE call: m_sc is its status.
class AFX_API COleException : public CException {
  DECLARE_DYNAMIC(COleException)
 public:
  explicit COleException(SCODE sc = E_UNEXPECTED);
  BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;
  // The status an exception stands for: its own for OLE exceptions, E_OUTOFMEMORY for the memory
  // exception, E_UNEXPECTED for others.
  static SCODE PASCAL Process(const CException* e);
  SCODE m_sc;
};
[[noreturn]] AFX_API void AFXAPI AfxThrowOleException(SCODE sc);

// An automation method's failure as its caller sees it in EXCEPINFO: an application code (m_wCode) or a
// status (m_scError, when m_wCode is 0), a description, the source and a help reference.
class AFX_API COleDispatchException : public CException {
  DECLARE_DYNAMIC(COleDispatchException)
 public:
  COleDispatchException(LPCSTR description, UINT helpId, WORD code);
  BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;
  // Fills info (freeing nothing it held) as the method's caller receives it.
  void FillExcepInfo(EXCEPINFO* info) const;
  WORD m_wCode;
  SCODE m_scError;
  CString m_strDescription;
  CString m_strSource;  // the application's name unless set
  CString m_strHelpFile;
  DWORD m_dwHelpContext;
};
[[noreturn]] AFX_API void AFXAPI AfxThrowOleDispatchException(WORD code, LPCSTR description, UINT helpId = 0);
// The description is the string descriptionId from the resource chain; help id -1 stands for the
// description's own number, as with AfxMessageBox.
[[noreturn]] AFX_API void AFXAPI AfxThrowOleDispatchException(WORD code, UINT descriptionId, UINT helpId = (UINT)-1);

// ---------------------------------------------------------------------------------------------
// Strings and variants.

// A BSTR of an ANSI string (null: an empty BSTR); the caller frees it with SysFreeString.
AFX_API BSTR AFXAPI AfxAllocSysString(LPCSTR text);
// The ANSI text of a BSTR (null: empty).
AFX_API CString AFXAPI AfxStringFromBstr(BSTR text);

// ---------------------------------------------------------------------------------------------
// Dispatch maps.

#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R4 "\x04"
#define VTS_R8 "\x05"
#define VTS_BSTR "\x08"  // an LPCSTR for the member, a BSTR on the wire
#define VTS_DISPATCH "\x09"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UNKNOWN "\x0D"
#define VTS_PI2 "\x42"
#define VTS_PI4 "\x43"
#define VTS_PR4 "\x44"
#define VTS_PR8 "\x45"
#define VTS_PBSTR "\x48"
#define VTS_PBOOL "\x4B"
#define VTS_PVARIANT "\x4C"

// The flag of a by-reference parameter in a VTS_ string (VT_BYREF moved into one byte).
#define VTS_BYREF_BIT 0x40

#include "afxdisp_.h"

#define DECLARE_DISPATCH_MAP()                              \
 protected:                                                 \
  static const AFX_DISPMAP* PASCAL GetThisDispatchMap();    \
  const AFX_DISPMAP* GetDispatchMap() const override;

#define BEGIN_DISPATCH_MAP(theClass, baseClass)                                              \
  const AFX_DISPMAP* theClass::GetDispatchMap() const { return GetThisDispatchMap(); }      \
  const AFX_DISPMAP* PASCAL theClass::GetThisDispatchMap() {                                 \
    typedef baseClass TheBaseClass;                                                          \
    static constexpr AFX_DISPMAP_ENTRY _dispatchEntries[] = {

#define END_DISPATCH_MAP()                                                                               \
  {NULL, DISPID_UNKNOWN, afxDispFunction, VT_EMPTY, NULL, NULL, NULL}};                                  \
  static const AFX_DISPMAP dispatchMap = {&TheBaseClass::GetThisDispatchMap, &_dispatchEntries[0]};    \
  return &dispatchMap;                                                                                   \
  }

// A method: pfnMember returns vtRetVal and takes the parameters vtsParams lists.
#define DISP_FUNCTION_ID(theClass, szExternalName, dispid, pfnMember, vtRetVal, vtsParams)                   \
  {szExternalName, dispid, afxDispFunction, vtRetVal,                                                        \
   afxdisp::Checked<decltype(&theClass::pfnMember)>(vtRetVal, vtsParams),                                   \
   &afxdisp::Call<&theClass::pfnMember>, NULL},

// A property read by pfnGet (no parameters) and written by pfnSet (one parameter of the property's type);
// SetNotSupported as pfnSet makes it read-only, GetNotSupported as pfnGet write-only.
#define DISP_PROPERTY_EX_ID(theClass, szExternalName, dispid, pfnGet, pfnSet, vtPropType)                    \
  {szExternalName, dispid, afxDispProperty, vtPropType,                                                      \
   afxdisp::CheckedAccessors<decltype(&theClass::pfnGet), decltype(&theClass::pfnSet)>(vtPropType),          \
   afxdisp::Accessor<&theClass::pfnGet>(), afxdisp::Accessor<&theClass::pfnSet>()},

// A property held in memberName; pfnAfterSet is called after every write.
#define DISP_PROPERTY_NOTIFY_ID(theClass, szExternalName, dispid, memberName, pfnAfterSet, vtPropType)      \
  {szExternalName, dispid, afxDispProperty,                                                                   \
   afxdisp::CheckedProperty<afxdisp::Data<decltype(&theClass::memberName)>::Type>(vtPropType), VTS_NONE,   \
   &afxdisp::Notified<&theClass::memberName, &theClass::pfnAfterSet>::Get,                                  \
   &afxdisp::Notified<&theClass::memberName, &theClass::pfnAfterSet>::Set},

// The object's value (DISPID_VALUE) is the member szName of this map.
#define DISP_DEFVALUE(theClass, szName) {szName, DISPID_VALUE, afxDispDefaultValue, VT_EMPTY, NULL, NULL, NULL},


// The object's type library: GetTypeLib loads the library tlid (version major.minor) from the registry,
// or else the type library embedded in the module that defines theClass. Classes that name their
// dispatch interface (GetDispatchIID) then answer IDispatch::GetTypeInfo from it.
#define DECLARE_OLETYPELIB(theClass) \
 public:                             \
  HRESULT GetTypeLib(LCID lcid, LPTYPELIB* typeLib) override;

#define IMPLEMENT_OLETYPELIB(theClass, tlid, wVerMajor, wVerMinor)                                   \
  HRESULT theClass::GetTypeLib(LCID lcid, LPTYPELIB* typeLib) {                                      \
    return AfxOleLoadTypeLib(tlid, wVerMajor, wVerMinor, lcid, AfxThisModule(), typeLib);            \
  }

// The module (program or library) whose code calls it.
extern "C" IMAGE_DOS_HEADER __ImageBase;
inline HMODULE AfxThisModule() { return reinterpret_cast<HMODULE>(&__ImageBase); }

AFX_API HRESULT AFXAPI AfxOleLoadTypeLib(REFGUID tlid, WORD major, WORD minor, LCID lcid, HMODULE module,
                                         LPTYPELIB* typeLib);
// Registers the type library embedded in module (resource 1) / removes its registration.
AFX_API BOOL AFXAPI AfxOleRegisterTypeLib(HMODULE module);
AFX_API BOOL AFXAPI AfxOleUnregisterTypeLib(REFGUID tlid, WORD major, WORD minor);

// ---------------------------------------------------------------------------------------------
// Object factories.

// Types of server for AfxOleRegisterServerClass.
enum OLE_APPTYPE { OAT_INPLACE_SERVER = 0, OAT_SERVER = 1, OAT_CONTAINER = 2, OAT_DISPATCH_OBJECT = 3, OAT_DOC_OBJECT_SERVER = 4 };

// A class factory for a CCmdTarget class, registered with COM while the program runs (Register, or all
// of the module's with RegisterAll) and written to the registry by UpdateRegistry: the ProgID, the long
// and short type names and LocalServer32 (a program; "/Automation" is added for dispatch objects) or
// InprocServer32 (a library, apartment threaded). OnCreateObject makes each new object; a factory that
// hands out an existing object overrides it.
class AFX_API COleObjectFactory : public CCmdTarget {
  DECLARE_DYNAMIC(COleObjectFactory)
 public:
  // multiInstance: each object gets a program of its own (COM starts the program again for the next one).
  // module: the program or library that serves the class (the one whose code constructs the factory).
  COleObjectFactory(REFCLSID clsid, CRuntimeClass* runtimeClass, BOOL multiInstance, LPCSTR progId,
                    HMODULE module = AfxThisModule());
  ~COleObjectFactory() override;  // revokes

  BOOL Register();
  void Revoke();
  BOOL IsRegistered() const { return m_dwRegister != 0; }
  REFCLSID GetClassID() const { return m_clsid; }
  // Every factory of the process constructed by module (all of them for null).
  static BOOL PASCAL RegisterAll(HMODULE module = AfxThisModule());
  static void PASCAL RevokeAll();
  static BOOL PASCAL UpdateRegistryAll(BOOL registering = TRUE, HMODULE module = AfxThisModule());

  // Writes the class's entries (type names from SetTypeNames, else the ProgID) or removes them.
  virtual BOOL UpdateRegistry(BOOL registering = TRUE);
  void SetTypeNames(LPCSTR shortName, LPCSTR longName) { m_strShortName = shortName; m_strLongName = longName; }
  // The class is listed in these component categories (at most four) when it is registered, and removed
  // from them with its registration.
  void SetImplementedCategories(const CATID* categories, int count);

  // A new object for a client, holding the reference the client will take over; the base creates one of
  // the run-time class. Return null (or throw) to refuse.
  virtual CCmdTarget* OnCreateObject();

  CLSID m_clsid;
  CRuntimeClass* m_pRuntimeClass;
  BOOL m_bMultiInstance;
  CString m_strProgID;
  CString m_strShortName;
  CString m_strLongName;
  HMODULE m_hModule;
  DWORD m_dwRegister;
  OLE_APPTYPE m_nAppType;  // how UpdateRegistry writes the class; a dispatch object unless set

 protected:
  enum { kMaxCategories = 4 };
  CATID m_categories[kMaxCategories];
  int m_nCategories;
  COleObjectFactory* m_pNextFactory;
  friend struct FactoryList;

  BEGIN_INTERFACE_PART(ClassFactory, IClassFactory)
    STDMETHOD(CreateInstance)(LPUNKNOWN outer, REFIID iid, LPVOID* ppv) override;
    STDMETHOD(LockServer)(BOOL lock) override;
  END_INTERFACE_PART(ClassFactory)
  DECLARE_INTERFACE_MAP()
};

// Writes a server class to HKEY_CLASSES_ROOT: the ProgID with its CLSID, the class with its long name,
// ProgID, short name (AuxUserType\2), LocalServer32 or InprocServer32 for module, and for document object
// servers the DocObject key. False when a key cannot be written.
AFX_API BOOL AFXAPI AfxOleRegisterServerClass(REFCLSID clsid, LPCSTR progId, LPCSTR shortName, LPCSTR longName,
                                              OLE_APPTYPE appType, HMODULE module);
// Removes what AfxOleRegisterServerClass wrote (the ProgID only when it still names this class).
AFX_API BOOL AFXAPI AfxOleUnregisterServerClass(REFCLSID clsid, LPCSTR progId);
// Lists the class in (or removes it from) the component categories, through the categories manager.
AFX_API HRESULT AFXAPI AfxOleRegisterImplementedCategories(REFCLSID clsid, const CATID* categories, int count,
                                                           BOOL registering = TRUE);

// ---------------------------------------------------------------------------------------------
// Dispatch drivers: late-bound calls on another object's IDispatch. Failures throw COleException, and
// COleDispatchException when the object raised an exception (its code, description and source).
//
// InvokeHelper's arguments follow paramInfo (VTS_ string): VTS_I2 short, VTS_I4 long, VTS_R4 float and
// VTS_R8 double (as promoted), VTS_BSTR LPCSTR, VTS_BOOL BOOL, VTS_VARIANT const VARIANT*, VTS_DISPATCH
// LPDISPATCH, VTS_UNKNOWN LPUNKNOWN, and the VTS_P* kinds a pointer to the variable (VTS_PBOOL a BOOL*).
// result points to: short, long, float, double, BOOL, CString (VT_BSTR), LPDISPATCH or LPUNKNOWN (a
// reference the caller releases), VARIANT (the caller clears it); null with VT_EMPTY.
class AFX_API COleDispatchDriver {
 public:
  COleDispatchDriver();
  explicit COleDispatchDriver(LPDISPATCH dispatch, BOOL autoRelease = TRUE);
  COleDispatchDriver(const COleDispatchDriver& other);  // shares the object (takes a reference)
  ~COleDispatchDriver();  // ReleaseDispatch
  const COleDispatchDriver& operator=(const COleDispatchDriver& other);

  // Creates the object (any server kind) and attaches its IDispatch; false (with error's status) when that
  // failed.
  BOOL CreateDispatch(REFCLSID clsid, COleException* error = NULL);
  BOOL CreateDispatch(LPCSTR progId, COleException* error = NULL);
  void AttachDispatch(LPDISPATCH dispatch, BOOL autoRelease = TRUE);
  LPDISPATCH DetachDispatch();  // the caller takes over the reference
  void ReleaseDispatch();
  operator LPDISPATCH() const { return m_lpDispatch; }

  void AFX_CDECL InvokeHelper(DISPID dispid, WORD flags, VARTYPE vtRet, void* result, const BYTE* paramInfo, ...);
  void InvokeHelperV(DISPID dispid, WORD flags, VARTYPE vtRet, void* result, const BYTE* paramInfo, va_list args);
  void GetProperty(DISPID dispid, VARTYPE vtProp, void* value) const;
  // The value follows vtProp as an argument of InvokeHelper does.
  void AFX_CDECL SetProperty(DISPID dispid, VARTYPE vtProp, ...);
  // The dispatch id of a member name; throws COleException when the object has no such member.
  DISPID GetIDOfName(LPCSTR name) const;

  LPDISPATCH m_lpDispatch;
  BOOL m_bAutoRelease;
};

// An interface-map entry offering the object's dispatch interface under a dispinterface's iid as well,
// once automation is enabled.
#define DISP_INTERFACE_PART(theClass, iid) {&(iid), &theClass::DispatchPart},
