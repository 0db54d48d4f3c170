// NXMedia, the media object library: pictures (cImageObject), videos (cVideoObject) and sounds
// (cWaveObject) as objects with a file, a display name, a size and format, loading, writing, thumbnails
// and the postcard hand-off; the picture operations; the format tables between FileFormat, imagio's type
// codes and the imaging toolkit's format numbers. The Gallery, the batch commands, the Enhancer and the
// TWAIN library call it. Callers start imagio (NXImageFile::Init) before using pictures. Failures throw
// cNXException / cNXLeadException (NXMisc) with NXError numbers; sound headers throw CFileException.
// The AVI classes are in media/AVIFile.h, the info dialogs in media/InfoDialogs.h.
// The classes are the media core (orv_mediacore), which the postcard program links as well with a host of its
// own (media/MediaHost.h): there they read pictures through the imaging toolkit and throw that program's
// exceptions. NXMEDIA_STATIC marks such a program.
#pragma once
#include <afxwin.h>
#include <NXMisc.h>
#include <RWLock.h>
#include <media/LeadBitmap.h>
#include <media/NXError.h>
#include <imagio/imgtypes.h>

#if defined(NXMEDIA_BUILD)
#define NXMEDIA_API __declspec(dllexport)
#elif defined(NXMEDIA_STATIC)
#define NXMEDIA_API
#else
#define NXMEDIA_API __declspec(dllimport)
#endif

// NXMedia's host of the media core, which keeps the class-wide state below (media/src/host.cpp).
class NXMediaHost;

enum DataType { DATATYPE_PICTURE = 0, DATATYPE_VIDEO = 1, DATATYPE_SOUND = 3 };
enum DataSource { DATASOURCE_FILE = 0, DATASOURCE_NONE = 4 };
enum FileFormat {
  FILEFORMAT_TIFF = 0,
  FILEFORMAT_BMP = 1,
  FILEFORMAT_JPEG = 2,
  FILEFORMAT_PNG = 3,
  FILEFORMAT_PCD = 4,
  FILEFORMAT_LEAD_1 = 5,  // the toolkit's format 1; no module of the suite reports it
  FILEFORMAT_PICT = 6,
  FILEFORMAT_WMF = 7,
  FILEFORMAT_AVI = 8,     // also the toolkit's format 59 on the picture side
  FILEFORMAT_UNKNOWN = 10,
  FILEFORMAT_CLIENT = 11, // a picture held by its caller (the info dialog does not re-read it)
  FILEFORMAT_FPX = 12,
  FILEFORMAT_KDC = 16,
  FILEFORMAT_WAVE = 17,
  FILEFORMAT_MPEG = 18,
  FILEFORMAT_GDO = 19,
  FILEFORMAT_ORC = 20
};

// Starts NXMedia and NXMisc (cModuleStart): every program and component that uses NXMedia calls it once from
// its own start, outside DllMain, before NXMedia's dialogs, bitmaps and texts are looked up through the resource
// chain. TRUE when NXMediaRes.dll is loaded. Exported undecorated.
extern "C" NXMEDIA_API BOOL NXMediaStartup();
// The NXMedia resource library (null when it could not be loaded); starts NXMedia when it is not started yet.
NXMEDIA_API HINSTANCE NXMediaResourceHandle();

class NXMEDIA_API cMediaObject : public CObject {
  DECLARE_SERIAL(cMediaObject)
 public:
  cMediaObject();
  cMediaObject(const cMediaObject& other);
  ~cMediaObject() override;

  virtual void CreateFromFile(LPCSTR path);
  virtual short GetHeight() const;
  virtual short GetWidth() const;
  virtual long GetMemorySize() const;
  virtual long GetDiskSize() const;
  virtual DataSource GetDataSource() const;
  virtual BOOL IsLoaded();
  virtual CString GetFileName() const;
  virtual CString GetDisplayName() const;
  virtual void SetType(DataType type);
  virtual DataType GetType() const;
  virtual BOOL IsInitialized() const;
  virtual BOOL IsDiskFileWritten() const;
  virtual FileFormat GetFileFormat() const;
  virtual void UpdateFileInfo(LPCSTR path);
  virtual void SetFileFormat(FileFormat format);
  virtual void SetHeight(short height);
  virtual void SetWidth(short width);
  virtual void SetMemorySize(long size);
  virtual void SetDiskSize(long size);
  virtual void SetDataSource(DataSource source);
  virtual void SetLoaded(BOOL loaded);
  virtual void SetFileName(LPCSTR name);
  virtual void SetDisplayName(LPCSTR name);
  virtual void SetToUntitled(LPCSTR prefix, LPCSTR suffix, LPCSTR extension, BOOL displayOnly);
  virtual void SetInitialized(BOOL initialized);
  virtual void SetDiskFileWritten(BOOL written);
  virtual void SetEditor(CObject* editor);
  virtual int OpenEditor();
  virtual void Write(LPCSTR path);
  // A new bitmap the caller deletes, or null.
  virtual CBitmap* CreateThumbnail(CDC* dc, int boxWidth, int boxHeight, int reserved, BOOL expand);
  virtual void ShowProperties();
  virtual BOOL IsUntitled() const;
  // Keeps the rectangle's top-left and fits its size into the frame's size with its aspect ratio.
  virtual void AdjustToFitFrame(CRect& rect, const CRect& frame);
  // Hands the object to the postcard program; 1 when it was started, 0 after telling the user why not.
  virtual int SendPostcard();
  virtual CBitmap* GetDefaultThumbnail(CDC* dc, int boxWidth, int boxHeight, BOOL force);

