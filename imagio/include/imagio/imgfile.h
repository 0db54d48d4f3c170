// NXImageFile: the suite's one door to image files. Every program and library opens, reads, creates, writes and
// thumbnails picture files through it; the work itself is done by the format modules (in-process COM servers in
// the category "Nexlumen Image Libraries") that Init discovers. Static queries answer which types, extensions,
// filters, bit depths, colour models and compressions those modules offer.
//
// Call Init once per process (per thread that also calls Exit) before anything else, Exit after the last object
// is gone. Every operation returns a tagIMGFILERR code and nothing throws. Buffers handed out by Read and
// GetThumbnail are freed with ReleaseBuffer; global-memory bitmaps with GlobalFree.
#pragma once
#include <windows.h>
#include <imagio/imgtypes.h>

#ifdef IMAGIO_BUILD
#define IMAGIO_API __declspec(dllexport)
#else
#define IMAGIO_API __declspec(dllimport)
#endif

struct INXIFLib;

class IMAGIO_API NXImageFile {
 public:
  NXImageFile();
  // Copies share the serving module instance (each copy holds its own reference); closing one copy ends the
  // file for the others as far as the module is concerned.
  NXImageFile(const NXImageFile& other);
  NXImageFile& operator=(const NXImageFile& other);
  virtual ~NXImageFile();

  // Library set-up and queries.
  static tagIMGFILERR Init(void* reserved);
  static void Exit();
  static void SetSearchOption(IMGLIBSEARCHOPT option);
  static tagIMGFILERR GetAllSupportImageType(uint16_t* count, const uint32_t** types);
  static tagIMGFILERR GetSupportBits(uint32_t type, uint16_t bits[4]);
  static tagIMGFILERR GetSupportColorModel(uint32_t type, uint16_t* colorModels);
  static tagIMGFILERR GetSupportCompression(uint32_t type, uint16_t* compression);
  static tagIMGFILERR GetDefaultExt(uint32_t type, char* buffer, uint16_t bufferSize);
  static tagIMGFILERR GetFileFilter(uint32_t type, char* name, uint16_t nameSize, char* ext, uint16_t extSize);
  static void GetCombinedFileFilters(char* buffer, uint16_t bufferSize, char separator);
  // Frees a buffer that Read or GetThumbnail handed out.
  static void ReleaseBuffer(uint8_t* buffer);

  virtual tagIMGFILERR GetImageType(uint32_t* type);
  virtual tagIMGFILERR Create(const char* path, uint32_t type, tagIMGFILEINFO* info);
  virtual tagIMGFILERR Open(const char* path, uint32_t* type, tagIMGFILEINFO* info);
  virtual void Close();
  virtual tagIMGFILERR StartReadBand(tagIMAGEBUFDESC* desc);
  virtual tagIMGFILERR ReadBand(tagIMAGEBUFDESC* desc, uint32_t startLine, uint32_t* numLines);
  virtual tagIMGFILERR EndReadBand();
  virtual tagIMGFILERR StartWriteBand(tagIMAGEBUFDESC* desc);
  virtual tagIMGFILERR WriteBand(tagIMAGEBUFDESC* desc, uint32_t startLine, uint32_t* numLines);
  virtual tagIMGFILERR EndWriteBand();
  virtual tagIMGFILERR ReadToDIB(HGLOBAL* dib);
  virtual tagIMGFILERR WriteDIB(HGLOBAL dib);
  virtual tagIMGFILERR GetThumbnail(uint8_t** buffer, BOOL upsideDown, tagCOLORMODEL model,
                                    tagCOMPONENTORDER order, uint16_t alignment, uint16_t* width,
                                    uint16_t* height, BOOL expand);
  virtual tagIMGFILERR GetThumbnail(tagIMAGEBUFDESC* desc, BOOL expand);
  virtual tagIMGFILERR GetPlatformThumbnail(HGLOBAL* dib, uint16_t* width, uint16_t* height, BOOL expand);
  virtual tagIMGFILERR GetPlatformThumbnail(HDC dc, HBITMAP* bitmap, uint16_t* width, uint16_t* height,
                                            BOOL expand);
  virtual tagIMGFILERR GetThumbnailSize(uint16_t* width, uint16_t* height);
  virtual tagIMGFILERR HasProperty(uint32_t property, BOOL* result);
  virtual tagIMGFILERR GetProperty(uint32_t property, HGLOBAL* value);
  virtual tagIMGFILERR SetProperty(uint32_t property, HGLOBAL value);
  virtual tagIMGFILERR Read(uint8_t** buffer, BOOL upsideDown, tagCOLORMODEL model, tagCOMPONENTORDER order,
                            tagOPACITY opacity, uint16_t alignment);

  static IMGLIBSEARCHOPT s_SearchOption;

 private:
  INXIFLib* m_lib;  // the module instance serving the current file; null when none
  uint32_t m_type;
  uint32_t m_width;
  uint32_t m_height;
};
