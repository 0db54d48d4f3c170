// Video frames between our container's streams and the platform's video codecs: decoding a stream's frames
// to 24-bit pictures in order, the pixel layouts a compressor may ask for, and recompressing a whole stream.
// Used by cVideoObject (frames, thumbnails) and cAVIEditFile::SaveAs; failures throw avi::Error.
#pragma once
#include <windows.h>
#include <vfw.h>
#include <avi/avi.h>
#include <cstdint>
#include <vector>

namespace nxmedia {

// Bytes of one row of a bottom-up DIB, padded to 32 bits.
uint32_t DibStride(int32_t width, int bits);

// A 24-bit bottom-up picture: rows of blue, green, red triples, each row padded to DibStride(width, 24).
struct RgbPicture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;
};

// The same picture as 16-bit 5-5-5 pixels (bottom-up, padded rows), each channel rounded to 5 bits.
std::vector<uint8_t> ToRgb555(const RgbPicture& picture);
// The fixed colour cube of the 8-bit form: 6 levels of red, 7 of green, 6 of blue.
std::vector<RGBQUAD> CubePalette();
// The same picture as indices into CubePalette(), each channel taken to its nearest level.
std::vector<uint8_t> ToCubeIndices(const RgbPicture& picture);

// Decodes the frames of one video stream to 24-bit pictures: compressed frames through the platform's
// decompressor (from the key frame before, continuing in place when frames are read in order),
// uncompressed ones through GDI's conversion. Throws avi::Error(kUnsupported) when nothing can decode it.
class FrameDecoder {
 public:
  explicit FrameDecoder(const avi::Stream& stream);
  ~FrameDecoder();
  FrameDecoder(const FrameDecoder&) = delete;
  FrameDecoder& operator=(const FrameDecoder&) = delete;

  const BITMAPINFOHEADER& OutputFormat() const { return output_; }
  // Frame `frame` (a position in the stream); the picture stays valid until the next call.
  const RgbPicture& Decode(int32_t frame);

 private:
  void DecodeOne(int32_t frame, bool preroll);

  const avi::Stream& stream_;
  std::vector<uint8_t> input_;  // the stream's format record (with its colour table), biSizeImage per frame
  BITMAPINFOHEADER output_;
  HIC decoder_ = NULL;
  HDC dc_ = NULL;          // for uncompressed frames: GDI converts them into the section below
  HBITMAP section_ = NULL;
  void* sectionBits_ = nullptr;
  RgbPicture picture_;
  int32_t last_ = -1;      // the frame the picture holds; -1 before the first
  bool haveLast_ = false;
};

// The options one stream is saved with, prepared from those given to SaveAs: a video stream with a
// compressor takes over the compressor, key-frame rate, quality and data rate (flags valid, key frames,
// data rate); a sound stream keeps its own format (flags valid, interleave factor 5); anything else
// only the stream type. The format is held here, not through the record's pointer.
struct StreamSaveOptions {
  AVICOMPRESSOPTIONS options;
  std::vector<uint8_t> keptFormat;
};
StreamSaveOptions InitStreamOptions(const avi::Stream& stream, const AVICOMPRESSOPTIONS* given);

// Whether these options ask for the video to be written with another compressor (or uncompressed).
bool ChangesVideo(const avi::Stream& stream, const AVICOMPRESSOPTIONS& options);

// A new stream with every frame of `source` compressed by the compressor the options name (or, for
// comptypeDIB, decompressed to 24 bits), honouring key-frame rate, quality and data rate. The picture
// layout handed to the compressor is the first it accepts of: the source's own uncompressed layout,
// 24 bits, 16 bits (5-5-5), 8 bits over CubePalette().
avi::Stream RecompressVideo(const avi::Stream& source, const AVICOMPRESSOPTIONS& options);

}  // namespace nxmedia
