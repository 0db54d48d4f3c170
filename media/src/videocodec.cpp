// Decoding and recompressing video streams with the platform's codecs (ICDecompress, ICCompress), and the
// pixel conversions between the layouts the codecs accept.
#include "videocodec.h"
#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

namespace nxmedia {

namespace {

const WORD kHubBits = 24;
const int kCubeRed = 6, kCubeGreen = 7, kCubeBlue = 6;  // 252 colours, green finest as the eye wants
const DWORD kAudioInterleave = 5;
const DWORD kVideoOptionFlags = AVICOMPRESSF_VALID | AVICOMPRESSF_KEYFRAMES | AVICOMPRESSF_DATARATE;  // 14
const DWORD kAudioOptionFlags = AVICOMPRESSF_VALID;                                                  // 8

[[noreturn]] void Fail(avi::Errc code, const char* what) { throw avi::Error(code, what); }

bool IsUncompressed(uint32_t compression) { return compression == BI_RGB || compression == BI_BITFIELDS; }

uint32_t UpperFourCC(uint32_t fcc) {
  uint32_t out = 0;
  for (int i = 0; i < 4; ++i) out |= uint32_t(std::toupper(int((fcc >> (8 * i)) & 0xff))) << (8 * i);
  return out;
}

uint32_t ImageSize(const BITMAPINFOHEADER& h) {
  return DibStride(h.biWidth, h.biBitCount) * uint32_t(h.biHeight < 0 ? -h.biHeight : h.biHeight);
}

BITMAPINFOHEADER HubFormat(int32_t width, int32_t height) {
  BITMAPINFOHEADER h = {};
  h.biSize = sizeof(h);
  h.biWidth = width;
  h.biHeight = height < 0 ? -height : height;
  h.biPlanes = 1;
  h.biBitCount = kHubBits;
  h.biCompression = BI_RGB;
  h.biSizeImage = ImageSize(h);
  return h;
}

uint8_t Level(uint8_t value, int levels) { return uint8_t((value * (levels - 1) + 127) / 255); }

}  // namespace

uint32_t DibStride(int32_t width, int bits) { return ((uint32_t(width) * uint32_t(bits) + 31) / 32) * 4; }

std::vector<uint8_t> ToRgb555(const RgbPicture& picture) {
  const uint32_t in = DibStride(picture.width, 24), out = DibStride(picture.width, 16);
  std::vector<uint8_t> result(size_t(out) * picture.height);
  for (int32_t y = 0; y < picture.height; ++y) {
    const uint8_t* from = &picture.pixels[size_t(y) * in];
    uint8_t* to = &result[size_t(y) * out];
    for (int32_t x = 0; x < picture.width; ++x, from += 3, to += 2) {
      const uint16_t b = uint16_t(std::min(31, (from[0] + 4) >> 3));
      const uint16_t g = uint16_t(std::min(31, (from[1] + 4) >> 3));
      const uint16_t r = uint16_t(std::min(31, (from[2] + 4) >> 3));
      const uint16_t pixel = uint16_t(r << 10 | g << 5 | b);
      to[0] = uint8_t(pixel & 0xff);
      to[1] = uint8_t(pixel >> 8);
    }
  }
  return result;
}

std::vector<RGBQUAD> CubePalette() {
  std::vector<RGBQUAD> palette;
  for (int r = 0; r < kCubeRed; ++r)
    for (int g = 0; g < kCubeGreen; ++g)
      for (int b = 0; b < kCubeBlue; ++b) {
        RGBQUAD q = {};
        q.rgbRed = BYTE(r * 255 / (kCubeRed - 1));
        q.rgbGreen = BYTE(g * 255 / (kCubeGreen - 1));
        q.rgbBlue = BYTE(b * 255 / (kCubeBlue - 1));
        palette.push_back(q);
      }
  return palette;
}

std::vector<uint8_t> ToCubeIndices(const RgbPicture& picture) {
  const uint32_t in = DibStride(picture.width, 24), out = DibStride(picture.width, 8);
  std::vector<uint8_t> result(size_t(out) * picture.height);
  for (int32_t y = 0; y < picture.height; ++y) {
    const uint8_t* from = &picture.pixels[size_t(y) * in];
    uint8_t* to = &result[size_t(y) * out];
    for (int32_t x = 0; x < picture.width; ++x, from += 3)
      to[x] = uint8_t((Level(from[2], kCubeRed) * kCubeGreen + Level(from[1], kCubeGreen)) * kCubeBlue +
                      Level(from[0], kCubeBlue));
  }
  return result;
}

// ---------------------------------------------------------------------------------------------
// FrameDecoder

FrameDecoder::FrameDecoder(const avi::Stream& stream) : stream_(stream), input_(stream.format()) {
  if (input_.size() < sizeof(BITMAPINFOHEADER)) Fail(avi::Errc::kBadFormat, "video format record too short");
  BITMAPINFOHEADER* input = reinterpret_cast<BITMAPINFOHEADER*>(input_.data());
  if (input->biWidth <= 0 || input->biHeight == 0) Fail(avi::Errc::kBadFormat, "video frame has no size");
  output_ = HubFormat(input->biWidth, input->biHeight);
  picture_.width = output_.biWidth;
  picture_.height = output_.biHeight;
  picture_.pixels.assign(output_.biSizeImage, 0);
  if (IsUncompressed(input->biCompression)) {
    dc_ = CreateCompatibleDC(NULL);
    BITMAPINFO info = {};
    info.bmiHeader = output_;
    section_ = dc_ ? CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &sectionBits_, NULL, 0) : NULL;
    if (!section_) {
      if (dc_) DeleteDC(dc_);
      Fail(avi::Errc::kUnsupported, "no memory picture for converting frames");
    }
    return;
  }
  decoder_ = ICLocate(ICTYPE_VIDEO, stream.info().handler, input, &output_, ICMODE_DECOMPRESS);
  if (!decoder_) Fail(avi::Errc::kUnsupported, "no decompressor for the video stream");
  if (ICDecompressBegin(decoder_, input, &output_) != ICERR_OK) {
    ICClose(decoder_);
    Fail(avi::Errc::kUnsupported, "the decompressor refuses the video format");
  }
}

