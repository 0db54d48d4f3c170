// NXJPEGFormat: the JPEG format module's COM class (INXIFLib over the suite's JPEG codec).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include <nxformat/format_module.h>
#include <ijl/ijl.h>
#include "nxjpegcom.h"

namespace nxjpeg {

class NXJPEGFormat : public nxformat::FormatModule<NXJPEGFormat> {
 public:
  NXJPEGFormat();
  ~NXJPEGFormat() override;
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
  // As the shared GetThumbnail, without the platform bitmap in between: the Gallery's hot path.
  STDMETHODIMP GetThumbnail(tagIMAGEBUFDESC* thumb, LONG expand) override;
  STDMETHODIMP GetThumbnailSize(unsigned short* width, unsigned short* height) override;

 private:
  // Whether the instance holds a file to read (OpenFile) or one to write (CreateFile).
  enum class FileState { kNone, kOpened, kCreated };

  // The pixels a thumbnail is made from: blue, green, red, bottom line first, lineBytes apart.
  struct ThumbnailBlock {
    const uint8_t* pixels;
    uint32_t width, height;
    size_t lineBytes;
  };

  // The record's fields, the orientation and whether an embedded thumbnail is named, from file's headers.
  tagIMGFILERR ReadHeaders(const std::vector<uint8_t>& file, tagIMGFILEINFO* info, bool* hasThumbnail);
  void LoadEmbeddedThumbnail(const std::vector<uint8_t>& file);
  // The thumbnail's pixels for a boxW x boxH box, standing upright as the file's EXIF orientation says (into
  // *decoded when they had to be made or turned).
  tagIMGFILERR ThumbnailPixels(uint32_t boxW, uint32_t boxH, std::unique_ptr<uint8_t[]>* decoded,
                               ThumbnailBlock* block) const;
  // The embedded thumbnail, or the image decoded for a boxW x boxH box at the reduction PlanThumbnail chooses
  // (into *decoded), as stored.
  tagIMGFILERR StoredThumbnailPixels(uint32_t boxW, uint32_t boxH, std::unique_ptr<uint8_t[]>* decoded,
                                     ThumbnailBlock* block) const;
  // Points a codec read at the opened file: the kept bytes when Open kept them, else the file by its path.
  void SetSource(ijl::Properties* p) const;
  // Drops a band write this instance began and did not finish (the old file stays); IMGFILERR_OK when there is
  // none, IMGFILERR_WRITE when one was dropped or its partial file could not be removed.
  tagIMGFILERR AbandonBandWrite();
  bool HasEmbeddedThumbnail() const { return m_thumbWidth > 0 && m_thumbHeight > 0; }

  tagIMGFILEINFO m_info;
  std::string m_path;
  // The opened file's bytes, kept from OpenFile to CloseFile so that thumbnails and decodes do not read the
  // file again; empty for files above kKeptFileLimit and files whose embedded thumbnail was found in their
  // first bytes, which are read by path.
  std::vector<uint8_t> m_file;
  std::vector<uint8_t> m_thumb;  // the embedded thumbnail, bottom line first, kThumbLineBytes apart
  uint32_t m_thumbWidth;
  uint32_t m_thumbHeight;
  int m_orientation;  // the opened file's EXIF orientation, 1 when it has none
  FileState m_state;
  bool m_bandWriting;  // band writes to m_path have begun and the last line has not been written
};

}  // namespace nxjpeg
