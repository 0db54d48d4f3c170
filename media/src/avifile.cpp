// cAVIFile, cAVIStream, cAVIEditFile and cAVIEditStream over our AVI container, with its errors mapped onto
// the system's exceptions.
#include <media/AVIFile.h>
#include <media/MediaHost.h>
#include <avi/avi.h>
#include <safefile/safefile.h>
#include <cstring>
#include <new>
#include <string>
#include <vector>
#include "videocodec.h"

IMPLEMENT_DYNAMIC(cAVIFile, CObject)
IMPLEMENT_DYNAMIC(cAVIStream, CObject)
IMPLEMENT_DYNAMIC(cAVIEditStream, cAVIStream)
IMPLEMENT_DYNAMIC(cAVIEditFile, cAVIFile)

namespace {

const int kEditFailure = 5;  // the error type of a failed edit
const char kTempPrefix[] = "Vid";
const char kTempExtension[] = ".avi";
const int kTempNumbers = 0xFFFF;  // as many as the system's own temporary names
const char kClipboardFormatName[] = "Nexlumen AVI File";

[[noreturn]] void ThrowEditFailure() { nxmedia::ModuleHost().ThrowError(kEditFailure); }

void ToStreamInfo(const avi::StreamInfo& in, AVISTREAMINFOA* out) {
  std::memset(out, 0, sizeof(*out));
  out->fccType = in.type;
  out->fccHandler = in.handler;
  out->dwFlags = in.flags;
  out->dwCaps = in.caps;
  out->wPriority = in.priority;
  out->wLanguage = in.language;
  out->dwScale = in.scale;
  out->dwRate = in.rate;
  out->dwStart = DWORD(in.start);
  out->dwLength = DWORD(in.length);
  out->dwInitialFrames = in.initialFrames;
  out->dwSuggestedBufferSize = in.suggestedBufferSize;
  out->dwQuality = DWORD(in.quality);
  out->dwSampleSize = in.sampleSize;
  SetRect(&out->rcFrame, in.frame.left, in.frame.top, in.frame.right, in.frame.bottom);
  out->dwEditCount = in.editCount;
  out->dwFormatChangeCount = in.formatChangeCount;
  lstrcpynA(out->szName, in.name.c_str(), sizeof(out->szName));
}

avi::StreamInfo FromStreamInfo(const AVISTREAMINFOA& in) {
  avi::StreamInfo out;
  out.type = in.fccType;
  out.handler = in.fccHandler;
  out.flags = in.dwFlags;
  out.caps = in.dwCaps;
  out.priority = in.wPriority;
  out.language = in.wLanguage;
  out.scale = in.dwScale ? in.dwScale : 1;
  out.rate = in.dwRate ? in.dwRate : 1;
  out.start = LONG(in.dwStart);
  out.initialFrames = in.dwInitialFrames;
  out.suggestedBufferSize = in.dwSuggestedBufferSize;
  out.quality = LONG(in.dwQuality);
  out.sampleSize = in.dwSampleSize;
  out.frame = {in.rcFrame.left, in.rcFrame.top, in.rcFrame.right, in.rcFrame.bottom};
  out.name = in.szName;
  return out;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// cAVIFile

cAVIFile::cAVIFile() : m_hr(S_OK) {}
cAVIFile::~cAVIFile() = default;
void PASCAL cAVIFile::Initialize() {}
void PASCAL cAVIFile::Terminate() {}

BOOL cAVIFile::Open(LPCSTR path, UINT, CLSID*) {
  Close();
  try {
    m_file.reset(new avi::AviFile(avi::AviFile::Open(path)));
    m_hr = S_OK;
    return TRUE;
  } catch (const avi::Error& e) {
    m_hr = e.code() == avi::Errc::kIo ? AVIERR_FILEOPEN : AVIERR_FILEREAD;
  } catch (const std::bad_alloc&) {
    m_hr = AVIERR_MEMORY;
  }
  return FALSE;
}

void cAVIFile::Close() { m_file.reset(); }

cAVIStream* cAVIFile::GetStream(DWORD type, LONG index) {
  if (!m_file) return NULL;
  int found = m_file->FindStream(type, int(index));
  if (found < 0) {
    m_hr = AVIERR_NODATA;
    return NULL;
  }
  m_hr = S_OK;
  return new cAVIStream(m_file->stream(found), this);
}

cAVIStream* cAVIFile::CreateStreamInFile(const AVISTREAMINFOA& info) {
  if (!m_file) m_file.reset(new avi::AviFile);
  m_file->streams().push_back(avi::Stream(FromStreamInfo(info), {}));
  m_hr = S_OK;
  return new cAVIStream(m_file->streams().back(), this);
}

cAVIEditStream* cAVIFile::CreateEditStream(LONG index) {
  if (!m_file || index < 0 || index >= m_file->streamCount()) return NULL;
  return new cAVIEditStream(m_file->stream(int(index)).Clone(), this);
}

BOOL cAVIFile::GetInfo(AVIFILEINFOA* info) {
  if (!m_file || !info) return FALSE;
  avi::FileInfo in = m_file->info();
  std::memset(info, 0, sizeof(*info));
  info->dwMaxBytesPerSec = in.maxBytesPerSec;
  info->dwFlags = in.flags;
  info->dwCaps = in.caps;
  info->dwStreams = in.streams;
  info->dwSuggestedBufferSize = in.suggestedBufferSize;
  info->dwWidth = in.width;
  info->dwHeight = in.height;
  info->dwScale = in.scale;
  info->dwRate = in.rate;
  info->dwLength = DWORD(in.length);
  info->dwEditCount = in.editCount;
  lstrcpynA(info->szFileType, in.fileType.c_str(), sizeof(info->szFileType));
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// cAVIStream and cAVIEditStream

cAVIStream::cAVIStream(const avi::Stream& stream, cAVIFile* file) : m_stream(new avi::Stream(stream)), m_pFile(file) {}
cAVIStream::~cAVIStream() = default;
LONG cAVIStream::GetLength() { return m_stream->length(); }
LONG cAVIStream::GetStart() { return m_stream->start(); }
LONG cAVIStream::GetEnd() { return m_stream->end(); }
LONG cAVIStream::GetLengthTime() { return m_stream->lengthTime(); }
LONG cAVIStream::GetStartTime() { return m_stream->startTime(); }
LONG cAVIStream::GetEndTime() { return m_stream->endTime(); }
LONG cAVIStream::SampleToTime(LONG sample) { return m_stream->SampleToTime(sample); }

BOOL cAVIStream::GetInfo(AVISTREAMINFOA* info) {
  if (!info) return FALSE;
  ToStreamInfo(m_stream->info(), info);
  return TRUE;
}

cAVIEditStream* cAVIStream::CreateEditStream() { return new cAVIEditStream(m_stream->Clone(), m_pFile); }

cAVIEditStream::cAVIEditStream(const avi::Stream& stream, cAVIFile* file) : cAVIStream(stream, file) {}

cAVIEditStream* cAVIEditStream::Cut(LONG start, LONG length) {
  try {
    return new cAVIEditStream(m_stream->Cut(start, length), m_pFile);
  } catch (const avi::Error&) {
    ThrowEditFailure();
  }
}

cAVIEditStream* cAVIEditStream::Copy(LONG start, LONG length) {
  try {
    return new cAVIEditStream(m_stream->Copy(start, length), m_pFile);
  } catch (const avi::Error&) {
    ThrowEditFailure();
  }
}

void cAVIEditStream::Paste(LONG* position, LONG* length, cAVIStream* source, LONG start, LONG sourceLength) {
  if (!source || !position) ThrowEditFailure();
  try {
    avi::PasteResult result = m_stream->Paste(*position, *source->GetAVIStream(), start, sourceLength);
    *position = result.position;
    if (length) *length = result.length;
  } catch (const avi::Error&) {
    ThrowEditFailure();
  }
}

cAVIEditStream* cAVIEditStream::Clone() { return new cAVIEditStream(m_stream->Clone(), m_pFile); }

// ---------------------------------------------------------------------------------------------
// cAVIEditFile

cAVIEditFile::cAVIEditFile() : m_nStreams(0) { std::memset(m_streams, 0, sizeof(m_streams)); }
cAVIEditFile::~cAVIEditFile() { ReleaseStreams(); }

void cAVIEditFile::ReleaseStreams() {
  for (int i = 0; i < m_nStreams; ++i) {
    delete m_streams[i];
    m_streams[i] = NULL;
  }
  m_nStreams = 0;
}

BOOL cAVIEditFile::Open(LPCSTR path, UINT mode, CLSID* handler) {
  if (!cAVIFile::Open(path, mode, handler)) return FALSE;
  OpenAllStreams();
  return TRUE;
}

void cAVIEditFile::Close() {
  ReleaseStreams();
  cAVIFile::Close();
  m_hr = S_OK;
}

void cAVIEditFile::OpenAllStreams() {
  ReleaseStreams();
  if (!m_file) return;
  try {
    for (int i = 0; i < m_file->streamCount() && m_nStreams < kMaxStreams; ++i) {
      m_streams[m_nStreams] = new cAVIEditStream(m_file->stream(i).Clone(), this);
      ++m_nStreams;
    }
  } catch (const std::bad_alloc&) {
    Close();
    AfxThrowMemoryException();
  }
}

cAVIEditStream* cAVIEditFile::GetStream(int index) {
  return index >= 0 && index < m_nStreams ? m_streams[index] : NULL;
}

avi::AviFile cAVIEditFile::BuildFile() const {
  avi::AviFile file;
  for (int i = 0; i < m_nStreams; ++i) file.streams().push_back(*m_streams[i]->GetAVIStream());
  return file;
}

void cAVIEditFile::TakeStreams(const avi::AviFile& file) {
  ReleaseStreams();
  m_file.reset(new avi::AviFile(file));
  for (int i = 0; i < file.streamCount() && m_nStreams < kMaxStreams; ++i) {
    m_streams[m_nStreams] = new cAVIEditStream(file.stream(i), this);
    ++m_nStreams;
  }
}

cAVIEditFile* cAVIEditFile::CutAllStreams(LONG start, LONG length) {
  std::unique_ptr<cAVIEditFile> result(new cAVIEditFile);
  try {
    avi::AviFile file = BuildFile();
    avi::AviFile cut = file.CutAll(start, length);
    result->TakeStreams(cut);
    TakeStreams(file);
  } catch (const avi::Error&) {
    ThrowEditFailure();
  }
  return result.release();
}

cAVIEditFile* cAVIEditFile::CopyAllStreams(LONG start, LONG length) {
  std::unique_ptr<cAVIEditFile> result(new cAVIEditFile);
  try {
    result->TakeStreams(BuildFile().CopyAll(start, length));
  } catch (const avi::Error&) {
    ThrowEditFailure();
  }
  return result.release();
}

cAVIEditFile* cAVIEditFile::CloneAllStreams() {
  std::unique_ptr<cAVIEditFile> result(new cAVIEditFile);
  result->TakeStreams(BuildFile().CloneAll());
  return result.release();
}

void cAVIEditFile::PasteAllStreams(LONG* position, LONG* length, cAVIEditFile* source, LONG start,
                                   LONG sourceLength) {
  if (!source || !position) ThrowEditFailure();
  try {
    avi::AviFile file = BuildFile();
    avi::PasteResult pasted = file.PasteAll(*position, source->BuildFile(), start, sourceLength);
    TakeStreams(file);
    *position = pasted.position;
    if (length) *length = pasted.length;
  } catch (const avi::Error&) {
    ThrowEditFailure();
  }
}

BOOL cAVIEditFile::SaveAs(LPCSTR path, AVICOMPRESSOPTIONS* options) {
  CWaitCursor wait;
  try {
    avi::AviFile file;
    for (int i = 0; i < m_nStreams; ++i) {
      const avi::Stream& stream = *m_streams[i]->GetAVIStream();
      nxmedia::StreamSaveOptions prepared = nxmedia::InitStreamOptions(stream, options);
      if (nxmedia::ChangesVideo(stream, prepared.options))
        file.streams().push_back(nxmedia::RecompressVideo(stream, prepared.options));
      else
        file.streams().push_back(stream);  // sound keeps its own format; other streams their chunks
    }
    // The container writes a temporary file beside the target and moves it over only when complete, so
    // a failed save leaves no partial file and whatever was at the path before.
    file.Save(path);
  } catch (const avi::Error&) {
    AfxThrowFileException(CFileException::diskFull, -1, path);
  } catch (const std::bad_alloc&) {
    AfxThrowMemoryException();
  }
  return TRUE;
}

CString PASCAL cAVIEditFile::GetTempAVIFileName() {
  char folder[MAX_PATH];
  const DWORD n = ::GetTempPathA(MAX_PATH, folder);
  if (!n || n >= MAX_PATH) return CString();
  // Created here, so that no other caller is handed the same name before this one writes it.
  return safefile::CreateNumberedFile(std::string(folder) + kTempPrefix, kTempExtension, 1, kTempNumbers).c_str();
}

CString PASCAL cAVIEditFile::GetClipboardFileName() { return nxmedia::ModuleHost().NewTemporaryFile("avi"); }

BOOL cAVIEditFile::OpenWritableCopy(LPCSTR path) {
  CString copy = GetTempAVIFileName();
  if (copy.IsEmpty()) return FALSE;
  HANDLE guard = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (guard == INVALID_HANDLE_VALUE) return FALSE;
  BOOL ok = FALSE;
  try {
    avi::AviFile::Open(path).Save(std::string(copy));
    ok = TRUE;
  } catch (const avi::Error&) {
  } catch (const std::bad_alloc&) {
  }
  CloseHandle(guard);
  if (ok) {
    Close();
    ok = Open(copy, OF_READWRITE, NULL);
  }
  if (!ok) DeleteFileA(copy);
  return ok;
}

UINT PASCAL cAVIEditFile::ClipboardFormat() { return RegisterClipboardFormatA(kClipboardFormatName); }

BOOL cAVIEditFile::PutOnClipboard() {
  std::vector<uint8_t> bytes;
  try {
    avi::AviFile clone = BuildFile().CloneAll();
    std::vector<const avi::Stream*> streams;
    for (const avi::Stream& s : clone.streams()) streams.push_back(&s);
    bytes = avi::WriteToMemory(streams);
  } catch (const avi::Error&) {
    return FALSE;
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  void* target = memory ? GlobalLock(memory) : NULL;
  if (!target) {
    if (memory) GlobalFree(memory);
    return FALSE;
  }
  std::memcpy(target, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  if (!OpenClipboard(NULL)) {
    GlobalFree(memory);
    return FALSE;
  }
  EmptyClipboard();
  BOOL ok = SetClipboardData(ClipboardFormat(), memory) != NULL;
  CloseClipboard();
  if (!ok) GlobalFree(memory);
  return ok;
}

BOOL cAVIEditFile::GetFromClipboard() {
  if (!OpenClipboard(NULL)) return FALSE;
  HANDLE memory = GetClipboardData(ClipboardFormat());
  const uint8_t* bytes = memory ? static_cast<const uint8_t*>(GlobalLock(memory)) : NULL;
  BOOL ok = FALSE;
  if (bytes) {
    std::vector<uint8_t> copy(bytes, bytes + GlobalSize(memory));
    GlobalUnlock(memory);
    try {
      avi::AviFile file = avi::AviFile::FromMemory(std::move(copy));
      Close();
      TakeStreams(file);
      ok = TRUE;
    } catch (const avi::Error&) {
    }
  }
  CloseClipboard();
  return ok;
}
