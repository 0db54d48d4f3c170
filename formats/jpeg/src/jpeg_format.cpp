// The JPEG format module: opening, band and whole-image reading and writing, and thumbnails, over platform/ijl.
#include "jpeg_format.h"
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <new>
#include <ijl/ijl.h>
#include <imagio/imagebuf.h>
#include "jpeg_rules.h"

namespace nxjpeg {

namespace {

using nxformat::Status;

const uint32_t kJpegType = ImageTypeCode("JPEG");
const uint16_t kBitsPerChannel = 8;
const uint16_t kGreyColorModel = IMGCOLOR_PALETTE;  // an 8-bit, one-channel file by the bits rule
const int kRgbChannels = 3;
// The embedded thumbnail is decoded into a 256 x 256 block; larger thumbnails are not used.
const int kThumbSide = 256;
const size_t kThumbLineBytes = kThumbSide * kRgbChannels;
// Opening reads this much first: the headers and an EXIF thumbnail (at most one 64 KB segment) fit.
const size_t kHeadBytes = 128u << 10;
// Opened files up to this size stay in memory until closed (the Gallery opens a file and decodes its thumbnail
// at once); larger ones are read again by path for each decode rather than held.
const size_t kKeptFileLimit = 64u << 20;

const nxformat::TypeRow kRows[] = {
    {kJpegType, {24, 8}, IMGCOLOR_GRAY | IMGCOLOR_TRUECOLOR, IMGCOMP_JPEG, ".jpg;*.jpeg;*.jpe", "JPG"},
};
const nxformat::TypeTable kTable = {kRows, sizeof(kRows) / sizeof(kRows[0])};

// One codec call sequence: the properties record is initialised here and freed on every path.
class CodecCall {
 public:
  CodecCall() : m_init(ijl::init(&props)) {}
  ~CodecCall() { ijl::free(&props); }
  CodecCall(const CodecCall&) = delete;
  CodecCall& operator=(const CodecCall&) = delete;
  int Read(int mode) { return m_init == ijl::kOk ? ijl::read(&props, mode) : m_init; }
  int Write(int mode) { return m_init == ijl::kOk ? ijl::write(&props, mode) : m_init; }
  ijl::Properties props;

 private:
  int m_init;
};

// The bitmap side of a codec call from a caller's descriptor, for `lines` lines starting at the buffer's top
// line. Buffers with an alpha byte, or without colour bytes, are not something this module reads or writes.
tagIMGFILERR DescribeBitmap(const tagIMAGEBUFDESC& desc, uint32_t lines, ijl::Properties* p) {
  if (desc.model != COLORMODEL_RGB || desc.opacity != OPACITY_OPAQUE || !desc.pixels) return IMGFILERR_UNSUPPORTED;
  const uint64_t used = static_cast<uint64_t>(desc.width) * kRgbChannels;
  if (desc.width == 0 || desc.width > INT32_MAX || lines == 0 || lines > desc.height || used > desc.bytesPerLine ||
      desc.bytesPerLine > INT32_MAX) {
    return IMGFILERR_FAILED;
  }
  p->dibWidth = static_cast<int>(desc.width);
  p->dibChannels = kRgbChannels;
  p->dibColor = desc.order == COMPONENTORDER_REVERSE ? ijl::kColorBgr : ijl::kColorRgb;
  p->dibPadBytes = static_cast<int>(desc.bytesPerLine - used);
  p->dibBytes = desc.pixels;
  p->dibHeight = static_cast<int>(lines);
  if (desc.upsideDown) {
    // The top line is the buffer's last line in memory, also when fewer lines than the buffer holds are moved.
    p->dibBytes = desc.pixels + static_cast<size_t>(desc.bytesPerLine) * (desc.height - lines);
    p->dibHeight = -p->dibHeight;
  }
  return IMGFILERR_OK;
}

// Reads at most limit bytes from the start of the file at path; *length receives the file's whole length.
tagIMGFILERR LoadFile(const std::string& path, size_t limit, std::vector<uint8_t>* bytes, size_t* length) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return errno == ENOENT ? IMGFILERR_NOFILE : IMGFILERR_OPEN;
  tagIMGFILERR result = IMGFILERR_OK;
  long whole = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) whole = std::ftell(f);
  if (whole < 0 || std::fseek(f, 0, SEEK_SET) != 0) {
    result = IMGFILERR_READ;
  } else {
    *length = static_cast<size_t>(whole);
    try {
      bytes->resize(std::min(*length, limit));
    } catch (const std::bad_alloc&) {
      result = IMGFILERR_NOMEMORY;
    }
    if (result == IMGFILERR_OK && !bytes->empty() && std::fread(bytes->data(), 1, bytes->size(), f) != bytes->size()) {
      result = IMGFILERR_READ;
    }
  }
  std::fclose(f);
  return result;
}

}  // namespace