FrameDecoder::~FrameDecoder() {
  if (decoder_) {
    ICDecompressEnd(decoder_);
    ICClose(decoder_);
  }
  if (section_) DeleteObject(section_);
  if (dc_) DeleteDC(dc_);
}

void FrameDecoder::DecodeOne(int32_t frame, bool preroll) {
  std::vector<uint8_t> sample = stream_.ReadSamples(frame, 1);
  if (sample.empty()) return;  // an empty chunk repeats the previous frame
  BITMAPINFOHEADER* input = reinterpret_cast<BITMAPINFOHEADER*>(input_.data());
  if (decoder_) {
    input->biSizeImage = DWORD(sample.size());
    if (ICDecompress(decoder_, preroll ? ICDECOMPRESS_PREROLL : 0, input, sample.data(), &output_,
                     picture_.pixels.data()) != ICERR_OK)
      Fail(avi::Errc::kBadFormat, "the decompressor failed on a frame");
    return;
  }
  if (sample.size() < ImageSize(*input)) Fail(avi::Errc::kTruncated, "uncompressed frame shorter than its picture");
  const UINT rows = UINT(picture_.height);
  if (SetDIBits(dc_, section_, 0, rows, sample.data(), reinterpret_cast<BITMAPINFO*>(input_.data()),
                DIB_RGB_COLORS) != int(rows))
    Fail(avi::Errc::kBadFormat, "the frame's layout cannot be converted");
  GdiFlush();
  std::memcpy(picture_.pixels.data(), sectionBits_, picture_.pixels.size());
}

const RgbPicture& FrameDecoder::Decode(int32_t frame) {
  if (frame < stream_.start() || frame >= stream_.end()) Fail(avi::Errc::kBadRange, "no such frame");
  if (haveLast_ && frame == last_) return picture_;
  int32_t first = frame;
  if (decoder_) {
    const int32_t key = std::max(stream_.PreviousKeyFrame(frame), stream_.start());
    // Continue from the frame held when it lies between the key frame and the one asked for.
    first = haveLast_ && last_ >= key && last_ < frame ? last_ + 1 : key;
  }
  haveLast_ = false;
  for (int32_t n = first; n <= frame; ++n) DecodeOne(n, n < frame);
  last_ = frame;
  haveLast_ = true;
  return picture_;
}

// ---------------------------------------------------------------------------------------------
// Save options

