// Core of the framework library (orvafx.dll), our stand-in for the application framework's shared DLL.
//
// Offers CObject with run-time classes, dynamic creation and serialization, CArchive with the
// framework's wire format (byte-compatible: the Gallery's thumbnail cache is such an archive), CFile,
// CMemFile, CString, CTime/CTimeSpan and the exception family thrown by pointer. Every module of the
// suite includes it; collections are in afxcoll.h/afxtempl.h, threads, the application object and the
// resource chain in afxwin.h.
#pragma once
#include <ctime>
#include <exception>
#include "afxver_.h"
#include "afxstr.h"

namespace afxcore {
class StoreTable;
class LoadTable;
}

class CObject;
class CArchive;
class CFile;
class CDocument;

// Run-time class record, one per class declared with the DECLARE_ macros below.
struct AFX_API CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;  // 0xFFFF: not serializable
  CObject* (PASCAL* m_pfnCreateObject)();
  CRuntimeClass* (PASCAL* m_pfnGetBaseClass)();

  CObject* CreateObject();
  BOOL IsDerivedFrom(const CRuntimeClass* base) const;
  void Store(CArchive& ar) const;
  // The class registered under this name, or null.
  static CRuntimeClass* PASCAL FromName(LPCSTR className);
  static CObject* PASCAL CreateObject(LPCSTR className);
};

// Registers a class record for look-up by name while its module is loaded.
struct AFX_API AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass* newClass);
  ~AFX_CLASSINIT();
  CRuntimeClass* m_pClass;
};

// Marks a schema number as accepting older schemas on load (GetObjectSchema tells which).
#define VERSIONABLE_SCHEMA (0x80000000)
#define AFX_NOT_SERIAL_SCHEMA 0xFFFF

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                   \
 protected:                                           \
  static CRuntimeClass* PASCAL _GetBaseClass();       \
                                                      \
 public:                                              \
  static CRuntimeClass class##class_name;             \
  virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* PASCAL CreateObject();

#define DECLARE_SERIAL(class_name) \
  DECLARE_DYNCREATE(class_name)    \
  friend CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                       \
  CRuntimeClass* PASCAL class_name::_GetBaseClass() { return RUNTIME_CLASS(base_class_name); }     \
  CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class class_name), wSchema,  \
                                                 pfnNew, &class_name::_GetBaseClass};             \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }         \
  static AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, AFX_NOT_SERIAL_SCHEMA, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                  \
  CObject* PASCAL class_name::CreateObject() { return new class_name; } \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, AFX_NOT_SERIAL_SCHEMA, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                           \
  CObject* PASCAL class_name::CreateObject() { return new class_name; }                \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
  CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb) {                          \
    pOb = (class_name*)ar.ReadObject(RUNTIME_CLASS(class_name));                         \
    return ar;                                                                           \
  }

class AFX_API CObject {
 public:
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject();
  BOOL IsSerializable() const;
  BOOL IsKindOf(const CRuntimeClass* pClass) const;
  virtual void Serialize(CArchive& ar);

  static CRuntimeClass classCObject;

 protected:
  CObject() = default;
  static CRuntimeClass* PASCAL _GetBaseClass();

 private:
  CObject(const CObject&) = delete;
  void operator=(const CObject&) = delete;
};

// ---------------------------------------------------------------------------------------------
// Exceptions: thrown as `throw new X` (through the AfxThrow functions), caught as `X*`, released
// by the catcher with Delete().

class AFX_API CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  CException();
  explicit CException(BOOL autoDelete);
  ~CException() override;
  void Delete();
  // Copies the message (at most maxError - 1 characters and a terminator); false when none.
  virtual BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL);
  // Shows the message in the framework's message box; messageId is used when there is none.
  virtual int ReportError(UINT type = MB_OK, UINT messageId = 0);
  BOOL m_bAutoDelete;
};

class AFX_API CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)
 public:
  CMemoryException();
  BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;
};

