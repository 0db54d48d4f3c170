// NXLeadFormat: the LEAD-based format module's COM class (INXIFLib over the imaging toolkit). Writes TIFF, BMP
// and PNG; opens anything the toolkit identifies and reports that file's type code.
#pragma once
#include <cstdint>
#include <string>
#include <lead/orvlead.h>
#include <nxformat/format_module.h>
#include "nxleadcom.h"

namespace nxlead {

class NXLeadFormat : public nxformat::FormatModule<NXLeadFormat> {
 public:
  NXLeadFormat();
  ~NXLeadFormat();
  static const nxformat::TypeTable& Types();

  STDMETHODIMP CreateFile(const char* name, ULONG type, tagIMGFILEINFO* info) override;
  STDMETHODIMP OpenFile(const char* name, ULONG* type, tagIMGFILEINFO* info) override;
  STDMETHODIMP CloseFile() override;
  STDMETHODIMP StartReadBand(tagIMAGEBUFDESC* imgBuffer) override;
  STDMETHODIMP ReadBand(tagIMAGEBUFDESC* imgBuffer, ULONG startLine, ULONG* numLines) override;
  STDMETHODIMP EndReadBand() override;
  STDMETHODIMP StartWriteBand(tagIMAGEBUFDESC* imgBuffer) override;
  STDMETHODIMP WriteBand(tagIMAGEBUFDESC* imgBuffer, ULONG startLine, ULONG* numLines) override;
  STDMETHODIMP EndWriteBand() override;
  STDMETHODIMP ReadToDIB(NXHGLOBAL* hDIB) override;
  STDMETHODIMP WriteDIB(NXHGLOBAL hDIB) override;
  STDMETHODIMP GetPlatformThumbnail(NXHGLOBAL* thumbnail, unsigned short* width, unsigned short* height,
                                    LONG expand) override;
  STDMETHODIMP GetThumbnailSize(unsigned short* width, unsigned short* height) override;

 private:
  enum class FileState { kNone, kOpened, kCreated };
  enum class Direction { kRead, kWrite };

  tagIMGFILERR TransferBand(Direction direction, tagIMAGEBUFDESC* desc, ULONG startLine, ULONG* numLines);
  tagIMGFILERR Save(ORVLBITMAP* bmp);
  // The quick source of a thumbnail (the TIFF thumbnail page, the JPEG stamp) into bmp; false when none.
  bool LoadQuickThumbnail(ORVLBITMAP* bmp);
  void FreeBandBitmap();

  tagIMGFILEINFO m_info;
  std::string m_path;
  int m_format;        // toolkit format number
  uint32_t m_type;     // type code
  bool m_bottomUp;     // memory row 0 of the file's bitmap is its bottom line
  ORVLBITMAP m_bitmap; // the whole picture between Start...Band and End...Band
  FileState m_state;
};

}  // namespace nxlead
