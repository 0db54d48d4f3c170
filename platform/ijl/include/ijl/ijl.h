// Public interface of the suite's JPEG codec: an IJL-style properties record with read and write modes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ijl {

// What a read or write call does.
enum Mode : int {
  kReadParams = 0,      // fill the file-side fields (size, channels, quality, thumbnail size) only
  kReadWhole = 2,       // decode the whole image
  kReadRegion = 6,      // decode the lines roi.top..roi.bottom (columns roi.left..roi.right)
  kWriteWhole = 8,      // encode the whole image
  kWriteRegion = 12,    // encode the lines roi.top..roi.bottom, appended to the output of earlier bands
  kReadHalf = 14,       // decode at 1/2 size (sizes rounded up)
  kReadQuarter = 16,    // decode at 1/4 size
  kReadEighth = 18,     // decode at 1/8 size
  kReadThumbnail = 20,  // decode the embedded thumbnail; thumbWidth/thumbHeight 0 when there is none
};

// Call results. kOk, kInterruptOk and kRoiOk are success; everything negative is a failure.
enum Result : int {
  kOk = 0,
  kInterruptOk = 1,
  kRoiOk = 2,
  kErrException = -1,
  kErrInvalidProperties = -2,     // a caller field is out of range or inconsistent
  kErrUnsupportedSubsampling = -3,
  kErrUnsupportedChannels = -4,
  kErrMemory = -5,
  kErrBadHuffmanTable = -6,
  kErrBadQuantTable = -7,
  kErrBufferTooSmall = -8,        // memory output or caller bitmap cannot hold the result
  kErrFileIo = -9,                // opening, writing, closing or renaming a file failed
  kErrInvalidFilename = -10,
  kErrEndOfData = -11,            // input ends before the image does
  kErrUnsupportedFormat = -12,    // e.g. 12-bit samples, arithmetic coding, lossless
  kErrNotJpeg = -13,
  kErrCorruptData = -14,          // entropy-coded data or a marker segment is malformed
  kErrImageTooLarge = -15,
  kErrBandOrder = -16,            // a band write that does not continue the previous one
};

inline bool succeeded(int result) { return result >= 0; }

// Colour of the caller's bitmap (dib*) or of the file (jpg*).
enum Color : int {
  kColorUnknown = 0,
  kColorGray = 1,
  kColorRgb = 2,    // bitmap bytes red, green, blue
  kColorBgr = 3,    // bitmap bytes blue, green, red
  kColorYCbCr = 4,  // file: three components, luminance and chrominance
  kColorCmyk = 5,   // file: Adobe four-component (CMYK or YCCK), always delivered as RGB/BGR
};

// Largest width or height accepted on either side; larger files are refused with kErrImageTooLarge.
constexpr int kMaxDimension = 65500;
// Largest bitmap the codec reads or writes, in bytes; keeps every size computation inside 32 bits.
constexpr uint32_t kMaxBitmapBytes = 0x7fffffffu;

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct CodecState;  // the codec's private working state

// The properties record. Fill it with init(), set fields, call read() or write() any number of times, then free().
struct Properties {
  // Bitmap side. dibHeight < 0 means the bitmap is bottom-up: the last delivered line comes first in memory.
  // Each line holds dibWidth * dibChannels bytes followed by dibPadBytes bytes that the codec never touches.
  uint8_t* dibBytes = nullptr;
  int dibWidth = 0;
  int dibHeight = 0;
  int dibChannels = 3;  // 3 for colour, 1 for grey
  int dibColor = kColorBgr;
  int dibPadBytes = 0;

  // File side: input from jpgFile (ANSI path) or, when it is null, from jpgBytes/jpgSizeBytes.
  // Output to jpgFile, or to the caller's jpgBytes buffer of jpgSizeBytes capacity (jpgSizeBytes then reports
  // the bytes written).
  const char* jpgFile = nullptr;
  uint8_t* jpgBytes = nullptr;
  uint32_t jpgSizeBytes = 0;
  int jpgWidth = 0;
  int jpgHeight = 0;
  int jpgChannels = 3;
  int jpgColor = kColorYCbCr;
  int jpgQuality = 75;       // encode: 0..100; after kReadParams: estimate from the luminance table (0 if none)
  bool jpgProgressive = false;  // reported by kReadParams

  // Region for kReadRegion and kWriteRegion, in full-image pixels, right and bottom exclusive.
  Rect roi;

  // Embedded thumbnail size found by kReadParams or kReadThumbnail; 0 x 0 when the file has none.
  int thumbWidth = 0;
  int thumbHeight = 0;

  // The EXIF orientation (IFD0 tag 274) found by any read: 1 upright, 2 to 8 the mirrored and turned forms;
  // 1 when the file has none. The codec never applies it; thumbnail makers do.
  int exifOrientation = 1;

  CodecState* state = nullptr;
};

int init(Properties* props);
int free(Properties* props);
int read(Properties* props, int mode);
int write(Properties* props, int mode);

// Ends the band write to props->jpgFile that kWriteRegion calls left unfinished: the partial file is removed and
// the old target stays as it was. kOk also when no band write to that path is in progress (a finished, failed
// or never started one); kErrInvalidProperties without jpgFile; kErrFileIo when the partial file cannot be
// removed.
int abandonWrite(Properties* props);

// Output size of a read mode for an image of the given size (rounding up, as the reduced decoders do).
int scaledDimension(int fullSize, int mode);

// C++ conveniences used by tests, tools and benchmarks.
struct Image {
  int width = 0;
  int height = 0;
  int channels = 0;
  std::vector<uint8_t> pixels;  // top-down, tightly packed, RGB or grey
};

// Decodes a memory JPEG with one of the read modes into a top-down RGB (channels 3) or grey (channels 1) image.
int decodeToImage(const uint8_t* data, size_t size, int mode, int channels, Image* out);
// Encodes a top-down packed RGB or grey image at the given quality.
int encodeImage(const Image& image, int quality, std::vector<uint8_t>* out);

}  // namespace ijl