class AFX_API CNotSupportedException : public CException {
  DECLARE_DYNAMIC(CNotSupportedException)
 public:
  CNotSupportedException();
  BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;
};

class AFX_API CResourceException : public CException {
  DECLARE_DYNAMIC(CResourceException)
 public:
  CResourceException();
  BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;
};

// Thrown after the user has already been told (for example a cancelled operation); no message.
class AFX_API CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
 public:
  CUserException();
};

class AFX_API CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum {
    none,
    generic,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };
  CFileException(int cause = none, LONG osError = -1, LPCSTR fileName = NULL);
  BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;
  static int PASCAL OsErrorToException(LONG osError);
  static void PASCAL ThrowOsError(LONG osError, LPCSTR fileName = NULL);
  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

class AFX_API CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)
 public:
  enum { none, generic, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
  CArchiveException(int cause = none, LPCSTR fileName = NULL);
  BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;
  int m_cause;
  CString m_strFileName;
};

[[noreturn]] AFX_API void AFXAPI AfxThrowMemoryException();
[[noreturn]] AFX_API void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] AFX_API void AFXAPI AfxThrowResourceException();
[[noreturn]] AFX_API void AFXAPI AfxThrowUserException();
[[noreturn]] AFX_API void AFXAPI AfxThrowFileException(int cause, LONG osError = -1, LPCSTR fileName = NULL);
[[noreturn]] AFX_API void AFXAPI AfxThrowArchiveException(int cause, LPCSTR fileName = NULL);

// ---------------------------------------------------------------------------------------------
// Time.

class AFX_API CTimeSpan {
 public:
  CTimeSpan() : m_timeSpan(0) {}
  CTimeSpan(time_t span) : m_timeSpan(span) {}
  CTimeSpan(LONG days, int hours, int mins, int secs)
      : m_timeSpan(secs + 60 * (mins + 60 * (hours + 24 * time_t(days)))) {}
  LONG GetDays() const { return LONG(m_timeSpan / (24 * 3600)); }
  LONG GetTotalHours() const { return LONG(m_timeSpan / 3600); }
  int GetHours() const { return int(GetTotalHours() - GetDays() * 24); }
  LONG GetTotalMinutes() const { return LONG(m_timeSpan / 60); }
  int GetMinutes() const { return int(GetTotalMinutes() - GetTotalHours() * 60); }
  LONG GetTotalSeconds() const { return LONG(m_timeSpan); }
  int GetSeconds() const { return int(GetTotalSeconds() - GetTotalMinutes() * 60); }
  CTimeSpan operator-(CTimeSpan o) const { return CTimeSpan(m_timeSpan - o.m_timeSpan); }
  CTimeSpan operator+(CTimeSpan o) const { return CTimeSpan(m_timeSpan + o.m_timeSpan); }
  bool operator==(CTimeSpan o) const { return m_timeSpan == o.m_timeSpan; }
  bool operator!=(CTimeSpan o) const { return m_timeSpan != o.m_timeSpan; }
  bool operator<(CTimeSpan o) const { return m_timeSpan < o.m_timeSpan; }
  bool operator>(CTimeSpan o) const { return m_timeSpan > o.m_timeSpan; }
  time_t m_timeSpan;
};