NXJPEGFormat::NXJPEGFormat()
    : m_info(), m_thumbWidth(0), m_thumbHeight(0), m_orientation(1), m_state(FileState::kNone), m_bandWriting(false) {}

// A released instance leaves no partial file behind.
NXJPEGFormat::~NXJPEGFormat() { AbandonBandWrite(); }

tagIMGFILERR NXJPEGFormat::AbandonBandWrite() {
  if (!m_bandWriting) return IMGFILERR_OK;
  m_bandWriting = false;
  CodecCall codec;
  codec.props.jpgFile = m_path.c_str();
  ijl::abandonWrite(&codec.props);
  return IMGFILERR_WRITE;
}

const nxformat::TypeTable& NXJPEGFormat::Types() { return kTable; }

STDMETHODIMP NXJPEGFormat::CreateFile(const char* name, ULONG type, tagIMGFILEINFO* info) {
  CloseFile();
  if (type != kJpegType) return Status(IMGFILERR_UNSUPPORTED);
  if (!name || !info) return Status(IMGFILERR_FAILED);
  m_info = *info;
  m_path = name;
  m_state = FileState::kCreated;
  return Status(IMGFILERR_OK);
}

tagIMGFILERR NXJPEGFormat::ReadHeaders(const std::vector<uint8_t>& file, tagIMGFILEINFO* info, bool* hasThumbnail) {
  CodecCall codec;
  codec.props.jpgBytes = const_cast<uint8_t*>(file.data());
  codec.props.jpgSizeBytes = static_cast<uint32_t>(file.size());
  tagIMGFILERR result = MapCodecResult(codec.Read(ijl::kReadParams));
  if (result != IMGFILERR_OK) return result;
  const ijl::Properties& p = codec.props;
  info->size = kImgFileInfoSize;
  info->width = static_cast<uint32_t>(p.jpgWidth);
  info->height = static_cast<uint32_t>(p.jpgHeight);
  info->hres = 0;
  info->vres = 0;
  info->bits = static_cast<uint16_t>(p.jpgChannels * kBitsPerChannel);
  info->colormodel = ColorModelForBits(info->bits);
  info->compression = IMGCOMP_JPEG;
  info->quality = static_cast<uint16_t>(p.jpgQuality);
  *hasThumbnail = p.thumbWidth > 0 && p.thumbHeight > 0;
  m_orientation = p.exifOrientation;
  return IMGFILERR_OK;
}