  static CString PASCAL GetExtension(FileFormat format);
  static FileFormat PASCAL DetermineFileFormat(LPCSTR name);

 protected:
  friend class NXMediaHost;
  // The picture the postcard shows: a copy of the object's picture, or a video's first frame.
  virtual class cImageObject* MakePostcardPicture();

  CString m_fileName;
  CString m_displayName;
  short m_height;
  short m_width;
  long m_memorySize;
  long m_diskSize;
  BOOL m_bLoaded;
  BOOL m_bInitialized;
  BOOL m_bDiskFileWritten;
  CObject* m_pEditor;
  DataSource m_dataSource;
  FileFormat m_fileFormat;
  BOOL m_bUntitled;
  DataType m_dataType;
};

class NXMEDIA_API cImageObject : public cMediaObject {
  DECLARE_SERIAL(cImageObject)
 public:
  cImageObject();
  cImageObject(const cImageObject& other);
  ~cImageObject() override;

  // Loading, writing, thumbnails.
  void CreateFromFile(LPCSTR path) override;
  void UpdateFileInfo(LPCSTR path) override;
  void Write(LPCSTR path) override;
  virtual void Write(LPCSTR path, FileFormat format, int bits, int quality, int reserved);
  CBitmap* CreateThumbnail(CDC* dc, int boxWidth, int boxHeight, int reserved, BOOL expand) override;
  CBitmap* GetDefaultThumbnail(CDC* dc, int boxWidth, int boxHeight, BOOL force) override;
  void ShowProperties() override;  // the picture info dialog over this object
  void Serialize(CArchive& ar) override;
  BOOL IsLoaded() override;

  virtual BOOL IsThumbnail() const;
  virtual void SetAsThumbnail(BOOL thumbnail);
  virtual BOOL GetFpxAsThumbnail() const;
  virtual void SetCompressionFactor(int factor);
  virtual int GetCompressionFactor() const;
  virtual void CopyImageAttributes(const cImageObject& other);
  virtual NXError MapIMGFILERRToNXError(int code) const;
  virtual HGLOBAL ConvertToDIB() const;
  virtual BOOL HasEmbeddedThumbnail();

  // Picture operations.
  virtual void Init(int width, int height, int bits);
  virtual void UpdateImageProperties();
  virtual void CreateFromDIB(const BITMAPINFOHEADER* header);
  virtual void CreateFromDIBHandle(HGLOBAL dib);
  virtual void CreateFromBitmap(CDC* dc, CBitmap* bitmap);
  virtual cImageObject* CopyImage() const;
  virtual int Draw(CDC* dc, const CRect& destination, const CRect* clip, CPalette* palette);
  virtual int Print(CDC* dc, const CRect& rect, CPalette* palette, int flags);
  virtual void Rotate(int angle, int flags);
  virtual void Resize(int width, int height, int reserved);
  virtual void ConvertColorResolution(int bits);
  virtual void IntensityRemapChannel(int channel);
  virtual void UpdateTiffThumbnail(int width, int height, int bits);
  virtual void SetTiffPageNumber(int page);
  virtual int GetEmbeddedThumbnail();

  CLeadBitmap* GetBitmap() { return m_pBitmap; }
  int GetBitsPerPixel() const { return m_bitsPerPixel; }
  int GetHorizontalResolution() const { return m_hResolution; }
  int GetVerticalResolution() const { return m_vResolution; }
  int GetThumbnailWidth() const { return m_thumbWidth; }
  int GetThumbnailHeight() const { return m_thumbHeight; }

