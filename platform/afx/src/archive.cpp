// CArchive: buffered binary I/O over a CFile, with the object and class records of the byte codec.
#include <cstring>
#include "afxcore/archive_codec.h"
#include "afxwin.h"

namespace {
int CauseOf(afxcore::ArchiveError e) {
  switch (e) {
    case afxcore::ArchiveError::endOfFile: return CArchiveException::endOfFile;
    case afxcore::ArchiveError::badIndex: return CArchiveException::badIndex;
    case afxcore::ArchiveError::badClass: return CArchiveException::badClass;
    case afxcore::ArchiveError::badSchema: return CArchiveException::badSchema;
  }
  return CArchiveException::generic;
}
}  // namespace

// Lets the codec read and write through the archive's buffer; codec failures become
// CArchiveException objects with the archive's file name.
class ArchiveIo : public afxcore::ByteSource, public afxcore::ByteSink {
 public:
  explicit ArchiveIo(CArchive& ar) : ar_(ar) {}
  void ReadExact(void* dst, size_t n) override { ar_.ReadBytes(dst, UINT(n)); }
  void WriteBytes(const void* src, size_t n) override { ar_.Write(src, UINT(n)); }
  template <class F>
  auto Run(F f) -> decltype(f()) {
    try {
      return f();
    } catch (const afxcore::ArchiveFailure& failure) {
      AfxThrowArchiveException(CauseOf(failure.cause), ar_.m_strFileName);
    }
  }
 private:
  CArchive& ar_;
};

CArchive::CArchive(CFile* file, UINT mode, int bufSize, void* buffer)
    : m_pDocument(NULL), m_pFile(file), m_nMode(mode), m_nObjectSchema(UINT(-1)), m_nBufSize(bufSize < 128 ? 128 : bufSize),
      m_bUserBuf(buffer != NULL), m_pStoreMap(NULL), m_pLoadArray(NULL),
      m_nUncaughtAtStart(std::uncaught_exceptions()) {
  m_lpBufStart = buffer ? static_cast<BYTE*>(buffer) : new BYTE[size_t(m_nBufSize)];
  m_lpBufCur = m_lpBufStart;
  m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
  if (file) m_strFileName = file->GetFilePath();
}

CArchive::~CArchive() noexcept(false) {
  bool unwinding = std::uncaught_exceptions() > m_nUncaughtAtStart;
  if (m_pFile && !(m_nMode & bNoFlushOnDelete) && !unwinding) {
    Close();
  } else {
    Abort();
  }
}

UINT CArchive::GetObjectSchema() {
  UINT schema = m_nObjectSchema;
  m_nObjectSchema = UINT(-1);
  return schema;
}

void CArchive::RequireStoring() const {
  if (!IsStoring()) AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
}

void CArchive::RequireLoading() const {
  if (!IsLoading()) AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
}

void CArchive::FillFromFile() {
  UINT n = m_pFile->Read(m_lpBufStart, UINT(m_nBufSize));
  m_lpBufCur = m_lpBufStart;
  m_lpBufMax = m_lpBufStart + n;
}

UINT CArchive::Read(void* buffer, UINT count) {
  RequireLoading();
  BYTE* out = static_cast<BYTE*>(buffer);
  UINT done = 0;
  while (done < count) {
    if (m_lpBufCur == m_lpBufMax) {
      FillFromFile();
      if (m_lpBufCur == m_lpBufMax) break;
    }
    UINT piece = UINT(m_lpBufMax - m_lpBufCur);
    if (piece > count - done) piece = count - done;
    memcpy(out + done, m_lpBufCur, piece);
    m_lpBufCur += piece;
    done += piece;
  }
  return done;
}