STDMETHODIMP NXJPEGFormat::OpenFile(const char* name, ULONG* type, tagIMGFILEINFO* info) {
  CloseFile();
  if (!name || !info) return Status(IMGFILERR_FAILED);
  // The headers and a camera's thumbnail lie in the file's first bytes: a file whose embedded thumbnail is
  // found there is not read whole (the picture's decodes read it by path), which is what makes a folder of
  // camera photos open quickly. Any other file is read whole and kept, as before.
  std::vector<uint8_t> file;
  size_t length = 0;
  tagIMGFILERR result = LoadFile(name, kHeadBytes, &file, &length);
  if (result != IMGFILERR_OK) return Status(result);
  if (file.empty()) return Status(IMGFILERR_UNSUPPORTED);
  bool hasThumbnail = false;  // the headers name an embedded thumbnail
  result = ReadHeaders(file, info, &hasThumbnail);
  std::vector<uint8_t>().swap(m_thumb);
  m_thumbWidth = m_thumbHeight = 0;
  if (result == IMGFILERR_OK && hasThumbnail) LoadEmbeddedThumbnail(file);
  if (file.size() < length && !HasEmbeddedThumbnail()) {
    result = LoadFile(name, SIZE_MAX, &file, &length);
    if (result == IMGFILERR_OK) result = ReadHeaders(file, info, &hasThumbnail);
    if (result == IMGFILERR_OK && hasThumbnail) LoadEmbeddedThumbnail(file);
  }
  if (result != IMGFILERR_OK) return Status(result);
  info->filesize = static_cast<uint32_t>(length);
  if (type) *type = kJpegType;
  m_info = *info;
  m_path = name;
  m_state = FileState::kOpened;
  if (file.size() == length && length <= kKeptFileLimit) m_file.swap(file);
  return Status(IMGFILERR_OK);
}

void NXJPEGFormat::SetSource(ijl::Properties* p) const {
  if (m_file.empty()) {
    p->jpgFile = m_path.c_str();
  } else {
    p->jpgBytes = const_cast<uint8_t*>(m_file.data());
    p->jpgSizeBytes = static_cast<uint32_t>(m_file.size());
  }
}

void NXJPEGFormat::LoadEmbeddedThumbnail(const std::vector<uint8_t>& file) {
  try {
    m_thumb.assign(kThumbLineBytes * kThumbSide, 0);
  } catch (const std::bad_alloc&) {
    return;  // no thumbnail: the reduced decode serves instead
  }
  CodecCall codec;
  codec.props.jpgBytes = const_cast<uint8_t*>(file.data());
  codec.props.jpgSizeBytes = static_cast<uint32_t>(file.size());
  codec.props.dibBytes = m_thumb.data();
  codec.props.dibWidth = kThumbSide;
  codec.props.dibHeight = -kThumbSide;
  codec.props.dibChannels = kRgbChannels;
  codec.props.dibColor = ijl::kColorBgr;
  if (ijl::succeeded(codec.Read(ijl::kReadThumbnail)) && codec.props.thumbWidth > 0 && codec.props.thumbHeight > 0) {
    m_thumbWidth = static_cast<uint32_t>(codec.props.thumbWidth);
    m_thumbHeight = static_cast<uint32_t>(codec.props.thumbHeight);
  } else {
    std::vector<uint8_t>().swap(m_thumb);
  }
}

STDMETHODIMP NXJPEGFormat::CloseFile() {
  AbandonBandWrite();
  std::vector<uint8_t>().swap(m_file);
  m_state = FileState::kNone;
  return Status(IMGFILERR_OK);
}

STDMETHODIMP NXJPEGFormat::StartReadBand(tagIMAGEBUFDESC*) { return Status(IMGFILERR_OK); }
STDMETHODIMP NXJPEGFormat::EndReadBand() { return Status(IMGFILERR_OK); }
STDMETHODIMP NXJPEGFormat::StartWriteBand(tagIMAGEBUFDESC*) { return Status(IMGFILERR_OK); }
// Ending before the last line was written gives up the file: nothing replaces the old one.
STDMETHODIMP NXJPEGFormat::EndWriteBand() { return Status(AbandonBandWrite()); }

