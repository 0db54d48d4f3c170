/* Records, constants and result codes of the imaging toolkit, shared by its portable core and its DLL.
 *
 * The toolkit (orvlead.dll) holds pictures as ORVLBITMAP records and offers kernel, file and processing
 * calls over them. This header uses no Win32 types so that the portable core (BMP/PNG/TIFF writers,
 * pixel operations) builds natively too; orvlead.h adds the Win32 calls (DIBs, DDBs, painting, files).
 * Callers: the bitmap wrapper of the media library, the LEAD-based format module, the TWAIN library.
 */
#ifndef ORVLEAD_TYPES_H
#define ORVLEAD_TYPES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Result codes. Success is 1; every failure is negative. Row calls return bytes moved (> 0). ---- */
#define ORVL_SUCCESS                1
#define ORVL_ERROR_NO_MEMORY       -1   /* memory for pixels or a work buffer could not be obtained */
#define ORVL_ERROR_NO_BITMAP       -2   /* the bitmap has no pixel memory attached, or the record is null */
#define ORVL_ERROR_MEMORY_LOCK     -3   /* a global-memory handle could not be locked */
#define ORVL_ERROR_FILE_CORRUPT    -4   /* the file's data is damaged or inconsistent */
#define ORVL_ERROR_FILE_WRITE      -5   /* writing, flushing or moving the file into place failed */
#define ORVL_ERROR_FILE_NOT_FOUND  -6   /* the file or its folder does not exist */
#define ORVL_ERROR_FILE_READ       -7   /* reading failed, or the file ends early (truncated) */
#define ORVL_ERROR_INVALID_PARAM   -8   /* an argument is out of range or inconsistent */
#define ORVL_ERROR_FILE_FORMAT     -9   /* the file is not in a format the toolkit knows */
#define ORVL_ERROR_INVALID_BITS    -11  /* the bits per pixel are not valid, or not handled by this call */
#define ORVL_ERROR_NOT_SUPPORTED   -12  /* the format variant or operation is not provided by this toolkit */
#define ORVL_ERROR_INVALID_SIZE    -13  /* width or height is zero, negative or too large */
#define ORVL_ERROR_FILE_OPEN       -14  /* the file exists but could not be opened (locked, denied) */
#define ORVL_ERROR_FAILURE         -20  /* an internal step failed that no other code describes */
#define ORVL_ERROR_PAGE_NOT_FOUND  -21  /* the file has no page of the requested number */
#define ORVL_ERROR_CLIPBOARD       -30  /* the clipboard could not be opened or holds no bitmap */
#define ORVL_ERROR_GDI             -31  /* a device context, device bitmap or metafile call failed */
#define ORVL_ERROR_PRINTER         -65  /* the printer refused the job */

/* ---- Bitmap record ---- */
#define ORVL_BITMAP_ALLOCATED   0x00000001u  /* Flags bit 0: pixel memory is attached */

#define ORVL_ORDER_RGB  0   /* 24/32-bit pixels stored red, green, blue (, pad) */
#define ORVL_ORDER_BGR  1   /* 24/32-bit pixels stored blue, green, red (, pad) as in Windows DIBs */

#define ORVL_TOP_LEFT     0 /* memory row 0 is the top of the picture */
#define ORVL_BOTTOM_LEFT  2 /* memory row 0 is the bottom of the picture (Windows DIB order) */

#define ORVL_MEMORY_CONVENTIONAL 1 /* the only kind of pixel memory: one block from the C heap */

#define ORVL_MAX_DIMENSION 65535
#define ORVL_MAX_PIXEL_BYTES 0x40000000u /* 1 GiB: keeps every size product inside 32 bits */

typedef struct ORVLRGBQUAD { uint8_t rgbBlue, rgbGreen, rgbRed, rgbReserved; } ORVLRGBQUAD;

/* A picture in memory. Plain data: copying the record shares its pixels (free once). 16-bit pixels are
 * 5-5-5 as in Windows DIBs. Lines are padded to a multiple of 4 bytes. */
