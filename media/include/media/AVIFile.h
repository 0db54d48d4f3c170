// NXMedia's AVI classes over our own container (platform/avi): cAVIFile and cAVIStream read files and
// streams; cAVIEditFile and cAVIEditStream cut, copy, paste and clone ranges across all streams of a file,
// keeping sound aligned with video through time, and save through a temporary file, recompressing video
// with the platform's compressors when asked. Used by cVideoObject
// and the Gallery's video commands. Editing failures throw cNXException type 5, save failures
// CFileException (disk full, with the path), memory failures CMemoryException.
#pragma once
#include <media/NXMedia.h>
#include <vfw.h>
#include <memory>

namespace avi {
class AviFile;
class Stream;
}  // namespace avi

class NXMEDIA_API cAVIFile : public CObject {
  DECLARE_DYNAMIC(cAVIFile)
 public:
  cAVIFile();
  ~cAVIFile() override;
  // The container needs no process-wide start; kept so that the components' start and end stay as they are.
  static void PASCAL Initialize();
  static void PASCAL Terminate();

  virtual BOOL Open(LPCSTR path, UINT mode, CLSID* handler);
  virtual void Close();
  // The index-th stream of the type (0: any), a new object the caller deletes, or null.
  virtual class cAVIStream* GetStream(DWORD type, LONG index);
  virtual class cAVIStream* CreateStreamInFile(const AVISTREAMINFOA& info);
  virtual class cAVIEditStream* CreateEditStream(LONG index);
  virtual BOOL GetInfo(AVIFILEINFOA* info);
  BOOL IsOpen() const { return m_file != nullptr; }
  HRESULT GetLastResult() const { return m_hr; }
  avi::AviFile* GetAviFile() { return m_file.get(); }

 protected:
  std::unique_ptr<avi::AviFile> m_file;
  HRESULT m_hr;
};

class NXMEDIA_API cAVIStream : public CObject {
  DECLARE_DYNAMIC(cAVIStream)
 public:
  cAVIStream(const avi::Stream& stream, cAVIFile* file);
  ~cAVIStream() override;
  avi::Stream* GetAVIStream() { return m_stream.get(); }
  virtual LONG GetLength();
  virtual LONG GetStart();
  virtual LONG GetEnd();
  virtual LONG GetLengthTime();
  virtual LONG GetStartTime();
  virtual LONG GetEndTime();
  virtual BOOL GetInfo(AVISTREAMINFOA* info);
  virtual class cAVIEditStream* CreateEditStream();
  virtual LONG SampleToTime(LONG sample);
  cAVIFile* GetFile() const { return m_pFile; }

 protected:
  std::unique_ptr<avi::Stream> m_stream;
  cAVIFile* m_pFile;
};

class NXMEDIA_API cAVIEditStream : public cAVIStream {
  DECLARE_DYNAMIC(cAVIEditStream)
 public:
  cAVIEditStream(const avi::Stream& stream, cAVIFile* file);
  virtual cAVIEditStream* Cut(LONG start, LONG length);
  virtual cAVIEditStream* Copy(LONG start, LONG length);
  // Inserts [start, start + length) of source at position; reports where and how much went in.
  virtual void Paste(LONG* position, LONG* length, cAVIStream* source, LONG start, LONG sourceLength);
  virtual cAVIEditStream* Clone();
};

class NXMEDIA_API cAVIEditFile : public cAVIFile {
  DECLARE_DYNAMIC(cAVIEditFile)
 public:
  enum { kMaxStreams = 25 };
  cAVIEditFile();
  ~cAVIEditFile() override;

  BOOL Open(LPCSTR path, UINT mode, CLSID* handler) override;
  void Close() override;
  virtual void OpenAllStreams();
  cAVIEditStream* GetStream(int index);
  using cAVIFile::GetStream;  // the file's own streams by type stay reachable, beyond the 25 held
  int GetStreamCount() const { return m_nStreams; }

  // Each returns a new edit file over the resulting streams (the caller deletes it).
  virtual cAVIEditFile* CutAllStreams(LONG start, LONG length);
  virtual cAVIEditFile* CopyAllStreams(LONG start, LONG length);
  virtual cAVIEditFile* CloneAllStreams();
  // Returns what the first stream's paste reports, in position and length.
  virtual void PasteAllStreams(LONG* position, LONG* length, cAVIEditFile* source, LONG start, LONG sourceLength);
  // Saves all streams. Options naming a video compressor recompress the video streams with it (comptypeDIB:
  // uncompressed; the stream's own compressor: kept as it is); sound, and video without a compressor in the
  // options, keep their chunks. True on success.
  virtual BOOL SaveAs(LPCSTR path, AVICOMPRESSOPTIONS* options);
  virtual BOOL OpenWritableCopy(LPCSTR path);
  virtual BOOL PutOnClipboard();
  virtual BOOL GetFromClipboard();
  // A new empty file Vid<n>.avi in the system's temporary folder, made for the caller to write over; empty when
  // none can be made.
  static CString PASCAL GetTempAVIFileName();
  // A numbered temporary file with the extension avi, from the module's host (NXMisc's, in NXMedia).
  static CString PASCAL GetClipboardFileName();
  // The clipboard format under which an AVI file image travels.
  static UINT PASCAL ClipboardFormat();

 protected:
  // The held streams as a container file (copies share the chunk data).
  avi::AviFile BuildFile() const;
  void TakeStreams(const avi::AviFile& file);
  void ReleaseStreams();

  cAVIEditStream* m_streams[kMaxStreams];
  int m_nStreams;
};