STDMETHODIMP NXJPEGFormat::ReadBand(tagIMAGEBUFDESC* imgBuffer, ULONG startLine, ULONG* numLines) {
  if (numLines) *numLines = 0;
  if (m_state != FileState::kOpened) return Status(IMGFILERR_NOTOPEN);
  if (!imgBuffer) return Status(IMGFILERR_FAILED);
  if (startLine >= m_info.height) return Status(IMGFILERR_FAILED);
  const bool region = imgBuffer->height < m_info.height;
  const uint32_t remaining = m_info.height - startLine;
  const uint32_t lines = region ? (imgBuffer->height < remaining ? imgBuffer->height : remaining) : m_info.height;
  CodecCall codec;
  tagIMGFILERR result = DescribeBitmap(*imgBuffer, lines, &codec.props);
  if (result != IMGFILERR_OK) return Status(result);
  SetSource(&codec.props);
  if (m_info.colormodel == kGreyColorModel) {
    codec.props.jpgChannels = 1;
    codec.props.jpgColor = ijl::kColorGray;
  }
  int mode = ijl::kReadWhole;
  if (region) {
    codec.props.roi.left = 0;
    codec.props.roi.top = static_cast<int>(startLine);
    codec.props.roi.right = static_cast<int>(imgBuffer->width);
    codec.props.roi.bottom = static_cast<int>(startLine + lines);
    mode = ijl::kReadRegion;
  }
  result = MapCodecResult(codec.Read(mode));
  if (result == IMGFILERR_OK && numLines) *numLines = lines;
  return Status(result);
}

STDMETHODIMP NXJPEGFormat::WriteBand(tagIMAGEBUFDESC* imgBuffer, ULONG startLine, ULONG* numLines) {
  if (m_state != FileState::kCreated) return Status(IMGFILERR_NOTOPEN);
  if (!imgBuffer) return Status(IMGFILERR_FAILED);
  if (startLine >= m_info.height) return Status(IMGFILERR_FAILED);
  const bool region = imgBuffer->height < m_info.height;
  const uint32_t remaining = m_info.height - startLine;
  const uint32_t lines = region ? (imgBuffer->height < remaining ? imgBuffer->height : remaining) : m_info.height;
  CodecCall codec;
  tagIMGFILERR result = DescribeBitmap(*imgBuffer, lines, &codec.props);
  if (result != IMGFILERR_OK) return Status(result);
  ijl::Properties& p = codec.props;
  p.jpgFile = m_path.c_str();
  p.jpgWidth = static_cast<int>(m_info.width);
  p.jpgHeight = static_cast<int>(m_info.height);
  p.jpgQuality = m_info.quality;
  p.jpgChannels = m_info.bits / kBitsPerChannel;
  p.jpgColor = p.jpgChannels > 1 ? ijl::kColorYCbCr : ijl::kColorGray;
  int mode = ijl::kWriteWhole;
  if (region) {
    p.roi.left = 0;
    p.roi.top = static_cast<int>(startLine);
    p.roi.right = static_cast<int>(imgBuffer->width);
    p.roi.bottom = static_cast<int>(startLine + lines);
    mode = ijl::kWriteRegion;
  }
  if (region) m_bandWriting = true;
  result = MapCodecResult(codec.Write(mode));
  // The codec finishes and renames the file with the band holding the last line.
  if (region && result == IMGFILERR_OK && startLine + lines == m_info.height) m_bandWriting = false;
  if (numLines) *numLines = result == IMGFILERR_OK ? lines : 0;
  return Status(result);
}

STDMETHODIMP NXJPEGFormat::ReadToDIB(NXHGLOBAL* hDIB) {
  if (!hDIB) return Status(IMGFILERR_FAILED);
  *hDIB = 0;
  if (m_state != FileState::kOpened) return Status(IMGFILERR_NOTOPEN);
  HGLOBAL dib = nullptr;
  tagIMGFILERR result = nxformat::NewPackedDib(m_info.width, m_info.height, &dib);
  if (result != IMGFILERR_OK) return Status(result);
  {
    nxformat::LockedGlobal lock(dib);
    tagIMAGEBUFDESC desc;
    SetImageBuffer(&desc, lock.Bytes() + nxformat::kDibHeaderSize, m_info.width, m_info.height,
                   nxformat::PackedLineLength(m_info.width), 1, COLORMODEL_RGB, COMPONENTORDER_REVERSE,
                   OPACITY_OPAQUE);
    CodecCall codec;
    result = lock.Bytes() ? DescribeBitmap(desc, m_info.height, &codec.props) : IMGFILERR_NOMEMORY;
    SetSource(&codec.props);
    if (result == IMGFILERR_OK) result = MapCodecResult(codec.Read(ijl::kReadWhole));
  }
  if (result != IMGFILERR_OK) {
    GlobalFree(dib);
    return Status(result);
  }
  *hDIB = reinterpret_cast<NXHGLOBAL>(dib);
  return Status(IMGFILERR_OK);
}