StreamSaveOptions InitStreamOptions(const avi::Stream& stream, const AVICOMPRESSOPTIONS* given) {
  StreamSaveOptions result;
  std::memset(&result.options, 0, sizeof(result.options));
  AVICOMPRESSOPTIONS& o = result.options;
  o.fccType = stream.info().type;
  if (stream.isVideo() && given && given->fccHandler) {
    o.dwFlags = kVideoOptionFlags;
    o.fccHandler = given->fccHandler;
    o.dwKeyFrameEvery = given->dwKeyFrameEvery;
    o.dwQuality = given->dwQuality;
    o.dwBytesPerSecond = given->dwBytesPerSecond;
  } else if (stream.isAudio()) {
    o.dwFlags = kAudioOptionFlags;
    o.dwInterleaveEvery = kAudioInterleave;
    result.keptFormat = stream.format();
    o.cbFormat = DWORD(result.keptFormat.size());
  }
  return result;
}

bool ChangesVideo(const avi::Stream& stream, const AVICOMPRESSOPTIONS& options) {
  if (!stream.isVideo() || !options.fccHandler) return false;
  const avi::VideoFormat format = stream.videoFormat();
  const uint32_t wanted = UpperFourCC(options.fccHandler);
  if (wanted == UpperFourCC(comptypeDIB)) return !IsUncompressed(format.compression);
  // Asked for the compressor the stream already has: its frames are kept as they are, with no loss from
  // compressing them a second time (and without needing a compressor for a format this system only reads).
  return wanted != UpperFourCC(stream.info().handler) && wanted != UpperFourCC(format.compression);
}

namespace {

enum class InputLayout { kSource, kRgb24, kRgb555, kCube8 };

struct CompressorInput {
  InputLayout layout;
  std::vector<uint8_t> format;  // BITMAPINFOHEADER with its colour table
};

std::vector<uint8_t> FormatBytes(const BITMAPINFOHEADER& header, const std::vector<RGBQUAD>& colours) {
  std::vector<uint8_t> bytes(sizeof(header) + colours.size() * sizeof(RGBQUAD));
  std::memcpy(bytes.data(), &header, sizeof(header));
  if (!colours.empty()) std::memcpy(bytes.data() + sizeof(header), colours.data(), colours.size() * sizeof(RGBQUAD));
  return bytes;
}

std::vector<CompressorInput> InputCandidates(const avi::Stream& source, int32_t width, int32_t height) {
  std::vector<CompressorInput> candidates;
  if (IsUncompressed(source.videoFormat().compression)) candidates.push_back({InputLayout::kSource, source.format()});
  BITMAPINFOHEADER h = HubFormat(width, height);
  candidates.push_back({InputLayout::kRgb24, FormatBytes(h, {})});
  h.biBitCount = 16;
  h.biSizeImage = ImageSize(h);
  candidates.push_back({InputLayout::kRgb555, FormatBytes(h, {})});
  const std::vector<RGBQUAD> palette = CubePalette();
  h.biBitCount = 8;
  h.biSizeImage = ImageSize(h);
  h.biClrUsed = h.biClrImportant = DWORD(palette.size());
  candidates.push_back({InputLayout::kCube8, FormatBytes(h, palette)});
  return candidates;
}

// Owns an open compressor.
struct Compressor {
  HIC handle = NULL;
  bool begun = false;
  ~Compressor() {
    if (begun) ICCompressEnd(handle);
    if (handle) ICClose(handle);
  }
};

avi::Stream DecompressAll(const avi::Stream& source) {
  FrameDecoder decoder(source);
  avi::StreamInfo info = source.info();
  info.handler = comptypeDIB;
  info.suggestedBufferSize = decoder.OutputFormat().biSizeImage;
  avi::Stream result(info, FormatBytes(decoder.OutputFormat(), {}));
  for (int32_t n = source.start(); n < source.end(); ++n) result.Append(decoder.Decode(n).pixels, true);
  return result;
}

}  // namespace

