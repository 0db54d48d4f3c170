// Files, sample media and the independent package reader of the quillo and player tests.
#include "package_fixture.h"

#include <cstdio>
#include <stdexcept>

#include "media.h"
#include "picture.h"

namespace packagetest {

namespace {
const uint32_t kSeed = 23;
const int kFrontWidth = 320;
const int kFrontHeight = 240;
const int kFrontQuality = 85;
const int kSweepRate = 22050;
const double kSweepSeconds = 2.0;
}  // namespace

Bytes ReadBytes(const std::string& path) {
  Bytes bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(f);
  return bytes;
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> List(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = data.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

std::string FreshFolder(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + name + "\\";
  CreateDirectoryA(folder.c_str(), NULL);
  for (const std::string& file : List(folder)) {
    SetFileAttributesA((folder + file).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA((folder + file).c_str());
  }
  return folder;
}

std::string ProgramDir() {
  char path[MAX_PATH];
  GetModuleFileNameA(NULL, path, MAX_PATH);
  std::string dir = path;
  return dir.substr(0, dir.find_last_of('\\') + 1);
}

const Media& SampleMedia() {
  static const Media media = [] {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "quillo_media\\";
    CreateDirectoryA(folder.c_str(), NULL);
    Media m{folder + "front.jpg", folder + "clip_sound.avi", folder + "sweep.wav"};
    samplegen::WriteJpeg(m.front, samplegen::DrawPhoto(kFrontWidth, kFrontHeight, kSeed), kFrontQuality);
    samplegen::ClipShape shape;
    samplegen::MakeClip(shape, kSeed).Save(m.clip);
    samplegen::WriteSweepWav(m.sound, kSweepRate, kSweepSeconds);
    return m;
  }();
  return media;
}

time_t PastStamp() {
  std::tm tm = {};
  tm.tm_year = 103;
  tm.tm_mon = 3;
  tm.tm_mday = 5;
  tm.tm_hour = 6;
  tm.tm_min = 7;
  tm.tm_sec = 8;
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

uint16_t Parsed::U16(size_t field) const {
  const uint8_t* p = file.data() + trailerAt + field;
  return uint16_t(p[0] | p[1] << 8);
}

uint32_t Parsed::U32(size_t field) const {
  const uint8_t* p = file.data() + trailerAt + field;
  return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}

std::string Parsed::Text(size_t field, size_t size) const {
  const char* p = reinterpret_cast<const char*>(file.data() + trailerAt + field);
  for (size_t i = 0; i < size; ++i)
    if (p[i] == 0) return std::string(p, i);
  return std::string(p, size) + "<no NUL>";
}

Bytes Parsed::Part(size_t offsetField) const {
  const uint32_t offset = U32(offsetField), length = U32(offsetField + 4);
  if (uint64_t(offset) + length > file.size()) return Bytes();
  return Bytes(file.begin() + offset, file.begin() + offset + length);
}

uint8_t Parsed::SumOfParts() const {
  uint8_t sum = 0;
  for (size_t field : {kPicture, kViewer1, kViewer2, kVideo, kSound})
    for (uint8_t b : Part(field)) sum = uint8_t(sum + b);
  return sum;
}

Parsed Parse(const std::string& path) {
  Parsed p;
  p.file = ReadBytes(path);
  if (p.file.size() < kTrailer) throw std::runtime_error("no trailer in " + path);
  p.trailerAt = p.file.size() - kTrailer;
  return p;
}

}  // namespace packagetest