// A moment in local time, held as seconds since 1970 (stored in archives as 32 bits).
class AFX_API CTime {
 public:
  static CTime PASCAL GetCurrentTime();
  CTime() : m_time(0) {}
  CTime(time_t time) : m_time(time) {}
  CTime(int year, int month, int day, int hour, int min, int sec, int dst = -1);
  CTime(const SYSTEMTIME& st, int dst = -1);
  CTime(const FILETIME& ft, int dst = -1);  // the file time is UTC; the result is local
  time_t GetTime() const { return m_time; }
  struct tm* GetLocalTm(struct tm* out) const;
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday
  BOOL GetAsSystemTime(SYSTEMTIME& st) const;
  CString Format(LPCSTR format) const;
  CString FormatGmt(LPCSTR format) const;
  CTimeSpan operator-(CTime o) const { return CTimeSpan(m_time - o.m_time); }
  CTime operator-(CTimeSpan s) const { return CTime(m_time - s.m_timeSpan); }
  CTime operator+(CTimeSpan s) const { return CTime(m_time + s.m_timeSpan); }
  bool operator==(CTime o) const { return m_time == o.m_time; }
  bool operator!=(CTime o) const { return m_time != o.m_time; }
  bool operator<(CTime o) const { return m_time < o.m_time; }
  bool operator>(CTime o) const { return m_time > o.m_time; }
  bool operator<=(CTime o) const { return m_time <= o.m_time; }
  bool operator>=(CTime o) const { return m_time >= o.m_time; }
  time_t m_time;
};

// ---------------------------------------------------------------------------------------------
// Files.

class AFX_API CFile : public CObject {
  DECLARE_DYNAMIC(CFile)
 public:
  enum OpenFlags {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = (int)0x8000
  };
  enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

  CFile();
  explicit CFile(HANDLE hFile);
  CFile(LPCSTR fileName, UINT openFlags);  // throws CFileException
  ~CFile() override;

  virtual BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = NULL);
  virtual CString GetFileName() const;   // name with extension
  virtual CString GetFileTitle() const;  // name without extension
  virtual CString GetFilePath() const;
  virtual void SetFilePath(LPCSTR newName);

  virtual DWORD GetPosition() const;
  virtual LONG Seek(LONG offset, UINT from);
  void SeekToBegin() { Seek(0, begin); }
  DWORD SeekToEnd() { return Seek(0, end); }
  virtual DWORD GetLength() const;
  virtual void SetLength(DWORD newLength);
  virtual UINT Read(void* buffer, UINT count);
  virtual void Write(const void* buffer, UINT count);
  virtual void Flush();
  virtual void Close();
  virtual void Abort();  // closes without throwing

  static void PASCAL Rename(LPCSTR oldName, LPCSTR newName);
  static void PASCAL Remove(LPCSTR fileName);

  HANDLE m_hFile;
  BOOL m_bCloseOnDelete;
  CString m_strFileName;
};

// A file in memory that grows by nGrowBytes; an attached caller buffer with growth 0 stays fixed.
class AFX_API CMemFile : public CFile {
  DECLARE_DYNAMIC(CMemFile)
 public:
  explicit CMemFile(UINT growBytes = 1024);
  CMemFile(BYTE* buffer, UINT size, UINT growBytes = 0);
  ~CMemFile() override;
  void Attach(BYTE* buffer, UINT size, UINT growBytes = 0);
  BYTE* Detach();  // hands the buffer to the caller (free() releases one this file allocated)

  DWORD GetPosition() const override;
  LONG Seek(LONG offset, UINT from) override;
  DWORD GetLength() const override;
  void SetLength(DWORD newLength) override;
  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  void Flush() override;
  void Close() override;
  void Abort() override;
  BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = NULL) override;

 private:
  void GrowFile(DWORD newLength);
  UINT m_nGrowBytes;
  DWORD m_nPosition;
  DWORD m_nBufferSize;
  DWORD m_nFileSize;
  BYTE* m_lpBuffer;
  BOOL m_bAutoDelete;
};

// ---------------------------------------------------------------------------------------------
// Archives.