typedef struct ORVLBITMAP {
  uint32_t uStructSize;     /* sizeof(ORVLBITMAP) */
  uint32_t Flags;           /* ORVL_BITMAP_ALLOCATED */
  int32_t Width;
  int32_t Height;
  int32_t BitsPerPixel;     /* 1, 4, 8, 16, 24 or 32 */
  int32_t BytesPerLine;
  int32_t Order;            /* ORVL_ORDER_* */
  int32_t ViewPerspective;  /* ORVL_TOP_LEFT or ORVL_BOTTOM_LEFT */
  int32_t XResolution;      /* dots per inch */
  int32_t YResolution;
  int32_t nColors;          /* palette entries in use (bits <= 8) */
  int32_t AccessCount;      /* nesting of Access/Release */
  uint32_t Size;            /* bytes of pixel memory = BytesPerLine * Height */
  uint8_t* Data;
  ORVLRGBQUAD Palette[256];
} ORVLBITMAP;

/* ---- Format numbers (file information, loading, saving) ---- */
#define ORVL_FMT_GIF    2
#define ORVL_FMT_TIFF   3
#define ORVL_FMT_BMP    6
#define ORVL_FMT_JPEG   10
#define ORVL_FMT_WMF    15   /* Windows metafiles, placeable WMF and EMF (compression name tells which) */
#define ORVL_FMT_EPS    16
#define ORVL_FMT_PICT   56
#define ORVL_FMT_PCD    57
#define ORVL_FMT_PNG    75
#define ORVL_FMT_BMP_OS2 84

/* File information record. The byte offsets of ViewPerspective (60) and Flags (80) are relied on. */
#define ORVL_COMPRESSION_NAME 20
typedef struct ORVLFILEINFO {
  uint32_t uStructSize;     /*  0 */
  int32_t Format;           /*  4 ORVL_FMT_* */
  int32_t Width;            /*  8 */
  int32_t Height;           /* 12 */
  int32_t BitsPerPixel;     /* 16 */
  int32_t BytesPerLine;     /* 20 at BitsPerPixel */
  uint32_t SizeDisk;        /* 24 file size (or the size given for memory/offset calls) */
  uint32_t SizeMem;         /* 28 BytesPerLine * Height */
  int32_t XResolution;      /* 32 dots per inch, 0 when the file does not say */
  int32_t YResolution;      /* 36 */
  char Compression[ORVL_COMPRESSION_NAME]; /* 40 "NONE", "JPEG", "run length", "LZW", "Deflate", ... */
  int32_t ViewPerspective;  /* 60 ORVL_BOTTOM_LEFT for bottom-up files, else ORVL_TOP_LEFT */
  int32_t Order;            /* 64 the file's own colour order for 24/32 bits */
  int32_t PageNumber;       /* 68 the page described (from the file options) */
  int32_t TotalPages;       /* 72 */
  int32_t Reserved;         /* 76 */
  uint32_t Flags;           /* 80 ORVL_FILEINFO_* */
} ORVLFILEINFO;

#define ORVL_FILEINFO_INTERLACED  0x1u /* interlaced GIF/PNG */
#define ORVL_FILEINFO_PROGRESSIVE 0x2u /* progressive JPEG: reduced-size decoding saves nothing */
#define ORVL_FILEINFO_HAS_STAMP   0x4u /* JPEG with an embedded thumbnail */

/* File options, per thread. A zeroed record of ORVL_FILEOPTIONS_SIZE bytes means "defaults"; the page
 * number is the 32-bit word at offset 16 (0 and 1 both mean the first page). */
#define ORVL_FILEOPTIONS_SIZE 1072
typedef struct ORVLFILEOPTIONS {
  uint32_t uStructSize;     /*  0 */
  uint32_t Flags;           /*  4 reserved, 0 */
  uint32_t Reserved1;       /*  8 */
  uint32_t Reserved2;       /* 12 */
  int32_t PageNumber;       /* 16 page read by loads and written by saves of multi-page formats */
  uint8_t Reserved[ORVL_FILEOPTIONS_SIZE - 20];
} ORVLFILEOPTIONS;

/* Load flags (LoadFile, LoadFileOffset, LoadMemory); ORVL_LOAD_ALLOCATE | ORVL_LOAD_STORE (3) is a plain load. */
#define ORVL_LOAD_ALLOCATE 0x1u
#define ORVL_LOAD_STORE    0x2u