STDMETHODIMP NXJPEGFormat::WriteDIB(NXHGLOBAL hDIB) {
  if (m_state != FileState::kCreated) return Status(IMGFILERR_NOTOPEN);
  nxformat::LockedGlobal lock(reinterpret_cast<HGLOBAL>(hDIB));
  const BITMAPINFOHEADER* header = nullptr;
  const uint8_t* pixels = nullptr;
  tagIMGFILERR result = nxformat::CheckPacked24(lock.Bytes(), lock.Size(), &header, &pixels);
  if (result != IMGFILERR_OK) return Status(result);
  const uint32_t width = static_cast<uint32_t>(header->biWidth);
  const uint32_t height = static_cast<uint32_t>(header->biHeight < 0 ? -header->biHeight : header->biHeight);
  tagIMAGEBUFDESC desc;
  SetImageBuffer(&desc, const_cast<uint8_t*>(pixels), width, height, nxformat::PackedLineLength(width),
                 header->biHeight >= 0, COLORMODEL_RGB, COMPONENTORDER_REVERSE, OPACITY_OPAQUE);
  m_info.bits = kRgbChannels * kBitsPerChannel;
  m_info.colormodel = IMGCOLOR_TRUECOLOR;
  CodecCall codec;
  ijl::Properties& p = codec.props;
  result = DescribeBitmap(desc, height, &p);
  if (result != IMGFILERR_OK) return Status(result);
  p.jpgFile = m_path.c_str();
  p.jpgWidth = static_cast<int>(m_info.width);
  p.jpgHeight = static_cast<int>(m_info.height);
  p.jpgQuality = m_info.quality;
  p.jpgChannels = kRgbChannels;
  p.jpgColor = ijl::kColorYCbCr;
  return Status(MapCodecResult(codec.Write(ijl::kWriteWhole)));
}

STDMETHODIMP NXJPEGFormat::GetThumbnailSize(unsigned short* width, unsigned short* height) {
  if (m_state != FileState::kOpened) return Status(IMGFILERR_NOTOPEN);
  if (!width || !height) return Status(IMGFILERR_FAILED);
  // The stored picture is fitted into the box as it will stand: a turned one into the box turned with it.
  const bool turned = OrientationSwapsSides(m_orientation);
  uint32_t w = m_thumbWidth, h = m_thumbHeight;
  if (!HasEmbeddedThumbnail()) {
    const ThumbnailPlan plan = PlanThumbnail(m_info.width, m_info.height, turned ? *height : *width,
                                             turned ? *width : *height, false);
    w = plan.width;
    h = plan.height;
  }
  if (w > UINT16_MAX || h > UINT16_MAX) return Status(IMGFILERR_UNSUPPORTED);
  *width = static_cast<unsigned short>(turned ? h : w);
  *height = static_cast<unsigned short>(turned ? w : h);
  return Status(IMGFILERR_OK);
}

tagIMGFILERR NXJPEGFormat::ThumbnailPixels(uint32_t boxW, uint32_t boxH, std::unique_ptr<uint8_t[]>* decoded,
                                           ThumbnailBlock* block) const {
  const bool turned = OrientationSwapsSides(m_orientation);
  tagIMGFILERR result = StoredThumbnailPixels(turned ? boxH : boxW, turned ? boxW : boxH, decoded, block);
  if (result != IMGFILERR_OK || m_orientation == 1) return result;
  const uint32_t uprightW = turned ? block->height : block->width, uprightH = turned ? block->width : block->height;
  const size_t lineBytes = size_t(uprightW) * kRgbChannels;
  std::unique_ptr<uint8_t[]> upright(new (std::nothrow) uint8_t[lineBytes * uprightH + 1]);
  if (!upright) return IMGFILERR_NOMEMORY;
  OrientPixels(block->pixels, block->width, block->height, block->lineBytes, true, m_orientation, upright.get());
  decoded->swap(upright);
  *block = {decoded->get(), uprightW, uprightH, lineBytes};
  return IMGFILERR_OK;
}

