// Records, enumerations, result codes and image type codes shared by imagio, its callers and the format modules.
//
// Plain C++ without Win32 types, so that the cursor functions and the format modules' pure logic also build
// natively. The type library of every format module declares the same records and enumerations.
#pragma once
#include <cstddef>
#include <cstdint>

// Result of every imagio operation and, in the low 16 bits of a COM status, of every format module call.
enum tagIMGFILERR {
  IMGFILERR_OK = 512,
  IMGFILERR_FAILED = 513,
  IMGFILERR_NOMODULES = 514,
  IMGFILERR_NOINSTANCE = 515,
  IMGFILERR_NOTOPEN = 516,
  IMGFILERR_UNSUPPORTED = 520,
  IMGFILERR_LEAD21 = 521,
  IMGFILERR_NOTIMPL = 524,
  IMGFILERR_NOALPHA = 525,
  IMGFILERR_NOMEMORY = 527,
  IMGFILERR_WRITE = 528,
  IMGFILERR_READ = 529,
  IMGFILERR_OPEN = 530,
  IMGFILERR_NOFILE = 532,
  IMGFILERR_OUTOFBUFFER = 535,
};

enum tagCOLORMODEL { COLORMODEL_RGB = 0 };
enum tagCOMPONENTORDER { COMPONENTORDER_NORMAL = 0, COMPONENTORDER_REVERSE = 1 };
enum tagOPACITY { OPACITY_OPAQUE = 0, OPACITY_TRANSP_BEFORE = 1, OPACITY_TRANSP_AFTER = 2 };
enum IMGLIBSEARCHOPT { IMGLIBSEARCH_EXTONLY = 0, IMGLIBSEARCH_ALLMODULES = 1 };

// Colour-model flags of tagIMGFILEINFO::colormodel and of the masks modules announce.
enum : uint16_t {
  IMGCOLOR_BW = 1,
  IMGCOLOR_GRAY = 2,
  IMGCOLOR_PALETTE = 4,
  IMGCOLOR_TRUECOLOR = 8,
};

// Compression flags of tagIMGFILEINFO::compression and of the masks modules announce.
enum : uint16_t {
  IMGCOMP_NONE = 0,
  IMGCOMP_RLE = 1,
  IMGCOMP_JPEG = 8,
  IMGCOMP_OTHER = 32,
};

// Describes one image file: filled by Open, supplied to Create.
struct tagIMGFILEINFO {
  uint32_t size;  // callers set sizeof(tagIMGFILEINFO) before Open; modules write it
  uint32_t width;
  uint32_t height;
  uint16_t hres;  // 0 when the file has no resolution
  uint16_t vres;
  uint16_t bits;
  uint16_t colormodel;
  uint16_t compression;
  uint16_t quality;  // 0..100; on Create the quality to write with
  uint32_t filesize;
  uint32_t reserved;
};
typedef tagIMGFILEINFO IMGFILEINFO;

// A caller-owned pixel buffer and its cursor. Pointers are 32 bits wide in the product (i686).
struct tagIMAGEBUFDESC {
  uint32_t model;         // tagCOLORMODEL
  uint32_t order;         // tagCOMPONENTORDER
  uint32_t opacity;       // tagOPACITY
  uint32_t width;         // pixels per line
  uint32_t height;        // lines in the buffer
  uint32_t bytesPerLine;  // at least width * bytes per pixel; the rest of a line is padding
  uint8_t upsideDown;     // non-zero: the last line in memory is the top line
  uint8_t unused[3];
  uint8_t* pixels;
  uint8_t* currentPixel;
};
typedef tagIMAGEBUFDESC IMAGEBUFDESC;

// The size of the file-info record that callers preset and modules report.
const uint32_t kImgFileInfoSize = 32;

static_assert(sizeof(tagIMGFILEINFO) == kImgFileInfoSize, "tagIMGFILEINFO is 32 bytes");
static_assert(offsetof(tagIMGFILEINFO, hres) == 12 && offsetof(tagIMGFILEINFO, bits) == 16 &&
                  offsetof(tagIMGFILEINFO, quality) == 22 && offsetof(tagIMGFILEINFO, filesize) == 24,
              "tagIMGFILEINFO layout");
static_assert(sizeof(void*) != 4 || sizeof(tagIMAGEBUFDESC) == 36, "tagIMAGEBUFDESC is 36 bytes on i686");
static_assert(offsetof(tagIMAGEBUFDESC, bytesPerLine) == 20 && offsetof(tagIMAGEBUFDESC, upsideDown) == 24 &&
                  offsetof(tagIMAGEBUFDESC, pixels) == 28,
              "tagIMAGEBUFDESC layout");

// An image type code: up to four ASCII letters in memory order, padded with zero bytes ("JPEG", "BMP").
constexpr uint32_t ImageTypeCode(const char (&letters)[5]) {
  return uint32_t(uint8_t(letters[0])) | uint32_t(uint8_t(letters[1])) << 8 | uint32_t(uint8_t(letters[2])) << 16 |
         uint32_t(uint8_t(letters[3])) << 24;
}
constexpr uint32_t ImageTypeCode(const char (&letters)[4]) {
  return uint32_t(uint8_t(letters[0])) | uint32_t(uint8_t(letters[1])) << 8 | uint32_t(uint8_t(letters[2])) << 16;
}
constexpr uint32_t ImageTypeCode(const char (&letters)[3]) {
  return uint32_t(uint8_t(letters[0])) | uint32_t(uint8_t(letters[1])) << 8;
}

static_assert(ImageTypeCode("JPEG") == 0x4745504Au && ImageTypeCode("BMP") == 0x00504D42u, "type codes");