/* Save flags. 1 and 2 choose the palette when the save lowers the depth to 8 bits or fewer. */
#define ORVL_SAVE_FIXEDPALETTE     0x1u  /* fixed palette (black and white at 1 bit) */
#define ORVL_SAVE_OPTIMIZEDPALETTE 0x2u  /* palette chosen from the picture's colours */
#define ORVL_SAVE_COMPRESSED       0x4u  /* lossless compression where the format has it (TIFF: PackBits) */

/* Quality factor of saves: 2 (best) .. 255 (smallest); values below 2 mean the default (JPEG quality 75). */
#define ORVL_QFACTOR_DEFAULT -1

/* Colour resolution flags (ColorRes). Without a dither bit each pixel takes its nearest palette colour. */
#define ORVL_CRF_ORDEREDDITHER    0x1u
#define ORVL_CRF_FLOYDSTEINDITHER 0x2u
#define ORVL_CRF_OPTIMIZEDPALETTE 0x4u  /* palette from the picture (else fixed: B/W, VGA 16, 6x6x6 cube + greys) */
#define ORVL_CRF_USERPALETTE      0x8u  /* palette given by the caller */

/* Rotation flags. */
#define ORVL_ROTATE_RESIZE   0x1u  /* grow the canvas to hold the whole rotated picture */
#define ORVL_ROTATE_RESAMPLE 0x2u  /* bilinear instead of nearest for non-right angles */

/* Size flags (SizeBitmap). */
#define ORVL_SIZE_NORMAL   0
#define ORVL_SIZE_RESAMPLE 1

/* Combine operations. */
#define ORVL_COMBINE_COPY     0
#define ORVL_COMBINE_AND      1
#define ORVL_COMBINE_OR       2
#define ORVL_COMBINE_XOR      3
#define ORVL_COMBINE_ADD      4
#define ORVL_COMBINE_SUBTRACT 5
#define ORVL_COMBINE_AVERAGE  6
#define ORVL_COMBINE_MULTIPLY 7

/* Underlay placement. */
#define ORVL_UNDERLAY_TILE    0
#define ORVL_UNDERLAY_STRETCH 1

/* Channels for histograms and intensity remapping. */
#define ORVL_CHANNEL_MASTER 0
#define ORVL_CHANNEL_RED    1
#define ORVL_CHANNEL_GREEN  2
#define ORVL_CHANNEL_BLUE   3

/* Binary filter operations, emboss directions, colour separation spaces. */
#define ORVL_BINARY_ERODE  0
#define ORVL_BINARY_DILATE 1
#define ORVL_EMBOSS_N  0
#define ORVL_EMBOSS_NE 1
#define ORVL_EMBOSS_E  2
#define ORVL_EMBOSS_SE 3
#define ORVL_EMBOSS_S  4
#define ORVL_EMBOSS_SW 5
#define ORVL_EMBOSS_W  6
#define ORVL_EMBOSS_NW 7
#define ORVL_COLORSEP_RGB 0

/* A square convolution kernel for SpatialFilter: result = sum(k * p) / Divisor + Bias. */
#define ORVL_SPATIAL_MAX_DIM 7
typedef struct ORVLSPATIALFLT {
  int32_t Dim;        /* odd, 1..ORVL_SPATIAL_MAX_DIM */
  int32_t Divisor;    /* non-zero */
  int32_t Bias;
  int32_t Matrix[ORVL_SPATIAL_MAX_DIM * ORVL_SPATIAL_MAX_DIM];  /* Dim * Dim entries, row by row */
} ORVLSPATIALFLT;

/* Colours given to kernel calls are 0x00BBGGRR (as Windows COLORREF). */
typedef uint32_t ORVLCOLOR;
#define ORVL_RGB(r, g, b) ((ORVLCOLOR)(((uint32_t)(uint8_t)(r)) | ((uint32_t)(uint8_t)(g) << 8) | ((uint32_t)(uint8_t)(b) << 16)))

#ifdef __cplusplus
}
#endif

#endif /* ORVLEAD_TYPES_H */