tagIMGFILERR NXJPEGFormat::StoredThumbnailPixels(uint32_t boxW, uint32_t boxH, std::unique_ptr<uint8_t[]>* decoded,
                                                 ThumbnailBlock* block) const {
  if (HasEmbeddedThumbnail()) {
    *block = {m_thumb.data(), m_thumbWidth, m_thumbHeight, kThumbLineBytes};
    return IMGFILERR_OK;
  }
  ThumbnailPlan plan = PlanThumbnail(m_info.width, m_info.height, boxW, boxH, false);
  if (plan.width > UINT16_MAX || plan.height > UINT16_MAX) return IMGFILERR_UNSUPPORTED;
  const size_t lineBytes = size_t(plan.width) * kRgbChannels;
  const uint64_t blockBytes = uint64_t(lineBytes) * plan.height;
  if (blockBytes > ijl::kMaxBitmapBytes) return IMGFILERR_NOMEMORY;
  // Not zeroed: the decode writes every byte or fails.
  decoded->reset(new (std::nothrow) uint8_t[static_cast<size_t>(blockBytes ? blockBytes : 1)]);
  if (!*decoded) return IMGFILERR_NOMEMORY;
  CodecCall codec;
  ijl::Properties& p = codec.props;
  SetSource(&p);
  p.dibBytes = decoded->get();
  p.dibWidth = static_cast<int>(plan.width);
  p.dibHeight = -static_cast<int>(plan.height);
  p.dibChannels = kRgbChannels;
  p.dibColor = ijl::kColorBgr;
  if (m_info.colormodel == kGreyColorModel) {
    p.jpgChannels = 1;
    p.jpgColor = ijl::kColorGray;
  }
  tagIMGFILERR result = MapCodecResult(codec.Read(plan.mode));
  if (result != IMGFILERR_OK) return result;
  *block = {decoded->get(), plan.width, plan.height, lineBytes};
  return IMGFILERR_OK;
}

STDMETHODIMP NXJPEGFormat::GetPlatformThumbnail(NXHGLOBAL* thumbnail, unsigned short* width,
                                                unsigned short* height, LONG) {
  if (!thumbnail) return Status(IMGFILERR_FAILED);
  *thumbnail = 0;
  if (m_state != FileState::kOpened) return Status(IMGFILERR_NOTOPEN);
  if (!width || !height) return Status(IMGFILERR_FAILED);
  std::unique_ptr<uint8_t[]> decoded;
  ThumbnailBlock block;
  tagIMGFILERR result = ThumbnailPixels(*width, *height, &decoded, &block);
  if (result != IMGFILERR_OK) return Status(result);
  *width = static_cast<unsigned short>(block.width);
  *height = static_cast<unsigned short>(block.height);
  HGLOBAL dib = nullptr;
  result = nxformat::PackedDibFromBlock(block.pixels, block.lineBytes, block.width, block.height, &dib);
  if (result != IMGFILERR_OK) return Status(result);
  *thumbnail = reinterpret_cast<NXHGLOBAL>(dib);
  return Status(IMGFILERR_OK);
}

STDMETHODIMP NXJPEGFormat::GetThumbnail(tagIMAGEBUFDESC* thumb, LONG) {
  if (!thumb) return Status(IMGFILERR_FAILED);
  if (m_state != FileState::kOpened) return Status(IMGFILERR_NOTOPEN);
  std::unique_ptr<uint8_t[]> decoded;
  ThumbnailBlock block;
  tagIMGFILERR result = ThumbnailPixels(nxformat::ThumbnailBoxSide(thumb->width),
                                        nxformat::ThumbnailBoxSide(thumb->height), &decoded, &block);
  if (result != IMGFILERR_OK) return Status(result);
  return Status(nxformat::CopyBlockToDescriptor(block.pixels, block.width, block.height, block.lineBytes, thumb));
}

}  // namespace nxjpeg
