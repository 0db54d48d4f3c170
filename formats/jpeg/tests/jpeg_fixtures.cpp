// Test pictures made with our own encoder.
#include "jpeg_fixtures.h"
#include <cstdio>
#include <stdexcept>
#include <windows.h>
#include <ijl/ijl.h>

namespace fixtures {

namespace {

const uint8_t kMarker = 0xFF, kSoi = 0xD8, kSos = 0xDA, kApp1 = 0xE1, kApp15 = 0xEF;

void Put16(std::vector<uint8_t>& out, uint32_t v) {  // little-endian, as in an "II" TIFF
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutEntry(std::vector<uint8_t>& out, uint16_t tag, uint16_t type, uint32_t value) {
  const uint32_t kOneValue = 1;
  Put16(out, tag);
  Put16(out, type);
  Put32(out, kOneValue);
  Put32(out, value);
}

std::vector<uint8_t> Encode(const ijl::Image& image, int quality) {
  std::vector<uint8_t> out;
  if (ijl::encodeImage(image, quality, &out) != ijl::kOk) throw std::runtime_error("encoding a fixture failed");
  return out;
}

}  // namespace

std::vector<uint8_t> Jpeg(int width, int height, int quality, int channels) {
  ijl::Image image;
  image.width = width;
  image.height = height;
  image.channels = channels;
  image.pixels.resize(size_t(width) * height * channels);
  for (int y = 0; y < height; ++y) {
    const uint8_t* rgb = y < height / 2 ? kTop : kBottom;
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &image.pixels[(size_t(y) * width + x) * channels];
      if (channels == 1) {
        *p = y < height / 2 ? 230 : 20;
      } else {
        p[0] = rgb[0], p[1] = rgb[1], p[2] = rgb[2];
      }
    }
  }
  return Encode(image, quality);
}

std::vector<uint8_t> SolidJpeg(int width, int height, const uint8_t rgb[3]) {
  ijl::Image image;
  image.width = width;
  image.height = height;
  image.channels = 3;
  image.pixels.resize(size_t(width) * height * 3);
  for (size_t i = 0; i < image.pixels.size(); i += 3) image.pixels[i] = rgb[0], image.pixels[i + 1] = rgb[1], image.pixels[i + 2] = rgb[2];
  return Encode(image, 90);
}

std::vector<uint8_t> WithExifThumbnail(const std::vector<uint8_t>& main, const std::vector<uint8_t>& thumbnail) {
  const uint16_t kTagJpegOffset = 0x0201, kTagJpegLength = 0x0202, kTypeLong = 4;
  const uint32_t kTiffHeader = 8, kIfd0 = kTiffHeader, kIfd0Size = 2 + 4, kIfd1 = kIfd0 + kIfd0Size;
  const uint32_t kIfd1Size = 2 + 2 * 12 + 4, kThumbOffset = kIfd1 + kIfd1Size;
  std::vector<uint8_t> tiff = {'I', 'I', 42, 0};
  Put32(tiff, kIfd0);
  Put16(tiff, 0);      // IFD0: no entries
  Put32(tiff, kIfd1);  // next IFD
  Put16(tiff, 2);
  PutEntry(tiff, kTagJpegOffset, kTypeLong, kThumbOffset);
  PutEntry(tiff, kTagJpegLength, kTypeLong, uint32_t(thumbnail.size()));
  Put32(tiff, 0);
  tiff.insert(tiff.end(), thumbnail.begin(), thumbnail.end());

  const char kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
  const size_t length = 2 + sizeof(kExif) + tiff.size();
  if (length > 0xFFFF) throw std::runtime_error("thumbnail too large for one APP1 segment");
  std::vector<uint8_t> out = {kMarker, kSoi, kMarker, kApp1, uint8_t(length >> 8), uint8_t(length)};
  out.insert(out.end(), kExif, kExif + sizeof(kExif));
  out.insert(out.end(), tiff.begin(), tiff.end());
  out.insert(out.end(), main.begin() + 2, main.end());
  return out;
}

// The segment goes first: its orientation is the one a reader takes.
std::vector<uint8_t> WithExifOrientation(const std::vector<uint8_t>& jpeg, uint16_t orientation) {
  const uint16_t kTagOrientation = 0x0112, kTypeShort = 3;
  const uint32_t kIfd0 = 8;
  std::vector<uint8_t> tiff = {'I', 'I', 42, 0};
  Put32(tiff, kIfd0);
  Put16(tiff, 1);
  PutEntry(tiff, kTagOrientation, kTypeShort, orientation);
  Put32(tiff, 0);
  const char kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
  const size_t length = 2 + sizeof(kExif) + tiff.size();
  std::vector<uint8_t> out = {kMarker, kSoi, kMarker, kApp1, uint8_t(length >> 8), uint8_t(length)};
  out.insert(out.end(), kExif, kExif + sizeof(kExif));
  out.insert(out.end(), tiff.begin(), tiff.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

std::vector<uint8_t> PaddedTo(const std::vector<uint8_t>& jpeg, size_t size) {
  const size_t kSegmentLength = 0xFFFF;  // the largest a segment's 16-bit length field allows
  const size_t kSegmentBytes = 2 + kSegmentLength;
  const size_t segments = size > jpeg.size() ? (size - jpeg.size() + kSegmentBytes - 1) / kSegmentBytes : 0;
  std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
  out.reserve(jpeg.size() + segments * kSegmentBytes);
  for (size_t i = 0; i < segments; ++i) {
    const uint8_t header[4] = {kMarker, kApp15, uint8_t(kSegmentLength >> 8), uint8_t(kSegmentLength)};
    out.insert(out.end(), header, header + sizeof header);
    out.resize(out.size() + kSegmentLength - 2, 0);
  }
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

std::vector<uint8_t> CutAfterScanHeader(const std::vector<uint8_t>& jpeg) {
  for (size_t i = 2; i + 3 < jpeg.size(); ++i) {
    if (jpeg[i] == kMarker && jpeg[i + 1] == kSos) {
      size_t length = size_t(jpeg[i + 2]) << 8 | jpeg[i + 3];
      return std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + i + 2 + length);
    }
  }
  throw std::runtime_error("no start of scan");
}

// The scratch folder of this process, removed with everything in it when the process ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + "orv-jpeg-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(m_path.c_str(), nullptr);
  }
  ~ScratchFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_path + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((m_path + found.cFileName).c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(m_path.c_str());
  }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

std::string ScratchPath(const std::string& name) {
  static ScratchFolder folder;
  return folder.Path() + name;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  int c;
  while ((c = std::fgetc(f)) != EOF) bytes.push_back(uint8_t(c));
  std::fclose(f);
  return bytes;
}

}  // namespace fixtures