class AFX_API CArchive {
 public:
  enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };
  CArchive(CFile* file, UINT mode, int bufSize = 4096, void* buffer = NULL);
  // Flushes a storing archive unless it is destroyed while an exception unwinds; call Close() to
  // see write errors.
  ~CArchive() noexcept(false);

  BOOL IsLoading() const { return (m_nMode & load) != 0; }
  BOOL IsStoring() const { return (m_nMode & load) == 0; }
  CFile* GetFile() const { return m_pFile; }
  UINT GetObjectSchema();  // the schema of the object being loaded; once, then (UINT)-1
  void SetObjectSchema(UINT schema) { m_nObjectSchema = schema; }

  UINT Read(void* buffer, UINT count);  // fewer bytes at the end of the file
  void Write(const void* buffer, UINT count);
  void Flush();
  void Close();
  void Abort();

  void WriteString(LPCSTR text);        // text only, no terminator or length
  BOOL ReadString(CString& line);       // one line, without its line end; false at the end
  void WriteCount(DWORD count);
  DWORD ReadCount();

  CObject* ReadObject(const CRuntimeClass* classRequested);
  void WriteObject(const CObject* object);
  CRuntimeClass* ReadClass(const CRuntimeClass* classRequested = NULL, UINT* schema = NULL,
                           DWORD* objectTag = NULL);
  void WriteClass(const CRuntimeClass* classRef);
  void SerializeClass(const CRuntimeClass* classRef);
  void MapObject(const CObject* object);
  void SetStoreParams(UINT hashSize = 2053, UINT blockSize = 128);
  void SetLoadParams(UINT growBy = 1024);

  CArchive& operator<<(BYTE v);
  CArchive& operator<<(WORD v);
  CArchive& operator<<(LONG v);
  CArchive& operator<<(DWORD v);
  CArchive& operator<<(float v);
  CArchive& operator<<(double v);
  CArchive& operator<<(int v) { return *this << LONG(v); }
  CArchive& operator<<(short v) { return *this << WORD(v); }
  CArchive& operator<<(char v) { return *this << BYTE(v); }
  CArchive& operator<<(unsigned v) { return *this << LONG(v); }
  CArchive& operator>>(BYTE& v);
  CArchive& operator>>(WORD& v);
  CArchive& operator>>(LONG& v);
  CArchive& operator>>(DWORD& v);
  CArchive& operator>>(float& v);
  CArchive& operator>>(double& v);
  CArchive& operator>>(int& v);
  CArchive& operator>>(short& v);
  CArchive& operator>>(char& v);
  CArchive& operator>>(unsigned& v);

  CString m_strFileName;
  CDocument* m_pDocument;  // the document being read or written, when a document does it

 private:
  friend class ArchiveIo;
  CArchive(const CArchive&) = delete;
  void operator=(const CArchive&) = delete;
  void RequireStoring() const;
  void RequireLoading() const;
  void FillFromFile();
  void ReadBytes(void* dst, UINT count);  // exactly count bytes or CArchiveException(endOfFile)

  CFile* m_pFile;
  UINT m_nMode;
  UINT m_nObjectSchema;
  int m_nBufSize;
  BOOL m_bUserBuf;
  BYTE* m_lpBufStart;
  BYTE* m_lpBufCur;
  BYTE* m_lpBufMax;
  afxcore::StoreTable* m_pStoreMap;
  afxcore::LoadTable* m_pLoadArray;
  int m_nUncaughtAtStart;
};

AFX_API CArchive& AFXAPI operator<<(CArchive& ar, const CObject* object);
AFX_API CArchive& AFXAPI operator>>(CArchive& ar, CObject*& object);
AFX_API CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& object);
AFX_API CArchive& AFXAPI operator<<(CArchive& ar, const CString& s);
AFX_API CArchive& AFXAPI operator>>(CArchive& ar, CString& s);
AFX_API CArchive& AFXAPI operator<<(CArchive& ar, CTime t);
AFX_API CArchive& AFXAPI operator>>(CArchive& ar, CTime& t);
AFX_API CArchive& AFXAPI operator<<(CArchive& ar, CTimeSpan t);
AFX_API CArchive& AFXAPI operator>>(CArchive& ar, CTimeSpan& t);

// Path helpers the documents use.
AFX_API BOOL AFXAPI AfxFullPath(LPSTR pathOut, LPCSTR fileIn);  // pathOut holds MAX_PATH characters
AFX_API BOOL AFXAPI AfxComparePath(LPCSTR path1, LPCSTR path2); // true when both name the same file