avi::Stream RecompressVideo(const avi::Stream& source, const AVICOMPRESSOPTIONS& options) {
  if (UpperFourCC(options.fccHandler) == UpperFourCC(comptypeDIB)) return DecompressAll(source);

  Compressor compressor;
  compressor.handle = ICOpen(ICTYPE_VIDEO, options.fccHandler, ICMODE_COMPRESS);
  if (!compressor.handle) Fail(avi::Errc::kUnsupported, "the video compressor cannot be opened");
  ICINFO about = {};
  about.dwSize = sizeof(about);
  if (!ICGetInfo(compressor.handle, &about, sizeof(about))) about.dwFlags = 0;

  FrameDecoder decoder(source);
  const BITMAPINFOHEADER& hub = decoder.OutputFormat();
  std::vector<CompressorInput> candidates = InputCandidates(source, hub.biWidth, hub.biHeight);
  auto accepted = std::find_if(candidates.begin(), candidates.end(), [&](CompressorInput& c) {
    return ICCompressQuery(compressor.handle, c.format.data(), NULL) == ICERR_OK;
  });
  if (accepted == candidates.end()) Fail(avi::Errc::kUnsupported, "the compressor accepts none of our layouts");
  std::vector<uint8_t>& inputFormat = accepted->format;
  BITMAPINFOHEADER* input = reinterpret_cast<BITMAPINFOHEADER*>(inputFormat.data());

  const LRESULT outputSize = ICCompressGetFormatSize(compressor.handle, input);
  if (outputSize < LRESULT(sizeof(BITMAPINFOHEADER))) Fail(avi::Errc::kUnsupported, "the compressor gives no format");
  std::vector<uint8_t> outputFormat(size_t(outputSize), 0);
  BITMAPINFOHEADER* output = reinterpret_cast<BITMAPINFOHEADER*>(outputFormat.data());
  if (ICCompressGetFormat(compressor.handle, input, output) != ICERR_OK)
    Fail(avi::Errc::kUnsupported, "the compressor gives no format");
  const DWORD maxFrame = DWORD(ICCompressGetSize(compressor.handle, input, output));
  if (ICCompressBegin(compressor.handle, input, output) != ICERR_OK)
    Fail(avi::Errc::kUnsupported, "the compressor refuses to start");
  compressor.begun = true;

  DWORD quality = options.dwQuality;
  if (quality == DWORD(ICQUALITY_DEFAULT)) quality = DWORD(ICGetDefaultQuality(compressor.handle));
  const avi::StreamInfo& sourceInfo = source.info();
  // The data rate becomes a size to aim at per frame; compressors that cannot aim ignore it.
  const DWORD frameSize = sourceInfo.rate ? DWORD(uint64_t(options.dwBytesPerSecond) * sourceInfo.scale /
                                                  sourceInfo.rate)
                                          : 0;
  const bool temporal = (about.dwFlags & VIDCF_TEMPORAL) != 0;

  avi::StreamInfo info = sourceInfo;
  info.handler = about.fccHandler ? about.fccHandler : options.fccHandler;
  info.quality = LONG(quality);
  avi::Stream result(info, outputFormat);

  std::vector<uint8_t> pixels, previous, compressed(std::max<DWORD>(maxFrame, input->biSizeImage) + 1024);
  int32_t lastKey = source.start();
  uint32_t largest = 0;
  for (int32_t n = source.start(); n < source.end(); ++n) {
    if (accepted->layout == InputLayout::kSource) {
      pixels = source.ReadSamples(n, 1);
      if (pixels.empty()) pixels = previous;  // an empty chunk repeats the frame before
    } else {
      const RgbPicture& picture = decoder.Decode(n);
      if (accepted->layout == InputLayout::kRgb24) pixels = picture.pixels;
      else if (accepted->layout == InputLayout::kRgb555) pixels = ToRgb555(picture);
      else pixels = ToCubeIndices(picture);
    }
    if (pixels.size() < ImageSize(*input)) Fail(avi::Errc::kTruncated, "frame shorter than its picture");
    const bool forceKey = n == source.start() || previous.empty() ||
                          (options.dwKeyFrameEvery && n - lastKey >= LONG(options.dwKeyFrameEvery));
    BITMAPINFOHEADER frameFormat = *output;
    frameFormat.biSizeImage = DWORD(compressed.size());
    DWORD chunkId = 0, aviFlags = 0;
    input->biSizeImage = DWORD(pixels.size());
    if (ICCompress(compressor.handle, forceKey ? ICCOMPRESS_KEYFRAME : 0, &frameFormat, compressed.data(), input,
                   pixels.data(), &chunkId, &aviFlags, n - source.start(), frameSize, quality,
                   forceKey ? NULL : input, forceKey ? NULL : previous.data()) != ICERR_OK)
      Fail(avi::Errc::kUnsupported, "the compressor failed on a frame");
    if (frameFormat.biSizeImage > compressed.size()) Fail(avi::Errc::kTooLarge, "the compressor overran its frame");
    const bool key = forceKey || !temporal || (aviFlags & AVIIF_KEYFRAME);
    if (key) lastKey = n;
    largest = std::max<uint32_t>(largest, frameFormat.biSizeImage);
    result.Append(std::vector<uint8_t>(compressed.begin(), compressed.begin() + frameFormat.biSizeImage), key);
    previous.swap(pixels);
  }
  result.mutableInfo().suggestedBufferSize = largest;
  return result;
}

}  // namespace nxmedia