void CArchive::ReadBytes(void* dst, UINT count) {
  if (Read(dst, count) != count) AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

void CArchive::Write(const void* buffer, UINT count) {
  RequireStoring();
  const BYTE* in = static_cast<const BYTE*>(buffer);
  while (count) {
    if (m_lpBufCur == m_lpBufMax) Flush();
    UINT piece = UINT(m_lpBufMax - m_lpBufCur);
    if (piece > count) piece = count;
    memcpy(m_lpBufCur, in, piece);
    m_lpBufCur += piece;
    in += piece;
    count -= piece;
  }
}

void CArchive::Flush() {
  if (IsStoring()) {
    if (m_lpBufCur != m_lpBufStart) {
      UINT n = UINT(m_lpBufCur - m_lpBufStart);
      m_lpBufCur = m_lpBufStart;  // a failed write leaves nothing to write again
      m_pFile->Write(m_lpBufStart, n);
    }
  } else if (m_lpBufCur != m_lpBufMax) {
    // Hands the unread bytes back to the file.
    m_pFile->Seek(-LONG(m_lpBufMax - m_lpBufCur), CFile::current);
    m_lpBufCur = m_lpBufMax = m_lpBufStart;
  }
}

void CArchive::Close() {
  if (m_pFile && IsStoring()) Flush();
  Abort();
}

void CArchive::Abort() {
  delete m_pStoreMap;
  delete m_pLoadArray;
  m_pStoreMap = NULL;
  m_pLoadArray = NULL;
  if (!m_bUserBuf) delete[] m_lpBufStart;
  m_lpBufStart = m_lpBufCur = m_lpBufMax = NULL;
  m_bUserBuf = TRUE;
  m_pFile = NULL;
}

void CArchive::WriteString(LPCSTR text) {
  if (text) Write(text, UINT(strlen(text)));
}

BOOL CArchive::ReadString(CString& line) {
  line.Empty();
  char ch;
  UINT got = 0;
  while (Read(&ch, 1) == 1) {
    ++got;
    if (ch == '\n') break;
    if (ch == '\r') {
      char next;
      if (Read(&next, 1) == 1 && next != '\n') --m_lpBufCur;
      break;
    }
    line += ch;
  }
  return got != 0;
}

void CArchive::WriteCount(DWORD count) {
  if (count < 0xFFFF) {
    *this << WORD(count);
  } else {
    *this << WORD(0xFFFF) << count;
  }
}

DWORD CArchive::ReadCount() {
  WORD w;
  *this >> w;
  if (w != 0xFFFF) return w;
  DWORD d;
  *this >> d;
  return d;
}

#define AFX_ARCHIVE_INTEGER(T, bytes)                   \
  CArchive& CArchive::operator<<(T v) {                 \
    RequireStoring();                                   \
    BYTE b[bytes];                                      \
    memcpy(b, &v, bytes);                               \
    Write(b, bytes);                                    \
    return *this;                                       \
  }                                                     \
  CArchive& CArchive::operator>>(T& v) {                \
    RequireLoading();                                   \
    ReadBytes(&v, bytes);                               \
    return *this;                                       \
  }
// The target is little-endian, so the in-memory bytes are the archive's bytes.
AFX_ARCHIVE_INTEGER(BYTE, 1)
AFX_ARCHIVE_INTEGER(WORD, 2)
AFX_ARCHIVE_INTEGER(LONG, 4)
AFX_ARCHIVE_INTEGER(DWORD, 4)
AFX_ARCHIVE_INTEGER(float, 4)
AFX_ARCHIVE_INTEGER(double, 8)

CArchive& CArchive::operator>>(int& v) {
  LONG l;
  *this >> l;
  v = int(l);
  return *this;
}
CArchive& CArchive::operator>>(short& v) {
  WORD w;
  *this >> w;
  v = short(w);
  return *this;
}
CArchive& CArchive::operator>>(char& v) {
  BYTE b;
  *this >> b;
  v = char(b);
  return *this;
}
CArchive& CArchive::operator>>(unsigned& v) {
  LONG l;
  *this >> l;
  v = unsigned(l);
  return *this;
}

void CArchive::SetStoreParams(UINT, UINT) {}
void CArchive::SetLoadParams(UINT) {}

void CArchive::MapObject(const CObject* object) {
  if (IsStoring()) {
    if (!m_pStoreMap) m_pStoreMap = new afxcore::StoreTable;
    ArchiveIo io(*this);
    io.Run([&] { return m_pStoreMap->Find(object) ? 0u : m_pStoreMap->Add(object); });
  } else {
    if (!m_pLoadArray) m_pLoadArray = new afxcore::LoadTable;
    ArchiveIo io(*this);
    io.Run([&] { return m_pLoadArray->Add(false, const_cast<CObject*>(object)); });
  }
}

void CArchive::WriteClass(const CRuntimeClass* classRef) {
  RequireStoring();
  if (classRef->m_wSchema == AFX_NOT_SERIAL_SCHEMA) AfxThrowNotSupportedException();
  if (!m_pStoreMap) m_pStoreMap = new afxcore::StoreTable;
  ArchiveIo io(*this);
  io.Run([&] {
    uint32_t index = m_pStoreMap->Find(classRef);
    if (index) {
      afxcore::PutClassRef(io, index);
    } else {
      afxcore::PutNewClass(io, uint16_t(classRef->m_wSchema & ~VERSIONABLE_SCHEMA), classRef->m_lpszClassName);
      m_pStoreMap->Add(classRef);
    }
    return 0;
  });
}

void CArchive::WriteObject(const CObject* object) {
  RequireStoring();
  if (!m_pStoreMap) m_pStoreMap = new afxcore::StoreTable;
  ArchiveIo io(*this);
  if (!object) {
    io.Run([&] { afxcore::PutNullTag(io); return 0; });
    return;
  }
  uint32_t index = m_pStoreMap->Find(object);
  if (index) {
    io.Run([&] { afxcore::PutObjectRef(io, index); return 0; });
    return;
  }
  WriteClass(object->GetRuntimeClass());
  io.Run([&] { return m_pStoreMap->Add(object); });
  const_cast<CObject*>(object)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* classRequested, UINT* schema, DWORD* objectTag) {
  RequireLoading();
  if (!m_pLoadArray) m_pLoadArray = new afxcore::LoadTable;
  ArchiveIo io(*this);
  afxcore::ObjectTag tag = io.Run([&] { return afxcore::GetObjectTag(io); });
  CRuntimeClass* classRef = NULL;
  UINT loadedSchema = 0;
  switch (tag.kind) {
    case afxcore::ObjectTag::null:
    case afxcore::ObjectTag::objectRef:
      if (!objectTag) AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
      *objectTag = tag.index;
      return NULL;
    case afxcore::ObjectTag::newClass: {
      classRef = CRuntimeClass::FromName(tag.className.c_str());
      if (!classRef || classRef->m_wSchema == AFX_NOT_SERIAL_SCHEMA)
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
      UINT own = classRef->m_wSchema & ~VERSIONABLE_SCHEMA;
      if (!(classRef->m_wSchema & VERSIONABLE_SCHEMA) && own != tag.schema)
        AfxThrowArchiveException(CArchiveException::badSchema, m_strFileName);
      loadedSchema = tag.schema;
      io.Run([&] { return m_pLoadArray->Add(true, classRef); });
      break;
    }
    case afxcore::ObjectTag::classRef:
      classRef = static_cast<CRuntimeClass*>(io.Run([&] { return m_pLoadArray->ClassAt(tag.index); }));
      loadedSchema = classRef->m_wSchema & ~VERSIONABLE_SCHEMA;
      break;
  }
  if (classRequested && !classRef->IsDerivedFrom(classRequested))
    AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
  if (schema) *schema = loadedSchema;
  if (objectTag) *objectTag = 0;
  return classRef;
}

CObject* CArchive::ReadObject(const CRuntimeClass* classRequested) {
  UINT schema = 0;
  DWORD objectTag = 0;
  CRuntimeClass* classRef = ReadClass(classRequested, &schema, &objectTag);
  ArchiveIo io(*this);
  if (!classRef) {
    CObject* object = static_cast<CObject*>(io.Run([&] { return m_pLoadArray->ObjectAt(objectTag); }));
    if (object && classRequested && !object->IsKindOf(classRequested))
      AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    return object;
  }
  CObject* object = classRef->CreateObject();
  if (!object) AfxThrowMemoryException();
  io.Run([&] { return m_pLoadArray->Add(false, object); });
  UINT saved = m_nObjectSchema;
  m_nObjectSchema = schema;
  object->Serialize(*this);
  m_nObjectSchema = saved;
  return object;
}

void CArchive::SerializeClass(const CRuntimeClass* classRef) {
  if (IsStoring()) {
    WriteClass(classRef);
  } else {
    ReadClass(classRef);
  }
}

CArchive& AFXAPI operator<<(CArchive& ar, const CObject* object) {
  ar.WriteObject(object);
  return ar;
}
CArchive& AFXAPI operator>>(CArchive& ar, CObject*& object) {
  object = ar.ReadObject(NULL);
  return ar;
}
CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& object) {
  object = ar.ReadObject(NULL);
  return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, const CString& s) {
  ArchiveIo io(ar);
  io.Run([&] { afxcore::PutString(io, s, uint32_t(s.GetLength())); return 0; });
  return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CString& s) {
  if (!ar.IsLoading()) AfxThrowArchiveException(CArchiveException::writeOnly, ar.m_strFileName);
  ArchiveIo io(ar);
  std::string text = io.Run([&] { return afxcore::GetString(io); });
  if (text.size() > 0x7FFFFFFE) AfxThrowMemoryException();
  s = CString(text.data(), int(text.size()));
  return ar;
}

// Times travel as 32-bit seconds since 1970, as in the framework's own archives.
CArchive& AFXAPI operator<<(CArchive& ar, CTime t) { return ar << DWORD(t.GetTime()); }
CArchive& AFXAPI operator>>(CArchive& ar, CTime& t) {
  DWORD d;
  ar >> d;
  t = CTime(time_t(d));
  return ar;
}
CArchive& AFXAPI operator<<(CArchive& ar, CTimeSpan t) { return ar << DWORD(t.GetTotalSeconds()); }
CArchive& AFXAPI operator>>(CArchive& ar, CTimeSpan& t) {
  DWORD d;
  ar >> d;
  t = CTimeSpan(time_t(LONG(d)));
  return ar;
}
