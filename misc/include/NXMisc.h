// NXMisc, the utility library every program and component of the suite links: path names
// (cPathName), list strings (cStringEx), the resource-switching guard, registry integers, resource
// helpers, the temporary folder, browser/mail/program hand-off, menu helpers and path predicates.
// Locks and the folder monitor are in RWLock.h and FileSystemMonitor.h, exceptions in NXException.h.
#pragma once
#include <afxwin.h>
#include <mutex>

#ifdef NXMISC_BUILD
#define NXMISC_API __declspec(dllexport)
#else
#define NXMISC_API __declspec(dllimport)
#endif

class NXMISC_API cPathName : public CObject {
  DECLARE_DYNAMIC(cPathName)
 public:
  explicit cPathName(LPCSTR path = NULL);
  virtual CString GetDriveAndPath() const;
  virtual CString GetFilename(BOOL withExtension = TRUE) const;
  virtual CString GetExtension() const;
  virtual CString GetDrive() const;
  virtual void SetFullFilename(LPCSTR path);
  virtual void SetFullPath(LPCSTR path);
  virtual void ConvertToLongNames();
  virtual CString GetPathPart(int n) const;
  virtual int GetPathPartsCount() const;
  // The long name of the last component of path as the file system reports it; empty when absent.
  virtual CString GetExpandedPart(LPCSTR path) const;

 protected:
  char m_drive[3];
  char m_folder[256];
  char m_name[256];
  char m_extension[256];
  int m_nParts;
};

// Splits path as the run-time library's splitter does, each part cut to its buffer.
NXMISC_API void SplitPath(LPCSTR path, char drive[3], char folder[256], char name[256], char extension[256]);

// A string that doubles as a list: entries separated by commas, or by its second character when it
// starts with a comma (",;a;b" holds a and b).
class NXMISC_API cStringEx {
 public:
  cStringEx();
  cStringEx(LPCSTR text);
  cStringEx(const cStringEx& other);
  cStringEx(const CString& text);
  cStringEx(char ch, int repeat);
  explicit cStringEx(UINT stringId);
  virtual ~cStringEx();
  cStringEx& operator=(LPCSTR text);
  cStringEx& operator=(const cStringEx& other);
  cStringEx& operator=(const CString& text);
  operator CString() const { return m_string; }
  operator LPCSTR() const { return m_string; }

  int GetSubstringCount() const;
  CString GetSubstring(int n) const;
  void ReplaceAll(char ch, LPCSTR replacement);
  int FindNextSeperator(int start, char separator, int length) const;

 private:
  void ListStart(int& start, char& separator) const;
  CString m_string;
};

// Makes a module the framework's resource module for the guard's lifetime.
class NXMISC_API cSwitchResourceHandle {
 public:
  explicit cSwitchResourceHandle(HINSTANCE module);
  virtual ~cSwitchResourceHandle();
 private:
  HINSTANCE m_hPrevious;
};

// The start of an extension library in a process, which DllMain must not do: loading a library or showing a
// box there runs under the loader lock and can deadlock. DllMain calls Attach and Detach; Start, once per
// process, adds the module to the framework's resource chain and loads its resource library from the module's
// folder, showing the fixed missingText ("...Res.dll is required to run this program!") when it is not there.
// NXMisc and NXMedia each hold one.
class NXMISC_API cModuleStart {
 public:
  cModuleStart(LPCSTR resourceLibrary, LPCSTR missingText);
  void Attach(HINSTANCE module);     // process attach: records the module, loads nothing
  BOOL Start();                      // TRUE when the resource library is loaded; later calls only report
  HINSTANCE Resources();             // Start, then the resource library (null when missing)
  void Detach(BOOL processEnding);   // process detach: leaves the chain, frees the resource library

 private:
  LPCSTR m_library;
  LPCSTR m_missingText;
  AFX_EXTENSION_MODULE m_module;
  AFX_EXTENSION_MODULE m_resourceModule;
  HINSTANCE m_resources;
  std::once_flag m_once;
};

// Starts NXMisc (see cModuleStart). Every program and component calls it once from its own start, outside
// DllMain; NXMisc's own texts start it on first use. TRUE when NXMiscRes.dll is loaded. Exported undecorated.
extern "C" NXMISC_API BOOL NXMiscStartup();
// The NXMisc resource library (null when it could not be loaded); starts NXMisc when it is not started yet.
NXMISC_API HINSTANCE NXMiscResourceHandle();

NXMISC_API BOOL WriteProfileInt(HKEY key, LPCSTR subkey, LPCSTR valueName, int value);
NXMISC_API int ReadProfileInt(HKEY key, LPCSTR subkey, LPCSTR valueName, int defaultValue);
NXMISC_API BOOL GetFontInfo(UINT resourceId, LOGFONTA* font);
NXMISC_API BOOL LoadLargeString(UINT stringId, CString& out);
NXMISC_API BOOL GetRCData(UINT resourceId, void* destination, DWORD length);
NXMISC_API BOOL IsWin32sLoaded();
// The folder "Temp" beside the running program, created when missing, ending in a backslash.
NXMISC_API CString GetTempPathA();
// Creates a new empty file NXX<n>.<extension> in GetTempPathA, n the first free of 1 to 198, and returns its
// path; the caller writes over it. When all are taken, the path of NXX198; empty when there is no temp folder.
NXMISC_API CString CreateNumberedTempFile(LPCSTR extension);
NXMISC_API BOOL GetDefaultBrowser(LPSTR program, int size);
NXMISC_API void OpenBrowser(LPCSTR address);
NXMISC_API BOOL RunProgram(LPCSTR commandLine, LPCSTR workingFolder);
// 0 found (path gets the cached copy, MAX_PATH characters), 1 not cached, 2 any other failure.
NXMISC_API int Url2Path(LPCSTR address, LPSTR path);
NXMISC_API BOOL IsMAPIAvailable();
NXMISC_API BOOL SendMail(LPCSTR filePath);
NXMISC_API CString GetDropFileName(UINT clipboardFormat, HGLOBAL data);
NXMISC_API void AssureCorrectExtension(LPSTR path, LPCSTR extension);  // path holds MAX_PATH characters
NXMISC_API void ForceRepaints();
NXMISC_API CString FindSubMenuName(HMENU menu, HMENU subMenu);
NXMISC_API HMENU FindSubMenuByName(HMENU menu, LPCSTR name);
NXMISC_API BOOL CopyMenuItem(HMENU target, UINT targetPosition, HMENU source, UINT sourcePosition);
NXMISC_API BOOL CopyMenu(HMENU target, UINT targetPosition, HMENU source, UINT sourcePosition);
NXMISC_API BOOL IsDriveRoot(LPCSTR path);
NXMISC_API BOOL HasTrailingBackslash(LPCSTR path);