  static CString PASCAL GetExtension(FileFormat format);
  static CString PASCAL GetCombinedOpenFilter();
  static BOOL PASCAL IsSupportedFileExtension(LPCSTR name);
  static FileFormat PASCAL DetermineFileFormat(LPCSTR name);
  static FileFormat PASCAL MapIMGTYPEToNXFileType(uint32_t type);
  static uint32_t PASCAL MapNXFileTypeToIMGTYPE(FileFormat format);
  static FileFormat PASCAL MapLeadToNXFileType(int leadFormat);
  static int PASCAL MapNXFileTypeToLead(FileFormat format);
  // The tone curve of IntensityRemapChannel, and the fill between two set entries it is made with.
  static void PASCAL MakeToneCurve(BYTE table[256]);
  static void PASCAL RemapLUT(BYTE* table, int low, int high);

 protected:
  cImageObject* MakePostcardPicture() override;
  void ThrowIfFailed(int nxError) const;
  void SerializeAsPictureFile(CArchive& ar, const CString& name);
  void SerializeEmbedded(CArchive& ar);

  CLeadBitmap* m_pBitmap;
  int m_hResolution;
  int m_vResolution;
  BOOL m_bIsThumbnail;
  int m_bitsPerPixel;
  int m_compressionFactor;
  int m_thumbWidth;
  int m_thumbHeight;
  int m_compression;

  // Class-wide state of NXMedia's host: the default thumbnail, the combined filter and the type list,
  // guarded by m_lockData. The core itself never touches them.
  friend class NXMediaHost;
  static CLeadBitmap m_thumbnail;
  static BOOL m_bThumbnailLoaded;
  static CString m_supported;
  static BOOL m_bSupportedBuilt;
  static cStringEx m_typeNames;
  static BOOL m_bTypeNamesBuilt;
  static cRWLockData m_lockData;
};

class NXMEDIA_API cVideoObject : public cMediaObject {
  DECLARE_SERIAL(cVideoObject)
 public:
  cVideoObject();
  void CreateFromFile(LPCSTR path) override;
  void UpdateFileInfo(LPCSTR path) override;
  void Write(LPCSTR path) override;
  CBitmap* CreateThumbnail(CDC* dc, int boxWidth, int boxHeight, int reserved, BOOL expand) override;
  CBitmap* GetDefaultThumbnail(CDC* dc, int boxWidth, int boxHeight, BOOL force) override;
  void ShowProperties() override;  // the video info dialog over this object
  // Frame n as a packed bitmap in global memory (the caller frees it), or null.
  virtual HGLOBAL GetFrameAsDIB(long frame);

  static CString PASCAL GetExtension(FileFormat format);
  static BOOL PASCAL IsSupportedFileExtension(LPCSTR name);
  static FileFormat PASCAL DetermineFileFormat(LPCSTR name);

 protected:
  cImageObject* MakePostcardPicture() override;

  // The default thumbnail of NXMedia's host, guarded by m_lockData.
  friend class NXMediaHost;
  static CLeadBitmap m_thumbnail;
  static BOOL m_bThumbnailLoaded;
  static cRWLockData m_lockData;
};

class NXMEDIA_API cWaveObject : public cMediaObject {
  DECLARE_SERIAL(cWaveObject)
 public:
  cWaveObject();
  void UpdateFileInfo(LPCSTR path) override;
  CBitmap* CreateThumbnail(CDC* dc, int boxWidth, int boxHeight, int reserved, BOOL expand) override;
  CBitmap* GetDefaultThumbnail(CDC* dc, int boxWidth, int boxHeight, BOOL force) override;
  void ShowProperties() override;  // the sound info dialog over this object

  // The format record of the file's header (throws CFileException when there is none).
  virtual WAVEFORMATEX GetHeader(LPCSTR path);
  // Reads up to length bytes from the start of the file; returns the bytes read.
  virtual UINT ReadPartialFile(LPCSTR path, BYTE* buffer, UINT length);
  // The whole file in memory.
  virtual CByteArray* ReadFullFile(LPCSTR path);
  // Finds the format chunk in the first `length` bytes of a RIFF WAVE file.
  static void PASCAL ParseHeader(const BYTE* data, UINT length, WAVEFORMATEX* format);

  WORD GetFormatTag() const { return m_formatTag; }
  WORD GetChannels() const { return m_channels; }
  DWORD GetSampleFrequency() const { return m_sampleFrequency; }

  static CString PASCAL GetExtension(FileFormat format);
  static BOOL PASCAL IsSupportedFileExtension(LPCSTR name);
  static FileFormat PASCAL DetermineFileFormat(LPCSTR name);

 protected:
  WORD m_formatTag;
  WORD m_channels;
  DWORD m_sampleFrequency;

  // The default thumbnail of NXMedia's host, guarded by m_lockData.
  friend class NXMediaHost;
  static CLeadBitmap m_thumbnail;
  static BOOL m_bThumbnailLoaded;
  static cRWLockData m_lockData;
};
